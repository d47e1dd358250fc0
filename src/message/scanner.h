#pragma once

#include <string>
#include <string_view>

namespace zeilwerk {

// Where the scanner writes how it read a line: the Debugger tab's trace log.
class TraceSink {
public:
    virtual ~TraceSink() = default;
    virtual bool tracing() const = 0;                         // asked before every step
    virtual void appendLine(const std::u16string& line) = 0;  // one whole trace line
};

// The visible text of one message line; trace may be null.
std::u16string visibleText(std::u16string_view line, TraceSink* trace = nullptr);

}  // namespace zeilwerk
