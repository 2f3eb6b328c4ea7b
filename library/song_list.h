#pragma once
#include <cstdint>
#include <string>

#include "platform/ui/desktop.h"
#include "platform/ui/dir_list.h"
#include "platform/ui/drive_list.h"
#include "platform/ui/file_list.h"
#include "platform/ui/label.h"
#include "platform/ui/list_view.h"
#include "platform/ui/message_box.h"
#include "playback/media_engine.h"
#include "playback/playback_state.h"

namespace tunekist {

// The controls of the folder browser and the song list.
struct SongListControls {
    DriveList& Drive1;
    DirList& Dir1;
    FileList& File1;
    ListView& ListView1;
    Label& Label1;
    Label& Label2;
    MessageBox& messageBox;
    Desktop& desktop;
};

// The folder browser and the song list: one row per MP3 file of the chosen folder with the song's
// name, playing time and size, the song count in Label1 and the folder's total time in Label2.
// Each row's tag is the file's own name, from which the playlist builds the song's path.
class SongList {
public:
    SongList(PlaybackState& state, EngineFactory createEngine, const SongListControls& controls);

    // Switches the folder list to the chosen drive, which lists that folder. A drive that cannot
    // be read changes nothing else and shows nothing.
    void Drive1_Change();

    // Lists the folder of Dir1: points File1 at it and measures every file in a fresh engine
    // borrowed through Graph and GraphPosition, yielding to the window after each file. Refused,
    // with a message, while a song plays or is paused. A file the engine cannot measure shows
    // "00:00" and adds nothing to the total; one whose length cannot be read gets no size. An error
    // before the first file is measured is shown in a message box. A folder change that arrives
    // while a folder is being listed makes the listing start over for the newest folder, so the
    // rows always end up belonging to the folder of File1. Never throws.
    void Dir1_Change();

    // True while a folder is being listed (and events may run in its yields).
    bool Scanning() const { return scanning_; }

    // Ends a listing that is under way at its next yield, for a window that is closing from inside
    // one: the rest of the folder is not listed and the labels keep their texts. Does nothing when
    // no listing runs.
    void StopListing();

private:
    void ListFolder();
    void ListFile(int index, std::int32_t& total);
    bool Interrupted() const { return restartRequested_ || stopRequested_; }
    IMediaControl BorrowEngine();
    MediaEngine& Probing(const IMediaControl& probe) const;
    void ReleaseEngine(const IMediaControl& probe);

    PlaybackState& state_;
    EngineFactory createEngine_;
    SongListControls controls_;
    bool scanning_ = false;
    bool restartRequested_ = false;
    bool stopRequested_ = false;
};

}  // namespace tunekist
