// Every way of measuring a song ends in what playing it yields. The LAME tag is believed only
// where the file proves it covers the whole stream, the header walk of a plain stream only where
// decoding yields exactly its count, and libmpg123's scan measures every file both refuse.
// Measuring an unchanged file again costs a stat; a changed, replaced or vanished file is measured afresh.
#include <gtest/gtest.h>

#include <array>
#include <cstdlib>
#include <filesystem>
#include <functional>

#include "platform/engine/chunk_window.h"
#include "platform/engine/frame_header.h"
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

// An ID3v2 header or footer mark of `bytes` bytes of content, the size in seven bits a byte.
Bytes Id3Mark(const char* name, char version, char flags, std::int64_t bytes) {
    Bytes mark = Bytes(name) + version + '\0' + flags;
    for (int shift : {21, 14, 7, 0}) mark += static_cast<char>((bytes >> shift) & 0x7F);
    return mark;
}
Bytes Id3v2(int bytes) { return Id3Mark("ID3", 3, 0, bytes) + Bytes(static_cast<std::size_t>(bytes), '\0'); }
const Bytes kId3v1 = "TAG" + Bytes(125, ' ');

// The song with the field `at` bytes into the Xing or Info tag of its first frame (MPEG-1 stereo,
// no ID3v2 tag) moved by `change`: 8 is its frame count, 12 its byte count (the file's size).
Bytes WithTagField(Bytes song, std::size_t at, std::int64_t change) {
    EXPECT_TRUE(song.substr(4 + 32, 4) == "Xing" || song.substr(4 + 32, 4) == "Info");
    const std::size_t field = 4 + 32 + at;
    std::uint32_t value = 0;
    for (int i = 0; i < 4; ++i) value = (value << 8) | static_cast<unsigned char>(song[field + i]);
    for (int i = 0; i < 4; ++i) song[field + i] = static_cast<char>((value + change) >> (24 - 8 * i));
    return song;
}
Bytes CutMidFrame(const Bytes& song) { return song.substr(0, song.size() * 2 / 3 + 7); }

// Tags written after the audio, each with its size field moved by `lie` bytes.
Bytes LittleEndian(std::int64_t value) {
    return {static_cast<char>(value), static_cast<char>(value >> 8), static_cast<char>(value >> 16),
            static_cast<char>(value >> 24)};
}
Bytes Ape(std::int64_t version, bool header, std::int64_t lie, const Bytes& gain = "-6.20 dB") {
    const Bytes items = LittleEndian(static_cast<std::int64_t>(gain.size())) + LittleEndian(0) +
                        "REPLAYGAIN_TRACK_GAIN" + '\0' + gain + LittleEndian(7) + LittleEndian(0) + "MP3GAIN_MINMAX" +
                        '\0' + "120,210";
    const auto mark = [&](std::int64_t flags, std::int64_t bytes) {
        return "APETAGEX" + LittleEndian(version) + LittleEndian(bytes) + LittleEndian(2) + LittleEndian(flags) +
               Bytes(8, '\0');
    };
    const auto bytes = static_cast<std::int64_t>(items.size()) + 32;
    return (header ? mark(0xA0000000, bytes) : "") + items + mark(header ? 0x80000000 : 0, bytes + lie);
}
Bytes Lyrics3v2(std::int64_t lie, const Bytes& lyrics = "[00:01]la la") {
    const Bytes tag = "LYRICSBEGININD0000210LYR" + std::to_string(100000 + lyrics.size()).substr(1) + lyrics;
    return tag + std::to_string(1000000 + static_cast<std::int64_t>(tag.size()) + lie).substr(1) + "LYRICS200";
}
Bytes Id3v24AtEnd(std::int64_t lie, const Bytes& content = Bytes(40, '\0')) {
    const auto bytes = static_cast<std::int64_t>(content.size());
    return Id3Mark("ID3", 4, 0x10, bytes) + content + Id3Mark("3DI", 4, 0x10, bytes + lie);
}
// Three frames of silence: what libmpg123 decodes when it meets them in a tag it walks through.
const Bytes kFrames = [](const Bytes& frame) { return frame + frame + frame; }("\xFF\xFB\x10\xC4" + Bytes(100, '\0'));
const Bytes kLyrics3v1 = "LYRICSBEGIN[00:01]la la laLYRICSEND";

