// Writes a small game folder of our own for screenshots and trying the game's look by
// hand: RPG_RT.ldb with two heroes, System/Abendblau.png, FaceSet/Gesichter.png and
// Picture/Wiese.png drawn here and, unless told --ohne-schrift, a bitmap font "RMG2000" of
// our own in Zeilwerk-Probe.fon; with --2003 the database is one of RPG Maker 2003 whose
// window is semi-transparent.
#include "font_fixture.h"
#include "game_fixture.h"

#include "core/platform/code_page.h"

#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>

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
    // The arrow of a message that waits for a key: a small light triangle pointing down.
    for (int y = 0; y < 4; ++y)
        for (int x = y; x < 8 - y; ++x)
            rgb.setPixel(44 + x, 17 + y, qRgb(220, 226, 240));
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

// Our font: DejaVu Sans Mono at 10 px, unsmoothed, in cells of 6 × 13 with the baseline
// at row 10, one glyph per byte of the code page.
std::string ownFont() {
    std::vector<QImage> glyphs(256);
    QFont font(QStringLiteral("DejaVu Sans Mono"));
    font.setPixelSize(10);
    font.setStyleStrategy(QFont::NoAntialias);
    for (int code = 0x20; code < 0x100; ++code) {
        QImage cell(6, 13, QImage::Format_ARGB32);
        cell.fill(0);
        const std::u16string unit = zeilwerk::CodePage::system().decode(std::string(1, static_cast<char>(code)));
        QPainter painter(&cell);
        painter.setFont(font);
        painter.setPen(Qt::black);
        painter.drawText(0, 10, QString::fromStdU16String(unit));
        glyphs[static_cast<size_t>(code)] = cell;
    }
    return zeilwerk::test::fonFile(zeilwerk::test::fntFile("RMG2000", 13, [&](int code, int x, int y) {
        return qAlpha(glyphs[static_cast<size_t>(code)].pixel(x, y)) > 0;
    }));
}

// Sixteen faces of our own: round heads in four skin tones, four moods each, a border that
// marks their left side, so a mirrored face shows as such.
QImage faceSet() {
    QImage set(192, 192, QImage::Format_ARGB32);
    set.fill(0);
    QPainter p(&set);
    p.setRenderHint(QPainter::Antialiasing, false);
    const QColor skins[4] = {{250, 214, 180}, {224, 172, 128}, {176, 120, 80}, {120, 80, 56}};
    const QColor hair[4] = {{120, 70, 20}, {30, 30, 30}, {230, 200, 90}, {180, 60, 30}};
    for (int i = 0; i < 16; ++i) {
        const QPoint o((i % 4) * 48, (i / 4) * 48);
        p.setPen(Qt::NoPen);
        p.setBrush(hair[i / 4]);
        p.drawEllipse(o.x() + 6, o.y() + 4, 36, 30);
        p.drawRect(o.x() + 4, o.y() + 14, 8, 24);  // the hair falls on the left side
        p.setBrush(skins[i % 4]);
        p.drawEllipse(o.x() + 10, o.y() + 10, 28, 32);
        p.setBrush(Qt::black);
        p.drawRect(o.x() + 17, o.y() + 22, 3, 4);
        p.drawRect(o.x() + 28, o.y() + 22, 3, 4);
        p.setPen(QPen(QColor(140, 40, 40), 2));
        p.setBrush(Qt::NoBrush);
        const int mood = i % 4;
        const QRect mouth(o.x() + 18, o.y() + 30, 12, 6);
        if (mood == 0)
            p.drawArc(mouth, 200 * 16, 140 * 16);  // smiling
        else if (mood == 1)
            p.drawLine(mouth.left(), mouth.top() + 3, mouth.right(), mouth.top() + 3);
        else if (mood == 2)
            p.drawArc(mouth.translated(0, 4), 20 * 16, 140 * 16);  // sad
        else
            p.drawEllipse(o.x() + 21, o.y() + 31, 6, 6);  // surprised
    }
    return set;
}

// A picture of our own for behind the message: a sky, two hills and a few trees.
QImage landscape() {
    QImage picture(320, 240, QImage::Format_RGB32);
    QPainter p(&picture);
    for (int y = 0; y < 240; ++y)
        p.fillRect(0, y, 320, 1, mix(qRgb(90, 150, 230), qRgb(200, 230, 250), y / 239.0));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(250, 240, 150));
    p.drawEllipse(240, 24, 36, 36);
    p.setBrush(QColor(70, 140, 60));
    p.drawEllipse(-80, 120, 300, 220);
    p.setBrush(QColor(50, 115, 50));
    p.drawEllipse(140, 140, 300, 200);
    for (const QPoint t : {QPoint(40, 130), QPoint(80, 118), QPoint(200, 150), QPoint(260, 142)}) {
        p.setBrush(QColor(110, 70, 40));
        p.drawRect(t.x() - 3, t.y(), 6, 18);
        p.setBrush(QColor(30, 90, 40));
        p.drawPolygon(QPolygon({t + QPoint(0, -30), t + QPoint(-14, 4), t + QPoint(14, 4)}));
    }
    return picture;
}

