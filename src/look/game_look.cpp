#include "look/game_look.h"

#include "core/game/bitmap_font.h"
#include "core/game/game_database.h"
#include "core/game/game_fonts.h"
#include "core/game/pe_resources.h"
#include "core/platform/code_page.h"
#include "core/platform/error.h"
#include "core/platform/file_io.h"
#include "look/picture_file.h"
#include "look/xyz_picture.h"
#include "platform/paths.h"

#include <QFile>
#include <QFont>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <functional>
#include <system_error>

namespace fs = std::filesystem;

namespace zeilwerk {
namespace {

// A database this large is no game's: the Maker's own stay far below it.
constexpr std::uintmax_t kMaxDatabaseBytes = 64 * 1024 * 1024;
constexpr QSize kSystemSize(160, 80);

QString shown(const fs::path& path) {
    return textFromPath(path);
}

[[noreturn]] void unreadable(const fs::path& file, const QString& reason) {
    throw Error(QStringLiteral("Die Spieldaten konnten nicht gelesen werden: %1\n%2").arg(shown(file), reason).toStdString());
}

std::optional<fs::path> findIgnoringCase(const fs::path& folder, const QString& wanted) {
    return zeilwerk::findIgnoringCase(folder, wanted.toStdString());
}

}  // namespace

bool holdsGameDatabase(const fs::path& folder) {
    std::error_code error;
    const std::optional<fs::path> database = findIgnoringCase(folder, QStringLiteral("RPG_RT.ldb"));
    return database && fs::is_regular_file(*database, error);
}

std::optional<fs::path> findGameGraphic(const fs::path& gameFolder, const char* folderName, const QString& typed) {
    QString name = typed;
    for (const char* extension : {".png", ".bmp", ".xyz"})
        if (name.endsWith(QLatin1String(extension), Qt::CaseInsensitive))
            name.chop(4);
    if (name.isEmpty())
        return std::nullopt;
    const std::optional<fs::path> folder = findIgnoringCase(gameFolder, QLatin1String(folderName));
    if (!folder)
        return std::nullopt;
    for (const char* extension : {".png", ".bmp", ".xyz"})
        if (std::optional<fs::path> file = findIgnoringCase(*folder, name + QLatin1String(extension)))
            return file;
    return std::nullopt;
}

std::optional<fs::path> findSystemGraphic(const fs::path& gameFolder, const QString& name) {
    return findGameGraphic(gameFolder, "System", name);
}

std::optional<fs::path> findBackground(const fs::path& gameFolder, const QString& name) {
    if (std::optional<fs::path> picture = findGameGraphic(gameFolder, "Picture", name))
        return picture;
    return findGameGraphic(gameFolder, "Panorama", name);
}

namespace {

// The Maker's palette pictures leave their first colour undrawn.
QImage withFirstColourUndrawn(QImage picture) {
    if (picture.format() == QImage::Format_Indexed8 || picture.format() == QImage::Format_Mono ||
        picture.format() == QImage::Format_MonoLSB) {
        QList<QRgb> table = picture.colorTable();
        if (!table.isEmpty())
            table[0] &= 0x00FFFFFF;
        picture.setColorTable(table);
    }
    return picture.convertToFormat(QImage::Format_ARGB32);
}

}  // namespace

QImage readSystemGraphic(const fs::path& path) {
    const bool xyz = shown(path.extension()).compare(QLatin1String(".xyz"), Qt::CaseInsensitive) == 0;
    return withFirstColourUndrawn(xyz ? decodeXyz(QByteArray::fromStdString(readRegularFile(path, kMaxPicturePixels + (1 << 20))))
                                      : readPictureAsStored(path));
}

QRgb engineColour(QRgb colour) {
    const auto widen5 = [](int v) { return (v >> 3) * 8 + (v >> 3) / 4; };
    const auto widen6 = [](int v) { return (v >> 2) * 4 + (v >> 2) / 16; };
    return qRgba(widen5(qRed(colour)), widen6(qGreen(colour)), widen5(qBlue(colour)), qAlpha(colour));
}

namespace {

// Pixel (x, y) of src over dst where src is not transparent.
void putOpaque(QRgb& dst, QRgb src) {
    if (qAlpha(src))
        dst = src | 0xFF000000;
}

}  // namespace

QImage drawGameFrame(const QImage& system, bool tiledWallpaper) {
    constexpr int w = 320;
    constexpr int h = 80;
    QImage window(w, h, QImage::Format_ARGB32);
    window.fill(0);
    const auto at = [&](int x, int y) { return reinterpret_cast<const QRgb*>(system.constScanLine(y))[x]; };
    for (int y = 0; y < h; ++y) {
        auto* row = reinterpret_cast<QRgb*>(window.scanLine(y));
        for (int x = 0; x < w; ++x) {
            // Nearest sampling when stretched; repeated from the top left when tiled.
            putOpaque(row[x], tiledWallpaper ? at(x % 32, y % 32) : at(x * 32 / w, y * 32 / h));
            QRgb frame = 0;
            const bool left = x < 8, right = x >= w - 8, top = y < 8, bottom = y >= h - 8;
            if ((left || right) && (top || bottom))
                frame = at((right ? 56 : 32) + x % 8, (bottom ? 24 : 0) + y % 8);
            else if (top || bottom)
                frame = at(40 + x % 16, top ? y : 24 + y - (h - 8));
            else if (left || right)
                frame = at(left ? 32 + x : 56 + x - (w - 8), 8 + y % 16);
            putOpaque(row[x], frame);
        }
    }
    return window;
}

namespace {

// The "more" arrow alone: a message waits for a key at its end.
QImage drawGameArrow(const QImage& system) {
    QImage arrow(320, 80, QImage::Format_ARGB32);
    arrow.fill(0);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 16; ++x)
            arrow.setPixel(152 + x, 72 + y, system.pixel(40 + x, 16 + y));
    return arrow;
}

// Pixels of over that are not transparent, put on picture at (left, top).
void drawOver(QImage& picture, const QImage& over, int left, int top) {
    for (int y = 0; y < over.height(); ++y) {
        if (top + y < 0 || top + y >= picture.height())
            continue;
        auto* row = reinterpret_cast<QRgb*>(picture.scanLine(top + y));
        const auto* from = reinterpret_cast<const QRgb*>(over.constScanLine(y));
        for (int x = 0; x < over.width(); ++x)
            if (left + x >= 0 && left + x < picture.width())
                putOpaque(row[left + x], from[x]);
    }
}

}  // namespace

