#pragma once

#include "core/game/game_checks.h"

#include <QWidget>

#include <functional>
#include <map>
#include <string>
#include <utility>
#include <vector>

class QLabel;
class QPushButton;
class QStandardItem;
class QStandardItemModel;
class QTreeView;

namespace zeilwerk {

// The spelling findings of a whole game, one row per word: how often, where (its places
// below it), what it likely means or the dictionary suggests; the likeliest mistakes first.
// A last, closed row lists the game's own words, which are no findings.
class SpellingWords : public QWidget {
public:
    explicit SpellingWords(QWidget* parent = nullptr);

    void clear();
    // The words of these findings, each with its places; placeText names a place.
    void setFindings(const std::vector<Finding>& findings, const std::function<QString(const MessagePlace&)>& placeText);
    void setGameWords(const std::vector<std::pair<std::u16string, int>>& words);
    // The reasons with the dictionary's suggestions, once they are there.
    void setReasons(const std::map<std::u16string, std::string>& reasons);
    void removeWord(const std::u16string& word);
    int wordCount() const;
    // The word of the row chosen, or of the place chosen below it; empty for none.
    std::u16string chosenWord() const;
    // What the word likely means: the game's near word or the first suggestion; empty for none.
    std::u16string meantWord(const std::u16string& word) const;
    // The words in the order shown; for tests.
    std::vector<std::u16string> words() const;

    std::function<void(const Finding&)> openPlace;
    std::function<void(const std::u16string&)> accept;
    std::function<void(const std::u16string&)> ignore;
    std::function<void(const std::u16string&)> replace;
    std::function<void(const std::vector<std::u16string>&)> acceptAll;

    QTreeView* tree;
    QStandardItemModel* model;
    QPushButton* acceptButton;
    QPushButton* ignoreButton;
    QPushButton* replaceButton;
    QPushButton* acceptAllButton;

private:
    QStandardItem* gameWordsRow() const;
    void updateButtons();

    std::vector<Finding> m_findings;  // the places, which the rows point to by index
    std::vector<std::u16string> m_gameWords;
};

}  // namespace zeilwerk
