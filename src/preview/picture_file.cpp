#include "preview/picture_file.h"

#include "platform/error.h"

#include <QBuffer>
#include <QFile>
#include <QImageReader>

#include <sys/stat.h>

namespace zeilwerk {
namespace {

// A file this large is no picture of a 320 × 80 box: the largest one allowed, uncompressed
// at 32 bits, and room for its headers.
constexpr qint64 kMaxPictureFileSize = kMaxPicturePixels * 4 + (1 << 20);

[[noreturn]] void notValid() {
    throw Error("Bitmap image is not valid");
}

QString pathText(const std::filesystem::path& path) {
    return QFile::decodeName(QByteArray::fromStdString(path.string()));
}

std::uint32_t le32(const QByteArray& d, int at) {
    const auto b = [&](int i) { return std::uint32_t(static_cast<unsigned char>(d[at + i])); };
    return b(0) | b(1) << 8 | b(2) << 16 | b(3) << 24;
}

std::uint16_t le16(const QByteArray& d, int at) {
    return static_cast<std::uint16_t>(static_cast<unsigned char>(d[at]) | static_cast<unsigned char>(d[at + 1]) << 8);
}

// A bitmap must hold all the pixel data its header declares: a file cut short would
// otherwise load as a picture that is partly empty. Checked before decoding, from the
// header bytes and the file's size.
void checkBitmapHeader(const QByteArray& data, qint64 fileSize) {
    constexpr int fileHeader = 14;
    if (data.size() < fileHeader + 16 || !data.startsWith("BM"))
        notValid();
    const qint64 pixelsAt = le32(data, 10);
    const std::uint32_t infoSize = le32(data, fileHeader);
    qint64 width = 0, height = 0;
    std::uint32_t bits = 0, compression = 0, imageSize = 0;
    if (infoSize == 12) {  // the old OS/2 header
        width = le16(data, fileHeader + 4);
        height = le16(data, fileHeader + 6);
        bits = le16(data, fileHeader + 10);
    } else {
        if (infoSize < 40 || data.size() < fileHeader + 40)
            notValid();
        width = static_cast<std::int32_t>(le32(data, fileHeader + 4));
        height = static_cast<std::int32_t>(le32(data, fileHeader + 8));
        bits = le16(data, fileHeader + 14);
        compression = le32(data, fileHeader + 16);
        imageSize = le32(data, fileHeader + 20);
    }
    width = std::abs(width);
    height = std::abs(height);
    if (width == 0 || height == 0 || width * height > kMaxPicturePixels)
        notValid();
    enum { Plain = 0, Rle8 = 1, Rle4 = 2, BitFields = 3, AlphaBitFields = 6 };
    qint64 needed = 0;
    if (compression == Plain || compression == BitFields || compression == AlphaBitFields)
        needed = (width * bits + 31) / 32 * 4 * height;
    else if (compression == Rle8 || compression == Rle4)
        needed = imageSize;  // the compressed data's own length, when the header gives it
    if (pixelsAt + needed > fileSize)
        notValid();
}

}  // namespace

QImage decodePicture(QIODevice& device, const char* format) {
    if (qstricmp(format, "bmp") == 0)
        checkBitmapHeader(device.peek(64), device.size());
    QImageReader reader(&device, format);
    // Every format's declared size is checked too, from its header, before any pixel is made.
    const QSize declared = reader.size();
    if (declared.isValid() && qint64(declared.width()) * declared.height() > kMaxPicturePixels)
        notValid();
    const QImage image = reader.read();
    if (image.isNull() || image.width() == 0 || image.height() == 0 ||
        qint64(image.width()) * image.height() > kMaxPicturePixels)
        notValid();
    return image.convertToFormat(QImage::Format_RGB32);
}

QImage decodePicture(const QByteArray& data, const char* format) {
    QBuffer buffer;
    buffer.setData(data);
    buffer.open(QIODevice::ReadOnly);
    return decodePicture(buffer, format);
}

namespace {

QImage readImage(const std::filesystem::path& path, const char* format) {
    // Only a regular file is opened: a FIFO named like a picture would block the program.
    struct stat st {};
    if (::stat(path.c_str(), &st) == 0 && !S_ISREG(st.st_mode))
        notValid();
    QFile file(pathText(path));
    if (!file.open(QIODevice::ReadOnly))
        throw Error(QStringLiteral("Cannot open file \"%1\". %2").arg(pathText(path), file.errorString()).toStdString());
    if (file.size() > kMaxPictureFileSize)
        notValid();
    // Read from the file itself: a copy of its bytes would cost as much as the picture.
    return decodePicture(file, format);
}

}  // namespace

QImage readBitmap(const std::filesystem::path& path) {
    return readImage(path, "bmp");
}

QImage readPicture(const std::filesystem::path& path) {
    std::string extension = path.extension().string();
    if (!extension.empty())
        extension.erase(0, 1);
    const QByteArray kind = QByteArray::fromStdString(extension).toLower();
    if (kind.isEmpty() || !QImageReader::supportedImageFormats().contains(kind))
        throw Error("Unknown picture file extension (." + extension + ")");
    return readImage(path, kind.constData());
}

}  // namespace zeilwerk
