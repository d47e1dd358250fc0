#include "settings/ini_file.h"

#include "platform/error.h"

#include "settings/ini_storage.h"

#include <algorithm>
#include <charconv>
#include <map>
#include <memory>
#include <mutex>

namespace zeilwerk {
namespace {

constexpr size_t kMaxTextLength = 2047;

bool isBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view trimmed(std::string_view s) {
    while (!s.empty() && isBlank(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && (isBlank(s.back()) || s.back() == '\r'))
        s.remove_suffix(1);
    return s;
}

char lowerAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool sameName(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (lowerAscii(a[i]) != lowerAscii(b[i]))
            return false;
    return true;
}

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

class Lines {
public:
    explicit Lines(std::string_view text) : m_text(text) {
        // Skip a UTF-8 byte order mark, so the first section stays reachable.
        if (m_text.substr(0, 3) == "\xEF\xBB\xBF")
            m_pos = 3;
    }

    bool next(Line& line) {
        if (m_pos >= m_text.size())
            return false;
        line = lineAt(m_text, m_pos);
        m_pos = line.next;
        return true;
    }

private:
    std::string_view m_text;
    size_t m_pos = 0;
};

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

// A line break in a value would end the line and start another in the file.
std::string singleLine(std::string_view s) {
    std::string out(s);
    for (char& c : out)
        if (c == '\r' || c == '\n')
            c = ' ';
    return out;
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

bool parseDecimal(std::string_view s, std::int32_t& value) {
    const bool plus = !s.empty() && s.front() == '+';
    if (plus)
        s.remove_prefix(1);
    if (s.empty() || (plus && s.front() == '-'))
        return false;
    const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), value);
    return ec == std::errc() && end == s.data() + s.size();
}

FileState readAll(const std::filesystem::path& path, std::string& text) {
    text.clear();
    FileHandle file;
    FileIdentity id;
    const FileState state = openRegular(path, file, id);
    return state == FileState::Read ? readOpen(file, static_cast<size_t>(id.size), text) : state;
}

std::uint32_t nameHash(std::string_view name) {
    std::uint32_t h = 2166136261u;
    for (const char c : name)
        h = (h ^ static_cast<unsigned char>(lowerAscii(c))) * 16777619u;
    return h;
}

// One state of a file, parsed once: its bytes, an index of its section headers, and for
// each section asked for, an index of the keys of its first occurrence. Lookups then cost
// a binary search instead of a pass over the file.
class Snapshot {
public:
    explicit Snapshot(std::string text) : m_text(std::move(text)) {
        Lines lines(m_text);
        Line line;
        while (lines.next(line))
            if (line.kind == Line::Section)
                m_headers.push_back({nameHash(line.name), static_cast<std::uint32_t>(line.begin)});
        m_headersByName = m_headers;
        std::sort(m_headersByName.begin(), m_headersByName.end());
    }

    std::optional<std::string_view> find(std::string_view section, std::string_view key) {
        const std::vector<Mark>& keys = keysOf(section);
        const auto [first, last] =
            std::equal_range(keys.begin(), keys.end(), Mark{nameHash(key), 0}, Mark::byHash);
        for (auto it = first; it != last; ++it) {
            const Line line = lineAt(m_text, it->line);
            if (sameName(line.name, key))
                return unquoted(line.value);
        }
        return std::nullopt;
    }

private:
    struct Mark {
        std::uint32_t hash;
        std::uint32_t line;  // offset of the line's first byte; files are smaller than 4 GiB
        bool operator<(const Mark& o) const { return hash != o.hash ? hash < o.hash : line < o.line; }
        static bool byHash(const Mark& a, const Mark& b) { return a.hash < b.hash; }
    };

