// Measuring an unchanged file again costs a stat; a changed, replaced or vanished file is
// measured afresh.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <functional>

#include "platform/engine/duration_cache.h"
#include "platform/engine/real_engine.h"
#include "tests/support/test_audio.h"

namespace tunekist {
namespace {

namespace fs = std::filesystem;

struct CacheCase {
    const char* name;
    std::function<void(const std::string& song)> change;  // done between the two measurements
    double seconds;                                       // the second measurement; 0 when it fails
    std::int64_t reads;                                   // files read for the second measurement
};

void PrintTo(const CacheCase& value, std::ostream* out) { *out << value.name; }

class DurationCacheTest : public ::testing::TestWithParam<CacheCase> {
protected:
    DurationCacheTest() { fs::copy_file(test::CachedTone(1.0, 440), song, fs::copy_options::overwrite_existing); }
    ~DurationCacheTest() override { fs::remove(song); }

    double Measure() {
        IMediaControl engine = MakeRealEngineFactory()();
        engine->RenderFile(song);
        return engine->get_Duration();
    }

    const std::string song = testing::TempDir() + "/cached_" + std::to_string(getpid()) + ".mp3";
};

TEST_P(DurationCacheTest, MeasuresAgainOnlyWhatChanged) {
    EXPECT_EQ(Measure(), 1.0);
    const std::int64_t reads = DurationCache::Instance().FilesRead();
    GetParam().change(song);
    if (GetParam().seconds == 0.0) {
        EXPECT_THROW(Measure(), EngineError);
    } else {
        EXPECT_EQ(Measure(), GetParam().seconds);
    }
    EXPECT_EQ(DurationCache::Instance().FilesRead(), reads + GetParam().reads);
}

INSTANTIATE_TEST_SUITE_P(
    Cache, DurationCacheTest,
    ::testing::Values(
        CacheCase{"Unchanged", [](const std::string&) {}, 1.0, 0},
        CacheCase{"CacheCleared", [](const std::string&) { DurationCache::Instance().Clear(); }, 1.0, 1},
        CacheCase{"RewrittenInPlace",
                  [](const std::string& song) {
                      fs::copy_file(test::CachedTone(2.0, 440), song, fs::copy_options::overwrite_existing);
                  },
                  2.0, 1},
        CacheCase{"ReplacedByRenaming",
                  [](const std::string& song) {
                      fs::copy_file(test::CachedTone(0.5, 440), song + ".new");
                      fs::rename(song + ".new", song);
                  },
                  0.5, 1},
        CacheCase{"Vanished", [](const std::string& song) { fs::remove(song); }, 0.0, 0}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace tunekist
