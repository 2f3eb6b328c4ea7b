#include "playback/play_timer.h"

#include "platform/ignore_error.h"
#include "playback/progress_bar.h"
#include "playback/rounding.h"
#include "playback/time_text.h"

namespace tunekist {
namespace {

MediaEngine& PositionEngine(const PlaybackState& state) {
    // An engine that could not even be created leaves no position to read.
    if (!state.GraphPosition) throw EngineError("Geen song geladen");
    return *state.GraphPosition;
}

void ShowElapsedTimeAndBar(PlayTimerParts& parts) {
    parts.TijdLabel.SetCaption(ToTimeValues(RoundHalfEven(PositionEngine(parts.state).get_CurrentPosition())));
    const double position = PositionEngine(parts.state).get_CurrentPosition();
    const std::int32_t duration = RoundHalfEven(PositionEngine(parts.state).get_Duration());
    ShowBar(position, duration, parts.Bar, parts.BarLabel);
}

// Stops the song whose engine failed and says why; the program carries on.
void ReportEngineFailure(PlayTimerParts& parts, const std::exception& failure) {
    IgnoreError([&] { parts.player.StopPlay(); });
    parts.state.Playing = false;
    parts.PlayTimer.SetEnabled(false);
    parts.messageBox.Show(failure.what());
}

}  // namespace

std::string PlayFailureText(const EngineError& failure, const ListView& ListView2) {
    if (dynamic_cast<const NoSoundOutputError*>(&failure) != nullptr) return failure.what();
    return std::string("Kan deze song niet afspelen:\n") + ListView2.RowText(1);
}

std::string AdvanceFailureText(const std::exception& failure, const ListView& ListView2) {
    if (const auto* noSound = dynamic_cast<const NoSoundOutputError*>(&failure)) return noSound->what();
    if (const auto* cannotPlay = dynamic_cast<const SongCannotPlayError*>(&failure)) {
        return PlayFailureText(*cannotPlay, ListView2);
    }
    return kFillPlaylistMessage;
}

void AdvanceQueue(PlayTimerParts& parts) {
    // Songs leave the queue only at its head, from both lists at once.
    parts.ListView2.RemoveRow(1);
    parts.ListView2.Refresh();
    parts.List1.RemoveItem(0);
    parts.List1.Refresh();
    parts.Label3.SetCaption(parts.ListView2.RowText(1));
    parts.ShowPlaylistTotal();
    parts.player.Play();
}

void PlayTimer_Timer(PlayTimerParts& parts) {
    if (!parts.state.Playing) return;

    double duration = 0;
    double position = 0;
    try {
        duration = PositionEngine(parts.state).get_Duration();
        position = PositionEngine(parts.state).get_CurrentPosition();
    } catch (const std::exception& failure) {
        ReportEngineFailure(parts, failure);
        return;
    }

    // A NaN on either side compares false: not ended.
    if (position >= duration) {
        parts.player.StopPlay();
        parts.state.Playing = false;
        parts.PlayTimer.SetEnabled(false);
        try {
            AdvanceQueue(parts);
            ShowElapsedTimeAndBar(parts);
        } catch (const std::exception& failure) {
            parts.messageBox.Show(AdvanceFailureText(failure, parts.ListView2));
        }
        return;
    }

    try {
        ShowElapsedTimeAndBar(parts);
    } catch (const std::exception& failure) {
        ReportEngineFailure(parts, failure);
    }
}

}  // namespace tunekist
