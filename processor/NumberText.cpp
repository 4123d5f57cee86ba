#include "processor/NumberText.h"

#include <cmath>

std::optional<double> NumberText::parseFinite (const juce::String& text)
{
    const auto trimmed = text.trim();
    if (trimmed.isEmpty())
        return std::nullopt;

    auto p = trimmed.getCharPointer();
    const auto value = juce::CharacterFunctions::readDoubleValue (p);
    if (! p.isEmpty() || ! std::isfinite (value))
        return std::nullopt;
    return value;
}