enum class Expect {
    kTagProven,  // the tag gives the length: exactly the encoded samples, delay and padding removed
    kWalked,     // the header walk gives it, the encoder's delay and padding heard too
    kScanned,    // neither shortcut may be taken; whatever a full decode yields
    kRefused,    // no MPEG audio
};
using enum Expect;
using Edit = std::function<Bytes(const Bytes& song)>;

struct MeasureCase {
    std::string name;
    ToneOptions options;
    Edit edit;  // none for the song as encoded
    Expect expect;
};

constexpr ToneOptions kCbr{};
constexpr ToneOptions kVbr{.vbr = true};
constexpr ToneOptions kPlainCbr{.lameTag = false};
constexpr ToneOptions kPlainVbr{.vbr = true, .lameTag = false};

const MeasureCase kCases[] = {
    // Tagged songs of each MPEG version and channel mode, bare and between ID3 tags.
    {"Cbr128Stereo", kCbr, nullptr, kTagProven},
    {"Cbr64Mono22050", {.sampleRate = 22050, .channels = 1, .bitrateKbps = 64}, nullptr, kTagProven},
    {"VbrStereo16000", {.sampleRate = 16000, .vbr = true}, nullptr, kTagProven},
    {"VbrBetweenBothTags", kVbr, [](const Bytes& s) { return Id3v2(20) + s + kId3v1; }, kTagProven},
    // Behind a short ID3v2 tag the first frames come with the file's head; behind a long one, apart.
    {"CbrBehindShortId3v2", kCbr, [](const Bytes& s) { return Id3v2(300) + s; }, kTagProven},
    {"CbrBehindLongId3v2", kCbr, [](const Bytes& s) { return Id3v2(9000) + s; }, kTagProven},
    // Tags that lie about the file as it is now: joined songs, byte counts and frame counts the
    // bytes cannot hold, byte counts where a frame ends but another follows or where the file ends
    // mid-frame (frames and bytes agreeing), files cut short.
    {"VbrJoinedTwice", kVbr, [](const Bytes& s) { return s + s; }, kScanned},
    {"CountBeyondFile", kVbr, [](const Bytes& s) { return WithTagField(s, 12, 100000); }, kScanned},
    {"CountShort", kVbr, [](const Bytes& s) { return WithTagField(s, 12, s.rfind("\xFF\xFB") - s.size()); }, kScanned},
    {"CountToCut", kVbr,
     [](const Bytes& s) { return WithTagField(WithTagField(s, 12, -100), 8, -1).substr(0, s.size() - 100); }, kScanned},
    {"VbrFramesDamaged", kVbr, [](const Bytes& s) { return WithTagField(s, 8, 0x7FFFFF00); }, kScanned},
    {"CbrFramesTwoMore", kCbr, [](const Bytes& s) { return WithTagField(s, 8, 2); }, kScanned},
    {"CbrFramesOneLess", kCbr, [](const Bytes& s) { return WithTagField(s, 8, -1); }, kScanned},
    {"CbrCutToAThird", kCbr, [](const Bytes& s) { return s.substr(0, s.size() / 3); }, kScanned},
    {"VbrCutShortOfItsEnd", kVbr, [](const Bytes& s) { return s.substr(0, s.size() * 99 / 100); }, kScanned},
    // Plain streams of each MPEG version, bare and between ID3 tags, and those the walk cannot vouch for.
    {"PlainVbr", kPlainVbr, nullptr, kWalked},
    {"PlainMonoMpeg2", {.sampleRate = 22050, .channels = 1, .vbr = true, .lameTag = false}, nullptr, kWalked},
    {"PlainMpeg25", {.sampleRate = 8000, .channels = 1, .bitrateKbps = 16, .lameTag = false}, nullptr, kWalked},
    {"PlainVbrBehindId3v2", kPlainVbr, [](const Bytes& s) { return Id3v2(3000) + s; }, kWalked},
    {"PlainCbrBetweenBothTags", kPlainCbr, [](const Bytes& s) { return Id3v2(20) + s + kId3v1; }, kWalked},
    {"PlainVbrCutMidFrame", kPlainVbr, CutMidFrame, kScanned},
    {"PlainVbrCutMidFrameBeforeId3v1", kPlainVbr, [](const Bytes& s) { return CutMidFrame(s) + kId3v1; }, kScanned},
    {"PlainVbrJunkMidway", kPlainVbr, [](const Bytes& s) { return Bytes(s).insert(s.size() / 2, 700, 'U'); }, kScanned},
    {"PlainVbrJunkAtEnd", kPlainVbr, [](const Bytes& s) { return s + Bytes(300, '\0'); }, kScanned},
    {"PlainVbrJunkBeforeFirstFrame", kPlainVbr, [](const Bytes& s) { return Bytes(100, '\0') + s; }, kScanned},
    {"PlainCbrFewFrames", kPlainCbr, [](const Bytes& s) { return s.substr(0, 3 * 418); }, kScanned},
    {"Empty", kCbr, [](const Bytes&) { return Bytes(); }, kRefused},  // files without MPEG audio
    {"Noise", kCbr, [](const Bytes&) { return Bytes(5000, 'U'); }, kRefused},
    {"TagsOnly", kCbr, [](const Bytes&) { return Id3v2(500) + kId3v1; }, kRefused},
};

