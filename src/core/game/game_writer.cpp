#include "core/game/game_writer.h"

#include "core/game/game_database.h"
#include "core/game/map_unit.h"
#include "core/platform/code_page.h"
#include "core/platform/error.h"
#include "core/platform/file_io.h"
#include "core/platform/text.h"
#include "core/settings/ini_storage.h"

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <map>
#include <optional>
#include <tuple>

namespace fs = std::filesystem;

namespace zeilwerk {
namespace {

constexpr std::uintmax_t kMaxGameFileBytes = 256u << 20;  // as the reading allows
constexpr const char* kManifest = "schreibsatz.txt";
constexpr const char* kUndone = "zurueckgenommen.txt";

std::string hashText(std::string_view bytes) {
    char out[17];
    std::snprintf(out, sizeof out, "%016llx", static_cast<unsigned long long>(fnv1a(bytes)));
    return out;
}

std::string fileName(const MessagePlace& place) {
    if (place.kind != MessageKind::Map)
        return "RPG_RT.ldb";
    char name[16];
    std::snprintf(name, sizeof name, "Map%04d.lmu", std::clamp(place.source, 0, 9999));
    return name;
}

// The messages of one file, in the order the reading lists them; places as the file holds them.
std::vector<GameMessage> fileMessages(std::string_view bytes, const MessagePlace& any, const CodePage& page) {
    std::vector<GameMessage> out;
    const std::map<int, CommandList> noCalls;
    if (any.kind == MessageKind::Map) {
        for (const MapEvent& event : readMapUnit(bytes))
            for (const EventPage& p : event.pages)
                collectMessages(p.commands, {MessageKind::Map, any.source, event.id, p.id, 0}, page, noCalls, out);
        return out;
    }
    DatabaseEvents events;
    readGameDatabase(bytes, &events);
    for (const CommonEvent& e : events.commonEvents)
        collectMessages(e.commands, {MessageKind::Common, e.id, 0, 0, 0}, page, noCalls, out);
    for (const Troop& t : events.troops)
        for (const EventPage& p : t.pages)
            collectMessages(p.commands, {MessageKind::Battle, t.id, 0, p.id, 0}, page, noCalls, out);
    return out;
}

std::tuple<int, int, int, int, int> placeKey(const MessagePlace& p) {
    return {static_cast<int>(p.kind), p.source, p.event, p.page, p.command};
}

bool sameList(const MessagePlace& a, const MessagePlace& b) {
    return a.kind == b.kind && a.source == b.source && a.event == b.event && a.page == b.page;
}

// One file of the write set: its old bytes, its new ones and the messages these must read as.
struct FileWrite {
    MessagePlace kind;  // any place in the file, for what kind of file it is
    fs::path path;
    std::string name;
    std::string before;
    std::string after;
    std::vector<GameMessage> expected;
};

// The new bytes must read back as the old messages with exactly the written ones changed.
void verify(std::string_view bytes, const FileWrite& file, const CodePage& page) {
    const std::string damaged = file.name + " wurde nicht wie gewollt geschrieben; das Spiel bleibt, wie es war.";
    std::vector<GameMessage> read;
    try {
        read = fileMessages(bytes, file.kind, page);
    } catch (const Error&) {
        throw Error(damaged);
    }
    const bool same = std::equal(read.begin(), read.end(), file.expected.begin(), file.expected.end(),
                                 [](const GameMessage& a, const GameMessage& b) {
                                     return sameList(a.place, b.place) && a.lines == b.lines;
                                 });
    if (!same)
        throw Error(damaged);
}

void removeLeftovers(const fs::path& folder) {
    std::error_code ec;
    const std::string suffix = kTemporarySuffix;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string name = pathText(it->path().filename());
        if (name.size() > suffix.size() + 1 && name.front() == '.' && name.ends_with(suffix) && it->is_regular_file(ec))
            fs::remove(it->path(), ec);
    }
}

// A new folder named by the date and time, with a number when two sets share a second.
fs::path newSetFolder(const fs::path& backups) {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
#ifdef _WIN32
    localtime_s(&local, &now);
#else
    localtime_r(&now, &local);
#endif
    char stamp[32];
    std::strftime(stamp, sizeof stamp, "%Y-%m-%d_%H-%M-%S", &local);
    std::error_code ec;
    fs::create_directories(backups, ec);
    for (int n = 1; n < 1000; ++n) {
        const fs::path set = backups / (n == 1 ? std::string(stamp) : std::string(stamp) + "-" + std::to_string(n));
        if (fs::create_directory(set, ec))
            return set;
    }
    throw Error("Der Ordner für die Sicherung " + pathText(backups) + " lässt sich nicht anlegen.");
}

void replaceChecked(const fs::path& target, const std::string& bytes, const std::string& failure,
                    const std::function<void(std::string_view)>& check = {}) {
    replaceFileContents(target, bytes, failure, [&](const fs::path& written) {
        const std::string back = readRegularFile(written, kMaxGameFileBytes);
        if (back != bytes)
            throw Error(failure);
        if (check)
            check(back);
    });
}

struct ManifestEntry {
    std::string name;
    std::string before;  // hashes of the bytes
    std::string after;
};

std::vector<ManifestEntry> readManifest(const fs::path& set) {
    std::vector<ManifestEntry> out;
    const std::string text = readRegularFile(set / kManifest, 1 << 20);
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        const std::string line = text.substr(start, end - start);
        start = end + 1;
        if (line.empty() || line[0] == '#')
            continue;
        const size_t a = line.find('\t'), b = line.find('\t', a + 1);
        if (a == std::string::npos || b == std::string::npos)
            throw Error("Die Sicherung " + pathText(set) + " ist beschädigt.");
        out.push_back({line.substr(0, a), line.substr(a + 1, b - a - 1), line.substr(b + 1)});
    }
    return out;
}

}  // namespace

