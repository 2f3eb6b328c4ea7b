// The command buttons in a real window on an X display, clicked by xdotool and photographed
// with import, as a person would use and see them. Runs under xvfb-run.
#include <QApplication>
#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

#include "controls/vistabutton/command_buttons.h"

namespace tunekist {
namespace {

// The window's command buttons are 900 × 630 twips: 60 × 42 pixels.
constexpr int ButtonWidth = 60;
constexpr int ButtonHeight = 42;
constexpr QRgb WindowColour = qRgb(200, 200, 170);

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
        for (std::size_t i = 0; i < 6; ++i) Place(buttons_.Knop[i], static_cast<int>(i), QStringLiteral("Knop(%1)").arg(i));
        Place(buttons_.ExitKnop, 7, QStringLiteral("ExitKnop"));
        window_.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window_));
        window_.activateWindow();
        MovePointer(QPoint(5, 5));
    }

    void Place(VistaButton* button, int slot, const QString& name) {
        button->setGeometry(10 + 63 * slot, 30, ButtonWidth, ButtonHeight);
        button->Events().Click = [this, name] { clicks_.append(name); };
    }

    static bool Xdotool(const QStringList& arguments) { return QProcess::execute("xdotool", arguments) == 0; }

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

    // The screen as a person sees it, taken from the display by import.
    QImage Screenshot() {
        QApplication::processEvents();
        QTest::qWait(100);
        const QString path = directory_.filePath("screen.png");
        EXPECT_EQ(QProcess::execute("import", {"-window", "root", path}), 0);
        // Kept for a look by eye when asked for.
        if (!qEnvironmentVariableIsEmpty("TUNEKIST_KEEP_SCREENSHOTS")) directory_.setAutoRemove(false);
        return QImage(path).convertToFormat(QImage::Format_RGB32);
    }

    QWidget window_;
    CommandButtons buttons_;
    QStringList clicks_;
    QTemporaryDir directory_;
};

TEST_F(RealWindow, EveryCommandButtonRaisesItsClickWhenClicked) {
    QStringList expected;
    std::vector<VistaButton*> all(buttons_.Knop.begin(), buttons_.Knop.end());
    all.push_back(buttons_.ExitKnop);
    for (VistaButton* button : all) {
        ClickAt(button, QPoint(ButtonWidth / 2, ButtonHeight / 2));
        expected.append(button == buttons_.ExitKnop ? QStringLiteral("ExitKnop") : button->objectName());
        ASSERT_TRUE(WaitForClicks(expected.size())) << button->objectName().toStdString();
    }
    EXPECT_EQ(clicks_, expected);
}

TEST_F(RealWindow, SpaceOnTheFocusedButtonClicksIt) {
    ClickAt(buttons_.Knop[3], QPoint(30, 20));
    ASSERT_TRUE(WaitForClicks(1));
    MovePointer(QPoint(5, 5));
    ASSERT_TRUE(Xdotool({"key", "space"}));
    ASSERT_TRUE(WaitForClicks(2));
    EXPECT_EQ(clicks_, (QStringList{"Knop(3)", "Knop(3)"}));
    EXPECT_TRUE(QTest::qWaitFor([&] { return buttons_.Knop[3]->Fields().ButtonState == StateFocus; }, 5000));
}

TEST_F(RealWindow, ClickOnACutCornerDoesNotReachTheButton) {
    ClickAt(buttons_.Knop[0], QPoint(0, 0));
    ClickAt(buttons_.Knop[0], QPoint(ButtonWidth - 1, ButtonHeight - 1));
    ClickAt(buttons_.Knop[0], QPoint(1, 1));
    ASSERT_TRUE(WaitForClicks(1));
    QTest::qWait(50);
    EXPECT_EQ(clicks_, QStringList{"Knop(0)"});
}

TEST_F(RealWindow, IdleButtonOnScreenShowsTheNormalFace) {
    const QImage screen = Screenshot();
    const QPoint origin = buttons_.Knop[5]->mapToGlobal(QPoint(0, 0));
    const auto at = [&](int x, int y) { return screen.pixel(origin.x() + x, origin.y() + y) & 0xFFFFFF; };
    const int W = ButtonWidth;
    const int H = ButtonHeight;
    for (const QPoint corner : {QPoint(0, 0), QPoint(W - 1, 0), QPoint(0, H - 1), QPoint(W - 1, H - 1)}) {
        EXPECT_EQ(at(corner.x(), corner.y()), WindowColour & 0xFFFFFF) << "the window shows through the corner";
    }
    for (int x = 3; x <= W - 4; ++x) {
        EXPECT_EQ(at(x, 0), qRgb(112, 112, 112) & 0xFFFFFF) << x;
        EXPECT_EQ(at(x, 1), qRgb(252, 252, 252) & 0xFFFFFF) << x;
        EXPECT_EQ(at(x, H - 2), qRgb(243, 243, 243) & 0xFFFFFF) << x;
        EXPECT_EQ(at(x, H - 1), qRgb(112, 112, 112) & 0xFFFFFF) << x;
    }
    // Split row M = 42 / 2.2 = 19.09 → 19: the upper band starts at 242, the lower one at 221.
    EXPECT_EQ(at(4, 2), qRgb(242, 242, 242) & 0xFFFFFF);
    EXPECT_EQ(at(4, 19), qRgb(221, 221, 221) & 0xFFFFFF);
    EXPECT_EQ(at(1, 19), qRgb(246, 246, 246) & 0xFFFFFF);
    EXPECT_EQ(at(1, 1), qRgb(145, 145, 145) & 0xFFFFFF);
    EXPECT_EQ(at(W - 2, H - 2), qRgb(143, 143, 143) & 0xFFFFFF);
    bool captionDrawn = false;
    for (int y = 3; y < H - 3; ++y) {
        for (int x = 3; x < W - 3; ++x) captionDrawn = captionDrawn || at(x, y) == 0;
    }
    EXPECT_TRUE(captionDrawn) << "the caption \"Stop\" is drawn in black";
}

}  // namespace
}  // namespace tunekist
