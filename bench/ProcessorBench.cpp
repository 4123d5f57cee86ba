#include "processor/PluginProcessor.h"

#include <benchmark/benchmark.h>
#include <malloc.h>

namespace
{
// The whole chain through processBlock at 48 kHz stereo, 512-sample blocks, width 1.
// Arguments: quality (0 Live, 1 Studio), suppression (0 off, 1 resonance only, 2 both amounts),
// widener mode (0 "Legacy", 1 "Adaptive Side V2").
void processorProcessBlock (benchmark::State& state)
{
    constexpr int blockSize = 512;
    constexpr double sampleRate = 48000.0;
    const auto suppression = state.range (1);
    auto processor = std::make_unique<CorvaneAudioProcessor>();
    processor->setParameterRawValue ("quality", (float) state.range (0));
    processor->setParameterRawValue ("widenerMode", (float) state.range (2));
    processor->setParameterRawValue ("width", 1.0f);
    processor->setParameterRawValue ("resonanceAmount", suppression >= 1 ? 1.0f : 0.0f);
    processor->setParameterRawValue ("harshnessAmount", suppression >= 2 ? 1.0f : 0.0f);
    processor->prepareToPlay (sampleRate, blockSize);

    // A second of a guitar-like signal: harmonics with a ringing partial, and a little noise.
    juce::Random random (1);
    juce::AudioBuffer<float> source (2, (int) sampleRate), buffer (2, blockSize);
    for (int n = 0; n < source.getNumSamples(); ++n)
    {
        const auto t = n / sampleRate;
        const auto tone = 0.3 * std::sin (2.0 * juce::MathConstants<double>::pi * 196.0 * t)
                          + 0.15 * std::sin (2.0 * juce::MathConstants<double>::pi * 2450.0 * t);
        for (int ch = 0; ch < 2; ++ch)
            source.setSample (ch, n, (float) tone + 0.05f * (random.nextFloat() - 0.5f));
    }

    juce::MidiBuffer midi;
    int position = 0;
    for (auto _ : state)
    {
        for (int ch = 0; ch < 2; ++ch)
            buffer.copyFrom (ch, 0, source, ch, position, blockSize);
        position = (position + blockSize) % (source.getNumSamples() - blockSize);
        processor->processBlock (buffer, midi);
        benchmark::DoNotOptimize (buffer.getReadPointer (0));
        benchmark::ClobberMemory();
    }
    // Seconds per stereo sample ("150n" is 150 ns), and how many times faster than real time.
    state.counters["per_stereo_sample"] = benchmark::Counter ((double) blockSize,
                                                              benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
    state.counters["x_real_time"] = benchmark::Counter ((double) blockSize / sampleRate, benchmark::Counter::kIsIterationInvariantRate);
}
// Memory of one instance: the object itself, and the heap it holds once prepared (the suppressor's
// frame buffers and transforms, the parameter tree, the delta monitor's buffers), by quality.
void processorMemory (benchmark::State& state)
{
    std::unique_ptr<CorvaneAudioProcessor> processor;
    std::size_t heapBytes = 0;
    for (auto _ : state)
    {
        processor.reset();
        const auto before = mallinfo2().uordblks;
        processor = std::make_unique<CorvaneAudioProcessor>();
        processor->setParameterRawValue ("quality", (float) state.range (0));
        processor->prepareToPlay (48000.0, 512);
        heapBytes = mallinfo2().uordblks - before;
    }
    state.counters["object_bytes"] = (double) sizeof (CorvaneAudioProcessor);
    state.counters["heap_bytes_prepared"] = (double) heapBytes;
}
} // namespace

BENCHMARK (processorMemory)->ArgNames ({ "quality" })->Arg (0)->Arg (1)->Iterations (3);

BENCHMARK (processorProcessBlock)
    ->ArgNames ({ "quality", "suppression", "mode" })
    ->ArgsProduct ({ { 0, 1 }, { 0, 1, 2 }, { 0, 1 } });
