#include "core/game/game_folder.h"

#include "core/game/database_names.h"
#include "core/game/game_database.h"
#include "core/game/map_tree.h"
#include "core/game/map_unit.h"
#include "core/platform/code_page.h"
#include "core/platform/error.h"
#include "core/platform/file_io.h"
#include "core/platform/text.h"

#include <algorithm>
#include <cctype>
#include <optional>
#include <set>

namespace zeilwerk {
namespace {

// No map or database of a real game comes near this; a larger file is no game's.
constexpr std::uintmax_t kMaxGameFileBytes = 256u << 20;

std::string lowerName(const std::string& name) {
    std::string out = name;
    for (char& c : out)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return out;
}

}  // namespace

std::map<int, std::u16string> readHeroNames(const std::filesystem::path& folder, const CodePage& page) {
    std::error_code ec;
    if (!std::filesystem::is_directory(folder, ec))
        throw Error("Der Ordner " + folder.string() + " lässt sich nicht lesen.");
    const std::optional<std::filesystem::path> file = findIgnoringCase(folder, "RPG_RT.ldb");
    if (!file)
        throw Error("Im Ordner " + folder.string() + " ist keine Datenbank des Makers (RPG_RT.ldb).");
    std::map<int, std::u16string> names;
    for (const auto& [id, bytes] : readGameDatabase(readRegularFile(*file, kMaxGameFileBytes)).heroNames)
        names[id] = page.decode(bytes);
    return names;
}

bool readGameMessages(const std::filesystem::path& folder, const CodePage& page,
                      const std::function<void(GamePart&&)>& take, const std::function<bool()>& cancelled) {
    std::error_code ec;
    if (!std::filesystem::is_directory(folder, ec))
        throw Error("Der Ordner " + folder.string() + " lässt sich nicht lesen.");
    // The Maker writes the names in one case, copies and other systems in others.
    std::map<std::string, std::filesystem::path> files;
    std::map<int, std::filesystem::path> mapFiles;
    std::filesystem::directory_iterator it(folder, ec);
    if (ec)
        throw Error("Der Ordner " + folder.string() + " lässt sich nicht lesen.");
    for (; it != std::filesystem::directory_iterator(); it.increment(ec)) {
        if (ec)
            throw Error("Der Ordner " + folder.string() + " lässt sich nicht lesen.");
        const std::string name = lowerName(it->path().filename().string());
        files.emplace(name, it->path());
        if (name.size() == 11 && name.compare(0, 3, "map") == 0 && name.compare(7, 4, ".lmu") == 0 &&
            std::all_of(name.begin() + 3, name.begin() + 7, [](char c) { return c >= '0' && c <= '9'; }))
            mapFiles.emplace(std::stoi(name.substr(3, 4)), it->path());
    }
    const auto database = files.find("rpg_rt.ldb");
    const auto treeFile = files.find("rpg_rt.lmt");
    if (database == files.end() && treeFile == files.end() && mapFiles.empty())
        throw Error("Im Ordner " + folder.string() + " ist kein Spiel des Makers (kein RPG_RT.ldb, RPG_RT.lmt, MapNNNN.lmu).");

    GamePart part;
    part.names = true;
    const auto skip = [&](const std::filesystem::path& path, const std::string& reason) {
        part.skipped.push_back({path.filename().string(), reason});
    };
    const auto contents = [&](const std::filesystem::path& path) -> std::optional<std::string> {
        try {
            return readRegularFile(path, kMaxGameFileBytes);
        } catch (const Error& e) {
            skip(path, e.what());
            return std::nullopt;
        }
    };
    const auto handOn = [&](MessageKind kind, int source) {
        take(std::move(part));
        part = GamePart();
        part.kind = kind;
        part.source = source;
    };

    // The common events' lists point into the database's bytes, kept to the end.
    std::optional<std::string> databaseBytes;
    DatabaseEvents events;
    if (database != files.end()) {
        if ((databaseBytes = contents(database->second))) {
            try {
                const GameDatabase names = readGameDatabase(*databaseBytes, &events);
                for (const auto& [id, name] : names.heroNames)
                    part.heroNames[id] = page.decode(name);
            } catch (const Error& e) {
                events = {};
                skip(database->second, e.what());
            }
            try {
                for (const std::string& name : readDatabaseNames(*databaseBytes))
                    part.gameNames.push_back(page.decode(name));
            } catch (const Error&) {
                // told above: a database that is none
            }
        }
    }

    std::vector<int> mapOrder;
    if (treeFile != files.end() && !cancelled()) {
        if (const auto data = contents(treeFile->second)) {
            try {
                const MapTree tree = readMapTree(*data);
                for (const MapTreeEntry& entry : tree.entries)
                    if (entry.id > 0)
                        part.mapNames[entry.id] = page.decode(entry.name);
                mapOrder = tree.order;
            } catch (const Error& e) {
                skip(treeFile->second, e.what());
            }
        }
    }
    // The tree's order first; maps it does not name follow by number.
    std::set<int> placed;
    std::vector<int> maps;
    for (int id : mapOrder)
        if (mapFiles.count(id) && placed.insert(id).second)
            maps.push_back(id);
    for (const auto& [id, path] : mapFiles)
        if (placed.insert(id).second)
            maps.push_back(id);

    std::map<int, CommandList> commonLists;
    for (const CommonEvent& e : events.commonEvents)
        commonLists.emplace(e.id, e.commands);

    part.parts = static_cast<int>(maps.size()) + 2;
    for (int id : maps) {
        handOn(MessageKind::Map, id);
        if (cancelled())
            return false;
        const std::filesystem::path& path = mapFiles[id];
        const auto data = contents(path);
        if (!data)
            continue;
        std::vector<MapEvent> mapEvents;
        try {
            mapEvents = readMapUnit(*data);
        } catch (const Error& e) {
            skip(path, e.what());
            continue;
        }
        for (const MapEvent& event : mapEvents) {
            part.gameNames.push_back(page.decode(event.name));
            for (const EventPage& p : event.pages)
                collectMessages(p.commands, {MessageKind::Map, id, event.id, p.id, 0}, page, commonLists,
                                part.messages);
        }
    }
    handOn(MessageKind::Common, 0);
    if (cancelled())
        return false;
    for (const CommonEvent& e : events.commonEvents)
        collectMessages(e.commands, {MessageKind::Common, e.id, 0, 0, 0}, page, commonLists, part.messages);
    handOn(MessageKind::Battle, 0);
    for (const Troop& t : events.troops)
        for (const EventPage& p : t.pages)
            collectMessages(p.commands, {MessageKind::Battle, t.id, 0, p.id, 0}, page, commonLists, part.messages);
    take(std::move(part));
    return true;
}

std::string placeInWords(const MessagePlace& place, const std::map<int, std::u16string>& mapNames) {
    switch (place.kind) {
    case MessageKind::Map: {
        std::string out = "Karte " + std::to_string(place.source);
        if (const auto name = mapNames.find(place.source); name != mapNames.end() && !name->second.empty())
            out += " »" + toUtf8(name->second) + "«";
        return out + ", Ereignis " + std::to_string(place.event) + ", Seite " + std::to_string(place.page);
    }
    case MessageKind::Common:
        return "Allgemeines Ereignis " + std::to_string(place.source);
    case MessageKind::Battle:
        return "Kampf " + std::to_string(place.source) + ", Seite " + std::to_string(place.page);
    }
    return "";
}

GameMessages readGameMessages(const std::filesystem::path& folder, const CodePage& page) {
    GameMessages game;
    const auto take = [&](GamePart&& part) {
        if (part.names) {
            game.heroNames = std::move(part.heroNames);
            game.mapNames = std::move(part.mapNames);
        }
        game.messages.insert(game.messages.end(), std::make_move_iterator(part.messages.begin()),
                             std::make_move_iterator(part.messages.end()));
        game.skipped.insert(game.skipped.end(), part.skipped.begin(), part.skipped.end());
        game.gameNames.insert(game.gameNames.end(), std::make_move_iterator(part.gameNames.begin()),
                          std::make_move_iterator(part.gameNames.end()));
    };
    readGameMessages(folder, page, take, [] { return false; });
    return game;
}

}  // namespace zeilwerk
