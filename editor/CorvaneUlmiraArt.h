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
    /** One closed outline of the wing; filled with the wing gradient. */
    juce::Path membrane;
    /** The outline as two open strokes, leaving out the notch between fore- and hindwing; the glowing rim. */
    juce::Path edge;
    /** Main veins, drawn as thin light strokes. */
    juce::Path veins;
    /** Secondary veins, drawn fainter. */
    juce::Path fineVeins;
    /** Two flow lines, drawn dashed. */
    juce::Path trace;
    /** Where sparks are born: the membrane vertices, then the root again, so the root is picked twice as often. */
    std::vector<juce::Point<float>> anchors;
};

/** Builds the left wing, or with true its mirror image about x = 400. Allocates; no state. */
WingPaths buildWing (bool rightWing);
} // namespace CorvaneUlmiraArt
