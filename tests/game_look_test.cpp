#include "game_fixture.h"
#include "program_fixture.h"

#include "game/game_look.h"
#include "platform/error.h"

#include <QCheckBox>
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

TEST(GameLookFiles, EveryPictureFormatInAnyLetterCase) {
    for (const char* format : {"png", "bmp", "xyz"}) {
        SCOPED_TRACE(format);
        TempDir game;
        ASSERT_TRUE(writeGame(game.path(), format));
        const GameLook look = loadGameLook(game.path(), QString(), QSize(320, 80));
        for (int n : {0, 7, 10, 19})
            for (int row : {0, 5, 15})
                EXPECT_EQ(at(look.colours[n], 3, row), G::textColour(n, row)) << n << " " << row;
        EXPECT_EQ(look.shadow, G::shadow);
        EXPECT_EQ(at(look.window, 0, 0), G::corner[0]);
        EXPECT_EQ(look.heroNames.at(1), u"Alex");
    }
}

TEST(GameLookFiles, TheNameSetOutranksTheDatabase) {
    TempDir game;
    ASSERT_TRUE(writeGame(game.path(), "png"));
    QImage other = G::draw();
    other.setColor(other.pixelIndex(16, 32), 0xFF445566);
    ASSERT_TRUE(other.save(qpath(game / "SYSTEM" / "anders.bmp"), "bmp"));
    EXPECT_EQ(loadGameLook(game.path(), "Anders", QSize(320, 80)).shadow, 0xFF445566);
}

TEST(GameLookFiles, TheFrameOverTheWallpaperStretchedOrTiled) {
    QImage withHoles = G::draw();
    QList<QRgb> table = withHoles.colorTable();
    table[0] &= 0xFFFFFF;
    withHoles.setColorTable(table);
    for (bool tiled : {false, true}) {
        SCOPED_TRACE(tiled);
        const QImage window = drawGameWindow(withHoles.convertToFormat(QImage::Format_ARGB32), tiled, QSize(320, 80));
        ASSERT_EQ(window.size(), QSize(320, 80));
        const struct {
            int x, y;
            QRgb colour;
        } frame[] = {{0, 0, G::corner[0]},   {7, 7, G::corner[0]},   {319, 0, G::corner[1]}, {312, 7, G::corner[1]},
                     {0, 79, G::corner[2]},  {319, 79, G::corner[3]}, {8, 0, G::edge[0]},   {311, 7, G::edge[0]},
                     {0, 8, G::edge[1]},     {7, 71, G::edge[1]},    {319, 40, G::edge[2]}, {160, 79, G::edge[3]}};
        for (const auto& p : frame)
            EXPECT_EQ(at(window, p.x, p.y), p.colour) << p.x << "," << p.y;
        // Inside the border the wallpaper shows; the frame's middle is never drawn.
        for (const QPoint p : {QPoint(8, 8), QPoint(20, 20), QPoint(160, 40), QPoint(300, 70), QPoint(43, 45)}) {
            const QPoint from = tiled ? QPoint(p.x() % 32, p.y() % 32) : QPoint(p.x() * 32 / 320, p.y() * 32 / 80);
            EXPECT_EQ(at(window, p.x(), p.y()), G::wallpaper(from.x(), from.y())) << p.x() << "," << p.y();
        }
    }
}

TEST(GameLookFiles, WhatCannotBeReadIsNamed) {
    TempDir game;
    const fs::path g = game.path();
    const auto expectFailure = [&](const QString& setting, const fs::path& named) {
        try {
            loadGameLook(g, setting, QSize(320, 80));
            ADD_FAILURE() << "read " << named;
        } catch (const Error& e) {
            const QString text = QString::fromUtf8(e.what());
            EXPECT_TRUE(text.startsWith("Die Spieldaten konnten nicht gelesen werden: " + qpath(named))) << text.toStdString();
        }
    };
    expectFailure("", g / "RPG_RT.ldb");
    writeBytes(g / "RPG_RT.ldb", "\x0BLcfMapUnit");
    expectFailure("", g / "RPG_RT.ldb");
    writeBytes(g / "RPG_RT.ldb", QByteArray::fromStdString(gameDatabase({{1, "A"}})));
    expectFailure("", g / "RPG_RT.ldb");  // names no System graphic
    expectFailure("Fehlt", g / "System" / "Fehlt.png");
    writeBytes(g / "System" / "klein.png", QByteArray());
    G::draw().copy(0, 0, 80, 40).save(qpath(g / "System" / "klein.png"), "png");
    expectFailure("klein", g / "System" / "klein.png");
    writeBytes(g / "System" / "kaputt.xyz", "XYZ1\x10\x00\x10\x00garbage");
    expectFailure("kaputt", g / "System" / "kaputt.xyz");
    try {
        loadGameLook(g / "nirgends", QString(), QSize(320, 80));
        ADD_FAILURE();
    } catch (const Error& e) {
        EXPECT_TRUE(QString::fromUtf8(e.what()).contains("nirgends"));
    }
}

