#include "dsp/resonance/ResonanceSuppressor.h"
#include "tests/AllocationCounter.h"
#include "tests/BufferChecks.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <functional>
#include <ostream>

using resonance::ResonanceSuppressor;
using Spectrum = std::vector<std::complex<float>>;

namespace
{
constexpr double sampleRate = 48000.0;
constexpr int liveOrder = 10, liveHop = 256; // 1024-sample frames, bins 46.875 Hz apart
constexpr int peakBin = 100;

ResonanceSuppressor::Settings resonanceOnly (float sensitivity, float sharpness)
{
    ResonanceSuppressor::Settings s;
    s.amount = 1.0f;
    s.sensitivity = sensitivity;
    s.sharpness = sharpness;
    return s;
}

ResonanceSuppressor::Settings harshnessOnly (float lowHz, float highHz, float amount)
{
    ResonanceSuppressor::Settings s;
    s.harshnessAmount = amount;
    s.harshnessSensitivity = 1.0f;
    s.harshnessLowHz = lowHz;
    s.harshnessHighHz = highHz;
    return s;
}

// A flat spectrum of magnitude 1 with alternating phases, as the bins of broadband noise.
Spectrum flatSpectrum (int numBins)
{
    Spectrum bins ((size_t) numBins);
    for (size_t i = 0; i < bins.size(); ++i)
        bins[i] = std::polar (1.0f, 0.7f * (float) i);
    return bins;
}

float decibels (float ratio) { return 20.0f * std::log10 (ratio); }

// Feeds the same spectrum for a number of frames; returns the attenuation in dB of every bin in the last.
std::vector<float> reductionsAfterFrames (ResonanceSuppressor& suppressor, const Spectrum& input, int frames)
{
    auto output = input;
    for (int f = 0; f < frames; ++f)
    {
        output = input;
        suppressor.processSpectrum (0, output.data(), (int) output.size());
    }

    std::vector<float> reductionsDb (input.size());
    for (size_t i = 0; i < input.size(); ++i)
        reductionsDb[i] = -decibels (std::abs (output[i]) / std::abs (input[i]));
    return reductionsDb;
}

struct PreparedSuppressor
{
    explicit PreparedSuppressor (const ResonanceSuppressor::Settings& settings, int order = liveOrder, int hop = liveHop)
    {
        suppressor.prepare (sampleRate, order, hop);
        suppressor.setSettings (settings);
    }

    ResonanceSuppressor suppressor;
};
} // namespace

//==================================================================================================
// Resonance detector.

struct ThresholdCase
{
    float sensitivity, sharpness, peakAboveNeighboursDb, expectedReductionDb;
};

std::ostream& operator<< (std::ostream& stream, const ThresholdCase& c)
{
    return stream << "sensitivity " << c.sensitivity << ", sharpness " << c.sharpness << ", peak " << c.peakAboveNeighboursDb << " dB";
}

struct ResonanceThresholdTest : ::testing::TestWithParam<ThresholdCase> {};

// Property: a bin is attenuated in proportion to how far it stands above the threshold, up to
// maxReductionDb at threshold + range; every other bin keeps its exact value.
TEST_P (ResonanceThresholdTest, PeakIsAttenuatedByItsHeightAboveTheThreshold)
{
    auto settings = resonanceOnly (GetParam().sensitivity, GetParam().sharpness);
    settings.attackMs = settings.releaseMs = 1.0f; // settles within a few frames
    PreparedSuppressor fixture (settings);
    auto input = flatSpectrum (fixture.suppressor.getNumBins());
    input[peakBin] *= juce::Decibels::decibelsToGain (GetParam().peakAboveNeighboursDb);

    const auto reductionsDb = reductionsAfterFrames (fixture.suppressor, input, 50);

    EXPECT_NEAR (reductionsDb[peakBin], GetParam().expectedReductionDb, 1.0e-3f); // float rounding of the dB chain
    EXPECT_NEAR (fixture.suppressor.getLatestReductionDb (0), GetParam().expectedReductionDb, 1.0e-3f);
    for (size_t i = 0; i < input.size(); ++i)
        ASSERT_EQ (reductionsDb[i], i == (size_t) peakBin ? reductionsDb[i] : 0.0f) << "bin " << i;
}

