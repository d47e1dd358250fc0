#include "game_fixture.h"
#include "program_fixture.h"

#include "core/game/game_fonts.h"
#include "core/platform/error.h"
#include "look/game_look.h"
#include "look/game_picture.h"
#include "look/window_art.h"

#include <QCheckBox>
#include <QToolButton>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>

#include <fstream>
#include <set>

namespace zeilwerk::test {
namespace {

namespace fs = std::filesystem;
using G = SystemGraphic;

QRgb at(const QImage& image, int x, int y) {
    return image.pixel(x, y) | 0xFF000000;
}

FontPlaces noFonts() {
    return {{}, {}, {}};
}

TEST(GameLookFiles, EveryPictureFormatInAnyLetterCase) {
    for (const char* format : {"png", "bmp", "xyz"}) {
        SCOPED_TRACE(format);
        TempDir game;
        ASSERT_TRUE(writeGame(game.path(), format));
        std::vector<QString> problems;
        const GameLook look = loadGameLook(game.path(), QString(), noFonts(), &problems);
        for (int n : {0, 7, 10, 19})
            for (int row : {0, 5, 15})
                EXPECT_EQ(at(look.system, 16 * (n % 10) + 3, 48 + 16 * (n / 10) + row),
                          engineColour(G::textColour(n, row)))
                    << n << " " << row;
        EXPECT_EQ(look.shadow, engineColour(G::shadow));
        EXPECT_EQ(at(look.window, 0, 0), engineColour(G::corner[0]));
        EXPECT_EQ(look.heroNames.at(1), u"Alex");
    }
}

TEST(GameLookFiles, TheNameSetOutranksTheDatabaseWithOrWithoutItsExtension) {
    TempDir game;
    ASSERT_TRUE(writeGame(game.path(), "png"));
    QImage other = G::draw();
    other.setColor(other.pixelIndex(16, 32), 0xFF445566);
    ASSERT_TRUE(other.save(qpath(game / "SYSTEM" / "anders.bmp"), "bmp"));
    for (const char* name : {"Anders", "Anders.BMP", "anders.bmp"})
        EXPECT_EQ(loadGameLook(game.path(), name, noFonts(), nullptr).shadow, engineColour(0xFF445566)) << name;
}

// The engine's 16-bit colours, measured on real System graphics.
TEST(GameLookFiles, ColoursAreThoseOfTheEnginesSixteenBits) {
    const struct {
        QRgb stored, shown;
    } rows[] = {{qRgb(255, 231, 191), qRgb(255, 231, 189)}, {qRgb(146, 105, 46), qRgb(148, 105, 41)},
                {qRgb(0, 0, 0), qRgb(0, 0, 0)},             {qRgb(255, 255, 255), qRgb(255, 255, 255)}};
    for (const auto& row : rows)
        EXPECT_EQ(engineColour(row.stored), row.shown) << std::hex << row.stored;
}

TEST(GameLookFiles, TheFrameOverTheWallpaperStretchedOrTiled) {
    QImage withHoles = G::draw();
    QList<QRgb> table = withHoles.colorTable();
    table[0] &= 0xFFFFFF;
    withHoles.setColorTable(table);
    for (bool tiled : {false, true}) {
        SCOPED_TRACE(tiled);
        const QImage window = drawGameWindow(withHoles.convertToFormat(QImage::Format_ARGB32), tiled);
        ASSERT_EQ(window.size(), QSize(320, 80));
        const struct {
            int x, y;
            QRgb colour;
        } frame[] = {{0, 0, G::corner[0]},   {7, 7, G::corner[0]},   {319, 0, G::corner[1]}, {312, 7, G::corner[1]},
                     {0, 79, G::corner[2]},  {319, 79, G::corner[3]}, {8, 0, G::edge[0]},   {311, 7, G::edge[0]},
                     {0, 8, G::edge[1]},     {7, 71, G::edge[1]},    {319, 40, G::edge[2]}, {160, 79, G::edge[3]}};
        for (const auto& p : frame)
            EXPECT_EQ(at(window, p.x, p.y), p.colour) << p.x << "," << p.y;
        // Inside the border the wallpaper shows, sampled by the nearest pixel or repeated.
        for (const QPoint p : {QPoint(8, 8), QPoint(20, 20), QPoint(160, 40), QPoint(300, 70), QPoint(43, 45)}) {
            const QPoint from = tiled ? QPoint(p.x() % 32, p.y() % 32) : QPoint(p.x() * 32 / 320, p.y() * 32 / 80);
            EXPECT_EQ(at(window, p.x(), p.y()), G::wallpaper(from.x(), from.y())) << p.x() << "," << p.y();
        }
    }
    // A graphic that is all index 0 draws no window: the background shows.
    QImage blank(160, 80, QImage::Format_Indexed8);
    blank.setColorTable({0x00FF00FF});
    blank.fill(0);
    const QImage none = drawGameWindow(blank.convertToFormat(QImage::Format_ARGB32), false);
    for (const QPoint p : {QPoint(0, 0), QPoint(160, 40), QPoint(155, 75)})
        EXPECT_EQ(at(none, p.x(), p.y()), kGameBackground);
}

TEST(GameLookFiles, OnlyAMissingFolderOrDatabaseEndsTheLook) {
    TempDir game;
    const fs::path g = game.path();
    const auto expectFailure = [&](const fs::path& folder, const fs::path& named) {
        try {
            loadGameLook(folder, QString(), noFonts(), nullptr);
            ADD_FAILURE() << "read " << named;
        } catch (const Error& e) {
            const QString text = QString::fromUtf8(e.what());
            EXPECT_TRUE(text.startsWith("Die Spieldaten konnten nicht gelesen werden: " + qpath(named))) << text.toStdString();
        }
    };
    expectFailure(g, g / "RPG_RT.ldb");
    writeBytes(g / "RPG_RT.ldb", "\x0BLcfMapUnit");
    expectFailure(g, g / "RPG_RT.ldb");
    expectFailure(g / "nirgends", g / "nirgends");
    // A graphic that is missing, too small or damaged is named; our own window stands in
    // and the heroes stay.
    writeBytes(g / "RPG_RT.ldb", QByteArray::fromStdString(gameDatabase({{1, "Alex"}})));
    fs::create_directories(g / "System");
    G::draw().copy(0, 0, 80, 40).save(qpath(g / "System" / "klein.png"), "png");
    writeBytes(g / "System" / "kaputt.xyz", "XYZ1\x10\x00\x10\x00garbage");
    const struct {
        const char* setting;
        QString told;
    } rows[] = {{"", "Die Datenbank nennt keine Systemgrafik"},
                {"Fehlt", "Die Systemgrafik „Fehlt“ fehlt im Ordner System."},
                {"klein", "Die Spieldaten konnten nicht gelesen werden: " + qpath(g / "System" / "klein.png")},
                {"kaputt", "Die Spieldaten konnten nicht gelesen werden: " + qpath(g / "System" / "kaputt.xyz")}};
    for (const auto& row : rows) {
        std::vector<QString> problems;
        const GameLook look = loadGameLook(g, row.setting, noFonts(), &problems);
        ASSERT_FALSE(problems.empty()) << row.setting;
        EXPECT_TRUE(problems[0].startsWith(row.told)) << problems[0].toStdString();
        EXPECT_EQ(look.heroNames.at(1), u"Alex");
        EXPECT_EQ(look.window.size(), QSize(320, 80));
    }
}

// The preview with a game folder of ours applied in the option window.
class GameLookTest : public PreviewProgramTest {
protected:
    void SetUp() override {
        PreviewProgramTest::SetUp();
        ASSERT_TRUE(writeEngineGame(folder / "spiel", {{1, "Alex"}, {2, "Br\xFCnhild"}}));
    }
    void switchOn(bool on = true) {
        options->spiel_ordner->setText(qpath(folder / "spiel"));
        options->spiel_aktiv_set->setChecked(on);
        options->confirmClick();
    }
    QImage shown(const QString& text) {
        input->GetText->setPlainText(text);
        return preview->gameLookShown();
    }
};

TEST_F(GameLookTest, HallosHStandsWhereTheEngineDrawsIt) {
    switchOn();
    ASSERT_TRUE(messages.shown.isEmpty()) << messages.shown.join("|").toStdString();
    EXPECT_EQ(options->spiel_schrift->text(), "Schrift: RMG2000 (Spielordner)");
    const QImage image = shown("Hallo!");
    ASSERT_EQ(image.size(), QSize(320, 80));
    // H's leftmost ink at (8, 11): its cell starts at y = 10 and its first row is blank.
    EXPECT_EQ(at(image, 8, 11), glyphColour(0, 0, 1));
    EXPECT_NE(at(image, 8, 10), glyphColour(0, 0, 0));
    EXPECT_EQ(at(image, 12, 6 + 10), glyphColour(0, 4, 6));
    EXPECT_EQ(at(image, 9, 12), engineColour(kShadow) | 0xFF000000);  // under the bar's second column
    // a, l, l, o, ! follow in cells 6 px apart.
    for (int k = 1; k < 6; ++k)
        EXPECT_EQ(at(image, 8 + 6 * k, 11), glyphColour(0, 0, 1)) << k;
    EXPECT_NE(at(image, 8 + 6 * 6, 11), glyphColour(0, 0, 1));
    // The "more" arrow waits at (152, 72).
    EXPECT_EQ(at(image, 153, 73), engineColour(kArrow) | 0xFF000000);
}

// Where the first cell of a line lands, and in which colour, for codes and settings.
TEST_F(GameLookTest, CellsColoursAndCodes) {
    options->spiel_variable->setText("42");
    switchOn();
    const struct {
        const char* text;
        int line, x, colour;
        int emptyAt;  // a cell left blank after the ones drawn, or -1
    } rows[] = {
        {"x", 0, 8, 0, 14},
        {"\n\n\\c[3]x", 2, 8, 3, 14},
        {"\\C[13]x", 0, 8, 13, 14},                  // either case; the second row of colours
        {"\\c[25]x", 0, 8, 0, -1},                   // no colour: 0
        {"\\c[2]a\nb", 1, 8, 2, -1},                 // the colour carries into the next line
        {"\\_x", 0, 11, 0, -1},                      // a half space is 3 px
        {"  x", 0, 20, 0, -1},                       // spaces typed are 6 px
        {"\\v[5]", 0, 14, 0, 20},                    // "42": two cells
        {"\\V[5]", 0, 14, 0, 20},
        {"\\n[1]", 0, 26, 0, 32},                    // "Alex"
        {"\\n[\\v[3]]x", 0, 8, 0, 14},               // hero 42 has no name
        {"$Ax", 0, 20, 0, 26},                       // a symbol is 12 px
        {"$1x", 0, 20, 0, 26},                       // "$" before anything else is itself
        {"\\s[3]\\.\\|\\!\\^\\$\\>\\<x", 0, 8, 0, 14},  // codes that draw nothing
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.text);
        const QImage image = shown(row.text);
        const int y = 10 + 16 * row.line + 1;
        EXPECT_EQ(at(image, row.x, y), glyphColour(row.colour, 0, 1));
        if (row.emptyAt >= 0) {
            EXPECT_NE(at(image, row.emptyAt, y), glyphColour(row.colour, 0, 1));
        }
    }
}

TEST_F(GameLookTest, TheBackslashTheFaceTheIndentAndTheClip) {
    switchOn();
    // "\\" prints a backslash: our diagonal.
    QImage image = shown("\\\\");
    EXPECT_EQ(at(image, 8, 11), glyphColour(0, 0, 1));
    EXPECT_EQ(at(image, 13, 21), glyphColour(0, 5, 11));
    // With a face the text starts at 80.
    options->text_face->setChecked(true);
    options->confirmClick();
    EXPECT_EQ(at(shown("x"), 80, 11), glyphColour(0, 0, 1));
    options->text_face->setChecked(false);
    // Right-aligned as the export sends it: line length 50 less the line and one.
    options->confirmClick();
    options->Setausrichtung(options->text_rechts);
    options->confirmClick();
    EXPECT_EQ(at(shown("x"), 8 + 6 * 48, 11), glyphColour(0, 0, 1));
    options->Setausrichtung(options->text_links);
    options->confirmClick();
    // The 51st cell, at 308, does not end by 308: none of it is drawn.
    image = shown(QString(60, u'x'));
    EXPECT_EQ(at(image, 302, 11), glyphColour(0, 0, 1));
    EXPECT_NE(at(image, 308, 11), glyphColour(0, 0, 1));
    EXPECT_EQ(at(image, 309, 12), at(shown(""), 309, 12));  // nor its shadow
    // Lines stop at the box's inside: the fourth line's shadow row 72 is the frame's.
    image = shown("\n\n\nx");
    EXPECT_EQ(at(image, 8, 58 + 11), glyphColour(0, 0, 11));
}

// A glyph's 13th row is not drawn, nor its shadow.
TEST_F(GameLookTest, TwelveRowsOfAGlyph) {
    switchOn();
    const QImage image = shown(QString(QChar(0xDF)));
    EXPECT_EQ(at(image, 8, 10 + 11), glyphColour(0, 0, 11));
    EXPECT_EQ(at(image, 9, 10 + 12), engineColour(kShadow) | 0xFF000000);  // the 12th row's shadow
    const QImage none = shown("");
    EXPECT_EQ(at(image, 8, 10 + 12), at(none, 8, 10 + 12));
    EXPECT_EQ(at(image, 9, 10 + 13), at(none, 9, 10 + 13));
}

// A colour cell of palette index 0 draws the glyph in the transparent colour: the window shows
// through the letter, its own shadow included; only the shadow beside it stays.
TEST_F(GameLookTest, ATextColourOfIndexZeroIsInvisible) {
    QImage system = engineGraphic();
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x)
            system.setPixel(16 * 5 + x, 48 + y, 0);
    ASSERT_TRUE(system.save(qpath(folder / "spiel" / "SYSTEM" / "Leer.png"), "png"));
    options->spiel_system->setText("Leer");
    switchOn();
    const QImage none = shown("");
    const QImage image = shown("\\c[5]x\\c[4]x");
    const QRgb shadow = engineColour(kShadow) | 0xFF000000;
    EXPECT_EQ(at(image, 8, 11), at(none, 8, 11));
    EXPECT_EQ(at(image, 9, 12), at(none, 9, 12));   // the shadow under the letter is gone too
    EXPECT_EQ(at(image, 13, 12), shadow);           // beside it, it stays
    EXPECT_EQ(at(image, 9, 22), shadow);            // and below it
    EXPECT_EQ(at(image, 14, 11), glyphColour(4, 0, 1));
    const GameLook look = loadGameLook(folder / "spiel", "Leer", noFonts(), nullptr);
    EXPECT_TRUE(invisibleTextColour(look.system, 5));
    EXPECT_FALSE(invisibleTextColour(look.system, 4));
    EXPECT_FALSE(invisibleTextColour(look.system, 0));
}

