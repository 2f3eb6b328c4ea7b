#include "tests/support/real_engines.h"

#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>

#include "platform/engine/real_engine.h"

namespace tunekist::test {
namespace {

class CountedEngine : public RealEngine {
public:
    explicit CountedEngine(std::shared_ptr<RealEngines::Counts> counts) : counts_(std::move(counts)) {
        ++counts_->made;
        counts_->peak = std::max(counts_->peak, ++counts_->alive);
    }
    ~CountedEngine() override { --counts_->alive; }
    CountedEngine(const CountedEngine&) = delete;
    CountedEngine& operator=(const CountedEngine&) = delete;

private:
    std::shared_ptr<RealEngines::Counts> counts_;
};

}  // namespace

RealEngines::RealEngines(std::string name) : name_(std::move(name)) {
    setenv("SDL_AUDIODRIVER", "disk", 1);
    // A millisecond per device period still plays tens of times faster than real time; with
    // none, a paused or finished device writes silence as fast as the disk takes it.
    setenv("SDL_DISKAUDIODELAY", "1", 0);
}

RealEngines::~RealEngines() {
    for (const std::string& file : captureFiles_) std::filesystem::remove(file);
}

EngineFactory RealEngines::Factory() {
    return [this]() -> IMediaControl {
        std::string file = forcedFile_;
        if (file.empty()) {
            file = std::filesystem::temp_directory_path().string() + "/tunekist_" + name_ + "_" +
                   std::to_string(getpid()) + "_" + std::to_string(counts_->made) + ".raw";
            std::filesystem::remove(file);
            captureFiles_.push_back(file);
        }
        // The disk driver reads its file name when the device opens, at the engine's first Run;
        // nothing else makes an engine between a song's engine being made and it being run.
        setenv("SDL_DISKAUDIOFILE", file.c_str(), 1);
        return std::make_shared<CountedEngine>(counts_);
    };
}

std::vector<std::string> RealEngines::Played() const {
    std::vector<std::string> played;
    std::copy_if(captureFiles_.begin(), captureFiles_.end(), std::back_inserter(played),
                 [](const std::string& file) { return std::filesystem::exists(file); });
    return played;
}

}  // namespace tunekist::test
