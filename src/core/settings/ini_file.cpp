#include "core/settings/ini_file.h"

#include "core/platform/error.h"
#include "core/settings/ini_snapshot.h"
#include "core/settings/ini_storage.h"
#include "core/settings/ini_text.h"

namespace zeilwerk {
namespace {

constexpr size_t kMaxTextLength = 2047;

FileState readAll(const std::filesystem::path& path, std::string& text) {
    text.clear();
    FileHandle file;
    FileIdentity id;
    const FileState state = openRegular(path, file, id);
    return state == FileState::Read ? readOpen(file, static_cast<size_t>(id.size), text) : state;
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

std::filesystem::path fullPath(const std::filesystem::path& path) {
    std::error_code ec;
    auto full = std::filesystem::absolute(path, ec);
    return ec ? path : full;
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

IniFile::IniFile(std::filesystem::path path) : m_path(std::move(path)) {}

// What cannot be read (no file, a folder, a FIFO, no permission) reads as an empty file.
std::optional<std::string> IniFile::find(std::string_view section, std::string_view key) const {
    return findInSnapshot(m_path, section, key);
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
        text = ini::withValue(text, e.section, e.key, e.value);
    forgetSnapshot(m_path);
    replaceContents(target, text, failure);
}

void IniFile::replaceContents(const std::filesystem::path& target, const std::string& text,
                              const std::string& failure) {
    replaceFileContents(target, text, failure);
}

}  // namespace zeilwerk
