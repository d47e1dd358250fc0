#include "core/settings/ini_text.h"

#include "core/settings/ini_file.h"

#include <charconv>

namespace zeilwerk {
namespace ini {
namespace {

bool isBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view trimmed(std::string_view s) {
    while (!s.empty() && isBlank(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && (isBlank(s.back()) || s.back() == '\r'))
        s.remove_suffix(1);
    return s;
}

// A line break in a value would end the line and start another in the file.
std::string singleLine(std::string_view s) {
    std::string out(s);
    for (char& c : out)
        if (c == '\r' || c == '\n')
            c = ' ';
    return out;
}

void classify(Line& line, std::string_view s) {
    line.kind = Line::Other;
    line.name = {};
    line.value = {};
    if (s.empty() || s.front() == ';')
        return;
    if (s.front() == '[') {
        const size_t close = s.rfind(']');
        if (close != std::string_view::npos) {
            line.kind = Line::Section;
            line.name = trimmed(s.substr(1, close - 1));
            return;
        }
        // A header without "]" is read like any other line.
    }
    const size_t eq = s.find('=');
    if (eq == std::string_view::npos)
        return;  // what has no "=" is not a key
    line.kind = Line::Key;
    line.name = trimmed(s.substr(0, eq));
    line.value = trimmed(s.substr(eq + 1));
}

bool parseDecimal(std::string_view s, std::int32_t& value) {
    const bool plus = !s.empty() && s.front() == '+';
    if (plus)
        s.remove_prefix(1);
    if (s.empty() || (plus && s.front() == '-'))
        return false;
    const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), value);
    return ec == std::errc() && end == s.data() + s.size();
}

}  // namespace

char lowerAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool sameName(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (lowerAscii(a[i]) != lowerAscii(b[i]))
            return false;
    return true;
}

Lines::Lines(std::string_view text) : m_text(text) {
    // Skip a UTF-8 byte order mark, so the first section stays reachable.
    if (m_text.substr(0, 3) == "\xEF\xBB\xBF")
        m_pos = 3;
}

bool Lines::next(Line& line) {
    if (m_pos >= m_text.size())
        return false;
    line = lineAt(m_text, m_pos);
    m_pos = line.next;
    return true;
}

Line lineAt(std::string_view text, size_t begin) {
    Line line;
    line.begin = begin;
    const size_t lf = text.find('\n', begin);
    line.next = lf == std::string_view::npos ? text.size() : lf + 1;
    line.end = lf == std::string_view::npos ? text.size() : lf;
    if (line.end > line.begin && text[line.end - 1] == '\r')
        --line.end;
    classify(line, trimmed(text.substr(line.begin, line.end - line.begin)));
    return line;
}

std::string_view unquoted(std::string_view v) {
    if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front())
        return v.substr(1, v.size() - 2);
    return v;
}

std::string withValue(const std::string& text, std::string_view section, std::string_view key,
                      std::string_view value) {
    const std::string entry = singleLine(key) + "=" + singleLine(value);
    Lines lines(text);
    Line line;
    bool inSection = false;
    bool sectionFound = false;
    size_t insertAt = 0;  // after the last non-blank line of the section
    while (lines.next(line)) {
        if (line.kind == Line::Section) {
            if (inSection)
                break;
            if (sameName(line.name, section)) {
                inSection = sectionFound = true;
                insertAt = line.next;
            }
            continue;
        }
        if (!inSection)
            continue;
        if (line.kind == Line::Key && sameName(line.name, key)) {
            // In place: the key keeps its name as written, the line its line end.
            const std::string_view raw(text.data() + line.begin, line.end - line.begin);
            const size_t eq = raw.find('=');
            std::string result = text.substr(0, line.begin);
            result.append(raw.substr(0, eq + 1));
            result += singleLine(value);
            result.append(text, line.end, std::string::npos);
            return result;
        }
        if (!trimmed(std::string_view(text.data() + line.begin, line.end - line.begin)).empty())
            insertAt = line.next;
    }
    std::string result;
    if (sectionFound) {
        result = text.substr(0, insertAt);
        if (!result.empty() && result.back() != '\n')
            result += "\r\n";
        result += entry + "\r\n";
        result.append(text, insertAt, std::string::npos);
        return result;
    }
    result = text;
    if (!result.empty() && result.back() != '\n')
        result += "\r\n";
    result += "[" + singleLine(section) + "]\r\n" + entry + "\r\n";
    return result;
}

std::uint32_t nameHash(std::string_view name) {
    std::uint32_t h = 2166136261u;
    for (const char c : name)
        h = (h ^ static_cast<unsigned char>(lowerAscii(c))) * 16777619u;
    return h;
}

}  // namespace ini

std::optional<std::string> findIniValue(std::string_view text, std::string_view section, std::string_view key) {
    ini::Lines lines(text);
    ini::Line line;
    bool inSection = false;
    while (lines.next(line)) {
        if (line.kind == ini::Line::Section) {
            if (inSection)
                return std::nullopt;  // only the first section of that name counts
            inSection = ini::sameName(line.name, section);
        } else if (inSection && line.kind == ini::Line::Key && ini::sameName(line.name, key)) {
            return std::string(ini::unquoted(line.value));
        }
    }
    return std::nullopt;
}

bool parseIniNumber(std::string_view text, std::int32_t& value) {
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        const std::string_view digits = text.substr(2);
        std::uint32_t u = 0;
        if (digits.size() > 8)
            return false;
        const auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), u, 16);
        if (ec != std::errc() || end != digits.data() + digits.size())
            return false;
        value = static_cast<std::int32_t>(u);  // eight hex digits wrap, "0xFFFFFFFF" is -1
        return true;
    }
    return ini::parseDecimal(text, value);
}

}  // namespace zeilwerk
