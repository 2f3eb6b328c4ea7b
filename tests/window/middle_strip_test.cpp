// The middle strip as the real window shows it: the progress bar's pixels, and the volume
// slider's events from real mouse, key and wheel input, with the text the program then gives it.
#include <QPainter>
#include <QStyle>
#include <QStyleOptionSlider>
#include <QTest>
#include <QToolTip>
#include <QWheelEvent>

#include "playback/progress_bar.h"
#include "tests/support/player_window.h"

namespace tunekist::test {
namespace {

// Bars shown one after the other (then erased, when asked), and what the window shows after.
struct BarCase {
    const char* name;
    std::vector<std::pair<double, std::int32_t>> fills;  // BarX, Grootte
    bool reset;
    int topRow;  // the first green row; 200 for none
    const char* caption;
};

class BarPixelsTest : public QuietWindowTest, public ::testing::WithParamInterface<BarCase> {};

// Columns 0 to 41 fill green from the bottom up; 42 to 45 stay background.
TEST_P(BarPixelsTest, FillsColumnsZeroToFortyOneFromTheBottomUp) {
    QtLabel barLabel(*window->BarLabel);
    for (const auto& [BarX, Grootte] : GetParam().fills) ShowBar(BarX, Grootte, *window->Bar, barLabel);
    if (GetParam().reset) window->Bar->ResetPicture();
    const QImage image = window->Bar->grab().toImage();
    QImage expected(46, 200, image.format());
    expected.fill(QColor(30, 0, 0));
    QPainter(&expected).fillRect(0, GetParam().topRow, 42, 200 - GetParam().topRow, QColor(100, 200, 50));
    EXPECT_EQ(image, expected);
    EXPECT_EQ(window->BarLabel->text(), GetParam().caption);
}

// A lower fill paints over the earlier one without erasing it; only a reset erases. 100 x BarX
// is rounded half to even, then divided truncating.
INSTANTIATE_TEST_SUITE_P(
    Percentages, BarPixelsTest,
    ::testing::Values(BarCase{"Zero", {{0.004, 100}}, false, 197, "0%"},
                      BarCase{"EarlierFillStaysUnderALowerOne", {{90, 180}, {45, 180}}, false, 97, "25%"},
                      BarCase{"ResetErasesTheBar", {{90, 180}}, true, 200, "50%"},
                      BarCase{"HalfPercentRoundsToEven", {{0.025, 1}}, false, 193, "2%"},
                      BarCase{"RoundedThenTruncated", {{199, 200}}, false, 0, "99%"},
                      BarCase{"NoLengthKeepsTheLastFill", {{37, 100}, {5, 0}}, false, 123, "37%"}),
    [](const auto& info) { return std::string(info.param.name); });

// QSlider keeps the options it paints with to itself and its subclasses.
struct SliderStyle : QSlider {
    using QSlider::initStyleOption;
};

enum Input { kKey, kClickThumb, kClickTrack, kWheelTowardsTheUser, kDragDown };

struct InputCase {
    const char* name;
    int start;
    Input input;
    Qt::Key key;
    int value;
    std::vector<std::string> events;
};

// Every event records its name (and the value, for a name ending in a space; the button, for
// MouseDown) and goes on.
class SliderInput : public QuietWindowTest, public ::testing::WithParamInterface<InputCase> {
protected:
    SliderInput() {
        for (auto [event, name] :
             {std::pair{&slider.Click, "Click"}, {&slider.Scroll, "Scroll "}, {&slider.Change, "Change "}})
            *event = [this, name = std::string(name), handler = *event] {
                events.push_back(name.ends_with(' ') ? name + std::to_string(slider.value()) : name);
                handler();
            };
        slider.MouseDown = [this, handler = slider.MouseDown](std::int16_t button, auto... rest) {
            events.push_back("MouseDown " + std::to_string(button));
            handler(button, rest...);
        };
    }

    QPoint Thumb() const {
        QStyleOptionSlider option;
        (slider.*&SliderStyle::initStyleOption)(&option);
        return slider.style()->subControlRect(QStyle::CC_Slider, &option, QStyle::SC_SliderHandle, &slider).center();
    }

    VolumeSlider& slider = *window->VolSlider;
    std::vector<std::string> events;
};

// 0, the loudest, has its thumb at the top; 20 at the bottom. Steps are 1 and 5. Held, the thumb
// shows the text beside it; every move is a Scroll, the Change comes when it is let go.
TEST_P(SliderInput, MovesTheThumbThatWayAndRaisesItsEvents) {
    const InputCase& input = GetParam();
    slider.setValue(input.start);
    events.clear();
    const QPoint thumb = Thumb();
    const QPoint at(thumb.x(), input.input == kClickTrack ? slider.height() - 5 : thumb.y());
    QString tipWhileHeld;
    QWheelEvent wheel(at, slider.mapToGlobal(at), {}, {0, -120}, Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase,
                      false);
    if (input.input == kKey) QTest::keyClick(&slider, input.key);
    if (input.input == kWheelTowardsTheUser) QCoreApplication::sendEvent(&slider, &wheel);
    if (input.input == kClickThumb || input.input == kClickTrack) QTest::mouseClick(&slider, Qt::LeftButton, {}, at);
    if (input.input == kDragDown) {
        QTest::mousePress(&slider, Qt::LeftButton, {}, at);
        QTest::mouseMove(&slider, at + QPoint(0, 40));
        tipWhileHeld = QToolTip::isVisible() ? QToolTip::text() : "";
        QTest::mouseRelease(&slider, Qt::LeftButton, {}, at + QPoint(0, 40));
    }
    EXPECT_EQ(slider.value(), input.value);
    const int moved = Thumb().y() - thumb.y();
    EXPECT_EQ((moved > 0) - (moved < 0), (input.value > input.start) - (input.value < input.start));
    EXPECT_EQ(events, input.events);
    const QString tip = QString("Volume %1%").arg(100 - 5 * input.value);
    EXPECT_EQ(slider.toolTip(), tip);
    EXPECT_EQ(tipWhileHeld, input.input == kDragDown ? tip : "");
}

// On the thumb a press only clicks; on the track below it, it steps a page.
INSTANTIATE_TEST_SUITE_P(
    Inputs, SliderInput,
    ::testing::Values(InputCase{"PageUp", 7, kKey, Qt::Key_PageUp, 2, {"Change 2"}},
                      InputCase{"UpAtTop", 1, kKey, Qt::Key_Up, 0, {"Change 0"}},
                      InputCase{"PageDownNearBottom", 18, kKey, Qt::Key_PageDown, 20, {"Change 20"}},
                      InputCase{"ClickOnTheThumb", 5, kClickThumb, {}, 5, {"MouseDown 1", "Click"}},
                      InputCase{"ClickOnTheTrack", 0, kClickTrack, {}, 5, {"MouseDown 1", "Change 5", "Click"}},
                      InputCase{"WheelTurnsItDown", 10, kWheelTowardsTheUser, {}, 13, {"Change 13"}},
                      InputCase{"Drag", 0, kDragDown, {}, 4, {"MouseDown 1", "Scroll 4", "Change 4", "Click"}}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace tunekist::test
