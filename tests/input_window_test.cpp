#include "ink.h"
#include "program_fixture.h"

#include "core/platform/code_page.h"
#include "look/fonts.h"
#include "widgets/tool_window.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTest>
#include <QTextEdit>

namespace zeilwerk::test {
namespace {

class InputWindowTest : public ProgramTest {
protected:
    void SetUp() override {
        ProgramTest::SetUp();
        create();
    }
};

TEST_F(InputWindowTest, FourWindowsWithTheirCaptionsAndSizes) {
    const std::tuple<ToolWindow*, const char*, QSize> expected[] = {
        {input.get(), "Texteingabe", {482, 121}},
        {options.get(), "Optionen", {318, 238}},
        {preview.get(), "Textvorschau", {336, 96}},
        {toolbar.get(), "Werkzeuge", {216, 58}},
    };
    for (auto [window, caption, size] : expected) {
        EXPECT_EQ(window->windowTitle(), caption);
        EXPECT_EQ(window->size(), size) << caption;
        EXPECT_EQ(window->minimumSize(), window->maximumSize()) << caption;
        EXPECT_FALSE(window->isVisible()) << caption;
    }
    EXPECT_TRUE(input->windowFlags().testFlag(Qt::WindowCloseButtonHint));
    for (ToolWindow* w : {static_cast<ToolWindow*>(options.get()), static_cast<ToolWindow*>(preview.get()),
                          static_cast<ToolWindow*>(toolbar.get())}) {
        EXPECT_EQ(w->windowFlags() & Qt::WindowType_Mask, Qt::Tool);
        EXPECT_FALSE(w->windowFlags().testFlag(Qt::WindowCloseButtonHint));
    }
}

TEST_F(InputWindowTest, ControlsAsDesigned) {
    EXPECT_EQ(input->helpline->geometry(), QRect(8, 4, 465, 17));
    EXPECT_EQ(input->helpline->text(), "Hier erscheinen Erklärungen zu Funktionen.");
    EXPECT_FALSE(input->helpline->isEnabled());
    EXPECT_EQ(input->Memo1->geometry(), QRect(8, 24, 33, 89));
    EXPECT_EQ(input->Memo1->toPlainText(), "1\n2\n3\n4");
    EXPECT_FALSE(input->Memo1->isEnabled());
    EXPECT_EQ(input->GetText->geometry(), QRect(40, 24, 433, 89));
    EXPECT_EQ(input->GetText->toPlainText(), "");
    EXPECT_EQ(input->GetText->lineWrapMode(), QPlainTextEdit::NoWrap);
    // Wine's Fixedsys draws € and its neighbours as boxes: a monospace family that has them serves.
    EXPECT_EQ(QFontInfo(input->GetText->font()).family(), "DejaVu Sans Mono");
}

TEST_F(InputWindowTest, TheHelpLineShowsOneWholeLineAndNothingOfTheSecond) {
    const QString underscored = QStringLiteral("\\_ fügt ein halbes Leerzeichen ein, jg");
    const QString wrapped = QStringLiteral("Erste Zeile mit Unterlängen gjpqy_ ") + QString(60, u'w') +
                            QStringLiteral(" zweite Zeile, die nie sichtbar werden darf");
    input->show();
    HelpLineLabel* help = input->helpline;
    const QRect inside = help->rect().adjusted(1, 1, -1, -1);
    ASSERT_TRUE(inside.contains(help->textRect())) << "the line box must fit inside the border";

    input->setHelpText(underscored);
    QImage shown = help->grab().toImage();
    const QRect ink = inkRows(shown, inside);
    EXPECT_EQ(ink.height(), uncutInkHeight(underscored, help->font())) << "descenders or the underscore are cut";

    input->setHelpText(wrapped);
    shown = help->grab().toImage();
    const QRect wrappedInk = inkRows(shown, inside);
    EXPECT_LE(wrappedInk.bottom(), help->textRect().bottom()) << "a second line shows";
    EXPECT_EQ(wrappedInk.height(), uncutInkHeight(QStringLiteral("Erste Zeile gjpqy_"), help->font()));
}

TEST_F(InputWindowTest, EnterStartsALineTabIsNotInsertedAndLinesReadBack) {
    input->show();
    input->GetText->setFocus();
    QTest::keyClicks(input->GetText, "Hallo \\c[2]Welt");
    QTest::keyClick(input->GetText, Qt::Key_Tab);
    QTest::keyClick(input->GetText, Qt::Key_Return);
    QTest::sendKeyEvent(QTest::Click, input->GetText, Qt::Key_unknown, QStringLiteral("ä"), Qt::NoModifier);
    for (int i = 0; i < 4; ++i)
        QTest::keyClick(input->GetText, Qt::Key_Return);
    QTest::sendKeyEvent(QTest::Click, input->GetText, Qt::Key_unknown, QStringLiteral("fünf"), Qt::NoModifier);
    EXPECT_EQ(input->line(0), u"Hallo \\c[2]Welt");
    EXPECT_EQ(input->line(1), u"ä");
    EXPECT_EQ(input->line(3), u"");
    EXPECT_EQ(input->line(5), u"fünf");
    EXPECT_EQ(input->line(9), u"");
    EXPECT_EQ(input->Memo1->toPlainText(), "1\n2\n3\n4");
}

struct GeometryCase {
    const char* width;
    const char* height;
    QSize memo;
    int helpWidth;
    QSize client;
};

TEST_F(InputWindowTest, GeometryFollowsThePercentages) {
    const GeometryCase cases[] = {
        {"100", "100", {433, 89}, 466, {482, 121}},
        {"20", "20", {86, 17}, 119, {135, 49}},
        {"150", "150", {649, 133}, 682, {698, 165}},
    };
    for (const GeometryCase& c : cases) {
        input->setInputWidth(c.width);
        input->setInputHeight(c.height);
        EXPECT_EQ(input->GetText->size(), c.memo) << c.width;
        EXPECT_EQ(input->Memo1->size(), QSize(33, c.memo.height())) << c.width;
        EXPECT_EQ(input->helpline->width(), c.helpWidth) << c.width;
        EXPECT_EQ(input->size(), c.client) << c.width;
        EXPECT_EQ(input->GetText->pos(), QPoint(40, 24));
    }
}

TEST_F(InputWindowTest, GeometryIgnoresTooSmallAndEmptyAndRejectsNonNumbers) {
    input->setInputWidth("150");
    input->setInputWidth("19");
    input->setInputWidth("");
    input->setInputHeight("-3");
    EXPECT_EQ(input->GetText->size(), QSize(649, 89));
    EXPECT_THROW(input->setInputWidth("1,5"), Error);
    EXPECT_THROW(input->setInputHeight("abc"), Error);
    EXPECT_THROW(input->setInputFontSize("8 "), Error);
    EXPECT_EQ(input->GetText->size(), QSize(649, 89));
}

TEST_F(InputWindowTest, SizesBeyondTheScreenAreRefusedAndHugeFontSizesCapped) {
    input->setInputWidth("2147483647");
    input->setInputHeight("2147483647");
    EXPECT_EQ(input->size(), QSize(482, 121));
    input->setInputFontSize("2147483647");
    EXPECT_LE(input->GetText->font().pixelSize(), maxFontPixels);
}

TEST_F(InputWindowTest, FontNameAndSizeFollowOnlyInstalledNames) {
    input->setInputFontName("tahoma");
    EXPECT_EQ(QFontInfo(input->GetText->font()).family(), "Tahoma");
    EXPECT_EQ(QFontInfo(input->Memo1->font()).family(), "Tahoma");
    input->setInputFontSize("12");
    EXPECT_EQ(input->GetText->font().pixelSize(), 16);
    EXPECT_EQ(input->Memo1->font().pixelSize(), 16);
    input->setInputFontName("Gibt es nicht");
    input->setInputFontSize("0");
    EXPECT_EQ(QFontInfo(input->GetText->font()).family(), "Tahoma");
    EXPECT_EQ(input->GetText->font().pixelSize(), 16);
}

TEST_F(InputWindowTest, EveryCharacterOfTheCodePageShowsInTheMemoAsItself) {
    const std::u16string page = codePageCharacters(CodePage::system());
    ASSERT_EQ(page.size(), 95u + 27u + 96u);   // ASCII, 0x80 to 0x9F but its five holes, 0xA0 to 0xFF
    if (const QFont wine = windowsFont("Fixedsys", 8); QFontInfo(wine).family() == "Fixedsys") {
        EXPECT_EQ(charactersNotShown(wine, u"A€„™ß"), u"€„™") << "Wine's boxes are not told apart";
    }
    EXPECT_EQ(charactersNotShown(input->GetText->font(), page), u"");
    // As drawn in the memo: some ink, but no filled block of it.
    input->show();
    for (const char16_t c : {u'€', u'„', u'™', u'‰', u'Ÿ'}) {
        input->GetText->setPlainText(QString(QChar(c)));
        const QImage shot = input->GetText->viewport()->grab().toImage();
        QRect box;
        int ink = 0;
        for (int y = 0; y < shot.height(); ++y)
            for (int x = 0; x < shot.width(); ++x)
                if (qGray(shot.pixel(x, y)) < 128)
                    ++ink, box |= QRect(x, y, 1, 1);
        EXPECT_TRUE(ink > 0 && ink < box.width() * box.height() * 3 / 4) << QString(QChar(c)).toStdString();
    }
}

TEST(EdgeSnapping, SnapsWithinTenPixelsInOrder) {
    const QRect work(0, 0, 1000, 700);
    const std::pair<QRect, QPoint> cases[] = {
        {{9, 9, 100, 50}, {0, 0}},          {{10, 10, 100, 50}, {10, 10}},
        {{-9, -5, 100, 50}, {0, 0}},        {{891, 641, 100, 50}, {900, 650}},
        {{890, 640, 100, 50}, {890, 640}},  {{905, 655, 100, 50}, {900, 650}},
        {{5, 300, 995, 50}, {5, 300}},      // left to 0, then the right edge lies 5 short: onto it
        {{400, 300, 100, 50}, {400, 300}},
    };
    for (auto [outer, expected] : cases)
        EXPECT_EQ(snapToEdges(outer, work).topLeft(), expected) << outer.x() << "," << outer.y();
    EXPECT_EQ(snapToEdges({1000, 5, 100, 50}, QRect(0, 0, 1100, 800)).topLeft(), QPoint(1000, 0));
}

class StartupTest : public ProgramTest {
protected:
    void SetUp() override {
        ProgramTest::SetUp();
        writePictures();
    }
};

TEST_F(StartupTest, WithoutStartupFileEverythingTakesItsDefault) {
    create();
    input->startup();
    EXPECT_EQ(options->ini_datei->text(), "standard.ini");
    EXPECT_FALSE(options->fenster_auto->isChecked());
    EXPECT_TRUE(options->isVisible());
    EXPECT_TRUE(preview->isVisible());
    EXPECT_TRUE(toolbar->isVisible());
    EXPECT_TRUE(messages.errors.isEmpty());
    EXPECT_TRUE(messages.shown.isEmpty());
}

TEST_F(StartupTest, TheStartupFileNamesTheProfileRemembersPositionsAndHidesTheToolbar) {
    writeFile(folder / "optn.ini",
              "[laden]\r\ndatei=mein profil.ini\r\n[FENSTER]\r\nAuto=1\r\n[tool]\r\nhide=1\r\n");
    writeFile(folder / "mein profil.ini", "");
    create();
    input->startup();
    EXPECT_EQ(options->ini_datei->text(), "mein profil.ini");
    EXPECT_EQ(options->ini_datei->palette().color(QPalette::Text), TForm2::validColour);
    EXPECT_TRUE(options->fenster_auto->isChecked());
    EXPECT_TRUE(options->isVisible());
    EXPECT_TRUE(preview->isVisible());
    EXPECT_FALSE(toolbar->isVisible());
    EXPECT_FALSE(options->tool_hide->isChecked());
}

TEST_F(StartupTest, NonFlagValuesReadAsOff) {
    writeFile(folder / "optn.ini", "[fenster]\nauto=ja\n[tool]\nhide=0\n[laden]\ndatei=\"\xDC" "bung.ini\"\n");
    create();
    input->startup();
    EXPECT_FALSE(options->fenster_auto->isChecked());
    EXPECT_TRUE(toolbar->isVisible());
    EXPECT_EQ(options->ini_datei->text(), "Übung.ini");
}

TEST_F(StartupTest, RunsOnceAtTheFirstShow) {
    create();
    input->show();
    EXPECT_TRUE(options->isVisible());
    options->hide();
    input->hide();
    input->show();
    EXPECT_FALSE(options->isVisible());
}

}  // namespace
}  // namespace zeilwerk::test
