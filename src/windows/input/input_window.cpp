#include "windows/input/input_window.h"

#include "core/platform/code_page.h"
#include "core/platform/number.h"
#include "look/fonts.h"
#include "look/rendering.h"
#include "platform/qt_text.h"
#include "widgets/desktop.h"
#include "widgets/help_line.h"
#include "widgets/hints.h"
#include "maker/maker_texts.h"
#include "widgets/messages.h"
#include "windows/input/flow_gutter.h"
#include "windows/input/input_checks.h"
#include "windows/input/maker_follower.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QTextBlock>
#include <QTextEdit>
#include <QToolButton>

#include <algorithm>

namespace zeilwerk {
namespace {

constexpr int gutterWidth = 33;
constexpr int designedMemoWidth = 433;
constexpr int designedMemoHeight = 89;
// Client margins around the memo: 40 left of it plus 9 right, 24 above plus 8 below.
constexpr int extraClientWidth = 49;
constexpr int extraClientHeight = 32;
// The row under the memo while the text flows, and the gap above it.
constexpr int flowBarHeight = 22;
constexpr int flowBarExtra = flowBarHeight + 4;

// (percent × designed) div 100 without overflow, capped so the window stays holdable.
int scaledExtent(std::int32_t percent, int designed, int extra) {
    const std::int64_t value = static_cast<std::int64_t>(percent) * designed / 100;
    return static_cast<int>(std::min<std::int64_t>(value, TForm1::maxClientExtent - extra));
}

const QString followingHelp = QStringLiteral("Liest den Nachrichtendialog des Makers mit.");
const QString noDialogHelp =
    QStringLiteral("Im Maker ist kein Nachrichtendialog offen: die Eingabe bleibt, wie sie war, bis einer aufgeht.");

QRect workAreaOf(const QWidget* window) {
    const QScreen* screen = window->screen() ? window->screen() : QGuiApplication::primaryScreen();
    return screen ? screen->availableGeometry() : QRect();
}

}  // namespace

const QColor TForm1::followingColour(255, 248, 220);

TForm1::TForm1(const Platform& platform, const Windows& windows)
    : ToolWindow(QStringLiteral("Texteingabe"), QSize(482, 121), true), m_platform(platform), m_windows(windows) {
    Memo1 = new QTextEdit(this);
    Memo1->setGeometry(8, 24, gutterWidth, designedMemoHeight);
    Memo1->setLineWrapMode(QTextEdit::NoWrap);
    Memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    Memo1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    Memo1->setPlainText(QStringLiteral("1\n2\n3\n4"));
    for (QTextBlock b = Memo1->document()->begin(); b.isValid(); b = b.next()) {
        QTextCursor c(b);
        QTextBlockFormat f = b.blockFormat();
        f.setAlignment(Qt::AlignRight);
        c.setBlockFormat(f);
    }
    Memo1->setEnabled(false);

    GetText = new QPlainTextEdit(this);
    GetText->setGeometry(40, 24, designedMemoWidth, designedMemoHeight);
    GetText->setLineWrapMode(QPlainTextEdit::NoWrap);
    GetText->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    GetText->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    GetText->setTabChangesFocus(true);
    GetText->installEventFilter(this);
    checks = new InputChecks(GetText, Memo1, [this](const QString& text) { m_platform.messages->show(text); });
    connect(GetText, &QPlainTextEdit::textChanged, this,
            [this] { guarded(*m_platform.messages, [this] { GetTextChange(); }); });

    helpline = new HelpLineLabel(QStringLiteral("Hier erscheinen Erklärungen zu Funktionen."), this);
    helpline->setGeometry(8, 4, 465, 17);
    helpline->setEnabled(false);

    flowGutter = new FlowGutter(GetText, this);
    flowBar = new QWidget(this);
    boxBack = new QToolButton(flowBar);
    boxBack->setText(QStringLiteral("◀"));
    boxBack->setGeometry(0, 0, 24, flowBarHeight);
    boxLabel = new QLabel(flowBar);
    boxLabel->setGeometry(28, 0, 76, flowBarHeight);
    boxLabel->setAlignment(Qt::AlignCenter);
    boxNext = new QToolButton(flowBar);
    boxNext->setText(QStringLiteral("▶"));
    boxNext->setGeometry(108, 0, 24, flowBarHeight);
    copyAll = new QPushButton(QStringLiteral("Alle Boxen kopieren"), flowBar);
    copyAll->setGeometry(140, 0, 140, flowBarHeight);
    copyAll->setAutoDefault(false);
    setHint(boxBack, QStringLiteral("Zeigt die Box davor (Bild↑)."));
    setHint(boxLabel, QStringLiteral("Die Box, die Vorschau, Abspielen und \"Zum Maker senden\" nehmen; der Rand links "
                                     "zeigt, wo jede Box beginnt."));
    setHint(boxNext, QStringLiteral("Zeigt die nächste Box (Bild↓); Umschalt+F5 spielt sie gleich ab."));
    setHint(copyAll, QStringLiteral("Legt alle Boxen als Text in die Zwischenablage, eine Leerzeile zwischen zwei Boxen."));
    auto* help = new HelpBinding(this, [this](QWidget* control) { setHelpText(helpTextOf(control)); });
    for (QWidget* w : {static_cast<QWidget*>(boxBack), static_cast<QWidget*>(boxLabel),
                       static_cast<QWidget*>(boxNext), static_cast<QWidget*>(copyAll)})
        help->bind(w);
    connect(boxBack, &QToolButton::clicked, this, [this] { guarded(*m_platform.messages, [this] { stepBox(-1); }); });
    connect(boxNext, &QToolButton::clicked, this, [this] { guarded(*m_platform.messages, [this] { stepBox(1); }); });
    connect(copyAll, &QPushButton::clicked, this, [this] { guarded(*m_platform.messages, [this] { copyBoxes(); }); });
    connect(GetText, &QPlainTextEdit::cursorPositionChanged, this,
            [this] { guarded(*m_platform.messages, [this] { followCursor(); }); });
    flowGutter->hide();
    flowBar->hide();
    layOutFlow();

    applyInputFont();
    setTabOrder(Memo1, GetText);
    GetText->setFocus();
    // Designed place; start-up moves it.
    moveOuterTo(QPoint(440, 160));
}

// The follower first: a read under way ends before the memo it reports to goes.
TForm1::~TForm1() {
    m_follower.reset();
}

std::u16string TForm1::line(int i) const {
    if (m_flowing)
        return m_box < m_boxes.size() && i >= 0 && i < kBoxLines ? boxLines(m_boxes[m_box])[static_cast<size_t>(i)]
                                                                 : std::u16string();
    const QTextBlock block = GetText->document()->findBlockByNumber(i);
    return block.isValid() ? toU16(block.text()) : std::u16string();
}

void TForm1::setInputWidth(const QString& percent) {
    if (percent.isEmpty())
        return;
    const std::int32_t w = strToInt(toU16(percent));
    if (w < 20 || w > largestWidthPercent())
        return;
    const int memoWidth = scaledExtent(w, designedMemoWidth, extraClientWidth);
    GetText->resize(memoWidth, GetText->height());
    helpline->resize(gutterWidth + memoWidth, helpline->height());
    setClientSize(QSize(memoWidth + extraClientWidth, height()));
    layOutFlow();
}

void TForm1::setInputHeight(const QString& percent) {
    if (percent.isEmpty())
        return;
    const std::int32_t h = strToInt(toU16(percent));
    if (h < 20 || h > largestHeightPercent())
        return;
    const int memoHeight = scaledExtent(h, designedMemoHeight, extraClientHeight);
    GetText->resize(GetText->width(), memoHeight);
    Memo1->resize(gutterWidth, memoHeight);
    setClientSize(QSize(width(), memoHeight + extraClientHeight + (m_flowing ? flowBarExtra : 0)));
    layOutFlow();
}

int TForm1::largestWidthPercent() const {
    const int frame = outerGeometry().width() - width();
    return largestFittingPercent(workAreaOf(this).width() - frame, designedMemoWidth, extraClientWidth);
}

int TForm1::largestHeightPercent() const {
    const int frame = outerGeometry().height() - height();
    return largestFittingPercent(workAreaOf(this).height() - frame, designedMemoHeight, extraClientHeight);
}

void TForm1::setInputFontName(const QString& family) {
    if (!m_platform.fonts->contains(family))
        return;
    m_fontFamily = family;
    applyInputFont();
}

void TForm1::setInputFontSize(const QString& points) {
    if (points.isEmpty())
        return;
    const std::int32_t size = strToInt(toU16(points));
    if (size < 1)
        return;
    m_fontPoints = size;
    applyInputFont();
}

void TForm1::applyInputFont() {
    // Every character of the code page must show as itself while typed, whatever the family lacks.
    const QFont font = typingFont(m_fontFamily, m_fontPoints, CodePage::system());
    GetText->setFont(font);
    Memo1->setFont(font);
}

bool TForm1::eventFilter(QObject* watched, QEvent* event) {
    // The memo is the window's only focus stop, so Tab would fall back into it as text.
    if (watched == GetText && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Tab || key == Qt::Key_Backtab)
            return true;
        const bool shift = static_cast<QKeyEvent*>(event)->modifiers() & Qt::ShiftModifier;
        if (m_flowing && (key == Qt::Key_PageUp || key == Qt::Key_PageDown)) {
            guarded(*m_platform.messages, [this, key] { stepBox(key == Qt::Key_PageUp ? -1 : 1); });
            return true;
        }
        // Umschalt+F5 goes on to the next box and plays it.
        if (m_flowing && shift && key == Qt::Key_F5)
            guarded(*m_platform.messages, [this] { stepBox(1); });
        if (key == Qt::Key_F5 && m_windows.group.play) {
            guarded(*m_platform.messages, [this] { m_windows.group.play(); });
            return true;
        }
    }
    return ToolWindow::eventFilter(watched, event);
}

