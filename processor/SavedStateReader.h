#pragma once

#include <juce_core/juce_core.h>

/** Unwraps a saved state blob into XML that is safe to hand to the parameter state.

    Hosts and hand-edited files deliver arbitrary bytes. The reader accepts only the binary XML
    wrapper (magic, positive length, text) and refuses nesting deeper than any real state so that
    parsing cannot exhaust the stack. A parameter entry whose value is not a finite number is dropped,
    so that parameter keeps its current value. */
class SavedStateReader
{
public:
    /** The parsed document, or null when the blob is malformed. Message thread. */
    static std::unique_ptr<juce::XmlElement> read (const void* data, int sizeInBytes);

    /** Deepest element nesting accepted; a real state nests two levels. */
    static constexpr int maxNestingDepth = 32;

private:
    static juce::String extractText (const void* data, int sizeInBytes);
    static bool nestsTooDeeply (const juce::String& xmlText);
    static bool isFiniteNumber (const juce::String& text);
    static void dropNonFiniteValues (juce::XmlElement& root);
};