TEST_F(GameLookTest, DoubledFromTheSamePicture) {
    options->vorschau_scale2x_set->setChecked(true);
    switchOn();
    const QImage doubled = shown("\\c[7]Doppelt");
    ASSERT_EQ(doubled.size(), QSize(640, 160));
    options->vorschau_scale2x_set->setChecked(false);
    options->confirmClick();
    const QImage single = shown("\\c[7]Doppelt");
    EXPECT_EQ(doubled, single.scaled(640, 160, Qt::IgnoreAspectRatio, Qt::FastTransformation));
}

TEST_F(GameLookTest, SymbolsFromTheGamesSheetAndABlankWindow) {
    // Our own sheet: symbol i has ink in its cell's column i mod 12 only.
    QImage sheet(156, 48, QImage::Format_ARGB32);
    sheet.fill(0);
    for (int i = 0; i < 52; ++i)
        for (int y = 0; y < 12; ++y)
            sheet.setPixel(12 * (i % 13) + i % 12, 12 * (i / 13) + y, 0xFFFFFFFF);
    ASSERT_TRUE(sheet.save(qpath(folder / "spiel" / "exfont.PNG"), "png"));
    // A blank System graphic but for its colour cells: no window, no shadow; text in its colours.
    QImage blank(160, 80, QImage::Format_Indexed8);
    blank.setColorTable({qRgb(90, 90, 90), qRgb(200, 100, 40)});
    blank.fill(0);
    for (int y = 48; y < 80; ++y)
        for (int x = 0; x < 160; ++x)
            blank.setPixel(x, y, 1);
    ASSERT_TRUE(blank.save(qpath(folder / "spiel" / "SYSTEM" / "leer.png"), "png"));
    options->spiel_system->setText("leer");
    switchOn();
    const QImage image = shown("$C$z");
    const QRgb text = engineColour(qRgb(200, 100, 40)) | 0xFF000000;
    EXPECT_EQ(at(image, 8 + 2, 10), text);        // "$C" is symbol 2
    EXPECT_EQ(at(image, 8 + 1, 10), kGameBackground);
    EXPECT_EQ(at(image, 20 + 51 % 12, 15), text);  // "$z" is symbol 51
    EXPECT_EQ(at(image, 20 + 51 % 12 + 1, 16), kGameBackground);  // no shadow
    EXPECT_EQ(at(image, 160, 40), kGameBackground);
}

