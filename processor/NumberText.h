#pragma once

#include <juce_core/juce_core.h>

#include <optional>

/** Reads text that must be a finite number and nothing else (surrounding spaces allowed), with the
    framework's own number reader, which does not depend on the C locale. Used wherever numbers come
    from users or files. */
namespace NumberText
{
/** The number, or nothing when the text is empty, malformed, or not finite. */
std::optional<double> parseFinite (const juce::String& text);
} // namespace NumberText
