#pragma once

#include <QByteArray>
#include <QIODevice>
#include <QImage>

#include <filesystem>

namespace zeilwerk {

// Beyond this a picture is refused before it is decoded: a few bytes of a compressed file
// could otherwise ask for hundreds of megabytes.
constexpr qint64 kMaxPicturePixels = 16 * 1024 * 1024;

// Reads a Windows bitmap; throws the system's error texts when it cannot.
QImage readBitmap(const std::filesystem::path& path);
// Reads a picture of any kind Qt knows, chosen by the file's extension.
QImage readPicture(const std::filesystem::path& path);

// Decodes a picture held in memory, format as Qt names it ("bmp", "png", ...). Throws
// "Bitmap image is not valid" for what is damaged, empty, cut short or too large.
QImage decodePicture(QIODevice& device, const char* format);
QImage decodePicture(const QByteArray& data, const char* format);

}  // namespace zeilwerk