// The symbols' sheet as the game's RPG_RT.exe holds it: a bitmap resource "EXFONT".
TEST_F(GameLookTest, SymbolsFromTheGamesExecutableAndOurOwn) {
    // Symbol i has ink in its cell's row i mod 12.
    const std::string dib = dibFile(156, 48, [](int x, int y) { return y % 12 == ((y / 12) * 13 + x / 12) % 12; });
    writeBytes(folder / "spiel" / "RPG_RT.EXE", QByteArray::fromStdString(peFile({{u"EXFONT", dib}})));
    switchOn();
    const QImage fromExe = shown("$C$z");
    EXPECT_EQ(at(fromExe, 8 + 5, 10 + 2), glyphColour(0, 5, 2));       // symbol 2: its third row
    EXPECT_NE(at(fromExe, 8 + 5, 10 + 3), glyphColour(0, 5, 3));
    EXPECT_EQ(at(fromExe, 20 + 5, 10 + 51 % 12), glyphColour(0, 5, 51 % 12));
    // Without sheet or executable our own symbols stand in: each has ink, each differs.
    fs::remove(folder / "spiel" / "RPG_RT.EXE");
    switchOn();
    std::set<QByteArray> drawn;
    for (char letter : std::string("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz")) {
        const QImage image = shown(QStringLiteral("$") + QChar(letter)).copy(8, 10, 12, 12);
        drawn.insert(QByteArray(reinterpret_cast<const char*>(image.constBits()), image.sizeInBytes()));
    }
    EXPECT_EQ(drawn.size(), 52u);
}

