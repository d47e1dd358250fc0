// zeilwerk-maker.exe: reads the export text (UTF-16LE) from its standard input and types it
// into the Maker's message dialog. Zeilwerk runs it under Wine, beside the Maker.
// Exit code 0: sent; 1: no Maker dialog open.

#include "maker/win32_send.h"

#include <cstdio>
#include <fcntl.h>
#include <io.h>
#include <string>

int main() {
    _setmode(_fileno(stdin), _O_BINARY);
    std::string bytes;
    char buffer[4096];
    size_t got;
    while ((got = std::fread(buffer, 1, sizeof buffer, stdin)) > 0)
        bytes.append(buffer, got);
    std::u16string text;
    for (size_t i = 0; i + 1 < bytes.size(); i += 2)
        text += static_cast<char16_t>(static_cast<unsigned char>(bytes[i]) |
                                      static_cast<unsigned char>(bytes[i + 1]) << 8);
    return zeilwerk::sendToMakerDialog(text) ? 0 : 1;
}
