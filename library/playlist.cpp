#include "library/playlist.h"

#include "library/song_path.h"
#include "playback/rounding.h"
#include "playback/time_text.h"

namespace tunekist {

void Playlist::ListView1_ItemClick() {
    if (state_.Playing) {
        messageBox_.Show(kRefusalWhilePlaying);
        return;
    }
    const auto selected = ListView1_.SelectedRow();
    if (!selected) return;
    const int row = ListView2_.AddRow(ListView1_.RowText(*selected));
    ListView2_.SetSubItem(row, 1, ListView1_.SubItem(*selected, 1));
    ListView2_.SetSubItem(row, 2, ListView1_.SubItem(*selected, 2));
    // The song's own file name, not its shown name plus ".mp3": on a file system that tells case
    // apart, "Track.MP3" must not become "Track.mp3".
    List1_.AddItem(JoinPath(File1_.Path(), ListView1_.RowTag(*selected)));
    ShowPlaylistTotal();
}

void Playlist::ShowPlaylistTotal() {
    std::int32_t total = 0;
    for (int i = 0; i < List1_.ListCount(); ++i) {
        try {
            state_.Graph = createEngine_();
            state_.GraphPosition = state_.Graph;
            state_.Graph->RenderFile(List1_.List(i));
            total = RoundHalfEven(total + state_.GraphPosition->get_Duration());
        } catch (const std::exception&) {
            // A song whose file has gone or cannot be played adds nothing; the rest still count.
        }
        state_.Graph.reset();
        state_.GraphPosition.reset();
    }
    Label5_.SetCaption(TotalCaption(total));
}

}  // namespace tunekist
