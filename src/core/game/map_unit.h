#pragma once

#include "core/game/event_commands.h"

#include <string>
#include <string_view>
#include <vector>

namespace zeilwerk {

struct MapEvent {
    int id = 0;
    std::string name;
    std::vector<EventPage> pages;
};

// The events of a MapNNNN.lmu, every command list read through once; throws Error with a
// German reason when the bytes are not one. The command lists point into data.
std::vector<MapEvent> readMapUnit(std::string_view data);

}  // namespace zeilwerk
