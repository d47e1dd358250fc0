#include "look/picture_file.h"

#include "core/platform/error.h"
#include "platform/paths.h"

#include <QBuffer>
#include <QFile>
#include <QImageReader>

#include <algorithm>
#include <cstring>
#include <optional>
#include <vector>

namespace zeilwerk {
namespace {

// A file this large is no picture of a 320 × 80 box: the largest one allowed, uncompressed
// at 32 bits, and room for its headers.
constexpr qint64 kMaxPictureFileSize = kMaxPicturePixels * 4 + (1 << 20);

[[noreturn]] void notValid() {
    throw Error("Bitmap image is not valid");
}

QString pathText(const std::filesystem::path& path) {
    return textFromPath(path);
}

std::uint32_t le32(const QByteArray& d, int at) {
    const auto b = [&](int i) { return std::uint32_t(static_cast<unsigned char>(d[at + i])); };
    return b(0) | b(1) << 8 | b(2) << 16 | b(3) << 24;
}

std::uint16_t le16(const QByteArray& d, int at) {
    return static_cast<std::uint16_t>(static_cast<unsigned char>(d[at]) | static_cast<unsigned char>(d[at + 1]) << 8);
}

struct BitmapHeader {
    qint64 pixelsAt = 0;
    std::uint32_t infoSize = 0;
    qint64 width = 0;
    qint64 height = 0;  // as the picture stands
    bool topDown = false;
    std::uint32_t bits = 0;
    std::uint32_t compression = 0;
    std::uint32_t imageSize = 0;
    std::uint32_t colours = 0;

    enum { Plain = 0, Rle8 = 1, Rle4 = 2, BitFields = 3, AlphaBitFields = 6 };
    qint64 rowBytes() const { return (width * bits + 31) / 32 * 4; }
};

BitmapHeader parseBitmapHeader(const QByteArray& data) {
    constexpr int fileHeader = 14;
    if (data.size() < fileHeader + 16 || !data.startsWith("BM"))
        notValid();
    BitmapHeader h;
    h.pixelsAt = le32(data, 10);
    h.infoSize = le32(data, fileHeader);
    if (h.infoSize == 12) {  // the old OS/2 header
        h.width = le16(data, fileHeader + 4);
        h.height = le16(data, fileHeader + 6);
        h.bits = le16(data, fileHeader + 10);
    } else {
        if (h.infoSize < 40 || data.size() < fileHeader + 40)
            notValid();
        h.width = static_cast<std::int32_t>(le32(data, fileHeader + 4));
        h.height = static_cast<std::int32_t>(le32(data, fileHeader + 8));
        h.bits = le16(data, fileHeader + 14);
        h.compression = le32(data, fileHeader + 16);
        h.imageSize = le32(data, fileHeader + 20);
        h.colours = le32(data, fileHeader + 32);
    }
    h.topDown = h.height < 0;
    h.width = std::abs(h.width);
    h.height = std::abs(h.height);
    return h;
}

// A bitmap must hold all the pixel data its header declares: a file cut short would
// otherwise load as a picture that is partly empty. Checked before decoding, from the
// header bytes and the file's size.
BitmapHeader checkBitmapHeader(const QByteArray& data, qint64 fileSize) {
    const BitmapHeader h = parseBitmapHeader(data);
    if (h.width == 0 || h.height == 0 || h.width * h.height > kMaxPicturePixels)
        notValid();
    qint64 needed = 0;
    if (h.compression == BitmapHeader::Plain || h.compression == BitmapHeader::BitFields ||
        h.compression == BitmapHeader::AlphaBitFields)
        needed = h.rowBytes() * h.height;
    else if (h.compression == BitmapHeader::Rle8 || h.compression == BitmapHeader::Rle4)
        needed = h.imageSize;  // the compressed data's own length, when the header gives it
    if (h.pixelsAt + needed > fileSize)
        notValid();
    return h;
}

// Which source pixel Qt's nearest-pixel scaling takes for each target pixel along one
// axis, asked of Qt itself on a line of numbered pixels.
std::vector<int> scalingPicks(int source, int target) {
    QImage numbered(source, 1, QImage::Format_RGB32);
    auto* row = reinterpret_cast<QRgb*>(numbered.scanLine(0));
    for (int i = 0; i < source; ++i)
        row[i] = 0xFF000000u | static_cast<QRgb>(i);
    const QImage picked = numbered.scaled(target, 1, Qt::IgnoreAspectRatio, Qt::FastTransformation);
    std::vector<int> picks(static_cast<size_t>(target));
    for (int i = 0; i < target; ++i)
        picks[static_cast<size_t>(i)] = static_cast<int>(picked.pixel(i, 0) & 0xFFFFFF);
    return picks;
}

// Which source pixel the 2x enlargement takes for each target pixel along one axis.
std::vector<int> enlargingPicks(int source, int target) {
    std::vector<int> picks(static_cast<size_t>(target));
    for (int i = 0; i < target; ++i)
        picks[static_cast<size_t>(i)] = static_cast<int>(std::int64_t(i) * source / target);
    return picks;
}

// Collects the samples row by row, so a picture can be sampled while it is read.
class Sampler {
public:
    Sampler(QSize size, QSize layer)
        : m_size(size),
          m_shownColumns(scalingPicks(size.width(), layer.width())),
          m_shownRows(scalingPicks(size.height(), layer.height())),
          m_doubledColumns(enlargingPicks(size.width(), 2 * layer.width())),
          m_doubledRows(enlargingPicks(size.height(), 2 * layer.height())) {
        m_samples.size = size;
        m_samples.corner = QImage(size.boundedTo(layer + QSize(1, 1)), QImage::Format_RGB32);
        m_samples.shown = QImage(layer, QImage::Format_RGB32);
        m_samples.doubled = QImage(layer * 2, QImage::Format_RGB32);
    }

