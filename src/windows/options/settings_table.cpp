#include "windows/options/settings_table.h"

#include "platform/qt_text.h"
#include "windows/options/option_window.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QToolButton>

#include <cstdlib>
#include <string>
#include <string_view>

namespace zeilwerk {

std::vector<SettingRow> profileRows(TForm2& o) {
    return {
        {"vorschau", "aktiv", o.vorschau_aktiv, "1"},
        {"vorschau", "aktiv_set", o.vorschau_aktiv_set, "1"},
        {"vorschau", "scale2x", o.vorschau_scale2x, "0"},
        {"vorschau", "scale2x_set", o.vorschau_scale2x_set, "0"},
        {"vorschau", "textbox", o.vorschau_textbox_datei, "txtbox.bmp", Check::File},
        {"vorschau", "x", o.vorschau_textbox_x, "1", Check::Number},
        {"vorschau", "y", o.vorschau_textbox_y, "1", Check::Number},
        {"vorschau", "farbe", o.vorschau_farbe, "txtclr.bmp", Check::File},
        {"vorschau", "plain", o.vorschau_plain, "0"},
        {"vorschau", "plain_set", o.vorschau_plain_set, "0"},
        {"vorschau", "schrift", o.vorschau_schrift, "MS Mincho", Check::File},
        {"eingabe", "breite", o.eingabe_breite, "100", Check::Number},
        {"eingabe", "hoehe", o.eingabe_hoehe, "100", Check::Number},
        {"eingabe", "schrift", o.eingabe_schrift, "FixedSys", Check::File},
        {"eingabe", "grad", o.eingabe_grad, "8", Check::Number},
        {"text", "laenge", o.laenge, "50"},
        {"text", "links", Selected{o.text_links}, "1"},
        {"text", "zentriert", Selected{o.text_zentriert}, "0"},
        {"text", "rechts", Selected{o.text_rechts}, "0"},
        {"text", "ausrichtung_set", o.ausrichtung, "0"},
        {"text", "face", o.text_face, "0"},
        {"fenster", "fgr", o.fenster_fgr, "0"},
        {"fenster", "auto", o.fenster_auto, "0"},
        {"tool", "horizont", o.tool_horizontal, "1"},
        {"ini", "auto", o.ini_auto, "0"},
        {"ini", "datei", o.ini_datei, "standard.ini", Check::File},
    };
}

std::vector<SettingRow> gameRows(TForm2& o) {
    return {
        {"spiel", "ordner", o.spiel_ordner, "", Check::File},
        {"spiel", "system", o.spiel_system, "", Check::File},
        {"spiel", "aktiv_set", o.spiel_aktiv_set, "0"},
        {"spiel", "aktiv", o.spiel_aktiv, "0"},
        {"spiel", "variable", o.spiel_variable, "0", Check::Whole},
        {"spiel", "gesicht", o.spiel_gesicht, "", Check::Message},
        {"spiel", "gesicht_nr", o.spiel_gesicht_nr, "0", Check::Message},
        {"spiel", "gesicht_rechts", o.spiel_gesicht_rechts, "0"},
        {"spiel", "gesicht_gespiegelt", o.spiel_gesicht_gespiegelt, "0"},
        {"spiel", "transparent", o.spiel_transparent, "0"},
        {"spiel", "position", o.spiel_position, "2"},
        {"spiel", "hintergrund", o.spiel_hintergrund, "", Check::Message},
        {"spiel", "hintergrund_x", o.spiel_hintergrund_x, "160", Check::Message},
        {"spiel", "hintergrund_y", o.spiel_hintergrund_y, "120", Check::Message},
        {"spiel", "bildschirm", o.spiel_bildschirm, "0"},
        {"spiel", "woerterbuch", o.spiel_woerterbuch, "de_DE", Check::File},
        {"spiel", "variablenbreite", o.spiel_variablenbreite, "8", Check::Number},
    };
}

namespace {

template <typename... Ts>
struct Overloaded : Ts... {
    using Ts::operator()...;
};
// Spelt out for compilers without aggregate deduction (clang 14).
template <typename... Ts>
Overloaded(Ts...) -> Overloaded<Ts...>;

// Whether the file has any key of the keys' section.
}  // namespace

bool holdsAny(const IniFile& file, const std::vector<SettingRow>& rows) {
    constexpr std::string_view absent = "\x01";
    for (const SettingRow& k : rows)
        if (file.readText(k.section, k.key, absent) != absent)
            return true;
    return false;
}

IniEntry savedRow(const SettingRow& k) {
    return {k.section, k.key,
            std::visit(Overloaded{
                           [&](QCheckBox* c) { return iniFlag(c->isChecked()); },
                           [&](QLineEdit* f) { return toIni(f->text()); },
                           [&](QLabel* l) { return toIni(l->text()); },
                           [&](Selected s) { return iniFlag(!s.button->isEnabled()); },
                           [&](QComboBox* b) { return std::to_string(b->currentIndex()); },
                       },
                       k.control)};
}

void loadRow(const IniFile& file, const SettingRow& k) {
    const bool flagDefault = std::string_view(k.fallback) == "1";
    std::visit(Overloaded{
                   [&](QCheckBox* c) { c->setChecked(file.readFlag(k.section, k.key, flagDefault)); },
                   [&](QLineEdit* f) { f->setText(fromIni(file.readText(k.section, k.key, k.fallback))); },
                   [&](QLabel* l) { l->setText(fromIni(file.readText(k.section, k.key, k.fallback))); },
                   [&](Selected s) { s.button->setEnabled(!file.readFlag(k.section, k.key, flagDefault)); },
                   [&](QComboBox* b) {
                       const int fallback = std::atoi(k.fallback);
                       const int i = file.readNumber(k.section, k.key, fallback);
                       b->setCurrentIndex(i >= 0 && i < b->count() ? i : fallback);
                   },
               },
               k.control);
}

QObject* controlObject(const Control& control) {
    return std::visit(Overloaded{
                          [](Selected s) -> QObject* { return s.button; },
                          [](auto* c) -> QObject* { return c; },
                      },
                      control);
}

void setDefault(const SettingRow& k) {
    const bool on = std::string_view(k.fallback) == "1";
    std::visit(Overloaded{
                   [&](QCheckBox* c) { c->setChecked(on); },
                   [&](QLineEdit* f) { f->setText(QString::fromLatin1(k.fallback)); },
                   [&](QLabel* l) { l->setText(QString::fromLatin1(k.fallback)); },
                   [&](Selected s) { s.button->setEnabled(!on); },
                   [&](QComboBox* b) { b->setCurrentIndex(std::atoi(k.fallback)); },
               },
               k.control);
}

}  // namespace zeilwerk
