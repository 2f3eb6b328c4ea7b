#include "tests/reliability/reliable_main.h"

#include <sys/stat.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <thread>

#include "playback/progress_bar.h"

namespace tunekist::test {

void DiskDesktop::DoEvents() {
    if (onYield) onYield();
}

std::int64_t DiskDesktop::FileLen(const std::string& path) const {
    struct stat info {};
    if (stat(path.c_str(), &info) != 0) throw std::runtime_error("Bestand niet gevonden");
    return static_cast<std::int64_t>(info.st_size);
}

ReliableMainTest::ReliableMainTest(const std::string& soundFile) {
    setenv("SDL_AUDIODRIVER", "disk", 1);
    setenv("SDL_DISKAUDIODELAY", "0", 1);
    setenv("SDL_DISKAUDIOFILE", soundFile.c_str(), 1);
    BarPercent = 0, BarFill = 0;
    form.appPath = std::filesystem::temp_directory_path().string();
    main.Form_Load();
    PlayTimer.enabled = false;
}

ReliableMainTest::~ReliableMainTest() { main.Form_Unload(); }

void ReliableMainTest::ListFolder(const std::string& folder) {
    Dir1.path = folder;
    main.songList.Dir1_Change();
}

int ReliableMainTest::RowOf(const std::string& fileName) const {
    for (int row = 1; row <= ListView1.RowCount(); ++row) {
        if (ListView1.RowTag(row) == fileName) return row;
    }
    return 0;
}

void ReliableMainTest::ClickSong(const std::string& fileName) {
    const int row = RowOf(fileName);
    ASSERT_NE(row, 0) << "no row for " << fileName;
    ListView1.selected = row;
    main.playlist.ListView1_ItemClick();
}

std::vector<std::string> ReliableMainTest::ListedFiles() const {
    std::vector<std::string> files;
    for (int row = 1; row <= ListView1.RowCount(); ++row) files.push_back(ListView1.RowTag(row));
    return files;
}

bool ReliableMainTest::WaitForPosition(double seconds) const {
    MediaEngine& engine = *main.state.Graph;
    for (int tries = 0; tries < 5000; ++tries) {
        if (engine.get_CurrentPosition() >= std::min(seconds, engine.get_Duration())) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return false;
}

int ReliableMainTest::TickUntilTheTimerStops(int maxTicks) {
    int ticks = 0;
    int stalls = 0;
    while (PlayTimer.enabled && ticks < maxTicks) {
        if (main.state.Playing && main.state.Graph) {
            // The next tick comes a second of sound later; a lost engine is the tick's to find.
            try {
                MediaEngine& engine = *main.state.Graph;
                stalls = WaitForPosition(engine.get_CurrentPosition() + 1.0) ? 0 : stalls + 1;
            } catch (const std::exception&) {
            }
        }
        // A song that stands still twice in a row would never end: give up on it.
        if (stalls >= 2) return maxTicks;
        main.PlayTimer_Timer();
        ++ticks;
    }
    return ticks;
}

}  // namespace tunekist::test
