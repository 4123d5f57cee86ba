#include "tools/artwork/ArtworkTextures.h"

#include <cmath>
#include <vector>

namespace ArtworkTextures
{
namespace
{
/** Noise in -1..1 smoothed by a running box filter, so that neighbouring values form streaks. */
std::vector<float> smoothedNoise (int length, int boxLength, juce::Random& random)
{
    std::vector<float> raw ((size_t) (length + boxLength));
    for (auto& value : raw)
        value = 2.0f * random.nextFloat() - 1.0f;

    std::vector<float> smoothed ((size_t) length);
    float sum = 0.0f;
    for (int i = 0; i < boxLength; ++i)
        sum += raw[(size_t) i];
    for (int i = 0; i < length; ++i)
    {
        // Scaled by sqrt(boxLength) so that long boxes keep a visible amplitude.
        smoothed[(size_t) i] = sum / std::sqrt ((float) boxLength);
        sum += raw[(size_t) (i + boxLength)] - raw[(size_t) i];
    }
    return smoothed;
}

juce::PixelARGB shaded (juce::Colour tone, float brightness)
{
    const auto channel = [brightness] (juce::uint8 c)
    { return (juce::uint8) juce::jlimit (0, 255, juce::roundToInt ((float) c * brightness)); };
    juce::PixelARGB pixel;
    pixel.setARGB (255, channel (tone.getRed()), channel (tone.getGreen()), channel (tone.getBlue()));
    return pixel;
}
} // namespace

juce::Image brushedMetal (int width, int height, juce::Colour tone, float streakContrast, juce::Random& random)
{
    juce::Image image (juce::Image::ARGB, width, height, false);
    juce::Image::BitmapData pixels (image, juce::Image::BitmapData::writeOnly);

    for (int y = 0; y < height; ++y)
    {
        const auto longStreaks = smoothedNoise (width, 160, random);
        const auto shortStreaks = smoothedNoise (width, 24, random);
        const auto rowShade = 0.04f * (2.0f * random.nextFloat() - 1.0f);
        for (int x = 0; x < width; ++x)
        {
            const auto grain = 0.035f * (2.0f * random.nextFloat() - 1.0f);
            const auto streak = 0.6f * longStreaks[(size_t) x] + 0.4f * shortStreaks[(size_t) x];
            pixels.setPixelColour (x, y, juce::Colour (shaded (tone, 1.0f + streakContrast * streak + rowShade + grain)));
        }
    }
    return image;
}

juce::Image spunMetal (int width, int height, juce::Colour tone, float grainContrast, float highlightAngle,
                       juce::Random& random)
{
    const auto cx = 0.5f * (float) width;
    const auto cy = 0.5f * (float) height;
    const auto maxRadius = (int) std::ceil (std::hypot (cx, cy)) + 2;
    const auto rings = smoothedNoise (maxRadius * 4, 3, random); // quarter-pixel rings: fine lathe grooves

    juce::Image image (juce::Image::ARGB, width, height, false);
    juce::Image::BitmapData pixels (image, juce::Image::BitmapData::writeOnly);
    for (int y = 0; y < height; ++y)
    {
        for (int x = 0; x < width; ++x)
        {
            const auto dx = (float) x + 0.5f - cx;
            const auto dy = (float) y + 0.5f - cy;
            const auto radius = std::hypot (dx, dy);
            const auto angle = std::atan2 (dx, -dy);
            // Light catches the grooves at right angles to it: two opposite soft lobes.
            const auto lobe = std::pow (std::abs (std::cos (angle - highlightAngle)), 6.0f);
            const auto ring = rings[(size_t) juce::jmin ((int) (radius * 4.0f), (int) rings.size() - 1)];
            const auto grain = 0.03f * (2.0f * random.nextFloat() - 1.0f);
            pixels.setPixelColour (x, y, juce::Colour (shaded (tone, 1.0f + 0.9f * lobe + grainContrast * ring + grain)));
        }
    }
    return image;
}

void strokeNeon (juce::Graphics& g, const juce::Path& path, juce::Colour colour, float coreWidth, float glowWidth)
{
    constexpr int layers = 10;
    for (int i = layers; i >= 1; --i)
    {
        const auto t = (float) i / (float) layers;
        g.setColour (colour.withMultipliedAlpha (0.10f * (1.0f - t) * (1.0f - t) + 0.015f));
        g.strokePath (path, juce::PathStrokeType (coreWidth + t * glowWidth, juce::PathStrokeType::curved,
                                                  juce::PathStrokeType::rounded));
    }
    g.setColour (colour);
    g.strokePath (path, juce::PathStrokeType (coreWidth, juce::PathStrokeType::curved, juce::PathStrokeType::rounded));
    g.setColour (colour.interpolatedWith (juce::Colours::white, 0.55f));
    g.strokePath (path, juce::PathStrokeType (0.4f * coreWidth, juce::PathStrokeType::curved,
                                              juce::PathStrokeType::rounded));
}

void fillRadialGlow (juce::Graphics& g, juce::Point<float> centre, float radius, juce::Colour colour)
{
    juce::ColourGradient glow (colour, centre, colour.withAlpha (0.0f), centre.translated (radius, 0.0f), true);
    glow.addColour (0.35, colour.withMultipliedAlpha (0.45f));
    g.setGradientFill (glow);
    g.fillEllipse (juce::Rectangle<float> (2.0f * radius, 2.0f * radius).withCentre (centre));
}

void drawClipped (juce::Graphics& g, const juce::Image& image, const juce::Path& clip,
                  const juce::AffineTransform& placement)
{
    juce::Graphics::ScopedSaveState saved (g);
    g.reduceClipRegion (clip);
    g.drawImageTransformed (image, placement);
}
} // namespace ArtworkTextures
