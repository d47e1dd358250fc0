#include "core/game/game_checks.h"

#include "core/game/game_message.h"
#include "core/platform/code_page.h"
#include "core/platform/error.h"
#include "core/platform/number.h"

#include <algorithm>
#include <functional>

namespace zeilwerk {
namespace {

constexpr int kLinesShown = 4;

std::string shownCode(std::u16string_view code) {
    return "»" + toUtf8(code) + "«";
}

// Reads the codes of one line and reports each one the game does not know or that is typed wrong.
class CodeCheck {
public:
    CodeCheck(const std::u16string& line, const std::map<int, std::u16string>& heroNames,
              const std::function<void(const char*, std::string)>& report)
        : m_line(line), m_heroNames(heroNames), m_report(report) {}

    void run() {
        for (size_t i = 0; i < m_line.size(); ++i) {
            if (m_line[i] != u'\\')
                continue;
            if (i + 1 == m_line.size()) {
                m_report("unbekannter_code", "Ein \\ am Zeilenende ist kein Steuerzeichen.");
                return;
            }
            const char16_t letter = m_line[i + 1];
            switch (asciiLower(letter)) {
            case u'c':
            case u's':
            case u'n':
            case u'v':
                i = withNumber(i);
                break;
            case u'_':
            case u'$':
            case u'!':
            case u'.':
            case u'|':
            case u'>':
            case u'<':
            case u'^':
            case u'\\':
                ++i;
                break;
            default:
                m_report("unbekannter_code", shownCode(m_line.substr(i, 2)) + " ist kein Steuerzeichen des Spiels.");
                ++i;
                break;
            }
        }
    }

private:
    // A code with a number in brackets at `at`; returns where its last character is.
    size_t withNumber(size_t at) {
        const std::u16string code = m_line.substr(at, 2);
        const char16_t letter = asciiLower(m_line[at + 1]);
        const size_t open = at + 2;
        if (open >= m_line.size() || m_line[open] != u'[') {
            m_report("unbekannter_code", shownCode(code) + " braucht eine Zahl in eckigen Klammern.");
            return at + 1;
        }
        size_t close = m_line.find(u']', open + 1);
        if (close == std::u16string::npos) {
            m_report("unbekannter_code", shownCode(code + u"[") + " ohne schließende Klammer.");
            return m_line.size();
        }
        const std::u16string_view inside = std::u16string_view(m_line).substr(open + 1, close - open - 1);
        if (inside.size() >= 3 && inside[0] == u'\\' && asciiLower(inside[1]) == u'v' && inside[2] == u'[') {
            // The number comes from a variable: its bracket closes first, then ours.
            close = m_line.find(u']', close + 1);
            if (close == std::u16string::npos) {
                m_report("unbekannter_code", shownCode(code + u"[") + " ohne schließende Klammer.");
                return m_line.size();
            }
            return close;
        }
        if (inside.empty() || !std::all_of(inside.begin(), inside.end(), [](char16_t c) { return c >= u'0' && c <= u'9'; })) {
            m_report("unbekannter_code", shownCode(m_line.substr(at, close - at + 1)) + " hat keine Zahl in den Klammern.");
            return close;
        }
        long long n = 0;
        for (char16_t c : inside)
            n = std::min(n * 10 + (c - u'0'), 1'000'000'000LL);
        const std::string shown = shownCode(m_line.substr(at, close - at + 1));
        if (letter == u'c' && n > 19)
            m_report("falsche_farbe", shown + ": Farbe " + std::to_string(n) + " gibt es nicht, nur 0 bis 19.");
        else if (letter == u's' && (n < 1 || n > 20))
            m_report("falsches_tempo", shown + ": Tempo " + std::to_string(n) + " gibt es nicht, nur 1 bis 20.");
        else if (letter == u'n' && n != 0 && !m_heroNames.count(static_cast<int>(n)))
            m_report("unbekannter_held", shown + ": Held " + std::to_string(n) + " steht nicht in der Datenbank.");
        return close;
    }

    const std::u16string& m_line;
    const std::map<int, std::u16string>& m_heroNames;
    const std::function<void(const char*, std::string)>& m_report;
};

std::int64_t variableOfWidth(int characters) {
    std::int64_t value = 1;
    for (int i = 1; i < std::clamp(characters, 1, 18); ++i)
        value *= 10;
    return value;
}

}  // namespace

int gameLineWidth(const std::u16string& line, const std::map<int, std::u16string>& heroNames, const CodePage& page,
                  const CheckSettings& settings) {
    GameMessageText text;
    text.lines[0] = line;
    text.heroNames = &heroNames;
    text.variable = variableOfWidth(settings.variableCharacters);
    text.left = 0;
    int right = 0;
    for (const GamePiece& piece : layOutGameMessage(text, page))
        right = std::max(right, piece.x + piece.width);
    return right;
}

void checkMessage(const GameMessage& message, const std::map<int, std::u16string>& heroNames, const CodePage& page,
                  const CheckSettings& settings, std::vector<Finding>& out) {
    const int lines = static_cast<int>(message.lines.size());
    if (lines > kLinesShown)
        out.push_back({message.place, 0, "zu_viele_zeilen",
                       "Die Nachricht hat " + std::to_string(lines) + " Zeilen, das Fenster zeigt nur 4.", {}});
    const bool faceLeft = !message.look.face.empty() && !message.look.faceRight;
    const int room = faceLeft ? kTextWidthFace : kTextWidth;
    for (int i = 0; i < lines; ++i) {
        const std::u16string& line = message.lines[static_cast<size_t>(i)];
        const int width = gameLineWidth(line, heroNames, page, settings);
        if (width > room)
            out.push_back({message.place, i + 1, "zu_breit",
                           "Die Zeile ist " + std::to_string(width) + " px breit, Platz ist für " +
                               std::to_string(room) + " px" + (faceLeft ? " neben dem Gesicht." : "."), {}});
        const std::function<void(const char*, std::string)> report = [&](const char* kind, std::string reason) {
            out.push_back({message.place, i + 1, kind, std::move(reason), {}});
        };
        CodeCheck(line, heroNames, report).run();
    }
}

std::map<int, std::u16string> namesForChecks(const std::map<int, std::u16string>& heroNames, const CodePage& page) {
    std::map<int, std::u16string> names = heroNames;
    std::u16string widest;
    int widestWidth = -1;
    for (const auto& [id, name] : heroNames)
        if (const int w = gameLineWidth(name, {}, page); w > widestWidth)
            widest = name, widestWidth = w;
    names[0] = widest;
    return names;
}

std::vector<Finding> checkMessages(const GameMessages& game, const CodePage& page, const CheckSettings& settings) {
    const std::map<int, std::u16string> names = namesForChecks(game.heroNames, page);
    std::vector<Finding> findings;
    for (const GameMessage& message : game.messages)
        checkMessage(message, names, page, settings, findings);
    return findings;
}

std::optional<int> variableCharactersOf(std::u16string_view text) {
    return settingNumber(settings::spielVariablenbreite, text);
}

}  // namespace zeilwerk
