#pragma once
#include <QCloseEvent>
#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QTimer>
#include <QTreeWidget>
#include <QWidget>
#include <array>
#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/main_form.h"
#include "controls/vistabutton/vista_button.h"
#include "platform/files/folder_file_list.h"
#include "platform/qt/bar_picture.h"
#include "platform/qt/drive_list_box.h"
#include "platform/qt/eliding_label.h"
#include "platform/qt/folder_list_box.h"
#include "platform/qt/frame_panel.h"
#include "platform/qt/qt_desktop.h"
#include "platform/qt/qt_label.h"
#include "platform/qt/qt_list_box.h"
#include "platform/qt/qt_list_view.h"
#include "platform/qt/qt_message_box.h"
#include "platform/qt/qt_timer.h"
#include "platform/qt/volume_slider.h"
#include "platform/ui/form.h"

namespace tunekist {

// The window `Main` on the screen: its controls, named as the form names them, and the wiring of
// their events to the program's handlers.
class MainWindow : public QWidget, public Form {
public:
    // The wait cursor is made this long after the window first shows: once its first paint is
    // done, and before a person can have picked a folder.
    static constexpr int kPrepareHourglassAfterShowMs = 100;

    explicit MainWindow(EngineFactory createEngine);
    ~MainWindow() override;

    // Form
    void SetBackColor(Color color) override;
    float ScreenWidthTwips() const override;
    float ScreenHeightTwips() const override;
    std::string AppPath() const override;
    void Unload() override { close(); }

    // The layout pass: places every control from the window's outer size (frame and title bar
    // included), read from the window. Does nothing while the window is minimised.
    void Form_Resize();
    // The layout pass for an outer size of W x H twips.
    void Form_Resize(float W, float H);

    Main& program() { return *main_; }

    // Runs `handler` as an event handler of the window: an error that reaches its top is shown,
    // and the program carries on.
    void Handle(const std::function<void()>& handler);
    // True while an event handler runs, including a message it shows and the events that run in
    // the yields of a folder listing.
    bool Handling() const { return handling_ > 0; }
    // Opens songs and folders handed to the program (its command line, a second launch, a drop) as
    // OpenPaths does, as an event handler of the window: at once when no handler runs, and
    // otherwise as soon as the one that runs (a folder being listed, a message open) has ended.
    void OpenPaths(std::vector<std::string> paths);
    // True while handed paths wait or go in.
    bool OpeningPaths() const { return openingPaths_ || !waitingPaths_.empty(); }

    // True once Exit or the close box has been handled.
    bool Closed() const { return unloaded_; }
    // Called after every event handler, and just before a message box blocks.
    std::function<void()> AfterEvent;
    std::function<void()> BeforeMessage;

    // The controls.
    FramePanel* Rand1;
    QLabel* Pic1;
    QTreeWidget* ListView1;
    QTreeWidget* ListView2;
    DriveListBox* Drive1;
    FolderListBox* Dir1;
    QListWidget* List1;
    QWidget* MiddenPic;
    BarPicture* Bar;
    VolumeSlider* VolSlider;
    QLabel* BarLabel;
    QLabel* Label4;
    QWidget* KopPic;
    QLabel* TijdLabel;
    ElidingLabel* Label3;
    QWidget* MenuPic;
    QLabel* Label5;
    QLabel* Label2;
    QLabel* Label1;
    QTimer* PlayTimer;
    std::array<VistaButton*, 6> Knop{};
    VistaButton* ExitKnop = nullptr;
    FolderFileList File1;

protected:
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    // Files and folders dropped from a file manager go in as OpenPaths takes them.
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void CreateControls();
    void WireEvents();
    void OpenWaitingPaths();

    // The controls as the program's procedures see them; made once the controls exist.
    struct Adapters;
    std::unique_ptr<Adapters> adapters_;
    std::unique_ptr<Main> main_;
    bool laidOut_ = false;
    bool shownBefore_ = false;
    bool unloaded_ = false;
    bool reportingFailure_ = false;
    int handling_ = 0;
    std::deque<std::vector<std::string>> waitingPaths_;
    bool openingPaths_ = false;
};

}  // namespace tunekist
