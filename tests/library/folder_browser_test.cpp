// The drive list and the folder list of the real window, used with keys and the mouse: what they
// offer, and the folder each pick lists in the song list.
#include <QDir>
#include <QTest>

#include <filesystem>

#include "tests/support/player_window.h"
#include "tests/support/test_audio.h"

namespace tunekist::test {
namespace {

namespace fs = std::filesystem;
using Strings = std::vector<std::string>;

class FolderBrowserTest : public QuietWindowTest {
protected:
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

// The folder list holds the chain from the root, the folder, and its visible subfolders sorted
// ignoring case; a name that is not UTF-8 is opened by its exact bytes. The same folder written
// otherwise is no change and lists nothing again; a folder gone since it was shown is not opened.
TEST_F(FolderBrowserTest, FoldersOpenedInTheFolderListAreListed) {
    const std::string root = scratch / "bladeren";
    for (const char* name : {"beta", "Alpha", ".verborgen", "\xff"}) fs::create_directories(root + "/" + name);
    fs::create_symlink(CachedTone(1.0, 440), root + "/\xff/een.mp3");
    ListFolder(root);
    QStringList expected = {"/"};
    expected << QString::fromStdString(root).split('/', Qt::SkipEmptyParts) << "Alpha" << "beta" << "\ufffd";
    EXPECT_EQ(Folders(), expected);
    EXPECT_EQ(window->Dir1->currentRow(), expected.size() - 4);
    const int made = engines.Made();
    for (const std::string& same : {root + "/", root + "/beta/.."}) ListFolder(same);
    EXPECT_EQ(engines.Made(), made) << "no listing without a change";

    Open("\ufffd");
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
TEST_F(FolderBrowserTest, ADrivePickedIsListedAndOneThatIsNotReadyChangesNothing) {
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

}  // namespace
}  // namespace tunekist::test
