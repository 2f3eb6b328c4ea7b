// Songs and folders reaching the window from outside its lists (named on the command line or by a
// second launch, dropped, added with the keyboard), the gauges as a screen reader reads them, and
// songs that cannot be played.
#include <QAccessible>
#include <QApplication>
#include <QMimeData>
#include <QTest>
#include <filesystem>

#include "tests/support/player_window.h"
#include "tests/support/test_audio.h"

namespace tunekist::test {
namespace {

const std::string kCannotOpen = "Kan niet openen:\n", kCannotPlay = "Kan deze song niet afspelen:\n";

// a/ holds Een (1 s), Twee (2 s) and "Caf\xe9" (1 s, a Latin-1 name); b/ holds "Dri\xc3\xab" (3 s,
// a UTF-8 name) and a text file.
class OpenPathsTest : public QuietWindowTest {
protected:
    OpenPathsTest() {
        std::filesystem::create_directories(a), std::filesystem::create_directories(b);
        for (const auto& [path, seconds] : {std::pair{a + "/Een.mp3", 1.0},
                                            {a + "/Twee.mp3", 2.0},
                                            {a + "/Caf\xe9.mp3", 1.0},
                                            {b + "/Dri\xc3\xab.mp3", 3.0}})
            std::filesystem::create_symlink(CachedTone(seconds, 440 * seconds), path);
        WriteBytes(b + "/lees.txt", "geen song");
    }
    std::string a = scratch / "a", b = scratch / "b";
};

struct Opening {
    const char* name;
    Strings paths;  // relative to the scratch folder, or absolute
    Strings listed;
    Strings queued;    // the playlist's names
    Strings unopened;  // the paths named as not to be opened
};

class OpenPathsTable : public OpenPathsTest, public ::testing::WithParamInterface<Opening> {};

// Folders are listed as if picked in Drive1 and Dir1, files are clicked in from their folder in the
// order given, and every path that cannot go in is named; the others still go in. The song list
// ends on the last folder opened, in the drive list's drive that holds it.
TEST_P(OpenPathsTable, ListsFoldersQueuesFilesAndNamesWhatCannotGoIn) {
    const Opening& opening = GetParam();
    Strings paths, expectedMessages;
    for (const std::string& path : opening.paths) paths.push_back(path[0] == '/' ? path : scratch / path);
    for (const std::string& path : opening.unopened) expectedMessages.push_back(kCannotOpen + (scratch / path));
    window->OpenPaths(paths);
    EXPECT_EQ(messages, expectedMessages);
    EXPECT_EQ(ListedFiles(), opening.listed);
    EXPECT_EQ(QueuedNames(), opening.queued);
    const std::string folder = opening.listed == Strings{"Dri\xc3\xab.mp3"} ? b : a;
    EXPECT_EQ(window->Dir1->Path(), folder);
    EXPECT_EQ(folder.rfind(window->Drive1->Drive(), 0), 0u) << window->Drive1->Drive();
    EXPECT_EQ(program().Controls().File1.Path(), folder);
}

const Strings kListedA = {"Caf\xe9.mp3", "Een.mp3", "Twee.mp3"};
const Opening kOpenings[] = {
    {"Folder", {"a"}, kListedA, {}, {}},
    {"TwoFolders", {"a/Twee.mp3", "b/Dri\xc3\xab.mp3", "a/../a/Een.mp3"}, kListedA, {"Twee", "Dri\xc3\xab", "Een"}, {}},
    {"Unusable",
     {"b/Dri\xc3\xab.mp3", "a/weg.mp3", "b/lees.txt", "b"},
     {"Dri\xc3\xab.mp3"},
     {"Dri\xc3\xab"},
     {"a/weg.mp3", "b/lees.txt"}},
};
INSTANTIATE_TEST_SUITE_P(Paths, OpenPathsTable, ::testing::ValuesIn(kOpenings),
                         [](const auto& info) { return std::string(info.param.name); });

// A drop carries text/uri-list; its files and folders go in as paths do, a Latin-1 name included,
// and the song plays under the name listed. A screen reader reads the bar as its label's
// percentage, and the volume as the slider's text shows it, and sets it so.
TEST_F(OpenPathsTest, DroppedPathsGoInAndTheGaugesTellTheirPercentages) {
    QMimeData data;
    data.setUrls({QUrl::fromEncoded("file://" + QByteArray(a.c_str()).toPercentEncoding("/") + "/Caf%E9.mp3"),
                  QUrl::fromLocalFile(QString::fromStdString(b))});
    const QPoint centre = window->rect().center();
    QDragEnterEvent enter(centre, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(window.get(), &enter);
    QDropEvent drop(centre, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(window.get(), &drop);
    EXPECT_TRUE(enter.isAccepted() && drop.isAccepted());
    EXPECT_EQ(QueuedPaths(), Strings{a + "/Caf\xe9.mp3"});
    EXPECT_EQ(window->Dir1->Path(), b);
    EXPECT_TRUE(messages.empty());
    Press(kPlay);
    EXPECT_EQ(Text(window->Label3), "Caf\xc3\xa9");
    Press(kPauze);  // held halfway: the discarded sound would reach the end before a tick
    program().state.GraphPosition->put_CurrentPosition(0.5);
    Tick();
    const std::string shown = Text(window->BarLabel);
    QAccessibleValueInterface* bar = QAccessible::queryAccessibleInterface(window->Bar)->valueInterface();
    EXPECT_EQ(std::to_string(bar->currentValue().toInt()) + "%", shown);
    EXPECT_NE(shown, "0%");
    QAccessibleValueInterface* volume = QAccessible::queryAccessibleInterface(window->VolSlider)->valueInterface();
    EXPECT_EQ(volume->currentValue().toInt(), 100);
    window->VolSlider->setValue(7);
    EXPECT_EQ(volume->currentValue().toInt(), 65);
    volume->setCurrentValue(40);
    EXPECT_EQ(window->VolSlider->value(), 12);
}

// Return, Enter and Space on a row add it as a click does. While a song plays, and while it is
// paused, keys, paths and another folder change nothing: each only shows the refusal, without an
// icon, and the lists and the listed folder stay.
TEST_F(OpenPathsTest, ReturnEnterAndSpaceOnARowAddItAndWhilePlayingNothingGoesIn) {
    ListFolder(a);
    program().Controls().ListView1.Refresh();
    QTreeWidget* rows = window->ListView1;
    rows->setCurrentItem(rows->topLevelItem(0), 0, QItemSelectionModel::NoUpdate);  // reached, not selected
    for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Down, Qt::Key_Space, Qt::Key_Down}) QTest::keyClick(rows, key);
    QTest::keyClick(rows, Qt::Key_Enter, Qt::KeypadModifier);
    EXPECT_EQ(QueuedNames(), (Strings{"Caf\xc3\xa9", "Een", "Twee"}));
    EXPECT_EQ(program().Controls().ListView1.SelectedRow(), 3);
    EXPECT_EQ(Text(window->Label5), "Totaal : 00:00:04");
    std::vector<QMessageBox::Icon> icons;
    duringMessage = [&](QMessageBox& box) { icons.push_back(box.icon()); };
    Press(kPlay);
    QTest::keyClick(rows, Qt::Key_Return);
    Press(kPauze);
    window->OpenPaths({b, b + "/Dri\xc3\xab.mp3"});
    EXPECT_EQ(window->Dir1->Path(), a);
    ListFolder(b);
    EXPECT_EQ(messages, Strings(3, "Niet te gebruiken terwijl er\neen song wordt afgespeeld!"));
    EXPECT_EQ(icons, std::vector(3, QMessageBox::NoIcon));
    EXPECT_EQ(program().Controls().File1.Path(), a);
    EXPECT_EQ(ListedFiles(), kListedA);
    EXPECT_EQ(QueuedNames().size(), 3u);
}

// A song that cannot be played says so by name when the queue's own advance, Next or Play reaches
// it, and stays at the head.
TEST_F(OpenPathsTest, UnplayableSongIsNamedWhereverItIsReached) {
    WriteBytes(a + "/Kapot.mp3", "");
    window->OpenPaths({a + "/Een.mp3", a + "/Kapot.mp3", a + "/Kapot.mp3"});
    Press(kPlay);
    TickUntilTheTimerStops();  // Een ends; the advance reaches Kapot, then Next and Play do
    Press(kNext);
    Press(kPlay);
    EXPECT_EQ(messages, Strings(3, kCannotPlay + "Kapot"));
    EXPECT_FALSE(program().state.Playing);
    EXPECT_EQ(QueuedNames(), Strings{"Kapot"});
}

}  // namespace
}  // namespace tunekist::test
