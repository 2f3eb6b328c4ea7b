// Damaged and unusual files in a listed folder, through the real song list, playlist, player and
// engine: what the rows show, what the playlist totals, what Play does and how the queue moves on.
// Beside each odd file lies a good one-second song, which must always play.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

#include "platform/engine/real_engine.h"
#include "tests/reliability/bad_inputs.h"
#include "tests/reliability/reliable_main.h"
#include "tests/reliability/scratch_folder.h"

namespace tunekist::test {
namespace {

const std::string kGood = "zz.mp3";

struct BadInput {
    const char* name;
    std::string fileName;
    std::function<void(const std::string&)> make;
    bool listed;           // shown in the song list
    const char* timeText;  // its "Tijd" column
    int seconds;           // what it adds to the totals
    bool plays;
};

void PrintTo(const BadInput& input, std::ostream* out) { *out << input.name; }

void CopyGoodSong(const std::string& path) { CopyFile(OneSecondSong(), path); }

class BadInputTest : public ReliableMainTest, public ::testing::WithParamInterface<BadInput> {
protected:
    ScratchFolder folder{"bad-input"};
};

TEST_P(BadInputTest, ListsQueuesAndPlaysAsDefined) {
    const BadInput& input = GetParam();
    input.make(folder / input.fileName);
    CopyGoodSong(folder / kGood);

    ListFolder(folder.Path());
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_EQ(engines.Alive(), 0);
    const int listedCount = input.listed ? 2 : 1;
    ASSERT_EQ(ListView1.RowCount(), listedCount);
    EXPECT_EQ(Label1.caption, std::to_string(listedCount) + " Songs");
    EXPECT_EQ(Label2.caption, "Totaal : 00:00:0" + std::to_string(1 + input.seconds));
    EXPECT_EQ(ListView1.SubItem(RowOf(kGood), 1), "00:01");

    if (!input.listed) {
        // Nothing in the song list leads to it; opening it anyway fails at once (a FIFO is not
        // waited on).
        RealEngine engine;
        EXPECT_THROW(engine.RenderFile(folder / input.fileName), EngineError);
        return;
    }
    EXPECT_EQ(ListView1.SubItem(RowOf(input.fileName), 1), input.timeText);

    ClickSong(input.fileName);
    ClickSong(kGood);
    ASSERT_EQ(List1.items, (std::vector<std::string>{folder / input.fileName, folder / kGood}));
    EXPECT_EQ(Label5.caption, "Totaal : 00:00:0" + std::to_string(1 + input.seconds));
    EXPECT_EQ(engines.Alive(), 0);

    main.Knop_Click(kPlay);
    EXPECT_EQ(main.state.Playing, input.plays);
    EXPECT_EQ(PlayTimer.enabled, input.plays);
    EXPECT_TRUE(messages.shown.empty());
    if (!input.plays) {
        // The song that cannot play stays at the head until Next moves past it.
        EXPECT_EQ(List1.ListCount(), 2);
        main.Knop_Click(kNext);
        EXPECT_TRUE(main.state.Playing);
    }
    TickUntilTheTimerStops();
    // Every song that could play was played to its end and left the queue; then it rests.
    EXPECT_EQ(List1.ListCount(), 0);
    EXPECT_EQ(ListView2.RowCount(), 0);
    EXPECT_FALSE(main.state.Playing);
    EXPECT_EQ(messages.shown, std::vector<std::string>{kFillPlaylist});
    EXPECT_LE(engines.PeakAlive(), 2);
}

const std::string k255Bytes = std::string(251, 'a') + ".mp3";

INSTANTIATE_TEST_SUITE_P(
    Files, BadInputTest,
    ::testing::Values(
        BadInput{"ZeroBytes", "x.mp3", WriteEmptyFile, true, "00:00", 0, false},
        BadInput{"Text", "x.mp3", WriteTextFile, true, "00:00", 0, false},
        BadInput{"Jpeg", "x.mp3", WriteJpegFile, true, "00:00", 0, false},
        BadInput{"Wave", "x.mp3", WriteWaveFile, true, "00:00", 0, false},
        BadInput{"Ogg", "x.mp3", WriteOggFile, true, "00:00", 0, false},
        BadInput{"CutInItsMiddle", "x.mp3", WriteSongCutInItsMiddle, true, "00:01", 1, true},
        BadInput{"CutInItsFirstFrame", "x.mp3", WriteSongCutInItsFirstFrame, true, "00:00", 0, false},
        BadInput{"HugeId3v2Tag", "x.mp3", WriteSongBehindHugeTag, true, "00:01", 1, true},
        BadInput{"RandomBytes", "x.mp3", WriteRandomBytes, true, "00:00", 0, false},
        BadInput{"Folder", "x.mp3", MakeFolder, false, "", 0, false},
        BadInput{"Fifo", "x.mp3", MakeFifo, false, "", 0, false},
        BadInput{"DanglingLink", "x.mp3", MakeDanglingLink, false, "", 0, false},
        BadInput{"NameNotUtf8", "\xff\xfe lied \xe9.mp3", CopyGoodSong, true, "00:01", 1, true},
        BadInput{"NameWithNewline", "een\nlied.mp3", CopyGoodSong, true, "00:01", 1, true},
        BadInput{"Name255Bytes", k255Bytes, CopyGoodSong, true, "00:01", 1, true}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace tunekist::test
