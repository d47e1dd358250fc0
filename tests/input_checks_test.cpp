#include "game_fixture.h"
#include "program_fixture.h"

#include "spelling/word_list.h"
#include "windows/input/input_checks.h"

#include <QAction>
#include <QCheckBox>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QTextBlock>
#include <QTextEdit>
#include <QTextLayout>

namespace zeilwerk::test {
namespace {

// The input window checks the lines typed against our own game, with Debian's de_DE.
class InputChecksTest : public PreviewProgramTest {
protected:
    void SetUp() override {
        PreviewProgramTest::SetUp();
        game = folder / "spiel";
        ASSERT_TRUE(writeEngineGame(game));
        options->spiel_ordner->setText(qpath(game));
        options->spiel_aktiv_set->setChecked(true);
        options->confirmClick();
        ASSERT_TRUE(messages.shown.isEmpty()) << messages.shown.join("|").toStdString();
        ASSERT_TRUE(input->checks->spelling()) << "de_DE is installed by scripts/setup.sh";
    }
    QString gutter() const { return input->Memo1->toPlainText(); }
    QPoint pointOf(int position) const {
        QTextCursor c(input->GetText->document());
        c.setPosition(position);
        return input->GetText->cursorRect(c).center();
    }
    bool underlined(int block, int at) const {
        const QTextLayout* layout = input->GetText->document()->findBlockByNumber(block).layout();
        for (const QTextLayout::FormatRange& r : layout->formats())
            if (at >= r.start && at < r.start + r.length && r.format.underlineStyle() == QTextCharFormat::SpellCheckUnderline)
                return true;
        return false;
    }
    std::filesystem::path game;
};

TEST_F(InputChecksTest, LinesWithFindingsAreMarkedBesideThemAndSayWhy) {
    const struct {
        QString text;
        QString gutter;
        const char* reason;  // in the tooltip of the marked line
    } rows[] = {
        {"Hallo \\n[1]!", "1\n2\n3\n4", nullptr},
        {QString(60, u'a'), "!1\n2\n3\n4", "Die Zeile ist 360 px breit, Platz ist für 304 px."},
        {"gut\n\\c[25]rot", "1\n!2\n3\n4", "25"},
        {"1\n2\n3\n4\n5", "1\n2\n3\n!4", "Die Nachricht hat 5 Zeilen"},
        {"ok", "1\n2\n3\n4", nullptr},  // the marks go again
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.text.toStdString());
        input->GetText->setPlainText(row.text);
        EXPECT_EQ(gutter(), row.gutter);
        if (row.reason) {
            const int line = static_cast<int>(row.gutter.indexOf(u'!')) / 2;
            const QString tip = input->checks->toolTipAt(pointOf(input->GetText->document()->findBlockByNumber(line).position()));
            EXPECT_TRUE(tip.contains(QString::fromUtf8(row.reason))) << tip.toStdString();
        }
    }
    // Without the game's look there is nothing to measure against.
    input->GetText->setPlainText(QString(60, u'a'));
    options->spiel_aktiv_set->setChecked(false);
    options->confirmClick();
    EXPECT_EQ(gutter(), "1\n2\n3\n4");
}

TEST_F(InputChecksTest, AWrongWordIsUnderlinedAndOneClickAddsItToTheGamesList) {
    input->GetText->setPlainText("Hallo Wrold, \\c[2]Alex!");
    EXPECT_FALSE(underlined(0, 0));
    EXPECT_TRUE(underlined(0, 6));
    EXPECT_FALSE(underlined(0, 18));  // the hero's name
    // Said as the messages window and the command line say it.
    const QString tip = input->checks->toolTipAt(pointOf(8));
    EXPECT_TRUE(tip.startsWith("„Wrold“ steht nicht im Wörterbuch (Vorschl") && tip.endsWith(u')')) << tip.toStdString();

    const std::unique_ptr<QMenu> menu = input->checks->contextMenu(pointOf(8));
    QAction* add = nullptr;
    for (QAction* a : menu->actions())
        if (a->text() == "„Wrold“ in die Wortliste des Spiels aufnehmen")
            add = a;
    ASSERT_NE(add, nullptr);
    const auto filesInGame = [&] {
        return std::distance(std::filesystem::recursive_directory_iterator(game), {});
    };
    const auto before = filesInGame();
    add->trigger();
    EXPECT_FALSE(underlined(0, 6));
    EXPECT_EQ(readWordList(wordListPath(folder.path(), game)), std::vector<std::u16string>{u"Wrold"});
    EXPECT_EQ(filesInGame(), before);  // nothing written into the game

    // A suggestion replaces the word.
    input->GetText->setPlainText("Ein Hasue");
    const std::unique_ptr<QMenu> fix = input->checks->contextMenu(pointOf(6));
    ASSERT_FALSE(fix->actions().isEmpty());
    fix->actions().first()->trigger();
    EXPECT_EQ(input->GetText->toPlainText(), "Ein " + fix->actions().first()->text());
}

}  // namespace
}  // namespace zeilwerk::test
