// startbench: time from process start to "Start !", peak resident memory and the
// anonymous memory during play of the real dedoz binary. Depends on POSIX (fork,
// exec, wait4), Linux's /proc/PID/smaps_rollup and the xdotool program.
//
// Usage (from the repository root, with a display, e.g. inside tests/xvfb-run.sh):
//   startbench PATH/TO/dedoz [RUNS] [PLAY_MS]
// Each run starts dedoz, stamps the moment its "Start !" line arrives, lets it play
// PLAY_MS milliseconds (default 2000) while it samples the "Anonymous:" and "Rss:"
// lines of /proc/PID/smaps_rollup every 100 ms (the largest of each is kept), holds
// Escape for 300 ms as a person does and reads the peak resident set size from
// wait4. The result is the last line, starting "startbench ".
#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <poll.h>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

double msSince(Clock::time_point begin)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - begin).count();
}

// Runs a helper command to its end; true when it exited with 0.
bool runCommand(const std::vector<const char*>& argv)
{
    const pid_t pid = fork();
    if (pid == 0) {
        execvp(argv[0], const_cast<char* const*>(argv.data()));
        _exit(127);
    }
    int status = 0;
    return pid > 0 && waitpid(pid, &status, 0) == pid && WIFEXITED(status) &&
           WEXITSTATUS(status) == 0;
}

bool holdEscape()
{
    const bool down = runCommand({"xdotool", "keydown", "Escape", nullptr});
    usleep(300 * 1000);
    const bool up = runCommand({"xdotool", "keyup", "Escape", nullptr});
    return down && up;
}

struct Sample {
    bool started = false;
    double startMs = 0.0;  // from fork to the "Start !" line
    long peakKiB = 0;      // ru_maxrss
    long anonKiB = 0;      // largest "Anonymous:" of smaps_rollup while playing
    long rssKiB = 0;       // largest "Rss:" of smaps_rollup while playing
    int exitCode = -1;
};

// The value in KiB of line `key` (e.g. "Anonymous:") of /proc/PID/smaps_rollup; 0
// when the file or the line is missing.
long rollupKiB(pid_t pid, const std::string& key)
{
    std::ifstream rollup("/proc/" + std::to_string(pid) + "/smaps_rollup");
    std::string word;
    while (rollup >> word) {
        if (word == key) {
            long kib = 0;
            rollup >> kib;
            return kib;
        }
    }
    return 0;
}

// Lets the child play playMs milliseconds, sampling its memory every 100 ms.
void samplePlay(pid_t pid, int playMs, Sample& sample)
{
    const Clock::time_point begin = Clock::now();
    do {
        sample.anonKiB = std::max(sample.anonKiB, rollupKiB(pid, "Anonymous:"));
        sample.rssKiB = std::max(sample.rssKiB, rollupKiB(pid, "Rss:"));
        usleep(100 * 1000);
    } while (msSince(begin) < playMs);
}

Sample runOnce(const char* dedoz, int playMs)
{
    Sample sample;
    int out[2];
    if (pipe(out) != 0)
        return sample;
    const Clock::time_point begin = Clock::now();
    const pid_t pid = fork();
    if (pid == 0) {
        dup2(out[1], 1);
        close(out[0]);
        close(out[1]);
        execl(dedoz, dedoz, static_cast<char*>(nullptr));
        _exit(127);
    }
    close(out[1]);
    if (pid < 0) {
        close(out[0]);
        return sample;
    }

    // Reads the child's output until "Start !" arrives or the child ends (or 60 s).
    std::string text;
    char buffer[4096];
    while (text.find("Start !\n") == std::string::npos && msSince(begin) < 60000.0) {
        pollfd fd = {out[0], POLLIN, 0};
        if (poll(&fd, 1, 100) <= 0)
            continue;
        const ssize_t n = read(out[0], buffer, sizeof buffer);
        if (n <= 0)
            break;
        text.append(buffer, static_cast<size_t>(n));
    }
    if (text.find("Start !\n") != std::string::npos) {
        sample.started = true;
        sample.startMs = msSince(begin);
        samplePlay(pid, playMs, sample);
        holdEscape();
    } else {
        kill(pid, SIGKILL);
    }

    // Drain the pipe on the side so the child never blocks on a full one.
    int status = 0;
    rusage usage = {};
    for (;;) {
        const pid_t done = wait4(pid, &status, WNOHANG, &usage);
        if (done == pid)
            break;
        if (msSince(begin) > 120000.0) {
            kill(pid, SIGKILL);
            wait4(pid, &status, 0, &usage);
            break;
        }
        pollfd fd = {out[0], POLLIN, 0};
        if (poll(&fd, 1, 20) > 0 && read(out[0], buffer, sizeof buffer) <= 0)
            usleep(20000);
    }
    close(out[0]);
    sample.peakKiB = usage.ru_maxrss;
    sample.exitCode = WIFEXITED(status) ? static_cast<signed char>(WEXITSTATUS(status)) : -128;
    return sample;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: startbench PATH/TO/dedoz [RUNS] [PLAY_MS]\n");
        return 2;
    }
    const int runs = argc > 2 ? std::atoi(argv[2]) : 5;
    const int playMs = argc > 3 ? std::atoi(argv[3]) : 2000;
    if (runs <= 0 || playMs < 0) {
        std::fprintf(stderr, "startbench: RUNS must be positive and PLAY_MS not negative\n");
        return 2;
    }

    std::vector<double> starts;
    long peakKiB = 0;
    long anonKiB = 0;
    long rssKiB = 0;
    for (int i = 0; i < runs; ++i) {
        const Sample s = runOnce(argv[1], playMs);
        if (!s.started || s.exitCode != 0) {
            std::fprintf(stderr, "startbench: run %d %s (exit code %d)\n", i + 1,
                         s.started ? "did not end cleanly" : "never printed \"Start !\"",
                         s.exitCode);
            return 1;
        }
        starts.push_back(s.startMs);
        peakKiB = std::max(peakKiB, s.peakKiB);
        anonKiB = std::max(anonKiB, s.anonKiB);
        rssKiB = std::max(rssKiB, s.rssKiB);
    }
    std::sort(starts.begin(), starts.end());
    std::printf(
        "startbench runs=%d start_median_ms=%.1f start_max_ms=%.1f peak_rss_mib=%.1f "
        "play_rss_mib=%.1f play_anon_mib=%.1f\n",
        runs, starts[starts.size() / 2], starts.back(), peakKiB / 1024.0, rssKiB / 1024.0,
        anonKiB / 1024.0);
    return 0;
}
