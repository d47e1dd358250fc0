#include "look/game_look.h"

#include "core/game/game_database.h"
#include "core/platform/code_page.h"
#include "core/platform/error.h"
#include "core/platform/file_io.h"
#include "look/game_file_lookup.h"
#include "look/game_picture.h"
#include "look/stand_in_art.h"
#include "look/window_art.h"
#include "platform/paths.h"

#include <algorithm>
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

}  // namespace

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

std::uint32_t invisibleTextColours(const QImage& system) {
    std::uint32_t invisible = 0;
    if (system.width() < kSystemSize.width() || system.height() < kSystemSize.height())
        return invisible;
    const QImage argb = system.convertToFormat(QImage::Format_ARGB32);
    // The rows and columns of a colour's cell the glyphs take their colour from.
    for (int colour = 0; colour < 20; ++colour) {
        const int left = 16 * (colour % 10) + 2, top = 48 + 16 * (colour / 10) + 4;
        bool clear = true;
        for (int y = top; clear && y < top + 12; ++y)
            for (int x = left; clear && x < left + 12; ++x)
                clear = qAlpha(argb.pixel(x, y)) == 0;
        if (clear)
            invisible |= 1u << colour;
    }
    return invisible;
}

std::optional<std::pair<std::string, std::uint32_t>> gameInvisibleColours(const fs::path& gameFolder) {
    try {
        const std::optional<fs::path> databaseFile = findIgnoringCase(gameFolder, "RPG_RT.ldb");
        if (!databaseFile)
            return std::nullopt;
        const GameDatabase database = readGameDatabase(readRegularFile(*databaseFile, kMaxDatabaseBytes));
        const QString name = QString::fromStdU16String(CodePage::system().decode(database.systemGraphic));
        const std::optional<fs::path> graphic = name.isEmpty() ? std::nullopt : findSystemGraphic(gameFolder, name);
        if (!graphic)
            return std::nullopt;
        return std::make_pair(name.toStdString(), invisibleTextColours(readGamePictureAsStored(*graphic)));
    } catch (const std::exception&) {
        return std::nullopt;
    }
}

void addLookToChecks(const GameLook& look, CheckSettings& settings) {
    settings.invisibleColours = look.invisibleColours;
    settings.systemGraphic = look.systemName.toStdString();
}

GameLook loadGameLook(const fs::path& gameFolder, const QString& systemName, const FontPlaces& fonts,
                      std::vector<QString>* problems) {
    std::error_code error;
    if (gameFolder.empty() || !fs::is_directory(gameFolder, error))
        unreadable(gameFolder, QStringLiteral("Der Ordner wurde nicht gefunden."));
    const std::optional<fs::path> databaseFile = findIgnoringCase(gameFolder, "RPG_RT.ldb");
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
            system = readGamePictureAsStored(*graphicFile);
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
    const bool ownGraphic = system.isNull();
    system = inEngineColours(ownGraphic ? ownSystemGraphic() : std::move(system));

    GameLook look;
    look.frame = drawGameFrame(system, database.tiledWallpaper);
    look.arrow = drawGameArrow(system);
    if (qAlpha(system.pixel(16, 32)))
        look.shadow = system.pixel(16, 32) | 0xFF000000;
    if (!ownGraphic) {
        look.systemName = name;
        look.invisibleColours = invisibleTextColours(system);
    }
    look.system = std::move(system);
    for (const auto& [id, bytes] : database.heroNames)
        look.heroNames[id] = page.decode(bytes);

    GameFont font = loadGameFont(gameFolder, database.fontSlot, fonts, page, problems);
    look.font = std::move(font.glyphs);
    look.fontName = font.name;
    look.symbols = loadGameSymbols(gameFolder, problems);
    applyMessageOptions(look, gameFolder, GameMessageOptions(), problems);
    return look;
}

}  // namespace zeilwerk
