// Every way of measuring a song ends in what playing it yields. The LAME tag is believed only
// where the file proves it covers the whole stream, the header walk of a plain stream vouches
// only where decoding yields exactly its count, and every file either refuses is measured by
// libmpg123's scan; in each case the engine reports the length a full decode gives. Measuring an
// unchanged file again costs a stat; a changed, replaced or vanished file is measured afresh.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

#include "platform/engine/mpg123_decoder.h"
#include "platform/engine/plain_stream.h"
#include "platform/engine/real_engine.h"
#include "platform/engine/tag_check.h"
#include "tests/support/corpus.h"
#include "tests/support/scratch_folder.h"
#include "tests/support/test_audio.h"

namespace tunekist {
namespace {

using test::ToneOptions;
using Bytes = std::string;
using namespace std::string_literals;

// An ID3v2.3 tag of `bytes` bytes of padding after its ten-byte header.
Bytes Id3v2(int bytes) {
    Bytes tag = {'I', 'D', '3', 3, 0, 0};
    for (int shift : {21, 14, 7, 0}) tag += static_cast<char>((bytes >> shift) & 0x7F);
    return tag + Bytes(static_cast<std::size_t>(bytes), '\0');
}
const Bytes kId3v1 = "TAG" + Bytes(125, ' ');

// The song with the field `at` bytes into the Xing or Info tag of its first frame (MPEG-1 stereo,
// no ID3v2 tag) moved by `change`: 8 is its frame count, 12 its byte count (the file's size).
Bytes WithTagField(Bytes song, std::size_t at, std::int64_t change) {
    constexpr std::size_t kTagAt = 4 + 32;
    EXPECT_TRUE(song.substr(kTagAt, 4) == "Xing" || song.substr(kTagAt, 4) == "Info");
    std::uint32_t value = 0;
    for (int i = 0; i < 4; ++i) value = (value << 8) | static_cast<unsigned char>(song[kTagAt + at + i]);
    value = static_cast<std::uint32_t>(value + change);
    for (int i = 0; i < 4; ++i) song[kTagAt + at + i] = static_cast<char>(value >> (24 - 8 * i));
    return song;
}
Bytes CutMidFrame(const Bytes& song) { return song.substr(0, song.size() * 2 / 3 + 7); }

// Tags written after the audio, each with its size field moved by `lie` bytes.
Bytes LittleEndian(std::uint32_t value) {
    Bytes bytes;
    for (int i = 0; i < 4; ++i) bytes += static_cast<char>(value >> (8 * i));
    return bytes;
}
Bytes Ape(std::uint32_t version, bool header, std::int64_t lie, const Bytes& gain = "-6.20 dB") {
    const Bytes items = LittleEndian(static_cast<std::uint32_t>(gain.size())) + LittleEndian(0) +
                        "REPLAYGAIN_TRACK_GAIN" + '\0' + gain + LittleEndian(7) + LittleEndian(0) + "MP3GAIN_MINMAX" +
                        '\0' + "120,210";
    const auto mark = [&](std::uint32_t flags, std::int64_t bytes) {
        return "APETAGEX" + LittleEndian(version) + LittleEndian(static_cast<std::uint32_t>(bytes)) + LittleEndian(2) +
               LittleEndian(flags) + Bytes(8, '\0');
    };
    const std::int64_t bytes = static_cast<std::int64_t>(items.size()) + 32;
    return (header ? mark(0xA0000000, bytes) : "") + items + mark(header ? 0x80000000 : 0, bytes + lie);
}
Bytes Lyrics3v2(std::int64_t lie, const Bytes& lyrics = "[00:01]la la") {
    const std::string lyricsSize = std::to_string(100000 + lyrics.size()).substr(1);
    const Bytes tag = "LYRICSBEGININD0000210LYR" + lyricsSize + lyrics;
    const std::string size = std::to_string(static_cast<std::int64_t>(tag.size()) + lie);
    return tag + Bytes(6 - std::min<std::size_t>(6, size.size()), '0') + size.substr(0, 6) + "LYRICS200";
}
Bytes Id3v24AtEnd(std::int64_t lie, const Bytes& content = Bytes(40, '\0')) {
    const auto mark = [](const char* name, std::int64_t bytes) {
        Bytes tag = Bytes(name) + '\4' + '\0' + '\x10';
        for (int shift : {21, 14, 7, 0}) tag += static_cast<char>((bytes >> shift) & 0x7F);
        return tag;
    };
    const auto bytes = static_cast<std::int64_t>(content.size());
    return mark("ID3", bytes) + content + mark("3DI", bytes + lie);
}
// Three frames of silence: what libmpg123 decodes when it meets them in a tag it walks through.
const Bytes kFrames = []() {
    const Bytes frame = "\xFF\xFB\x10\xC4" + Bytes(100, '\0');
    return frame + frame + frame;
}();
const Bytes kLyrics3v1 = "LYRICSBEGIN[00:01]la la laLYRICSEND";
// The song less its last frame's bytes: a size this much too large points the tag's start at a
// frame boundary inside the audio.
std::int64_t LastFrameBytes(const Bytes& song) {
    return static_cast<std::int64_t>(song.size() - song.rfind("\xFF\xFB"));
}

enum class Expect {
    kTagProven,  // the tag gives the length: exactly the encoded samples, delay and padding removed
    kWalked,     // the header walk gives it, the encoder's delay and padding heard too
    kScanned,    // neither shortcut may be taken; whatever a full decode yields
    kRefused,    // no MPEG audio
};

struct MeasureCase {
    std::string name;
    ToneOptions options;
    std::function<Bytes(const Bytes& song)> edit;  // none for the song as encoded
    Expect expect;
};

constexpr ToneOptions kCbr{};
constexpr ToneOptions kVbr{.vbr = true};
constexpr ToneOptions kPlainCbr{.lameTag = false};
constexpr ToneOptions kPlainVbr{.vbr = true, .lameTag = false};
using enum Expect;

const MeasureCase kCases[] = {
    // Tagged songs of each MPEG version and channel mode, bare and between ID3 tags.
    {"Cbr128Stereo", kCbr, nullptr, kTagProven},
    {"Cbr64Mono22050", {.sampleRate = 22050, .channels = 1, .bitrateKbps = 64}, nullptr, kTagProven},
    {"VbrStereo", kVbr, nullptr, kTagProven},
    {"VbrMono48000", {.sampleRate = 48000, .channels = 1, .vbr = true}, nullptr, kTagProven},
    {"VbrStereo16000", {.sampleRate = 16000, .vbr = true}, nullptr, kTagProven},
    {"VbrBetweenBothTags", kVbr, [](const Bytes& s) { return Id3v2(20) + s + kId3v1; }, kTagProven},
    // Tags that lie about the file as it is now: joined songs, byte counts, files cut short.
    {"VbrJoinedTwice", kVbr, [](const Bytes& s) { return s + s; }, kScanned},
    {"CountBeyondFile", kVbr, [](const Bytes& s) { return WithTagField(s, 12, 100000); }, kScanned},
    // Counts where a frame ends but another follows, and where the file ends mid-frame, frames and bytes agreeing.
    {"CountShortOfLastFrame", kVbr, [](const Bytes& s) { return WithTagField(s, 12, s.rfind("\xFF\xFB") - s.size()); },
     kScanned},
    {"CountToAFileCutMidFrame", kVbr,
     [](const Bytes& s) { return WithTagField(WithTagField(s.substr(0, s.size() - 100), 12, -100), 8, -1); }, kScanned},
    // Frame counts the bytes cannot hold: damaged far beyond them, or a frame or two off a CBR stream.
    {"VbrFrameCountDamaged", kVbr, [](const Bytes& s) { return WithTagField(s, 8, 0x7FFFFF00); }, kScanned},
    {"CbrFrameCountTwoMore", kCbr, [](const Bytes& s) { return WithTagField(s, 8, 2); }, kScanned},
    {"CbrFrameCountOneLess", kCbr, [](const Bytes& s) { return WithTagField(s, 8, -1); }, kScanned},
    {"CbrCutToAThird", kCbr, [](const Bytes& s) { return s.substr(0, s.size() / 3); }, kScanned},
    {"VbrCutToAThird", kVbr, [](const Bytes& s) { return s.substr(0, s.size() / 3); }, kScanned},
    {"VbrCutShortOfItsEnd", kVbr, [](const Bytes& s) { return s.substr(0, s.size() * 99 / 100); }, kScanned},
    // Plain streams of each MPEG version, bare and between ID3 tags.
    {"PlainVbr", kPlainVbr, nullptr, kWalked},
    {"PlainVbrBestQuality", {.vbr = true, .vbrQuality = 0, .lameTag = false}, nullptr, kWalked},
    {"PlainCbr", kPlainCbr, nullptr, kWalked},
    {"PlainMonoMpeg2", {.sampleRate = 22050, .channels = 1, .vbr = true, .lameTag = false}, nullptr, kWalked},
    {"PlainMpeg25", {.sampleRate = 8000, .channels = 1, .bitrateKbps = 16, .lameTag = false}, nullptr, kWalked},
    {"PlainVbrBehindId3v2", kPlainVbr, [](const Bytes& s) { return Id3v2(3000) + s; }, kWalked},
    {"PlainCbrBetweenBothTags", kPlainCbr, [](const Bytes& s) { return Id3v2(20) + s + kId3v1; }, kWalked},
    // Plain streams the walk cannot vouch for.
    {"PlainVbrCutMidFrame", kPlainVbr, CutMidFrame, kScanned},
    {"PlainCbrCutMidFrame", kPlainCbr, CutMidFrame, kScanned},
    {"PlainVbrCutMidFrameBeforeId3v1", kPlainVbr, [](const Bytes& s) { return CutMidFrame(s) + kId3v1; }, kScanned},
    {"PlainVbrJunkMidway", kPlainVbr,
     [](const Bytes& s) { return s.substr(0, s.size() / 2) + Bytes(700, 'U') + s.substr(s.size() / 2); }, kScanned},
    {"PlainVbrJunkAtEnd", kPlainVbr, [](const Bytes& s) { return s + Bytes(300, '\0'); }, kScanned},
    // The tags taggers append, in the orders they write them, and the same with a size that lies.
    {"VbrApeBeforeId3v1", kVbr, [](const Bytes& s) { return s + Ape(2000, true, 0) + kId3v1; }, kTagProven},
    {"CbrApeLyricsId3v1", kCbr, [](const Bytes& s) { return s + Ape(2000, true, 0) + Lyrics3v2(0) + kId3v1; },
     kTagProven},
    {"VbrLyricsApeNoHeader", kVbr, [](const Bytes& s) { return s + Lyrics3v2(0) + Ape(2000, false, 0); }, kTagProven},
    {"VbrId3v24AtEnd", kVbr, [](const Bytes& s) { return s + Id3v24AtEnd(0) + kId3v1; }, kTagProven},
    // A ReplayGain tool's APE tag after an ID3v2 tag that hides an older APE tag.
    {"VbrApeId3v24Ape", kVbr,
     [](const Bytes& s) { return s + Ape(2000, true, 0) + Id3v24AtEnd(0) + Ape(2000, true, 0); }, kTagProven},
    {"PlainVbrApe1", kPlainVbr, [](const Bytes& s) { return s + Ape(1000, false, 0); }, kWalked},
    {"PlainVbrLyrics3v1Id3v1", kPlainVbr, [](const Bytes& s) { return s + kLyrics3v1 + kId3v1; }, kWalked},
    {"PlainVbrLyrics3v1NoId3v1", kPlainVbr, [](const Bytes& s) { return s + kLyrics3v1; }, kScanned},
    // Frames inside a tag: libmpg123 skips an ID3v2 tag and an APE tag with a header, and decodes
    // what it finds in any other.
    {"PlainVbrLyricsHoldingFrames", kPlainVbr, [](const Bytes& s) { return s + Lyrics3v2(0, kFrames); }, kScanned},
    {"PlainVbrApeNoHeaderHoldingFrames", kPlainVbr, [](const Bytes& s) { return s + Ape(2000, false, 0, kFrames); },
     kScanned},
    {"PlainVbrApeHoldingFrames", kPlainVbr, [](const Bytes& s) { return s + Ape(2000, true, 0, kFrames); }, kWalked},
    {"PlainVbrId3v24HoldingFrames", kPlainVbr, [](const Bytes& s) { return s + Id3v24AtEnd(0, kFrames); }, kWalked},
    {"PlainVbrJunkBeforeFirstFrame", kPlainVbr, [](const Bytes& s) { return Bytes(100, '\0') + s; }, kScanned},
    {"PlainCbrFewFrames", kPlainCbr, [](const Bytes& s) { return s.substr(0, 3 * 418); }, kScanned},
    // Files without MPEG audio.
    {"Empty", kCbr, [](const Bytes&) { return Bytes(); }, kRefused},
    {"Text", kCbr, [](const Bytes&) { return Bytes("not a song"); }, kRefused},
    {"Noise", kCbr, [](const Bytes&) { return Bytes(5000, 'U'); }, kRefused},
    {"TagsOnly", kCbr, [](const Bytes&) { return Id3v2(500) + kId3v1; }, kRefused},
};

// Each trailing tag with a size one byte off either way, larger than the file, and one frame too
// large (its start then lies where the last frame starts).
std::vector<MeasureCase> LyingTagCases() {
    const std::pair<const char*, Bytes (*)(std::int64_t)> tags[] = {
        {"Ape2", [](std::int64_t lie) { return Ape(2000, true, lie); }},
        {"Ape2NoHeader", [](std::int64_t lie) { return Ape(2000, false, lie); }},
        {"Ape1", [](std::int64_t lie) { return Ape(1000, false, lie); }},
        {"Lyrics3v2", [](std::int64_t lie) { return Lyrics3v2(lie); }},
        {"Id3v24", [](std::int64_t lie) { return Id3v24AtEnd(lie); }}};
    std::vector<MeasureCase> cases;
    for (const auto& [name, tag] : tags) {
        for (const std::int64_t lie : {1, -1, 900000}) {
            cases.push_back(
                {name + std::to_string(lie), kPlainCbr, [tag, lie](const Bytes& s) { return s + tag(lie); }, kScanned});
        }
        cases.push_back(
            {name + "IntoAudio"s, kPlainCbr, [tag](const Bytes& s) { return s + tag(LastFrameBytes(s)); }, kScanned});
        cases.push_back({name, kPlainCbr, [tag](const Bytes& s) { return s + tag(0); }, kWalked});
    }
    return cases;
}

TEST(Measuring, OnlyAProvenShortcutIsTakenAndTheLengthIsTheDecodedOne) {
    std::vector<MeasureCase> cases(std::begin(kCases), std::end(kCases));
    for (MeasureCase& lying : LyingTagCases()) cases.push_back(std::move(lying));
    for (const MeasureCase& song : cases) {
        SCOPED_TRACE(song.name);
        const test::ScratchFolder folder("measure");
        const std::string path = folder / "song.mp3";
        const Bytes encoded = test::ReadBytes(test::CachedTone(3.0, 440, song.options));
        test::WriteBytes(path, song.edit ? song.edit(encoded) : encoded);
        EXPECT_EQ(TagCoversWholeStream(FileReader(path)), song.expect == Expect::kTagProven);
        EXPECT_EQ(LameTagLength(FileReader(path)).has_value(), song.expect == Expect::kTagProven);
        const auto walked = PlainStreamLength(FileReader(path));
        EXPECT_EQ(walked.has_value(), song.expect == Expect::kWalked);
        IMediaControl engine = MakeRealEngineFactory()();
        if (song.expect == Expect::kRefused) {
            EXPECT_THROW(engine->RenderFile(path), EngineError);
            continue;
        }
        Mpg123Decoder decoder(path);
        const std::int64_t frames = decoder.DecodeLength();
        const std::int64_t samples = 3 * decoder.SampleRate();
        engine->RenderFile(path);
        EXPECT_EQ(engine->get_Duration(), static_cast<double>(frames) / static_cast<double>(decoder.SampleRate()));
        if (walked) {
            EXPECT_EQ(*walked, frames);
            // The encoder's delay and padding come to less than three MPEG-1 frames' samples.
            EXPECT_GT(frames, samples);
            EXPECT_LT(frames, samples + 3 * 1152);
        } else if (song.expect == Expect::kTagProven) {
            EXPECT_EQ(frames, samples);
        }
    }
}

// Every file of the real-world corpus either gets its exact decoded length or a clean EngineError.
// One test walks the whole table: a process per file would cost more than measuring it.
TEST(Corpus, EveryFileLastsItsFullDecodeOrFailsCleanly) {
    if (!test::HaveCorpus()) GTEST_SKIP() << test::NoCorpus();
    for (const test::CorpusFile& file : test::ReadCorpusTable()) {
        SCOPED_TRACE(file.name);
        const std::string path = test::kCorpus + "/" + file.name;
        IMediaControl engine = MakeRealEngineFactory()();
        try {
            engine->RenderFile(path);
        } catch (const EngineError& error) {
            // Only a file in which the reference decoder found no sample may be refused.
            EXPECT_TRUE(file.seconds.empty() || std::stod(file.seconds) == 0.0) << error.what();
            continue;
        }
        Mpg123Decoder decoder(path);
        const double rate = static_cast<double>(decoder.SampleRate());
        EXPECT_EQ(engine->get_Duration(), static_cast<double>(decoder.DecodeLength()) / rate);
        if (!file.seconds.empty()) {
            // The reference is written with six decimals; one sample frame of slack covers that.
            EXPECT_NEAR(engine->get_Duration(), std::stod(file.seconds), 1.0 / rate + 1e-6);
        }
    }
}

TEST(DurationCache, MeasuresAgainOnlyWhatChanged) {
    const test::ScratchFolder folder("cache");
    const std::string song = folder / "song.mp3";
    const auto replace = [&](double seconds) {
        test::CopyFile(test::CachedTone(seconds, 440), song + ".new");
        std::filesystem::rename(song + ".new", song);
    };
    const struct {
        const char* what;
        std::function<void()> change;  // done before measuring
        double seconds;                // what is measured; 0 when measuring fails
        std::int64_t reads;            // the files read for it
    } steps[] = {
        {"new", [&] { test::CopyFile(test::CachedTone(1.0, 440), song); }, 1.0, 1},
        {"unchanged", [] {}, 1.0, 0},
        {"cache cleared", [] { DurationCache::Instance().Clear(); }, 1.0, 1},
        {"rewritten in place", [&] { test::CopyFile(test::CachedTone(2.0, 440), song); }, 2.0, 1},
        {"replaced by renaming", [&] { replace(0.5); }, 0.5, 1},
        {"vanished", [&] { std::filesystem::remove(song); }, 0.0, 0},
    };
    for (const auto& step : steps) {
        SCOPED_TRACE(step.what);
        step.change();
        const std::int64_t reads = DurationCache::Instance().FilesRead();
        IMediaControl engine = MakeRealEngineFactory()();
        if (step.seconds == 0.0) {
            EXPECT_THROW(engine->RenderFile(song), EngineError);
        } else {
            engine->RenderFile(song);
            EXPECT_EQ(engine->get_Duration(), step.seconds);
        }
        EXPECT_EQ(DurationCache::Instance().FilesRead(), reads + step.reads);
    }
}

}  // namespace
}  // namespace tunekist
