#include "editor/CorvaneFonts.h"

#include "BinaryData.h"

namespace CorvaneFonts
{
juce::Font fromTypeface (juce::ReferenceCountedObjectPtr<juce::Typeface> typeface, float height)
{
#if JUCE_MAJOR_VERSION >= 8
    return juce::Font (juce::FontOptions (typeface)).withHeight (height);
#else
    // Before FontOptions, a Font built on a typeface pointer takes over its name and style the same way.
    return juce::Font (typeface).withHeight (height);
#endif
}

juce::Typeface::Ptr createTypeface (Face face)
{
    switch (face)
    {
        case Face::oxaniumBold:
            return juce::Typeface::createSystemTypefaceFor (BinaryData::OxaniumBold_ttf, BinaryData::OxaniumBold_ttfSize);
        case Face::barlowCondensedLight:
            return juce::Typeface::createSystemTypefaceFor (BinaryData::BarlowCondensedLight_ttf,
                                                            BinaryData::BarlowCondensedLight_ttfSize);
        case Face::barlowCondensedMedium:
            return juce::Typeface::createSystemTypefaceFor (BinaryData::BarlowCondensedMedium_ttf,
                                                            BinaryData::BarlowCondensedMedium_ttfSize);
        case Face::rajdhaniMedium:
            return juce::Typeface::createSystemTypefaceFor (BinaryData::RajdhaniMedium_ttf,
                                                            BinaryData::RajdhaniMedium_ttfSize);
    }
    return {};
}

juce::Font font (Face face, float height) { return fromTypeface (createTypeface (face), height); }
} // namespace CorvaneFonts
