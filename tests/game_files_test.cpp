#include "game/game_files.h"

#include "platform/error.h"

#include <gtest/gtest.h>

#include <zlib.h>

#include <string>
#include <vector>

namespace zeilwerk {
namespace {

// Our own small writer of the database format: numbers in 7-bit groups, most significant
// first, and chunks of ID, size and data.
std::string number(std::uint32_t value) {
    std::string groups(1, static_cast<char>(value & 0x7F));
    for (value >>= 7; value; value >>= 7)
        groups.insert(groups.begin(), static_cast<char>(0x80 | (value & 0x7F)));
    return groups;
}

std::string chunk(std::uint32_t id, const std::string& data) {
    return number(id) + number(static_cast<std::uint32_t>(data.size())) + data;
}

struct Hero {
    int id;
    std::string name;
};

std::string database(const std::vector<Hero>& heroes, const std::string& before = "") {
    std::string list = number(static_cast<std::uint32_t>(heroes.size()));
    for (const Hero& h : heroes)
        list += number(static_cast<std::uint32_t>(h.id)) + chunk(0x02, "Titel") + chunk(0x01, h.name) +
                chunk(0x03, "Figur") + number(0);
    return number(11) + "LcfDataBase" + before + chunk(0x0B, list) + chunk(0x0C, "anderes");
}

TEST(GameDatabase, HeroNamesByTheirIds) {
    const std::string big(300, 'x');  // a size that takes two groups
    const GameDatabase db = readGameDatabase(QByteArray::fromStdString(
        database({{1, "Alex"}, {2, "Br\xFCnhild"}, {200, "Weit"}}, chunk(0x0A, big))));
    ASSERT_EQ(db.heroNames.size(), 3u);
    EXPECT_EQ(db.heroNames.at(1), "Alex");
    EXPECT_EQ(db.heroNames.at(2), "Br\xFCnhild");
    EXPECT_EQ(db.heroNames.at(200), "Weit");
}

TEST(GameDatabase, WhatIsNoDatabaseOrEndsEarlyIsRefused) {
    const std::string whole = database({{1, "Alex"}});
    for (const std::string& bad : {std::string(), std::string("\x0BLcfMapUnit"), whole.substr(0, whole.size() - 12),
                                   whole.substr(0, 14), number(11) + "LcfDataBase" + "\xFF\xFF\xFF\xFF\xFF\xFF"}) {
        try {
            readGameDatabase(QByteArray::fromStdString(bad));
            ADD_FAILURE() << "accepted " << bad.size() << " bytes";
        } catch (const Error& e) {
            EXPECT_EQ(std::string(e.what()), "RPG_RT.ldb ist keine Datenbank des Makers.");
        }
    }
}

QByteArray xyz(int width, int height, std::string plain) {
    std::string packed(compressBound(static_cast<uLong>(plain.size())), '\0');
    uLongf size = static_cast<uLongf>(packed.size());
    compress(reinterpret_cast<Bytef*>(packed.data()), &size, reinterpret_cast<const Bytef*>(plain.data()),
             static_cast<uLong>(plain.size()));
    packed.resize(size);
    const std::string header = std::string("XYZ1") + char(width & 0xFF) + char(width >> 8) + char(height & 0xFF) +
                               char(height >> 8);
    return QByteArray::fromStdString(header + packed);
}

TEST(Xyz, PaletteAndIndexes) {
    std::string plain(768, '\0');
    plain[3] = 10, plain[4] = 20, plain[5] = 30;    // colour 1
    plain[765] = char(255), plain[766] = 0, plain[767] = char(128);  // colour 255
    plain += std::string("\x00\x01\xFF", 3) + std::string("\x01\x01\x00", 3);
    const QImage picture = decodeXyz(xyz(3, 2, plain));
    ASSERT_EQ(picture.format(), QImage::Format_Indexed8);
    ASSERT_EQ(picture.size(), QSize(3, 2));
    EXPECT_EQ(picture.pixelIndex(0, 0), 0);
    EXPECT_EQ(picture.pixel(1, 0), qRgb(10, 20, 30));
    EXPECT_EQ(picture.pixel(2, 0), qRgb(255, 0, 128));
    EXPECT_EQ(picture.pixelIndex(2, 1), 0);
}

TEST(Xyz, AStreamOfTheWrongSizeOrAWrongHeaderIsNotValid) {
    const std::string plain(768 + 6, '\x01');
    const QByteArray good = xyz(3, 2, plain);
    for (const QByteArray& bad : {xyz(3, 2, plain + "x"), xyz(3, 2, plain.substr(0, plain.size() - 1)), xyz(0, 2, plain),
                                  good.left(good.size() - 3), QByteArray("XYZ2") + good.mid(4), good.left(7),
                                  QByteArray("XYZ1\x00\x10\x00\x10garbage", 15)}) {
        EXPECT_THROW(decodeXyz(bad), Error) << bad.size();
    }
    EXPECT_NO_THROW(decodeXyz(good));
}

}  // namespace
}  // namespace zeilwerk