// What taggers append after the audio, in the orders they write it. Where the tail is understood
// a tagged song is measured by its tag and a plain one by the walk. libmpg123 skips an ID3v2 tag
// and an APE tag with a header, and decodes frames it finds in any other tag. Each tail that says
// its size also comes with that size one byte off either way, larger than the file, and one frame
// too large (its start then lies where the last frame starts), and is then not believed.
std::array<std::int64_t, 4> SizeLies(const Bytes& song) {
    return {1, -1, 900000, static_cast<std::int64_t>(song.size() - song.rfind("\xFF\xFB"))};
}
std::vector<MeasureCase> TrailingTagCases() {
    const struct {
        const char* name;
        Bytes (*tail)(std::int64_t lie);  // the same whatever the lie for a tail that says no size
        bool understood;
    } tails[] = {
        {"ApeId3v1", [](std::int64_t lie) { return Ape(2000, true, lie) + kId3v1; }, true},
        {"ApeLyricsId3v1", [](std::int64_t lie) { return Ape(2000, true, 0) + Lyrics3v2(lie) + kId3v1; }, true},
        {"LyricsApeNoHeader", [](std::int64_t lie) { return Lyrics3v2(0) + Ape(2000, false, lie); }, true},
        {"Ape1", [](std::int64_t lie) { return Ape(1000, false, lie); }, true},
        {"Id3v24Id3v1", [](std::int64_t lie) { return Id3v24AtEnd(lie) + kId3v1; }, true},
        {"ApeId3v24Ape", [](std::int64_t) { return Ape(2000, true, 0) + Id3v24AtEnd(0) + Ape(2000, true, 0); }, true},
        {"Lyrics3v1Id3v1", [](std::int64_t) { return kLyrics3v1 + kId3v1; }, true},
        {"Lyrics3v1", [](std::int64_t) { return kLyrics3v1; }, false},
        {"LyricsHoldingFrames", [](std::int64_t) { return Lyrics3v2(0, kFrames); }, false},
        {"ApeNoHeaderHoldingFrames", [](std::int64_t) { return Ape(2000, false, 0, kFrames); }, false},
        {"ApeHoldingFrames", [](std::int64_t) { return Ape(2000, true, 0, kFrames); }, true},
        {"Id3v24HoldingFrames", [](std::int64_t) { return Id3v24AtEnd(0, kFrames); }, true},
    };
    std::vector<MeasureCase> cases;
    for (const auto& [name, tail, understood] : tails) {
        const Edit append = [tail](const Bytes& s) { return s + tail(0); };
        cases.push_back({"Vbr"s + name, kVbr, append, understood ? kTagProven : kScanned});
        cases.push_back({"PlainCbr"s + name, kPlainCbr, append, understood ? kWalked : kScanned});
        for (std::size_t lie = 0; tail(1) != tail(0) && lie < 4; ++lie) {
            const Edit lying = [tail, lie](const Bytes& s) { return s + tail(SizeLies(s)[lie]); };
            cases.push_back({name + "Lie"s + std::to_string(lie), kPlainCbr, lying, kScanned});
        }
    }
    return cases;
}

