// The sound output failing and coming back, through the real window and engine. A song the output
// failed stays at the head, so that Play can try it again once there is sound; without any sound
// output, Next says so rather than that the playlist ran out, and the next song waits for Play.
#include <gtest/gtest.h>

#include <cstdlib>

#include "tests/reliability/reliability_test.h"

namespace tunekist::test {
namespace {

TEST_F(ReliabilityTest, SongsWaitAtTheHeadWhileThereIsNoSoundAndPlayOnceItIsBack) {
    for (const char* name : {"a.mp3", "b.mp3"}) CopyFile(CachedTone(1.0, 440), folder / name);
    ListFolder(folder.Path());
    ClickSong("a.mp3");
    ClickSong("b.mp3");
    const std::string none = "Geen geluidsapparaat beschikbaar";
    setenv("SDL_AUDIODRIVER", "no-such-audio-driver", 1);
    Press(kPlay);
    EXPECT_FALSE(Playing());
    EXPECT_FALSE(TimerRuns());
    EXPECT_EQ(messages, Strings{none});
    EXPECT_EQ(QueuedNames(), (Strings{"a", "b"}));
    Press(kNext);
    EXPECT_EQ(messages, (Strings{none, none}));
    EXPECT_EQ(QueuedNames(), Strings{"b"});
    EXPECT_FALSE(Playing());

    // The disk driver gives up on its device when a write fails, as a real device does when it is
    // unplugged; /dev/full fails every write.
    setenv("SDL_AUDIODRIVER", "disk", 1);
    engines.SendSoundTo("/dev/full");
    messages.clear();
    Press(kPlay);
    EXPECT_TRUE(Playing());
    EXPECT_LT(TickUntilTheTimerStops(50).size(), 50u);
    EXPECT_FALSE(Playing());
    EXPECT_FALSE(TimerRuns());
    EXPECT_EQ(messages, Strings{"Geluidsapparaat weggevallen"});
    EXPECT_EQ(QueuedNames(), Strings{"b"});

    engines.SendSoundTo("/dev/null");
    messages.clear();
    Press(kPlay);
    EXPECT_TRUE(Playing());
    ExpectPlayedOut();
}

}  // namespace
}  // namespace tunekist::test
