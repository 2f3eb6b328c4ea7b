#include "platform/engine/real_engine.h"

#include <cmath>

#include "platform/engine/playback_pipeline.h"

namespace tunekist {

namespace {

// Hundredths of a decibel to an amplitude factor: -2000 is 20 dB down, a tenth of the amplitude.
float GainOf(std::int32_t level) { return static_cast<float>(std::pow(10.0, level / 2000.0)); }

}  // namespace

RealEngine::RealEngine() = default;

RealEngine::~RealEngine() = default;

void RealEngine::RenderFile(const std::string& path) {
    if (length_ || !path_.empty()) throw EngineError("De engine heeft al een bestand");
    path_ = path;
    length_ = DurationCache::Instance().Measure(path);
}

void RealEngine::Run() {
    if (!length_) throw EngineError("Geen song om af te spelen");
    if (!pipeline_) {
        pipeline_ = std::make_unique<PlaybackPipeline>(path_, *length_, pendingFrame_, GainOf(level_));
    }
    ThrowIfDeviceLost();
    pipeline_->Play();
    state_ = StateRunning;
}

void RealEngine::Pause() {
    if (!length_) return;
    if (pipeline_) pipeline_->Pause();
    state_ = StatePaused;
}

void RealEngine::Stop() {
    if (!length_) return;
    if (pipeline_) pipeline_->Pause();
    state_ = StateStopped;
}

std::int32_t RealEngine::GetState(std::int32_t /*timeoutMs*/) {
    // Every change of state is complete when its call returns; there is nothing to wait for.
    ThrowIfDeviceLost();
    return state_;
}

double RealEngine::get_Duration() { return length_ ? length_->Seconds() : 0.0; }

double RealEngine::get_CurrentPosition() {
    if (!length_) return 0.0;
    ThrowIfDeviceLost();
    const std::int64_t frame = pipeline_ ? pipeline_->PositionFrames() : pendingFrame_;
    return static_cast<double>(frame) / static_cast<double>(length_->sampleRate);
}

void RealEngine::put_CurrentPosition(double seconds) {
    if (!length_) throw EngineError("Geen song om af te spelen");
    if (std::isnan(seconds) || seconds < 0.0 || seconds > length_->Seconds()) {
        throw EngineError("Positie buiten de song");
    }
    const std::int64_t frame =
        std::min<std::int64_t>(std::llround(seconds * static_cast<double>(length_->sampleRate)), length_->frames);
    if (pipeline_) {
        pipeline_->SeekFrames(frame);
    } else {
        pendingFrame_ = frame;
    }
}

void RealEngine::put_Volume(std::int32_t level) {
    if (level > 0 || level < -10000) throw EngineError("Volume buiten bereik");
    level_ = level;
    if (pipeline_) pipeline_->SetGain(GainOf(level));
}

void RealEngine::ThrowIfDeviceLost() const {
    if (state_ == StateRunning && pipeline_ && pipeline_->DeviceLost()) {
        throw EngineError("Geluidsapparaat weggevallen");
    }
}

EngineFactory MakeRealEngineFactory() {
    return []() -> IMediaControl { return std::make_shared<RealEngine>(); };
}

}  // namespace tunekist
