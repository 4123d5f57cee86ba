#include "dsp/widening/CorvaneWidener.h"
#include <benchmark/benchmark.h>

namespace
{
// Time per stereo sample of the whole widener (block set-up and per-sample loop) at 48 kHz, width 1
// and motion 1. Arguments: mode (0 "Legacy", 1 "Adaptive Side V2"), quality (0 Live, 1 Studio),
// block size in samples.
void widenerProcess (benchmark::State& state)
{
    const auto blockSize = (int) state.range (2);
    auto widener = std::make_unique<corvane::CorvaneWidener>();
    widener->settings.width = 1.0f;
    widener->settings.motion = 1.0f;
    widener->settings.mode = (int) state.range (0);
    widener->settings.quality = (int) state.range (1);
    widener->prepare (48000.0);

    // A guitar-like input: shared noise plus a little independent noise per side.
    juce::Random random (1);
    juce::AudioBuffer<float> source (2, blockSize), buffer (2, blockSize);
    for (int n = 0; n < blockSize; ++n)
    {
        const auto common = random.nextFloat() - 0.5f;
        for (int ch = 0; ch < 2; ++ch)
            source.setSample (ch, n, 0.8f * common + 0.2f * (random.nextFloat() - 0.5f));
    }

    const juce::ScopedNoDenormals noDenormals; // as the processor runs it
    for (auto _ : state)
    {
        // Refilling keeps the input level steady; it costs well under 1 % of the loop.
        for (int ch = 0; ch < 2; ++ch)
            buffer.copyFrom (ch, 0, source, ch, 0, blockSize);
        widener->process (buffer);
        benchmark::DoNotOptimize (buffer.getReadPointer (0));
        benchmark::ClobberMemory();
    }
    // Seconds per stereo sample: printed with an SI prefix, so "40n" means 40 ns.
    state.counters["per_stereo_sample"] = benchmark::Counter ((double) blockSize,
                                                              benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}
} // namespace

BENCHMARK (widenerProcess)
    ->ArgNames ({"mode", "quality", "block"})
    ->ArgsProduct ({{0, 1}, {0, 1}, {64, 512}});