// Threshold 18 - 13 · sensitivity dB, full detection a range of 9 - 6 · sharpness dB above it.
INSTANTIATE_TEST_SUITE_P (Cases, ResonanceThresholdTest, ::testing::Values (
    ThresholdCase { 0.5f, 0.5f, 11.0f, 0.0f }, ThresholdCase { 0.5f, 0.5f, 14.5f, 8.0f },
    ThresholdCase { 0.5f, 0.5f, 17.5f, 16.0f }, ThresholdCase { 0.5f, 0.5f, 30.0f, 16.0f },
    ThresholdCase { 1.0f, 1.0f, 4.5f, 0.0f }, ThresholdCase { 1.0f, 1.0f, 6.5f, 8.0f }, ThresholdCase { 1.0f, 1.0f, 8.0f, 16.0f },
    ThresholdCase { 0.0f, 0.0f, 17.5f, 0.0f }, ThresholdCase { 0.0f, 0.0f, 22.5f, 8.0f }, ThresholdCase { 0.0f, 0.0f, 27.0f, 16.0f },
    ThresholdCase { 1.0f, 2.0f, 6.5f, 8.0f })); // sharpness beyond 1 acts as 1 rather than turning the range negative

// Property: neighbours within ±h bins mask a peak, those further away do not; h shrinks with sharpness.
TEST (ResonanceNeighbourhood, OnlyBinsWithinTheHalfWidthMaskAPeak)
{
    struct Case { int order; float sharpness; int halfWidth; };
    for (const auto c : { Case { liveOrder, 0.0f, 12 }, Case { liveOrder, 0.5f, 9 }, Case { liveOrder, 1.0f, 6 }, Case { 11, 0.5f, 17 } })
    {
        for (const auto distance : { c.halfWidth, c.halfWidth + 1 })
        {
            PreparedSuppressor fixture (resonanceOnly (0.5f, c.sharpness), c.order, 1 << (c.order - 2));
            auto input = flatSpectrum (fixture.suppressor.getNumBins());
            const auto peak = std::polar (31.6f, 0.3f); // 30 dB above the floor
            input[peakBin] = input[(size_t) (peakBin - distance)] = input[(size_t) (peakBin + distance)] = peak;

            const auto reductionDb = reductionsAfterFrames (fixture.suppressor, input, 1)[peakBin];
            if (distance == c.halfWidth)
                EXPECT_EQ (reductionDb, 0.0f) << "order " << c.order << ", sharpness " << c.sharpness;
            else
                EXPECT_GT (reductionDb, 0.5f) << "order " << c.order << ", sharpness " << c.sharpness;
        }
    }
}

// Property: bins are judged in order, each against its lower neighbours as already attenuated in
// this frame: a peak beside a stronger, attenuated peak is caught. Bin 100 stands 19 dB above its
// neighbours and loses 16 dB; against that, bin 103 stands 14.5 dB out (8 dB of reduction), while
// against bin 100's original level it would stand 0.6 dB below its neighbours.
TEST (ResonanceNeighbourhood, LowerNeighboursCountAtTheirAttenuatedLevel)
{
    auto settings = resonanceOnly (0.5f, 0.5f);
    settings.attackMs = 1.0f;
    PreparedSuppressor fixture (settings);
    auto input = flatSpectrum (fixture.suppressor.getNumBins());
    input[peakBin] *= 100.0f;
    input[peakBin + 3] *= 31.6f;

    const auto reductionsDb = reductionsAfterFrames (fixture.suppressor, input, 50);
    EXPECT_NEAR (reductionsDb[peakBin], 16.0f, 1.0e-3f);
    EXPECT_NEAR (reductionsDb[peakBin + 3], 8.0f, 0.5f); // 31.6 is 30 dB only to within 0.01 dB
}

