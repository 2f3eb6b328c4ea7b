// The window's volume slider: the events real mouse, key and wheel input raise, each recorded
// on its way to the program's handler, and the text the program then gives it.
#include <QStyle>
#include <QStyleOptionSlider>
#include <QTest>
#include <QToolTip>
#include <QWheelEvent>
#include <string>
#include <vector>

#include "tests/support/player_window.h"

namespace tunekist::test {
namespace {

using Events = std::vector<std::string>;

class VolumeSliderTest : public QuietWindowTest {
protected:
    VolumeSliderTest() {
        Record(slider.Click, "Click");
        Record(slider.Scroll, "Scroll ");
        Record(slider.Change, "Change ");
        slider.MouseDown = [this, handler = slider.MouseDown](std::int16_t button, std::int16_t shift, float x,
                                                                float y) {
            events.push_back("MouseDown " + std::to_string(button));
            handler(button, shift, x, y);
        };
    }

    // `event` records its name (and the value, when the name ends in a space) and goes on.
    void Record(std::function<void()>& event, const std::string& name) {
        event = [this, name, handler = event] {
            events.push_back(name.ends_with(' ') ? name + std::to_string(slider.value()) : name);
            handler();
        };
    }

    QRect Handle() {
        QStyleOptionSlider option;
        option.initFrom(&slider);
        option.orientation = slider.orientation();
        option.minimum = slider.minimum();
        option.maximum = slider.maximum();
        option.sliderPosition = slider.sliderPosition();
        option.sliderValue = slider.value();
        option.upsideDown = !slider.invertedAppearance();
        option.rect = slider.rect();
        return slider.style()->subControlRect(QStyle::CC_Slider, &option, QStyle::SC_SliderHandle, &slider);
    }

    VolumeSlider& slider = *window->VolSlider;
    Events events;
};

struct KeyCase {
    const char* name;
    Qt::Key key;
    int start;
    int value;
};

void PrintTo(const KeyCase& keyCase, std::ostream* out) { *out << keyCase.name; }

class SliderKeyTest : public VolumeSliderTest, public ::testing::WithParamInterface<KeyCase> {};

// 0, the loudest, has its thumb at the top; 20 at the bottom. Steps are 1 and 5.
TEST_P(SliderKeyTest, KeyMovesTheThumbThatWayAndRaisesOneChange) {
    slider.setValue(GetParam().start);
    events.clear();
    const int thumbBefore = Handle().center().y();
    QTest::keyClick(&slider, GetParam().key);
    EXPECT_EQ(slider.value(), GetParam().value);
    EXPECT_EQ(Handle().center().y() < thumbBefore, GetParam().value < GetParam().start);
    EXPECT_NE(Handle().center().y(), thumbBefore);
    EXPECT_EQ(events, Events{"Change " + std::to_string(GetParam().value)});
    EXPECT_EQ(slider.toolTip().toStdString(), "Volume " + std::to_string(100 - 5 * GetParam().value) + "%");
}

INSTANTIATE_TEST_SUITE_P(Keys, SliderKeyTest,
                         ::testing::Values(KeyCase{"Up", Qt::Key_Up, 5, 4}, KeyCase{"Down", Qt::Key_Down, 5, 6},
                                           KeyCase{"PageUp", Qt::Key_PageUp, 7, 2},
                                           KeyCase{"PageDown", Qt::Key_PageDown, 7, 12},
                                           KeyCase{"UpAtTop", Qt::Key_Up, 1, 0},
                                           KeyCase{"PageDownNearBottom", Qt::Key_PageDown, 18, 20}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(VolumeSliderTest, DragGivesMouseDownScrollsOneChangeAndClick) {
    const QPoint start = Handle().center();
    QTest::mousePress(&slider, Qt::LeftButton, {}, start);
    // Down to about a quarter of the way, then let go.
    for (int step = 1; step <= 4; ++step) QTest::mouseMove(&slider, start + QPoint(0, step * 10));
    const int dragged = slider.value();
    ASSERT_GT(dragged, 0);
    const std::string draggedText = "Volume " + std::to_string(100 - 5 * dragged) + "%";
    EXPECT_EQ(slider.Text(), draggedText);
    EXPECT_TRUE(QToolTip::isVisible());
    EXPECT_EQ(QToolTip::text().toStdString(), draggedText);
    QTest::mouseRelease(&slider, Qt::LeftButton, {}, start + QPoint(0, 40));

    ASSERT_GE(events.size(), 4u);
    EXPECT_EQ(events.front(), "MouseDown 1");
    for (std::size_t i = 1; i + 2 < events.size(); ++i) EXPECT_EQ(events[i].rfind("Scroll ", 0), 0u) << events[i];
    EXPECT_EQ(events[events.size() - 3], "Scroll " + std::to_string(dragged));
    EXPECT_EQ(events[events.size() - 2], "Change " + std::to_string(dragged));
    EXPECT_EQ(events.back(), "Click");
}

// Press and release on the thumb (at 5) only clicks; on the track below it (at 0) it steps a page.
class SliderClickTest : public VolumeSliderTest, public ::testing::WithParamInterface<bool> {};

TEST_P(SliderClickTest, GivesMouseDownAChangeOnlyOnTheTrackAndClick) {
    const bool onThumb = GetParam();
    if (onThumb) slider.setValue(5);
    events.clear();
    const QPoint at(Handle().center().x(), onThumb ? Handle().center().y() : slider.height() - 5);
    QTest::mousePress(&slider, Qt::LeftButton, {}, at);
    QTest::mouseRelease(&slider, Qt::LeftButton, {}, at);
    EXPECT_EQ(slider.value(), 5);
    EXPECT_EQ(events, onThumb ? (Events{"MouseDown 1", "Click"}) : (Events{"MouseDown 1", "Change 5", "Click"}));
    EXPECT_EQ(slider.Text(), "Volume 75%");
    EXPECT_EQ(slider.toolTip(), "Volume 75%");
}

INSTANTIATE_TEST_SUITE_P(Places, SliderClickTest, ::testing::Values(true, false),
                         [](const auto& info) { return std::string(info.param ? "Thumb" : "Track"); });

TEST_F(VolumeSliderTest, WheelTowardsTheUserTurnsItDownWithOneChangePerStep) {
    slider.setValue(10);
    events.clear();
    const QPoint centre = slider.rect().center();
    QWheelEvent wheel(centre, slider.mapToGlobal(centre), QPoint(), QPoint(0, -120), Qt::NoButton, Qt::NoModifier,
                      Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(&slider, &wheel);
    EXPECT_GT(slider.value(), 10);
    EXPECT_EQ(events, Events{"Change " + std::to_string(slider.value())});
}

}  // namespace
}  // namespace tunekist::test
