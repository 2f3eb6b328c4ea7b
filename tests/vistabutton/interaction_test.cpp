// Mouse, keyboard, focus, hover, tab stop and accessibility, driven through the toolkit's real
// input path: each row is a sequence of input, the looks on the way and the events it raised.
#include "tests/vistabutton/button_fixture.h"

namespace tunekist::testing {
namespace {

// Steps of input (see HostedButton::Do), then every event they raised, in order.
struct Sequence {
    const char* name;
    const char* steps;
    const char* events;
};

class Input : public ::testing::TestWithParam<Sequence> {};

TEST_P(Input, RaisesItsEventsInOrderAndShowsItsLooks) {
    HostedButton hosted;
    hosted.Do(GetParam().steps);
    EXPECT_EQ(hosted.log, GetParam().events);
}

// Space acts as a press with button 0; its release is reported off the button (x -1) when the
// pointer is elsewhere. Enter neither presses nor clicks; the right button presses but never
// clicks. A held button keeps its look when dragged off and raises no Click released there.
INSTANTIATE_TEST_SUITE_P(
    Sequences, Input,
    ::testing::ValuesIn(std::vector<Sequence>{
        {"RightClick", "@30,12 rpress =2 rrelease =1",
         "MouseMove(0,0,30,12) MouseIn MouseDown(2,0,30,12) MouseUp(2,0,30,12) "},
        {"SpacePointerElsewhere", "focus =3 space =2 spaceup =3",
         "MouseDown(0,0,0,0) KeyDown(32,0) MouseUp(0,0,-1,0) Click KeyUp(32,0) "},
        {"SpacePointerOver", "focus @30,12 space =2 spaceup =1",
         "MouseMove(0,0,30,12) MouseIn MouseDown(0,0,0,0) KeyDown(32,0) MouseUp(0,0,0,0) Click KeyUp(32,0) "},
        {"Enter", "focus enter =3", "KeyDown(13,0) KeyPress(13) KeyUp(13,0) "},
        {"DragOffAndReleaseOutside", "@30,12 press @-15,-15 =1 out =1 release =3",
         "MouseMove(0,0,30,12) MouseIn MouseDown(1,0,30,12) MouseMove(1,0,-15,-15) MouseOut MouseUp(1,0,-15,-15) "},
        {"AssistivePress", "a11y", "Click "},
        {"LeavingRaisesOneMouseOut", "@10,10 @20,10 @30,10 =1 away out =0",
         "MouseMove(0,0,10,10) MouseIn MouseMove(0,0,20,10) MouseIn MouseMove(0,0,30,10) MouseIn MouseOut "},
        {"DisabledUnderThePointer", "@10,10 disable away out =4", "MouseMove(0,0,10,10) MouseIn MouseOut "},
        {"FocusUnderThePointerKeepsHover", "@10,10 focus =1", "MouseMove(0,0,10,10) MouseIn "},
        {"FocusComesAndGoes", "focus =3 blur =0", ""},
        {"DisabledRaisesNothing", "disable =4 focus a11y @30,12 press release space spaceup enter drag =4", ""},
        {"ClickWhenEnabledAgain", "disable =4 enable =0 @30,12 press =2 release =1",
         "MouseMove(0,0,30,12) MouseIn MouseDown(1,0,30,12) MouseUp(1,0,30,12) Click "},
        // At run time a disabled button leaves the tab order and comes back with the tab stop it had
        // at its first disabling, even when changed since; at design time the tab stop is left alone.
        {"TabStopComesBack", "disable tab- enable tab+ notab enable tab+", ""},
        {"NoTabStopStaysOff", "notab disable enable tab-", ""},
        {"DesignTimeTabStop", "design disable tab+", ""}}),
    [](const auto& info) { return std::string(info.param.name); });

// To assistive tools it is a push button named by its caption, or by a name given to it, and
// heard as pressed while it is held.
TEST(Accessible, IsAPushButtonNamedByItsCaption) {
    HostedButton hosted(75, 25, "Pauze");
    QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(hosted.button);
    EXPECT_EQ(accessible->role(), QAccessible::Button);
    EXPECT_EQ(accessible->text(QAccessible::Name), "Pauze");
    EXPECT_FALSE(accessible->state().disabled);
    hosted.Do("@30,12 press");
    EXPECT_TRUE(accessible->state().pressed);
    hosted.Do("release disable");
    hosted.button->setAccessibleName("Afsluiten");
    EXPECT_EQ(accessible->text(QAccessible::Name), "Afsluiten");
    EXPECT_TRUE(accessible->state().disabled);
}

}  // namespace
}  // namespace tunekist::testing
