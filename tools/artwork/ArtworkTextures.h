#pragma once

#include <juce_graphics/juce_graphics.h>

/** Procedural surfaces and glow strokes for the artwork generator. Deterministic for a given
    juce::Random seed; offline use only (allocates freely). */
namespace ArtworkTextures
{
/** An opaque brushed-metal surface: long horizontal streaks over fine grain, around the tone. */
juce::Image brushedMetal (int width, int height, juce::Colour tone, float streakContrast, juce::Random& random);

/** An opaque spun-metal surface: concentric grain around the centre with two opposite highlight
    lobes at the given angle in radians (0 = up, clockwise). */
juce::Image spunMetal (int width, int height, juce::Colour tone, float grainContrast, float highlightAngle,
                       juce::Random& random);

/** Strokes a path as a neon line: a wide faint halo narrowing in layers to a bright core. */
void strokeNeon (juce::Graphics& g, const juce::Path& path, juce::Colour colour, float coreWidth, float glowWidth);

/** Fills a circle with a radial glow from the colour at the centre to transparent at the radius. */
void fillRadialGlow (juce::Graphics& g, juce::Point<float> centre, float radius, juce::Colour colour);

/** Draws the image under a placement transform, clipped to a path. */
void drawClipped (juce::Graphics& g, const juce::Image& image, const juce::Path& clip,
                  const juce::AffineTransform& placement);
} // namespace ArtworkTextures
