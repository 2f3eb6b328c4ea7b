#pragma once
#include "platform/ui/file_list.h"
#include "platform/ui/label.h"
#include "platform/ui/list_box.h"
#include "platform/ui/list_view.h"
#include "platform/ui/message_box.h"
#include "playback/media_engine.h"
#include "playback/playback_state.h"

namespace tunekist {

// The text shown when the song list or the playlist is asked to change while a song plays.
inline constexpr const char* kRefusalWhilePlaying = "Niet te gebruiken terwijl er\neen song wordt afgespeeld!";

// The playlist: a queue of songs held twice, in step. List1 holds each song's full path (what
// playback opens), ListView2 the same songs' rows; entry i of List1 is row i + 1 of ListView2.
// Songs are appended at the end here and leave only at the head (see AdvanceQueue).
class Playlist {
public:
    Playlist(PlaybackState& state, EngineFactory createEngine, ListView& ListView1, ListView& ListView2, ListBox& List1,
             FileList& File1, Label& Label5, MessageBox& messageBox)
        : state_(state),
          createEngine_(std::move(createEngine)),
          ListView1_(ListView1),
          ListView2_(ListView2),
          List1_(List1),
          File1_(File1),
          Label5_(Label5),
          messageBox_(messageBox) {}

    // Appends the song list's selected row to the playlist and measures the playlist again.
    // Refused, with a message, while a song plays or is paused.
    void ListView1_ItemClick();

    // Measures every song of the playlist from its file and shows the total in Label5. A song
    // whose file has gone or cannot be played counts as 0 s. Leaves Graph and GraphPosition empty.
    void ShowPlaylistTotal();

private:
    PlaybackState& state_;
    EngineFactory createEngine_;
    ListView& ListView1_;
    ListView& ListView2_;
    ListBox& List1_;
    FileList& File1_;
    Label& Label5_;
    MessageBox& messageBox_;
};

}  // namespace tunekist
