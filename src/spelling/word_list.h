#pragma once

#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace zeilwerk {

class Speller;

// The game's own words (names of places, spells, people), one UTF-8 word a line, kept in the
// settings folder as woerterlisten/woerter-<hash of the game folder>.txt: never in the game.
std::filesystem::path wordListPath(const std::filesystem::path& settingsFolder, const std::filesystem::path& gameFolder);
// The words of a list; none when it is missing.
std::vector<std::u16string> readWordList(const std::filesystem::path& list);
// Every word of the list into the speller; how many.
size_t loadWordList(const std::filesystem::path& list, Speller& speller);
// Appends a word (once), the file replaced whole; throws Error (German) when it cannot be
// written, or when it would lie inside the game folder.
void addToWordList(const std::filesystem::path& list, const std::filesystem::path& gameFolder, std::u16string_view word);
// Many words at once, the file replaced once.
void addToWordList(const std::filesystem::path& list, const std::filesystem::path& gameFolder,
                   const std::vector<std::u16string>& words);

}  // namespace zeilwerk
