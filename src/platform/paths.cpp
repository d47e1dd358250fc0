#include "platform/paths.h"

#include <QCoreApplication>
#include <QFile>

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

}  // namespace zeilwerk
