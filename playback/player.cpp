#include "playback/player.h"

namespace tunekist {
namespace {
constexpr double kSkipSeconds = 15;
}

void Player::Play() {
    if (state_.Graph && state_.Graph->GetState(kGetStateTimeoutMs) == StatePaused) {
        PausePlay();
        return;
    }
    StartPlay();
}

void Player::StartPlay() {
    try {
        // Replacing all three references releases the previous engine, which ends its sound.
        state_.Graph = createEngine_();
        state_.GraphPosition = state_.Graph;
        state_.GraphAudio = state_.Graph;
        state_.Graph->RenderFile(List1_.List(0));
        volume_.AdjustVolume();
        state_.Graph->Run();
        state_.Playing = true;
        PlayTimer_.SetEnabled(true);
        Bar_.ResetPicture();
    } catch (const NoSoundOutputError&) {
        // Not the song's fault, so not kept quiet: the caller tells the person.
        StopPlay();
        throw;
    } catch (const std::exception& failure) {
        // Going on as if the song had started would leave the person before a silent player.
        StopPlay();
        throw SongCannotPlayError(failure.what());
    }
}

void Player::StopPlay() {
    if (!state_.Graph) return;
    PlayTimer_.SetEnabled(false);
    state_.Playing = false;
    state_.Graph->Stop();
}

void Player::PausePlay() {
    if (!state_.Graph) return;
    // A stopped song restarts only through Play, from its beginning; resuming it here would play
    // sound that neither the time display nor the end-of-song advance follow.
    if (!state_.Playing) return;
    if (state_.Graph->GetState(kGetStateTimeoutMs) == StateRunning) {
        state_.Graph->Pause();
    } else {
        state_.Graph->Run();
    }
}

void Player::RewindPlay() {
    if (!state_.Graph) return;
    double position = state_.GraphPosition->get_CurrentPosition() - kSkipSeconds;
    if (position < 0) position = 0;
    state_.GraphPosition->put_CurrentPosition(position);
}

void Player::ForwardPlay() {
    if (!state_.Graph) return;
    double position = state_.GraphPosition->get_CurrentPosition() + kSkipSeconds;
    const double duration = state_.GraphPosition->get_Duration();
    if (position > duration) position = duration;
    state_.GraphPosition->put_CurrentPosition(position);
}

void Player::SeekPlay(double seconds) {
    if (!state_.Graph) return;
    const double duration = state_.GraphPosition->get_Duration();
    if (seconds > duration) seconds = duration;
    if (seconds < 0) seconds = 0;
    state_.GraphPosition->put_CurrentPosition(seconds);
}

}  // namespace tunekist