// Property: a standing resonance is pulled down at the attack rate and let go at the release rate:
// after one attack time the reduction has covered 1 - 1/e of the way to maxReductionDb · amount,
// after one release time 1/e of it is left.
TEST (ResonanceTiming, AttackAndReleaseFollowTheirTimeConstants)
{
    struct Case { float amount, maxReductionDb; };
    for (const auto c : { Case { 1.0f, 16.0f }, Case { 0.5f, 12.0f } })
    {
        auto settings = resonanceOnly (0.5f, 0.5f);
        settings.amount = c.amount;
        settings.maxReductionDb = c.maxReductionDb;
        settings.attackMs = 32.0f;  // 6 hops of 256 samples at 48 kHz
        settings.releaseMs = 64.0f; // 12 hops
        PreparedSuppressor fixture (settings);
        const auto floor = flatSpectrum (fixture.suppressor.getNumBins());
        auto resonant = floor;
        resonant[peakBin] *= 31.6f;

        const auto fullDb = c.maxReductionDb * c.amount;
        const auto afterAttackDb = reductionsAfterFrames (fixture.suppressor, resonant, 6)[peakBin];
        EXPECT_NEAR (afterAttackDb, fullDb * (1.0f - std::exp (-1.0f)), 1.0e-3f) << c.amount; // float rounding over 6 frames

        const auto settledDb = reductionsAfterFrames (fixture.suppressor, resonant, 60)[peakBin];
        EXPECT_NEAR (settledDb, fullDb, 1.0e-3f) << c.amount; // e^-11 of the way is left

        const auto afterReleaseDb = reductionsAfterFrames (fixture.suppressor, floor, 12)[peakBin];
        EXPECT_NEAR (afterReleaseDb, settledDb * std::exp (-1.0f), 1.0e-3f) << c.amount;
    }
}

namespace
{
// The frame work written out plainly: every neighbourhood searched with hypot, every logarithm
// taken, every bin scaled. The suppressor takes shortcuts that must not change its result.
struct PlainFrameModel
{
    PlainFrameModel (const ResonanceSuppressor::Settings& settings, int fftSize, int hopSize)
        : s (settings), n (fftSize / 2 + 1), binHz ((float) (sampleRate / fftSize)), detection ((size_t) n)
    {
        const auto hopMs = hopSize * 1000.0 / sampleRate;
        const auto coeff = [hopMs] (double ms) { return (float) std::exp (-hopMs / ms); };
        attack = coeff (std::max ((double) s.attackMs, 1.0));
        release = coeff (std::max ((double) s.releaseMs, 1.0));
        bandSmooth = coeff (250.0);
        harshAttack = coeff (400.0);
        harshRelease = coeff (700.0);
    }

    static float weight (float f)
    {
        const auto smoothstep = [] (float t) { t = juce::jlimit (0.0f, 1.0f, t); return t * t * (3.0f - 2.0f * t); };
        if (f < 700.0f) return 0.7f;
        if (f < 2400.0f) return 0.7f + 1.3f * smoothstep ((f - 700.0f) / 1700.0f);
        if (f <= 3600.0f) return 2.0f;
        if (f < 8000.0f) return 2.0f - 1.2f * smoothstep ((f - 3600.0f) / 4400.0f);
        if (f < 16000.0f) return 0.8f + 1.4000001f * smoothstep ((f - 8000.0f) / 8000.0f);
        return 2.2f;
    }

