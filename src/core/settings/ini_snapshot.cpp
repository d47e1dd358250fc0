#include "core/settings/ini_snapshot.h"

#include "core/settings/ini_storage.h"
#include "core/settings/ini_text.h"

#include <algorithm>
#include <map>
#include <memory>
#include <mutex>
#include <vector>

namespace zeilwerk {
namespace {

using ini::Line;
using ini::Lines;
using ini::lineAt;
using ini::lowerAscii;
using ini::nameHash;
using ini::sameName;
using ini::unquoted;

// One state of a file, parsed once: its bytes, an index of its section headers, and for
// each section asked for, an index of the keys of its first occurrence. Lookups then cost
// a binary search instead of a pass over the file.
class Snapshot {
public:
    explicit Snapshot(std::string text) : m_text(std::move(text)) {
        Lines lines(m_text);
        Line line;
        while (lines.next(line))
            if (line.kind == Line::Section)
                m_headers.push_back({nameHash(line.name), static_cast<std::uint32_t>(line.begin)});
        m_headersByName = m_headers;
        std::sort(m_headersByName.begin(), m_headersByName.end());
    }

    std::optional<std::string_view> find(std::string_view section, std::string_view key) {
        const std::vector<Mark>& keys = keysOf(section);
        const auto [first, last] =
            std::equal_range(keys.begin(), keys.end(), Mark{nameHash(key), 0}, Mark::byHash);
        for (auto it = first; it != last; ++it) {
            const Line line = lineAt(m_text, it->line);
            if (sameName(line.name, key))
                return unquoted(line.value);
        }
        return std::nullopt;
    }

private:
    struct Mark {
        std::uint32_t hash;
        std::uint32_t line;  // offset of the line's first byte; files are smaller than 4 GiB
        bool operator<(const Mark& o) const { return hash != o.hash ? hash < o.hash : line < o.line; }
        static bool byHash(const Mark& a, const Mark& b) { return a.hash < b.hash; }
    };

    const std::vector<Mark>& keysOf(std::string_view section) {
        std::string name(section);
        std::transform(name.begin(), name.end(), name.begin(), lowerAscii);
        const auto known = m_keys.find(name);
        if (known != m_keys.end())
            return known->second;
        std::vector<Mark>& keys = m_keys[name];
        // The first header of that name, in file order (marks of equal hash are sorted by offset).
        const auto [first, last] =
            std::equal_range(m_headersByName.begin(), m_headersByName.end(), Mark{nameHash(section), 0}, Mark::byHash);
        for (auto it = first; it != last; ++it) {
            const Line header = lineAt(m_text, it->line);
            if (!sameName(header.name, section))
                continue;
            const auto next = std::upper_bound(m_headers.begin(), m_headers.end(), it->line,
                                               [](std::uint32_t at, const Mark& m) { return at < m.line; });
            const size_t end = next == m_headers.end() ? m_text.size() : next->line;
            for (size_t at = header.next; at < end;) {
                const Line line = lineAt(m_text, at);
                if (line.kind == Line::Key)
                    keys.push_back({nameHash(line.name), static_cast<std::uint32_t>(line.begin)});
                at = line.next;
            }
            std::sort(keys.begin(), keys.end());
            break;
        }
        return keys;
    }

    std::string m_text;
    std::vector<Mark> m_headers;        // in file order
    std::vector<Mark> m_headersByName;  // by hash, then offset
    std::map<std::string, std::vector<Mark>> m_keys;
};

// The last files read, by path. A state is taken from here only while the file's identity
// (device, inode, size, both times) is unchanged, so every read still sees the last write.
class SnapshotCache {
public:
    static SnapshotCache& instance() {
        static SnapshotCache cache;
        return cache;
    }

    // The file's current state, or nothing when it is missing or no INI file.
    std::optional<std::string> find(const std::filesystem::path& path, std::string_view section,
                                    std::string_view key) {
        FileHandle file;
        FileIdentity id;
        if (openRegular(path, file, id) != FileState::Read)
            return std::nullopt;
        const std::lock_guard lock(m_mutex);
        const auto& name = path.native();  // the narrow form fails on Windows outside the ANSI page
        auto entry = std::find_if(m_entries.begin(), m_entries.end(), [&](const Entry& e) { return e.path == name; });
        if (entry != m_entries.end() && entry->id == id) {
            file.close();
        } else {
            std::string text;
            if (readOpen(file, static_cast<size_t>(id.size), text) != FileState::Read)
                return std::nullopt;
            if (entry != m_entries.end())
                m_entries.erase(entry);
            m_entries.insert(m_entries.begin(), Entry{name, id, std::make_shared<Snapshot>(std::move(text))});
            if (m_entries.size() > kEntries)
                m_entries.pop_back();
            entry = m_entries.begin();
        }
        auto snapshot = entry->snapshot;
        // A file changed again within the same clock tick would keep its identity: such a
        // fresh state is used for this read only.
        if (changedJustNow(id))
            m_entries.erase(entry);
        const auto value = snapshot->find(section, key);
        return value ? std::optional<std::string>(*value) : std::nullopt;
    }

    void forget(const std::filesystem::path& path) {
        const std::lock_guard lock(m_mutex);
        std::erase_if(m_entries, [&](const Entry& e) { return e.path == path.native(); });
    }

private:
    struct Entry {
        std::filesystem::path::string_type path;
        FileIdentity id;
        std::shared_ptr<Snapshot> snapshot;
    };
    static constexpr size_t kEntries = 2;  // the start-up file and one profile

    // Whether the file had changed shortly before it was looked at.
    static bool changedJustNow(const FileIdentity& id) {
        const std::int64_t stamp = std::max(id.modified, id.changed);
        return id.seen - stamp < 50'000'000;  // well above the coarsest kernel tick (10 ms)
    }

    std::mutex m_mutex;
    std::vector<Entry> m_entries;  // most recent first
};

}  // namespace

std::optional<std::string> findInSnapshot(const std::filesystem::path& path, std::string_view section,
                                          std::string_view key) {
    return SnapshotCache::instance().find(path, section, key);
}

void forgetSnapshot(const std::filesystem::path& path) {
    SnapshotCache::instance().forget(path);
}

}  // namespace zeilwerk
