#include "core/message/scanner.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

namespace {

// What must hold for every line: the output is never longer than the line (a "0" takes
// at least "\v" to print), and each trace line is one character and a message.
class CheckingSink : public zeilwerk::TraceSink {
public:
    explicit CheckingSink(bool on = true) : on(on) {}
    bool tracing() const override { return on; }
    void appendLine(const std::u16string& line) override {
        if (line.size() < 3 || line[1] != u' ' || line[2] != u':')
            std::abort();
        ++lines;
    }
    bool on;
    size_t lines = 0;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::u16string line(size / 2, u'\0');
    for (size_t i = 0; i < line.size(); ++i)
        line[i] = static_cast<char16_t>(data[2 * i] | data[2 * i + 1] << 8);
    CheckingSink sink;
    const std::u16string traced = zeilwerk::visibleText(line, &sink);
    // Without a sink the scanner takes its fast path for plain text; with one switched off,
    // the short step. Both must give what the full state table gives.
    const std::u16string plain = zeilwerk::visibleText(line);
    CheckingSink off(false);
    if (traced != plain || zeilwerk::visibleText(line, &off) != plain || off.lines != 0 || traced.size() > line.size())
        std::abort();
    // One step per character, one more for every re-read and every printed half space.
    if (sink.lines < line.size() || sink.lines > 2 * line.size())
        std::abort();
    return 0;
}
