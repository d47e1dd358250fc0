#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

namespace zeilwerk {

// One INI file, read and written key by key as Windows' private-profile functions do.
// It keeps no copy: every read goes to the file, every write replaces the file whole.
// Only a regular file is read; writers of the same file, in any process, take turns.
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

    const std::filesystem::path& path() const { return m_path; }

private:
    std::string contents() const;
    static void replaceContents(const std::filesystem::path& target, const std::string& contents,
                                const std::string& failure);

    std::filesystem::path m_path;
};

// The whole-number rule of flags and numbers: decimal with sign, or "0x" hexadecimal
// (more than two characters). False when the text is not such a number.
bool parseIniNumber(std::string_view text, std::int32_t& value);

}  // namespace zeilwerk
