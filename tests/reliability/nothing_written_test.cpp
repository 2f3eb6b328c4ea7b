// A whole session over a folder of songs writes nothing under it: listing, queueing, playing,
// pausing, the queue advancing by itself and closing the window leave every file's bytes and
// modification time as they were, and no file there is ever opened for writing, created, moved,
// deleted or changed in its attributes (watched through inotify while the session runs).
#include <gtest/gtest.h>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

#include "tests/support/scratch_folder.h"
#include "tests/support/real_main.h"
#include "tests/support/test_audio.h"

namespace tunekist::test {
namespace {

namespace fs = std::filesystem;

// Every file's bytes and modification time in nanoseconds.
std::map<std::string, std::pair<std::string, std::int64_t>> StateOfFolder(const std::string& folder) {
    std::map<std::string, std::pair<std::string, std::int64_t>> files;
    for (const auto& entry : fs::directory_iterator(folder)) {
        struct stat info {};
        EXPECT_EQ(stat(entry.path().c_str(), &info), 0) << entry.path();
        std::ostringstream bytes;
        bytes << std::ifstream(entry.path(), std::ios::binary).rdbuf();
        files[entry.path().filename().string()] = {bytes.str(),
                                                   info.st_mtim.tv_sec * 1000000000LL + info.st_mtim.tv_nsec};
    }
    return files;
}

// The names and event masks of the changes an inotify descriptor saw, as "name:mask".
std::vector<std::string> ChangesSeen(int watch) {
    std::vector<std::string> changes;
    alignas(inotify_event) char buffer[4096];
    ssize_t got = 0;
    while ((got = read(watch, buffer, sizeof buffer)) > 0) {
        for (char* at = buffer; at < buffer + got;) {
            const auto* event = reinterpret_cast<const inotify_event*>(at);
            changes.push_back(std::string(event->len ? event->name : ".") + ":" + std::to_string(event->mask));
            at += sizeof(inotify_event) + event->len;
        }
    }
    return changes;
}

class NothingWrittenTest : public QuietMainTest {
protected:
    ScratchFolder folder{"nothing-written"};
};

TEST_F(NothingWrittenTest, AWholeSessionLeavesTheFolderUntouched) {
    CopyFile(CachedTone(1.0, 440), folder / "een.mp3");
    CopyFile(CachedTone(2.0, 660), folder / "twee.mp3");
    CopyFile(CachedTone(1.0, 880, {.vbr = true}), folder / "drie.MP3");
    WriteBytes(folder / "kapot.mp3", "geen liedje\n");
    WriteBytes(folder / "notities.txt", "niet voor de speler\n");
    const auto before = StateOfFolder(folder.Path());
    const int watch = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    ASSERT_GE(watch, 0);
    ASSERT_GE(inotify_add_watch(watch, folder.Path().c_str(),
                                IN_MODIFY | IN_ATTRIB | IN_CLOSE_WRITE | IN_CREATE | IN_DELETE | IN_MOVED_FROM |
                                    IN_MOVED_TO | IN_DELETE_SELF | IN_MOVE_SELF),
              0);

    ListFolder(folder.Path());
    ASSERT_EQ(ListView1.RowCount(), 4);
    for (const char* name : {"een.mp3", "twee.mp3", "drie.MP3", "kapot.mp3"}) ClickSong(name);
    main.Knop_Click(kPlay);
    ASSERT_TRUE(main.state.Playing);
    ASSERT_TRUE(WaitForPosition(0.5));
    main.Knop_Click(kPauze);
    main.Knop_Click(kPauze);
    TickUntilTheTimerStops();
    main.Knop_Click(kNext);  // past the file that cannot play
    TickUntilTheTimerStops();
    EXPECT_EQ(List1.ListCount(), 0);
    main.ExitKnop_Click();
    main.Form_Unload();

    EXPECT_EQ(ChangesSeen(watch), std::vector<std::string>{});
    close(watch);
    EXPECT_EQ(StateOfFolder(folder.Path()), before);
}

}  // namespace
}  // namespace tunekist::test