    const std::vector<Mark>& keysOf(std::string_view section) {
        std::string name(section);
        std::transform(name.begin(), name.end(), name.begin(), lowerAscii);
        const auto known = m_keys.find(name);
        if (known != m_keys.end())
            return known->second;
        std::vector<Mark>& keys = m_keys[name];
        // The first header of that name, in file order (marks of equal hash are sorted by offset).
        const auto [first, last] =
            std::equal_range(m_headersByName.begin(), m_headersByName.end(), Mark{nameHash(section), 0}, Mark::byHash);
        for (auto it = first; it != last; ++it) {
            const Line header = lineAt(m_text, it->line);
            if (!sameName(header.name, section))
                continue;
            const auto next = std::upper_bound(m_headers.begin(), m_headers.end(), it->line,
                                               [](std::uint32_t at, const Mark& m) { return at < m.line; });
            const size_t end = next == m_headers.end() ? m_text.size() : next->line;
            for (size_t at = header.next; at < end;) {
                const Line line = lineAt(m_text, at);
                if (line.kind == Line::Key)
                    keys.push_back({nameHash(line.name), static_cast<std::uint32_t>(line.begin)});
                at = line.next;
            }
            std::sort(keys.begin(), keys.end());
            break;
        }
        return keys;
    }

    std::string m_text;
    std::vector<Mark> m_headers;        // in file order
    std::vector<Mark> m_headersByName;  // by hash, then offset
    std::map<std::string, std::vector<Mark>> m_keys;
};

// The last files read, by path. A state is taken from here only while the file's identity
// (device, inode, size, both times) is unchanged, so every read still sees the last write.
class SnapshotCache {
public:
    static SnapshotCache& instance() {
        static SnapshotCache cache;
        return cache;
    }

    // The file's current state, or nothing when it is missing or no INI file.
    std::optional<std::string> find(const std::filesystem::path& path, std::string_view section,
                                    std::string_view key) {
        FileHandle file;
        FileIdentity id;
        if (openRegular(path, file, id) != FileState::Read)
            return std::nullopt;
        const std::lock_guard lock(m_mutex);
        const auto& name = path.native();  // the narrow form fails on Windows outside the ANSI page
        auto entry = std::find_if(m_entries.begin(), m_entries.end(), [&](const Entry& e) { return e.path == name; });
        if (entry != m_entries.end() && entry->id == id) {
            file.close();
        } else {
            std::string text;
            if (readOpen(file, static_cast<size_t>(id.size), text) != FileState::Read)
                return std::nullopt;
            if (entry != m_entries.end())
                m_entries.erase(entry);
            m_entries.insert(m_entries.begin(), Entry{name, id, std::make_shared<Snapshot>(std::move(text))});
            if (m_entries.size() > kEntries)
                m_entries.pop_back();
            entry = m_entries.begin();
        }
        auto snapshot = entry->snapshot;
        // A file changed again within the same clock tick would keep its identity: such a
        // fresh state is used for this read only.
        if (changedJustNow(id))
            m_entries.erase(entry);
        const auto value = snapshot->find(section, key);
        return value ? std::optional<std::string>(*value) : std::nullopt;
    }

    void forget(const std::filesystem::path& path) {
        const std::lock_guard lock(m_mutex);
        std::erase_if(m_entries, [&](const Entry& e) { return e.path == path.native(); });
    }

private:
    struct Entry {
        std::filesystem::path::string_type path;
        FileIdentity id;
        std::shared_ptr<Snapshot> snapshot;
    };
    static constexpr size_t kEntries = 2;  // the start-up file and one profile

    // Whether the file had changed shortly before it was looked at.
    static bool changedJustNow(const FileIdentity& id) {
        const std::int64_t stamp = std::max(id.modified, id.changed);
        return id.seen - stamp < 50'000'000;  // well above the coarsest kernel tick (10 ms)
    }

