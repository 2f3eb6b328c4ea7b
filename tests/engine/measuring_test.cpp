// Every way of measuring a song ends in what playing it yields. The LAME tag is believed only
// where the file proves it covers the whole stream, the header walk of a plain stream vouches
// only where decoding yields exactly its count, and every file either refuses is measured by
// libmpg123's scan; in each case the engine reports the length a full decode gives.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cmath>
#include <cstdint>
#include <filesystem>

#include "platform/engine/mpg123_decoder.h"
#include "platform/engine/plain_stream.h"
#include "platform/engine/real_engine.h"
#include "platform/engine/tag_check.h"
#include "tests/support/test_audio.h"

namespace tunekist {
namespace {

using test::ToneOptions;

// An ID3v2.3 tag of `bytes` bytes of padding after its ten-byte header.
std::string Id3v2(int bytes) {
    std::string tag = {'I', 'D', '3', 3, 0, 0};
    for (int shift : {21, 14, 7, 0}) tag += static_cast<char>((bytes >> shift) & 0x7F);
    return tag + std::string(static_cast<std::size_t>(bytes), '\0');
}

std::string Id3v1() { return "TAG" + std::string(125, ' '); }

// The byte count of the Xing tag in the first frame of an MPEG-1 stereo song without ID3v2.
constexpr std::size_t kXingAt = 4 + 32;
constexpr std::size_t kByteCountAt = kXingAt + 12;

std::string WithByteCount(std::string song, std::int64_t change) {
    EXPECT_EQ(song.substr(kXingAt, 4), "Xing");
    std::uint32_t count = 0;
    for (int i = 0; i < 4; ++i) count = (count << 8) | static_cast<unsigned char>(song[kByteCountAt + i]);
    count = static_cast<std::uint32_t>(count + change);
    for (int i = 0; i < 4; ++i) song[kByteCountAt + i] = static_cast<char>(count >> (24 - 8 * i));
    return song;
}

// The file as it is changed for one case.
using Edit = std::string (*)(const std::string& song);

std::string Unchanged(const std::string& song) { return song; }
std::string WithId3v2(const std::string& song) { return Id3v2(3000) + song; }
std::string WithId3v1(const std::string& song) { return song + Id3v1(); }
std::string WithBothTags(const std::string& song) { return Id3v2(20) + song + Id3v1(); }
std::string JoinedTwice(const std::string& song) { return song + song; }
std::string CountTooLarge(const std::string& song) { return WithByteCount(song, 1); }
std::string CountTooSmall(const std::string& song) { return WithByteCount(song, -1); }
std::string CountBeyondFile(const std::string& song) { return WithByteCount(song, 100000); }
// The count stops one frame early, where a frame really ends; a frame follows it.
std::string CountShortOfLastFrame(const std::string& song) {
    const std::size_t last = song.rfind("\xFF\xFB");
    return WithByteCount(song, -static_cast<std::int64_t>(song.size() - last));
}
std::string CutToAThird(const std::string& song) { return song.substr(0, song.size() / 3); }
std::string CutShortOfItsEnd(const std::string& song) { return song.substr(0, song.size() * 99 / 100); }
std::string CutMidFrame(const std::string& song) { return song.substr(0, song.size() * 2 / 3 + 7); }
std::string CutMidFrameBeforeId3v1(const std::string& song) { return CutMidFrame(song) + Id3v1(); }
std::string JunkMidway(const std::string& song) {
    return song.substr(0, song.size() / 2) + std::string(700, '\x55') + song.substr(song.size() / 2);
}
std::string JunkAtEnd(const std::string& song) { return song + std::string(300, '\0'); }
std::string JunkBeforeFirstFrame(const std::string& song) { return std::string(100, '\0') + song; }
std::string FewFrames(const std::string& song) { return song.substr(0, 3 * 418); }

// What the decoded length must be besides the engine's own figure.
enum class Length {
    kEncodedSamples,  // the tag removes the encoder's delay and padding: exactly what was encoded
    kWithEncoderGap,  // nothing says where delay and padding are, so they are heard too
    kWhatIsThere,     // a changed file: whatever a full decode yields
};

struct MeasureCase {
    const char* name;
    double seconds;
    ToneOptions options;
    Edit edit;
    bool tagTrusted;  // whether the LAME tag may give the length
    bool walked;      // whether the header walk may vouch for the length
    Length length;
};

void PrintTo(const MeasureCase& value, std::ostream* out) { *out << value.name; }

class Measuring : public ::testing::TestWithParam<MeasureCase> {};

TEST_P(Measuring, OnlyAProvenShortcutIsTakenAndTheLengthIsTheDecodedOne) {
    const MeasureCase& song = GetParam();
    const std::string path = testing::TempDir() + "/measure_" + song.name + std::to_string(getpid()) + ".mp3";
    test::WriteBytes(path, song.edit(test::ReadBytes(test::CachedTone(song.seconds, 440, song.options))));
    Mpg123Decoder decoder(path);
    const std::int64_t frames = decoder.DecodeLength();
    const double decoded = static_cast<double>(frames) / static_cast<double>(decoder.SampleRate());

    EXPECT_EQ(TagCoversWholeStream(FileReader(path)), song.tagTrusted);
    const auto walked = PlainStreamLength(FileReader(path));
    EXPECT_EQ(walked.has_value(), song.walked);
    if (walked) {
        EXPECT_EQ(*walked, frames);
    }
    IMediaControl engine = MakeRealEngineFactory()();
    engine->RenderFile(path);
    EXPECT_EQ(engine->get_Duration(), decoded);

    const double rate = song.options.sampleRate;
    switch (song.length) {
        case Length::kEncodedSamples:
            EXPECT_EQ(decoded, static_cast<double>(std::llround(song.seconds * rate)) / rate);
            break;
        case Length::kWithEncoderGap:
            EXPECT_GT(decoded, song.seconds);
            EXPECT_LT(decoded, song.seconds + 0.1);
            break;
        case Length::kWhatIsThere:
            break;
    }
    std::filesystem::remove(path);
}

constexpr ToneOptions kCbr{};
constexpr ToneOptions kVbr{.vbr = true};
constexpr ToneOptions kPlainCbr{.lameTag = false};
constexpr ToneOptions kPlainVbr{.vbr = true, .lameTag = false};
constexpr ToneOptions kPlainMonoMpeg2{.sampleRate = 22050, .channels = 1, .vbr = true, .lameTag = false};
constexpr ToneOptions kPlainMpeg25{.sampleRate = 8000, .channels = 1, .bitrateKbps = 16, .lameTag = false};

INSTANTIATE_TEST_SUITE_P(
    Lame, Measuring,
    ::testing::Values(
        // Tagged songs as the encoder wrote them.
        MeasureCase{"Cbr128Stereo", 3.0, kCbr, Unchanged, true, false, Length::kEncodedSamples},
        MeasureCase{"Cbr64Mono22050", 2.5, {.sampleRate = 22050, .channels = 1, .bitrateKbps = 64}, Unchanged,
                    true, false, Length::kEncodedSamples},
        MeasureCase{"VbrStereo", 3.0, kVbr, Unchanged, true, false, Length::kEncodedSamples},
        MeasureCase{"VbrMono48000", 1.7, {.sampleRate = 48000, .channels = 1, .vbr = true}, Unchanged, true,
                    false, Length::kEncodedSamples},
        MeasureCase{"VbrStereo16000", 2.0, {.sampleRate = 16000, .vbr = true}, Unchanged, true, false,
                    Length::kEncodedSamples},
        MeasureCase{"VbrBeforeId3v1", 3.0, kVbr, WithId3v1, true, false, Length::kEncodedSamples},
        // Tags that lie about the file as it is now.
        MeasureCase{"VbrJoinedTwice", 3.0, kVbr, JoinedTwice, false, false, Length::kWhatIsThere},
        MeasureCase{"CountTooLarge", 3.0, kVbr, CountTooLarge, false, false, Length::kWhatIsThere},
        MeasureCase{"CountTooSmall", 3.0, kVbr, CountTooSmall, false, false, Length::kWhatIsThere},
        MeasureCase{"CountBeyondFile", 3.0, kVbr, CountBeyondFile, false, false, Length::kWhatIsThere},
        MeasureCase{"CountShortOfLastFrame", 3.0, kVbr, CountShortOfLastFrame, false, false, Length::kWhatIsThere},
        MeasureCase{"CbrCutToAThird", 6.0, kCbr, CutToAThird, false, false, Length::kWhatIsThere},
        MeasureCase{"VbrCutToAThird", 6.0, kVbr, CutToAThird, false, false, Length::kWhatIsThere},
        MeasureCase{"VbrCutShortOfItsEnd", 5.0, kVbr, CutShortOfItsEnd, false, false, Length::kWhatIsThere},
        // Plain streams, whole or between ID3 tags.
        MeasureCase{"PlainVbr", 4.0, kPlainVbr, Unchanged, false, true, Length::kWithEncoderGap},
        MeasureCase{"PlainVbrBestQuality", 2.0, {.vbr = true, .vbrQuality = 0, .lameTag = false}, Unchanged,
                    false, true, Length::kWithEncoderGap},
        MeasureCase{"PlainCbr", 3.0, kPlainCbr, Unchanged, false, true, Length::kWithEncoderGap},
        MeasureCase{"PlainMonoMpeg2", 5.0, kPlainMonoMpeg2, Unchanged, false, true, Length::kWithEncoderGap},
        MeasureCase{"PlainMpeg25", 5.0, kPlainMpeg25, Unchanged, false, true, Length::kWhatIsThere},
        MeasureCase{"PlainVbrBehindId3v2", 5.0, kPlainVbr, WithId3v2, false, true, Length::kWhatIsThere},
        MeasureCase{"PlainVbrBeforeId3v1", 5.0, kPlainVbr, WithId3v1, false, true, Length::kWhatIsThere},
        MeasureCase{"PlainVbrBetweenBothTags", 5.0, kPlainVbr, WithBothTags, false, true, Length::kWhatIsThere},
        // Plain streams the walk cannot vouch for.
        MeasureCase{"PlainVbrCutMidFrame", 5.0, kPlainVbr, CutMidFrame, false, false, Length::kWhatIsThere},
        MeasureCase{"PlainCbrCutMidFrame", 5.0, kPlainCbr, CutMidFrame, false, false, Length::kWhatIsThere},
        MeasureCase{"PlainVbrCutMidFrameBeforeId3v1", 5.0, kPlainVbr, CutMidFrameBeforeId3v1, false, false,
                    Length::kWhatIsThere},
        MeasureCase{"PlainVbrJunkMidway", 5.0, kPlainVbr, JunkMidway, false, false, Length::kWhatIsThere},
        MeasureCase{"PlainVbrJunkAtEnd", 5.0, kPlainVbr, JunkAtEnd, false, false, Length::kWhatIsThere},
        MeasureCase{"PlainVbrJunkBeforeFirstFrame", 5.0, kPlainVbr, JunkBeforeFirstFrame, false, false,
                    Length::kWhatIsThere},
        MeasureCase{"PlainCbrFewFrames", 5.0, kPlainCbr, FewFrames, false, false, Length::kWhatIsThere}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace tunekist
