#include "core/game/text_flow.h"

#include "core/message/message_codes.h"
#include "core/message/scanner.h"

#include <algorithm>
#include <limits>
#include <utility>

namespace zeilwerk {
namespace {

// So many widths are kept before the measure starts afresh: far more than a conversation has words.
constexpr std::size_t kKnownWidths = 1 << 16;

// What the flow breaks between: a word, or the part of a hyphenated word up to its hyphen.
struct Atom {
    std::u16string text;
    std::size_t at = 0;
    bool afterSpace = true;  // false: the rest of a word after its hyphen
};

bool isSpace(char16_t c) {
    return c == u' ' || c == u'\t' || c == u'\r';
}

// The paragraphs of a text, each as its atoms; a line break inside a paragraph is a space.
class Splitter {
public:
    std::vector<std::vector<Atom>> split(std::u16string_view text) {
        m_paragraphs.assign(1, {});
        for (std::size_t lineStart = 0;;) {
            std::size_t end = text.find(u'\n', lineStart);
            if (end == std::u16string_view::npos)
                end = text.size();
            const std::u16string_view line = text.substr(lineStart, end - lineStart);
            if (std::all_of(line.begin(), line.end(), isSpace)) {
                if (!m_paragraphs.back().empty())
                    m_paragraphs.emplace_back();
            } else {
                readLine(line, lineStart);
            }
            if (end == text.size())
                break;
            lineStart = end + 1;
        }
        if (m_paragraphs.back().empty())
            m_paragraphs.pop_back();
        return std::move(m_paragraphs);
    }

private:
    void readLine(std::u16string_view line, std::size_t offset) {
        forEachMessageToken(line, [&](const MessageToken& token) {
            if (token.kind != MessageToken::Kind::Text) {
                append(line.substr(token.at, token.length), offset + token.at);
                return;
            }
            const std::size_t end = token.at + token.length;
            for (std::size_t i = token.at; i < end; ++i) {
                const char16_t c = line[i];
                if (isSpace(c)) {
                    endWord();
                    continue;
                }
                append(line.substr(i, 1), offset + i);
                // "Nord-Süd": a hyphen between two parts of a word may end a line.
                const bool partBefore = m_current.text.size() > 1 && m_current.text[m_current.text.size() - 2] != u'-';
                if (c == u'-' && partBefore && i + 1 < end && !isSpace(line[i + 1]) && line[i + 1] != u'-') {
                    m_paragraphs.back().push_back(std::move(m_current));
                    m_inWord = false;
                    m_afterSpace = false;
                }
            }
        });
        endWord();
    }

    void append(std::u16string_view piece, std::size_t at) {
        if (!m_inWord) {
            m_current = Atom{{}, at, m_afterSpace};
            m_inWord = true;
        }
        m_current.text += piece;
    }

    void endWord() {
        if (m_inWord)
            m_paragraphs.back().push_back(std::move(m_current));
        m_inWord = false;
        m_afterSpace = true;
    }

    std::vector<std::vector<Atom>> m_paragraphs;
    Atom m_current;
    bool m_inWord = false;
    bool m_afterSpace = true;
};

// The colour and speed codes last read, empty while the game's own start values hold.
struct Carried {
    std::u16string colour;
    std::u16string speed;
};

void track(Carried& carried, std::u16string_view text) {
    forEachMessageToken(text, [&](const MessageToken& token) {
        if (token.bracket != MessageToken::Bracket::Closed)
            return;
        const std::u16string_view code = text.substr(token.at, token.length);
        if (token.kind == MessageToken::Kind::Colour)
            carried.colour = !token.variable && token.number == 0 ? std::u16string() : std::u16string(code);
        else if (token.kind == MessageToken::Kind::Speed)
            carried.speed = !token.variable && token.number == 1 ? std::u16string() : std::u16string(code);
    });
}

// The codes that turn the state `have` into `want`.
std::u16string codesFor(const Carried& want, const Carried& have) {
    std::u16string codes;
    if (want.colour != have.colour)
        codes += want.colour.empty() ? u"\\c[0]" : want.colour;
    if (want.speed != have.speed)
        codes += want.speed.empty() ? u"\\s[1]" : want.speed;
    return codes;
}

// A line being filled: where the next character goes, and where its last cell ends.
struct LineReach {
    int x = 0;
    int right = 0;

