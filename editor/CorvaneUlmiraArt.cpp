#include "editor/CorvaneUlmiraArt.h"

#include <initializer_list>

namespace CorvaneUlmiraArt
{
namespace
{
using Points = std::initializer_list<juce::Point<float>>;

// The left wing's outline, from the root along the forewing, round the hindwing and back.
const Points membranePoints { { 394, 179 }, { 350, 125 }, { 301, 76 }, { 218, 37 }, { 105, 51 }, { 144, 112 },
                              { 205, 146 }, { 145, 157 }, { 73, 215 },  { 157, 297 }, { 267, 255 }, { 345, 210 } };

juce::Point<float> placed (juce::Point<float> p, bool mirrored) { return mirrored ? juce::Point<float> (800.0f - p.x, p.y) : p; }

void addPolyline (juce::Path& path, Points points, bool mirrored)
{
    auto point = points.begin();
    path.startNewSubPath (placed (*point, mirrored));
    for (++point; point != points.end(); ++point)
        path.lineTo (placed (*point, mirrored));
}

void addPolylines (juce::Path& path, std::initializer_list<Points> polylines, bool mirrored)
{
    for (const auto& points : polylines)
        addPolyline (path, points, mirrored);
}
} // namespace

WingPaths buildWing (bool rightWing)
{
    WingPaths wing;

    addPolyline (wing.membrane, membranePoints, rightWing);
    wing.membrane.closeSubPath();

    // The rim leaves out the notch segment (205, 146) to (145, 157) between fore- and hindwing.
    addPolylines (wing.edge,
                  { { { 394, 179 }, { 350, 125 }, { 301, 76 }, { 218, 37 }, { 105, 51 }, { 144, 112 }, { 205, 146 } },
                    { { 145, 157 }, { 73, 215 }, { 157, 297 }, { 267, 255 }, { 345, 210 }, { 394, 179 } } },
                  rightWing);

    addPolylines (wing.veins,
                  { { { 394, 179 }, { 301, 76 }, { 205, 146 }, { 394, 179 }, { 218, 37 }, { 144, 112 }, { 301, 76 } },
                    { { 394, 179 }, { 145, 157 }, { 157, 297 }, { 267, 255 }, { 145, 157 }, { 73, 215 }, { 267, 255 } },
                    { { 345, 210 }, { 157, 297 } },
                    { { 205, 146 }, { 144, 112 } },
                    { { 145, 157 }, { 205, 146 } } },
                  rightWing);

    addPolylines (wing.fineVeins,
                  { { { 218, 37 }, { 256, 115 }, { 205, 146 }, { 267, 255 }, { 205, 146 }, { 157, 297 } },
                    { { 105, 51 }, { 217, 139 } },
                    { { 73, 215 }, { 199, 235 }, { 267, 255 } } },
                  rightWing);

    addPolylines (wing.trace,
                  { { { 386, 174 }, { 301, 82 }, { 219, 45 }, { 115, 56 } },
                    { { 383, 188 }, { 265, 247 }, { 157, 288 }, { 82, 216 } } },
                  rightWing);

    for (const auto& p : membranePoints)
        wing.anchors.push_back (placed (p, rightWing));
    wing.anchors.push_back (placed (*membranePoints.begin(), rightWing)); // the root twice: born there more often

    return wing;
}
} // namespace CorvaneUlmiraArt
