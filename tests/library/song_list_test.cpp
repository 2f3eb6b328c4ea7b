// The drive list, the folder list, the song list and the playlist in the real window over the real
// disk and engine: folders of generated songs padded to chosen sizes, files that hold no song, and
// files the list leaves out, opened with keys and the mouse and their songs clicked.
#include <QApplication>
#include <QCursor>
#include <QDir>
#include <QMessageBox>
#include <QTest>
#include <QTimer>

#include <fcntl.h>
#include <sys/mman.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <thread>

#include "library/size_text.h"
#include "library/song_path.h"
#include "platform/engine/listing_read_ahead.h"
#include "tests/support/player_window.h"
#include "tests/support/test_audio.h"

namespace tunekist::test {
namespace {

namespace fs = std::filesystem;
using Strings = std::vector<std::string>;
using Rows = std::vector<Strings>;

constexpr const char* kRefusal = "Niet te gebruiken terwijl er\neen song wordt afgespeeld!";

// A song of `seconds`, small enough to make in a moment and exact to the sample.
std::string Song(double seconds) {
    return ReadBytes(CachedTone(seconds, 440, {.sampleRate = 8000, .channels = 1, .bitrateKbps = 32}));
}

// An hour and 72 s of song made without encoding one: 51,000 copies of lame's first 72 ms frame,
// which borrows no bits from a frame before it.
std::string HourLongSong() {
    const std::string frame =
        ReadBytes(CachedTone(1.0, 440, {.sampleRate = 8000, .channels = 1, .bitrateKbps = 8, .lameTag = false}));
    std::string song;
    for (int i = 0; i < 51000; ++i) song += frame.substr(0, 72);
    return song;
}

struct File {
    std::string name;
    std::string content;  // padded with zero bytes to `bytes`
    std::size_t bytes;
};

class SongListTest : public QuietWindowTest {
protected:
    std::string MakeFolder(const std::string& name, const std::vector<File>& files) const {
        const std::string folder = scratch / name;
        fs::create_directories(folder);
        for (File file : files) {
            file.content.resize(file.bytes, '\0');
            WriteBytes(folder + "/" + file.name, file.content);
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
    void Open(const QString& text) {
        const auto found = window->Dir1->findItems(text, Qt::MatchEndsWith);
        ASSERT_EQ(found.size(), 1) << text.toStdString();
        window->Dir1->setCurrentItem(found[0]);
        QTest::keyClick(window->Dir1, Qt::Key_Return);
    }
};

// Sorted ignoring case; the name drops its four-character extension; times are rounded, halves to
// even, before they are split, with hours only from an hour on; sizes are grouped with at least
// three digits; a file without a song shows 00:00. The total rounds after every song:
// R(10.5) = 10, R(10 + 0.6) = 11, R(11 + 11.5) = 22, R(22 + 59.95) = 82, + 3672 = 3754.
// The playlist copies the clicked row and queues the file by its own name; its total is measured
// from the files anew, rounding after each: 10, 11, 22, a file without a song adds nothing, R(32.5) = 32.
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
    EXPECT_EQ(Text(window->Label1), "7 Songs");
    EXPECT_EQ(Text(window->Label2), "Totaal : 01:02:34");
    EXPECT_TRUE(messages.empty());

    for (const char* file : {"a.mp3", "B.MP3", "c.mp3", "kapot.mp3", "a.mp3"}) ClickSong(file);
    EXPECT_EQ(RowsOf(window->ListView2), (Rows{rows[0], rows[1], rows[2], rows[4], rows[0]}));
    EXPECT_EQ(QueuedPaths(), (Strings{folder + "/a.mp3", folder + "/B.MP3", folder + "/c.mp3", folder + "/kapot.mp3",
                                      folder + "/a.mp3"}));
    EXPECT_EQ(Text(window->Label5), "Totaal : 00:00:32");
    EXPECT_EQ(engines.Alive(), 0) << "every measuring engine is released";

    // A folder without songs empties the list and its totals.
    ListFolder(MakeFolder("leeg", {{"notities.txt", "", 5}}));
    EXPECT_TRUE(RowsOf(window->ListView1).empty());
    EXPECT_EQ(Text(window->Label1), "0 Songs");
    EXPECT_EQ(Text(window->Label2), "Totaal : 00:00:00");
    // No test may write into the root folder, so its joined paths are checked apart.
    EXPECT_EQ(JoinPath("/", "a.mp3"), "/a.mp3");
}

TEST_F(SongListTest, SizesAreGroupedAsTheUsersLocaleGroupsThem) {
    for (const auto& [language, size] :
         {std::pair{QLocale::English, "4,321,056"}, {QLocale::Swedish, "4\u00a0321\u00a0056"}}) {
        QLocale::setDefault(QLocale(language));
        ListFolder(MakeFolder(size, {{"groot.mp3", "", 4321056}}));
        EXPECT_EQ(RowsOf(window->ListView1), (Rows{{"groot", "00:00", size}}));
    }
}

// While a song plays, and while it is paused, a folder change and a click on a row only show the
// refusal: the list, its folder and the playlist stay as they were.
TEST_F(SongListTest, WhileASongPlaysOrIsPausedFolderChangesAndClicksOnlyShowTheRefusal) {
    std::vector<std::pair<QMessageBox::Icon, QMessageBox::StandardButtons>> boxes;
    const std::function<void()> closeWithOk = window->BeforeMessage;
    window->BeforeMessage = [&] {
        QTimer::singleShot(0, [&] {
            const auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (box) boxes.emplace_back(box->icon(), box->standardButtons());
        });
        closeWithOk();
    };
    Queue("tien", CachedTone(10.0, 440));
    const std::string listed = window->File1.Path();
    Press(kPlay);
    for (const std::string folder : {"spelend", "gepauzeerd"}) {
        ListFolder(MakeFolder(folder, {{"x.mp3", Song(0.6), 4000}}));
        EXPECT_EQ(window->Dir1->Path(), scratch / folder);
        ClickSong("tien.mp3");
        Press(kPauze);
    }
    EXPECT_EQ(messages, Strings(4, kRefusal));
    EXPECT_EQ(boxes, decltype(boxes)(4, {QMessageBox::NoIcon, QMessageBox::Ok}));
    EXPECT_EQ(window->File1.Path(), listed);
    EXPECT_EQ(ListedFiles(), Strings{"tien.mp3"});
    EXPECT_EQ(QueuedNames(), Strings{"tien"});
}

// The folder list holds the chain from the root, the folder, and its visible subfolders sorted
// ignoring case; a name that is not UTF-8 reads as Windows-1252 and is opened by its exact bytes.
// The same folder written otherwise is no change and lists nothing again; a folder gone since it
// was shown is not opened.
TEST_F(SongListTest, FoldersOpenedInTheFolderListAreListed) {
    const std::string root = scratch / "bladeren";
    for (const char* name : {"beta", "Alpha", ".verborgen", "\xff"}) fs::create_directories(root + "/" + name);
    fs::create_symlink(CachedTone(1.0, 440), root + "/\xff/een.mp3");
    ListFolder(root);
    QStringList expected = {"/"};
    expected << QString::fromStdString(root).split('/', Qt::SkipEmptyParts) << "Alpha"
             << "beta"
             << "\u00ff";
    EXPECT_EQ(Folders(), expected);
    EXPECT_EQ(window->Dir1->currentRow(), expected.size() - 4);
    const int made = engines.Made();
    for (const std::string& same : {root + "/", root + "/beta/.."}) ListFolder(same);
    EXPECT_EQ(engines.Made(), made) << "no listing without a change";

    Open("\u00ff");
    EXPECT_EQ(window->Dir1->Path(), root + "/\xff");
    EXPECT_EQ(ListedFiles(), Strings{"een.mp3"});
    // A parent by a real double-click: a click, then the second press the platform reports as double.
    const QListWidgetItem* parent = window->Dir1->findItems("bladeren", Qt::MatchEndsWith).at(0);
    const QPoint centre = window->Dir1->visualItemRect(parent).center();
    QTest::mouseClick(window->Dir1->viewport(), Qt::LeftButton, {}, centre);
    QTest::mouseDClick(window->Dir1->viewport(), Qt::LeftButton, {}, centre);
    QTest::mouseRelease(window->Dir1->viewport(), Qt::LeftButton, {}, centre);
    EXPECT_EQ(window->Dir1->Path(), root);
    EXPECT_TRUE(ListedFiles().empty());

    fs::remove(root + "/beta");
    Open("beta");
    EXPECT_EQ(window->Dir1->Path(), root);
    EXPECT_EQ(Folders(), expected);
    EXPECT_TRUE(messages.empty());
}

// A drive picked with the keys is listed; one that is not ready leaves the folder and its songs
// as they were and says nothing. The drive shown for a folder is the longest that holds it, and
// showing it picks nothing.
TEST_F(SongListTest, ADrivePickedIsListedAndOneThatIsNotReadyChangesNothing) {
    EXPECT_EQ(window->Drive1->itemText(0), "Bestandssysteem (/)");
    EXPECT_EQ(window->Drive1->itemText(1), "Persoonlijke map (" + QDir::homePath() + ")");
    const std::string stick = scratch / "stick";
    fs::create_directories(stick);
    fs::create_symlink(CachedTone(1.0, 440), stick + "/een.mp3");
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
    window->Drive1->SelectDriveOf(stick + "/sub");
    EXPECT_EQ(window->Drive1->Drive(), stick);
    window->Drive1->SelectDriveOf("/usr/share");
    EXPECT_EQ(window->Drive1->Drive(), "/");
    EXPECT_EQ(window->Dir1->Path(), stick);
}

// What a person does in the first yield of a listing (one follows every file), and what the
// window shows once the listing is over.
enum Action { kAnotherFolder, kAnotherFolderAndPlay, kClickTheFirstSong, kExitTheProgram, kCloseTheWindow };
struct InTheYield {
    const char* name;
    Action action;
    Strings listed;
    const char* count;  // Label1
    const char* total;  // Label2
    Strings queued;
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
    EXPECT_EQ(Text(window->Label1), row.count);
    EXPECT_EQ(Text(window->Label2), row.total);
    EXPECT_EQ(QueuedNames(), row.queued);
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
    EXPECT_EQ(window->isVisible(), row.action < kExitTheProgram);
    EXPECT_EQ(engines.Alive(), row.action == kAnotherFolderAndPlay ? 1 : 0) << "Exit releases even a playing song";
    // The song started in the yield plays on in its own engine; the listing measured beside it.
    EXPECT_EQ(program().state.Playing, row.action == kAnotherFolderAndPlay);
    if (program().state.Playing) {
        EXPECT_EQ(Engine().get_Duration(), 10.0);
    }
}

// Exit (a song playing) and the close box: the listing ends at once, its totals never shown (they
// stay those of the queued song).
INSTANTIATE_TEST_SUITE_P(
    Actions, FirstYield,
    ::testing::Values(
        InTheYield{"AnotherFolder", kAnotherFolder, {"x.mp3"}, "1 Songs", "Totaal : 00:00:04", {"tien"}},
        InTheYield{"AnotherFolderAndPlay", kAnotherFolderAndPlay, {"x.mp3"}, "1 Songs", "Totaal : 00:00:04", {"tien"}},
        InTheYield{
            "ClickTheFirstSong", kClickTheFirstSong, {"a.mp3", "b.mp3"}, "2 Songs", "Totaal : 00:00:12", {"tien", "a"}},
        InTheYield{"ExitTheProgram", kExitTheProgram, {"a.mp3"}, "1 Songs", "Totaal : 00:00:10", {"tien"}},
        InTheYield{"CloseTheWindow", kCloseTheWindow, {"a.mp3"}, "1 Songs", "Totaal : 00:00:10", {"tien"}}),
    [](const auto& info) { return std::string(info.param.name); });

// Whether the page of `path` at `offset` is in the page cache; with `dropFirst` it is first
// dropped from there (the file is the test's own, and nothing of it is unwritten).
bool InMemory(const std::string& path, std::int64_t offset, bool dropFirst = false) {
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (dropFirst) posix_fadvise(fd, 0, 0, POSIX_FADV_DONTNEED);
    const long page = sysconf(_SC_PAGESIZE);
    void* mapped = mmap(nullptr, static_cast<std::size_t>(page), PROT_READ, MAP_SHARED, fd, offset / page * page);
    unsigned char resident = 0;
    mincore(mapped, static_cast<std::size_t>(page), &resident);
    munmap(mapped, static_cast<std::size_t>(page));
    close(fd);
    return (resident & 1) != 0;
}

bool ComesIntoMemory(const std::string& path, std::int64_t offset, std::chrono::steady_clock::time_point deadline) {
    while (!InMemory(path, offset)) {
        if (std::chrono::steady_clock::now() > deadline) return false;
        std::this_thread::yield();
    }
    return true;
}

// While the first song of a folder larger than the read-ahead is measured, the heads and tails of
// the songs up to the read-ahead's reach come from the disk, and nothing further; a listing that
// is stopped, or restarted for another folder, reads no further in the old folder. A song that
// vanishes after it was read ahead lists as a file that cannot be read.
enum class Midway { kListOn, kAnotherFolder, kExit };
class ReadAhead : public SongListTest, public ::testing::WithParamInterface<Midway> {};

TEST_P(ReadAhead, ReachesABoundedStretchOfTheSongsToComeAndStopsWithTheListing) {
    constexpr std::size_t kReach = ListingReadAhead::kSongsAhead;
    const std::string folder = MakeFolder("vooruit", {});
    const auto path = [&](std::size_t i) { return folder + "/" + std::to_string(10 + i) + ".mp3"; };
    Rows expected;
    for (std::size_t i = 0; i < kReach + 6; ++i) {
        fs::copy_file(CachedTone(10.0, 440), path(i));
        sync();
        const std::string size = FormatByteCount(static_cast<std::int64_t>(fs::file_size(path(i))), ".");
        expected.push_back({std::to_string(10 + i), i == 2 ? "00:00" : "00:10", i == 2 ? "" : size});
        if (InMemory(path(i), 0, true)) GTEST_SKIP() << "the page cache cannot be emptied here";
    }
    const std::int64_t tail = static_cast<std::int64_t>(fs::file_size(path(0))) - 1;
    const std::string other = MakeFolder("ander", {{"x.mp3", Song(0.6), 4000}, {"y.mp3", Song(0.6), 4000}});
    QTimer::singleShot(0, [&] {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        for (std::size_t i = 1; i <= kReach; ++i) {
            EXPECT_TRUE(ComesIntoMemory(path(i), 0, deadline) && ComesIntoMemory(path(i), tail, deadline)) << i;
        }
        for (std::size_t i = kReach + 1; i < kReach + 6; ++i) EXPECT_FALSE(InMemory(path(i), 0)) << i;
        fs::remove(path(2));
        if (GetParam() == Midway::kAnotherFolder) ListFolder(other);
        if (GetParam() == Midway::kExit) Press(kExit);
    });
    ListFolder(folder);
    if (GetParam() == Midway::kListOn) {
        EXPECT_EQ(RowsOf(window->ListView1), expected);
        return;
    }
    for (std::size_t i = kReach + 1; i < kReach + 6; ++i) EXPECT_FALSE(InMemory(path(i), 0)) << i;
}

std::string NameOf(const ::testing::TestParamInfo<Midway>& info) {
    return info.param == Midway::kListOn ? "ListOn" : info.param == Midway::kExit ? "Exit" : "AnotherFolder";
}
INSTANTIATE_TEST_SUITE_P(Midway, ReadAhead, ::testing::Values(Midway::kListOn, Midway::kAnotherFolder, Midway::kExit),
                         NameOf);

}  // namespace
}  // namespace tunekist::test
