// tunekist-scan prints what the song list shows, with the exact durations the engine measured, in
// the grouping of the locale it runs in.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <sstream>

#include "library/size_text.h"
#include "tests/support/test_audio.h"

namespace tunekist {
namespace {

namespace fs = std::filesystem;

struct ScanRun {
    int exitCode = -1;
    std::string out;
    std::string err;
};

// Runs the tool with `arguments` in locale `locale`, its output caught in files.
ScanRun RunScan(std::vector<std::string> arguments, const std::string& locale) {
    const std::string base = testing::TempDir() + "/scan" + std::to_string(getpid());
    arguments.insert(arguments.begin(), TUNEKIST_SCAN);
    std::vector<char*> argv;
    for (auto& argument : arguments) argv.push_back(argument.data());
    argv.push_back(nullptr);
    const pid_t child = fork();
    if (child == 0) {
        setenv("LC_ALL", locale.c_str(), 1);
        if (!std::freopen((base + ".out").c_str(), "w", stdout) || !std::freopen((base + ".err").c_str(), "w", stderr)) {
            _exit(126);
        }
        execv(argv[0], argv.data());
        _exit(127);
    }
    int status = 0;
    waitpid(child, &status, 0);
    ScanRun run{WIFEXITED(status) ? WEXITSTATUS(status) : -1, test::ReadBytes(base + ".out"),
                test::ReadBytes(base + ".err")};
    fs::remove(base + ".out");
    fs::remove(base + ".err");
    return run;
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::stringstream stream(text);
    for (std::string line; std::getline(stream, line);) lines.push_back(line);
    return lines;
}

std::string SizeOf(const std::string& path) { return FormatByteCount(static_cast<std::int64_t>(fs::file_size(path)), ","); }

TEST(ScanTool, GeneratedFolderListsSongsInOrderWithExactDurationsAndTotal) {
    const std::string folder = testing::TempDir() + "/scanfolder" + std::to_string(getpid());
    fs::remove_all(folder);
    fs::create_directories(folder + "/sub.mp3");
    fs::copy_file(test::CachedTone(1.5, 440), folder + "/A.MP3");
    fs::copy_file(test::CachedTone(2.0, 440), folder + "/b song.mp3");
    fs::copy_file(test::CachedTone(0.5, 440), folder + "/caf\xe9.mp3");
    fs::copy_file(test::CachedTone(0.5, 440), folder + "/.hidden.mp3");
    fs::copy_file(test::CachedTone(0.5, 440), folder + "/notes.txt");
    test::WriteBytes(folder + "/broken.mp3", "not a song");
    const ScanRun run = RunScan({folder}, "en_US.UTF-8");
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.err, "");
    const std::vector<std::string> lines = Lines(run.out);
    ASSERT_EQ(lines.size(), 5u) << run.out;
    EXPECT_EQ(lines[0], "A.MP3\t00:02\t" + SizeOf(folder + "/A.MP3") + "\t1.500000");
    EXPECT_EQ(lines[1], "b song.mp3\t00:02\t" + SizeOf(folder + "/b song.mp3") + "\t2.000000");
    EXPECT_EQ(lines[2].rfind("broken.mp3\t00:00\t010\terror: ", 0), 0u) << lines[2];
    EXPECT_GT(lines[2].size(), std::string("broken.mp3\t00:00\t010\terror: ").size());
    // Bytes that are not UTF-8 come out as they are.
    EXPECT_EQ(lines[3], "caf\xe9.mp3\t00:00\t" + SizeOf(folder + "/caf\xe9.mp3") + "\t0.500000");
    // 1.5 rounds to 2, the broken file adds nothing, 2 + 2.0 is 4 and 4 + 0.5 rounds to 4.
    EXPECT_EQ(lines[4], "total\tTotaal : 00:00:04\t4");
    fs::remove_all(folder);
}

TEST(ScanTool, MissingFolderFailsWithAMessageOnStandardErrorOnly) {
    const ScanRun run = RunScan({testing::TempDir() + "/no such folder"}, "en_US.UTF-8");
    EXPECT_NE(run.exitCode, 0);
    EXPECT_EQ(run.out, "");
    EXPECT_NE(run.err.find("no such folder"), std::string::npos) << run.err;
}

TEST(ScanTool, WrongCommandLineFailsWithUsage) {
    const ScanRun run = RunScan({}, "en_US.UTF-8");
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_EQ(run.out, "");
    EXPECT_NE(run.err.find("usage"), std::string::npos);
}

}  // namespace
}  // namespace tunekist
