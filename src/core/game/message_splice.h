#pragma once

#include "core/game/message_walker.h"

#include <string>
#include <string_view>
#include <vector>

namespace zeilwerk {

class CodePage;

// A message to be written: its place in the game as it was read, the checksum of the text read
// there (messageChecksum), and the lines it is to hold.
struct MessageChange {
    MessagePlace place;
    std::string checksum;
    std::vector<std::u16string> lines;
};

enum class ChangeState {
    Written,     // the new text is in the file
    AlreadyNew,  // the file held the new text already: nothing to do
    Changed,     // the text at the place is no longer the one read: not written
    Refused,     // the new text cannot be written (too many lines, a character the page lacks)
};

struct ChangeOutcome {
    ChangeState state = ChangeState::Written;
    std::string reason;  // German, for Changed and Refused
};

// The Maker can show four lines; a message holds no more.
inline constexpr size_t kMostMessageLines = 4;

// A short checksum of a message's text as the game holds it: eight hex digits.
std::string messageChecksum(const std::vector<std::u16string>& lines);

struct Splice {
    std::string bytes;                   // the file with every written change
    std::vector<ChangeOutcome> outcomes;  // one per change, in order
    int written = 0;
};

// Writes changes into the bytes of one file: a map (every change's place a map's) or the
// database (common events and battles). Only the changed commands, the command list's size
// chunk and the sizes of the chunks around them are encoded anew; every other byte stays.
// All places name the file as it is given, so one message's new line count moves no other's.
// Throws Error (German) when the file is not one of the Maker's.
Splice spliceMessages(std::string_view file, const std::vector<MessageChange>& changes, const CodePage& page);

}  // namespace zeilwerk