    void frame (std::complex<float>* x)
    {
        const auto low = std::max (s.harshnessLowHz, 20.0f), high = std::max (s.harshnessHighHz, low + 200.0f);
        const auto C = std::max (0.2f * low, 1.0f);
        const auto B = std::max (std::min (0.3f * std::max ((float) (sampleRate / 2.0) - high, 0.0f), 0.2f * high), 1.0f);
        const auto thr = 18.0f - 13.0f * s.sensitivity, rng = 9.0f - 6.0f * s.sharpness;
        const auto h = juce::jlimit (2, 48, (int) std::round ((550.0f - 290.0f * s.sharpness) / binHz));
        std::array<double, 6> bandPower {}, bandWeight {};
        double refPower = 0.0, refWeight = 0.0;

        for (int i = 1; i <= n - 2; ++i)
        {
            float top[3] = {};
            for (int j = std::max (i - h, 1); j <= std::min (i + h, n - 2); ++j)
            {
                const auto v = j == i ? 0.0f : std::hypot (x[j].real(), x[j].imag());
                if (v > top[2]) { top[2] = v; std::sort (top, top + 3, std::greater<float>()); }
            }
            const auto a = std::hypot (x[i].real(), x[i].imag());
            const auto ratioDb = 20.0f * std::log10 ((a + 1e-9f) / ((top[0] + top[1] + top[2]) / 3.0f + 1e-9f));
            const auto target = juce::jlimit (0.0f, 1.0f, (ratioDb - thr) / rng);
            auto& K = detection[(size_t) i];
            const auto c = target > K ? attack : release;
            K = c * K + (1.0f - c) * target;

            const auto f = (float) (sampleRate * i / (2 * (n - 1)));
            const auto P = juce::jlimit (0, 5, (int) (std::log (juce::jlimit (low, high, f) / low) / std::log (high / low) * 6.0f));
            const auto M = std::min (juce::jlimit (0.0f, 1.0f, (f - (low - C)) / (2.0f * C)), juce::jlimit (0.0f, 1.0f, ((high + B) - f) / (2.0f * B)));
            const auto q = (double) a * a;
            if (M > 0.0f) { bandPower[(size_t) P] += q * M; bandWeight[(size_t) P] += M; }
            if (M < 1.0f && f >= 0.75f * low) { refPower += q * (1.0f - M); refWeight += 1.0f - M; }
            const auto H = M > 0.0f ? M * bandReductionDb[(size_t) P] * weight (f) : 0.0f;
            const auto L = std::max (s.maxReductionDb * (s.amount * K), H);
            x[i] *= L < 100.0f ? std::pow (10.0f, -0.05f * L) : 0.0f;
        }

        referenceEnergy = bandSmooth * referenceEnergy + (1.0f - bandSmooth) * (float) (refWeight > 0.0 ? refPower / refWeight : 0.0);
        for (size_t k = 0; k < 6; ++k)
        {
            bandEnergy[k] = bandSmooth * bandEnergy[k] + (1.0f - bandSmooth) * (float) (bandWeight[k] > 0.0 ? bandPower[k] / bandWeight[k] : 0.0);
            const auto levelDb = 10.0f * std::log10 ((bandEnergy[k] + 1e-12f) / (referenceEnergy + 1e-12f));
            const auto w = weight (low * std::pow (high / low, ((float) k + 0.5f) / 6.0f));
            const auto target = juce::jlimit (0.0f, 1.0f, (levelDb - ((10.0f - 10.0f * s.harshnessSensitivity) - 6.0f * (w - 1.0f))) / 6.0f);
            const auto c = target > bandDetection[k] ? harshAttack : harshRelease;
            bandDetection[k] = c * bandDetection[k] + (1.0f - c) * target;
            bandReductionDb[k] = s.harshnessMaxReductionDb * (s.harshnessAmount * bandDetection[k]);
        }
    }

    ResonanceSuppressor::Settings s;
    int n;
    float binHz;
    float attack, release, bandSmooth, harshAttack, harshRelease;
    std::vector<float> detection;
    std::array<float, 6> bandEnergy {}, bandDetection {}, bandReductionDb {};
    float referenceEnergy = 0.0f;
};
} // namespace

// Property: the suppressor's gains equal those of the plain per-bin formulas to within 1e-6, frame
// after frame, on full-scale frames of noise with resonances at the most sensitive settings.
TEST (ResonanceSuppressorFrames, GainsMatchThePlainFormulas)
{
    for (const auto order : { 10, 11 })
    {
        auto settings = harshnessOnly (700.0f, 20000.0f, 1.0f);
        settings.amount = 1.0f;
        settings.sensitivity = 1.0f;
        settings.sharpness = 0.3f;
        PreparedSuppressor fixture (settings, order, 1 << (order - 2));
        PlainFrameModel model (settings, 1 << order, 1 << (order - 2));

        juce::Random random (14);
        juce::dsp::FFT fft (order);
        std::vector<float> frame (2u << order);
        int resonanceCuts = 0, harshnessCuts = 0;
        for (int f = 0; f < 200; ++f)
        {
            // Noise at full scale, with a few tones that come and go, through the analysis window's shape.
            for (size_t j = 0; j < frame.size() / 2; ++j)
            {
                const auto window = std::sin (juce::MathConstants<float>::pi * (float) j / (float) (frame.size() / 2));
                const auto tone = (f / 20) % 2 == 0 ? std::sin (0.3f * (float) j) + 0.5f * std::sin (1.1f * (float) j) : 0.0f;
                frame[j] = window * (0.5f * (random.nextFloat() * 2.0f - 1.0f) + 0.5f * tone);
            }
            std::fill (frame.begin() + (long) frame.size() / 2, frame.end(), 0.0f);
            fft.performRealOnlyForwardTransform (frame.data(), true);

            auto* bins = reinterpret_cast<std::complex<float>*> (frame.data());
            const Spectrum input (bins, bins + model.n);
            auto fast = input, plain = input;
            fixture.suppressor.processSpectrum (0, fast.data(), model.n);
            model.frame (plain.data());

            for (size_t i = 0; i < input.size(); ++i)
            {
                const auto scale = std::max (std::abs (input[i]), 1.0e-20f);
                ASSERT_NEAR (std::abs (fast[i]) / scale, std::abs (plain[i]) / scale, 1.0e-6f) << "order " << order << ", frame " << f << ", bin " << i;
            }
            resonanceCuts += std::count_if (model.detection.begin(), model.detection.end(), [] (float d) { return d > 0.1f; });
            harshnessCuts += std::count_if (model.bandReductionDb.begin(), model.bandReductionDb.end(), [] (float db) { return db > 0.1f; });
        }
        EXPECT_GT (resonanceCuts, 100) << "order " << order; // both detectors were at work
        EXPECT_GT (harshnessCuts, 10) << "order " << order;
    }
}

