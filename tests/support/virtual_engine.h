#pragma once
// A deterministic media engine for testing the procedures that drive an engine. Time moves only
// when a test calls VirtualClock::Advance; durations and failures are scripted per path and per
// operation; every call is written to a log the test can compare with an expected order.

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "playback/media_engine.h"

namespace tunekist::test {

class VirtualEngine;

// The time of all virtual engines of one world. Not thread-safe; tests run on one thread.
class VirtualClock {
public:
    // Moves every running engine `seconds` forward, each stopping exactly at its duration.
    // Paused and stopped engines stand still.
    void Advance(double seconds);

private:
    friend class VirtualEngine;
    std::vector<VirtualEngine*> engines_;  // the living engines, in order of creation
};

// What all engines of one test share: the clock, the script, the log and the counters.
class VirtualWorld {
public:
    // Files that RenderFile accepts, with the duration in seconds it then reports. A path not
    // in this map cannot be rendered.
    void SetDuration(const std::string& path, double seconds) { durations[path] = seconds; }
    // Makes RenderFile of `path` fail even if the path has a duration.
    void FailPath(const std::string& path) { failingPaths[path] = true; }
    // Makes the next `times` calls of `operation` fail with EngineError (a negative count: every
    // call from now on). Operation names are the method names ("Run", "put_Volume", ...). A
    // failing call is still written to the log.
    void FailOperation(const std::string& operation, int times = -1) { failures[operation] = times; }

    VirtualClock clock;
    std::map<std::string, double> durations;
    std::map<std::string, bool> failingPaths;
    std::map<std::string, int> failures;
    // One entry per call on any engine of this world, in call order: the method name, then its
    // argument after one space: "RenderFile /a.mp3", "Run", "GetState 3000", "put_Volume -1000",
    // "put_CurrentPosition 12.5", "get_Duration". Creation and release are not logged.
    std::vector<std::string> log;
    int enginesCreated = 0;
    int enginesAlive = 0;

};

// One engine of a VirtualWorld. It keeps the world alive; the world only observes it.
class VirtualEngine : public MediaEngine {
public:
    explicit VirtualEngine(std::shared_ptr<VirtualWorld> world);
    ~VirtualEngine() override;
    VirtualEngine(const VirtualEngine&) = delete;
    VirtualEngine& operator=(const VirtualEngine&) = delete;

    // Behaves as the real engine promises: one file per engine; an idle engine (no file, or
    // RenderFile failed) reports state stopped, duration and position 0, ignores Pause and Stop,
    // keeps a volume level, and fails Run and put_CurrentPosition; positions outside
    // 0 ... duration, NaN, and levels outside -10000 ... 0 fail.
    void RenderFile(const std::string& path) override;
    void Run() override;
    void Pause() override;
    void Stop() override;
    std::int32_t GetState(std::int32_t timeoutMs) override;
    double get_Duration() override;
    double get_CurrentPosition() override;
    void put_CurrentPosition(double seconds) override;
    void put_Volume(std::int32_t level) override;

private:
    friend class VirtualClock;
    void Record(const std::string& entry, const std::string& operation);
    void RequireFile() const;

    std::shared_ptr<VirtualWorld> world_;
    std::string path_;
    bool rendered_ = false;
    double duration_ = 0.0;
    double position_ = 0.0;
    std::int32_t state_ = StateStopped;
    std::int32_t volume_ = 0;
};

// Creates a virtual engine in `world` (counts it as created and alive).
std::shared_ptr<VirtualEngine> MakeVirtualEngine(const std::shared_ptr<VirtualWorld>& world);

// A factory for the code under test that makes engines of `world`.
EngineFactory VirtualEngineFactory(std::shared_ptr<VirtualWorld> world);

}  // namespace tunekist::test