TEST(Measuring, OnlyAProvenShortcutIsTakenAndTheLengthIsTheDecodedOne) {
    std::vector<MeasureCase> cases = TrailingTagCases();
    cases.insert(cases.end(), std::begin(kCases), std::end(kCases));
    for (const MeasureCase& song : cases) {
        SCOPED_TRACE(song.name);
        const test::ScratchFolder folder("measure");
        const std::string path = folder / "song.mp3";
        const Bytes encoded = test::ReadBytes(test::CachedTone(3.0, 440, song.options));
        test::WriteBytes(path, song.edit ? song.edit(encoded) : encoded);
        EXPECT_EQ(TagCoversWholeStream(FileReader(path)), song.expect == kTagProven);
        EXPECT_EQ(LameTagLength(FileReader(path)).has_value(), song.expect == kTagProven);
        const auto walked = PlainStreamLength(FileReader(path));
        EXPECT_EQ(walked.has_value(), song.expect == kWalked);
        IMediaControl engine = MakeRealEngineFactory()();
        if (song.expect == kRefused) {
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
        } else if (song.expect == kTagProven) {
            EXPECT_EQ(frames, samples);
        }
    }
}

// Every real-world file gets its exact decoded length or a clean EngineError; one test walks the
// whole table, as a process per file would cost more than measuring it.
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
        // The reference is written with six decimals; one sample frame of slack covers that.
        if (!file.seconds.empty()) {
            EXPECT_NEAR(engine->get_Duration(), std::stod(file.seconds), 1.0 / rate + 1e-6);
        }
    }
}

// A real song tagged by mp3gain (an APEv2 tag with the ReplayGain, written before any ID3v1 tag)
// is measured the way it was before: tag and walk shortcuts stay taken. Its length is what its
// decode yields, which is one frame more where the tag completes a last frame cut short.
TEST(Corpus, ReplayGainTaggedCopiesKeepTheirWayOfMeasuringAndAreExact) {
    if (!test::HaveCorpus()) GTEST_SKIP() << test::NoCorpus();
    if (std::system("command -v mp3gain >/dev/null") != 0) GTEST_SKIP() << "mp3gain is not installed";
    int shortcutsTagged = 0;
    for (const test::CorpusFile& file : test::ReadCorpusTable()) {
        if (file.seconds.empty() || std::stod(file.seconds) == 0.0) continue;  // no audio to measure
        SCOPED_TRACE(file.name);
        const std::string original = test::kCorpus + "/" + file.name;
        const test::ScratchFolder folder("replaygain");
        const std::string copy = folder / "song.mp3";
        test::WriteBytes(copy, test::ReadBytes(original));
        if (std::system(("mp3gain -q -s r '" + copy + "' >/dev/null 2>&1").c_str()) != 0 ||
            test::ReadBytes(copy).find("REPLAYGAIN_TRACK_GAIN") == Bytes::npos) {
            continue;  // mp3gain finds no Layer III audio in it
        }
        const bool proven = TagCoversWholeStream(FileReader(original));
        const auto walked = PlainStreamLength(FileReader(original));
        EXPECT_EQ(TagCoversWholeStream(FileReader(copy)), proven);
        EXPECT_EQ(PlainStreamLength(FileReader(copy)), walked);
        IMediaControl engine = MakeRealEngineFactory()();
        engine->RenderFile(copy);
        Mpg123Decoder decoder(copy);
        EXPECT_EQ(engine->get_Duration(),
                  static_cast<double>(decoder.DecodeLength()) / static_cast<double>(decoder.SampleRate()));
        if (proven || walked) ++shortcutsTagged;
    }
    EXPECT_GT(shortcutsTagged, 0);  // mp3gain tagged songs that have a shortcut to keep
}

