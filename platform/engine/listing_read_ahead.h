#pragma once
// Read-ahead for a folder listing: while the listing measures one song after another on one
// thread, the kernel is told which bytes measuring will read of the songs that come next, so that
// the disk works on several of them at once. Only hints: posix_fadvise WILLNEED, and reads that
// never wait (RWF_NOWAIT) and copy only bytes already in memory: at most a song's first
// kWholeSongStep bytes and one byte at each step after them. No file is ever written, and a file
// that vanished or cannot be opened is passed over; measuring it then fails as it would have.
// Most songs are measured from their head and tail. Songs without a tag are read whole, and a
// folder's songs mostly come from one encoder: once a song measured was read whole (the one before
// the song being measured, judged every kSongsAhead songs), the songs ahead are hinted whole too
// (up to kWholeSongBytes each). A wrong guess costs at most the bounded look-ahead. When the
// farthest song of a stretch is already in memory as far as its hint would ask, the stretch gets
// no hints. A song whose audio starts behind a long ID3v2 tag (cover art) is measured where the
// tag ends, past its head: once a song measured was such a one (judged like the reading whole),
// the start of the audio is hinted too for each song ahead whose head has come into memory, where
// the tag's header says; the tag itself is never read.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace tunekist {

class ListingReadAhead {
public:
    // How many songs ahead of the one being measured are hinted.
    static constexpr std::size_t kSongsAhead = 16;
    // The head and tail of a song hinted ahead: its first frames, and its last frame with the tags
    // after it (what the tag check reads).
    static constexpr std::int64_t kHeadBytes = 16 * 1024;
    static constexpr std::int64_t kTailBytes = 8 * 1024;
    // A longer song is hinted by its head and tail only, even in a folder read whole.
    static constexpr std::int64_t kWholeSongBytes = 16 * 1024 * 1024;
    // A song hinted whole is read without waiting at every this many bytes (see HintWhole).
    static constexpr std::int64_t kWholeSongStep = 128 * 1024;

    // A listing that will measure `paths` in this order.
    explicit ListingReadAhead(std::vector<std::string> paths);

    // Measuring has reached paths[index]: hints the kSongsAhead songs after it that were not
    // hinted yet, by their heads and tails, or whole when the last song judged was read whole,
    // unless the farthest of them was judged in memory already. Each song is hinted once each
    // way; an index past the end hints nothing.
    void MeasuringAt(std::size_t index);

private:
    // Hints where the audio starts in the songs from `next` to `end` whose heads are in memory.
    void HintStreamStarts(std::size_t next, std::size_t end);

    std::vector<std::string> paths_;
    std::vector<unsigned char> scratch_;  // what starting a read-ahead copies
    std::size_t hintedUpTo_ = 0;          // songs before this have had their heads and tails hinted
    std::size_t hintedWholeUpTo_ = 0;     // songs before this have been hinted whole
    std::size_t startsHintedUpTo_ = 0;    // songs before this have had the start of their audio hinted
    bool readingWhole_ = false;           // the last song judged was read whole
    bool behindLongTags_ = false;         // the last song judged had its audio behind a long tag
    bool aheadInMemory_ = false;          // the farthest song judged ahead needs no hint
};

}  // namespace tunekist
