// The volume slider through the shipped engine: the level heard against the file's own level.
#include <gtest/gtest.h>

#include <cmath>
#include <chrono>
#include <thread>

#include "tests/support/player_window.h"
#include "tests/support/test_audio.h"

namespace tunekist::test {
namespace {

struct Setting {
    std::int32_t value;
    const char* text;
    double decibels;
    bool whilePaused;  // moved while the song is paused at its start, else before the first song
};

void PrintTo(const Setting& setting, std::ostream* out) {
    *out << "slider " << setting.value << (setting.whilePaused ? " while paused" : "");
}

class SliderSetting : public PlayerWindowTest, public ::testing::WithParamInterface<Setting> {};

// Moved before the first song, only the slider's text changes and the song then starts at its
// level; moved while a song is paused, the rest of that song is heard at the new level. The song
// paused at once starts at the bottom of the slider, 40 dB down, so that whatever the device took
// between Play and Pauze (more on a loaded machine) adds frames but next to no energy: the level
// is the energy heard spread over the song's own length.
TEST_P(SliderSetting, SetsTheLevelTheSongIsHeardAt) {
    const Setting& setting = GetParam();
    const std::string song = CachedTone(2.0, 440, {.amplitude = 0.5});
    if (setting.whilePaused) {
        window->VolSlider->setValue(20);
        Queue("twee", song);
        Press(kPlay);
        Press(kPauze);
    }
    // From the step beside it, so that the slider moves even to where it starts.
    window->VolSlider->setValue(setting.value + 1);
    window->VolSlider->setValue(setting.value);
    EXPECT_EQ(program().Controls().VolSlider.Text(), setting.text);
    if (setting.whilePaused) {
        program().state.GraphPosition->put_CurrentPosition(0.0);
        Press(kPauze);
    } else {
        EXPECT_EQ(engines.Made(), 0);
        Queue("twee", song);
        Press(kPlay);
        EXPECT_EQ(program().Controls().VolSlider.Text(), setting.text);
    }
    ASSERT_TRUE(WaitForEnd());
    const std::vector<Heard> heard = HeardAfterClosing();
    ASSERT_EQ(heard.size(), 1u);
    const double level = heard[0].rmsDb + 10 * std::log10(heard[0].frames / static_cast<double>(FramesOf(2.0)));
    EXPECT_NEAR(level - DecodedRmsDb(song), setting.decibels, 0.2);
    EXPECT_NEAR(heard[0].hz, 440.0, 2.0);
}

INSTANTIATE_TEST_SUITE_P(Values, SliderSetting,
                         ::testing::Values(Setting{0, "Volume 100%", 0.0, false}, Setting{5, "Volume 75%", -10.0, false},
                                           Setting{10, "Volume 50%", -20.0, false},
                                           Setting{20, "Volume 0%", -40.0, false},
                                           Setting{10, "Volume 50%", -20.0, true}),
                         [](const auto& info) {
                             return "Value" + std::to_string(info.param.value) +
                                    (info.param.whilePaused ? "WhilePaused" : "");
                         });

}  // namespace
}  // namespace tunekist::test
