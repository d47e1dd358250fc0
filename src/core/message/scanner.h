#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace zeilwerk {

// Where the scanner writes how it read a line: the Debugger tab's trace log.
class TraceSink {
public:
    virtual ~TraceSink() = default;
    virtual bool tracing() const = 0;                         // asked before every step
    virtual void appendLine(const std::u16string& line) = 0;  // one whole trace line
};

// A code with a declaration, "\\c[...]" or "\\n[...]": its letter, what stands between its
// brackets, and where in the visible text it takes effect.
struct CodeMark {
    char16_t letter;
    std::u16string_view argument;  // a view into the scanned line
    size_t at;
    bool operator==(const CodeMark&) const = default;
};

// The visible text of one message line; trace may be null. With codes, the colour and name
// codes are listed there in line order.
std::u16string visibleText(std::u16string_view line, TraceSink* trace = nullptr, std::vector<CodeMark>* codes = nullptr);

}  // namespace zeilwerk
