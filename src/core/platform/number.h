#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace zeilwerk {

// A setting's text as the whole number it must be: optional leading blanks, a sign,
// decimal digits or "$"/"0x" hexadecimal, nothing after. Anything else, or a value
// outside 32 bits, throws Error("'<text>' is not a valid integer value").
std::int32_t strToInt(std::u16string_view text);

}  // namespace zeilwerk