    std::mutex m_mutex;
    std::vector<Entry> m_entries;  // most recent first
};

// The file a path names in the end: links followed, a link that points nowhere included,
// so a write goes to the file the link names.
std::filesystem::path linkTarget(std::filesystem::path path) {
    for (int hops = 0; hops < 40; ++hops) {
        std::error_code ec;
        if (!std::filesystem::is_symlink(std::filesystem::symlink_status(path, ec)))
            return path;
        const std::filesystem::path next = std::filesystem::read_symlink(path, ec);
        if (ec)
            return path;
        path = next.is_absolute() ? next : path.parent_path() / next;
    }
    return path;
}

}  // namespace

FileState readOpen(FileHandle& file, std::size_t sizeHint, std::string& text) {
    text.clear();
    text.reserve(sizeHint);
    char buffer[65536];
    bool failed = false;
    while (text.size() <= static_cast<size_t>(kMaxIniFileSize)) {
        const std::ptrdiff_t n = readSome(file, buffer, sizeof buffer);
        if (n <= 0) {
            failed = n < 0;
            break;
        }
        text.append(buffer, static_cast<size_t>(n));
    }
    file.close();
    return failed || text.size() > static_cast<size_t>(kMaxIniFileSize) ? FileState::NotIni : FileState::Read;
}

void removeOldTemporaries(const std::filesystem::path& target) {
    using String = std::filesystem::path::string_type;
    const String prefix = String(1, '.') + target.filename().native() + String(1, '.');
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(target.parent_path(), ec)) {
        const String name = entry.path().filename().native();
        if (name.size() == prefix.size() + 6 && name.compare(0, prefix.size(), prefix) == 0 &&
            entry.is_regular_file(ec))
            std::filesystem::remove(entry.path(), ec);
    }
}

namespace {

std::filesystem::path fullPath(const std::filesystem::path& path) {
    std::error_code ec;
    auto full = std::filesystem::absolute(path, ec);
    return ec ? path : full;
}

}  // namespace

std::optional<std::string> findIniValue(std::string_view text, std::string_view section, std::string_view key) {
    Lines lines(text);
    Line line;
    bool inSection = false;
    while (lines.next(line)) {
        if (line.kind == Line::Section) {
            if (inSection)
                return std::nullopt;  // only the first section of that name counts
            inSection = sameName(line.name, section);
        } else if (inSection && line.kind == Line::Key && sameName(line.name, key)) {
            return std::string(unquoted(line.value));
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
    return parseDecimal(text, value);
}

IniFile::IniFile(std::filesystem::path path) : m_path(std::move(path)) {}

// What cannot be read (no file, a folder, a FIFO, no permission) reads as an empty file.
std::optional<std::string> IniFile::find(std::string_view section, std::string_view key) const {
    return SnapshotCache::instance().find(m_path, section, key);
}

bool IniFile::readFlag(std::string_view section, std::string_view key, bool fallback) const {
    return readNumber(section, key, fallback ? 1 : 0) != 0;
}

std::int32_t IniFile::readNumber(std::string_view section, std::string_view key, std::int32_t fallback) const {
    const auto value = find(section, key);
    std::int32_t n = 0;
    if (value && parseIniNumber(*value, n))
        return n;
    return fallback;
}

std::string IniFile::readText(std::string_view section, std::string_view key, std::string_view fallback) const {
    auto value = find(section, key);
    std::string text = value ? std::move(*value) : std::string(fallback);
    if (text.size() > kMaxTextLength)
        text.resize(kMaxTextLength);
    return text;
}

void IniFile::writeFlag(std::string_view section, std::string_view key, bool value) {
    write({{std::string(section), std::string(key), iniFlag(value)}});
}

void IniFile::writeNumber(std::string_view section, std::string_view key, std::int32_t value) {
    write({{std::string(section), std::string(key), std::to_string(value)}});
}

void IniFile::writeText(std::string_view section, std::string_view key, std::string_view value) {
    write({{std::string(section), std::string(key), std::string(value)}});
}

void IniFile::write(const std::vector<IniEntry>& entries) {
    const std::string failure = "Unable to write to " + pathText(fullPath(m_path));
    const std::filesystem::path target = linkTarget(fullPath(m_path));
    // Held from the read to the rename: a second program writing the same file waits, and
    // neither loses the other's keys.
    const FolderLock lock(target.parent_path());
    std::string text;
    // A file that exists but cannot be read as INI must not be replaced by one key.
    if (readAll(target, text) == FileState::NotIni)
        throw Error(failure);
    for (const IniEntry& e : entries)
        text = withValue(text, e.section, e.key, e.value);
    SnapshotCache::instance().forget(m_path);
    replaceContents(target, text, failure);
}

void IniFile::replaceContents(const std::filesystem::path& target, const std::string& text,
                              const std::string& failure) {
    replaceFileContents(target, text, failure);
}

}  // namespace zeilwerk
