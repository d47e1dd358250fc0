#pragma once

#include <map>
#include <string>
#include <string_view>

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
GameDatabase readGameDatabase(std::string_view data);

}  // namespace zeilwerk