// The preview with a game folder of ours applied in the option window.
class GameLookTest : public PreviewProgramTest {
protected:
    void SetUp() override {
        PreviewProgramTest::SetUp();
        ASSERT_TRUE(writeGame(folder / "spiel", "png", false, {{1, "Alex"}, {2, "Br\xFCnhild"}}));
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
    // The text colour of a glyph pixel, or -1 for any other.
    static int colourOf(QRgb pixel) {
        return qBlue(pixel) == 30 ? (qRed(pixel) - 10) / 12 : -1;
    }
    static std::set<int> coloursOfLine(const QImage& image, int line) {
        std::set<int> found;
        for (int y = 16 * line + 8; y < 16 * line + 24; ++y)
            for (int x = 0; x < image.width(); ++x)
                if (const int n = colourOf(image.pixel(x, y)); n >= 0)
                    found.insert(n);
        return found;
    }
};

TEST_F(GameLookTest, ColoursSwitchWithinALineAndCarryIntoTheNext) {
    switchOn();
    ASSERT_TRUE(messages.shown.isEmpty()) << messages.shown.join("|").toStdString();
    const QImage image = shown("A\\c[3]B\nC\n\\c[25]D\\c[4]\n\\c[\\v[2]]E\\c[19]");
    ASSERT_EQ(image.size(), QSize(320, 80));
    EXPECT_EQ(coloursOfLine(image, 0), std::set<int>({0, 3}));
    EXPECT_EQ(coloursOfLine(image, 1), std::set<int>({3}));
    EXPECT_EQ(coloursOfLine(image, 2), std::set<int>({0}));  // 25 is no colour: 0
    EXPECT_EQ(coloursOfLine(image, 3), std::set<int>({0}));  // begins in 4, which \c[\v[..]] ends
    // A's pixels lie left of B's; every glyph row r takes row r of its cell.
    int lastOfA = -1, firstOfB = 320;
    for (int y = 0; y < 80; ++y)
        for (int x = 0; x < 320; ++x) {
            const QRgb p = image.pixel(x, y);
            if (colourOf(p) < 0)
                continue;
            const int row = (y - 8) % 16;
            EXPECT_EQ(qGreen(p), row % 2 ? 250 : 150) << x << "," << y;
            if (y < 24)
                (colourOf(p) == 0 ? lastOfA : firstOfB) = colourOf(p) == 0 ? std::max(lastOfA, x) : std::min(firstOfB, x);
        }
    EXPECT_LT(lastOfA, firstOfB);
}

TEST_F(GameLookTest, TheShadowLiesOnePixelRightAndBelow) {
    switchOn();
    const QImage image = shown("I\\c[5]W");
    int shadows = 0;
    for (int y = 1; y < 80; ++y)
        for (int x = 1; x < 320; ++x) {
            const bool glyphAboveLeft = colourOf(image.pixel(x - 1, y - 1)) >= 0;
            const QRgb p = image.pixel(x, y) | 0xFF000000;
            if (p == G::shadow) {
                ++shadows;
                EXPECT_TRUE(glyphAboveLeft) << x << "," << y;
            } else if (glyphAboveLeft) {
                EXPECT_GE(colourOf(p), 0) << "neither glyph nor shadow at " << x << "," << y;
            }
        }
    EXPECT_GT(shadows, 10);
    EXPECT_EQ(at(image, 0, 0), G::corner[0]);
}

TEST_F(GameLookTest, HeroNamesStandInForTheirCodes) {
    switchOn();
    EXPECT_EQ(shown("\\n[1] und \\n[2]!"), shown(u"Alex und Brünhild!"_qs));
    EXPECT_EQ(shown("\\c[2]\\n[1]"), shown("\\c[2]Alex"));
    EXPECT_EQ(shown("\\n[9]X\\n[\\v[1]]Y"), shown("XY"));
    EXPECT_NE(shown("\\n[1]"), shown(""));
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

TEST_F(GameLookTest, AGameThatCannotBeReadIsToldOnceAndTodaysPreviewStays) {
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
                                "[spiel]\r\nordner=C:\\Spiele\\Held\r\nsystem=\r\naktiv_set=1\r\naktiv=0\r\n"))
        << saved;
    options->FormShow();
    EXPECT_TRUE(options->loadini(options->ini_load));
    EXPECT_EQ(options->spiel_ordner->text(), "C:\\Spiele\\Held");
    EXPECT_TRUE(options->spiel_aktiv_set->isChecked());
    // Back to the defaults: the section stays, with them, so it does not load the old values.
    options->FormShow();
    options->ini_saveClick();
    EXPECT_TRUE(readFile(folder.path() / "standard.ini").ends_with("[spiel]\r\nordner=\r\nsystem=\r\naktiv_set=0\r\naktiv=0\r\n"));
}

}  // namespace
}  // namespace zeilwerk::test
