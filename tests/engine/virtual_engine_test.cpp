#include "tests/support/virtual_engine.h"

#include <gtest/gtest.h>

#include <cmath>

namespace tunekist::test {
namespace {

class VirtualEngineTest : public ::testing::Test {
protected:
    VirtualEngineTest() { world->SetDuration("/a.mp3", 10.0); }
    std::shared_ptr<VirtualWorld> world = std::make_shared<VirtualWorld>();
    EngineFactory factory = VirtualEngineFactory(world);
};

TEST_F(VirtualEngineTest, ClockMovesOnlyRunningEnginesAndStopsAtDuration) {
    IMediaControl running = factory();
    IMediaControl paused = factory();
    running->RenderFile("/a.mp3");
    paused->RenderFile("/a.mp3");
    running->Run();
    paused->Run();
    world->clock.Advance(4.0);
    paused->Pause();
    world->clock.Advance(4.0);
    EXPECT_EQ(running->get_CurrentPosition(), 8.0);
    EXPECT_EQ(paused->get_CurrentPosition(), 4.0);
    world->clock.Advance(100.0);
    EXPECT_EQ(running->get_CurrentPosition(), 10.0);
    EXPECT_EQ(running->GetState(0), StateRunning);
}

TEST_F(VirtualEngineTest, LogsCallsAndCountsEngines) {
    {
        IMediaControl engine = factory();
        engine->RenderFile("/a.mp3");
        engine->put_Volume(-1000);
        engine->Run();
        engine->put_CurrentPosition(2.5);
        EXPECT_EQ(world->enginesAlive, 1);
    }
    EXPECT_EQ(world->log, (std::vector<std::string>{"RenderFile /a.mp3", "put_Volume -1000", "Run",
                                                    "put_CurrentPosition 2.5"}));
    EXPECT_EQ(world->enginesCreated, 1);
    EXPECT_EQ(world->enginesAlive, 0);
    EXPECT_EQ(world->LastEngine(), nullptr);
}

TEST_F(VirtualEngineTest, UnknownOrFailingPathCannotBeRenderedAndLeavesEngineIdle) {
    world->SetDuration("/bad.mp3", 3.0);
    world->FailPath("/bad.mp3");
    for (const char* path : {"/missing.mp3", "/bad.mp3"}) {
        IMediaControl engine = factory();
        EXPECT_THROW(engine->RenderFile(path), EngineError);
        EXPECT_EQ(engine->get_Duration(), 0.0);
        EXPECT_EQ(engine->get_CurrentPosition(), 0.0);
        EXPECT_THROW(engine->Run(), EngineError);
        engine->Pause();
        EXPECT_EQ(engine->GetState(0), StateStopped);
    }
}

TEST_F(VirtualEngineTest, ScriptedFailuresCountDown) {
    world->FailOperation("create", 1);
    EXPECT_THROW(factory(), EngineError);
    IMediaControl engine = factory();
    engine->RenderFile("/a.mp3");
    world->FailOperation("Run", 2);
    EXPECT_THROW(engine->Run(), EngineError);
    EXPECT_THROW(engine->Run(), EngineError);
    engine->Run();
    EXPECT_EQ(engine->GetState(0), StateRunning);
}

TEST_F(VirtualEngineTest, RejectsPositionsAndLevelsOutOfRange) {
    IMediaControl engine = factory();
    engine->RenderFile("/a.mp3");
    EXPECT_THROW(engine->put_CurrentPosition(-0.1), EngineError);
    EXPECT_THROW(engine->put_CurrentPosition(10.1), EngineError);
    EXPECT_THROW(engine->put_CurrentPosition(std::nan("")), EngineError);
    EXPECT_THROW(engine->put_Volume(1), EngineError);
    EXPECT_THROW(engine->put_Volume(-10001), EngineError);
    engine->put_CurrentPosition(10.0);
    engine->put_Volume(-10000);
    EXPECT_EQ(world->LastEngine()->Volume(), -10000);
}

}  // namespace
}  // namespace tunekist::test
