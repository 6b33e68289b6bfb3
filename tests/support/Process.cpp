// Process: fork/exec with pipes and poll, for the end-to-end tests.
#include "support/Process.h"

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

long long nowMs()
{
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

}  // namespace

Process::Process(const std::vector<std::string>& argv, const std::vector<std::string>& env,
                 const std::string& cwd)
    : m_argv(argv), m_env(env), m_cwd(cwd)
{
}

Process::~Process()
{
    killGroup();
    if (m_outFd >= 0)
        close(m_outFd);
    if (m_errFd >= 0)
        close(m_errFd);
}

bool Process::start()
{
    if (m_argv.empty())
        return false;
    // Close-on-exec everywhere: a second child started while this one runs must
    // not inherit this one's pipes (dup2 below clears the flag on 1 and 2).
    int outPipe[2], errPipe[2], execPipe[2];
    if (pipe2(outPipe, O_CLOEXEC) != 0)
        return false;
    if (pipe2(errPipe, O_CLOEXEC) != 0) {
        close(outPipe[0]);
        close(outPipe[1]);
        return false;
    }
    // Closed on a successful exec; carries errno otherwise, so a missing program
    // is told apart from a program that fails.
    if (pipe2(execPipe, O_CLOEXEC) != 0) {
        for (int fd : {outPipe[0], outPipe[1], errPipe[0], errPipe[1]})
            close(fd);
        return false;
    }

    std::vector<char*> args;
    for (const std::string& a : m_argv)
        args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);

    const pid_t parent = getpid();
    m_pid = fork();
    if (m_pid == 0) {
        // Its own group, so that the child's own children are killed with it; and
        // killed by the kernel should the test die first (a crash, a timeout kill).
        setpgid(0, 0);
        prctl(PR_SET_PDEATHSIG, SIGKILL);
        if (getppid() != parent)
            _exit(125);  // the test died before the request was in place
        dup2(outPipe[1], 1);
        dup2(errPipe[1], 2);
        for (const std::string& e : m_env) {
            const std::size_t eq = e.find('=');
            const std::string name = e.substr(0, eq);
            if (eq == std::string::npos || eq + 1 == e.size())
                unsetenv(name.c_str());
            else
                setenv(name.c_str(), e.c_str() + eq + 1, 1);
        }
        if (!m_cwd.empty() && chdir(m_cwd.c_str()) != 0)
            _exit(126);
        execvp(args[0], args.data());
        const int error = errno;
        ssize_t ignored = write(execPipe[1], &error, sizeof error);
        (void)ignored;
        _exit(127);
    }
    if (m_pid > 0)
        setpgid(m_pid, m_pid);  // also here: kills may come before the child runs
    close(outPipe[1]);
    close(errPipe[1]);
    close(execPipe[1]);
    m_outFd = outPipe[0];
    m_errFd = errPipe[0];
    if (m_pid < 0) {
        close(execPipe[0]);
        return false;
    }
    int error = 0;
    const ssize_t n = read(execPipe[0], &error, sizeof error);
    close(execPipe[0]);
    m_result.started = (n == 0);
    return m_result.started;
}

bool Process::pump(int timeoutMs)
{
    pollfd fds[2];
    int count = 0;
    for (int fd : {m_outFd, m_errFd}) {
        if (fd >= 0)
            fds[count++] = {fd, POLLIN, 0};
    }
    if (count == 0)
        return false;
    const int ready = poll(fds, count, timeoutMs);
    if (ready <= 0)
        return true;
    for (int i = 0; i < count; ++i) {
        if (fds[i].revents == 0)
            continue;
        char buffer[4096];
        const ssize_t n = read(fds[i].fd, buffer, sizeof buffer);
        const bool isOut = fds[i].fd == m_outFd;
        if (n > 0) {
            (isOut ? m_result.out : m_result.err).append(buffer, static_cast<std::size_t>(n));
        } else if (n == 0 || errno != EINTR) {
            close(fds[i].fd);
            (isOut ? m_outFd : m_errFd) = -1;
        }
    }
    return true;
}

bool Process::waitForOutput(const std::string& text, int timeoutMs)
{
    const long long deadline = nowMs() + timeoutMs;
    for (;;) {
        if (m_result.out.find(text) != std::string::npos ||
            m_result.err.find(text) != std::string::npos)
            return true;
        const long long left = deadline - nowMs();
        if (left <= 0)
            return false;
        if (!pump(static_cast<int>(left < 50 ? left : 50)))
            return m_result.out.find(text) != std::string::npos ||
                   m_result.err.find(text) != std::string::npos;
    }
}

void Process::reap(bool block)
{
    if (m_pid <= 0 || m_reaped)
        return;
    int status = 0;
    const pid_t r = waitpid(m_pid, &status, block ? 0 : WNOHANG);
    if (r != m_pid)
        return;
    m_reaped = true;
    if (WIFEXITED(status)) {
        // main's int return reaches the parent as one byte: -4 arrives as 252.
        m_result.exitCode = static_cast<signed char>(WEXITSTATUS(status));
    } else if (WIFSIGNALED(status)) {
        m_result.signal = WTERMSIG(status);
    }
}

Process::Result Process::wait(int timeoutMs)
{
    const long long deadline = nowMs() + timeoutMs;
    while (m_pid > 0 && !m_reaped) {
        const long long left = deadline - nowMs();
        if (left <= 0) {
            m_result.timedOut = true;
            killGroup();
            break;
        }
        if (!pump(static_cast<int>(left < 20 ? left : 20)))
            usleep(5000);  // both pipes closed: nothing to poll on
        reap(false);
    }
    // What the child wrote just before it ended is still in the pipes; they end
    // once no process holds them (the bound covers a grandchild that keeps them).
    const long long drainUntil = nowMs() + 1000;
    while ((m_outFd >= 0 || m_errFd >= 0) && nowMs() < drainUntil)
        pump(50);
    return m_result;
}

bool Process::signal(int signal)
{
    reap(false);
    return m_pid > 0 && !m_reaped && kill(m_pid, signal) == 0;
}

void Process::killGroup()
{
    if (m_pid <= 0 || m_reaped)
        return;
    kill(-m_pid, SIGKILL);
    kill(m_pid, SIGKILL);  // in case the group was never formed
    reap(true);
}

Process::Result Process::run(const std::vector<std::string>& argv,
                             const std::vector<std::string>& env, int timeoutMs,
                             const std::string& cwd)
{
    Process process(argv, env, cwd);
    if (!process.start())
        return process.wait(0);
    return process.wait(timeoutMs);
}

int countOccurrences(const std::string& haystack, const std::string& needle)
{
    if (needle.empty())
        return 0;
    int count = 0;
    for (std::size_t at = haystack.find(needle); at != std::string::npos;
         at = haystack.find(needle, at + needle.size()))
        ++count;
    return count;
}

int lineIndex(const std::string& text, const std::string& line)
{
    int index = 0;
    std::size_t begin = 0;
    while (begin <= text.size()) {
        std::size_t end = text.find('\n', begin);
        if (end == std::string::npos)
            end = text.size();
        if (text.compare(begin, end - begin, line) == 0 && end - begin == line.size())
            return index;
        if (end == text.size())
            break;
        begin = end + 1;
        ++index;
    }
    return -1;
}
