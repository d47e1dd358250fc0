#pragma once

#include "core/game/event_commands.h"

#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace zeilwerk {

// What the preview needs of a game's database, RPG_RT.ldb.
struct GameDatabase {
    std::map<int, std::string> heroNames;  // by hero ID; bytes in the game's code page
    std::string systemGraphic;             // the name in the folder System, no extension
    bool tiledWallpaper = false;           // else stretched over the window
    int fontSlot = 0;                      // 0 the Gothic font (RMG2000), 1 the Mincho one (RM2000)
    // RPG Maker 2003's battle settings: the System graphic's window drawn semi-transparent,
    // and the battle mode (0 the traditional one), which engines before 1.11 mixed into it.
    bool seeThroughWindow = false;
    int battleMode = 0;
};

struct CommonEvent {
    int id = 0;
    std::string name;
    CommandList commands;
};

struct Troop {
    int id = 0;
    std::string name;
    std::vector<EventPage> pages;  // the battle events
};

// The scripts of the database, which the list of messages needs beside the names.
struct DatabaseEvents {
    std::vector<CommonEvent> commonEvents;
    std::vector<Troop> troops;
};

// Reads the database, and into events, when given, its common events and the troops' battle
// events, every command list read through once; their lists point into data. Throws
// Error("RPG_RT.ldb ist keine Datenbank des Makers.") when the bytes are not one or end early.
GameDatabase readGameDatabase(std::string_view data, DatabaseEvents* events = nullptr);

}  // namespace zeilwerk
