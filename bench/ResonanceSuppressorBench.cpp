#include <dsp/resonance/ResonanceSuppressor.h>

#include <benchmark/benchmark.h>

namespace
{
constexpr double sampleRate = 48000.0;

// Three seconds of broadband noise carrying a boomy, a honky and a whistling resonance.
juce::AudioBuffer<float> resonantNoise()
{
    juce::Random random (42);
    juce::AudioBuffer<float> buffer (2, 3 * (int) sampleRate);
    for (int ch = 0; ch < 2; ++ch)
    {
        for (int n = 0; n < buffer.getNumSamples(); ++n)
        {
            const auto t = juce::MathConstants<double>::twoPi * n / sampleRate;
            const auto tones = 0.2 * std::sin (180.0 * t) + 0.1 * std::sin (2500.0 * t) + 0.05 * std::sin (5200.0 * t);
            buffer.setSample (ch, n, 0.1f * (random.nextFloat() * 2.0f - 1.0f) + (float) tones);
        }
    }
    return buffer;
}

// Nanoseconds per stereo sample, as Google Benchmark's inverted rate of samples per second.
benchmark::Counter perStereoSample (int samplesPerIteration)
{
    return benchmark::Counter ((double) samplesPerIteration, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

// The suppressor with both detectors fully on, fed host-sized blocks of a looping input.
void suppressor (benchmark::State& state, int fftOrder, int hopSize)
{
    const auto blockSize = (int) state.range (0);
    resonance::ResonanceSuppressor suppressor;
    suppressor.prepare (sampleRate, fftOrder, hopSize);
    resonance::ResonanceSuppressor::Settings settings;
    settings.amount = 1.0f;
    settings.harshnessAmount = 1.0f;
    settings.harshnessLowHz = 700.0f;
    settings.harshnessHighHz = 20000.0f;
    suppressor.setSettings (settings);

    const auto source = resonantNoise();
    juce::AudioBuffer<float> block (2, blockSize);
    int position = 0;
    for (auto _ : state)
    {
        if (position + blockSize > source.getNumSamples())
            position = 0;
        for (int ch = 0; ch < 2; ++ch)
            block.copyFrom (ch, 0, source, ch, position, blockSize);
        suppressor.process (block);
        benchmark::DoNotOptimize (block.getWritePointer (0));
        position += blockSize;
    }
    state.counters["stereo_sample"] = perStereoSample (blockSize);
}

// Baseline: the two transforms of one frame on the FFT engine this build uses.
void transformPair (benchmark::State& state)
{
    const auto order = (int) state.range (0);
    juce::dsp::FFT fft (order);
    std::vector<float> frame (2u << order);
    juce::Random random (7);
    for (auto& sample : frame)
        sample = random.nextFloat();

    for (auto _ : state)
    {
        fft.performRealOnlyForwardTransform (frame.data(), true);
        fft.performRealOnlyInverseTransform (frame.data());
        benchmark::DoNotOptimize (frame.data());
    }
}
} // namespace

BENCHMARK_CAPTURE (suppressor, live, 10, 256)->Arg (64)->Arg (256)->Arg (1024);
BENCHMARK_CAPTURE (suppressor, studio, 11, 512)->Arg (64)->Arg (256)->Arg (1024);
BENCHMARK (transformPair)->Arg (10)->Arg (11);
