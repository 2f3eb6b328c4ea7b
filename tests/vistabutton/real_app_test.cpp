// The player itself on an X display: its command buttons found on screen by their painted
// border, checked pixel by pixel while idle, and clicked with xdotool. Runs under xvfb-run.
#include <QDir>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

namespace {

constexpr QRgb Border = 0x707070;  // (112,112,112), the idle face's border
constexpr int ButtonWidth = 60;    // 900 × 630 twips
constexpr int ButtonHeight = 42;

QRgb At(const QImage& image, QPoint origin, int x, int y) { return image.pixel(origin + QPoint(x, y)) & 0xFFFFFF; }

// Top-left corners of the idle buttons on screen: a run of exactly W - 6 border pixels (the
// top edge between the corner shading) with the face's top inner line below it.
std::vector<QPoint> FindIdleButtons(const QImage& screen) {
    std::vector<QPoint> found;
    for (int y = 0; y + 1 < screen.height(); ++y) {
        int run = 0;
        for (int x = 0; x <= screen.width(); ++x) {
            const bool border = x < screen.width() && (screen.pixel(x, y) & 0xFFFFFF) == Border &&
                                (screen.pixel(x, y + 1) & 0xFFFFFF) == 0xFCFCFC;
            if (border) {
                ++run;
                continue;
            }
            if (run == ButtonWidth - 6) found.emplace_back(x - run - 3, y);
            run = 0;
        }
    }
    return found;
}

class RealApp : public ::testing::Test {
protected:
    void SetUp() override {
        player_.setProgram(QStringLiteral(TUNEKIST_PROGRAM));
        player_.setWorkingDirectory(directory_.path());
        player_.start();
        ASSERT_TRUE(player_.waitForStarted());
        QProcess search;
        search.start("xdotool", {"search", "--sync", "--onlyvisible", "--name", "Form1"});
        ASSERT_TRUE(search.waitForFinished(20000));
    }

    void TearDown() override {
        if (player_.state() != QProcess::NotRunning) {
            player_.kill();
            player_.waitForFinished();
        }
    }

    QImage Screenshot() {
        const QString path = directory_.filePath("screen.png");
        EXPECT_EQ(QProcess::execute("import", {"-window", "root", path}), 0);
        return QImage(path).convertToFormat(QImage::Format_RGB32);
    }

    // A screenshot once `ready` holds for it, or the last one tried; the display catches up
    // with the program in its own time.
    template <class Ready>
    QImage ScreenshotWhen(Ready ready) {
        QImage screen = Screenshot();
        for (int attempt = 0; attempt < 30 && !ready(screen); ++attempt) {
            QTest::qWait(200);
            screen = Screenshot();
        }
        return screen;
    }

    static bool Xdotool(const QStringList& arguments) { return QProcess::execute("xdotool", arguments) == 0; }

    static void Click(QPoint screen) {
        ASSERT_TRUE(Xdotool({"mousemove", QString::number(screen.x()), QString::number(screen.y()), "click", "1"}));
    }

    QTemporaryDir directory_;
    QProcess player_;
};

TEST_F(RealApp, SevenIdleCommandButtonsShowTheNormalFaceAndExitCloses) {
    ASSERT_TRUE(Xdotool({"mousemove", "0", "0"}));
    const QImage screen = ScreenshotWhen([](const QImage& shot) { return FindIdleButtons(shot).size() == 7; });
    std::vector<QPoint> buttons = FindIdleButtons(screen);
    // The window gives the focus to its first control, the song list, so all seven are idle.
    ASSERT_EQ(buttons.size(), 7U);
    const int W = ButtonWidth;
    const int H = ButtonHeight;
    for (const QPoint origin : buttons) {
        EXPECT_EQ(At(screen, origin, 0, H - 1) == Border, false) << "the cut corner shows the window";
        for (int x = 3; x <= W - 4; ++x) {
            EXPECT_EQ(At(screen, origin, x, H - 1), Border);
            EXPECT_EQ(At(screen, origin, x, H - 2), 0xF3F3F3U);
        }
        EXPECT_EQ(At(screen, origin, 4, 2), 0xF2F2F2U);
        EXPECT_EQ(At(screen, origin, 4, 19), 0xDDDDDDU);  // M = 42 / 2.2 → 19
        EXPECT_EQ(At(screen, origin, 1, 1), 0x919191U);
        EXPECT_EQ(At(screen, origin, W - 3, H - 1), 0x757575U);
    }
    const QPoint exit = *std::max_element(buttons.begin(), buttons.end(),
                                          [](QPoint a, QPoint b) { return a.x() < b.x(); });
    Click(exit + QPoint(W / 2, H / 2));
    EXPECT_TRUE(player_.waitForFinished(20000)) << "Exit closes the player";
}

TEST_F(RealApp, ClickedPlayShowsHoverThenKeepsTheFocusRingWhenThePointerLeaves) {
    std::vector<QPoint> buttons =
        FindIdleButtons(ScreenshotWhen([](const QImage& shot) { return FindIdleButtons(shot).size() == 7; }));
    ASSERT_EQ(buttons.size(), 7U);
    const QPoint play = *std::min_element(buttons.begin(), buttons.end(),
                                          [](QPoint a, QPoint b) { return a.x() < b.x(); });
    Click(play + QPoint(ButtonWidth / 2, ButtonHeight / 2));
    const QImage hovered = ScreenshotWhen([&](const QImage& shot) { return At(shot, play, 30, 0) != Border; });
    EXPECT_EQ(At(hovered, play, 30, 0), 0x3C7FB1U) << "hover border (60,127,177)";
    EXPECT_EQ(At(hovered, play, 30, 1), 0xFAFDFEU) << "hover top line (250,253,254)";
    ASSERT_TRUE(Xdotool({"mousemove", "0", "0"}));
    const QImage focused = ScreenshotWhen([&](const QImage& shot) { return At(shot, play, 30, 1) != 0xFAFDFEU; });
    EXPECT_EQ(At(focused, play, 30, 2), 0xA6E9FBU) << "focus ring (166,233,251)";
    EXPECT_EQ(At(focused, play, 30, ButtonHeight - 3), 0x84D5EFU) << "focus ring (132,213,239)";
    EXPECT_EQ(player_.state(), QProcess::Running) << "Play with an empty playlist does nothing else";
}

}  // namespace
