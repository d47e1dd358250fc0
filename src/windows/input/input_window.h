#pragma once

#include "core/game/text_flow.h"
#include "maker/maker_reader.h"
#include "platform/platform.h"
#include "widgets/help_line.h"
#include "widgets/tool_window.h"
#include "windows/windows.h"

#include <QColor>
#include <QString>

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class QLabel;
class QPlainTextEdit;
class QPushButton;
class QTextEdit;
class QToolButton;

namespace zeilwerk {

class FlowGutter;
class InputChecks;
class MakerFollower;

// The input window "Texteingabe": the help line, the line-number gutter and the input memo
// that holds the message. Closing it ends the program.
class TForm1 : public ToolWindow {
public:
    TForm1(const Platform& platform, const Windows& windows);
    ~TForm1() override;

    // Line i of the memo (0 to 3 make the message); empty when the memo has fewer lines.
    // With flowing text, line i of the box shown.
    std::u16string line(int i) const;

    // "Fließtext": the memo holds a whole conversation, flowed into boxes measured as given;
    // the preview, the send and the line checks take the box shown. Off: the four lines.
    void setFlow(bool on, const FlowOptions& options, LineMeasure measure);
    bool flowing() const { return m_flowing; }
    const std::vector<FlowBox>& boxes() const { return m_boxes; }
    std::size_t shownBox() const { return m_box; }
    // The box shown moved by steps, within the boxes; the memo's cursor goes to its start.
    void stepBox(int steps);
    // "Alle Boxen kopieren".
    void copyBoxes();

    // "Mitlesen": the memo follows the text of the Maker's open message dialog, read-only and
    // marked, so the preview, the checks and "Abspielen" follow it too; with flowing text the
    // dialog's text flows like typed text. Off: the memo is the user's again, with the last
    // text read. Without a reader (none on this platform) nothing happens.
    void setFollowing(bool on);
    bool following() const { return m_following; }
    // A reading of the dialog taken into the memo; the follower calls it about ten times a second.
    void takeReading(const MakerReader::Reading& reading);
    // The memo's background while it follows the Maker.
    static const QColor followingColour;

    // The input geometry that apply sets from the option window's text fields. Each does
    // nothing when its condition fails; a text that is no whole number throws.
    void setInputWidth(const QString& percent);
    void setInputHeight(const QString& percent);
    void setInputFontName(const QString& family);
    void setInputFontSize(const QString& points);
    // The largest percentages whose window still fits the work area of its screen; apply
    // takes no larger one.
    int largestWidthPercent() const;
    int largestHeightPercent() const;

    void setHelpText(const QString& text);

    // The preview rendering, run on every change of the memo and by apply.
    void GetTextChange();

    // Runs the start-up sequence; the first show does it once.
    void startup();

    HelpLineLabel* helpline;
    QTextEdit* Memo1;
    QPlainTextEdit* GetText;
    // The game's checks and the spelling of the lines typed.
    InputChecks* checks;
    // Under the memo while the text flows: the box shown ("Box 2/7"), its steps, the copy.
    QWidget* flowBar;
    QToolButton* boxBack;
    QLabel* boxLabel;
    QToolButton* boxNext;
    QPushButton* copyAll;
    FlowGutter* flowGutter;

    // The largest client width or height the input geometry gives the window; far beyond
    // any desktop, yet small enough that the window's pixels can be held.
    static constexpr int maxClientExtent = 8192;

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void applyInputFont();
    void layOutFlow();
    void reflow();
    void showBox();
    void followCursor();

    const Platform& m_platform;
    const Windows& m_windows;
    bool m_started = false;
    QString m_fontFamily = QStringLiteral("Fixedsys");
    int m_fontPoints = 8;
    bool m_flowing = false;
    FlowOptions m_flowOptions;
    std::optional<LineMeasure> m_measure;
    std::vector<FlowBox> m_boxes;
    std::size_t m_box = 0;
    std::vector<QString> m_boxFindings;
    bool m_following = false;
    std::unique_ptr<MakerFollower> m_follower;
    std::optional<MakerReader::Status> m_lastStatus;  // of the last reading taken while following
    bool m_toldNoAnswer = false;
};

}  // namespace zeilwerk