// The game's events, in Windows-1252: villagers on three maps, a common event and a battle.
void writeDemoEvents(const fs::path& folder, const std::string& database) {
    using namespace zeilwerk::test;
    const auto say = [](std::initializer_list<const char*> lines) {
        std::vector<LcfCommand> out;
        for (const char* line : lines)
            out.push_back(out.empty() ? showMessage(line) : messageLine(line));
        return out;
    };
    const auto page = [](int id, std::vector<LcfCommand> before, std::vector<LcfCommand> message) {
        before.insert(before.end(), message.begin(), message.end());
        return LcfPage{id, before};
    };
    const std::vector<LcfEvent> village = {
        {1, "Wirt", {page(1, {changeFace("Gesichter", 2)}, say({"Willkommen im \\c[2]Goldenen Krug\\c[0]!", "Ein Zimmer kostet \\v[12] Goldst\xfc" "cke."})),
                     page(2, {changeFace("Gesichter", 2)}, say({"Gute Nacht, \\n[1]."}))}},
        {2, "Bauer", {page(1, {changeFace("Gesichter", 5, true)}, say({"Frische \xc4pfel! Drei f\xfcr ein Goldst\xfc" "ck!"}))}},
        {3, "Kind", {page(1, {windowOptions(0)}, say({"Hast du den Drachen gesehn?", "Er wohnt oben in den Bergen,", "hinter dem gro\xdf" "en Wasserfall, sagt Oma."}))}},
    };
    const std::vector<LcfEvent> forest = {
        {1, "Schild", {page(1, {}, say({"\\c[4]Vorsicht:\\c[0] W\xf6lfe!"}))}},
        {2, "J\xe4ger", {page(1, {changeFace("Gesichter", 9)}, say({"Diese Zeile ist viel zu lang f\xfcr das Fenster des Spiels, sie l\xe4uft \xfc" "ber den Rand."}))}},
    };
    const std::vector<LcfEvent> cave = {
        {1, "Truhe", {page(1, {}, say({"Du findest \\c[10]einen alten Schl\xfcssel\\c[0].", "$A"}))}},
    };
    std::ofstream(folder / "RPG_RT.lmt", std::ios::binary)
        << mapTree({{1, "Dorf"}, {2, "Wald", 1}, {3, "H\xf6hle", 2}}, {1, 2, 3});
    std::ofstream(folder / "Map0001.lmu", std::ios::binary) << mapUnit(village);
    std::ofstream(folder / "Map0002.lmu", std::ios::binary) << mapUnit(forest);
    std::ofstream(folder / "Map0003.lmu", std::ios::binary) << mapUnit(cave);
    std::ofstream(folder / "RPG_RT.ldb", std::ios::binary)
        << database + commonEvents({{1, "Speichern", say({"Dein Spielstand ist gesichert."})}}) +
               troops({{1, "W\xf6lfe", {{1, say({"\\n[2]: Achtung, das Rudel greift an!"})}}}});
}

}  // namespace

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    bool withFont = true, maker2003 = false, known = argc >= 2;
    for (int i = 2; i < argc; ++i) {
        const std::string option = argv[i];
        withFont = withFont && option != "--ohne-schrift";
        maker2003 = maker2003 || option == "--2003";
        known = known && (option == "--ohne-schrift" || option == "--2003");
    }
    if (!known) {
        std::cerr << "usage: demo_game FOLDER [--ohne-schrift] [--2003]\n";
        return 2;
    }
    const fs::path folder = argv[1];
    fs::create_directories(folder / "System");
    if (withFont)
        std::ofstream(folder / "Zeilwerk-Probe.fon", std::ios::binary) << ownFont();
    // As RPG Maker 2003 writes it: the window semi-transparent, the alternative battle mode.
    const std::string battle = maker2003 ? zeilwerk::test::battleSettings(1, 1) : std::string();
    writeDemoEvents(folder, zeilwerk::test::gameDatabase({{1, "Alex"}, {2, "Br\xFCnhild"}}, "", "Abendblau", false, battle));
    fs::create_directories(folder / "FaceSet");
    fs::create_directories(folder / "Picture");
    const auto file = [&](const char* name) { return QString::fromStdString((folder / name).string()); };
    const bool saved = abendblau().save(file("System/Abendblau.png"), "png") &&
                       faceSet().save(file("FaceSet/Gesichter.png"), "png") &&
                       landscape().save(file("Picture/Wiese.png"), "png");
    return saved ? 0 : 1;
}
