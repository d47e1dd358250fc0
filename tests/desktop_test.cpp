#include "game_fixture.h"
#include "ink.h"
#include "program_fixture.h"
#include "x_desktop.h"

#include "core/settings/ini_file.h"
#include "windows/options/face_picker.h"

#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QTabBar>
#include <QTabWidget>
#include <QThread>
#include <QToolButton>
#include <QWheelEvent>

#include <array>
#include <cstdlib>
#include <iostream>
#include <set>

namespace zeilwerk::test {
namespace {

// The real program on Xvfb with openbox, checked from the X server's side. The test keeps an
// offscreen copy of the windows only to know where each control lies in its window.
class DesktopTest : public ProgramTest {
protected:
    // "Nachrichten des Spiels…", below the fold of the tab "Spiel": both copies of the option
    // window scroll down by one wheel click, then the button is clicked.
    void openMessageWindow() {
        showTab(5);
        options->tabs->setCurrentIndex(5);
        QScrollArea* scroll = options->tabs->widget(5)->findChild<QScrollArea*>();
        ASSERT_TRUE(scroll);
        desktop->wheelDown(onScreen(scroll, program->options).center(), 1);
        const QPointF inside = scroll->viewport()->rect().center();
        QWheelEvent wheel(inside, scroll->viewport()->mapToGlobal(inside), QPoint(), QPoint(0, -120), Qt::NoButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(scroll->viewport(), &wheel);
        QThread::msleep(300);
        clickOn(options->spiel_nachrichten, program->options);
    }
    static void SetUpTestSuite() { desktop = new XDesktop(QSize(1280, 1024)); }
    static void TearDownTestSuite() {
        delete desktop;
        desktop = nullptr;
    }

    void SetUp() override {
        ASSERT_TRUE(desktop->ready()) << "Xvfb with openbox did not come up";
        ProgramTest::SetUp();
        for (const char* file : {"zeilwerk", "txtbox.bmp", "txtclr.bmp"})
            std::filesystem::copy_file(std::filesystem::path(ZEILWERK_BUILD_DIR) / file, folder / file);
        create();
        options->show();
    }

    void start() {
        program = std::make_unique<RunningProgram>(*desktop, folder.path());
        ASSERT_TRUE(program->waitUntilStarted()) << "the four windows did not come up, the input window active\n"
                                                 << readFile(folder / "stderr.txt");
    }
    void TearDown() override {
        program.reset();
        ProgramTest::TearDown();
    }

    std::array<QRect, 4> outerRects() {
        return {desktop->outerRect(program->input), desktop->outerRect(program->options),
                desktop->outerRect(program->preview), desktop->outerRect(program->toolbar)};
    }
    // Where a control of the option or toolbar window lies on the screen.
    QRect onScreen(QWidget* control, xcb_window_t window) {
        const QPoint inWindow = control->mapTo(control->window(), QPoint(0, 0));
        return QRect(desktop->clientRect(window).topLeft() + inWindow, control->size());
    }
    void clickOn(QWidget* control, xcb_window_t window) { desktop->click(onScreen(control, window).center()); }
    void showTab(int index) {
        QTabBar* bar = options->tabs->tabBar();
        const QPoint inWindow = bar->mapTo(options.get(), bar->tabRect(index).center());
        desktop->click(desktop->clientRect(program->options).topLeft() + inWindow);
    }
    void applySettings() { clickOn(options->confirm, program->options); }

    // Pixels of about this colour; the edges of smoothed glyphs are mixed with the ground.
    static int countPixels(const QImage& image, QColor wanted) {
        int n = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x) {
                const QColor c = image.pixelColor(x, y);
                n += std::abs(c.red() - wanted.red()) + std::abs(c.green() - wanted.green()) +
                         std::abs(c.blue() - wanted.blue()) < 100;
            }
        return n;
    }
    int ink(QWidget* field, xcb_window_t window, QColor colour) {
        return countPixels(desktop->grab(onScreen(field, window)), colour);
    }