fs::path backupFolder(const fs::path& folder, const fs::path& settingsFolder) {
    char hash[17];
    std::snprintf(hash, sizeof hash, "%016llx", static_cast<unsigned long long>(gameFolderKey(folder)));
    return settingsFolder / "sicherungen" / (pathText(absoluteFolder(folder).filename()) + "-" + hash);
}

WriteReport writeMessages(const fs::path& folder, const fs::path& settingsFolder,
                          const std::vector<MessageChange>& changes, const CodePage& page) {
    std::error_code ec;
    if (!fs::is_directory(folder, ec))
        throw Error("Der Ordner " + pathText(folder) + " lässt sich nicht lesen.");
    FolderLock lock(folder);
    removeLeftovers(folder);

    WriteReport report;
    report.outcomes.resize(changes.size());
    std::map<std::string, std::vector<size_t>> byFile;
    for (size_t i = 0; i < changes.size(); ++i)
        byFile[fileName(changes[i].place)].push_back(i);

    std::vector<FileWrite> files;
    for (const auto& [name, indexes] : byFile) {
        const std::optional<fs::path> path = findIgnoringCase(folder, name);
        if (!path) {
            for (size_t i : indexes)
                report.outcomes[i] = {ChangeState::Changed, name + " fehlt im Spiel."};
            continue;
        }
        FileWrite file{changes[indexes.front()].place, *path, pathText(path->filename()), {}, {}, {}};
        std::vector<MessageChange> these;
        for (size_t i : indexes)
            these.push_back(changes[i]);
        Splice splice;
        try {
            file.before = readRegularFile(*path, kMaxGameFileBytes);
            splice = spliceMessages(file.before, these, page);
            file.expected = fileMessages(file.before, these.front().place, page);
        } catch (const Error& e) {
            throw Error(file.name + ": " + e.what() + " Nichts wurde geschrieben.");
        }
        std::map<std::tuple<int, int, int, int, int>, GameMessage*> byPlace;
        for (GameMessage& m : file.expected)
            byPlace.emplace(placeKey(m.place), &m);
        for (size_t k = 0; k < indexes.size(); ++k) {
            report.outcomes[indexes[k]] = splice.outcomes[k];
            if (splice.outcomes[k].state != ChangeState::Written)
                continue;
            if (const auto m = byPlace.find(placeKey(these[k].place)); m != byPlace.end())
                m->second->lines = these[k].lines.empty() ? std::vector<std::u16string>{u""} : these[k].lines;
        }
        report.written += splice.written;
        if (splice.bytes == file.before)
            continue;
        file.after = std::move(splice.bytes);
        verify(file.after, file, page);
        files.push_back(std::move(file));
    }
    if (files.empty()) {
        report.written = 0;
        return report;
    }
    for (const FileWrite& file : files)
        if (!canReplace(file.path))
            throw Error(file.name + " lässt sich nicht schreiben (schreibgeschützt oder von einem anderen Programm "
                                    "geöffnet). Nichts wurde geschrieben.");

    // The backup is whole, its list last, before the first file of the game is replaced.
    report.backup = newSetFolder(backupFolder(folder, settingsFolder));
    std::string manifest = "# Zeilwerk: die Dateien vor dem Schreiben in " + pathText(absoluteFolder(folder)) + "\n";
    for (const FileWrite& file : files) {
        replaceChecked(report.backup / file.name, file.before,
                       "Die Sicherung " + pathText(report.backup / file.name) + " lässt sich nicht schreiben. Nichts wurde geschrieben.");
        manifest += file.name + "\t" + hashText(file.before) + "\t" + hashText(file.after) + "\n";
    }
    replaceChecked(report.backup / kManifest, manifest,
                   "Die Sicherung " + pathText(report.backup) + " lässt sich nicht schreiben. Nichts wurde geschrieben.");

    size_t replaced = 0;
    try {
        for (; replaced < files.size(); ++replaced) {
            const FileWrite& file = files[replaced];
            replaceChecked(file.path, file.after, file.name + " lässt sich nicht schreiben.",
                           [&](std::string_view back) { verify(back, file, page); });
            report.files.push_back(file.name);
        }
    } catch (const Error& e) {
        // The set is all or nothing: what was replaced goes back.
        for (size_t i = 0; i < replaced; ++i) {
            try {
                replaceChecked(files[i].path, files[i].before, files[i].name + " lässt sich nicht zurückschreiben.");
            } catch (const Error&) {
            }
        }
        replaceChecked(report.backup / kUndone, "abgebrochen\n", e.what());
        throw Error(std::string(e.what()) + " Nichts wurde geschrieben.");
    }
    return report;
}

