#pragma once

#include <juce_audio_processors/juce_audio_processors.h>

/** Turns a saved state blob into a parameter tree that is safe to install.

    Hosts and hand-edited files deliver arbitrary bytes. The reader accepts only the binary XML
    wrapper (magic, positive length, text) holding the parameter state's root element, and refuses
    nesting deeper than any real state so that parsing cannot exhaust the stack. The tree it builds
    holds exactly one entry per parameter, stored entries first in their stored order:
    - a stored finite value is kept as written (the parameter clamps it to its range);
    - a stored entry without a value restores the parameter's default;
    - a missing entry, or a value that is not a finite number, keeps the parameter's current value.
    Entries for unknown IDs and any other content are dropped. */
class SavedStateReader
{
public:
    /** The tree to install with replaceState, or an invalid tree when the blob is malformed.
        Message thread; reads the current values atomically. */
    static juce::ValueTree read (const void* data, int sizeInBytes, const juce::AudioProcessorValueTreeState& parameters);

    /** Deepest element nesting accepted; a real state nests two levels. */
    static constexpr int maxNestingDepth = 32;

private:
    static juce::String extractText (const void* data, int sizeInBytes);
    static bool nestsTooDeeply (const juce::String& xmlText);
    static juce::ValueTree toParameterTree (const juce::XmlElement& root, const juce::AudioProcessorValueTreeState& parameters);
    static bool isStoredAgainLater (const juce::XmlElement& stored, const juce::String& parameterId);
};
