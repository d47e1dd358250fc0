#pragma once

#include <windows.h>

#include <algorithm>
#include <string>

namespace zeilwerk {

// The memo of the Maker's open message dialog, or none when the dialog, its tab control or
// its memo is missing.
inline HWND makerDialogMemo() {
    HWND dialog = FindWindowA("TFormEvCmd10110", nullptr);
    if (!dialog)
        return nullptr;
    HWND tabs = FindWindowExA(dialog, nullptr, "TTabControl", nullptr);
    if (!tabs)
        return nullptr;
    return FindWindowExA(tabs, nullptr, "TFixedMemo", nullptr);
}

// Types the text into the Maker's open message dialog, one WM_CHAR per byte of its form in
// the ANSI code page; false, and nothing typed, when there is no dialog memo.
inline bool sendToMakerDialog(const std::u16string& text) {
    HWND memo = makerDialogMemo();
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

// The text of the Maker's open message dialog, read with WM_GETTEXTLENGTH and WM_GETTEXT in
// the ANSI code page (the Maker's own) and turned into UTF-16, as the send turns it the other
// way; false without a dialog memo, or when the Maker does not answer within the time-out.
// Nothing is typed, focused or activated: the Maker's window stays as the maker left it.
inline bool readMakerDialog(std::u16string& text, UINT timeoutMs = 500) {
    HWND memo = makerDialogMemo();
    if (!memo)
        return false;
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutA(memo, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG | SMTO_BLOCK, timeoutMs, &length))
        return false;
    // The length may be larger than the text (double-byte pages count bytes); one more for the end.
    std::string bytes(static_cast<size_t>(length) + 1, '\0');
    DWORD_PTR copied = 0;
    if (!SendMessageTimeoutA(memo, WM_GETTEXT, bytes.size(), reinterpret_cast<LPARAM>(bytes.data()),
                             SMTO_ABORTIFHUNG | SMTO_BLOCK, timeoutMs, &copied))
        return false;
    bytes.resize(std::min<size_t>(static_cast<size_t>(copied), bytes.size() - 1));
    text.clear();
    if (bytes.empty())
        return true;
    const int size = static_cast<int>(bytes.size());
    const int units = MultiByteToWideChar(CP_ACP, 0, bytes.data(), size, nullptr, 0);
    if (units <= 0)
        return true;
    std::wstring wide(static_cast<size_t>(units), L'\0');
    MultiByteToWideChar(CP_ACP, 0, bytes.data(), size, wide.data(), units);
    text.assign(wide.begin(), wide.end());
    return true;
}

}  // namespace zeilwerk
