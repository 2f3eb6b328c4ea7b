#include "tools/recording_engine.h"

namespace tunekist {

namespace {

class RecordingEngine : public MediaEngine {
public:
    RecordingEngine(IMediaControl inner, MeasurementLog& log) : inner_(std::move(inner)), log_(log) {}

    void RenderFile(const std::string& path) override {
        try {
            inner_->RenderFile(path);
        } catch (const EngineError& error) {
            log_[path] = std::string(error.what());
            throw;
        }
        log_[path] = inner_->get_Duration();
    }
    void Run() override { inner_->Run(); }
    void Pause() override { inner_->Pause(); }
    void Stop() override { inner_->Stop(); }
    std::int32_t GetState(std::int32_t timeoutMs) override { return inner_->GetState(timeoutMs); }
    double get_Duration() override { return inner_->get_Duration(); }
    double get_CurrentPosition() override { return inner_->get_CurrentPosition(); }
    void put_CurrentPosition(double seconds) override { inner_->put_CurrentPosition(seconds); }
    void put_Volume(std::int32_t level) override { inner_->put_Volume(level); }

private:
    IMediaControl inner_;
    MeasurementLog& log_;
};

}  // namespace

EngineFactory MakeRecordingEngineFactory(EngineFactory engines, MeasurementLog& log) {
    return [engines = std::move(engines), &log]() -> IMediaControl {
        return std::make_shared<RecordingEngine>(engines(), log);
    };
}

}  // namespace tunekist