void TForm1::GetTextChange() {
    if (m_flowing) {
        reflow();
        m_boxFindings = checks->checkBoxes(m_boxes);
        showBox();
        return;
    }
    if (!m_windows.group.drawPreview)
        return;
    m_windows.group.drawPreview({line(0), line(1), line(2), line(3)});
    checks->update();
}

void TForm1::setFlow(bool on, const FlowOptions& options, LineMeasure measure) {
    const bool changed = on != m_flowing;
    m_flowing = on;
    m_flowOptions = options;
    m_measure = std::move(measure);
    if (changed) {
        Memo1->setVisible(!on);
        flowGutter->setVisible(on);
        flowBar->setVisible(on);
        // A conversation is read in paragraphs; the four lines stand as typed.
        GetText->setLineWrapMode(on ? QPlainTextEdit::WidgetWidth : QPlainTextEdit::NoWrap);
        GetText->setVerticalScrollBarPolicy(on ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOff);
        setClientSize(QSize(width(), GetText->height() + extraClientHeight + (on ? flowBarExtra : 0)));
        layOutFlow();
    }
    GetTextChange();
}

void TForm1::layOutFlow() {
    flowGutter->setGeometry(Memo1->geometry());
    flowBar->setGeometry(GetText->x(), GetText->geometry().bottom() + 5, GetText->width(), flowBarHeight);
}

