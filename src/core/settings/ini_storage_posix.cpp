#include "core/settings/ini_storage.h"

#include "core/platform/error.h"

#include <cerrno>
#include <ctime>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace zeilwerk {
namespace {

std::int64_t nanoseconds(const timespec& t) {
    return std::int64_t(t.tv_sec) * 1000000000 + t.tv_nsec;
}

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

}  // namespace

void FileHandle::close() {
    if (value >= 0)
        ::close(static_cast<int>(value));
    value = -1;
}

FileState openRegular(const std::filesystem::path& path, FileHandle& file, FileIdentity& id) {
    file.close();
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return errno == ENOENT || errno == ENOTDIR ? FileState::Missing : FileState::NotIni;
    file.value = fd;
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || st.st_size > kMaxIniFileSize) {
        file.close();
        return FileState::NotIni;
    }
    timespec now{};
    ::clock_gettime(CLOCK_REALTIME, &now);
    id = {st.st_dev, st.st_ino, st.st_size, nanoseconds(st.st_mtim), nanoseconds(st.st_ctim), nanoseconds(now)};
    return FileState::Read;
}

std::ptrdiff_t readSome(FileHandle& file, char* buffer, std::size_t size) {
    for (;;) {
        const ssize_t n = ::read(static_cast<int>(file.value), buffer, size);
        if (n >= 0 || errno != EINTR)
            return n;
    }
}

// The folder itself is locked, so no lock file is left behind and every writer of the same
// file meets the same lock.
FolderLock::FolderLock(const std::filesystem::path& folder)
    : m_lock(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC)) {
    if (m_lock >= 0)
        while (::flock(static_cast<int>(m_lock), LOCK_EX) != 0 && errno == EINTR) {
        }
}

FolderLock::~FolderLock() {
    if (m_lock >= 0)
        ::close(static_cast<int>(m_lock));  // closing releases the lock
}

// The new contents go to a temporary file beside the old one, which is renamed over it:
// whatever fails, the old file stays whole. A file with other names (hard links) or of an
// owner we cannot give the new file is written in place instead, so it stays the same file.
void replaceFileContents(const std::filesystem::path& target, const std::string& text, const std::string& failure,
                         const std::function<void(const std::filesystem::path& written)>& check) {
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
        if (check)
            check(target);
        return;
    }

    removeOldTemporaries(target);
    // One fixed name: a write killed half-way leaves at most this file, and the next write
    // (under the folder lock) takes it over.
    const std::filesystem::path temp = target.parent_path() / ("." + target.filename().string() + kTemporarySuffix);
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
    if (ok && check) {
        try {
            check(temp);
        } catch (...) {
            ::unlink(temp.c_str());
            throw;
        }
    }
    if (ok)
        ok = ::rename(temp.c_str(), target.c_str()) == 0;
    if (!ok) {
        ::unlink(temp.c_str());
        throw Error(failure);
    }
}

bool canReplace(const std::filesystem::path& target) {
    const std::filesystem::path folder = target.has_parent_path() ? target.parent_path() : std::filesystem::path(".");
    struct stat st {};
    // The mode too: root may write anything, but a file marked read-only is meant to stay.
    return ::stat(target.c_str(), &st) == 0 && S_ISREG(st.st_mode) && (st.st_mode & 0222) != 0 &&
           ::access(target.c_str(), W_OK) == 0 && ::access(folder.c_str(), W_OK | X_OK) == 0;
}

}  // namespace zeilwerk
