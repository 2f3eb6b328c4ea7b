// A real folder of generated MP3 files with awkward names and contents through the real engine.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>

#include "library/playlist.h"
#include "library/size_text.h"
#include "library/song_list.h"
#include "platform/engine/real_engine.h"
#include "platform/files/folder_file_list.h"
#include "platform/files/folder_paths.h"
#include "tests/support/fake_controls.h"
#include "tests/support/test_audio.h"

namespace tunekist {
namespace {

namespace fs = std::filesystem;
using Strings = std::vector<std::string>;
using test::FakeRow;

// File lengths from the file system itself.
class DiskDesktop : public test::FakeDesktop {
public:
    std::int64_t FileLen(const std::string& path) const override { return FileLength(path); }
};

class RealFolder : public ::testing::Test {
protected:
    RealFolder() {
        File1.SetPattern("*.mp3");
        Dir1.Change = [this] { songs.Dir1_Change(); };
    }

    PlaybackState state;
    test::FakeDriveList Drive1;
    test::FakeDirList Dir1;
    FolderFileList File1;
    test::FakeListView ListView1, ListView2;
    test::FakeListBox List1;
    test::FakeLabel Label1{"0 Songs"}, Label2{"Totaal : 00:00:00"}, Label5{"Totaal : 00:00:00"};
    test::FakeMessageBox messages;
    DiskDesktop desktop;
    SongList songs{state, MakeRealEngineFactory(),
                   SongListControls{Drive1, Dir1, File1, ListView1, Label1, Label2, messages, desktop}};
    Playlist playlist{state, MakeRealEngineFactory(), ListView1, ListView2, List1, File1, Label5, messages};
};

std::string MakeFolder(const std::string& name) {
    const fs::path folder = fs::path(test::TestAudioDir()) / (name + "_" + std::to_string(getpid()));
    fs::remove_all(folder);
    fs::create_directories(folder);
    return folder.string();
}

std::string SizeOf(const std::string& path) {
    return FormatByteCount(static_cast<std::int64_t>(fs::file_size(path)), ".");
}

TEST_F(RealFolder, ListsAwkwardFilesByTheirOwnNamesAndQueuesThemByTheirExactBytes) {
    const std::string folder = MakeFolder("awkward");
    const std::string nonUtf8 = "\xff\xfe.mp3";
    fs::copy_file(test::CachedTone(3.0, 440), folder + "/a tone.mp3");
    fs::copy_file(test::CachedTone(5.0, 660), folder + "/Track.MP3");
    fs::copy_file(test::CachedTone(2.0, 550), folder + "/" + nonUtf8);
    test::WriteBytes(folder + "/empty.mp3", "");
    test::WriteBytes(folder + "/notes.mp3", "not audio at all\n");
    test::WriteBytes(folder + "/.hidden.mp3", "");
    test::WriteBytes(folder + "/readme.txt", "");
    fs::create_directory(folder + "/folder.mp3");

    Dir1.SetPath(folder);
    EXPECT_EQ(ListView1.rows,
              (std::vector<FakeRow>{{"a tone", {"00:03", SizeOf(folder + "/a tone.mp3")}, "a tone.mp3"},
                                    {"empty", {"00:00", "000"}, "empty.mp3"},
                                    {"notes", {"00:00", "017"}, "notes.mp3"},
                                    {"Track", {"00:05", SizeOf(folder + "/Track.MP3")}, "Track.MP3"},
                                    {"\xff\xfe", {"00:02", SizeOf(folder + "/" + nonUtf8)}, nonUtf8}}));
    EXPECT_EQ(Label1.caption, "5 Songs");
    EXPECT_EQ(Label2.caption, "Totaal : 00:00:10");
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_EQ(state.Graph, nullptr);

    for (const int row : {4, 5, 3}) {
        ListView1.selected = row;
        playlist.ListView1_ItemClick();
    }
    EXPECT_EQ(List1.items, (Strings{folder + "/Track.MP3", folder + "/" + nonUtf8, folder + "/notes.mp3"}));
    EXPECT_EQ(ListView2.Texts(), (Strings{"Track", "\xff\xfe", "notes"}));
    EXPECT_EQ(Label5.caption, "Totaal : 00:00:07");
    fs::remove_all(folder);
}

}  // namespace
}  // namespace tunekist
