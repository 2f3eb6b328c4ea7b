#include <QAccessible>
#include <gtest/gtest.h>

#include "tests/vistabutton/button_fixture.h"

namespace tunekist::testing {
namespace {

TEST(VistaButtonAccessibility, IsAPushButtonNamedByItsCaptionOrAGivenNameThatPressClicks) {
    HostedButton hosted(75, 25, "Pauze");
    int clicks = 0;
    hosted.button->Events().Click = [&] { ++clicks; };

    QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(hosted.button);
    ASSERT_NE(accessible, nullptr);
    EXPECT_EQ(accessible->role(), QAccessible::Button);
    EXPECT_EQ(accessible->text(QAccessible::Name), "Pauze");
    ASSERT_NE(accessible->actionInterface(), nullptr);
    accessible->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_EQ(clicks, 1);

    hosted.button->SetEnabled(false);
    EXPECT_TRUE(accessible->state().disabled);
    accessible->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_EQ(clicks, 1) << "a disabled button does not click";

    hosted.button->setAccessibleName("Afsluiten");
    EXPECT_EQ(accessible->text(QAccessible::Name), "Afsluiten") << "a given name wins over the caption";
}

}  // namespace
}  // namespace tunekist::testing
