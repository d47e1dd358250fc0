#pragma once

#include <windows.h>

#include <string>

namespace zeilwerk {

// Types the text into the Maker's open message dialog, one WM_CHAR per byte of its form in
// the ANSI code page; false, and nothing typed, when the dialog, its tab control or its
// memo is missing.
inline bool sendToMakerDialog(const std::u16string& text) {
    HWND dialog = FindWindowA("TFormEvCmd10110", nullptr);
    if (!dialog)
        return false;
    HWND tabs = FindWindowExA(dialog, nullptr, "TTabControl", nullptr);
    if (!tabs)
        return false;
    HWND memo = FindWindowExA(tabs, nullptr, "TFixedMemo", nullptr);
    if (!memo)
        return false;
    // The Maker reads each value as a character of its 8-bit code page, so it gets that
    // page's bytes: a code unit sent as it is would arrive cut to its low byte ("€" as "¬").
    std::string bytes;
    if (!text.empty()) {
        const auto* wide = reinterpret_cast<const wchar_t*>(text.data());
        const int units = static_cast<int>(text.size());
        const int size = WideCharToMultiByte(CP_ACP, 0, wide, units, nullptr, 0, "?", nullptr);
        bytes.resize(static_cast<size_t>(size > 0 ? size : 0));
        if (size > 0)
            WideCharToMultiByte(CP_ACP, 0, wide, units, bytes.data(), size, "?", nullptr);
    }
    for (char byte : bytes)
        SendMessageA(memo, WM_CHAR, static_cast<WPARAM>(static_cast<unsigned char>(byte)), 0);
    return true;
}

}  // namespace zeilwerk
