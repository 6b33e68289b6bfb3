// QuitRequests: the requests to end the run that do not come from a key, as an
// Input device: a signal caught by the program's QuitSignals (Ctrl-C, kill) and the
// window's close button (SDL_QUIT). Owns nothing; gives no directions or buttons.
#pragma once

#include "Zembra/Controllers/Input.h"

class QuitSignals;

class QuitRequests : public Input {
public:
    // signals: the program's handlers, which must outlive the device.
    explicit QuitRequests(const QuitSignals& signals);

    int getDirections() override { return 0; }
    int getButtons() override { return 0; }
    // True from the update after a close request, or as soon as a signal came
    // (also one that came before the device was made).
    bool isQuitRequested() override;
    // Takes every event out of SDL's queue (pumped by the keyboard), remembering a
    // close request. Emptying it also keeps a full queue from dropping that request.
    void update() override;

private:
    const QuitSignals& m_signals;
    bool m_closed;
};