TEST_F(GameLookTest, SwitchedOffTheLayersAreAsIfItHadNeverBeenOn) {
    const QString text = "Heute\n\\c[3]so wie\nimmer";
    input->GetText->setPlainText(text);
    const QImage box = preview->boxme.shown(), result = preview->desti.shown();
    switchOn();
    EXPECT_FALSE(shown("ganz\nanders").isNull());
    switchOn(false);
    EXPECT_TRUE(preview->gameLookShown().isNull());
    input->GetText->setPlainText(text);
    EXPECT_EQ(preview->boxme.shown(), box);
    EXPECT_EQ(preview->desti.shown(), result);
}

TEST_F(GameLookTest, AGameThatCannotBeReadIsToldOnceAndTheOwnPreviewStays) {
    options->spiel_ordner->setText(qpath(folder / "fehlt"));
    options->spiel_aktiv_set->setChecked(true);
    options->confirmClick();
    ASSERT_EQ(messages.shown.size(), 1);
    EXPECT_TRUE(messages.shown[0].startsWith("Die Spieldaten konnten nicht gelesen werden: ")) << messages.shown[0].toStdString();
    input->GetText->setPlainText("weiter");
    EXPECT_TRUE(preview->gameLookShown().isNull());
    EXPECT_EQ(messages.shown.size(), 1);
    EXPECT_TRUE(messages.errors.isEmpty());
    EXPECT_TRUE(options->spiel_aktiv->isChecked());
}

