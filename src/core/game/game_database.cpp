#include "core/game/game_database.h"

#include "core/game/lcf_reader.h"

#include <algorithm>

namespace zeilwerk {
namespace {

// The chunk IDs we read, as public descriptions of the LCF format give them.
constexpr std::uint32_t kHeroes = 0x0B;             // the database's array of heroes
constexpr std::uint32_t kHeroName = 0x01;           // a hero's name
constexpr std::uint32_t kTroops = 0x0F;             // the database's array of troops
constexpr std::uint32_t kTroopName = 0x01;          // a troop's name
constexpr std::uint32_t kTroopPages = 0x0B;         // a troop's array of battle event pages
constexpr std::uint32_t kTroopPageCommands = 0x0C;  // a battle page's command list
constexpr std::uint32_t kSystem = 0x16;             // the database's System settings
constexpr std::uint32_t kSystemGraphic = 0x13;      // System: the System graphic's name
constexpr std::uint32_t kWallpaper = 0x47;          // System: 0 stretched, 1 tiled
constexpr std::uint32_t kFontSlot = 0x48;           // System: 0 the Gothic slot, 1 the Mincho slot
constexpr std::uint32_t kCommonEvents = 0x19;       // the database's array of common events
constexpr std::uint32_t kCommonName = 0x01;         // a common event's name
constexpr std::uint32_t kCommonCommands = 0x16;     // a common event's command list

constexpr std::uint32_t kBattleSettings = 0x1D;    // the database's battle settings (RPG Maker 2003)
constexpr std::uint32_t kBattleMode = 0x07;         // battle settings: 0 traditional, 1 alternative, 2 gauge
constexpr std::uint32_t kSeeThrough = 0x18;         // battle settings: the System graphic 0 normal, 1 transparent

constexpr const char* kNotADatabase = "RPG_RT.ldb ist keine Datenbank des Makers.";

void readHeroes(LcfReader heroes, GameDatabase& database) {
    heroes.elements([&](int id) {
        heroes.chunks([&](std::uint32_t chunk, std::string_view data) {
            if (chunk == kHeroName)
                database.heroNames[id] = std::string(data);
        });
    });
}

void readSystem(LcfReader system, GameDatabase& database) {
    system.chunks([&](std::uint32_t chunk, std::string_view data) {
        if (chunk == kSystemGraphic) {
            database.systemGraphic = std::string(data);
        } else if (chunk == kWallpaper) {
            database.tiledWallpaper = system.numberIn(data) == 1;
        } else if (chunk == kFontSlot) {
            database.fontSlot = system.numberIn(data) == 1 ? 1 : 0;
        }
    });
}

void readBattleSettings(LcfReader settings, GameDatabase& database) {
    settings.chunks([&](std::uint32_t chunk, std::string_view data) {
        if (chunk == kBattleMode)
            database.battleMode = static_cast<int>(std::min<std::uint32_t>(settings.numberIn(data), 255));
        else if (chunk == kSeeThrough)
            database.seeThroughWindow = settings.numberIn(data) == 1;
    });
}

void readTroops(LcfReader troops, std::vector<Troop>& out) {
    troops.elements([&](int id) {
        Troop troop{id, {}, {}};
        troops.chunks([&](std::uint32_t chunk, std::string_view data) {
            if (chunk == kTroopName)
                troop.name = std::string(data);
            else if (chunk == kTroopPages)
                troop.pages = readEventPages(troops.in(data), kTroopPageCommands);
        });
        out.push_back(std::move(troop));
    });
}

void readCommonEvents(LcfReader events, std::vector<CommonEvent>& out) {
    events.elements([&](int id) {
        CommonEvent event{id, {}, {}};
        events.chunks([&](std::uint32_t chunk, std::string_view data) {
            if (chunk == kCommonName)
                event.name = std::string(data);
            else if (chunk == kCommonCommands)
                event.commands = checkedCommands(data, kNotADatabase);
        });
        out.push_back(std::move(event));
    });
}

}  // namespace

GameDatabase readGameDatabase(std::string_view data, DatabaseEvents* events) {
    LcfReader file(data, kNotADatabase);
    file.header("LcfDataBase");
    GameDatabase database;
    file.chunks([&](std::uint32_t chunk, std::string_view bytes) {
        if (chunk == kHeroes)
            readHeroes(file.in(bytes), database);
        else if (chunk == kSystem)
            readSystem(file.in(bytes), database);
        else if (chunk == kBattleSettings)
            readBattleSettings(file.in(bytes), database);
        else if (chunk == kTroops && events)
            readTroops(file.in(bytes), events->troops);
        else if (chunk == kCommonEvents && events)
            readCommonEvents(file.in(bytes), events->commonEvents);
    });
    return database;
}

}  // namespace zeilwerk
