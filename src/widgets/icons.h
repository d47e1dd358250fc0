#pragma once

#include <QIcon>

namespace zeilwerk {

// Our own button pictures, drawn at 22 × 22 pixels.
QIcon crossIcon();          // red cross: reset
QIcon checkIcon();          // green check mark: apply
QIcon infoIcon();           // blue disc with a white i: about
QIcon envelopeIcon();       // envelope holding a letter: send to the Maker
// The toolbar's pictures; withChip adds the small memory chip of the variable forms.
QIcon paintPotIcon(bool withChip);
QIcon stopwatchIcon(bool withChip);
QIcon identityCardIcon(bool withChip);
QIcon memoryChipIcon();
QIcon enterKeyIcon();
QIcon arrowDownIcon();
// A sheet with lines aligned left (0), centred (1) or right (2).
QIcon alignmentIcon(int alignment);

}  // namespace zeilwerk
