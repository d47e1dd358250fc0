#include "windows/options/option_window.h"

#include "core/platform/number.h"
#include "core/version.h"
#include "look/fonts.h"
#include "look/game_file_lookup.h"
#include "look/game_look.h"
#include "look/game_picture.h"
#include "platform/paths.h"
#include "platform/qt_text.h"
#include "spelling/speller.h"
#include "widgets/help_line.h"
#include "widgets/hints.h"
#include "widgets/icons.h"
#include "widgets/messages.h"
#include "windows/options/face_picker.h"
#include "windows/options/settings_table.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QTabWidget>
#include <QToolButton>

#include <type_traits>

namespace zeilwerk {
namespace {

QToolButton* alignmentButton(QWidget* parent, const QString& caption, int alignment, QRect geometry,
                             const QString& hint) {
    auto* b = new QToolButton(parent);
    b->setText(caption);
    b->setIcon(alignmentIcon(alignment));
    b->setIconSize(QSize(22, 22));
    b->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    b->setAutoRaise(true);
    b->setGeometry(geometry);
    setHint(b, hint);
    return b;
}

// A character the user types, as opposed to an editing or navigation key (Delete, the
// arrows, Home, End) or a shortcut (Ctrl+C, Ctrl+V, ...), which carry text on X11 too.
bool isTypedCharacter(const QKeyEvent& key) {
    if (key.text().isEmpty() || key.key() == Qt::Key_Delete || key.key() == Qt::Key_Escape)
        return false;
    return !(key.modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier));
}

}  // namespace

const QColor TForm2::validColour(0, 128, 0);
const QColor TForm2::invalidColour(255, 0, 0);

TForm2::TForm2(const Platform& platform, const Windows& windows)
    : ToolWindow(QStringLiteral("Optionen"), QSize(318, 238), false), m_platform(platform), m_windows(windows) {
    // Group captions sit on the frame line and the six tab captions fit the designed width,
    // as on Windows, so the designed positions of the controls fit.
    setStyleSheet(QStringLiteral(
        "QWidget { font-family: Tahoma; font-size: 11px; }"
        "QTabBar::tab { padding: 3px 5px; }"
        "QGroupBox { border: 1px solid #a0a0a0; border-radius: 2px; margin-top: 6px; }"
        "QGroupBox::title { subcontrol-origin: margin; subcontrol-position: top left; left: 6px; padding: 0 2px; }"));
    tabs = new QTabWidget(this);
    tabs->setGeometry(8, 8, 305, 193);
    const QString names[] = {QStringLiteral("Vorschau"),  QStringLiteral("Eingabe"),  QStringLiteral("Text"),
                             QStringLiteral("Allgemein"), QStringLiteral("Debugger"), QStringLiteral("Spiel")};
    QWidget* pages[6];
    for (int i = 0; i < 6; ++i) {
        pages[i] = new QWidget;
        tabs->addTab(pages[i], names[i]);
    }
    backgrounds << this << pages[0] << pages[2];
    buildVorschau(pages[0]);
    buildEingabe(pages[1]);
    buildText(pages[2]);
    buildAllgemein(pages[3]);
    buildDebugger(pages[4]);
    buildSpiel(pages[5]);
    tabs->setCurrentIndex(3);

    reset = button(this, QStringLiteral("Zurücksetzen"), QRect(8, 208, 105, 25),
                   QStringLiteral("Setzt alle Einstellungen auf die Standardwerte zurück."));
    reset->setIcon(crossIcon());
    confirm = button(this, QStringLiteral("Anwenden"), QRect(168, 208, 105, 25),
                     QStringLiteral("Wendet alle Einstellungen an und aktualisiert die Vorschau."));
    confirm->setIcon(checkIcon());
    info = button(this, QString(), QRect(280, 208, 33, 25), QStringLiteral("Zeigt Programm- und Versionsinformationen."));
    info->setIcon(infoIcon());
    for (QPushButton* b : {reset, confirm, info})
        b->setIconSize(QSize(22, 22));

    connectGuarded(reset, &TForm2::FormShow);
    connectGuarded(info, &TForm2::aboutit);
    connectGuarded(BitBtn4, &TForm2::BitBtn4Click);
    connectGuarded(confirm, &TForm2::confirmClick);
    connectGuarded(ini_save, &TForm2::ini_saveClick);
    connectGuarded(ini_load, [this] { loadini(ini_load); });
    connectGuarded(text_maker, &TForm2::intomaker);
    connectGuarded(fenster_ausr, &TForm2::SpeedButton3Click);
    connectGuarded(spiel_nachrichten, [this] {
        if (m_windows.group.openMessages)
            m_windows.group.openMessages();
    });
    for (QToolButton* b : {text_links, text_zentriert, text_rechts})
        connectGuarded(b, [this, b] { Setausrichtung(b); });

    // Each field is checked as it is typed, by its row's rule.
    Messages* messages = m_platform.messages;
    for (const std::vector<SettingRow>& rows : {profileRows(*this), gameRows(*this)})
        for (const SettingRow& row : rows) {
            QLineEdit* const* field = std::get_if<QLineEdit*>(&row.control);
            if (!field || row.setting->check == Check::None)
                continue;
            QLineEdit* f = *field;
            if (row.setting->check == Check::Number)
                connect(f, &QLineEdit::textChanged, this, [this, f] { validateNumber(f); });
            else
                connect(f, &QLineEdit::textChanged, this, [this, row, messages] { guarded(*messages, [&] { checkRow(row); }); });
        }
    for (QLineEdit* f : findChildren<QLineEdit*>())
        f->installEventFilter(this);

    auto* help = new HelpBinding(this, [this](QWidget* sender) { puthelpline(sender); });
    for (QWidget* w : backgrounds)
        help->bind(w);
    for (QWidget* w : findChildren<QWidget*>())
        if (!hintOf(w).isEmpty())
            help->bind(w);

    FormShow();
    // Designed place; start-up moves it.
    moveOuterTo(QPoint(933, 112));
}

