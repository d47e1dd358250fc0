#include "core/game/bitmap_font.h"
#include "core/game/game_fonts.h"
#include "core/game/pe_resources.h"

#include "core/platform/error.h"
#include "font_fixture.h"
#include "temp_dir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

namespace zeilwerk {
namespace {

namespace fs = std::filesystem;
using test::TempDir;
using test::writeFile;

using test::peFile;

// Glyphs as rows of '#' (ink) and '.', the first one for code `first`.
using Picture = std::vector<std::string>;

// A font of these glyph pictures, the first one for code `first`.
std::string fntFile(unsigned version, const std::string& face, int height, unsigned first,
                    const std::vector<Picture>& glyphs, unsigned defaultChar = 0, unsigned charset = 0) {
    const auto picture = [&](int code) -> const Picture& { return glyphs[std::size_t(code) - first]; };
    return test::fntFile(
        version, face, height, int(first), int(first + glyphs.size()) - 1,
        [&](int code) { return picture(code).empty() ? 0 : int(picture(code)[0].size()); },
        [&](int code, int x, int y) { return picture(code)[std::size_t(y)][std::size_t(x)] == '#'; }, defaultChar,
        charset);
}

using test::dibFile;
using test::neFile;

const std::vector<Picture> kGlyphs = {
    {"#.......#", "##.....##", "#.#...#.#", "#..#.#..#", "#...#...#", "#.......#"},
    {"...", ".#.", "###", ".#.", "...", "..."},
    {},
};

class FntRoundTrip : public testing::TestWithParam<std::tuple<unsigned, bool>> {};

TEST_P(FntRoundTrip, GlyphBitsComeBack) {
    const auto [version, inExecutable] = GetParam();
    const std::string fnt = fntFile(version, "Zeilwerk Probe", 6, 'A', kGlyphs, 1);
    const std::vector<BitmapFont> fonts = readFon(inExecutable ? neFile({fnt, fnt}) : fnt);
    ASSERT_EQ(fonts.size(), inExecutable ? 2u : 1u);
    const BitmapFont& font = fonts.back();
    EXPECT_EQ(font.family, "Zeilwerk Probe");
    EXPECT_EQ(font.pixelHeight, 6);
    ASSERT_EQ(font.glyphs.size(), kGlyphs.size());
    for (std::size_t i = 0; i < kGlyphs.size(); ++i) {
        const BitmapGlyph* glyph = font.glyph('A' + unsigned(i));
        ASSERT_NE(glyph, nullptr);
        ASSERT_EQ(glyph->width, kGlyphs[i].empty() ? 0 : int(kGlyphs[i][0].size()));
        ASSERT_EQ(glyph->height, 6);
        for (int y = 0; y < 6; ++y)
            for (int x = 0; x < glyph->width; ++x)
                EXPECT_EQ(glyph->at(x, y), kGlyphs[i][y][x] == '#') << "glyph " << i << " at " << x << "," << y;
    }
    EXPECT_EQ(font.glyph('z'), font.glyph('B'));  // the default character stands in
}

INSTANTIATE_TEST_SUITE_P(Versions, FntRoundTrip,
                         testing::Combine(testing::Values(0x200u, 0x300u), testing::Bool()));

struct Damage {
    const char* name;
    std::string bytes;
};

class DamagedFont : public testing::TestWithParam<Damage> {};

TEST_P(DamagedFont, IsRefusedWithError) {
    EXPECT_THROW(readFon(GetParam().bytes), Error);
}

std::string withByte(std::string bytes, std::size_t at, char value) {
    bytes[at] = value;
    return bytes;
}

const std::string kFnt = fntFile(0x300, "Probe", 6, 'A', kGlyphs);
const std::string kFon = neFile({kFnt});

INSTANTIATE_TEST_SUITE_P(Rows, DamagedFont, testing::Values(
    Damage{"Empty", ""},
    Damage{"HeaderCut", kFnt.substr(0, 100)},
    Damage{"GlyphsCut", kFnt.substr(0, kFnt.size() - 3)},
    Damage{"Vector", withByte(kFnt, 66, 1)},
    Damage{"TooHighGlyphs", withByte(kFnt, 88, 65)},
    Damage{"TooWideGlyph", withByte(kFnt, 149, 1)},
    Damage{"LastBeforeFirst", withByte(kFnt, 96, 'A' - 1)},
    Damage{"NeCut", kFon.substr(0, 0xA0)},
    Damage{"NeNoFonts", neFile({})},
    Damage{"NeResourcePastEnd", withByte(kFon, 0x80 + 2 + 8 + 12 + 8 + 1, 0x7F)},
    Damage{"NotAFont", std::string("PK\3\4 no font here")}),
    [](const auto& info) { return std::string(info.param.name); });

struct WineFont {
    const char* file;
    const char* family;
};

class WineFonts : public testing::TestWithParam<WineFont> {};

TEST_P(WineFonts, ReadWithFamilyAndInk) {
    const fs::path path = fs::path("/usr/share/wine/fonts") / GetParam().file;
    if (!fs::exists(path))
        GTEST_SKIP() << path << " is not installed (fonts-wine)";
    const std::vector<BitmapFont> fonts = readFon(test::readFile(path));
    ASSERT_FALSE(fonts.empty());
    for (const BitmapFont& font : fonts) {
        EXPECT_EQ(font.family, GetParam().family);
        EXPECT_FALSE(font.unicode);
        ASSERT_GT(font.glyphs.size(), 90u);
        const BitmapGlyph* a = font.glyph('A');
        ASSERT_NE(a, nullptr);
        EXPECT_EQ(a->height, font.pixelHeight);
        EXPECT_NE(std::count(a->ink.begin(), a->ink.end(), 1), 0);
    }
}

INSTANTIATE_TEST_SUITE_P(Files, WineFonts, testing::Values(
    WineFont{"smalle.fon", "Small Fonts"}, WineFont{"sserife.fon", "MS Sans Serif"},
    WineFont{"coure.fon", "Courier"}, WineFont{"jsmalle.fon", "Small Fonts"}));

const fs::path kShinonome = fs::path("/usr/share/fonts/X11/misc") / kFallbackFontFile;

TEST(Pcf, ShinonomeHasSixPixelWideLatinGlyphs) {
    if (!fs::exists(kShinonome))
        GTEST_SKIP() << kShinonome << " is not installed (xfonts-shinonome)";
    const std::string packed = test::readFile(kShinonome);
    const BitmapFont font = readPcf(packed);
    EXPECT_TRUE(font.unicode);
    EXPECT_EQ(font.pixelHeight, 12);
    for (char32_t code = 'A'; code <= 'z'; ++code) {
        const BitmapGlyph* glyph = font.glyph(code);
        ASSERT_NE(glyph, nullptr) << unsigned(code);
        EXPECT_EQ(glyph->width, 6);
        EXPECT_EQ(glyph->height, 12);
    }
    EXPECT_NE(std::count(font.glyph('A')->ink.begin(), font.glyph('A')->ink.end(), 1), 0);
    // Every cut of the packed file is refused, never read past its end.
    for (std::size_t length : {std::size_t(0), std::size_t(10), packed.size() / 2, packed.size() - 9})
        EXPECT_THROW(readPcf(packed.substr(0, length)), Error) << length;
}

// A 4 × 1 DIB of 8 bits with a palette of two colours.
std::string smallDib() {
    return dibFile(4, 1, [](int x, int) { return x == 0; });
}

TEST(PeBitmap, NamedBitmapIsFoundAndBecomesBmpFile) {
    const std::string dib = smallDib(), other = smallDib() + "x";
    const std::string exe = peFile({{u"SYSTEM", other}, {u"TxtBox", dib}});
    EXPECT_EQ(readPeBitmap(exe, u"txtbox"), dib);
    EXPECT_EQ(readPeBitmap(exe, u"System"), other);
    EXPECT_EQ(readPeBitmap(exe, u"TXTBO"), std::nullopt);
    EXPECT_EQ(readPeBitmap("MZ not really", u"TXTBOX"), std::nullopt);
    EXPECT_THROW(readPeBitmap(exe.substr(0, exe.size() - 8), u"TXTBOX"), Error);

    EXPECT_EQ(readPeFileVersion(exe), std::nullopt);  // no version resource

    const std::string bmp = bitmapFileFromDib(dib);
    EXPECT_EQ(bmp.substr(0, 2), "BM");
    EXPECT_EQ(std::uint8_t(bmp[2]), 14 + dib.size());
    EXPECT_EQ(std::uint8_t(bmp[10]), 14 + 40 + 2 * 4);  // header, two palette entries
    EXPECT_EQ(bmp.substr(14), dib);
    EXPECT_THROW(bitmapFileFromDib(dib.substr(0, 20)), Error);
}

struct Placement {
    const char* name;
    bool inGame, inGameFonts, inWindows, inSystem;
    FontSource expected;
    int height;
};

class FontSearch : public testing::TestWithParam<Placement> {};

TEST_P(FontSearch, FirstPlaceWinsAndDamagedFilesAreNoted) {
    const Placement& row = GetParam();
    TempDir dir;
    for (const char* folder : {"game/FONTS", "windows", "system/deep/er"})
        fs::create_directories(dir / folder);
    // Named otherwise than the family: the family inside the file counts.
    const auto font = [](int height) {
        return neFile({fntFile(0x200, "RPG Probe", height, 'A', {{}}), fntFile(0x300, "Other", 12, 'A', {{}})});
    };
    if (row.inGame)
        writeFile(dir / "game/probe.FON", font(10));
    if (row.inGameFonts)
        writeFile(dir / "game/FONTS/x.fnt", fntFile(0x300, "rpg probe", 11, 'A', {{}}));
    if (row.inWindows) {
        writeFile(dir / "windows/w.fon", neFile({fntFile(0x200, "RPG Probe", 16, 'A', {{}}),
                                                 fntFile(0x200, "RPG Probe", 13, 'A', {{}})}));
        // Of the best height, but Japanese: the ANSI one wins.
        writeFile(dir / "windows/a.fon", neFile({fntFile(0x200, "RPG Probe", 12, 'A', {{}}, 0, 128)}));
    }
    if (row.inSystem)
        writeFile(dir / "system/deep/er/s.fon", font(14));
    writeFile(dir / "game/broken.fon", kFon.substr(0, 0x90));
    writeFile(dir / "game/readme.txt", font(12));

    FontPlaces places{{dir / "windows"}, {dir / "system"}, kShinonome};
    std::vector<std::string> notes;
    const auto found = findBitmapFont(dir / "game", "RPG PROBE", places, &notes);
    if (row.expected == FontSource::Fallback && !fs::exists(kShinonome)) {
        EXPECT_FALSE(found);
        return;
    }
    ASSERT_TRUE(found);
    EXPECT_EQ(found->source, row.expected);
    EXPECT_EQ(found->font.pixelHeight, row.height);
    ASSERT_EQ(notes.size(), 1u);
    EXPECT_EQ(notes[0].rfind("Schriftdatei übersprungen: " + (dir / "game" / "broken.fon").string() + " (", 0), 0u);
}

INSTANTIATE_TEST_SUITE_P(Rows, FontSearch, testing::Values(
    Placement{"GameBeatsAll", true, false, true, true, FontSource::GameFolder, 10},
    Placement{"GameFontsFolderNearerTwelve", true, true, true, true, FontSource::GameFolder, 11},
    Placement{"WindowsBeatsSystem", false, false, true, true, FontSource::WindowsFonts, 13},
    Placement{"SystemSubFolder", false, false, false, true, FontSource::SystemFonts, 14},
    Placement{"Fallback", false, false, false, false, FontSource::Fallback, 12}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(PeVersion, TheFileVersionOfTheVersionResource) {
    EXPECT_EQ(readPeFileVersion(test::peFileOfVersion(1, 1, 0, 0)), (PeVersion{1, 1, 0, 0}));
    EXPECT_EQ(readPeFileVersion(test::peFileOfVersion(1, 0, 8, 0)), (PeVersion{1, 0, 8, 0}));
    EXPECT_LT((PeVersion{1, 0, 9, 1}), (PeVersion{1, 1, 1, 0}));
    EXPECT_EQ(readPeFileVersion("MZ not really"), std::nullopt);
    std::string noSignature = test::peFileOfVersion(1, 1, 2, 0);
    noSignature[noSignature.size() - 52] = 'x';
    EXPECT_EQ(readPeFileVersion(noSignature), std::nullopt);
    const std::string exe = test::peFileOfVersion(1, 1, 2, 0);
    EXPECT_THROW(readPeFileVersion(exe.substr(0, exe.size() - 60)), Error);
}

}  // namespace
}  // namespace zeilwerk
