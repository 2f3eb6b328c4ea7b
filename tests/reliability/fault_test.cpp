// Faults from outside the program while it lists and plays: files that vanish or change between
// listing, clicking and playing, a file cut short while it plays, a folder deleted during its
// listing, a file nobody may read, no audio device, and a device lost while a song plays. Each
// ends in a defined state.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <functional>

#include "tests/support/scratch_folder.h"
#include "tests/support/real_main.h"
#include "tests/support/test_audio.h"

namespace tunekist::test {
namespace {

namespace fs = std::filesystem;
using Strings = std::vector<std::string>;

class FaultTest : public QuietMainTest {
protected:
    // a.mp3 and b.mp3, one second each, listed in the song list.
    void ListTwoSongs() {
        CopyFile(CachedTone(1.0, 440), folder / "a.mp3");
        CopyFile(CachedTone(1.0, 440), folder / "b.mp3");
        ListFolder(folder.Path());
        ASSERT_EQ(ListedFiles(), (Strings{"a.mp3", "b.mp3"}));
    }
    void ExpectQueuePlayedOutAndResting() {
        EXPECT_LT(TickUntilTheTimerStops(50).size(), 50u);
        EXPECT_EQ(List1.ListCount(), 0);
        EXPECT_FALSE(main.state.Playing);
        EXPECT_EQ(messages.shown, Strings{kFillPlaylist});
    }