//==================================================================================================
// Harshness detector.

struct HarshnessCase
{
    int fftOrder;
    float lowHz, highHz, amount;
    float touchableFromHz, touchableToHz; // the band with its ramps, after clamping
};

std::ostream& operator<< (std::ostream& stream, const HarshnessCase& c)
{
    return stream << c.lowHz << " to " << c.highHz << " Hz, amount " << c.amount;
}

struct HarshnessBandTest : ::testing::TestWithParam<HarshnessCase> {};

// Property: with a band 20 dB louder than the rest, exactly the bins within the band and its ramps
// are attenuated, never by more than harshnessMaxReductionDb · harshnessAmount · 2.2.
TEST_P (HarshnessBandTest, OnlyTheBandAndItsRampsAreAttenuatedWithinTheBound)
{
    const auto& c = GetParam();
    PreparedSuppressor fixture (harshnessOnly (c.lowHz, c.highHz, c.amount), c.fftOrder, 1 << (c.fftOrder - 2));
    auto input = flatSpectrum (fixture.suppressor.getNumBins());
    const auto binHz = (float) sampleRate / (float) (1 << c.fftOrder);
    for (size_t i = 0; i < input.size(); ++i)
        if (const auto hz = binHz * (float) i; hz > c.touchableFromHz && hz < c.touchableToHz)
            input[i] *= 10.0f;

    const auto reductionsDb = reductionsAfterFrames (fixture.suppressor, input, 1000); // 5.3 s, long after the 400 ms attack
    const auto boundDb = 8.0f * c.amount * 2.2f;

    for (size_t i = 0; i < input.size(); ++i)
    {
        const auto hz = binHz * (float) i;
        if (hz <= c.touchableFromHz || hz >= c.touchableToHz)
        {
            ASSERT_EQ (reductionsDb[i], 0.0f) << hz << " Hz";
        }
        else
        {
            ASSERT_GT (reductionsDb[i], 0.0f) << hz << " Hz";
        }
        ASSERT_LE (reductionsDb[i], boundDb + 1.0e-4f) << hz << " Hz"; // dB rounding
    }
}

INSTANTIATE_TEST_SUITE_P (Cases, HarshnessBandTest, ::testing::Values (
    HarshnessCase { liveOrder, 2000.0f, 8000.0f, 1.0f, 1600.0f, 9600.0f }, // ramps of 400 Hz below, 1600 Hz above
    HarshnessCase { liveOrder, 8000.0f, 20000.0f, 1.5f, 6400.0f, 21200.0f }, // weight 2.2 above 16 kHz
    HarshnessCase { 11, 10.0f, 50.0f, 1.0f, 16.0f, 264.0f }));             // clamped to 20 to 220 Hz; 23.4 Hz bins resolve the edges

