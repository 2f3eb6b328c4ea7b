#include "platform/engine/listing_read_ahead.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <sys/uio.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <optional>
#include <vector>

#include "platform/engine/file_reader.h"
#include "platform/engine/frame_header.h"
#include "platform/engine/tag_check.h"

namespace tunekist {

namespace {

// A file opened only to give hints about it: read-only, never blocking, closed with its owner.
class HintedFile {
public:
    explicit HintedFile(const std::string& path)
        : fd_(open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY)) {
        struct stat info {};
        if (fd_ >= 0 && fstat(fd_, &info) == 0 && S_ISREG(info.st_mode)) size_ = info.st_size;
    }
    ~HintedFile() {
        if (fd_ >= 0) close(fd_);
    }
    HintedFile(const HintedFile&) = delete;
    HintedFile& operator=(const HintedFile&) = delete;

    // The file's size; negative when it is not an open regular file.
    std::int64_t Size() const { return size_; }
    int Descriptor() const { return fd_; }

private:
    int fd_;
    std::int64_t size_ = -1;
};

// A file mapped only to ask which of its pages are in the page cache (mincore): nothing is read,
// and a page is looked at only when asked about.
class CachedPages {
public:
    explicit CachedPages(const std::string& path) : file_(path) {
        if (file_.Size() <= 0) return;
        length_ = static_cast<std::size_t>(file_.Size());
        mapped_ = mmap(nullptr, length_, PROT_READ, MAP_SHARED, file_.Descriptor(), 0);
    }
    ~CachedPages() {
        if (mapped_ != MAP_FAILED) munmap(mapped_, length_);
    }
    CachedPages(const CachedPages&) = delete;
    CachedPages& operator=(const CachedPages&) = delete;

    // The share of the pages holding bytes `from` to `to` that are in the page cache; 0 when that
    // cannot be told.
    double Share(std::int64_t from, std::int64_t to) const {
        if (mapped_ == MAP_FAILED) return 0;
        const auto page = static_cast<std::size_t>(sysconf(_SC_PAGESIZE));
        const std::size_t first = static_cast<std::size_t>(std::max<std::int64_t>(from, 0)) / page;
        const std::size_t last =
            (std::min(static_cast<std::size_t>(std::max<std::int64_t>(to, 0)), length_) + page - 1) / page;
        if (last <= first) return 0;
        std::vector<unsigned char> pages(last - first);
        if (mincore(static_cast<char*>(mapped_) + first * page, (last - first) * page, pages.data()) != 0) return 0;
        const auto cached = std::count_if(pages.begin(), pages.end(), [](unsigned char p) { return (p & 1) != 0; });
        return static_cast<double>(cached) / static_cast<double>(pages.size());
    }
    std::int64_t Size() const { return file_.Size(); }
    const HintedFile& File() const { return file_; }

private:
    HintedFile file_;
    std::size_t length_ = 0;
    void* mapped_ = MAP_FAILED;
};

// How much of a song's middle is looked at to tell whether it was read whole: enough pages to
// judge by, few enough that looking costs little beside measuring.
constexpr std::int64_t kMiddleBytes = 256 * 1024;

// True when the song's middle is (nearly) all in the page cache: measuring read it whole, or it
// was read lately anyway, and its neighbours likely were too. A head and tail alone leave the
// middle of all but the shortest songs out.
bool ReadWhole(const CachedPages& song) {
    const std::int64_t middle = song.Size() / 2;
    return song.Share(middle - kMiddleBytes / 2, middle + kMiddleBytes / 2) >= 0.9;
}

// True when what a hint by head and tail would ask for is all in the page cache already.
bool HeadAndTailCached(const CachedPages& song) {
    return song.Share(0, ListingReadAhead::kHeadBytes) == 1 &&
           song.Share(song.Size() - ListingReadAhead::kTailBytes, song.Size()) == 1;
}

// Asks for a whole song the way a reader going through it would: a read of its head starts the
// kernel's read-ahead there, and a one-byte read every kWholeSongStep bytes after it passes the mark
// each read-ahead window leaves at its start, which starts the next window, larger and in larger
// pages. With RWF_NOWAIT none of them waits for the disk, and only bytes already in memory are
// copied. posix_fadvise fills the page cache one 4 KiB page at a time: a listing of untagged songs
// hinted that way takes half again as much processor time. A kernel or file system without
// RWF_NOWAIT gets posix_fadvise.
void HintWhole(const HintedFile& song, std::vector<unsigned char>& scratch) {
    const int fd = song.Descriptor();
    posix_fadvise(fd, 0, 0, POSIX_FADV_SEQUENTIAL);
    scratch.resize(ListingReadAhead::kWholeSongStep);
    iovec head{scratch.data(), static_cast<std::size_t>(std::min(song.Size(), ListingReadAhead::kWholeSongStep))};
    if (preadv2(fd, &head, 1, 0, RWF_NOWAIT) < 0 && errno != EAGAIN) {
        HintWillRead(fd, 0, song.Size());
        return;
    }
    for (std::int64_t at = ListingReadAhead::kWholeSongStep; at < song.Size(); at += ListingReadAhead::kWholeSongStep) {
        iovec oneByte{scratch.data(), 1};
        preadv2(fd, &oneByte, 1, static_cast<off_t>(at), RWF_NOWAIT);
    }
}

// Where the song's audio starts, from its first bytes when they are in memory already; nothing
// when they are not, or cannot be told without waiting.
std::optional<std::int64_t> CachedStreamStart(const HintedFile& song) {
    unsigned char first[10];
    iovec head{first, sizeof first};
    if (preadv2(song.Descriptor(), &head, 1, 0, RWF_NOWAIT) != static_cast<ssize_t>(sizeof first)) return std::nullopt;
    return StreamStart(first);
}

// True when what measuring reads where the song's audio starts lies past a hint of its head.
bool BehindLongTag(std::int64_t streamStart) {
    return streamStart + static_cast<std::int64_t>(kStreamHeadBytes) > ListingReadAhead::kHeadBytes;
}

}  // namespace

