#pragma once

#include "core/game/event_commands.h"
#include "core/game/game_database.h"

#include <cstdint>
#include <filesystem>
#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace zeilwerk {

class CodePage;

struct MapTreeEntry {
    int id = 0;
    int parent = 0;
    std::string name;  // bytes in the game's code page
};

struct MapTree {
    std::vector<MapTreeEntry> entries;  // as stored; entry 0 is the game itself
    std::vector<int> order;             // the map IDs as the tree shows them
};

// RPG_RT.lmt; throws Error with a German reason when the bytes are not one.
MapTree readMapTree(std::string_view data);

struct MapEvent {
    int id = 0;
    std::string name;
    std::vector<EventPage> pages;
};

// The events of a MapNNNN.lmu, every command list read through once; throws Error with a
// German reason when the bytes are not one. The lists and names point into data.
std::vector<MapEvent> readMapUnit(std::string_view data);

enum class MessageKind { Map, Common, Battle };

struct MessagePlace {
    MessageKind kind = MessageKind::Map;
    int source = 0;   // map number, common event ID or troop ID
    int event = 0;    // map events only
    int page = 0;     // map event and troop pages
    int command = 0;  // the Show Message command's index in its list, from 0
};

// What the message window looks like when the message shows: the last settings before it.
struct MessageLook {
    std::u16string face;       // FaceSet name; empty: no face
    int faceIndex = 0;
    bool faceRight = false;
    bool faceMirrored = false;
    bool faceUncertain = false;  // set in a branch, or by a branch of a called event
    bool transparent = false;
    int position = 2;            // 0 top, 1 middle, 2 bottom
    bool fixed = false;
    bool parallel = false;
    bool optionsUncertain = false;
};

struct GameMessage {
    MessagePlace place;
    std::vector<std::u16string> lines;  // as typed
    MessageLook look;
};

struct SkippedFile {
    std::string file;    // its name in the folder
    std::string reason;  // German, UTF-8
};

struct GameMessages {
    std::vector<GameMessage> messages;
    std::vector<SkippedFile> skipped;
    std::map<int, std::u16string> heroNames;
    std::map<int, std::u16string> mapNames;
};

// The messages of a command list, with the look each is shown in; common events are looked
// up for the faces and options a called one sets.
void collectMessages(CommandList commands, const MessagePlace& where, const CodePage& page,
                     const std::map<int, CommandList>& commonEvents, std::vector<GameMessage>& out);

// Every message of the game in a folder, file names in any letter case: the maps in the
// tree's order, then the common events, then the battles. A damaged file is skipped and
// named in skipped; throws Error (German) when the folder cannot be read or holds no game.
GameMessages readGameMessages(const std::filesystem::path& folder, const CodePage& page);

// A piece of the game as the reading hands it on: first the names (the hero and map names
// and the database's and tree's skipped files, no messages), then each map in the tree's
// order, then the common events, then the battles, each with the files skipped for it.
struct GamePart {
    MessageKind kind = MessageKind::Map;
    int source = 0;  // the map number; 0 for the names, the common events and the battles
    bool names = false;
    int parts = 0;   // in the names part: how many parts follow it
    std::vector<GameMessage> messages;
    std::vector<SkippedFile> skipped;
    std::map<int, std::u16string> heroNames;
    std::map<int, std::u16string> mapNames;
};

// The same reading, part by part; cancelled is asked between files, and once it says so
// the reading stops. False when it stopped early. Throws as readGameMessages does, before
// the first part.
bool readGameMessages(const std::filesystem::path& folder, const CodePage& page,
                      const std::function<void(GamePart&&)>& take, const std::function<bool()>& cancelled);

}  // namespace zeilwerk
