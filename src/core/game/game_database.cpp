#include "core/game/game_database.h"

#include "core/game/lcf_reader.h"

namespace zeilwerk {
namespace {

constexpr std::uint32_t kHeroes = 0x0B;
constexpr std::uint32_t kHeroName = 0x01;
constexpr std::uint32_t kSystem = 0x16;
constexpr std::uint32_t kSystemGraphic = 0x13;
constexpr std::uint32_t kWallpaper = 0x47;  // 0 stretched, 1 tiled
constexpr std::uint32_t kFontSlot = 0x48;   // 0 the Gothic slot, 1 the Mincho slot

constexpr const char* kNotADatabase = "RPG_RT.ldb ist keine Datenbank des Makers.";

void readHeroes(LcfReader heroes, GameDatabase& database) {
    const std::uint32_t count = heroes.number();
    for (std::uint32_t i = 0; i < count; ++i) {
        const auto id = static_cast<int>(heroes.number());
        heroes.fields([&](std::uint32_t field, std::string_view value) {
            if (field == kHeroName)
                database.heroNames[id] = std::string(value);
        });
    }
}

void readSystem(LcfReader system, GameDatabase& database) {
    system.fields([&](std::uint32_t field, std::string_view value) {
        if (field == kSystemGraphic) {
            database.systemGraphic = std::string(value);
        } else if (field == kWallpaper) {
            database.tiledWallpaper = system.numberIn(value) == 1;
        } else if (field == kFontSlot) {
            database.fontSlot = system.numberIn(value) == 1 ? 1 : 0;
        }
    });
}

}  // namespace

GameDatabase readGameDatabase(std::string_view data) {
    LcfReader file(data, kNotADatabase);
    constexpr std::string_view kMagic = "LcfDataBase";
    if (file.number() != kMagic.size() || file.bytes(static_cast<std::uint32_t>(kMagic.size())) != kMagic)
        file.fail();
    GameDatabase database;
    while (!file.atEnd()) {
        std::uint32_t id = 0;
        LcfReader chunk = file.chunk(id);
        if (id == kHeroes)
            readHeroes(chunk, database);
        else if (id == kSystem)
            readSystem(chunk, database);
    }
    return database;
}

}  // namespace zeilwerk