QGroupBox* TForm2::group(QWidget* parent, const QString& caption, QRect geometry) {
    auto* g = new QGroupBox(caption, parent);
    g->setGeometry(geometry);
    backgrounds << g;
    return g;
}

QLineEdit* TForm2::field(QWidget* parent, const QString& label, QRect geometry, const QString& hint) {
    auto* l = new QLabel(label, parent);
    l->setGeometry(geometry.x(), geometry.y() - 15, geometry.width() + 8, 13);
    auto* f = new QLineEdit(parent);
    f->setGeometry(geometry);
    setHint(f, hint);
    return f;
}

QCheckBox* TForm2::checkBox(QWidget* parent, const QString& caption, QRect geometry, const QString& hint) {
    auto* c = new QCheckBox(caption, parent);
    c->setGeometry(geometry);
    if (!hint.isEmpty())
        setHint(c, hint);
    return c;
}

QPushButton* TForm2::button(QWidget* parent, const QString& caption, QRect geometry, const QString& hint) {
    auto* b = new QPushButton(caption, parent);
    b->setGeometry(geometry);
    b->setAutoDefault(false);
    if (!hint.isEmpty())
        setHint(b, hint);
    return b;
}

void TForm2::buildVorschau(QWidget* page) {
    QGroupBox* farbe = group(page, QStringLiteral("Textfarbe"), QRect(8, 8, 137, 81));
    vorschau_farbe = field(farbe, QStringLiteral("Dateiname (*.bmp)"), QRect(8, 28, 121, 21),
                           QStringLiteral("Die Bitmap-Datei, welche den Text zieren soll. Die Größe ist per Standard 16x16 Pixel."));
    vorschau_plain_set = checkBox(farbe, QStringLiteral("nicht einfärben"), QRect(8, 56, 121, 17),
                                  QStringLiteral("Der Text erscheint ohne Grafik. Die Farbe ist Schwarz."));
    QGroupBox* schrift = group(page, QStringLiteral("Schrift"), QRect(8, 96, 137, 65));
    vorschau_schrift = field(schrift, QStringLiteral("Schriftart"), QRect(8, 32, 121, 21),
                             QStringLiteral("Die Schriftart, mit der der Text gezeichnet werden soll. Es gibt aber kein AntiAliasing."));
    vorschau_aktiv_set = checkBox(page, QStringLiteral("aktiviert"), QRect(152, 8, 65, 17),
                                  QStringLiteral("Die Vorschau wird beim Eintippen aktualisiert. Sonst Aktualisierung nur durch 'Anwenden'."));
    vorschau_scale2x_set = checkBox(page, QStringLiteral("Größe 2x"), QRect(224, 8, 65, 17),
                                    QStringLiteral("Stellt die Vorschau um den Faktor 2 vergrößert dar."));
    QGroupBox* textbox = group(page, QStringLiteral("Textbox"), QRect(152, 32, 137, 129));
    vorschau_textbox_datei = field(textbox, QStringLiteral("Dateiname (*.bmp)"), QRect(8, 32, 121, 21),
                                   QStringLiteral("Die Bitmap-Datei, welche als Textbox angezeigt werden soll. Die Maße sind 320x80 Pixel."));
    QGroupBox* transparent = group(textbox, QStringLiteral("Transparente Farbe"), QRect(8, 56, 121, 65));
    vorschau_textbox_x = field(transparent, QStringLiteral("X"), QRect(8, 32, 25, 21),
                               QStringLiteral("Die X-Koordinate, von der die transparente Farbe bestimmt werden soll."));
    vorschau_textbox_y = field(transparent, QStringLiteral("Y"), QRect(40, 32, 25, 21),
                               QStringLiteral("Die Y-Koordinate, von der die transparente Farbe bestimmt werden soll."));
    vorschau_aktiv = checkBox(transparent, QStringLiteral("aktiviert"), QRect(72, 8, 33, 17), QString());
    vorschau_plain = checkBox(transparent, QStringLiteral("nicht einfärben"), QRect(72, 24, 33, 17), QString());
    vorschau_scale2x = checkBox(transparent, QStringLiteral("Größe 2x"), QRect(72, 40, 33, 17), QString());
    for (QCheckBox* hidden : {vorschau_aktiv, vorschau_plain, vorschau_scale2x})
        hidden->hide();
}

