// The song list's procedures against recording controls and the virtual engine. Listings that
// input interrupts (a click, another folder, Play and Next) are run in the real window by
// reliability/listing_live_e2e.sh.
#include "library/song_list.h"

#include <gtest/gtest.h>

#include "library/playlist.h"
#include "tests/support/fake_controls.h"
#include "tests/support/virtual_engine.h"

namespace tunekist {
namespace {

using Strings = std::vector<std::string>;
using test::FakeRow;

class SongListTest : public ::testing::Test {
protected:
    SongListTest() { Dir1.Change = [this] { songs.Dir1_Change(); }; }

    // A file of `folder` the engine measures as `seconds` and whose length is `bytes`.
    void AddSong(const std::string& folder, const std::string& name, double seconds, std::int64_t bytes = 1000) {
        File1.folders[folder].push_back(name);
        world->SetDuration(folder + "/" + name, seconds);
        desktop.lengths[folder + "/" + name] = bytes;
    }
    void Open(const std::string& folder) { Dir1.SetPath(folder); }

    std::shared_ptr<test::VirtualWorld> world = std::make_shared<test::VirtualWorld>();
    PlaybackState state;
    test::FakeDriveList Drive1;
    test::FakeDirList Dir1;
    test::FakeFileList File1;
    test::FakeListView ListView1, ListView2;
    test::FakeListBox List1;
    test::FakeLabel Label1{"0 Songs"}, Label2{"Totaal : 00:00:00"}, Label5{"Totaal : 00:00:00"};
    test::FakeMessageBox messages;
    test::FakeDesktop desktop;
    SongList songs{state, test::VirtualEngineFactory(world),
                   SongListControls{Drive1, Dir1, File1, ListView1, Label1, Label2, messages, desktop}};
    Playlist playlist{state, test::VirtualEngineFactory(world), ListView1, ListView2, List1, File1, Label5, messages};
};

TEST_F(SongListTest, ListsEveryFileWithNameTimeSizeAndItsOwnNameThenCountAndTotal) {
    // Times are rounded, halves to even, before they are split; hours show only from one hour on.
    AddSong("/music", "a.mp3", 3599.5, 4321056);
    AddSong("/music", "Track.MP3", 3725, 99);
    AddSong("/music", "z.mp3", 58.5);
    desktop.separator = ",";  // the user's own
    Open("/music");
    EXPECT_EQ(File1.path, "/music");
    EXPECT_EQ(ListView1.rows, (std::vector<FakeRow>{{"a", {"01:00:00", "4,321,056"}, "a.mp3"},
                                                     {"Track", {"01:02:05", "099"}, "Track.MP3"},
                                                     {"z", {"00:58", "1,000"}, "z.mp3"}}));
    EXPECT_EQ(Label1.caption, "3 Songs");
    EXPECT_EQ(Label2.caption, "Totaal : 02:03:04");  // R(3599.5) = 3600, + 3725, R(7325 + 58.5) = 7384
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(SongListTest, FolderRootGetsNoSecondSeparator) {
    File1.folders["/"] = {"a.mp3"};
    world->SetDuration("/a.mp3", 10);
    desktop.lengths["/a.mp3"] = 5;
    Dir1.path = "/somewhere";
    Open("/");
    EXPECT_EQ(world->log.front(), "RenderFile /a.mp3");
    EXPECT_EQ(ListView1.SubItem(1, 2), "005");
}

TEST_F(SongListTest, FolderPickedThenSongStartedInOneYieldListsTheFolderAroundTheSong) {
    AddSong("/music", "a.mp3", 10);
    AddSong("/music", "b.mp3", 20);
    AddSong("/other", "x.mp3", 100, 5);
    IMediaControl playing;
    desktop.onDoEvents = [&] {
        desktop.onDoEvents = nullptr;
        Open("/other");
        playing = test::MakeVirtualEngine(world);
        playing->RenderFile("/music/a.mp3");
        playing->Run();
        state.Graph = state.GraphPosition = state.GraphAudio = playing;
        state.Playing = true;
    };
    Open("/music");
    EXPECT_EQ(state.Graph, playing);
    EXPECT_EQ(playing->GetState(0), StateRunning);
    EXPECT_EQ(ListView1.rows, (std::vector<FakeRow>{{"x", {"01:40", "005"}, "x.mp3"}}));
    EXPECT_EQ(Label2.caption, "Totaal : 00:01:40");
}

TEST_F(SongListTest, DriveThatIsNotReadyChangesNothingAndSaysNothing) {
    AddSong("/music", "a.mp3", 10);
    Open("/music");
    Drive1.drive = "/media/cdrom";
    Dir1.unreadable.insert("/media/cdrom");
    songs.Drive1_Change();
    EXPECT_EQ(Dir1.path, "/music");
    EXPECT_EQ(File1.path, "/music");
    EXPECT_EQ(ListView1.Texts(), Strings{"a"});
    EXPECT_TRUE(messages.shown.empty());
}

// The playlist copies the clicked row, keeps the file's own name, and totals every entry measured
// anew, rounding after each; an entry that cannot be counted adds nothing and the rest still count.
TEST_F(SongListTest, PlaylistCopiesTheRowAndTotalsWhatCanBeCountedRoundingAfterEverySong) {
    AddSong("/music", "a.mp3", 10.5, 99);
    AddSong("/music", "huge.mp3", 3e9);  // past what a count of seconds holds
    AddSong("/music", "Track.MP3", 0.6);
    AddSong("/music", "c.mp3", 11.5);
    AddSong("/music", "gone.mp3", 5);
    Open("/music");
    world->FailPath("/music/gone.mp3");
    for (int row = 1; row <= 5; ++row) {
        ListView1.selected = row;
        EXPECT_NO_THROW(playlist.ListView1_ItemClick());
    }
    EXPECT_EQ(List1.items, (Strings{"/music/a.mp3", "/music/huge.mp3", "/music/Track.MP3", "/music/c.mp3",
                                    "/music/gone.mp3"}));
    EXPECT_EQ(ListView2.rows.at(0), (FakeRow{"a", {"00:10", "099"}, ""}));
    EXPECT_EQ(ListView2.Texts(), (Strings{"a", "huge", "Track", "c", "gone"}));
    // R(0 + 10.5) = 10, R(10 + 0.6) = 11, R(11 + 11.5) = 22.
    EXPECT_EQ(Label5.caption, "Totaal : 00:00:22");
    EXPECT_EQ(state.Graph, nullptr);
    EXPECT_EQ(world->enginesAlive, 0);
}

}  // namespace
}  // namespace tunekist
