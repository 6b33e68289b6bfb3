// RealFft on the desktop: FFTW's single-precision real-to-complex plan.
#include "Music/RealFft.h"

#include <fftw3.h>

#include <cassert>
#include <mutex>
#include <new>

namespace {

// FFTW's planner keeps global state: plans are made and destroyed one at a time.
std::mutex& plannerMutex()
{
    static std::mutex m;
    return m;
}

}  // namespace

struct RealFft::Plan {
    struct FftwFree {
        void operator()(void* memory) const { fftwf_free(memory); }
    };
    std::unique_ptr<float[], FftwFree> input;  // FFTW-aligned
    std::unique_ptr<fftwf_complex[], FftwFree> output;
    fftwf_plan plan = nullptr;

    ~Plan()
    {
        if (plan) {
            std::lock_guard<std::mutex> lock(plannerMutex());
            fftwf_destroy_plan(plan);
        }
    }
};

RealFft::RealFft(int size) : m_plan(new Plan), m_input(nullptr), m_output(nullptr)
{
    assert(size >= 2);
    m_plan->input.reset(fftwf_alloc_real(size));
    m_plan->output.reset(fftwf_alloc_complex(size / 2 + 1));
    if (!m_plan->input || !m_plan->output)
        throw std::bad_alloc();
    {
        std::lock_guard<std::mutex> lock(plannerMutex());
        // ESTIMATE: no measuring run, so construction is quick and the plan
        // deterministic; for power-of-two sizes its plans are close to the measured ones.
        m_plan->plan =
            fftwf_plan_dft_r2c_1d(size, m_plan->input.get(), m_plan->output.get(), FFTW_ESTIMATE);
    }
    if (!m_plan->plan)
        throw std::bad_alloc();
    m_input = m_plan->input.get();
    m_output = &m_plan->output[0][0];  // fftwf_complex is float[2]: (re, im) pairs
}

RealFft::~RealFft() = default;

void RealFft::execute()
{
    fftwf_execute(m_plan->plan);
}
