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
        {&settings::vorschauAktiv, o.vorschau_aktiv},
        {&settings::vorschauAktivSet, o.vorschau_aktiv_set},
        {&settings::vorschauScale2x, o.vorschau_scale2x},
        {&settings::vorschauScale2xSet, o.vorschau_scale2x_set},
        {&settings::vorschauTextbox, o.vorschau_textbox_datei},
        {&settings::vorschauX, o.vorschau_textbox_x},
        {&settings::vorschauY, o.vorschau_textbox_y},
        {&settings::vorschauFarbe, o.vorschau_farbe},
        {&settings::vorschauPlain, o.vorschau_plain},
        {&settings::vorschauPlainSet, o.vorschau_plain_set},
        {&settings::vorschauSchrift, o.vorschau_schrift},
        {&settings::eingabeBreite, o.eingabe_breite},
        {&settings::eingabeHoehe, o.eingabe_hoehe},
        {&settings::eingabeSchrift, o.eingabe_schrift},
        {&settings::eingabeGrad, o.eingabe_grad},
        {&settings::textLaenge, o.laenge},
        {&settings::textLinks, Selected{o.text_links}},
        {&settings::textZentriert, Selected{o.text_zentriert}},
        {&settings::textRechts, Selected{o.text_rechts}},
        {&settings::textAusrichtung, o.ausrichtung},
        {&settings::textFace, o.text_face},
        {&settings::fensterFgr, o.fenster_fgr},
        {&settings::fensterAuto, o.fenster_auto},
        {&settings::toolHorizont, o.tool_horizontal},
        {&settings::iniAuto, o.ini_auto},
        {&settings::iniDatei, o.ini_datei},
    };
}

std::vector<SettingRow> gameRows(TForm2& o) {
    return {
        {&settings::spielOrdner, o.spiel_ordner},
        {&settings::spielSystem, o.spiel_system},
        {&settings::spielAktivSet, o.spiel_aktiv_set},
        {&settings::spielAktiv, o.spiel_aktiv},
        {&settings::spielVariable, o.spiel_variable},
        {&settings::spielGesicht, o.spiel_gesicht},
        {&settings::spielGesichtNr, o.spiel_gesicht_nr},
        {&settings::spielGesichtRechts, o.spiel_gesicht_rechts},
        {&settings::spielGesichtGespiegelt, o.spiel_gesicht_gespiegelt},
        {&settings::spielTransparent, o.spiel_transparent},
        {&settings::spielPosition, o.spiel_position},
        {&settings::spielHintergrund, o.spiel_hintergrund},
        {&settings::spielHintergrundX, o.spiel_hintergrund_x},
        {&settings::spielHintergrundY, o.spiel_hintergrund_y},
        {&settings::spielBildschirm, o.spiel_bildschirm},
        {&settings::spielWoerterbuch, o.spiel_woerterbuch},
        {&settings::spielVariablenbreite, o.spiel_variablenbreite},
    };
}

std::vector<SettingRow> flowRows(TForm2& o) {
    return {
        {&settings::fliesstextAktiv, o.fliesstext},
        {&settings::fliesstextSprecher, o.fliesstext_sprecher},
        {&settings::fliesstextGleichmaessig, o.fliesstext_gleichmaessig},
    };
}

std::vector<SettingRow> makerRows(TForm2& o) {
    return {{&settings::makerMitlesen, o.text_mitlesen}};
}

namespace {

template <typename... Ts>
struct Overloaded : Ts... {
    using Ts::operator()...;
};
// Spelt out for compilers without aggregate deduction (clang 14).
template <typename... Ts>
Overloaded(Ts...) -> Overloaded<Ts...>;

QString latin1(std::string_view text) {
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

bool holdsAny(const IniFile& file, const std::vector<SettingRow>& rows) {
    constexpr std::string_view absent = "\x01";
    for (const SettingRow& k : rows)
        if (file.readText(k.setting->section, k.setting->key, absent) != absent)
            return true;
    return false;
}

IniEntry savedRow(const SettingRow& k) {
    return {std::string(k.setting->section), std::string(k.setting->key),
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
    const bool flagDefault = k.setting->fallback == "1";
    std::visit(Overloaded{
                   [&](QCheckBox* c) { c->setChecked(file.readFlag(k.setting->section, k.setting->key, flagDefault)); },
                   [&](QLineEdit* f) { f->setText(fromIni(file.readText(k.setting->section, k.setting->key, k.setting->fallback))); },
                   [&](QLabel* l) { l->setText(fromIni(file.readText(k.setting->section, k.setting->key, k.setting->fallback))); },
                   [&](Selected s) { s.button->setEnabled(!file.readFlag(k.setting->section, k.setting->key, flagDefault)); },
                   [&](QComboBox* b) {
                       const int fallback = k.setting->number();
                       const int i = file.readNumber(k.setting->section, k.setting->key, fallback);
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
    const bool on = k.setting->fallback == "1";
    std::visit(Overloaded{
                   [&](QCheckBox* c) { c->setChecked(on); },
                   [&](QLineEdit* f) { f->setText(latin1(k.setting->fallback)); },
                   [&](QLabel* l) { l->setText(latin1(k.setting->fallback)); },
                   [&](Selected s) { s.button->setEnabled(!on); },
                   [&](QComboBox* b) { b->setCurrentIndex(k.setting->number()); },
               },
               k.control);
}

}  // namespace zeilwerk
