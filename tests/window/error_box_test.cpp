// An engine's failure told in a message box while a song plays: the song's ticks wait until the
// box is closed. (Its own process: the sound device must open on /dev/full, which fails every
// write as an unplugged device does, and a process keeps its first device.)
#include <QTest>
#include <QTimer>

#include "tests/support/player_window.h"
#include "tests/support/test_audio.h"

namespace tunekist::test {
namespace {

TEST_F(PlayerWindowTest, ErrorBoxHoldsTheTicksWhileItIsOpen) {
    Queue("Eerste", CachedTone(10.0, 440));
    Queue("Tweede", CachedTone(10.0, 440));
    engines.SendSoundTo("/dev/full");
    Press(kPlay);
    ASSERT_TRUE(Eventually([&] {
        try {
            Position();
        } catch (const std::exception&) {
            return true;
        }
        return false;
    }));

    int ticks = 0, shown = 0;
    bool playingUnderTheBox = false;
    QObject::connect(window->PlayTimer, &QTimer::timeout, [&] { ++ticks; });
    window->BeforeMessage = [&, closeWithOk = window->BeforeMessage] {
        if (shown++ > 0) return closeWithOk();
        // The timer ticks on under the open box, as it does while a person reads it.
        QTimer::singleShot(0, [&, closeWithOk] {
            window->PlayTimer->setInterval(1);
            EXPECT_TRUE(QTest::qWaitFor([&] { return ticks >= 3 || !program().state.Playing; }));
            playingUnderTheBox = program().state.Playing;
            window->PlayTimer->setInterval(24 * 3600 * 1000);
            closeWithOk();
        });
    };
    Press(kRew);
    EXPECT_TRUE(playingUnderTheBox) << "no tick may run under the open message";

    // Closed, the next tick finds the lost device: the song stops and waits at the queue's head.
    Tick();
    EXPECT_EQ(messages, (std::vector<std::string>(2, "Geluidsapparaat weggevallen")));
    EXPECT_FALSE(program().state.Playing || TimerRuns());
    EXPECT_EQ(QueuedNames(), (std::vector<std::string>{"Eerste", "Tweede"}));
}

}  // namespace
}  // namespace tunekist::test
