// The header walk vouches for a length only where decoding yields exactly that many samples;
// every file it turns down is still measured exactly by libmpg123's own scan.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "platform/engine/mpg123_decoder.h"
#include "platform/engine/plain_stream.h"
#include "platform/engine/real_engine.h"
#include "tests/support/test_audio.h"

namespace tunekist {
namespace {

using test::ToneOptions;

std::string ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// An ID3v2.3 tag of `bytes` bytes of padding after its ten-byte header.
std::string Id3v2(int bytes) {
    std::string tag = {'I', 'D', '3', 3, 0, 0};
    for (int shift : {21, 14, 7, 0}) tag += static_cast<char>((bytes >> shift) & 0x7F);
    return tag + std::string(static_cast<std::size_t>(bytes), '\0');
}

std::string Id3v1() { return "TAG" + std::string(125, ' '); }

// The file as it is changed for one case.
using Edit = std::string (*)(const std::string& song);

struct WalkCase {
    const char* name;
    ToneOptions options;
    Edit edit;
    bool walked;  // whether the header walk may vouch for the length
};

void PrintTo(const WalkCase& value, std::ostream* out) { *out << value.name; }

class PlainStream : public ::testing::TestWithParam<WalkCase> {};

TEST_P(PlainStream, VouchesOnlyForWhatDecodingYields) {
    const WalkCase& walk = GetParam();
    const std::string song = ReadAll(test::CachedTone(5.0, 440, walk.options));
    const std::string path = testing::TempDir() + "/plain_" + walk.name + std::to_string(getpid()) + ".mp3";
    test::WriteBytes(path, walk.edit(song));
    Mpg123Decoder decoder(path);
    const std::int64_t decoded = decoder.DecodeLength();
    const auto walked = PlainStreamLength(FileReader(path));
    EXPECT_EQ(walked.has_value(), walk.walked);
    if (walked) {
        EXPECT_EQ(*walked, decoded);
    }
    IMediaControl engine = MakeRealEngineFactory()();
    engine->RenderFile(path);
    EXPECT_EQ(engine->get_Duration(), static_cast<double>(decoded) / static_cast<double>(decoder.SampleRate()));
    std::filesystem::remove(path);
}

constexpr ToneOptions kVbr{.vbr = true, .lameTag = false};
constexpr ToneOptions kCbr{.lameTag = false};
constexpr ToneOptions kMonoMpeg2{.sampleRate = 22050, .channels = 1, .vbr = true, .lameTag = false};
constexpr ToneOptions kMpeg25{.sampleRate = 8000, .channels = 1, .bitrateKbps = 16, .lameTag = false};
constexpr ToneOptions kTagged{.vbr = true};

std::string Unchanged(const std::string& song) { return song; }
std::string WithId3v2(const std::string& song) { return Id3v2(3000) + song; }
std::string WithId3v1(const std::string& song) { return song + Id3v1(); }
std::string WithBothTags(const std::string& song) { return Id3v2(20) + song + Id3v1(); }
std::string CutMidFrame(const std::string& song) { return song.substr(0, song.size() * 2 / 3 + 7); }
std::string CutMidFrameBeforeId3v1(const std::string& song) { return CutMidFrame(song) + Id3v1(); }
std::string JunkMidway(const std::string& song) {
    return song.substr(0, song.size() / 2) + std::string(700, '\x55') + song.substr(song.size() / 2);
}
std::string JunkAtEnd(const std::string& song) { return song + std::string(300, '\0'); }
std::string JunkBeforeFirstFrame(const std::string& song) { return std::string(100, '\0') + song; }
std::string FewFrames(const std::string& song) { return song.substr(0, 3 * 418); }

INSTANTIATE_TEST_SUITE_P(
    Lame, PlainStream,
    ::testing::Values(WalkCase{"VbrUntagged", kVbr, Unchanged, true},
                      WalkCase{"CbrUntagged", kCbr, Unchanged, true},
                      WalkCase{"MonoMpeg2Untagged", kMonoMpeg2, Unchanged, true},
                      WalkCase{"Mpeg25Untagged", kMpeg25, Unchanged, true},
                      WalkCase{"VbrBehindId3v2", kVbr, WithId3v2, true},
                      WalkCase{"VbrBeforeId3v1", kVbr, WithId3v1, true},
                      WalkCase{"VbrBetweenBothTags", kVbr, WithBothTags, true},
                      WalkCase{"VbrCutMidFrame", kVbr, CutMidFrame, false},
                      WalkCase{"CbrCutMidFrame", kCbr, CutMidFrame, false},
                      WalkCase{"VbrCutMidFrameBeforeId3v1", kVbr, CutMidFrameBeforeId3v1, false},
                      WalkCase{"VbrJunkMidway", kVbr, JunkMidway, false},
                      WalkCase{"VbrJunkAtEnd", kVbr, JunkAtEnd, false},
                      WalkCase{"VbrJunkBeforeFirstFrame", kVbr, JunkBeforeFirstFrame, false},
                      WalkCase{"CbrFewFrames", kCbr, FewFrames, false},
                      WalkCase{"LameTagged", kTagged, Unchanged, false}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace tunekist
