// The real window with the shipped engine: its buttons clicked, its own PlayTimer ticking, its
// labels and bar pixels read, its message boxes answered, and the sound analysed.
#include <QAbstractButton>
#include <QLabel>
#include <QListWidget>
#include <QTest>
#include <QTreeWidget>

#include "playback/progress_bar.h"
#include "tests/e2e/real_window_fixture.h"
#include "tests/support/test_audio.h"

namespace tunekist::test {
namespace {

constexpr int kPlay = 0, kPauze = 1, kRew = 2, kForew = 3, kNext = 4;
const QColor kGreen(100, 200, 50);
const QColor kBackground(30, 0, 0);

std::string Text(const QLabel* label) { return label->text().toStdString(); }

TEST_F(RealWindowTest, QueuePlaysThroughOnTheTimerAndEndsWithOneMessage) {
    Show();
    Queue("een", CachedTone(1.0, 440));
    Queue("twee", CachedTone(1.5, 880));
    // 1 s, then R(1 + 1.5) = 2 s: the running total is rounded half to even at every song.
    EXPECT_EQ(Text(window->Label5), "Totaal : 00:00:02");
    Click(window->Knop[kPlay]);
    EXPECT_EQ(Text(window->Label3), "een");
    ASSERT_TRUE(RunUntil([&] { return Text(window->Label3) == "twee"; }));
    EXPECT_EQ(window->List1->count(), 1);
    EXPECT_EQ(PlaylistRows(), 1);
    ASSERT_TRUE(RunUntil([&] { return !boxes.empty(); }));
    EXPECT_EQ(boxes[0].text, "Playlist vullen a.u.b. ");
    EXPECT_EQ(boxes[0].title, "Tunekist");
    EXPECT_TRUE(boxes[0].noIcon);
    EXPECT_TRUE(boxes[0].onlyOk);
    EXPECT_FALSE(window->PlayTimer->isActive());
    EXPECT_FALSE(window->program().state.Playing);
    EXPECT_EQ(window->List1->count(), 0);
    EXPECT_EQ(PlaylistRows(), 0);
    EXPECT_EQ(Text(window->Label3), "twee");
    // The timer is off: a second and more later no second message has come.
    QTest::qWait(1200);
    EXPECT_EQ(boxes.size(), 1u);

    window->close();
    const std::vector<std::string> played = engines.Played();
    ASSERT_EQ(played.size(), 2u);
    const Heard first = Analyse(played[0]);
    const Heard second = Analyse(played[1]);
    EXPECT_NEAR(first.hz, 440.0, 2.0);
    EXPECT_NEAR(static_cast<double>(first.frames), 44100.0, 10.0);
    EXPECT_NEAR(second.hz, 880.0, 2.0);
    EXPECT_NEAR(static_cast<double>(second.frames), 66150.0, 10.0);
}

// A 17.5 s song paused and moved with Rew and Forew: 0, 15, 17.5 (its end), then 2.5. The timer
// shows 2.5 s as 00:02 and 13% as a bar 26 pixels high above the bottom strip; Rew erases the
// bar at once, and the next tick draws it again at 0%.
TEST_F(RealWindowTest, ButtonsMoveThePausedSongAndTheTimerShowsWhereItIs) {
    Show();
    Queue("zeventien", CachedTone(17.5, 440));
    Click(window->Knop[kPlay]);
    Click(window->Knop[kPauze]);
    Click(window->Knop[kRew]);
    Click(window->Knop[kForew]);
    Click(window->Knop[kForew]);
    EXPECT_EQ(window->program().state.GraphPosition->get_CurrentPosition(), 17.5);
    Click(window->Knop[kRew]);
    EXPECT_EQ(window->program().state.GraphPosition->get_CurrentPosition(), 2.5);

    ASSERT_TRUE(RunUntil([&] { return Text(window->TijdLabel) == "00:02"; }));
    EXPECT_EQ(Text(window->BarLabel), "13%");
    EXPECT_EQ(BarPixel(20, 199), kGreen);
    EXPECT_EQ(BarPixel(20, 171), kGreen);
    EXPECT_EQ(BarPixel(41, 171), kGreen);
    EXPECT_EQ(BarPixel(20, 170), kBackground);
    EXPECT_EQ(BarPixel(42, 185), kBackground);

    Click(window->Knop[kRew]);
    EXPECT_EQ(BarPixel(20, 199), kBackground);
    EXPECT_EQ(BarPixel(20, 171), kBackground);
    ASSERT_TRUE(RunUntil([&] { return Text(window->BarLabel) == "0%"; }));
    EXPECT_EQ(Text(window->TijdLabel), "00:00");
    EXPECT_EQ(BarPixel(20, 197), kGreen);
    EXPECT_EQ(BarPixel(20, 196), kBackground);
    EXPECT_TRUE(boxes.empty());

    Click(window->Knop[kPauze]);
    ASSERT_TRUE(RunUntil([&] { return !boxes.empty(); }));
    EXPECT_EQ(boxes[0].text, "Playlist vullen a.u.b. ");
    window->close();
    EXPECT_NEAR(Analyse(engines.Played().at(0)).hz, 440.0, 2.0);
}

// The engine fails inside a command: the head song could not be opened, so Rew finds no file to
// move in. The failure is shown, and the program goes on: Next drops the song and plays the next.
TEST_F(RealWindowTest, EngineErrorInACommandIsShownAndTheProgramCarriesOn) {
    Show();
    const std::string broken = TestAudioDir() + "/e2e_not_audio.mp3";
    WriteBytes(broken, std::string(4096, 'x'));
    Queue("kapot", broken);
    Queue("goed", CachedTone(1.0, 880));
    Click(window->Knop[kPlay]);
    EXPECT_FALSE(window->program().state.Playing);
    QTest::qWait(50);
    EXPECT_TRUE(boxes.empty());

    Click(window->Knop[kRew]);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, "Geen song om af te spelen");
    EXPECT_EQ(boxes[0].title, "Tunekist");
    EXPECT_TRUE(boxes[0].noIcon);
    EXPECT_TRUE(boxes[0].onlyOk);

