#pragma once

#include <QByteArray>
#include <QImage>

#include <cstdint>
#include <map>
#include <string>

namespace zeilwerk {

// What the preview needs of a game's database, RPG_RT.ldb.
struct GameDatabase {
    std::map<int, std::string> heroNames;  // by hero ID; bytes in the game's code page
    std::string systemGraphic;             // the name in the folder System, no extension
    bool tiledWallpaper = false;           // else stretched over the window
    int fontSlot = 0;                      // 0 the Gothic font (RMG2000), 1 the Mincho one (RM2000)
};

// Reads the database; throws Error("RPG_RT.ldb ist keine Datenbank des Makers.") when the
// bytes are not one or end early.
GameDatabase readGameDatabase(const QByteArray& data);

// Decodes the Maker's own picture format XYZ: "XYZ1", width and height (16 bits each,
// little-endian), then a zlib stream of a 256-colour palette (RGB) and one palette index per
// pixel. The result is an 8-bit palette picture; throws "Bitmap image is not valid" for
// anything else, including a stream of the wrong size.
QImage decodeXyz(const QByteArray& data);

}  // namespace zeilwerk
