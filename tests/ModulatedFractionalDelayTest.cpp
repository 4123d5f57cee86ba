#include "dsp/widening/ModulatedFractionalDelay.h"
#include <gtest/gtest.h>
#include <juce_core/juce_core.h>
#include <vector>

namespace
{
using corvane::ModulatedFractionalDelay;
using corvane::Quality;

constexpr double sampleRate = 48000.0;

struct DelayCase
{
    float baseDelay;
    double expectedSamples;
};

std::ostream& operator<< (std::ostream& os, const DelayCase& c) { return os << "base " << c.baseDelay; }

struct DelayAmountTest : ::testing::TestWithParam<std::tuple<DelayCase, Quality>>
{
};

// Property: without modulation the impulse response is centred on the designed delay. Both the
// linear and the Catmull-Rom kernel reproduce straight lines, so their centroid is the delay.
TEST_P (DelayAmountTest, ImpulseCentroidIsTheDelay)
{
    const auto [c, quality] = GetParam();
    ModulatedFractionalDelay delay;
    delay.prepare (sampleRate, 0.0);

    double sum = 0.0, moment = 0.0;
    for (int n = 0; n < 2100; ++n)
    {
        const auto y = (double) delay.process (n == 0 ? 1.0f : 0.0f, 0.0f, quality, c.baseDelay);
        sum += y;
        moment += n * y;
    }
    EXPECT_NEAR (sum, 1.0, 1e-6);                          // float kernel weights
    EXPECT_NEAR (moment / sum, c.expectedSamples, 1e-4);   // float fraction of the read position
}

INSTANTIATE_TEST_SUITE_P (Cases, DelayAmountTest, ::testing::Combine (
    ::testing::Values (DelayCase { 1.0f, 15.36 }, DelayCase { 0.08f, 1.2288 },
                       DelayCase { 0.0f, 1.0 }, DelayCase { 200.0f, 2044.0 }),
    ::testing::Values (Quality::Live, Quality::Studio)));

// A ramp passes both interpolators unchanged but for the delay, so ramp minus output reads the
// delay curve sample by sample.
std::vector<double> delayCurve (ModulatedFractionalDelay& delay, Quality quality, int length)
{
    std::vector<double> curve;
    for (int n = 0; n < length; ++n)
        curve.push_back (n - (double) delay.process ((float) n, 1.0f, quality, 1.0f));
    return curve;
}

// Property: the modulation follows its designed sine from its own start phase at its quality's
// rate, the A and B start phases give different curves from the first sample, and reset returns
// each delay to its own start.
TEST (ModulatedFractionalDelayTest, ModulationFollowsStartPhaseAndRateAndResetRestartsIt)
{
    for (const auto quality : { Quality::Live, Quality::Studio })
    {
        const auto omega = quality == Quality::Studio ? juce::MathConstants<double>::twoPi * 0.071
                                                      : juce::MathConstants<double>::twoPi * 0.053;
        ModulatedFractionalDelay delayA, delayB;
        delayA.prepare (sampleRate, 0.0);
        delayB.prepare (sampleRate, 2.173);
        constexpr int length = 4800; // ramp values stay below 2^13, so float steps are 1/1024 at worst
        const auto curveA = delayCurve (delayA, quality, length);
        const auto curveB = delayCurve (delayB, quality, length);

        for (int n = 24; n < length; ++n) // earlier reads reach the buffer's initial zeros
        {
            const auto time = (n + 1) / sampleRate; // the phase advances before the read
            EXPECT_NEAR (curveA[(size_t) n], 15.36 + 3.84 * std::sin (omega * time), 2e-3) << n;
            EXPECT_NEAR (curveB[(size_t) n], 15.36 + 3.84 * std::sin (2.173 + omega * time), 2e-3) << n;
            ASSERT_GT (std::abs (curveA[(size_t) n] - curveB[(size_t) n]), 1.0);
        }

        delayA.reset();
        delayB.reset();
        EXPECT_EQ (delayCurve (delayA, quality, length), curveA);
        EXPECT_EQ (delayCurve (delayB, quality, length), curveB);
    }
}
} // namespace
