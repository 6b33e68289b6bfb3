// QuitSignals: POSIX signal handlers that only set a flag.
#include "Zembra/Controllers/QuitSignals.h"

volatile std::sig_atomic_t QuitSignals::s_signalled = 0;

QuitSignals::QuitSignals()
{
    s_signalled = 0;
    struct sigaction action = {};
    action.sa_handler = &QuitSignals::onSignal;
    sigemptyset(&action.sa_mask);
    // SA_RESETHAND: the handler serves once, then the default action is back.
    // SA_RESTART: the signal does not make the program's system calls fail.
    action.sa_flags = SA_RESETHAND | SA_RESTART;
    sigaction(SIGINT, &action, &m_previousInt);
    sigaction(SIGTERM, &action, &m_previousTerm);
}

QuitSignals::~QuitSignals()
{
    sigaction(SIGTERM, &m_previousTerm, nullptr);
    sigaction(SIGINT, &m_previousInt, nullptr);
}

void QuitSignals::onSignal(int)
{
    s_signalled = 1;
}
