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

std::ostream& operator<< (std::ostream& os, const DelayCase& c)
{
    return os << "base " << c.baseDelay;
}

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
    EXPECT_NEAR (sum, 1.0, 1e-6);                        // float kernel weights
    EXPECT_NEAR (moment / sum, c.expectedSamples, 1e-4); // float fraction of the read position
}

// 0.32 ms and 0.0256 ms at 48 kHz, then the two clamps.
const DelayCase delayCases[] = {
    {1.0f, 15.36},
    {0.08f, 1.2288},
    {0.0f, 1.0},
    {200.0f, 2044.0},
};
INSTANTIATE_TEST_SUITE_P (Cases, DelayAmountTest, ::testing::Combine (::testing::ValuesIn (delayCases), ::testing::Values (Quality::Live, Quality::Studio)));

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
    for (const auto quality : {Quality::Live, Quality::Studio})
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
// The delay as plainly written, one sine per sample, as the reference for the optimised one.
struct LiteralDelay
{
    std::vector<float> buffer = std::vector<float> (2048);
    int writeIndex = 0;
    double phase = 0.0;

    float process (float input, float modDepth, Quality quality, float baseDelay)
    {
        buffer[(size_t) writeIndex] = input;
        phase += (quality == Quality::Studio ? 0.4461061568097506 : 0.33300882128051806) / sampleRate;
        if (phase >= 2.0 * juce::MathConstants<double>::pi)
            phase -= 2.0 * juce::MathConstants<double>::pi;
        const auto d = std::clamp (sampleRate * 0.00032 * baseDelay + modDepth * 0.00008 * sampleRate * std::sin (phase), 1.0, 2044.0);
        auto r = writeIndex - d;
        while (r < 0.0)
            r += 2048.0;
        const auto i = (int) r;
        const auto f = (float) (r - i);
        const auto at = [this] (int k)
        { return buffer[(size_t) (k % 2048)]; };
        const auto ym1 = at (i + 2047), y0 = at (i), y1 = at (i + 1), y2 = at (i + 2);
        float result;
        if (quality == Quality::Studio)
        {
            const auto c1 = 0.5f * (y1 - ym1);
            const auto c2 = ym1 - 2.5f * y0 + 2.0f * y1 - 0.5f * y2;
            const auto c3 = 0.5f * (y2 - ym1) + 1.5f * (y0 - y1);
            result = ((c3 * f + c2) * f + c1) * f + y0;
        }
        else
        {
            result = y0 + f * (y1 - y0);
        }
        writeIndex = (writeIndex + 1) % 2048;
        return result;
    }
};

// Property: the modulation sine is computed incrementally; over 13 s (a phase wrap included, and a
// reset) full-scale noise comes out within 1e-6 of the plainly written delay.
TEST (ModulatedFractionalDelayTest, MatchesLiteralSinePerSampleWithinOneMillionth)
{
    for (const auto quality : {Quality::Live, Quality::Studio})
    {
        ModulatedFractionalDelay delay;
        delay.prepare (sampleRate, 2.173);
        LiteralDelay reference;
        reference.phase = 2.173;
        juce::Random random (5);
        float worst = 0.0f;
        for (int n = 0; n < 13 * 48000; ++n)
        {
            const auto x = random.nextFloat() * 2.0f - 1.0f;
            worst = std::max (worst, std::abs (delay.process (x, 1.0f, quality, 1.0f) - reference.process (x, 1.0f, quality, 1.0f)));
        }
        EXPECT_LT (worst, 1e-6f);
    }
}
} // namespace
