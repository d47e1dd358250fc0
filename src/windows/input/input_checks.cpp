#include "windows/input/input_checks.h"

#include "core/game/game_folder.h"
#include "core/platform/code_page.h"
#include "core/platform/error.h"
#include "platform/qt_text.h"
#include "spelling/game_words.h"
#include "spelling/speller.h"
#include "spelling/spelling_check.h"
#include "spelling/word_list.h"

#include <QContextMenuEvent>
#include <QHelpEvent>
#include <QMenu>
#include <QPlainTextEdit>
#include <QTextBlock>
#include <QTextEdit>
#include <QToolTip>

namespace zeilwerk {
namespace {

constexpr int kGutterLines = 4;

QTextCharFormat wrongWordFormat() {
    QTextCharFormat format;
    format.setUnderlineStyle(QTextCharFormat::SpellCheckUnderline);
    format.setUnderlineColor(Qt::red);
    return format;
}

}  // namespace

InputChecks::InputChecks(QPlainTextEdit* memo, QTextEdit* gutter, std::function<void(const QString&)> tell)
    : QSyntaxHighlighter(memo->document()),
      m_memo(memo),
      m_gutter(gutter),
      m_tell(std::move(tell)),
      m_marked(kGutterLines, false),
      m_wordsJob([this](BackgroundJob::Task task) { QMetaObject::invokeMethod(this, std::move(task), Qt::QueuedConnection); }) {
    memo->installEventFilter(this);
    memo->viewport()->installEventFilter(this);
}

InputChecks::~InputChecks() = default;

void InputChecks::setGame(std::optional<Game> game) {
    if (game)
        game->heroNames = namesForChecks(game->heroNames, CodePage::system());
    m_game = std::move(game);
    restartSpelling();
}

// The heroes' names are no words to check: a new game or dictionary starts the check afresh.
void InputChecks::restartSpelling() {
    m_spelling.reset();
    if (m_speller)
        m_spelling = std::make_unique<SpellingCheck>(*m_speller, m_game ? m_game->heroNames : std::map<int, std::u16string>{},
                                                     m_gameWords, true);
    rehighlight();
}

void InputChecks::setGameWords(std::shared_ptr<const GameWords> words) {
    m_gameWords = std::move(words);
    restartSpelling();
}

void InputChecks::readGameWords(const std::filesystem::path& gameFolder) {
    m_wordsJob.abandon();
    m_readingWords = false;
    if (gameFolder.empty()) {
        setGameWords(nullptr);
        return;
    }
    m_readingWords = true;
    m_wordsJob.start(
        [this, gameFolder](const BackgroundJob::Context& job) {
            std::vector<std::u16string> names;
            std::map<int, std::u16string> heroes, maps;
            std::vector<GameMessage> messages;
            readGameMessages(
                gameFolder, CodePage::system(),
                [&](GamePart&& part) {
                    names.insert(names.end(), part.gameNames.begin(), part.gameNames.end());
                    heroes.insert(part.heroNames.begin(), part.heroNames.end());
                    maps.insert(part.mapNames.begin(), part.mapNames.end());
                    messages.insert(messages.end(), std::make_move_iterator(part.messages.begin()),
                                    std::make_move_iterator(part.messages.end()));
                },
                [&] { return job.stop.load(); });
            auto words = std::make_shared<const GameWords>(collectGameWords(names, heroes, maps, {&messages}));
            job.hand([this, words] {
                m_readingWords = false;
                setGameWords(words);
            });
        },
        // A game that cannot be read leaves the dictionary alone; the tab "Spiel" says why.
        [this](const std::string&) {
            m_readingWords = false;
            setGameWords(nullptr);
        });
}

void InputChecks::setSpeller(std::unique_ptr<Speller> speller, std::filesystem::path wordList,
                             std::filesystem::path gameFolder) {
    m_spelling.reset();
    m_speller = std::move(speller);
    m_wordList = std::move(wordList);
    m_gameFolder = std::move(gameFolder);
    restartSpelling();
}

void InputChecks::update() {
    m_findings.clear();
    if (m_game) {
        GameMessage message;
        for (QTextBlock b = m_memo->document()->begin(); b.isValid(); b = b.next())
            message.lines.push_back(toU16(b.text()));
        // An empty last line is no line the game shows.
        while (!message.lines.empty() && message.lines.back().empty())
            message.lines.pop_back();
        if (m_game->face)
            message.look.face = u"Gesicht";
        checkMessage(message, m_game->heroNames, CodePage::system(), m_game->settings, m_findings);
    }
    markGutter();
    // A word hyphenated at a line's end is checked with the next line's first: a change of
    // one line can change the underlines of its neighbours.
    if (m_spelling && !m_rehighlighting && m_memo->document()->blockCount() > 1) {
        m_rehighlighting = true;
        rehighlight();
        m_rehighlighting = false;
    }
}

// Line i's number in red behind a "!" while it has a finding; the message as a whole marks
// the last line.
void InputChecks::markGutter() {
    std::vector<bool> marked(kGutterLines, false);
    for (const Finding& f : m_findings)
        marked[static_cast<size_t>(std::clamp(f.line == 0 ? kGutterLines : f.line, 1, kGutterLines) - 1)] = true;
    if (marked == m_marked)
        return;
    m_marked = marked;
    QTextBlock block = m_gutter->document()->begin();
    for (int i = 0; i < kGutterLines && block.isValid(); ++i, block = block.next()) {
        QTextCursor cursor(block);
        cursor.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
        QTextCharFormat format;
        if (marked[static_cast<size_t>(i)]) {
            format.setForeground(Qt::red);
            format.setFontWeight(QFont::Bold);
        }
        cursor.insertText((marked[static_cast<size_t>(i)] ? QStringLiteral("!") : QString()) + QString::number(i + 1),
                          format);
    }
}

void InputChecks::highlightBlock(const QString& text) {
    if (!m_spelling)
        return;
    static const QTextCharFormat format = wrongWordFormat();
    const QTextBlock block = currentBlock();
    for (const SpellingWord& w : m_spelling->wrongWords(toU16(text), toU16(block.previous().text()), toU16(block.next().text())))
        setFormat(static_cast<int>(w.at), static_cast<int>(w.length), format);
}

namespace {

// The word of a block at a column, if the check finds it wrong: where it stands, and the
// word checked, which a hyphen at the line's end joins with the next line's first.
std::optional<CheckedWord> wrongWordAt(SpellingCheck& check, const QTextBlock& block, size_t column) {
    const std::u16string line = toU16(block.text());
    for (const CheckedWord& w : check.checkedWords(line, toU16(block.previous().text()), toU16(block.next().text())))
        if (column >= w.at.at && column <= w.at.at + w.at.length && check.kindOf(w.word) == SpellingCheck::Kind::Wrong)
            return w;
    return std::nullopt;
}

}  // namespace

QString InputChecks::toolTipAt(QPoint viewportPoint) const {
    const QTextCursor cursor = m_memo->cursorForPosition(viewportPoint);
    const int line = cursor.blockNumber() + 1;
    QStringList said;
    for (const Finding& f : m_findings)
        if (f.line == line || f.line == 0)
            said << QString::fromStdString(f.reason);
    if (m_spelling) {
        if (const auto w = wrongWordAt(*m_spelling, cursor.block(), static_cast<size_t>(cursor.positionInBlock())))
            said << QString::fromStdString(m_spelling->reason(w->word));
    }
    return said.join(u'\n');
}

bool InputChecks::eventFilter(QObject* watched, QEvent* event) {
    // The type first: the memo sends events here while it is being destroyed, when asking
    // it for its viewport would be too late.
    if (event->type() == QEvent::ToolTip && watched == m_memo->viewport()) {
        const auto* help = static_cast<QHelpEvent*>(event);
        const QString text = toolTipAt(help->pos());
        if (text.isEmpty())
            QToolTip::hideText();
        else
            QToolTip::showText(help->globalPos(), text, m_memo->viewport());
        return true;
    }
    if (event->type() == QEvent::ContextMenu && watched == m_memo) {
        const auto* menu = static_cast<QContextMenuEvent*>(event);
        contextMenu(m_memo->viewport()->mapFrom(m_memo, menu->pos()))->exec(menu->globalPos());
        return true;
    }
    return QSyntaxHighlighter::eventFilter(watched, event);
}

std::unique_ptr<QMenu> InputChecks::contextMenu(QPoint viewportPoint) {
    std::unique_ptr<QMenu> menu(m_memo->createStandardContextMenu());
    const QTextCursor at = m_memo->cursorForPosition(viewportPoint);
    const QTextBlock block = at.block();
    const std::u16string text = toU16(block.text());
    const std::optional<CheckedWord> w =
        m_spelling ? wrongWordAt(*m_spelling, block, static_cast<size_t>(at.positionInBlock())) : std::nullopt;
    if (w) {
        const std::u16string word = w->word;
        QAction* first = menu->actions().isEmpty() ? nullptr : menu->actions().first();
        const int start = block.position() + static_cast<int>(w->at.at);
        const int length = static_cast<int>(w->at.length);
        // A word hyphenated across the line end is named whole, but only its half here is replaced.
        const bool whole = word == text.substr(w->at.at, w->at.length);
        for (const std::u16string& hint : whole ? m_spelling->suggestions(word, true, 5) : std::vector<std::u16string>()) {
            QAction* replace = new QAction(fromU16(hint), menu.get());
            connect(replace, &QAction::triggered, this, [this, start, length, hint] {
                QTextCursor c(m_memo->document());
                c.setPosition(start);
                c.setPosition(start + length, QTextCursor::KeepAnchor);
                c.insertText(fromU16(hint));
            });
            menu->insertAction(first, replace);
        }
        const QString addText = m_wordList.empty()
                                    ? QStringLiteral("„%1“ für diese Sitzung annehmen").arg(fromU16(word))
                                    : QStringLiteral("„%1“ in die Wortliste des Spiels aufnehmen").arg(fromU16(word));
        QAction* add = new QAction(addText, menu.get());
        connect(add, &QAction::triggered, this, [this, word] { addWord(word); });
        menu->insertAction(first, add);
        menu->insertSeparator(first);
    }
    return menu;
}

void InputChecks::acceptWord(const std::u16string& word) {
    if (!m_spelling)
        return;
    m_spelling->add(word);
    rehighlight();
}

void InputChecks::addWord(const std::u16string& word) {
    if (!m_spelling)
        return;
    m_spelling->add(word);
    if (!m_wordList.empty()) {
        try {
            addToWordList(m_wordList, m_gameFolder, word);
        } catch (const Error& e) {
            if (m_tell)
                m_tell(QString::fromUtf8(e.what()));
        }
    }
    rehighlight();
}

}  // namespace zeilwerk
