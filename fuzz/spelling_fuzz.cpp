#include "core/message/spelling_words.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

// What must hold for every line: the words lie inside it in order, apart, each begins and
// ends with a letter and holds no digit, no code and no hero's name.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::u16string line(size / 2, u'\0');
    for (size_t i = 0; i < line.size(); ++i)
        line[i] = static_cast<char16_t>(data[2 * i] | data[2 * i + 1] << 8);
    static const std::unordered_set<std::u16string> names = zeilwerk::nameWords({{1, u"Alex"}});
    size_t end = 0;
    for (const zeilwerk::SpellingWord& w : zeilwerk::spellingWords(line, names)) {
        if (w.length == 0 || w.at < end || w.at + w.length > line.size())
            std::abort();
        const std::u16string_view word = std::u16string_view(line).substr(w.at, w.length);
        for (const char16_t c : word)
            if ((c >= u'0' && c <= u'9') || c == u'\\' || c == u'[' || c == u']' || c == u' ' || c == u'-')
                std::abort();
        if (word == u"Alex" || word.front() == u'\'' || word.back() == u'\'')
            std::abort();
        // A word never starts right after a letter or a digit, which would be part of it,
        // unless that letter is a "$a" symbol's or a code's.
        const char16_t before = w.at > 0 ? line[w.at - 1] : u' ';
        const bool symbol = w.at > 1 && (line[w.at - 2] == u'$' || line[w.at - 2] == u'\\');
        if (!symbol && ((before >= u'a' && before <= u'z') || (before >= u'0' && before <= u'9')))
            std::abort();
        end = w.at + w.length;
    }
    return 0;
}
