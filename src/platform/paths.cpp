#include "platform/paths.h"

#include <QCoreApplication>
#include <QFile>

#include <cstdlib>
#ifdef _WIN32
#include <windows.h>
#else
#include <unistd.h>
#endif

namespace zeilwerk {
namespace {

// Whether the program may write into the folder: on Windows only a try tells, as the
// folder's attributes say nothing of what the user may do there.
bool writable(const std::filesystem::path& folder) {
#ifdef _WIN32
    const std::filesystem::path probe = folder / ".zeilwerk-schreibprobe";
    const HANDLE h = CreateFileW(probe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                 FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return false;
    CloseHandle(h);
    return true;
#else
    return ::access(folder.c_str(), W_OK) == 0;
#endif
}

// The user's configuration folder: %APPDATA% on Windows, $XDG_CONFIG_HOME or ~/.config elsewhere.
std::filesystem::path configurationBase() {
#ifdef _WIN32
    if (const wchar_t* appData = _wgetenv(L"APPDATA"); appData && *appData)
        return std::filesystem::path(appData);
    return std::filesystem::temp_directory_path();
#else
    const char* config = std::getenv("XDG_CONFIG_HOME");
    if (config && *config == '/')
        return std::filesystem::path(config);
    const char* home = std::getenv("HOME");
    return std::filesystem::path(home && *home ? home : "/tmp") / ".config";
#endif
}

}  // namespace

std::filesystem::path pathFromText(const QString& text) {
#ifdef _WIN32
    return std::filesystem::path(text.toStdWString());
#else
    return std::filesystem::path(QFile::encodeName(text).toStdString());
#endif
}

QString textFromPath(const std::filesystem::path& path) {
#ifdef _WIN32
    return QString::fromStdWString(path.wstring());
#else
    return QFile::decodeName(QByteArray::fromStdString(path.string()));
#endif
}

std::filesystem::path inFolder(const std::filesystem::path& folder, const QString& name) {
    const std::filesystem::path path = pathFromText(name);
    return path.is_absolute() ? path : folder / path;
}

bool fileExistsIn(const std::filesystem::path& folder, const QString& name) {
    if (name.isEmpty())
        return false;
    std::error_code ec;
    return std::filesystem::is_regular_file(inFolder(folder, name), ec);
}

bool staysInFolder(const QString& name) {
    const std::filesystem::path path = pathFromText(name);
    if (name.isEmpty() || path.is_absolute() || path.has_root_path())
        return false;
    const std::filesystem::path normal = path.lexically_normal();
    return !normal.empty() && *normal.begin() != "..";
}

std::filesystem::path executableFolder() {
    return pathFromText(QCoreApplication::applicationDirPath());
}

std::filesystem::path settingsFolder(const std::filesystem::path& executableFolder) {
    std::error_code ec;
    if (std::filesystem::exists(executableFolder / "optn.ini", ec) || writable(executableFolder))
        return executableFolder;
    return configurationBase() / "Zeilwerk";
}

void makeSettingsFolder(const std::filesystem::path& folder) {
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);  // a failure shows as the write's own error
}

std::filesystem::path installedDataFolder(const std::filesystem::path& executableFolder) {
    const std::filesystem::path data = executableFolder.parent_path() / "share" / "zeilwerk";
    std::error_code ec;
    return std::filesystem::is_directory(data, ec) ? data : std::filesystem::path();
}

std::filesystem::path makerBridge(const std::filesystem::path& executableFolder) {
    const std::filesystem::path beside = executableFolder / "zeilwerk-maker.exe";
    std::error_code ec;
    if (std::filesystem::exists(beside, ec))
        return beside;
    return executableFolder.parent_path() / "libexec" / "zeilwerk" / "zeilwerk-maker.exe";
}

std::filesystem::path picturePath(const std::filesystem::path& folder, const std::filesystem::path& dataFolder,
                                  const QString& name) {
    if (!dataFolder.empty() && !fileExistsIn(folder, name) && fileExistsIn(dataFolder, name))
        return inFolder(dataFolder, name);
    return inFolder(folder, name);
}

bool pictureExists(const std::filesystem::path& folder, const std::filesystem::path& dataFolder, const QString& name) {
    return fileExistsIn(folder, name) || (!dataFolder.empty() && fileExistsIn(dataFolder, name));
}

}  // namespace zeilwerk
