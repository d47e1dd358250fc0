#pragma once

#include <QByteArray>
#include <QIODevice>
#include <QImage>

#include <filesystem>
#include <variant>

namespace zeilwerk {

// Beyond this a picture is refused before it is decoded: a few bytes of a compressed file
// could otherwise ask for hundreds of megabytes.
constexpr qint64 kMaxPicturePixels = 16 * 1024 * 1024;

// Beyond this a text box picture is not kept whole, only sampled.
constexpr qint64 kKeepWholePixels = 1024 * 1024;

// What the preview ever reads of a picture too large to keep whole.
struct PictureSamples {
    QSize size;       // the picture's own
    QImage corner;    // its top-left pixels, one more each way than the layer: all a pick reaches
    QImage shown;     // its pixels as nearest scaling to the layer's size takes them
    QImage doubled;   // its pixels as the enlargement to twice the layer's size takes them
    QRgb bottomLeft = 0;
};

// A text box picture: whole when small, else its samples for a layer of that size.
using TextBoxPicture = std::variant<QImage, PictureSamples>;
TextBoxPicture readTextBoxPicture(const std::filesystem::path& path, QSize layer);
PictureSamples samplesOf(const QImage& picture, QSize layer);

// Reads a Windows bitmap; throws the system's error texts when it cannot.
QImage readBitmap(const std::filesystem::path& path);

// Reads a picture of a format Qt knows by its extension, as it is stored: a palette
// picture keeps its palette and indexes. Checked as decodePicture checks.
QImage readPictureAsStored(const std::filesystem::path& path);

// Decodes a picture held in memory, format as Qt names it ("bmp", "png", ...). Throws
// "Bitmap image is not valid" for what is damaged, empty, cut short or too large.
QImage decodePicture(QIODevice& device, const char* format);
QImage decodePicture(const QByteArray& data, const char* format);

}  // namespace zeilwerk
