#include "program_fixture.h"

#include "core/game/text_flow.h"
#include "core/settings/ini_file.h"
#include "platform/qt_text.h"
#include "windows/input/flow_gutter.h"

#include <QCheckBox>
#include <QClipboard>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTextEdit>
#include <QToolButton>

namespace zeilwerk::test {
namespace {

// Two paragraphs: Ortwin's fills two boxes under his name at 50 characters, Wendelgard's one.
const QString kConversation = QStringLiteral(
    "Ortwin: Wir müssen los, bevor der Nebel über die Brücke kommt. Der Fährmann wartet nicht, "
    "und der Weg durch den Wald ist weit. Nimm die Laterne mit, die Karte und das Brot, "
    "und vergiss den Schlüssel nicht, den dir die Alte gegeben hat.\n"
    "\n"
    "Wendelgard: Ich komme ja schon.");

class FlowWindowTest : public ProgramTest {
protected:
    void SetUp() override {
        platform.maker = &sender;
        ProgramTest::SetUp();
        writePictures();
        create();
        input->show();
        options->fliesstext->setChecked(true);
        input->GetText->setPlainText(kConversation);
    }
    std::u16string sentBox(size_t box) const {
        std::u16string text;
        for (const std::u16string& line : boxLines(input->boxes()[box]))
            text += line + u'\r';
        return text;
    }
    RecordedSender sender;
};

TEST_F(FlowWindowTest, TheMemoHoldsTheConversationAndThePreviewItsFirstBox) {
    EXPECT_TRUE(input->flowing());
    EXPECT_TRUE(input->flowBar->isVisible());
    EXPECT_TRUE(input->flowGutter->isVisible());
    EXPECT_FALSE(input->Memo1->isVisible());
    EXPECT_EQ(input->size(), QSize(482, 121 + 26));
    input->GetText->moveCursor(QTextCursor::Start);
    ASSERT_EQ(input->boxes().size(), 3u);
    EXPECT_EQ(input->boxLabel->text(), "Box 1/3");
    EXPECT_EQ(input->line(0), u"Ortwin:");
    EXPECT_EQ(input->line(1), u"Wir müssen los, bevor der Nebel über die Brücke");
    EXPECT_EQ(windows.group.lines()[0], u"Ortwin:");
    EXPECT_FALSE(input->boxBack->isEnabled());
    // The gutter marks each box's start at its line of the memo, further down each time.
    EXPECT_LT(input->flowGutter->markTop(0), input->flowGutter->markTop(1));
    EXPECT_EQ(input->flowGutter->markAt(input->flowGutter->markTop(1) + 1), 1u);

    // Off again: the four lines as before, the window as designed.
    options->fliesstext->setChecked(false);
    EXPECT_FALSE(input->flowBar->isVisible());
    EXPECT_TRUE(input->Memo1->isVisible());
    EXPECT_EQ(input->size(), QSize(482, 121));
    EXPECT_EQ(input->line(0), toU16(kConversation.section(u'\n', 0, 0)));
}

TEST_F(FlowWindowTest, StepsWithTheButtonsAndThePageKeys) {
    input->GetText->moveCursor(QTextCursor::Start);
    QTest::mouseClick(input->boxNext, Qt::LeftButton);
    EXPECT_EQ(input->boxLabel->text(), "Box 2/3");
    EXPECT_EQ(static_cast<size_t>(input->GetText->textCursor().position()), input->boxes()[1].start);
    EXPECT_EQ(input->line(0), u"Ortwin:");
    QTest::keyClick(input->GetText, Qt::Key_PageDown);
    EXPECT_EQ(input->boxLabel->text(), "Box 3/3");
    EXPECT_EQ(input->line(0), u"Wendelgard:");
    EXPECT_FALSE(input->boxNext->isEnabled());
    QTest::keyClick(input->GetText, Qt::Key_PageDown);
    EXPECT_EQ(input->shownBox(), 2u);
    QTest::keyClick(input->GetText, Qt::Key_PageUp);
    QTest::keyClick(input->GetText, Qt::Key_PageUp);
    EXPECT_EQ(input->boxLabel->text(), "Box 1/3");
    // The text is as typed: stepping moves only the cursor.
    EXPECT_EQ(input->GetText->toPlainText(), kConversation);
}

TEST_F(FlowWindowTest, TypingFlowsAtOnceAndTheBoxFollowsTheCursor) {
    input->GetText->moveCursor(QTextCursor::End);
    EXPECT_EQ(input->boxLabel->text(), "Box 3/3");
    QTest::keyClicks(input->GetText, " Warte auf mich, Ortwin, ich muss noch die Stiefel binden und die Decke holen.");
    ASSERT_EQ(input->boxes().size(), 3u);
    EXPECT_EQ(input->line(1), u"Ich komme ja schon. Warte auf mich, Ortwin, ich");
    EXPECT_EQ(input->line(2), u"muss noch die Stiefel binden und die Decke holen.");
    // A new paragraph is a new box, shown as it is typed.
    QTest::keyClick(input->GetText, Qt::Key_Return);
    QTest::keyClick(input->GetText, Qt::Key_Return);
    QTest::keyClicks(input->GetText, "Ortwin: Gut.");
    EXPECT_EQ(input->boxLabel->text(), "Box 4/4");
    EXPECT_EQ(windows.group.lines(), (std::array<std::u16string, 4>{u"Ortwin:", u"Gut.", u"", u""}));
    // "Sprecher oben" off: the name flows with the text.
    options->fliesstext_sprecher->setChecked(false);
    EXPECT_EQ(input->line(0), u"Ortwin: Gut.");
}

TEST_F(FlowWindowTest, SendsTheBoxShownAndStepsToTheNext) {
    input->GetText->moveCursor(QTextCursor::Start);
    QTest::mouseClick(options->text_maker, Qt::LeftButton);
    ASSERT_EQ(sender.sent.size(), 1u);
    EXPECT_EQ(sender.sent[0], sentBox(0));
    EXPECT_EQ(input->boxLabel->text(), "Box 2/3");
    QTest::mouseClick(options->text_maker, Qt::LeftButton);
    QTest::mouseClick(options->text_maker, Qt::LeftButton);
    ASSERT_EQ(sender.sent.size(), 3u);
    EXPECT_EQ(sender.sent[1], sentBox(1));
    EXPECT_EQ(sender.sent[2], u"Wendelgard:\rIch komme ja schon.\r\r\r");
    EXPECT_EQ(input->boxLabel->text(), "Box 3/3");
}

TEST_F(FlowWindowTest, CopiesEveryBoxAndKeepsTheModeInTheProfile) {
    QTest::mouseClick(input->copyAll, Qt::LeftButton);
    EXPECT_EQ(toU16(QGuiApplication::clipboard()->text()), boxesAsText(input->boxes()));
    EXPECT_TRUE(QGuiApplication::clipboard()->text().contains("hat.\n\nWendelgard:\nIch komme ja schon.\n"));

    options->fliesstext_gleichmaessig->setChecked(true);
    QTest::mouseClick(options->ini_save, Qt::LeftButton);
    const IniFile profile(folder / "standard.ini");
    EXPECT_TRUE(profile.readFlag("fliesstext", "aktiv", false));
    EXPECT_TRUE(profile.readFlag("fliesstext", "gleichmaessig", false));
    options->fliesstext->setChecked(false);
    options->fliesstext_gleichmaessig->setChecked(false);
    ASSERT_TRUE(options->loadini(options->ini_load));
    EXPECT_TRUE(options->fliesstext->isChecked());
    EXPECT_TRUE(options->fliesstext_gleichmaessig->isChecked());
    EXPECT_TRUE(input->flowing());
}

}  // namespace
}  // namespace zeilwerk::test
