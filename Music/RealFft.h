// RealFft: the forward transform of `size` real samples into size/2 + 1 complex bins,
// the one part of the spectrum that differs between platforms (FFTW on the desktop,
// the browser's FFT package in the page). Owns its buffers, made once; execute()
// allocates nothing. Unnormalised: a constant c reads c * size in bin 0.
#pragma once

#include <memory>

class RealFft {
public:
    // size: even, >= 2; a power of two in the browser. Throws std::bad_alloc when
    // the buffers or the transform's plan cannot be made.
    explicit RealFft(int size);
    ~RealFft();
    RealFft(const RealFft&) = delete;
    RealFft& operator=(const RealFft&) = delete;

    float* input() { return m_input; }  // size samples, written before execute()
    // size/2 + 1 bins, (real, imaginary) pairs, valid after execute().
    const float* output() const { return m_output; }
    void execute();

private:
    struct Plan;  // the platform's transform and the buffers it owns
    std::unique_ptr<Plan> m_plan;
    float* m_input;
    float* m_output;
};
