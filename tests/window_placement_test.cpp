#include "program_fixture.h"

#include "app/window_placement.h"
#include "widgets/desktop.h"
#include "widgets/hints.h"

#include <QGuiApplication>
#include <QLineEdit>
#include <QScreen>

namespace zeilwerk::test {
namespace {

GroupSizes sizes(bool doubled, bool horizontal, QSize input = QSize(482, 121)) {
    const QMargins openbox(1, 20, 1, 1);
    return {FramedSize{input, openbox}, FramedSize{{318, 238}, openbox},
            FramedSize{doubled ? QSize(656, 176) : QSize(336, 96), openbox},
            FramedSize{horizontal ? QSize(216, 58) : QSize(58, 216), openbox}};
}

// Every title bar in the work area and, where asked, no window over another.
void expectPlacedWell(const GroupRects& rects, QRect work, bool apart = true) {
    for (int i = 0; i < GroupWindowCount; ++i) {
        EXPECT_TRUE(work.contains(QRect(rects[i].topLeft(), QSize(rects[i].width(), 20)))) << "title bar " << i;
        for (int j = i + 1; j < GroupWindowCount && apart; ++j)
            EXPECT_FALSE(rects[i].intersects(rects[j])) << "windows " << i << " and " << j << " overlap";
    }
}

TEST(Arrangement, KeepsItsShapeWhereItFitsAndPutsWhatDoesNotBesideTheOthers) {
    // The tallest and widest input windows the size check lets through, and 999 % high.
    const std::tuple<QSize, bool, bool, QSize> rows[] = {
        {{1024, 768}, false, true, {482, 121}},   {{1024, 768}, true, true, {482, 121}},
        {{1024, 768}, false, false, {482, 121}},  {{1024, 768}, true, false, {482, 121}},
        {{1280, 1024}, false, true, {482, 121}},  {{1280, 1024}, true, true, {482, 121}},
        {{1280, 1024}, false, false, {482, 121}}, {{1280, 1024}, true, false, {482, 121}},
        {{1024, 768}, false, false, {482, 747}},  {{1024, 768}, true, false, {1018, 121}},
        {{1280, 1024}, true, true, {482, 921}},   {{1280, 1024}, true, false, {482, 921}},
    };
    for (const auto& [screen, doubled, horizontal, input] : rows) {
        SCOPED_TRACE(testing::Message() << screen.width() << (doubled ? " 2x " : " 1x ") << horizontal << " "
                                        << input.width() << "x" << input.height());
        const QRect work(QPoint(0, 0), screen);
        const QPoint centre(screen.width() / 2, screen.height() / 2);
        const GroupRects g = arrangedGroup(sizes(doubled, horizontal, input), centre, work);
        expectPlacedWell(g, work);
        if (input.height() > 121 || input.width() > 482)
            continue;
        const auto& [in, op, pv, tb] = g;
        EXPECT_EQ(op.topLeft(), in.topRight() + QPoint(1 + 8, 0));
        EXPECT_EQ(pv.topRight(), in.bottomRight() + QPoint(0, 1 + 8));
        EXPECT_EQ(tb.bottomLeft(), in.topLeft() - QPoint(0, 1 + 8));
        // Off the centre only where an edge of the work area pushed the group.
        const QPoint shift = in.bottomRight() + QPoint(1, 1) - centre, box = in.united(op).united(pv).united(tb).topLeft();
        EXPECT_TRUE((shift.x() == 0 || box.x() == 0) && (shift.y() == 0 || box.y() == 0)) << shift.x() << ", " << shift.y();
    }
    // Nothing keeps clear of an input window as large as the screen, yet every title bar shows.
    expectPlacedWell(arrangedGroup(sizes(true, false, {1018, 747}), {512, 384}, {0, 0, 1024, 768}), {0, 0, 1024, 768}, false);
}

TEST(Arrangement, AfterApplyAnArrangedGroupIsArrangedAgainAndAMovedOneMakesWayForWhatGrew) {
    const QRect work(0, 0, 1280, 1024);
    const GroupRects arranged = arrangedGroup(sizes(false, true), {640, 512}, work);
    EXPECT_EQ(settledGroup(arranged, sizes(false, true), sizes(true, false), {640, 512}, work),
              arrangedGroup(sizes(true, false), {640, 512}, work));
    // Input window moved aside: the doubled preview and the upright toolbar would grow into
    // the option and the input window. Those two move, the others stay.
    GroupRects own = arranged;
    own[InputWindow].translate(-100, 0);
    const GroupRects settled = settledGroup(own, sizes(false, true), sizes(true, false), {640, 512}, work);
    expectPlacedWell(settled, work);
    EXPECT_EQ(std::vector(settled.begin(), settled.begin() + 2), std::vector(own.begin(), own.begin() + 2));
}

TEST(Arrangement, RememberedPlacesOffEveryScreenAreMovedOntoThePrimaryOne) {
    const std::vector<QRect> screens = {{0, 0, 1024, 768}, {1024, 0, 1280, 1024}};
    const std::pair<QRect, QPoint> rows[] = {{{100, 200, 484, 142}, {100, 200}}, {{1500, 900, 338, 117}, {1500, 900}},
                                             {{-206, 100, 218, 79}, {0, 100}},   {{2400, 1100, 338, 117}, {686, 651}},
                                             {{900, -10, 320, 259}, {704, 0}}};
    for (const auto& [remembered, placed] : rows)
        EXPECT_EQ(movedOntoScreen(remembered, 20, screens).topLeft(), placed) << remembered.x() << ", " << remembered.y();
}

class ScreenLimitTest : public ProgramTest {};

TEST_F(ScreenLimitTest, AHeightBeyondTheScreenIsRedNamesTheLargestAndIsNotApplied) {
    create();
    const int room = QGuiApplication::primaryScreen()->availableGeometry().height() -
                     (input->frameGeometry().height() - input->height());
    const int largest = largestFittingPercent(room, 89, 32);
    EXPECT_TRUE(largest * 89 / 100 + 32 <= room && (largest + 1) * 89 / 100 + 32 > room) << largest;
    options->eingabe_hoehe->setText("999");
    EXPECT_EQ(options->eingabe_hoehe->palette().color(QPalette::Text), TForm2::invalidColour);
    EXPECT_EQ(input->helpline->text(), QStringLiteral("Höchstens %1 % passen auf den Bildschirm.").arg(largest));
    options->confirmClick();
    EXPECT_EQ(input->size(), QSize(482, 121));
    options->eingabe_hoehe->setText(QString::number(largest));
    EXPECT_EQ(options->eingabe_hoehe->palette().color(QPalette::Text), TForm2::validColour);
    EXPECT_EQ(hintOf(options->eingabe_hoehe), "Stellt die Höhe der Eingabefläche ein. Minimum sind 20%.");
}

}  // namespace
}  // namespace zeilwerk::test
