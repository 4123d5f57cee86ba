#include "tests/AllocationCounter.h"

#include "dsp/resonance/STFTProcessor.h"

#include <gtest/gtest.h>

#include <cmath>
#include <ostream>

using resonance::STFTProcessor;

namespace
{
struct Case
{
    int fftOrder;
    int hopSize;
};

std::ostream& operator<< (std::ostream& stream, const Case& c)
{
    return stream << "order " << c.fftOrder << ", hop " << c.hopSize;
}

const STFTProcessor::FrameCallback leaveBinsAlone = [] (std::complex<float>*, int) {};

std::vector<float> whiteNoise (int length, juce::int64 seed)
{
    juce::Random random (seed);
    std::vector<float> samples ((size_t) length);
    for (auto& s : samples)
        s = random.nextFloat() * 2.0f - 1.0f;
    return samples;
}

std::vector<float> sine (int length, double cyclesPerSample)
{
    std::vector<float> samples ((size_t) length);
    for (size_t n = 0; n < samples.size(); ++n)
        samples[n] = (float) std::sin (juce::MathConstants<double>::twoPi * cyclesPerSample * (double) n);
    return samples;
}

// A freshly prepared engine fed block by block; returns its output.
std::vector<float> runInBlocks (const Case& c, const std::vector<float>& input, int blockSize,
                                const STFTProcessor::FrameCallback& callback = leaveBinsAlone)
{
    STFTProcessor stft;
    stft.prepare (c.fftOrder, c.hopSize);
    std::vector<float> output (input.size(), -7.0f);
    for (size_t start = 0; start < input.size(); start += (size_t) blockSize)
    {
        const auto length = std::min ((int) (input.size() - start), blockSize);
        stft.process (input.data() + start, output.data() + start, length, callback);
        stft.process (input.data() + start, output.data() + start, 0, callback); // must change nothing
    }
    return output;
}

double rms (const float* samples, int length)
{
    double sum = 0.0;
    for (int n = 0; n < length; ++n)
        sum += (double) samples[n] * samples[n];
    return std::sqrt (sum / length);
}
} // namespace

struct STFTProcessorTest : ::testing::TestWithParam<Case>
{
    int fftSize() const { return 1 << GetParam().fftOrder; }
};

// Property: untouched bins give back the input delayed by exactly fftSize, silence before that.
TEST_P (STFTProcessorTest, UntouchedBinsDelayInputByExactlyFftSize)
{
    const auto input = whiteNoise (9 * fftSize() + 123, 1);
    const auto output = runInBlocks (GetParam(), input, (int) input.size());

    // Single-precision transforms leave rounding of a few 1e-7 of full scale; a wrong delay or gain
    // would show errors of order 1.
    constexpr auto roundTrip = 5.0e-7f;

    // Until the first frame the FIFO holds true silence; the next outputs come from frames whose
    // older part is the silent ring, where only the transforms' rounding remains.
    for (int n = 0; n < fftSize(); ++n)
        ASSERT_LE (std::abs (output[(size_t) n]), n < GetParam().hopSize ? 0.0f : roundTrip) << "sample " << n;

    for (size_t n = (size_t) fftSize(); n < input.size(); ++n)
        ASSERT_NEAR (output[n], input[n - (size_t) fftSize()], roundTrip) << "sample " << n;
}

// Property: frames fall every hop counted from prepare, whatever the block sizes; zero-length
// calls change nothing.
TEST_P (STFTProcessorTest, BlockSizeDoesNotChangeOutput)
{
    const auto input = whiteNoise (6 * fftSize() + 77, 2);
    const auto whole = runInBlocks (GetParam(), input, (int) input.size());
    const auto hop = GetParam().hopSize;

    for (const auto blockSize : { 1, 7, hop - 1, hop, hop + 1, 1000 })
    {
        if (blockSize < 1)
            continue;

        const auto split = runInBlocks (GetParam(), input, blockSize);
        for (size_t n = 0; n < input.size(); ++n)
            ASSERT_EQ (split[n], whole[n]) << "block size " << blockSize << ", sample " << n; // bit-exact
    }
}

// Property: processing a channel in place gives the same samples as separate arrays.
TEST_P (STFTProcessorTest, InPlaceMatchesOutOfPlace)
{
    const auto input = whiteNoise (5 * fftSize() + 11, 3);
    const auto separate = runInBlocks (GetParam(), input, 300);

    STFTProcessor stft;
    stft.prepare (GetParam().fftOrder, GetParam().hopSize);
    auto samples = input;
    for (size_t start = 0; start < samples.size(); start += 300)
        stft.process (samples.data() + start, samples.data() + start, std::min ((int) (samples.size() - start), 300), leaveBinsAlone);

    for (size_t n = 0; n < samples.size(); ++n)
        ASSERT_EQ (samples[n], separate[n]) << "sample " << n;
}