void TForm1::reflow() {
    m_boxes = m_measure ? flowText(toU16(GetText->toPlainText()), *m_measure, m_flowOptions) : std::vector<FlowBox>();
    m_box = boxAt(m_boxes, static_cast<size_t>(GetText->textCursor().position()));
    m_boxFindings.assign(m_boxes.size(), QString());
}

// The box shown, in the preview, the bar and the gutter.
void TForm1::showBox() {
    if (m_windows.group.drawPreview)
        m_windows.group.drawPreview({line(0), line(1), line(2), line(3)});
    const size_t n = m_boxes.size();
    boxLabel->setText(n ? QStringLiteral("Box %1/%2").arg(m_box + 1).arg(n) : QStringLiteral("Keine Box"));
    boxBack->setEnabled(m_box > 0);
    boxNext->setEnabled(m_box + 1 < n);
    std::vector<FlowGutter::Mark> marks;
    for (size_t b = 0; b < n; ++b)
        marks.push_back({m_boxes[b].start, b < m_boxFindings.size() ? m_boxFindings[b] : QString()});
    flowGutter->setMarks(std::move(marks), m_box);
}

// The cursor moved into another box: that one is shown.
void TForm1::followCursor() {
    if (!m_flowing || m_boxes.empty())
        return;
    const size_t box = boxAt(m_boxes, static_cast<size_t>(GetText->textCursor().position()));
    if (box == m_box)
        return;
    m_box = box;
    showBox();
}

