// zeilwerk-maker.exe: types export texts into the Maker's message dialog. Zeilwerk runs it
// under Wine, beside the Maker.
//
// Alone it reads one text (UTF-16LE) from its standard input to the end and exits with 0
// when it was sent, 1 when no Maker dialog is open.
//
// With "--resident" it stays: it writes "R" once it runs, then answers each frame it reads
// (bridge_frames.h): a text with "0" when it was sent or "1" without a dialog, a read request
// with "1" or "T" and the dialog's text. It ends when its input does.

#include "maker/bridge_frames.h"
#include "maker/win32_send.h"

#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <io.h>
#include <string>

namespace {

using zeilwerk::bridge::unitsOf;

bool readExactly(std::string& bytes, size_t count) {
    bytes.resize(count);
    return std::fread(bytes.data(), 1, count, stdin) == count;
}

void answer(char c) {
    std::fputc(c, stdout);
    std::fflush(stdout);
}

// The dialog's text, or "1" without one.
void answerRead() {
    std::u16string text;
    if (!zeilwerk::readMakerDialog(text)) {
        answer(zeilwerk::bridge::answerNoDialog);
        return;
    }
    const std::string frame = zeilwerk::bridge::textFrame(text);
    std::fputc(zeilwerk::bridge::answerText, stdout);
    std::fwrite(frame.data(), 1, frame.size(), stdout);
    std::fflush(stdout);
}

int resident() {
    answer(zeilwerk::bridge::answerRunning);
    std::string header, body;
    while (readExactly(header, 4)) {
        const std::uint32_t units = zeilwerk::bridge::countOf(header);
        if (units == zeilwerk::bridge::readRequest) {
            answerRead();
            continue;
        }
        if (units > zeilwerk::bridge::maxUnits || !readExactly(body, size_t{units} * 2))
            return 2;
        answer(zeilwerk::sendToMakerDialog(unitsOf(body)) ? zeilwerk::bridge::answerTyped
                                                         : zeilwerk::bridge::answerNoDialog);
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
