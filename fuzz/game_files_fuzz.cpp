#include "core/game/database_names.h"
#include "core/game/game_database.h"
#include "look/xyz_picture.h"

#include "core/platform/error.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

// The fuzzed bytes are a game's database (its look and its names) and an XYZ picture at once:
// each reads, or is refused with the program's own error; nothing else.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    try {
        (void)zeilwerk::readGameDatabase(std::string_view(reinterpret_cast<const char*>(data), size));
    } catch (const zeilwerk::Error&) {
    }
    try {
        for (const std::string& name : zeilwerk::readDatabaseNames(std::string_view(reinterpret_cast<const char*>(data), size)))
            if (name.empty() || name.size() > size)
                std::abort();
    } catch (const zeilwerk::Error&) {
    }
    try {
        const QImage picture = zeilwerk::decodeXyz(bytes);
        if (picture.isNull() || picture.colorCount() != 256)
            std::abort();
    } catch (const zeilwerk::Error&) {
    }
    return 0;
}
