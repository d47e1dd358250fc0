#include "core/message/message_codes.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

// What must hold for every line: the tokens cover it in order without a gap, text holds no
// backslash, each code starts with one and its brackets lie inside it.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using zeilwerk::MessageToken;
    std::u16string line(size / 2, u'\0');
    for (size_t i = 0; i < line.size(); ++i)
        line[i] = static_cast<char16_t>(data[2 * i] | data[2 * i + 1] << 8);
    const std::u16string_view view(line);
    size_t end = 0;
    zeilwerk::forEachMessageToken(view, [&](const MessageToken& t) {
        if (t.at != end || t.length == 0 || t.number < 0 || t.number > 1'000'000'000)
            std::abort();
        end = t.at + t.length;
        const std::u16string_view text = view.substr(t.at, t.length);
        const bool isText = t.kind == MessageToken::Kind::Text, isSymbol = t.kind == MessageToken::Kind::Symbol;
        if (isText ? text.find(u'\\') != text.npos : isSymbol ? text[0] != u'$' : text[0] != u'\\')
            std::abort();
        if (!t.inside.empty() && (t.inside.data() < text.data() + 3 || t.inside.data() + t.inside.size() > view.data() + end))
            std::abort();
    });
    if (end != line.size())
        std::abort();
    return 0;
}
