// Songs and folders reaching the window from outside its lists: named on the command line or by a
// second launch (both end in MainWindow::OpenPaths), dropped from a file manager, added with the
// keyboard; what a screen reader reads of the two gauges; and songs that cannot be played.
#include <QAccessible>
#include <QApplication>
#include <QMimeData>
#include <QTest>
#include <filesystem>

#include "tests/support/player_window.h"
#include "tests/support/test_audio.h"

namespace tunekist::test {
namespace {

using Strings = std::vector<std::string>;
const std::string kCannotOpen = "Kan niet openen:\n";
const std::string kCannotPlay = "Kan deze song niet afspelen:\n";
const std::string kRefusal = "Niet te gebruiken terwijl er\neen song wordt afgespeeld!";

// Two folders of songs: a/ holds Een (1 s), Twee (2 s) and "Caf\xe9" (1 s, a Latin-1 name);
// b/ holds "Dri\xc3\xab" (3 s, a UTF-8 name) and a text file.
class OpenPathsTest : public QuietWindowTest {
protected:
    OpenPathsTest() {
        std::filesystem::create_directories(a), std::filesystem::create_directories(b);
        std::filesystem::create_symlink(CachedTone(1.0, 440), a + "/Een.mp3");
        std::filesystem::create_symlink(CachedTone(2.0, 550), a + "/Twee.mp3");
        std::filesystem::create_symlink(CachedTone(1.0, 660), a + "/Caf\xe9.mp3");
        std::filesystem::create_symlink(CachedTone(3.0, 330), b + "/Dri\xc3\xab.mp3");
        WriteBytes(b + "/lees.txt", "geen song");
    }
    std::string Dir1() const { return window->Dir1->Path(); }
    std::string a = scratch / "a", b = scratch / "b";
};

struct Opening {
    const char* name;
    Strings paths;  // relative to the scratch folder, or absolute
    Strings listed;
    Strings queued;  // the playlist's names
    Strings messages;
};

class OpenPathsTable : public OpenPathsTest, public ::testing::WithParamInterface<Opening> {};

// Folders are listed as if picked in Drive1 and Dir1, files are clicked in from their folder in the
// order given, and every path that cannot go in is named; the others still go in.
TEST_P(OpenPathsTable, ListsFoldersQueuesFilesAndNamesWhatCannotGoIn) {
    const Opening& opening = GetParam();
    Strings paths;
    for (const std::string& path : opening.paths) paths.push_back(path[0] == '/' ? path : scratch / path);
    window->OpenPaths(paths);
    Strings expectedMessages;
    for (const std::string& message : opening.messages) {
        expectedMessages.push_back(message[0] == '!' ? kCannotOpen + scratch.Path() + "/" + message.substr(1)
                                                     : message);
    }
    EXPECT_EQ(messages, expectedMessages);
    EXPECT_EQ(ListedFiles(), opening.listed);
    EXPECT_EQ(QueuedNames(), opening.queued);
    // The song list ends on the last folder opened, in the drive list's drive that holds it.
    const std::string folder = opening.listed == Strings{"Dri\xc3\xab.mp3"} ? b : a;
    EXPECT_EQ(Dir1(), folder);
    EXPECT_EQ(folder.rfind(window->Drive1->Drive(), 0), 0u) << window->Drive1->Drive();
    EXPECT_EQ(program().Controls().File1.Path(), folder);
}

INSTANTIATE_TEST_SUITE_P(
    Paths, OpenPathsTable,
    ::testing::Values(
        Opening{"Folder", {"a"}, {"Caf\xe9.mp3", "Een.mp3", "Twee.mp3"}, {}, {}},
        Opening{"ThreeFilesFromTwoFolders",
                {"a/Twee.mp3", "b/Dri\xc3\xab.mp3", "a/../a/Een.mp3"},
                {"Caf\xe9.mp3", "Een.mp3", "Twee.mp3"},
                {"Twee", "Dri\xc3\xab", "Een"},
                {}},
        Opening{"WhatCannotGoIn",
                {"b/Dri\xc3\xab.mp3", "a/weg.mp3", "b/lees.txt", "b"},
                {"Dri\xc3\xab.mp3"},
                {"Dri\xc3\xab"},
                {"!a/weg.mp3", "!b/lees.txt"}},
        Opening{"LatinOneName", {"a/Caf\xe9.mp3"}, {"Caf\xe9.mp3", "Een.mp3", "Twee.mp3"}, {"Caf\xc3\xa9"}, {}}),
    [](const auto& info) { return std::string(info.param.name); });

// While a song plays or is paused, paths change nothing: one refusal, and the lists stay.
TEST_F(OpenPathsTest, PathsWhileASongPlaysAreRefused) {
    window->OpenPaths({a + "/Twee.mp3"});
    Press(kPlay);
    ASSERT_TRUE(program().state.Playing);
    window->OpenPaths({b, b + "/Dri\xc3\xab.mp3"});
    EXPECT_EQ(messages, Strings{kRefusal});
    EXPECT_EQ(Dir1(), a);
    EXPECT_EQ(QueuedNames(), Strings{"Twee"});
}

// A drop carries text/uri-list; its files and folders go in as paths do, a Latin-1 name included.
TEST_F(OpenPathsTest, DroppedFilesAndFoldersGoInAsPaths) {
    QMimeData data;
    data.setUrls({QUrl::fromEncoded("file://" + QByteArray(a.c_str()).toPercentEncoding("/") + "/Caf%E9.mp3"),
                  QUrl::fromLocalFile(QString::fromStdString(b))});
    const QPoint centre = window->rect().center();
    QDragEnterEvent enter(centre, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(window.get(), &enter);
    EXPECT_TRUE(enter.isAccepted());
    QDropEvent drop(centre, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(window.get(), &drop);
    EXPECT_TRUE(drop.isAccepted());
    EXPECT_EQ(QueuedPaths(), Strings{a + "/Caf\xe9.mp3"});
    EXPECT_EQ(QueuedNames(), Strings{"Caf\xc3\xa9"});
    EXPECT_EQ(Dir1(), b);
    EXPECT_TRUE(messages.empty());
    // The name shows as listed in the header, and the song is heard.
    Press(kPlay);
    EXPECT_EQ(Text(window->Label3), "Caf\xc3\xa9");
    EXPECT_TRUE(program().state.Playing);
}

// Return, Enter and Space on a row add it as a click does; while a song plays they are refused.
TEST_F(OpenPathsTest, ReturnEnterAndSpaceOnARowAddItAsAClickDoes) {
    ListFolder(a);
    program().Controls().ListView1.Refresh();
    QTreeWidget* rows = window->ListView1;
    // The keyboard's row, not yet selected.
    rows->setCurrentItem(rows->topLevelItem(0), 0, QItemSelectionModel::NoUpdate);
    QTest::keyClick(rows, Qt::Key_Return);
    QTest::keyClick(rows, Qt::Key_Down);
    QTest::keyClick(rows, Qt::Key_Space);
    QTest::keyClick(rows, Qt::Key_Down);
    QTest::keyClick(rows, Qt::Key_Enter, Qt::KeypadModifier);
    EXPECT_EQ(QueuedNames(), (Strings{"Caf\xc3\xa9", "Een", "Twee"}));
    EXPECT_EQ(program().Controls().ListView1.SelectedRow(), 3);
    EXPECT_EQ(Text(window->Label5), "Totaal : 00:00:04");
    Press(kPlay);
    QTest::keyClick(rows, Qt::Key_Return);
    EXPECT_EQ(messages, Strings{kRefusal});
    EXPECT_EQ(QueuedNames().size(), 3u);
}

// A screen reader reads the volume as the percentage the slider's text shows, and the bar as its
// label's percentage.
TEST_F(OpenPathsTest, GaugesTellTheirPercentages) {
    const auto value = [](QWidget* widget) {
        QAccessibleInterface* gauge = QAccessible::queryAccessibleInterface(widget);
        return gauge && gauge->valueInterface() ? gauge->valueInterface()->currentValue().toInt() : -1;
    };
    EXPECT_EQ(value(window->VolSlider), 100);
    window->VolSlider->setValue(7);
    EXPECT_EQ(value(window->VolSlider), 65);
    QAccessible::queryAccessibleInterface(window->VolSlider)->valueInterface()->setCurrentValue(40);
    EXPECT_EQ(window->VolSlider->value(), 12);
    window->OpenPaths({a + "/Twee.mp3"});
    Press(kPlay);
    ASSERT_TRUE(WaitForPosition(1.0));
    Tick();
    const std::string shown = Text(window->BarLabel);
    EXPECT_EQ(std::to_string(value(window->Bar)) + "%", shown);
    EXPECT_NE(shown, "0%");
}

// A song that cannot be played says so by name when Play, Next or the queue's own advance reaches
// it; it stays at the head, and Next moves past it.
TEST_F(OpenPathsTest, UnplayableSongIsNamedWhereverItIsReached) {
    WriteBytes(a + "/Kapot.mp3", "");
    window->OpenPaths({a + "/Een.mp3", a + "/Kapot.mp3", a + "/Kapot.mp3", a + "/Twee.mp3"});
    Press(kPlay);
    TickUntilTheTimerStops();  // Een ends; the advance reaches Kapot
    EXPECT_EQ(messages, Strings{kCannotPlay + "Kapot"});
    EXPECT_EQ(QueuedNames(), (Strings{"Kapot", "Kapot", "Twee"}));
    Press(kNext);
    EXPECT_EQ(messages.back(), kCannotPlay + "Kapot");
    EXPECT_FALSE(program().state.Playing);
    Press(kPlay);
    EXPECT_EQ(messages.size(), 3u);
    Press(kNext);
    EXPECT_TRUE(program().state.Playing);
    EXPECT_EQ(QueuedNames(), Strings{"Twee"});
    EXPECT_EQ(messages.size(), 3u);
}

}  // namespace
}  // namespace tunekist::test
