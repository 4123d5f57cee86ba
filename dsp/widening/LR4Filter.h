#pragma once

#include <array>
#include <juce_dsp/juce_dsp.h>

// Pulls JUCE's per-sample filter code into processSample (itself inline): the widener runs ten or
// twelve biquads per sample, and out-of-line calls cost about 20 ns per stereo sample on x86-64.
#if defined(__GNUC__)
#define CORVANE_INLINE_CALLS __attribute__ ((flatten))
#else
#define CORVANE_INLINE_CALLS
#endif

namespace corvane
{
/** Two identical Butterworth biquads in series, the fourth-order Linkwitz-Riley response shared by
    LR4LowPass and LR4HighPass: -6 dB at the cutoff, and a low-pass and a high-pass at the same
    cutoff sum to an all-pass. Each stage owns its own coefficient object. */
class LR4Filter
{
public:
    virtual ~LR4Filter() = default;

    /** Stores the rate in Hz, designs both stages at cutoffHz and clears them. Allocates only the
        first time (the stages size their state); later calls are real-time safe. */
    void prepare (double newSampleRate, float cutoffHz);
    /** Clears the memory of both stages and keeps the coefficients. Real-time safe. */
    void reset() noexcept;
    /** Redesigns both stages for a cutoff in Hz, clamped to [20 Hz, 0.45 x rate]. Writes into the
        stages' existing coefficient objects, so it allocates nothing: real-time safe. */
    void setCutoff (float hz) noexcept;
    /** Filters one sample through both stages. Real-time safe. */
    CORVANE_INLINE_CALLS float processSample (float x) noexcept { return stage2.processSample (stage1.processSample (x)); }

    /** Sample rate in Hz the coefficients are designed for; 48000 until prepared. */
    double sampleRate = 48000.0;
    /** First second-order section. */
    juce::dsp::IIR::Filter<float> stage1;
    /** Second second-order section, fed by the first; always holds the same values. */
    juce::dsp::IIR::Filter<float> stage2;

protected:
    LR4Filter() = default;
    /** Numerator b0, b1, b2 (already divided by a0) for the given cos(w0) and a0. */
    virtual std::array<double, 3> designNumerator (double cosW0, double a0) const noexcept = 0;

private:
    // A copy would share the stages' coefficient objects, so retuning one filter would retune both.
    JUCE_DECLARE_NON_COPYABLE (LR4Filter)
};
} // namespace corvane
