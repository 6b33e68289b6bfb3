// ShowLoop: the frame of the main loop, in the order the show has always run it.
#include "Demo/ShowLoop.h"

#include <cassert>
#include <cstdlib>

#include <GL/glew.h>

#include "Demo/ChainPrograms.h"
#include "Demo/PostProcessChain.h"
#include "Music/Music.h"
#include "Scenes/SceneManager.h"
#include "Zembra/Controllers/InputManager.h"
#include "Zembra/Engine.h"
#include "Zembra/Window.h"

ShowLoop::ShowLoop(ShowParts parts)
    : m_parts(std::move(parts)), m_frameLog(std::getenv(FrameTimeLog::ENVIRONMENT))
{
    assert(m_parts.engine && m_parts.music && m_parts.inputs && m_parts.scenes &&
           m_parts.programs && m_parts.chain);
}

ShowLoop::~ShowLoop()
{
    m_parts.programs.reset();
    m_parts.music->stop();
    m_parts.chain.reset();
    m_parts.scenes.reset();
    m_parts.inputs.reset();
    m_parts.music.reset();
    m_parts.engine.reset();
}

uint32_t ShowLoop::showTime() const
{
    return m_parts.engine->getTicks() + m_shift;
}

bool ShowLoop::frame()
{
    // After the end there is no current scene to draw.
    if (m_ended)
        return false;
    const ChainPrograms& programs = *m_parts.programs;
    m_parts.chain->render(*m_parts.scenes, *programs.pulse, *programs.horizontalBlur,
                          *programs.verticalBlur);
#ifndef __EMSCRIPTEN__
    // The wait comes between the finished picture and the flip, so that frames are
    // shown the pacing's 15 ms apart whatever each one's work: a software driver
    // draws the pixels only when asked for them, so without the finish that work
    // would land after the wait, in the flip, and every change in it would move the
    // moment the frame is shown.
    glFinish();
#endif
    m_parts.engine->waitNextFrame();
    m_parts.chain->present();
    ++m_frames;
    m_frameLog.framePresented(m_parts.scenes->currentIndex());
    m_parts.inputs->update();
    // The next frame is scaled to the size the user left the window at.
    m_parts.engine->getWindow()->followResizeRequests();
    m_ended =
        m_parts.inputs->isQuitRequested() || m_parts.scenes->update(*m_parts.music, showTime());
    return !m_ended;
}

bool ShowLoop::skipTo(uint32_t ms, bool movingMusic)
{
    Music& music = *m_parts.music;
    const uint32_t start = showTime();
    for (uint32_t t = Engine::FRAME_MS; t <= ms && !m_ended; t += Engine::FRAME_MS) {
        if (movingMusic)
            music.setPosition(t);
        m_ended = m_parts.scenes->update(music, start + t);
    }
    if (movingMusic)
        music.setPosition(ms);
    // The skip itself took time on the engine's clock: the next frame is at start + ms.
    m_shift += start + ms - showTime();
    return !m_ended;
}
