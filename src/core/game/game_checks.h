#pragma once

#include "core/game/game_folder.h"
#include "core/settings/settings.h"

#include <cstdint>
#include <map>
#include <optional>
#include <string_view>
#include <string>
#include <vector>

namespace zeilwerk {

class CodePage;

struct CheckSettings {
    int variableCharacters = settings::spielVariablenbreite.number();  // how wide "\v[n]" is counted, in half-width characters
    std::uint32_t invisibleColours = 0;  // bit n: colour n's cell in the System graphic is transparent
    std::string systemGraphic;           // its name, UTF-8, for saying so
};

// "Breite von \v" as typed: a whole number from 1 to 99 (read as every number setting is);
// none for anything else. The option field, apply and the command line all take it from here.
std::optional<int> variableCharactersOf(std::u16string_view text);

enum class FindingKind : std::uint8_t { TooWide, TooManyLines, UnknownCode, WrongColour, WrongSpeed, UnknownHero, Spelling };

// Each kind's id, which the command line prints for scripts to read and so never changes,
// and its German label, in the order the kind filter lists them.
struct FindingKindName {
    FindingKind kind;
    const char* id;
    const char* label;
};
inline constexpr FindingKindName kFindingKinds[] = {
    {FindingKind::TooWide, "zu_breit", "zu breit"},
    {FindingKind::TooManyLines, "zu_viele_zeilen", "zu viele Zeilen"},
    {FindingKind::UnknownCode, "unbekannter_code", "unbekannter Code"},
    {FindingKind::WrongColour, "falsche_farbe", "falsche Farbe"},
    {FindingKind::WrongSpeed, "falsches_tempo", "falsches Tempo"},
    {FindingKind::UnknownHero, "unbekannter_held", "unbekannter Held"},
    {FindingKind::Spelling, "rechtschreibung", "Rechtschreibung"},
};
const char* findingKindId(FindingKind kind);
const char* findingKindLabel(FindingKind kind);

struct Finding {
    MessagePlace place;
    int line = 0;          // 1 to n; 0 for the message as a whole
    FindingKind kind = FindingKind::TooWide;
    std::string reason;    // German, UTF-8
    std::u16string word;   // the word a spelling finding is about
    std::u16string meant;  // a spelling finding's likely meant word of the game, one letter away
    int nearCount = 0;     // how often the game uses it
};

inline constexpr int kTextWidth = 304;      // the box's text area
inline constexpr int kTextWidthFace = 232;  // beside a face, on either side

// A number that prints as many digits as "Breite von \v" counts, for the widths of "\v[n]".
std::int64_t variableOfWidth(int characters);

// The width of a line as the engine lays it out, from its first cell to the end of its last.
int gameLineWidth(const std::u16string& line, const std::map<int, std::u16string>& heroNames, const CodePage& page,
                  const CheckSettings& settings = {});

// The findings of one message, in line order.
void checkMessage(const GameMessage& message, const std::map<int, std::u16string>& heroNames, const CodePage& page,
                  const CheckSettings& settings, std::vector<Finding>& out);

// The heroes' names as the checks count them: "\n[0]", the party's leader, as the widest hero.
std::map<int, std::u16string> namesForChecks(const std::map<int, std::u16string>& heroNames, const CodePage& page);

std::vector<Finding> checkMessages(const GameMessages& game, const CodePage& page, const CheckSettings& settings = {});

}  // namespace zeilwerk