    Click(window->Knop[kNext]);
    EXPECT_EQ(Text(window->Label3), "goed");
    EXPECT_TRUE(window->program().state.Playing);
    ASSERT_TRUE(RunUntil([&] { return boxes.size() == 2; }));
    EXPECT_EQ(boxes[1].text, "Playlist vullen a.u.b. ");
    window->close();
    const std::vector<std::string> played = engines.Played();
    ASSERT_EQ(played.size(), 1u);
    EXPECT_NEAR(Analyse(played[0]).hz, 880.0, 2.0);
}

// The audio device goes away while a song plays. The command that meets the failure shows it,
// the next tick shows it again and stops the song, and a new Play starts the song afresh.
TEST_F(RealWindowTest, LostAudioDeviceIsShownAndANewPlayStartsAfresh) {
    Show();
    Queue("twintig", CachedTone(20.0, 440));
    engines.SendSoundTo("/dev/full");
    Click(window->Knop[kPlay]);
    MediaEngine& lost = *window->program().state.Graph;
    // Waiting outside the event loop keeps the timer from meeting the failure first.
    ASSERT_TRUE(WaitUntil([&] {
        try {
            lost.GetState(0);
            return false;
        } catch (const EngineError&) {
            return true;
        }
    }));
    Click(window->Knop[kPauze]);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, "Geluidsapparaat weggevallen");
    EXPECT_EQ(boxes[0].title, "Tunekist");
    EXPECT_TRUE(boxes[0].noIcon);
    EXPECT_TRUE(boxes[0].onlyOk);

    ASSERT_TRUE(RunUntil([&] { return boxes.size() == 2; }));
    EXPECT_EQ(boxes[1].text, "Geluidsapparaat weggevallen");
    EXPECT_FALSE(window->program().state.Playing);
    EXPECT_FALSE(window->PlayTimer->isActive());
    EXPECT_EQ(window->List1->count(), 1);

    engines.SendSoundTo("");
    Click(window->Knop[kPlay]);
    EXPECT_TRUE(window->program().state.Playing);
    MediaEngine& fresh = *window->program().state.Graph;
    ASSERT_TRUE(RunUntil([&] { return fresh.get_CurrentPosition() >= 1.0; }));
    window->close();
    EXPECT_EQ(boxes.size(), 2u);
    EXPECT_NEAR(Analyse(engines.Played().at(0)).hz, 440.0, 2.0);
}

TEST_F(RealWindowTest, SliderMovedByKeysBeforeTheFirstSongSetsItsLevel) {
    Show();
    const std::string song = CachedTone(1.0, 440, {.amplitude = 0.5});
    window->VolSlider->setFocus();
    QTest::keyClick(window->VolSlider, Qt::Key_PageDown);
    QTest::keyClick(window->VolSlider, Qt::Key_PageDown);
    EXPECT_EQ(window->VolSlider->value(), 10);
    EXPECT_EQ(window->VolSlider->Text(), "Volume 50%");
    EXPECT_EQ(engines.Made(), 0);

    Queue("een", song);
    Click(window->Knop[kPlay]);
    ASSERT_TRUE(RunUntil([&] { return !boxes.empty(); }));
    window->close();
    const Heard heard = Analyse(engines.Played().at(0));
    EXPECT_NEAR(heard.rmsDb - DecodedRmsDb(song), -20.0, 0.2);
}

// Closing the window while a song plays stops the sound and releases the engine, whether by
// the close box or by Exit.
class ClosingTheWindow : public RealWindowTest, public ::testing::WithParamInterface<bool> {};

TEST_P(ClosingTheWindow, StopsTheSoundAndReleasesTheEngine) {
    Show();
    Queue("twintig", CachedTone(20.0, 440));
    Click(window->Knop[kPlay]);
    MediaEngine& engine = *window->program().state.Graph;
    ASSERT_TRUE(RunUntil([&] { return engine.get_CurrentPosition() >= 1.0; }));
    if (GetParam()) {
        Click(window->ExitKnop);
    } else {
        window->close();
    }
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(engines.Alive(), 0);
    const Heard heard = Analyse(engines.Played().at(0));
    EXPECT_GE(heard.frames, 44100u - 10);
    EXPECT_LT(heard.frames, 882000u - 10);
}

INSTANTIATE_TEST_SUITE_P(Ways, ClosingTheWindow, ::testing::Values(true, false),
                         [](const auto& info) { return info.param ? "ByExit" : "ByCloseBox"; });

}  // namespace
}  // namespace tunekist::test
