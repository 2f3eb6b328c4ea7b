// Damaged and unusual files in a listed folder, through the real song list, playlist, player and
// engine: what the rows show, what the playlist totals, what Play does and how the queue moves on.
// Beside each odd file lies a good one-second song, which must always play.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <random>

#include "library/size_text.h"
#include "platform/engine/real_engine.h"
#include "tests/support/scratch_folder.h"
#include "tests/support/real_main.h"
#include "tests/support/test_audio.h"

namespace tunekist::test {
namespace {

namespace fs = std::filesystem;
using Make = std::function<void(const std::string&)>;

const std::string kGood = "zz.mp3";

// A tool that picks the format by the extension it writes makes the file, which then gets its name.
Make MadeBy(const std::string& before, const std::string& extension, const std::string& after = "") {
    return [=](const std::string& path) {
        const std::string made = path + ".making" + extension;
        const std::string command = before + " '" + made + "' " + after + " >/dev/null 2>&1";
        if (std::system(command.c_str()) != 0) throw std::runtime_error("failed: " + command);
        fs::rename(made, path);
    };
}

void CopyGoodSong(const std::string& path) { CopyFile(CachedTone(1.0, 440), path); }

void WriteSongBehindHugeTag(const std::string& path) {
    constexpr std::uint32_t kTagBytes = 20 * 1024 * 1024;
    // ID3v2.3 header: the size as four 7-bit bytes; the body is one big padding of zeros.
    std::string bytes = {'I', 'D', '3', 3, 0, 0,
                         static_cast<char>((kTagBytes >> 21) & 0x7F), static_cast<char>((kTagBytes >> 14) & 0x7F),
                         static_cast<char>((kTagBytes >> 7) & 0x7F), static_cast<char>(kTagBytes & 0x7F)};
    bytes.resize(10 + kTagBytes, '\0');
    std::ifstream song(CachedTone(1.0, 440), std::ios::binary);
    bytes.append(std::istreambuf_iterator<char>(song), std::istreambuf_iterator<char>());
    WriteBytes(path, bytes);
}

void WriteRandomBytes(const std::string& path) {
    std::mt19937 random(20240607);
    std::string bytes(64 * 1024, '\0');
    for (char& byte : bytes) byte = static_cast<char>(random() & 0xFF);
    WriteBytes(path, bytes);
}

// What becomes of an odd file: nothing in the song list leads to it; or it is listed at 00:00,
// adds nothing to the totals and cannot play; or it is a song of one second like any other.
enum Outcome { kNotListed, kCannotPlay, kPlays };

struct BadInput {
    const char* name;
    Make make;
    Outcome outcome;
    std::string fileName = "x.mp3";
};

void PrintTo(const BadInput& input, std::ostream* out) { *out << input.name; }

class BadInputTest : public QuietMainTest, public ::testing::WithParamInterface<BadInput> {
protected:
    ScratchFolder folder{"bad-input"};
};

TEST_P(BadInputTest, ListsQueuesAndPlaysAsDefined) {
    const BadInput& input = GetParam();
    const bool plays = input.outcome == kPlays;
    const std::string total = plays ? "Totaal : 00:00:02" : "Totaal : 00:00:01";
    input.make(folder / input.fileName);
    CopyGoodSong(folder / kGood);

    ListFolder(folder.Path());
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_EQ(engines.Alive(), 0);
    const int listedCount = input.outcome == kNotListed ? 1 : 2;
    ASSERT_EQ(ListView1.RowCount(), listedCount);
    EXPECT_EQ(Label1.caption, std::to_string(listedCount) + " Songs");
    EXPECT_EQ(Label2.caption, total);
    EXPECT_EQ(ListView1.SubItem(RowOf(kGood), 1), "00:01");

    if (input.outcome == kNotListed) {
        // Nothing in the song list leads to it; opening it anyway fails at once (a FIFO is not
        // waited on).
        RealEngine engine;
        EXPECT_THROW(engine.RenderFile(folder / input.fileName), EngineError);
        return;
    }
    EXPECT_EQ(ListView1.SubItem(RowOf(input.fileName), 1), plays ? "00:01" : "00:00");

    ClickSong(input.fileName);
    ClickSong(kGood);
    ASSERT_EQ(List1.items, (std::vector<std::string>{folder / input.fileName, folder / kGood}));
    EXPECT_EQ(Label5.caption, total);
    EXPECT_EQ(engines.Alive(), 0);

    main.Knop_Click(kPlay);
    EXPECT_EQ(main.state.Playing, plays);
    EXPECT_EQ(PlayTimer.enabled, plays);
    EXPECT_TRUE(messages.shown.empty());
    if (!plays) {
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

INSTANTIATE_TEST_SUITE_P(
    Files, BadInputTest,
    ::testing::Values(
        BadInput{"ZeroBytes", [](const std::string& p) { WriteBytes(p, ""); }, kCannotPlay},
        BadInput{"Text", [](const std::string& p) { WriteBytes(p, "Geen liedje:\nmelk\nbrood\n"); }, kCannotPlay},
        BadInput{"Jpeg", MadeBy("convert -size 64x48 plasma:fractal", ".jpg"), kCannotPlay},
        BadInput{"Wave", MadeBy("sox -n -r 44100 -c 2 -b 16", ".wav", "synth 1 sine 440"), kCannotPlay},
        BadInput{"Ogg", MadeBy("sox -n -r 44100 -c 2", ".ogg", "synth 1 sine 440"), kCannotPlay},
        BadInput{"CutInItsMiddle",
                 [](const std::string& p) {
                     const std::string song = CachedTone(2.0, 440);
                     WriteTruncatedCopy(song, p, fs::file_size(song) / 2);
                 },
                 kPlays},
        BadInput{"CutInItsFirstFrame",
                 [](const std::string& p) { WriteTruncatedCopy(CachedTone(1.0, 440), p, 200); }, kCannotPlay},
        BadInput{"HugeId3v2Tag", WriteSongBehindHugeTag, kPlays},
        BadInput{"RandomBytes", WriteRandomBytes, kCannotPlay},
        BadInput{"Folder", [](const std::string& p) { fs::create_directory(p); }, kNotListed},
        BadInput{"Fifo", [](const std::string& p) { ASSERT_EQ(mkfifo(p.c_str(), 0644), 0); }, kNotListed},
        BadInput{"DanglingLink", [](const std::string& p) { fs::create_symlink(p + ".gone", p); }, kNotListed},
        BadInput{"NameNotUtf8", CopyGoodSong, kPlays, "\xff\xfe lied \xe9.mp3"},
        BadInput{"NameWithNewline", CopyGoodSong, kPlays, "een\nlied.mp3"},
        BadInput{"Name255Bytes", CopyGoodSong, kPlays, std::string(251, 'a') + ".mp3"}),
    [](const auto& info) { return std::string(info.param.name); });

// A folder of awkward names and contents lists by the files' own names, sorted ignoring case, and
// queues them by their exact bytes.
TEST_F(QuietMainTest, AwkwardFolderListsByTheFilesOwnNamesAndQueuesTheirExactBytes) {
    const ScratchFolder folder("awkward");
    const std::string nonUtf8 = "\xff\xfe.mp3";
    CopyFile(CachedTone(3.0, 440), folder / "a tone.mp3");
    CopyFile(CachedTone(5.0, 660), folder / "Track.MP3");
    CopyFile(CachedTone(2.0, 550), folder / nonUtf8);
    WriteBytes(folder / "empty.mp3", "");
    WriteBytes(folder / "notes.mp3", "not audio at all\n");
    WriteBytes(folder / ".hidden.mp3", "");
    WriteBytes(folder / "readme.txt", "");
    fs::create_directory(folder / "folder.mp3");
    const auto size = [&](const std::string& name) {
        return FormatByteCount(static_cast<std::int64_t>(fs::file_size(folder / name)), ".");
    };
    ListFolder(folder.Path());
    EXPECT_EQ(ListView1.rows, (std::vector<FakeRow>{{"a tone", {"00:03", size("a tone.mp3")}, "a tone.mp3"},
                                                     {"empty", {"00:00", "000"}, "empty.mp3"},
                                                     {"notes", {"00:00", "017"}, "notes.mp3"},
                                                     {"Track", {"00:05", size("Track.MP3")}, "Track.MP3"},
                                                     {"\xff\xfe", {"00:02", size(nonUtf8)}, nonUtf8}}));
    EXPECT_EQ(Label1.caption, "5 Songs");
    EXPECT_EQ(Label2.caption, "Totaal : 00:00:10");
    EXPECT_TRUE(messages.shown.empty());
    for (const char* name : {"Track.MP3", "\xff\xfe.mp3", "notes.mp3"}) ClickSong(name);
    EXPECT_EQ(List1.items, (std::vector<std::string>{folder / "Track.MP3", folder / nonUtf8, folder / "notes.mp3"}));
    EXPECT_EQ(ListView2.Texts(), (std::vector<std::string>{"Track", "\xff\xfe", "notes"}));
    EXPECT_EQ(Label5.caption, "Totaal : 00:00:07");
}

}  // namespace
}  // namespace tunekist::test
