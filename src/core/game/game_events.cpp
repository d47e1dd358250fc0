#include "core/game/game_events.h"

#include "core/game/lcf_reader.h"
#include "core/platform/code_page.h"
#include "core/platform/error.h"
#include "core/platform/file_io.h"

#include <algorithm>
#include <cctype>
#include <fstream>
#include <optional>
#include <set>

namespace zeilwerk {
namespace {

// No map or database of a real game comes near this; a larger file is no game's.
constexpr std::uintmax_t kMaxGameFileBytes = 256u << 20;

// The chunk IDs we read, as public descriptions of the LCF format give them.
constexpr std::uint32_t kMapEvents = 0x51;     // a map's array of events
constexpr std::uint32_t kEventName = 0x01;     // an event's name
constexpr std::uint32_t kEventPages = 0x05;    // an event's array of pages
constexpr std::uint32_t kPageCommands = 0x34;  // a page's command list
constexpr std::uint32_t kTreeName = 0x01;      // a map tree entry's name
constexpr std::uint32_t kTreeParent = 0x02;    // a map tree entry's parent map

constexpr const char* kNotAMap = "Die Datei ist keine Karte des Makers oder beschädigt.";
constexpr const char* kNotATree = "Die Datei ist kein Kartenbaum des Makers oder beschädigt.";

// Deeper branches than this are taken as this deep: no script nests so far, and a damaged
// one must not make us keep a path per level it claims.
constexpr std::uint32_t kDeepest = 64;
constexpr int kDeepestCall = 64;

std::string lowerName(const std::string& name) {
    std::string out = name;
    for (char& c : out)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return out;
}


// A setting of the face or the window and where in the branches it was made.
template <typename Value>
struct Setting {
    Value value{};
    std::vector<int> path;  // the block at each depth, outermost first
    bool uncertain = false;
    bool made = false;
};

struct Face {
    std::u16string name;
    int index = 0;
    bool right = false;
    bool mirrored = false;
};

struct Options {
    bool transparent = false;
    int position = 2;
    bool fixed = false;
    bool parallel = false;
};

// What a called common event leaves set when it ends.
struct Effect {
    Setting<Face> face;
    Setting<Options> options;
};

int parameter(const EventCommand& c, size_t i) {
    return i < c.parameters.size() ? c.parameters[i] : 0;
}

// Walks a command list and keeps, for each command, the branch blocks it sits in: a
// setting holds for a later command only when made in a block that encloses it.
class LookWalker {
public:
    LookWalker(const CodePage& page, const std::map<int, CommandList>& commonEvents,
               std::map<int, std::optional<Effect>>& effects, int depth = 0)
        : m_page(page), m_commonEvents(commonEvents), m_effects(effects), m_depth(depth) {}

    void step(const EventCommand& c) {
        const size_t depth = std::min(c.indent, kDeepest);
        if (m_path.size() > depth + 1)
            m_path.resize(depth + 1);
        while (m_path.size() < depth + 1)
            m_path.push_back(m_nextBlock++);
        if (c.code == kChangeFace) {
            m_face = {{m_page.decode(c.text), parameter(c, 0), parameter(c, 1) != 0, parameter(c, 2) != 0},
                      m_path, false, true};
        } else if (c.code == kMessageOptions) {
            m_options = {{parameter(c, 0) != 0, std::clamp(parameter(c, 1), 0, 2), parameter(c, 2) != 0,
                          parameter(c, 3) != 0},
                         m_path, false, true};
        } else if (c.code == kCallEvent && parameter(c, 0) == 0) {
            if (const Effect* effect = effectOf(parameter(c, 1))) {
                if (effect->face.made)
                    m_face = {effect->face.value, m_path, effect->face.uncertain, true};
                if (effect->options.made)
                    m_options = {effect->options.value, m_path, effect->options.uncertain, true};
            }
        }
    }

    MessageLook look() const {
        MessageLook look;
        if (m_face.made) {
            look.face = m_face.value.name;
            look.faceIndex = m_face.value.index;
            look.faceRight = m_face.value.right;
            look.faceMirrored = m_face.value.mirrored;
            look.faceUncertain = !holds(m_face);
        }
        if (m_options.made) {
            look.transparent = m_options.value.transparent;
            look.position = m_options.value.position;
            look.fixed = m_options.value.fixed;
            look.parallel = m_options.value.parallel;
            look.optionsUncertain = !holds(m_options);
        }
        return look;
    }

