// ShotScene: the common part of every scene played as a list of camera shots
// (LinearCamera moves on the SDL clock, ms). Owns the cameras (shot order, never
// empty once constructed) and a 512-value spectrum buffer refilled from the music.
#pragma once

#include <memory>
#include <vector>

#include "3D/LinearCamera.h"
#include "Scenes/Scene.h"

class ShotScene : public Scene {
public:
    static constexpr unsigned SPECTRUM_SIZE = 512;

    // GL state: modelview matrix only (the current shot's view).
    void applyCamera() override;

    // The spectrum read by the last update that read one (zeros before).
    const float* spectrum() const { return m_spectrum; }
    unsigned shotCount() const { return static_cast<unsigned>(m_cameras.size()); }
    const LinearCamera& camera(unsigned shot) const { return *m_cameras[shot]; }
    unsigned currentShot() const { return m_currentCamera; }
    unsigned startTime() const { return m_startTime; }

protected:
    // What advanceShot did with the current camera.
    enum class Shot {
        Running,   // the current shot goes on
        Changed,   // it ended; the next camera starts on the next update
        Finished,  // the last shot ended: m_currentCamera is past the end, m_fade is 0
    };

    ShotScene();

    // Appends a shot (positions and targets in world units, duration in ms), up (0, 1, 0).
    void addShot(const Vector3& startPosition, const Vector3& endPosition,
                 const Vector3& startTarget, const Vector3& endTarget, unsigned duration);
    LinearCamera& currentCamera() { return *m_cameras[m_currentCamera]; }

    // Updates the current camera with time; when its shot has ended, moves to the next.
    Shot advanceShot(unsigned time);

    // The shot advance of the scenes that keep a schedule per shot: a shot that ends
    // moves m_startTime on by its nominal duration (not by the frames it really took,
    // so the fades keep to the scene's start), then the current shot's edge fade. False
    // once the last shot has ended (m_fade 0).
    bool advanceOnSchedule(unsigned time);

    // The fade-in shared by the scenes: within the first 500 ms (ms <= 499) m_fade
    // becomes ms / 500 and the call returns true; later it keeps m_fade, false.
    bool fadeIn(unsigned ms);

    // The fade of a cycle of `cycle` ms at `phase` ms into it: rises over the first
    // 500 ms, falls over the last 500 ms, and keeps m_fade in between.
    void fadeAtEdges(unsigned phase, unsigned cycle);

    // Beat pulse: decays by `decay` per update (a value at or below 0 becomes 0), and
    // snaps to 1.0 while the third band (index 2) is at or above 0.25.
    void pulse(float decay);

    // Refills the spectrum buffer from the music (SPECTRUM_SIZE values). Virtual only so
    // that a test can hand the scene a spectrum of its choosing.
    virtual void readSpectrum(Music& music);

    std::vector<std::unique_ptr<LinearCamera>> m_cameras;  // shot order; never empty
    unsigned m_currentCamera;                              // index of the current shot
    unsigned m_startTime;  // ms; the scene's (or its current shot's) start; 0 = not started
    float m_spectrum[SPECTRUM_SIZE];
};
