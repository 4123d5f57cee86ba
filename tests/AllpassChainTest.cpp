#include "dsp/widening/AllpassChain.h"
#include <complex>
#include <gtest/gtest.h>
#include <juce_core/juce_core.h>

namespace
{
using corvane::AllpassChain;

// Property: no sections means the input passes untouched.
TEST (AllpassChainTest, NoSectionsPassesInputThrough)
{
    AllpassChain chain;
    chain.install (AllpassChain::tableA, 0);
    juce::Random random (3);
    for (int n = 0; n < 100; ++n)
    {
        const auto x = random.nextFloat() - 0.5f;
        ASSERT_EQ (chain.process (x), x);
    }
}

// Property: every table at every quality is flat in magnitude; it only moves phase.
TEST (AllpassChainTest, MagnitudeIsFlatForEveryTableAndLength)
{
    for (const auto* table : {&AllpassChain::tableA, &AllpassChain::tableB})
        for (const auto quality : {corvane::Quality::Live, corvane::Quality::Studio})
        {
            AllpassChain chain;
            chain.install (*table, AllpassChain::stagesFor (quality));
            std::vector<float> impulse (4096); // poles at most 0.93: the tail is gone long before
            for (size_t n = 0; n < impulse.size(); ++n)
                impulse[n] = chain.process (n == 0 ? 1.0f : 0.0f);

            for (const auto cyclesPerSample : {0.0, 0.002, 0.01, 0.05, 0.2, 0.37, 0.5})
            {
                std::complex<double> response;
                for (size_t n = 0; n < impulse.size(); ++n)
                    response += (double) impulse[n] * std::polar (1.0, -juce::MathConstants<double>::twoPi * cyclesPerSample * (double) n);
                EXPECT_NEAR (std::abs (response), 1.0, 1e-4) << cyclesPerSample; // float rounding in the sections
            }
        }
}
} // namespace
