#include "STFTProcessor.h"

namespace resonance
{
void STFTProcessor::prepare (int newFftOrder, int newHopSize)
{
    fftOrder = juce::jlimit (1, 16, newFftOrder);
    fftSize = 1 << fftOrder;
    hopSize = juce::jlimit (1, fftSize, newHopSize);
    numBins = fftSize / 2 + 1;

    fft = std::make_unique<juce::dsp::FFT> (fftOrder);
    buildWindows();

    inputRing.assign ((size_t) fftSize, 0.0f);
    outputAccumulator.assign ((size_t) fftSize, 0.0f);
    outputFifo.assign ((size_t) hopSize, 0.0f);
    fftBuffer.assign (2 * (size_t) fftSize, 0.0f);
    inputWritePos = 0;
    hopCounter = 0;
    outputReadPos = 0;
}

void STFTProcessor::buildWindows()
{
    // Square root of the periodic Hann window, so that analysis times synthesis is a Hann window.
    analysisWindow.resize ((size_t) fftSize);
    for (int i = 0; i < fftSize; ++i)
    {
        const auto phase = 6.2831855f * (float) i / (float) fftSize;
        analysisWindow[(size_t) i] = std::sqrt (std::fma (-0.5f, std::cos (phase), 0.5f));
    }

    synthesisWindow = analysisWindow;

    // The overlap-add of window products at one position gives the gain of the whole chain.
    double sum = 0.0;
    for (int k = 0; k < fftSize / hopSize; ++k)
    {
        const auto p = (size_t) ((fftSize - k * hopSize) % fftSize);
        sum += (double) analysisWindow[p] * (double) synthesisWindow[p];
    }

    // With a hop above half the frame that position holds only the window's zero; scaling by its
    // inverse would fill the output with infinities, so such hops stay unscaled.
    if (sum > 0.0)
    {
        const auto scale = (float) (1.0 / sum);
        for (auto& w : synthesisWindow)
            w *= scale;
    }
}

void STFTProcessor::reset() noexcept
{
    std::fill (inputRing.begin(), inputRing.end(), 0.0f);
    std::fill (outputAccumulator.begin(), outputAccumulator.end(), 0.0f);
    std::fill (outputFifo.begin(), outputFifo.end(), 0.0f);
    inputWritePos = 0;
    hopCounter = 0;
    outputReadPos = 0;
}

void STFTProcessor::process (const float* input, float* output, int numSamples, const FrameCallback& frameCallback) noexcept
{
    if (numSamples < 1 || fftSize == 0)
        return;

    for (int done = 0; done < numSamples;)
    {
        // Until the next frame falls due, samples only pass through the ring and the FIFO. All of a
        // run's inputs are read before its outputs are written, so in-place use stays safe.
        const auto run = std::min (numSamples - done, hopSize - hopCounter);
        const auto untilWrap = std::min (run, fftSize - inputWritePos);
        std::copy_n (input + done, untilWrap, inputRing.data() + inputWritePos);
        std::copy_n (input + done + untilWrap, run - untilWrap, inputRing.data());
        std::copy_n (outputFifo.data() + outputReadPos, run, output + done);

        inputWritePos = (inputWritePos + run) % fftSize;
        hopCounter += run;
        outputReadPos += run;
        done += run;

        if (hopCounter == hopSize)
            runFrame (frameCallback);
    }
}

void STFTProcessor::runFrame (const FrameCallback& frameCallback) noexcept
{
    hopCounter = 0;

    // Unroll the ring oldest first: from the write position to the end, then from the start.
    auto* frame = fftBuffer.data();
    const auto oldestRun = fftSize - inputWritePos;
    juce::FloatVectorOperations::multiply (frame, analysisWindow.data(), inputRing.data() + inputWritePos, oldestRun);
    juce::FloatVectorOperations::multiply (frame + oldestRun, analysisWindow.data() + oldestRun, inputRing.data(), inputWritePos);

    fft->performRealOnlyForwardTransform (frame, true);
    frameCallback (reinterpret_cast<std::complex<float>*> (frame), numBins);
    fft->performRealOnlyInverseTransform (frame);

    juce::FloatVectorOperations::addWithMultiply (outputAccumulator.data(), frame, synthesisWindow.data(), fftSize);

    outputReadPos = 0;
    std::copy_n (outputAccumulator.begin(), hopSize, outputFifo.begin());
    std::copy (outputAccumulator.begin() + hopSize, outputAccumulator.end(), outputAccumulator.begin());
    std::fill (outputAccumulator.end() - hopSize, outputAccumulator.end(), 0.0f);
}
} // namespace resonance
