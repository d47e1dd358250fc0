#pragma once

#include "font_fixture.h"
#include "lcf_fixture.h"

#include "look/game_look.h"
#include "look/game_picture.h"

#include <QByteArray>
#include <QImage>

#include <zlib.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace zeilwerk::test {

// The Maker's XYZ: "XYZ1", 16-bit width and height, zlib of palette and indexes.
inline QByteArray xyzFile(int width, int height, const std::string& plain) {
    std::string packed(compressBound(static_cast<uLong>(plain.size())), '\0');
    uLongf size = static_cast<uLongf>(packed.size());
    compress(reinterpret_cast<Bytef*>(packed.data()), &size, reinterpret_cast<const Bytef*>(plain.data()),
             static_cast<uLong>(plain.size()));
    packed.resize(size);
    const std::string header = std::string("XYZ1") + char(width & 0xFF) + char(width >> 8) + char(height & 0xFF) +
                               char(height >> 8);
    return QByteArray::fromStdString(header + packed);
}

inline QByteArray xyzFile(const QImage& indexed) {
    std::string plain;
    const QList<QRgb> table = indexed.colorTable();
    for (int i = 0; i < 256; ++i) {
        const QRgb c = i < table.size() ? table[i] : 0;
        plain += char(qRed(c)), plain += char(qGreen(c)), plain += char(qBlue(c));
    }
    for (int y = 0; y < indexed.height(); ++y)
        plain.append(reinterpret_cast<const char*>(indexed.constScanLine(y)), static_cast<size_t>(indexed.width()));
    return xyzFile(indexed.width(), indexed.height(), plain);
}

// Our own System graphic, 160 × 80 with a palette, every part in colours of its own:
// the wallpaper's 8 × 8 blocks, the frame's corners and edges (its middle is index 0,
// undrawn), the shadow, and text colour n whose cell row r is systemTextColour(n, r).
struct SystemGraphic {
    static QRgb wallpaper(int x, int y) { return qRgb(40 + 40 * (x / 8), 40 + 40 * (y / 8), 200); }
    static QRgb textColour(int n, int row) { return qRgb(10 + 12 * n, row % 2 ? 250 : 150, 30); }
    static constexpr QRgb corner[4] = {0xFFFF0000, 0xFF00FF00, 0xFF0000FF, 0xFFFFFF00};  // TL TR BL BR
    static constexpr QRgb edge[4] = {0xFF800000, 0xFF008000, 0xFF000080, 0xFF808000};    // top left right bottom
    static constexpr QRgb shadow = 0xFF102030;
    static constexpr QRgb transparent = 0xFFFF00FF;  // index 0

    static QImage draw() {
        QImage picture(160, 80, QImage::Format_Indexed8);
        QList<QRgb> table{transparent};
        const auto index = [&](QRgb c) {
            qsizetype i = table.indexOf(c | 0xFF000000);
            if (i < 0) {
                table.append(c | 0xFF000000);
                i = table.size() - 1;
            }
            return static_cast<uint>(i);
        };
        picture.setColorCount(256);
        picture.fill(0);
        for (int y = 0; y < 32; ++y)
            for (int x = 0; x < 32; ++x)
                picture.setPixel(x, y, index(wallpaper(x, y)));
        for (int y = 0; y < 32; ++y)
            for (int x = 0; x < 32; ++x) {
                const bool top = y < 8, bottom = y >= 24, left = x < 8, right = x >= 24;
                QRgb c = 0;
                if ((top || bottom) && (left || right))
                    c = corner[(bottom ? 2 : 0) + (right ? 1 : 0)];
                else if (top)
                    c = edge[0];
                else if (left)
                    c = edge[1];
                else if (right)
                    c = edge[2];
                else if (bottom)
                    c = edge[3];
                picture.setPixel(32 + x, y, c ? index(c) : 0);
            }
        picture.setPixel(16, 32, index(shadow));
        for (int n = 0; n < 20; ++n)
            for (int y = 0; y < 16; ++y)
                for (int x = 0; x < 16; ++x)
                    picture.setPixel(16 * (n % 10) + x, 48 + 16 * (n / 10) + y, index(textColour(n, y)));
        table.resize(256, 0xFF000000);
        picture.setColorTable(table);
        return picture;
    }
};

inline QString qpath(const std::filesystem::path& p) {
    return QString::fromStdU16String(p.u16string());
}

inline void writeBytes(const std::filesystem::path& path, const QByteArray& bytes) {
    std::filesystem::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary).write(bytes.constData(), bytes.size());
}

