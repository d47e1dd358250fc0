#pragma once

#include "core/game/game_checks.h"
#include "core/platform/background_job.h"

#include <QObject>
#include <QSyntaxHighlighter>

#include <array>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class QMenu;
class QPlainTextEdit;
class QTextEdit;

namespace zeilwerk {

class GameWords;
class Speller;
class SpellingCheck;

// The game's checks on the message being typed: a red mark in the gutter beside each line
// with a finding (too wide, more than four lines, a code typed wrong), the reasons as the
// line's tooltip; the words the dictionary does not know underlined, with suggestions and
// "add to the game's word list" in the memo's context menu.
class InputChecks : public QSyntaxHighlighter {
public:
    // tell shows what could not be done (a word list that cannot be written).
    InputChecks(QPlainTextEdit* memo, QTextEdit* gutter, std::function<void(const QString&)> tell);
    ~InputChecks() override;

    // The game whose heroes and face the lines are checked against, from the next update on;
    // none: no line checks.
    struct Game {
        std::map<int, std::u16string> heroNames;
        bool face = false;  // on either side: the text has less room
        CheckSettings settings;
    };
    void setGame(std::optional<Game> game);
    // The dictionary for the underlines, holding the words of the game's word list already,
    // and that list, which takes the words added; a null speller: no spelling.
    void setSpeller(std::unique_ptr<Speller> speller, std::filesystem::path wordList, std::filesystem::path gameFolder);
    bool spelling() const { return m_speller != nullptr; }
    // The game's own words (names, speakers, its frequent words); none: the dictionary alone.
    void setGameWords(std::shared_ptr<const GameWords> words);
    // Reads the game's words off the GUI thread and takes them when read; an empty folder: none.
    void readGameWords(const std::filesystem::path& gameFolder);
    // Whether the game's words last asked for are in; for tests.
    bool gameWordsRead() const { return !m_readingWords; }
    // A word taken into the game's word list elsewhere: right from now on.
    void acceptWord(const std::u16string& word);

    // Checks the memo's lines again; called on every change of the memo.
    void update();
    // The findings of line i (0 to 3 and beyond), as the last update found them.
    const std::vector<Finding>& findings() const { return m_findings; }

    // What the memo shows as tooltip at a point of its viewport: the line's findings and the
    // word's verdict.
    QString toolTipAt(QPoint viewportPoint) const;
    // The memo's context menu at a point: over a wrong word, its suggestions and the entry
    // that adds it to the game's word list, above the usual entries.
    std::unique_ptr<QMenu> contextMenu(QPoint viewportPoint);

protected:
    void highlightBlock(const QString& text) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void markGutter();
    void restartSpelling();
    void addWord(const std::u16string& word);

    QPlainTextEdit* m_memo;
    QTextEdit* m_gutter;
    std::function<void(const QString&)> m_tell;
    std::optional<Game> m_game;
    std::unique_ptr<Speller> m_speller;
    std::unique_ptr<SpellingCheck> m_spelling;
    std::shared_ptr<const GameWords> m_gameWords;
    bool m_rehighlighting = false;
    bool m_readingWords = false;
    std::filesystem::path m_wordList;
    std::filesystem::path m_gameFolder;
    std::vector<Finding> m_findings;
    std::vector<bool> m_marked;  // the gutter's lines now shown marked
    BackgroundJob m_wordsJob;  // last, so it is left before anything its result would touch
};

}  // namespace zeilwerk
