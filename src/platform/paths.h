#pragma once

#include <QString>

#include <filesystem>

namespace zeilwerk {

// A path from the text of a setting, and back: UTF-16 on Windows, the local 8-bit form elsewhere.
std::filesystem::path pathFromText(const QString& text);
QString textFromPath(const std::filesystem::path& path);

// Where a file named in a setting is opened: in the folder (the settings folder, mostly), or
// at the name itself when it is absolute.
std::filesystem::path inFolder(const std::filesystem::path& folder, const QString& name);

// True when a regular file lies at exactly the path that will be opened; a folder does
// not count, an empty name never exists.
bool fileExistsIn(const std::filesystem::path& folder, const QString& name);

// True when a name names a file inside the folder it is taken in: relative, and not leaving
// it through "..". The settings profile is only read and written under such a name.
bool staysInFolder(const QString& name);

// The folder of the running program.
std::filesystem::path executableFolder();

// Where optn.ini, the settings profiles and the user's own pictures live: beside the program
// when that folder is writable or already holds optn.ini (the portable way), else the
// user's configuration folder, $XDG_CONFIG_HOME/Zeilwerk (created on the first write).
std::filesystem::path settingsFolder(const std::filesystem::path& executableFolder);

// Makes the settings folder when it is not there yet, before the first file is written
// into it; its sub-folders are the user's to make.
void makeSettingsFolder(const std::filesystem::path& folder);

// The installed data (our pictures) of a program installed under a prefix, found from
// the program's own folder; empty when the program runs from elsewhere, e.g. its build.
std::filesystem::path installedDataFolder(const std::filesystem::path& executableFolder);

// The bridge that types into the Maker under Wine: beside the program, else where the
// installation puts it.
std::filesystem::path makerBridge(const std::filesystem::path& executableFolder);

// A picture named in a setting: in the settings folder when it is there, else among the
// installed pictures when it is there, else in the settings folder (where it is missing).
std::filesystem::path picturePath(const std::filesystem::path& folder, const std::filesystem::path& dataFolder,
                                  const QString& name);
bool pictureExists(const std::filesystem::path& folder, const std::filesystem::path& dataFolder, const QString& name);

}  // namespace zeilwerk
