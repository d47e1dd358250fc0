#pragma once

#include "core/game/game_checks.h"
#include "core/message/scanner.h"
#include "look/game_look.h"
#include "look/rendering.h"
#include "platform/platform.h"
#include "widgets/tool_window.h"
#include "windows/windows.h"

#include <filesystem>
#include <optional>
#include <utility>
#include <string>

class QAbstractButton;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTabWidget;
class QToolButton;

namespace zeilwerk {

class FacePicker;
struct SettingRow;

// The option window "Optionen", the settings model: every setting lives in one of its
// controls, named after it; the other windows read them here.
class TForm2 : public ToolWindow, public TraceSink {
public:
    TForm2(const Platform& platform, const Windows& windows);

    // The defaults routine, at creation and on "Zurücksetzen".
    void FormShow();
    // Validation colouring of a file or font field, and of a number field.
    void Fileexistence(QLineEdit* field);
    void picsizecheck(QLineEdit* field);
    // The coordinate key filter: false when the typed character must be discarded.
    bool filterkeys(QLineEdit* field, QChar typed) const;
    void Setausrichtung(QAbstractButton* clicked);
    void BitBtn4Click();

    // Apply: carries every setting into the other windows and writes optn.ini (app/ does it).
    void confirmClick();
    // The settings profile named in ini_datei: save, and load followed by apply. Only a load
    // from the button "Laden" tells its success (start-up loads quietly); true when all went well.
    void ini_saveClick();
    bool loadini(QObject* sender);
    // "Zum Maker senden": types the four lines, indented, into the Maker's message dialog (app/ does it).
    void intomaker();
    // "Fenster ausrichten".
    void SpeedButton3Click();
    // The help-line handler of the window and its bound controls.
    void puthelpline(QWidget* sender);
    void aboutit();

    // What the preview's rendering reads of the settings, the game's look aside.
    RenderSettings renderSettings() const;
    // The message's options of the game's look, as set on the tab "Spiel".
    GameMessageOptions gameMessageOptions() const;
    // A message's own options into the fields of the tab "Spiel" (what the game showed it with).
    void setMessageLook(const MessageOptions& look);
    // The declared setting a field shows; none for a field of no setting.
    const Setting* settingOf(const QLineEdit* field);
    // "Beispielwert für \v" as a number, or nothing when it is none.
    std::optional<std::int32_t> sampleVariable() const;
    // What the game's checks count: "Breite von \v", 8 where it is no number from 1 to 99.
    CheckSettings checkSettings() const;

    // The Debugger tab is the scanner's trace log.
    bool tracing() const override;
    void appendLine(const std::u16string& line) override;

    // A setting's check, as its row in the settings table names it.
    void checkRow(const SettingRow& row);

    static const QColor validColour;
    static const QColor invalidColour;

    QTabWidget* tabs;
    QPushButton* reset;
    QPushButton* confirm;
    QPushButton* info;

    // "Vorschau"
    QLineEdit* vorschau_farbe;
    QCheckBox* vorschau_plain_set;
    QLineEdit* vorschau_schrift;
    QCheckBox* vorschau_aktiv_set;
    QCheckBox* vorschau_scale2x_set;
    QLineEdit* vorschau_textbox_datei;
    QLineEdit* vorschau_textbox_x;
    QLineEdit* vorschau_textbox_y;
    QCheckBox* vorschau_aktiv;      // applied flags, never shown
    QCheckBox* vorschau_plain;
    QCheckBox* vorschau_scale2x;

    // "Eingabe"
    QLineEdit* eingabe_breite;
    QLineEdit* eingabe_hoehe;
    QLineEdit* eingabe_schrift;
    QLineEdit* eingabe_grad;

    // "Text"
    QToolButton* text_links;
    QToolButton* text_zentriert;
    QToolButton* text_rechts;
    QLabel* ausrichtung;            // applied alignment code, never shown
    QCheckBox* text_face;
    QPushButton* text_maker;
    QCheckBox* text_mitlesen;  // "Mitlesen": the input follows the Maker's message dialog
    QLabel* laenge;                 // applied line length, never shown

    // "Allgemein"
    QCheckBox* fenster_fgr;
    QCheckBox* fenster_auto;
    QPushButton* fenster_ausr;
    QCheckBox* tool_hide;
    QCheckBox* tool_horizontal;
    QPushButton* ini_save;
    QPushButton* ini_load;
    QCheckBox* ini_auto;
    QLineEdit* ini_datei;

    // "Debugger"
    QCheckBox* debug_check;
    QPushButton* BitBtn4;
    QPlainTextEdit* debug;

    // "Spiel"
    QLineEdit* spiel_ordner;
    QLineEdit* spiel_system;
    QCheckBox* spiel_aktiv_set;
    QCheckBox* spiel_aktiv;         // applied flag, never shown
    QLineEdit* spiel_variable;      // what \v[n] prints in the game's look
    QLabel* spiel_schrift;          // which font the game's look draws with
    QLabel* spiel_fenster;          // how the game's engine draws the message window
    QPushButton* spiel_nachrichten; // opens the message window
    QLineEdit* spiel_woerterbuch;   // the spelling's Hunspell dictionary
    QLineEdit* spiel_variablenbreite;  // how many characters the checks count "\v[n]" as
    QLineEdit* spiel_gesicht;
    QLineEdit* spiel_gesicht_nr;
    FacePicker* spiel_gesicht_wahl;
    QCheckBox* spiel_gesicht_rechts;
    QCheckBox* spiel_gesicht_gespiegelt;
    QCheckBox* spiel_transparent;
    QComboBox* spiel_position;
    QLineEdit* spiel_hintergrund;
    QLineEdit* spiel_hintergrund_x;
    QLineEdit* spiel_hintergrund_y;
    QCheckBox* spiel_bildschirm;
    QCheckBox* fliesstext;
    QCheckBox* fliesstext_sprecher;
    QCheckBox* fliesstext_gleichmaessig;

    // The window, two tab pages and the group boxes, which show the default help text.
    QList<QWidget*> backgrounds;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildVorschau(QWidget* page);
    void buildEingabe(QWidget* page);
    void buildText(QWidget* page);
    void buildAllgemein(QWidget* page);
    void buildDebugger(QWidget* page);
    void buildSpiel(QWidget* page);
    QGroupBox* group(QWidget* parent, const QString& caption, QRect geometry);
    QLineEdit* field(QWidget* parent, const QString& label, QRect geometry, const QString& hint);
    QCheckBox* checkBox(QWidget* parent, const QString& caption, QRect geometry, const QString& hint);
    QPushButton* button(QWidget* parent, const QString& caption, QRect geometry, const QString& hint);
    void validateNumber(QLineEdit* field);
    // A button's click runs the handler inside the error guard.
    template <typename Handler>
    void connectGuarded(QAbstractButton* button, Handler handler);
    void colour(QLineEdit* field, bool valid);
    void buildNachricht(QWidget* page);
    // Colours the message fields of the tab "Spiel" and shows the FaceSet in the picker.
    void checkMessageFields();

    const Platform& m_platform;
    const Windows& m_windows;
    bool m_battleMessage = false;  // the message last taken from the game is a battle event's
};

}  // namespace zeilwerk
