#pragma once

#include <juce_graphics/juce_graphics.h>

/** The editor's four embedded typefaces and the one way of turning a typeface into a font. */
namespace CorvaneFonts
{
/** The typefaces compiled into the program. */
enum class Face
{
    /** Oxanium Bold: the title and section headings. */
    oxaniumBold,
    /** Barlow Condensed Light: small labels, captions and popup menus. */
    barlowCondensedLight,
    /** Barlow Condensed Medium: text buttons, combo boxes and one heading. */
    barlowCondensedMedium,
    /** Rajdhani Medium: the numeric width readout and small status tags. */
    rajdhaniMedium
};

/** A font on the given typeface (taking over its name and style) at the given height in pixels.
    Message thread; allocates. */
juce::Font fromTypeface (juce::ReferenceCountedObjectPtr<juce::Typeface> typeface, float height);

/** A fresh typeface decoded from the embedded bytes of a face. Message thread; allocates. */
juce::Typeface::Ptr createTypeface (Face face);

/** A font on a freshly created embedded typeface at the given height in pixels. Message thread; allocates. */
juce::Font font (Face face, float height);
} // namespace CorvaneFonts
