#include "tests/support/player_window.h"

#include <QApplication>
#include <QLocale>
#include <QTest>
#include <QTimer>

#include <algorithm>
#include <cstdlib>
#include <filesystem>

#include "playback/progress_bar.h"

namespace tunekist::test {

PlayerWindowTest::PlayerWindowTest(Sound sound) {
    setenv("SDL_DISKAUDIODELAY", sound == kCaptured ? "1" : "0", 1);
    if (sound == kDiscarded) engines.SendSoundTo("/dev/null");
    QLocale::setDefault(QLocale(QLocale::Dutch, QLocale::Netherlands));
    BarPercent = 0, BarFill = 0;
    window = std::make_unique<MainWindow>(engines.Factory());
    window->BeforeMessage = [this] {
        QTimer::singleShot(0, [this] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box) return ADD_FAILURE() << "a message box was announced but none opened";
            if (duringMessage) duringMessage(*box);
            messages.push_back(box->text().toStdString());
            box->accept();
        });
    };
    // The window's own timer stays quiet; ticks come from Tick, while it runs.
    window->PlayTimer->setInterval(24 * 3600 * 1000);
    window->show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(window.get()));
}

PlayerWindowTest::~PlayerWindowTest() { window->close(); }

void PlayerWindowTest::ResizeTo(int width, int height) {
    const QSize frame = window->frameGeometry().size() - window->size();
    window->resize(width - frame.width(), height - frame.height());
    QCoreApplication::processEvents();
}

void PlayerWindowTest::ListFolder(const std::string& folder) { window->Dir1->SetPath(folder); }

void PlayerWindowTest::ClickSong(const std::string& fileName) {
    const Strings files = ListedFiles();
    const auto row = std::ranges::find(files, fileName);
    ASSERT_NE(row, files.end()) << "no row for " << fileName;
    program().Controls().ListView1.Refresh();  // rows still waiting to be shown reach the tree
    QTreeWidgetItem* item = window->ListView1->topLevelItem(static_cast<int>(row - files.begin()));
    window->ListView1->scrollToItem(item);
    const QPoint centre = window->ListView1->visualItemRect(item).center();
    QTest::mouseClick(window->ListView1->viewport(), Qt::LeftButton, {}, centre);
}

void PlayerWindowTest::Queue(const std::string& name, const std::string& path) {
    const std::string folder = scratch / std::to_string(++queued_);
    std::filesystem::create_directories(folder);
    std::filesystem::create_symlink(path, folder + "/" + name + ".mp3");
    ListFolder(folder);
    ClickSong(name + ".mp3");
}

void PlayerWindowTest::Press(std::int16_t command) {
    QWidget* button = command == kExit ? static_cast<QWidget*>(window->ExitKnop) : window->Knop.at(command);
    QTest::mouseClick(button, Qt::LeftButton, {}, button->rect().center());
}

void PlayerWindowTest::Tick() {
    if (TimerRuns()) window->Handle([&] { program().PlayTimer_Timer(); });
}

Strings PlayerWindowTest::ListedFiles() const {
    const ListView& rows = program().Controls().ListView1;
    Strings files;
    for (int row = 1; row <= rows.RowCount(); ++row) files.push_back(rows.RowTag(row));
    return files;
}

Strings PlayerWindowTest::QueuedNames() const {
    const ListView& rows = program().Controls().ListView2;
    Strings names;
    for (int row = 1; row <= rows.RowCount(); ++row) names.push_back(rows.RowText(row));
    return names;
}

Strings PlayerWindowTest::QueuedPaths() const {
    const ListBox& list = program().Controls().List1;
    Strings paths;
    for (int i = 0; i < list.ListCount(); ++i) paths.push_back(list.List(i));
    return paths;
}

bool PlayerWindowTest::BarShowsFill() const {
    const QImage& image = window->Bar->Image();
    const QRgb fill = ToQColor(kBarColor).rgb();
    for (int i = 0; i < image.width() * image.height(); ++i)
        if (image.pixel(i % image.width(), i / image.width()) == fill) return true;
    return false;
}

bool PlayerWindowTest::WaitForPosition(double seconds) const {
    MediaEngine& engine = Engine();
    const double target = std::min(seconds, engine.get_Duration());
    return Eventually([&] { return engine.get_CurrentPosition() >= target; });
}

std::vector<PlayerWindowTest::TickSeen> PlayerWindowTest::TickUntilTheTimerStops(int maxTicks) {
    std::vector<TickSeen> seen;
    int stalls = 0;
    while (TimerRuns() && program().state.Playing && static_cast<int>(seen.size()) < maxTicks) {
        const MediaEngine* before = program().state.Graph.get();
        bool ended = false;
        // A lost engine is the tick's to find.
        try {
            ended = Position() >= Engine().get_Duration();
        } catch (const std::exception&) {}
        Tick();
        seen.push_back({before, ended, program().state.Graph.get(), program().state.Playing, Text(window->TijdLabel)});
        if (!program().state.Playing) break;
        try {
            stalls = WaitForPosition(Position() + 1.0) ? 0 : stalls + 1;
        } catch (const std::exception&) {}
        if (stalls == 2) {
            ADD_FAILURE() << "the song stood still without an end";
            break;
        }
    }
    return seen;
}

std::vector<Heard> PlayerWindowTest::HeardAfterClosing() {
    window->close();
    std::vector<Heard> heard;
    for (const std::vector<float>& samples : engines.Played()) heard.push_back(Analyse(samples));
    return heard;
}

}  // namespace tunekist::test
