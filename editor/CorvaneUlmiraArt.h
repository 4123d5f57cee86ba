#pragma once

#include <juce_graphics/juce_graphics.h>

#include <vector>

/** The fixed vector geometry of the emblem's wings, in the emblem's 800 x 360 design space
    (x right, y down, symmetric about x = 400). Every segment is a straight line. */
namespace CorvaneUlmiraArt
{
/** Everything needed to draw one wing. A plain value type. */
struct WingPaths
{
    juce::Path membrane;                      // closed outline, filled with the wing gradient
    juce::Path edge;                          // the outline as two open strokes, without the fore/hind notch
    juce::Path veins;                         // main veins
    juce::Path fineVeins;                     // secondary veins
    juce::Path trace;                         // two flow lines, drawn dashed
    std::vector<juce::Point<float>> anchors;  // where sparks are born; the root is listed first and last
};

/** Builds the left wing, or with true its mirror image about x = 400. Allocates; no state. */
WingPaths buildWing (bool rightWing);
} // namespace CorvaneUlmiraArt
