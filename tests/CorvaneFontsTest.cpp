#include "editor/CorvaneFonts.h"

#include "BinaryData.h"

#include <gtest/gtest.h>

namespace
{
using CorvaneFonts::Face;
} // namespace

TEST (CorvaneFontsTest, FromTypefaceTakesTheTypefaceNameStyleAndHeight)
{
    const auto typeface = CorvaneFonts::createTypeface (Face::barlowCondensedLight);
    ASSERT_NE (typeface, nullptr);
    const auto font = CorvaneFonts::fromTypeface (typeface, 10.5f);
    EXPECT_FLOAT_EQ (font.getHeight(), 10.5f);
    EXPECT_EQ (font.getTypefaceName(), typeface->getName());
    EXPECT_EQ (font.getTypefaceStyle(), typeface->getStyle());
    EXPECT_EQ (font.getTypefacePtr(), typeface); // the font draws with the embedded typeface itself
}

TEST (CorvaneFontsTest, EveryEmbeddedFaceDecodesAsItsFamily)
{
    struct Case { Face face; const char* family; const char* style; };
    for (const auto& c : { Case { Face::oxaniumBold, "Oxanium", "Bold" },
                           Case { Face::barlowCondensedLight, "Barlow Condensed", "Light" },
                           Case { Face::barlowCondensedMedium, "Barlow Condensed", "Medium" },
                           Case { Face::rajdhaniMedium, "Rajdhani", "Medium" } })
    {
        const auto font = CorvaneFonts::font (c.face, 20.0f);
        EXPECT_EQ (font.getTypefaceName(), c.family);
        EXPECT_EQ (font.getTypefaceStyle(), c.style);
        EXPECT_GT (font.getStringWidthFloat ("CORVANE"), 20.0f); // real glyphs, not an empty face
    }
}

TEST (CorvaneFontsTest, EmbeddedImagesDecodeAtTheirDesignedSizes)
{
    struct Case { const char* data; int size; int width, height; bool alpha; };
    for (const auto& c : { Case { BinaryData::background_png, BinaryData::background_pngSize, 1920, 1392, false },
                           Case { BinaryData::ulmira_logo_png, BinaryData::ulmira_logo_pngSize, 592, 380, true },
                           Case { BinaryData::Forgelknob_png, BinaryData::Forgelknob_pngSize, 630, 630, true },
                           Case { BinaryData::Forgelrectoff_png, BinaryData::Forgelrectoff_pngSize, 612, 225, true },
                           Case { BinaryData::Forgelrecton_png, BinaryData::Forgelrecton_pngSize, 631, 225, true },
                           Case { BinaryData::Tessorslider_thumb_png, BinaryData::Tessorslider_thumb_pngSize, 599, 603, true } })
    {
        const auto image = juce::ImageFileFormat::loadFrom (c.data, (size_t) c.size);
        ASSERT_TRUE (image.isValid()) << c.width << "x" << c.height;
        EXPECT_EQ (image.getWidth(), c.width);
        EXPECT_EQ (image.getHeight(), c.height);
        EXPECT_EQ (image.hasAlphaChannel(), c.alpha) << c.width << "x" << c.height;
    }

    // Sprites keep a transparent ground outside their artwork; the device face is opaque throughout.
    const auto logo = juce::ImageFileFormat::loadFrom (BinaryData::ulmira_logo_png, BinaryData::ulmira_logo_pngSize);
    EXPECT_EQ (logo.getPixelAt (0, 0).getAlpha(), 0);
    EXPECT_GT (logo.getPixelAt (296, 250).getBrightness(), 0.6f); // light artwork on the body
}
