#pragma once

#include "core/game/word_replace.h"

#include <QDialog>
#include <QString>

#include <functional>
#include <vector>

class QDialogButtonBox;
class QLabel;
class QPlainTextEdit;
class QPushButton;

namespace zeilwerk {

// The question before anything is written into the game: how many messages in how many
// files, every line that changes (before and after, with its place), and the warning to
// close the project in the Maker first.
class WriteDialog : public QDialog {
public:
    // placeOf names a message's place in words, as the message list does.
    WriteDialog(const QString& title, const std::vector<WordReplacement>& plan,
                const std::function<QString(const MessagePlace&)>& placeOf, QWidget* parent = nullptr);

    QLabel* summary;
    QLabel* warning;
    QPlainTextEdit* preview;
    QPushButton* write;
    QPushButton* cancel;
};

// "3 Nachrichten in 2 Dateien": the maps each a file, the database one for the rest.
QString changeSummary(const std::vector<WordReplacement>& plan);

// A plan of one message: lines replacing the message's own, with the lines that differ.
WordReplacement messageEdit(const GameMessage& message, std::vector<std::u16string> lines);

}  // namespace zeilwerk
