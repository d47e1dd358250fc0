#include "core/game/map_tree.h"

#include "core/game/lcf_reader.h"

namespace zeilwerk {
namespace {

// The chunk IDs we read, as public descriptions of the LCF format give them.
constexpr std::uint32_t kTreeName = 0x01;    // a map tree entry's name
constexpr std::uint32_t kTreeParent = 0x02;  // a map tree entry's parent map

constexpr const char* kNotATree = "Die Datei ist kein Kartenbaum des Makers oder beschädigt.";

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

}  // namespace zeilwerk
