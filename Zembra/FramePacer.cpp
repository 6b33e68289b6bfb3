// FramePacer: sub-millisecond frame pacing. A millisecond tick count read at an
// unknown point inside its millisecond, plus a relative sleep's rounding, made
// frames 14 to 17 ms apart with no slow work at all; nanosecond readings and an
// absolute deadline keep them 15 ms apart to within the scheduler's wake-up delay.
#include "Zembra/FramePacer.h"

#include <cassert>
#include <cerrno>
#include <ctime>

namespace {

constexpr long long NS_PER_SECOND = 1000000000LL;

}  // namespace

PacingClock::Duration SteadyPacingClock::now()
{
    timespec time = {};
    clock_gettime(CLOCK_MONOTONIC, &time);
    return Duration(time.tv_sec * NS_PER_SECOND + time.tv_nsec);
}

void SteadyPacingClock::sleepUntil(Duration deadline)
{
    const long long ns = deadline.count();
    const timespec until = {static_cast<time_t>(ns / NS_PER_SECOND),
                            static_cast<long>(ns % NS_PER_SECOND)};
    // A signal (the quit handlers) interrupts the sleep; the deadline stays the same.
    while (clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &until, nullptr) == EINTR) {
    }
}

FramePacer::FramePacer(PacingClock& clock, PacingClock::Duration period)
    : m_clock(clock), m_period(period), m_lastWake(0), m_started(false)
{
    assert(period.count() > 0);
}

void FramePacer::wait()
{
    const PacingClock::Duration deadline = m_lastWake + m_period;
    if (m_started && m_clock.now() < deadline)
        m_clock.sleepUntil(deadline);
    // Read again after the sleep: its oversleep counts toward the next frame, so
    // the ends of two waits are never closer than one period.
    m_lastWake = m_clock.now();
    m_started = true;
}
