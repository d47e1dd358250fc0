#include "core/game/game_checks.h"

#include "core/game/game_message.h"
#include "core/message/message_codes.h"
#include "core/platform/code_page.h"
#include "core/platform/error.h"
#include "core/platform/text.h"

#include <algorithm>
#include <functional>

namespace zeilwerk {
namespace {

constexpr int kLinesShown = 4;

std::string shownCode(std::u16string_view code) {
    return "»" + toUtf8(code) + "«";
}

// Reports each code of a line that the game does not know or that is typed wrong.
void checkCodes(std::u16string_view line, const std::map<int, std::u16string>& heroNames, const CheckSettings& settings,
                const std::function<void(FindingKind, std::string)>& report) {
    using Kind = MessageToken::Kind;
    forEachMessageToken(line, [&](const MessageToken& token) {
        const std::u16string_view code = line.substr(token.at, token.length);
        if (token.kind == Kind::Unfinished) {
            report(FindingKind::UnknownCode, "Ein \\ am Zeilenende ist kein Steuerzeichen.");
            return;
        }
        if (token.kind == Kind::Unknown) {
            report(FindingKind::UnknownCode, shownCode(code) + " ist kein Steuerzeichen des Spiels.");
            return;
        }
        if (!takesNumber(token.kind))
            return;
        if (token.bracket == MessageToken::Bracket::None) {
            report(FindingKind::UnknownCode, shownCode(code) + " braucht eine Zahl in eckigen Klammern.");
            return;
        }
        if (token.bracket == MessageToken::Bracket::Open) {
            report(FindingKind::UnknownCode, shownCode(code.substr(0, 3)) + " ohne schließende Klammer.");
            return;
        }
        // The number comes from a variable: any value may be right.
        if (token.variable)
            return;
        const std::u16string_view inside = token.inside;
        if (inside.empty() || !std::all_of(inside.begin(), inside.end(), [](char16_t c) { return c >= u'0' && c <= u'9'; })) {
            report(FindingKind::UnknownCode, shownCode(code) + " hat keine Zahl in den Klammern.");
            return;
        }
        const std::int64_t n = token.number;
        const std::string shown = shownCode(code);
        if (token.kind == Kind::Colour && n > 19)
            report(FindingKind::WrongColour, shown + ": Farbe " + std::to_string(n) + " gibt es nicht, nur 0 bis 19.");
        else if (token.kind == Kind::Colour && settings.invisibleColours >> n & 1)
            report(FindingKind::WrongColour, "Farbe " + std::to_string(n) + " ist in der Systemgrafik »" +
                                                 settings.systemGraphic +
                                                 "« durchsichtig: der Text ist im Spiel unsichtbar.");
        // The engine takes 0 as the fastest speed, as 1.
        else if (token.kind == Kind::Speed && n > 20)
            report(FindingKind::WrongSpeed, shown + ": Tempo " + std::to_string(n) + " gibt es nicht, langsamer als 20 geht nicht.");
        else if (token.kind == Kind::Name && n != 0 && !heroNames.count(static_cast<int>(n)))
            report(FindingKind::UnknownHero, shown + ": Held " + std::to_string(n) + " steht nicht in der Datenbank.");
    });
}

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
    const auto finding = [&](int line, FindingKind kind, std::string reason) {
        Finding f;
        f.place = message.place;
        f.line = line;
        f.kind = kind;
        f.reason = std::move(reason);
        out.push_back(std::move(f));
    };
    if (lines > kLinesShown)
        finding(0, FindingKind::TooManyLines, "Die Nachricht hat " + std::to_string(lines) + " Zeilen, das Fenster zeigt nur 4.");
    // A face on either side leaves the text the same room.
    const bool face = !message.look.face.empty();
    const int room = face ? kTextWidthFace : kTextWidth;
    for (int i = 0; i < lines; ++i) {
        const std::u16string& line = message.lines[static_cast<size_t>(i)];
        const int width = gameLineWidth(line, heroNames, page, settings);
        if (width > room)
            finding(i + 1, FindingKind::TooWide,
                    "Die Zeile ist " + std::to_string(width) + " px breit, Platz ist für " + std::to_string(room) +
                        " px" + (face ? " neben dem Gesicht." : "."));
        checkCodes(line, heroNames, settings, [&](FindingKind kind, std::string reason) { finding(i + 1, kind, std::move(reason)); });
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

static_assert([] {
    for (size_t i = 0; i < std::size(kFindingKinds); ++i)
        if (static_cast<size_t>(kFindingKinds[i].kind) != i)
            return false;
    return true;
}(), "kFindingKinds lists the kinds in their order");

const char* findingKindId(FindingKind kind) {
    return kFindingKinds[static_cast<size_t>(kind)].id;
}

const char* findingKindLabel(FindingKind kind) {
    return kFindingKinds[static_cast<size_t>(kind)].label;
}

std::optional<int> variableCharactersOf(std::u16string_view text) {
    return settingNumber(settings::spielVariablenbreite, text);
}

}  // namespace zeilwerk
