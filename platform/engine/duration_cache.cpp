#include "platform/engine/duration_cache.h"

#include <atomic>
#include <map>
#include <mutex>
#include <optional>

#include "platform/engine/file_reader.h"
#include "platform/engine/mpg123_decoder.h"
#include "platform/engine/tag_check.h"
#include "playback/media_engine.h"

namespace tunekist {

namespace {

struct Entry {
    std::optional<Measurement> measurement;
    std::string error;  // set when the file holds no playable audio
};

std::mutex& CacheMutex() {
    static std::mutex mutex;
    return mutex;
}

std::map<FileIdentity, Entry>& Entries() {
    static std::map<FileIdentity, Entry> entries;
    return entries;
}

std::atomic<std::int64_t>& ReadCount() {
    static std::atomic<std::int64_t> count{0};
    return count;
}

Measurement Answer(const Entry& entry) {
    if (!entry.measurement) throw EngineError(entry.error);
    return *entry.measurement;
}

}  // namespace

DurationCache& DurationCache::Instance() {
    static DurationCache cache;
    return cache;
}

Measurement DurationCache::Measure(const std::string& path) {
    // Opened, not only looked at: a file made unreadable since it was measured must fail as any
    // file that cannot be opened does, not be answered from the cache.
    const FileReader reader(path);
    const FileIdentity identity = reader.Identity();
    {
        const std::lock_guard lock(CacheMutex());
        const auto found = Entries().find(identity);
        if (found != Entries().end()) return Answer(found->second);
    }
    ++ReadCount();
    Entry entry;
    // The key is the identity of the file actually read, which may be newer than the stat above.
    FileIdentity readIdentity = identity;
    try {
        // A proven LAME tag gives the length without a decoder, whose set-up costs several times
        // the reading of the tag.
        if (const auto tagged = LameTagLength(reader)) {
            entry.measurement = Measurement{tagged->sampleRate, tagged->frames};
        } else {
            Mpg123Decoder decoder(path);
            readIdentity = decoder.Identity();
            entry.measurement = Measurement{decoder.SampleRate(), decoder.MeasureLength()};
        }
    } catch (const EngineError& error) {
        entry.error = error.what();
    }
    const std::lock_guard lock(CacheMutex());
    Entries()[readIdentity] = entry;
    return Answer(entry);
}

std::int64_t DurationCache::FilesRead() const { return ReadCount().load(); }

void DurationCache::Clear() {
    const std::lock_guard lock(CacheMutex());
    Entries().clear();
}

}  // namespace tunekist