// Property: across the lower ramp the attenuation rises steadily into the band.
TEST (HarshnessRamp, LowerRampRisesSteadily)
{
    PreparedSuppressor fixture (harshnessOnly (2000.0f, 8000.0f, 1.0f));
    auto input = flatSpectrum (fixture.suppressor.getNumBins());
    for (int i = 35; i <= 204; ++i) // 1640 to 9560 Hz
        input[(size_t) i] *= 10.0f;

    const auto reductionsDb = reductionsAfterFrames (fixture.suppressor, input, 1000);
    for (int i = 35; i <= 51; ++i) // 1640 to 2390 Hz, from low - C to low + C
        EXPECT_GT (reductionsDb[(size_t) i], reductionsDb[(size_t) i - 1]) << "bin " << i;
}

//==================================================================================================
// Both detectors, whole blocks.

// Property: DC and Nyquist pass untouched however strongly both detectors act.
TEST (ResonanceSuppressorBins, DcAndNyquistPassUnchanged)
{
    auto settings = harshnessOnly (20.0f, 24000.0f, 1.0f);
    settings.amount = 1.0f;
    settings.sensitivity = 1.0f;
    PreparedSuppressor fixture (settings);
    auto input = flatSpectrum (fixture.suppressor.getNumBins());
    input.front() = input.back() = 1000.0f;
    for (size_t i = 1; i < input.size() - 1; i += 7)
        input[i] *= 100.0f;

    auto output = input;
    for (int frame = 0; frame < 200; ++frame)
    {
        output = input;
        fixture.suppressor.processSpectrum (0, output.data(), (int) output.size());
    }

    EXPECT_GT (fixture.suppressor.getLatestReductionDb (0), 1.0f);
    EXPECT_EQ (output.front(), input.front());
    EXPECT_EQ (output.back(), input.back());
}

namespace
{
juce::AudioBuffer<float> noisyBuffer (int numChannels, int numSamples, float gain, juce::int64 seed)
{
    juce::Random random (seed);
    juce::AudioBuffer<float> buffer (numChannels, numSamples);
    for (int ch = 0; ch < numChannels; ++ch)
        for (int n = 0; n < numSamples; ++n)
            buffer.setSample (ch, n, gain * (random.nextFloat() * 2.0f - 1.0f));
    return buffer;
}

void addSine (juce::AudioBuffer<float>& buffer, double hz, float amplitude, int fromSample = 0)
{
    for (int ch = 0; ch < buffer.getNumChannels(); ++ch)
        for (int n = fromSample; n < buffer.getNumSamples(); ++n)
            buffer.getWritePointer (ch)[n] += amplitude * (float) std::sin (juce::MathConstants<double>::twoPi * hz * n / sampleRate);
}

// A 3 kHz sine (bin 64 of a 1024-sample frame) well above a faint noise floor.
juce::AudioBuffer<float> sineOverNoise (int numChannels, int numSamples, juce::int64 seed)
{
    auto buffer = noisyBuffer (numChannels, numSamples, 1.0e-3f, seed);
    addSine (buffer, 3000.0, 0.5f);
    return buffer;
}

bool equalSamples (const juce::AudioBuffer<float>& a, const juce::AudioBuffer<float>& b, int channel)
{
    return std::equal (a.getReadPointer (channel), a.getReadPointer (channel) + a.getNumSamples(), b.getReadPointer (channel));
}

// Amplitude of the component at hz over the given samples, by correlation.
double amplitudeAt (const float* samples, int length, double hz)
{
    double re = 0.0, im = 0.0;
    for (int n = 0; n < length; ++n)
    {
        const auto phase = juce::MathConstants<double>::twoPi * hz * n / sampleRate;
        re += samples[n] * std::cos (phase);
        im += samples[n] * std::sin (phase);
    }
    return 2.0 * std::hypot (re, im) / length;
}
} // namespace

