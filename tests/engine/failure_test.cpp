// Files that hold no MPEG audio, or are no files at all, fail RenderFile cleanly and never block.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <functional>

#include "platform/engine/real_engine.h"
#include "tests/support/test_audio.h"

namespace tunekist {
namespace {

struct BadFile {
    const char* name;
    std::function<void(const std::string& path)> make;
};

void PrintTo(const BadFile& value, std::ostream* out) { *out << value.name; }


std::string JpegLikeBytes() {
    std::string bytes("\xFF\xD8\xFF\xE0\x00\x10JFIF\x00\x01\x01\x00\x00\x01\x00\x01\x00\x00", 20);
    for (int i = 0; i < 2000; ++i) bytes += static_cast<char>((i * 37) % 251);
    return bytes + "\xFF\xD9";
}

class BadFileTest : public ::testing::TestWithParam<BadFile> {};

TEST_P(BadFileTest, RenderFileFailsWithReadableTextAndEngineStaysIdle) {
    const std::string path =
        testing::TempDir() + "/bad_" + GetParam().name + std::to_string(getpid()) + ".mp3";
    std::filesystem::remove_all(path);
    GetParam().make(path);
    IMediaControl engine = MakeRealEngineFactory()();
    try {
        engine->RenderFile(path);
        ADD_FAILURE() << "RenderFile accepted " << GetParam().name;
    } catch (const EngineError& error) {
        EXPECT_GE(std::string(error.what()).size(), 5u);
    }
    EXPECT_EQ(engine->get_Duration(), 0.0);
    EXPECT_EQ(engine->GetState(0), StateStopped);
    EXPECT_THROW(engine->Run(), EngineError);
    std::filesystem::remove_all(path);
}

INSTANTIATE_TEST_SUITE_P(
    Files, BadFileTest,
    ::testing::Values(
        BadFile{"ZeroBytes", [](const std::string& p) { test::WriteBytes(p, ""); }},
        BadFile{"Text", [](const std::string& p) { test::WriteBytes(p, "Dit is geen muziek.\n"); }},
        BadFile{"Jpeg", [](const std::string& p) { test::WriteBytes(p, JpegLikeBytes()); }},
        BadFile{"Missing", [](const std::string&) {}},
        BadFile{"Directory", [](const std::string& p) { std::filesystem::create_directory(p); }},
        // Opening a FIFO for reading would wait for a writer forever.
        BadFile{"Fifo", [](const std::string& p) { ASSERT_EQ(mkfifo(p.c_str(), 0600), 0); }}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace tunekist