    // Whether row y of the picture is read at all.
    bool needs(int y) const {
        const auto in = [y](const std::vector<int>& rows) { return std::binary_search(rows.begin(), rows.end(), y); };
        return y < m_samples.corner.height() || y == m_size.height() - 1 || in(m_shownRows) || in(m_doubledRows);
    }

    void take(int y, const QRgb* row) {
        if (y < m_samples.corner.height())
            std::memcpy(m_samples.corner.scanLine(y), row, static_cast<size_t>(m_samples.corner.width()) * sizeof(QRgb));
        if (y == m_size.height() - 1)
            m_samples.bottomLeft = row[0];
        pick(m_samples.shown, m_shownRows, m_shownColumns, y, row);
        pick(m_samples.doubled, m_doubledRows, m_doubledColumns, y, row);
    }

    PictureSamples result() && { return std::move(m_samples); }

private:
    static void pick(QImage& target, const std::vector<int>& rows, const std::vector<int>& columns, int y,
                     const QRgb* row) {
        const auto [first, last] = std::equal_range(rows.begin(), rows.end(), y);
        for (auto it = first; it != last; ++it) {
            auto* to = reinterpret_cast<QRgb*>(target.scanLine(static_cast<int>(it - rows.begin())));
            for (size_t x = 0; x < columns.size(); ++x)
                to[x] = row[columns[x]];
        }
    }

