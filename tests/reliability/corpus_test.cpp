// Real-world damaged and unusual MP3s (the shared corpus, read where it lies) through the real
// song list, playlist, player and engine: every folder lists as the reference says, row by row and
// in its totals, without a message; every song is queued, and the queue plays out to its end, Next
// moving past the songs that cannot play. The raw streams named .bit are reached through links
// named .mp3, as a user renaming them would.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>

#include "library/size_text.h"
#include "playback/rounding.h"
#include "playback/time_text.h"
#include "tests/support/scratch_folder.h"
#include "tests/support/corpus.h"
#include "tests/support/real_main.h"

namespace tunekist::test {
namespace {

namespace fs = std::filesystem;

struct CorpusFolder {
    const char* name;
    bool somePlay;  // false for a folder whose only song holds no sound
};

void PrintTo(const CorpusFolder& folder, std::ostream* out) { *out << folder.name; }

class CorpusTest : public QuietMainTest, public ::testing::WithParamInterface<CorpusFolder> {
protected:
    // Queues every listed song, presses Play, and keeps the queue going as a person would: Next
    // whenever the timer stopped with songs still queued. Returns how often a song was found
    // playing after a press (songs that follow by themselves are not counted).
    int PlayEverything() {
        for (int row = 1; row <= ListView1.RowCount(); ++row) ClickSong(ListView1.RowTag(row));
        EXPECT_EQ(List1.ListCount(), ListView1.RowCount());
        int started = 0;
        main.Knop_Click(kPlay);
        for (int presses = 0; List1.ListCount() > 0 && presses < 2 * ListView1.RowCount(); ++presses) {
            const int before = List1.ListCount();
            if (main.state.Playing) ++started;
            TickUntilTheTimerStops();
            // The queue moved by itself, or the head song could not play (or ended with nothing
            // after it): Next moves past it.
            if (List1.ListCount() == before && List1.ListCount() > 0) main.Knop_Click(kNext);
        }
        return started;
    }
    void ExpectPlayedOut() {
        EXPECT_EQ(List1.ListCount(), 0);
        EXPECT_EQ(ListView2.RowCount(), 0);
        EXPECT_FALSE(main.state.Playing);
        EXPECT_FALSE(PlayTimer.enabled);
        ASSERT_FALSE(messages.shown.empty());
        for (const std::string& message : messages.shown) EXPECT_EQ(message, kFillPlaylist);
        EXPECT_LE(engines.PeakAlive(), 2);
    }
};

TEST_P(CorpusTest, FolderListsAsTheReferenceSaysQueuesAndPlaysOut) {
    if (!HaveCorpus()) GTEST_SKIP() << NoCorpus();
    const std::string folder = GetParam().name;
    std::map<std::string, CorpusFile> references;
    for (const CorpusFile& file : ReadCorpusTable()) {
        const fs::path path = file.name;
        std::string extension = path.extension().string();
        for (char& c : extension) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        if (path.parent_path() == folder && extension == ".mp3") references[path.filename().string()] = file;
    }
    ListFolder(kCorpus + "/" + folder);
    EXPECT_TRUE(messages.shown.empty());
    ASSERT_EQ(ListView1.RowCount(), static_cast<int>(references.size()));
    std::int32_t total = 0;
    for (int row = 1; row <= ListView1.RowCount(); ++row) {
        const std::string file = ListView1.RowTag(row);
        ASSERT_TRUE(references.count(file)) << file;
        // A file the reference decoder found nothing in counts as 0 s.
        const double exact = references[file].seconds.empty() ? 0.0 : std::stod(references[file].seconds);
        total = RoundHalfEven(total + exact);
        EXPECT_EQ(ListView1.RowText(row), file.substr(0, file.size() - 4));
        EXPECT_EQ(ListView1.SubItem(row, 1), ToTimeValues(RoundHalfEven(exact))) << file;
        EXPECT_EQ(ListView1.SubItem(row, 2), FormatByteCount(references[file].bytes, ".")) << file;
    }
    EXPECT_EQ(Label1.caption, std::to_string(references.size()) + " Songs");
    EXPECT_EQ(Label2.caption, TotalCaption(total));
    const int started = PlayEverything();
    EXPECT_EQ(started > 0, GetParam().somePlay) << started << " songs started";
    ExpectPlayedOut();
}

INSTANTIATE_TEST_SUITE_P(Folders, CorpusTest,
                         ::testing::Values(CorpusFolder{"mutagen", true}, CorpusFolder{"taglib", true},
                                           CorpusFolder{"tinytag", true}, CorpusFolder{"minimp3", false}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(CorpusTest, RawStreamsRenamedMp3ListQueueAndPlayOut) {
    if (!HaveCorpus()) GTEST_SKIP() << NoCorpus();
    const fs::path folder = fs::path(kCorpus) / "minimp3";
    const ScratchFolder links("corpus-links");
    int count = 0;
    for (const auto& entry : fs::directory_iterator(folder)) {
        if (entry.path().extension() != ".bit") continue;
        fs::create_symlink(entry.path(), links / (entry.path().stem().string() + ".mp3"));
        ++count;
    }
    ListFolder(links.Path());
    EXPECT_TRUE(messages.shown.empty());
    ASSERT_EQ(ListView1.RowCount(), count);
    EXPECT_GT(PlayEverything(), 0);
    ExpectPlayedOut();
}

}  // namespace
}  // namespace tunekist::test
