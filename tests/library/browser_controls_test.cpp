// The folder list, the drive list and the desktop services on Qt's offscreen platform.
#include <QApplication>
#include <QCursor>
#include <QDir>
#include <QLocale>
#include <QTest>
#include <gtest/gtest.h>

#include <filesystem>

#include "platform/qt/drive_list_box.h"
#include "platform/qt/folder_list_box.h"
#include "platform/qt/qt_desktop.h"
#include "tests/support/scratch_folder.h"
#include "tests/support/test_audio.h"

namespace tunekist {
namespace {

namespace fs = std::filesystem;

class FolderListTest : public ::testing::Test {
protected:
    FolderListTest() {
        for (const char* name : {"beta", "Alpha", ".hidden", "\xff"}) fs::create_directories(root + "/" + name);
        test::WriteBytes(root + "/file.mp3", "");
        Dir1.Change = [this] { ++changes; };
        Dir1.resize(300, 600);
        Dir1.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&Dir1));
    }
    QStringList Texts() const {
        QStringList texts;
        for (int i = 0; i < Dir1.count(); ++i) texts << Dir1.item(i)->text().trimmed();
        return texts;
    }
    QListWidgetItem* ItemNamed(const QString& text) const {
        for (int i = 0; i < Dir1.count(); ++i) {
            if (Dir1.item(i)->text().trimmed() == text) return Dir1.item(i);
        }
        return nullptr;
    }

    const test::ScratchFolder scratch{"browse"};
    const std::string root = scratch.Path();
    FolderListBox Dir1;
    int changes = 0;
};

TEST_F(FolderListTest, ShowsTheParentChainTheFolderAndItsVisibleSubfolders) {
    Dir1.SetPath(root);
    QStringList expected = {"/"};
    for (const QString& part : QString::fromStdString(root).split('/', Qt::SkipEmptyParts)) expected << part;
    expected << "Alpha" << "beta" << QString::fromUtf8("\xff");
    EXPECT_EQ(Texts(), expected);
    EXPECT_EQ(Dir1.currentRow(), expected.size() - 4);
    EXPECT_EQ(Dir1.Path(), root);
    EXPECT_EQ(changes, 1);
}

TEST_F(FolderListTest, RaisesChangeOnlyWhenThePathChanges) {
    Dir1.SetPath(root);
    Dir1.SetPath(root + "/");
    Dir1.SetPath(root + "/beta/..");
    EXPECT_EQ(changes, 1);
    Dir1.SetPath(root + "/beta");
    EXPECT_EQ(changes, 2);
}

TEST_F(FolderListTest, FolderThatCannotBeReadIsNotOpenedAndRaisesNothing) {
    Dir1.SetPath(root);
    const QStringList before = Texts();
    EXPECT_THROW(Dir1.SetPath(root + "/missing"), std::runtime_error);
    EXPECT_EQ(Dir1.Path(), root);
    EXPECT_EQ(Texts(), before);
    EXPECT_EQ(changes, 1);
}

// The subfolder's name is not UTF-8: it is opened by its exact bytes.
TEST_F(FolderListTest, EnterOpensTheCurrentSubfolderAndDoubleClickOpensAParent) {
    Dir1.SetPath(root);
    Dir1.setCurrentItem(ItemNamed(QString::fromUtf8("\xff")));
    QTest::keyClick(&Dir1, Qt::Key_Return);
    EXPECT_EQ(Dir1.Path(), root + "/\xff");
    EXPECT_EQ(changes, 2);
    QListWidgetItem* parent = ItemNamed(QString::fromStdString(fs::path(root).filename().string()));
    ASSERT_NE(parent, nullptr);
    const QPoint centre = Dir1.visualItemRect(parent).center();
    // A real double-click: a click, then the second press that the platform reports as double.
    QTest::mouseClick(Dir1.viewport(), Qt::LeftButton, {}, centre);
    QTest::mouseDClick(Dir1.viewport(), Qt::LeftButton, {}, centre);
    QTest::mouseRelease(Dir1.viewport(), Qt::LeftButton, {}, centre);
    EXPECT_EQ(Dir1.Path(), root);
    EXPECT_EQ(changes, 3);
}

TEST(DriveList, OffersTheRootAndHomeByNameAndOnlyPickingOneRaisesChange) {
    DriveListBox Drive1;
    ASSERT_GE(Drive1.count(), 2);
    EXPECT_EQ(Drive1.itemText(0), "Bestandssysteem (/)");
    EXPECT_EQ(Drive1.itemText(1), "Persoonlijke map (" + QDir::homePath() + ")");
    EXPECT_EQ(Drive1.Drive(), "/");
    int changes = 0;
    Drive1.Change = [&] { ++changes; };
    const std::string home = QDir::homePath().toStdString();
    Drive1.SelectDriveOf(home + "/Muziek");
    EXPECT_EQ(Drive1.Drive(), home);
    Drive1.SelectDriveOf("/usr/share");
    EXPECT_EQ(Drive1.Drive(), "/");
    EXPECT_EQ(changes, 0);
    Drive1.setCurrentIndex(1);
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(Drive1.Drive(), home);
}

struct LocaleCase {
    QLocale::Language language;
    QLocale::Territory territory;
    std::string separator;
};

class GroupSeparator : public ::testing::TestWithParam<LocaleCase> {
protected:
    ~GroupSeparator() override { QLocale::setDefault(QLocale::system()); }
};

TEST_P(GroupSeparator, ComesFromTheUsersLocale) {
    QLocale::setDefault(QLocale(GetParam().language, GetParam().territory));
    EXPECT_EQ(QtDesktop().GroupSeparator(), GetParam().separator);
}

INSTANTIATE_TEST_SUITE_P(Locales, GroupSeparator,
                         ::testing::Values(LocaleCase{QLocale::Dutch, QLocale::Netherlands, "."},
                                           LocaleCase{QLocale::English, QLocale::UnitedStates, ","},
                                           LocaleCase{QLocale::German, QLocale::Germany, "."}));

TEST(Desktop, HourglassShowsUntilTheNormalPointerAndNeverStacks) {
    {
        QtDesktop desktop;
        desktop.SetMousePointer(Desktop::kHourglass);
        ASSERT_NE(QGuiApplication::overrideCursor(), nullptr);
        EXPECT_EQ(QGuiApplication::overrideCursor()->shape(), Qt::WaitCursor);
        desktop.SetMousePointer(Desktop::kHourglass);
        desktop.SetMousePointer(Desktop::kCustomPointer);
        EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
        desktop.SetMousePointer(Desktop::kHourglass);
    }
    // Gone with the object that set it.
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}

}  // namespace
}  // namespace tunekist
