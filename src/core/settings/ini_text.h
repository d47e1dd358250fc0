#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

// The text rules of INI files as Windows' private-profile functions read and write them:
// lines, sections, keys, values. Pure functions over bytes, taken apart by the fuzzer.
namespace zeilwerk::ini {

// One line of the file as the private-profile functions see it.
struct Line {
    enum Kind { Other, Section, Key };
    size_t begin = 0;  // first byte
    size_t end = 0;    // one past the last byte before the line end
    size_t next = 0;   // first byte of the following line
    Kind kind = Other;
    std::string_view name;
    std::string_view value;
};

// The line that starts at begin, classified.
Line lineAt(std::string_view text, size_t begin);

// The lines of a text in order, a UTF-8 byte order mark skipped.
class Lines {
public:
    explicit Lines(std::string_view text);
    bool next(Line& line);

private:
    std::string_view m_text;
    size_t m_pos = 0;
};

char lowerAscii(char c);
// Names compare without regard to ASCII letter case.
bool sameName(std::string_view a, std::string_view b);
// A value without the quotes around it.
std::string_view unquoted(std::string_view v);
// The text with the key set: in place where its section has it, else at the end of the
// section, else in a new section at the end of the file.
std::string withValue(const std::string& text, std::string_view section, std::string_view key, std::string_view value);
// A hash of a name that ignores letter case.
std::uint32_t nameHash(std::string_view name);

}  // namespace zeilwerk::ini
