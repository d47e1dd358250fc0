#pragma once

#include "core/game/game_checks.h"
#include "core/game/game_folder.h"

#include <QAbstractItemModel>
#include <QIcon>
#include <QString>

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

namespace zeilwerk {

// A game's messages as a tree: a group per map (in the tree's order), the common events and
// the battles, each message under its group, each finding under its message; a last group
// names the files that could not be read. The filter hides messages and the groups left
// empty, and the counts follow it.
class MessagesModel : public QAbstractItemModel {
public:
    using MessageList = std::shared_ptr<const std::vector<GameMessage>>;
    struct Group {
        MessageKind kind = MessageKind::Map;
        int source = 0;
        MessageList messages;
        std::vector<std::vector<Finding>> findings;  // per message
        std::vector<int> shown;                     // the messages the filter lets through
    };

    // What the kind filter lets through besides the text: all, those with a finding, or
    // those with a finding of one kind.
    enum class Show : std::uint8_t { All, WithFinding, WithKind };

    void clear();
    void setNames(std::map<int, std::u16string> heroNames, std::map<int, std::u16string> mapNames);
    // Appends the part's messages as a group (none when it holds none) and its skipped files.
    void addPart(GamePart&& part);
    // Findings of any check, each put under the message at its place; unknown places are dropped.
    void addFindings(const std::vector<Finding>& findings);
    void clearFindings();
    // The text is looked for in every line, case ignored; kind counts with Show::WithKind.
    void setFilter(const QString& text, Show show = Show::All, FindingKind kind = {});

    const GameMessage* messageAt(const QModelIndex& index) const;
    const GameMessage* messageAt(const MessagePlace& place) const;
    // The message's row in the tree; none when the filter hides it.
    QModelIndex indexOf(const MessagePlace& place) const;
    // Where a message stands, in words: "Karte 3 »Dorf«, Ereignis 2, Seite 1".
    QString placeTitle(const MessagePlace& place) const;
    // The spelling findings of every message, in the messages' order.
    std::vector<Finding> spellingFindings() const;
    // New reasons for the spelling findings of these words: their suggestions arrived.
    void setSpellingReasons(const std::map<std::u16string, std::string>& reasons);
    // The spelling findings of a word taken away: accepted or ignored.
    void removeSpelling(const std::u16string& word);
    // Messages with any finding, and those with a spelling finding.
    std::pair<int, int> messagesWithFindings() const;
    const std::vector<std::u16string>& gameNames() const { return m_gameNames; }
    const std::map<int, std::u16string>& mapNames() const { return m_mapNames; }
    // The finding of a finding's row; none for the other rows.
    const Finding* findingAt(const QModelIndex& index) const;
    // Every group's messages, for a check that runs elsewhere: the lists are never changed.
    std::vector<MessageList> messageLists() const;
    const std::map<int, std::u16string>& heroNames() const { return m_heroNames; }
    int messageCount() const { return m_messageCount; }
    int shownCount() const;
    int findingCount() const { return m_findingCount; }
    const std::vector<SkippedFile>& skipped() const { return m_skipped; }

    QModelIndex index(int row, int column, const QModelIndex& parent = {}) const override;
    QModelIndex parent(const QModelIndex& child) const override;
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    bool passes(const Group& group, int message) const;
    void refilter(Group& group) const;
    void refilterAll();
    // The groups as shown: those with a message that passes; the skipped files last.
    int shownGroups() const { return static_cast<int>(m_visible.size()) + (m_skipped.empty() ? 0 : 1); }
    bool isSkippedRow(int row) const { return row == static_cast<int>(m_visible.size()); }
    QString groupTitle(const Group& group) const;
    QString messageText(const GameMessage& message) const;

    std::vector<Group> m_groups;
    std::vector<int> m_visible;  // the groups shown, in order
    std::vector<int> m_rowOf;    // per group its row, or -1
    std::vector<SkippedFile> m_skipped;
    std::map<std::tuple<int, int, int, int, int>, std::pair<int, int>> m_places;  // place to group, message
    std::map<int, std::u16string> m_heroNames;
    std::map<int, std::u16string> m_mapNames;
    std::vector<std::u16string> m_gameNames;
    QString m_text;
    Show m_show = Show::All;
    FindingKind m_kind = {};
    mutable QIcon m_findingIcon;
    int m_messageCount = 0;
    int m_findingCount = 0;
};

}  // namespace zeilwerk