ListingReadAhead::ListingReadAhead(std::vector<std::string> paths) : paths_(std::move(paths)) {}

void ListingReadAhead::MeasuringAt(std::size_t index) {
    if (index >= paths_.size()) return;
    const std::size_t next = index + 1;
    const std::size_t end = std::min(paths_.size(), next + kSongsAhead);
    // Judged at the start and then once every kSongsAhead songs, on the song before and the
    // farthest song ahead: a folder's songs mostly come alike, and judging costs an open and a
    // mapping, as much as measuring a small tagged song. Hints for songs already in memory (a
    // folder listed or played lately) would find nothing to read and only cost their calls.
    if ((index == 0 || index % kSongsAhead == 1) && end > next) {
        readingWhole_ = false;
        behindLongTags_ = false;
        if (index > 0) {
            const CachedPages measured(paths_[index - 1]);
            readingWhole_ = ReadWhole(measured);
            behindLongTags_ = BehindLongTag(CachedStreamStart(measured.File()).value_or(0));
        }
        const CachedPages farthest(paths_[end - 1]);
        aheadInMemory_ = HeadAndTailCached(farthest) && (!readingWhole_ || ReadWhole(farthest));
    }
    if (aheadInMemory_) return;
    const bool whole = readingWhole_;
    std::size_t& upTo = whole ? hintedWholeUpTo_ : hintedUpTo_;
    for (upTo = std::max(upTo, next); upTo < end; ++upTo) {
        const HintedFile file(paths_[upTo]);
        if (file.Size() <= 0) continue;
        if (whole && file.Size() <= kWholeSongBytes) {
            // A head in memory already would make the kernel take those reads for jumps, and read
            // ahead in small pieces only.
            if (upTo < hintedUpTo_) {
                HintWillRead(file.Descriptor(), 0, file.Size());
            } else {
                HintWhole(file, scratch_);
            }
            continue;
        }
        HintWillRead(file.Descriptor(), 0, std::min(file.Size(), kHeadBytes));
        HintWillRead(file.Descriptor(), file.Size() - kTailBytes, file.Size());
    }
    hintedUpTo_ = std::max(hintedUpTo_, hintedWholeUpTo_);
    // A song hinted whole has its start hinted with it.
    if (behindLongTags_ && !whole) HintStreamStarts(next, end);
}

void ListingReadAhead::HintStreamStarts(std::size_t next, std::size_t end) {
    // A head not yet in memory is looked at again at the next song.
    for (startsHintedUpTo_ = std::max(startsHintedUpTo_, next); startsHintedUpTo_ < end; ++startsHintedUpTo_) {
        const HintedFile file(paths_[startsHintedUpTo_]);
        if (file.Size() <= 0) continue;
        const std::optional<std::int64_t> start = CachedStreamStart(file);
        if (!start) return;
        if (BehindLongTag(*start)) HintWillRead(file.Descriptor(), *start, std::min(file.Size(), *start + kHeadBytes));
    }
}

}  // namespace tunekist
