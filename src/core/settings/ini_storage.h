#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>

// The few file operations an INI file needs, one implementation per system.
namespace zeilwerk {

// Beyond this an INI file is no settings file but a mistake; it reads as missing.
constexpr std::int64_t kMaxIniFileSize = std::int64_t(256) << 20;

enum class FileState { Missing, Read, NotIni };

// What tells one state of a file from another without reading it.
struct FileIdentity {
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    std::int64_t size = 0;
    std::int64_t modified = 0;  // nanoseconds
    std::int64_t changed = 0;
    std::int64_t seen = 0;  // when the file was found so; not part of its identity

    bool operator==(const FileIdentity& o) const {
        return device == o.device && inode == o.inode && size == o.size && modified == o.modified &&
               changed == o.changed;
    }
};

// An open file, closed when it goes.
class FileHandle {
public:
    FileHandle() = default;
    ~FileHandle() { close(); }
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;
    void close();
    std::intptr_t value = -1;  // a descriptor, or a Windows handle
};

// Opens a regular file for reading. Anything else (a FIFO, a device, a folder, a file too
// large or unreadable) is no INI file: it is not read, so it can neither block nor exhaust memory.
FileState openRegular(const std::filesystem::path& path, FileHandle& file, FileIdentity& id);

// Reads up to size bytes of an open file: how many, 0 at its end, -1 when reading fails.
std::ptrdiff_t readSome(FileHandle& file, char* buffer, std::size_t size);

// Reads an open file to its end and closes it.
FileState readOpen(FileHandle& file, std::size_t sizeHint, std::string& text);

// Serialises read-modify-write of the files in a folder between processes.
class FolderLock {
public:
    explicit FolderLock(const std::filesystem::path& folder);
    ~FolderLock();
    FolderLock(const FolderLock&) = delete;
    FolderLock& operator=(const FolderLock&) = delete;

private:
    std::intptr_t m_lock = -1;
};

// Replaces a file's contents whole, or leaves it as it was and throws Error(failure). check,
// when given, reads the written file back before it takes the target's place and throws to
// keep the old one.
void replaceFileContents(const std::filesystem::path& target, const std::string& text, const std::string& failure,
                         const std::function<void(const std::filesystem::path& written)>& check = {});

// Whether the file's contents could be replaced now: not marked read-only, its folder
// writable, not held open by another program that forbids writing.
bool canReplace(const std::filesystem::path& target);

// The temporary file a replace writes beside its target.
inline const char* const kTemporarySuffix = ".zeilwerk-neu";

// A path as UTF-8 text, for messages; on Windows too, where the narrow form is the ANSI page.
inline std::string pathText(const std::filesystem::path& path) {
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

// Temporary files ".<name>.XXXXXX" beside the target, left by a write that was killed.
void removeOldTemporaries(const std::filesystem::path& target);

}  // namespace zeilwerk
