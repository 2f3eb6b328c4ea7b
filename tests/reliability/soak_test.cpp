// Long runs through the real engine: 100 one-second songs played one after another with the queue
// advancing by itself, and a folder of 10,000 songs. The songs are hard links of one generated
// song, so the folders cost no disk and every song is a file of its own name.
#include <gtest/gtest.h>

#include <malloc.h>

#include <filesystem>

#include "tests/support/scratch_folder.h"
#include "tests/support/real_main.h"
#include "tests/support/test_audio.h"

#if defined(__SANITIZE_ADDRESS__)
// From AddressSanitizer's runtime; GCC ships no header for it.
extern "C" std::size_t __sanitizer_get_current_allocated_bytes();
#endif

namespace tunekist::test {
namespace {

namespace fs = std::filesystem;

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
    std::snprintf(name, sizeof name, "song %05d.mp3", index);
    return name;
}

void FillWithLinks(const ScratchFolder& folder, int count) {
    const std::string song = folder / ".song";
    CopyFile(CachedTone(1.0, 440), song);
    for (int i = 0; i < count; ++i) fs::create_hard_link(song, folder / SongName(i));
}

class SoakTest : public QuietMainTest {
protected:
    ScratchFolder folder{"soak"};
};

TEST_F(SoakTest, AHundredSongsPlayInOrderWithFlatMemoryAndAtMostTwoEngines) {
    constexpr int kSongs = 100;
    FillWithLinks(folder, kSongs);
    ListFolder(folder.Path());
    ASSERT_EQ(ListView1.RowCount(), kSongs);
    for (int i = 0; i < kSongs; ++i) ClickSong(SongName(i));
    EXPECT_EQ(Label5.caption, "Totaal : 00:01:40");

    main.Knop_Click(kPlay);
    ASSERT_TRUE(main.state.Playing);
    std::vector<std::string> started{Label3.caption};
    std::int64_t heapEarly = 0;
    int ticks = 0;
    // Ticks come once per second of sound; a song ends within two of them.
    while (PlayTimer.enabled && ticks < 4 * kSongs) {
        const std::vector<TickSeen> seen = TickUntilTheTimerStops(1);
        ++ticks;
        if (!seen.empty() && seen[0].playingAfter && seen[0].engineAfter != seen[0].engineBefore) {
            started.push_back(Label3.caption);
        }
        if (List1.ListCount() == kSongs - 20 && heapEarly == 0) heapEarly = LiveHeapBytes();
    }
    const std::int64_t heapLate = LiveHeapBytes();

    ASSERT_EQ(started.size(), static_cast<std::size_t>(kSongs));
    for (int i = 0; i < kSongs; ++i) EXPECT_EQ(started[i], SongName(i).substr(0, SongName(i).size() - 4));
    EXPECT_EQ(List1.ListCount(), 0);
    EXPECT_EQ(messages.shown, std::vector<std::string>{kFillPlaylist});
    EXPECT_LE(engines.PeakAlive(), 2);
    EXPECT_EQ(engines.Alive(), 1);
    // 80 songs later the live heap is where it was, give or take what the lists shed.
    EXPECT_LT(heapLate - heapEarly, 256 * 1024) << "early " << heapEarly << ", late " << heapLate;
}

TEST_F(SoakTest, TenThousandSongsAreListedTotalledAndPlayable) {
    constexpr int kSongs = 10000;
    FillWithLinks(folder, kSongs);
    ListFolder(folder.Path());
    EXPECT_TRUE(messages.shown.empty());
    ASSERT_EQ(ListView1.RowCount(), kSongs);
    EXPECT_EQ(Label1.caption, "10000 Songs");
    EXPECT_EQ(Label2.caption, "Totaal : 02:46:40");
    EXPECT_EQ(ListView1.SubItem(kSongs, 1), "00:01");
    EXPECT_EQ(engines.Alive(), 0);
    ClickSong(SongName(kSongs - 1));
    main.Knop_Click(kPlay);
    EXPECT_TRUE(main.state.Playing);
    EXPECT_EQ(Label3.caption, "song 09999");
}

}  // namespace
}  // namespace tunekist::test
