#include "tests/e2e/real_window_fixture.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTest>

#include "platform/qt/qt_list_box.h"
#include "platform/qt/qt_list_view.h"
#include "playback/progress_bar.h"

namespace tunekist::test {

RealWindowTest::RealWindowTest() : window(std::make_unique<MainWindow>(engines.Factory())) {
    BarPercent = 0, BarFill = 0;
    // A message box is modal and waits for its OK; this looks for one every few milliseconds,
    // notes what it shows and answers it.
    boxAnswerer_.setInterval(10);
    QObject::connect(&boxAnswerer_, &QTimer::timeout, [this] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box) return;
        boxes.push_back({box->windowTitle().toStdString(), box->text().toStdString(),
                         box->icon() == QMessageBox::NoIcon,
                         box->buttons().size() == 1 && box->standardButtons() == QMessageBox::Ok});
        box->accept();
    });
    boxAnswerer_.start();
}

RealWindowTest::~RealWindowTest() { window->close(); }

void RealWindowTest::Show() {
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
}

void RealWindowTest::Queue(const std::string& name, const std::string& path) {
    QtListBox(*window->List1).AddItem(path);
    QtListView(*window->ListView2).AddRow(name);
    window->program().playlist.ShowPlaylistTotal();
}

void RealWindowTest::Click(QWidget* control) {
    QTest::mouseClick(control, Qt::LeftButton, {}, control->rect().center());
}

bool RealWindowTest::RunUntil(const std::function<bool()>& done) {
    for (int round = 0; round < 1500; ++round) {
        if (done()) return true;
        QTest::qWait(10);
    }
    return done();
}

int RealWindowTest::PlaylistRows() const { return window->ListView2->topLevelItemCount(); }

QColor RealWindowTest::BarPixel(int x, int y) const { return window->Bar->grab().toImage().pixelColor(x, y); }

}  // namespace tunekist::test
