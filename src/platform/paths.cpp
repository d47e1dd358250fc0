#include "platform/paths.h"

#include <QCoreApplication>
#include <QFile>

#include <cstdlib>
#include <unistd.h>

namespace zeilwerk {

std::filesystem::path besideExecutable(const std::filesystem::path& executableFolder, const QString& name) {
    const std::filesystem::path path(QFile::encodeName(name).toStdString());
    return path.is_absolute() ? path : executableFolder / path;
}

bool fileExistsBeside(const std::filesystem::path& executableFolder, const QString& name) {
    if (name.isEmpty())
        return false;
    std::error_code ec;
    return std::filesystem::is_regular_file(besideExecutable(executableFolder, name), ec);
}

bool staysInFolder(const QString& name) {
    const std::filesystem::path path(QFile::encodeName(name).toStdString());
    if (name.isEmpty() || path.is_absolute() || path.has_root_path())
        return false;
    const std::filesystem::path normal = path.lexically_normal();
    return !normal.empty() && *normal.begin() != "..";
}

std::filesystem::path executableFolder() {
    return std::filesystem::path(QFile::encodeName(QCoreApplication::applicationDirPath()).toStdString());
}

std::filesystem::path settingsFolder(const std::filesystem::path& executableFolder) {
    std::error_code ec;
    if (std::filesystem::exists(executableFolder / "optn.ini", ec) || ::access(executableFolder.c_str(), W_OK) == 0)
        return executableFolder;
    const char* config = std::getenv("XDG_CONFIG_HOME");
    std::filesystem::path base = config && *config == '/' ? std::filesystem::path(config) : std::filesystem::path();
    if (base.empty()) {
        const char* home = std::getenv("HOME");
        base = std::filesystem::path(home && *home ? home : "/tmp") / ".config";
    }
    return base / "Zeilwerk";
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
    if (!dataFolder.empty() && !fileExistsBeside(folder, name) && fileExistsBeside(dataFolder, name))
        return besideExecutable(dataFolder, name);
    return besideExecutable(folder, name);
}

bool pictureExists(const std::filesystem::path& folder, const std::filesystem::path& dataFolder, const QString& name) {
    return fileExistsBeside(folder, name) || (!dataFolder.empty() && fileExistsBeside(dataFolder, name));
}

}  // namespace zeilwerk
