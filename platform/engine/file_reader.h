#pragma once
// Reading one audio file: opened without ever blocking (a FIFO or device named like a song is
// refused, not waited on), only regular files accepted, read through a large buffer so that the
// decoder's many small reads cost few system calls. The file is read, not memory-mapped: a file
// cut short while it plays must end the song, not kill the program with SIGBUS.

#include <sys/types.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace tunekist {

// What identifies one version of a file: when any of these change, the file is a new one.
struct FileIdentity {
    dev_t device = 0;
    ino_t inode = 0;
    std::int64_t size = 0;
    std::int64_t modifiedSeconds = 0;
    std::int64_t modifiedNanoseconds = 0;
    friend auto operator<=>(const FileIdentity&, const FileIdentity&) = default;
};

// The identity of the file at `path` by one stat. Throws EngineError when it cannot be read or is
// not a regular file.
FileIdentity IdentityOf(const std::string& path);

// Tells the kernel that the bytes from `from` to `to` of the open file `fd` will be read soon, so
// that it can fetch them all at once instead of as the reads come. A hint only: nothing is read
// into the process, and a failure changes nothing.
void HintWillRead(int fd, std::int64_t from, std::int64_t to);

class FileReader {
public:
    // Opens the file at `path`. Throws EngineError for a missing, unreadable or non-regular file.
    explicit FileReader(const std::string& path);
    ~FileReader();
    FileReader(const FileReader&) = delete;
    FileReader& operator=(const FileReader&) = delete;

    // The identity of the opened file, taken from the open descriptor.
    const FileIdentity& Identity() const { return identity_; }

    // Sequential reading as read(2) does: up to `bytes` bytes, 0 at the end, -1 on an error.
    ssize_t Read(void* target, std::size_t bytes);
    // Moves the sequential position as lseek(2) does; returns the new position or -1.
    off_t Seek(off_t offset, int whence);
    // Reads up to `bytes` bytes at `offset` without moving the sequential position; returns the
    // number read (fewer at the end of the file), or -1 on an error.
    ssize_t ReadAt(std::int64_t offset, void* target, std::size_t bytes) const;

    // Tells the kernel that the file will be read from start to end, so that it reads further ahead
    // of each read. A hint only.
    void WillReadInOrder() const;

private:
    int fd_ = -1;
    FileIdentity identity_;
    std::vector<unsigned char> buffer_;
    std::size_t bufferStart_ = 0;  // next unread byte in buffer_
    std::size_t bufferEnd_ = 0;    // end of valid bytes in buffer_
    std::int64_t position_ = 0;    // file offset of buffer_[bufferStart_]
};

}  // namespace tunekist
