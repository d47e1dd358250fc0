#pragma once

#include "core/game/message_splice.h"

#include <string>
#include <string_view>
#include <vector>

namespace zeilwerk {

// line with every whole word from (in any letter case) replaced by to, each in the case it
// stood in: "Gerwnia" → "Gerwina", "GERWNIA" → "GERWINA", "gerwnia" → "gerwina". Words are
// those the spelling checks (codes and what their brackets hold are left alone); count, when
// given, gets how many were replaced.
std::u16string replaceWholeWord(std::u16string_view line, std::u16string_view from, std::u16string_view to,
                                int* count = nullptr);

// One message the replacement changes: the change to write, the lines before, and which
// lines change, for a preview of every line.
struct WordReplacement {
    MessageChange change;
    std::vector<std::u16string> before;
    std::vector<int> changedLines;  // from 0
    int count = 0;                  // places replaced in this message
};

// The replacement over messages, those it changes in their order.
std::vector<WordReplacement> planWordReplacement(const std::vector<GameMessage>& messages, std::u16string_view from,
                                                 std::u16string_view to);

}  // namespace zeilwerk
