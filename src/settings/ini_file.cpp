#include "settings/ini_file.h"

#include "platform/error.h"

#include <cerrno>
#include <charconv>
#include <fcntl.h>
#include <cstdio>
#include <optional>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

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
        line.begin = m_pos;
        const size_t lf = m_text.find('\n', m_pos);
        line.next = lf == std::string_view::npos ? m_text.size() : lf + 1;
        line.end = lf == std::string_view::npos ? m_text.size() : lf;
        if (line.end > line.begin && m_text[line.end - 1] == '\r')
            --line.end;
        m_pos = line.next;
        classify(line, trimmed(m_text.substr(line.begin, line.end - line.begin)));
        return true;
    }

private:
    static void classify(Line& line, std::string_view s) {
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

    std::string_view m_text;
    size_t m_pos = 0;
};

std::string_view unquoted(std::string_view v) {
    if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front())
        return v.substr(1, v.size() - 2);
    return v;
}

std::optional<std::string> findValue(std::string_view text, std::string_view section, std::string_view key) {
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

// Beyond this an INI file is no settings file but a mistake; it reads as missing.
constexpr off_t kMaxFileSize = off_t(256) << 20;

enum class FileState { Missing, Read, NotIni };

// Reads a regular file whole. Anything else (a FIFO, a device, a folder, a file too large or
// unreadable) is no INI file: it is not read, so it can neither block nor exhaust memory.
FileState readAll(const std::filesystem::path& path, std::string& text) {
    text.clear();
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return errno == ENOENT || errno == ENOTDIR ? FileState::Missing : FileState::NotIni;
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || st.st_size > kMaxFileSize) {
        ::close(fd);
        return FileState::NotIni;
    }
    text.reserve(static_cast<size_t>(st.st_size));
    char buffer[65536];
    bool failed = false;
    while (text.size() <= static_cast<size_t>(kMaxFileSize)) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            failed = n < 0;
            break;
        }
        text.append(buffer, static_cast<size_t>(n));
    }
    ::close(fd);
    return failed || text.size() > static_cast<size_t>(kMaxFileSize) ? FileState::NotIni : FileState::Read;
}

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

// Serialises read-modify-write between processes: the folder itself is locked, so no lock
// file is left behind and every writer of the same file meets the same lock.
class FolderLock {
public:
    explicit FolderLock(const std::filesystem::path& folder)
        : m_fd(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC)) {
        if (m_fd >= 0)
            while (::flock(m_fd, LOCK_EX) != 0 && errno == EINTR) {
            }
    }
    ~FolderLock() {
        if (m_fd >= 0)
            ::close(m_fd);  // closing releases the lock
    }
    FolderLock(const FolderLock&) = delete;
    FolderLock& operator=(const FolderLock&) = delete;

private:
    int m_fd;
};

bool writeWhole(int fd, const std::string& text) {
    for (size_t done = 0; done < text.size();) {
        const ssize_t n = ::write(fd, text.data() + done, text.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        done += static_cast<size_t>(n);
    }
    return true;
}

// Temporary files of earlier versions, ".<name>.XXXXXX", left by a write that was killed.
void removeOldTemporaries(const std::filesystem::path& target) {
    const std::string prefix = "." + target.filename().string() + ".";
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(target.parent_path(), ec)) {
        const std::string name = entry.path().filename().string();
        if (name.size() == prefix.size() + 6 && name.compare(0, prefix.size(), prefix) == 0 &&
            entry.is_regular_file(ec))
            std::filesystem::remove(entry.path(), ec);
    }
}

std::filesystem::path fullPath(const std::filesystem::path& path) {
    std::error_code ec;
    auto full = std::filesystem::absolute(path, ec);
    return ec ? path : full;
}

}  // namespace

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
std::string IniFile::contents() const {
    std::string text;
    return readAll(m_path, text) == FileState::Read ? text : std::string();
}

bool IniFile::readFlag(std::string_view section, std::string_view key, bool fallback) const {
    return readNumber(section, key, fallback ? 1 : 0) != 0;
}

std::int32_t IniFile::readNumber(std::string_view section, std::string_view key, std::int32_t fallback) const {
    const auto value = findValue(contents(), section, key);
    std::int32_t n = 0;
    if (value && parseIniNumber(*value, n))
        return n;
    return fallback;
}

std::string IniFile::readText(std::string_view section, std::string_view key, std::string_view fallback) const {
    auto value = findValue(contents(), section, key);
    std::string text = value ? std::move(*value) : std::string(fallback);
    if (text.size() > kMaxTextLength)
        text.resize(kMaxTextLength);
    return text;
}

void IniFile::writeFlag(std::string_view section, std::string_view key, bool value) {
    writeText(section, key, value ? "1" : "0");
}

void IniFile::writeNumber(std::string_view section, std::string_view key, std::int32_t value) {
    writeText(section, key, std::to_string(value));
}

void IniFile::writeText(std::string_view section, std::string_view key, std::string_view value) {
    const std::string failure = "Unable to write to " + fullPath(m_path).string();
    const std::filesystem::path target = linkTarget(fullPath(m_path));
    // Held from the read to the rename: a second program writing the same file waits, and
    // neither loses the other's keys.
    const FolderLock lock(target.parent_path());
    std::string text;
    // A file that exists but cannot be read as INI must not be replaced by one key.
    if (readAll(target, text) == FileState::NotIni)
        throw Error(failure);
    replaceContents(target, withValue(text, section, key, value), failure);
}

// The new contents go to a temporary file beside the old one, which is renamed over it:
// whatever fails, the old file stays whole. A file with other names (hard links) or of an
// owner we cannot give the new file is written in place instead, so it stays the same file.
void IniFile::replaceContents(const std::filesystem::path& target, const std::string& text,
                              const std::string& failure) {
    struct stat old {};
    const bool exists = ::stat(target.c_str(), &old) == 0;
    if (exists && (!S_ISREG(old.st_mode) || (old.st_mode & 0222) == 0))
        throw Error(failure);  // a folder, or a file marked read-only

    const bool sameOwner = !exists || (old.st_uid == ::geteuid() && old.st_gid == ::getegid()) || ::geteuid() == 0;
    if (exists && (old.st_nlink > 1 || !sameOwner)) {
        const int fd = ::open(target.c_str(), O_WRONLY | O_CLOEXEC);
        const bool ok = fd >= 0 && writeWhole(fd, text) && ::ftruncate(fd, static_cast<off_t>(text.size())) == 0 &&
                        ::fsync(fd) == 0;
        if (fd >= 0)
            ::close(fd);
        if (!ok)
            throw Error(failure);
        return;
    }

    removeOldTemporaries(target);
    // One fixed name: a write killed half-way leaves at most this file, and the next write
    // (under the folder lock) takes it over.
    const std::filesystem::path temp = target.parent_path() / ("." + target.filename().string() + ".zeilwerk-neu");
    const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd < 0)
        throw Error(failure);

    bool ok = writeWhole(fd, text);
    if (ok) {
        mode_t mode = old.st_mode & 07777;
        if (!exists) {
            const mode_t mask = ::umask(0);
            ::umask(mask);
            mode = 0666 & ~mask;
        } else {
            ok = ::fchown(fd, old.st_uid, old.st_gid) == 0;
        }
        ok = ::fchmod(fd, mode) == 0 && ok;
    }
    ok = ::fsync(fd) == 0 && ok;
    ok = ::close(fd) == 0 && ok;
    if (ok)
        ok = ::rename(temp.c_str(), target.c_str()) == 0;
    if (!ok) {
        ::unlink(temp.c_str());
        throw Error(failure);
    }
}

}  // namespace zeilwerk
