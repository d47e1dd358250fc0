#pragma once

#include <QImage>

#include <filesystem>

namespace zeilwerk {

// A colour as the engine shows it: 5 bits of red, 6 of green, 5 of blue, widened again.
QRgb engineColour(QRgb colour);
// Every pixel of the picture in the engine's colours.
QImage inEngineColours(QImage picture);

// A palette picture as ARGB32 with its first colour transparent, as the Maker leaves it undrawn.
QImage withFirstColourUndrawn(QImage picture);

// Reads a picture of a game's folder (System graphic, FaceSet, ExFont; PNG, BMP or XYZ) as
// ARGB32 in the colours it stores: palette index 0 is transparent.
QImage readGamePictureAsStored(const std::filesystem::path& path);
// Reads a game's picture for the game's look: index 0 transparent, in the engine's colours.
QImage readGamePicture(const std::filesystem::path& path);

}  // namespace zeilwerk
