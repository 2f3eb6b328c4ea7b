#include "playback/player.h"

#include <gtest/gtest.h>

#include "tests/support/fake_controls.h"
#include "tests/support/virtual_engine.h"

namespace tunekist {
namespace {

class PlayerTest : public ::testing::Test {
protected:
    PlayerTest() {
        world->SetDuration("/music/a.mp3", 100.0);
        List1.AddItem("/music/a.mp3");
    }
    std::shared_ptr<test::VirtualEngine> Engine() { return world->LastEngine(); }

    std::shared_ptr<test::VirtualWorld> world = std::make_shared<test::VirtualWorld>();
    PlaybackState state;
    test::FakeSlider VolSlider;
    test::FakeListBox List1;
    test::FakeTimer PlayTimer;
    test::FakePictureBox Bar;
    VolumeControl volume{state, VolSlider};
    Player player{state, test::VirtualEngineFactory(world), volume, List1, PlayTimer, Bar};
};

TEST_F(PlayerTest, StartPlayRendersTheHeadSetsVolumeBeforeRunAndClearsTheBar) {
    VolSlider.value = 5;
    PlayTimer.enabled = false;
    player.Play();
    EXPECT_EQ(world->log, (std::vector<std::string>{"RenderFile /music/a.mp3", "put_Volume -1000", "Run"}));
    EXPECT_TRUE(state.Playing);
    EXPECT_TRUE(PlayTimer.enabled);
    EXPECT_EQ(Bar.resets, 1);
    EXPECT_EQ(state.Graph, state.GraphPosition);
    EXPECT_EQ(state.Graph, state.GraphAudio);
    EXPECT_EQ(VolSlider.text, "Volume 75%");
}

TEST_F(PlayerTest, UnplayableHeadStopsWithoutMessageAndKeepsTheFailedEngine) {
    world->FailPath("/music/a.mp3");
    player.Play();
    EXPECT_FALSE(state.Playing);
    EXPECT_FALSE(PlayTimer.enabled);
    ASSERT_TRUE(state.Graph);
    EXPECT_EQ(state.Graph->GetState(0), StateStopped);
    EXPECT_EQ(List1.ListCount(), 1);
}

TEST_F(PlayerTest, PlayWhilePausedResumesAndPlayWhileRunningRestartsInANewEngine) {
    player.Play();
    world->clock.Advance(20);
    player.PausePlay();
    player.Play();
    EXPECT_EQ(world->enginesCreated, 1);
    EXPECT_EQ(Engine()->State(), StateRunning);
    player.Play();
    EXPECT_EQ(world->enginesCreated, 2);
    EXPECT_EQ(world->enginesAlive, 1) << "the replaced engine is released";
    EXPECT_EQ(Engine()->Position(), 0);
}

TEST_F(PlayerTest, PauzeDoesNothingOnAStoppedSong) {
    player.Play();
    player.StopPlay();
    world->log.clear();
    player.PausePlay();
    EXPECT_EQ(Engine()->State(), StateStopped);
    EXPECT_TRUE(world->log.empty());
}

TEST_F(PlayerTest, RewAndForewMoveFifteenSecondsAndSeekMovesAnywhereAllClampedToTheSong) {
    player.Play();
    world->clock.Advance(10);
    player.RewindPlay();
    EXPECT_EQ(Engine()->Position(), 0);
    world->clock.Advance(50);
    player.RewindPlay();
    EXPECT_EQ(Engine()->Position(), 35);
    player.ForwardPlay();
    EXPECT_EQ(Engine()->Position(), 50);
    world->clock.Advance(40);
    player.ForwardPlay();
    EXPECT_EQ(Engine()->Position(), 100);
    for (const auto& [asked, reached] : {std::pair{42.5, 42.5}, {-3.0, 0.0}, {150.0, 100.0}}) {
        player.SeekPlay(asked);
        EXPECT_EQ(Engine()->Position(), reached) << "asked " << asked;
    }
}

TEST_F(PlayerTest, WithoutEngineTheProceduresDoNothing) {
    player.StopPlay();
    player.PausePlay();
    player.RewindPlay();
    player.ForwardPlay();
    player.SeekPlay(10);
    EXPECT_EQ(world->enginesCreated, 0);
    EXPECT_TRUE(PlayTimer.enabled) << "StopPlay without an engine leaves the timer as it was";
}

TEST_F(PlayerTest, EngineFailuresOfTheCommandsReachTheCaller) {
    player.Play();
    world->FailOperation("put_CurrentPosition");
    EXPECT_THROW(player.ForwardPlay(), EngineError);
    world->FailOperation("Stop");
    EXPECT_THROW(player.StopPlay(), EngineError);
}

}  // namespace
}  // namespace tunekist
