#pragma once

#include <QImage>
#include <QSize>
#include <QString>

#include <array>
#include <filesystem>
#include <map>
#include <optional>
#include <string>

namespace zeilwerk {

// What a game shows of a message: its window, its twenty text colours, the text shadow and
// the heroes' names.
struct GameLook {
    QImage window;                   // the text box, RGB32, wallpaper and frame
    std::array<QImage, 20> colours;  // 16 × 16 cells, RGB32, chosen by \c[n]
    QRgb shadow = 0;
    std::map<int, std::u16string> heroNames;
};

// A file or folder of that name in a folder, its letter case ignored as on Windows; an
// exact match wins over one that differs in case only.
std::optional<std::filesystem::path> findIgnoringCase(const std::filesystem::path& folder, const QString& name);

// Whether the folder holds a game's database, RPG_RT.ldb.
bool holdsGameDatabase(const std::filesystem::path& folder);

// The System graphic's file for a name without extension: System/<name>.png, .bmp or .xyz.
std::optional<std::filesystem::path> findSystemGraphic(const std::filesystem::path& gameFolder, const QString& name);

// Reads a game's look from its folder: the database, and the System graphic named, or the
// database's when systemName is empty. Throws Error("Die Spieldaten konnten nicht gelesen
// werden: <file>") followed by the reason, naming the file that failed.
GameLook loadGameLook(const std::filesystem::path& gameFolder, const QString& systemName, QSize box);

// Reads a System graphic (PNG, BMP or XYZ) as ARGB32: palette index 0 is transparent.
QImage readSystemGraphic(const std::filesystem::path& path);

// The window drawn from a System graphic at the given size: the wallpaper stretched or
// tiled from the top left, the frame's corners and edges over it.
QImage drawGameWindow(const QImage& system, bool tiledWallpaper, QSize size);

}  // namespace zeilwerk
