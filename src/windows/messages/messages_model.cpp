#include "windows/messages/messages_model.h"

#include <QApplication>
#include <QStringList>
#include <QStringView>
#include <QStyle>

#include <algorithm>

namespace zeilwerk {
namespace {

// An index's internal ID: 0 for a group; for a message the group + 1 in the low bits; for a
// finding also the message's shown row + 1 above them. The skipped files have a group of their own.
constexpr quintptr kGroupBits = 24;
constexpr quintptr kGroupMask = (quintptr(1) << kGroupBits) - 1;
constexpr quintptr kSkippedGroup = kGroupMask;

std::tuple<int, int, int, int, int> placeKey(const MessagePlace& p) {
    return {static_cast<int>(p.kind), p.source, p.event, p.page, p.command};
}

}  // namespace

void MessagesModel::clear() {
    beginResetModel();
    m_groups.clear();
    m_visible.clear();
    m_rowOf.clear();
    m_skipped.clear();
    m_places.clear();
    m_heroNames.clear();
    m_mapNames.clear();
    m_messageCount = 0;
    m_findingCount = 0;
    m_gameNames.clear();
    endResetModel();
}

void MessagesModel::setNames(std::map<int, std::u16string> heroNames, std::map<int, std::u16string> mapNames) {
    m_heroNames = std::move(heroNames);
    m_mapNames = std::move(mapNames);
}

void MessagesModel::addPart(GamePart&& part) {
    if (part.names)
        setNames(std::move(part.heroNames), std::move(part.mapNames));
    m_gameNames.insert(m_gameNames.end(), std::make_move_iterator(part.gameNames.begin()),
                       std::make_move_iterator(part.gameNames.end()));
    if (!part.messages.empty()) {
        Group group;
        group.kind = part.kind;
        group.source = part.source;
        group.findings.resize(part.messages.size());
        const int g = static_cast<int>(m_groups.size());
        for (size_t i = 0; i < part.messages.size(); ++i)
            m_places[placeKey(part.messages[i].place)] = {g, static_cast<int>(i)};
        m_messageCount += static_cast<int>(part.messages.size());
        group.messages = std::make_shared<const std::vector<GameMessage>>(std::move(part.messages));
        refilter(group);
        m_groups.push_back(std::move(group));
        if (!m_groups.back().shown.empty()) {
            const int row = static_cast<int>(m_visible.size());
            beginInsertRows({}, row, row);
            m_visible.push_back(g);
            m_rowOf.push_back(row);
            endInsertRows();
        } else {
            m_rowOf.push_back(-1);
        }
    }
    if (part.skipped.empty())
        return;
    if (m_skipped.empty()) {
        const int row = static_cast<int>(m_visible.size());
        beginInsertRows({}, row, row);
        m_skipped = std::move(part.skipped);
        endInsertRows();
        return;
    }
    const QModelIndex skippedGroup = index(static_cast<int>(m_visible.size()), 0);
    const int first = static_cast<int>(m_skipped.size());
    beginInsertRows(skippedGroup, first, first + static_cast<int>(part.skipped.size()) - 1);
    m_skipped.insert(m_skipped.end(), part.skipped.begin(), part.skipped.end());
    endInsertRows();
    emit dataChanged(skippedGroup, skippedGroup);
}

void MessagesModel::addFindings(const std::vector<Finding>& findings) {
    if (findings.empty())
        return;
    // With the kind filter on, which messages show changes; otherwise only their children.
    const bool rowsChange = m_show != Show::All;
    if (rowsChange)
        beginResetModel();
    else
        emit layoutAboutToBeChanged();
    for (const Finding& f : findings) {
        const auto at = m_places.find(placeKey(f.place));
        if (at == m_places.end())
            continue;
        m_groups[at->second.first].findings[at->second.second].push_back(f);
        ++m_findingCount;
    }
    if (rowsChange) {
        refilterAll();
        endResetModel();
    } else {
        emit layoutChanged();
    }
}

void MessagesModel::clearFindings() {
    if (!m_findingCount)
        return;
    beginResetModel();
    for (Group& g : m_groups)
        for (std::vector<Finding>& f : g.findings)
            f.clear();
    m_findingCount = 0;
    refilterAll();
    endResetModel();
}

void MessagesModel::setFilter(const QString& text, Show show, FindingKind kind) {
    beginResetModel();
    m_text = text;
    m_show = show;
    m_kind = kind;
    refilterAll();
    endResetModel();
}

void MessagesModel::refilterAll() {
    m_visible.clear();
    m_rowOf.assign(m_groups.size(), -1);
    for (size_t g = 0; g < m_groups.size(); ++g) {
        refilter(m_groups[g]);
        if (!m_groups[g].shown.empty()) {
            m_rowOf[g] = static_cast<int>(m_visible.size());
            m_visible.push_back(static_cast<int>(g));
        }
    }
}

bool MessagesModel::passes(const Group& group, int message) const {
    const std::vector<Finding>& findings = group.findings[message];
    if (m_show == Show::WithFinding && findings.empty())
        return false;
    if (m_show == Show::WithKind &&
        std::none_of(findings.begin(), findings.end(), [&](const Finding& f) { return f.kind == m_kind; }))
        return false;
    if (m_text.isEmpty())
        return true;
    const std::vector<std::u16string>& lines = (*group.messages)[message].lines;
    return std::any_of(lines.begin(), lines.end(),
                       [&](const std::u16string& line) { return QStringView(line).contains(m_text, Qt::CaseInsensitive); });
}

void MessagesModel::refilter(Group& group) const {
    group.shown.clear();
    const int n = static_cast<int>(group.messages->size());
    for (int i = 0; i < n; ++i)
        if (passes(group, i))
            group.shown.push_back(i);
}

const GameMessage* MessagesModel::messageAt(const QModelIndex& index) const {
    if (!index.isValid())
        return nullptr;
    const quintptr id = index.internalId();
    if (id == 0 || (id & kGroupMask) == kSkippedGroup)
        return nullptr;
    const Group& group = m_groups[(id & kGroupMask) - 1];
    const int row = id >> kGroupBits ? static_cast<int>(id >> kGroupBits) - 1 : index.row();
    return &(*group.messages)[group.shown[row]];
}

const GameMessage* MessagesModel::messageAt(const MessagePlace& place) const {
    const auto at = m_places.find(placeKey(place));
    return at == m_places.end() ? nullptr : &(*m_groups[at->second.first].messages)[at->second.second];
}

QModelIndex MessagesModel::indexOf(const MessagePlace& place) const {
    const auto at = m_places.find(placeKey(place));
    if (at == m_places.end())
        return {};
    const auto [g, message] = at->second;
    const std::vector<int>& shown = m_groups[g].shown;
    const auto row = std::lower_bound(shown.begin(), shown.end(), message);
    if (m_rowOf[g] < 0 || row == shown.end() || *row != message)
        return {};
    return index(static_cast<int>(row - shown.begin()), 0, index(m_rowOf[g], 0));
}

QString MessagesModel::placeTitle(const MessagePlace& place) const {
    switch (place.kind) {
    case MessageKind::Map: {
        QString title = QStringLiteral("Karte %1").arg(place.source);
        if (const auto name = m_mapNames.find(place.source); name != m_mapNames.end() && !name->second.empty())
            title += QStringLiteral(" »%1«").arg(QString::fromStdU16String(name->second));
        return title + QStringLiteral(", Ereignis %1, Seite %2").arg(place.event).arg(place.page);
    }
    case MessageKind::Common:
        return QStringLiteral("Allgemeines Ereignis %1").arg(place.source);
    case MessageKind::Battle:
        return QStringLiteral("Truppe %1, Seite %2").arg(place.source).arg(place.page);
    }
    return {};
}

std::vector<Finding> MessagesModel::spellingFindings() const {
    std::vector<Finding> out;
    for (const Group& g : m_groups)
        for (const std::vector<Finding>& findings : g.findings)
            for (const Finding& f : findings)
                if (f.kind == FindingKind::Spelling)
                    out.push_back(f);
    return out;
}

void MessagesModel::setSpellingReasons(const std::map<std::u16string, std::string>& reasons) {
    for (Group& g : m_groups)
        for (std::vector<Finding>& findings : g.findings)
            for (Finding& f : findings)
                if (const auto r = reasons.find(f.word); f.kind == FindingKind::Spelling && r != reasons.end())
                    f.reason = r->second;
    emit layoutAboutToBeChanged();
    emit layoutChanged();
}

void MessagesModel::removeSpelling(const std::u16string& word) {
    beginResetModel();
    for (Group& g : m_groups)
        for (std::vector<Finding>& findings : g.findings)
            m_findingCount -= static_cast<int>(std::erase_if(
                findings, [&](const Finding& f) { return f.kind == FindingKind::Spelling && f.word == word; }));
    refilterAll();
    endResetModel();
}

std::pair<int, int> MessagesModel::messagesWithFindings() const {
    int any = 0, spelling = 0;
    for (const Group& g : m_groups)
        for (const std::vector<Finding>& findings : g.findings) {
            any += !findings.empty();
            spelling += std::any_of(findings.begin(), findings.end(),
                                    [](const Finding& f) { return f.kind == FindingKind::Spelling; });
        }
    return {any, spelling};
}

const Finding* MessagesModel::findingAt(const QModelIndex& index) const {
    const quintptr id = index.isValid() ? index.internalId() : 0;
    if (id == 0 || (id & kGroupMask) == kSkippedGroup || (id >> kGroupBits) == 0)
        return nullptr;
    const Group& group = m_groups[(id & kGroupMask) - 1];
    const std::vector<Finding>& findings = group.findings[group.shown[(id >> kGroupBits) - 1]];
    return index.row() < static_cast<int>(findings.size()) ? &findings[index.row()] : nullptr;
}

std::vector<MessagesModel::MessageList> MessagesModel::messageLists() const {
    std::vector<MessageList> lists;
    for (const Group& g : m_groups)
        lists.push_back(g.messages);
    return lists;
}

int MessagesModel::shownCount() const {
    int n = 0;
    for (int g : m_visible)
        n += static_cast<int>(m_groups[g].shown.size());
    return n;
}

QModelIndex MessagesModel::index(int row, int column, const QModelIndex& parent) const {
    if (row < 0 || column < 0 || column >= 2)
        return {};
    if (!parent.isValid())
        return row < shownGroups() ? createIndex(row, column, quintptr(0)) : QModelIndex();
    const quintptr id = parent.internalId();
    if (id == 0) {
        const quintptr group = isSkippedRow(parent.row()) ? kSkippedGroup : quintptr(m_visible[parent.row()]) + 1;
        return row < rowCount(parent) ? createIndex(row, column, group) : QModelIndex();
    }
    if (id >> kGroupBits || (id & kGroupMask) == kSkippedGroup || row >= rowCount(parent))
        return {};
    return createIndex(row, column, (quintptr(parent.row()) + 1) << kGroupBits | id);
}

QModelIndex MessagesModel::parent(const QModelIndex& child) const {
    const quintptr id = child.isValid() ? child.internalId() : 0;
    if (id == 0)
        return {};
    const quintptr group = id & kGroupMask;
    if (id >> kGroupBits)
        return createIndex(static_cast<int>(id >> kGroupBits) - 1, 0, group);
    if (group == kSkippedGroup)
        return createIndex(static_cast<int>(m_visible.size()), 0, quintptr(0));
    return createIndex(m_rowOf[group - 1], 0, quintptr(0));
}

int MessagesModel::rowCount(const QModelIndex& parent) const {
    if (!parent.isValid())
        return shownGroups();
    if (parent.column() != 0)
        return 0;
    const quintptr id = parent.internalId();
    if (id == 0)
        return isSkippedRow(parent.row()) ? static_cast<int>(m_skipped.size())
                                          : static_cast<int>(m_groups[m_visible[parent.row()]].shown.size());
    if (id >> kGroupBits || (id & kGroupMask) == kSkippedGroup)
        return 0;
    const Group& group = m_groups[id - 1];
    return static_cast<int>(group.findings[group.shown[parent.row()]].size());
}

int MessagesModel::columnCount(const QModelIndex&) const {
    return 2;
}

QString MessagesModel::groupTitle(const Group& group) const {
    QString title;
    switch (group.kind) {
    case MessageKind::Map: {
        title = QStringLiteral("Karte %1").arg(group.source);
        const auto name = m_mapNames.find(group.source);
        if (name != m_mapNames.end() && !name->second.empty())
            title += QStringLiteral(" »%1«").arg(QString::fromStdU16String(name->second));
        break;
    }
    case MessageKind::Common:
        title = QStringLiteral("Allgemeine Ereignisse");
        break;
    case MessageKind::Battle:
        title = QStringLiteral("Kampfereignisse");
        break;
    }
    return title + QStringLiteral(" (%1)").arg(group.shown.size());
}

QString MessagesModel::messageText(const GameMessage& m) const {
    QString place;
    switch (m.place.kind) {
    case MessageKind::Map:
        place = QStringLiteral("Ereignis %1, Seite %2").arg(m.place.event).arg(m.place.page);
        break;
    case MessageKind::Common:
        place = QStringLiteral("Ereignis %1").arg(m.place.source);
        break;
    case MessageKind::Battle:
        place = QStringLiteral("Truppe %1, Seite %2").arg(m.place.source).arg(m.place.page);
        break;
    }
    return place + QStringLiteral(": ") + (m.lines.empty() ? QString() : QString::fromStdU16String(m.lines[0]));
}

QVariant MessagesModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid())
        return {};
    const quintptr id = index.internalId();
    const quintptr groupId = id & kGroupMask;
    if (id == 0) {
        if (role != Qt::DisplayRole || index.column() != 0)
            return {};
        if (isSkippedRow(index.row()))
            return QStringLiteral("Nicht lesbar (%1)").arg(m_skipped.size());
        return groupTitle(m_groups[m_visible[index.row()]]);
    }
    if (groupId == kSkippedGroup) {
        const SkippedFile& s = m_skipped[index.row()];
        if (role == Qt::DisplayRole && index.column() == 0)
            return QString::fromStdString(s.file) + QStringLiteral(": ") + QString::fromUtf8(s.reason);
        return {};
    }
    const Group& group = m_groups[groupId - 1];
    if (id >> kGroupBits) {
        const int message = group.shown[static_cast<int>(id >> kGroupBits) - 1];
        const Finding& f = group.findings[message][index.row()];
        if (role != Qt::DisplayRole)
            return {};
        if (index.column() == 1)
            return QString::fromUtf8(findingKindLabel(f.kind));
        const QString reason = QString::fromUtf8(f.reason);
        return f.line ? QStringLiteral("Zeile %1: %2").arg(f.line).arg(reason) : reason;
    }
    const int message = group.shown[index.row()];
    const GameMessage& m = (*group.messages)[message];
    const std::vector<Finding>& findings = group.findings[message];
    if (role == Qt::ToolTipRole) {
        QStringList lines;
        for (const std::u16string& line : m.lines)
            lines << QString::fromStdU16String(line);
        return lines.join(u'\n');
    }
    if (role == Qt::DecorationRole && index.column() == 0 && !findings.empty()) {
        if (m_findingIcon.isNull())
            m_findingIcon = QApplication::style()->standardIcon(QStyle::SP_MessageBoxWarning);
        return m_findingIcon;
    }
    if (role != Qt::DisplayRole)
        return {};
    if (index.column() == 0)
        return messageText(m);
    QStringList notes;
    if (!findings.empty())
        notes << (findings.size() == 1 ? QStringLiteral("1 Befund") : QStringLiteral("%1 Befunde").arg(findings.size()));
    if (m.look.faceUncertain)
        notes << QStringLiteral("Gesicht unsicher");
    if (m.look.optionsUncertain)
        notes << QStringLiteral("Optionen unsicher");
    return notes.join(QStringLiteral(", "));
}

QVariant MessagesModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return {};
    return section == 0 ? QStringLiteral("Nachricht") : QStringLiteral("Hinweis");
}

}  // namespace zeilwerk