    // What the list leaves set at its end, as a called event hands it back.
    Effect effect() const {
        Effect out{m_face, m_options};
        out.face.uncertain = m_face.made && !holdsAtEnd(m_face);
        out.options.uncertain = m_options.made && !holdsAtEnd(m_options);
        return out;
    }

private:
    template <typename Value>
    bool holds(const Setting<Value>& s) const {
        return !s.uncertain && s.path.size() <= m_path.size() && std::equal(s.path.begin(), s.path.end(), m_path.begin());
    }

    template <typename Value>
    static bool holdsAtEnd(const Setting<Value>& s) {
        return !s.uncertain && s.path.size() == 1;
    }

    const Effect* effectOf(int id) {
        const auto known = m_effects.find(id);
        if (known != m_effects.end())
            return known->second ? &*known->second : nullptr;
        const auto list = m_commonEvents.find(id);
        // Calls nested deeper than any game's are not followed: the stack stays small.
        if (list == m_commonEvents.end() || m_depth >= kDeepestCall)
            return nullptr;
        // Marked while it is walked, so an event calling itself sets nothing more.
        m_effects[id] = std::nullopt;
        LookWalker inner(m_page, m_commonEvents, m_effects, m_depth + 1);
        CommandReader reader(list->second, "Ein allgemeines Ereignis ist beschädigt.");
        EventCommand c;
        while (reader.next(c))
            inner.step(c);
        return &*(m_effects[id] = inner.effect());
    }

    const CodePage& m_page;
    const std::map<int, CommandList>& m_commonEvents;
    std::map<int, std::optional<Effect>>& m_effects;
    int m_depth = 0;
    std::vector<int> m_path{0};
    int m_nextBlock = 1;
    Setting<Face> m_face;
    Setting<Options> m_options;
};

}  // namespace

MapTree readMapTree(std::string_view data) {
    LcfReader file(data, kNotATree);
    file.header("LcfMapTree");
    MapTree tree;
    file.elements([&](int id) {
        MapTreeEntry entry{id, 0, {}};
        file.chunks([&](std::uint32_t chunk, std::string_view value) {
            if (chunk == kTreeName)
                entry.name = std::string(value);
            else if (chunk == kTreeParent)
                entry.parent = file.in(value).id();
        });
        tree.entries.push_back(std::move(entry));
    });
    file.items([&] { tree.order.push_back(file.id()); });
    return tree;
}

std::vector<MapEvent> readMapUnit(std::string_view data) {
    LcfReader file(data, kNotAMap);
    file.header("LcfMapUnit");
    std::vector<MapEvent> events;
    file.chunks([&](std::uint32_t chunk, std::string_view value) {
        if (chunk != kMapEvents)
            return;
        LcfReader array = file.in(value);
        array.elements([&](int id) {
            MapEvent event{id, {}, {}};
            array.chunks([&](std::uint32_t c, std::string_view v) {
                if (c == kEventName)
                    event.name = std::string(v);
                else if (c == kEventPages)
                    event.pages = readEventPages(array.in(v), kPageCommands);
            });
            events.push_back(std::move(event));
        });
    });
    return events;
}

void collectMessages(CommandList commands, const MessagePlace& where, const CodePage& page,
                     const std::map<int, CommandList>& commonEvents, std::vector<GameMessage>& out) {
    std::map<int, std::optional<Effect>> effects;
    LookWalker walker(page, commonEvents, effects);
    CommandReader reader(commands, "Eine Befehlsliste ist beschädigt.");
    EventCommand c;
    bool more = reader.next(c);
    for (int i = 0; more; ++i) {
        walker.step(c);
        if (c.code != kShowMessage) {
            more = reader.next(c);
            continue;
        }
        GameMessage message;
        message.place = where;
        message.place.command = i;
        message.look = walker.look();
        message.lines.push_back(page.decode(c.text));
        // The further lines are commands of their own, directly after the first.
        while ((more = reader.next(c)) && c.code == kMessageLine) {
            message.lines.push_back(page.decode(c.text));
            ++i;
        }
        out.push_back(std::move(message));
    }
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
        for (const MapEvent& event : mapEvents)
            for (const EventPage& p : event.pages)
                collectMessages(p.commands, {MessageKind::Map, id, event.id, p.id, 0}, page, commonLists,
                                part.messages);
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
    };
    readGameMessages(folder, page, take, [] { return false; });
    return game;
}

}  // namespace zeilwerk