void TForm2::buildEingabe(QWidget* page) {
    QGroupBox* size = group(page, QStringLiteral("Größe der Eingabefläche"), QRect(8, 8, 137, 65));
    eingabe_breite = field(size, QStringLiteral("Breite (%)"), QRect(8, 32, 57, 21),
                           QStringLiteral("Stellt die Breite der Eingabefläche ein. Minimum sind 20%."));
    eingabe_hoehe = field(size, QStringLiteral("Höhe (%)"), QRect(72, 32, 57, 21),
                          QStringLiteral("Stellt die Höhe der Eingabefläche ein. Minimum sind 20%."));
    QGroupBox* schrift = group(page, QStringLiteral("Schrift"), QRect(152, 8, 137, 105));
    eingabe_schrift = field(schrift, QStringLiteral("Schriftart"), QRect(8, 32, 121, 21),
                            QStringLiteral("Die schriftart, welche bei der Eingabe verwendet werden soll."));
    eingabe_grad = field(schrift, QStringLiteral("Schriftgrad"), QRect(8, 72, 57, 21),
                         QStringLiteral("Stellt die Schriftgröße bei der Eingabe in Punkten ein."));
    QGroupBox* fliessend = group(page, QStringLiteral("Fließtext"), QRect(8, 80, 137, 81));
    fliesstext = checkBox(fliessend, QStringLiteral("Fließtext"), QRect(8, 16, 121, 17),
                          QStringLiteral("Ein ganzes Gespräch schreiben: Zeilwerk bricht es in Zeilen und Boxen um "
                                         "(Leerzeile: neuer Absatz, »Name:« vorn: Sprecher; Bild↑/Bild↓: Box)."));
    fliesstext_sprecher = checkBox(fliessend, QStringLiteral("Sprecher oben"), QRect(8, 36, 121, 17),
                                   QStringLiteral("Jede Box eines Absatzes mit Sprecher beginnt mit seiner Zeile "
                                                  "(»Ortwin:«) und hat drei Zeilen Text."));
    fliesstext_gleichmaessig = checkBox(fliessend, QStringLiteral("gleichmäßig"), QRect(8, 56, 121, 17),
                                        QStringLiteral("Gleich lange Zeilen statt voller: so wenige Boxen wie "
                                                       "sonst, die Zeilen so gleichmäßig wie möglich."));
    // The flow changes at once, as the memo is typed.
    for (QCheckBox* c : {fliesstext, fliesstext_sprecher, fliesstext_gleichmaessig})
        connect(c, &QCheckBox::toggled, this, [this] {
            guarded(*m_platform.messages, [this] {
                if (m_windows.group.flowChanged)
                    m_windows.group.flowChanged();
            });
        });
}

