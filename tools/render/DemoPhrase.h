#pragma once

#include <juce_audio_basics/juce_audio_basics.h>

/** A few seconds of a synthetic clean electric guitar, so that the render tool works with no files:
    plucked strings (Karplus-Strong, https://doi.org/10.2307/3680062) playing an arpeggio and two
    strummed chords, through a narrow ringing body resonance for the suppressor to find. Mono and
    fully deterministic. */
class DemoPhrase
{
public:
    /** Renders the phrase at the given rate into a new mono buffer. Allocates. */
    static juce::AudioBuffer<float> render (double sampleRate);

    /** Length of the phrase in seconds. */
    static constexpr double lengthSeconds = 6.0;

private:
    struct Note { double startSeconds; double frequencyHz; float velocity; };

    static void addPluck (juce::AudioBuffer<float>& buffer, double sampleRate, const Note& note, juce::Random& random);
    static void addRingingResonance (juce::AudioBuffer<float>& buffer, double sampleRate);
};
