#pragma once

#include <string_view>

namespace zeilwerk {

// The program's version, written here alone: CMake reads it for the package, the windows show it.
inline constexpr std::string_view kVersion = "2.0.0.3";
inline constexpr std::string_view kVersionStage = "alpha";

// Major and minor alone, as the application title names them ("2.0").
constexpr std::string_view shortVersion() {
    const auto first = kVersion.find('.');
    return kVersion.substr(0, kVersion.find('.', first + 1));
}

}  // namespace zeilwerk
