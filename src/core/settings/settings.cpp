#include "core/settings/settings.h"

#include "core/platform/error.h"
#include "core/platform/number.h"

namespace zeilwerk {

std::optional<std::int32_t> settingNumber(const Setting& setting, std::u16string_view text) {
    try {
        const std::int32_t n = strToInt(text);
        if (setting.inRange(n))
            return n;
    } catch (const Error&) {
    }
    return std::nullopt;
}

}  // namespace zeilwerk