void TForm2::buildText(QWidget* page) {
    QGroupBox* align = group(page, QStringLiteral("Ausrichtung"), QRect(8, 8, 137, 73));
    text_links = alignmentButton(align, QStringLiteral("Links"), 0, QRect(4, 16, 38, 49),
                                 QStringLiteral("Richtet den Text links aus."));
    text_zentriert = alignmentButton(align, QStringLiteral("Zentriert"), 1, QRect(44, 16, 47, 49),
                                     QStringLiteral("Richtet den Text zentriert aus."));
    text_rechts = alignmentButton(align, QStringLiteral("Rechts"), 2, QRect(94, 16, 38, 49),
                                  QStringLiteral("Richtet den Text rechts aus."));
    ausrichtung = new QLabel(page);
    ausrichtung->move(8, 88);
    ausrichtung->hide();
    text_face = checkBox(page, QStringLiteral("Mit FaceSet"), QRect(8, 104, 137, 17),
                         QStringLiteral("Ein FaceSet verkürzt die Zeilen auf 38 Zeichen, sonst sind es 50 Zeichen."));
    text_maker = button(page, QStringLiteral("Zum Maker senden"), QRect(8, 128, 137, 33),
                        QStringLiteral("Exportiert den Text in die MessageBox des Makers. Diese muss geöffnet und leer sein."));
    text_maker->setIcon(envelopeIcon());
    text_maker->setIconSize(QSize(22, 22));
    text_mitlesen = checkBox(page, QStringLiteral("Mitlesen"), QRect(152, 136, 137, 17),
                             QStringLiteral("Die Eingabe folgt dem offenen Nachrichtendialog des Makers: was dort getippt "
                                            "wird, zeigt die Vorschau wie im Spiel."));
    connect(text_mitlesen, &QCheckBox::toggled, this, [this] {
        guarded(*m_platform.messages, [this] {
            if (m_windows.group.followChanged)
                m_windows.group.followChanged();
        });
    });
    laenge = new QLabel(page);
    laenge->move(152, 144);
    laenge->hide();
}

