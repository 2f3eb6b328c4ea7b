#include "tests/e2e/real_main_fixture.h"

#include <algorithm>
#include <filesystem>

#include "playback/progress_bar.h"

namespace tunekist::test {

RealMainTest::RealMainTest() { BarPercent = 0, BarFill = 0; }

RealMainTest::~RealMainTest() { main.Form_Unload(); }

void RealMainTest::Queue(const std::string& name, const std::string& path) {
    const std::filesystem::path file(path);
    File1.path = file.parent_path().string();
    ListView1.AddSong(name, "00:00", "1", file.filename().string());
    ListView1.selected = ListView1.RowCount();
    main.playlist.ListView1_ItemClick();
}

void RealMainTest::WaitForPosition(double seconds) const {
    const double target = std::min(seconds, Engine().get_Duration());
    ASSERT_TRUE(WaitUntil([&] { return Position() >= target; })) << "the song stuck at " << Position();
}

void RealMainTest::WaitForEnd() const { WaitForPosition(Engine().get_Duration()); }

void RealMainTest::Tick() {
    if (PlayTimer.enabled) main.PlayTimer_Timer();
}

std::vector<RealMainTest::TickSeen> RealMainTest::TickUntilTheTimerStops() {
    std::vector<TickSeen> seen;
    while (PlayTimer.enabled && main.state.Playing && seen.size() < 200) {
        const MediaEngine* before = main.state.Graph.get();
        const bool ended = main.state.Graph->get_CurrentPosition() >= main.state.Graph->get_Duration();
        main.PlayTimer_Timer();
        seen.push_back({before, ended, main.state.Graph.get(), main.state.Playing, TijdLabel.caption});
        if (!main.state.Playing) break;
        // The next tick comes a second of sound later, in the song that plays now.
        MediaEngine& engine = *main.state.Graph;
        const double next = std::min(engine.get_CurrentPosition() + 1.0, engine.get_Duration());
        EXPECT_TRUE(WaitUntil([&] { return engine.get_CurrentPosition() >= next; }));
    }
    return seen;
}

std::vector<Heard> RealMainTest::HeardAfterClosing() {
    main.Form_Unload();
    std::vector<Heard> heard;
    for (const std::string& file : engines.Played()) heard.push_back(Analyse(file));
    return heard;
}

}  // namespace tunekist::test