// A window over the file hands out bytes behind the chunk it holds as readily as those ahead.
TEST(ChunkWindow, HandsOutTheBytesAtAnyOffsetAndNothingPastTheEnd) {
    const test::ScratchFolder folder("window");
    test::WriteBytes(folder / "bytes", Bytes(40, 'a') + "early" + Bytes(40, 'b') + "late!" + Bytes(10, 'c'));
    const FileReader reader(folder / "bytes");
    ChunkWindow window(reader, 90, 16);
    const auto at = [&](std::int64_t offset) {
        const unsigned char* got = window.At(offset, 5);
        return got ? Bytes(reinterpret_cast<const char*>(got), 5) : "none"s;
    };
    // Bytes before the chunk held, then past the end, though the file goes on (in this order).
    const std::vector<Bytes> got{at(85), at(40), at(86), at(-1)};
    EXPECT_EQ(got, (std::vector<Bytes>{"late!", "early", "none", "none"}));
}

// The walk's quick look at each header gives what parsing it whole and comparing it with the
// stream's first gives, for every byte the decision may hang on: the second and third bytes whole,
// the fourth's channel mode and emphasis, and a first byte that is no sync. The first headers:
// MPEG-1 stereo with a CRC, MPEG-1 mono, MPEG-2 joint stereo, MPEG-2.5 mono.
TEST(Measuring, TheWalksQuickLookAtAHeaderAgreesWithParsingIt) {
    using Header = std::array<unsigned char, 4>;
    for (const Header& first : {Header{0xFF, 0xFA, 0x90, 0x00}, Header{0xFF, 0xFB, 0x54, 0xC0},
                                Header{0xFF, 0xF3, 0x68, 0x40}, Header{0xFF, 0xE3, 0x18, 0xC4}}) {
        const FrameHeader stream = ParseLayer3Header(first.data()).value();
        const StreamFrames frames(first.data());
        int disagreements = 0;
        for (int bytes = 0; bytes < 2 * 256 * 256 * 10; ++bytes) {
            const int fourth = std::array{0x00, 0x01, 0x02, 0x03, 0x40, 0x82, 0xC0, 0xC1, 0xC2, 0xFF}[bytes % 10];
            const Header header{static_cast<unsigned char>(bytes < 256 * 256 * 10 ? 0xFF : 0x7F),
                                static_cast<unsigned char>(bytes / 2560), static_cast<unsigned char>(bytes / 10),
                                static_cast<unsigned char>(fourth)};
            const auto parsed = ParseLayer3Header(header.data());
            const auto expected = parsed && parsed->SameStreamAs(stream) ? std::optional(parsed->bytes) : std::nullopt;
            disagreements += frames.FrameBytes(header.data()) != expected ? 1 : 0;
        }
        EXPECT_EQ(disagreements, 0) << "after the first header " << int{first[1]} << " " << int{first[2]};
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
