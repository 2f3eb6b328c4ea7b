#include "app/main_form.h"

namespace tunekist {
namespace {

constexpr Color kWindowBackColor = RGB(0, 100, 0);
constexpr Color kFrameBackColor = RGB(220, 220, 190);
constexpr Color kFrameBorderColor = RGB(0, 0, 0);
constexpr float kFrameInset = 150;

}  // namespace

Main::Main(const MainControls& controls, EngineFactory createEngine)
    : volume(state, controls.VolSlider),
      player(state, createEngine, volume, controls.List1, controls.PlayTimer, controls.Bar),
      playlist(state, createEngine, controls.ListView1, controls.ListView2, controls.List1, controls.File1,
               controls.Label5, controls.messageBox),
      songList(state, createEngine,
               SongListControls{controls.Drive1, controls.Dir1, controls.File1, controls.ListView1, controls.Label1,
                                controls.Label2, controls.messageBox, controls.desktop}),
      controls_(controls),
      timerParts_{state,
                  player,
                  controls.PlayTimer,
                  controls.List1,
                  controls.ListView2,
                  controls.Label3,
                  controls.TijdLabel,
                  controls.Bar,
                  controls.BarLabel,
                  controls.messageBox,
                  [this] { playlist.ShowPlaylistTotal(); }} {}

void Main::Form_Load() {
    controls_.form.SetBackColor(kWindowBackColor);
    controls_.Rand1.Move(kFrameInset, kFrameInset, controls_.form.ScreenWidthTwips() - 2 * kFrameInset,
                         controls_.form.ScreenHeightTwips() - 2 * kFrameInset);
    controls_.Rand1.SetBackColor(kFrameBackColor);
    controls_.Rand1.SetBorderColor(kFrameBorderColor);
    controls_.File1.SetPath(controls_.form.AppPath() + "/");
    controls_.File1.SetPattern("*.mp3");
}

void Main::Knop_Click(std::int16_t Index) {
    if (controls_.List1.ListCount() == 0) return;
    switch (Index) {
        case 0:
            controls_.Label3.SetCaption(controls_.ListView2.RowText(1));
            try {
                player.Play();
            } catch (const NoSoundOutputError& failure) {
                controls_.messageBox.Show(PlayFailureText(failure, controls_.ListView2));
            } catch (const SongCannotPlayError& failure) {
                controls_.messageBox.Show(PlayFailureText(failure, controls_.ListView2));
            }
            break;
        case 1: player.PausePlay(); break;
        case 2:
            controls_.Bar.ResetPicture();
            player.RewindPlay();
            break;
        case 3:
            controls_.Bar.ResetPicture();
            player.ForwardPlay();
            break;
        case 4: NextSong(); break;
        case 5: player.StopPlay(); break;
        default: break;
    }
}

void Main::SeekTo(double seconds) {
    if (controls_.List1.ListCount() == 0) return;
    controls_.Bar.ResetPicture();
    player.SeekPlay(seconds);
}

void Main::NextSong() {
    player.StopPlay();
    state.Playing = false;
    controls_.PlayTimer.SetEnabled(false);
    try {
        AdvanceQueue(timerParts_);
    } catch (const std::exception& failure) {
        controls_.messageBox.Show(AdvanceFailureText(failure, controls_.ListView2));
    }
}

void Main::ExitKnop_Click() { controls_.form.Unload(); }

void Main::Form_Unload() {
    // The window may be closing from inside a yield of a folder's listing, which must not go on
    // measuring songs for a window that is gone.
    songList.StopListing();
    player.StopPlay();
    state.Graph.reset();
    state.GraphPosition.reset();
    state.GraphAudio.reset();
}

void Main::PlayTimer_Timer() { tunekist::PlayTimer_Timer(timerParts_); }

}  // namespace tunekist
