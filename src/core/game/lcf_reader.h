#pragma once

#include "core/platform/error.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace zeilwerk {

// The bytes of an LCF file (the Maker's database, map tree and maps), read front to back;
// every read past the end throws Error(failure).
class LcfReader {
public:
    LcfReader(std::string_view data, const char* failure)
        : m_p(reinterpret_cast<const unsigned char*>(data.data())), m_end(m_p + data.size()), m_failure(failure) {}

    bool atEnd() const { return m_p == m_end; }

    // A number in 7-bit groups, most significant first; a set high bit means more follows.
    std::uint32_t number() {
        std::uint64_t value = 0;
        for (int i = 0; i < 5; ++i) {
            if (m_p == m_end)
                fail();
            const unsigned char byte = *m_p++;
            value = value << 7 | (byte & 0x7F);
            if (!(byte & 0x80)) {
                if (value > 0xFFFFFFFFu)
                    fail();
                return static_cast<std::uint32_t>(value);
            }
        }
        fail();
    }

    std::string_view bytes(std::uint32_t count) {
        if (count > static_cast<size_t>(m_end - m_p))
            fail();
        const std::string_view out(reinterpret_cast<const char*>(m_p), count);
        m_p += count;
        return out;
    }

    // A field's data that holds one number, read with this reader's failure.
    std::uint32_t numberIn(std::string_view field) const { return LcfReader(field, m_failure).number(); }

    // The data of the next chunk: its ID, then its size, then that many bytes.
    LcfReader chunk(std::uint32_t& id) {
        id = number();
        return LcfReader(bytes(number()), m_failure);
    }

    // Fields as chunks up to a 0: ID, size, data; hands each to take(id, its data).
    template <typename Take>
    void fields(Take take) {
        while (!atEnd()) {
            const std::uint32_t field = number();
            if (field == 0)
                break;
            take(field, bytes(number()));
        }
    }

    [[noreturn]] void fail() const { throw Error(m_failure); }

private:
    const unsigned char* m_p;
    const unsigned char* m_end;
    const char* m_failure;
};

}  // namespace zeilwerk
