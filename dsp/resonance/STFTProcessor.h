#pragma once

#include <juce_dsp/juce_dsp.h>

#include <complex>
#include <functional>
#include <memory>
#include <vector>

namespace resonance
{
/** One channel of short-time Fourier analysis and resynthesis: overlapping square-root Hann frames
    every hop, a callback that may rewrite each frame's bins, and windowed overlap-add. With the bins
    untouched the output is the input delayed by exactly fftSize samples. Audio thread only. */
class STFTProcessor
{
public:
    /** Receives each frame's bins (DC to Nyquist inclusive, unscaled forward transform) and their count. */
    using FrameCallback = std::function<void (std::complex<float>*, int)>;

    /** Sets frame size 2^fftOrder (clamped to 1…16) and hop (clamped to 1…fftSize), builds the
        transform and windows and clears all history. Allocates: call from the set-up path. */
    void prepare (int fftOrder, int hopSize);

    /** Forgets all audio history, keeps sizes, windows and transform. Real-time safe. */
    void reset() noexcept;

    /** Delays numSamples samples of input by fftSize into output, calling frameCallback once per
        completed frame. input and output may be the same array (but must not partly overlap);
        numSamples < 1 does nothing. Real-time safe: allocates nothing, locks nothing. */
    void process (const float* input, float* output, int numSamples, const FrameCallback& frameCallback) noexcept;

    /** Frame size in samples, which is also the delay; 0 before prepare. */
    int getFftSize() const noexcept { return fftSize; }

    /** Samples between frames; 0 before prepare. */
    int getHopSize() const noexcept { return hopSize; }

    /** Number of bins handed to the callback: fftSize / 2 + 1; 0 before prepare. */
    int getNumBins() const noexcept { return numBins; }

private:
    void buildWindows();
    void runFrame (const FrameCallback& frameCallback) noexcept;

    int fftOrder = 0;
    int fftSize = 0;
    int hopSize = 0;
    int numBins = 0;
    int inputWritePos = 0;
    int hopCounter = 0;
    int outputReadPos = 0;
    std::unique_ptr<juce::dsp::FFT> fft;
    std::vector<float> analysisWindow;
    std::vector<float> synthesisWindow;
    std::vector<float> inputRing;         // the last fftSize inputs; the oldest is at inputWritePos
    std::vector<float> outputAccumulator; // overlap-add sum; entry 0 is released next
    std::vector<float> outputFifo;        // finished output of the current hop
    std::vector<float> fftBuffer;         // 2 · fftSize floats for the real-only transforms
};
} // namespace resonance
