#include <QApplication>
#include <QMessageBox>
#include <QTest>
#include <QTimer>

#include "platform/qt/qt_list_box.h"
#include "platform/qt/qt_list_view.h"
#include "tests/window/window_fixture.h"

namespace tunekist::test {
namespace {

TEST_F(WindowTest, TheQueueWaitsWhileAnEngineErrorIsShown) {
    Show();
    QtListBox paths(*window->List1);
    QtListView rows(*window->ListView2);
    for (const char* name : {"Eerste", "Tweede"}) {
        world->SetDuration(std::string("/muziek/") + name + ".mp3", 10.0);
        paths.AddItem(std::string("/muziek/") + name + ".mp3");
        rows.AddRow(name);
    }
    window->Knop[0]->Events().Click();
    ASSERT_TRUE(window->program().state.Playing);

    int songsWhileShown = -1;
    QString shownText;
    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        shownText = box->text();
        // The song ends while the person reads the message; ticks come and go.
        world->clock.Advance(20.0);
        QTest::qWait(1500);
        songsWhileShown = window->List1->count();
        box->accept();
    });
    world->FailOperation("put_CurrentPosition", 1);
    window->Knop[2]->Events().Click();

    EXPECT_FALSE(shownText.isEmpty());
    EXPECT_EQ(songsWhileShown, 2) << "no tick may move the queue under an open error message";
    QTest::qWait(1500);
    EXPECT_EQ(window->List1->count(), 1) << "once the message is closed the queue moves on";
    EXPECT_EQ(window->Label3->text(), "Tweede");
}

}  // namespace
}  // namespace tunekist::test
