// QuitRequests: the requests to end the run that do not come from a key, as an
// Input device: SIGINT and SIGTERM (Ctrl-C, kill) and the window's close button
// (SDL_QUIT). Owns the two signal handlers while it lives. Gives no directions or buttons.
#pragma once

#include <csignal>

#include "Zembra/Controllers/Input.h"

class QuitRequests : public Input {
public:
    // Installs the handlers of SIGINT and SIGTERM. A second signal of the same kind
    // ends the process the default way, so a stuck run can still be stopped.
    QuitRequests();
    // Puts the previous handlers back.
    ~QuitRequests() override;

    QuitRequests(const QuitRequests&) = delete;
    QuitRequests& operator=(const QuitRequests&) = delete;

    int getDirections() override { return 0; }
    int getButtons() override { return 0; }
    // True from the update after a close request, or as soon as a signal came.
    bool isQuitRequested() override;
    // Takes every event but resize requests out of SDL's queue (pumped by the
    // keyboard), remembering a close request. Emptying it also keeps a full queue
    // from dropping that request.
    void update() override;

private:
    static void onSignal(int signal);

    // Written by the handler only; nothing else happens inside it.
    static volatile std::sig_atomic_t s_signalled;

    bool m_closed;
    struct sigaction m_previousInt;
    struct sigaction m_previousTerm;
};
