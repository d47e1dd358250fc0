#include "platform/code_page.h"

#include "platform/error.h"

#include <cerrno>
#include <iconv.h>

namespace zeilwerk {
namespace {

class Converter {
public:
    Converter(const char* to, const char* from) : m_cd(iconv_open(to, from)) {}
    ~Converter() {
        if (valid())
            iconv_close(m_cd);
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    bool valid() const { return m_cd != reinterpret_cast<iconv_t>(-1); }

    // Converts all of in, or nothing; returns the bytes written or -1.
    int convert(const char* in, size_t inLength, char* out, size_t outSize) {
        iconv(m_cd, nullptr, nullptr, nullptr, nullptr);
        char* src = const_cast<char*>(in);
        char* dst = out;
        size_t left = inLength;
        size_t room = outSize;
        if (iconv(m_cd, &src, &left, &dst, &room) == static_cast<size_t>(-1) || left != 0)
            return -1;
        if (iconv(m_cd, nullptr, nullptr, &dst, &room) == static_cast<size_t>(-1))
            return -1;
        return static_cast<int>(dst - out);
    }

private:
    iconv_t m_cd;
};

bool isSurrogate(char16_t unit) { return unit >= 0xD800 && unit <= 0xDFFF; }

}  // namespace

CodePage::CodePage(const char* iconvName)
    : m_name(iconvName), m_length(0x10000, 0), m_bytes(0x10000, {0, 0}) {
    Converter toPage(iconvName, "UTF-16LE");
    Converter fromPage("UTF-16LE", iconvName);
    if (!toPage.valid() || !fromPage.valid())
        throw Error("Unknown code page " + m_name);

    for (std::uint32_t unit = 0; unit < 0x10000; ++unit) {
        if (isSurrogate(static_cast<char16_t>(unit)))
            continue;
        const char in[2] = {static_cast<char>(unit & 0xFF), static_cast<char>(unit >> 8)};
        char out[8];
        const int n = toPage.convert(in, 2, out, sizeof out);
        if (n == 1 || n == 2) {
            m_length[unit] = static_cast<std::uint8_t>(n);
            m_bytes[unit] = {out[0], n == 2 ? out[1] : '\0'};
            if (n == 2)
                m_doubleByte = true;
        }
    }
    for (int byte = 0; byte < 256; ++byte) {
        const char in = static_cast<char>(byte);
        char out[8];
        const int n = fromPage.convert(&in, 1, out, sizeof out);
        m_singleDecode[byte] = n == 2 ? static_cast<char16_t>(static_cast<unsigned char>(out[0]) |
                                                              static_cast<unsigned char>(out[1]) << 8)
                                      : static_cast<char16_t>(byte);
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
