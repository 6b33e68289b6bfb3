// BrowserShow: emscripten's main loop around ShowLoop::frame, and the page's hooks.
#include "web/BrowserShow.h"

#include <emscripten.h>

#include <exception>
#include <iostream>

#include "Demo/ShowLoop.h"
#include "Music/Music.h"
#include "Zembra/Engine.h"

namespace {

// How the show ended, as the page's Module.dedozShowEnded receives it.
enum class Ending { Finished = 0, Failed = 1 };

void tellPageEnded(Ending ending)
{
    EM_ASM(
        {
            if (Module.dedozShowEnded)
                Module.dedozShowEnded($0);
        },
        static_cast<int>(ending));
}

void endShow(ShowLoop* show, Ending ending)
{
    emscripten_cancel_main_loop();
    std::cout << "End !" << std::endl;
    delete show;  // owned by the main loop since playInBrowser; the desktop's shutdown order
    tellPageEnded(ending);
}

void frame(void* context)
{
    ShowLoop* show = static_cast<ShowLoop*>(context);
    // The page's Stop button asks as Escape does.
    const bool stopAsked = EM_ASM_INT({ return Module.dedozStopAsked ? 1 : 0; }) != 0;
    try {
        const double began = emscripten_get_now();
        if (!stopAsked && show->frame()) {
            // The work of the frame in milliseconds of the page's clock, waits excluded.
            const double work = emscripten_get_now() - began;
            EM_ASM(
                {
                    if (Module.dedozFrame)
                        Module.dedozFrame($0, $1, $2);
                },
                static_cast<double>(show->framesShown()), static_cast<double>(show->showTime()),
                work);
            return;
        }
    } catch (const std::exception& e) {
        // The desktop program would end with a return code; the page shows the line.
        std::cerr << e.what() << std::endl;
        endShow(show, Ending::Failed);
        return;
    }
    endShow(show, Ending::Finished);
}

}  // namespace

void playInBrowser(std::unique_ptr<ShowLoop> show)
{
    const int from = EM_ASM_INT({ return Module.dedozStartMs > 0 ? Module.dedozStartMs | 0 : 0; });
    if (from > 0) {
        std::cout << "Starting at " << from << " ms" << std::endl;
        show->skipTo(static_cast<uint32_t>(from));
    }
    show->music().play();
    if (from > 0)
        show->music().setPosition(static_cast<unsigned>(from));
    std::cout << "Start !" << std::endl;
    EM_ASM({
        if (Module.dedozShowStarted)
            Module.dedozShowStarted();
    });
    // A timer, not animation frames: the show's motion steps once per frame, so the
    // desktop's pace (one frame per FRAME_MS at most) keeps it at the same speed on
    // any display, and command-line headless Chromium runs timers but no animation
    // frames. The loop owns the show from here on; main returns and the runtime
    // stays alive for it.
    emscripten_set_main_loop_arg(frame, show.release(), 0, 0);
    emscripten_set_main_loop_timing(EM_TIMING_SETTIMEOUT, static_cast<int>(Engine::FRAME_MS));
}
