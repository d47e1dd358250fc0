#include "spelling/word_list.h"

#include "core/platform/error.h"
#include "core/platform/file_io.h"
#include "core/platform/text.h"
#include "core/settings/ini_storage.h"
#include "spelling/speller.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <system_error>

namespace zeilwerk {
namespace {

bool inside(const std::filesystem::path& path, const std::filesystem::path& folder) {
    const std::filesystem::path relative = absoluteFolder(path).lexically_relative(absoluteFolder(folder));
    return !relative.empty() && *relative.begin() != "..";
}

// A word list's text; empty when it is missing or no regular file.
std::string fileText(const std::filesystem::path& list) {
    FileHandle file;
    FileIdentity id;
    std::string text;
    if (openRegular(list, file, id) != FileState::Read || readOpen(file, static_cast<size_t>(id.size), text) != FileState::Read)
        return {};
    return text;
}

// One word a line; blank lines and "#" comments are none.
std::vector<std::u16string> wordsOf(std::string_view text) {
    std::vector<std::u16string> words;
    for (size_t start = 0; start < text.size();) {
        size_t end = text.find('\n', start);
        if (end == std::string_view::npos)
            end = text.size();
        std::string_view line = text.substr(start, end - start);
        start = end + 1;
        if (line.starts_with("\xEF\xBB\xBF"))
            line.remove_prefix(3);
        while (!line.empty() && (line.back() == '\r' || line.back() == ' ' || line.back() == '\t'))
            line.remove_suffix(1);
        while (!line.empty() && (line.front() == ' ' || line.front() == '\t'))
            line.remove_prefix(1);
        if (!line.empty() && line.front() != '#')
            words.push_back(fromUtf8(line));
    }
    return words;
}

}  // namespace

std::filesystem::path wordListPath(const std::filesystem::path& settingsFolder, const std::filesystem::path& gameFolder) {
    char name[40];
    std::snprintf(name, sizeof name, "woerter-%016llx.txt", static_cast<unsigned long long>(gameFolderKey(gameFolder)));
    return settingsFolder / "woerterlisten" / name;
}

std::vector<std::u16string> readWordList(const std::filesystem::path& list) {
    return wordsOf(fileText(list));
}

size_t loadWordList(const std::filesystem::path& list, Speller& speller) {
    const std::vector<std::u16string> words = readWordList(list);
    for (const std::u16string& word : words)
        speller.add(word);
    return words.size();
}

void addToWordList(const std::filesystem::path& list, const std::filesystem::path& gameFolder,
                   const std::vector<std::u16string>& added) {
    const std::string failure = "Die Wörterliste " + pathText(list) + " lässt sich nicht schreiben.";
    if (inside(list, gameFolder))
        throw Error(failure + " Sie läge im Spielordner, und dort schreibt Zeilwerk nichts.");
    std::error_code ec;
    std::filesystem::create_directories(list.parent_path(), ec);
    if (ec)
        throw Error(failure);
    FolderLock lock(list.parent_path());
    std::string text = fileText(list);
    std::vector<std::u16string> words = wordsOf(text);
    const size_t before = text.size();
    for (const std::u16string& word : added) {
        if (word.empty() || std::find(words.begin(), words.end(), word) != words.end())
            continue;
        if (text.empty())
            text = "# Wörter des Spiels in " + pathText(absoluteFolder(gameFolder)) + "\n";
        else if (text.back() != '\n')
            text += '\n';
        text += toUtf8(word) + "\n";
        words.push_back(word);
    }
    if (text.size() != before)
        replaceFileContents(list, text, failure);
}

void addToWordList(const std::filesystem::path& list, const std::filesystem::path& gameFolder, std::u16string_view word) {
    addToWordList(list, gameFolder, std::vector<std::u16string>{std::u16string(word)});
}

}  // namespace zeilwerk
