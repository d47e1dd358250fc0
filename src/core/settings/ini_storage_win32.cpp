#include "core/settings/ini_storage.h"

#include "core/platform/error.h"

#include <windows.h>

#include <functional>

namespace zeilwerk {
namespace {

HANDLE handleOf(std::intptr_t value) {
    return reinterpret_cast<HANDLE>(value);
}

std::int64_t nanoseconds(const FILETIME& t) {
    return (std::int64_t(t.dwHighDateTime) << 32 | t.dwLowDateTime) * 100;
}

bool writeWhole(HANDLE file, const std::string& text) {
    for (size_t done = 0; done < text.size();) {
        DWORD written = 0;
        const DWORD chunk = static_cast<DWORD>(std::min<size_t>(text.size() - done, 1 << 20));
        if (!WriteFile(file, text.data() + done, chunk, &written, nullptr) || written == 0)
            return false;
        done += written;
    }
    return true;
}

}  // namespace

void FileHandle::close() {
    if (value != -1)
        CloseHandle(handleOf(value));
    value = -1;
}

FileState openRegular(const std::filesystem::path& path, FileHandle& file, FileIdentity& id) {
    file.close();
    const HANDLE h = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                 nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        const DWORD error = GetLastError();
        return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ? FileState::Missing : FileState::NotIni;
    }
    file.value = reinterpret_cast<std::intptr_t>(h);
    BY_HANDLE_FILE_INFORMATION info{};
    FILE_BASIC_INFO basic{};
    if (GetFileType(h) != FILE_TYPE_DISK || !GetFileInformationByHandle(h, &info) ||
        (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) ||
        !GetFileInformationByHandleEx(h, FileBasicInfo, &basic, sizeof basic)) {
        file.close();
        return FileState::NotIni;
    }
    const std::int64_t size = std::int64_t(info.nFileSizeHigh) << 32 | info.nFileSizeLow;
    if (size > kMaxIniFileSize) {
        file.close();
        return FileState::NotIni;
    }
    FILETIME now{};
    GetSystemTimeAsFileTime(&now);
    id = {info.dwVolumeSerialNumber, std::uint64_t(info.nFileIndexHigh) << 32 | info.nFileIndexLow, size,
          nanoseconds(info.ftLastWriteTime), basic.ChangeTime.QuadPart * 100, nanoseconds(now)};
    return FileState::Read;
}

std::ptrdiff_t readSome(FileHandle& file, char* buffer, std::size_t size) {
    DWORD n = 0;
    if (!ReadFile(handleOf(file.value), buffer, static_cast<DWORD>(std::min<std::size_t>(size, 1 << 30)), &n, nullptr))
        return -1;
    return static_cast<std::ptrdiff_t>(n);
}

// A folder cannot be locked on Windows; a named mutex per folder serves every process of the
// session the same way, and goes with the last one that holds it.
FolderLock::FolderLock(const std::filesystem::path& folder) {
    std::wstring key = std::filesystem::absolute(folder).wstring();
    CharUpperBuffW(key.data(), static_cast<DWORD>(key.size()));
    const std::wstring name = L"Local\\zeilwerk-ini-" + std::to_wstring(std::hash<std::wstring>{}(key));
    const HANDLE mutex = CreateMutexW(nullptr, FALSE, name.c_str());
    if (!mutex)
        return;
    const DWORD result = WaitForSingleObject(mutex, INFINITE);
    if (result != WAIT_OBJECT_0 && result != WAIT_ABANDONED) {
        CloseHandle(mutex);
        return;
    }
    m_lock = reinterpret_cast<std::intptr_t>(mutex);
}

FolderLock::~FolderLock() {
    if (m_lock != -1) {
        ReleaseMutex(handleOf(m_lock));
        CloseHandle(handleOf(m_lock));
    }
}

// The new contents go to a temporary file beside the old one, which replaces it: whatever
// fails, the old file stays whole. A file with other names (hard links) is written in place,
// so it stays the same file. Plain rename does not replace an existing file here.
void replaceFileContents(const std::filesystem::path& target, const std::string& text, const std::string& failure,
                         const std::function<void(const std::filesystem::path& written)>& check) {
    const DWORD attributes = GetFileAttributesW(target.c_str());
    const bool exists = attributes != INVALID_FILE_ATTRIBUTES;
    if (exists && (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY)))
        throw Error(failure);  // a folder, or a file marked read-only

    if (exists) {
        const HANDLE old = CreateFileW(target.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                       OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        BY_HANDLE_FILE_INFORMATION info{};
        const bool linked = old != INVALID_HANDLE_VALUE && GetFileInformationByHandle(old, &info) && info.nNumberOfLinks > 1;
        if (old != INVALID_HANDLE_VALUE)
            CloseHandle(old);
        if (linked) {
            const HANDLE h = CreateFileW(target.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                         FILE_ATTRIBUTE_NORMAL, nullptr);
            const bool ok = h != INVALID_HANDLE_VALUE && writeWhole(h, text) && SetEndOfFile(h) && FlushFileBuffers(h);
            if (h != INVALID_HANDLE_VALUE)
                CloseHandle(h);
            if (!ok)
                throw Error(failure);
            if (check)
                check(target);
            return;
        }
    }

    removeOldTemporaries(target);
    const std::filesystem::path temp = target.parent_path() / (L"." + target.filename().wstring() + L".zeilwerk-neu");
    const HANDLE h = CreateFileW(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        throw Error(failure);
    bool ok = writeWhole(h, text) && FlushFileBuffers(h);
    ok = CloseHandle(h) && ok;
    if (ok && check) {
        try {
            check(temp);
        } catch (...) {
            DeleteFileW(temp.c_str());
            throw;
        }
    }
    if (ok)
        ok = MoveFileExW(temp.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
    if (!ok) {
        DeleteFileW(temp.c_str());
        throw Error(failure);
    }
}

// Opened for writing as a replace would, sharing only reading: a program that holds the file
// open for writing (the Maker saving) makes this fail.
bool canReplace(const std::filesystem::path& target) {
    const DWORD attributes = GetFileAttributesW(target.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY)))
        return false;
    const HANDLE h = CreateFileW(target.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr,
                                 OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return false;
    CloseHandle(h);
    return true;
}

}  // namespace zeilwerk
