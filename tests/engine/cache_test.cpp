// Measuring an unchanged file again costs a stat; a changed, replaced or vanished file is
// measured afresh.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>

#include "platform/engine/duration_cache.h"
#include "platform/engine/real_engine.h"
#include "tests/support/test_audio.h"

namespace tunekist {
namespace {

class DurationCacheTest : public ::testing::Test {
protected:
    DurationCacheTest() {
        std::filesystem::copy_file(test::CachedTone(1.0, 440), song,
                                   std::filesystem::copy_options::overwrite_existing);
    }
    ~DurationCacheTest() override { std::filesystem::remove(song); }

    double Measure() {
        IMediaControl engine = MakeRealEngineFactory()();
        engine->RenderFile(song);
        return engine->get_Duration();
    }
    std::int64_t Reads() const { return DurationCache::Instance().FilesRead(); }

    const std::string song = testing::TempDir() + "/cached_" + std::to_string(getpid()) + ".mp3";
};

TEST_F(DurationCacheTest, UnchangedFileIsNotReadAgain) {
    EXPECT_EQ(Measure(), 1.0);
    const std::int64_t reads = Reads();
    EXPECT_EQ(Measure(), 1.0);
    EXPECT_EQ(Measure(), 1.0);
    EXPECT_EQ(Reads(), reads);
}

TEST_F(DurationCacheTest, ClearedCacheReadsTheFileAgain) {
    EXPECT_EQ(Measure(), 1.0);
    const std::int64_t reads = Reads();
    DurationCache::Instance().Clear();
    EXPECT_EQ(Measure(), 1.0);
    EXPECT_EQ(Reads(), reads + 1);
}

TEST_F(DurationCacheTest, ChangedFileIsMeasuredAfresh) {
    EXPECT_EQ(Measure(), 1.0);
    const std::int64_t reads = Reads();
    std::filesystem::copy_file(test::CachedTone(2.0, 440), song,
                               std::filesystem::copy_options::overwrite_existing);
    EXPECT_EQ(Measure(), 2.0);
    EXPECT_EQ(Reads(), reads + 1);
}

TEST_F(DurationCacheTest, ReplacedFileIsMeasuredAfresh) {
    EXPECT_EQ(Measure(), 1.0);
    const std::string other = song + ".new";
    std::filesystem::copy_file(test::CachedTone(0.5, 440), other);
    std::filesystem::rename(other, song);
    EXPECT_EQ(Measure(), 0.5);
}

TEST_F(DurationCacheTest, VanishedFileFails) {
    EXPECT_EQ(Measure(), 1.0);
    std::filesystem::remove(song);
    EXPECT_THROW(Measure(), EngineError);
}

}  // namespace
}  // namespace tunekist
