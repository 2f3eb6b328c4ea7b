#include "platform/engine/listing_read_ahead.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>

#include "platform/engine/file_reader.h"

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

// True when nearly all of the file is in the page cache: measuring it read it whole (or it was
// read lately anyway, and its neighbours likely were too).
bool ReadWhole(const std::string& path) {
    const HintedFile file(path);
    if (file.Size() <= 0) return false;
    const auto length = static_cast<std::size_t>(file.Size());
    void* const mapped = mmap(nullptr, length, PROT_READ, MAP_SHARED, file.Descriptor(), 0);
    if (mapped == MAP_FAILED) return false;
    const auto page = static_cast<std::size_t>(sysconf(_SC_PAGESIZE));
    std::vector<unsigned char> resident((length + page - 1) / page);
    const bool known = mincore(mapped, length, resident.data()) == 0;
    munmap(mapped, length);
    const auto inCache = std::count_if(resident.begin(), resident.end(), [](unsigned char p) { return (p & 1) != 0; });
    // The head and tail alone are a few pages; a song read whole has all of them.
    return known && static_cast<std::size_t>(inCache) * 10 >= resident.size() * 9;
}

}  // namespace

ListingReadAhead::ListingReadAhead(std::vector<std::string> paths) : paths_(std::move(paths)) {}

void ListingReadAhead::MeasuringAt(std::size_t index) {
    if (index >= paths_.size()) return;
    const std::size_t next = index + 1;
    const std::size_t end = std::min(paths_.size(), next + kSongsAhead);
    // Judged on the song before, once every kSongsAhead songs: a folder's songs mostly come
    // alike, and judging costs an open and a mapping, as much as measuring a small tagged song.
    if (index % kSongsAhead == 1) readingWhole_ = ReadWhole(paths_[index - 1]);
    const bool whole = readingWhole_;
    std::size_t& upTo = whole ? hintedWholeUpTo_ : hintedUpTo_;
    for (upTo = std::max(upTo, next); upTo < end; ++upTo) {
        const HintedFile file(paths_[upTo]);
        if (file.Size() <= 0) continue;
        if (whole && file.Size() <= kWholeSongBytes) {
            HintWillRead(file.Descriptor(), 0, file.Size());
            continue;
        }
        HintWillRead(file.Descriptor(), 0, std::min(file.Size(), kHeadBytes));
        HintWillRead(file.Descriptor(), file.Size() - kTailBytes, file.Size());
    }
    hintedUpTo_ = std::max(hintedUpTo_, hintedWholeUpTo_);
}

}  // namespace tunekist
