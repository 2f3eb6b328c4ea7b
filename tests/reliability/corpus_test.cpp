// Real-world damaged and unusual MP3s (the shared corpus, read where it lies) through the real
// song list, playlist, player and engine: every folder lists without a message, every song is
// queued, and the queue plays out to its end, Next moving past the songs that cannot play. The
// raw streams named .bit are reached through links named .mp3, as a user renaming them would.
#include <gtest/gtest.h>

#include <filesystem>

#include "tests/reliability/scratch_folder.h"
#include "tests/support/real_main.h"

namespace tunekist::test {
namespace {

namespace fs = std::filesystem;

const fs::path kCorpus = TUNEKIST_CORPUS_DIR;

bool IsMp3(const fs::path& path) {
    std::string extension = path.extension().string();
    for (char& c : extension) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return extension == ".mp3";
}

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

TEST_P(CorpusTest, FolderListsQueuesAndPlaysOut) {
    const fs::path folder = kCorpus / GetParam().name;
    if (!fs::is_directory(folder)) GTEST_SKIP() << "no corpus at " << folder;
    int mp3s = 0;
    for (const auto& entry : fs::directory_iterator(folder)) mp3s += IsMp3(entry.path()) ? 1 : 0;
    ListFolder(folder.string());
    EXPECT_TRUE(messages.shown.empty());
    ASSERT_EQ(ListView1.RowCount(), mp3s);
    const int started = PlayEverything();
    EXPECT_EQ(started > 0, GetParam().somePlay) << started << " songs started";
    ExpectPlayedOut();
}

INSTANTIATE_TEST_SUITE_P(Folders, CorpusTest,
                         ::testing::Values(CorpusFolder{"mutagen", true}, CorpusFolder{"taglib", true},
                                           CorpusFolder{"tinytag", true}, CorpusFolder{"minimp3", false}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(CorpusTest, RawStreamsRenamedMp3ListQueueAndPlayOut) {
    const fs::path folder = kCorpus / "minimp3";
    if (!fs::is_directory(folder)) GTEST_SKIP() << "no corpus at " << folder;
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
