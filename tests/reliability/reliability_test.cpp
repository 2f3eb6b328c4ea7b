// Damaged, unusual and changing files, made here or found in the real world, through the real
// window and engine; no file in a listed folder is ever written.
#include <gtest/gtest.h>
#include <strings.h>
#include <sys/inotify.h>
#include <unistd.h>

#include <QTimer>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <random>

#include "library/size_text.h"
#include "platform/engine/real_engine.h"
#include "playback/rounding.h"
#include "playback/time_text.h"
#include "tests/support/corpus.h"
#include "tests/support/player_window.h"
#include "tests/support/test_audio.h"

namespace tunekist::test {
namespace {

namespace fs = std::filesystem;

class ReliabilityTest : public QuietWindowTest {
protected:
    const ListView& Rows() const { return program().Controls().ListView1; }
    bool Playing() const { return program().state.Playing; }
    // Ticks until the timer stops; then both lists are empty, the player rests, a message was shown
    // (just one when `once`), and never more than two engines were alive.
    void ExpectPlayedOut(bool once = true) {
        EXPECT_LT(TickUntilTheTimerStops(500).size(), 500u);
        EXPECT_EQ(QueuedPaths().size() + QueuedNames().size(), 0u);
        EXPECT_FALSE(Playing() || TimerRuns());
        EXPECT_TRUE(once ? messages.size() == 1 : !messages.empty()) << messages.size() << " messages";
        EXPECT_LE(engines.PeakAlive(), 2);
    }
    // Until the test ends with Exit, nothing in `watched` may be written, made, moved or deleted.
    void WatchFolder(const std::string& watched) {
        watch_ = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
        ASSERT_GE(inotify_add_watch(watch_, watched.c_str(), IN_ALL_EVENTS & ~(IN_ACCESS | IN_OPEN | IN_CLOSE_NOWRITE)),
                  0);
    }
    void TearDown() override {
        // A test that gave up root to be refused a file takes it back.
        EXPECT_TRUE(geteuid() == getuid() || seteuid(getuid()) == 0);
        if (watch_ < 0) return;
        Press(kExit);
        alignas(inotify_event) char buffer[4096];
        const auto* event = reinterpret_cast<const inotify_event*>(buffer);
        EXPECT_LT(read(watch_, buffer, sizeof buffer), 0)
            << "written in a watched folder: " << (event->len ? event->name : ".") << ", event mask " << event->mask;
        close(watch_);
    }
    ScratchFolder folder{"reliability"};

private:
    int watch_ = -1;
};

using Make = std::function<void(const std::string&)>;

// Beside each odd file lies a good one-second song, listed first (every odd name sorts after it).
const std::string kGood = "m.mp3";

// Runs a shell script that writes the file at "$1"; "$2" is a good song of `seconds`.
Make Shell(const std::string& script, double seconds = 1.0) {
    return [=](const std::string& path) {
        const std::string command =
            "sh -c '" + script + "' sh '" + path + "' '" + CachedTone(seconds, 440) + "' >/dev/null 2>&1";
        if (std::system(command.c_str()) != 0) throw std::runtime_error("failed: " + command);
    };
}

Make Song(double seconds, double hz = 440) {
    return [=](const std::string& path) { CopyFile(CachedTone(seconds, hz), path); };
}

void WriteRandomBytes(const std::string& path) {
    std::mt19937 random(20240607);
    std::string bytes(64 * 1024, '\0');
    for (char& byte : bytes) byte = static_cast<char>(random() & 0xFF);
    WriteBytes(path, bytes);
}

enum When { kDuringListing, kAfterListing, kWhilePlaying };

struct OddFile {
    const char* name;
    Make make;
    const char* time;  // its row's time; nullptr when nothing in the song list leads to it
    double plays = 0;  // the length Play finds, or 0 when it cannot play
    std::string fileName = "x.mp3";
    const char* size = nullptr;  // the size column's text, when the file's size is known here
    Make change = nullptr;       // done to the file at `when`
    When when = kAfterListing;
    int queueTotal = -1;          // seconds the playlist totals, when not what the folder listed
    const char* shown = nullptr;  // the row's text, when not the file's name without ".mp3"
};

void PrintTo(const OddFile& odd, std::ostream* out) { *out << odd.name; }

class OddFileTest : public ReliabilityTest, public ::testing::WithParamInterface<OddFile> {};

TEST_P(OddFileTest, ListsQueuesAndPlaysAsDefined) {
    const OddFile& odd = GetParam();
    const std::string path = folder / odd.fileName;
    Song(1.0)(folder / kGood);
    odd.make(path);
    // Root reads any file, so the process gives up root to be refused one.
    if ((fs::status(path).permissions() & fs::perms::owner_read) == fs::perms::none) {
        EXPECT_TRUE(geteuid() != 0 || seteuid(65534) == 0);
        if (std::ifstream(path).is_open()) GTEST_SKIP() << "cannot give up root here, so no file is unreadable";
    }
    const auto changeAt = [&](When when) {
        if (odd.change && odd.when == when) odd.change(path);
    };
    if (!odd.change) WatchFolder(folder.Path());

    const int listedTotal = 1 + (odd.time ? std::stoi(odd.time) * 60 + std::stoi(odd.time + 3) : 0);
    // The listing's first yield comes once the good song is measured.
    if (odd.when == kDuringListing) QTimer::singleShot(0, [change = odd.change, path] { change(path); });
    ListFolder(folder.Path());
    EXPECT_TRUE(messages.empty());
    ASSERT_EQ(ListedFiles(), odd.time ? (Strings{kGood, odd.fileName}) : Strings{kGood});
    EXPECT_EQ(Text(window->Label1) + Text(window->Label2),
              (odd.time ? "2 Songs" : "1 Songs") + TotalCaption(listedTotal));
    // Opening one that is not listed fails at once (a FIFO is not waited on).
    if (!odd.time) {
        EXPECT_THROW(RealEngine().RenderFile(path), EngineError);
        return;
    }
    const std::string shown = odd.shown ? odd.shown : odd.fileName.substr(0, odd.fileName.size() - 4);
    EXPECT_EQ(Rows().RowText(2), shown);
    EXPECT_EQ(Rows().SubItem(2, 1), odd.time);
    EXPECT_EQ(Rows().SubItem(2, 2), odd.size ? odd.size : FormatByteCount(std::int64_t(fs::file_size(path)), "."));
    if (odd.when == kDuringListing) return;
    changeAt(kAfterListing);

    // Queued by the file's exact bytes; the playlist keeps the listed time, its total measures anew.
    ClickSong(odd.fileName);
    ClickSong(kGood);
    ASSERT_EQ(QueuedPaths(), (Strings{path, folder / kGood}));
    EXPECT_EQ(QueuedNames(), (Strings{shown, "m"}));
    EXPECT_EQ(program().Controls().ListView2.SubItem(1, 1), odd.time);
    EXPECT_EQ(Text(window->Label5), TotalCaption(odd.queueTotal < 0 ? listedTotal : odd.queueTotal));
    EXPECT_EQ(engines.Alive(), 0);

    Press(kPlay);
    EXPECT_EQ(Playing(), odd.plays > 0);
    EXPECT_EQ(TimerRuns(), odd.plays > 0);
    EXPECT_EQ(messages, odd.plays > 0 ? Strings{} : Strings{"Kan deze song niet afspelen:\n" + shown});
    messages.clear();
    if (odd.plays > 0) {
        EXPECT_NEAR(Engine().get_Duration(), odd.plays, 0.05);
        ASSERT_TRUE(WaitForPosition(0.2));
        changeAt(kWhilePlaying);
    } else {
        // The song that cannot play stays at the head until Next moves past it.
        EXPECT_EQ(QueuedPaths().size(), 2u);
        Press(kNext);
        EXPECT_TRUE(Playing());
        EXPECT_EQ(Text(window->Label3) + Text(window->Label5), "mTotaal : 00:00:01");
    }
    ExpectPlayedOut();
    EXPECT_EQ(engines.Alive(), 1);  // the last engine, kept as the player keeps it
}

INSTANTIATE_TEST_SUITE_P(
    Files, OddFileTest,
    ::testing::Values(
        OddFile{"ZeroBytes", Shell(": >\"$1\""), "00:00", 0, "x.mp3", "000"},
        OddFile{"Wave", Shell("sox -n -r 44100 -c 2 -b 16 -t wav \"$1\" synth 1 sine 440"), "00:00"},
        OddFile{"CutInItsMiddle", Shell("head -c $(($(stat -c %s \"$2\") / 2)) \"$2\" >\"$1\"", 2.0), "00:01", 1.0},
        // An ID3v2.3 tag of 20 MiB (its size in four 7-bit bytes), all padding, before the song.
        OddFile{"HugeId3v2Tag",
                Shell("{ printf \"ID3\\3\\0\\0\\12\\0\\0\\0\"; head -c 20971520 /dev/zero; cat \"$2\"; } >\"$1\""),
                "00:01", 1.0},
        OddFile{"RandomBytes", WriteRandomBytes, "00:00", 0, "x.mp3", "65.536"},
        // Its length can still be read, so its size is shown.
        OddFile{"Unreadable", Shell("cp \"$2\" \"$1\" && chmod 000 \"$1\""), "00:00"},
        OddFile{"Folder", Shell("mkdir \"$1\""), nullptr}, OddFile{"Fifo", Shell("mkfifo \"$1\""), nullptr},
        OddFile{"DanglingLink", Shell("ln -s \"$1.gone\" \"$1\""), nullptr},
        // Read as Windows-1252, its undefined bytes (0x81) as Latin-1.
        OddFile{"NameNotUtf8", Song(1.0), "00:01", 1.0, "\xff\xfe lied \xe9\x80\x81\x9f.mp3", nullptr, nullptr,
                kAfterListing, -1, "\u00ff\u00fe lied \u00e9\u20ac\u0081\u0178"},
        // What was not measured before its folder went measures as nothing and has no size.
        OddFile{"FolderDeletedDuringListing", Song(1.0), "00:00", 0, "x.mp3", "", Shell("rm -r \"${1%/*}\""),
                kDuringListing},
        OddFile{"DeletedBeforeClicking", Song(1.0), "00:01", 0, "x.mp3", nullptr, Shell("rm \"$1\""), kAfterListing, 1},
        OddFile{"ReplacedBeforeClicking", Song(1.0), "00:01", 2.0, "x.mp3", nullptr, Song(2.0, 660), kAfterListing, 3},
        // Long enough that most of it is still unread when it is cut to a quarter.
        OddFile{"CutShortWhilePlaying", Song(60.0), "01:00", 60.0, "x.mp3", nullptr,
                Shell("truncate -s $(($(stat -c %s \"$1\") / 4)) \"$1\""), kWhilePlaying}),
    [](const auto& info) { return std::string(info.param.name); });

// Real-world damaged and unusual MP3s (the shared corpus, read where it lies) list as the reference
// says and play out, Next moving past the songs that cannot play. The raw .bit streams are
// reached through links named .mp3, as a user renaming them would.
struct CorpusSet {
    const char* name;       // a folder of the corpus
    const char* extension;  // of its files listed, ".bit" through links
    bool somePlay;          // false for a folder whose only song holds no sound
};

void PrintTo(const CorpusSet& folder, std::ostream* out) { *out << folder.name; }

class CorpusTest : public ReliabilityTest, public ::testing::WithParamInterface<CorpusSet> {};

TEST_P(CorpusTest, FolderListsAsTheReferenceSaysQueuesAndPlaysOut) {
    if (!HaveCorpus()) GTEST_SKIP() << NoCorpus();
    const CorpusSet& param = GetParam();
    const bool raw = std::string(param.extension) == ".bit";
    std::map<std::string, CorpusFile> references;  // by the name each file is listed under
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
    EXPECT_EQ(Text(window->Label1) + Text(window->Label2),
              std::to_string(references.size()) + " Songs" + TotalCaption(total));

    // Next whenever the timer stopped with songs still queued (the head song could not play).
    for (const std::string& file : ListedFiles()) ClickSong(file);
    EXPECT_EQ(QueuedPaths().size(), references.size());
    int started = 0;
    Press(kPlay);
    for (int presses = 0; !QueuedPaths().empty() && presses < 2 * Rows().RowCount(); ++presses) {
        const std::size_t before = QueuedPaths().size();
        if (Playing()) ++started;
        TickUntilTheTimerStops();
        if (QueuedPaths().size() == before && !QueuedPaths().empty()) Press(kNext);
    }
    EXPECT_EQ(started > 0, param.somePlay) << started << " songs started";
    ExpectPlayedOut(false);
}

INSTANTIATE_TEST_SUITE_P(Folders, CorpusTest,
                         ::testing::Values(CorpusSet{"mutagen", ".mp3", true}, CorpusSet{"taglib", ".mp3", true},
                                           CorpusSet{"tinytag", ".mp3", true}, CorpusSet{"minimp3", ".mp3", false},
                                           CorpusSet{"minimp3", ".bit", true}),
                         [](const auto& info) { return std::string(info.param.name) + (info.param.extension + 1); });

}  // namespace
}  // namespace tunekist::test
