#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace zeilwerk {

// The 8-bit Windows code page of the user's locale, built on iconv's tables.
// Single-byte pages (Windows-1252) and the double-byte ones (CP932, ...) both work.
class CodePage {
public:
    // iconvName as glibc knows it, e.g. "WINDOWS-1252" or "CP932"; throws Error when unknown.
    explicit CodePage(const char* iconvName);

    // The page Zeilwerk uses: Windows-1252, as on a German Windows.
    static const CodePage& system();

    // The 8-bit form; a character the page cannot hold becomes "?", as Windows converts it.
    std::string encode(std::u16string_view text) const;
    // Back to UTF-16; a byte the page leaves undefined keeps its own value, as Windows does.
    std::u16string decode(std::string_view bytes) const;

    // One code unit as it survives the trip through the page: itself, or "?".
    char16_t survivor(char16_t unit) const { return m_length[unit] ? unit : u'?'; }
    // Bytes of the 8-bit form of one code unit: 1, 2 on a double-byte page, 0 if it has none.
    int byteLength(char16_t unit) const { return m_length[unit]; }

    bool isDoubleByte() const { return m_doubleByte; }

private:
    std::string m_name;
    bool m_doubleByte = false;
    std::vector<std::uint8_t> m_length;            // per BMP code unit
    std::vector<std::array<char, 2>> m_bytes;      // per BMP code unit
    std::array<char16_t, 256> m_singleDecode{};    // per byte, single-byte pages
};

}  // namespace zeilwerk
