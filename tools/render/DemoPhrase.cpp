#include "tools/render/DemoPhrase.h"

#include <juce_dsp/juce_dsp.h>

#include <cmath>
#include <vector>

namespace
{
// Open-position E major shapes: an arpeggio, then two strums a bar apart.
constexpr double e2 = 82.41, b2 = 123.47, e3 = 164.81, gs3 = 207.65, b3 = 246.94, e4 = 329.63;
constexpr double a2 = 110.0, a3 = 220.0, cs4 = 277.18;

// The strings lose a little energy every period; brighter notes decay a little faster.
constexpr float loopGain = 0.996f;
// A guitar body or cabinet mode that rings well above its neighbours.
constexpr double resonanceHz = 2450.0, resonanceQ = 14.0;
constexpr float resonanceGainDb = 14.0f;
} // namespace

juce::AudioBuffer<float> DemoPhrase::render (double sampleRate)
{
    juce::AudioBuffer<float> buffer (1, (int) std::ceil (lengthSeconds * sampleRate));
    buffer.clear();
    juce::Random random (2026);

    std::vector<Note> notes;
    const double arpeggio[] = { e2, b2, e3, gs3, b3, e4, b3, gs3 };
    for (int i = 0; i < 8; ++i)
        notes.push_back ({ 0.05 + 0.3 * i, arpeggio[i], 0.8f });
    const double eMajor[] = { e2, b2, e3, gs3, b3, e4 };
    const double aMajor[] = { e2, a2, e3, a3, cs4, e4 };
    for (int string = 0; string < 6; ++string)
    {
        // A downstroke reaches the strings a few milliseconds apart.
        notes.push_back ({ 2.6 + 0.012 * string, eMajor[string], 0.6f });
        notes.push_back ({ 4.2 + 0.012 * string, aMajor[string], 0.6f });
    }

    for (const auto& note : notes)
        addPluck (buffer, sampleRate, note, random);
    addRingingResonance (buffer, sampleRate);
    buffer.applyGain (0.5f / juce::jmax (0.001f, buffer.getMagnitude (0, 0, buffer.getNumSamples())));
    return buffer;
}

void DemoPhrase::addPluck (juce::AudioBuffer<float>& buffer, double sampleRate, const Note& note, juce::Random& random)
{
    const auto period = juce::jmax (2, (int) std::round (sampleRate / note.frequencyHz));
    std::vector<float> loop ((size_t) period);
    for (auto& sample : loop)
        sample = (random.nextFloat() * 2.0f - 1.0f) * note.velocity;

    const auto start = (int) (note.startSeconds * sampleRate);
    auto* out = buffer.getWritePointer (0);
    size_t index = 0;
    for (int n = start; n < buffer.getNumSamples(); ++n)
    {
        const auto next = (index + 1) % loop.size();
        const auto averaged = loopGain * 0.5f * (loop[index] + loop[next]);
        out[n] += loop[index];
        loop[index] = averaged;
        index = next;
    }
}

void DemoPhrase::addRingingResonance (juce::AudioBuffer<float>& buffer, double sampleRate)
{
    juce::dsp::IIR::Filter<float> filter (juce::dsp::IIR::Coefficients<float>::makePeakFilter (
        sampleRate, resonanceHz, resonanceQ, juce::Decibels::decibelsToGain (resonanceGainDb)));
    auto* samples = buffer.getWritePointer (0);
    for (int n = 0; n < buffer.getNumSamples(); ++n)
        samples[n] = filter.processSample (samples[n]);
}