    ScratchFolder folder{"fault"};
};

struct FileChange {
    const char* name;
    bool deleted;        // a.mp3 is deleted, else replaced by a two-second song
    bool afterClicking;  // changed between clicking and playing, else between listing and clicking
    const char* total;   // the playlist's total after both songs were clicked
};

void PrintTo(const FileChange& change, std::ostream* out) { *out << change.name; }

class FileChangeTest : public FaultTest, public ::testing::WithParamInterface<FileChange> {
protected:
    void Change() {
        if (GetParam().deleted) {
            fs::remove(folder / "a.mp3");
        } else {
            CopyFile(CachedTone(2.0, 660), folder / ".replacement");
            fs::rename(folder / ".replacement", folder / "a.mp3");
        }
    }
};

// The playlist's row keeps the time a.mp3 was listed with; totals and playing take the file as it
// is when they come. A deleted song stays at the head without a message until Next moves on.
TEST_P(FileChangeTest, IsMeasuredAndPlayedAsItIsNow) {
    const FileChange& change = GetParam();
    ListTwoSongs();
    if (!change.afterClicking) Change();
    ClickSong("a.mp3");
    ClickSong("b.mp3");
    EXPECT_EQ(ListView2.SubItem(1, 1), "00:01");
    EXPECT_EQ(Label5.caption, change.total);
    if (change.afterClicking) Change();
    main.Knop_Click(kPlay);
    if (change.deleted) {
        EXPECT_FALSE(main.state.Playing);
        EXPECT_FALSE(PlayTimer.enabled);
        EXPECT_EQ(List1.ListCount(), 2);
        EXPECT_TRUE(messages.shown.empty());
        main.Knop_Click(kNext);
        ASSERT_TRUE(main.state.Playing);
        EXPECT_EQ(Label3.caption, "b");
        EXPECT_EQ(Label5.caption, "Totaal : 00:00:01");
    } else {
        ASSERT_TRUE(main.state.Playing);
        EXPECT_DOUBLE_EQ(main.state.Graph->get_Duration(), 2.0);
    }
    ExpectQueuePlayedOutAndResting();
    EXPECT_EQ(engines.Alive(), 1);  // the last song's engine, kept as the player keeps it
}

INSTANTIATE_TEST_SUITE_P(Changes, FileChangeTest,
                         ::testing::Values(FileChange{"DeletedBeforeClicking", true, false, "Totaal : 00:00:01"},
                                           FileChange{"ReplacedBeforeClicking", false, false, "Totaal : 00:00:03"},
                                           FileChange{"DeletedAfterClicking", true, true, "Totaal : 00:00:02"},
                                           FileChange{"ReplacedAfterClicking", false, true, "Totaal : 00:00:02"}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(FaultTest, FileCutShortWhilePlayingEndsTheSongAndTheQueueMovesOn) {
    // Long enough that most of it is still unread when it is cut.
    CopyFile(CachedTone(60.0, 440), folder / "a.mp3");
    CopyFile(CachedTone(1.0, 440), folder / "b.mp3");
    ListFolder(folder.Path());
    ClickSong("a.mp3");
    ClickSong("b.mp3");
    main.Knop_Click(kPlay);
    ASSERT_TRUE(main.state.Playing);
    ASSERT_TRUE(WaitForPosition(0.2));
    fs::resize_file(folder / "a.mp3", fs::file_size(folder / "a.mp3") / 4);
    ExpectQueuePlayedOutAndResting();
}

TEST_F(FaultTest, FolderDeletedDuringItsListingKeepsTheRowsOfWhatWasListed) {
    for (const char* name : {"a.mp3", "b.mp3", "c.mp3", "d.mp3"}) CopyFile(CachedTone(1.0, 440), folder / name);
    int yields = 0;
    desktop.onYield = [&] {
        if (++yields == 1) fs::remove_all(folder.Path());
    };
    ListFolder(folder.Path());
    EXPECT_TRUE(messages.shown.empty());
    ASSERT_EQ(ListedFiles(), (Strings{"a.mp3", "b.mp3", "c.mp3", "d.mp3"}));
    // The first file was measured before the folder went; the others measure as nothing and have
    // no size.
    EXPECT_EQ(ListView1.SubItem(1, 1), "00:01");
    EXPECT_EQ(ListView1.SubItem(2, 1), "00:00");
    EXPECT_EQ(ListView1.SubItem(4, 1), "00:00");
    EXPECT_EQ(ListView1.SubItem(4, 2), "");
    EXPECT_EQ(Label1.caption, "4 Songs");
    EXPECT_EQ(Label2.caption, "Totaal : 00:00:01");
    EXPECT_EQ(engines.Alive(), 0);

    // Choosing the vanished folder again shows why, and keeps the rows.
    ListFolder(folder.Path());
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(ListView1.RowCount(), 4);
}

struct DeviceFault {
    const char* name;
    bool whilePlaying;  // the device goes while the song plays, else there is none at Play
    std::function<void(RealEngines&)> fail, mend;
    Strings messages;   // what was shown once the song stopped
};

void PrintTo(const DeviceFault& fault, std::ostream* out) { *out << fault.name; }

class DeviceFaultTest : public FaultTest, public ::testing::WithParamInterface<DeviceFault> {};

// The song stops and stays at the head, so that Play can try it again once the device is back.
TEST_P(DeviceFaultTest, StopsTheSongAtTheHeadAndPlayTriesAgain) {
    const DeviceFault& fault = GetParam();
    ListTwoSongs();
    ClickSong("a.mp3");
    ClickSong("b.mp3");
    fault.fail(engines);
    main.Knop_Click(kPlay);
    EXPECT_EQ(main.state.Playing, fault.whilePlaying);
    EXPECT_LT(TickUntilTheTimerStops(50).size(), 50u);
    EXPECT_FALSE(main.state.Playing);
    EXPECT_FALSE(PlayTimer.enabled);
    EXPECT_EQ(messages.shown, fault.messages);
    EXPECT_EQ(List1.ListCount(), 2);
    fault.mend(engines);
    main.Knop_Click(kPlay);
    EXPECT_TRUE(main.state.Playing);
    EXPECT_LT(TickUntilTheTimerStops(50).size(), 50u);
    EXPECT_EQ(List1.ListCount(), 0);
}

INSTANTIATE_TEST_SUITE_P(
    Devices, DeviceFaultTest,
    ::testing::Values(
        DeviceFault{"NoAudioDeviceAtAll", false,
                    [](RealEngines&) { setenv("SDL_AUDIODRIVER", "no-such-audio-driver", 1); },
                    [](RealEngines&) { setenv("SDL_AUDIODRIVER", "disk", 1); }, {"Geen geluidsapparaat beschikbaar"}},
        // The disk driver gives up on its device when a write fails, as a real device does when
        // it is unplugged; /dev/full fails every write.
        DeviceFault{"AudioDeviceLostWhilePlaying", true, [](RealEngines& e) { e.SendSoundTo("/dev/full"); },
                    [](RealEngines& e) { e.SendSoundTo("/dev/null"); }, {"Geluidsapparaat weggevallen"}}),
    [](const auto& info) { return std::string(info.param.name); });

// Next without any sound output says why, not that the playlist ran out; the next song waits at
// the head for Play.
TEST_F(FaultTest, NextWithoutSoundOutputSaysWhy) {
    ListTwoSongs();
    ClickSong("a.mp3");
    ClickSong("b.mp3");
    setenv("SDL_AUDIODRIVER", "no-such-audio-driver", 1);
    main.Knop_Click(kNext);
    EXPECT_EQ(messages.shown, Strings{"Geen geluidsapparaat beschikbaar"});
    EXPECT_EQ(List1.ListCount(), 1);
    EXPECT_FALSE(main.state.Playing);
}

// Root reads every file whatever its mode, so the check runs in a child that has given up root.
TEST_F(FaultTest, UnreadableFileMeasuresAsNothingAndDoesNotPlay) {
    ListTwoSongs();
    fs::permissions(folder / "a.mp3", fs::perms::none);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        if (geteuid() == 0 && (setgid(65534) != 0 || setuid(65534) != 0)) _exit(77);
        if (access((folder / "a.mp3").c_str(), R_OK) == 0) _exit(77);
        ListFolder(folder.Path());
        int failed = 0;
        failed |= (ListView1.SubItem(RowOf("a.mp3"), 1) != "00:00") << 0;
        failed |= ListView1.SubItem(RowOf("a.mp3"), 2).empty() << 1;  // its length can still be read
        failed |= (Label2.caption != "Totaal : 00:00:01") << 2;
        ListView1.selected = RowOf("a.mp3");
        main.playlist.ListView1_ItemClick();
        ListView1.selected = RowOf("b.mp3");
        main.playlist.ListView1_ItemClick();
        failed |= (Label5.caption != "Totaal : 00:00:01") << 3;
        main.Knop_Click(kPlay);
        failed |= main.state.Playing << 4;
        failed |= !messages.shown.empty() << 5;
        main.Knop_Click(kNext);
        failed |= !main.state.Playing << 6;
        main.Form_Unload();
        _exit(failed);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    if (WEXITSTATUS(status) == 77) GTEST_SKIP() << "cannot give up root here, so no file is unreadable";
    EXPECT_EQ(WEXITSTATUS(status), 0) << "failed checks (bit mask)";
}

}  // namespace
}  // namespace tunekist::test
