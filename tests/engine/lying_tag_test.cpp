// A LAME tag whose byte count does not describe the file as it is must not be believed: the
// engine then measures the file frame by frame and still reports what decoding yields.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "platform/engine/mpg123_decoder.h"
#include "platform/engine/real_engine.h"
#include "platform/engine/tag_check.h"
#include "tests/support/test_audio.h"

namespace tunekist {
namespace {

std::string ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The byte count of the Xing tag in the first frame of an MPEG-1 stereo song without ID3v2.
constexpr std::size_t kXingAt = 4 + 32;
constexpr std::size_t kByteCountAt = kXingAt + 12;

std::string WithByteCount(std::string song, std::int64_t change) {
    std::uint32_t count = 0;
    for (int i = 0; i < 4; ++i) count = (count << 8) | static_cast<unsigned char>(song[kByteCountAt + i]);
    count = static_cast<std::uint32_t>(count + change);
    for (int i = 0; i < 4; ++i) song[kByteCountAt + i] = static_cast<char>(count >> (24 - 8 * i));
    return song;
}

using Edit = std::string (*)(const std::string& song);

struct LieCase {
    const char* name;
    Edit edit;
    bool trusted;
};

void PrintTo(const LieCase& value, std::ostream* out) { *out << value.name; }

class LyingTag : public ::testing::TestWithParam<LieCase> {};

TEST_P(LyingTag, OnlyATrueByteCountIsBelievedAndTheLengthIsAlwaysTheDecodedOne) {
    const LieCase& lie = GetParam();
    const std::string song = ReadAll(test::CachedTone(3.0, 440, test::ToneOptions{.vbr = true}));
    ASSERT_EQ(song.substr(kXingAt, 4), "Xing");
    const std::string path = testing::TempDir() + "/lie_" + lie.name + std::to_string(getpid()) + ".mp3";
    test::WriteBytes(path, lie.edit(song));
    EXPECT_EQ(TagCoversWholeStream(FileReader(path)), lie.trusted);
    Mpg123Decoder decoder(path);
    const double decoded = static_cast<double>(decoder.DecodeLength()) / static_cast<double>(decoder.SampleRate());
    IMediaControl engine = MakeRealEngineFactory()();
    engine->RenderFile(path);
    EXPECT_EQ(engine->get_Duration(), decoded);
    std::filesystem::remove(path);
}

std::string Unchanged(const std::string& song) { return song; }
std::string WithId3v1(const std::string& song) { return song + "TAG" + std::string(125, ' '); }
std::string JoinedTwice(const std::string& song) { return song + song; }
std::string CountTooLarge(const std::string& song) { return WithByteCount(song, 1); }
std::string CountTooSmall(const std::string& song) { return WithByteCount(song, -1); }
std::string CountBeyondFile(const std::string& song) { return WithByteCount(song, 100000); }
// The count stops one frame early, where a frame really ends; a frame follows it.
std::string CountShortOfLastFrame(const std::string& song) {
    const std::size_t last = song.rfind("\xFF\xFB");
    return WithByteCount(song, -static_cast<std::int64_t>(song.size() - last));
}

INSTANTIATE_TEST_SUITE_P(
    Lame, LyingTag,
    ::testing::Values(LieCase{"Intact", Unchanged, true},
                      LieCase{"IntactBeforeId3v1", WithId3v1, true},
                      LieCase{"JoinedTwice", JoinedTwice, false},
                      LieCase{"CountTooLarge", CountTooLarge, false},
                      LieCase{"CountTooSmall", CountTooSmall, false},
                      LieCase{"CountBeyondFile", CountBeyondFile, false},
                      LieCase{"CountShortOfLastFrame", CountShortOfLastFrame, false}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace tunekist