// A game folder of our own: the database in one letter case, our System graphic "Stil" in
// another, as PNG, BMP or XYZ.
inline bool writeGame(const std::filesystem::path& folder, const char* format, bool tiled = false,
                      const std::vector<Hero>& heroes = {{1, "Alex"}}) {
    writeBytes(folder / "rpg_rt.LDB", QByteArray::fromStdString(gameDatabase(heroes, "", "Stil", tiled)));
    const QImage system = SystemGraphic::draw();
    const std::filesystem::path file = folder / "SYSTEM" / (std::string("sTIL.") + format);
    if (std::string(format) == "xyz") {
        writeBytes(file, xyzFile(system));
        return true;
    }
    std::filesystem::create_directories(file.parent_path());
    return system.save(qpath(file), format);
}

// A System graphic whose colour cells vary along both axes, so the pixel each glyph pixel
// takes shows; the rest as in our palette graphic.
inline QRgb cellColour(int n, int x, int y) {
    return qRgb(12 * n + 4, 16 * y + 3, 16 * x + 5);
}
inline constexpr QRgb kShadow = qRgb(24, 48, 72);
inline constexpr QRgb kArrow = qRgb(250, 10, 250);

inline QImage engineGraphic() {
    QImage system = SystemGraphic::draw().convertToFormat(QImage::Format_ARGB32);
    for (int n = 0; n < 20; ++n)
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 16; ++x)
                system.setPixel(16 * (n % 10) + x, 48 + 16 * (n / 10) + y, cellColour(n, x, y));
    system.setPixel(16, 32, kShadow);
    system.setPixel(41, 17, kArrow);
    // Index 0 stays transparent: the frame's middle, the arrow's blank.
    for (int y = 8; y < 24; ++y)
        for (int x = 40; x < 56; ++x)
            if (!(x == 41 && y == 17))
                system.setPixel(x, y, 0);
    return system;
}

// Our font: "H" as in the Maker's fonts (blank first row), "\" a diagonal, "ß" a bar down to
// the 13th row, every other character a block of 5 × 11 from the second row.
inline bool testInk(int code, int x, int y) {
    if (code == ' ')
        return false;
    if (code == 0xDF)
        return x == 0 && y >= 1 && y <= 12;
    if (code == 'H')
        return y >= 1 && y <= 11 && (x == 0 || x == 4 || (y == 6 && x < 5));
    if (code == '\\')
        return y >= 1 && y <= 11 && x == (y - 1) / 2;
    return x < 5 && y >= 1 && y <= 11;
}

// A game for the engine's look: our graphics, and our font "RMG2000" in a file named otherwise.
inline bool writeEngineGame(const std::filesystem::path& game, const std::vector<Hero>& heroes = {{1, "Alex"}}) {
    if (!writeGame(game, "png", false, heroes) || !engineGraphic().save(qpath(game / "SYSTEM" / "sTIL.png"), "png"))
        return false;
    writeBytes(game / "spielschrift.fon", QByteArray::fromStdString(fonFile(fntFile("RMG2000", 13, testInk))));
    return true;
}

// The colour a glyph pixel (gx, gy) of colour n takes in the engine's look.
inline QRgb glyphColour(int n, int gx, int gy) {
    return engineColour(cellColour(n, 2 + gx, 4 + gy)) | 0xFF000000;
}

inline QRgb faceColour(int i) {
    return engineColour(qRgb(40 + 12 * i, 200, 80)) | 0xFF000000;
}
inline const QRgb kFaceEdge = engineColour(qRgb(255, 255, 0)) | 0xFF000000;   // each face's left column
inline const QRgb kPicture = engineColour(qRgb(0, 160, 255)) | 0xFF000000;

// Our FaceSet: face i in its own colour, its left column marked, its top-left pixel index 0.
inline QImage faceSet() {
    QImage set(192, 192, QImage::Format_Indexed8);
    QList<QRgb> table{qRgb(255, 0, 255), qRgb(255, 255, 0)};
    for (int i = 0; i < 16; ++i)
        table.append(qRgb(40 + 12 * i, 200, 80));
    set.setColorTable(table);
    for (int y = 0; y < 192; ++y)
        for (int x = 0; x < 192; ++x) {
            const int i = (y / 48) * 4 + x / 48;
            set.setPixel(x, y, x % 48 == 0 ? (y % 48 == 0 ? 0 : 1) : static_cast<uint>(2 + i));
        }
    return set;
}

}  // namespace zeilwerk::test
