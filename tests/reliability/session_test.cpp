// Long sessions through the real window and engine: a folder of 10,000 songs listed and totalled
// and the last 100 of them played one after another, and the sound output failing and coming back.
#include <gtest/gtest.h>

#include <malloc.h>

#include <cstdlib>
#include <filesystem>

#include "tests/reliability/reliability_test.h"

#if defined(__SANITIZE_ADDRESS__)
// From AddressSanitizer's runtime; GCC ships no header for it.
extern "C" std::size_t __sanitizer_get_current_allocated_bytes();
#endif

namespace tunekist::test {
namespace {

// The bytes the process holds in live heap blocks: AddressSanitizer's count in a sanitized build
// (its quarantine keeps freed blocks out of the process's own counts), glibc's otherwise.
std::int64_t LiveHeapBytes() {
#if defined(__SANITIZE_ADDRESS__)
    return static_cast<std::int64_t>(__sanitizer_get_current_allocated_bytes());
#else
    return static_cast<std::int64_t>(mallinfo2().uordblks);
#endif
}

// The songs are hard links of one generated song, so the folder costs no disk and every song is a
// file of its own name.
TEST_F(ReliabilityTest, TenThousandSongsListAndAHundredPlayInOrderWithFlatMemoryAndAtMostTwoEngines) {
    constexpr int kSongs = 10000, kPlayed = 100;
    // Song i is named 10000 + i, so that the names sort as the numbers do.
    CopyFile(CachedTone(1.0, 440), folder / ".song");
    for (int i = kSongs; i < 2 * kSongs; ++i) {
        std::filesystem::create_hard_link(folder / ".song", folder / (std::to_string(i) + ".mp3"));
    }
    WatchFolder(folder.Path());
    ListFolder(folder.Path());
    EXPECT_TRUE(messages.empty());
    ASSERT_EQ(Rows().RowCount(), kSongs);
    EXPECT_EQ(Text(window->Label1), "10000 Songs");
    EXPECT_EQ(Text(window->Label2), "Totaal : 02:46:40");
    EXPECT_EQ(Rows().SubItem(kSongs, 1), "00:01");
    Strings expected;
    for (int i = 2 * kSongs - kPlayed; i < 2 * kSongs; ++i) expected.push_back(std::to_string(i));
    for (const std::string& name : expected) ClickSong(name + ".mp3");
    EXPECT_EQ(Text(window->Label5), "Totaal : 00:01:40");
    EXPECT_EQ(engines.Alive(), 0);

    Press(kPlay);
    Strings started{Text(window->Label3)};
    std::int64_t heapEarly = 0;
    // Ticks come once per second of sound; a song ends within two of them.
    for (int ticks = 0; TimerRuns() && ticks < 4 * kPlayed; ++ticks) {
        TickUntilTheTimerStops(1);
        if (Playing() && Text(window->Label3) != started.back()) started.push_back(Text(window->Label3));
        if (QueuedPaths().size() == kPlayed - 20 && heapEarly == 0) heapEarly = LiveHeapBytes();
    }
    const std::int64_t heapLate = LiveHeapBytes();
    EXPECT_EQ(started, expected);
    ExpectPlayedOut();
    EXPECT_EQ(engines.Alive(), 1);
    // 80 songs later the live heap is where it was, give or take what the lists shed.
    EXPECT_LT(heapLate - heapEarly, 256 * 1024) << "early " << heapEarly << ", late " << heapLate;
}

// Without any sound output, Play and Next say so rather than that the playlist ran out, and the
// next song waits at the head for Play once there is sound.
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

    setenv("SDL_AUDIODRIVER", "disk", 1);
    messages.clear();
    Press(kPlay);
    EXPECT_TRUE(Playing());
    ExpectPlayedOut();
}

}  // namespace
}  // namespace tunekist::test
