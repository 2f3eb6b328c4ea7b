#include "tests/support/real_engines.h"

#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <thread>

#include "platform/engine/real_engine.h"
#include "platform/engine/sdl_audio_output.h"
#include "tests/support/sound_capture.h"

namespace tunekist::test {
namespace {

class CountedEngine : public RealEngine {
public:
    CountedEngine(std::shared_ptr<RealEngines::Counts> counts, std::function<std::int64_t()> markStart,
                  std::function<void(std::int64_t)> started)
        : counts_(std::move(counts)), markStart_(std::move(markStart)), started_(std::move(started)) {
        ++counts_->made;
        counts_->peak = std::max(counts_->peak, ++counts_->alive);
    }
    ~CountedEngine() override { --counts_->alive; }
    CountedEngine(const CountedEngine&) = delete;
    CountedEngine& operator=(const CountedEngine&) = delete;

    void Run() override {
        if (ran_) return RealEngine::Run();
        const std::int64_t start = markStart_();
        RealEngine::Run();
        ran_ = true;
        started_(start);
    }

private:
    std::shared_ptr<RealEngines::Counts> counts_;
    std::function<std::int64_t()> markStart_;
    std::function<void(std::int64_t)> started_;
    bool ran_ = false;
};

constexpr std::int64_t kPeriodBytes = SdlAudioOutput::kDeviceFrames * 2 * sizeof(std::int16_t);

std::int64_t SizeOf(const std::string& file) {
    std::error_code error;
    const auto size = std::filesystem::file_size(file, error);
    return error ? -1 : static_cast<std::int64_t>(size);
}

}  // namespace

RealEngines::RealEngines(std::string name)
    : capture_(std::filesystem::temp_directory_path().string() + "/tunekist_" + name + "_" + std::to_string(getpid()) +
               ".raw") {
    setenv("SDL_AUDIODRIVER", "disk", 1);
    // A millisecond per device period still plays tens of times faster than real time; with
    // none, a device with nothing to play writes silence as fast as the disk takes it.
    setenv("SDL_DISKAUDIODELAY", "1", 0);
    std::filesystem::remove(capture_);
}

RealEngines::~RealEngines() { std::filesystem::remove(capture_); }

EngineFactory RealEngines::Factory() {
    return [this]() -> IMediaControl {
        setenv("SDL_DISKAUDIOFILE", (forcedFile_.empty() ? capture_ : forcedFile_).c_str(), 1);
        return std::make_shared<CountedEngine>(
            counts_, [this] { return CaptureEnd(); },
            [this](std::int64_t start) {
                if (forcedFile_.empty()) starts_.push_back(start);
            });
    };
}

std::int64_t RealEngines::CaptureEnd() const {
    // The device never stops writing (silence when nothing plays), one period at a time. The one
    // period that may be filled but not yet written when looking is on the file once the file
    // has grown by a period more; from there on it holds only what was played after looking.
    const std::int64_t seen = SizeOf(capture_);
    if (seen < 0) return 0;  // no device has opened on it yet
    Eventually([&] { return SizeOf(capture_) >= seen + kPeriodBytes; });
    return std::min(seen + kPeriodBytes, SizeOf(capture_));
}

bool RealEngines::DevicePlayedOn(int periods) const {
    const std::int64_t seen = SizeOf(capture_);
    return Eventually([&] { return SizeOf(capture_) >= seen + periods * kPeriodBytes; });
}

std::vector<std::vector<float>> RealEngines::Played() const {
    std::vector<std::vector<float>> played;
    const std::int64_t end = CaptureEnd();
    for (std::size_t i = 0; i < starts_.size(); ++i) {
        played.push_back(ReadCaptureFile(capture_, starts_[i], i + 1 < starts_.size() ? starts_[i + 1] : end));
    }
    return played;
}

}  // namespace tunekist::test
