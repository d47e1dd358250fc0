#pragma once

#include "core/platform/code_page.h"

#include <QString>

#include <string>

namespace zeilwerk {

// The widgets hold QString; the core takes UTF-16 and INI files hold the 8-bit code page.
inline std::u16string toU16(const QString& s) {
    return std::u16string(reinterpret_cast<const char16_t*>(s.utf16()), static_cast<size_t>(s.size()));
}

inline QString fromU16(const std::u16string& s) {
    return QString::fromUtf16(s.data(), static_cast<qsizetype>(s.size()));
}

inline std::string toIni(const QString& text) {
    return CodePage::system().encode(toU16(text));
}

inline QString fromIni(const std::string& bytes) {
    return fromU16(CodePage::system().decode(bytes));
}

}  // namespace zeilwerk
