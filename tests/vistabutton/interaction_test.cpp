// Mouse, keyboard, focus, hover, tab stop and accessibility, driven through the toolkit's real
// input path: each row is a sequence of input, the events it raises and the looks on the way.
#include <QAccessible>
#include <gtest/gtest.h>
#include <sstream>

#include "tests/vistabutton/button_fixture.h"

namespace tunekist::testing {
namespace {

// Steps, separated by spaces:
//   @x,y        point at (x, y) of the button (outside it too); presses and releases happen there
//   press release rpress rrelease   the left or the right mouse button
//   space spaceup enter key-a       keys on the button
//   focus blur  the keyboard focus; away: the pointer leaves without a move
//   out         wait (bounded) for the hover timer to notice the pointer has gone, then a while more
//   a11y        an assistive tool's Press; drag: two drag-and-drop notifications of the surface
//   disable enable notab design     the properties Enabled, the extender's TabStop, design time
//   =N          the button shows state N now; tab+ tab-: it is (not) in the tab order now
struct Sequence {
    const char* name;
    const char* steps;
    const char* events;
};

void Perform(HostedButton& hosted, const std::string& steps) {
    VistaButton& b = *hosted.button;
    QPoint at(30, 12);
    std::istringstream in(steps);
    for (std::string step; in >> step;) {
        SCOPED_TRACE(step);
        if (step[0] == '@') {
            at = QPoint(std::stoi(step.substr(1)), std::stoi(step.substr(step.find(',') + 1)));
            hosted.PointAt(at);
        } else if (step[0] == '=') {
            EXPECT_EQ(b.Fields().ButtonState, std::stoi(step.substr(1)));
        } else if (step.ends_with("press")) {
            QTest::mousePress(&b, step == "press" ? Qt::LeftButton : Qt::RightButton, {}, at);
        } else if (step.ends_with("release")) {
            QTest::mouseRelease(&b, step == "release" ? Qt::LeftButton : Qt::RightButton, {}, at);
        } else if (step == "space") {
            QTest::keyPress(&b, Qt::Key_Space);
        } else if (step == "spaceup") {
            QTest::keyRelease(&b, Qt::Key_Space);
        } else if (step == "enter" || step == "key-a") {
            QTest::keyClick(&b, step == "enter" ? Qt::Key_Return : Qt::Key_A);
        } else if (step == "focus" || step == "blur") {
            step == "focus" ? b.setFocus() : b.clearFocus();
        } else if (step == "away") {
            hosted.PointAway();
        } else if (step == "out") {
            EXPECT_TRUE(QTest::qWaitFor([&] { return hosted.log.find("MouseOut") != std::string::npos; }, 5000));
            QTest::qWait(50);
            EXPECT_FALSE(b.HasHoverTimer());
        } else if (step == "a11y") {
            QAccessible::queryAccessibleInterface(&b)->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
        } else if (std::int32_t effect = 1; step == "drag") {
            DataObject data = nullptr;
            b.Surface_OLECompleteDrag(effect), b.Surface_OLEStartDrag(data, effect);
        } else if (step.ends_with("able")) {
            b.SetEnabled(step == "enable");
        } else if (step == "notab" || step == "design") {
            step == "notab" ? b.SetExtenderTabStop(false) : b.SetAmbientUserMode(false);
        } else if (step.starts_with("tab")) {
            EXPECT_EQ(b.ExtenderTabStop(), step == "tab+");
        } else {
            FAIL() << "no such step";
        }
    }
}

class Input : public ::testing::TestWithParam<Sequence> {};

TEST_P(Input, RaisesItsEventsInOrderAndShowsItsLooks) {
    HostedButton hosted;
    Perform(hosted, GetParam().steps);
    EXPECT_EQ(hosted.log, GetParam().events);
}

// Space acts as a press with button 0; its release is reported off the button (x -1) when the
// pointer is elsewhere. Enter neither presses nor clicks; the right button presses but never
// clicks. A held button keeps its look when dragged off and raises no Click released there.
INSTANTIATE_TEST_SUITE_P(Sequences, Input, ::testing::Values(
    Sequence{"LeftClick", "@30,12 press =2 release =1",
              "MouseMove(0,0,30,12) MouseIn MouseDown(1,0,30,12) MouseUp(1,0,30,12) Click "},
    Sequence{"RightClick", "@30,12 rpress =2 rrelease =1",
              "MouseMove(0,0,30,12) MouseIn MouseDown(2,0,30,12) MouseUp(2,0,30,12) "},
    Sequence{"SpacePointerElsewhere", "focus =3 space =2 spaceup =3",
              "MouseDown(0,0,0,0) KeyDown(32,0) MouseUp(0,0,-1,0) Click KeyUp(32,0) "},
    Sequence{"SpacePointerOver", "focus @30,12 space =2 spaceup =1",
              "MouseMove(0,0,30,12) MouseIn MouseDown(0,0,0,0) KeyDown(32,0) MouseUp(0,0,0,0) Click KeyUp(32,0) "},
    Sequence{"Enter", "focus enter =3",
              "KeyDown(13,0) KeyPress(13) KeyUp(13,0) "},
    Sequence{"DragOffAndReleaseOutside", "@30,12 press @-15,-15 =1 out =1 release =3",
              "MouseMove(0,0,30,12) MouseIn MouseDown(1,0,30,12) MouseMove(1,0,-15,-15) MouseOut MouseUp(1,0,-15,-15) "},
    Sequence{"AssistivePress", "a11y", "Click "},
    Sequence{"LeavingRaisesOneMouseOut", "@10,10 @20,10 @30,10 =1 away out =0",
              "MouseMove(0,0,10,10) MouseIn MouseMove(0,0,20,10) MouseIn MouseMove(0,0,30,10) MouseIn MouseOut "},
    Sequence{"DisabledUnderThePointer", "@10,10 disable away out =4",
              "MouseMove(0,0,10,10) MouseIn MouseOut "},
    Sequence{"FocusUnderThePointerKeepsHover", "@10,10 focus =1",
              "MouseMove(0,0,10,10) MouseIn "},
    Sequence{"FocusComesAndGoes", "focus =3 blur =0", ""},
    Sequence{"DisabledRaisesNothing", "disable =4 focus a11y @30,12 press release space spaceup key-a drag =4", ""},
    Sequence{"EnabledAgain", "disable =4 enable =0 @30,12 press release =1",
              "MouseMove(0,0,30,12) MouseIn MouseDown(1,0,30,12) MouseUp(1,0,30,12) Click "},
    // At run time a disabled button leaves the tab order and comes back with the tab stop it had
    // at its first disabling, even when changed since; at design time the tab stop is left alone.
    Sequence{"TabStopComesBack", "disable tab- enable tab+ notab enable tab+", ""},
    Sequence{"NoTabStopStaysOff", "notab disable enable tab-", ""},
    Sequence{"DesignTimeTabStop", "design disable tab+", ""}),
    [](const auto& info) { return std::string(info.param.name); });

// To assistive tools it is a push button named by its caption, or by a name given to it.
TEST(Accessible, IsAPushButtonNamedByItsCaption) {
    HostedButton hosted(75, 25, "Pauze");
    QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(hosted.button);
    EXPECT_EQ(accessible->role(), QAccessible::Button);
    EXPECT_EQ(accessible->text(QAccessible::Name), "Pauze");
    hosted.button->setAccessibleName("Afsluiten");
    EXPECT_EQ(accessible->text(QAccessible::Name), "Afsluiten");
    EXPECT_FALSE(accessible->state().disabled);
    hosted.button->SetEnabled(false);
    EXPECT_TRUE(accessible->state().disabled);
}

}  // namespace
}  // namespace tunekist::testing