// Property: a sine well above a noise floor is pulled down in the output, and the meter follows
// the attack and release time constants frame by frame.
TEST (ResonanceSuppressorAudio, SineAboveNoiseIsPulledDownAndLetGo)
{
    auto settings = resonanceOnly (1.0f, 0.5f); // a windowed sine stands 12.3 dB above its neighbours
    settings.attackMs = 32.0f;
    settings.releaseMs = 64.0f;
    PreparedSuppressor fixture (settings);
    const auto attack = std::exp (-(liveHop / sampleRate * 1000.0) / 32.0);
    const auto release = std::exp (-(liveHop / sampleRate * 1000.0) / 64.0);
    constexpr double sineHz = 3000.0; // bin 64, so every full frame sees the same magnitudes

    constexpr int sineFrames = 60;
    auto input = noisyBuffer (2, sineFrames * liveHop, 1.0e-3f, 7);
    addSine (input, sineHz, 0.5f);
    auto output = input;
    for (int frame = 1; frame <= sineFrames; ++frame)
    {
        juce::AudioBuffer<float> block (output.getArrayOfWritePointers(), 2, (frame - 1) * liveHop, liveHop);
        fixture.suppressor.process (block);

        // From frame 4 the frame is all sine and the peak's target is 1; before, anything from 0 to 1.
        const auto meterDb = fixture.suppressor.getLatestReductionDb (0);
        if (frame >= 4)
        {
            EXPECT_GE (meterDb, 16.0 * (1.0 - std::pow (attack, frame - 3)) - 1.0e-3) << "frame " << frame;
            EXPECT_LE (meterDb, 16.0 * (1.0 - std::pow (attack, frame)) + 1.0e-3) << "frame " << frame;
        }
    }

    // Through the square-root Hann windows at 4-fold overlap the peak bin carries 81 % of the
    // resynthesised sine, so 16 dB off that bin takes 10 dB off the sine; 1 dB covers what the
    // approximation leaves out.
    const auto steadyStart = output.getNumSamples() - 8 * liveHop;
    const auto outputAmplitude = amplitudeAt (output.getReadPointer (0) + steadyStart, 8 * liveHop, sineHz);
    EXPECT_NEAR (20.0 * std::log10 (outputAmplitude / 0.5), -10.0, 1.0);

    // Silence: once the sine has left the ring all targets are 0 and every frame keeps `release` of the last.
    juce::AudioBuffer<float> silence (2, liveHop);
    float previousDb = 0.0f;
    for (int frame = 1; frame <= 20; ++frame)
    {
        silence.clear();
        fixture.suppressor.process (silence);
        const auto meterDb = fixture.suppressor.getLatestReductionDb (0);
        if (frame > 4)
        {
            EXPECT_NEAR (meterDb, previousDb * release, 1.0e-4) << "frame " << frame; // float rounding
        }
        previousDb = meterDb;
    }
}

// Property: the reported latency is the measured delay when nothing stands out.
TEST (ResonanceSuppressorAudio, LatencyMatchesMeasuredDelay)
{
    for (const auto order : { 10, 11 })
    {
        auto settings = resonanceOnly (0.0f, 0.0f); // 18 dB threshold: white noise never gets there
        settings.harshnessAmount = 1.0f;
        settings.harshnessSensitivity = 0.0f; // threshold 2.8 dB or more above a flat spectrum
        PreparedSuppressor fixture (settings, order, 1 << (order - 2));
        const auto latency = fixture.suppressor.getLatencySamples();
        EXPECT_EQ (latency, 1 << order);

        const auto input = noisyBuffer (2, 8 * latency, 0.5f, 8);
        auto output = input;
        for (int start = 0; start < output.getNumSamples(); start += 480)
        {
            juce::AudioBuffer<float> block (output.getArrayOfWritePointers(), 2, start, std::min (480, output.getNumSamples() - start));
            fixture.suppressor.process (block);
        }

        EXPECT_EQ (fixture.suppressor.getLatestReductionDb (0), 0.0f);
        for (int ch = 0; ch < 2; ++ch)
            for (int n = latency; n < output.getNumSamples(); ++n)
                ASSERT_NEAR (output.getSample (ch, n), input.getSample (ch, n - latency), 5.0e-7f) << "sample " << n; // transform rounding
    }
}

// Property: with both amounts at 0 or below the buffer is not touched, not even delayed.
TEST (ResonanceSuppressorAudio, ZeroAmountsLeaveTheBufferUntouched)
{
    for (const auto amount : { 0.0f, -1.0f })
    {
        auto settings = resonanceOnly (1.0f, 1.0f);
        settings.amount = settings.harshnessAmount = amount;
        PreparedSuppressor fixture (settings);
        auto input = noisyBuffer (2, 4096, 0.5f, 9);
        addSine (input, 3000.0, 0.5f);
        auto output = input;
        fixture.suppressor.process (output);

        EXPECT_TRUE (equalSamples (output, input, 0) && equalSamples (output, input, 1)) << amount;
    }
}

