// The volume slider through the shipped engine: the level heard against the file's own level.
#include <gtest/gtest.h>

#include <cmath>
#include <chrono>
#include <thread>

#include "tests/e2e/capture.h"
#include "tests/support/real_main.h"
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

class SliderSetting : public RealMainTest, public ::testing::WithParamInterface<Setting> {};

// Moved before the first song, only the slider's text changes and the song then starts at its
// level; moved while a song is paused, the rest of that song is heard at the new level. The song
// paused at once starts at the bottom of the slider, 40 dB down, so that whatever the device took
// between Play and Pauze (more on a loaded machine) adds frames but next to no energy: the level
// is the energy heard spread over the song's own length.
TEST_P(SliderSetting, SetsTheLevelTheSongIsHeardAt) {
    const Setting& setting = GetParam();
    const std::string song = CachedTone(2.0, 440, {.amplitude = 0.5});
    if (setting.whilePaused) {
        VolSlider.value = 20;
        Queue("twee", song);
        main.Knop_Click(kPlay);
        main.Knop_Click(kPauze);
    }
    VolSlider.value = setting.value;
    main.volume.VolSlider_Scroll();
    EXPECT_EQ(VolSlider.text, setting.text);
    if (setting.whilePaused) {
        main.state.GraphPosition->put_CurrentPosition(0.0);
        main.Knop_Click(kPauze);
    } else {
        EXPECT_EQ(engines.Made(), 0);
        Queue("twee", song);
        main.Knop_Click(kPlay);
        EXPECT_EQ(VolSlider.text, setting.text);
    }
    ASSERT_TRUE(WaitForEnd());
    const std::vector<Heard> heard = HeardAfterClosing(main, engines);
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
