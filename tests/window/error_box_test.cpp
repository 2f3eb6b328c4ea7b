// An engine's failure told in a message box while a song plays: the song's ticks wait until the
// box is closed. (Its own process: the sound device must open on /dev/full, which fails every
// write as an unplugged device does, and the process keeps its first device.)
#include <QApplication>
#include <QMessageBox>
#include <QTest>
#include <QTimer>

#include "tests/support/player_window.h"
#include "tests/support/test_audio.h"

namespace tunekist::test {
namespace {

using Strings = std::vector<std::string>;

TEST_F(PlayerWindowTest, ErrorBoxHoldsTheTicksWhileItIsOpen) {
    Queue("Eerste", CachedTone(10.0, 440));
    Queue("Tweede", CachedTone(10.0, 440));
    engines.SendSoundTo("/dev/full");
    Press(kPlay);
    ASSERT_TRUE(Eventually([&] {
        try {
            Position();
            return false;
        } catch (const std::exception&) {
            return true;
        }
    }));

    int ticks = 0;
    QObject::connect(window->PlayTimer, &QTimer::timeout, [&] { ++ticks; });
    bool playingWhileShown = false;
    window->BeforeMessage = [&] {
        QTimer::singleShot(0, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            ASSERT_NE(box, nullptr);
            messages.push_back(box->text().toStdString());
            // The timer goes on ticking under the box, as it does while a person reads it.
            if (messages.size() == 1) {
                window->PlayTimer->setInterval(1);
                EXPECT_TRUE(QTest::qWaitFor([&] { return ticks >= 3 || !program().state.Playing; }));
                playingWhileShown = program().state.Playing;
                window->PlayTimer->setInterval(24 * 3600 * 1000);
            }
            box->accept();
        });
    };
    Press(kRew);
    EXPECT_TRUE(playingWhileShown) << "no tick may run under the open message";
    EXPECT_EQ(messages, Strings{"Geluidsapparaat weggevallen"});

    // Closed, the next tick finds the lost device: the song stops and waits at the queue's head.
    Tick();
    EXPECT_EQ(messages, (Strings{"Geluidsapparaat weggevallen", "Geluidsapparaat weggevallen"}));
    EXPECT_FALSE(program().state.Playing);
    EXPECT_FALSE(TimerRuns());
    EXPECT_EQ(QueuedNames(), (Strings{"Eerste", "Tweede"}));
}

}  // namespace
}  // namespace tunekist::test