    QSize m_size;
    std::vector<int> m_shownColumns, m_shownRows, m_doubledColumns, m_doubledRows;
    PictureSamples m_samples;
};

// Samples an uncompressed bitmap of 8 (with a full palette), 24 or 32 bits while reading
// it row by row, so the whole picture is never in memory; nothing for other kinds.
std::optional<PictureSamples> streamBitmapSamples(QIODevice& file, const BitmapHeader& h, QSize layer) {
    if (h.infoSize < 40 || h.compression != BitmapHeader::Plain || (h.bits != 8 && h.bits != 24 && h.bits != 32))
        return std::nullopt;
    std::vector<QRgb> palette;
    if (h.bits == 8) {
        if (h.colours != 0 && h.colours != 256)
            return std::nullopt;  // a short palette: Qt's own reading decides what lies beyond it
        if (!file.seek(14 + h.infoSize))
            notValid();
        const QByteArray table = file.read(256 * 4);
        if (table.size() != 256 * 4)
            notValid();
        for (int i = 0; i < 256; ++i)
            palette.push_back(qRgb(static_cast<unsigned char>(table[4 * i + 2]),
                                   static_cast<unsigned char>(table[4 * i + 1]),
                                   static_cast<unsigned char>(table[4 * i])));
    }
    const QSize size(static_cast<int>(h.width), static_cast<int>(h.height));
    Sampler sampler(size, layer);
    std::vector<QRgb> row(static_cast<size_t>(size.width()));
    QByteArray bytes;
    for (int y = 0; y < size.height(); ++y) {
        if (!sampler.needs(y))
            continue;
        const qint64 stored = h.topDown ? y : size.height() - 1 - y;
        if (!file.seek(h.pixelsAt + stored * h.rowBytes()))
            notValid();
        bytes = file.read(h.rowBytes());
        if (bytes.size() != h.rowBytes())
            notValid();
        const auto* b = reinterpret_cast<const unsigned char*>(bytes.constData());
        const size_t step = h.bits / 8;
        for (size_t x = 0; x < row.size(); ++x) {
            const unsigned char* p = b + x * step;
            row[x] = h.bits == 8 ? palette[p[0]] : qRgb(p[2], p[1], p[0]);
        }
        sampler.take(y, row.data());
    }
    return std::move(sampler).result();
}

}  // namespace

namespace {

QImage decodeAsStored(QIODevice& device, const char* format) {
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
    return image;
}

}  // namespace

QImage decodePicture(QIODevice& device, const char* format) {
    return decodeAsStored(device, format).convertToFormat(QImage::Format_RGB32);
}

QImage decodePicture(const QByteArray& data, const char* format) {
    QBuffer buffer;
    buffer.setData(data);
    buffer.open(QIODevice::ReadOnly);
    return decodePicture(buffer, format);
}

namespace {

// Opens a picture file for reading. Only a regular file is opened: a FIFO named like a
// picture would block the program.
void openPicture(QFile& file, const std::filesystem::path& path) {
    std::error_code error;
    const std::filesystem::file_status status = std::filesystem::status(path, error);
    if (!error && std::filesystem::exists(status) && !std::filesystem::is_regular_file(status))
        notValid();
    if (!file.open(QIODevice::ReadOnly))
        throw Error(QStringLiteral("Cannot open file \"%1\". %2").arg(pathText(path), file.errorString()).toStdString());
    if (file.size() > kMaxPictureFileSize)
        notValid();
}

QImage readImage(const std::filesystem::path& path, const char* format) {
    QFile file(pathText(path));
    openPicture(file, path);
    // Read from the file itself: a copy of its bytes would cost as much as the picture.
    return decodePicture(file, format);
}

QByteArray pictureKind(const std::filesystem::path& path) {
    QString extension = textFromPath(path.extension());
    if (!extension.isEmpty())
        extension.remove(0, 1);
    const QByteArray kind = extension.toLower().toUtf8();
    if (kind.isEmpty() || !QImageReader::supportedImageFormats().contains(kind))
        throw Error("Unknown picture file extension (." + extension.toStdString() + ")");
    return kind;
}

}  // namespace

QImage readBitmap(const std::filesystem::path& path) {
    return readImage(path, "bmp");
}

QImage readPictureAsStored(const std::filesystem::path& path) {
    const QByteArray kind = pictureKind(path);
    QFile file(pathText(path));
    openPicture(file, path);
    return decodeAsStored(file, kind.constData());
}

PictureSamples samplesOf(const QImage& picture, QSize layer) {
    Sampler sampler(picture.size(), layer);
    for (int y = 0; y < picture.height(); ++y)
        if (sampler.needs(y))
            sampler.take(y, reinterpret_cast<const QRgb*>(picture.constScanLine(y)));
    return std::move(sampler).result();
}

TextBoxPicture readTextBoxPicture(const std::filesystem::path& path, QSize layer) {
    const QByteArray kind = pictureKind(path);
    QFile file(pathText(path));
    openPicture(file, path);
    if (kind == "bmp") {
        const BitmapHeader header = checkBitmapHeader(file.peek(64), file.size());
        if (header.width * header.height > kKeepWholePixels)
            if (std::optional<PictureSamples> samples = streamBitmapSamples(file, header, layer))
                return std::move(*samples);
        file.seek(0);
    }
    QImage picture = decodePicture(file, kind.constData());
    if (qint64(picture.width()) * picture.height() > kKeepWholePixels)
        return samplesOf(picture, layer);
    return picture;
}

}  // namespace zeilwerk
