// The volume slider through the shipped engine: the level heard against the file's own level.
#include <gtest/gtest.h>

#include "tests/e2e/real_main_fixture.h"
#include "tests/support/test_audio.h"

namespace tunekist::test {
namespace {

struct Setting {
    std::int32_t value;
    const char* text;
    double decibels;
};

void PrintTo(const Setting& setting, std::ostream* out) { *out << "slider " << setting.value; }

class SliderBeforeTheFirstSong : public RealMainTest, public ::testing::WithParamInterface<Setting> {};

// The slider is moved while nothing plays: only its text changes, and the first song then starts
// at its level.
TEST_P(SliderBeforeTheFirstSong, SetsTheLevelTheSongIsHeardAt) {
    const Setting& setting = GetParam();
    VolSlider.value = setting.value;
    main.volume.VolSlider_Change();
    EXPECT_EQ(VolSlider.text, setting.text);
    EXPECT_EQ(engines.Made(), 0);

    const std::string song = CachedTone(2.0, 440, {.amplitude = 0.5});
    Queue("twee", song);
    main.Knop_Click(0);
    EXPECT_EQ(VolSlider.text, setting.text);
    WaitForEnd();
    const std::vector<Heard> heard = HeardAfterClosing();
    ASSERT_EQ(heard.size(), 1u);
    EXPECT_NEAR(heard[0].rmsDb - DecodedRmsDb(song), setting.decibels, 0.2);
    EXPECT_NEAR(heard[0].hz, 440.0, 2.0);
    EXPECT_NEAR(static_cast<double>(heard[0].frames), FramesOf(2.0), 10.0);
}

INSTANTIATE_TEST_SUITE_P(Values, SliderBeforeTheFirstSong,
                         ::testing::Values(Setting{0, "Volume 100%", 0.0}, Setting{5, "Volume 75%", -10.0},
                                           Setting{10, "Volume 50%", -20.0}, Setting{20, "Volume 0%", -40.0}),
                         [](const auto& info) { return "Value" + std::to_string(info.param.value); });

TEST_F(RealMainTest, SliderMovedWhilePausedSetsTheLevelOfTheRestOfTheSong) {
    const std::string song = CachedTone(4.0, 440, {.amplitude = 0.5});
    Queue("vier", song);
    main.Knop_Click(0);
    main.Knop_Click(1);
    VolSlider.value = 10;
    main.volume.VolSlider_Scroll();
    EXPECT_EQ(VolSlider.text, "Volume 50%");
    main.state.GraphPosition->put_CurrentPosition(0.0);
    main.Knop_Click(1);
    WaitForEnd();
    const std::vector<Heard> heard = HeardAfterClosing();
    ASSERT_EQ(heard.size(), 1u);
    // What played before the pause is a sliver at full level next to four seconds 20 dB down.
    EXPECT_NEAR(heard[0].rmsDb - DecodedRmsDb(song), -20.0, 0.5);
}

}  // namespace
}  // namespace tunekist::test
