#include "tests/support/real_main.h"

#include <sys/stat.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <stdexcept>

#include "playback/progress_bar.h"
#include "tests/support/sound_capture.h"

namespace tunekist::test {

void DiskDesktop::DoEvents() {
    if (onYield) onYield();
}

std::int64_t DiskDesktop::FileLen(const std::string& path) const {
    struct stat info {};
    if (stat(path.c_str(), &info) != 0) throw std::runtime_error("Bestand niet gevonden");
    return static_cast<std::int64_t>(info.st_size);
}

RealMainTest::RealMainTest(Sound sound) {
    setenv("SDL_DISKAUDIODELAY", sound == kCaptured ? "1" : "0", 1);
    if (sound == kDiscarded) engines.SendSoundTo("/dev/null");
    BarPercent = 0, BarFill = 0;
    form.appPath = std::filesystem::temp_directory_path().string();
    main.Form_Load();
    PlayTimer.enabled = false;
}

RealMainTest::~RealMainTest() { main.Form_Unload(); }

void RealMainTest::ListFolder(const std::string& folder) {
    Dir1.path = folder;
    main.songList.Dir1_Change();
}

int RealMainTest::RowOf(const std::string& fileName) const {
    for (int row = 1; row <= ListView1.RowCount(); ++row) {
        if (ListView1.RowTag(row) == fileName) return row;
    }
    return 0;
}

void RealMainTest::ClickSong(const std::string& fileName) {
    const int row = RowOf(fileName);
    ASSERT_NE(row, 0) << "no row for " << fileName;
    ListView1.selected = row;
    main.playlist.ListView1_ItemClick();
}

void RealMainTest::Queue(const std::string& name, const std::string& path) {
    const std::filesystem::path file(path);
    File1.SetPath(file.parent_path().string());
    ListView1.AddSong(name, "00:00", "1", file.filename().string());
    ListView1.selected = ListView1.RowCount();
    main.playlist.ListView1_ItemClick();
}

std::vector<std::string> RealMainTest::ListedFiles() const {
    std::vector<std::string> files;
    for (int row = 1; row <= ListView1.RowCount(); ++row) files.push_back(ListView1.RowTag(row));
    return files;
}

bool RealMainTest::WaitForPosition(double seconds) const {
    MediaEngine& engine = Engine();
    const double target = std::min(seconds, engine.get_Duration());
    return Eventually([&] { return engine.get_CurrentPosition() >= target; });
}

void RealMainTest::Tick() {
    if (PlayTimer.enabled) main.PlayTimer_Timer();
}

std::vector<RealMainTest::TickSeen> RealMainTest::TickUntilTheTimerStops(int maxTicks) {
    std::vector<TickSeen> seen;
    int stalls = 0;
    while (PlayTimer.enabled && main.state.Playing && static_cast<int>(seen.size()) < maxTicks) {
        const MediaEngine* before = main.state.Graph.get();
        bool ended = false;
        // A lost engine is the tick's to find.
        try {
            ended = Position() >= Engine().get_Duration();
        } catch (const std::exception&) {
        }
        main.PlayTimer_Timer();
        seen.push_back({before, ended, main.state.Graph.get(), main.state.Playing, TijdLabel.caption});
        if (!main.state.Playing) break;
        try {
            stalls = WaitForPosition(Position() + 1.0) ? 0 : stalls + 1;
        } catch (const std::exception&) {
        }
        if (stalls == 2) {
            ADD_FAILURE() << "the song stood still without an end";
            break;
        }
    }
    return seen;
}

}  // namespace tunekist::test
