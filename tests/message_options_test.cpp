#include "game_fixture.h"
#include "program_fixture.h"

#include "look/game_look.h"
#include "windows/options/face_picker.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

namespace zeilwerk::test {
namespace {

namespace fs = std::filesystem;

class MessageOptionsTest : public PreviewProgramTest {
protected:
    void SetUp() override {
        PreviewProgramTest::SetUp();
        const fs::path game = folder / "spiel";
        ASSERT_TRUE(writeEngineGame(game));
        fs::create_directories(game / "FaceSet");
        fs::create_directories(game / "Picture");
        ASSERT_TRUE(faceSet().save(qpath(game / "FaceSet" / "Held.png"), "png"));
        QImage picture(100, 60, QImage::Format_RGB32);
        picture.fill(qRgb(0, 160, 255));
        ASSERT_TRUE(picture.save(qpath(game / "Picture" / "Wald.png"), "png"));
        options->spiel_ordner->setText(qpath(game));
        options->spiel_aktiv_set->setChecked(true);
    }
    QImage shown(const QString& text) {
        options->confirmClick();
        input->GetText->setPlainText(text);
        return preview->gameLookShown();
    }
};

QRgb at(const QImage& image, int x, int y) {
    return image.pixel(x, y) | 0xFF000000;
}

TEST_F(MessageOptionsTest, FacesWindowsAndPlacesOnTheWholeScreen) {
    const struct {
        bool right, mirrored, transparent;
        int position;
    } rows[] = {{false, false, false, 2}, {false, true, true, 0}, {true, false, false, 1},
                {true, true, true, 2},   {false, false, true, 1}, {true, true, false, 0}};
    options->spiel_gesicht->setText("held");
    options->spiel_gesicht_nr->setText("5");
    options->spiel_hintergrund->setText("Wald");
    options->spiel_bildschirm->setChecked(true);
    for (const auto& row : rows) {
        SCOPED_TRACE(testing::Message() << row.right << row.mirrored << row.transparent << row.position);
        options->spiel_gesicht_rechts->setChecked(row.right);
        options->spiel_gesicht_gespiegelt->setChecked(row.mirrored);
        options->spiel_transparent->setChecked(row.transparent);
        options->spiel_position->setCurrentIndex(row.position);
        const QImage image = shown("x");
        ASSERT_EQ(image.size(), QSize(320, 240));
        EXPECT_EQ(preview->size(), QSize(336, 256 + TForm3::playStrip));
        const int top = 80 * row.position;
        const int faceX = row.right ? 256 : 16;
        EXPECT_EQ(at(image, faceX + 20, top + 16 + 20), faceColour(5));
        // The marked column is the face's left one, or its right one mirrored.
        EXPECT_EQ(at(image, faceX + (row.mirrored ? 47 : 0), top + 16 + 20), kFaceEdge);
        // The text starts beside a face on the left, at the border beside one on the right.
        EXPECT_EQ(at(image, row.right ? 8 : 80, top + 11), glyphColour(0, 0, 1));
        // The picture lies behind the box where it is transparent, and around it always.
        const bool overPicture = top + 40 >= 90 && top + 40 < 150;
        const QRgb inside = at(image, 150, top + 40);
        if (row.transparent)
            EXPECT_EQ(inside, overPicture ? kPicture : kGameBackground);
        else
            EXPECT_NE(inside, kPicture);
        EXPECT_EQ(at(image, 160, row.position == 1 ? 170 : 120), row.position == 1 ? kGameBackground : kPicture);
    }
}

TEST_F(MessageOptionsTest, TheBoxAloneIsTheScreensCutAndTwiceItsSize) {
    options->spiel_gesicht->setText("Held.PNG");
    options->spiel_hintergrund->setText("wald");
    options->spiel_transparent->setChecked(true);
    options->spiel_position->setCurrentIndex(1);
    options->spiel_bildschirm->setChecked(true);
    const QImage screen = shown("Hallo");
    options->spiel_bildschirm->setChecked(false);
    EXPECT_EQ(shown("Hallo"), screen.copy(0, 80, 320, 80));
    EXPECT_EQ(preview->size(), QSize(336, 96 + TForm3::playStrip));
    options->vorschau_scale2x_set->setChecked(true);
    options->spiel_bildschirm->setChecked(true);
    EXPECT_EQ(shown("Hallo"), screen.scaled(640, 480));
    EXPECT_EQ(preview->size(), QSize(656, 496 + TForm3::playStrip));
    // Off again: the window is the preview's own size.
    options->spiel_aktiv_set->setChecked(false);
    options->confirmClick();
    EXPECT_EQ(preview->size(), QSize(656, 176));
}

TEST_F(MessageOptionsTest, ThePickerShowsTheFaceSetAndAClickChooses) {
    options->spiel_gesicht->setText("Held");
    FacePicker* picker = options->spiel_gesicht_wahl;
    QTest::mouseClick(picker, Qt::LeftButton, {}, QPoint(3 * 20 + 10, 2 * 20 + 10));
    EXPECT_EQ(options->spiel_gesicht_nr->text(), "11");
    EXPECT_EQ(picker->chosen(), 11);
    options->spiel_gesicht_nr->setText("2");
    EXPECT_EQ(picker->chosen(), 2);
    const QImage drawn = picker->grab().toImage();
    EXPECT_EQ(drawn.pixel(2 * 20 + 10, 10) | 0xFF000000, qRgb(40 + 12 * 2, 200, 80));
    const auto colourOf = [](QLineEdit* f) { return f->palette().color(QPalette::Text); };
    EXPECT_EQ(colourOf(options->spiel_gesicht), TForm2::validColour);
    options->spiel_gesicht->setText("Niemand");
    EXPECT_EQ(colourOf(options->spiel_gesicht), TForm2::invalidColour);
    options->spiel_gesicht_nr->setText("16");
    EXPECT_EQ(colourOf(options->spiel_gesicht_nr), TForm2::invalidColour);
    options->spiel_hintergrund->setText("Wald");
    EXPECT_EQ(colourOf(options->spiel_hintergrund), TForm2::validColour);
}

TEST_F(MessageOptionsTest, TheProfileKeepsTheOptionsAndAnOldOneLoadsTheDefaults) {
    options->spiel_gesicht->setText("Held");
    options->spiel_gesicht_nr->setText("7");
    options->spiel_gesicht_gespiegelt->setChecked(true);
    options->spiel_position->setCurrentIndex(0);
    options->spiel_hintergrund_x->setText("40");
    options->spiel_bildschirm->setChecked(true);
    options->ini_saveClick();
    options->FormShow();
    ASSERT_TRUE(options->loadini(options->ini_load));
    EXPECT_EQ(options->spiel_gesicht->text(), "Held");
    EXPECT_EQ(options->spiel_gesicht_nr->text(), "7");
    EXPECT_TRUE(options->spiel_gesicht_gespiegelt->isChecked());
    EXPECT_EQ(options->spiel_position->currentIndex(), 0);
    EXPECT_EQ(options->spiel_hintergrund_x->text(), "40");
    EXPECT_TRUE(options->spiel_bildschirm->isChecked());
    // A profile of before, with its section but none of the new keys.
    writeBytes(folder.path() / "alt.ini", "[spiel]\r\nordner=x\r\nposition=9\r\n");
    options->ini_datei->setText("alt.ini");
    ASSERT_TRUE(options->loadini(options->ini_load));
    EXPECT_EQ(options->spiel_gesicht->text(), "");
    EXPECT_EQ(options->spiel_position->currentIndex(), 2);
    EXPECT_EQ(options->spiel_hintergrund_y->text(), "120");
    EXPECT_FALSE(options->spiel_bildschirm->isChecked());
}

// A cell is drawn only when it ends by x = 308, or by 240 beside a face on the right; the one
// after is not drawn at all.
TEST_F(MessageOptionsTest, WhereALineEndsBesideEachFace) {
    const struct {
        const char* face;
        bool right;
        int cells;  // drawn of a longer line
    } rows[] = {{"", false, 50}, {"Held", false, 38}, {"Held", true, 38}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.cells);
        options->spiel_gesicht->setText(row.face);
        options->spiel_gesicht_rechts->setChecked(row.right);
        const QImage all = shown(QString(row.cells, u'x'));
        EXPECT_NE(all, shown(QString(row.cells - 1, u'x')));
        EXPECT_EQ(shown(QString(row.cells + 1, u'x')), all);
        EXPECT_EQ(shown(QString(60, u'x')), all);
        const int left = *row.face && !row.right ? 80 : 8;
        EXPECT_EQ(at(all, left + 6 * (row.cells - 1), 11), glyphColour(0, 0, 1));
    }
}

// RPG Maker 2003's semi-transparent window: its wallpaper at 160 of 255 over what lies behind,
// its frame opaque; a battle message, and engines before 1.11 in the traditional battle mode,
// opaque.
TEST_F(MessageOptionsTest, TheSemiTransparentWindowOfRpgMaker2003) {
    const fs::path game = folder / "spiel";
    options->spiel_hintergrund->setText("Wald");
    options->spiel_position->setCurrentIndex(1);
    options->spiel_bildschirm->setChecked(true);
    const QImage opaque = shown("x");
    EXPECT_EQ(options->spiel_fenster->text(), "Fenster deckend");
    const auto blend = [](QRgb over, QRgb under) {
        const auto mix = [](int a, int b) { return (a * 160 + b * (255 - 160) + 127) / 255; };
        return qRgb(mix(qRed(over), qRed(under)), mix(qGreen(over), qGreen(under)), mix(qBlue(over), qBlue(under))) |
               0xFF000000;
    };
    const struct {
        int mode;
        std::vector<unsigned> version;  // of RPG_RT.exe; none: no such file
        bool battle, seeThrough;
        const char* label;
    } rows[] = {
        {0, {}, false, true, "Fenster halbdurchsichtig (RPG Maker 2003)"},
        {0, {1, 1, 0, 0}, false, false, "Fenster deckend (RPG Maker 2003 vor 1.11, Kampf traditionell)"},
        {0, {1, 0, 8, 0}, false, false, "Fenster deckend (RPG Maker 2003 vor 1.11, Kampf traditionell)"},
        {1, {1, 1, 0, 0}, false, true, "Fenster halbdurchsichtig (RPG Maker 2003)"},
        {0, {1, 1, 1, 0}, false, true, "Fenster halbdurchsichtig (RPG Maker 2003)"},
        {0, {1, 1, 2, 0}, true, false, "Fenster halbdurchsichtig (RPG Maker 2003)"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(testing::Message() << row.mode << " " << row.version.size() << " " << row.battle);
        writeBytes(game / "rpg_rt.LDB",
                   QByteArray::fromStdString(gameDatabase({{1, "Alex"}}, "", "Stil", false, battleSettings(row.mode, 1))));
        fs::remove(game / "RPG_RT.exe");
        if (!row.version.empty()) {
            const auto& v = row.version;
            writeBytes(game / "RPG_RT.exe", QByteArray::fromStdString(peFileOfVersion(v[0], v[1], v[2], v[3])));
        }
        MessageOptions look;
        look.battle = row.battle;
        look.position = 1;
        options->setMessageLook(look);
        const QImage image = shown("x");
        EXPECT_EQ(options->spiel_fenster->text(), row.label);
        EXPECT_EQ(at(image, 150, 85), at(opaque, 150, 85));  // the frame
        for (const QPoint p : {QPoint(150, 120), QPoint(150, 88)}) {
            const QRgb behind = p.y() >= 90 ? kPicture : kGameBackground;
            EXPECT_EQ(at(image, p.x(), p.y()), row.seeThrough ? blend(at(opaque, p.x(), p.y()), behind) : at(opaque, p.x(), p.y()));
        }
        EXPECT_EQ(at(image, 8, 80 + 11), glyphColour(0, 0, 1));  // the text opaque
    }
}

}  // namespace
}  // namespace zeilwerk::test
