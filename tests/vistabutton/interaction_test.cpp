// Mouse, keyboard, focus and hover handling, driven through the toolkit's real input path.
#include <QApplication>
#include <QTest>
#include <gtest/gtest.h>

#include "tests/vistabutton/button_fixture.h"
#include "tests/vistabutton/event_log.h"

namespace tunekist::testing {
namespace {

using Entries = std::vector<std::string>;

// Waits (bounded) for the hover timer to notice that the pointer has gone.
bool WaitForMouseOut(const EventLog& log) {
    return QTest::qWaitFor([&] { return log.Count("MouseOut") > 0; }, 5000);
}

TEST(Interaction, MouseClickRaisesDownUpClickAndEndsInHover) {
    HostedButton hosted;
    hosted.PointAt(QPoint(30, 12));
    EventLog log(*hosted.button);
    QTest::mousePress(hosted.button, Qt::LeftButton, {}, QPoint(30, 12));
    EXPECT_EQ(hosted.button->Fields().ButtonState, StateDown);
    QTest::mouseRelease(hosted.button, Qt::LeftButton, {}, QPoint(30, 12));
    EXPECT_EQ(log.entries, (Entries{"MouseDown(1,0,30,12)", "MouseUp(1,0,30,12)", "Click"}));
    EXPECT_EQ(hosted.button->Fields().ButtonState, StateHover);
}

TEST(Interaction, RightButtonPressShowsPressedLookAndRaisesDownAndUp) {
    HostedButton hosted;
    hosted.PointAt(QPoint(10, 5));
    EventLog log(*hosted.button);
    QTest::mousePress(hosted.button, Qt::RightButton, {}, QPoint(10, 5));
    EXPECT_EQ(hosted.button->Fields().ButtonState, StateDown);
    QTest::mouseRelease(hosted.button, Qt::RightButton, {}, QPoint(10, 5));
    ASSERT_GE(log.entries.size(), 2U);
    EXPECT_EQ(log.entries[0], "MouseDown(2,0,10,5)");
    EXPECT_EQ(log.entries[1], "MouseUp(2,0,10,5)");
}

struct SpaceCase {
    bool pointerOver;
    std::string mouseUp;
    std::int32_t endState;
};

void PrintTo(const SpaceCase& c, std::ostream* out) { *out << (c.pointerOver ? "pointer over" : "pointer elsewhere"); }

class SpaceKey : public ::testing::TestWithParam<SpaceCase> {};

TEST_P(SpaceKey, PressAndReleaseRaiseTheMouseAndKeyEventsAndClickInOrder) {
    HostedButton hosted;
    hosted.button->setFocus();
    if (GetParam().pointerOver) hosted.PointAt(QPoint(40, 10));
    EventLog log(*hosted.button);
    QTest::keyClick(hosted.button, Qt::Key_Space);
    EXPECT_EQ(log.entries, (Entries{"MouseDown(0,0,0,0)", "KeyDown(32,0)", GetParam().mouseUp, "Click", "KeyUp(32,0)"}));
    EXPECT_EQ(hosted.button->Fields().ButtonState, GetParam().endState);
}

INSTANTIATE_TEST_SUITE_P(Pointer, SpaceKey,
                         ::testing::Values(SpaceCase{false, "MouseUp(0,0,-1,0)", StateFocus},
                                           SpaceCase{true, "MouseUp(0,0,0,0)", StateHover}),
                         [](const auto& info) { return std::string(info.param.pointerOver ? "Over" : "Elsewhere"); });

TEST(Interaction, EnterNeitherPressesNorClicks) {
    HostedButton hosted;
    hosted.button->setFocus();
    EventLog log(*hosted.button);
    QTest::keyClick(hosted.button, Qt::Key_Return);
    EXPECT_EQ(log.Count("Click") + log.Count("MouseDown"), 0);
    EXPECT_EQ(hosted.button->Fields().ButtonState, StateFocus);
}

TEST(Interaction, DragOffShowsHoverRaisesMouseOutAndReleaseOutsideShowsFocusWithoutClick) {
    HostedButton hosted;
    hosted.PointAt(QPoint(30, 12));
    EventLog log(*hosted.button);
    QTest::mousePress(hosted.button, Qt::LeftButton, {}, QPoint(30, 12));
    QCursor::setPos(hosted.host->mapToGlobal(QPoint(5, 5)));
    QTest::mouseMove(hosted.button, QPoint(-15, -15));
    EXPECT_EQ(hosted.button->Fields().ButtonState, StateHover);
    ASSERT_TRUE(WaitForMouseOut(log));
    EXPECT_EQ(hosted.button->Fields().ButtonState, StateHover) << "a held button keeps its look";
    QTest::mouseRelease(hosted.button, Qt::LeftButton, {}, QPoint(-15, -15));
    EXPECT_EQ(log.WithoutMoves(), (Entries{"MouseDown(1,0,30,12)", "MouseOut", "MouseUp(1,0,-15,-15)"}));
    EXPECT_EQ(hosted.button->Fields().ButtonState, StateFocus);
}

TEST(Interaction, DisabledButtonRaisesNothingAndKeepsItsLook) {
    HostedButton hosted;
    hosted.button->SetEnabled(false);
    hosted.button->setFocus();
    EventLog log(*hosted.button);
    hosted.PointAt(QPoint(30, 12));
    QTest::mouseClick(hosted.button, Qt::LeftButton, {}, QPoint(30, 12));
    QTest::keyClick(hosted.button, Qt::Key_Space);
    QTest::keyClick(hosted.button, Qt::Key_A);
    std::int32_t effect = 1;
    DataObject data = nullptr;
    std::int32_t allowed = 1;
    hosted.button->Surface_OLECompleteDrag(effect);
    hosted.button->Surface_OLEStartDrag(data, allowed);
    EXPECT_TRUE(log.entries.empty());
    EXPECT_EQ(hosted.button->Fields().ButtonState, StateDisabled);
}

TEST(Interaction, EveryMoveInsideRaisesMouseInAndLeavingRaisesOneMouseOut) {
    HostedButton hosted;
    EventLog log(*hosted.button);
    hosted.PointAt(QPoint(10, 10));
    hosted.PointAt(QPoint(20, 10));
    hosted.PointAt(QPoint(30, 10));
    EXPECT_EQ(log.Count("MouseIn"), log.Count("MouseMove"));
    EXPECT_GE(log.Count("MouseIn"), 3);
    EXPECT_EQ(hosted.button->Fields().ButtonState, StateHover);
    hosted.PointAway();
    ASSERT_TRUE(WaitForMouseOut(log));
    QTest::qWait(50);
    EXPECT_EQ(log.Count("MouseOut"), 1);
    EXPECT_EQ(hosted.button->Fields().ButtonState, StateNormal);
    EXPECT_FALSE(hosted.button->HasHoverTimer());
}

TEST(Interaction, DisablingUnderThePointerStillRaisesOneMouseOutAndStaysDisabled) {
    HostedButton hosted;
    EventLog log(*hosted.button);
    hosted.PointAt(QPoint(10, 10));
    hosted.button->SetEnabled(false);
    hosted.PointAway();
    ASSERT_TRUE(WaitForMouseOut(log));
    EXPECT_EQ(log.Count("MouseOut"), 1);
    EXPECT_EQ(hosted.button->Fields().ButtonState, StateDisabled);
}

TEST(Interaction, GainingFocusUnderThePointerKeepsHover) {
    HostedButton hosted;
    hosted.PointAt(QPoint(10, 10));
    hosted.button->setFocus();
    EXPECT_EQ(hosted.button->Fields().ButtonState, StateHover);
}

struct WindowClick {
    QPoint local;
    bool reachesButton;
};

void PrintTo(const WindowClick& c, std::ostream* out) { *out << c.local.x() << "," << c.local.y(); }

class ClickThroughTheWindow : public ::testing::TestWithParam<WindowClick> {};

// Clicks arrive at the window as the window system delivers them, so the outline decides
// which widget gets them.
TEST_P(ClickThroughTheWindow, CutCornersBelongToTheWindowBehind) {
    HostedButton hosted;
    EventLog log(*hosted.button);
    const QPoint inWindow = hosted.button->mapTo(hosted.host.get(), GetParam().local);
    QTest::mouseClick(hosted.host->windowHandle(), Qt::LeftButton, {}, inWindow);
    EXPECT_EQ(log.Count("Click"), GetParam().reachesButton ? 1 : 0);
    EXPECT_EQ(log.Count("MouseDown"), GetParam().reachesButton ? 1 : 0);
}

INSTANTIATE_TEST_SUITE_P(Pixels, ClickThroughTheWindow,
                         ::testing::Values(WindowClick{{0, 0}, false}, WindowClick{{74, 0}, false},
                                           WindowClick{{0, 24}, false}, WindowClick{{74, 24}, false},
                                           WindowClick{{1, 0}, true}, WindowClick{{73, 24}, true},
                                           WindowClick{{37, 12}, true}),
                         [](const auto& info) {
                             return "At" + std::to_string(info.param.local.x()) + "x" + std::to_string(info.param.local.y());
                         });

TEST(TabStop, DisablingTakesTheButtonOutOfTheFocusChainAndEnablingPutsItBack) {
    HostedButton hosted;
    hosted.button->SetEnabled(false);
    EXPECT_FALSE(hosted.button->ExtenderTabStop());
    hosted.button->SetEnabled(true);
    EXPECT_TRUE(hosted.button->ExtenderTabStop());
    hosted.button->SetExtenderTabStop(false);
    hosted.button->SetEnabled(true);
    EXPECT_TRUE(hosted.button->ExtenderTabStop()) << "a saved tab stop is never forgotten";
}

TEST(TabStop, ButtonOutOfTheChainAtItsFirstDisablingStaysOut) {
    HostedButton hosted;
    hosted.button->SetExtenderTabStop(false);
    hosted.button->SetEnabled(false);
    hosted.button->SetEnabled(true);
    EXPECT_FALSE(hosted.button->ExtenderTabStop());
}

TEST(TabStop, AtDesignTimeEnabledNeverTouchesTheTabStop) {
    HostedButton hosted;
    hosted.button->SetAmbientUserMode(false);
    hosted.button->SetEnabled(false);
    EXPECT_TRUE(hosted.button->ExtenderTabStop());
}

}  // namespace
}  // namespace tunekist::testing
