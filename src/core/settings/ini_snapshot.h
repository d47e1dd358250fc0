#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace zeilwerk {

// The last INI files read, each parsed once: a key's value in the file's current state,
// taken from the cache while the file's identity (device, inode, size, both times) is
// unchanged, so every read still sees the last write. Shared by every IniFile of the
// process, as the files are.
std::optional<std::string> findInSnapshot(const std::filesystem::path& path, std::string_view section,
                                          std::string_view key);
// After a write: the next read parses the file again.
void forgetSnapshot(const std::filesystem::path& path);

}  // namespace zeilwerk
