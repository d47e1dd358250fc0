#include "windows/toolbar/toolbar_window.h"

#include "widgets/help_line.h"
#include "widgets/hints.h"
#include "widgets/icons.h"
#include "widgets/messages.h"

#include <QPlainTextEdit>
#include <QTextCursor>
#include <QToolButton>

#include <cstring>

namespace zeilwerk {
namespace {

enum class Face { Caption, PaintPot, PaintPotChip, Stopwatch, StopwatchChip, EnterKey, Arrow, Card, CardChip, Chip };

// One row per button. A button with a suffix wraps the selection; one without replaces it.
struct ToolButton {
    const char* name;
    Face face;
    const char16_t* caption;
    int left, top;                 // horizontal layout; the vertical one exchanges them
    const char16_t* hint;
    const char16_t* prefix;        // or the fixed text of an inserting button
    const char16_t* suffix;        // nullptr: an inserting button
    const char16_t* emptyForm;
    int stepBack;
};

const ToolButton toolButtons[TForm4::buttonCount] = {
    {"farbe", Face::PaintPot, u"", 4, 4,
     u"\\c[?] färbt Text mit den Farben 0 bis 19 ein. Standardfarbe ist 0.",
     u"\\c[", u"]", u"\\c[]", 1},
    {"farbe_var", Face::PaintPotChip, u"", 4, 30,
     u"\\c[\\v[?]] färbt Text an Hand einer Variable ein. \\v und \\v[] werden zu 0.",
     u"\\c[\\v[", u"]]", u"\\c[\\v[]]", 2},
    {"geschw", Face::Stopwatch, u"", 30, 4,
     u"\\s[?] stellt die Geschwindigkeit des Textes von 0 (schnell) bis 20 (langsam) ein. Standard 10.",
     u"\\s[", u"]", u"\\s[]", 1},
    {"geschw_var", Face::StopwatchChip, u"", 30, 30,
     u"\\s[\\v[?]] stellt die Geschwindigkeit an Hand einer Variable ein. \\v und \\v[] werden zu 0.",
     u"\\s[\\v[", u"]]", u"\\s[\\v[]]", 2},
    {"sofort", Face::Caption, u"><", 56, 4,
     u"\\>?\\< zeigt den Text zwischen \\> und \\< sofort an.",
     u"\\>", u"\\<", u"\\>\\<", 2},
    {"silent", Face::Caption, u"...", 56, 30,
     u"\\..\\..\\.. fügt Schweigen (drei Punkte mit jeweils 0,25 Sekunden davor) ein.",
     u"\\..\\..\\..", nullptr, nullptr, 0},
    {"s100", Face::Caption, u"1,0", 82, 4,
     u"\\| lässt den Textfluss um 1 Sekunde anhalten.",
     u"\\|", nullptr, nullptr, 0},
    {"s25", Face::Caption, u",25", 82, 30,
     u"\\. lässt den Textfluss um 0,25 Sekunden anhalten.",
     u"\\.", nullptr, nullptr, 0},
    {"enter", Face::EnterKey, u"", 108, 4,
     u"\\! lässt den Textfluss bis zum Drücken von Enter oder Space anhalten.",
     u"\\!", nullptr, nullptr, 0},
    {"weiter", Face::Arrow, u"", 108, 30,
     u"\\^ lässt die Textbox ohne Betätigen von Enter von Space terminieren.",
     u"\\^", nullptr, nullptr, 0},
    {"hero", Face::Card, u"", 134, 4,
     u"\\n[?] fügt einen Heldennamen in den Text ein. \\n[0] ist der Partyleader (nur Rm2k3).",
     u"\\n[", u"]", u"\\n[]", 1},
    {"hero_var", Face::CardChip, u"", 134, 30,
     u"\\n[\\v[?]] fügt einen Heldennamen an Hand einer Variable in den Text ein.",
     u"\\n[\\v[", u"]]", u"\\n[\\v[]]", 2},
    {"vari", Face::Chip, u"", 160, 4,
     u"\\v[?] fügt den Wert einer Variable in den Text ein. \\v und \\v[] geben 0 zurück.",
     u"\\v[", u"]", u"\\v[]", 1},
    {"backslash", Face::Caption, u"\\", 160, 30,
     u"\\\\ fügt einen Backslash in den Text ein. \\ alleine versteckt das nachfolgende Zeichen.",
     u"\\\\", nullptr, nullptr, 0},
    {"space", Face::Caption, u"] [", 186, 4,
     u"\\_ fügt ein halbes Leerzeichen in den Text ein. In der Vorschau leider nicht darstellbar.",
     u"\\_", nullptr, nullptr, 0},
    {"geld", Face::Caption, u"€", 186, 30,
     u"\\$ zeigt solange die Textbox angezeigt wird das Geld-Fenster an.",
     u"\\$", nullptr, nullptr, 0},
};

QIcon faceIcon(Face face) {
    switch (face) {
    case Face::PaintPot: return paintPotIcon(false);
    case Face::PaintPotChip: return paintPotIcon(true);
    case Face::Stopwatch: return stopwatchIcon(false);
    case Face::StopwatchChip: return stopwatchIcon(true);
    case Face::EnterKey: return enterKeyIcon();
    case Face::Arrow: return arrowDownIcon();
    case Face::Card: return identityCardIcon(false);
    case Face::CardChip: return identityCardIcon(true);
    case Face::Chip: return memoryChipIcon();
    case Face::Caption: break;
    }
    return QIcon();
}

QString text(const char16_t* s) {
    return QString::fromUtf16(s);
}

}  // namespace

TForm4::TForm4(const Platform& platform, const Windows& windows)
    : ToolWindow(QStringLiteral("Werkzeuge"), QSize(216, 58), false), m_platform(platform), m_windows(windows) {
    auto* help = new HelpBinding(this, [this](QWidget* sender) { helpcontext(sender); });
    help->bind(this);
    for (int i = 0; i < buttonCount; ++i) {
        const ToolButton& row = toolButtons[i];
        auto* b = new QToolButton(this);
        b->setObjectName(QString::fromLatin1(row.name));
        b->setAutoRaise(true);
        b->setFocusPolicy(Qt::NoFocus);
        if (row.face == Face::Caption) {
            b->setText(text(row.caption));
        } else {
            b->setIcon(faceIcon(row.face));
            b->setIconSize(QSize(22, 22));
        }
        setHint(b, text(row.hint));
        help->bind(b);
        connect(b, &QToolButton::clicked, this, [this, i] { guarded(*m_platform.messages, [&] { click(i); }); });
        buttons[i] = b;
    }
    setHorizontal(true);
    // Designed place; start-up moves it.
    moveOuterTo(QPoint(199, 118));
}

QToolButton* TForm4::button(const char* name) const {
    for (int i = 0; i < buttonCount; ++i)
        if (std::strcmp(toolButtons[i].name, name) == 0)
            return buttons[i];
    return nullptr;
}

void TForm4::setHorizontal(bool horizontal) {
    for (int i = 0; i < buttonCount; ++i) {
        const ToolButton& row = toolButtons[i];
        const QPoint at = horizontal ? QPoint(row.left, row.top) : QPoint(row.top, row.left);
        buttons[i]->setGeometry(QRect(at, QSize(25, 25)));
    }
    setClientSize(horizontal ? QSize(216, 58) : QSize(58, 216));
}

void TForm4::helpcontext(QWidget* sender) {
    if (m_windows.group.showHelp)
        m_windows.group.showHelp(helpTextOf(sender));
}

void TForm4::click(int index) {
    const ToolButton& row = toolButtons[index];
    QPlainTextEdit* memo = m_windows.group.memo ? m_windows.group.memo() : nullptr;
    if (!memo)
        return;
    QTextCursor cursor = memo->textCursor();
    // A paragraph break comes back as U+2029 from the selection; put line breaks back.
    const QString selected = cursor.selectedText().replace(QChar::ParagraphSeparator, u'\n');
    // One edit block: one undo step and one change notification, so the preview redraws once.
    cursor.beginEditBlock();
    if (!row.suffix) {
        cursor.insertText(text(row.prefix));
    } else if (!selected.isEmpty()) {
        cursor.insertText(text(row.prefix) + selected + text(row.suffix));
    } else {
        cursor.insertText(text(row.emptyForm));
        cursor.setPosition(cursor.position() - row.stepBack);
    }
    cursor.endEditBlock();
    memo->setTextCursor(cursor);
    if (m_windows.group.activateInput)
        m_windows.group.activateInput();
    memo->setFocus();
}


}  // namespace zeilwerk
