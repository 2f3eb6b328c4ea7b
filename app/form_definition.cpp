// The form: every control of the window with its design-time settings, in declaration order.
#include <QFont>
#include <QHeaderView>
#include <QPalette>

#include "app/main_window.h"
#include "controls/vistabutton/command_buttons.h"
#include "platform/ignore_error.h"
#include "platform/qt/twips.h"

// The logo lives in a resource compiled into a static library; naming its initialiser keeps the
// linker from dropping it.
static void LoadLogoResource() { Q_INIT_RESOURCE(tunekist); }

namespace tunekist {
namespace {

// The least room between the song's name and its time in the header.
constexpr int kHeaderGapPixels = 10;

QFont Arial(double points) {
    QFont font("Arial");
    font.setPointSizeF(points);
    font.setWeight(QFont::Normal);
    return font;
}

template <class LabelType = QLabel>
LabelType* MakeLabel(QWidget* container, const char* name, const char* caption, double points) {
    auto* label = new LabelType(caption, container);
    label->setObjectName(name);
    label->setFont(Arial(points));
    label->setAttribute(Qt::WA_TranslucentBackground);
    label->adjustSize();
    return label;
}

void SetTextColor(QLabel* label, const QColor& color) {
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, color);
    label->setPalette(palette);
}

QWidget* MakePictureBox(QWidget* container, const char* name) {
    auto* box = new QWidget(container);
    box->setObjectName(name);
    box->setAutoFillBackground(true);
    return box;
}

QTreeWidget* MakeSongListView(QWidget* container, const char* name) {
    auto* view = new QTreeWidget(container);
    view->setObjectName(name);
    view->setFont(Arial(9.75));
    SetUpSongColumns(*view);
    for (int column = 0; column < 3; ++column) view->setColumnWidth(column, TwipsToPixels(1440));
    return view;
}

// A screen reader tells the lists, the slider and the bar apart by these names, and the command
// buttons by their captions.
void NameForScreenReaders(MainWindow& window) {
    for (VistaButton* button : window.Knop) button->setAccessibleName(button->Caption());
    window.ExitKnop->setAccessibleName(window.ExitKnop->Caption());
    window.ListView1->setAccessibleName("Songs in de map");
    window.ListView2->setAccessibleName("Playlist");
    window.Drive1->setAccessibleName("Station");
    window.Dir1->setAccessibleName("Map");
    window.VolSlider->setAccessibleName("Volume");
    window.Bar->setAccessibleName("Voortgang");
    window.Pic1->setAccessibleName("Tunekist-logo");
    window.setAccessibleName("Tunekist");
}

}  // namespace

void MainWindow::CreateControls() {
    setObjectName("Main");
    setWindowTitle("Form1");
    resize(TwipsToPixels(18375), TwipsToPixels(10665));

    // Drawn behind every other control: made first.
    Rand1 = new FramePanel(this);
    Rand1->setObjectName("Rand1");

    // The command buttons are loaded from the window's stored design data.
    const CommandButtons commandButtons = CreateCommandButtons(*this);
    ExitKnop = commandButtons.ExitKnop;
    Knop = commandButtons.Knop;

    PlayTimer = new QTimer(this);
    PlayTimer->setObjectName("PlayTimer");
    PlayTimer->setInterval(1000);

    List1 = new QListWidget(this);
    List1->setObjectName("List1");
    List1->setSortingEnabled(false);
    List1->hide();

    MiddenPic = MakePictureBox(this, "MiddenPic");
    Bar = new BarPicture(MiddenPic);
    Bar->setObjectName("Bar");
    Bar->resize(TwipsToPixels(690), TwipsToPixels(3000));
    VolSlider = new VolumeSlider(MiddenPic);
    VolSlider->setObjectName("VolSlider");
    BarLabel = MakeLabel(MiddenPic, "BarLabel", "0%", 9.75);
    BarLabel->setAlignment(Qt::AlignCenter);
    SetTextColor(BarLabel, QColor(64, 64, 64));
    Label4 = MakeLabel(MiddenPic, "Label4", "Volume", 9);
    SetTextColor(Label4, QColor(64, 64, 64));

    KopPic = MakePictureBox(this, "KopPic");
    TijdLabel = MakeLabel(KopPic, "TijdLabel", "Time", 12);
    TijdLabel->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    Label3 = MakeLabel<ElidingLabel>(KopPic, "Label3", "Playlabel", 12);
    SetTextColor(Label3, Qt::black);
    // A long song name must leave the elapsed time readable.
    Label3->StopBefore(*TijdLabel, kHeaderGapPixels);

    MenuPic = MakePictureBox(this, "MenuPic");
    Label5 = MakeLabel(MenuPic, "Label5", "00:00:00", 12);
    Label5->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    Label2 = MakeLabel(MenuPic, "Label2", "Label2", 12);
    SetTextColor(Label2, Qt::black);
    Label1 = MakeLabel(MenuPic, "Label1", "0 Songs", 12);
    SetTextColor(Label1, Qt::black);

    Drive1 = new DriveListBox(this);
    Drive1->setObjectName("Drive1");
    Drive1->setFont(Arial(9.75));
    Dir1 = new FolderListBox(this);
    Dir1->setObjectName("Dir1");
    Dir1->setFont(Arial(9.75));
    // The folder list starts on the working folder, the drive list on the drive holding it; the
    // song list stays empty until the user changes the folder.
    IgnoreError([&] { Dir1->ShowPath("."); });
    Drive1->SelectDriveOf(Dir1->Path());

    ListView2 = MakeSongListView(this, "ListView2");
    ListView2->setToolTip(" Playlist ");
    ListView1 = MakeSongListView(this, "ListView1");

    Pic1 = new QLabel(this);
    Pic1->setObjectName("Pic1");
    Pic1->setScaledContents(true);
    LoadLogoResource();
    Pic1->setPixmap(QPixmap(":/tunekist/logo.png"));

    // The keyboard visits the controls in the form's tab order.
    const QList<QWidget*> tabOrder = {ListView1, ListView2, Dir1,    Drive1,  Knop[0],   Knop[1],
                                      Knop[2],   Knop[3],   Knop[5], Knop[4], VolSlider, ExitKnop};
    for (qsizetype i = 1; i < tabOrder.size(); ++i) setTabOrder(tabOrder[i - 1], tabOrder[i]);
    for (QWidget* box : {MiddenPic, KopPic, MenuPic, static_cast<QWidget*>(Bar)}) box->setFocusPolicy(Qt::NoFocus);
    NameForScreenReaders(*this);
}

}  // namespace tunekist
