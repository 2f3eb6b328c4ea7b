// Real folders of real MP3 files through the real engine: generated ones with awkward names and
// contents, and the corpus of files nobody on the team made.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <map>

#include "library/playlist.h"
#include "library/size_text.h"
#include "library/song_list.h"
#include "platform/engine/real_engine.h"
#include "platform/files/folder_file_list.h"
#include "platform/files/folder_paths.h"
#include "playback/rounding.h"
#include "playback/time_text.h"
#include "tests/engine/corpus_table.h"
#include "tests/support/fake_controls.h"
#include "tests/support/test_audio.h"

namespace tunekist {
namespace {

namespace fs = std::filesystem;
using Strings = std::vector<std::string>;
using test::FakeRow;

const std::string kCorpus = TUNEKIST_CORPUS_DIR;

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

class CorpusFolder : public RealFolder, public ::testing::WithParamInterface<std::string> {};

TEST_P(CorpusFolder, EveryRowCountAndTotalMatchTheReference) {
    std::map<std::string, test::CorpusFile> references;
    for (test::CorpusFile& file : test::ReadCorpusTable(kCorpus)) references[file.name] = file;
    Dir1.SetPath(kCorpus + "/" + GetParam());
    ASSERT_TRUE(messages.shown.empty());
    int expectedCount = 0;
    for (const auto& [file, reference] : references) {
        if (file.rfind(GetParam() + "/", 0) == 0 && MatchesPattern(file.substr(GetParam().size() + 1), "*.mp3")) {
            ++expectedCount;
        }
    }
    ASSERT_EQ(ListView1.RowCount(), expectedCount);
    std::int32_t total = 0;
    for (int row = 1; row <= ListView1.RowCount(); ++row) {
        const std::string file = GetParam() + "/" + ListView1.RowTag(row);
        ASSERT_TRUE(references.count(file)) << file;
        const test::CorpusFile& reference = references.at(file);
        // A file the reference decoder found nothing in counts as 0 s.
        const double exact = reference.seconds.empty() ? 0.0 : std::stod(reference.seconds);
        total = RoundHalfEven(total + exact);
        EXPECT_EQ(ListView1.RowText(row), ListView1.RowTag(row).substr(0, ListView1.RowTag(row).size() - 4));
        EXPECT_EQ(ListView1.SubItem(row, 1), ToTimeValues(RoundHalfEven(exact))) << file;
        EXPECT_EQ(ListView1.SubItem(row, 2), FormatByteCount(reference.bytes, ".")) << file;
    }
    EXPECT_EQ(Label1.caption, std::to_string(expectedCount) + " Songs");
    EXPECT_EQ(Label2.caption, TotalCaption(total));
}

INSTANTIATE_TEST_SUITE_P(Corpus, CorpusFolder, ::testing::Values("minimp3", "mutagen", "taglib", "tinytag"));

}  // namespace
}  // namespace tunekist
