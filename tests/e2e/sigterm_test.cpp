// SIGTERM ends the program also while a song plays: the audio library, started by the first song,
// must not have taken the signal over. A child process plays a song and is sent the signal.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include "platform/engine/real_engine.h"
#include "tests/support/test_audio.h"

namespace tunekist::test {
namespace {

// The child plays the song and tells the parent through the pipe once it runs; then it waits to
// be ended. An alarm ends it otherwise, so that a signal taken over fails the test, not hangs it.
TEST(Sigterm, EndsTheProcessWhileASongPlays) {
    const std::string song = CachedTone(20.0, 440);
    int pipeEnds[2];
    ASSERT_EQ(pipe(pipeEnds), 0);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        setenv("SDL_AUDIODRIVER", "dummy", 1);
        IMediaControl engine = MakeRealEngineFactory()();
        engine->RenderFile(song);
        engine->Run();
        const char playing = engine->GetState(0) == StateRunning ? 'p' : 'x';
        if (write(pipeEnds[1], &playing, 1) != 1) _exit(3);
        alarm(60);
        for (;;) pause();
    }
    close(pipeEnds[1]);
    char state = 0;
    ASSERT_EQ(read(pipeEnds[0], &state, 1), 1);
    close(pipeEnds[0]);
    EXPECT_EQ(state, 'p');

    ASSERT_EQ(kill(child, SIGTERM), 0);
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFSIGNALED(status)) << "exit status " << WEXITSTATUS(status);
    EXPECT_EQ(WTERMSIG(status), SIGTERM);
}

}  // namespace
}  // namespace tunekist::test
