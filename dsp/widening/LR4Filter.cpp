#include "LR4Filter.h"

namespace corvane
{
void LR4Filter::prepare (double newSampleRate, float cutoffHz)
{
    sampleRate = newSampleRate;
    setCutoff (cutoffHz);
    // Clearing after the design lets the stages size their second-order state here rather than on
    // the first audio sample; the state ends up zero either way.
    reset();
}

void LR4Filter::reset() noexcept
{
    stage1.reset();
    stage2.reset();
}

void LR4Filter::setCutoff (float hz) noexcept
{
    const auto nyquistGuardHz = (float) (0.45 * sampleRate);
    const auto cutoffHz = hz < 20.0f ? 20.0f : std::min (hz, nyquistGuardHz);

    const auto w0 = juce::MathConstants<double>::twoPi * (double) cutoffHz / sampleRate;
    const auto cosW0 = std::cos (w0);
    const auto alpha = std::sin (w0) / std::sqrt (2.0); // Butterworth, Q = 1 / sqrt 2
    const auto a0 = 1.0 + alpha;
    const auto b = designNumerator (cosW0, a0);

    const std::array<float, 6> section{(float) b[0], (float) b[1], (float) b[2],
                                       1.0f, (float) (-2.0 * cosW0 / a0), (float) ((1.0 - alpha) / a0)};
    // In-place assignment: the coefficient arrays keep their storage, so nothing is allocated.
    *stage1.coefficients = section;
    *stage2.coefficients = section;
}
} // namespace corvane
