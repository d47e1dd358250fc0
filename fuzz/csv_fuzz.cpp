#include "core/platform/csv.h"
#include "core/platform/error.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

// The fuzzed bytes are a CSV file: it reads, or is refused with the program's own error;
// what reads is written again and reads back the same.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace zeilwerk;
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    std::vector<std::vector<std::string>> rows;
    try {
        rows = readCsv(text);
    } catch (const Error&) {
        return 0;
    }
    std::string again;
    for (const auto& row : rows)
        again += csvRow(row);
    if (readCsv(again) != rows)
        __builtin_trap();
    return 0;
}
