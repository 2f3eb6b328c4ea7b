#include "tests/reliability/counted_engines.h"

#include <algorithm>

#include "platform/engine/real_engine.h"

namespace tunekist::test {
namespace {

class CountedEngine : public RealEngine {
public:
    explicit CountedEngine(std::shared_ptr<CountedEngines::Counts> counts) : counts_(std::move(counts)) {
        ++counts_->made;
        counts_->peak = std::max(counts_->peak, ++counts_->alive);
    }
    ~CountedEngine() override { --counts_->alive; }
    CountedEngine(const CountedEngine&) = delete;
    CountedEngine& operator=(const CountedEngine&) = delete;

private:
    std::shared_ptr<CountedEngines::Counts> counts_;
};

}  // namespace

EngineFactory CountedEngines::Factory() {
    return [counts = counts_]() -> IMediaControl { return std::make_shared<CountedEngine>(counts); };
}

}  // namespace tunekist::test
