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

using namespace std::string_literals;

TEST(ScanTool, ListsInOrderWithExactDurationsAndTellsFailuresOnStandardErrorOnly) {
    const test::ScratchFolder folder("scan");
    const test::ScratchFolder outputs("scan-output");
    test::CopyFile(test::CachedTone(1.5, 440), folder / "A.MP3");
    test::CopyFile(test::CachedTone(0.5, 440), folder / "caf\xe9.mp3");
    test::WriteBytes(folder / "broken.mp3", "not a song");
    test::WriteBytes(folder / "notities.txt", "not listed");
    // Names come out as the file system has them; a file not named .mp3 is not listed. 1.5 rounds
    // to 2, the broken file adds nothing, and 2 + 0.5 rounds to 2.
    const auto listing = [&](const std::string& separator) {
        const auto size = [&](const std::string& name) {
            return FormatByteCount(static_cast<std::int64_t>(std::filesystem::file_size(folder / name)), separator);
        };
        return "A.MP3\t00:02\t" + size("A.MP3") +
               "\t1.500000\nbroken.mp3\t00:00\t010\terror: Geen MP3-geluid in het bestand\n" + "caf\xe9.mp3\t00:00\t" +
               size("caf\xe9.mp3") + "\t0.500000\ntotal\tTotaal : 00:00:02\t3\n";
    };
    const std::string listed = "'" + folder.Path() + "'";
    const struct {
        std::string arguments;  // quoted for the shell
        const char* locale;
        int exitCode;
        std::string out;
        std::string err;  // a failure's reason follows it
    } runs[] = {
        {listed, "en_US.UTF-8", 0, listing(","), ""},
        {listed, "nl_NL.UTF-8", 0, listing("."), ""},
        {"'/no such folder'", "en_US.UTF-8", 1, "", "tunekist-scan: Map niet te lezen: /no such folder"},
        {"/dev/null", "en_US.UTF-8", 1, "", "tunekist-scan: Map niet te lezen: /dev/null"},
        {"", "en_US.UTF-8", 2, "", "usage: tunekist-scan FOLDER\n"},
        {"/tmp /tmp", "en_US.UTF-8", 2, "", "usage: tunekist-scan FOLDER\n"},
    };
    for (const auto& run : runs) {
        SCOPED_TRACE(run.arguments + " in " + run.locale);
        const int status = std::system(("LC_ALL="s + run.locale + " '" TUNEKIST_SCAN "' " + run.arguments + " >'" +
                                        (outputs / "out") + "' 2>'" + (outputs / "err") + "'")
                                           .c_str());
        EXPECT_EQ(WIFEXITED(status) ? WEXITSTATUS(status) : -1, run.exitCode);
        EXPECT_EQ(test::ReadBytes(outputs / "out"), run.out);
        const std::string err = test::ReadBytes(outputs / "err");
        EXPECT_EQ(run.exitCode == 0 ? err : err.substr(0, run.err.size()), run.err);
    }
}

}  // namespace
}  // namespace tunekist
