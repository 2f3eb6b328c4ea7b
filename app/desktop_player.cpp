#include "app/desktop_player.h"

#include <cmath>
#include <utility>

#include "playback/player.h"

namespace tunekist {
namespace {

constexpr std::int16_t kPlay = 0;
constexpr std::int16_t kPauze = 1;
constexpr std::int16_t kNext = 4;
constexpr std::int16_t kStop = 5;
// The slider's steps: 0 (100 %) to 20 (0 %), 5 % each.
constexpr std::int32_t kSliderSteps = 20;

}  // namespace

DesktopPlayer::DesktopPlayer(Main& main, EngineFactory measure, DesktopWindow window)
    : main_(main), measure_(std::move(measure)), window_(std::move(window)) {}

DesktopPlayback DesktopPlayer::Playback() const {
    const PlaybackState& state = main_.state;
    if (!state.Playing || !state.Graph) return DesktopPlayback::Stopped;
    try {
        return state.Graph->GetState(kGetStateTimeoutMs) == StatePaused ? DesktopPlayback::Paused
                                                                        : DesktopPlayback::Playing;
    } catch (const std::exception&) {
        // A song whose engine cannot say is still the song the window follows.
        return DesktopPlayback::Playing;
    }
}

double DesktopPlayer::Position() const {
    if (Playback() == DesktopPlayback::Stopped || !main_.state.GraphPosition) return 0;
    try {
        return main_.state.GraphPosition->get_CurrentPosition();
    } catch (const std::exception&) {
        return 0;
    }
}

std::optional<std::int64_t> DesktopPlayer::MeasureLength(const std::string& path) const {
    // An engine of its own, so that the player's engine and the song list's probes stay untouched.
    try {
        const IMediaControl engine = measure_();
        engine->RenderFile(path);
        return std::llround(engine->get_Duration() * 1e6);
    } catch (const std::exception&) {
        return std::nullopt;
    }
}

DesktopStatus DesktopPlayer::Status() {
    const MainControls& controls = main_.Controls();
    DesktopStatus status;
    status.playback = Playback();
    status.queued = controls.List1.ListCount();
    if (status.queued > 0) {
        status.path = controls.List1.List(0);
        status.title = controls.ListView2.RowCount() > 0 ? controls.ListView2.RowText(1) : std::string();
    }
    // The playlist only grows at its end and shrinks at its head: a shorter list or another head
    // means the head song left.
    status.track = last_.track;
    if (status.queued < last_.queued || (last_.queued > 0 && status.path != last_.path)) ++status.track;
    status.lengthMicroseconds = status.path == last_.path && status.track == last_.track
                                    ? last_.lengthMicroseconds
                                    : (status.path.empty() ? std::nullopt : MeasureLength(status.path));
    const std::int32_t step = controls.VolSlider.Value();
    status.volume = static_cast<double>(100 - 5 * step) / 100;
    last_ = status;
    return status;
}

void DesktopPlayer::Command(std::function<void()> command) {
    waiting_.push_back(std::move(command));
    RunWaitingCommands();
}

void DesktopPlayer::RunWaitingCommands() {
    // As the person's clicks: one at a time, in the order they came, not under an open message,
    // and none once the window has closed.
    if (running_) return;
    running_ = true;
    while (!waiting_.empty() && !window_.MessageOpen() && !window_.Closed() &&
           !(window_.OpeningPaths && window_.OpeningPaths())) {
        const std::function<void()> command = std::move(waiting_.front());
        waiting_.pop_front();
        command();
    }
    running_ = false;
    if (window_.Closed()) waiting_.clear();
}

void DesktopPlayer::Play() {
    Command([this] {
        if (Playback() == DesktopPlayback::Playing) return;
        window_.Handle([this] { main_.Knop_Click(kPlay); });
    });
}

void DesktopPlayer::Pause() {
    Command([this] {
        if (Playback() != DesktopPlayback::Playing) return;
        window_.Handle([this] { main_.Knop_Click(kPauze); });
    });
}

void DesktopPlayer::PlayPause() {
    Command([this] {
        const std::int16_t button = Playback() == DesktopPlayback::Playing ? kPauze : kPlay;
        window_.Handle([this, button] { main_.Knop_Click(button); });
    });
}

void DesktopPlayer::Stop() {
    Command([this] { window_.Handle([this] { main_.Knop_Click(kStop); }); });
}

void DesktopPlayer::Next() {
    Command([this] { window_.Handle([this] { main_.Knop_Click(kNext); }); });
}

void DesktopPlayer::Seek(double seconds) {
    if (Playback() == DesktopPlayback::Stopped || std::isnan(seconds)) return;
    window_.Handle([this, seconds] { main_.SeekTo(seconds); });
    if (Seeked) Seeked();
}

void DesktopPlayer::SetPosition(std::uint64_t track, double seconds) {
    Command([this, track, seconds] {
        // A position meant for a song that has left the head, or outside the song, is ignored.
        const DesktopStatus status = Status();
        if (status.path.empty() || status.track != track || !status.lengthMicroseconds) return;
        if (!(seconds >= 0) || seconds * 1e6 > static_cast<double>(*status.lengthMicroseconds)) return;
        Seek(seconds);
    });
}

void DesktopPlayer::SeekBy(double seconds) {
    Command([this, seconds] { Seek(Position() + seconds); });
}

void DesktopPlayer::SetVolume(double volume) {
    if (std::isnan(volume)) return;
    const double fraction = volume < 0 ? 0 : (volume > 1 ? 1 : volume);
    const auto step = static_cast<std::int32_t>(std::lround((1 - fraction) * kSliderSteps));
    Command([this, step] {
        if (main_.Controls().VolSlider.Value() != step) window_.MoveVolSlider(step);
    });
}

void DesktopPlayer::Quit() {
    Command([this] { window_.Handle([this] { main_.ExitKnop_Click(); }); });
}

void DesktopPlayer::Raise() { window_.Raise(); }

}  // namespace tunekist
