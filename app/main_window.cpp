#include "app/main_window.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QMimeData>
#include <QScreen>
#include <QShowEvent>
#include <QTimer>
#include <utility>

#include "app/accessible_values.h"
#include "app/file_uri.h"
#include "app/open_paths.h"
#include "platform/ignore_error.h"
#include "platform/qt/row_keys.h"
#include "platform/qt/twips.h"

namespace tunekist {

// The outer size below which the layout would give controls negative sizes, in twips.
inline constexpr float kMinimumOuterWidth = 3060;
inline constexpr float kMinimumOuterHeight = 4860;

struct MainWindow::Adapters {
    explicit Adapters(MainWindow& window)
        : messageBox(window),
          list1(*window.List1),
          // A folder's rows arrive thousands a second; the playlist's one click at a time.
          listView1(*window.ListView1, QtListView::ShowRows::InBatches),
          listView2(*window.ListView2),
          label3(*window.Label3),
          tijdLabel(*window.TijdLabel),
          label5(*window.Label5),
          barLabel(*window.BarLabel),
          playTimer(*window.PlayTimer),
          label1(*window.Label1),
          label2(*window.Label2) {}

    MainControls Controls(MainWindow& window) {
        return MainControls{
            window,         messageBox,   *window.Rand1, window.File1, list1,       listView1,         listView2,
            label3,         tijdLabel,    label5,        barLabel,     *window.Bar, *window.VolSlider, playTimer,
            *window.Drive1, *window.Dir1, label1,        label2,       desktop};
    }

    QtMessageBox messageBox;
    QtListBox list1;
    QtListView listView1;
    QtListView listView2;
    QtLabel label3;
    QtLabel tijdLabel;
    QtLabel label5;
    QtLabel barLabel;
    QtTimer playTimer;
    QtLabel label1;
    QtLabel label2;
    QtDesktop desktop;
};

MainWindow::MainWindow(EngineFactory createEngine) {
    InstallAccessibleValues();
    CreateControls();
    adapters_ = std::make_unique<Adapters>(*this);
    adapters_->messageBox.Opening = [this] {
        if (BeforeMessage) BeforeMessage();
    };
    main_ = std::make_unique<Main>(adapters_->Controls(*this), std::move(createEngine));
    WireEvents();
    // The file list's design-time pattern, so that it holds only songs even when start-up cannot
    // point it at the program's folder.
    File1.SetPattern("*.mp3");
    // A program folder that cannot be listed is reported; the window still opens.
    Handle([&] { main_->Form_Load(); });
    // The timer ticks from start-up on; its ticks do nothing until a song plays.
    PlayTimer->start();
}

MainWindow::~MainWindow() = default;

void MainWindow::Handle(const std::function<void()>& handler) {
    ++handling_;
    try {
        handler();
    } catch (const std::exception& failure) {
        // The song's ticks wait while the person reads why a command failed: a tick under the
        // open message could move the queue on or stack a second message on top.
        const bool alreadyReporting = std::exchange(reportingFailure_, true);
        adapters_->messageBox.Show(failure.what());
        reportingFailure_ = alreadyReporting;
    }
    --handling_;
    if (AfterEvent) AfterEvent();
    OpenWaitingPaths();
}

void MainWindow::OpenPaths(std::vector<std::string> paths) {
    waitingPaths_.push_back(std::move(paths));
    OpenWaitingPaths();
}

void MainWindow::OpenWaitingPaths() {
    // Paths never go in from inside another handler: a folder listed from a yield of another
    // listing, or a song added under an open message, would mix two events' work.
    if (openingPaths_) return;
    openingPaths_ = true;
    bool opened = false;
    while (handling_ == 0 && !waitingPaths_.empty() && !unloaded_) {
        const std::vector<std::string> paths = std::move(waitingPaths_.front());
        waitingPaths_.pop_front();
        Handle([&] { tunekist::OpenPaths(*main_, paths); });
        opened = true;
    }
    openingPaths_ = false;
    // What waited for these paths (the desktop's commands) may go on now.
    if (opened && AfterEvent) AfterEvent();
}

namespace {

// The files and folders a drag carries, as raw file-system bytes, in order.
std::vector<std::string> DraggedPaths(const QMimeData* data) {
    std::vector<std::string> paths;
    if (!data || !data->hasUrls()) return paths;
    for (const QUrl& url : data->urls()) {
        if (const auto path = LocalPathOf(url)) paths.push_back(*path);
    }
    return paths;
}

}  // namespace

void MainWindow::dragEnterEvent(QDragEnterEvent* event) {
    if (!DraggedPaths(event->mimeData()).empty()) event->acceptProposedAction();
}

void MainWindow::dropEvent(QDropEvent* event) {
    std::vector<std::string> paths = DraggedPaths(event->mimeData());
    if (paths.empty()) return;
    event->acceptProposedAction();
    OpenPaths(std::move(paths));
}

void MainWindow::WireEvents() {
    for (int index = 0; index < 6; ++index) {
        Knop[index]->Events().Click = [this, index] {
            Handle([&] { main_->Knop_Click(static_cast<std::int16_t>(index)); });
        };
    }
    ExitKnop->Events().Click = [this] { Handle([&] { main_->ExitKnop_Click(); }); };
    connect(PlayTimer, &QTimer::timeout, this, [this] {
        if (!reportingFailure_) Handle([&] { main_->PlayTimer_Timer(); });
    });
    connect(ListView1, &QTreeWidget::itemClicked, this,
            [this] { Handle([&] { main_->playlist.ListView1_ItemClick(); }); });
    new RowKeys(*ListView1, [this] { Handle([&] { main_->playlist.ListView1_ItemClick(); }); });  // owned by the list
    setAcceptDrops(true);
    Drive1->Change = [this] { Handle([&] { main_->songList.Drive1_Change(); }); };
    Dir1->Change = [this] {
        // The song list lists the folder the folder list has just read: one pass over it, not two.
        const FolderFileList::FreshReading fresh(File1, Dir1->TakeReading());
        Handle([&] { main_->songList.Dir1_Change(); });
    };
    VolSlider->Click = [this] { Handle([&] { main_->volume.VolSlider_Click(); }); };
    VolSlider->MouseDown = [this](std::int16_t button, std::int16_t shift, float x, float y) {
        Handle([&] { main_->volume.VolSlider_MouseDown(button, shift, x, y); });
    };
    VolSlider->Scroll = [this] { Handle([&] { main_->volume.VolSlider_Scroll(); }); };
    VolSlider->Change = [this] { Handle([&] { main_->volume.VolSlider_Change(); }); };
}

void MainWindow::SetBackColor(Color color) {
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, ToQColor(color));
    setPalette(palette);
    setAutoFillBackground(true);
}