QImage drawGameWindow(const QImage& system, bool tiledWallpaper) {
    QImage window(320, 80, QImage::Format_RGB32);
    window.fill(kGameBackground);
    drawOver(window, drawGameFrame(system, tiledWallpaper), 0, 0);
    drawOver(window, drawGameArrow(system), 0, 0);
    return window;
}

QImage readGamePicture(const fs::path& path) {
    QImage picture = readSystemGraphic(path);
    for (int y = 0; y < picture.height(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(picture.scanLine(y));
        for (int x = 0; x < picture.width(); ++x)
            row[x] = engineColour(row[x]);
    }
    return picture;
}

void applyMessageOptions(GameLook& look, const fs::path& gameFolder, const GameMessageOptions& options,
                         std::vector<QString>* problems) {
    const auto problem = [&](const QString& text) {
        if (problems)
            problems->push_back(text);
    };
    // The screen behind the message: the background colour, the picture centred where asked.
    look.screen = QImage(kGameScreen, QImage::Format_RGB32);
    look.screen.fill(kGameBackground);
    if (!options.background.isEmpty()) {
        if (const std::optional<fs::path> file = findBackground(gameFolder, options.background)) {
            try {
                const QImage picture = readGamePicture(*file);
                drawOver(look.screen, picture, options.backgroundX - picture.width() / 2,
                         options.backgroundY - picture.height() / 2);
            } catch (const std::exception& e) {
                problem(QStringLiteral("Das Hintergrundbild %1 konnte nicht gelesen werden.\n%2")
                            .arg(shown(*file), QString::fromUtf8(e.what())));
            }
        } else {
            problem(QStringLiteral("Das Bild „%1“ fehlt in den Ordnern Picture und Panorama.").arg(options.background));
        }
    }
    look.boxTop = 80 * std::clamp(options.position, 0, 2);
    look.wholeScreen = options.wholeScreen;
    look.window = look.screen.copy(0, look.boxTop, 320, 80);
    if (!options.transparent)
        drawOver(look.window, look.frame, 0, 0);
    look.bareWindow = look.window.copy();
    drawOver(look.window, look.arrow, 0, 0);

    look.face = QImage();
    look.faceOnLeft = false;
    const QString faceName = QString::fromStdU16String(options.face);
    if (faceName.isEmpty())
        return;
    const std::optional<fs::path> file = findGameGraphic(gameFolder, "FaceSet", faceName);
    if (!file) {
        problem(QStringLiteral("Das Gesicht „%1“ fehlt im Ordner FaceSet.").arg(faceName));
        return;
    }
    try {
        const QImage set = readGamePicture(*file);
        const int i = std::clamp(options.faceIndex, 0, 15);
        QImage face = set.copy((i % 4) * 48, (i / 4) * 48, 48, 48);
        look.face = options.faceMirrored ? face.mirrored(true, false) : face;
        look.facePoint = options.faceRight ? QPoint(256, 16) : QPoint(16, 16);
        look.faceOnLeft = !options.faceRight;
    } catch (const std::exception& e) {
        problem(QStringLiteral("Das Gesicht %1 konnte nicht gelesen werden.\n%2").arg(shown(*file), QString::fromUtf8(e.what())));
    }
}

std::array<GlyphMask, 52> symbolsFromSheet(const QImage& sheet) {
    std::array<GlyphMask, 52> symbols;
    for (int i = 0; i < 52; ++i) {
        GlyphMask& mask = symbols[static_cast<size_t>(i)];
        mask.width = 12;
        mask.height = 12;
        const int left = 12 * (i % 13);
        const int top = 12 * (i / 13);
        for (int y = 0; y < 12; ++y)
            for (int x = 0; x < 12; ++x)
                if (sheet.valid(left + x, top + y) && qAlpha(sheet.pixel(left + x, top + y)) >= 128)
                    mask.rows[static_cast<size_t>(y)] |= static_cast<std::uint16_t>(1u << x);
    }
    return symbols;
}

namespace {

// One of our symbols, drawn by paint into a 12 × 12 picture without smoothing.
GlyphMask drawnSymbol(const std::function<void(QPainter&)>& paint) {
    QImage picture(12, 12, QImage::Format_ARGB32);
    picture.fill(0);
    {
        QPainter painter(&picture);
        painter.setRenderHint(QPainter::Antialiasing, false);
        painter.setPen(QPen(Qt::black, 1));
        painter.setBrush(Qt::NoBrush);
        paint(painter);
    }
    std::array<GlyphMask, 52> one = symbolsFromSheet(picture);
    return one[0];
}

GlyphMask textSymbol(char32_t symbol) {
    return drawnSymbol([symbol](QPainter& p) {
        QFont font(QStringLiteral("DejaVu Sans"));
        font.setPixelSize(11);
        font.setStyleStrategy(QFont::NoAntialias);
        p.setFont(font);
        p.drawText(QRect(0, 0, 12, 12), Qt::AlignCenter, QString::fromUcs4(&symbol, 1));
    });
}

}  // namespace

std::array<GlyphMask, 52> ownSymbols() {
    std::array<GlyphMask, 52> s;
    s[0] = drawnSymbol([](QPainter& p) {  // sword
        p.drawLine(9, 1, 3, 7);
        p.drawLine(10, 1, 4, 7);
        p.drawLine(1, 6, 5, 10);
        p.drawLine(2, 9, 0, 11);
    });
    s[1] = drawnSymbol([](QPainter& p) {  // shield
        p.drawPolygon(QPolygon({QPoint(1, 1), QPoint(10, 1), QPoint(10, 6), QPoint(6, 10), QPoint(5, 10), QPoint(1, 6)}));
        p.drawLine(5, 3, 5, 7);
        p.drawLine(3, 4, 8, 4);
    });
    const char32_t drawnAsText[] = {
        U'★', U'☀', U'☾', U'☿', U'♀', U'♁', U'♂', U'♃', U'♄', U'♅', U'♆',           // star, sun, moon, planets
        U'♈', U'♉', U'♊', U'♋', U'♌', U'♍', U'♎', U'♏', U'♐', U'♑', U'♒', U'♓',  // the zodiac
        U'☺', U'☹', U'☻',                                                              // three faces
    };
    size_t n = 2;
    for (char32_t c : drawnAsText)
        s[n++] = textSymbol(c);
    s[n++] = drawnSymbol([](QPainter& p) {  // sweat drop
        p.setBrush(Qt::black);
        p.drawPolygon(QPolygon({QPoint(6, 1), QPoint(9, 7), QPoint(6, 10), QPoint(3, 7)}));
    });
    s[n++] = drawnSymbol([](QPainter& p) {  // two drops
        p.setBrush(Qt::black);
        p.drawPolygon(QPolygon({QPoint(3, 1), QPoint(5, 5), QPoint(3, 7), QPoint(1, 5)}));
        p.drawPolygon(QPolygon({QPoint(8, 4), QPoint(10, 8), QPoint(8, 10), QPoint(6, 8)}));
    });
    for (char32_t c : {U'♡', U'♤', U'♢', U'♧', U'♥', U'♠', U'♦', U'♣', U'☠', U'✝'})
        s[n++] = textSymbol(c);
    s[n++] = drawnSymbol([](QPainter& p) {  // sun
        p.drawEllipse(3, 3, 5, 5);
        for (const QLine& ray : {QLine(5, 0, 5, 1), QLine(5, 10, 5, 11), QLine(0, 5, 1, 5), QLine(10, 5, 11, 5)})
            p.drawLine(ray);
    });
    s[n++] = drawnSymbol([](QPainter& p) {  // moon
        QPainterPath crescent;
        crescent.addEllipse(1, 1, 9, 9);
        QPainterPath bite;
        bite.addEllipse(4, 0, 8, 8);
        p.fillPath(crescent.subtracted(bite), Qt::black);
    });
    s[n++] = drawnSymbol([](QPainter& p) {  // dot
        p.setBrush(Qt::black);
        p.drawEllipse(4, 4, 3, 3);
    });
    for (char32_t c : {U'↑', U'↓', U'←', U'→', U'↖', U'↗', U'↙', U'↘', U'♪'})
        s[n++] = textSymbol(c);
    return s;
}

QImage ownSystemGraphic() {
    QImage system(160, 80, QImage::Format_ARGB32);
    system.fill(0);
    QPainter p(&system);
    // Wallpaper: a dark blue running lighter downwards.
    for (int y = 0; y < 32; ++y)
        p.fillRect(0, y, 32, 1, QColor(16, 24, 64 + 3 * y));
    // Frame: a light line two pixels in, its middle left undrawn.
    p.fillRect(32, 0, 32, 32, QColor(16, 24, 64));
    p.setPen(QColor(232, 232, 240));
    p.drawRect(33, 1, 29, 29);
    p.setCompositionMode(QPainter::CompositionMode_Source);
    p.fillRect(40, 8, 16, 16, Qt::transparent);
    // The arrow of a message that waits.
    p.setCompositionMode(QPainter::CompositionMode_SourceOver);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(232, 232, 240));
    p.drawPolygon(QPolygon({QPoint(44, 17), QPoint(51, 17), QPoint(48, 21)}));
    p.fillRect(16, 32, 16, 16, QColor(8, 8, 16));  // the shadow
    const QColor colours[20] = {
        {248, 248, 248}, {160, 200, 248}, {248, 160, 112}, {144, 232, 128}, {248, 232, 112},
        {200, 160, 248}, {112, 224, 224}, {176, 176, 176}, {248, 120, 152}, {120, 144, 248},
        {248, 200, 160}, {96, 176, 96}, {216, 176, 64}, {232, 96, 64}, {160, 96, 200},
        {64, 160, 200}, {128, 128, 128}, {200, 80, 120}, {80, 96, 200}, {248, 248, 160},
    };
    for (int n = 0; n < 20; ++n) {
        // Lighter at the top of each cell, as System graphics usually are.
        const QRect cell(16 * (n % 10), 48 + 16 * (n / 10), 16, 16);
        for (int y = 0; y < 16; ++y)
            p.fillRect(cell.x(), cell.y() + y, 16, 1, colours[n].darker(100 + 3 * y));
    }
    return system;
}

