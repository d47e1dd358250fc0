#pragma once

#include "core/settings/settings.h"

#include <string>

namespace zeilwerk {

// A message's own options, as the Maker's "Message Options" and "Change Face Graphic" set them:
// what the game reads off its events, what the option window holds and what the preview draws.
struct MessageOptions {
    std::u16string face;  // a FaceSet's name; empty: no face
    int faceIndex = 0;    // 0 to 15
    bool faceRight = false;
    bool faceMirrored = false;
    bool transparent = false;                         // no wallpaper and frame
    int position = settings::spielPosition.number();  // 0 top, 1 middle, 2 bottom
    bool battle = false;  // a battle event's: RPG Maker 2003 draws its window opaque
};

}  // namespace zeilwerk
