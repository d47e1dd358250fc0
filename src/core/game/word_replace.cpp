#include "core/game/word_replace.h"

#include "core/message/spelling_words.h"

#include <algorithm>

namespace zeilwerk {
namespace {

// The letter cases of the code pages' Latin letters: ASCII, Latin-1 and the few of
// Windows-1252's Latin Extended-A.
char16_t upperOf(char16_t c) {
    if ((c >= u'a' && c <= u'z') || (c >= 0xE0 && c <= 0xFE && c != 0xF7))
        return static_cast<char16_t>(c - 0x20);
    if (c == 0x0161 || c == 0x0153 || c == 0x017E)
        return static_cast<char16_t>(c - 1);
    return c == 0xFF ? char16_t(0x0178) : c;
}

char16_t lowerOf(char16_t c) {
    if ((c >= u'A' && c <= u'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7))
        return static_cast<char16_t>(c + 0x20);
    if (c == 0x0160 || c == 0x0152 || c == 0x017D)
        return static_cast<char16_t>(c + 1);
    return c == 0x0178 ? char16_t(0xFF) : c;
}

bool isUpper(char16_t c) {
    return lowerOf(c) != c;
}

bool sameIgnoringCase(std::u16string_view a, std::u16string_view b) {
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [](char16_t x, char16_t y) { return lowerOf(x) == lowerOf(y); });
}

// to in the case the replaced word stood in.
std::u16string inCaseOf(std::u16string_view word, std::u16string_view to) {
    std::u16string out(to);
    if (out.empty() || word.empty())
        return out;
    const auto isLower = [](char16_t c) { return upperOf(c) != c; };
    const bool allUpper = std::count_if(word.begin(), word.end(), isUpper) > 1 && std::none_of(word.begin(), word.end(), isLower);
    if (allUpper)
        std::transform(out.begin(), out.end(), out.begin(), upperOf);
    else
        out[0] = isUpper(word[0]) ? upperOf(out[0]) : lowerOf(out[0]);
    return out;
}

}  // namespace

std::u16string replaceWholeWord(std::u16string_view line, std::u16string_view from, std::u16string_view to, int* count) {
    std::u16string out;
    size_t done = 0;
    int replaced = 0;
    for (const SpellingWord& w : spellingWords(line)) {
        const std::u16string_view word = line.substr(w.at, w.length);
        if (!sameIgnoringCase(word, from))
            continue;
        out.append(line.substr(done, w.at - done));
        out += inCaseOf(word, to);
        done = w.at + w.length;
        ++replaced;
    }
    out.append(line.substr(done));
    if (count)
        *count = replaced;
    return out;
}

std::vector<WordReplacement> planWordReplacement(const std::vector<GameMessage>& messages, std::u16string_view from,
                                                 std::u16string_view to) {
    std::vector<WordReplacement> out;
    if (from.empty() || from == to)
        return out;
    for (const GameMessage& m : messages) {
        WordReplacement r{{m.place, messageChecksum(m.lines), {}}, m.lines, {}, 0};
        for (size_t i = 0; i < m.lines.size(); ++i) {
            int n = 0;
            r.change.lines.push_back(replaceWholeWord(m.lines[i], from, to, &n));
            if (n > 0 && r.change.lines.back() != m.lines[i])
                r.changedLines.push_back(static_cast<int>(i));
            r.count += n;
        }
        if (!r.changedLines.empty())
            out.push_back(std::move(r));
    }
    return out;
}

}  // namespace zeilwerk
