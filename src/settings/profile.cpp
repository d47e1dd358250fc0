#include "settings/option_window.h"

#include "platform/qt_text.h"
#include "app/input_window.h"
#include "platform/code_page.h"
#include "platform/error.h"
#include "platform/messages.h"
#include "platform/paths.h"
#include "settings/ini_file.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QToolButton>

#include <algorithm>
#include <cstdlib>
#include <variant>

namespace zeilwerk {
namespace {

// A check box as a flag; an alignment button as the flag "selected" (disabled).
struct Selected {
    QAbstractButton* button;
};
using Control = std::variant<QCheckBox*, QLineEdit*, QLabel*, Selected, QComboBox*>;

struct ProfileKey {
    const char* section;
    const char* key;
    Control control;
    const char* fallback;   // "1"/"0" for flags
};

// The 26 keys of the settings profile in file order; save and load both walk it.
std::vector<ProfileKey> profileKeys(TForm2& o) {
    return {
        {"vorschau", "aktiv", o.vorschau_aktiv, "1"},
        {"vorschau", "aktiv_set", o.vorschau_aktiv_set, "1"},
        {"vorschau", "scale2x", o.vorschau_scale2x, "0"},
        {"vorschau", "scale2x_set", o.vorschau_scale2x_set, "0"},
        {"vorschau", "textbox", o.vorschau_textbox_datei, "txtbox.bmp"},
        {"vorschau", "x", o.vorschau_textbox_x, "1"},
        {"vorschau", "y", o.vorschau_textbox_y, "1"},
        {"vorschau", "farbe", o.vorschau_farbe, "txtclr.bmp"},
        {"vorschau", "plain", o.vorschau_plain, "0"},
        {"vorschau", "plain_set", o.vorschau_plain_set, "0"},
        {"vorschau", "schrift", o.vorschau_schrift, "MS Mincho"},
        {"eingabe", "breite", o.eingabe_breite, "100"},
        {"eingabe", "hoehe", o.eingabe_hoehe, "100"},
        {"eingabe", "schrift", o.eingabe_schrift, "FixedSys"},
        {"eingabe", "grad", o.eingabe_grad, "8"},
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
        {"ini", "datei", o.ini_datei, "standard.ini"},
    };
}

// The game's look, kept in its own section after the others only when it is set, so a
// profile without it stays as it always was.
std::vector<ProfileKey> gameKeys(TForm2& o) {
    return {
        {"spiel", "ordner", o.spiel_ordner, ""},
        {"spiel", "system", o.spiel_system, ""},
        {"spiel", "aktiv_set", o.spiel_aktiv_set, "0"},
        {"spiel", "aktiv", o.spiel_aktiv, "0"},
        {"spiel", "variable", o.spiel_variable, "0"},
        {"spiel", "gesicht", o.spiel_gesicht, ""},
        {"spiel", "gesicht_nr", o.spiel_gesicht_nr, "0"},
        {"spiel", "gesicht_rechts", o.spiel_gesicht_rechts, "0"},
        {"spiel", "gesicht_gespiegelt", o.spiel_gesicht_gespiegelt, "0"},
        {"spiel", "transparent", o.spiel_transparent, "0"},
        {"spiel", "position", o.spiel_position, "2"},
        {"spiel", "hintergrund", o.spiel_hintergrund, ""},
        {"spiel", "hintergrund_x", o.spiel_hintergrund_x, "160"},
        {"spiel", "hintergrund_y", o.spiel_hintergrund_y, "120"},
        {"spiel", "bildschirm", o.spiel_bildschirm, "0"},
    };
}

template <typename... Ts>
struct Overloaded : Ts... {
    using Ts::operator()...;
};
// Spelt out for compilers without aggregate deduction (clang 14).
template <typename... Ts>
Overloaded(Ts...) -> Overloaded<Ts...>;

// Whether the file has any key of the keys' section.
bool holdsAny(const IniFile& file, const std::vector<ProfileKey>& keys) {
    constexpr std::string_view absent = "\x01";
    for (const ProfileKey& k : keys)
        if (file.readText(k.section, k.key, absent) != absent)
            return true;
    return false;
}

IniEntry savedKey(const ProfileKey& k) {
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

void loadKey(const IniFile& file, const ProfileKey& k) {
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

}  // namespace

namespace {
const QString outsideTheFolder = QStringLiteral(
    "Die Sicherungsdatei muss im Programmordner liegen: bitte einen Namen ohne Laufwerk, ohne "
    "führenden Schrägstrich und ohne \"..\" angeben.");
}  // namespace

void TForm2::ini_saveClick() {
    const QString name = ini_datei->text();
    if (name.isEmpty())
        return;
    // A profile name that leaves the folder would let a profile write into any file.
    if (!staysInFolder(name)) {
        m_platform.messages->show(outsideTheFolder);
        return;
    }
    makeSettingsFolder(m_platform.executableFolder);
    IniFile profile(besideExecutable(m_platform.executableFolder, name));
    std::vector<IniEntry> entries;
    for (const ProfileKey& k : profileKeys(*this))
        entries.push_back(savedKey(k));
    // Written when set, and when the file has them already: values left there would load again.
    const std::vector<ProfileKey> game = gameKeys(*this);
    const bool gameSet = std::any_of(game.begin(), game.end(),
                                     [](const ProfileKey& k) { return savedKey(k).value != k.fallback; });
    if (gameSet || holdsAny(profile, game))
        for (const ProfileKey& k : game)
            entries.push_back(savedKey(k));
    profile.write(entries);
    Fileexistence(ini_datei);
    m_platform.messages->show(QStringLiteral("Einstellungen erfolgreich gesichert."));
}

bool TForm2::loadini(QObject* sender) {
    const QString name = ini_datei->text();
    if (name.isEmpty())
        return false;
    if (!staysInFolder(name)) {
        m_platform.messages->show(outsideTheFolder);
        return false;
    }
    // Tested at the very path that is read, so a missing file is never a silent load of defaults.
    if (!fileExistsBeside(m_platform.executableFolder, name)) {
        m_platform.messages->show(QStringLiteral("Die angegebene Datei wurde nicht gefunden."));
        return false;
    }
    const IniFile profile(besideExecutable(m_platform.executableFolder, name));
    try {
        deferValidationErrors(true);
        std::vector<ProfileKey> keys = profileKeys(*this);
        for (const ProfileKey& k : gameKeys(*this))
            keys.push_back(k);
        for (const ProfileKey& k : keys) {
            loadKey(profile, k);
            if (std::optional<std::string> error = takeDeferredError())
                throw Error(*error);
        }
        deferValidationErrors(false);
        confirmClick();
    } catch (const std::exception&) {
        deferValidationErrors(false);
        takeDeferredError();
        m_platform.messages->show(QStringLiteral("Ein Fehler ist beim Laden aufgetreten."));
        return false;
    }
    if (sender != static_cast<QObject*>(m_windows.input))
        m_platform.messages->show(QStringLiteral("Einstellungen erfolgreich geladen."));
    return true;
}

}  // namespace zeilwerk
