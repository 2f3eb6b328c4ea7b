// The virtual engine must refuse whatever the real one refuses, or the procedures tested against
// it could pass a song the real engine cannot render, or a position or level out of its range.
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