void TForm2::buildAllgemein(QWidget* page) {
    QGroupBox* fenster = group(page, QStringLiteral("Fenster"), QRect(8, 8, 137, 89));
    fenster_fgr = checkBox(fenster, QStringLiteral("im Vordergrund"), QRect(8, 16, 121, 17),
                           QStringLiteral("Zeigt alle Fenster im Vordergrund an."));
    fenster_auto = checkBox(fenster, QStringLiteral("Positionen merken"), QRect(8, 32, 121, 17),
                            QStringLiteral("Speichert die Position der Fenster und stellt diese beim Start wieder her."));
    fenster_ausr = button(fenster, QStringLiteral("Fenster ausrichten"), QRect(8, 56, 121, 25),
                          QStringLiteral("Richtet alle Fenster an der Bildschirmmitte aus."));
    QGroupBox* werkzeuge = group(page, QStringLiteral("Werkzeuge"), QRect(8, 104, 137, 57));
    tool_hide = checkBox(werkzeuge, QStringLiteral("verstecken"), QRect(8, 16, 121, 17),
                         QStringLiteral("Versteckt das Werkzeugefenster."));
    tool_horizontal = checkBox(werkzeuge, QStringLiteral("horizontal anordnen"), QRect(8, 32, 128, 17),
                               QStringLiteral("Ordnet die Werkzeuge horizontal an, sonst vertikal."));
    QGroupBox* sichern = group(page, QStringLiteral("Einstellungen sichern"), QRect(152, 8, 137, 121));
    ini_save = button(sichern, QStringLiteral("Sichern"), QRect(8, 16, 57, 25),
                      QStringLiteral("Sichert alle Einstellungen in der angegebenen INI-Datei."));
    ini_load = button(sichern, QStringLiteral("Laden"), QRect(72, 16, 57, 25),
                      QStringLiteral("Lädt alle Einstellungen aus der angegebenen INI-Datei."));
    ini_auto = checkBox(sichern, QStringLiteral("automatisch laden"), QRect(8, 48, 121, 17),
                        QStringLiteral("Lädt alle Einstellungen automatisch beim Start aus der angegebenen INI-Datei."));
    ini_datei = field(sichern, QStringLiteral("Sicherungsdatei (*.ini)"), QRect(8, 88, 121, 21),
                      QStringLiteral("Die INI-Datei, in der alle Einstellungen gespeichert werden sollen."));
}

void TForm2::buildDebugger(QWidget* page) {
    debug_check = checkBox(page, QStringLiteral("aktiviert"), QRect(8, 8, 137, 17), QString());
    BitBtn4 = button(page, QStringLiteral("Löschen"), QRect(152, 0, 137, 25), QString());
    debug = new QPlainTextEdit(page);
    debug->setGeometry(8, 32, 281, 129);
    debug->setLineWrapMode(QPlainTextEdit::NoWrap);
    debug->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    debug->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
}

void TForm2::buildSpiel(QWidget* tab) {
    // Two groups are more than the tab's height: the page scrolls.
    auto* scroll = new QScrollArea(tab);
    scroll->setGeometry(0, 0, 301, 167);
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    auto* page = new QWidget;
    page->resize(283, 504);
    scroll->setWidget(page);
    backgrounds << page;
    QGroupBox* spiel = group(page, QStringLiteral("Spieldaten"), QRect(8, 8, 267, 249));
    spiel_ordner = field(spiel, QStringLiteral("Spielordner (RPG_RT.ldb)"), QRect(8, 32, 251, 21),
                         QStringLiteral("Der Ordner des Spiels, aus dem Systemgrafik und Heldennamen gelesen werden."));
    spiel_system = field(spiel, QStringLiteral("Systemgrafik"), QRect(8, 72, 121, 21),
                         QStringLiteral("Name der Systemgrafik im Ordner System; leer: die aus der Datenbank."));
    spiel_aktiv_set = checkBox(spiel, QStringLiteral("wie im Spiel"), QRect(8, 104, 121, 17),
                               QStringLiteral("Zeichnet die Vorschau mit Fenster, Textfarben, Schatten und Heldennamen des Spiels."));
    spiel_aktiv = checkBox(spiel, QStringLiteral("wie im Spiel"), QRect(8, 128, 33, 17), QString());
    spiel_aktiv->hide();
    spiel_variable = field(spiel, QStringLiteral("Beispielwert für \\v"), QRect(144, 72, 115, 21),
                           QStringLiteral("Die Zahl, die \\v[n] in der Vorschau wie im Spiel ausgibt; im Spiel ist sie zu Beginn 0."));
    spiel_schrift = new QLabel(spiel);
    spiel_schrift->setGeometry(8, 128, 265, 17);
    spiel_fenster = new QLabel(spiel);
    spiel_fenster->setGeometry(8, 148, 251, 17);
    spiel_nachrichten = button(spiel, QStringLiteral("Nachrichten des Spiels…"), QRect(8, 172, 251, 25),
                               QStringLiteral("Zeigt alle Nachrichten des Spiels im Spielordner: Karten, allgemeine Ereignisse und Kämpfe."));
    spiel_woerterbuch = field(spiel, QStringLiteral("Wörterbuch"), QRect(8, 220, 121, 21),
                              QStringLiteral("Das Hunspell-Wörterbuch der Rechtschreibprüfung, z. B. de_DE (de_DE.aff und de_DE.dic); leer: keine Prüfung."));
    spiel_variablenbreite = field(spiel, QStringLiteral("Breite von \\v"), QRect(144, 220, 115, 21),
                                  QStringLiteral("Wie viele Zeichen \\v[n] bei der Prüfung der Zeilenbreite zählt; 8 ist die breiteste Zahl (Vorzeichen und 7 Ziffern)."));
    // The System graphic is looked for in the folder named.
    connect(spiel_ordner, &QLineEdit::textChanged, this, [this] {
        Fileexistence(spiel_system);
        checkMessageFields();
    });
    buildNachricht(page);
}

