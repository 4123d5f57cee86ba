#include "tests/AllocationCounter.h"
#include "dsp/widening/CorvaneWidener.h"
#include <gtest/gtest.h>

namespace
{
using corvane::CorvaneWidener;
using Settings = CorvaneWidener::Settings;

constexpr double sampleRate = 48000.0;
constexpr int blockSize = 512;
constexpr int rampSamples = 1200; // 25 ms at 48 kHz

struct Config
{
    int mode, quality;
};

std::ostream& operator<< (std::ostream& os, const Config& c)
{
    return os << "mode " << c.mode << ", quality " << c.quality;
}

// A stereo guitar-like test signal: a large shared part plus a smaller independent part per side.
juce::AudioBuffer<float> makeSignal (int numChannels, int numSamples, juce::int64 seed, float gain = 0.5f)
{
    juce::Random random (seed);
    juce::AudioBuffer<float> buffer (numChannels, numSamples);
    for (int n = 0; n < numSamples; ++n)
    {
        const auto common = random.nextFloat() * 2.0f - 1.0f;
        for (int ch = 0; ch < numChannels; ++ch)
            buffer.setSample (ch, n, gain * (0.8f * common + 0.2f * (random.nextFloat() * 2.0f - 1.0f)));
    }
    return buffer;
}

Settings fullSettings (const Config& config)
{
    Settings s;
    s.width = s.depth = s.motion = 1.0f;
    s.mode = config.mode;
    s.quality = config.quality;
    return s;
}

std::unique_ptr<CorvaneWidener> makeWidener (const Settings& settings)
{
    auto widener = std::make_unique<CorvaneWidener>();
    widener->settings = settings;
    widener->prepare (sampleRate);
    return widener;
}

void processInBlocks (CorvaneWidener& widener, juce::AudioBuffer<float>& buffer, int size = blockSize)
{
    for (int start = 0; start < buffer.getNumSamples(); start += size)
    {
        juce::AudioBuffer<float> block (buffer.getArrayOfWritePointers(), buffer.getNumChannels(), start,
                                        std::min (size, buffer.getNumSamples() - start));
        widener.process (block);
    }
}

void expectBitExact (const juce::AudioBuffer<float>& actual, const juce::AudioBuffer<float>& expected, const char* what)
{
    for (int ch = 0; ch < expected.getNumChannels(); ++ch)
        for (int n = 0; n < expected.getNumSamples(); ++n)
            ASSERT_EQ (actual.getSample (ch, n), expected.getSample (ch, n)) << what << ", channel " << ch << " sample " << n;
}

double deviationRms (const juce::AudioBuffer<float>& out, const juce::AudioBuffer<float>& in, int from, int to)
{
    double sum = 0.0;
    for (int ch = 0; ch < 2; ++ch)
        for (int n = from; n < to; ++n)
            sum += std::pow (out.getSample (ch, n) - in.getSample (ch, n), 2.0);
    return std::sqrt (sum / (2.0 * (to - from)));
}

struct WidenerTest : ::testing::TestWithParam<Config>
{
};

// Property: width 0 leaves the signal untouched, trim included, on every block, also after the
// widener has been active.
TEST_P (WidenerTest, WidthZeroIsBitExactPassThroughBlockAfterBlock)
{
    auto settings = fullSettings (GetParam());
    settings.width = 0.0f;
    settings.outputTrimDb = 6.0f;
    auto widener = makeWidener (settings);

    for (const auto widthBefore : {0.0f, 1.0f})
    {
        auto warmUp = makeSignal (2, 4 * blockSize, 1);
        widener->settings.width = widthBefore;
        processInBlocks (*widener, warmUp);

        widener->settings.width = 0.0f;
        const auto dry = makeSignal (2, 8 * blockSize, 2);
        auto wet = dry;
        processInBlocks (*widener, wet);
        expectBitExact (wet, dry, widthBefore > 0.0f ? "after widening" : "from the start");
    }
}

// Property: leaving the bypass ramps in over exactly 25 ms. A pure side input (mid 0) carries no
// synthetic side, so its output gain is the trim alone, which ramps from 1 like the width.
TEST_P (WidenerTest, RaisingWidthFadesInOverTwentyFiveMilliseconds)
{
    auto settings = fullSettings (GetParam());
    settings.width = 0.0f;
    settings.outputTrimDb = -6.0f;
    auto widener = makeWidener (settings);
    juce::AudioBuffer<float> side (2, 4 * blockSize);
    side.clear();
    processInBlocks (*widener, side);

    widener->settings.width = 1.0f;
    for (int ch = 0; ch < 2; ++ch)
        juce::FloatVectorOperations::fill (side.getWritePointer (ch), ch == 0 ? 0.5f : -0.5f, side.getNumSamples());
    processInBlocks (*widener, side);

    const auto target = juce::Decibels::decibelsToGain (-6.0f);
    for (int n = 0; n < side.getNumSamples(); ++n)
    {
        const auto gain = side.getSample (0, n) / 0.5f;
        // The ramp ends exactly on its target; before that, 1e-4 covers the float rounding
        // accumulated over at most 1200 ramp steps.
        if (n + 1 >= rampSamples)
        {
            ASSERT_EQ (gain, target) << n;
        }
        else
        {
            ASSERT_NEAR (gain, 1.0f + (target - 1.0f) * (float) (n + 1) / rampSamples, 1e-4f) << n;
        }
    }

    // The widening itself starts from the dry signal: in the first milliseconds it deviates far
    // less from the input than a widener that starts at full width.
    auto fading = makeWidener (fullSettings (GetParam()));
    auto instant = makeWidener (fullSettings (GetParam()));
    fading->settings.width = 0.0f;
    const auto dry = makeSignal (2, rampSamples, 3);
    auto fadingOut = dry, instantOut = dry;
    processInBlocks (*fading, fadingOut); // bypassed: the ramp will start from width 0
    fadingOut = dry;
    fading->settings.width = 1.0f;
    processInBlocks (*fading, fadingOut);
    processInBlocks (*instant, instantOut);
    EXPECT_LT (deviationRms (fadingOut, dry, 48, 240), 0.2 * deviationRms (instantOut, dry, 48, 240));
}

// Property: the guard and the limiter keep between 0.05 and 1 at either end of mono safety, and an
// anti-phase input drives them to their floor.
TEST_P (WidenerTest, CorrelationGuardAndLimiterStayWithinBounds)
{
    auto settings = fullSettings (GetParam());
    settings.monoSafety = 1.0f;
    auto widener = makeWidener (settings);

    auto antiPhase = makeSignal (2, 24000, 4);
    juce::FloatVectorOperations::negate (antiPhase.getWritePointer (1), antiPhase.getReadPointer (0), antiPhase.getNumSamples());
    auto guitar = makeSignal (2, 48000, 5);
    for (auto* signal : {&antiPhase, &guitar})
    {
        for (int start = 0; start < signal->getNumSamples(); start += 64)
        {
            juce::AudioBuffer<float> block (signal->getArrayOfWritePointers(), 2, start, 64);
            widener->process (block);
            ASSERT_GE (widener->getGuardGain(), 0.05f);
            ASSERT_LE (widener->getGuardGain(), 1.0f);
            ASSERT_GE (widener->getLimiterGain(), 0.05f);
            ASSERT_LE (widener->getLimiterGain(), 1.0f);
        }
        if (signal == &antiPhase)
        {
            EXPECT_LT (widener->getGuardGain(), 0.06f); // 0.5 s is 40 time constants of the 12 ms fall
            if (GetParam().mode == CorvaneWidener::adaptiveMode)
            {
                EXPECT_LT (widener->getLimiterGain(), 0.06f);
            }
        }
        widener->settings.monoSafety = 0.0f;
    }
}

INSTANTIATE_TEST_SUITE_P (AllModes, WidenerTest, ::testing::Values (Config{0, 0}, Config{0, 1}, Config{1, 0}, Config{1, 1}));

struct SwitchCase
{
    std::vector<Config> path; // four blocks in each (mode, quality), then compare the last
};

std::ostream& operator<< (std::ostream& os, const SwitchCase& c)
{
    for (const auto& step : c.path)
        os << "(" << step << ") ";
    return os;
}

struct WidenerSwitchTest : ::testing::TestWithParam<SwitchCase>
{
};

// Property: after a quality or mode switch the mode in use starts from cleared state, exactly like
// a freshly prepared widener; a mode left and entered again remembers nothing. Transient
// protection 0 takes the mid transient detector out of the comparison, since it rightly survives
// switches, and in "Legacy" presence width 0 does the same for the presence transient detector.
TEST_P (WidenerSwitchTest, SwitchedWidenerMatchesFreshOne)
{
    const auto& path = GetParam().path;
    auto settings = fullSettings (path.front());
    settings.transientProtect = 0.0f;
    settings.presenceWidth = path.back().mode == CorvaneWidener::legacyMode ? 0.0f : 0.7f;
    auto switched = makeWidener (settings);

    for (size_t i = 0; i + 1 < path.size(); ++i)
    {
        switched->settings.mode = path[i].mode;
        switched->settings.quality = path[i].quality;
        auto history = makeSignal (2, 4 * blockSize, 10 + (juce::int64) i);
        processInBlocks (*switched, history);
    }

    switched->settings.mode = settings.mode = path.back().mode;
    switched->settings.quality = settings.quality = path.back().quality;
    auto fresh = makeWidener (settings);
    const auto input = makeSignal (2, 4 * blockSize, 20);
    auto switchedOut = input, freshOut = input;
    processInBlocks (*switched, switchedOut);
    processInBlocks (*fresh, freshOut);
    expectBitExact (switchedOut, freshOut, "switched against fresh");
    EXPECT_EQ (switched->getActiveMode(), path.back().mode);
    EXPECT_EQ (switched->getActiveQuality(), path.back().quality);
}

// Quality switches within a mode, a mode switch, leaving and re-entering each mode, and both at once.
const SwitchCase switchPaths[] = {
    {{{1, 0}, {1, 1}}},
    {{{1, 1}, {1, 0}}},
    {{{0, 0}, {0, 1}}},
    {{{0, 1}, {1, 1}}},
    {{{1, 0}, {0, 0}, {1, 0}}},
    {{{0, 1}, {1, 1}, {0, 1}}},
    {{{0, 0}, {1, 1}}},
};
INSTANTIATE_TEST_SUITE_P (Paths, WidenerSwitchTest, ::testing::ValuesIn (switchPaths));

// Property: the low-mono crossovers move in block-sized steps along the 25 ms ramp: 3 steps with
// 512-sample blocks at 48 kHz, and the filters hold exactly the design for the reported cutoff.
TEST (WidenerLowMonoTest, RetunesInBlockSteps)
{
    auto widener = makeWidener (fullSettings ({1, 0}));
    widener->settings.lowMonoHz = 1000.0f;
    auto signal = makeSignal (2, blockSize, 6);
    const float expected[] = {300.0f + 700.0f * 512.0f / rampSamples, 300.0f + 700.0f * 1024.0f / rampSamples, 1000.0f, 1000.0f};
    for (const auto cutoffHz : expected)
    {
        processInBlocks (*widener, signal);
        EXPECT_NEAR (widener->getLowMonoCutoffHz(), cutoffHz, 1e-3f); // float ramp steps

        corvane::LR4LowPass reference;
        reference.prepare (sampleRate, widener->getLowMonoCutoffHz());
        for (int mode : {0, 1})
            for (int branch : {0, 1})
                EXPECT_EQ (widener->getSplitter (mode, branch).lowSplit.stage2.coefficients->coefficients,
                           reference.stage1.coefficients->coefficients);
    }
}

// Property: in "Adaptive Side V2" the synthetic side cancels in mono: L + R of the output is L + R
// of the input times the trim gain, at any width and depth.
TEST (WidenerMonoTest, AdaptiveFoldsDownToInputTimesTrim)
{
    for (const auto quality : {0, 1})
    {
        auto settings = fullSettings ({1, quality});
        settings.outputTrimDb = -3.0f;
        auto widener = makeWidener (settings);
        const auto in = makeSignal (2, 8 * blockSize, 7);
        auto out = in;
        processInBlocks (*widener, out);

        const auto trim = juce::Decibels::decibelsToGain (-3.0f);
        for (int n = 0; n < in.getNumSamples(); ++n)
            // 1e-5: rounding of (mid +- side) x trim with a side of a few units at most
            ASSERT_NEAR (out.getSample (0, n) + out.getSample (1, n), (in.getSample (0, n) + in.getSample (1, n)) * trim, 1e-5f) << n;
    }
}

// Property: a mono guitar's lows stay mono (the synthetic side is built from the upper bands; in
// "Adaptive Side V2" the body side is also high-passed at the low-mono frequency), and a DC input
// settles to a pure pass-through.
TEST (WidenerMonoTest, LowsStayMonoAndDcPassesUnchanged)
{
    for (const Config config : {Config{0, 1}, Config{1, 1}})
    {
        auto widener = makeWidener (fullSettings (config));
        juce::AudioBuffer<float> bass (2, 48000);
        for (int n = 0; n < bass.getNumSamples(); ++n)
            bass.setSample (0, n, 0.5f * std::sin ((float) (juce::MathConstants<double>::twoPi * 80.0 * n / sampleRate)));
        bass.copyFrom (1, 0, bass, 0, 0, bass.getNumSamples());
        processInBlocks (*widener, bass);
        double mid = 0.0, side = 0.0;
        for (int n = 24000; n < bass.getNumSamples(); ++n) // the second half, after the filters settled
        {
            mid += std::pow (bass.getSample (0, n) + bass.getSample (1, n), 2.0);
            side += std::pow (bass.getSample (0, n) - bass.getSample (1, n), 2.0);
        }
        // -30 dB: an 80 Hz tone sits well below the 300 Hz crossover; both modes measure near -45 dB.
        EXPECT_LT (side / mid, 1e-3) << config << ": side at " << 10.0 * std::log10 (side / mid) << " dB";
    }

    for (const Config config : {Config{0, 0}, Config{1, 1}})
    {
        auto widener = makeWidener (fullSettings (config));
        juce::AudioBuffer<float> dc (2, 48000);
        juce::FloatVectorOperations::fill (dc.getWritePointer (0), 0.5f, dc.getNumSamples());
        juce::FloatVectorOperations::fill (dc.getWritePointer (1), 0.25f, dc.getNumSamples());
        processInBlocks (*widener, dc);
        EXPECT_NEAR (dc.getSample (0, dc.getNumSamples() - 1), 0.5f, 1e-4f) << config; // settled filter tails
        EXPECT_NEAR (dc.getSample (1, dc.getNumSamples() - 1), 0.25f, 1e-4f) << config;
    }
}

// Property: once prepared, the widener never touches the heap, through bypass, ramps, retuning,
// quality and mode switches, and mono buffers.
TEST (WidenerRealTimeTest, ProcessAllocatesNothing)
{
    auto widener = makeWidener (fullSettings ({0, 0}));
    auto stereo = makeSignal (2, blockSize, 8);
    auto mono = makeSignal (1, blockSize, 9);

    testing_support::ScopedAllocationCount allocations;
    for (int block = 0; block < 64; ++block)
    {
        auto& s = widener->settings;
        s.width = block % 7 == 3 ? 0.0f : 0.3f + 0.01f * (float) block;
        s.lowMonoHz = 60.0f + 20.0f * (float) block;
        s.outputTrimDb = (float) (block % 5) - 2.0f;
        s.quality = (block / 4) % 2;
        s.mode = (block / 8) % 2;
        widener->process (block % 3 == 0 ? mono : stereo);
    }
    EXPECT_EQ (allocations.count(), 0);
}

// Property: abuse in settings and signal never produces a NaN or an infinity, and silence stays
// silent.
TEST (WidenerRealTimeTest, OutputStaysFiniteUnderAbuse)
{
    Settings loudest = fullSettings ({0, 0});
    loudest.bodyWidth = loudest.presenceWidth = loudest.transientProtect = 1.0f;
    loudest.monoSafety = 0.0f;
    loudest.outputTrimDb = 24.0f;
    loudest.lowMonoHz = 5.0f;
    Settings strictest = loudest;
    strictest.monoSafety = 1.0f;
    strictest.lowMonoHz = 30000.0f;
    strictest.outputTrimDb = -120.0f;
    Settings faintest = loudest;
    faintest.width = 1e-6f;
    faintest.transientProtect = 0.0f;

    using Fill = std::function<float (int n, juce::Random&)>;
    const std::pair<const char*, Fill> signals[] = {
        {"loud", [] (int, juce::Random& r)
         { return 1000.0f * (r.nextFloat() * 2.0f - 1.0f); }},
        {"silent", [] (int, juce::Random&)
         { return 0.0f; }},
        {"dc", [] (int, juce::Random&)
         { return 1.0f; }},
        {"denormal", [] (int, juce::Random& r)
         { return 1e-40f * (r.nextFloat() * 2.0f - 1.0f); }},
        {"nyquist", [] (int n, juce::Random&)
         { return n % 2 == 0 ? 1.0f : -1.0f; }},
    };

    for (const auto* base : {&loudest, &strictest, &faintest})
        for (const Config config : {Config{0, 0}, Config{0, 1}, Config{1, 0}, Config{1, 1}})
            for (const auto& [name, fill] : signals)
                for (const auto numChannels : {1, 2})
                {
                    auto settings = *base;
                    settings.mode = config.mode;
                    settings.quality = config.quality;
                    auto widener = makeWidener (settings);
                    juce::Random random (11);
                    juce::AudioBuffer<float> buffer (numChannels, 24000);
                    for (int ch = 0; ch < numChannels; ++ch)
                        for (int n = 0; n < buffer.getNumSamples(); ++n)
                            buffer.setSample (ch, n, fill (n, random));
                    processInBlocks (*widener, buffer);

                    for (int ch = 0; ch < numChannels; ++ch)
                        for (int n = 0; n < buffer.getNumSamples(); ++n)
                        {
                            const auto y = buffer.getSample (ch, n);
                            ASSERT_TRUE (std::isfinite (y)) << name << ", " << config << ", " << numChannels << " channels, sample " << n;
                            if (std::string (name) == "silent")
                            {
                                ASSERT_EQ (y, 0.0f);
                            }
                        }
                }
}
} // namespace
