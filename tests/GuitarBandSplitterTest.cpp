#include "dsp/widening/GuitarBandSplitter.h"
#include <gtest/gtest.h>

namespace
{
using corvane::GuitarBandSplitter;

struct SplitterTest : ::testing::TestWithParam<double>
{
    GuitarBandSplitter splitter;
    void SetUp() override { splitter.prepare (GetParam()); }
};

// Property: the bands are remainders, so they always sum back to the input.
TEST_P (SplitterTest, BandsSumToInput)
{
    juce::Random random (42);
    for (int block = 0; block < 20; ++block)
    {
        splitter.lowSplit.setCutoff (50.0f + 50.0f * (float) block); // retuning must not break the sum
        for (int n = 0; n < 512; ++n)
        {
            const auto x = random.nextFloat() * 2.0f - 1.0f;
            const auto bands = splitter.split (x);
            // Two float subtractions of values below 2 in magnitude: a few ulp, well under 1e-6.
            ASSERT_NEAR (bands.low + bands.body + bands.presence, x, 1e-6f) << "block " << block << " sample " << n;
        }
    }
}

// Property: DC settles entirely in the low band; a 10 kHz tone lands in the presence band.
TEST_P (SplitterTest, DcGoesLowAndTenKilohertzGoesToPresence)
{
    const auto sampleRate = GetParam();
    const auto settle = (int) sampleRate; // one second, far longer than the 300 Hz filter's memory
    GuitarBandSplitter::Bands bands;
    for (int n = 0; n < settle; ++n)
        bands = splitter.split (0.5f);
    // 1e-4: float coefficients of a 300 Hz biquad miss unity DC gain by about 1e-4 (-80 dB).
    EXPECT_NEAR (bands.low, 0.5f, 1e-4f);
    EXPECT_NEAR (bands.body, 0.0f, 1e-4f);
    EXPECT_NEAR (bands.presence, 0.0f, 1e-4f);

    splitter.reset();
    double input = 0.0, presenceError = 0.0;
    for (int n = 0; n < 2 * settle; ++n)
    {
        const auto x = std::sin ((float) (juce::MathConstants<double>::twoPi * 10000.0 * n / sampleRate));
        bands = splitter.split (x);
        if (n < settle)
            continue;
        input += x * x;
        presenceError += (bands.presence - x) * (bands.presence - x);
    }
    // What is not in presence is in low or body: a fourth-order low-pass at 2500 Hz is about 48 dB
    // down two octaves above, so allow -40 dB.
    EXPECT_LT (presenceError / input, 1e-4);
}

INSTANTIATE_TEST_SUITE_P (Rates, SplitterTest, ::testing::Values (44100.0, 48000.0, 96000.0));
} // namespace