void TForm2::buildNachricht(QWidget* page) {
    QGroupBox* nachricht = group(page, QStringLiteral("Nachricht"), QRect(8, 265, 267, 231));
    spiel_gesicht = field(nachricht, QStringLiteral("Gesicht"), QRect(8, 32, 121, 21),
                          QStringLiteral("Name eines FaceSets im Ordner FaceSet des Spiels; leer: kein Gesicht."));
    spiel_gesicht_nr = field(nachricht, QStringLiteral("Nr."), QRect(136, 32, 33, 21),
                             QStringLiteral("Das Gesicht im FaceSet, 0 bis 15; ein Klick in die Auswahl daneben wählt es."));
    spiel_gesicht_wahl = new FacePicker(nachricht);
    spiel_gesicht_wahl->move(178, 124);
    setHint(spiel_gesicht_wahl, QStringLiteral("Die 16 Gesichter des FaceSets; ein Klick wählt eines."));
    spiel_gesicht_wahl->onChosen = [this](int i) { spiel_gesicht_nr->setText(QString::number(i)); };
    spiel_gesicht_rechts = checkBox(nachricht, QStringLiteral("rechts"), QRect(8, 60, 61, 17),
                                    QStringLiteral("Das Gesicht steht rechts; der Text beginnt dann links am Rand."));
    spiel_gesicht_gespiegelt = checkBox(nachricht, QStringLiteral("gespiegelt"), QRect(80, 60, 81, 17),
                                        QStringLiteral("Das Gesicht wird links-rechts gespiegelt."));
    spiel_transparent = checkBox(nachricht, QStringLiteral("Fenster durchsichtig"), QRect(8, 86, 141, 17),
                                 QStringLiteral("Zeigt nur Text, Schatten und Gesicht, ohne Hintergrund und Rahmen des Fensters."));
    auto* positionLabel = new QLabel(QStringLiteral("Position"), nachricht);
    positionLabel->setGeometry(176, 17, 81, 13);
    spiel_position = new QComboBox(nachricht);
    spiel_position->addItems({QStringLiteral("oben"), QStringLiteral("mitte"), QStringLiteral("unten")});
    spiel_position->setGeometry(176, 32, 81, 21);
    setHint(spiel_position, QStringLiteral("Wo das Fenster auf dem Bildschirm des Spiels steht."));
    spiel_hintergrund = field(nachricht, QStringLiteral("Hintergrund"), QRect(8, 124, 121, 21),
                              QStringLiteral("Ein Bild aus den Ordnern Picture oder Panorama des Spiels hinter dem Fenster; leer: keines."));
    spiel_hintergrund_x = field(nachricht, QStringLiteral("Mitte x"), QRect(8, 164, 57, 21),
                                QStringLiteral("Wo die Mitte des Bildes auf dem 320 × 240 Pixel großen Bildschirm steht, waagrecht."));
    spiel_hintergrund_y = field(nachricht, QStringLiteral("Mitte y"), QRect(72, 164, 57, 21),
                                QStringLiteral("Wo die Mitte des Bildes auf dem 320 × 240 Pixel großen Bildschirm steht, senkrecht."));
    spiel_bildschirm = checkBox(nachricht, QStringLiteral("ganzer Bildschirm"), QRect(8, 196, 141, 17),
                                QStringLiteral("Die Vorschau zeigt den ganzen Bildschirm des Spiels, nicht nur das Fenster."));
}

