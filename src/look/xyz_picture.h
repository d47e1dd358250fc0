#pragma once

#include <QByteArray>
#include <QImage>

namespace zeilwerk {

// Decodes the Maker's own picture format XYZ: "XYZ1", width and height (16 bits each,
// little-endian), then a zlib stream of a 256-colour palette (RGB) and one palette index per
// pixel. The result is an 8-bit palette picture; throws "Bitmap image is not valid" for
// anything else, including a stream of the wrong size.
QImage decodeXyz(const QByteArray& data);

}  // namespace zeilwerk
