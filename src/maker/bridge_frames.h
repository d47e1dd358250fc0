#pragma once

// The frames of the bridge's pipe protocol, shared by Zeilwerk and the bridge (which is built
// alone by the Windows cross compiler, so this stays free of Qt and of the library).
//
// Zeilwerk writes, little-endian: a 32-bit count of UTF-16 code units and the units (a text to
// type), or the count readRequest alone (the dialog's text wanted). The bridge answers a text
// with "0" (typed) or "1" (no dialog), a read with "1" or with "T" and a text frame.

#include <cstdint>
#include <string>
#include <string_view>

namespace zeilwerk::bridge {

inline constexpr std::uint32_t readRequest = 0xFFFF'FFFFu;
// No text is longer: a count above it is a broken frame, not a reason to wait for gigabytes.
inline constexpr std::uint32_t maxUnits = 1u << 24;

inline constexpr char answerTyped = '0';
inline constexpr char answerNoDialog = '1';
inline constexpr char answerText = 'T';
inline constexpr char answerRunning = 'R';

inline void appendCount(std::string& frame, std::uint32_t count) {
    for (int i = 0; i < 4; ++i)
        frame += static_cast<char>(count >> (8 * i) & 0xFF);
}

inline std::uint32_t countOf(std::string_view four) {
    std::uint32_t count = 0;
    for (int i = 3; i >= 0; --i)
        count = count << 8 | static_cast<unsigned char>(four[static_cast<size_t>(i)]);
    return count;
}

// The count and the units of a text.
inline std::string textFrame(std::u16string_view text) {
    std::string frame;
    frame.reserve(4 + 2 * text.size());
    appendCount(frame, static_cast<std::uint32_t>(text.size()));
    for (const char16_t unit : text) {
        frame += static_cast<char>(unit & 0xFF);
        frame += static_cast<char>(unit >> 8);
    }
    return frame;
}

inline std::string readRequestFrame() {
    std::string frame;
    appendCount(frame, readRequest);
    return frame;
}

// UTF-16LE bytes as code units; an odd last byte is no unit.
inline std::u16string unitsOf(std::string_view bytes) {
    std::u16string text;
    text.reserve(bytes.size() / 2);
    for (size_t i = 0; i + 1 < bytes.size(); i += 2)
        text += static_cast<char16_t>(static_cast<unsigned char>(bytes[i]) |
                                      static_cast<unsigned char>(bytes[i + 1]) << 8);
    return text;
}

}  // namespace zeilwerk::bridge
