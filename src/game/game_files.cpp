#include "game/game_files.h"

#include "platform/error.h"
#include "preview/picture_file.h"

#include <zlib.h>

#include <string_view>
#include <vector>

namespace zeilwerk {
namespace {

[[noreturn]] void notADatabase() {
    throw Error("RPG_RT.ldb ist keine Datenbank des Makers.");
}

// The bytes of an LCF file, read front to back; every read past the end is an error.
class LcfReader {
public:
    LcfReader(const char* data, size_t size) : m_p(reinterpret_cast<const unsigned char*>(data)), m_end(m_p + size) {}

    bool atEnd() const { return m_p == m_end; }

    // A number in 7-bit groups, most significant first; a set high bit means more follows.
    std::uint32_t number() {
        std::uint64_t value = 0;
        for (int i = 0; i < 5; ++i) {
            if (m_p == m_end)
                notADatabase();
            const unsigned char byte = *m_p++;
            value = value << 7 | (byte & 0x7F);
            if (!(byte & 0x80))
                return value > 0xFFFFFFFFu ? (notADatabase(), 0u) : static_cast<std::uint32_t>(value);
        }
        notADatabase();
    }

    std::string_view bytes(std::uint32_t count) {
        if (count > static_cast<size_t>(m_end - m_p))
            notADatabase();
        const std::string_view out(reinterpret_cast<const char*>(m_p), count);
        m_p += count;
        return out;
    }

    // The data of the next chunk: its ID, then its size, then that many bytes.
    LcfReader chunk(std::uint32_t& id) {
        id = number();
        const std::string_view data = bytes(number());
        return LcfReader(data.data(), data.size());
    }

private:
    const unsigned char* m_p;
    const unsigned char* m_end;
};

constexpr std::uint32_t kHeroes = 0x0B;
constexpr std::uint32_t kHeroName = 0x01;
constexpr std::uint32_t kSystem = 0x16;
constexpr std::uint32_t kSystemGraphic = 0x13;
constexpr std::uint32_t kWallpaper = 0x47;  // 0 stretched, 1 tiled
constexpr std::uint32_t kFontSlot = 0x48;   // 0 the Gothic slot, 1 the Mincho slot

// Fields as chunks up to a 0: ID, size, data; hands each to take(id, reader of its data).
template <typename Take>
void readFields(LcfReader& fields, Take take) {
    while (!fields.atEnd()) {
        const std::uint32_t field = fields.number();
        if (field == 0)
            break;
        const std::string_view value = fields.bytes(fields.number());
        take(field, value);
    }
}

void readHeroes(LcfReader heroes, GameDatabase& database) {
    const std::uint32_t count = heroes.number();
    for (std::uint32_t i = 0; i < count; ++i) {
        const auto id = static_cast<int>(heroes.number());
        readFields(heroes, [&](std::uint32_t field, std::string_view value) {
            if (field == kHeroName)
                database.heroNames[id] = std::string(value);
        });
    }
}

void readSystem(LcfReader system, GameDatabase& database) {
    readFields(system, [&](std::uint32_t field, std::string_view value) {
        if (field == kSystemGraphic) {
            database.systemGraphic = std::string(value);
        } else if (field == kWallpaper) {
            LcfReader number(value.data(), value.size());
            database.tiledWallpaper = number.number() == 1;
        } else if (field == kFontSlot) {
            LcfReader number(value.data(), value.size());
            database.fontSlot = number.number() == 1 ? 1 : 0;
        }
    });
}

}  // namespace

GameDatabase readGameDatabase(const QByteArray& data) {
    LcfReader file(data.constData(), static_cast<size_t>(data.size()));
    constexpr std::string_view kMagic = "LcfDataBase";
    if (file.number() != kMagic.size() || file.bytes(static_cast<std::uint32_t>(kMagic.size())) != kMagic)
        notADatabase();
    GameDatabase database;
    while (!file.atEnd()) {
        std::uint32_t id = 0;
        LcfReader chunk = file.chunk(id);
        if (id == kHeroes)
            readHeroes(chunk, database);
        else if (id == kSystem)
            readSystem(chunk, database);
    }
    return database;
}

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