void TForm2::FormShow() {
    for (const std::vector<SettingRow>& rows : {profileRows(*this), gameRows(*this), flowRows(*this), makerRows(*this)})
        for (const SettingRow& row : rows)
            setDefault(row);
    spiel_schrift->setText(QStringLiteral("Schrift: –"));
    spiel_fenster->setText(QStringLiteral("Fenster: –"));
    // Setting an empty field to empty changes nothing, so the colours are set here.
    checkMessageFields();
    Fileexistence(spiel_ordner);
    Fileexistence(spiel_system);
}

template <typename Handler>
void TForm2::connectGuarded(QAbstractButton* button, Handler handler) {
    connect(button, &QAbstractButton::clicked, this, [this, handler] {
        guarded(*m_platform.messages, [&] {
            if constexpr (std::is_member_function_pointer_v<Handler>)
                (this->*handler)();
            else
                handler();
        });
    });
}

bool TForm2::filterkeys(QLineEdit*, QChar typed) const {
    return typed == u'\b' || typed == u',' || typed == u'.' || (typed >= u'0' && typed <= u'9');
}

void TForm2::Setausrichtung(QAbstractButton* clicked) {
    for (QToolButton* b : {text_links, text_zentriert, text_rechts})
        b->setEnabled(b != clicked);
}

void TForm2::puthelpline(QWidget* sender) {
    if (m_windows.group.showHelp)
        m_windows.group.showHelp(helpTextOf(sender));
}

void TForm2::BitBtn4Click() {
    debug->clear();
}

void TForm2::aboutit() {
    // A message box shows "&&" of the system's text as one "&"; Qt shows text as it is.
    const QStringList lines = {
        QStringLiteral("Zeilwerk"),
        QStringLiteral("Version %1 %2")
            .arg(QString::fromLatin1(kVersion.data(), static_cast<qsizetype>(kVersion.size())),
                 QString::fromLatin1(kVersionStage.data(), static_cast<qsizetype>(kVersionStage.size()))),
        QStringLiteral("Geschrieben vom Zeilwerk-Team in C++ mit Qt."),
        QStringLiteral("Für den RPG Maker 2000 & 2003"),
        QString(),
        QStringLiteral("Solltest du Ideen, Beschwerden haben oder ein Kommentar abgeben wollen, so bitte an:"),
        QStringLiteral("das Zeilwerk-Team, über die Seite des Projekts."),
    };
    m_platform.messages->show(lines.join(u'\n'));
}

bool TForm2::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress)
        return ToolWindow::eventFilter(watched, event);
    auto* field = qobject_cast<QLineEdit*>(watched);
    auto* key = static_cast<QKeyEvent*>(event);
    if (!field)
        return false;
    // "info" is the window's default button: Enter in a text field opens the about box.
    if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
        guarded(*m_platform.messages, [this] { aboutit(); });
        return true;
    }
    // Tab moves on as in any dialog; it never reaches the field as a character.
    if (key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab)
        return false;
    if ((field == vorschau_textbox_x || field == vorschau_textbox_y) && isTypedCharacter(*key))
        return !filterkeys(field, key->text().front());
    return false;
}

void TForm2::confirmClick() {
    if (m_windows.group.apply)
        m_windows.group.apply();
}

void TForm2::intomaker() {
    if (m_windows.group.send)
        m_windows.group.send();
}

void TForm2::SpeedButton3Click() {
    if (m_windows.group.arrange)
        m_windows.group.arrange();
}

}  // namespace zeilwerk