float MainWindow::ScreenWidthTwips() const {
    const QScreen* screen = this->screen() ? this->screen() : QApplication::primaryScreen();
    return PixelsToTwips(screen ? screen->size().width() : 0);
}

float MainWindow::ScreenHeightTwips() const {
    const QScreen* screen = this->screen() ? this->screen() : QApplication::primaryScreen();
    return PixelsToTwips(screen ? screen->size().height() : 0);
}

std::string MainWindow::AppPath() const {
    return QFile::encodeName(QCoreApplication::applicationDirPath()).toStdString();
}

void MainWindow::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    Handle([&] { Form_Resize(); });
}

void MainWindow::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    // The minimum counts the frame and title bar, which are known once the window is shown.
    const QSize frame = frameGeometry().size() - size();
    setMinimumSize(std::max(TwipsToPixels(kMinimumOuterWidth) - frame.width(), 1),
                   std::max(TwipsToPixels(kMinimumOuterHeight) - frame.height(), 1));
    Handle([&] { Form_Resize(); });
    if (!std::exchange(shownBefore_, true)) {
        QTimer::singleShot(kPrepareHourglassAfterShowMs, this, &QtDesktop::PrepareHourglass);
    }
}

void MainWindow::closeEvent(QCloseEvent* event) {
    // Closing is never cancelled; a failing stop must not keep the window open.
    if (!unloaded_) {
        unloaded_ = true;
        IgnoreError([&] { main_->Form_Unload(); });
    }
    event->accept();
}

}  // namespace tunekist
