#include "tools/render/RenderReport.h"

#include <cmath>

namespace
{
struct Sums
{
    double peak = 0.0, squares = 0.0;
};

// Energy ratios of silent signals have no meaningful value: they come out as NaN and print as null.
double ratioDb (double numerator, double denominator)
{
    if (denominator <= 0.0)
        return std::nan ("");
    return 10.0 * std::log10 (numerator / denominator);
}

double levelDb (double linear) { return 20.0 * std::log10 (linear); }

float sampleOf (const juce::AudioBuffer<float>& buffer, int channel, int n)
{
    return buffer.getSample (juce::jmin (channel, buffer.getNumChannels() - 1), n);
}

juce::String jsonNumber (double value, int decimals)
{
    return std::isfinite (value) ? juce::String (value, decimals) : juce::String ("null");
}
} // namespace

RenderReport RenderReport::measure (const juce::AudioBuffer<float>& input, const juce::AudioBuffer<float>& alignedOutput)
{
    const auto length = juce::jmin (input.getNumSamples(), alignedOutput.getNumSamples());
    Sums in, out;
    double crossLR = 0.0, left = 0.0, right = 0.0, mid = 0.0, side = 0.0, outSum = 0.0, inSum = 0.0;
    for (int n = 0; n < length; ++n)
    {
        const double inL = sampleOf (input, 0, n), inR = sampleOf (input, 1, n);
        const double l = sampleOf (alignedOutput, 0, n), r = sampleOf (alignedOutput, 1, n);
        in.peak = juce::jmax (in.peak, std::abs (inL), std::abs (inR));
        out.peak = juce::jmax (out.peak, std::abs (l), std::abs (r));
        in.squares += inL * inL + inR * inR;
        out.squares += l * l + r * r;
        crossLR += l * r;
        left += l * l;
        right += r * r;
        mid += 0.25 * (l + r) * (l + r);
        side += 0.25 * (l - r) * (l - r);
        outSum += (l + r) * (l + r);
        inSum += (inL + inR) * (inL + inR);
    }

    RenderReport report;
    const auto values = juce::jmax (1, 2 * length);
    report.inputPeakDb = levelDb (in.peak);
    report.inputRmsDb = levelDb (std::sqrt (in.squares / values));
    report.outputPeakDb = levelDb (out.peak);
    report.outputRmsDb = levelDb (std::sqrt (out.squares / values));
    report.correlation = left > 0.0 && right > 0.0 ? crossLR / std::sqrt (left * right) : std::nan ("");
    report.sideToMidDb = ratioDb (side, mid);
    report.monoFoldDownDeviationDb = ratioDb (outSum, inSum);
    return report;
}

juce::String RenderReport::toJson() const
{
    juce::String json;
    json << "{\"inputPeakDbfs\": " << jsonNumber (inputPeakDb, 2)
         << ", \"inputRmsDbfs\": " << jsonNumber (inputRmsDb, 2)
         << ", \"outputPeakDbfs\": " << jsonNumber (outputPeakDb, 2)
         << ", \"outputRmsDbfs\": " << jsonNumber (outputRmsDb, 2)
         << ", \"correlation\": " << jsonNumber (correlation, 4)
         << ", \"sideToMidDb\": " << jsonNumber (sideToMidDb, 2)
         << ", \"monoFoldDownDeviationDb\": " << jsonNumber (monoFoldDownDeviationDb, 3)
         << ", \"latencySamples\": " << latencySamples
         << ", \"largestReductionDb\": " << jsonNumber (largestReductionDb, 2)
         << ", \"speedTimesRealTime\": " << jsonNumber (speedTimesRealTime, 1) << "}";
    return json;
}
