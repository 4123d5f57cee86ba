#include "dsp/widening/LR4HighPass.h"
#include "dsp/widening/LR4LowPass.h"
#include <gtest/gtest.h>

namespace
{
using corvane::LR4Filter;

std::vector<float> coefficientsOf (const juce::dsp::IIR::Filter<float>& stage)
{
    const auto& values = stage.coefficients->coefficients;
    return {values.begin(), values.end()};
}

struct ClampCase
{
    double sampleRate;
    float requestedHz, designedHz;
};

std::ostream& operator<< (std::ostream& os, const ClampCase& c)
{
    return os << c.sampleRate << " Hz rate, " << c.requestedHz << " Hz asked, " << c.designedHz << " Hz designed";
}

struct LR4FilterClampTest : ::testing::TestWithParam<ClampCase>
{
};

// Property: out-of-range cutoffs design exactly the clamped filter, in both stages, each with its
// own coefficient object, so retuning one filter never retunes another.
TEST_P (LR4FilterClampTest, CutoffClampsAndStagesOwnIdenticalCoefficients)
{
    const auto& c = GetParam();
    corvane::LR4LowPass lowPass, lowPassReference;
    corvane::LR4HighPass highPass, highPassReference;
    for (LR4Filter* filter : std::initializer_list<LR4Filter*>{&lowPass, &lowPassReference, &highPass, &highPassReference})
        filter->prepare (c.sampleRate, 1000.0f);

    lowPass.setCutoff (c.requestedHz);
    highPass.setCutoff (c.requestedHz);
    lowPassReference.setCutoff (c.designedHz);
    highPassReference.setCutoff (c.designedHz);

    EXPECT_EQ (coefficientsOf (lowPass.stage1), coefficientsOf (lowPassReference.stage1));
    EXPECT_EQ (coefficientsOf (highPass.stage1), coefficientsOf (highPassReference.stage1));
    for (const LR4Filter* filter : {static_cast<const LR4Filter*> (&lowPass), static_cast<const LR4Filter*> (&highPass)})
    {
        EXPECT_EQ (coefficientsOf (filter->stage1), coefficientsOf (filter->stage2));
        EXPECT_NE (filter->stage1.coefficients.get(), filter->stage2.coefficients.get());
    }
    EXPECT_NE (lowPass.stage1.coefficients.get(), lowPassReference.stage1.coefficients.get());
}

const ClampCase clampCases[] = {
    {48000.0, 5.0f, 20.0f},
    {48000.0, 30000.0f, 21600.0f},
    {44100.0, 30000.0f, 19845.0f},
    {96000.0, 1234.5f, 1234.5f},
};
INSTANTIATE_TEST_SUITE_P (Cases, LR4FilterClampTest, ::testing::ValuesIn (clampCases));

// Property: the Linkwitz-Riley edges, -6 dB for both filters at the cutoff, and low-pass plus
// high-pass summing to an all-pass (flat magnitude) across the band.
TEST (LR4FilterTest, CrossoverIsMinusSixDbAtCutoffAndSumsFlat)
{
    constexpr double sampleRate = 48000.0;
    for (const auto cutoffHz : {80.0f, 300.0f, 2500.0f, 8000.0f})
    {
        corvane::LR4LowPass lowPass;
        corvane::LR4HighPass highPass;
        lowPass.prepare (sampleRate, cutoffHz);
        highPass.prepare (sampleRate, cutoffHz);

        const auto stageGain = [&] (const LR4Filter& f, double hz)
        { return f.stage1.coefficients->getMagnitudeForFrequency (hz, sampleRate); };
        // 0.01 dB covers the float rounding of the coefficients.
        EXPECT_NEAR (juce::Decibels::gainToDecibels (std::pow (stageGain (lowPass, cutoffHz), 2.0)), -6.0206, 0.01) << cutoffHz;
        EXPECT_NEAR (juce::Decibels::gainToDecibels (std::pow (stageGain (highPass, cutoffHz), 2.0)), -6.0206, 0.01) << cutoffHz;

        // Impulse response of the sum, then its magnitude at a few frequencies by direct DFT.
        std::vector<double> sum (16384);
        for (size_t n = 0; n < sum.size(); ++n)
        {
            const auto x = n == 0 ? 1.0f : 0.0f;
            sum[n] = (double) lowPass.processSample (x) + (double) highPass.processSample (x);
        }
        for (const auto hz : {30.0, 200.0, 1000.0, 5000.0, 15000.0})
        {
            std::complex<double> response;
            for (size_t n = 0; n < sum.size(); ++n)
                response += sum[n] * std::polar (1.0, -juce::MathConstants<double>::twoPi * hz * (double) n / sampleRate);
            // 2e-3 (0.02 dB): float coefficients of low-cutoff biquads are that coarse near DC.
            EXPECT_NEAR (std::abs (response), 1.0, 2e-3) << cutoffHz << " Hz cutoff at " << hz << " Hz";
        }
    }
}

// Property: reset forgets the signal completely: afterwards the output is that of a fresh filter.
TEST (LR4FilterTest, ResetMatchesFreshFilter)
{
    corvane::LR4LowPass used, fresh;
    used.prepare (44100.0, 700.0f);
    fresh.prepare (44100.0, 700.0f);
    juce::Random random (7);
    for (int n = 0; n < 1000; ++n)
        used.processSample (random.nextFloat() * 2.0f - 1.0f);

    used.reset();
    for (int n = 0; n < 1000; ++n)
    {
        const auto x = random.nextFloat() * 2.0f - 1.0f;
        ASSERT_EQ (used.processSample (x), fresh.processSample (x)) << "sample " << n;
    }
}
} // namespace
