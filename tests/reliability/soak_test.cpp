// A long run through the real window and engine: a folder of 10,000 songs listed and totalled, and
// 100 one-second songs of it played one after another with the queue advancing by itself.
#include <gtest/gtest.h>

#include <malloc.h>

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

std::string SongName(int index) {
    char name[32];
    std::snprintf(name, sizeof name, "song %05d", index);
    return name;
}

// The songs are hard links of one generated song, so the folder costs no disk and every song is a
// file of its own name. The last hundred are queued and play through.
TEST_F(ReliabilityTest, TenThousandSongsListAndAHundredPlayInOrderWithFlatMemoryAndAtMostTwoEngines) {
    constexpr int kSongs = 10000, kPlayed = 100;
    const std::string song = folder / ".song";
    CopyFile(CachedTone(1.0, 440), song);
    for (int i = 0; i < kSongs; ++i) std::filesystem::create_hard_link(song, folder / (SongName(i) + ".mp3"));
    WatchFolder(folder.Path());
    ListFolder(folder.Path());
    EXPECT_TRUE(messages.empty());
    ASSERT_EQ(Rows().RowCount(), kSongs);
    EXPECT_EQ(Text(window->Label1), "10000 Songs");
    EXPECT_EQ(Text(window->Label2), "Totaal : 02:46:40");
    EXPECT_EQ(Rows().SubItem(kSongs, 1), "00:01");
    EXPECT_EQ(engines.Alive(), 0);
    for (int i = kSongs - kPlayed; i < kSongs; ++i) ClickSong(SongName(i) + ".mp3");
    EXPECT_EQ(Text(window->Label5), "Totaal : 00:01:40");

    Press(kPlay);
    ASSERT_TRUE(Playing());
    Strings started{Text(window->Label3)};
    std::int64_t heapEarly = 0;
    // Ticks come once per second of sound; a song ends within two of them.
    for (int ticks = 0; TimerRuns() && ticks < 4 * kPlayed; ++ticks) {
        const std::vector<TickSeen> seen = TickUntilTheTimerStops(1);
        if (!seen.empty() && seen[0].playingAfter && seen[0].engineAfter != seen[0].engineBefore) {
            started.push_back(Text(window->Label3));
        }
        if (Queued().size() == kPlayed - 20 && heapEarly == 0) heapEarly = LiveHeapBytes();
    }
    const std::int64_t heapLate = LiveHeapBytes();

    ASSERT_EQ(started.size(), static_cast<std::size_t>(kPlayed));
    for (int i = 0; i < kPlayed; ++i) EXPECT_EQ(started[i], SongName(kSongs - kPlayed + i));
    ExpectPlayedOut();
    EXPECT_EQ(engines.Alive(), 1);
    // 80 songs later the live heap is where it was, give or take what the lists shed.
    EXPECT_LT(heapLate - heapEarly, 256 * 1024) << "early " << heapEarly << ", late " << heapLate;
}

}  // namespace
}  // namespace tunekist::test
