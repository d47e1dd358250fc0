#include "core/message/message_codes.h"

#include "core/platform/number.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

// What must hold for every line: the tokens cover it in order without a gap, text holds no
// code or symbol, each code starts with its backslash and its brackets lie inside it.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using zeilwerk::MessageToken;
    std::u16string line(size / 2, u'\0');
    for (size_t i = 0; i < line.size(); ++i)
        line[i] = static_cast<char16_t>(data[2 * i] | data[2 * i + 1] << 8);
    const std::u16string_view view(line);
    size_t end = 0;
    zeilwerk::forEachMessageToken(view, [&](const MessageToken& t) {
        if (t.at != end || t.length == 0 || t.at + t.length > line.size())
            std::abort();
        end = t.at + t.length;
        const std::u16string_view text = view.substr(t.at, t.length);
        if (t.kind == MessageToken::Kind::Text) {
            for (size_t i = 0; i < text.size(); ++i)
                if (text[i] == u'\\' || (i > 0 && text[i - 1] == u'$' && zeilwerk::isAsciiLetter(text[i])))
                    std::abort();
            return;
        }
        if (t.kind == MessageToken::Kind::Symbol) {
            if (text[0] != u'$' || t.number < 0 || t.number > 51)
                std::abort();
            return;
        }
        if (text[0] != u'\\' || t.number < 0 || t.number > 1'000'000'000)
            std::abort();
        if (t.bracket != MessageToken::Bracket::None &&
            (t.inside.data() < text.data() + 3 || t.inside.data() + t.inside.size() > text.data() + text.size()))
            std::abort();
    });
    if (end != line.size())
        std::abort();
    return 0;
}
