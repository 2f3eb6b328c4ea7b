#include "tests/support/virtual_engine.h"

#include <algorithm>
#include <cmath>
#include <sstream>

namespace tunekist::test {

namespace {

// Scripted failures count down; a negative count never runs out.
void ThrowIfScripted(VirtualWorld& world, const std::string& operation) {
    const auto found = world.failures.find(operation);
    if (found == world.failures.end() || found->second == 0) return;
    if (found->second > 0) --found->second;
    throw EngineError("scripted failure: " + operation);
}

std::string WithNumber(const std::string& name, double value) {
    std::ostringstream text;
    text << name << ' ' << value;
    return text.str();
}

}  // namespace

void VirtualClock::Advance(double seconds) {
    for (VirtualEngine* engine : engines_) {
        if (engine->state_ != StateRunning) continue;
        engine->position_ = std::min(engine->position_ + seconds, engine->duration_);
    }
}

VirtualEngine::VirtualEngine(std::shared_ptr<VirtualWorld> world) : world_(std::move(world)) {
    world_->clock.engines_.push_back(this);
    ++world_->enginesCreated;
    ++world_->enginesAlive;
}

VirtualEngine::~VirtualEngine() {
    auto& engines = world_->clock.engines_;
    engines.erase(std::remove(engines.begin(), engines.end(), this), engines.end());
    --world_->enginesAlive;
}

void VirtualEngine::Record(const std::string& entry, const std::string& operation) {
    world_->log.push_back(entry);
    ThrowIfScripted(*world_, operation);
}

void VirtualEngine::RequireFile() const {
    if (!rendered_) throw EngineError("no file rendered");
}

void VirtualEngine::RenderFile(const std::string& path) {
    Record("RenderFile " + path, "RenderFile");
    if (rendered_) throw EngineError("De engine heeft al een bestand");
    const auto found = world_->durations.find(path);
    if (found == world_->durations.end() || world_->failingPaths.count(path) != 0) {
        throw EngineError("Bestand niet te openen");
    }
    path_ = path;
    duration_ = found->second;
    rendered_ = true;
}

void VirtualEngine::Run() {
    Record("Run", "Run");
    RequireFile();
    state_ = StateRunning;
}

void VirtualEngine::Pause() {
    Record("Pause", "Pause");
    if (rendered_) state_ = StatePaused;
}

void VirtualEngine::Stop() {
    Record("Stop", "Stop");
    if (rendered_) state_ = StateStopped;
}

std::int32_t VirtualEngine::GetState(std::int32_t timeoutMs) {
    Record("GetState " + std::to_string(timeoutMs), "GetState");
    return state_;
}

double VirtualEngine::get_Duration() {
    Record("get_Duration", "get_Duration");
    return duration_;
}

double VirtualEngine::get_CurrentPosition() {
    Record("get_CurrentPosition", "get_CurrentPosition");
    return position_;
}

void VirtualEngine::put_CurrentPosition(double seconds) {
    Record(WithNumber("put_CurrentPosition", seconds), "put_CurrentPosition");
    RequireFile();
    if (std::isnan(seconds) || seconds < 0.0 || seconds > duration_) {
        throw EngineError("Positie buiten de song");
    }
    position_ = seconds;
}

void VirtualEngine::put_Volume(std::int32_t level) {
    Record("put_Volume " + std::to_string(level), "put_Volume");
    if (level > 0 || level < -10000) throw EngineError("Volume buiten bereik");
    volume_ = level;
}

std::shared_ptr<VirtualEngine> MakeVirtualEngine(const std::shared_ptr<VirtualWorld>& world) {
    return std::make_shared<VirtualEngine>(world);
}

EngineFactory VirtualEngineFactory(std::shared_ptr<VirtualWorld> world) {
    return [world = std::move(world)]() -> IMediaControl { return MakeVirtualEngine(world); };
}

}  // namespace tunekist::test
