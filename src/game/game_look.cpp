#include "game/game_look.h"

#include "game/game_files.h"
#include "platform/code_page.h"
#include "platform/error.h"
#include "platform/paths.h"
#include "preview/picture_file.h"

#include <QFile>
#include <QPainter>

#include <system_error>

namespace fs = std::filesystem;

namespace zeilwerk {
namespace {

// A database this large is no game's: the Maker's own stay far below it.
constexpr qint64 kMaxDatabaseBytes = 64 * 1024 * 1024;
constexpr QSize kSystemSize(160, 80);

QString shown(const fs::path& path) {
    return textFromPath(path);
}

fs::path pathOf(const QString& name) {
    return pathFromText(name);
}

[[noreturn]] void unreadable(const fs::path& file, const QString& reason) {
    throw Error(QStringLiteral("Die Spieldaten konnten nicht gelesen werden: %1\n%2").arg(shown(file), reason).toStdString());
}

// The whole of a regular file, refused when larger than limit.
QByteArray readWhole(const fs::path& path, qint64 limit) {
    std::error_code error;
    if (!fs::is_regular_file(path, error))
        throw Error("Die Datei ist keine gewöhnliche Datei.");
    QFile file(shown(path));
    if (!file.open(QIODevice::ReadOnly))
        throw Error(file.errorString().toStdString());
    if (file.size() > limit)
        throw Error("Die Datei ist zu groß.");
    return file.readAll();
}

QImage opaque(const QImage& picture) {
    return picture.convertToFormat(QImage::Format_RGB32);
}

}  // namespace

std::optional<fs::path> findIgnoringCase(const fs::path& folder, const QString& wanted) {
    std::error_code error;
    const fs::path exact = folder / pathOf(wanted);
    if (fs::exists(exact, error))
        return exact;
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error))
        if (shown(it->path().filename()).compare(wanted, Qt::CaseInsensitive) == 0)
            return it->path();
    return std::nullopt;
}

bool holdsGameDatabase(const fs::path& folder) {
    std::error_code error;
    const std::optional<fs::path> database = findIgnoringCase(folder, QStringLiteral("RPG_RT.ldb"));
    return database && fs::is_regular_file(*database, error);
}

std::optional<fs::path> findSystemGraphic(const fs::path& gameFolder, const QString& name) {
    if (name.isEmpty())
        return std::nullopt;
    const std::optional<fs::path> system = findIgnoringCase(gameFolder, QStringLiteral("System"));
    if (!system)
        return std::nullopt;
    for (const char* extension : {".png", ".bmp", ".xyz"})
        if (std::optional<fs::path> file = findIgnoringCase(*system, name + QLatin1String(extension)))
            return file;
    return std::nullopt;
}

QImage readSystemGraphic(const fs::path& path) {
    const bool xyz = shown(path.extension()).compare(QLatin1String(".xyz"), Qt::CaseInsensitive) == 0;
    QImage picture = xyz ? decodeXyz(readWhole(path, kMaxPicturePixels + (1 << 20))) : readPictureAsStored(path);
    if (picture.format() == QImage::Format_Indexed8 || picture.format() == QImage::Format_Mono ||
        picture.format() == QImage::Format_MonoLSB) {
        // The Maker's palette pictures leave their first colour undrawn.
        QList<QRgb> table = picture.colorTable();
        if (!table.isEmpty())
            table[0] &= 0x00FFFFFF;
        picture.setColorTable(table);
    }
    return picture.convertToFormat(QImage::Format_ARGB32);
}

QImage drawGameWindow(const QImage& system, bool tiledWallpaper, QSize size) {
    QImage window(size, QImage::Format_ARGB32);
    window.fill(Qt::black);
    QPainter painter(&window);
    const QImage wallpaper = opaque(system.copy(0, 0, 32, 32));
    if (tiledWallpaper) {
        for (int y = 0; y < size.height(); y += 32)
            for (int x = 0; x < size.width(); x += 32)
                painter.drawImage(x, y, wallpaper);
    } else {
        painter.drawImage(0, 0, wallpaper.scaled(size, Qt::IgnoreAspectRatio, Qt::FastTransformation));
    }
    // The frame: 8-pixel edges repeated along the sides, then the corners over their ends.
    const int w = size.width();
    const int h = size.height();
    painter.setClipRect(8, 0, std::max(0, w - 16), h);
    for (int x = 8; x < w - 8; x += 16) {
        painter.drawImage(x, 0, system, 40, 0, 16, 8);
        painter.drawImage(x, h - 8, system, 40, 24, 16, 8);
    }
    painter.setClipRect(0, 8, w, std::max(0, h - 16));
    for (int y = 8; y < h - 8; y += 16) {
        painter.drawImage(0, y, system, 32, 8, 8, 16);
        painter.drawImage(w - 8, y, system, 56, 8, 8, 16);
    }
    painter.setClipping(false);
    painter.drawImage(0, 0, system, 32, 0, 8, 8);
    painter.drawImage(w - 8, 0, system, 56, 0, 8, 8);
    painter.drawImage(0, h - 8, system, 32, 24, 8, 8);
    painter.drawImage(w - 8, h - 8, system, 56, 24, 8, 8);
    painter.end();
    return opaque(window);
}

GameLook loadGameLook(const fs::path& gameFolder, const QString& systemName, QSize box) {
    std::error_code error;
    if (gameFolder.empty() || !fs::is_directory(gameFolder, error))
        unreadable(gameFolder, QStringLiteral("Der Ordner wurde nicht gefunden."));
    const std::optional<fs::path> databaseFile = findIgnoringCase(gameFolder, QStringLiteral("RPG_RT.ldb"));
    if (!databaseFile)
        unreadable(gameFolder / "RPG_RT.ldb", QStringLiteral("Die Datei wurde nicht gefunden."));
    GameDatabase database;
    try {
        database = readGameDatabase(readWhole(*databaseFile, kMaxDatabaseBytes));
    } catch (const std::exception& e) {
        unreadable(*databaseFile, QString::fromUtf8(e.what()));
    }
    const CodePage& page = CodePage::system();
    const QString name = !systemName.isEmpty() ? systemName : QString::fromStdU16String(page.decode(database.systemGraphic));
    if (name.isEmpty())
        unreadable(*databaseFile, QStringLiteral("Die Datenbank nennt keine Systemgrafik."));
    const std::optional<fs::path> graphicFile = findSystemGraphic(gameFolder, name);
    if (!graphicFile)
        unreadable(gameFolder / "System" / pathOf(name + QStringLiteral(".png")),
                   QStringLiteral("Die Systemgrafik wurde nicht gefunden (.png, .bmp oder .xyz)."));
    QImage system;
    try {
        system = readSystemGraphic(*graphicFile);
    } catch (const std::exception& e) {
        unreadable(*graphicFile, QString::fromUtf8(e.what()));
    }
    if (system.width() < kSystemSize.width() || system.height() < kSystemSize.height())
        unreadable(*graphicFile, QStringLiteral("Eine Systemgrafik ist 160 × 80 Pixel groß, diese nur %1 × %2.")
                                     .arg(system.width())
                                     .arg(system.height()));

    GameLook look;
    look.window = drawGameWindow(system, database.tiledWallpaper, box);
    for (int n = 0; n < 20; ++n)
        look.colours[static_cast<size_t>(n)] = opaque(system.copy(16 * (n % 10), 48 + 16 * (n / 10), 16, 16));
    look.shadow = system.pixel(16, 32) | 0xFF000000;
    for (const auto& [id, bytes] : database.heroNames)
        look.heroNames[id] = page.decode(bytes);
    return look;
}

}  // namespace zeilwerk
