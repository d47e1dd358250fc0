#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace zeilwerk {

// Every name the maker gave in the database, bytes in the game's code page: heroes and their
// titles, classes, skills, items, monsters, troops, attributes, states, the terms, switches,
// variables and common events. The spelling check takes their words as the game's own.
// Throws Error("RPG_RT.ldb ist keine Datenbank des Makers.") when the file is none; an array
// damaged inside gives the names before the damage.
std::vector<std::string> readDatabaseNames(std::string_view data);

}  // namespace zeilwerk
