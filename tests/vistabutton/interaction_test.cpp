// Mouse, keyboard, focus, hover and accessibility, driven through the toolkit's real input path.
#include <QAccessible>
#include <QApplication>
#include <QTest>
#include <gtest/gtest.h>

#include "tests/vistabutton/button_fixture.h"

namespace tunekist::testing {
namespace {

using Entries = std::vector<std::string>;

// Waits (bounded) for the hover timer to notice that the pointer has gone.
bool WaitForMouseOut(const EventLog& log) {
    return QTest::qWaitFor([&] { return log.Count("MouseOut") > 0; }, 5000);
}

// Presses and releases at (30, 12), by mouse button or by key on the focused button.
struct PressCase {
    const char* name;
    Qt::MouseButton button;  // Qt::NoButton: a key on the focused button
    Qt::Key key;
    bool pointerOver;
    Entries entries;
    std::int32_t stateWhileDown;
    std::int32_t endState;
};

void PrintTo(const PressCase& c, std::ostream* out) { *out << c.name; }

class Press : public ::testing::TestWithParam<PressCase> {};

TEST_P(Press, RaisesItsEventsInOrderAndEndsInItsState) {
    const PressCase& c = GetParam();
    HostedButton hosted;
    if (c.button == Qt::NoButton) hosted.button->setFocus();
    if (c.pointerOver) hosted.PointAt(QPoint(30, 12));
    EventLog log(*hosted.button);
    if (c.button == Qt::NoButton) {
        QTest::keyPress(hosted.button, c.key);
        EXPECT_EQ(hosted.button->Fields().ButtonState, c.stateWhileDown);
        QTest::keyRelease(hosted.button, c.key);
    } else {
        QTest::mousePress(hosted.button, c.button, {}, QPoint(30, 12));
        EXPECT_EQ(hosted.button->Fields().ButtonState, c.stateWhileDown);
        QTest::mouseRelease(hosted.button, c.button, {}, QPoint(30, 12));
    }
    EXPECT_EQ(log.entries, c.entries);
    EXPECT_EQ(hosted.button->Fields().ButtonState, c.endState);
}

// Space acts as a press with button 0; its release is reported off the button (x -1) when the
// pointer is elsewhere. Enter neither presses nor clicks; the right button presses but never clicks.
INSTANTIATE_TEST_SUITE_P(Ways, Press, ::testing::Values(
    PressCase{"LeftButton", Qt::LeftButton, Qt::Key_unknown, true,
              {"MouseDown(1,0,30,12)", "MouseUp(1,0,30,12)", "Click"}, StateDown, StateHover},
    PressCase{"RightButton", Qt::RightButton, Qt::Key_unknown, true,
              {"MouseDown(2,0,30,12)", "MouseUp(2,0,30,12)"}, StateDown, StateHover},
    PressCase{"SpacePointerElsewhere", Qt::NoButton, Qt::Key_Space, false,
              {"MouseDown(0,0,0,0)", "KeyDown(32,0)", "MouseUp(0,0,-1,0)", "Click", "KeyUp(32,0)"}, StateDown, StateFocus},
    PressCase{"SpacePointerOver", Qt::NoButton, Qt::Key_Space, true,
              {"MouseDown(0,0,0,0)", "KeyDown(32,0)", "MouseUp(0,0,0,0)", "Click", "KeyUp(32,0)"}, StateDown, StateHover},
    PressCase{"Enter", Qt::NoButton, Qt::Key_Return, false,
              {"KeyDown(13,0)", "KeyPress(13)", "KeyUp(13,0)"}, StateFocus, StateFocus}),
    [](const auto& info) { return std::string(info.param.name); });

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

// To assistive tools it is a push button named by its caption (or a given name) that Press clicks;
// disabled, it raises nothing by any way in and keeps its look.
TEST(Interaction, AccessiblePressClicksAndADisabledButtonRaisesNothing) {
    HostedButton hosted(75, 25, "Pauze");
    EventLog log(*hosted.button);
    QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(hosted.button);
    ASSERT_TRUE(accessible != nullptr && accessible->actionInterface() != nullptr);
    EXPECT_EQ(accessible->role(), QAccessible::Button);
    EXPECT_EQ(accessible->text(QAccessible::Name), "Pauze");
    accessible->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_EQ(log.entries, Entries{"Click"});
    hosted.button->setAccessibleName("Afsluiten");
    EXPECT_EQ(accessible->text(QAccessible::Name), "Afsluiten") << "a given name wins over the caption";

    log.entries.clear();
    hosted.button->SetEnabled(false);
    hosted.button->setFocus();
    EXPECT_TRUE(accessible->state().disabled);
    accessible->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    hosted.PointAt(QPoint(30, 12));
    QTest::mouseClick(hosted.button, Qt::LeftButton, {}, QPoint(30, 12));
    QTest::keyClick(hosted.button, Qt::Key_Space);
    QTest::keyClick(hosted.button, Qt::Key_A);
    std::int32_t effect = 1, allowed = 1;
    DataObject data = nullptr;
    hosted.button->Surface_OLECompleteDrag(effect);
    hosted.button->Surface_OLEStartDrag(data, allowed);
    EXPECT_TRUE(log.entries.empty());
    EXPECT_EQ(hosted.button->Fields().ButtonState, StateDisabled);
}

// Every move inside raises MouseIn; leaving raises one MouseOut once the hover timer notices,
// also when the button was disabled under the pointer, which then stays disabled.
class Leaving : public ::testing::TestWithParam<bool> {};

TEST_P(Leaving, EveryMoveInsideRaisesMouseInAndLeavingRaisesOneMouseOut) {
    const bool disableInside = GetParam();
    HostedButton hosted;
    EventLog log(*hosted.button);
    for (const int x : {10, 20, 30}) hosted.PointAt(QPoint(x, 10));
    EXPECT_EQ(log.Count("MouseIn"), log.Count("MouseMove"));
    EXPECT_GE(log.Count("MouseIn"), 3);
    if (disableInside) hosted.button->SetEnabled(false);
    hosted.PointAway();
    ASSERT_TRUE(WaitForMouseOut(log));
    QTest::qWait(50);
    EXPECT_EQ(log.Count("MouseOut"), 1);
    EXPECT_EQ(hosted.button->Fields().ButtonState, disableInside ? StateDisabled : StateNormal);
    EXPECT_FALSE(hosted.button->HasHoverTimer());
    if (!disableInside) {
        hosted.PointAt(QPoint(10, 10));
        hosted.button->setFocus();
        EXPECT_EQ(hosted.button->Fields().ButtonState, StateHover) << "focus under the pointer keeps hover";
    }
}

INSTANTIATE_TEST_SUITE_P(Enabled, Leaving, ::testing::Values(false, true),
                         [](const auto& info) { return std::string(info.param ? "DisabledInside" : "StayingEnabled"); });

// At run time disabling takes the button out of the tab order and enabling puts back the tab stop
// it had at its first disabling, even when changed since; at design time the tab stop is left alone.
TEST(TabStop, EnabledTakesTheButtonOutOfTheChainAndBackOnlyAtRunTime) {
    HostedButton inChain, outOfChain, designed;
    inChain.button->SetEnabled(false);
    EXPECT_FALSE(inChain.button->ExtenderTabStop());
    inChain.button->SetEnabled(true);
    EXPECT_TRUE(inChain.button->ExtenderTabStop());
    inChain.button->SetExtenderTabStop(false);
    inChain.button->SetEnabled(true);
    EXPECT_TRUE(inChain.button->ExtenderTabStop()) << "a saved tab stop is never forgotten";
    outOfChain.button->SetExtenderTabStop(false);
    outOfChain.button->SetEnabled(false);
    outOfChain.button->SetEnabled(true);
    EXPECT_FALSE(outOfChain.button->ExtenderTabStop());
    designed.button->SetAmbientUserMode(false);
    designed.button->SetEnabled(false);
    EXPECT_TRUE(designed.button->ExtenderTabStop());
}

}  // namespace
}  // namespace tunekist::testing
