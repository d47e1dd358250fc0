#pragma once

#include <array>
#include <cstdint>
#include <limits>
#include <optional>
#include <string_view>

namespace zeilwerk {

// How a setting's text is checked while typed and after a load.
enum class Check { None, File, Number, Whole, Message };

// One setting of the profile, declared once: where it is kept, its default, how its text is
// checked and, for a number, the range it must lie in. The option window binds its controls
// to these; start-up, apply, the checks and the command line read the same rows.
struct Setting {
    std::string_view section;
    std::string_view key;
    std::string_view fallback;  // "1"/"0" for flags, an index for a choice
    Check check = Check::None;
    std::int32_t minimum = std::numeric_limits<std::int32_t>::min();
    std::int32_t maximum = std::numeric_limits<std::int32_t>::max();

    // The default as a number; 0 where it is none.
    constexpr int number() const {
        int n = 0;
        for (const char c : fallback) {
            if (c < '0' || c > '9')
                return 0;
            n = 10 * n + (c - '0');
        }
        return n;
    }
    constexpr bool inRange(std::int64_t n) const { return n >= minimum && n <= maximum; }
};

namespace settings {

inline constexpr Setting vorschauAktiv{"vorschau", "aktiv", "1"};
inline constexpr Setting vorschauAktivSet{"vorschau", "aktiv_set", "1"};
inline constexpr Setting vorschauScale2x{"vorschau", "scale2x", "0"};
inline constexpr Setting vorschauScale2xSet{"vorschau", "scale2x_set", "0"};
inline constexpr Setting vorschauTextbox{"vorschau", "textbox", "txtbox.bmp", Check::File};
// The transparent colour's point on the 320 × 80 text box picture.
inline constexpr Setting vorschauX{"vorschau", "x", "1", Check::Number, std::numeric_limits<std::int32_t>::min(), 320};
inline constexpr Setting vorschauY{"vorschau", "y", "1", Check::Number, std::numeric_limits<std::int32_t>::min(), 80};
inline constexpr Setting vorschauFarbe{"vorschau", "farbe", "txtclr.bmp", Check::File};
inline constexpr Setting vorschauPlain{"vorschau", "plain", "0"};
inline constexpr Setting vorschauPlainSet{"vorschau", "plain_set", "0"};
inline constexpr Setting vorschauSchrift{"vorschau", "schrift", "MS Mincho", Check::File};
// Percent of the designed memo; the largest the screen holds is the upper bound, known only there.
inline constexpr Setting eingabeBreite{"eingabe", "breite", "100", Check::Number, 20};
inline constexpr Setting eingabeHoehe{"eingabe", "hoehe", "100", Check::Number, 20};
inline constexpr Setting eingabeSchrift{"eingabe", "schrift", "FixedSys", Check::File};
inline constexpr Setting eingabeGrad{"eingabe", "grad", "8", Check::Number, 1};
inline constexpr Setting textLaenge{"text", "laenge", "50"};
inline constexpr Setting textLinks{"text", "links", "1"};
inline constexpr Setting textZentriert{"text", "zentriert", "0"};
inline constexpr Setting textRechts{"text", "rechts", "0"};
inline constexpr Setting textAusrichtung{"text", "ausrichtung_set", "0"};
inline constexpr Setting textFace{"text", "face", "0"};
inline constexpr Setting fensterFgr{"fenster", "fgr", "0"};
inline constexpr Setting fensterAuto{"fenster", "auto", "0"};
inline constexpr Setting toolHorizont{"tool", "horizont", "1"};
inline constexpr Setting iniAuto{"ini", "auto", "0"};
inline constexpr Setting iniDatei{"ini", "datei", "standard.ini", Check::File};

inline constexpr Setting spielOrdner{"spiel", "ordner", "", Check::File};
inline constexpr Setting spielSystem{"spiel", "system", "", Check::File};
inline constexpr Setting spielAktivSet{"spiel", "aktiv_set", "0"};
inline constexpr Setting spielAktiv{"spiel", "aktiv", "0"};
inline constexpr Setting spielVariable{"spiel", "variable", "0", Check::Whole};
inline constexpr Setting spielGesicht{"spiel", "gesicht", "", Check::Message};
inline constexpr Setting spielGesichtNr{"spiel", "gesicht_nr", "0", Check::Message, 0, 15};
inline constexpr Setting spielGesichtRechts{"spiel", "gesicht_rechts", "0"};
inline constexpr Setting spielGesichtGespiegelt{"spiel", "gesicht_gespiegelt", "0"};
inline constexpr Setting spielTransparent{"spiel", "transparent", "0"};
inline constexpr Setting spielPosition{"spiel", "position", "2"};  // 0 top, 1 middle, 2 bottom
inline constexpr Setting spielHintergrund{"spiel", "hintergrund", "", Check::Message};
// The background picture's centre on the 320 × 240 screen.
inline constexpr Setting spielHintergrundX{"spiel", "hintergrund_x", "160", Check::Message};
inline constexpr Setting spielHintergrundY{"spiel", "hintergrund_y", "120", Check::Message};
inline constexpr Setting spielBildschirm{"spiel", "bildschirm", "0"};
inline constexpr Setting spielWoerterbuch{"spiel", "woerterbuch", "de_DE", Check::File};
// How many half-width characters "\v[n]" counts in the checks.
inline constexpr Setting spielVariablenbreite{"spiel", "variablenbreite", "8", Check::Number, 1, 99};

// The 26 keys of the settings profile in file order.
inline constexpr std::array<const Setting*, 26> kProfile = {
    &vorschauAktiv, &vorschauAktivSet, &vorschauScale2x, &vorschauScale2xSet, &vorschauTextbox, &vorschauX,
    &vorschauY,     &vorschauFarbe,    &vorschauPlain,   &vorschauPlainSet,   &vorschauSchrift, &eingabeBreite,
    &eingabeHoehe,  &eingabeSchrift,   &eingabeGrad,     &textLaenge,         &textLinks,       &textZentriert,
    &textRechts,    &textAusrichtung,  &textFace,        &fensterFgr,         &fensterAuto,     &toolHorizont,
    &iniAuto,       &iniDatei,
};
// The game's look, kept in its own section after the others only when it is set, so a
// profile without it stays as it always was.
inline constexpr std::array<const Setting*, 17> kGame = {
    &spielOrdner,        &spielSystem,       &spielAktivSet,          &spielAktiv,        &spielVariable,
    &spielGesicht,       &spielGesichtNr,    &spielGesichtRechts,     &spielGesichtGespiegelt,
    &spielTransparent,   &spielPosition,     &spielHintergrund,       &spielHintergrundX, &spielHintergrundY,
    &spielBildschirm,    &spielWoerterbuch,  &spielVariablenbreite,
};

// The input's flowing text: the mode on, the speaker's line above every box of a paragraph
// with a speaker, even lines; kept in a section of its own after the game's, only when set.
inline constexpr Setting fliesstextAktiv{"fliesstext", "aktiv", "0"};
inline constexpr Setting fliesstextSprecher{"fliesstext", "sprecher", "1"};
inline constexpr Setting fliesstextGleichmaessig{"fliesstext", "gleichmaessig", "0"};
inline constexpr std::array<const Setting*, 3> kFlow = {&fliesstextAktiv, &fliesstextSprecher, &fliesstextGleichmaessig};

// "Mitlesen": the input follows the Maker's open message dialog; a section of its own after
// the flowing text's, only when set.
inline constexpr Setting makerMitlesen{"maker", "mitlesen", "0"};
inline constexpr std::array<const Setting*, 1> kMaker = {&makerMitlesen};

}  // namespace settings

// A number setting's text as the settings read numbers (blanks, sign, decimal or "$"/"0x"
// hexadecimal), when it lies in the setting's range; none otherwise.
std::optional<std::int32_t> settingNumber(const Setting& setting, std::u16string_view text);

}  // namespace zeilwerk
