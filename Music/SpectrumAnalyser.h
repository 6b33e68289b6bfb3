// SpectrumAnalyser: magnitude spectrum of one channel of interleaved float audio,
// `count` bands from a 2*count-sample real FFT under a triangle window. Owns its
// FFTW plan and buffers, made once in the constructor; compute() allocates nothing.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

class SpectrumAnalyser {
public:
    // count: number of bands (>= 1); the transform length is 2 * count samples.
    // Throws std::bad_alloc when FFTW cannot allocate the buffers or the plan.
    explicit SpectrumAnalyser(int count);
    ~SpectrumAnalyser();

    SpectrumAnalyser(const SpectrumAnalyser&) = delete;
    SpectrumAnalyser& operator=(const SpectrumAnalyser&) = delete;

    // Writes count magnitudes to out. The window covers the frames
    // [endFrame - 2*count, endFrame) of channel `channel` (0-based) of the
    // interleaved data (frameCount frames of `channels` floats); frames outside
    // [0, frameCount) read as silence. Band i is centred on i * sampleRate / (2*count) Hz.
    // Normalised so that a full-scale sine at the centre of band k reads 1.0 in
    // band k (band 0: a constant offset c reads c).
    // Not thread-safe per object: one caller at a time.
    void compute(const float* interleaved, size_t frameCount, int channels, int channel,
                 int64_t endFrame, float* out);

    int count() const;

private:
    struct FftwFree {
        void operator()(void* memory) const;
    };
    struct PlanDestroy {
        void operator()(void* plan) const;
    };

    int m_count;                                  // bands
    int m_size;                                   // transform length, 2 * m_count
    std::unique_ptr<float[], FftwFree> m_window;  // m_size triangle weights
    std::unique_ptr<float[], FftwFree> m_input;   // m_size windowed samples (FFTW-aligned)
    std::unique_ptr<void, FftwFree> m_output;     // m_count + 1 complex bins (fftwf_complex)
    std::unique_ptr<void, PlanDestroy>
        m_plan;     // fftwf_plan, opaque so that callers need no FFTW header
    float m_scale;  // 2 / sum(window): bin magnitude to sine amplitude
};