void TForm1::stepBox(int steps) {
    if (!m_flowing || m_boxes.empty())
        return;
    const auto last = static_cast<std::int64_t>(m_boxes.size()) - 1;
    m_box = static_cast<size_t>(std::clamp<std::int64_t>(static_cast<std::int64_t>(m_box) + steps, 0, last));
    QTextCursor at = GetText->textCursor();
    at.setPosition(static_cast<int>(m_boxes[m_box].start));
    GetText->setTextCursor(at);
    GetText->ensureCursorVisible();
    showBox();
}

void TForm1::copyBoxes() {
    QGuiApplication::clipboard()->setText(fromU16(boxesAsText(m_boxes)));
}

void TForm1::setFollowing(bool on) {
    if (on == m_following || !m_platform.makerReader)
        return;
    m_following = on;
    GetText->setReadOnly(on);
    QPalette palette = GetText->palette();
    palette.setColor(QPalette::Base, on ? followingColour : QApplication::palette(GetText).color(QPalette::Base));
    GetText->setPalette(palette);
    if (!on) {
        m_follower->stop();
        setHelpText(QStringLiteral("Mitlesen ist aus: die Eingabe ist wieder frei, mit dem zuletzt gelesenen Text."));
        return;
    }
    m_lastStatus.reset();
    m_toldNoAnswer = false;
    setHelpText(followingHelp);
    if (!m_follower)
        m_follower = std::make_unique<MakerFollower>(
            *m_platform.makerReader, [this](const MakerReader::Reading& reading) {
                guarded(*m_platform.messages, [this, &reading] { takeReading(reading); });
            });
    m_follower->start();
}

void TForm1::takeReading(const MakerReader::Reading& reading) {
    if (!m_following)
        return;
    using Status = MakerReader::Status;
    const bool changed = m_lastStatus != reading.status;
    m_lastStatus = reading.status;
    switch (reading.status) {
    case Status::Read: {
        if (changed)
            setHelpText(followingHelp);
        const QString text = fromU16(memoTextOf(reading.text));
        // Only a change is rendered: an unchanged dialog costs a read and a comparison.
        if (text != GetText->toPlainText())
            GetText->setPlainText(text);
        return;
    }
    case Status::NoDialog:
        if (changed)
            setHelpText(noDialogHelp);
        return;
    case Status::NoAnswer:
        if (!m_toldNoAnswer)
            m_platform.messages->show(QStringLiteral(
                "Der Nachrichtendialog des Makers ließ sich nicht lesen: Wine hat nicht innerhalb von 10 Sekunden "
                "geantwortet und wurde beendet. Mitlesen startet es neu."));
        m_toldNoAnswer = true;
        return;
    case Status::NotStarted:
        setHelpText(noDialogHelp);
        m_platform.messages->show(bridgeNotStartedText(m_platform.makerReader->problem()));
        return;
    }
}

void TForm1::setHelpText(const QString& text) {
    helpline->setText(text);
}

void TForm1::startup() {
    if (m_started)
        return;
    m_started = true;
    if (m_windows.group.startup)
        m_windows.group.startup();
}

void TForm1::showEvent(QShowEvent* event) {
    // The start-up sequence runs just before the window first appears.
    const bool first = !m_started;
    if (first)
        guarded(*m_platform.messages, [this] { startup(); });
    ToolWindow::showEvent(event);
    // Appearing last, the input window is the active one, ready for typing.
    if (first) {
        activateWindow();
        GetText->setFocus();
    }
}

void TForm1::closeEvent(QCloseEvent* event) {
    event->accept();
    // Not quit(): that asks every window to close first, and the tool windows refuse.
    QCoreApplication::exit(0);
}

}  // namespace zeilwerk
