#include "game_fixture.h"
#include "program_fixture.h"

#include "look/game_look.h"
#include "look/game_picture.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QCheckBox>
#include <QTest>

namespace zeilwerk::test {
namespace {

QRgb at(const QImage& image, int x, int y) {
    return image.pixel(x, y) | 0xFF000000;
}

// The preview in the game's look of our own game, ready to play.
class PlayTest : public PreviewProgramTest {
protected:
    void SetUp() override {
        PreviewProgramTest::SetUp();
        ASSERT_TRUE(writeEngineGame(folder / "spiel"));
        options->spiel_ordner->setText(qpath(folder / "spiel"));
        options->spiel_aktiv_set->setChecked(true);
        options->confirmClick();
        ASSERT_TRUE(messages.shown.isEmpty()) << messages.shown.join("|").toStdString();
    }
    QImage still(const QString& text) {
        input->GetText->setPlainText(text);
        return preview->gameLookShown();
    }
    bool arrowStands() const { return at(preview->gameLookShown(), 153, 73) == (engineColour(kArrow) | 0xFF000000); }
    MessagePlayer& player() { return preview->player; }
};

TEST_F(PlayTest, AKeyAnswersTheWaitAndTheLastFrameIsTheStillPicture) {
    const QImage whole = still("\\s[5]Ja\\!Nein");
    preview->startPlaying();
    ASSERT_TRUE(player().playing());
    EXPECT_EQ(player().shown(), 1u);  // "J" at once; 3 frames a character
    EXPECT_FALSE(arrowStands());
    const struct {
        qint64 ms;
        std::size_t shown;
        bool waiting, arrow;
    } before[] = {{30, 1, false, false}, {100, 2, true, true}, {500, 2, true, false}, {1000, 2, true, true}};
    for (const auto& row : before) {
        SCOPED_TRACE(row.ms);
        player().advance(row.ms);
        EXPECT_EQ(player().shown(), row.shown);
        EXPECT_EQ(player().waitingForKey(), row.waiting);
        EXPECT_EQ(arrowStands(), row.arrow);  // blinking from the wait's start: 20 frames on, 20 off
    }
    QTest::keyClick(preview.get(), Qt::Key_Return);
    EXPECT_FALSE(player().waitingForKey());
    EXPECT_EQ(player().shown(), 3u);  // the clock goes on from frame 6
    player().advance(1000);
    EXPECT_TRUE(player().waitingForKey());
    EXPECT_EQ(preview->gameLookShown(), whole);
    QTest::mouseClick(preview.get(), Qt::LeftButton, {}, QPoint(40, 40));
    EXPECT_FALSE(player().playing());
    EXPECT_EQ(preview->gameLookShown(), whole);
}

TEST_F(PlayTest, F5PlaysTypingStopsAndTheButtonStandsBelowThePicture) {
    const QImage other = still("anders");
    input->GetText->setPlainText("\\s[20]Lang und langsam");
    QTest::keyClick(input->GetText, Qt::Key_F5);
    ASSERT_TRUE(player().playing());
    EXPECT_NE(preview->gameLookShown(), other);
    input->GetText->setPlainText("anders");
    EXPECT_FALSE(player().playing());
    EXPECT_EQ(preview->gameLookShown(), other);
    EXPECT_EQ(preview->size(), QSize(336, 96 + TForm3::playStrip));
    EXPECT_TRUE(preview->abspielen->isVisibleTo(preview.get()));
    EXPECT_GE(preview->abspielen->geometry().top(), 8 + 80);
    EXPECT_LE(preview->abspielen->geometry().bottom(), preview->height());
    // Without the game's look there is nothing to play: F5 says where to turn it on.
    options->spiel_aktiv_set->setChecked(false);
    options->confirmClick();
    QTest::keyClick(input->GetText, Qt::Key_F5);
    EXPECT_FALSE(player().playing());
    EXPECT_TRUE(input->helpline->text().startsWith("Abspielen geht nur „wie im Spiel“")) << input->helpline->text().toStdString();
    EXPECT_EQ(preview->size(), QSize(336, 96));
}

// Frames of "\s[5]Hallo\.\!" / "Welt" at chosen frames; ZEILWERK_PLAY_FRAMES names a folder
// to keep them in as abspielen-<frame>.png.
TEST_F(PlayTest, FramesOfAMessageWithSpeedWaitAndKey) {
    const QImage whole = still("\\s[5]Hallo\\.\\!\nWelt");
    const QString keep = qEnvironmentVariable("ZEILWERK_PLAY_FRAMES");
    preview->startPlaying();
    const struct {
        int frame;  // of the message; 31 is the key wait, 51 its arrow off
        bool keyBefore;
        std::size_t shown;
    } rows[] = {{0, false, 1}, {7, false, 3}, {20, false, 5}, {31, false, 5}, {51, false, 5},
                {38, true, 8}, {43, false, 9}};
    int base = 0;
    for (const auto& row : rows) {
        if (row.keyBefore) {
            player().answerKey();
            base = 31;
        }
        player().advance(((row.frame - base) * 1000 + 59) / 60);
        EXPECT_EQ(player().shown(), row.shown) << row.frame;
        if (!keep.isEmpty())
            preview->gameLookShown().save(QStringLiteral("%1/abspielen-%2.png").arg(keep).arg(row.frame, 2, 10, QChar(u'0')));
    }
    EXPECT_EQ(preview->gameLookShown(), whole);
}

// The length by hand, in frames of 1/60 s.
TEST_F(PlayTest, TheLengthBesideTheButton) {
    const struct {
        const char* text;
        const char* label;
    } rows[] = {
        {"Hallo!", "Dauer: 0,1 s (+ 1 Tastendruck)"},  // 4: "Hallo" 0 1 0 1 0, "!" 2
        // 124: 10 × 3, 61, the key, 1 after it, 10 × 3 and 2
        {"\\s[5]Guten Tag!\\|\\!\nWie geht's?", "Dauer: 2,1 s (+ 2 Tastendrücke)"},
        {"\\S[10]\\.\\.Ende\\^", "Dauer: 1,1 s"},  // 68: 16, 16, 4 × 6, "\^" 10, the page's end after it 2
    };
    for (const auto& row : rows) {
        still(QString::fromUtf8(row.text));
        EXPECT_EQ(preview->dauer->text(), QString::fromUtf8(row.label)) << row.text;
    }
}

}  // namespace
}  // namespace zeilwerk::test
