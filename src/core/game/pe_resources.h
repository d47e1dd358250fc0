#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace zeilwerk {

// The data of the bitmap resource (RT_BITMAP) of that name in a 32- or 64-bit Windows
// executable, first language found: a DIB (BITMAPINFOHEADER, palette, pixels). Names are
// compared ignoring ASCII letter case; "#123" names the resource with ID 123. Nothing when
// the file has no such resource or is no PE file; throws Error when its resources are damaged.
std::optional<std::string> readPeBitmap(std::string_view exe, std::u16string_view name);

// The bytes of a BMP file for a DIB: a BITMAPFILEHEADER before it, the pixel offset counted
// from the header size, the bit count and the palette. Throws Error for a damaged header.
std::string bitmapFileFromDib(std::string_view dib);

}  // namespace zeilwerk
