// The command buttons in a real window on an X display, clicked and typed at by xdotool and
// photographed with import, as a person would use and see them. Runs under xvfb-run.
#include <QApplication>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

#include "controls/vistabutton/command_buttons.h"

namespace tunekist {
namespace {

// The window's command buttons are 900 × 630 twips: 60 × 42 pixels.
constexpr int W = 60;
constexpr int H = 42;
constexpr QRgb WindowColour = 0xC8C8AA;  // (200, 200, 170)

bool Xdotool(const QStringList& arguments) { return QProcess::execute("xdotool", arguments) == 0; }

class RealWindow : public ::testing::Test {
protected:
    void SetUp() override {
        window_.setWindowFlag(Qt::FramelessWindowHint);
        window_.setAutoFillBackground(true);
        QPalette palette = window_.palette();
        palette.setColor(QPalette::Window, QColor(WindowColour));
        window_.setPalette(palette);
        window_.setGeometry(40, 40, 520, 100);
        buttons_ = CreateCommandButtons(window_);
        all_.assign(buttons_.Knop.begin(), buttons_.Knop.end());
        all_.push_back(buttons_.ExitKnop);
        for (std::size_t slot = 0; slot < all_.size(); ++slot) {
            VistaButton* button = all_[slot];
            button->setGeometry(10 + 70 * static_cast<int>(slot), 30, W, H);
            button->Events().Click = [this, button] { clicks_.append(button->objectName()); };
        }
        window_.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window_));
        window_.activateWindow();
        MovePointer(QPoint(5, 5));
    }

    void MovePointer(QPoint inWindow) {
        const QPoint screen = window_.mapToGlobal(inWindow);
        ASSERT_TRUE(Xdotool({"mousemove", QString::number(screen.x()), QString::number(screen.y())}));
        QTest::qWait(20);
    }

    void ClickAt(VistaButton* button, QPoint local) {
        MovePointer(button->mapTo(&window_, local));
        ASSERT_TRUE(Xdotool({"click", "1"}));
    }

    bool WaitForClicks(qsizetype count) {
        return QTest::qWaitFor([&] { return clicks_.size() >= count; }, 5000);
    }

    // The screen as a person sees it, taken by import once `ready` holds for it, or the last one
    // tried; the display catches up with the program in its own time.
    template <class Ready>
    QImage ScreenWhen(Ready ready) {
        QImage screen;
        for (int attempt = 0; attempt < 30 && (screen.isNull() || !ready(screen)); ++attempt) {
            QTest::qWait(100);
            const QString path = directory_.filePath("screen.png");
            EXPECT_EQ(QProcess::execute("import", {"-window", "root", path}), 0);
            screen = QImage(path).convertToFormat(QImage::Format_RGB32);
        }
        // Kept for a look by eye when asked for.
        if (!qEnvironmentVariableIsEmpty("TUNEKIST_KEEP_SCREENSHOTS")) directory_.setAutoRemove(false);
        return screen;
    }

    static QRgb At(const QImage& screen, const VistaButton* button, int x, int y) {
        return screen.pixel(button->mapToGlobal(QPoint(x, y))) & 0xFFFFFF;
    }

    QWidget window_;
    CommandButtons buttons_;
    std::vector<VistaButton*> all_;
    QStringList clicks_;
    QTemporaryDir directory_;
};

TEST_F(RealWindow, EveryButtonClicksButNotOnItsCutCornersAndSpaceClicksTheFocusedOne) {
    for (VistaButton* button : all_) {
        ClickAt(button, QPoint(0, 0));
        ClickAt(button, QPoint(W - 1, H - 1));
        ClickAt(button, QPoint(W / 2, H / 2));
        ASSERT_TRUE(WaitForClicks(clicks_.size() + 1)) << button->objectName().toStdString();
    }
    EXPECT_EQ(clicks_, (QStringList{"Knop(0)", "Knop(1)", "Knop(2)", "Knop(3)", "Knop(4)", "Knop(5)", "ExitKnop"}));

    ClickAt(buttons_.Knop[3], QPoint(30, 20));
    MovePointer(QPoint(5, 5));
    ASSERT_TRUE(Xdotool({"key", "space"}));
    ASSERT_TRUE(WaitForClicks(9));
    EXPECT_EQ(clicks_.mid(7), (QStringList{"Knop(3)", "Knop(3)"}));
    EXPECT_TRUE(QTest::qWaitFor([&] { return buttons_.Knop[3]->Fields().ButtonState == StateFocus; }, 5000));
}

// The faces on screen: idle with the window showing through the corners, hovered after a click,
// and with the focus ring once the pointer has gone.
TEST_F(RealWindow, ScreenShowsTheIdleHoverAndFocusFaces) {
    VistaButton* stop = buttons_.Knop[5];
    const QImage idle = ScreenWhen([&](const QImage& shot) { return At(shot, stop, 30, 0) == 0x707070; });
    for (const QPoint corner : {QPoint(0, 0), QPoint(W - 1, 0), QPoint(0, H - 1), QPoint(W - 1, H - 1)}) {
        EXPECT_EQ(At(idle, stop, corner.x(), corner.y()), WindowColour) << "the window shows through the corner";
    }
    // The face reaches the screen as drawn; its split row M = 42 / 2.2 = 19.09 → 19.
    EXPECT_EQ(At(idle, stop, 30, 0), 0x707070U);
    EXPECT_EQ(At(idle, stop, 4, 2), 0xF2F2F2U);
    EXPECT_EQ(At(idle, stop, 4, 19), 0xDDDDDDU);
    EXPECT_EQ(At(idle, stop, 1, 1), 0x919191U);
    EXPECT_EQ(At(idle, stop, W - 2, H - 2), 0x8F8F8FU);

    VistaButton* play = buttons_.Knop[0];
    ClickAt(play, QPoint(W / 2, H / 2));
    const QImage hovered = ScreenWhen([&](const QImage& shot) { return At(shot, play, 30, 0) != 0x707070; });
    EXPECT_EQ(At(hovered, play, 30, 0), 0x3C7FB1U) << "hover border (60,127,177)";
    EXPECT_EQ(At(hovered, play, 30, 1), 0xFAFDFEU) << "hover top line (250,253,254)";
    MovePointer(QPoint(5, 5));
    const QImage focused = ScreenWhen([&](const QImage& shot) { return At(shot, play, 30, 1) != 0xFAFDFE; });
    EXPECT_EQ(At(focused, play, 30, 2), 0xA6E9FBU) << "focus ring (166,233,251)";
    EXPECT_EQ(At(focused, play, 30, H - 3), 0x84D5EFU) << "focus ring (132,213,239)";
}

}  // namespace
}  // namespace tunekist
