#include "platform/engine/listing_read_ahead.h"

#include <fcntl.h>
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

}  // namespace

ListingReadAhead::ListingReadAhead(std::vector<std::string> paths) : paths_(std::move(paths)) {}

void ListingReadAhead::MeasuringAt(std::size_t index) {
    if (index >= paths_.size()) return;
    const std::size_t next = index + 1;
    const std::size_t end = std::min(paths_.size(), next + kSongsAhead);
    for (hintedUpTo_ = std::max(hintedUpTo_, next); hintedUpTo_ < end; ++hintedUpTo_) {
        const HintedFile file(paths_[hintedUpTo_]);
        if (file.Size() <= 0) continue;
        HintWillRead(file.Descriptor(), 0, std::min(file.Size(), kHeadBytes));
        HintWillRead(file.Descriptor(), file.Size() - kTailBytes, file.Size());
    }
}

}  // namespace tunekist