UndoReport undoLastWrite(const fs::path& folder, const fs::path& settingsFolder, bool evenIfChanged) {
    const fs::path backups = backupFolder(folder, settingsFolder);
    std::vector<fs::path> sets;
    std::error_code ec;
    for (fs::directory_iterator it(backups, ec), end; !ec && it != end; it.increment(ec))
        if (fs::exists(it->path() / kManifest, ec) && !fs::exists(it->path() / kUndone, ec))
            sets.push_back(it->path());
    if (sets.empty())
        throw Error("Für " + pathText(absoluteFolder(folder)) + " gibt es kein Schreiben, das sich zurücknehmen ließe.");
    // The names are dates and times: the greatest is the last.
    const auto order = [](const fs::path& set) {
        const std::string name = pathText(set.filename());
        return std::make_tuple(name.substr(0, 19), name.size(), name);
    };
    std::sort(sets.begin(), sets.end(), [&](const fs::path& a, const fs::path& b) { return order(a) < order(b); });
    UndoReport report;
    report.backup = sets.back();
    FolderLock lock(folder);

    struct Restore {
        fs::path path;
        std::string name;
        std::string current;
        bool changed = false;
    };
    std::vector<Restore> restores;
    for (const ManifestEntry& entry : readManifest(report.backup)) {
        const fs::path path = findIgnoringCase(folder, entry.name).value_or(folder / entry.name);
        std::string current;
        try {
            current = readRegularFile(path, kMaxGameFileBytes);
        } catch (const Error&) {
            current.clear();
        }
        const std::string hash = hashText(current);
        if (hash == entry.before)
            continue;  // already as it was
        const bool changed = hash != entry.after;
        if (changed)
            report.changedSince.push_back(entry.name);
        restores.push_back({path, entry.name, std::move(current), changed});
    }
    if (!report.changedSince.empty() && !evenIfChanged)
        return report;
    for (const Restore& r : restores)
        if (fs::exists(r.path, ec) && !canReplace(r.path))
            throw Error(r.name + " lässt sich nicht schreiben (schreibgeschützt oder von einem anderen Programm "
                                 "geöffnet). Nichts wurde zurückgenommen.");
    for (const Restore& r : restores) {
        // What someone else wrote since is kept beside the backup, not lost.
        if (r.changed && !r.current.empty()) {
            fs::create_directories(report.backup / "ueberschrieben", ec);
            replaceChecked(report.backup / "ueberschrieben" / r.name, r.current,
                           "Die Sicherung " + pathText(report.backup) + " lässt sich nicht schreiben.");
        }
        const std::string saved = readRegularFile(report.backup / r.name, kMaxGameFileBytes);
        replaceChecked(r.path, saved, r.name + " lässt sich nicht zurückschreiben.");
        report.restored.push_back(r.name);
    }
    replaceChecked(report.backup / kUndone, "zurückgenommen\n",
                   "Die Sicherung " + pathText(report.backup) + " lässt sich nicht schreiben.");
    report.done = true;
    return report;
}

}  // namespace zeilwerk
