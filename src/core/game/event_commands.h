#pragma once

#include "core/game/lcf_reader.h"

#include <cstdint>
#include <string_view>
#include <vector>

namespace zeilwerk {

// One line of an event's script as the Maker stores it.
struct EventCommand {
    std::uint32_t code = 0;
    std::uint32_t indent = 0;
    std::string_view text;                 // bytes in the game's code page, in the file's bytes
    std::vector<std::int32_t> parameters;
};

// A command list is kept as the file's bytes and read a command at a time when it is walked:
// a game's scripts are held in no more memory than the files take.
using CommandList = std::string_view;

// The command codes as public descriptions of the LCF format number them.
inline constexpr std::uint32_t kShowMessage = 10110;     // a message's first line
inline constexpr std::uint32_t kMessageLine = 20110;     // each further line of it
inline constexpr std::uint32_t kMessageOptions = 10120;  // transparent, position, fixed, parallel
inline constexpr std::uint32_t kChangeFace = 10130;      // FaceSet name, index, right, mirrored
inline constexpr std::uint32_t kCallEvent = 12330;       // 0 and the ID for a common event

// Reads the commands of a command list chunk front to back; throws Error(failure) when they
// end early.
class CommandReader {
public:
    CommandReader(CommandList list, const char* failure);
    // The next command into c; false after the last.
    bool next(EventCommand& c);

private:
    LcfReader m_reader;
};

// A command list, read through once so damage shows now and not when it is walked; throws
// Error(failure) when it is damaged.
CommandList checkedCommands(std::string_view data, const char* failure);

struct EventPage {
    int id = 0;
    CommandList commands;
};

// An array of event pages as map events and troops keep them, their command lists in the
// chunk commandsId, each list checked.
std::vector<EventPage> readEventPages(LcfReader pages, std::uint32_t commandsId);

}  // namespace zeilwerk
