#include "platform/engine/listing_read_ahead.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/uio.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>

#include "platform/engine/file_reader.h"
#include "platform/engine/frame_header.h"

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

    // Up to `bytes` bytes of the file's head, only when they are already in memory: the disk is
    // not waited on. Empty otherwise.
    std::vector<unsigned char> CachedHead(std::size_t bytes) const {
        std::vector<unsigned char> head(std::min<std::size_t>(bytes, static_cast<std::size_t>(size_)));
        iovec piece{head.data(), head.size()};
        const ssize_t got = preadv2(fd_, &piece, 1, 0, RWF_NOWAIT);
        head.resize(got > 0 ? static_cast<std::size_t>(got) : 0);
        return head;
    }

private:
    int fd_;
    std::int64_t size_ = -1;
};

// True when the head shows a Layer III stream whose first frame carries no Xing, Info or VBRI
// tag: measuring then walks every frame to the end of the file.
bool PlainStreamAhead(const std::vector<unsigned char>& head) {
    if (head.size() < 10) return false;
    std::int64_t start = 0;
    if (std::memcmp(head.data(), "ID3", 3) == 0) {
        start = 10 + ((std::int64_t{head[6] & 0x7F} << 21) | ((head[7] & 0x7F) << 14) | ((head[8] & 0x7F) << 7) |
                      (head[9] & 0x7F));
    }
    if (start + 4 > static_cast<std::int64_t>(head.size())) return false;
    const auto first = ParseLayer3Header(head.data() + start);
    if (!first || start + first->bytes > static_cast<std::int64_t>(head.size())) return false;
    return !FrameCarriesTag(head.data() + start, static_cast<std::size_t>(first->bytes));
}

}  // namespace

ListingReadAhead::ListingReadAhead(std::vector<std::string> paths) : paths_(std::move(paths)) {}

void ListingReadAhead::MeasuringAt(std::size_t index) {
    if (index >= paths_.size()) return;
    const std::size_t next = index + 1;
    if (next < paths_.size() && wholeHinted_ <= next) {
        const HintedFile file(paths_[next]);
        if (file.Size() > 0 && file.Size() <= kLongestWholeSong &&
            PlainStreamAhead(file.CachedHead(static_cast<std::size_t>(kHeadBytes)))) {
            HintWillRead(file.Descriptor(), 0, file.Size());
            wholeHinted_ = next + 1;
        }
    }
    const std::size_t end = std::min(paths_.size(), next + kSongsAhead);
    for (hintedUpTo_ = std::max(hintedUpTo_, next); hintedUpTo_ < end; ++hintedUpTo_) {
        const HintedFile file(paths_[hintedUpTo_]);
        if (file.Size() <= 0) continue;
        HintWillRead(file.Descriptor(), 0, std::min(file.Size(), kHeadBytes));
        HintWillRead(file.Descriptor(), file.Size() - kTailBytes, file.Size());
    }
}

}  // namespace tunekist
