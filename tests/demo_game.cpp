// Writes a small game folder of our own for screenshots and trying the game's look by
// hand: RPG_RT.ldb with two heroes and System/Abendblau.png, drawn here.
#include "game_fixture.h"

#include <QGuiApplication>
#include <QImage>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <iostream>

namespace fs = std::filesystem;

namespace {

QRgb mix(QRgb a, QRgb b, double t) {
    const auto m = [t](int x, int y) { return static_cast<int>(std::lround(x + (y - x) * t)); };
    return qRgb(m(qRed(a), qRed(b)), m(qGreen(a), qGreen(b)), m(qBlue(a), qBlue(b)));
}

QImage abendblau() {
    QImage rgb(160, 80, QImage::Format_RGB32);
    rgb.fill(qRgb(255, 0, 255));  // the palette's first colour: undrawn
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x)
            rgb.setPixel(x, y, mix(qRgb(24, 40, 112), qRgb(8, 12, 48), y / 31.0));
    // A frame of two light lines and a dark one, its corners rounded off.
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x) {
            const int d = std::min({x, y, 31 - x, 31 - y});
            const int cx = x < 8 ? 7 - x : x > 23 ? x - 24 : -1;
            const int cy = y < 8 ? 7 - y : y > 23 ? y - 24 : -1;
            if (cx >= 0 && cy >= 0 && cx + cy > 11)
                continue;  // outside the rounded corner
            if (d == 0 || d == 2)
                rgb.setPixel(32 + x, y, qRgb(220, 226, 240));
            else if (d == 1)
                rgb.setPixel(32 + x, y, qRgb(120, 130, 170));
            else if (d == 3)
                rgb.setPixel(32 + x, y, qRgb(10, 14, 40));
        }
    rgb.setPixel(16, 32, qRgb(0, 0, 0));
    const QRgb tops[20] = {qRgb(255, 255, 255), qRgb(150, 200, 255), qRgb(255, 190, 90),  qRgb(140, 240, 140),
                           qRgb(255, 120, 120), qRgb(255, 255, 140), qRgb(200, 160, 255), qRgb(120, 240, 240),
                           qRgb(190, 190, 190), qRgb(255, 170, 220), qRgb(255, 220, 0),   qRgb(0, 200, 255),
                           qRgb(255, 90, 0),    qRgb(0, 220, 120),   qRgb(220, 0, 60),    qRgb(230, 230, 60),
                           qRgb(150, 90, 255),  qRgb(0, 180, 180),   qRgb(120, 120, 120), qRgb(255, 100, 180)};
    for (int n = 0; n < 20; ++n)
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 16; ++x)
                rgb.setPixel(16 * (n % 10) + x, 48 + 16 * (n / 10) + y, mix(tops[n], mix(tops[n], 0xFF000000, 0.45), (y / 2) / 7.0));
    // As the Maker's pictures are: at most 256 colours, the undrawn one first.
    QImage indexed(rgb.size(), QImage::Format_Indexed8);
    QList<QRgb> table{qRgb(255, 0, 255)};
    indexed.setColorCount(256);
    for (int y = 0; y < rgb.height(); ++y)
        for (int x = 0; x < rgb.width(); ++x) {
            qsizetype i = table.indexOf(rgb.pixel(x, y));
            if (i < 0) {
                table.append(rgb.pixel(x, y));
                i = table.size() - 1;
            }
            indexed.setPixel(x, y, static_cast<uint>(i));
        }
    table.resize(256, qRgb(0, 0, 0));
    indexed.setColorTable(table);
    return indexed;
}

}  // namespace

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::cerr << "usage: demo_game FOLDER\n";
        return 2;
    }
    const fs::path folder = argv[1];
    fs::create_directories(folder / "System");
    std::ofstream(folder / "RPG_RT.ldb", std::ios::binary)
        << zeilwerk::test::gameDatabase({{1, "Alex"}, {2, "Br\xFCnhild"}}, "", "Abendblau");
    return abendblau().save(QString::fromStdString((folder / "System" / "Abendblau.png").string()), "png") ? 0 : 1;
}
