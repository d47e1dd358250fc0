#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace zeilwerk {

// UTF-16 to UTF-8, for error texts that quote what the user typed.
std::string toUtf8(std::u16string_view text);
// UTF-8 to UTF-16; a byte that starts no whole character becomes U+FFFD.
std::u16string fromUtf8(std::string_view text);

// FNV-1a of bytes: the same on every system and in every build, for names and checksums.
inline std::uint64_t fnv1a(std::string_view bytes) {
    std::uint64_t hash = 0xcbf29ce484222325ULL;
    for (const char c : bytes) {
        hash ^= static_cast<unsigned char>(c);
        hash *= 0x100000001b3ULL;
    }
    return hash;
}

// The Maker's code letters are ASCII, read in either case: "\\C[2]" colours like "\\c[2]".
inline bool isAsciiLetter(char16_t c) {
    return (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z');
}
inline char16_t asciiLower(char16_t c) {
    return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c + (u'a' - u'A')) : c;
}

}  // namespace zeilwerk
