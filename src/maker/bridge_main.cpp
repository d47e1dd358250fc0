// zeilwerk-maker.exe: types export texts into the Maker's message dialog. Zeilwerk runs it
// under Wine, beside the Maker.
//
// Alone it reads one text (UTF-16LE) from its standard input to the end and exits with 0
// when it was sent, 1 when no Maker dialog is open.
//
// With "--resident" it stays: it writes "R" once it runs, then for each text it reads, a
// 32-bit little-endian count of code units followed by the units, it answers "0" when it
// was sent or "1" without a dialog. It ends when its input does.

#include "maker/win32_send.h"

#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <io.h>
#include <string>

namespace {

std::u16string unitsOf(const std::string& bytes) {
    std::u16string text;
    for (size_t i = 0; i + 1 < bytes.size(); i += 2)
        text += static_cast<char16_t>(static_cast<unsigned char>(bytes[i]) |
                                      static_cast<unsigned char>(bytes[i + 1]) << 8);
    return text;
}

bool readExactly(std::string& bytes, size_t count) {
    bytes.resize(count);
    return std::fread(bytes.data(), 1, count, stdin) == count;
}

void answer(char c) {
    std::fputc(c, stdout);
    std::fflush(stdout);
}

int resident() {
    answer('R');
    std::string header, body;
    while (readExactly(header, 4)) {
        const auto b = [&](int i) { return static_cast<unsigned long>(static_cast<unsigned char>(header[i])); };
        const unsigned long units = b(0) | b(1) << 8 | b(2) << 16 | b(3) << 24;
        if (units > (1ul << 24) || !readExactly(body, units * 2))
            return 2;
        answer(zeilwerk::sendToMakerDialog(unitsOf(body)) ? '0' : '1');
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    _setmode(_fileno(stdin), _O_BINARY);
    _setmode(_fileno(stdout), _O_BINARY);
    if (argc > 1 && std::strcmp(argv[1], "--resident") == 0)
        return resident();
    std::string bytes;
    char buffer[4096];
    size_t got;
    while ((got = std::fread(buffer, 1, sizeof buffer, stdin)) > 0)
        bytes.append(buffer, got);
    return zeilwerk::sendToMakerDialog(unitsOf(bytes)) ? 0 : 1;
}
