// QuitSignals: the flag that SIGINT and SIGTERM (Ctrl-C, kill) raise. A program makes
// its one QuitSignals in its first statement, so that a signal at any moment of its
// life, start-up included, asks the run to end in order instead of killing it. Owns
// the two handlers while it lives; the previous ones come back on destruction.
#pragma once

#include <csignal>

class QuitSignals {
public:
    // Installs the handlers and clears the flag. A second signal of the same kind
    // ends the process the default way, so a stuck run can still be stopped. SDL
    // installs no handlers of its own over these (it only replaces default ones).
    QuitSignals();
    ~QuitSignals();

    QuitSignals(const QuitSignals&) = delete;
    QuitSignals& operator=(const QuitSignals&) = delete;

    // True once either signal came.
    bool received() const { return s_signalled != 0; }

private:
    static void onSignal(int signal);

    // Written by the handler only; nothing else happens inside it.
    static volatile std::sig_atomic_t s_signalled;

    struct sigaction m_previousInt;
    struct sigaction m_previousTerm;
};
