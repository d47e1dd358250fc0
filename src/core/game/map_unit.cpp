#include "core/game/map_unit.h"

#include "core/game/lcf_reader.h"

namespace zeilwerk {
namespace {

// The chunk IDs we read, as public descriptions of the LCF format give them.
constexpr std::uint32_t kMapEvents = 0x51;     // a map's array of events
constexpr std::uint32_t kEventName = 0x01;     // an event's name
constexpr std::uint32_t kEventPages = 0x05;    // an event's array of pages
constexpr std::uint32_t kPageCommands = 0x34;  // a page's command list

constexpr const char* kNotAMap = "Die Datei ist keine Karte des Makers oder beschädigt.";

}  // namespace

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

}  // namespace zeilwerk
