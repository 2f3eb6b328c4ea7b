#include "platform/engine/trailing_tags.h"

#include <algorithm>
#include <cstring>
#include <string_view>

namespace tunekist {

namespace {

// Enough for a song's last frame (at most 1,441 bytes) and the tags a ReplayGain tool and an ID3v1
// writer leave after it, so that most files need one read at their tail; no more, as every byte
// read is copied.
constexpr std::int64_t kFirstTailBytes = 4 * 1024;
// Tags longer than this (pictures in an APE tag) are not read through; such songs take the slow way.
constexpr std::int64_t kLongestHeldTail = 4 * 1024 * 1024;
constexpr std::int64_t kId3v1Bytes = 128;
// More tags than this after one song are not looked through.
constexpr int kMostTags = 8;
constexpr std::int64_t kApeFooterBytes = 32;
constexpr std::uint32_t kApeHasHeader = 1U << 31;
constexpr std::uint32_t kApeIsHeader = 1U << 29;
// A Lyrics3v2 tag ends in six digits of size and this mark.
constexpr std::int64_t kLyrics3v2EndBytes = 6 + 9;
constexpr std::string_view kLyricsBegin = "LYRICSBEGIN";
// The longest Lyrics3v1 tag: 5,100 bytes of lyrics between its two marks.
constexpr std::int64_t kLongestLyrics3v1 = 5100 + 11 + 9;

std::uint32_t LittleEndian(const unsigned char* p) {
    return std::uint32_t{p[0]} | (std::uint32_t{p[1]} << 8) | (std::uint32_t{p[2]} << 16) | (std::uint32_t{p[3]} << 24);
}

bool Is(const unsigned char* p, std::string_view text) { return p && std::memcmp(p, text.data(), text.size()) == 0; }

// The decimal number written in `digits` ASCII digits, or -1 when one of them is not a digit.
std::int64_t Decimal(const unsigned char* p, int digits) {
    std::int64_t value = 0;
    for (int i = 0; i < digits; ++i) {
        if (p[i] < '0' || p[i] > '9') return -1;
        value = value * 10 + (p[i] - '0');
    }
    return value;
}

// True when the `bytes` bytes at `items` are exactly `count` APE items: each a value size, flags,
// a key of printable ASCII ended by a zero byte, and the value.
bool ApeItemsFill(const unsigned char* items, std::int64_t bytes, std::uint32_t count) {
    std::int64_t at = 0;
    for (std::uint32_t item = 0; item < count; ++item) {
        if (at + 8 > bytes) return false;
        const std::int64_t valueBytes = LittleEndian(items + at);
        at += 8;
        const std::int64_t keyStart = at;
        while (at < bytes && items[at] >= 0x20 && items[at] <= 0x7E) ++at;
        if (at >= bytes || items[at] != 0 || at - keyStart < 2) return false;
        at += 1 + valueBytes;
    }
    return at == bytes;
}

}  // namespace

FileTail::FileTail(const FileReader& reader)
    : reader_(reader), size_(reader.Identity().size), from_(reader.Identity().size) {
    audioEnd_ = FindAudioEnd();
}

const unsigned char* FileTail::BytesBefore(std::int64_t end, std::size_t count) {
    const std::int64_t start = end - static_cast<std::int64_t>(count);
    if (start < 0 || end > size_ || size_ - start > kLongestHeldTail) return nullptr;
    if (start < from_) {
        // One read from well before what is asked, so that the next question is answered too.
        const std::int64_t readFrom = std::max<std::int64_t>(0, std::min(start, from_ - kFirstTailBytes));
        std::vector<unsigned char> more(static_cast<std::size_t>(from_ - readFrom));
        if (reader_.ReadAt(readFrom, more.data(), more.size()) != static_cast<ssize_t>(more.size())) return nullptr;
        bytes_.insert(bytes_.begin(), more.begin(), more.end());
        from_ = readFrom;
    }
    return bytes_.data() + (start - from_);
}

std::optional<std::int64_t> FileTail::FindAudioEnd() {
    std::int64_t end = size_;
    if (Is(BytesBefore(end, kId3v1Bytes), "TAG")) end -= kId3v1Bytes;
    const bool id3v1 = end < size_;
    // libmpg123 skips an ID3v2 tag and an APE tag with a header whole; through any other tag it
    // looks for a frame header byte by byte, to the file's end.
    std::optional<std::int64_t> walkedFrom;
    // A tagger that does not look behind a tag it does not know writes its own after it: a file
    // may carry two APE tags with an ID3v2 tag between them.
    for (int tags = 0; tags < kMostTags; ++tags) {
        std::optional<std::int64_t> start;
        bool walked = true;
        if (Is(BytesBefore(end, kApeFooterBytes), "APETAGEX")) {
            start = ApeTagStart(end, walked);
        } else if (Is(BytesBefore(end, 9), "LYRICS200")) {
            start = Lyrics3v2Start(end);
        } else if (id3v1 && end == size_ - kId3v1Bytes && Is(BytesBefore(end, 9), "LYRICSEND")) {
            // A Lyrics3v1 tag has no size; it is only ever written just before an ID3v1 tag.
            start = Lyrics3v1Start(end);
        } else if (Is(BytesBefore(end, 10), "3DI")) {
            walked = false;
            start = Id3v2FooterTagStart(end);
        } else {
            break;
        }
        if (!start) return std::nullopt;
        if (walked) walkedFrom = *start;
        end = *start;
    }
    if (walkedFrom && HoldsFrameSync(*walkedFrom, size_)) return std::nullopt;
    return end;
}

std::optional<std::int64_t> FileTail::ApeTagStart(std::int64_t end, bool& walkedThrough) {
    const unsigned char* footer = BytesBefore(end, kApeFooterBytes);
    const std::uint32_t version = LittleEndian(footer + 8);
    const std::int64_t bytes = LittleEndian(footer + 12);  // the items and the footer
    const std::uint32_t count = LittleEndian(footer + 16);
    const std::uint32_t flags = LittleEndian(footer + 20);
    if ((version != 1000 && version != 2000) || (flags & kApeIsHeader) != 0) return std::nullopt;
    // Version 1 has no header.
    const bool header = (flags & kApeHasHeader) != 0;
    if (header && version == 1000) return std::nullopt;
    const std::int64_t start = end - bytes - (header ? kApeFooterBytes : 0);
    if (bytes < kApeFooterBytes || start < 0) return std::nullopt;
    const unsigned char* items = BytesBefore(end - kApeFooterBytes, static_cast<std::size_t>(bytes - kApeFooterBytes));
    if (!items || !ApeItemsFill(items, bytes - kApeFooterBytes, count)) return std::nullopt;
    if (header) {
        const unsigned char* first = BytesBefore(start + kApeFooterBytes, kApeFooterBytes);
        footer = BytesBefore(end, kApeFooterBytes);
        if (!Is(first, "APETAGEX") || std::memcmp(first + 8, footer + 8, 12) != 0 ||
            (LittleEndian(first + 20) & kApeIsHeader) == 0) {
            return std::nullopt;
        }
    }
    walkedThrough = !header;
    return start;
}

std::optional<std::int64_t> FileTail::Lyrics3v2Start(std::int64_t end) {
    const unsigned char* sizeDigits = BytesBefore(end, kLyrics3v2EndBytes);
    const std::int64_t bytes = sizeDigits ? Decimal(sizeDigits, 6) : -1;  // from its start to the digits
    const std::int64_t fieldsEnd = end - kLyrics3v2EndBytes;
    const auto begin = static_cast<std::int64_t>(kLyricsBegin.size());
    if (bytes < begin || bytes > fieldsEnd) return std::nullopt;
    const unsigned char* tag = BytesBefore(fieldsEnd, static_cast<std::size_t>(bytes));
    if (!Is(tag, kLyricsBegin)) return std::nullopt;
    // Fields of a three-letter name and five digits of size must fill it exactly.
    std::int64_t at = begin;
    while (at < bytes) {
        if (at + 8 > bytes) return std::nullopt;
        for (int i = 0; i < 3; ++i) {
            if (tag[at + i] < 'A' || tag[at + i] > 'Z') return std::nullopt;
        }
        const std::int64_t fieldBytes = Decimal(tag + at + 3, 5);
        if (fieldBytes < 0) return std::nullopt;
        at += 8 + fieldBytes;
    }
    if (at != bytes) return std::nullopt;
    return fieldsEnd - bytes;
}

std::optional<std::int64_t> FileTail::Lyrics3v1Start(std::int64_t end) {
    const auto span = static_cast<std::size_t>(std::min(end, kLongestLyrics3v1));
    const unsigned char* tag = BytesBefore(end, span);
    if (!tag) return std::nullopt;
    const std::string_view text(reinterpret_cast<const char*>(tag), span - 9);
    const std::size_t begin = text.rfind(kLyricsBegin);
    if (begin == std::string_view::npos) return std::nullopt;
    return end - static_cast<std::int64_t>(span - begin);
}

std::optional<std::int64_t> FileTail::Id3v2FooterTagStart(std::int64_t end) {
    const unsigned char* footer = BytesBefore(end, 10);
    constexpr unsigned char kHasFooter = 0x10;
    // Only version 2.4 has a footer; its size is written in seven bits a byte.
    if (footer[3] != 4 || footer[4] == 0xFF || (footer[5] & kHasFooter) == 0) return std::nullopt;
    std::int64_t bytes = 0;
    for (int i = 6; i < 10; ++i) {
        if (footer[i] >= 0x80) return std::nullopt;
        bytes = (bytes << 7) | footer[i];
    }
    const std::int64_t start = end - bytes - 20;
    if (start < 0) return std::nullopt;
    unsigned char header[10];
    if (reader_.ReadAt(start, header, sizeof header) != static_cast<ssize_t>(sizeof header)) return std::nullopt;
    if (!Is(header, "ID3") || std::memcmp(header + 3, footer + 3, 7) != 0) return std::nullopt;
    return start;
}

bool FileTail::HoldsFrameSync(std::int64_t from, std::int64_t to) {
    const unsigned char* bytes = BytesBefore(to, static_cast<std::size_t>(to - from));
    if (!bytes) return true;
    for (std::int64_t i = 0; i + 1 < to - from; ++i) {
        if (bytes[i] == 0xFF && (bytes[i + 1] & 0xE0) == 0xE0) return true;
    }
    return false;
}

}  // namespace tunekist