// Property: a mono buffer runs channel 0 only; channel 1's history and meter stay clear.
TEST (ResonanceSuppressorAudio, MonoBufferTouchesChannelZeroOnly)
{
    PreparedSuppressor fixture (resonanceOnly (1.0f, 0.5f));
    auto mono = sineOverNoise (1, 8192, 10);
    fixture.suppressor.process (mono);
    EXPECT_GT (fixture.suppressor.getLatestReductionDb (0), 1.0f);
    EXPECT_EQ (fixture.suppressor.getLatestReductionDb (1), 0.0f);

    juce::AudioBuffer<float> stereoSilence (2, 1024);
    stereoSilence.clear();
    fixture.suppressor.process (stereoSilence);
    EXPECT_GT (stereoSilence.getMagnitude (0, 0, 1024), 0.1f); // channel 0's delayed sine
    EXPECT_EQ (stereoSilence.getMagnitude (1, 0, 1024), 0.0f);
}

// Property: reset zeroes both meters and forgets all audio.
TEST (ResonanceSuppressorAudio, ResetClearsMetersAndHistory)
{
    PreparedSuppressor fixture (resonanceOnly (1.0f, 0.5f));
    auto input = sineOverNoise (2, 8192, 11);
    fixture.suppressor.process (input);
    ASSERT_GT (fixture.suppressor.getLatestReductionDb (1), 1.0f);

    fixture.suppressor.reset();
    EXPECT_EQ (fixture.suppressor.getLatestReductionDb (0), 0.0f);
    EXPECT_EQ (fixture.suppressor.getLatestReductionDb (1), 0.0f);

    juce::AudioBuffer<float> silence (2, 4096);
    silence.clear();
    fixture.suppressor.process (silence);
    EXPECT_EQ (silence.getMagnitude (0, 4096), 0.0f);
}

// Property: once prepared, neither processing nor new settings allocate.
TEST (ResonanceSuppressorAudio, ProcessAllocatesNothing)
{
    auto settings = harshnessOnly (700.0f, 20000.0f, 1.0f);
    settings.amount = 1.0f;
    PreparedSuppressor fixture (settings);
    auto buffer = noisyBuffer (2, 4096, 0.5f, 12);
    addSine (buffer, 3000.0, 0.5f);

    testing_support::ScopedAllocationCount allocations;
    settings.harshnessLowHz = 1000.0f;
    fixture.suppressor.setSettings (settings);
    fixture.suppressor.process (buffer);
    fixture.suppressor.reset();
    fixture.suppressor.process (buffer);

    EXPECT_EQ (allocations.count(), 0);
}

// Property: loud, silent and denormal-range input all give finite output.
TEST (ResonanceSuppressorAudio, AbusiveInputGivesFiniteOutput)
{
    for (const auto gain : { 1.0e8f, 0.0f, 1.0e-40f })
    {
        auto settings = harshnessOnly (700.0f, 20000.0f, 1.0f);
        settings.amount = 1.0f;
        settings.sensitivity = 1.0f;
        PreparedSuppressor fixture (settings, 11, 512);
        auto buffer = noisyBuffer (2, 16384, gain, 13);
        addSine (buffer, 3000.0, gain);
        fixture.suppressor.process (buffer);

        EXPECT_TRUE (testing_support::allFinite (buffer)) << gain;
        EXPECT_TRUE (std::isfinite (fixture.suppressor.getLatestReductionDb (0))) << gain;
    }
}

// Property: settings outside their ranges are made safe where they are used; 100 dB or more of
// reduction mutes a bin outright.
TEST (ResonanceSuppressorAudio, OutOfRangeSettingsGiveFiniteOutput)
{
    auto settings = harshnessOnly (-100.0f, 0.0f, 1.0f);
    settings.amount = 1.0f;
    settings.sensitivity = 1.0f;
    settings.attackMs = 0.0f;
    settings.releaseMs = -5.0f;
    settings.maxReductionDb = 200.0f;
    PreparedSuppressor fixture (settings);
    auto buffer = sineOverNoise (2, 16384, 15);
    fixture.suppressor.process (buffer);

    EXPECT_TRUE (testing_support::allFinite (buffer));
    EXPECT_GE (fixture.suppressor.getLatestReductionDb (0), 100.0f); // the sine's bin is muted
}
