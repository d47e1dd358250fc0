#include "spelling/speller.h"

#include "core/platform/code_page.h"
#include "core/platform/error.h"
#include "core/platform/text.h"
#include "core/settings/ini_storage.h"

#include <hunspell.hxx>

#include <algorithm>
#include <system_error>

#ifdef _WIN32
#include <windows.h>
#endif

namespace zeilwerk {
namespace {

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

}  // namespace

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

}  // namespace zeilwerk