    void add(const GameTextExtent& e) {
        if (e.right > 0)
            right = std::max(right, x + e.right);
        x += e.advance;
    }
};

// Lays atoms into lines: each line is the range of atoms [begin, end).
class LineBreaker {
public:
    LineBreaker(const std::vector<Atom>& atoms, std::size_t first, LineMeasure& measure, int room)
        : m_atoms(atoms), m_first(first), m_room(room), m_space(measure.extent(u" ")) {
        m_extents.reserve(atoms.size());
        for (const Atom& a : atoms)
            m_extents.push_back(measure.extent(a.text));
    }

    struct Line {
        std::size_t begin;
        std::size_t end;
        int width;
    };

    // Each line as full as it goes: the fewest lines.
    std::vector<Line> greedy() const {
        std::vector<Line> lines;
        for (std::size_t i = m_first; i < m_atoms.size();) {
            LineReach reach = start(i);
            std::size_t j = i + 1;
            for (; j < m_atoms.size(); ++j) {
                const LineReach longer = extended(reach, j);
                if (longer.right > m_room)
                    break;
                reach = longer;
            }
            lines.push_back({i, j, reach.right});
            i = j;
        }
        return lines;
    }

    // As few lines as greedy, the room left on each line as even as it goes (the least sum
    // of squares of the room left).
    std::vector<Line> balanced() const {
        const std::size_t n = m_atoms.size();
        struct Best {
            std::size_t lines = std::numeric_limits<std::size_t>::max();
            std::int64_t cost = 0;
            std::size_t from = 0;
            int width = 0;
        };
        std::vector<Best> best(n + 1);
        best[m_first] = {0, 0, m_first, 0};
        for (std::size_t i = m_first; i < n; ++i) {
            if (best[i].lines == std::numeric_limits<std::size_t>::max())
                continue;
            LineReach reach = start(i);
            for (std::size_t j = i + 1; j <= n; ++j) {
                if (j > i + 1) {
                    reach = extended(reach, j - 1);
                    if (reach.right > m_room)
                        break;
                }
                const std::int64_t left = std::max(0, m_room - reach.right);
                const Best candidate{best[i].lines + 1, best[i].cost + left * left, i, reach.right};
                Best& b = best[j];
                if (candidate.lines < b.lines || (candidate.lines == b.lines && candidate.cost < b.cost))
                    b = candidate;
            }
        }
        std::vector<Line> lines;
        for (std::size_t j = n; j > m_first; j = best[j].from)
            lines.push_back({best[j].from, j, best[j].width});
        std::reverse(lines.begin(), lines.end());
        return lines;
    }

private:
    LineReach start(std::size_t i) const {
        LineReach reach;
        reach.add(m_extents[i]);
        return reach;
    }

    LineReach extended(LineReach reach, std::size_t j) const {
        if (m_atoms[j].afterSpace)
            reach.add(m_space);
        reach.add(m_extents[j]);
        return reach;
    }