TEST_F(GameLookTest, TheSpielTabAndItsColouring) {
    ASSERT_EQ(options->tabs->count(), 6);
    EXPECT_EQ(options->tabs->tabText(5), "Spiel");
    EXPECT_EQ(options->tabs->tabText(4), "Debugger");
    EXPECT_LE(options->tabs->tabBar()->sizeHint().width(), options->tabs->width());
    const auto colourOfField = [](QLineEdit* f) { return f->palette().color(QPalette::Text); };
    EXPECT_EQ(colourOfField(options->spiel_ordner), TForm2::invalidColour);
    options->spiel_ordner->setText(qpath(folder / "spiel"));
    EXPECT_EQ(colourOfField(options->spiel_ordner), TForm2::validColour);
    EXPECT_EQ(colourOfField(options->spiel_system), TForm2::validColour);  // the database's
    options->spiel_system->setText("Fehlt");
    EXPECT_EQ(colourOfField(options->spiel_system), TForm2::invalidColour);
    options->spiel_system->setText("stil");
    EXPECT_EQ(colourOfField(options->spiel_system), TForm2::validColour);
    options->spiel_ordner->setText(qpath(folder.path()));
    EXPECT_EQ(colourOfField(options->spiel_ordner), TForm2::invalidColour);
    EXPECT_EQ(colourOfField(options->spiel_system), TForm2::invalidColour);
}

