// The fast path trusts a tag only when the file proves it covers the whole stream.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>

#include "platform/engine/tag_check.h"
#include "tests/support/test_audio.h"

namespace tunekist {
namespace {

using test::ToneOptions;

struct TagCase {
    const char* name;
    ToneOptions options;
    double keptFraction;  // of the file's bytes
    bool trusted;
};

void PrintTo(const TagCase& value, std::ostream* out) { *out << value.name; }

class TagCheck : public ::testing::TestWithParam<TagCase> {};

TEST_P(TagCheck, TrustsOnlyAnIntactTaggedStream) {
    const TagCase& tag = GetParam();
    const std::string whole = test::CachedTone(5.0, 440, tag.options);
    const std::string path = testing::TempDir() + "/tag_" + tag.name + std::to_string(getpid()) + ".mp3";
    const auto size = std::filesystem::file_size(whole);
    test::WriteTruncatedCopy(whole, path, static_cast<std::uintmax_t>(static_cast<double>(size) * tag.keptFraction));
    EXPECT_EQ(TagCoversWholeStream(FileReader(path)), tag.trusted);
    std::filesystem::remove(path);
}

INSTANTIATE_TEST_SUITE_P(
    Lame, TagCheck,
    ::testing::Values(TagCase{"CbrWhole", ToneOptions{}, 1.0, true},
                      TagCase{"VbrWhole", ToneOptions{.vbr = true}, 1.0, true},
                      TagCase{"MonoMpeg2Whole", ToneOptions{.sampleRate = 22050, .channels = 1, .vbr = true}, 1.0, true},
                      TagCase{"CbrCut", ToneOptions{}, 0.6, false},
                      TagCase{"VbrCut", ToneOptions{.vbr = true}, 0.99, false},
                      TagCase{"VbrWithoutTag", ToneOptions{.vbr = true, .lameTag = false}, 1.0, false}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace tunekist
