#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <optional>
#include <string_view>
#include <vector>

namespace zeilwerk {

// One key and its new value.
struct IniEntry {
    std::string section;
    std::string key;
    std::string value;
};

// One INI file, read and written key by key as Windows' private-profile functions do.
// Every read sees the file as it is now; a file state is parsed once and reused while the
// file stays unchanged. Every write replaces the file whole. Only a regular file is read;
// writers of the same file, in any process, take turns.
class IniFile {
public:
    explicit IniFile(std::filesystem::path path);   // no file access yet

    bool readFlag(std::string_view section, std::string_view key, bool fallback) const;
    std::int32_t readNumber(std::string_view section, std::string_view key, std::int32_t fallback) const;
    // Text values are the file's 8-bit bytes, at most 2047 of them.
    std::string readText(std::string_view section, std::string_view key, std::string_view fallback) const;

    // Each write throws Error("Unable to write to <full path>") when it cannot be done;
    // the file is then left exactly as it was.
    void writeFlag(std::string_view section, std::string_view key, bool value);
    void writeNumber(std::string_view section, std::string_view key, std::int32_t value);
    void writeText(std::string_view section, std::string_view key, std::string_view value);
    // Several keys in one replace of the file: all are written, or none.
    void write(const std::vector<IniEntry>& entries);

    const std::filesystem::path& path() const { return m_path; }

private:
    std::optional<std::string> find(std::string_view section, std::string_view key) const;
    static void replaceContents(const std::filesystem::path& target, const std::string& contents,
                                const std::string& failure);

    std::filesystem::path m_path;
};

// A flag as it is written: "1" or "0".
inline std::string iniFlag(bool on) {
    return on ? "1" : "0";
}

// The whole-number rule of flags and numbers: decimal with sign, or "0x" hexadecimal
// (more than two characters). False when the text is not such a number.
bool parseIniNumber(std::string_view text, std::int32_t& value);

// A key's value found by one plain pass over the text, as the private-profile functions
// read it: the first section of that name, the first key of that name in it, quotes taken off.
std::optional<std::string> findIniValue(std::string_view text, std::string_view section, std::string_view key);

}  // namespace zeilwerk
