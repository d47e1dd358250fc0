#pragma once

#include <QString>

#include <filesystem>

namespace zeilwerk {

// Where a file named in a setting is opened: beside the executable, or at the name
// itself when it is absolute.
std::filesystem::path besideExecutable(const std::filesystem::path& executableFolder, const QString& name);

// True when a regular file lies at exactly the path that will be opened; a folder does
// not count, an empty name never exists.
bool fileExistsBeside(const std::filesystem::path& executableFolder, const QString& name);

// True when a name names a file inside the folder it is taken in: relative, and not leaving
// it through "..". The settings profile is only read and written under such a name.
bool staysInFolder(const QString& name);

// The folder of the running program.
std::filesystem::path executableFolder();

}  // namespace zeilwerk