    const std::vector<Atom>& m_atoms;
    std::size_t m_first;
    int m_room;
    GameTextExtent m_space;
    std::vector<GameTextExtent> m_extents;
};

std::u16string joined(const std::vector<Atom>& atoms, std::size_t begin, std::size_t end) {
    std::u16string text;
    for (std::size_t i = begin; i < end; ++i) {
        if (i > begin && atoms[i].afterSpace)
            text += u' ';
        text += atoms[i].text;
    }
    return text;
}

bool endsWith(const std::u16string& text, char16_t c) {
    return !text.empty() && text.back() == c;
}

// How many atoms at the front of a paragraph name its speaker: at most three words, the
// last ending in a colon, with more text after them; none when a sentence ends before.
std::size_t speakerAtoms(const std::vector<Atom>& atoms) {
    for (std::size_t i = 0; i < atoms.size() && i < 3; ++i) {
        const std::u16string shown = visibleText(atoms[i].text);
        if (endsWith(shown, u':'))
            return atoms[i].text.size() > 1 && i + 1 < atoms.size() ? i + 1 : 0;
        if (shown.empty() || endsWith(shown, u'.') || endsWith(shown, u'!') || endsWith(shown, u'?') ||
            endsWith(shown, u','))
            return 0;
    }
    return 0;
}

// How many lines each box of a paragraph takes: full boxes, or as even as they go.
std::vector<std::size_t> boxSizes(std::size_t lines, std::size_t perBox, bool balanced) {
    std::vector<std::size_t> sizes;
    const std::size_t boxes = (lines + perBox - 1) / perBox;
    for (std::size_t b = 0; b < boxes; ++b) {
        if (balanced)
            sizes.push_back(lines / boxes + (b < lines % boxes ? 1 : 0));
        else
            sizes.push_back(std::min(perBox, lines - b * perBox));
    }
    return sizes;
}

}  // namespace

LineMeasure LineMeasure::gamePixels(std::map<int, std::u16string> heroNames, const CheckSettings& settings,
                                    const CodePage& page) {
    LineMeasure measure;
    measure.m_heroNames = std::move(heroNames);
    measure.m_variable = variableOfWidth(settings.variableCharacters);
    measure.m_page = &page;
    return measure;
}

LineMeasure LineMeasure::characters() {
    return {};
}

GameTextExtent LineMeasure::extent(std::u16string_view text) {
    if (m_known.size() > kKnownWidths)
        m_known.clear();
    const auto [known, added] = m_known.try_emplace(std::u16string(text));
    if (added) {
        if (m_page) {
            known->second = gameTextExtent(text, &m_heroNames, m_variable, *m_page);
        } else {
            const int n = static_cast<int>(visibleText(text).size());
            known->second = {n, n};
        }
    }
    return known->second;
}

int lineRoom(const LineMeasure& measure, FaceSide face, int lineLength) {
    if (!measure.pixels())
        return lineLength;
    return face == FaceSide::None ? kTextWidth : kTextWidthFace;
}

std::vector<FlowBox> flowText(std::u16string_view text, LineMeasure& measure, const FlowOptions& options) {
    std::vector<FlowBox> boxes;
    const std::vector<std::vector<Atom>> paragraphs = Splitter().split(text);
    Carried running;
    for (std::size_t p = 0; p < paragraphs.size(); ++p) {
        const std::vector<Atom>& atoms = paragraphs[p];
        const Carried atStart = running;
        const std::size_t speaker = options.speakerLine ? speakerAtoms(atoms) : 0;
        std::u16string speakerLine;
        bool speakerOverlong = false;
        Carried afterSpeaker;
        if (speaker) {
            speakerLine = codesFor(atStart, {}) + joined(atoms, 0, speaker);
            track(afterSpeaker, speakerLine);
            speakerOverlong = measure.extent(speakerLine).right > options.room;
            running = afterSpeaker;
        }
        const LineBreaker breaker(atoms, speaker, measure, options.room);
        const std::vector<LineBreaker::Line> lines = options.balanced ? breaker.balanced() : breaker.greedy();
        const std::size_t perBox = speaker ? kBoxLines - 1 : kBoxLines;
        std::size_t next = 0;
        for (const std::size_t size : boxSizes(lines.size(), perBox, options.balanced)) {
            FlowBox box;
            box.paragraph = p;
            box.speaker = speaker > 0;
            box.start = next == 0 ? atoms.front().at : atoms[lines[next].begin].at;
            if (speaker) {
                box.lines.push_back(speakerLine);
                if (speakerOverlong)
                    box.overlong.push_back(0);
            }
            const std::u16string carry = codesFor(running, speaker ? afterSpeaker : Carried{});
            for (std::size_t l = next; l < next + size; ++l) {
                const LineBreaker::Line& line = lines[l];
                std::u16string shown = l == next ? carry : std::u16string();
                const int carryWidth = shown.empty() ? 0 : measure.extent(shown).advance;
                shown += joined(atoms, line.begin, line.end);
                for (std::size_t a = line.begin; a < line.end; ++a)
                    track(running, atoms[a].text);
                if (line.width + carryWidth > options.room)
                    box.overlong.push_back(static_cast<int>(box.lines.size()));
                box.lines.push_back(std::move(shown));
            }
            next += size;
            boxes.push_back(std::move(box));
        }
    }
    return boxes;
}

std::size_t boxAt(const std::vector<FlowBox>& boxes, std::size_t offset) {
    const auto after = std::upper_bound(boxes.begin(), boxes.end(), offset,
                                        [](std::size_t at, const FlowBox& box) { return at < box.start; });
    return after == boxes.begin() ? 0 : static_cast<std::size_t>(after - boxes.begin() - 1);
}

std::array<std::u16string, kBoxLines> boxLines(const FlowBox& box) {
    std::array<std::u16string, kBoxLines> lines;
    for (std::size_t i = 0; i < lines.size() && i < box.lines.size(); ++i)
        lines[i] = box.lines[i];
    return lines;
}

std::u16string boxesAsText(const std::vector<FlowBox>& boxes) {
    std::u16string text;
    for (std::size_t b = 0; b < boxes.size(); ++b) {
        if (b)
            text += u'\n';
        for (const std::u16string& line : boxes[b].lines)
            text += line + u'\n';
    }
    return text;
}

}  // namespace zeilwerk
