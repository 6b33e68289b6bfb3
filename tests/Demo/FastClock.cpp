// FastClock: a library preloaded (LD_PRELOAD) into the dedoz program by end-to-end
// tests that play the whole show: SDL's tick count runs SPEED times faster and
// SDL_Delay sleeps SPEED times shorter, so the scenes, timed in SDL ticks, pass 20
// times faster. The frame pacing keeps to the system's monotonic clock: frames stay
// 15 real ms apart, fewer of them per scene than in a real run.
#include <cstdint>
#include <dlfcn.h>

namespace {

const uint32_t SPEED = 20;  // the end-to-end test divides the show's length by the same

template <typename Function>
Function next(const char* name)
{
    return reinterpret_cast<Function>(dlsym(RTLD_NEXT, name));
}

}  // namespace

extern "C" uint32_t SDL_GetTicks(void)
{
    static const auto real = next<uint32_t (*)(void)>("SDL_GetTicks");
    return real() * SPEED;
}

extern "C" void SDL_Delay(uint32_t ms)
{
    static const auto real = next<void (*)(uint32_t)>("SDL_Delay");
    real(ms / SPEED);
}
