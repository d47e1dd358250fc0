#include "spelling/spelling.h"

#include "core/message/message_codes.h"
#include "core/platform/code_page.h"
#include "core/platform/error.h"
#include "core/platform/number.h"
#include "core/settings/ini_storage.h"

#include <hunspell.hxx>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <optional>
#include <system_error>

#ifdef _WIN32
#include <windows.h>
#endif

namespace zeilwerk {
namespace {

// Latin with its accents and umlauts, Greek and Cyrillic; the marks between them are not letters.
bool isLetter(char16_t c) {
    if (c < 0x80)
        return isAsciiLetter(c);
    if (c == 0xAA || c == 0xB5 || c == 0xBA)
        return true;
    if (c >= 0xC0 && c <= 0x24F)
        return c != 0xD7 && c != 0xF7;
    return (c >= 0x370 && c <= 0x52F && c != 0x37E && c != 0x387) || (c >= 0x1E00 && c <= 0x1EFF);
}

bool isDigit(char16_t c) {
    return c >= u'0' && c <= u'9';
}

bool isApostrophe(char16_t c) {
    return c == u'\'' || c == 0x2019;
}

#ifdef _WIN32
bool inAnsiPage(const std::wstring& text, std::string& out) {
    BOOL lossy = FALSE;
    const int n = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, text.c_str(), static_cast<int>(text.size()),
                                      nullptr, 0, nullptr, &lossy);
    if (n <= 0 || lossy)
        return false;
    out.assign(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, text.c_str(), static_cast<int>(text.size()), out.data(), n,
                        nullptr, &lossy);
    return true;
}
#endif

// A path as Hunspell opens it: built with mingw it takes the system's 8-bit name (its wide
// long-path form is for MSVC builds only), so a name the ANSI page cannot hold goes by its
// short 8.3 form.
std::string hunspellPath(const std::filesystem::path& path) {
#ifdef _WIN32
    std::string out;
    if (inAnsiPage(path.wstring(), out))
        return out;
    std::wstring shortName(32768, L'\0');
    const DWORD n = GetShortPathNameW(path.c_str(), shortName.data(), static_cast<DWORD>(shortName.size()));
    shortName.resize(n < shortName.size() ? n : 0);
    if (!shortName.empty() && inAnsiPage(shortName, out))
        return out;
    return pathText(path);  // not found then, and told so
#else
    return path.string();
#endif
}

std::string quoted(std::u16string_view word) {
    return "„" + toUtf8(word) + "“";
}

// The hash of the word list's name: FNV-1a, the same on every system and in every build.
std::uint64_t fnv1a(std::string_view text) {
    std::uint64_t hash = 0xcbf29ce484222325ULL;
    for (const char c : text) {
        hash ^= static_cast<unsigned char>(c);
        hash *= 0x100000001b3ULL;
    }
    return hash;
}

std::filesystem::path absoluteFolder(const std::filesystem::path& folder) {
    std::error_code ec;
    std::filesystem::path absolute = std::filesystem::absolute(folder, ec);
    if (ec)
        absolute = folder;
    absolute = absolute.lexically_normal();
    // "/spiel/" and "/spiel" are the same folder.
    if (!absolute.has_filename() && absolute.has_relative_path())
        absolute = absolute.parent_path();
    return absolute;
}

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

std::vector<SpellingWord> spellingWords(std::u16string_view line, const std::unordered_set<std::u16string>& skip) {
    std::vector<SpellingWord> words;
    bool afterName = false;
    forEachMessageToken(line, [&](const MessageToken& token) {
        if (token.kind != MessageToken::Kind::Text) {
            afterName = token.kind == MessageToken::Kind::Name && token.bracket != MessageToken::Bracket::None;
            return;
        }
        const size_t end = token.at + token.length;
        for (size_t i = token.at; i < end;) {
            if (!isLetter(line[i]) && !isDigit(line[i])) {
                afterName = false;
                ++i;
                continue;
            }
            const size_t start = i;
            bool digits = false;
            for (; i < end; ++i) {
                if (isDigit(line[i]))
                    digits = true;
                else if (!isLetter(line[i]) &&
                         !(isApostrophe(line[i]) && i + 1 < end && isLetter(line[i - 1]) && isLetter(line[i + 1])))
                    break;
            }
            // "\\n[1]s Schwert": the ending belongs to the hero's name.
            if (!digits && !afterName && (skip.empty() || !skip.count(std::u16string(line.substr(start, i - start)))))
                words.push_back({start, i - start});
            afterName = false;
        }
    });
    return words;
}

std::unordered_set<std::u16string> nameWords(const std::map<int, std::u16string>& names) {
    std::unordered_set<std::u16string> words;
    for (const auto& [id, name] : names)
        for (const SpellingWord& w : spellingWords(name))
            words.insert(name.substr(w.at, w.length));
    return words;
}

std::vector<std::filesystem::path> dictionaryFolders(const std::filesystem::path& programFolder) {
    std::vector<std::filesystem::path> folders = {programFolder / "woerterbuch"};
#ifndef _WIN32
    folders.push_back("/usr/share/hunspell");
    folders.push_back("/usr/share/myspell");
#endif
    return folders;
}

// The dictionary and how words reach it: UTF-8 and ISO-8859-1 directly, any other 8-bit
// encoding through its code page.
struct Speller::Dictionary {
    Dictionary(const std::filesystem::path& aff, const std::filesystem::path& dic)
        : hunspell(hunspellPath(aff).c_str(), hunspellPath(dic).c_str()) {}