GameGlyphs::GameGlyphs(const BitmapFont& font, const CodePage& page) {
    for (const auto& [code, glyph] : font.glyphs) {
        GlyphMask mask;
        mask.width = std::min(glyph.width, 16);
        mask.height = std::min(glyph.height, 16);
        for (int y = 0; y < mask.height; ++y)
            for (int x = 0; x < mask.width; ++x)
                if (glyph.at(x, y))
                    mask.rows[static_cast<size_t>(y)] |= static_cast<std::uint16_t>(1u << x);
        if (font.unicode) {
            if (code < 0x10000)
                add(static_cast<char16_t>(code), mask);
        } else if (code < 0x100) {
            const std::u16string unit = page.decode(std::string(1, static_cast<char>(code)));
            if (unit.size() == 1)
                add(unit[0], mask);
        }
    }
}

void GameGlyphs::add(char16_t unit, const GlyphMask& mask) {
    if (m_index.empty())
        m_index.assign(0x10000, 0);
    if (m_index[unit]) {
        m_masks[m_index[unit] - 1u] = mask;
        return;
    }
    m_masks.push_back(mask);
    m_index[unit] = static_cast<std::uint16_t>(m_masks.size());
}

namespace {

// The database's font slot, filled as the Western engine fills it.
QString fontFamilyOfSlot(int slot) {
    return slot == 1 ? QStringLiteral("RM2000") : QStringLiteral("RMG2000");
}

QString sourceName(FontSource source) {
    switch (source) {
    case FontSource::GameFolder: return QStringLiteral("Spielordner");
    case FontSource::WindowsFonts: return QStringLiteral("Windows-Schriften");
    case FontSource::SystemFonts: return QStringLiteral("Systemschriften");
    case FontSource::Fallback: return QStringLiteral("Ersatzschrift");
    }
    return QString();
}

// The symbols: the game's ExFont picture, else the sheet in its RPG_RT.exe, else ours.
std::array<GlyphMask, 52> loadSymbols(const fs::path& gameFolder, std::vector<QString>* problems) {
    for (const char* name : {"ExFont.png", "ExFont.bmp"}) {
        if (const std::optional<fs::path> file = findIgnoringCase(gameFolder, QLatin1String(name))) {
            try {
                return symbolsFromSheet(readSystemGraphic(*file));
            } catch (const std::exception& e) {
                if (problems)
                    problems->push_back(QStringLiteral("%1: %2").arg(shown(*file), QString::fromUtf8(e.what())));
            }
        }
    }
    if (const std::optional<fs::path> exe = findIgnoringCase(gameFolder, QStringLiteral("RPG_RT.exe"))) {
        try {
            const std::string bytes = readRegularFile(*exe, 64 * 1024 * 1024);
            if (const std::optional<std::string> dib = readPeBitmap(bytes, u"EXFONT")) {
                const std::string file = bitmapFileFromDib(*dib);
                QImage sheet;
                if (sheet.loadFromData(reinterpret_cast<const uchar*>(file.data()), static_cast<int>(file.size()), "BMP"))
                    return symbolsFromSheet(withFirstColourUndrawn(sheet));
            }
        } catch (const std::exception& e) {
            if (problems)
                problems->push_back(QStringLiteral("%1: %2").arg(shown(*exe), QString::fromUtf8(e.what())));
        }
    }
    return ownSymbols();
}

}  // namespace

