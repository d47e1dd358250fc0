#include "core/game/database_names.h"

#include "core/game/lcf_reader.h"

#include <array>
#include <cstdint>

namespace zeilwerk {
namespace {

// The database's arrays whose elements carry a name in their chunk 0x01, as the LcfDataBase
// chunk tables of the format's public descriptions list them.
constexpr std::array<std::uint32_t, 12> kNamedArrays = {
    0x0B,  // heroes (their title is chunk 0x02)
    0x0C,  // skills
    0x0D,  // items
    0x0E,  // monsters
    0x0F,  // troops
    0x11,  // attributes
    0x12,  // states
    0x17,  // switches
    0x18,  // variables
    0x19,  // common events
    0x1E,  // classes (RPG Maker 2003)
    0x10,  // terrains
};
constexpr std::uint32_t kHeroes = 0x0B;
constexpr std::uint32_t kName = 0x01;
constexpr std::uint32_t kHeroTitle = 0x02;
constexpr std::uint32_t kTerms = 0x15;  // every chunk of it is a text the game shows

constexpr const char* kNotADatabase = "RPG_RT.ldb ist keine Datenbank des Makers.";

void keep(std::vector<std::string>& out, std::string_view name) {
    if (!name.empty())
        out.emplace_back(name);
}

}  // namespace

std::vector<std::string> readDatabaseNames(std::string_view data) {
    LcfReader file(data, kNotADatabase);
    file.header("LcfDataBase");
    std::vector<std::string> names;
    file.chunks([&](std::uint32_t chunk, std::string_view bytes) {
        bool named = chunk == kTerms;
        for (const std::uint32_t id : kNamedArrays)
            named = named || id == chunk;
        if (!named)
            return;
        // The names help the spelling, nothing more: a damaged array gives those read so far.
        try {
            LcfReader part = file.in(bytes);
            if (chunk == kTerms) {
                part.chunks([&](std::uint32_t, std::string_view text) { keep(names, text); });
                return;
            }
            part.elements([&](int) {
                part.chunks([&](std::uint32_t field, std::string_view text) {
                    if (field == kName || (chunk == kHeroes && field == kHeroTitle))
                        keep(names, text);
                });
            });
        } catch (const Error&) {
            // the names before the damage stay
        }
    });
    return names;
}

}  // namespace zeilwerk
