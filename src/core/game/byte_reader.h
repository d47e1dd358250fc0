#pragma once

#include "core/platform/error.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace zeilwerk {

// Numbers from the bytes of an outside file. Every read is checked against the end, and a
// read past it throws the file's "damaged" message, so a reader needs no checks of its own.
class ByteReader {
public:
    ByteReader(std::string_view bytes, std::string damaged) : m_bytes(bytes), m_damaged(std::move(damaged)) {}

    std::uint64_t size() const { return m_bytes.size(); }
    std::string_view bytes() const { return m_bytes; }
    bool has(std::uint64_t at, std::uint64_t length) const { return at <= size() && length <= size() - at; }
    [[noreturn]] void fail() const { throw Error(m_damaged); }
    void require(bool ok) const {
        if (!ok)
            fail();
    }

    std::uint8_t u8(std::uint64_t at) const {
        require(has(at, 1));
        return static_cast<std::uint8_t>(m_bytes[at]);
    }
    std::uint16_t u16(std::uint64_t at, bool bigEndian = false) const {
        require(has(at, 2));
        return bigEndian ? std::uint16_t(byte(at) << 8 | byte(at + 1)) : std::uint16_t(byte(at + 1) << 8 | byte(at));
    }
    std::uint32_t u32(std::uint64_t at, bool bigEndian = false) const {
        require(has(at, 4));
        if (bigEndian)
            return std::uint32_t(byte(at)) << 24 | std::uint32_t(byte(at + 1)) << 16 | std::uint32_t(byte(at + 2)) << 8 | byte(at + 3);
        return std::uint32_t(byte(at + 3)) << 24 | std::uint32_t(byte(at + 2)) << 16 | std::uint32_t(byte(at + 1)) << 8 | byte(at);
    }
    std::string_view slice(std::uint64_t at, std::uint64_t length) const {
        require(has(at, length));
        return m_bytes.substr(at, length);
    }

private:
    std::uint32_t byte(std::uint64_t at) const { return static_cast<std::uint8_t>(m_bytes[at]); }

    std::string_view m_bytes;
    std::string m_damaged;
};

}  // namespace zeilwerk
