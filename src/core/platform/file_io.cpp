#include "core/platform/file_io.h"

#include "core/platform/error.h"
#include "core/platform/text.h"

#include <algorithm>
#include <fstream>
#include <iterator>
#include <system_error>

namespace fs = std::filesystem;

namespace zeilwerk {

std::string readRegularFile(const fs::path& path, std::uintmax_t limit) {
    std::error_code error;
    // Checked before opening: opening a FIFO for reading waits for a writer that may never come.
    if (!fs::is_regular_file(path, error))
        throw Error(fs::exists(path, error) ? "Die Datei ist keine gewöhnliche Datei." : "Die Datei fehlt.");
    const std::uintmax_t size = fs::file_size(path, error);
    if (error)
        throw Error("Die Datei lässt sich nicht lesen.");
    if (size > limit)
        throw Error("Die Datei ist zu groß.");
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw Error("Die Datei lässt sich nicht lesen.");
    std::string bytes;
    bytes.reserve(static_cast<std::size_t>(size));
    bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    if (in.bad() || bytes.size() > limit)
        throw Error("Die Datei lässt sich nicht lesen.");
    return bytes;
}

namespace {

// A name in one letter case: ASCII and the Latin-1 letters the Windows code pages share.
std::u16string folded(std::u16string name) {
    for (char16_t& c : name)
        if ((c >= u'A' && c <= u'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7))
            c = static_cast<char16_t>(c + 0x20);
    return name;
}

std::u16string nameOf(const fs::path& path) {
    const std::u8string name = path.filename().u8string();
    return fromUtf8(std::string_view(reinterpret_cast<const char*>(name.data()), name.size()));
}

}  // namespace

std::optional<fs::path> findIgnoringCase(const fs::path& folder, std::string_view name) {
    std::error_code error;
    const fs::path exact = folder / fs::path(std::u8string(name.begin(), name.end()));
    if (fs::exists(exact, error))
        return exact;
    const std::u16string wanted = folded(fromUtf8(name));
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error))
        if (folded(nameOf(it->path())) == wanted)
            return it->path();
    return std::nullopt;
}

fs::path absoluteFolder(const fs::path& folder) {
    std::error_code ec;
    fs::path absolute = fs::absolute(folder, ec);
    if (ec)
        absolute = folder;
    absolute = absolute.lexically_normal();
    if (!absolute.has_filename() && absolute.has_relative_path())
        absolute = absolute.parent_path();
    return absolute;
}

std::uint64_t gameFolderKey(const fs::path& gameFolder) {
    const std::u8string name = absoluteFolder(gameFolder).u8string();
    std::string key(name.begin(), name.end());
#ifdef _WIN32
    // One folder, however its name's letters are typed.
    std::transform(key.begin(), key.end(), key.begin(),
                   [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; });
#endif
    return fnv1a(key);
}

}  // namespace zeilwerk
