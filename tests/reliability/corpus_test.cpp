// Real-world damaged and unusual MP3s (the shared corpus, read where it lies) through the real
// window and engine: every folder lists as the reference says, row by row and in its totals,
// without a message; every song is queued, and the queue plays out to its end, Next moving past
// the songs that cannot play. The raw streams named .bit are reached through links named .mp3, as
// a user renaming them would.
#include <gtest/gtest.h>
#include <strings.h>

#include <filesystem>
#include <map>

#include "library/size_text.h"
#include "playback/rounding.h"
#include "playback/time_text.h"
#include "tests/reliability/reliability_test.h"
#include "tests/support/corpus.h"

namespace tunekist::test {
namespace {

namespace fs = std::filesystem;

struct CorpusFolder {
    const char* name;
    const char* extension;  // of the files listed, ".bit" through links
    bool somePlay;          // false for a folder whose only song holds no sound
};

void PrintTo(const CorpusFolder& folder, std::ostream* out) { *out << folder.name; }

class CorpusTest : public ReliabilityTest, public ::testing::WithParamInterface<CorpusFolder> {};

TEST_P(CorpusTest, FolderListsAsTheReferenceSaysQueuesAndPlaysOut) {
    if (!HaveCorpus()) GTEST_SKIP() << NoCorpus();
    const CorpusFolder& param = GetParam();
    const bool raw = std::string(param.extension) == ".bit";
    // The reference of each file, by the name it is listed under.
    std::map<std::string, CorpusFile> references;
    for (const CorpusFile& file : ReadCorpusTable()) {
        const fs::path path = file.name;
        if (path.parent_path() != param.name || strcasecmp(path.extension().c_str(), param.extension) != 0) continue;
        const std::string listedAs = raw ? path.stem().string() + ".mp3" : path.filename().string();
        references[listedAs] = file;
        if (raw) fs::create_symlink(kCorpus + "/" + file.name, folder / listedAs);
    }
    const std::string listed = raw ? folder.Path() : kCorpus + "/" + param.name;
    WatchFolder(listed);
    ListFolder(listed);
    EXPECT_TRUE(messages.empty());
    ASSERT_EQ(Rows().RowCount(), static_cast<int>(references.size()));
    std::int32_t total = 0;
    for (int row = 1; row <= Rows().RowCount(); ++row) {
        const std::string file = Rows().RowTag(row);
        ASSERT_TRUE(references.count(file)) << file;
        // A file the reference decoder found nothing in counts as 0 s.
        const double exact = references[file].seconds.empty() ? 0.0 : std::stod(references[file].seconds);
        total = RoundHalfEven(total + exact);
        EXPECT_EQ(Rows().RowText(row), file.substr(0, file.size() - 4));
        EXPECT_EQ(Rows().SubItem(row, 1), ToTimeValues(RoundHalfEven(exact))) << file;
        EXPECT_EQ(Rows().SubItem(row, 2), FormatByteCount(references[file].bytes, ".")) << file;
    }
    EXPECT_EQ(Text(window->Label1), std::to_string(references.size()) + " Songs");
    EXPECT_EQ(Text(window->Label2), TotalCaption(total));

    // Every song is queued, Play pressed, and the queue kept going as a person would: Next
    // whenever the timer stopped with songs still queued (the head song could not play, or ended
    // with nothing after it). Songs found playing after a press are counted.
    for (const std::string& file : ListedFiles()) ClickSong(file);
    EXPECT_EQ(Queued().size(), references.size());
    int started = 0;
    Press(kPlay);
    for (int presses = 0; !Queued().empty() && presses < 2 * Rows().RowCount(); ++presses) {
        const std::size_t before = Queued().size();
        if (Playing()) ++started;
        TickUntilTheTimerStops();
        if (Queued().size() == before && !Queued().empty()) Press(kNext);
    }
    EXPECT_EQ(started > 0, param.somePlay) << started << " songs started";
    ExpectPlayedOut(false);
}

INSTANTIATE_TEST_SUITE_P(Folders, CorpusTest,
                         ::testing::Values(CorpusFolder{"mutagen", ".mp3", true}, CorpusFolder{"taglib", ".mp3", true},
                                           CorpusFolder{"tinytag", ".mp3", true},
                                           CorpusFolder{"minimp3", ".mp3", false},
                                           CorpusFolder{"minimp3", ".bit", true}),
                         [](const auto& info) {
                             return std::string(info.param.name) + (info.param.extension[1] == 'b' ? "Raw" : "");
                         });

}  // namespace
}  // namespace tunekist::test
