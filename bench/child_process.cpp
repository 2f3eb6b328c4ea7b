#include "bench/child_process.h"

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <ctime>
#include <stdexcept>

namespace tunekist::bench {

namespace {

// Owns both ends of a pipe.
struct Pipe {
    int ends[2] = {-1, -1};
    Pipe() {
        if (pipe2(ends, O_CLOEXEC) != 0) throw std::runtime_error("pipe failed");
    }
    ~Pipe() {
        for (int end : ends) {
            if (end >= 0) close(end);
        }
    }
    Pipe(const Pipe&) = delete;
    Pipe& operator=(const Pipe&) = delete;
    void CloseWriteEnd() {
        close(ends[1]);
        ends[1] = -1;
    }
};

[[noreturn]] void ExecChild(const std::vector<std::string>& arguments, const ChildOptions& options, int outputFd) {
    for (const auto& [name, value] : options.environment) setenv(name.c_str(), value.c_str(), 1);
    const int devNull = open("/dev/null", O_RDWR);
    dup2(devNull, STDIN_FILENO);
    dup2(options.keepOutput ? outputFd : devNull, STDOUT_FILENO);
    dup2(devNull, STDERR_FILENO);
    std::vector<char*> argv;
    for (const auto& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    execvp(argv[0], argv.data());
    _exit(127);
}

double Seconds(const timeval& time) {
    return static_cast<double>(time.tv_sec) + static_cast<double>(time.tv_usec) * 1e-6;
}

}  // namespace

double Now() { return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count(); }

double CpuNow() {
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

void Spread::Add(const Cost& cost) {
    best = {std::min(best.wall, cost.wall), std::min(best.cpu, cost.cpu)};
    worst = {std::max(worst.wall, cost.wall), std::max(worst.cpu, cost.cpu)};
}

ChildRun RunChild(const std::vector<std::string>& arguments, const ChildOptions& options) {
    Pipe output;
    const double start = Now();
    const pid_t child = fork();
    if (child < 0) throw std::runtime_error("fork failed");
    if (child == 0) ExecChild(arguments, options, output.ends[1]);
    output.CloseWriteEnd();
    ChildRun run;
    char buffer[4096];
    for (ssize_t got; (got = read(output.ends[0], buffer, sizeof buffer)) != 0;) {
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) break;
        run.output.append(buffer, static_cast<std::size_t>(got));
    }
    int status = 0;
    rusage usage{};
    while (wait4(child, &status, 0, &usage) < 0 && errno == EINTR) {}
    run.wallSeconds = Now() - start;
    run.cpuSeconds = Seconds(usage.ru_utime) + Seconds(usage.ru_stime);
    run.peakRssKb = usage.ru_maxrss;
    run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    if (run.exitCode == 127) throw std::runtime_error("cannot run " + arguments.front());
    return run;
}

}  // namespace tunekist::bench
