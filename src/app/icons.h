#pragma once

#include <QIcon>

namespace zeilwerk {

// Our own button pictures, drawn at 22 × 22 pixels.
QIcon crossIcon();          // red cross: reset
QIcon checkIcon();          // green check mark: apply
QIcon infoIcon();           // blue disc with a white i: about
QIcon envelopeIcon();       // envelope holding a letter: send to the Maker
// A sheet with lines aligned left (0), centred (1) or right (2).
QIcon alignmentIcon(int alignment);

}  // namespace zeilwerk
