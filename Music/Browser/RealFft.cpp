// RealFft in the page: the FFT package's real transform (fft.js, double precision),
// reached through sound.js. The buffers live in the module's memory; the page side
// keeps its own arrays per transform, so execute() allocates nothing there either.
#include "Music/RealFft.h"

#include <cassert>
#include <new>

extern "C" {
int dedoz_fft_create(int size);  // id, 0 when the package is missing
void dedoz_fft_execute(int id, const float* input, float* output);
void dedoz_fft_destroy(int id);
}

struct RealFft::Plan {
    int id = 0;
    std::unique_ptr<float[]> input;
    std::unique_ptr<float[]> output;

    ~Plan()
    {
        if (id)
            dedoz_fft_destroy(id);
    }
};

RealFft::RealFft(int size) : m_plan(new Plan), m_input(nullptr), m_output(nullptr)
{
    assert(size >= 2 && (size & (size - 1)) == 0);
    m_plan->input.reset(new float[size]());
    m_plan->output.reset(new float[size + 2]());
    m_plan->id = dedoz_fft_create(size);
    if (!m_plan->id)
        throw std::bad_alloc();
    m_input = m_plan->input.get();
    m_output = m_plan->output.get();
}

RealFft::~RealFft() = default;

void RealFft::execute()
{
    dedoz_fft_execute(m_plan->id, m_input, m_output);
}
