// Stands in for the Maker in the export test: a "TFormEvCmd10110" window holding a
// "TTabControl" holding a "TFixedMemo" that records every WM_CHAR it gets, two bytes each
// (little-endian), in the file named first. It writes the file named second once the whole
// window chain exists, and ends when the file named third appears (or after two minutes).

#include <windows.h>

#include <cstdio>
#include <string>

namespace {

FILE* record = nullptr;
std::string quitFile;
int ticks = 0;

LRESULT CALLBACK memoProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_CHAR) {
        const unsigned char unit[2] = {static_cast<unsigned char>(wParam & 0xFF),
                                       static_cast<unsigned char>((wParam >> 8) & 0xFF)};
        std::fwrite(unit, 1, 2, record);
        std::fflush(record);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

LRESULT CALLBACK dialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_TIMER) {
        if (GetFileAttributesA(quitFile.c_str()) != INVALID_FILE_ATTRIBUTES || ++ticks > 1200)
            PostQuitMessage(0);
        return 0;
    }
    if (message == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

bool registerClass(const char* name, WNDPROC proc) {
    WNDCLASSA c{};
    c.lpfnWndProc = proc;
    c.hInstance = GetModuleHandleA(nullptr);
    c.lpszClassName = name;
    c.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    return RegisterClassA(&c) != 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 4)
        return 2;
    record = std::fopen(argv[1], "wb");
    quitFile = argv[3];
    if (!record)
        return 3;
    if (!registerClass("TFormEvCmd10110", dialogProc) || !registerClass("TTabControl", DefWindowProcA) ||
        !registerClass("TFixedMemo", memoProc))
        return 4;
    HINSTANCE instance = GetModuleHandleA(nullptr);
    HWND dialog = CreateWindowExA(0, "TFormEvCmd10110", "Ereignisbefehl: Nachricht", WS_OVERLAPPEDWINDOW, 10, 10, 400,
                                  200, nullptr, nullptr, instance, nullptr);
    HWND tabs = CreateWindowExA(0, "TTabControl", "", WS_CHILD | WS_VISIBLE, 5, 5, 380, 150, dialog, nullptr,
                                instance, nullptr);
    HWND memo = CreateWindowExA(0, "TFixedMemo", "", WS_CHILD | WS_VISIBLE, 5, 5, 360, 120, tabs, nullptr,
                                instance, nullptr);
    if (!dialog || !tabs || !memo)
        return 5;
    ShowWindow(dialog, SW_SHOW);
    SetTimer(dialog, 1, 100, nullptr);
    if (FILE* ready = std::fopen(argv[2], "wb"))
        std::fclose(ready);

    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    std::fclose(record);
    return 0;
}
