#include "editor/CorvaneUlmiraArt.h"

#include <gtest/gtest.h>

#include <vector>

namespace
{
using CorvaneUlmiraArt::buildWing;
using CorvaneUlmiraArt::WingPaths;
using Point = juce::Point<float>;

/** One path element: its kind and its end point (every segment of the wings is a straight line). */
struct Element
{
    juce::Path::Iterator::PathElementType type;
    Point point;
    bool operator== (const Element& other) const { return type == other.type && point == other.point; }
};

std::vector<Element> elementsOf (const juce::Path& path)
{
    std::vector<Element> elements;
    juce::Path::Iterator it (path);
    while (it.next())
        elements.push_back ({ it.elementType, { it.x1, it.y1 } });
    return elements;
}

/** The straight segments of a path as point pairs, in drawing order. */
std::vector<std::pair<Point, Point>> segmentsOf (const juce::Path& path)
{
    std::vector<std::pair<Point, Point>> segments;
    Point current, subPathStart;
    for (const auto& e : elementsOf (path))
    {
        if (e.type == juce::Path::Iterator::startNewSubPath)
            subPathStart = current = e.point;
        else if (e.type == juce::Path::Iterator::lineTo)
        {
            segments.emplace_back (current, e.point);
            current = e.point;
        }
        else if (e.type == juce::Path::Iterator::closePath)
        {
            segments.emplace_back (current, subPathStart);
            current = subPathStart;
        }
    }
    return segments;
}

bool hasSegment (const juce::Path& path, Point a, Point b)
{
    for (const auto& [from, to] : segmentsOf (path))
        if ((from == a && to == b) || (from == b && to == a))
            return true;
    return false;
}

int countOf (const juce::Path& path, juce::Path::Iterator::PathElementType type)
{
    int count = 0;
    for (const auto& e : elementsOf (path))
        count += e.type == type ? 1 : 0;
    return count;
}

std::vector<const juce::Path*> pathsOf (const WingPaths& wing)
{
    return { &wing.membrane, &wing.edge, &wing.veins, &wing.fineVeins, &wing.trace };
}
} // namespace

TEST (CorvaneUlmiraArtTest, MembraneBoundsSpanTheDesignedWing)
{
    EXPECT_EQ (buildWing (false).membrane.getBounds(), juce::Rectangle<float> (73.0f, 37.0f, 321.0f, 260.0f));
    EXPECT_EQ (buildWing (true).membrane.getBounds(), juce::Rectangle<float> (406.0f, 37.0f, 321.0f, 260.0f));
}

// Property: the right wing is the left wing with x -> 800 - x, element by element, in the same order.
TEST (CorvaneUlmiraArtTest, RightWingMirrorsLeftWingInOrder)
{
    const auto left = buildWing (false);
    const auto right = buildWing (true);
    const auto leftPaths = pathsOf (left), rightPaths = pathsOf (right);

    for (size_t p = 0; p < leftPaths.size(); ++p)
    {
        const auto l = elementsOf (*leftPaths[p]), r = elementsOf (*rightPaths[p]);
        ASSERT_EQ (l.size(), r.size()) << "path " << p;
        ASSERT_FALSE (l.empty()) << "path " << p;
        for (size_t i = 0; i < l.size(); ++i)
        {
            EXPECT_EQ (l[i].type, r[i].type) << "path " << p << " element " << i;
            if (l[i].type != juce::Path::Iterator::closePath)
            {
                EXPECT_EQ (Point (800.0f - l[i].point.x, l[i].point.y), r[i].point) << "path " << p << " element " << i;
            }
        }
    }

    ASSERT_EQ (left.anchors.size(), right.anchors.size());
    for (size_t i = 0; i < left.anchors.size(); ++i)
        EXPECT_EQ (Point (800.0f - left.anchors[i].x, left.anchors[i].y), right.anchors[i]) << "anchor " << i;
}

TEST (CorvaneUlmiraArtTest, EdgeLeavesOutTheNotchThatTheMembraneCloses)
{
    struct Case { bool right; Point notchA, notchB, root; };
    for (const auto& c : { Case { false, { 205, 146 }, { 145, 157 }, { 394, 179 } },
                           Case { true, { 595, 146 }, { 655, 157 }, { 406, 179 } } })
    {
        const auto wing = buildWing (c.right);
        EXPECT_TRUE (hasSegment (wing.membrane, c.notchA, c.notchB)) << "right " << c.right;
        EXPECT_FALSE (hasSegment (wing.edge, c.notchA, c.notchB)) << "right " << c.right;
        EXPECT_EQ (segmentsOf (wing.edge).size() + 1, segmentsOf (wing.membrane).size()); // every other side is rimmed

        EXPECT_EQ (countOf (wing.membrane, juce::Path::Iterator::closePath), 1);
        EXPECT_EQ (countOf (wing.edge, juce::Path::Iterator::startNewSubPath), 2);
        EXPECT_EQ (countOf (wing.edge, juce::Path::Iterator::closePath), 0);
        EXPECT_EQ (countOf (wing.veins, juce::Path::Iterator::startNewSubPath), 5);
        EXPECT_EQ (countOf (wing.fineVeins, juce::Path::Iterator::startNewSubPath), 3);
        EXPECT_EQ (countOf (wing.trace, juce::Path::Iterator::startNewSubPath), 2);

        ASSERT_EQ (wing.anchors.size(), 13u);
        EXPECT_EQ (wing.anchors.front(), c.root);
        EXPECT_EQ (wing.anchors.back(), c.root);
    }
}

TEST (CorvaneUlmiraArtTest, AnchorsAreTheMembraneVerticesThenTheRoot)
{
    const auto wing = buildWing (false);
    const auto membrane = elementsOf (wing.membrane);
    ASSERT_EQ (membrane.size(), 13u); // twelve vertices and the close
    for (size_t i = 0; i < 12; ++i)
        EXPECT_EQ (wing.anchors[i], membrane[i].point) << "anchor " << i;
}

TEST (CorvaneUlmiraArtTest, EachCallBuildsTheSameGeometry)
{
    for (const auto right : { false, true })
    {
        const auto a = buildWing (right), b = buildWing (right);
        const auto pathsA = pathsOf (a), pathsB = pathsOf (b);
        for (size_t p = 0; p < pathsA.size(); ++p)
            EXPECT_TRUE (elementsOf (*pathsA[p]) == elementsOf (*pathsB[p])) << "path " << p;
        EXPECT_EQ (a.anchors, b.anchors);
        EXPECT_TRUE (pathsA[0]->isUsingNonZeroWinding());
    }
}
