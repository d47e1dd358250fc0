#pragma once

#include "core/game/game_checks.h"
#include "platform/platform.h"
#include "widgets/tool_window.h"
#include "core/platform/background_job.h"
#include "windows/windows.h"

#include <QModelIndex>

#include <functional>
#include <atomic>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

class QCheckBox;
class QComboBox;
class QDialog;
class QLabel;
class QLineEdit;
class QMenu;
class QProgressBar;
class QPushButton;
class QTabWidget;
class QTreeView;

namespace zeilwerk {

class MessagesModel;
class SpellingWords;
struct GamePart;
struct WordReplacement;

// The message window "Nachrichten": every message of the game in the folder of the tab
// "Spiel", read and checked off the GUI thread; a chosen message goes into the input memo
// with its look into the options. Resizable, closed (hidden) by the user.
class TForm5 : public ToolWindow {
public:
    TForm5(const Platform& platform, const Windows& windows);
    ~TForm5() override;

    // "Nachrichten des Spiels…": shows the window and reads the game unless it holds it.
    void openWindow();
    // "Neu laden": reads the game of the folder now named; a reading under way is cancelled.
    void readGame();
    // "Prüfen": the checks of every message, or none when switched off.
    void checkGame();
    // Over a spelling finding: the entry that takes its word into the game's word list.
    std::unique_ptr<QMenu> contextMenu(const QModelIndex& index);
    // The word into the game's word list: the typed lines and the checks know it from now on.
    void acceptWord(const std::u16string& word);
    // The game's own words into its word list at once.
    void acceptWords(const std::vector<std::u16string>& words);
    // The word's findings hidden for this session.
    void ignoreWord(const std::u16string& word);
    // Findings of a check of another kind shown with those of checkMessage.
    void addFindings(const std::vector<Finding>& findings);
    // The chosen message into the memo, its look into the options and the preview.
    void takeMessage(const QModelIndex& index);
    void showMessage(const GameMessage& message);
    // "Ins Spiel schreiben": the chosen message, as the input memo now holds it, into the game.
    void writeSelected();
    // The replacement of a whole word at every place of the game read, for a preview.
    std::vector<WordReplacement> planReplacement(const std::u16string& from, const std::u16string& to) const;
    // Asks with the write dialog (title as its caption), then writes the plan into the game,
    // tells what was written and refused, and reads and checks the game again. True when
    // something was written.
    bool writePlan(const std::vector<WordReplacement>& plan, const QString& title);
    // "Ersetzen…" over a word of the spelling tab: asks for its replacement (the likely meant
    // word offered), then writes it at every place as writePlan does.
    void replaceWord(const std::u16string& word);
    // "Rückgängig": the files of the last write put back; asks first when one changed since.
    void undoWrite();
    // Stops the reading or checking under way; returns at once, what it still hands over is dropped.
    void cancelWork();
    // Whether the work last started has ended; for tests.
    std::shared_ptr<const std::atomic<bool>> workFinished() const { return m_job.finishedFlag(); }
    bool working() const { return m_working; }

    QLineEdit* search;
    QComboBox* findingFilter;
    QPushButton* reload;
    QCheckBox* check;
    QTabWidget* views;  // the messages, and the spelling findings by word
    QTreeView* list;
    SpellingWords* spellingWords;
    QProgressBar* progress;
    QLabel* statusLine;
    QPushButton* writeBack;
    QPushButton* undo;
    MessagesModel* model;
    // Runs a question (the write dialog, the undo's question) until it is answered; tests
    // answer it themselves instead of a modal loop.
    std::function<void(QDialog& question)> askUser;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void applyFilter();
    // The groups open, their findings closed, when few messages show.
    void openSmallGroups();
    void takePart(int run, GamePart& part);
    void readingDone(int run, bool complete, const QString& failure);
    void takeFindings(int run, std::vector<Finding>& findings, int checked);
    void checkingDone(int run, const QString& failure = QString());
    void takeGameWords(int run, std::vector<std::pair<std::u16string, int>>& words);
    void takeReasons(int run, std::vector<std::pair<std::u16string, std::string>>& reasons);
    void dropWord(const std::u16string& word);
    void showStatus();
    QString gameFolderText() const;
    QString placeText(const MessagePlace& place) const;
    void requireGame() const;

    const Platform& m_platform;
    const Windows& m_windows;
    std::filesystem::path m_folder;  // the folder read, or being read
    bool m_read = false;             // m_folder was read to its end
    bool m_working = false;
    bool m_checking = false;
    int m_run = 0;
    int m_parts = 0;
    QString m_problem;
    bool m_suggesting = false;  // the findings are out, the dictionary's suggestions not yet
    std::vector<std::u16string> m_ignored;
    BackgroundJob m_job;  // last, so it is left before anything its results would touch
};

}  // namespace zeilwerk
