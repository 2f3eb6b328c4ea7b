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

// QSlider keeps the options it paints with to itself and its subclasses.
struct SliderStyle : QSlider {
    using QSlider::initStyleOption;
};

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

    QPoint Thumb() const {
        QStyleOptionSlider option;
        (slider.*&SliderStyle::initStyleOption)(&option);
        return slider.style()->subControlRect(QStyle::CC_Slider, &option, QStyle::SC_SliderHandle, &slider).center();
    }

    VolumeSlider& slider = *window->VolSlider;
    Events events;
};

enum Input { kKey, kClickThumb, kClickTrack, kWheelTowardsTheUser };

struct InputCase {
    const char* name;
    int start;
    Input input;
    Qt::Key key;
    int value;
    Events events;
};

void PrintTo(const InputCase& input, std::ostream* out) { *out << input.name; }

class SliderInput : public VolumeSliderTest, public ::testing::WithParamInterface<InputCase> {};

// 0, the loudest, has its thumb at the top; 20 at the bottom. Steps are 1 and 5.
TEST_P(SliderInput, MovesTheThumbThatWayAndRaisesItsEvents) {
    const InputCase& input = GetParam();
    slider.setValue(input.start);
    events.clear();
    const QPoint thumb = Thumb();
    const QPoint at(thumb.x(), input.input == kClickTrack ? slider.height() - 5 : thumb.y());
    if (input.input == kKey) {
        QTest::keyClick(&slider, input.key);
    } else if (input.input == kWheelTowardsTheUser) {
        QWheelEvent wheel(at, slider.mapToGlobal(at), QPoint(), QPoint(0, -120), Qt::NoButton, Qt::NoModifier,
                          Qt::NoScrollPhase, false);
        QCoreApplication::sendEvent(&slider, &wheel);
    } else {
        QTest::mousePress(&slider, Qt::LeftButton, {}, at);
        QTest::mouseRelease(&slider, Qt::LeftButton, {}, at);
    }
    EXPECT_EQ(slider.value(), input.value);
    const int moved = Thumb().y() - thumb.y();
    EXPECT_EQ((moved > 0) - (moved < 0), (input.value > input.start) - (input.value < input.start));
    EXPECT_EQ(events, input.events);
    EXPECT_EQ(slider.toolTip().toStdString(), "Volume " + std::to_string(100 - 5 * input.value) + "%");
}

INSTANTIATE_TEST_SUITE_P(
    Inputs, SliderInput,
    ::testing::Values(InputCase{"Up", 5, kKey, Qt::Key_Up, 4, {"Change 4"}},
                      InputCase{"Down", 5, kKey, Qt::Key_Down, 6, {"Change 6"}},
                      InputCase{"PageUp", 7, kKey, Qt::Key_PageUp, 2, {"Change 2"}},
                      InputCase{"PageDown", 7, kKey, Qt::Key_PageDown, 12, {"Change 12"}},
                      InputCase{"UpAtTop", 1, kKey, Qt::Key_Up, 0, {"Change 0"}},
                      InputCase{"PageDownNearBottom", 18, kKey, Qt::Key_PageDown, 20, {"Change 20"}},
                      // On the thumb a press only clicks; on the track below it, it steps a page.
                      InputCase{"ClickOnTheThumb", 5, kClickThumb, {}, 5, {"MouseDown 1", "Click"}},
                      InputCase{"ClickOnTheTrack", 0, kClickTrack, {}, 5, {"MouseDown 1", "Change 5", "Click"}},
                      InputCase{"WheelTurnsItDown", 10, kWheelTowardsTheUser, {}, 13, {"Change 13"}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(VolumeSliderTest, DragGivesMouseDownScrollsOneChangeAndClick) {
    const QPoint start = Thumb();
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

}  // namespace
}  // namespace tunekist::test