GameLook loadGameLook(const fs::path& gameFolder, const QString& systemName, const FontPlaces& fonts,
                      std::vector<QString>* problems) {
    std::error_code error;
    if (gameFolder.empty() || !fs::is_directory(gameFolder, error))
        unreadable(gameFolder, QStringLiteral("Der Ordner wurde nicht gefunden."));
    const std::optional<fs::path> databaseFile = findIgnoringCase(gameFolder, QStringLiteral("RPG_RT.ldb"));
    if (!databaseFile)
        unreadable(gameFolder / "RPG_RT.ldb", QStringLiteral("Die Datei wurde nicht gefunden."));
    GameDatabase database;
    try {
        database = readGameDatabase(readRegularFile(*databaseFile, kMaxDatabaseBytes));
    } catch (const std::exception& e) {
        unreadable(*databaseFile, QString::fromUtf8(e.what()));
    }
    const auto problem = [&](const QString& text) {
        if (problems)
            problems->push_back(text);
    };
    const CodePage& page = CodePage::system();
    const QString name = !systemName.isEmpty() ? systemName : QString::fromStdU16String(page.decode(database.systemGraphic));
    // What is missing is told; our own graphic stands in, so the rest of the look stays.
    QImage system;
    if (name.isEmpty()) {
        problem(QStringLiteral("Die Datenbank nennt keine Systemgrafik; Zeilwerk zeichnet sein eigenes Fenster."));
    } else if (const std::optional<fs::path> graphicFile = findSystemGraphic(gameFolder, name); !graphicFile) {
        problem(QStringLiteral("Die Systemgrafik „%1“ fehlt im Ordner System.").arg(name));
    } else {
        try {
            system = readSystemGraphic(*graphicFile);
            if (system.width() < kSystemSize.width() || system.height() < kSystemSize.height()) {
                problem(QStringLiteral("Die Spieldaten konnten nicht gelesen werden: %1\nEine Systemgrafik ist 160 × 80 "
                                       "Pixel groß, diese nur %2 × %3.")
                            .arg(shown(*graphicFile))
                            .arg(system.width())
                            .arg(system.height()));
                system = QImage();
            }
        } catch (const std::exception& e) {
            problem(QStringLiteral("Die Spieldaten konnten nicht gelesen werden: %1\n%2")
                        .arg(shown(*graphicFile), QString::fromUtf8(e.what())));
            system = QImage();
        }
    }
    if (system.isNull())
        system = ownSystemGraphic();
    for (int y = 0; y < system.height(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(system.scanLine(y));
        for (int x = 0; x < system.width(); ++x)
            row[x] = engineColour(row[x]);
    }

    GameLook look;
    look.frame = drawGameFrame(system, database.tiledWallpaper);
    look.arrow = drawGameArrow(system);
    if (qAlpha(system.pixel(16, 32)))
        look.shadow = system.pixel(16, 32) | 0xFF000000;
    look.system = std::move(system);
    for (const auto& [id, bytes] : database.heroNames)
        look.heroNames[id] = page.decode(bytes);

    const QString family = fontFamilyOfSlot(database.fontSlot);
    std::vector<std::string> notes;
    if (std::optional<FoundFont> found = findBitmapFont(gameFolder, family.toStdString(), fonts, &notes)) {
        look.font = GameGlyphs(found->font, page);
        // The fallback calls itself "Gothic" inside, which would pass for MS Gothic.
        look.fontName = QStringLiteral("%1 (%2)").arg(
            found->source == FontSource::Fallback ? QStringLiteral("Shinonome 6 × 12") : family, sourceName(found->source));
    } else {
        look.fontName = QStringLiteral("keine");
        problem(QStringLiteral("Keine Schrift für „%1“ gefunden, auch die Ersatzschrift nicht.").arg(family));
    }
    for (const std::string& note : notes)
        problem(QString::fromStdString(note));
    look.symbols = loadSymbols(gameFolder, problems);
    applyMessageOptions(look, gameFolder, GameMessageOptions(), problems);
    return look;
}

}  // namespace zeilwerk
