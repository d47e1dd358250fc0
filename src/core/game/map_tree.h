#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace zeilwerk {

struct MapTreeEntry {
    int id = 0;
    int parent = 0;
    std::string name;  // bytes in the game's code page
};

struct MapTree {
    std::vector<MapTreeEntry> entries;  // as stored; entry 0 is the game itself
    std::vector<int> order;             // the map IDs as the tree shows them
};

// RPG_RT.lmt; throws Error with a German reason when the bytes are not one.
MapTree readMapTree(std::string_view data);

}  // namespace zeilwerk
