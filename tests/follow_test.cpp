#include "program_fixture.h"

#include "maker/bridge_frames.h"
#include "maker/maker_reader.h"
#include "windows/input/maker_follower.h"

#include <QCheckBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QThread>

#include <atomic>
#include <mutex>
#include <stdexcept>

namespace zeilwerk::test {
namespace {

// Stands in for the Maker's dialog: returns what the test put there, on the follower's thread.
class FakeReader : public MakerReader {
public:
    Reading read() override {
        ++reads;
        std::lock_guard lock(m_mutex);
        readingThread = QThread::currentThread();
        if (m_throws)
            throw std::runtime_error("Pipe gebrochen");
        return m_reading;
    }
    std::string problem() const override { return "wine: kaputt"; }
    void stop() override { stoppedOn = QThread::currentThread(); }

    void show(Status status, std::u16string text = {}) {
        std::lock_guard lock(m_mutex);
        m_reading = {status, std::move(text)};
        m_throws = false;
    }
    void fail() {
        std::lock_guard lock(m_mutex);
        m_throws = true;
    }
    std::atomic<int> reads{0};
    std::atomic<QThread*> readingThread{nullptr};
    std::atomic<QThread*> stoppedOn{nullptr};

private:
    std::mutex m_mutex;
    Reading m_reading;
    bool m_throws = false;
};

using Status = MakerReader::Status;
const QString kFollowing = QStringLiteral("Liest den Nachrichtendialog des Makers mit.");

class FollowTest : public ProgramTest {
protected:
    void SetUp() override {
        platform.makerReader = &reader;
        ProgramTest::SetUp();
        writePictures();
        create();
        preview->setUpAssets();
        input->show();
        input->GetText->setPlainText(QStringLiteral("Vom Nutzer getippt"));
    }
    QString memo() const { return input->GetText->toPlainText(); }
    FakeReader reader;
};

TEST_F(FollowTest, TheDialogsTextFillsTheReadOnlyMemoAndThePreviewFollows) {
    const QImage before = preview->desti.picture().copy();
    reader.show(Status::Read, u"Äpfel für 5 €\r\nZweite Zeile\r\n\\C[2]Dritte");
    options->text_mitlesen->setChecked(true);
    EXPECT_TRUE(input->following());
    EXPECT_TRUE(input->GetText->isReadOnly());
    EXPECT_EQ(input->GetText->palette().color(QPalette::Base), TForm1::followingColour);
    EXPECT_FALSE(options->text_maker->isEnabled());  // the text read is not typed back into the dialog
    // Picked up within two ticks.
    QTRY_COMPARE_WITH_TIMEOUT(memo(), QStringLiteral("Äpfel für 5 €\nZweite Zeile\n\\C[2]Dritte"), 200);
    EXPECT_EQ(input->line(1), u"Zweite Zeile");
    EXPECT_EQ(input->helpline->text(), kFollowing);
    EXPECT_NE(preview->desti.picture(), before);
    // The reads are made on a thread of their own, never the GUI's.
    EXPECT_NE(reader.readingThread.load(), nullptr);
    EXPECT_NE(reader.readingThread.load(), QThread::currentThread());

    // The maker types on in the Maker.
    reader.show(Status::Read, u"Äpfel für 5 €\r\nZweite Zeile ist länger");
    QTRY_COMPARE_WITH_TIMEOUT(memo(), QStringLiteral("Äpfel für 5 €\nZweite Zeile ist länger"), 200);
    EXPECT_TRUE(messages.shown.isEmpty());
}

TEST_F(FollowTest, NoDialogKeepsTheInputAndSaysSoOnceAndADialogThatOpensIsPickedUp) {
    reader.show(Status::NoDialog);
    options->text_mitlesen->setChecked(true);
    QTRY_VERIFY_WITH_TIMEOUT(input->helpline->text().contains(QStringLiteral("kein Nachrichtendialog offen")), 200);
    const int seen = reader.reads;
    QTRY_VERIFY_WITH_TIMEOUT(reader.reads >= seen + 3, 1000);
    input->setHelpText(QStringLiteral("ein Hinweis"));  // a hint shown meanwhile is not overwritten again
    QTest::qWait(250);
    EXPECT_EQ(input->helpline->text(), QStringLiteral("ein Hinweis"));
    EXPECT_EQ(memo(), QStringLiteral("Vom Nutzer getippt"));

    reader.show(Status::Read, u"Jetzt offen");
    QTRY_COMPARE_WITH_TIMEOUT(memo(), QStringLiteral("Jetzt offen"), 200);
    EXPECT_EQ(input->helpline->text(), kFollowing);
    // Closed and opened again with another message.
    reader.show(Status::NoDialog);
    QTRY_VERIFY_WITH_TIMEOUT(input->helpline->text() != kFollowing, 200);
    EXPECT_EQ(memo(), QStringLiteral("Jetzt offen"));
    reader.show(Status::Read, u"Die nächste Nachricht");
    QTRY_COMPARE_WITH_TIMEOUT(memo(), QStringLiteral("Die nächste Nachricht"), 200);
}

TEST_F(FollowTest, OffGivesTheMemoBackWithTheLastTextRead) {
    reader.show(Status::Read, u"Zuletzt gelesen");
    options->text_mitlesen->setChecked(true);
    QTRY_COMPARE_WITH_TIMEOUT(memo(), QStringLiteral("Zuletzt gelesen"), 200);
    options->text_mitlesen->setChecked(false);
    EXPECT_FALSE(input->following());
    EXPECT_FALSE(input->GetText->isReadOnly());
    EXPECT_NE(input->GetText->palette().color(QPalette::Base), TForm1::followingColour);
    EXPECT_TRUE(options->text_maker->isEnabled());
    reader.show(Status::Read, u"Nicht mehr übernommen");
    QTest::qWait(250);
    EXPECT_EQ(memo(), QStringLiteral("Zuletzt gelesen"));
    // Editable again: typing reaches the memo.
    input->GetText->moveCursor(QTextCursor::End);
    QTest::keyClicks(input->GetText, QStringLiteral("!"));
    EXPECT_EQ(memo(), QStringLiteral("Zuletzt gelesen!"));
}

TEST_F(FollowTest, AFailingOrSilentReaderIsToldOnceAndFollowingGoesOn) {
    struct Case {
        const char* name;
        bool throws;
        Status status;
        const char* says;
    };
    const Case cases[] = {
        {"the reader throws", true, Status::NoAnswer, "nicht innerhalb von 10 Sekunden"},
        {"the bridge did not answer", false, Status::NoAnswer, "nicht innerhalb von 10 Sekunden"},
        {"Wine could not start the bridge", false, Status::NotStarted,
         "Wine konnte die Brücke zum Maker nicht starten:\nwine: kaputt"},
    };
    for (const Case& c : cases) {
        messages.shown.clear();
        if (c.throws)
            reader.fail();
        else
            reader.show(c.status);
        options->text_mitlesen->setChecked(true);
        QTRY_COMPARE_WITH_TIMEOUT(messages.shown.size(), 1, 300);
        EXPECT_TRUE(messages.shown[0].contains(QString::fromUtf8(c.says))) << c.name << ": " << messages.shown[0].toStdString();
        if (c.status == Status::NoAnswer) {
            QTest::qWait(300);  // three more ticks, no second message
            EXPECT_EQ(messages.shown.size(), 1) << c.name;
        }
        reader.show(Status::Read, u"Wieder da");
        QTRY_COMPARE_WITH_TIMEOUT(memo(), QStringLiteral("Wieder da"), 300);
        options->text_mitlesen->setChecked(false);
        input->GetText->setPlainText(QStringLiteral("Vom Nutzer getippt"));
    }
}

TEST_F(FollowTest, TheReaderIsLetGoOnItsOwnThread) {
    reader.show(Status::Read, u"x");
    options->text_mitlesen->setChecked(true);
    QTRY_COMPARE_WITH_TIMEOUT(memo(), QStringLiteral("x"), 200);
    QThread* readOn = reader.readingThread;
    toolbar.reset();
    preview.reset();
    options.reset();
    input.reset();
    EXPECT_EQ(reader.stoppedOn.load(), readOn);
}

TEST(MemoText, TheMakersLineEndsBecomeTheMemos) {
    const std::pair<std::u16string, std::u16string> cases[] = {
        {u"", u""},
        {u"eins\r\nzwei", u"eins\nzwei"},
        {u"eins\rzwei\r\n", u"eins\nzwei\n"},
        {u"\r\n\r\n", u"\n\n"},
        {u"ohne Ende", u"ohne Ende"},
    };
    for (const auto& [dialog, memo] : cases)
        EXPECT_EQ(memoTextOf(dialog), memo);
}

TEST(BridgeFrames, TextsAndTheReadRequestRoundTrip) {
    for (const std::u16string& text : {std::u16string(), std::u16string(u"Äpfel für 5 €"), std::u16string(u"\\C[2]\r\n")}) {
        const std::string frame = bridge::textFrame(text);
        ASSERT_EQ(frame.size(), 4 + 2 * text.size());
        EXPECT_EQ(bridge::countOf(frame), text.size());
        EXPECT_EQ(bridge::unitsOf(std::string_view(frame).substr(4)), text);
    }
    // "€" is U+20AC: low byte first.
    EXPECT_EQ(bridge::textFrame(u"€"), std::string("\x01\x00\x00\x00\xAC\x20", 6));
    EXPECT_EQ(bridge::readRequestFrame(), std::string(4, '\xFF'));
    EXPECT_EQ(bridge::countOf(bridge::readRequestFrame()), bridge::readRequest);
    EXPECT_GT(bridge::readRequest, bridge::maxUnits);  // never taken for a text's count
    EXPECT_EQ(bridge::unitsOf(std::string("A\0B", 3)), u"A");  // an odd last byte is no unit
}

TEST(WineReader, ABridgeThatCannotStartIsToldOnceAndNotTriedAgain) {
    TempDir dir;
    const std::unique_ptr<MakerReader> reader = systemMakerReader(dir.path() / "zeilwerk-maker.exe");
    const MakerReader::Reading first = reader->read();
    EXPECT_EQ(first.status, Status::NotStarted);
    EXPECT_FALSE(reader->problem().empty());
    EXPECT_EQ(reader->read().status, Status::NoDialog);
    reader->stop();
}


TEST(WineReader, ReadsTheDialogThroughTheBridgesPipeAndStopsABridgeThatHangs) {
    TempDir dir;
    const std::filesystem::path wine = ZEILWERK_STAND_IN_WINE;
    const auto bridgeFile = dir.path() / "zeilwerk-maker.exe";
    const auto show = [&](const std::u16string& text) {
        writeFile(bridgeFile, std::string(reinterpret_cast<const char*>(text.data()), 2 * text.size()));
    };
    const std::unique_ptr<MakerReader> reader = wineMakerReader(bridgeFile, wine, dir.path(), 500);
    struct Step {
        std::string shown;  // empty: the text below
        std::u16string text;
        Status status;
    };
    const Step steps[] = {
        {"", u"Äpfel für 5 €\r\nZeile", Status::Read},
        {"", u"", Status::Read},
        {"none", u"", Status::NoDialog},
        {"hang", u"", Status::NoAnswer},
        {"", u"Wieder gestartet", Status::Read},  // the bridge that hung was stopped and starts anew
    };
    for (const Step& step : steps) {
        if (step.shown.empty())
            show(step.text);
        else
            writeFile(bridgeFile, step.shown);
        const MakerReader::Reading reading = reader->read();
        EXPECT_EQ(static_cast<int>(reading.status), static_cast<int>(step.status)) << step.shown;
        EXPECT_EQ(reading.text, step.text) << step.shown;
    }
    reader->stop();
}

}  // namespace
}  // namespace zeilwerk::test
