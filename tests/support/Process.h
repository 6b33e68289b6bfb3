// Process: runs a child program for end-to-end tests and captures its standard
// output, standard error and exit status, with a deadline (milliseconds) after
// which the child is killed. Owns the child's pipes; not copyable. The child never
// outlives the test: it leads its own process group, which is killed at the
// deadline and by the destructor, and it is killed when the thread that started
// it ends (so start children from the test's main thread).
#pragma once

#include <string>
#include <sys/types.h>
#include <vector>

class Process {
public:
    struct Result {
        bool started = false;   // the program could be executed
        bool timedOut = false;  // killed at the deadline
        int exitCode = -1;      // as the child returned it, converted to signed char range
        int signal = 0;         // the signal that ended the child, 0 if it exited
        std::string out;        // everything written on standard output
        std::string err;        // everything written on standard error
    };

    // argv[0] is the program (searched in PATH). env: extra "NAME=value" entries
    // added to (or replacing in) the parent's environment; "NAME=" with an empty
    // value removes NAME. cwd: working directory, empty for the parent's.
    Process(const std::vector<std::string>& argv, const std::vector<std::string>& env = {},
            const std::string& cwd = "");
    ~Process();  // kills a child still running, with its process group

    Process(const Process&) = delete;
    Process& operator=(const Process&) = delete;

    bool start();
    // Reads the child's output until `text` appears on standard output or
    // standard error, the child ends, or timeoutMs passes. True when it appeared.
    bool waitForOutput(const std::string& text, int timeoutMs);
    // Waits for the child to end (killing it after timeoutMs) and returns everything.
    Result wait(int timeoutMs);
    // Sends signal to the running child; false once it has ended.
    bool signal(int signal);

    // start() then wait(timeoutMs).
    static Result run(const std::vector<std::string>& argv, const std::vector<std::string>& env,
                      int timeoutMs, const std::string& cwd = "");

private:
    // Reads whatever is available within timeoutMs; false once both pipes closed.
    bool pump(int timeoutMs);
    void reap(bool block);
    // SIGKILL to the child's process group, then waits for the child.
    void killGroup();

    std::vector<std::string> m_argv;
    std::vector<std::string> m_env;
    std::string m_cwd;
    pid_t m_pid = -1;
    int m_outFd = -1;
    int m_errFd = -1;
    Result m_result;
    bool m_reaped = false;
};

// Counts the non-overlapping occurrences of needle in haystack.
int countOccurrences(const std::string& haystack, const std::string& needle);

// Index of the first line of `text` equal to `line` (lines split on '\n'), or -1.
int lineIndex(const std::string& text, const std::string& line);
