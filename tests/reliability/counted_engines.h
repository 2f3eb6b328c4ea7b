#pragma once
// Real engines (libmpg123 + SDL2) that are counted while they live, so that a test can say how
// many engines the program held at once.

#include <memory>

#include "playback/media_engine.h"

namespace tunekist::test {

class CountedEngines {
public:
    // The factory to give the program: every engine it makes is a RealEngine.
    EngineFactory Factory();
    int Made() const { return counts_->made; }
    int Alive() const { return counts_->alive; }
    // The most engines that were alive at one time.
    int PeakAlive() const { return counts_->peak; }

    struct Counts {
        int made = 0;
        int alive = 0;
        int peak = 0;
    };

private:
    std::shared_ptr<Counts> counts_ = std::make_shared<Counts>();
};

}  // namespace tunekist::test
