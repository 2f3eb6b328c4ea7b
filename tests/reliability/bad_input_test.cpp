// Damaged, unusual, awkwardly named and changing files in a listed folder, through the real window
// and engine: what the song list shows, what the playlist queues and totals, what Play does, how
// the queue moves on, and that nothing in the folder is written. Beside each odd file lies a good
// one-second song, m.mp3, listed first and always playable; every odd name sorts after it when
// case is ignored.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QString>
#include <QTimer>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <random>

#include "library/size_text.h"
#include "platform/engine/real_engine.h"
#include "playback/time_text.h"
#include "tests/reliability/reliability_test.h"

namespace tunekist::test {
namespace {

namespace fs = std::filesystem;
using Make = std::function<void(const std::string&)>;

const std::string kGood = "m.mp3";

// Runs a shell script that writes the file at "$1"; "$2" is a good one-second song.
Make Shell(const std::string& script) {
    return [=](const std::string& path) {
        const std::string command =
            "sh -c '" + script + "' sh '" + path + "' '" + CachedTone(1.0, 440) + "' >/dev/null 2>&1";
        if (std::system(command.c_str()) != 0) throw std::runtime_error("failed: " + command);
    };
}

Make Bytes(const std::string& bytes) {
    return [=](const std::string& path) { WriteBytes(path, bytes); };
}

Make Song(double seconds, double hz = 440) {
    return [=](const std::string& path) { CopyFile(CachedTone(seconds, hz), path); };
}

// The first `bytes` of a song of `seconds`, or the first half of it.
Make Cut(double seconds, std::uintmax_t bytes = 0) {
    return [=](const std::string& path) {
        const std::string song = CachedTone(seconds, 440);
        WriteTruncatedCopy(song, path, bytes ? bytes : fs::file_size(song) / 2);
    };
}

void WriteRandomBytes(const std::string& path) {
    std::mt19937 random(20240607);
    std::string bytes(64 * 1024, '\0');
    for (char& byte : bytes) byte = static_cast<char>(random() & 0xFF);
    WriteBytes(path, bytes);
}

enum When { kDuringListing, kAfterListing, kAfterClicking, kWhilePlaying };

struct OddFile {
    const char* name;
    Make make;
    const char* time;            // its row's time; nullptr when nothing in the song list leads to it
    double plays = 0;            // the length Play finds, or 0 when it cannot play
    std::string fileName = "x.mp3";
    const char* size = nullptr;  // the size column's text, when the file's size is known here
    Make change = nullptr;       // done to the file at `when`
    When when = kAfterListing;
    int queueTotal = -1;         // seconds the playlist totals, when not what the folder listed
};

void PrintTo(const OddFile& odd, std::ostream* out) { *out << odd.name; }

class OddFileTest : public ReliabilityTest, public ::testing::WithParamInterface<OddFile> {};

TEST_P(OddFileTest, ListsQueuesAndPlaysAsDefined) {
    const OddFile& odd = GetParam();
    const std::string path = folder / odd.fileName;
    Song(1.0)(folder / kGood);
    odd.make(path);
    if (fs::is_regular_file(path) && std::ifstream(path).is_open() &&
        (fs::status(path).permissions() & fs::perms::owner_read) == fs::perms::none) {
        GTEST_SKIP() << "cannot give up root here, so no file is unreadable";
    }
    const auto changeAt = [&](When when) {
        if (odd.change && odd.when == when) odd.change(path);
    };
    if (!odd.change) WatchFolder(folder.Path());

    // The totals count the good song and the odd one's listed time.
    const int listedTotal = 1 + (odd.time ? std::stoi(odd.time) * 60 + std::stoi(odd.time + 3) : 0);
    // The listing's first yield to the window comes once the good song is measured.
    if (odd.when == kDuringListing) QTimer::singleShot(0, [change = odd.change, path] { change(path); });
    ListFolder(folder.Path());
    EXPECT_TRUE(messages.empty());
    ASSERT_EQ(ListedFiles(), odd.time ? (Strings{kGood, odd.fileName}) : Strings{kGood});
    EXPECT_EQ(Text(window->Label1), odd.time ? "2 Songs" : "1 Songs");
    EXPECT_EQ(Text(window->Label2), TotalCaption(listedTotal));
    EXPECT_EQ(Rows().SubItem(1, 1), "00:01");
    if (!odd.time) {
        // Opening it anyway fails at once (a FIFO is not waited on).
        EXPECT_THROW(RealEngine().RenderFile(path), EngineError);
        return;
    }
    // The row shows the file's name without its extension (its bytes as the toolkit shows them),
    // its length and its size, grouped the Dutch way.
    const std::string shown = QString::fromStdString(odd.fileName.substr(0, odd.fileName.size() - 4)).toStdString();
    EXPECT_EQ(Rows().RowText(2), shown);
    EXPECT_EQ(Rows().SubItem(2, 1), odd.time);
    EXPECT_EQ(Rows().SubItem(2, 2), odd.size ? odd.size : FormatByteCount(std::int64_t(fs::file_size(path)), "."));
    if (odd.when == kDuringListing) return;
    changeAt(kAfterListing);

    // Queued by the file's exact bytes, whatever the row shows; the playlist's row keeps the
    // listed time, its total takes the file as it is now.
    ClickSong(odd.fileName);
    ClickSong(kGood);
    ASSERT_EQ(Queued(), (Strings{path, folder / kGood}));
    EXPECT_EQ(QueuedNames(), (Strings{shown, "m"}));
    EXPECT_EQ(program().Controls().ListView2.SubItem(1, 1), odd.time);
    EXPECT_EQ(Text(window->Label5), TotalCaption(odd.queueTotal < 0 ? listedTotal : odd.queueTotal));
    EXPECT_EQ(engines.Alive(), 0);
    changeAt(kAfterClicking);

    Press(kPlay);
    EXPECT_EQ(Playing(), odd.plays > 0);
    EXPECT_EQ(TimerRuns(), odd.plays > 0);
    EXPECT_TRUE(messages.empty());
    if (odd.plays > 0) {
        EXPECT_NEAR(Engine().get_Duration(), odd.plays, 0.05);
        ASSERT_TRUE(WaitForPosition(0.2));
        changeAt(kWhilePlaying);
    } else {
        // The song that cannot play stays at the head, without a message, until Next moves past it.
        EXPECT_EQ(Queued().size(), 2u);
        Press(kNext);
        EXPECT_TRUE(Playing());
        EXPECT_EQ(Text(window->Label3), "m");
        EXPECT_EQ(Text(window->Label5), "Totaal : 00:00:01");
    }
    ExpectPlayedOut();
    EXPECT_EQ(engines.Alive(), 1);  // the last engine, kept as the player keeps it
}

void Delete(const std::string& path) { fs::remove(path); }
const std::string kSine = " synth 1 sine 440";

INSTANTIATE_TEST_SUITE_P(
    Files, OddFileTest,
    ::testing::Values(
        OddFile{"ZeroBytes", Bytes(""), "00:00", 0, "x.mp3", "000"},
        OddFile{"Text", Bytes("Geen liedje:\nmelk\nbrood\n"), "00:00", 0, "x.mp3", "024"},
        OddFile{"Jpeg", Shell("convert -size 64x48 plasma:fractal \"jpg:$1\""), "00:00"},
        OddFile{"Wave", Shell("sox -n -r 44100 -c 2 -b 16 -t wav \"$1\"" + kSine), "00:00"},
        OddFile{"Ogg", Shell("sox -n -r 44100 -c 2 -t ogg \"$1\"" + kSine), "00:00"},
        OddFile{"CutInItsMiddle", Cut(2.0), "00:01", 1.0},
        OddFile{"CutInItsFirstFrame", Cut(1.0, 200), "00:00"},
        // An ID3v2.3 tag of 20 MiB (its size in four 7-bit bytes), all padding, before the song.
        OddFile{"HugeId3v2Tag",
                Shell("{ printf \"ID3\\3\\0\\0\\12\\0\\0\\0\"; head -c 20971520 /dev/zero; cat \"$2\"; } >\"$1\""),
                "00:01", 1.0},
        OddFile{"RandomBytes", WriteRandomBytes, "00:00", 0, "x.mp3", "65.536"},
        // Root reads every file whatever its mode, so the process gives up root (the fixture takes
        // it back). The file's length can still be read, so its size is shown.
        OddFile{"Unreadable",
                [](const std::string& p) {
                    Song(1.0)(p);
                    fs::permissions(p, fs::perms::none);
                    EXPECT_TRUE(geteuid() != 0 || seteuid(65534) == 0);
                },
                "00:00"},
        OddFile{"Folder", [](const std::string& p) { fs::create_directory(p); }, nullptr},
        OddFile{"Fifo", [](const std::string& p) { ASSERT_EQ(mkfifo(p.c_str(), 0644), 0); }, nullptr},
        OddFile{"DanglingLink", [](const std::string& p) { fs::create_symlink(p + ".gone", p); }, nullptr},
        OddFile{"Hidden", Bytes(""), nullptr, 0, ".x.mp3"},
        OddFile{"NotNamedMp3", Bytes(""), nullptr, 0, "x.txt"},
        OddFile{"ExtensionInCapitals", Song(1.0), "00:01", 1.0, "X.MP3"},
        OddFile{"NameNotUtf8", Song(1.0), "00:01", 1.0, "\xff\xfe lied \xe9.mp3"},
        OddFile{"NameWithNewline", Song(1.0), "00:01", 1.0, "x\nlied.mp3"},
        OddFile{"Name255Bytes", Song(1.0), "00:01", 1.0, std::string(251, 'x') + ".mp3"},
        // What was not measured before its folder went measures as nothing and has no size.
        OddFile{"FolderDeletedDuringListing", Song(1.0), "00:00", 0, "x.mp3", "",
                [](const std::string& p) { fs::remove_all(fs::path(p).parent_path()); }, kDuringListing},
        OddFile{"DeletedBeforeClicking", Song(1.0), "00:01", 0, "x.mp3", nullptr, Delete, kAfterListing, 1},
        OddFile{"ReplacedBeforeClicking", Song(1.0), "00:01", 2.0, "x.mp3", nullptr, Song(2.0, 660), kAfterListing, 3},
        OddFile{"DeletedAfterClicking", Song(1.0), "00:01", 0, "x.mp3", nullptr, Delete, kAfterClicking},
        OddFile{"ReplacedAfterClicking", Song(1.0), "00:01", 2.0, "x.mp3", nullptr, Song(2.0, 660), kAfterClicking},
        // Long enough that most of it is still unread when it is cut to a quarter.
        OddFile{"CutShortWhilePlaying", Song(60.0), "01:00", 60.0, "x.mp3", nullptr,
                [](const std::string& p) { fs::resize_file(p, fs::file_size(p) / 4); }, kWhilePlaying}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace tunekist::test
