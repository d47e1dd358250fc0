#pragma once

#include "look/game_glyphs.h"

#include <QImage>

#include <array>

namespace zeilwerk {

// Our own 52 symbols, for games that bring none.
std::array<GlyphMask, 52> ownSymbols();
// A System graphic of our own, for games whose graphic is missing.
QImage ownSystemGraphic();

}  // namespace zeilwerk
