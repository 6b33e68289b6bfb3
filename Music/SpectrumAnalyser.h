// SpectrumAnalyser: magnitude spectrum of one channel of interleaved float audio,
// `count` bands from a 2*count-sample real FFT under a triangle window: the same
// windowing and scaling on every platform, the transform behind RealFft. Owns its
// window and transform, made once in the constructor; compute() allocates nothing.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

class RealFft;

class SpectrumAnalyser {
public:
    // count: number of bands (>= 1); the transform length is 2 * count samples.
    // In the browser count must also be a power of two (its transform takes no other
    // length).
    // Throws std::bad_alloc when the window or the transform cannot be made.
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
    int m_count;                        // bands
    int m_size;                         // transform length, 2 * m_count
    std::unique_ptr<float[]> m_window;  // m_size triangle weights
    std::unique_ptr<RealFft> m_fft;     // its input takes the windowed samples
    float m_scale;                      // 2 / sum(window): bin magnitude to sine amplitude
};
