#include "core/game/game_database.h"
#include "look/xyz_picture.h"

#include "game_fixture.h"

#include "core/platform/error.h"

#include <gtest/gtest.h>

#include <zlib.h>

#include <string>
#include <vector>

namespace zeilwerk {
namespace {

std::string chunk(std::uint32_t id, const std::string& data) {
    return test::lcfChunk(id, data);
}

std::string database(const std::vector<test::Hero>& heroes, const std::string& before = "") {
    return test::gameDatabase(heroes, before);
}

std::string number(std::uint32_t value) {
    return test::lcfNumber(value);
}

TEST(GameDatabase, HeroNamesByTheirIds) {
    const std::string big(300, 'x');  // a size that takes two groups
    const GameDatabase db = readGameDatabase(
        database({{1, "Alex"}, {2, "Br\xFCnhild"}, {200, "Weit"}}, chunk(0x0A, big)));
    ASSERT_EQ(db.heroNames.size(), 3u);
    EXPECT_EQ(db.heroNames.at(1), "Alex");
    EXPECT_EQ(db.heroNames.at(2), "Br\xFCnhild");
    EXPECT_EQ(db.heroNames.at(200), "Weit");
}

TEST(GameDatabase, TheSystemGraphicAndHowTheWallpaperIsLaid) {
    const GameDatabase plain = readGameDatabase(database({{1, "Alex"}}));
    EXPECT_EQ(plain.systemGraphic, "");
    EXPECT_FALSE(plain.tiledWallpaper);
    for (bool tiled : {false, true}) {
        const GameDatabase db =
            readGameDatabase(test::gameDatabase({{1, "Alex"}}, "", "Gr\xFCn", tiled));
        EXPECT_EQ(db.systemGraphic, "Gr\xFCn");
        EXPECT_EQ(db.tiledWallpaper, tiled);
        EXPECT_EQ(db.heroNames.at(1), "Alex");
    }
}

TEST(GameDatabase, TheBattleSettingsOfRpgMaker2003) {
    const struct {
        std::string after;
        bool seeThrough;
        int mode;
    } rows[] = {
        {"", false, 0},                               // RPG Maker 2000: no such chunk
        {test::battleSettings(0, 1), true, 0},
        {test::battleSettings(2, 0), false, 2},
        {test::battleSettings(1, 1), true, 1},
        {test::battleSettings(300, 7), false, 255},   // no such mode, nor transparency
    };
    for (const auto& row : rows) {
        const GameDatabase db = readGameDatabase(test::gameDatabase({{1, "Alex"}}, "", "Stil", false, row.after));
        EXPECT_EQ(db.seeThroughWindow, row.seeThrough) << row.mode;
        EXPECT_EQ(db.battleMode, row.mode);
        EXPECT_EQ(db.systemGraphic, "Stil");
    }
    const std::string whole = test::gameDatabase({{1, "Alex"}}, "", "Stil", false, test::battleSettings(0, 1));
    EXPECT_THROW(readGameDatabase(whole.substr(0, whole.size() - 3)), Error);
}

TEST(GameDatabase, WhatIsNoDatabaseOrEndsEarlyIsRefused) {
    const std::string whole = database({{1, "Alex"}});
    for (const std::string& bad : {std::string(), std::string("\x0BLcfMapUnit"), whole.substr(0, whole.size() - 12),
                                   whole.substr(0, 14), number(11) + "LcfDataBase" + "\xFF\xFF\xFF\xFF\xFF\xFF"}) {
        try {
            readGameDatabase(bad);
            ADD_FAILURE() << "accepted " << bad.size() << " bytes";
        } catch (const Error& e) {
            EXPECT_EQ(std::string(e.what()), "RPG_RT.ldb ist keine Datenbank des Makers.");
        }
    }
}

QByteArray xyz(int width, int height, const std::string& plain) {
    return test::xyzFile(width, height, plain);
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
