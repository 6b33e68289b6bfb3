// FramePacer: the frame wait of the main loop. Consecutive waits end at least one
// period apart, measured on a monotonic clock in nanoseconds (the wait and any
// oversleep count toward the next frame); a frame that took longer waits not at
// all and is never caught up. The clock is given, so that time can be driven by hand.
#pragma once

#include <chrono>

// A monotonic clock with a sleep until one of its own instants.
class PacingClock {
public:
    using Duration = std::chrono::nanoseconds;  // since the clock's own epoch

    virtual ~PacingClock() = default;
    virtual Duration now() = 0;
    // Returns at `deadline` or later, never earlier.
    virtual void sleepUntil(Duration deadline) = 0;
};

// The system's monotonic clock (CLOCK_MONOTONIC), slept on with an absolute
// deadline: the sleep is not lengthened by the time taken to compute it.
class SteadyPacingClock : public PacingClock {
public:
    Duration now() override;
    void sleepUntil(Duration deadline) override;
};

class FramePacer {
public:
    // clock must outlive the pacer; period > 0.
    FramePacer(PacingClock& clock, PacingClock::Duration period);

    // Sleeps until one period after the end of the previous wait; the first wait
    // does not sleep.
    void wait();
    // When the last wait ended, on the pacer's clock; zero before the first.
    PacingClock::Duration lastWake() const { return m_lastWake; }

private:
    PacingClock& m_clock;
    PacingClock::Duration m_period;
    PacingClock::Duration m_lastWake;
    bool m_started;
};
