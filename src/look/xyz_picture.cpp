#include "look/xyz_picture.h"

#include "core/platform/error.h"
#include "look/picture_file.h"

#include <zlib.h>

#include <vector>

namespace zeilwerk {

QImage decodeXyz(const QByteArray& data) {
    const auto fail = [] { throw Error("Bitmap image is not valid"); };
    if (data.size() < 8 || !data.startsWith("XYZ1"))
        fail();
    const auto u16 = [&](int at) {
        return static_cast<int>(static_cast<unsigned char>(data[at]) | static_cast<unsigned char>(data[at + 1]) << 8);
    };
    const int width = u16(4);
    const int height = u16(6);
    if (width == 0 || height == 0 || qint64(width) * height > kMaxPicturePixels)
        fail();
    // Inflated into exactly the room the header promises, plus one byte to notice more.
    const size_t expected = 768 + static_cast<size_t>(width) * static_cast<size_t>(height);
    std::vector<unsigned char> plain(expected + 1);
    z_stream stream{};
    if (inflateInit(&stream) != Z_OK)
        fail();
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.constData() + 8));
    stream.avail_in = static_cast<uInt>(data.size() - 8);
    stream.next_out = plain.data();
    stream.avail_out = static_cast<uInt>(plain.size());
    const int status = inflate(&stream, Z_FINISH);
    const size_t produced = plain.size() - stream.avail_out;
    inflateEnd(&stream);
    if (status != Z_STREAM_END || produced != expected)
        fail();

    QImage picture(width, height, QImage::Format_Indexed8);
    QList<QRgb> palette(256);
    for (int i = 0; i < 256; ++i)
        palette[i] = qRgb(plain[3 * i], plain[3 * i + 1], plain[3 * i + 2]);
    picture.setColorTable(palette);
    for (int y = 0; y < height; ++y)
        std::copy_n(plain.data() + 768 + static_cast<size_t>(y) * width, width, picture.scanLine(y));
    return picture;
}

}  // namespace zeilwerk
