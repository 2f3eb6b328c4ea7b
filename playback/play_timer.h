#pragma once
#include <exception>
#include <functional>
#include <string>

#include "platform/ui/label.h"
#include "platform/ui/list_box.h"
#include "platform/ui/list_view.h"
#include "platform/ui/message_box.h"
#include "platform/ui/picture_box.h"
#include "platform/ui/timer.h"
#include "playback/playback_state.h"
#include "playback/player.h"

namespace tunekist {

// The controls and procedures the once-a-second tick works with.
struct PlayTimerParts {
    PlaybackState& state;
    Player& player;
    Timer& PlayTimer;
    ListBox& List1;
    ListView& ListView2;
    Label& Label3;
    Label& TijdLabel;
    PictureBox& Bar;
    Label& BarLabel;
    MessageBox& messageBox;
    // Measures the playlist again and shows its total.
    std::function<void()> ShowPlaylistTotal;
};

// The text shown when the queue has run out.
inline constexpr const char* kFillPlaylistMessage = "Playlist vullen a.u.b. ";

// What a failure to start the head song shows: the engine's own text when the machine has no sound
// output (not the song's fault), and otherwise "Kan deze song niet afspelen:", a line break and the
// head song's name, row 1 of ListView2.
std::string PlayFailureText(const EngineError& failure, const ListView& ListView2);

// What a failed advance shows: PlayFailureText when the new head song could not start, and
// kFillPlaylistMessage for everything else, an empty queue above all.
std::string AdvanceFailureText(const std::exception& failure, const ListView& ListView2);

// Drops the head song from both playlist lists, shows the new head's name, measures the playlist
// and plays the new head. Throws when no song is left after the removal (or a later step fails);
// the steps already done stay done. Shared by the end of a song and the Next command.
void AdvanceQueue(PlayTimerParts& parts);

// One tick of PlayTimer: follows the playing song, shows its elapsed time and progress, and at its
// end moves the queue on. An exhausted queue shows kFillPlaylistMessage once and rests.
void PlayTimer_Timer(PlayTimerParts& parts);

}  // namespace tunekist
