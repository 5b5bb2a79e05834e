#include "game_frames/StartTimes.h"

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

extern char** environ;

namespace StartTimes {

namespace {

const char kChildVariable[] = "DROVALIN_BENCH_START_CHILD";
const char kLinePrefix[] = "first-logo-frame-ns ";

long long NowNs() {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

// One start; a negative result when it failed.
double StartOnce() {
    int out[2];
    if (::pipe(out) != 0) return -1;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, out[0]);
    posix_spawn_file_actions_addclose(&actions, out[1]);
    char program[] = "/proc/self/exe";
    char* argv[] = {program, nullptr};
    const long long start = NowNs();
    pid_t child = 0;
    const int spawned = posix_spawn(&child, program, &actions, nullptr, argv, environ);
    posix_spawn_file_actions_destroy(&actions);
    ::close(out[1]);
    std::string text;
    char buffer[256];
    for (ssize_t n; spawned == 0 && (n = ::read(out[0], buffer, sizeof buffer)) > 0;) text.append(buffer, size_t(n));
    ::close(out[0]);
    int status = 0;
    if (spawned == 0) ::waitpid(child, &status, 0);
    const size_t at = text.find(kLinePrefix);
    if (spawned != 0 || at == std::string::npos) return -1;
    const long long shown = std::atoll(text.c_str() + at + std::strlen(kLinePrefix));
    return double(shown - start) * 1e-9;
}

}  // namespace

bool IsChild() { return std::getenv(kChildVariable) != nullptr; }

void PrintFirstLogoFrame(std::chrono::steady_clock::time_point shown) {
    std::printf("%s%lld\n", kLinePrefix,
                (long long)std::chrono::duration_cast<std::chrono::nanoseconds>(shown.time_since_epoch()).count());
    std::fflush(stdout);
}

std::vector<double> Measure(int starts) {
    ::setenv(kChildVariable, "1", 1);
    std::vector<double> seconds;
    for (int i = 0; i < starts; ++i) {
        const double s = StartOnce();
        if (s >= 0) seconds.push_back(s);
    }
    ::unsetenv(kChildVariable);
    return seconds;
}

}  // namespace StartTimes
