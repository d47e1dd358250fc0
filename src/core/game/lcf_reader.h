#pragma once

#include "core/platform/error.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace zeilwerk {

// The bytes of an LCF file (the Maker's database, map tree and maps), read front to back;
// every read past the end, and every header that is not the expected one, throws Error(failure).
class LcfReader {
public:
    LcfReader(std::string_view data, const char* failure)
        : m_p(reinterpret_cast<const unsigned char*>(data.data())), m_end(m_p + data.size()), m_failure(failure) {}

    bool atEnd() const { return m_p == m_end; }
    // Where the next read starts, for a writer that splices into the same bytes.
    const char* position() const { return reinterpret_cast<const char*>(m_p); }

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

    // An ID as the files number maps, events and heroes; the top bit is dropped so it stays an int.
    int id() { return static_cast<int>(number() & 0x7FFFFFFF); }

    std::string_view bytes(std::uint32_t count) {
        if (count > static_cast<size_t>(m_end - m_p))
            fail();
        const std::string_view out(reinterpret_cast<const char*>(m_p), count);
        m_p += count;
        return out;
    }

    // Other bytes of the same file, read with this reader's failure.
    LcfReader in(std::string_view data) const { return LcfReader(data, m_failure); }
    // A chunk's data that holds one number.
    std::uint32_t numberIn(std::string_view data) const { return in(data).number(); }

    // The file's name at its start, as a sized string: "LcfDataBase", "LcfMapTree", "LcfMapUnit".
    void header(std::string_view name) {
        if (number() != name.size() || bytes(static_cast<std::uint32_t>(name.size())) != name)
            fail();
    }

    // Chunks up to a 0 or the end, each an ID, a size and that many bytes; hands each to
    // take(id, its bytes). A chunk the reader does not know is passed over by its size.
    template <typename Take>
    void chunks(Take take) {
        while (!atEnd()) {
            const std::uint32_t id = number();
            if (id == 0)
                break;
            take(id, bytes(number()));
        }
    }

    // A count, then that many items, each read by take(). Every item takes at least a byte,
    // so a count larger than the data fails at the end and allocates nothing first.
    template <typename Take>
    void items(Take take) {
        const std::uint32_t count = number();
        for (std::uint32_t i = 0; i < count; ++i) {
            if (atEnd())
                fail();
            take();
        }
    }

    // An array of elements, each an ID and its chunks; hands each ID to take(id), which reads
    // the element's chunks from this reader.
    template <typename Take>
    void elements(Take take) {
        items([&] { take(id()); });
    }

    const char* failure() const { return m_failure; }
    [[noreturn]] void fail() const { throw Error(m_failure); }

private:
    const unsigned char* m_p;
    const unsigned char* m_end;
    const char* m_failure;
};

}  // namespace zeilwerk
