// The drive, folder, song and play lists in the real window over the real disk and engine.
#include <QApplication>
#include <QCursor>
#include <QDir>
#include <QMessageBox>
#include <QTest>
#include <QTimer>

#include <fcntl.h>
#include <sys/inotify.h>
#include <sys/mman.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <filesystem>
#include <functional>
#include <map>
#include <thread>

#include "library/size_text.h"
#include "library/song_path.h"
#include "platform/engine/listing_read_ahead.h"
#include "tests/support/player_window.h"
#include "tests/support/test_audio.h"

namespace tunekist::test {
namespace {

namespace fs = std::filesystem;
using Rows = std::vector<Strings>;

// A song of `seconds`, small enough to make in a moment and exact to the sample.
std::string Song(double seconds) {
    return ReadBytes(CachedTone(seconds, 440, {.sampleRate = 8000, .channels = 1, .bitrateKbps = 32}));
}

// An hour and 72 s: 51,000 copies of lame's first 72-byte frame, which borrows no bits from before.
std::string HourLongSong() {
    const std::string frame =
        ReadBytes(CachedTone(1.0, 440, {.sampleRate = 8000, .channels = 1, .bitrateKbps = 8, .lameTag = false}));
    std::string song;
    for (int i = 0; i < 51000; ++i) song += frame.substr(0, 72);
    return song;
}

struct File {
    std::string name, content;
    std::size_t bytes;  // the content padded with zero bytes
};

class SongListTest : public QuietWindowTest {
protected:
    SongListTest() { ++testsStarted; }
    static inline int testsStarted = 0;  // in this process
    std::string MakeFolder(const std::string& name, const std::vector<File>& files) const {
        const std::string folder = scratch / name;
        fs::create_directories(folder);
        for (const File& file : files) {
            WriteBytes(folder + "/" + file.name, file.content + std::string(file.bytes - file.content.size(), '\0'));
        }
        return folder;
    }
    static Rows RowsOf(const QTreeWidget* view) {
        Rows rows;
        for (int i = 0; i < view->topLevelItemCount(); ++i) {
            const QTreeWidgetItem* item = view->topLevelItem(i);
            rows.push_back({item->text(0).toStdString(), item->text(1).toStdString(), item->text(2).toStdString()});
        }
        return rows;
    }
    QStringList Folders() const {
        QStringList texts;
        for (int i = 0; i < window->Dir1->count(); ++i) texts << window->Dir1->item(i)->text().trimmed();
        return texts;
    }
    // Lists `folder`, running `atFirst` in the yield after the first song was measured and
    // `atSecond` in the first yield after the next one was; true when both came.
    bool ListFolderChecking(const std::string& folder, const std::function<void()>& atFirst,
                            const std::function<void()>& atSecond) {
        int madeAtFirstYield = -1;  // each song is measured by an engine of its own
        QTimer atEachYield;
        QObject::connect(&atEachYield, &QTimer::timeout, [&] {
            if (madeAtFirstYield < 0) {
                madeAtFirstYield = engines.Made();
                atFirst();
            } else if (engines.Made() != madeAtFirstYield) {
                atEachYield.stop();
                atSecond();
            }
        });
        atEachYield.start(0);
        ListFolder(folder);
        return !atEachYield.isActive();
    }
    void Open(const QString& text) {
        const auto found = window->Dir1->findItems(text, Qt::MatchEndsWith);
        ASSERT_EQ(found.size(), 1) << text.toStdString();
        window->Dir1->setCurrentItem(found[0]);
        QTest::keyClick(window->Dir1, Qt::Key_Return);
    }
};

// Times are rounded, halves to even, before they are split; the totals round after every song:
// R(10 + 0.6) = 11, R(11 + 11.5) = 22, R(22 + 59.95) = 82, + 3672 = 3754. The playlist copies the
// clicked rows and measures its total anew: 10, 11, 22, nothing for a file without a song, R(32.5) = 32.
TEST_F(SongListTest, ListsAFolderAndQueuesTheClickedSongs) {
    const std::string folder = MakeFolder("muziek", {{"a.mp3", Song(10.5), 65536},
                                                     {"B.MP3", Song(0.6), 4000},
                                                     {"c.mp3", Song(11.5), 50000},
                                                     {"d.mp3", Song(59.95), 250000},
                                                     {"kapot.mp3", "", 99},
                                                     {"Lang.mp3", HourLongSong(), 4321056},
                                                     {"leeg.mp3", "", 0},
                                                     {".verborgen.mp3", Song(0.6), 4000},
                                                     {"notities.txt", "", 5}});
    ListFolder(folder);
    const Rows rows = RowsOf(window->ListView1);
    EXPECT_EQ(rows, (Rows{{"a", "00:10", "65.536"},
                          {"B", "00:01", "4.000"},
                          {"c", "00:12", "50.000"},
                          {"d", "01:00", "250.000"},
                          {"kapot", "00:00", "099"},
                          {"Lang", "01:01:12", "4.321.056"},
                          {"leeg", "00:00", "000"}}));
    EXPECT_EQ(Text(window->Label1) + Text(window->Label2), "7 SongsTotaal : 01:02:34");
    EXPECT_TRUE(messages.empty());

    for (const char* file : {"a.mp3", "B.MP3", "c.mp3", "kapot.mp3", "a.mp3"}) ClickSong(file);
    EXPECT_EQ(RowsOf(window->ListView2), (Rows{rows[0], rows[1], rows[2], rows[4], rows[0]}));
    EXPECT_EQ(QueuedPaths(), (Strings{folder + "/a.mp3", folder + "/B.MP3", folder + "/c.mp3", folder + "/kapot.mp3",
                                      folder + "/a.mp3"}));
    EXPECT_EQ(Text(window->Label5), "Totaal : 00:00:32");
    EXPECT_EQ(engines.Alive(), 0) << "every measuring engine is released";

    // A folder without songs empties the list; sizes are grouped as the user's locale groups them.
    ListFolder(MakeFolder("leeg", {{"notities.txt", "", 5}}));
    EXPECT_TRUE(RowsOf(window->ListView1).empty());
    EXPECT_EQ(Text(window->Label1) + Text(window->Label2), "0 SongsTotaal : 00:00:00");
    for (const auto& [language, size] :
         {std::pair{QLocale::English, "4,321,056"}, {QLocale::Swedish, "4\u00a0321\u00a0056"}}) {
        QLocale::setDefault(QLocale(language));
        ListFolder(MakeFolder(size, {{"groot.mp3", "", 4321056}}));
        EXPECT_EQ(RowsOf(window->ListView1), (Rows{{"groot", "00:00", size}}));
    }
    // No test may write into the root folder, so its joined paths are checked apart.
    EXPECT_EQ(JoinPath("/", "a.mp3"), "/a.mp3");
}

// The folder list holds the chain from the root and the visible subfolders sorted ignoring case; a
// name that is not UTF-8 reads as Windows-1252. The same folder written otherwise lists nothing
// again; a folder gone since it was shown is not opened.
TEST_F(SongListTest, FoldersAndDrivesOpenedAreListed) {
    const std::string root = scratch / "bladeren";
    for (const char* name : {"beta", "Alpha", ".verborgen", "\xff"}) fs::create_directories(root + "/" + name);
    fs::create_symlink(CachedTone(1.0, 440), root + "/\xff/een.mp3");
    ListFolder(root);
    const QStringList expected = QStringList{"/"} + QString::fromStdString(root).split('/', Qt::SkipEmptyParts) +
                                 QStringList{"Alpha", "beta", "\u00ff"};
    EXPECT_EQ(Folders(), expected);
    EXPECT_EQ(window->Dir1->currentRow(), expected.size() - 4);
    const int made = engines.Made();
    for (const std::string& same : {root + "/", root + "/beta/.."}) ListFolder(same);
    EXPECT_EQ(engines.Made(), made) << "no listing without a change";

    Open("\u00ff");
    EXPECT_EQ(window->Dir1->Path(), root + "/\xff");
    EXPECT_EQ(ListedFiles(), Strings{"een.mp3"});
    // A parent by a real double-click: a click, then the second press the platform reports as double.
    const QPoint centre =
        window->Dir1->visualItemRect(window->Dir1->findItems("bladeren", Qt::MatchEndsWith).at(0)).center();
    QTest::mouseClick(window->Dir1->viewport(), Qt::LeftButton, {}, centre);
    QTest::mouseDClick(window->Dir1->viewport(), Qt::LeftButton, {}, centre);
    QTest::mouseRelease(window->Dir1->viewport(), Qt::LeftButton, {}, centre);
    EXPECT_EQ(window->Dir1->Path(), root);
    EXPECT_TRUE(ListedFiles().empty());

    fs::remove(root + "/beta");
    Open("beta");
    EXPECT_EQ(window->Dir1->Path(), root);
    EXPECT_EQ(Folders(), expected);

    // A drive picked is listed; one that is not ready changes nothing and says nothing. The drive
    // shown for a folder is the longest that holds it, and showing it picks nothing.
    EXPECT_EQ(window->Drive1->itemText(0), "Bestandssysteem (/)");
    EXPECT_EQ(window->Drive1->itemText(1), "Persoonlijke map (" + QDir::homePath() + ")");
    const std::string stick = root + "/\xff";
    for (const std::string& drive : {stick, scratch / "cdrom"}) {
        window->Drive1->addItem("drive", QByteArray::fromStdString(drive));
        QTest::keyClick(window->Drive1, Qt::Key_End);
        EXPECT_EQ(window->Drive1->Drive(), drive);
        EXPECT_EQ(window->Dir1->Path(), stick);
        EXPECT_EQ(ListedFiles(), Strings{"een.mp3"});
    }
    EXPECT_TRUE(messages.empty());
    window->Drive1->SelectDriveOf(QDir::homePath().toStdString() + "/Muziek");
    EXPECT_EQ(window->Drive1->currentIndex(), 1);
    for (const auto& [folder, drive] : {std::pair{stick + "/sub", stick}, {"/usr/share", "/"}}) {
        window->Drive1->SelectDriveOf(folder);
        EXPECT_EQ(window->Drive1->Drive(), drive);
    }
    EXPECT_EQ(window->Dir1->Path(), stick);
}

// What a person does in a listing's first yield, and what the window shows after the listing.
// Exit and the close box end the listing at once, its totals never shown.
enum Action { kAnotherFolder, kAnotherFolderAndPlay, kClickTheFirstSong, kExitTheProgram, kCloseTheWindow };
struct InTheYield {
    const char* name;
    Action action;
    Strings listed, queued;
    const char* totals;  // Label1 and Label2
};

void PrintTo(const InTheYield& row, std::ostream* out) { *out << row.name; }

class FirstYield : public SongListTest, public ::testing::WithParamInterface<InTheYield> {};

TEST_P(FirstYield, ShowsTheHourglassAndLeavesTheListAsThePersonAsked) {
    const InTheYield& row = GetParam();
    Queue("tien", CachedTone(10.0, 440));
    const std::string other = MakeFolder("ander", {{"x.mp3", Song(4.5), 65536}});
    const std::string folder = MakeFolder("muziek", {{"a.mp3", Song(0.6), 4000}, {"b.mp3", Song(11.5), 50000}});
    QTimer::singleShot(0, [&] {
        ASSERT_NE(QGuiApplication::overrideCursor(), nullptr);
        EXPECT_EQ(QGuiApplication::overrideCursor()->shape(), Qt::WaitCursor);
        if (row.action <= kAnotherFolderAndPlay) ListFolder(other);
        if (row.action == kAnotherFolderAndPlay || row.action == kExitTheProgram) Press(kPlay);
        if (row.action == kClickTheFirstSong) ClickSong("a.mp3");
        if (row.action == kExitTheProgram) Press(kExit);
        if (row.action == kCloseTheWindow) window->close();
    });
    ListFolder(folder);
    EXPECT_EQ(ListedFiles(), row.listed);
    EXPECT_EQ(Text(window->Label1) + " | " + Text(window->Label2), row.totals);
    EXPECT_EQ(QueuedNames(), row.queued);
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
    EXPECT_EQ(window->isVisible(), row.action < kExitTheProgram);
    EXPECT_EQ(engines.Alive(), row.action == kAnotherFolderAndPlay ? 1 : 0) << "Exit releases even a playing song";
    // The song started in the yield plays on in its own engine; the listing measured beside it.
    EXPECT_EQ(program().state.Playing, row.action == kAnotherFolderAndPlay);
    EXPECT_TRUE(!program().state.Playing || Engine().get_Duration() == 10.0);
}

INSTANTIATE_TEST_SUITE_P(
    Actions, FirstYield,
    ::testing::Values(
        InTheYield{"AnotherFolder", kAnotherFolder, {"x.mp3"}, {"tien"}, "1 Songs | Totaal : 00:00:04"},
        InTheYield{"AnotherFolderAndPlay", kAnotherFolderAndPlay, {"x.mp3"}, {"tien"}, "1 Songs | Totaal : 00:00:04"},
        InTheYield{
            "ClickTheFirst", kClickTheFirstSong, {"a.mp3", "b.mp3"}, {"tien", "a"}, "2 Songs | Totaal : 00:00:12"},
        InTheYield{"ExitTheProgram", kExitTheProgram, {"a.mp3"}, {"tien"}, "1 Songs | Totaal : 00:00:10"},
        InTheYield{"CloseTheWindow", kCloseTheWindow, {"a.mp3"}, {"tien"}, "1 Songs | Totaal : 00:00:10"}),
    [](const auto& info) { return std::string(info.param.name); });

using Clock = std::chrono::steady_clock;

// Whether the page of `path` at `offset` is in the page cache, or comes there before `until`;
// `drop` first drops the file from there (it is the test's own, and nothing of it is unwritten).
bool InMemory(const std::string& path, std::int64_t offset, Clock::time_point until = {}, bool drop = false) {
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (drop) posix_fadvise(fd, 0, 0, POSIX_FADV_DONTNEED);
    const auto page = static_cast<std::size_t>(sysconf(_SC_PAGESIZE));
    void* mapped = mmap(nullptr, page, PROT_READ, MAP_SHARED, fd, offset / std::int64_t(page) * std::int64_t(page));
    unsigned char resident = 0;
    while (mincore(mapped, page, &resident) == 0 && (resident & 1) == 0 && Clock::now() < until)
        std::this_thread::yield();
    munmap(mapped, page);
    close(fd);
    return (resident & 1) != 0;
}

// How long a hinted page may take to come from the disk, counted from now.
Clock::time_point HintedPagesDue() { return Clock::now() + std::chrono::seconds(10); }

// While the first song is measured, the heads and tails of the songs within the read-ahead's reach
// come from the disk, and nothing further, nor after the listing stopped or moved to another
// folder. Once a song without a tag has been read whole, the songs ahead come whole; tagged ones
// never do. A song that vanishes after it was read ahead lists as a file that cannot be read.
class ReadAhead : public SongListTest, public ::testing::WithParamInterface<const char*> {};

TEST_P(ReadAhead, ReachesABoundedStretchOfTheSongsToComeAndStopsWithTheListing) {
    constexpr std::size_t kReach = ListingReadAhead::kSongsAhead;
    const std::string midway = GetParam();
    const bool untagged = midway.starts_with("Untagged");
    // A song played by an earlier test in this process would have loaded the sound system.
    const bool earlierTests = testsStarted > 1;
    // The untagged song is long enough (3 MB) that the read-ahead started at its head, and the next
    // window after it, would leave its middle and its end out.
    const std::string song =
        untagged ? CachedTone(140.0, 440, {.vbr = true, .vbrQuality = 0, .lameTag = false}) : CachedTone(10.0, 440);
    const std::string folder = MakeFolder("vooruit", {});
    const auto path = [&](std::size_t i) { return folder + "/" + std::to_string(10 + i) + ".mp3"; };
    const std::string size = FormatByteCount(static_cast<std::int64_t>(fs::file_size(song)), ".");
    Rows expected;
    for (std::size_t i = 0; i < kReach + 6; ++i) {
        fs::copy_file(song, path(i));
        sync();
        expected.push_back({std::to_string(10 + i),
                            i == 2     ? "00:00"
                            : untagged ? "02:20"
                                       : "00:10",
                            i == 2 ? "" : size});
        if (InMemory(path(i), 0, {}, true)) GTEST_SKIP() << "the page cache cannot be emptied here";
    }
    const std::int64_t tail = static_cast<std::int64_t>(fs::file_size(path(0))) - 1;
    // Long enough that a read-ahead kept from the first folder would judge it again and reach past
    // its bound.
    std::vector<File> others;
    for (std::size_t i = 0; i < kReach + 2; ++i)
        others.push_back({"w" + std::to_string(10 + i) + ".mp3", Song(0.6), 4000});
    const std::string other = MakeFolder("ander", others);
    ListFolderChecking(
        folder,
        [&] {
            const auto until = HintedPagesDue();
            for (std::size_t i = 1; i <= kReach; ++i)
                EXPECT_TRUE(InMemory(path(i), 0, until) && InMemory(path(i), tail, until)) << i;
            for (std::size_t i = kReach + 1; i < kReach + 6; ++i) EXPECT_FALSE(InMemory(path(i), 0)) << i;
        },
        [&] {
            // Hints are read in the background: the last tagged song's middle must stay out for a second.
            const auto settled = untagged ? HintedPagesDue() : Clock::now() + std::chrono::seconds(1);
            for (std::size_t i = 2; i <= kReach + 1; ++i) {
                EXPECT_EQ(InMemory(path(i), tail / 2, untagged || i == kReach + 1 ? settled : Clock::time_point{}),
                          untagged)
                    << i;
                EXPECT_TRUE(!untagged || InMemory(path(i), tail - ListingReadAhead::kTailBytes - 4096, settled)) << i;
            }
            fs::remove(path(2));
            if (midway.ends_with("AnotherFolder")) ListFolder(other);
            if (midway.ends_with("Exit")) Press(kExit);
        });
    if (midway.ends_with("ListOn")) {
        EXPECT_EQ(RowsOf(window->ListView1), expected);
        // Listing measured every song, but nothing played: the sound system was never loaded.
        EXPECT_TRUE(earlierTests || ReadBytes("/proc/self/maps").find("libSDL2") == std::string::npos);
        return;
    }
    // Hints are read in the background: none may come in a moment later either.
    const auto settled = Clock::now() + std::chrono::milliseconds(300);
    for (std::size_t i = kReach + 2; i < kReach + 6; ++i) EXPECT_FALSE(InMemory(path(i), 0, settled)) << i;
}

INSTANTIATE_TEST_SUITE_P(Midway, ReadAhead,
                         ::testing::Values("ListOn", "AnotherFolder", "Exit", "UntaggedListOn", "UntaggedExit"),
                         [](const auto& info) { return std::string(info.param); });

// Songs behind a long ID3v2 tag (cover art) are measured where the tag ends: once one of them was
// measured, the read-ahead brings in where the audio starts in the songs ahead, and none of the
// tag's own bytes.
TEST_F(SongListTest, ReadAheadReachesTheAudioBehindALongTag) {
    constexpr std::size_t kReach = ListingReadAhead::kSongsAhead;
    constexpr std::int64_t kTagBytes = 64 * 1024;  // 0 4 0 0 in the header, seven bits a byte
    const std::string tag = std::string("ID3\x03\0\0\0\x04\0\0", 10) + std::string(kTagBytes, '\0');
    const std::string folder = MakeFolder("hoes", {});
    const auto path = [&](std::size_t i) { return folder + "/" + std::to_string(10 + i) + ".mp3"; };
    for (std::size_t i = 0; i < kReach + 2; ++i) {
        WriteBytes(path(i), tag + ReadBytes(CachedTone(10.0, 440)));
        sync();
        if (InMemory(path(i), 0, {}, true)) GTEST_SKIP() << "the page cache cannot be emptied here";
    }
    EXPECT_TRUE(ListFolderChecking(
        folder,
        [&] {
            for (std::size_t i = 1; i <= kReach; ++i) EXPECT_TRUE(InMemory(path(i), 0, HintedPagesDue())) << i;
        },
        [&] {
            for (std::size_t i = 2; i <= kReach; ++i)
                EXPECT_TRUE(InMemory(path(i), 10 + kTagBytes, HintedPagesDue()) && !InMemory(path(i), kTagBytes / 2))
                    << i;
        }));
}

// A folder already in memory (listed or played lately) is listed without hints: apart from the
// few songs the read-ahead looks at to tell, each song is opened once, to be measured. The folder
// itself is read once: the song list lists from the folder list's reading.
TEST_F(SongListTest, ReadAheadLeavesAFolderInMemoryAlone) {
    constexpr std::size_t kReach = ListingReadAhead::kSongsAhead, kSongs = 3 * kReach;
    const std::string song = ReadBytes(CachedTone(10.0, 440));
    std::vector<File> files;
    for (std::size_t i = 0; i < kSongs; ++i) files.push_back({std::to_string(10 + i) + ".mp3", song, song.size()});
    const std::string folder = MakeFolder("in-het-geheugen", files);  // just written, so in memory
    for (std::size_t i = 0; i < kSongs; ++i) {
        const std::string path = folder + "/" + files[i].name;
        for (const std::size_t offset : {std::size_t{0}, song.size() / 2, song.size() - 1}) {
            if (!InMemory(path, static_cast<std::int64_t>(offset)))
                GTEST_SKIP() << "the page cache keeps no songs here";
        }
    }
    const int watch = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    if (watch < 0) GTEST_SKIP() << "no inotify here: " << std::strerror(errno);
    // Closes too: inotify folds an event into the same one just before it.
    ASSERT_GE(inotify_add_watch(watch, folder.c_str(), IN_OPEN | IN_CLOSE_NOWRITE), 0);
    ListFolder(folder);
    std::map<std::string, int> opened;
    int folderReads = 0;
    alignas(inotify_event) char events[64 * 1024];
    for (ssize_t got = 0; (got = read(watch, events, sizeof events)) > 0;) {
        for (const char* at = events; at < events + got;) {
            const auto* event = reinterpret_cast<const inotify_event*>(at);
            if (event->mask & IN_OPEN) ++(event->len > 0 ? opened[event->name] : folderReads);
            at += sizeof(inotify_event) + event->len;
        }
    }
    close(watch);
    EXPECT_EQ(RowsOf(window->ListView1).size(), kSongs);
    EXPECT_EQ(folderReads, 1);
    EXPECT_EQ(opened.size(), kSongs);
    // Looked at: the farthest song ahead at the start, then the song before and the farthest ahead
    // once every kReach songs.
    EXPECT_LE(std::ranges::count_if(opened, [](const auto& file) { return file.second > 1; }), 2 * kSongs / kReach + 1);
}

}  // namespace
}  // namespace tunekist::test
