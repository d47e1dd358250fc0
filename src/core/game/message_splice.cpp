#include "core/game/message_splice.h"

#include "core/game/event_commands.h"
#include "core/game/lcf_reader.h"
#include "core/platform/code_page.h"
#include "core/platform/error.h"
#include "core/platform/text.h"

#include <algorithm>
#include <cstdio>
#include <map>
#include <optional>
#include <set>
#include <tuple>

namespace zeilwerk {
namespace {

constexpr const char* kNotAGameFile = "Die Datei ist keine Karte oder Datenbank des Makers oder beschädigt.";

// The number as the files write it: 7-bit groups, most significant first.
std::string lcfNumber(std::uint32_t value) {
    std::string groups(1, static_cast<char>(value & 0x7F));
    for (value >>= 7; value; value >>= 7)
        groups.insert(groups.begin(), static_cast<char>(0x80 | (value & 0x7F)));
    return groups;
}

// A chunk's size field and its data, as offsets into the file.
struct Span {
    size_t sizeAt = 0, sizeLength = 0;
    size_t dataAt = 0, dataLength = 0;
    size_t dataEnd() const { return dataAt + dataLength; }
};

// One command of a list and where its parts lie in the file.
struct CommandSpan {
    std::uint32_t code = 0;
    std::uint32_t indent = 0;
    std::string_view text;
    size_t at = 0;      // its first byte
    size_t textAt = 0;  // the text's length field
    size_t textEnd = 0;
    size_t end = 0;
};

struct ListPlace {
    std::vector<Span> enclosing;  // outermost first
    std::optional<Span> sizeChunk;
    Span list;
    std::vector<CommandSpan> commands;
};

struct Edit {
    size_t at = 0;
    size_t length = 0;
    std::string with;
    std::ptrdiff_t delta() const { return static_cast<std::ptrdiff_t>(with.size()) - static_cast<std::ptrdiff_t>(length); }
};

// Where a place's command list lies: the chunk and element IDs down to it, then the list's
// size chunk and the list itself.
struct Path {
    std::string_view header;
    std::vector<std::pair<std::uint32_t, int>> steps;  // a chunk holding an array, the element's ID
    std::uint32_t sizeId = 0, listId = 0;
};

Path pathOf(const MessagePlace& place) {
    switch (place.kind) {
    case MessageKind::Map:
        return {"LcfMapUnit", {{0x51, place.event}, {0x05, place.page}}, 0x33, 0x34};
    case MessageKind::Common:
        return {"LcfDataBase", {{0x19, place.source}}, 0x15, 0x16};
    case MessageKind::Battle:
        return {"LcfDataBase", {{0x0F, place.source}, {0x0B, place.page}}, 0x0B, 0x0C};
    }
    return {};
}

class Locator {
public:
    explicit Locator(std::string_view file) : m_file(file) {}

    std::optional<ListPlace> find(const Path& path) const {
        LcfReader file(m_file, kNotAGameFile);
        file.header(path.header);
        std::map<std::uint32_t, Span> spans = chunkSpans(file);
        ListPlace out;
        for (const auto& [chunk, id] : path.steps) {
            const auto span = spans.find(chunk);
            if (span == spans.end())
                return std::nullopt;
            out.enclosing.push_back(span->second);
            LcfReader array = file.in(view(span->second));
            if (!element(array, id))
                return std::nullopt;
            spans = chunkSpans(array);
        }
        const auto list = spans.find(path.listId);
        if (list == spans.end())
            return std::nullopt;
        out.list = list->second;
        if (const auto size = spans.find(path.sizeId); size != spans.end())
            out.sizeChunk = size->second;
        out.commands = commandSpans(out.list);
        return out;
    }

private:
    size_t offset(const LcfReader& r) const { return static_cast<size_t>(r.position() - m_file.data()); }
    std::string_view view(const Span& s) const { return m_file.substr(s.dataAt, s.dataLength); }

    // The chunks up to a 0 or the end, by ID.
    std::map<std::uint32_t, Span> chunkSpans(LcfReader& r) const {
        std::map<std::uint32_t, Span> spans;
        while (!r.atEnd()) {
            const std::uint32_t id = r.number();
            if (id == 0)
                break;
            Span s;
            s.sizeAt = offset(r);
            const std::uint32_t size = r.number();
            s.sizeLength = offset(r) - s.sizeAt;
            s.dataAt = offset(r);
            s.dataLength = r.bytes(size).size();
            spans[id] = s;  // the last of an ID counts, as for the readers
        }
        return spans;
    }

