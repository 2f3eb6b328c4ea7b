// tunekist-scan prints what the song list shows, with the exact durations the engine measured, in
// the grouping of the locale it runs in; a folder it cannot list, or a wrong command line, is told
// on standard error alone.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>

#include "library/size_text.h"
#include "tests/support/scratch_folder.h"
#include "tests/support/test_audio.h"

namespace tunekist {
namespace {

struct ScanRun {
    int exitCode = -1;
    std::string out;
    std::string err;
};

// Runs the tool with `arguments` (quoted for the shell) in `locale`, its output caught in files.
ScanRun RunScan(const std::string& arguments, const std::string& locale) {
    const test::ScratchFolder outputs("scan-output");
    const int status = std::system(("LC_ALL=" + locale + " '" TUNEKIST_SCAN "' " + arguments + " >'" +
                                    (outputs / "out") + "' 2>'" + (outputs / "err") + "'")
                                       .c_str());
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, test::ReadBytes(outputs / "out"),
            test::ReadBytes(outputs / "err")};
}

TEST(ScanTool, ListsAGeneratedFolderInOrderWithExactDurationsAndTotal) {
    const test::ScratchFolder folder("scan");
    std::filesystem::create_directories(folder / "sub.mp3");
    const std::pair<std::string, double> songs[] = {
        {"A.MP3", 1.5}, {"b song.mp3", 2.0}, {"caf\xe9.mp3", 0.5}, {".hidden.mp3", 0.5}, {"notes.txt", 0.5}};
    for (const auto& [name, seconds] : songs) test::CopyFile(test::CachedTone(seconds, 440), folder / name);
    test::WriteBytes(folder / "broken.mp3", "not a song");
    for (const auto& [locale, separator] : {std::pair{"en_US.UTF-8", ","}, {"nl_NL.UTF-8", "."}}) {
        SCOPED_TRACE(locale);
        const auto size = [&](const std::string& name) {
            return FormatByteCount(static_cast<std::int64_t>(std::filesystem::file_size(folder / name)), separator);
        };
        const ScanRun run = RunScan("'" + folder.Path() + "'", locale);
        EXPECT_EQ(run.exitCode, 0);
        EXPECT_EQ(run.err, "");
        // Bytes that are not UTF-8 come out as they are. 1.5 rounds to 2, the broken file adds
        // nothing, 2 + 2.0 is 4 and 4 + 0.5 rounds to 4.
        EXPECT_EQ(run.out,
                  "A.MP3\t00:02\t" + size("A.MP3") + "\t1.500000\n" + "b song.mp3\t00:02\t" + size("b song.mp3") +
                      "\t2.000000\n" + "broken.mp3\t00:00\t010\terror: Geen MP3-geluid in het bestand\n" +
                      "caf\xe9.mp3\t00:00\t" + size("caf\xe9.mp3") + "\t0.500000\n" + "total\tTotaal : 00:00:04\t4\n");
    }
}

TEST(ScanTool, FailsOnStandardErrorOnly) {
    const struct {
        const char* arguments;
        int exitCode;
        std::string err;  // the start of what is told
    } failures[] = {
        {"'/no such folder'", 1, "tunekist-scan: Map niet te lezen: /no such folder"},
        {"/dev/null", 1, "tunekist-scan: Map niet te lezen: /dev/null"},
        {"", 2, "usage: tunekist-scan FOLDER\n"},
        {"/tmp /tmp", 2, "usage: tunekist-scan FOLDER\n"},
    };
    for (const auto& failure : failures) {
        SCOPED_TRACE(failure.arguments);
        const ScanRun run = RunScan(failure.arguments, "en_US.UTF-8");
        EXPECT_EQ(run.exitCode, failure.exitCode);
        EXPECT_EQ(run.out, "");
        EXPECT_EQ(run.err.substr(0, failure.err.size()), failure.err);
    }
}

}  // namespace
}  // namespace tunekist
