// A whole session over a folder of songs writes nothing under it: listing, queueing, playing,
// pausing, the queue advancing by itself and closing the window leave every file's bytes and
// modification time as they were, and no file there is ever opened for writing, created, moved,
// deleted or changed in its attributes (watched through inotify while the session runs).
#include <gtest/gtest.h>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <map>
#include <stdexcept>

#include "tests/reliability/bad_inputs.h"
#include "tests/reliability/reliable_main.h"
#include "tests/reliability/scratch_folder.h"
#include "tests/support/test_audio.h"

namespace tunekist::test {
namespace {

namespace fs = std::filesystem;

struct FileState {
    std::uint64_t hash;
    std::int64_t modifiedNanoseconds;
    bool operator==(const FileState&) const = default;
};

std::map<std::string, FileState> StateOfFolder(const std::string& folder) {
    std::map<std::string, FileState> files;
    for (const auto& entry : fs::directory_iterator(folder)) {
        struct stat info {};
        if (stat(entry.path().c_str(), &info) != 0) throw std::runtime_error("cannot stat " + entry.path().string());
        files[entry.path().filename().string()] =
            FileState{HashOfFile(entry.path()), info.st_mtim.tv_sec * 1000000000LL + info.st_mtim.tv_nsec};
    }
    return files;
}

// Watches one folder for every kind of change to it or its files.
class ChangeWatch {
public:
    explicit ChangeWatch(const std::string& folder) : fd_(inotify_init1(IN_NONBLOCK | IN_CLOEXEC)) {
        constexpr std::uint32_t kChanges = IN_MODIFY | IN_ATTRIB | IN_CLOSE_WRITE | IN_CREATE | IN_DELETE |
                                           IN_MOVED_FROM | IN_MOVED_TO | IN_DELETE_SELF | IN_MOVE_SELF;
        watch_ = fd_ >= 0 ? inotify_add_watch(fd_, folder.c_str(), kChanges) : -1;
    }
    ~ChangeWatch() {
        if (fd_ >= 0) close(fd_);
    }
    ChangeWatch(const ChangeWatch&) = delete;
    ChangeWatch& operator=(const ChangeWatch&) = delete;

    bool Watching() const { return watch_ >= 0; }
    // The names and event masks seen so far, as "name:mask".
    std::vector<std::string> Changes() const {
        std::vector<std::string> changes;
        alignas(inotify_event) char buffer[4096];
        ssize_t got = 0;
        while ((got = read(fd_, buffer, sizeof buffer)) > 0) {
            for (char* at = buffer; at < buffer + got;) {
                const auto* event = reinterpret_cast<const inotify_event*>(at);
                changes.push_back(std::string(event->len ? event->name : ".") + ":" + std::to_string(event->mask));
                at += sizeof(inotify_event) + event->len;
            }
        }
        return changes;
    }

private:
    int fd_;
    int watch_;
};

class NothingWrittenTest : public ReliableMainTest {
protected:
    ScratchFolder folder{"nothing-written"};
};

TEST_F(NothingWrittenTest, AWholeSessionLeavesTheFolderUntouched) {
    CopyFile(OneSecondSong(), folder / "een.mp3");
    CopyFile(CachedTone(2.0, 660), folder / "twee.mp3");
    CopyFile(CachedTone(1.0, 880, {.vbr = true}), folder / "drie.MP3");
    WriteTextFile(folder / "kapot.mp3");
    WriteBytes(folder / "notities.txt", "niet voor de speler\n");
    const auto before = StateOfFolder(folder.Path());
    const ChangeWatch watch(folder.Path());
    ASSERT_TRUE(watch.Watching());

    ListFolder(folder.Path());
    ASSERT_EQ(ListView1.RowCount(), 4);
    for (const char* name : {"een.mp3", "twee.mp3", "drie.MP3", "kapot.mp3"}) ClickSong(name);
    main.Knop_Click(kPlay);
    ASSERT_TRUE(main.state.Playing);
    WaitForPosition(0.5);
    main.Knop_Click(kPauze);
    main.Knop_Click(kPauze);
    TickUntilTheTimerStops();
    main.Knop_Click(kNext);  // past the file that cannot play
    TickUntilTheTimerStops();
    EXPECT_EQ(List1.ListCount(), 0);
    main.ExitKnop_Click();
    main.Form_Unload();

    EXPECT_EQ(watch.Changes(), std::vector<std::string>{});
    EXPECT_EQ(StateOfFolder(folder.Path()), before);
}

}  // namespace
}  // namespace tunekist::test
