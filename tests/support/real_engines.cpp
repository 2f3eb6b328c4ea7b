#include "tests/support/real_engines.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <thread>

#include "platform/engine/real_engine.h"
#include "platform/engine/sdl_audio_output.h"
#include "platform/engine/shared_audio_output.h"
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
               ".raw"),
      fifo_(capture_ + ".fifo") {
    setenv("SDL_AUDIODRIVER", "disk", 1);
    // A device still playing silence in its idle grace when a test ends writes to the FIFO after
    // the capture has closed it: that write must fail, not end the passed test's process.
    std::signal(SIGPIPE, SIG_IGN);
    // A millisecond per device period still plays tens of times faster than real time; with
    // none, a device with nothing to play writes silence as fast as the disk takes it.
    setenv("SDL_DISKAUDIODELAY", "1", 0);
    std::filesystem::remove(capture_);
    std::filesystem::remove(fifo_);
    if (mkfifo(fifo_.c_str(), 0600) != 0 || pipe(stopFds_) != 0) throw std::runtime_error("no FIFO for the capture");
    fifoFd_ = open(fifo_.c_str(), O_RDWR | O_CLOEXEC);
    copier_ = std::jthread([this] { CopyFifo(); });
}

RealEngines::~RealEngines() {
    if (write(stopFds_[1], "x", 1) != 1) std::terminate();
    copier_.join();
    for (const int fd : {fifoFd_, stopFds_[0], stopFds_[1]}) close(fd);
    std::filesystem::remove(fifo_);
    std::filesystem::remove(capture_);
}

void RealEngines::CopyFifo() {
    const int out = open(capture_.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    std::vector<char> buffer(1 << 16);
    pollfd watched[2] = {{fifoFd_, POLLIN, 0}, {stopFds_[0], POLLIN, 0}};
    while (poll(watched, 2, -1) >= 0 && !(watched[1].revents & POLLIN)) {
        const std::lock_guard lock(copying_);
        const ssize_t got = read(fifoFd_, buffer.data(), buffer.size());
        if (got > 0 && write(out, buffer.data(), static_cast<std::size_t>(got)) != got) break;
    }
    close(out);
}

std::int64_t RealEngines::Written() const {
    const std::lock_guard lock(copying_);
    int waiting = 0;
    if (ioctl(fifoFd_, FIONREAD, &waiting) != 0) waiting = 0;
    return std::max<std::int64_t>(SizeOf(capture_), 0) + waiting;
}

EngineFactory RealEngines::Factory() {
    return [this]() -> IMediaControl {
        setenv("SDL_DISKAUDIOFILE", (forcedFile_.empty() ? fifo_ : forcedFile_).c_str(), 1);
        return std::make_shared<CountedEngine>(
            counts_, [this] { return CaptureEnd(); },
            [this](std::int64_t start) {
                if (forcedFile_.empty()) starts_.push_back(start);
            });
    };
}

std::int64_t RealEngines::CaptureEnd() const {
    // An open device never stops writing (silence when nothing plays), one period at a time. The
    // one period that may be filled but not yet written when looking is written once a period
    // more has been; from there on the stream holds only what was played after looking. With
    // every device closed, nothing more is written.
    const std::int64_t seen = Written();
    Eventually([&] { return Written() >= seen + kPeriodBytes || SharedAudioOutput::Instance().OpenDevices() == 0; });
    return std::min(seen + kPeriodBytes, Written());
}

bool RealEngines::DevicePlayedOn(int periods) const {
    const std::int64_t seen = Written();
    return Eventually([&] { return Written() >= seen + periods * kPeriodBytes; });
}

std::vector<std::vector<float>> RealEngines::Played() const {
    std::vector<std::vector<float>> played;
    const std::int64_t end = CaptureEnd();
    Eventually([&] { return SizeOf(capture_) >= end; });
    for (std::size_t i = 0; i < starts_.size(); ++i) {
        played.push_back(ReadCaptureFile(capture_, starts_[i], i + 1 < starts_.size() ? starts_[i + 1] : end));
    }
    return played;
}

}  // namespace tunekist::test
