#include "program_fixture.h"

#include "widgets/help_line.h"

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTest>
#include <QToolButton>
#include <QToolTip>

namespace zeilwerk::test {
namespace {

class ToolbarTest : public ProgramTest {
protected:
    void SetUp() override {
        ProgramTest::SetUp();
        writePictures();
        create();
        input->show();   // runs start-up: all four windows are shown
    }
    QPlainTextEdit* memo() const { return input->GetText; }
    // The memo holding "ab12cd", with "12" selected when select is true, else the caret after "ab".
    void prepare(bool select) {
        memo()->setPlainText("ab12cd");
        QTextCursor c = memo()->textCursor();
        c.setPosition(2);
        if (select)
            c.setPosition(4, QTextCursor::KeepAnchor);
        memo()->setTextCursor(c);
    }
};

struct ClickCase {
    const char* button;
    const char16_t* withSelection;    // memo text after the click with "12" selected
    int caretWithSelection;
    const char16_t* withoutSelection;  // after the click with the caret after "ab"
    int caretWithout;
};

TEST_F(ToolbarTest, EveryButtonEditsTheMemoAtTheCaret) {
    const ClickCase cases[] = {
        {"farbe", u"ab\\c[12]cd", 8, u"ab\\c[]12cd", 5},
        {"farbe_var", u"ab\\c[\\v[12]]cd", 12, u"ab\\c[\\v[]]12cd", 8},
        {"geschw", u"ab\\s[12]cd", 8, u"ab\\s[]12cd", 5},
        {"geschw_var", u"ab\\s[\\v[12]]cd", 12, u"ab\\s[\\v[]]12cd", 8},
        {"sofort", u"ab\\>12\\<cd", 8, u"ab\\>\\<12cd", 4},
        {"silent", u"ab\\..\\..\\..cd", 11, u"ab\\..\\..\\..12cd", 11},
        {"s100", u"ab\\|cd", 4, u"ab\\|12cd", 4},
        {"s25", u"ab\\.cd", 4, u"ab\\.12cd", 4},
        {"enter", u"ab\\!cd", 4, u"ab\\!12cd", 4},
        {"weiter", u"ab\\^cd", 4, u"ab\\^12cd", 4},
        {"hero", u"ab\\n[12]cd", 8, u"ab\\n[]12cd", 5},
        {"hero_var", u"ab\\n[\\v[12]]cd", 12, u"ab\\n[\\v[]]12cd", 8},
        {"vari", u"ab\\v[12]cd", 8, u"ab\\v[]12cd", 5},
        {"backslash", u"ab\\\\cd", 4, u"ab\\\\12cd", 4},
        {"space", u"ab\\_cd", 4, u"ab\\_12cd", 4},
        {"geld", u"ab\\$cd", 4, u"ab\\$12cd", 4},
    };
    for (const ClickCase& c : cases) {
        QToolButton* b = toolbar->button(c.button);
        ASSERT_NE(b, nullptr) << c.button;
        for (bool select : {true, false}) {
            prepare(select);
            QSignalSpy changes(memo(), &QPlainTextEdit::textChanged);
            QTest::mouseClick(b, Qt::LeftButton);
            EXPECT_EQ(memo()->toPlainText(), QString::fromUtf16(select ? c.withSelection : c.withoutSelection))
                << c.button << (select ? " with selection" : "");
            EXPECT_EQ(memo()->textCursor().position(), select ? c.caretWithSelection : c.caretWithout) << c.button;
            EXPECT_FALSE(memo()->textCursor().hasSelection()) << c.button;
            EXPECT_EQ(changes.count(), 1) << c.button;
        }
    }
    EXPECT_EQ(toolbar->button("farbe")->focusPolicy(), Qt::NoFocus);
}

TEST_F(ToolbarTest, ASelectionOverLinesIsWrappedUnchangedInOneUndoStep) {
    memo()->setPlainText("eins\nzwei\ndrei");
    QTextCursor c = memo()->textCursor();
    c.setPosition(2);
    c.setPosition(12, QTextCursor::KeepAnchor);
    memo()->setTextCursor(c);
    QTest::mouseClick(toolbar->button("sofort"), Qt::LeftButton);
    EXPECT_EQ(memo()->toPlainText(), "ei\\>ns\nzwei\ndr\\<ei");
    memo()->undo();
    EXPECT_EQ(memo()->toPlainText(), "eins\nzwei\ndrei");
}

TEST_F(ToolbarTest, TypingGoesOnAtTheCaretAfterAClick) {
    memo()->setPlainText("");
    QTest::mouseClick(toolbar->button("farbe"), Qt::LeftButton);
    EXPECT_TRUE(QTest::qWaitFor([&] { return memo()->hasFocus(); }, 2000));
    QTest::keyClicks(QApplication::focusWidget(), "2");
    EXPECT_EQ(memo()->toPlainText(), "\\c[2]");
}

TEST_F(ToolbarTest, TheVerticalLayoutExchangesLeftAndTop) {
    toolbar->setHorizontal(false);
    EXPECT_EQ(toolbar->size(), QSize(58, 216));
    EXPECT_EQ(toolbar->button("geld")->geometry(), QRect(30, 186, 25, 25));
    EXPECT_EQ(toolbar->button("farbe")->geometry(), QRect(4, 4, 25, 25));
    EXPECT_EQ(toolbar->button("geschw")->geometry(), QRect(4, 30, 25, 25));
    toolbar->setHorizontal(true);
    EXPECT_EQ(toolbar->size(), QSize(216, 58));
    EXPECT_EQ(toolbar->button("geld")->geometry(), QRect(186, 30, 25, 25));
    EXPECT_EQ(toolbar->button("sofort")->text(), "><");
}

class HelpLineTest : public ToolbarTest {
protected:
    void SetUp() override {
        ToolbarTest::SetUp();
        // The offscreen screen is 800 × 600: lay the windows out on it side by side.
        input->move(0, 0);
        toolbar->move(500, 0);
        preview->move(400, 150);
        options->move(0, 300);
    }
    QString help() const { return input->helpline->text(); }
    void moveOver(QWidget* w, QPoint at = QPoint(-1, -1)) {
        QTest::mouseMove(w, at.x() < 0 ? w->rect().center() : at);
    }
};

TEST_F(HelpLineTest, ListedControlsShowTheirHintsAndBackgroundsTheDefault) {
    options->tabs->setCurrentIndex(3);
    moveOver(options->confirm);
    EXPECT_EQ(help(), "Wendet alle Einstellungen an und aktualisiert die Vorschau.");
    moveOver(options.get(), QPoint(150, 204));   // the window between the tabs and the buttons
    EXPECT_EQ(help(), defaultHelpText);
    moveOver(options->ini_datei);
    EXPECT_EQ(help(), "Die INI-Datei, in der alle Einstellungen gespeichert werden sollen.");
    moveOver(options->fenster_ausr->parentWidget(), QPoint(60, 52));   // group "Fenster", between controls
    EXPECT_EQ(help(), defaultHelpText);
    moveOver(options->tool_hide);
    EXPECT_EQ(help(), "Versteckt das Werkzeugefenster.");
    // The page "Allgemein" itself is not bound: the last text stays.
    moveOver(options->tabs->currentWidget(), QPoint(150, 160));
    EXPECT_EQ(help(), "Versteckt das Werkzeugefenster.");
}

TEST_F(HelpLineTest, LabelsAndTheDebuggerLeaveTheTextAndTheSelectedAlignmentShowsItsGroup) {
    options->tabs->setCurrentIndex(1);
    moveOver(options->eingabe_breite);
    EXPECT_EQ(help(), "Stellt die Breite der Eingabefläche ein. Minimum sind 20%.");
    QLabel* caption = nullptr;
    for (QLabel* l : options->eingabe_breite->parentWidget()->findChildren<QLabel*>())
        if (l->text() == "Breite (%)")
            caption = l;
    ASSERT_NE(caption, nullptr);
    moveOver(caption);
    EXPECT_EQ(help(), "Stellt die Breite der Eingabefläche ein. Minimum sind 20%.");

    options->tabs->setCurrentIndex(4);
    moveOver(options->debug);
    moveOver(options->BitBtn4);
    EXPECT_EQ(help(), "Stellt die Breite der Eingabefläche ein. Minimum sind 20%.");

    options->tabs->setCurrentIndex(2);
    moveOver(options->text_rechts);
    EXPECT_EQ(help(), "Richtet den Text rechts aus.");
    moveOver(options->text_links);   // selected, so disabled
    EXPECT_EQ(help(), defaultHelpText);
    moveOver(options->text_zentriert);
    EXPECT_EQ(help(), "Richtet den Text zentriert aus.");
}

TEST_F(HelpLineTest, ToolbarButtonsAndTheStripBetweenThem) {
    moveOver(toolbar->button("geld"));
    EXPECT_EQ(help(), "\\$ zeigt solange die Textbox angezeigt wird das Geld-Fenster an.");
    moveOver(toolbar.get(), QPoint(29, 10));   // the pixel column between farbe and geschw
    EXPECT_EQ(help(), defaultHelpText);
    moveOver(toolbar->button("backslash"));
    EXPECT_EQ(help(), "\\\\ fügt einen Backslash in den Text ein. \\ alleine versteckt das nachfolgende Zeichen.");
    moveOver(input->GetText);
    moveOver(preview.get());
    EXPECT_EQ(help(), "\\\\ fügt einen Backslash in den Text ein. \\ alleine versteckt das nachfolgende Zeichen.");
    for (QToolButton* b : toolbar->buttons)
        EXPECT_TRUE(b->toolTip().isEmpty());
    EXPECT_FALSE(QToolTip::isVisible());
}

}  // namespace
}  // namespace zeilwerk::test
