// Faults from outside the program while it lists and plays, through the real window and engine: a
// folder deleted during its listing, no sound output, and a device lost while a song plays. Each
// ends in a defined state.
#include <gtest/gtest.h>

#include <QTimer>
#include <cstdlib>
#include <filesystem>
#include <functional>

#include "tests/reliability/reliability_test.h"

namespace tunekist::test {
namespace {

namespace fs = std::filesystem;

using FaultTest = ReliabilityTest;

TEST_F(FaultTest, FolderDeletedDuringItsListingKeepsTheRowsOfWhatWasListed) {
    for (const char* name : {"a.mp3", "b.mp3", "c.mp3", "d.mp3"}) CopyFile(CachedTone(1.0, 440), folder / name);
    // The folder goes in the listing's first yield to the window, once the first song is measured.
    QTimer::singleShot(0, [&] { fs::remove_all(folder.Path()); });
    ListFolder(folder.Path());
    EXPECT_TRUE(messages.empty());
    ASSERT_EQ(ListedFiles(), (Strings{"a.mp3", "b.mp3", "c.mp3", "d.mp3"}));
    // The others measure as nothing and have no size.
    EXPECT_EQ(Rows().SubItem(1, 1), "00:01");
    EXPECT_EQ(Rows().SubItem(2, 1), "00:00");
    EXPECT_EQ(Rows().SubItem(4, 1), "00:00");
    EXPECT_EQ(Rows().SubItem(4, 2), "");
    EXPECT_EQ(Text(window->Label1), "4 Songs");
    EXPECT_EQ(Text(window->Label2), "Totaal : 00:00:01");
    EXPECT_EQ(engines.Alive(), 0);
}

struct DeviceFault {
    const char* name;
    bool whilePlaying;  // the device goes while the song plays, else there is none at Play
    std::function<void(RealEngines&)> fail, mend;
    const char* message;  // what was shown once the song stopped
};

void PrintTo(const DeviceFault& fault, std::ostream* out) { *out << fault.name; }

class DeviceFaultTest : public FaultTest, public ::testing::WithParamInterface<DeviceFault> {};

// The song stops and stays at the head, so that Play can try it again once the device is back.
// Without any sound output, Next says so rather than that the playlist ran out, and the next
// song waits at the head for Play.
TEST_P(DeviceFaultTest, StopsTheSongAtTheHeadAndPlayTriesAgain) {
    const DeviceFault& fault = GetParam();
    for (const char* name : {"a.mp3", "b.mp3"}) CopyFile(CachedTone(1.0, 440), folder / name);
    ListFolder(folder.Path());
    ClickSong("a.mp3");
    ClickSong("b.mp3");
    fault.fail(engines);
    Press(kPlay);
    EXPECT_EQ(Playing(), fault.whilePlaying);
    EXPECT_LT(TickUntilTheTimerStops(50).size(), 50u);
    EXPECT_FALSE(Playing());
    EXPECT_FALSE(TimerRuns());
    EXPECT_EQ(messages, Strings{fault.message});
    EXPECT_EQ(Queued().size(), 2u);
    if (!fault.whilePlaying) {
        Press(kNext);
        EXPECT_EQ(messages, (Strings{fault.message, fault.message}));
        EXPECT_EQ(Queued().size(), 1u);
        EXPECT_FALSE(Playing());
    }
    fault.mend(engines);
    messages.clear();
    Press(kPlay);
    EXPECT_TRUE(Playing());
    ExpectPlayedOut();
}

INSTANTIATE_TEST_SUITE_P(
    Devices, DeviceFaultTest,
    ::testing::Values(
        DeviceFault{"NoSoundOutputAtAll", false,
                    [](RealEngines&) { setenv("SDL_AUDIODRIVER", "no-such-audio-driver", 1); },
                    [](RealEngines&) { setenv("SDL_AUDIODRIVER", "disk", 1); }, "Geen geluidsapparaat beschikbaar"},
        // The disk driver gives up on its device when a write fails, as a real device does when
        // it is unplugged; /dev/full fails every write.
        DeviceFault{"DeviceLostWhilePlaying", true, [](RealEngines& e) { e.SendSoundTo("/dev/full"); },
                    [](RealEngines& e) { e.SendSoundTo("/dev/null"); }, "Geluidsapparaat weggevallen"}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace tunekist::test
