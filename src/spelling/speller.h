#pragma once

#include <cstddef>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

namespace zeilwerk {

// Where a dictionary is looked for: woerterbuch/ beside the program (the Windows zip brings
// one), then the system's folders.
std::vector<std::filesystem::path> dictionaryFolders(const std::filesystem::path& programFolder);
// The affix file of the first folder that holds the dictionary's two files; none for a name
// that is no dictionary's name (a path, say).
std::optional<std::filesystem::path> findDictionary(const std::string& name,
                                                    const std::vector<std::filesystem::path>& folders);

// A Hunspell dictionary ("de_DE": de_DE.aff and de_DE.dic), spoken to in UTF-16 and
// converted to the dictionary's own encoding. Used by one thread at a time.
class Speller {
public:
    // The first folder that holds both files; throws Error (German) when none does, or when
    // the dictionary's encoding is one we cannot convert to.
    Speller(const std::string& name, const std::vector<std::filesystem::path>& folders);
    ~Speller();
    Speller(const Speller&) = delete;
    Speller& operator=(const Speller&) = delete;

    bool check(std::u16string_view word);
    std::vector<std::u16string> suggest(std::u16string_view word, size_t most = 3);
    // Known from now on, for this session; the word list keeps it for longer.
    void add(std::u16string_view word);

    const std::filesystem::path& affixFile() const { return m_affixFile; }
    const std::string& encoding() const;

private:
    struct Dictionary;
    std::unique_ptr<Dictionary> m;
    std::filesystem::path m_affixFile;
};

}  // namespace zeilwerk
