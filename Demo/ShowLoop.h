// ShowLoop: one frame of the running show as a function, so that the desktop's loop
// and the browser's timer drive the same frames. Owns the parts of the run and
// releases them in the show's shutdown order. Times are the show's clock in
// milliseconds: the engine's ticks plus the shift that skipTo sets (0 otherwise).
#pragma once

#include <cstdint>
#include <memory>

#include "Demo/FrameTimeLog.h"

class ChainPrograms;
class Engine;
class InputManager;
class Music;
class PostProcessChain;
class SceneManager;

// Everything a running show is made of, in order of creation; none may be null.
struct ShowParts {
    std::unique_ptr<Engine> engine;
    std::unique_ptr<Music> music;
    std::unique_ptr<InputManager> inputs;
    std::unique_ptr<SceneManager> scenes;
    std::unique_ptr<ChainPrograms> programs;
    std::unique_ptr<PostProcessChain> chain;
};

class ShowLoop {
public:
    explicit ShowLoop(ShowParts parts);
    // Shutdown order: the programs, Music::stop, the chain (frame buffer, then its
    // targets), the scenes, the inputs, the music, the engine (SDL last).
    ~ShowLoop();

    ShowLoop(const ShowLoop&) = delete;
    ShowLoop& operator=(const ShowLoop&) = delete;

    // Renders and presents the current scene, reads the inputs, follows a window
    // resize, waits for the frame's turn (frames at least Engine::FRAME_MS apart;
    // in the browser its timer keeps that pace), then steps the scenes. False once a
    // quit was requested or the last scene has finished; later calls draw nothing
    // and return false.
    bool frame();
    // Steps the scenes through the show's first `ms` milliseconds in
    // Engine::FRAME_MS steps, without drawing, then shifts the clock so that the
    // next frame goes on from there. With movingMusic (the sound plays) the music
    // is moved to each step's time first, so that the scenes read the spectrum of
    // that time, as the capture plays them, and left at `ms`; without, they read
    // what it gives (silence before it plays). Call before the first frame. False
    // when the show ended within `ms`.
    bool skipTo(uint32_t ms, bool movingMusic = false);

    Music& music() { return *m_parts.music; }
    // Frames rendered so far.
    uint64_t framesShown() const { return m_frames; }
    // The show's clock now, milliseconds.
    uint32_t showTime() const;

private:
    ShowParts m_parts;
    FrameTimeLog m_frameLog;
    uint32_t m_shift = 0;  // ms added to the engine's ticks (wrapping)
    uint64_t m_frames = 0;
    bool m_ended = false;
};
