#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace zeilwerk {

// The whole of a regular file of at most limit bytes. Anything else (a folder, a FIFO or device
// that would block or never end, a file too large) throws Error with the reason in German.
std::string readRegularFile(const std::filesystem::path& path, std::uintmax_t limit);

// The entry of folder named name in any letter case (the exact name first), or none.
std::optional<std::filesystem::path> findIgnoringCase(const std::filesystem::path& folder, std::string_view name);

// A folder as one absolute name: "/spiel/" and "/spiel" alike.
std::filesystem::path absoluteFolder(const std::filesystem::path& folder);

// What names a game folder in the settings folder (its word list, its backups): the hash of
// its absolute name, in any letter case on Windows.
std::uint64_t gameFolderKey(const std::filesystem::path& gameFolder);

}  // namespace zeilwerk
