// The Win32 side of the Maker link, 64-bit under Wine: dialog classes of the Maker's names in
// this process, the memo an edit control, read after SetWindowText and after the send typed
// into it. Exits with the number of failures.

#include "maker/win32_send.h"

#include <cstdio>

namespace {

WNDPROC editProc;

LRESULT CALLBACK memoProc(HWND window, UINT message, WPARAM w, LPARAM l) {
    return CallWindowProcA(editProc, window, message, w, l);
}

int failures = 0;

void expectRead(const std::u16string& expected, const char* what) {
    std::u16string got;
    if (!zeilwerk::readMakerDialog(got) || got != expected) {
        std::printf("FAIL %s: %d units read, %d expected\n", what, static_cast<int>(got.size()),
                    static_cast<int>(expected.size()));
        ++failures;
    }
}

}  // namespace

int main() {
    HINSTANCE instance = GetModuleHandleA(nullptr);
    WNDCLASSA plain{};
    plain.lpfnWndProc = DefWindowProcA;
    plain.hInstance = instance;
    plain.lpszClassName = "TFormEvCmd10110";
    RegisterClassA(&plain);
    plain.lpszClassName = "TTabControl";
    RegisterClassA(&plain);
    // The memo is the system's edit control under the Maker's class name.
    WNDCLASSA memoClass{};
    GetClassInfoA(nullptr, "EDIT", &memoClass);
    editProc = memoClass.lpfnWndProc;
    memoClass.lpfnWndProc = memoProc;
    memoClass.hInstance = instance;
    memoClass.lpszClassName = "TFixedMemo";
    RegisterClassA(&memoClass);

    std::u16string none;
    if (zeilwerk::readMakerDialog(none)) {
        std::puts("FAIL a read without a dialog");
        ++failures;
    }
    HWND dialog = CreateWindowA("TFormEvCmd10110", "Nachricht", WS_OVERLAPPEDWINDOW, 0, 0, 300, 200, nullptr,
                                nullptr, instance, nullptr);
    HWND tabs = CreateWindowA("TTabControl", "", WS_CHILD, 0, 0, 300, 200, dialog, nullptr, instance, nullptr);
    HWND memo = CreateWindowA("TFixedMemo", "", WS_CHILD | ES_MULTILINE, 0, 0, 300, 200, tabs, nullptr, instance, nullptr);
    for (const std::u16string text : {u"", u"Äpfel für 5 €", u"Zeile eins\r\n\\C[2]Zeile zwei"}) {
        SetWindowTextW(memo, reinterpret_cast<const wchar_t*>(text.c_str()));
        expectRead(text, "set, then read");
    }
    SetWindowTextW(memo, L"");
    zeilwerk::sendToMakerDialog(u"Öl für 2 €");
    expectRead(u"Öl für 2 €", "typed, then read");
    std::puts(failures ? "FAILED" : "OK");
    return failures;
}
