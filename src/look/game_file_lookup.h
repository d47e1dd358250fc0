#pragma once

#include <QString>

#include <filesystem>
#include <optional>

namespace zeilwerk {

// Whether the folder holds a game's database, RPG_RT.ldb.
bool holdsGameDatabase(const std::filesystem::path& folder);

// A picture of a game's folder (System, FaceSet, Picture, Panorama) for a name with or
// without extension: <folder>/<name>.png, .bmp or .xyz, letter case ignored.
std::optional<std::filesystem::path> findGameGraphic(const std::filesystem::path& gameFolder, const char* folder,
                                                     const QString& name);
std::optional<std::filesystem::path> findSystemGraphic(const std::filesystem::path& gameFolder, const QString& name);
// The background picture: from Picture, else from Panorama.
std::optional<std::filesystem::path> findBackground(const std::filesystem::path& gameFolder, const QString& name);

}  // namespace zeilwerk
