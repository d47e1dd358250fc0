#include "core/platform/code_page.h"

#include "core/platform/code_page_converter.h"
#include "core/platform/error.h"

namespace zeilwerk {
namespace {

bool isSurrogate(char16_t unit) { return unit >= 0xD800 && unit <= 0xDFFF; }

}  // namespace

CodePage::CodePage(const char* iconvName)
    : m_name(iconvName), m_length(0x10000, 0), m_bytes(0x10000, {0, 0}) {
    Converter toPage(iconvName, "UTF-16LE");
    Converter fromPage("UTF-16LE", iconvName);
    if (!toPage.valid() || !fromPage.valid())
        throw Error("Unknown code page " + m_name);

    const auto decodeOne = [&](const char* in, size_t length, char16_t& unit) {
        char out[8];
        if (fromPage.convert(in, length, out, sizeof out) != 2)
            return false;
        unit = static_cast<char16_t>(static_cast<unsigned char>(out[0]) | static_cast<unsigned char>(out[1]) << 8);
        return true;
    };

    // Every unit the page can hold is the decoding of some byte or byte pair, so the table
    // is built from the page's few hundred (or few thousand) byte sequences, not from all
    // 65,536 units.
    std::vector<char16_t> candidates;
    std::vector<unsigned char> leadBytes;
    for (int byte = 0; byte < 256; ++byte) {
        const char in = static_cast<char>(byte);
        char16_t unit = 0;
        if (decodeOne(&in, 1, unit)) {
            candidates.push_back(unit);
            m_singleDecode[byte] = unit;
        } else {
            // A lead byte is "incomplete" alone; a byte the page leaves undefined keeps its value.
            if (fromPage.incomplete())
                leadBytes.push_back(static_cast<unsigned char>(byte));
            m_singleDecode[byte] = static_cast<char16_t>(byte);
        }
    }
    m_doubleByte = !leadBytes.empty();
    for (const unsigned char lead : leadBytes)
        for (int trail = 0; trail < 256; ++trail) {
            const char in[2] = {static_cast<char>(lead), static_cast<char>(trail)};
            char16_t unit = 0;
            if (decodeOne(in, 2, unit))
                candidates.push_back(unit);
        }

    // A unit counts as held only when its bytes decode to it again. CP932 writes "¥" as the
    // byte of "\\": taken as held, it would turn into a message code on the way to the Maker.
    for (const char16_t unit : candidates) {
        if (isSurrogate(unit) || m_length[unit])
            continue;
        const char in[2] = {static_cast<char>(unit & 0xFF), static_cast<char>(unit >> 8)};
        char out[8];
        const int n = toPage.convert(in, 2, out, sizeof out);
        char16_t back = 0;
        if ((n == 1 || n == 2) && decodeOne(out, static_cast<size_t>(n), back) && back == unit) {
            m_length[unit] = static_cast<std::uint8_t>(n);
            m_bytes[unit] = {out[0], n == 2 ? out[1] : '\0'};
        }
    }
}

const CodePage& CodePage::system() {
    static const CodePage page("WINDOWS-1252");
    return page;
}

std::string CodePage::encode(std::u16string_view text) const {
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        const char16_t unit = text[i];
        if (isSurrogate(unit)) {
            // A whole pair is one character outside every ANSI page: one "?".
            if (unit < 0xDC00 && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF)
                ++i;
            out += '?';
            continue;
        }
        switch (m_length[unit]) {
        case 1: out += m_bytes[unit][0]; break;
        case 2: out.append(m_bytes[unit].data(), 2); break;
        default: out += '?'; break;
        }
    }
    return out;
}

std::u16string CodePage::decode(std::string_view bytes) const {
    std::u16string out;
    out.reserve(bytes.size());
    if (!m_doubleByte) {
        for (const char c : bytes)
            out += m_singleDecode[static_cast<unsigned char>(c)];
        return out;
    }
    Converter fromPage("UTF-16LE", m_name.c_str());
    for (size_t i = 0; i < bytes.size();) {
        char buf[8];
        int n = fromPage.convert(bytes.data() + i, 1, buf, sizeof buf);
        size_t used = 1;
        if (n != 2 && i + 1 < bytes.size()) {
            n = fromPage.convert(bytes.data() + i, 2, buf, sizeof buf);
            used = 2;
        }
        if (n == 2) {
            out += static_cast<char16_t>(static_cast<unsigned char>(buf[0]) |
                                         static_cast<unsigned char>(buf[1]) << 8);
            i += used;
        } else {
            // A lead byte without a valid trail: Windows shows the lone byte as "?".
            out += u'?';
            i += 1;
        }
    }
    return out;
}

}  // namespace zeilwerk
