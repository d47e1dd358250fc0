#pragma once

#include <compare>
#include <optional>
#include <string>
#include <string_view>

namespace zeilwerk {

// The data of the bitmap resource (RT_BITMAP) of that name in a 32- or 64-bit Windows
// executable, first language found: a DIB (BITMAPINFOHEADER, palette, pixels). Names are
// compared ignoring ASCII letter case; "#123" names the resource with ID 123. Nothing when
// the file has no such resource or is no PE file; throws Error when its resources are damaged.
std::optional<std::string> readPeBitmap(std::string_view exe, std::u16string_view name);

// An executable's file version, as its version resource (VS_FIXEDFILEINFO) gives it.
struct PeVersion {
    int major = 0, minor = 0, patch = 0, build = 0;
    auto operator<=>(const PeVersion&) const = default;
};

// The file version of a 32- or 64-bit Windows executable; nothing when the file is no PE file
// or has no version resource. Throws Error when its resources are damaged.
std::optional<PeVersion> readPeFileVersion(std::string_view exe);

// The bytes of a BMP file for a DIB: a BITMAPFILEHEADER before it, the pixel offset counted
// from the header size, the bit count and the palette. Throws Error for a damaged header.
std::string bitmapFileFromDib(std::string_view dib);

}  // namespace zeilwerk
