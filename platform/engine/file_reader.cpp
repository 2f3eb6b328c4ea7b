#include "platform/engine/file_reader.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "playback/media_engine.h"

namespace tunekist {

namespace {

// The kernel reads at most its read-ahead window (128 KiB by default) for one hint.
constexpr std::int64_t kHintBytes = 128 * 1024;

// Large enough that a scan of a typical song costs a few dozen reads, small enough to be cheap
// for the many short files of a folder scan.
constexpr std::size_t kBufferBytes = 256 * 1024;
// A song's first frames, or an ID3v1 tag at its end, fit in this; listing a folder reads little
// more than that of each file.
constexpr std::size_t kFirstBufferBytes = 4 * 1024;

FileIdentity IdentityFromStat(const struct stat& info) {
    if (S_ISDIR(info.st_mode)) throw EngineError("Dit is een map, geen bestand");
    if (!S_ISREG(info.st_mode)) throw EngineError("Geen gewoon bestand");
    return FileIdentity{info.st_dev, info.st_ino, static_cast<std::int64_t>(info.st_size),
                        static_cast<std::int64_t>(info.st_mtim.tv_sec),
                        static_cast<std::int64_t>(info.st_mtim.tv_nsec)};
}

}  // namespace

FileIdentity IdentityOf(const std::string& path) {
    struct stat info {};
    if (stat(path.c_str(), &info) != 0) throw EngineError("Bestand niet gevonden");
    return IdentityFromStat(info);
}

FileReader::FileReader(const std::string& path) {
    // O_NONBLOCK keeps a FIFO from holding the window until a writer appears.
    fd_ = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd_ < 0) throw EngineError(errno == ENOENT ? "Bestand niet gevonden" : "Bestand niet te openen");
    struct stat info {};
    try {
        if (fstat(fd_, &info) != 0) throw EngineError("Bestand niet te openen");
        identity_ = IdentityFromStat(info);
    } catch (...) {
        close(fd_);
        throw;
    }
}

FileReader::~FileReader() { close(fd_); }

ssize_t FileReader::Read(void* target, std::size_t bytes) {
    auto* out = static_cast<unsigned char*>(target);
    std::size_t done = 0;
    while (done < bytes) {
        if (bufferStart_ == bufferEnd_) {
            // Start small, for the many files of which only the head is read, and grow.
            buffer_.resize(std::clamp<std::size_t>(buffer_.size() * 2, kFirstBufferBytes, kBufferBytes));
            const ssize_t got = ReadAt(position_, buffer_.data(), buffer_.size());
            if (got < 0) return done > 0 ? static_cast<ssize_t>(done) : -1;
            bufferStart_ = 0;
            bufferEnd_ = static_cast<std::size_t>(got);
            if (got == 0) break;
        }
        const std::size_t take = std::min(bytes - done, bufferEnd_ - bufferStart_);
        std::memcpy(out + done, buffer_.data() + bufferStart_, take);
        bufferStart_ += take;
        position_ += static_cast<std::int64_t>(take);
        done += take;
    }
    return static_cast<ssize_t>(done);
}

off_t FileReader::Seek(off_t offset, int whence) {
    std::int64_t target = offset;
    if (whence == SEEK_CUR) target += position_;
    if (whence == SEEK_END) {
        struct stat info {};
        if (fstat(fd_, &info) != 0) return -1;
        target += info.st_size;
    }
    if (target < 0) return -1;
    // A move within the buffered bytes keeps them; the buffer starts at position_ - bufferStart_.
    const std::int64_t bufferOrigin = position_ - static_cast<std::int64_t>(bufferStart_);
    if (target >= bufferOrigin && target <= bufferOrigin + static_cast<std::int64_t>(bufferEnd_)) {
        bufferStart_ = static_cast<std::size_t>(target - bufferOrigin);
    } else {
        // A jump starts small again: libmpg123 looks at a file's end and comes back to its start,
        // and reads only a few frames there when the file is merely measured.
        bufferStart_ = bufferEnd_ = 0;
        buffer_.clear();
    }
    position_ = target;
    return static_cast<off_t>(target);
}

void HintWillRead(int fd, std::int64_t from, std::int64_t to) {
    for (std::int64_t at = std::max<std::int64_t>(0, from); at < to; at += kHintBytes) {
        posix_fadvise(fd, static_cast<off_t>(at), static_cast<off_t>(std::min(kHintBytes, to - at)),
                      POSIX_FADV_WILLNEED);
    }
}

void FileReader::WillReadInOrder() const { posix_fadvise(fd_, 0, 0, POSIX_FADV_SEQUENTIAL); }

ssize_t FileReader::ReadAt(std::int64_t offset, void* target, std::size_t bytes) const {
    auto* out = static_cast<unsigned char*>(target);
    std::size_t done = 0;
    while (done < bytes) {
        const ssize_t got = pread(fd_, out + done, bytes - done, static_cast<off_t>(offset) + done);
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) return -1;
        if (got == 0) break;
        done += static_cast<std::size_t>(got);
    }
    return static_cast<ssize_t>(done);
}

}  // namespace tunekist