    std::optional<std::string> encode(std::u16string_view word) const {
        if (utf8)
            return toUtf8(word);
        std::string out;
        if (!page) {
            for (const char16_t c : word) {
                if (c > 0xFF)
                    return std::nullopt;
                out += static_cast<char>(c);
            }
            return out;
        }
        for (const char16_t c : word)
            if (page->survivor(c) != c)
                return std::nullopt;
        return page->encode(word);
    }

    std::u16string decode(std::string_view bytes) const {
        if (utf8)
            return fromUtf8(bytes);
        if (page)
            return page->decode(bytes);
        std::u16string out;
        for (const char c : bytes)
            out += static_cast<char16_t>(static_cast<unsigned char>(c));
        return out;
    }

    Hunspell hunspell;
    bool utf8 = true;
    std::unique_ptr<CodePage> page;                // neither UTF-8 nor ISO-8859-1
    std::unordered_set<std::u16string> unencodable;  // added words the encoding cannot hold
};

std::optional<std::filesystem::path> findDictionary(const std::string& name,
                                                    const std::vector<std::filesystem::path>& folders) {
    // A name, never a path: "de_DE", "de_CH-frami".
    if (name.empty() || name.find_first_not_of("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789_-") !=
                            std::string::npos)
        return std::nullopt;
    for (const std::filesystem::path& folder : folders) {
        const std::filesystem::path aff = folder / (name + ".aff"), dic = folder / (name + ".dic");
        std::error_code ec;
        if (std::filesystem::is_regular_file(aff, ec) && std::filesystem::is_regular_file(dic, ec))
            return aff;
    }
    return std::nullopt;
}

Speller::Speller(const std::string& name, const std::vector<std::filesystem::path>& folders) {
    if (const std::optional<std::filesystem::path> aff = findDictionary(name, folders)) {
        m = std::make_unique<Dictionary>(*aff, std::filesystem::path(*aff).replace_extension(".dic"));
        m_affixFile = *aff;
    }
    if (!m)
        throw Error("Das Wörterbuch „" + name + "“ wurde nicht gefunden (gesucht: " + name + ".aff und " + name +
                    ".dic in " + (folders.empty() ? std::string("keinem Ordner") : pathText(folders.front())) +
                    (folders.size() > 1 ? " und " + std::to_string(folders.size() - 1) + " weiteren Ordnern" : "") +
                    ").");
    std::string encoding = m->hunspell.get_dict_encoding();
    std::transform(encoding.begin(), encoding.end(), encoding.begin(),
                   [](char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; });
    if (encoding == "UTF-8")
        return;
    m->utf8 = false;
    if (encoding == "ISO8859-1" || encoding == "ISO-8859-1")
        return;
    if (encoding.starts_with("MICROSOFT-CP"))
        encoding = encoding.substr(10);
    try {
        m->page = std::make_unique<CodePage>(encoding.c_str());
    } catch (const Error&) {
        throw Error("Das Wörterbuch „" + name + "“ ist in der Kodierung " + m->hunspell.get_dict_encoding() +
                    " geschrieben, die Zeilwerk nicht umwandeln kann.");
    }
}

Speller::~Speller() = default;

const std::string& Speller::encoding() const {
    return m->hunspell.get_dict_encoding();
}

bool Speller::check(std::u16string_view word) {
    const std::optional<std::string> bytes = m->encode(word);
    if (!bytes)
        return m->unencodable.count(std::u16string(word)) > 0;
    return m->hunspell.spell(*bytes);
}

std::vector<std::u16string> Speller::suggest(std::u16string_view word, size_t most) {
    std::vector<std::u16string> out;
    const std::optional<std::string> bytes = m->encode(word);
    if (!bytes)
        return out;
    for (const std::string& s : m->hunspell.suggest(*bytes)) {
        if (out.size() >= most)
            break;
        out.push_back(m->decode(s));
    }
    return out;
}

void Speller::add(std::u16string_view word) {
    if (const std::optional<std::string> bytes = m->encode(word))
        m->hunspell.add(*bytes);
    else
        m->unencodable.insert(std::u16string(word));
}

std::filesystem::path wordListPath(const std::filesystem::path& settingsFolder, const std::filesystem::path& gameFolder) {
    std::string key = pathText(absoluteFolder(gameFolder));
#ifdef _WIN32
    // One folder, however its name's letters are typed.
    std::transform(key.begin(), key.end(), key.begin(),
                   [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; });
#endif
    char name[40];
    std::snprintf(name, sizeof name, "woerter-%016llx.txt", static_cast<unsigned long long>(fnv1a(key)));
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

void addToWordList(const std::filesystem::path& list, const std::filesystem::path& gameFolder, std::u16string_view word) {
    const std::string failure = "Die Wörterliste " + pathText(list) + " lässt sich nicht schreiben.";
    if (inside(list, gameFolder))
        throw Error(failure + " Sie läge im Spielordner, und dort schreibt Zeilwerk nichts.");
    std::error_code ec;
    std::filesystem::create_directories(list.parent_path(), ec);
    if (ec)
        throw Error(failure);
    FolderLock lock(list.parent_path());
    std::string text = fileText(list);
    const std::vector<std::u16string> words = wordsOf(text);
    if (std::find(words.begin(), words.end(), word) != words.end())
        return;
    if (text.empty())
        text = "# Wörter des Spiels in " + pathText(absoluteFolder(gameFolder)) + "\n";
    else if (text.back() != '\n')
        text += '\n';
    text += toUtf8(word) + "\n";
    replaceFileContents(list, text, failure);
}

SpellingCheck::SpellingCheck(Speller& speller, const std::map<int, std::u16string>& heroNames, bool suggestions)
    : m_speller(speller), m_suggestions(suggestions), m_names(nameWords(heroNames)) {}

// Dictionaries know no "geht's" or "hab'n": a word with apostrophes is right when its parts
// are, the "s" of a left-out "es" counting as one.
bool SpellingCheck::known(std::u16string_view word) {
    if (m_speller.check(word))
        return true;
    bool parts = false;
    for (size_t start = 0; start < word.size();) {
        size_t end = start;
        while (end < word.size() && !isApostrophe(word[end]))
            ++end;
        if (end == word.size() && !parts)
            return false;
        const std::u16string_view part = word.substr(start, end - start);
        if (part != u"s" && !m_speller.check(part))
            return false;
        parts = true;
        start = end + 1;
    }
    return true;
}

SpellingCheck::Verdict& SpellingCheck::verdict(std::u16string_view word) {
    auto found = m_verdicts.find(std::u16string(word));
    if (found == m_verdicts.end())
        found = m_verdicts.emplace(std::u16string(word), Verdict{known(word), false, {}}).first;
    return found->second;
}

std::vector<SpellingWord> SpellingCheck::wrongWords(std::u16string_view line) {
    std::vector<SpellingWord> wrong;
    for (const SpellingWord& w : spellingWords(line, m_names))
        if (!verdict(line.substr(w.at, w.length)).known)
            wrong.push_back(w);
    return wrong;
}

void SpellingCheck::checkMessage(const GameMessage& message, std::vector<Finding>& out) {
    for (size_t i = 0; i < message.lines.size(); ++i) {
        const std::u16string& line = message.lines[i];
        std::vector<std::u16string_view> told;
        for (const SpellingWord& w : wrongWords(line)) {
            const std::u16string_view word = std::u16string_view(line).substr(w.at, w.length);
            if (std::find(told.begin(), told.end(), word) != told.end())
                continue;
            told.push_back(word);
            // Suggestions cost far more than a check: asked once per word, and only for wrong ones.
            Verdict& v = verdict(word);
            if (!v.suggested) {
                const std::vector<std::u16string> suggestions =
                    m_suggestions ? m_speller.suggest(word) : std::vector<std::u16string>();
                v.reason = quoted(word) + " steht nicht im Wörterbuch";
                for (size_t k = 0; k < suggestions.size(); ++k)
                    v.reason += (k ? ", " : suggestions.size() > 1 ? " (Vorschläge: " : " (Vorschlag: ") +
                                toUtf8(suggestions[k]);
                v.reason += suggestions.empty() ? "." : ")";
                v.suggested = true;
            }
            out.push_back({message.place, static_cast<int>(i) + 1, FindingKind::Spelling, v.reason, std::u16string(word)});
        }
    }
}

void SpellingCheck::add(std::u16string_view word) {
    m_speller.add(word);
    m_verdicts[std::u16string(word)] = Verdict{true, false, {}};
}

std::vector<Finding> checkSpelling(const GameMessages& game, Speller& speller, bool suggestions) {
    SpellingCheck check(speller, game.heroNames, suggestions);
    std::vector<Finding> findings;
    for (const GameMessage& message : game.messages)
        check.checkMessage(message, findings);
    return findings;
}

}  // namespace zeilwerk
