#include "library/song_list.h"

#include <exception>

#include "library/playlist.h"
#include "library/size_text.h"
#include "library/song_path.h"
#include "platform/files/file_name_text.h"
#include "platform/ignore_error.h"
#include "playback/rounding.h"
#include "playback/time_text.h"

namespace tunekist {
namespace {

// The shown name: the file name without its extension, which "*.mp3" makes four characters long,
// as text a person reads, whatever the encoding of its bytes.
std::string SongName(const std::string& fileName) {
    return FileNameText(fileName.size() > 4 ? fileName.substr(0, fileName.size() - 4) : fileName);
}

// Shows the hourglass for as long as it lives, and the normal pointer again afterwards, also when
// the listing ends in an error.
class HourglassPointer {
public:
    explicit HourglassPointer(Desktop& desktop) : desktop_(desktop) { desktop_.SetMousePointer(Desktop::kHourglass); }
    ~HourglassPointer() {
        IgnoreError([&] { desktop_.SetMousePointer(Desktop::kCustomPointer); });
    }
    HourglassPointer(const HourglassPointer&) = delete;
    HourglassPointer& operator=(const HourglassPointer&) = delete;

private:
    Desktop& desktop_;
};

// Marks a listing as running for as long as it lives.
class ScanningFlag {
public:
    explicit ScanningFlag(bool& flag) : flag_(flag) { flag_ = true; }
    ~ScanningFlag() { flag_ = false; }
    ScanningFlag(const ScanningFlag&) = delete;
    ScanningFlag& operator=(const ScanningFlag&) = delete;

private:
    bool& flag_;
};

}  // namespace

SongList::SongList(PlaybackState& state, EngineFactory createEngine, const SongListControls& controls)
    : state_(state), createEngine_(std::move(createEngine)), controls_(controls) {}

void SongList::Drive1_Change() {
    // A drive that cannot be read leaves the folder list, and so the song list, where they were.
    IgnoreError([&] { controls_.Dir1.SetPath(controls_.Drive1.Drive()); });
}

void SongList::Dir1_Change() {
    if (state_.Playing) {
        IgnoreError([&] { controls_.messageBox.Show(kRefusalWhilePlaying); });
        return;
    }
    if (scanning_) {
        // Raised from the yield of a running listing: that listing starts over for this folder,
        // so no two listings ever fill the song list at once.
        restartRequested_ = true;
        return;
    }
    const ScanningFlag scanning(scanning_);
    stopRequested_ = false;
    do {
        restartRequested_ = false;
        ListFolder();
    } while (restartRequested_ && !stopRequested_);
    // Nothing more is measured: the platform need not read ahead any longer.
    IgnoreError([&] { controls_.File1.MeasuringFrom(controls_.File1.ListCount()); });
}

void SongList::StopListing() {
    if (scanning_) stopRequested_ = true;
}

void SongList::ListFolder() {
    std::int32_t total = 0;
    try {
        BorrowEngine();
        const HourglassPointer hourglass(controls_.desktop);
        // A folder that cannot be read throws here and leaves File1, and with it the rows that
        // belong to it, as they were.
        controls_.File1.SetPath(controls_.Dir1.Path());
        // From here on every statement ignores its own errors, so the rows stay in step with File1.
        IgnoreError([&] { controls_.ListView1.Clear(); });
        int count = 0;
        IgnoreError([&] { count = controls_.File1.ListCount(); });
        for (int index = 0; index < count && !Interrupted(); ++index) ListFile(index, total);
        if (Interrupted()) return;
        // Rows may reach the screen in batches; the last of them come together with the totals.
        IgnoreError([&] { controls_.ListView1.Refresh(); });
        IgnoreError([&] { controls_.Label1.SetCaption(std::to_string(controls_.File1.ListCount()) + " Songs"); });
        IgnoreError([&] { controls_.Label2.SetCaption(TotalCaption(total)); });
    } catch (const std::exception& failure) {
        IgnoreError([&] { controls_.messageBox.Show(failure.what()); });
    }
}

void SongList::ListFile(int index, std::int32_t& total) {
    std::string fileName;
    int row = 0;
    IgnoreError([&] { fileName = controls_.File1.List(index); });
    IgnoreError([&] { row = controls_.ListView1.AddRow(SongName(fileName)); });
    // The file's own name, so that a song whose extension is not written ".mp3" is still found on
    // a file system that tells case apart.
    IgnoreError([&] { controls_.ListView1.SetRowTag(row, fileName); });
    IgnoreError([&] { controls_.File1.MeasuringFrom(index); });
    IMediaControl probe;
    IgnoreError([&] { probe = BorrowEngine(); });
    const std::string path = JoinPath(controls_.File1.Path(), fileName);
    IgnoreError([&] { Probing(probe).RenderFile(path); });
    // Fresh for every file: one that cannot be measured shows 00:00, not the previous file's time.
    std::int32_t hours = 0;
    std::int32_t minutes = 0;
    std::int32_t seconds = 0;
    IgnoreError([&] { hours = DivideTruncating(RoundHalfEven(Probing(probe).get_Duration()), 3600); });
    IgnoreError([&] { minutes = DivideTruncating(RoundHalfEven(Probing(probe).get_Duration()), 60) % 60; });
    IgnoreError([&] { seconds = RoundHalfEven(Probing(probe).get_Duration()) % 60; });
    IgnoreError([&] { controls_.ListView1.SetSubItem(row, 1, ClockText(hours, minutes, seconds)); });
    IgnoreError([&] {
        const std::int64_t bytes = controls_.desktop.FileLen(path);
        controls_.ListView1.SetSubItem(row, 2, FormatByteCount(bytes, controls_.desktop.GroupSeparator()));
    });
    IgnoreError([&] { total = RoundHalfEven(total + Probing(probe).get_Duration()); });
    IgnoreError([&] { controls_.desktop.DoEvents(); });
    IgnoreError([&] { ReleaseEngine(probe); });
}

IMediaControl SongList::BorrowEngine() {
    IMediaControl engine = createEngine_();
    // A song started from a yield owns Graph: the listing measures through an engine of its own
    // then, so the song plays on and every row still shows its time.
    if (!state_.Playing) {
        state_.Graph = engine;
        state_.GraphPosition = engine;
    }
    return engine;
}

MediaEngine& SongList::Probing(const IMediaControl& probe) const {
    if (!probe) throw EngineError("Geen engine");
    return *probe;
}

void SongList::ReleaseEngine(const IMediaControl& probe) {
    // Whatever something run in the yield has put into Graph since (a song, a playlist's
    // measurement) stays there.
    if (state_.Graph == probe) state_.Graph.reset();
    if (state_.GraphPosition == probe) state_.GraphPosition.reset();
}

}  // namespace tunekist
