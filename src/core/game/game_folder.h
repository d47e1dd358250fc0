#pragma once

#include "core/game/message_walker.h"

#include <filesystem>
#include <functional>
#include <map>
#include <string>
#include <vector>

namespace zeilwerk {

class CodePage;

struct SkippedFile {
    std::string file;    // its name in the folder
    std::string reason;  // German, UTF-8
};

struct GameMessages {
    std::vector<GameMessage> messages;
    std::vector<SkippedFile> skipped;
    std::map<int, std::u16string> heroNames;
    std::map<int, std::u16string> mapNames;
    std::vector<std::u16string> gameNames;  // the database's names and the events' names, for the spelling
};

// Every message of the game in a folder, file names in any letter case: the maps in the
// tree's order, then the common events, then the battles. A damaged file is skipped and
// named in skipped; throws Error (German) when the folder cannot be read or holds no game.
// The heroes' names of the game in folder, from its database; throws Error in German for a
// folder that cannot be read or holds no database.
std::map<int, std::u16string> readHeroNames(const std::filesystem::path& folder, const CodePage& page);

GameMessages readGameMessages(const std::filesystem::path& folder, const CodePage& page);

// A place in words, as the list of messages names it: "Karte 12 »Dorf«, Ereignis 3, Seite 1",
// "Allgemeines Ereignis 4", "Kampf 2, Seite 1".
std::string placeInWords(const MessagePlace& place, const std::map<int, std::u16string>& mapNames);

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
    std::vector<std::u16string> gameNames;  // the names part: the database's; a map's: its events'
};

// The same reading, part by part; cancelled is asked between files, and once it says so
// the reading stops. False when it stopped early. Throws as readGameMessages does, before
// the first part.
bool readGameMessages(const std::filesystem::path& folder, const CodePage& page,
                      const std::function<void(GamePart&&)>& take, const std::function<bool()>& cancelled);

}  // namespace zeilwerk