    static XDesktop* desktop;
    std::unique_ptr<RunningProgram> program;
};

XDesktop* DesktopTest::desktop = nullptr;

TEST_F(DesktopTest, FirstStartArrangesTheGroupAroundTheCentreAndTypingGoesIntoTheMemo) {
    start();
    const auto [in, op, pv, tb] = outerRects();
    EXPECT_EQ(in.bottomRight() + QPoint(1, 1), QPoint(640, 512)) << "the input window's lower right corner";
    EXPECT_EQ(op.topLeft(), QPoint(in.right() + 1 + 8, in.top())) << "the option window";
    EXPECT_EQ(pv.top(), in.bottom() + 1 + 8) << "the preview window";
    EXPECT_EQ(pv.right(), in.right()) << "the preview window";
    EXPECT_EQ(tb.topLeft(), QPoint(in.left(), in.top() - tb.height() - 8)) << "the toolbar window";
    const std::array<QRect, 4> all = {in, op, pv, tb};
    for (size_t a = 0; a < all.size(); ++a)
        for (size_t b = a + 1; b < all.size(); ++b)
            EXPECT_FALSE(all[a].intersects(all[b])) << "windows " << a << " and " << b << " overlap";
    EXPECT_EQ(desktop->frame(program->input).top(), 20) << "openbox's title bar, as the test expects it";

    if (const char* shots = std::getenv("ZEILWERK_SCREENSHOTS"))
        desktop->grab(QRect(0, 0, 1280, 1024)).save(QString::fromLocal8Bit(shots) + "/first-start.png");

    const QRect memo(desktop->clientRect(program->input).topLeft() + QPoint(40, 24), QSize(433, 89));
    const QImage empty = desktop->grab(memo);
    desktop->type("Hallo");
    EXPECT_TRUE(waitFor([&] { return desktop->grab(memo) != empty; }, 3000)) << "typing after start went nowhere";
}

TEST_F(DesktopTest, RememberedPositionsComeBackExactlyAfterApplyAndRestart) {
    writeFile(folder / "optn.ini",
              "[fenster]\r\nauto=1\r\neingabe_top=191\r\neingabe_left=177\r\noptn_top=150\r\noptn_left=720\r\n"
              "vorschau_top=600\r\nvorschau_left=300\r\ntool_top=40\r\ntool_left=30\r\n");
    std::array<QPoint, 4> expected = {QPoint(177, 191), QPoint(720, 150), QPoint(300, 600), QPoint(30, 40)};
    for (int round = 1; round <= 3; ++round) {
        SCOPED_TRACE(round);
        start();
        const std::array<QRect, 4> placed = outerRects();
        for (size_t i = 0; i < placed.size(); ++i)
            EXPECT_EQ(placed[i].topLeft(), expected[i]) << "window " << i << readFile(folder / "stderr.txt");

        // Drag the input window by its title bar, then apply with "Positionen merken" ticked.
        const QPoint grip = placed[0].topLeft() + QPoint(120, 10);
        desktop->drag(grip, grip + QPoint(23, 17));
        ASSERT_TRUE(waitFor([&] { return desktop->outerRect(program->input).topLeft() != expected[0]; }, 3000));
        expected[0] = desktop->outerRect(program->input).topLeft();
        applySettings();
        ASSERT_TRUE(waitFor([&] {
            const IniFile file(folder / "optn.ini");
            return file.readNumber("fenster", "eingabe_top", 0) == expected[0].y() &&
                   file.readNumber("fenster", "eingabe_left", 0) == expected[0].x();
        }, 3000)) << "apply did not write the dragged position";
        ASSERT_TRUE(program->closeAndWait());
    }
}

TEST_F(DesktopTest, ADraggedWindowSnapsWithItsFrameOntoTheScreenEdges) {
    start();
    const QRect toolbarBefore = desktop->outerRect(program->toolbar);
    const QPoint grip = toolbarBefore.topLeft() + QPoint(100, 10);
    // Dragged to an outer corner of (6, 7): within 10 pixels of the origin.
    desktop->drag(grip, grip + QPoint(6, 7) - toolbarBefore.topLeft());
    EXPECT_TRUE(waitFor([&] { return desktop->outerRect(program->toolbar).topLeft() == QPoint(0, 0); }, 3000))
        << "the toolbar window stands at " << desktop->outerRect(program->toolbar).x() << ", "
        << desktop->outerRect(program->toolbar).y();
    const QRect preview = desktop->outerRect(program->preview);
    const QPoint previewGrip = preview.topLeft() + QPoint(100, 10);
    // Its outer bottom right 4 pixels inside the screen's corner.
    desktop->drag(previewGrip, previewGrip + QPoint(1276, 1020) - preview.bottomRight() - QPoint(1, 1));
    EXPECT_TRUE(waitFor([&] { return desktop->outerRect(program->preview).bottomRight() == QPoint(1279, 1023); }, 3000))
        << "the preview window's outer corner is at " << desktop->outerRect(program->preview).right() << ", "
        << desktop->outerRect(program->preview).bottom();
}

TEST_F(DesktopTest, StayOnTopOnAndOffMovesNothingAndKeepsTheFieldColours) {
    start();
    const std::array<QRect, 4> before = outerRects();
    const std::array<xcb_window_t, 4> windows = {program->input, program->options, program->preview, program->toolbar};
    // "standard.ini" does not exist yet: red. The picture names exist: green.
    QLineEdit* missing = options->ini_datei;
    ASSERT_GT(ink(missing, program->options, TForm2::invalidColour), 0);

    for (const bool onTop : {true, false}) {
        SCOPED_TRACE(onTop ? "on" : "off");
        clickOn(options->fenster_fgr, program->options);
        applySettings();
        ASSERT_TRUE(waitFor([&] {
            for (xcb_window_t w : windows)
                if (desktop->hasState(w, "_NET_WM_STATE_ABOVE") != onTop)
                    return false;
            return true;
        }, 3000)) << "not every window changed its stay-on-top state";
        QThread::msleep(300);
        EXPECT_EQ(outerRects(), before);
        for (xcb_window_t w : windows)
            EXPECT_TRUE(desktop->viewable(w));
        EXPECT_GT(ink(missing, program->options, TForm2::invalidColour), 0) << "the red of a missing file was lost";
        EXPECT_EQ(ink(missing, program->options, TForm2::validColour), 0);
    }
    showTab(0);
    QThread::msleep(300);
    EXPECT_GT(ink(options->vorschau_textbox_datei, program->options, TForm2::validColour), 0)
        << "the green of an existing picture was lost";
}

TEST_F(DesktopTest, ToolWindowsStayWhenAskedToCloseOrMinimiseAndTheInputWindowEndsTheProgram) {
    start();
    for (xcb_window_t w : {program->options, program->preview, program->toolbar}) {
        desktop->requestClose(w);
        desktop->requestMinimise(w);
    }
    QThread::msleep(500);
    for (xcb_window_t w : {program->options, program->preview, program->toolbar})
        EXPECT_TRUE(waitFor([&] { return desktop->viewable(w); }, 3000)) << desktop->title(w).toStdString();
    EXPECT_TRUE(program->running());
    EXPECT_TRUE(program->closeAndWait()) << "closing the input window did not end the program";
    EXPECT_FALSE(desktop->window("Optionen")) << "a tool window outlived the program";
}

TEST_F(DesktopTest, AfterTheErrorBoxTypingGoesOnInTheFieldAndEditingKeysWork) {
    start();
    showTab(0);
    clickOn(options->vorschau_textbox_x, program->options);
    desktop->key("End");
    desktop->type(",");
    ASSERT_TRUE(waitFor([&] { return desktop->window("Zeilwerk Version 2.0 alpha").has_value(); }, 5000))
        << "no error box for the comma";
    desktop->key("Return");
    ASSERT_TRUE(waitFor([&] { return !desktop->window("Zeilwerk Version 2.0 alpha"); }, 5000));
    EXPECT_TRUE(waitFor([&] { return desktop->activeWindow() == program->options; }, 3000))
        << "the option window did not get the keyboard back";

    // "1," → "1" → "10" → "0" → "07"
    const QRect memo(desktop->clientRect(program->input).topLeft() + QPoint(40, 24), QSize(433, 89));
    const QImage emptyMemo = desktop->grab(memo);
    desktop->key("BackSpace");
    desktop->type("0");
    desktop->key("Home Delete End");
    desktop->type("7");

    showTab(3);
    clickOn(options->ini_save, program->options);
    ASSERT_TRUE(waitFor([&] { return desktop->window("Zeilwerk Version 2.0 alpha").has_value(); }, 5000));
    desktop->key("Return");
    EXPECT_EQ(IniFile(folder / "standard.ini").readText("vorschau", "x", ""), "07");
    EXPECT_EQ(desktop->grab(memo), emptyMemo) << "keys meant for the field landed in the message";
}

TEST_F(DesktopTest, TheHelpLineShowsTheWholeFirstLineOfAHint) {
    start();
    QToolButton* space = toolbar->button("space");
    const QRect help(desktop->clientRect(program->input).topLeft() + QPoint(8, 4), QSize(465, 17));
    const QImage before = desktop->grab(help);
    desktop->hover(onScreen(space, program->toolbar).center());
    ASSERT_TRUE(waitFor([&] { return desktop->grab(help) != before; }, 3000)) << "the help line did not change";
    QThread::msleep(200);
    const QImage shown = desktop->grab(help);
    const QRect ink = inkRows(shown, shown.rect().adjusted(1, 1, -1, -1));
    EXPECT_EQ(ink.height(), uncutInkHeight(QStringLiteral("\\_ fügt ein halbes Leerzeichen"), input->helpline->font()))
        << "descenders or the underscore are cut";
    if (const char* shots = std::getenv("ZEILWERK_SCREENSHOTS"))
        shown.scaled(shown.size() * 3).save(QString::fromLocal8Bit(shots) + "/help-line.png");
}

// Installed under a prefix as the package puts it, and run by a user who may not write there:
// its settings go to that user's configuration folder, made on the first write, and the
// pictures come from the installation.
TEST_F(DesktopTest, AnInstalledProgramKeepsTheUsersFilesInTheConfigurationFolder) {
    const auto prefix = folder / "prefix";
    const std::string install = std::string("'") + ZEILWERK_CMAKE + "' --install '" + ZEILWERK_BUILD_DIR + "' --prefix '" +
                                prefix.string() + "' >/dev/null";
    ASSERT_EQ(std::system(install.c_str()), 0);
    const auto entry = prefix / "share" / "applications" / "zeilwerk.desktop";
    EXPECT_EQ(std::system(("desktop-file-validate '" + entry.string() + "'").c_str()), 0);
    for (const char* file : {"bin/zeilwerk", "libexec/zeilwerk/zeilwerk-maker.exe", "share/zeilwerk/txtbox.bmp",
                             "share/zeilwerk/txtclr.bmp", "share/icons/hicolor/scalable/apps/zeilwerk.svg",
                             "share/icons/hicolor/48x48/apps/zeilwerk.png"})
        EXPECT_TRUE(std::filesystem::is_regular_file(prefix / file)) << file;

    // "nobody" may enter the test's folder and write into its home, nowhere else.
    const auto home = folder / "home";
    std::filesystem::create_directories(home);
    std::filesystem::permissions(folder.path(), std::filesystem::perms::all);
    std::filesystem::permissions(home, std::filesystem::perms::all);
    writeFile(folder / "stderr.txt", "");
    const auto config = home / "config" / "Zeilwerk";
    program = std::make_unique<RunningProgram>(
        *desktop, home, prefix / "bin" / "zeilwerk",
        QStringList{"HOME=" + QString::fromStdString(home.string()),
                    "XDG_CONFIG_HOME=" + QString::fromStdString((home / "config").string())},
        true);
    ASSERT_TRUE(program->waitUntilStarted()) << readFile(folder / "stderr.txt");

    showTab(0);
    EXPECT_GT(ink(options->vorschau_textbox_datei, program->options, TForm2::validColour), 0)
        << "the installed text box was not found";
    applySettings();
    EXPECT_TRUE(waitFor([&] { return std::filesystem::exists(config / "optn.ini"); }, 5000))
        << readFile(folder / "stderr.txt");
    showTab(3);
    clickOn(options->ini_save, program->options);
    EXPECT_TRUE(waitFor([&] { return std::filesystem::exists(config / "standard.ini"); }, 5000));
    desktop->key("Return");  // the box that says the profile was saved
    EXPECT_FALSE(std::filesystem::exists(prefix / "bin" / "optn.ini"));
    EXPECT_TRUE(program->closeAndWait());
}

TEST_F(DesktopTest, TheGameLookIsSwitchedOnOnTheSpielTabAndDrawnInThePreview) {
    ASSERT_TRUE(writeEngineGame(folder / "spiel"));
    // A face on the right, from the profile loaded at the start.
    std::filesystem::create_directories(folder / "spiel" / "FaceSet");
    ASSERT_TRUE(faceSet().save(qpath(folder / "spiel" / "FaceSet" / "Held.png"), "png"));
    writeFile(folder / "optn.ini", "[laden]\r\nauto=1\r\ndatei=standard.ini\r\n");
    writeFile(folder / "standard.ini", "[spiel]\r\ngesicht=Held\r\ngesicht_rechts=1\r\n");
    start();
    options->tabs->setCurrentIndex(5);
    showTab(5);
    clickOn(options->spiel_ordner, program->options);
    desktop->type(qpath(folder / "spiel"));
    clickOn(options->spiel_aktiv_set, program->options);
    applySettings();
    const QRect layer(desktop->clientRect(program->preview).topLeft() + QPoint(8, 8), QSize(320, 80));
    const QRgb corner = engineColour(SystemGraphic::corner[0]) | 0xFF000000;
    EXPECT_TRUE(waitFor([&] { return (desktop->grab(layer).pixel(0, 0) | 0xFF000000) == corner; }, 3000))
        << "the preview does not show the game's window";
    desktop->click(desktop->clientRect(program->input).topLeft() + QPoint(200, 60));
    const QString text = "Hallo" + QString(40, u'x');
    desktop->type("\\c[3]" + text);
    // The glyphs drawn from the rules: cells 6 px apart from (8, 10), each pixel its colour
    // cell's pixel two columns in and four rows down, twelve rows, the shadow one pixel right
    // and below; beside the face on the right the cells that end by 240, 38 of them.
    QImage expected(320, 80, QImage::Format_ARGB32);
    expected.fill(0);
    const int cells = 38;
    for (int k = 0; k < cells; ++k)
        for (int gy = 0; gy < 12; ++gy)
            for (int gx = 0; gx < 6; ++gx)
                if (testInk(text[k].unicode(), gx, gy))
                    expected.setPixel(8 + 6 * k + gx + 1, 10 + gy + 1, engineColour(kShadow) | 0xFF000000);
    for (int k = 0; k < cells; ++k)
        for (int gy = 0; gy < 12; ++gy)
            for (int gx = 0; gx < 6; ++gx)
                if (testInk(text[k].unicode(), gx, gy))
                    expected.setPixel(8 + 6 * k + gx, 10 + gy, glyphColour(3, gx, gy));
    expected.setPixel(256 + 20, 16 + 20, faceColour(0));
    // Nothing of the 39th cell on: no glyph colour, no shadow between 240 and the face.
    std::set<QRgb> ink = {engineColour(kShadow) | 0xFF000000};
    for (int gy = 0; gy < 12; ++gy)
        for (int gx = 0; gx < 6; ++gx)
            ink.insert(glyphColour(3, gx, gy));
    QImage shot;
    const auto matches = [&] {
        shot = desktop->grab(layer);
        for (int y = 0; y < 80; ++y)
            for (int x = 0; x < 320; ++x)
                if (qAlpha(expected.pixel(x, y)) && (shot.pixel(x, y) | 0xFF000000) != expected.pixel(x, y))
                    return false;
        for (int y = 10; y < 24; ++y)
            for (int x = 8 + 6 * cells + 1; x < 256; ++x)
                if (ink.count(shot.pixel(x, y) | 0xFF000000))
                    return false;
        return true;
    };
    EXPECT_TRUE(waitFor(matches, 3000)) << "the glyphs on the screen are not those of the rules";
    if (const char* shots = std::getenv("ZEILWERK_SCREENSHOTS")) {
        desktop->grab(QRect(0, 0, 1280, 1024)).save(QString::fromLocal8Bit(shots) + "/game-look.png");
        shot.save(QString::fromLocal8Bit(shots) + "/game-look-box.png");
    }
}

TEST_F(DesktopTest, TheMessageWindowOpensFromTheSpielTabAndAFilteredMessageGoesIntoTheMemo) {
    QProcess demo;
    demo.start(QString(ZEILWERK_BUILD_DIR) + "/tests/demo_game", {qpath(folder / "Spiel")});
    ASSERT_TRUE(demo.waitForFinished(10000) && demo.exitCode() == 0) << "the demo game was not written";
    writeFile(folder / "optn.ini", "[laden]\r\nauto=1\r\ndatei=standard.ini\r\n");
    writeFile(folder / "standard.ini", "[spiel]\r\nordner=" + (folder / "Spiel").string() + "\r\naktiv_set=1\r\naktiv=1\r\n");
    start();
    const int memoInk = ink(input->GetText, program->input, Qt::black);
    openMessageWindow();
    std::optional<xcb_window_t> shown;
    ASSERT_TRUE(waitFor([&] { return (shown = desktop->window("Nachrichten")) && desktop->viewable(*shown); }, 5000))
        << "the message window did not open";
    // Read and drawn: the window's picture stays as it is.
    QImage before;
    ASSERT_TRUE(waitFor([&] {
        const QImage now = desktop->grab(desktop->outerRect(*shown));
        const bool same = now == before;
        before = now;
        QThread::msleep(300);
        return same;
    }, 10000));
    // The filter field has the focus, then the kind, "Neu laden", "Prüfen" and the tree, whose
    // first row is the first map's group, open in a game this small.
    desktop->key("Tab Tab Tab space");
    QThread::msleep(500);
    desktop->key("Tab Down");
    int firstInk = 0;
    EXPECT_TRUE(waitFor([&] { return (firstInk = ink(input->GetText, program->input, Qt::black)) > memoInk + 20; }, 3000))
        << "the first message is not in the memo";
    if (const char* shots = std::getenv("ZEILWERK_SCREENSHOTS")) {
        QThread::msleep(500);
        const QRect all = desktop->outerRect(*shown).united(desktop->outerRect(program->preview))
                              .united(desktop->outerRect(program->input));
        desktop->grab(all).save(QString::fromLocal8Bit(shots) + "/nachrichten.png");
    }
    desktop->key("shift+Tab shift+Tab shift+Tab shift+Tab");
    desktop->type("pfel");
    desktop->key("Tab Tab Tab Tab Down");
    EXPECT_TRUE(waitFor([&] { return ink(input->GetText, program->input, Qt::black) != firstInk; }, 3000))
        << "the filtered message is not in the memo";
}

// "Ins Spiel schreiben" on a message edited in the memo: the dialog comes up over the window
// on the real desktop, says what changes and warns; cancelled, nothing is written.
TEST_F(DesktopTest, TheWriteDialogSaysWhatChangesAndCancelledWritesNothing) {
    QProcess demo;
    demo.start(QString(ZEILWERK_BUILD_DIR) + "/tests/demo_game", {qpath(folder / "Spiel")});
    ASSERT_TRUE(demo.waitForFinished(10000) && demo.exitCode() == 0) << "the demo game was not written";
    const std::string map = readFile(folder / "Spiel" / "Map0001.lmu");
    writeFile(folder / "optn.ini", "[laden]\r\nauto=1\r\ndatei=standard.ini\r\n");
    writeFile(folder / "standard.ini", "[spiel]\r\nordner=" + (folder / "Spiel").string() + "\r\naktiv_set=1\r\naktiv=1\r\n");
    start();
    openMessageWindow();
    std::optional<xcb_window_t> shown;
    ASSERT_TRUE(waitFor([&] { return (shown = desktop->window("Nachrichten")) && desktop->viewable(*shown); }, 5000));
    QThread::msleep(1500);
    // The first message into the memo, a word typed after it, then back to the list's window.
    desktop->key("Tab Tab Tab Tab Down");
    QThread::msleep(500);
    clickOn(input->GetText, program->input);
    desktop->key("ctrl+End");
    desktop->type(" Prost!");
    QThread::msleep(300);
    desktop->click(desktop->outerRect(*shown).topLeft() + QPoint(desktop->outerRect(*shown).width() / 2, 8));
    QThread::msleep(300);
    desktop->key("Tab space");
    std::optional<xcb_window_t> dialog;
    ASSERT_TRUE(waitFor([&] { return (dialog = desktop->window("Ins Spiel schreiben")) && desktop->viewable(*dialog); }, 5000))
        << "the write dialog did not come up";
    QThread::msleep(800);
    const QImage picture = desktop->grab(desktop->outerRect(*dialog));
    EXPECT_GT(picture.width(), 300);
    if (const char* shots = std::getenv("ZEILWERK_SCREENSHOTS")) {
        desktop->grab(desktop->outerRect(*dialog).united(desktop->outerRect(*shown)))
            .save(QString::fromLocal8Bit(shots) + "/ins-spiel-schreiben.png");
    }
    desktop->key("Escape");
    EXPECT_TRUE(waitFor([&] { return !desktop->viewable(*dialog); }, 3000));
    EXPECT_EQ(readFile(folder / "Spiel" / "Map0001.lmu"), map);
}

// The spelling tab on the real desktop, over a game of our own with a name mistyped once:
// each word once, the likely typo first; "Ersetzen…" asks, then shows every line it changes.
TEST_F(DesktopTest, TheSpellingTabListsEachWordOnceAndReplaceShowsWhatChanges) {
    // The demo game's look, with maps of our own.
    const std::filesystem::path game = folder / "Eigenes";
    QProcess demo;
    demo.start(QString(ZEILWERK_BUILD_DIR) + "/tests/demo_game", {qpath(game)});
    ASSERT_TRUE(demo.waitForFinished(10000) && demo.exitCode() == 0) << "the demo game was not written";
    for (const auto& entry : std::filesystem::directory_iterator(game))
        if (entry.path().extension() == ".lmu")
            std::filesystem::remove(entry.path());
    writeFile(game / "RPG_RT.lmt", mapTree({{1, "Dorf"}, {2, "Wald"}}, {1, 2}));
    writeFile(game / "Map0001.lmu",
              mapUnit({{1, "Wirt", {{1, {showMessage("\\c[4]Ortwin:\\c[0]"), messageLine("Gerwina wartet am Brunnen.")}}}},
                       {2, "Magd", {{1, {showMessage("Gerwina hat Ortwins Schwert gefunden.")}}}},
                       {3, "Kind", {{1, {showMessage("Tja, Gerwina ist fort. Hmmm...")}}}},
                       {4, "Bauer", {{1, {showMessage("Gerwnia? Nie geh\xf6rt.")}}}}}));
    writeFile(game / "Map0002.lmu",
              mapUnit({{1, "Alte", {{1, {showMessage("Das Schwret liegt im Brunnen,"), messageLine("die Zauberpumkte sind leer.")}}}},
                       {2, "Jäger", {{1, {showMessage("Gerwnia sucht dich.")}}}}}));
    const std::string map = readFile(game / "Map0001.lmu");
    writeFile(folder / "optn.ini", "[laden]\r\nauto=1\r\ndatei=standard.ini\r\n");
    writeFile(folder / "standard.ini", "[spiel]\r\nordner=" + game.string() + "\r\naktiv_set=1\r\naktiv=1\r\n");
    start();
    openMessageWindow();
    std::optional<xcb_window_t> shown;
    ASSERT_TRUE(waitFor([&] { return (shown = desktop->window("Nachrichten")) && desktop->viewable(*shown); }, 5000));
    QThread::msleep(1500);
    // "Prüfen", then the tab of the spelling; its first word, the likely typo, chosen and opened.
    desktop->key("Tab Tab Tab space");
    QThread::msleep(3000);
    desktop->key("Tab ctrl+Tab");
    QThread::msleep(500);
    const QPoint window = desktop->outerRect(*shown).topLeft();
    desktop->click(window + QPoint(60, 124));
    desktop->key("Right");
    QThread::msleep(800);
    const QImage tab = desktop->grab(desktop->outerRect(*shown));
    EXPECT_GT(tab.width(), 300);
    if (const char* shots = std::getenv("ZEILWERK_SCREENSHOTS")) {
        desktop->grab(desktop->outerRect(*shown).united(desktop->outerRect(program->input)))
            .save(QString::fromLocal8Bit(shots) + "/rechtschreibung.png");
    }
    // "Ersetzen…": the word meant is offered, and the dialog after it lists the lines.
    desktop->click(window + QPoint(263, 402));
    std::optional<xcb_window_t> ask;
    ASSERT_TRUE(waitFor([&] { return (ask = desktop->window("Ersetzen")) && desktop->viewable(*ask); }, 5000))
        << "the replace question did not come up";
    QThread::msleep(500);
    desktop->key("Return");
    std::optional<xcb_window_t> preview;
    ASSERT_TRUE(waitFor([&] {
        return (preview = desktop->window("Ersetzen: „Gerwnia“ durch „Gerwina“")) && desktop->viewable(*preview);
    }, 5000)) << "the lines to change were not shown";
    QThread::msleep(800);
    if (const char* shots = std::getenv("ZEILWERK_SCREENSHOTS")) {
        desktop->grab(desktop->outerRect(*preview).united(desktop->outerRect(*shown)))
            .save(QString::fromLocal8Bit(shots) + "/ersetzen.png");
    }
    desktop->key("Escape");
    EXPECT_TRUE(waitFor([&] { return !desktop->viewable(*preview); }, 3000));
    EXPECT_EQ(readFile(game / "Map0001.lmu"), map);
}

// The same program on screens of two sizes, each a desktop of its own.
class PlacementDesktopTest : public DesktopTest, public ::testing::WithParamInterface<QSize> {
protected:
    static void SetUpTestSuite() {}
    static void TearDownTestSuite() {}
    void SetUp() override {
        desktop = new XDesktop(GetParam());
        DesktopTest::SetUp();
    }
    void TearDown() override {
        DesktopTest::TearDown();
        delete desktop;
        desktop = nullptr;
    }
    // Every title bar on the screen and, where asked, no window over another.
    void expectPlacedWell(bool apart, const char* step) {
        const std::array<QRect, 4> all = outerRects();
        for (size_t a = 0; a < all.size(); ++a) {
            EXPECT_TRUE(QRect(QPoint(0, 0), GetParam()).contains(QRect(all[a].topLeft(), QSize(all[a].width(), 20))))
                << step << ": title bar " << a;
            for (size_t b = a + 1; b < all.size() && apart; ++b)
                EXPECT_FALSE(all[a].intersects(all[b])) << step << ": windows " << a << " and " << b << " overlap";
        }
    }
};

TEST_P(PlacementDesktopTest, ArrangedAtEitherSizeWithEitherToolbarEveryWindowShowsAndNoneCoversAnother) {
    start();
    expectPlacedWell(true, "first start");
    const struct { int tab; QWidget* control; xcb_window_t* window; int extent; const char* step; } steps[] = {
        {0, options->vorschau_scale2x_set, &program->preview, 656, "2x"},
        {3, options->tool_horizontal, &program->toolbar, 58, "2x, upright toolbar"},
        {0, options->vorschau_scale2x_set, &program->preview, 336, "1x, upright toolbar"},
    };
    for (const auto& [tab, control, window, width, step] : steps) {
        showTab(tab);
        clickOn(control, program->options);
        applySettings();
        ASSERT_TRUE(waitFor([&] { return desktop->clientRect(*window).width() == width; }, 3000)) << step;
        QThread::msleep(300);
        expectPlacedWell(true, step);
    }
    // 999 % make the input window 942 pixels high: red and not applied on the lower screen.
    const bool fits = GetParam().height() >= 942;
    showTab(1);
    clickOn(options->eingabe_hoehe, program->options);
    desktop->key("ctrl+a");
    desktop->type("999");
    const QColor colour = fits ? TForm2::validColour : TForm2::invalidColour;
    EXPECT_TRUE(waitFor([&] { return ink(options->eingabe_hoehe, program->options, colour) > 0; }, 3000));
    applySettings();
    QThread::msleep(500);
    EXPECT_EQ(desktop->clientRect(program->input).height(), fits ? 921 : 121);
    expectPlacedWell(true, "height 999");
}

TEST_P(PlacementDesktopTest, PositionsRememberedOffTheScreenAreBroughtBackAndTheFileKeepsThem) {
    const std::string remembered =
        "[fenster]\r\nauto=1\r\neingabe_top=1500\r\neingabe_left=2400\r\noptn_top=-300\r\noptn_left=100\r\n"
        "vorschau_top=200\r\nvorschau_left=-900\r\ntool_top=5000\r\ntool_left=5000\r\n";
    writeFile(folder / "optn.ini", remembered);
    start();
    expectPlacedWell(false, "restored");
    EXPECT_EQ(readFile(folder / "optn.ini"), remembered);
}

TEST_P(PlacementDesktopTest, AFaceChosenInThePickerAndTheWholeScreenPlacedLikeTheOthers) {
    const std::filesystem::path game = folder / "spiel";
    ASSERT_TRUE(writeEngineGame(game));
    std::filesystem::create_directories(game / "FaceSet");
    ASSERT_TRUE(faceSet().save(qpath(game / "FaceSet" / "Held.png"), "png"));
    writeFile(folder / "optn.ini", "[laden]\r\nauto=1\r\ndatei=standard.ini\r\n");
    writeFile(folder / "standard.ini", "[spiel]\r\nordner=" + game.string() +
                                           "\r\naktiv_set=1\r\naktiv=1\r\ngesicht=Held\r\nbildschirm=1\r\n");
    start();
    ASSERT_TRUE(waitFor([&] { return desktop->clientRect(program->preview).size() == QSize(336, 256 + TForm3::playStrip); }, 3000))
        << "the whole screen at 1x";
    // The group "Nachricht" lies below the tab's fold: both copies scroll to the end.
    showTab(5);
    options->tabs->setCurrentIndex(5);
    QScrollArea* scroll = options->tabs->widget(5)->findChild<QScrollArea*>();
    ASSERT_TRUE(scroll);
    desktop->wheelDown(onScreen(scroll, program->options).center(), 15);
    scroll->verticalScrollBar()->setValue(scroll->verticalScrollBar()->maximum());
    const QRect picker = onScreen(options->spiel_gesicht_wahl, program->options);
    desktop->click(picker.topLeft() + QPoint(2 * 20 + 10, 1 * 20 + 10));  // face 6
    applySettings();
    const QRect layer(desktop->clientRect(program->preview).topLeft() + QPoint(8, 8), QSize(320, 240));
    EXPECT_TRUE(waitFor([&] { return (desktop->grab(layer).pixel(16 + 20, 160 + 16 + 20) | 0xFF000000) == faceColour(6); },
                        3000))
        << "face 6 at (16, 16) of the box at the bottom of the screen";
    expectPlacedWell(false, "whole screen 1x");
    showTab(3);
    clickOn(options->fenster_ausr, program->options);
    QThread::msleep(300);
    expectPlacedWell(GetParam().height() >= 768, "whole screen 1x arranged");
    showTab(0);
    clickOn(options->vorschau_scale2x_set, program->options);
    applySettings();
    ASSERT_TRUE(waitFor([&] { return desktop->clientRect(program->preview).size() == QSize(656, 496 + TForm3::playStrip); }, 3000))
        << "the whole screen at 2x";
    showTab(3);
    clickOn(options->fenster_ausr, program->options);
    QThread::msleep(300);
    expectPlacedWell(false, "whole screen 2x arranged");
    if (const char* shots = std::getenv("ZEILWERK_SCREENSHOTS"))
        desktop->grab(QRect(QPoint(0, 0), GetParam())).save(QString::fromLocal8Bit(shots) + "/whole-screen.png");
}

INSTANTIATE_TEST_SUITE_P(Screens, PlacementDesktopTest, ::testing::Values(QSize(1024, 768), QSize(1280, 1024)),
                         [](const auto& info) { return std::to_string(info.param.width()) + "x" +
                                                       std::to_string(info.param.height()); });

}  // namespace
}  // namespace zeilwerk::test
