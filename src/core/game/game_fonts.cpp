#include "core/game/game_fonts.h"

#include "core/platform/error.h"
#include "core/platform/file_io.h"

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <set>
#include <utility>

namespace zeilwerk {
namespace fs = std::filesystem;
namespace {

constexpr std::uintmax_t kMaxFontFile = 4 << 20;
constexpr int kWantedHeight = 12;

char lower(char c) {
    return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c;
}

bool sameIgnoringCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return lower(x) == lower(y); });
}

bool isFontFile(const fs::path& path) {
    const std::string ext = path.extension().string();
    return sameIgnoringCase(ext, ".fon") || sameIgnoringCase(ext, ".fnt");
}

// The font files of a folder, sorted so the same folder always gives the same font.
std::vector<fs::path> fontFiles(const fs::path& folder, bool withSubFolders) {
    std::vector<fs::path> files;
    std::error_code ec;
    const auto take = [&](const fs::directory_entry& entry) {
        std::error_code one;
        if (isFontFile(entry.path()) && entry.is_regular_file(one))
            files.push_back(entry.path());
    };
    if (withSubFolders) {
        for (auto it = fs::recursive_directory_iterator(folder, fs::directory_options::skip_permission_denied, ec);
             !ec && it != fs::recursive_directory_iterator(); it.increment(ec))
            take(*it);
    } else {
        for (auto it = fs::directory_iterator(folder, ec); !ec && it != fs::directory_iterator(); it.increment(ec))
            take(*it);
    }
    std::sort(files.begin(), files.end());
    return files;
}


// Lower is better: the character set first, then the height.
std::pair<int, int> rank(const BitmapFont& font, int charset) {
    const int height = font.pixelHeight;
    return {font.charset == (charset < 0 ? 0 : charset) ? 0 : 1,
            height == 12 || height == 13 ? 0 : 1 + std::abs(height - kWantedHeight)};
}

struct Search {
    std::string_view family;
    int charset;
    std::vector<std::string>* notes;
    std::set<fs::path> read;  // each file once, however many places name it
    std::optional<FoundFont> best;

    void note(const fs::path& file, const char* reason) {
        if (notes)
            notes->push_back("Schriftdatei übersprungen: " + file.string() + " (" + reason + ")");
    }

    void consider(const fs::path& file, FontSource source) {
        std::error_code ec;
        const fs::path key = fs::weakly_canonical(file, ec);
        if (!read.insert(ec ? file : key).second)
            return;
        try {
            for (BitmapFont& font : readFon(readRegularFile(file, kMaxFontFile))) {
                if (!sameIgnoringCase(font.family, family))
                    continue;
                if (!best || rank(font, charset) < rank(best->font, charset))
                    best = FoundFont{std::move(font), file, source};
            }
        } catch (const Error& e) {
            note(file, e.what());
        }
    }

    // True when this place held the family: a later place is not looked at.
    bool look(const std::vector<fs::path>& files, FontSource source) {
        for (const fs::path& file : files)
            consider(file, source);
        return best.has_value();
    }
};

std::vector<fs::path> gameFolderFiles(const fs::path& gameFolder) {
    std::vector<fs::path> files = fontFiles(gameFolder, false);
    std::error_code ec;
    for (auto it = fs::directory_iterator(gameFolder, ec); !ec && it != fs::directory_iterator(); it.increment(ec)) {
        const std::string name = it->path().filename().string();
        std::error_code one;
        if ((sameIgnoringCase(name, "Font") || sameIgnoringCase(name, "Fonts")) && it->is_directory(one)) {
            const auto more = fontFiles(it->path(), false);
            files.insert(files.end(), more.begin(), more.end());
        }
    }
    return files;
}

fs::path environmentPath(const char* name) {
    const char* value = std::getenv(name);
    return value && *value ? fs::path(value) : fs::path();
}

}  // namespace

FontPlaces defaultFontPlaces(const fs::path& programFolder) {
    FontPlaces places;
#ifdef _WIN32
    if (const fs::path windows = environmentPath("WINDIR"); !windows.empty())
        places.windowsFonts.push_back(windows / "Fonts");
    if (const fs::path local = environmentPath("LOCALAPPDATA"); !local.empty())
        places.systemFonts.push_back(local / "Microsoft" / "Windows" / "Fonts");
#else
    const fs::path home = environmentPath("HOME");
    fs::path prefix = environmentPath("WINEPREFIX");
    if (prefix.empty() && !home.empty())
        prefix = home / ".wine";
    if (!prefix.empty())
        places.windowsFonts.push_back(prefix / "drive_c" / "windows" / "Fonts");
    // What Wine's programs see as their Windows fonts, though no prefix holds them.
    places.windowsFonts.push_back("/usr/share/wine/fonts");
    places.systemFonts = {"/usr/share/fonts", "/usr/local/share/fonts"};
    const fs::path data = environmentPath("XDG_DATA_HOME");
    if (!data.empty())
        places.systemFonts.push_back(data / "fonts");
    if (!home.empty()) {
        if (data.empty())
            places.systemFonts.push_back(home / ".local" / "share" / "fonts");
        places.systemFonts.push_back(home / ".fonts");
    }
#endif
    const std::vector<fs::path> fallbacks = {
        programFolder / "fonts" / kFallbackFontFile,
        programFolder.parent_path() / "share" / "zeilwerk" / "fonts" / kFallbackFontFile,
        fs::path("/usr/share/zeilwerk/fonts") / kFallbackFontFile,
        fs::path("/usr/share/fonts/X11/misc") / kFallbackFontFile,
    };
    places.fallback = fallbacks.back();
    for (const fs::path& candidate : fallbacks)
        if (std::error_code ec; fs::is_regular_file(candidate, ec)) {
            places.fallback = candidate;
            break;
        }
    return places;
}

std::optional<FoundFont> findBitmapFont(const fs::path& gameFolder, std::string_view family, const FontPlaces& places,
                                        std::vector<std::string>* notes, int charset) {
    Search search{family, charset, notes, {}, {}};
    if (!family.empty()) {
        bool found = !gameFolder.empty() && search.look(gameFolderFiles(gameFolder), FontSource::GameFolder);
        for (const fs::path& folder : places.windowsFonts)
            found = found || search.look(fontFiles(folder, false), FontSource::WindowsFonts);
        for (const fs::path& folder : places.systemFonts)
            found = found || search.look(fontFiles(folder, true), FontSource::SystemFonts);
        if (found)
            return std::move(search.best);
    }
    try {
        return FoundFont{readPcf(readRegularFile(places.fallback, kMaxFontFile)), places.fallback, FontSource::Fallback};
    } catch (const Error& e) {
        search.note(places.fallback, e.what());
        return std::nullopt;
    }
}

}  // namespace zeilwerk