    // Moves the reader to the chunks of the array's element with ID want.
    static bool element(LcfReader& array, int want) {
        const std::uint32_t count = array.number();
        for (std::uint32_t i = 0; i < count; ++i) {
            if (array.atEnd())
                array.fail();
            if (array.id() == want)
                return true;
            array.chunks([](std::uint32_t, std::string_view) {});
        }
        return false;
    }

    std::vector<CommandSpan> commandSpans(const Span& list) const {
        std::vector<CommandSpan> out;
        LcfReader r(view(list), kNotAGameFile);
        while (!r.atEnd()) {
            CommandSpan c;
            c.at = offset(r);
            c.code = r.number();
            c.indent = r.number();
            c.textAt = offset(r);
            c.text = r.bytes(r.number());
            c.textEnd = offset(r);
            const std::uint32_t count = r.number();
            for (std::uint32_t i = 0; i < count; ++i)
                r.number();
            c.end = offset(r);
            out.push_back(c);
        }
        return out;
    }

    std::string_view m_file;
};

// The message whose first line is command index: its line count and lines, or none.
std::optional<std::vector<std::u16string>> messageAt(const ListPlace& list, int index, const CodePage& page) {
    if (index < 0 || static_cast<size_t>(index) >= list.commands.size() || list.commands[index].code != kShowMessage)
        return std::nullopt;
    std::vector<std::u16string> lines{page.decode(list.commands[index].text)};
    for (size_t i = index + 1; i < list.commands.size() && list.commands[i].code == kMessageLine; ++i)
        lines.push_back(page.decode(list.commands[i].text));
    return lines;
}

bool listHolds(const ListPlace& list, const std::vector<std::u16string>& lines, const CodePage& page) {
    for (size_t i = 0; i < list.commands.size(); ++i)
        if (messageAt(list, static_cast<int>(i), page) == lines)
            return true;
    return false;
}

// The lines in the page's bytes, or the German reason they cannot be written.
std::optional<std::string> encodedLines(const std::vector<std::u16string>& lines, const CodePage& page,
                                        std::vector<std::string>& out) {
    if (lines.size() > kMostMessageLines)
        return "Die Nachricht hat " + std::to_string(lines.size()) + " Zeilen; das Fenster zeigt höchstens vier.";
    for (const std::u16string& line : lines) {
        for (size_t i = 0; i < line.size(); ++i) {
            const char16_t c = line[i];
            const bool pair = c >= 0xD800 && c <= 0xDBFF && i + 1 < line.size();
            if (page.byteLength(c) == 0 || c == u'\n' || c == u'\r' || (c >= 0xD800 && c <= 0xDFFF))
                return "Das Zeichen »" + toUtf8(line.substr(i, pair ? 2 : 1)) +
                       "« gibt es in der Codeseite des Spiels nicht.";
        }
        out.push_back(page.encode(line));
    }
    return std::nullopt;
}

std::string commandBytes(std::uint32_t code, std::uint32_t indent, const std::string& text) {
    return lcfNumber(code) + lcfNumber(indent) + lcfNumber(static_cast<std::uint32_t>(text.size())) + text + lcfNumber(0);
}

std::string textField(const std::string& text) {
    return lcfNumber(static_cast<std::uint32_t>(text.size())) + text;
}

std::ptrdiff_t deltaInside(const std::vector<Edit>& edits, size_t from, size_t to) {
    std::ptrdiff_t delta = 0;
    for (const Edit& e : edits)
        if (e.at >= from && e.at + e.length <= to)
            delta += e.delta();
    return delta;
}

using ListKey = std::tuple<int, int, int, int>;

}  // namespace

std::string messageChecksum(const std::vector<std::u16string>& lines) {
    std::string text;
    for (size_t i = 0; i < lines.size(); ++i)
        text += (i ? "\n" : "") + toUtf8(lines[i]);
    char out[9];
    std::snprintf(out, sizeof out, "%08x", static_cast<unsigned>(fnv1a(text) & 0xFFFFFFFFu));
    return out;
}

Splice spliceMessages(std::string_view file, const std::vector<MessageChange>& changes, const CodePage& page) {
    const Locator locator(file);
    std::map<ListKey, std::optional<ListPlace>> lists;
    std::map<ListKey, std::set<int>> taken;
    std::vector<Edit> edits;
    std::map<size_t, Span> spans;  // by the size field's offset, each chunk once
    Splice out;

    for (const MessageChange& change : changes) {
        ChangeOutcome& outcome = out.outcomes.emplace_back();
        const std::vector<std::u16string> lines = change.lines.empty() ? std::vector<std::u16string>{u""} : change.lines;
        std::vector<std::string> encoded;
        if (const auto problem = encodedLines(lines, page, encoded)) {
            outcome = {ChangeState::Refused, *problem};
            continue;
        }
        const MessagePlace& p = change.place;
        const ListKey key{static_cast<int>(p.kind), p.source, p.event, p.page};
        auto list = lists.find(key);
        if (list == lists.end())
            list = lists.emplace(key, locator.find(pathOf(p))).first;
        const std::optional<std::vector<std::u16string>> current =
            list->second ? messageAt(*list->second, p.command, page) : std::nullopt;
        if (current == lines) {
            outcome.state = ChangeState::AlreadyNew;
            continue;
        }
        if (!current || messageChecksum(*current) != change.checksum) {
            // A write set run again finds its messages written, maybe moved by a line gained above.
            if (list->second && listHolds(*list->second, lines, page))
                outcome.state = ChangeState::AlreadyNew;
            else
                outcome = {ChangeState::Changed, current ? "Die Nachricht wurde inzwischen geändert."
                                                         : "An dieser Stelle steht keine Nachricht mehr."};
            continue;
        }
        if (!taken[key].insert(p.command).second) {
            outcome = {ChangeState::Refused, "Die Stelle steht zweimal unter den Änderungen."};
            continue;
        }

        const ListPlace& place = *list->second;
        const std::vector<CommandSpan>& c = place.commands;
        const size_t first = static_cast<size_t>(p.command), had = current->size(), wants = encoded.size();
        for (size_t j = 0; j < std::min(had, wants); ++j)
            if (c[first + j].text != encoded[j])
                edits.push_back({c[first + j].textAt, c[first + j].textEnd - c[first + j].textAt, textField(encoded[j])});
        if (wants > had) {
            std::string added;
            for (size_t j = had; j < wants; ++j)
                added += commandBytes(kMessageLine, c[first].indent, encoded[j]);
            edits.push_back({c[first + had - 1].end, 0, added});
        } else if (wants < had) {
            edits.push_back({c[first + wants].at, c[first + had - 1].end - c[first + wants].at, {}});
        }
        for (const Span& s : place.enclosing)
            spans.emplace(s.sizeAt, s);
        spans.emplace(place.list.sizeAt, place.list);
        ++out.written;
    }

    // The size chunks beside the lists hold each list's length.
    for (const auto& [key, list] : lists) {
        if (!list || !list->sizeChunk)
            continue;
        const std::ptrdiff_t delta = deltaInside(edits, list->list.dataAt, list->list.dataEnd());
        if (delta == 0)
            continue;
        const Span& size = *list->sizeChunk;
        edits.push_back({size.dataAt, size.dataLength,
                         lcfNumber(static_cast<std::uint32_t>(static_cast<std::ptrdiff_t>(list->list.dataLength) + delta))});
        spans.emplace(size.sizeAt, size);
    }
    // Inner chunks first: an outer chunk's size counts the inner ones' new size fields.
    std::vector<Span> ordered;
    for (const auto& [at, s] : spans)
        ordered.push_back(s);
    std::stable_sort(ordered.begin(), ordered.end(), [](const Span& a, const Span& b) { return a.dataLength < b.dataLength; });
    for (const Span& s : ordered) {
        const std::ptrdiff_t delta = deltaInside(edits, s.dataAt, s.dataEnd());
        if (delta != 0)
            edits.push_back({s.sizeAt, s.sizeLength,
                             lcfNumber(static_cast<std::uint32_t>(static_cast<std::ptrdiff_t>(s.dataLength) + delta))});
    }

    std::sort(edits.begin(), edits.end(), [](const Edit& a, const Edit& b) {
        return a.at != b.at ? a.at < b.at : a.length < b.length;
    });
    size_t done = 0;
    for (const Edit& e : edits) {
        if (e.at < done)
            throw Error("Zwei Änderungen treffen dieselben Bytes.");
        out.bytes.append(file.substr(done, e.at - done));
        out.bytes += e.with;
        done = e.at + e.length;
    }
    out.bytes.append(file.substr(done));
    return out;
}

}  // namespace zeilwerk