TEST_F(GameLookTest, TheProfileKeepsTheGameLookInASectionOfItsOwn) {
    options->spiel_ordner->setText("C:\\Spiele\\Held");
    options->spiel_aktiv_set->setChecked(true);
    options->ini_saveClick();
    const std::string saved = readFile(folder.path() / "standard.ini");
    EXPECT_TRUE(saved.ends_with("[ini]\r\nauto=0\r\ndatei=standard.ini\r\n"
                                "[spiel]\r\nordner=C:\\Spiele\\Held\r\nsystem=\r\naktiv_set=1\r\naktiv=0\r\nvariable=0\r\n"
                                "gesicht=\r\ngesicht_nr=0\r\ngesicht_rechts=0\r\ngesicht_gespiegelt=0\r\ntransparent=0\r\nposition=2\r\nhintergrund=\r\nhintergrund_x=160\r\nhintergrund_y=120\r\nbildschirm=0\r\nwoerterbuch=de_DE\r\nvariablenbreite=8\r\n"))
        << saved;
    options->FormShow();
    EXPECT_TRUE(options->loadini(options->ini_load));
    EXPECT_EQ(options->spiel_ordner->text(), "C:\\Spiele\\Held");
    EXPECT_TRUE(options->spiel_aktiv_set->isChecked());
    // Back to the defaults: the section stays, with them, so it does not load the old values.
    options->FormShow();
    options->ini_saveClick();
    EXPECT_TRUE(readFile(folder.path() / "standard.ini").ends_with(
        "[spiel]\r\nordner=\r\nsystem=\r\naktiv_set=0\r\naktiv=0\r\nvariable=0\r\ngesicht=\r\ngesicht_nr=0\r\ngesicht_rechts=0\r\ngesicht_gespiegelt=0\r\ntransparent=0\r\nposition=2\r\nhintergrund=\r\nhintergrund_x=160\r\nhintergrund_y=120\r\nbildschirm=0\r\nwoerterbuch=de_DE\r\nvariablenbreite=8\r\n"));
}

}  // namespace
}  // namespace zeilwerk::test
