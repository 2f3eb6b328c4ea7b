#pragma once
#include <cstdint>

#include "library/playlist.h"
#include "library/song_list.h"
#include "platform/ui/desktop.h"
#include "platform/ui/dir_list.h"
#include "platform/ui/drive_list.h"
#include "platform/ui/file_list.h"
#include "platform/ui/form.h"
#include "platform/ui/label.h"
#include "platform/ui/list_box.h"
#include "platform/ui/list_view.h"
#include "platform/ui/message_box.h"
#include "platform/ui/picture_box.h"
#include "platform/ui/shape.h"
#include "platform/ui/slider.h"
#include "platform/ui/timer.h"
#include "playback/play_timer.h"
#include "playback/playback_state.h"
#include "playback/player.h"
#include "playback/volume.h"

namespace tunekist {

// The window's controls, as the program's procedures see them.
struct MainControls {
    Form& form;
    MessageBox& messageBox;
    Shape& Rand1;
    FileList& File1;
    ListBox& List1;
    ListView& ListView1;
    ListView& ListView2;
    Label& Label3;
    Label& TijdLabel;
    Label& Label5;
    Label& BarLabel;
    PictureBox& Bar;
    Slider& VolSlider;
    Timer& PlayTimer;
    DriveList& Drive1;
    DirList& Dir1;
    Label& Label1;
    Label& Label2;
    Desktop& desktop;
};

// The window `Main`: its playback state and every procedure and event handler of the program,
// free of any toolkit so that it runs the same against the real window and against test fakes.
class Main {
public:
    Main(const MainControls& controls, EngineFactory createEngine);
    Main(const Main&) = delete;
    Main& operator=(const Main&) = delete;

    // Start-up: colours, the frame behind the controls, and the file list on the program's folder.
    void Form_Load();
    // The six commands Play, Pauze, Rew, Forew, Next and Stop, by Index 0 to 5. With an empty
    // playlist every command is ignored.
    void Knop_Click(std::int16_t Index);
    // Moves the song to `seconds` as Rew and Forew move it: the bar is cleared, the position kept
    // within the song. Ignored with an empty playlist, like every command.
    void SeekTo(double seconds);
    // Exit: closes the window, which runs Form_Unload.
    void ExitKnop_Click();
    // Shutdown: ends a listing under way, stops the song and releases the engine.
    void Form_Unload();

    void PlayTimer_Timer();

    // The controls, for those who show the player elsewhere (the desktop's media controls).
    const MainControls& Controls() const { return controls_; }

    PlaybackState state;
    VolumeControl volume;
    Player player;
    Playlist playlist;
    SongList songList;

private:
    void NextSong();

    MainControls controls_;
    PlayTimerParts timerParts_;
};

}  // namespace tunekist