// Property: a bin the callback removes is gone from the output; the callback always sees N/2 + 1 bins.
TEST_P (STFTProcessorTest, RemovedBinsLeaveTheOutput)
{
    const auto cutBin = fftSize() / 8;
    int binsSeen = 0;
    const STFTProcessor::FrameCallback lowPass = [&] (std::complex<float>* bins, int numBins)
    {
        binsSeen = numBins;
        std::fill (bins + cutBin, bins + numBins, std::complex<float> {});
    };

    // Sines centred on a bin: one far above the cut, one far below it. Outputs from 2 · fftSize on
    // come only from frames full of sine, past the onset's broadband click. The analysis window's
    // leakage 16 and more bins away is below -60 dB, hence the 1e-3 margins.
    const auto length = 8 * fftSize();
    const auto steady = 2 * fftSize();
    const auto above = sine (length, 2.0 * cutBin / fftSize());
    const auto below = sine (length, 0.5 * cutBin / fftSize());
    const auto removed = runInBlocks (GetParam(), above, 512, lowPass);
    const auto kept = runInBlocks (GetParam(), below, 512, lowPass);

    EXPECT_EQ (binsSeen, fftSize() / 2 + 1);
    EXPECT_LT (rms (removed.data() + steady, length - steady), 1.0e-3);
    for (int n = steady; n < length; ++n)
        ASSERT_NEAR (kept[(size_t) n], below[(size_t) (n - fftSize())], 1.0e-3f) << "sample " << n;
}

// Property: processing allocates nothing once prepared.
TEST_P (STFTProcessorTest, ProcessAllocatesNothing)
{
    STFTProcessor stft;
    stft.prepare (GetParam().fftOrder, GetParam().hopSize);
    auto samples = whiteNoise (4 * fftSize(), 4);
    int frames = 0;
    const STFTProcessor::FrameCallback countFrames = [&frames] (std::complex<float>*, int) { ++frames; };

    testing_support::ScopedAllocationCount allocations;
    stft.process (samples.data(), samples.data(), (int) samples.size(), countFrames);
    stft.reset();
    stft.process (samples.data(), samples.data(), (int) samples.size(), countFrames);

    EXPECT_EQ (allocations.count(), 0);
    EXPECT_EQ (frames, 2 * 4 * fftSize() / GetParam().hopSize);
}

INSTANTIATE_TEST_SUITE_P (Settings, STFTProcessorTest, ::testing::Values (
    Case { 10, 256 }, // live quality
    Case { 11, 512 }, // studio quality
    Case { 8, 128 },  // 50 % overlap
    Case { 9, 64 }));  // 87.5 % overlap

// Property: the first frame runs on the hop-th sample after prepare, and a block shorter than a
// hop still returns all its samples from the FIFO.
TEST (STFTProcessorTiming, FirstFrameRunsOnTheHopthSample)
{
    STFTProcessor stft;
    stft.prepare (10, 256);
    int frames = 0;
    const STFTProcessor::FrameCallback countFrames = [&frames] (std::complex<float>*, int) { ++frames; };
    const auto input = whiteNoise (256, 5);
    std::vector<float> output (256, -7.0f);

    stft.process (input.data(), output.data(), 100, countFrames);
    EXPECT_EQ (frames, 0);
    EXPECT_TRUE (std::all_of (output.begin(), output.begin() + 100, [] (float s) { return s == 0.0f; }));
    EXPECT_EQ (output[100], -7.0f); // nothing written past the block

    stft.process (input.data() + 100, output.data() + 100, 155, countFrames);
    EXPECT_EQ (frames, 0);
    stft.process (input.data() + 255, output.data() + 255, 1, countFrames);
    EXPECT_EQ (frames, 1);
}

// Property: hops the overlap-add cannot normalise, and out-of-range hops, still give finite output.
TEST (STFTProcessorTiming, UnusualHopsGiveFiniteOutput)
{
    for (const auto hop : { 256, 200, 0, -5, 100000 })
    {
        const auto output = runInBlocks ({ 8, hop }, whiteNoise (4096, 6), 64);
        EXPECT_TRUE (std::all_of (output.begin(), output.end(), [] (float s) { return std::isfinite (s); })) << "hop " << hop;
    }
}
