// The song list and the playlist in the real window, with the real engine, on the offscreen
// platform: a folder opened in Dir1, rows clicked with the mouse, and the refusal shown while playing.
#include <QApplication>
#include <QMessageBox>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <filesystem>

#include "app/main_window.h"
#include "library/size_text.h"
#include "platform/engine/real_engine.h"
#include "tests/support/scratch_folder.h"
#include "tests/support/test_audio.h"

namespace tunekist {
namespace {

namespace fs = std::filesystem;

// What a message box showed before it was closed with OK.
struct Shown {
    QString title;
    QString text;
    QMessageBox::Icon icon;
    QMessageBox::StandardButtons buttons;
};

class SongWindow : public ::testing::Test {
protected:
    SongWindow() {
        fs::copy_file(test::CachedTone(3.0, 440), folder + "/a.mp3");
        fs::copy_file(test::CachedTone(5.0, 660), folder + "/B.MP3");
        test::WriteBytes(folder + "/notes.txt", "");
        fs::create_directories(other);
        window.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&window));
    }
    QTreeWidgetItem* Row(QTreeWidget* view, int index) const { return view->topLevelItem(index); }
    void ClickRow(int index) {
        const QRect rect = window.ListView1->visualItemRect(Row(window.ListView1, index));
        QTest::mouseClick(window.ListView1->viewport(), Qt::LeftButton, {}, rect.center());
    }
    // Runs `action`, closing every message box it opens with OK and recording what it showed.
    std::vector<Shown> CloseMessages(const std::function<void()>& action) {
        std::vector<Shown> shown;
        QTimer closer;
        QObject::connect(&closer, &QTimer::timeout, [&] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                shown.push_back({box->windowTitle(), box->text(), box->icon(), box->standardButtons()});
                box->accept();
            }
        });
        closer.start(10);
        action();
        return shown;
    }
    std::string SizeOf(const std::string& path) const {
        return FormatByteCount(static_cast<std::int64_t>(fs::file_size(path)), QtDesktop().GroupSeparator());
    }

    const test::ScratchFolder scratch{"window-songs"};
    const std::string folder = scratch.Path();
    const std::string other = folder + "/other";
    MainWindow window{MakeRealEngineFactory()};
};

TEST_F(SongWindow, OpeningAFolderListsItsSongsAndAClickedRowJoinsThePlaylist) {
    window.Dir1->SetPath(folder);
    ASSERT_EQ(window.ListView1->topLevelItemCount(), 2);
    EXPECT_EQ(Row(window.ListView1, 0)->text(0), "a");
    EXPECT_EQ(Row(window.ListView1, 0)->text(1), "00:03");
    EXPECT_EQ(Row(window.ListView1, 0)->text(2).toStdString(), SizeOf(folder + "/a.mp3"));
    EXPECT_EQ(Row(window.ListView1, 1)->text(0), "B");
    EXPECT_EQ(Row(window.ListView1, 1)->text(1), "00:05");
    EXPECT_EQ(window.Label1->text(), "2 Songs");
    EXPECT_EQ(window.Label2->text(), "Totaal : 00:00:08");
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
    EXPECT_EQ(window.File1.Path(), folder);

    ClickRow(1);
    ClickRow(1);
    ASSERT_EQ(window.ListView2->topLevelItemCount(), 2);
    EXPECT_EQ(Row(window.ListView2, 0)->text(0), "B");
    EXPECT_EQ(Row(window.ListView2, 0)->text(1), "00:05");
    EXPECT_EQ(Row(window.ListView2, 0)->text(2), Row(window.ListView1, 1)->text(2));
    ASSERT_EQ(window.List1->count(), 2);
    EXPECT_EQ(window.List1->item(0)->text().toStdString(), folder + "/B.MP3");
    EXPECT_EQ(window.Label5->text(), "Totaal : 00:00:10");
}

TEST_F(SongWindow, WhilePlayingAFolderChangeAndAClickOnlyShowTheRefusal) {
    window.Dir1->SetPath(folder);
    window.program().state.Playing = true;
    const auto shown = CloseMessages([&] {
        window.Dir1->SetPath(other);
        ClickRow(0);
    });
    ASSERT_EQ(shown.size(), 2u);
    for (const Shown& box : shown) {
        EXPECT_EQ(box.title, "Tunekist");
        EXPECT_EQ(box.text, "Niet te gebruiken terwijl er\neen song wordt afgespeeld!");
        EXPECT_EQ(box.icon, QMessageBox::NoIcon);
        EXPECT_EQ(box.buttons, QMessageBox::Ok);
    }
    EXPECT_EQ(window.Dir1->Path(), other);
    EXPECT_EQ(window.File1.Path(), folder);
    EXPECT_EQ(window.List1->count(), 0);
    window.program().state.Playing = false;
}

}  // namespace
}  // namespace tunekist
