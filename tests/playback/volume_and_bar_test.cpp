#include <gtest/gtest.h>

#include "playback/progress_bar.h"
#include "playback/volume.h"
#include "tests/support/fake_controls.h"
#include "tests/support/virtual_engine.h"

namespace tunekist {
namespace {

using test::FakeLabel;
using test::FakePictureBox;
using test::FakeSlider;

struct VolumeCase {
    std::int32_t value;
    const char* text;
    std::int32_t level;
};
void PrintTo(const VolumeCase& c, std::ostream* os) { *os << "value " << c.value; }

class VolumeMapping : public ::testing::TestWithParam<VolumeCase> {};

TEST_P(VolumeMapping, SliderValueGivesTextAndEngineLevel) {
    auto world = std::make_shared<test::VirtualWorld>();
    PlaybackState state;
    state.Graph = test::MakeVirtualEngine(world);
    FakeSlider slider;
    slider.value = GetParam().value;
    VolumeControl volume(state, slider);

    volume.AdjustVolume();

    EXPECT_EQ(slider.text, GetParam().text);
    EXPECT_EQ(world->LastEngine()->Volume(), GetParam().level);
    EXPECT_EQ(state.GraphAudio, state.Graph) << "the volume reference is taken afresh from Graph";
}

INSTANTIATE_TEST_SUITE_P(Slider, VolumeMapping,
                         ::testing::Values(VolumeCase{0, "Volume 100%", 0}, VolumeCase{5, "Volume 75%", -1000},
                                           VolumeCase{7, "Volume 65%", -1400}, VolumeCase{10, "Volume 50%", -2000},
                                           VolumeCase{20, "Volume 0%", -4000}));

TEST(VolumeControl, WithoutEngineAdjustDoesNothingButEventsStillSetText) {
    PlaybackState state;
    FakeSlider slider;
    slider.value = 5;
    VolumeControl volume(state, slider);
    volume.AdjustVolume();
    EXPECT_EQ(slider.textsSet, 0);
    volume.VolSlider_Scroll();
    EXPECT_EQ(slider.text, "Volume 75%");
    EXPECT_EQ(slider.textsSet, 1);
}

TEST(VolumeControl, ScrollWithEngineSetsTextTwiceAndIgnoresARefusedLevel) {
    auto world = std::make_shared<test::VirtualWorld>();
    PlaybackState state;
    state.Graph = test::MakeVirtualEngine(world);
    FakeSlider slider;
    slider.value = 10;
    VolumeControl volume(state, slider);
    world->FailOperation("put_Volume");
    volume.VolSlider_Change();
    EXPECT_EQ(slider.textsSet, 2);
    EXPECT_EQ(slider.text, "Volume 50%");
    EXPECT_EQ(world->LastEngine()->Volume(), 0) << "a refused level keeps the old one";
}

TEST(VolumeLevel, OverflowFails) { EXPECT_THROW(VolumeLevel(INT32_MIN), std::overflow_error); }

class ShowBarTest : public ::testing::Test {
protected:
    void SetUp() override { BarPercent = 0, BarFill = 0; }
    FakePictureBox bar;
    FakeLabel label;
};

TEST_F(ShowBarTest, ZeroDurationKeepsThePreviousPercentage) {
    ShowBar(37.0, 100, bar, label);
    ShowBar(5.0, 0, bar, label);
    EXPECT_EQ(BarPercent, 37);
    EXPECT_EQ(label.caption, "37%");
    EXPECT_EQ(bar.boxes.back().y2, 197 - 74);
}

TEST_F(ShowBarTest, PercentageRoundsHalvesToEvenThenTruncates) {
    ShowBar(2.5 / 100, 1, bar, label);  // R(2.5) = 2
    EXPECT_EQ(BarPercent, 2);
    EXPECT_EQ(BarFill, 4);
    EXPECT_EQ(bar.boxes.at(0), (FakePictureBox::Box{0, 200, 41, 193, kBarColor}));
    EXPECT_EQ(label.caption, "2%");
    EXPECT_EQ(bar.refreshes, 1);
    EXPECT_EQ(label.refreshes, 1);
    ShowBar(199.0, 200, bar, label);  // 19900 / 200 = 99.5 truncates to 99
    EXPECT_EQ(BarPercent, 99);
    ShowBar(100.0, 100, bar, label);
    EXPECT_EQ(bar.boxes.back().y2, -3) << "at 100% the top lies above the picture";
}

}  // namespace
}  // namespace tunekist
