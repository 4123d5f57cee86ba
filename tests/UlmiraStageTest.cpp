#include "editor/PluginEditor.h"

#include <gtest/gtest.h>

#include <cmath>

namespace
{
using Stage = CorvaneAudioProcessorEditor::UlmiraStage;
using Point = juce::Point<float>;

/** The designed wing motion, written out independently: squeeze by sx about the pivot, turn by the
    angle (clockwise on screen, y down), then fit. */
Point expectedWingPoint (Point p, Point pivot, float sx, float degrees, const juce::AffineTransform& fit)
{
    const auto a = (double) degrees * juce::MathConstants<double>::pi / 180.0;
    const auto dx = (double) sx * (p.x - pivot.x), dy = (double) (p.y - pivot.y);
    const Point turned ((float) (pivot.x + dx * std::cos (a) - dy * std::sin (a)),
                        (float) (pivot.y + dx * std::sin (a) + dy * std::cos (a)));
    return turned.transformedBy (fit);
}

/** A mouse event at a stage x position, as the stage would receive it. */
juce::MouseEvent mouseAt (Stage& stage, int x, int clicks)
{
    const juce::Point<float> position ((float) x, 10.0f);
    return { juce::Desktop::getInstance().getMainMouseSource(), position, {}, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f,
             &stage, &stage, juce::Time::getCurrentTime(), position, juce::Time::getCurrentTime(), clicks, false };
}

struct StageFixture : ::testing::Test
{
    StageFixture() { stage.setRandomSeed (1234); }

    /** Runs ticks at a fixed target and amounts. */
    void tick (int count, float target, float resonance, float harshness)
    {
        for (int i = 0; i < count; ++i)
            stage.advance (target, resonance, harshness);
    }

    Stage stage;
};
} // namespace

TEST (UlmiraStageTest, FitCentresTheDesignAtNinetyPercent)
{
    const auto frame = Stage::frameFor (651.0f, 291.0f, 0.5f);
    EXPECT_NEAR (frame.scale, 0.7275f, 1e-6f); // 0.9 x min(291/360, 651/800); float rounding only
    EXPECT_NEAR (frame.fit.getTranslationX(), 34.5f, 1e-4f);
    EXPECT_NEAR (frame.fit.getTranslationY(), 14.55f, 1e-4f);
    const auto centre = Point (400.0f, 180.0f).transformedBy (frame.fit);
    EXPECT_NEAR (centre.x, 325.5f, 1e-4f);
    EXPECT_NEAR (centre.y, 145.5f, 1e-4f);
}

// Property: at each width the wings squeeze, turn and open as designed, and mirror each other.
TEST (UlmiraStageTest, WingTransformsFollowTheWidth)
{
    struct Case { float width, openness, scale, degrees; };
    for (const auto& c : { Case { 0.0f, 0.18f, 0.22f, -13.0f }, Case { 0.5f, 0.59f, 0.635f, -5.0f },
                           Case { 1.0f, 1.0f, 1.05f, 3.0f } })
    {
        const auto frame = Stage::frameFor (651.0f, 291.0f, c.width);
        EXPECT_NEAR (frame.openness, c.openness, 1e-6f) << "width " << c.width;

        for (const auto p : { Point (73, 215), Point (218, 37), Point (394, 185), Point (157, 297) })
        {
            const auto left = p.transformedBy (frame.leftWing);
            const auto expected = expectedWingPoint (p, { 394, 185 }, c.scale, c.degrees, frame.fit);
            EXPECT_NEAR (left.x, expected.x, 1e-3f) << "width " << c.width << " point " << p.toString(); // float vs double
            EXPECT_NEAR (left.y, expected.y, 1e-3f) << "width " << c.width << " point " << p.toString();

            const auto right = Point (800.0f - p.x, p.y).transformedBy (frame.rightWing);
            EXPECT_NEAR (right.x, 651.0f - left.x, 1e-3f) << "width " << c.width; // mirror about the stage centre
            EXPECT_NEAR (right.y, left.y, 1e-3f) << "width " << c.width;
        }
    }
}

TEST (UlmiraStageTest, MouseXMapsLinearlyBetweenTheMargins)
{
    struct Case { int x; float stageWidth; double value; };
    for (const auto& c : { Case { -20, 100.0f, 0.0 }, Case { 0, 100.0f, 0.0 }, Case { 8, 100.0f, 0.0 },
                           Case { 29, 100.0f, 0.25 }, Case { 50, 100.0f, 0.5 }, Case { 92, 100.0f, 1.0 },
                           Case { 150, 100.0f, 1.0 }, Case { 52, 651.0f, 0.0 }, Case { 599, 651.0f, 1.0 },
                           Case { 5, 0.0f, 1.0 }, Case { 0, 0.0f, 0.0 } })
        EXPECT_NEAR (Stage::widthForMouseX (c.x, c.stageWidth), c.value, 1e-6) << c.x << " in " << c.stageWidth;
}

TEST (UlmiraStageTest, ClicksDragsAndDoubleClicksSetTheSlider)
{
    Stage stage;
    stage.setSize (100, 50);
    stage.mouseDown (mouseAt (stage, 50, 1)); // no slider yet: nothing happens

    juce::Slider slider;
    slider.setRange (0.0, 1.0, 0.001);
    int changes = 0;
    slider.onValueChange = [&changes] { ++changes; };
    stage.widthSlider = &slider;

    stage.mouseDown (mouseAt (stage, 29, 1));
    EXPECT_DOUBLE_EQ (slider.getValue(), 0.25);
    EXPECT_EQ (changes, 1); // synchronous: the readout has run before the handler returns
    stage.mouseDrag (mouseAt (stage, 400, 1));
    EXPECT_DOUBLE_EQ (slider.getValue(), 1.0);
    stage.mouseDrag (mouseAt (stage, -400, 1));
    EXPECT_DOUBLE_EQ (slider.getValue(), 0.0);
    stage.mouseDoubleClick (mouseAt (stage, 92, 2));
    EXPECT_DOUBLE_EQ (slider.getValue(), 0.5);
    EXPECT_EQ (changes, 4);
}

TEST (UlmiraStageTest, ActivityTargetIsTheDeeperChannelOverEighteenDecibels)
{
    struct Case { bool active; float left, right, target; };
    for (const auto& c : { Case { true, 9.0f, 3.0f, 0.5f }, Case { true, 0.0f, 18.0f, 1.0f }, Case { true, 36.0f, 0.0f, 1.0f },
                           Case { true, -6.0f, -1.0f, 0.0f }, Case { false, 18.0f, 18.0f, 0.0f } })
        EXPECT_FLOAT_EQ (Stage::activityTarget (c.active, c.left, c.right), c.target)
            << c.active << ' ' << c.left << ' ' << c.right;
}

TEST_F (StageFixture, ActivitySmoothsUpAndDecaysByAQuarterPerTick)
{
    tick (1, 1.0f, 0.0f, 0.0f);
    EXPECT_FLOAT_EQ (stage.getActivity(), 0.25f);
    tick (1, 1.0f, 0.0f, 0.0f);
    EXPECT_FLOAT_EQ (stage.getActivity(), 0.4375f);
    tick (100, 1.0f, 0.0f, 0.0f);
    EXPECT_NEAR (stage.getActivity(), 1.0f, 1e-6f);

    tick (13, 0.0f, 0.0f, 0.0f);
    EXPECT_GT (stage.getActivity(), 0.02f); // 0.75^13 = 0.024
    tick (1, 0.0f, 0.0f, 0.0f);
    EXPECT_LE (stage.getActivity(), 0.02f); // 0.75^14 = 0.018: spawning stops here
}

TEST_F (StageFixture, NoSparksWhileBothAmountsAreAtMostOneThousandth)
{
    tick (200, 1.0f, 0.001f, 0.0f);
    EXPECT_TRUE (stage.getSparks().empty());
}

TEST_F (StageFixture, NoSparksOnceActivityHasDecayed)
{
    tick (50, 1.0f, 1.0f, 1.0f);
    tick (24, 0.0f, 1.0f, 1.0f); // 14 ticks to fall to 0.02, then 10 more for the last sparks to die
    EXPECT_TRUE (stage.getSparks().empty());
}

TEST (UlmiraStageTest, SparksTakeTheirColourFromTheirAmount)
{
    struct Case { float resonance, harshness; bool harshnessSparks, resonanceSparks; };
    for (const auto& c : { Case { 0.0f, 0.5f, true, false }, Case { 0.5f, 0.0f, false, true }, Case { 0.5f, 0.5f, true, true } })
    {
        Stage stage;
        stage.setRandomSeed (99);
        int harshness = 0, resonance = 0;
        for (int i = 0; i < 200; ++i)
        {
            const auto before = stage.getSparks().size();
            stage.advance (1.0f, c.resonance, c.harshness);
            EXPECT_LE (stage.getSparks().size(), before + 2); // at most one birth per amount per tick
            for (const auto& spark : stage.getSparks())
                if (spark.life > 0.85f)
                    (spark.fromHarshness ? harshness : resonance) += 1;
        }
        EXPECT_EQ (harshness > 0, c.harshnessSparks) << c.resonance << ' ' << c.harshness;
        EXPECT_EQ (resonance > 0, c.resonanceSparks) << c.resonance << ' ' << c.harshness;
    }
}

TEST_F (StageFixture, SparkLivesNineTicksAndIsBornNearAnAnchorOfItsWing)
{
    while (stage.getSparks().empty())
        stage.advance (1.0f, 1.0f, 0.0f);
    ASSERT_EQ (stage.getSparks().size(), 1u);
    const auto spark = stage.getSparks().front();
    EXPECT_FLOAT_EQ (spark.life, 0.9f); // aged in its birth tick

    const auto wing = CorvaneUlmiraArt::buildWing (spark.onRightWing);
    bool nearAnchor = false;
    for (const auto anchor : wing.anchors)
        nearAnchor |= std::abs (spark.position.x - anchor.x) <= 8.0f && std::abs (spark.position.y - anchor.y) <= 8.0f;
    EXPECT_TRUE (nearAnchor) << spark.position.toString();

    int paints = 1;
    while (! stage.getSparks().empty())
    {
        stage.advance (0.0f, 0.0f, 0.0f);
        for (const auto& s : stage.getSparks())
            EXPECT_GT (s.life, 0.0f);
        paints += stage.getSparks().empty() ? 0 : 1;
        ASSERT_LT (paints, 20);
    }
    EXPECT_EQ (paints, 9);
}

TEST (UlmiraStageTest, SameSeedGivesTheSameSparks)
{
    Stage a, b;
    a.setRandomSeed (42);
    b.setRandomSeed (42);
    for (int i = 0; i < 40; ++i)
    {
        a.advance (0.8f, 0.5f, 0.5f);
        b.advance (0.8f, 0.5f, 0.5f);
    }
    ASSERT_EQ (a.getSparks().size(), b.getSparks().size());
    ASSERT_FALSE (a.getSparks().empty());
    for (size_t i = 0; i < a.getSparks().size(); ++i)
    {
        EXPECT_EQ (a.getSparks()[i].position, b.getSparks()[i].position);
        EXPECT_EQ (a.getSparks()[i].onRightWing, b.getSparks()[i].onRightWing);
    }
}

TEST (UlmiraStageTest, TimerWithoutProcessorOnlyRepaints)
{
    Stage stage;
    stage.timerCallback();
    EXPECT_EQ (stage.getActivity(), 0.0f);
    EXPECT_TRUE (stage.getSparks().empty());
    EXPECT_TRUE (stage.isTimerRunning());
    EXPECT_EQ (stage.getTimerInterval(), 33);
}

TEST (UlmiraStageTest, TimerReadsTheProcessorAmounts)
{
    CorvaneAudioProcessor processor;
    Stage stage;
    stage.processor = &processor;
    stage.timerCallback(); // no reduction reported: activity stays at rest
    EXPECT_EQ (stage.getActivity(), 0.0f);
    EXPECT_TRUE (stage.getSparks().empty());
}

// Property: painting draws the emblem (wings, body, sparks) without a slider and with one.
TEST (UlmiraStageTest, PaintsTheEmblemAndItsSparks)
{
    Stage stage;
    stage.setSize (651, 291);
    stage.setRandomSeed (7);
    for (int i = 0; i < 30; ++i)
        stage.advance (1.0f, 0.0f, 1.0f);
    ASSERT_FALSE (stage.getSparks().empty());

    juce::Image image (juce::Image::ARGB, 651, 291, true);
    {
        juce::Graphics g (image);
        stage.paint (g);
    }
    const auto frame = Stage::frameFor (651.0f, 291.0f, 0.5f); // no slider: width 0.5
    const auto head = juce::Point<float> (400.0f, 105.0f).transformedBy (frame.fit).roundToInt();
    EXPECT_EQ (image.getPixelAt (head.x, head.y), juce::Colour (0xffeeeeee));

    const auto& spark = stage.getSparks().back();
    const auto at = spark.position.transformedBy (spark.onRightWing ? frame.rightWing : frame.leftWing).roundToInt();
    const auto pixel = image.getPixelAt (at.x, at.y);
    EXPECT_GT (pixel.getRed(), pixel.getGreen()); // violet, not cyan: a harshness spark
    EXPECT_GT (pixel.getAlpha(), 0x40);
}

// Property: the dashed flow trace is faint and fixed in the transparent mode and follows the width
// in the adaptive mode. A wing holding only a straight trace isolates it: its first dash covers
// pixels 10 to 12 of row 10 completely, so their alpha is the colour's own.
TEST (UlmiraStageTest, TraceAlphaFollowsTheMode)
{
    CorvaneUlmiraArt::WingPaths traceOnly;
    traceOnly.trace.startNewSubPath (10.0f, 10.5f);
    traceOnly.trace.lineTo (90.0f, 10.5f);

    struct Case { bool adaptive; float openness; int alpha; };
    for (const auto& c : { Case { false, 0.18f, 26 }, Case { false, 1.0f, 26 }, Case { true, 0.18f, 24 },
                           Case { true, 1.0f, 133 }, Case { false, 0.005f, 0 } })
    {
        Stage stage;
        stage.adaptiveMode = c.adaptive;
        juce::Image image (juce::Image::ARGB, 100, 20, true);
        {
            juce::Graphics g (image);
            stage.paintWing (g, traceOnly, {}, c.openness);
        }
        EXPECT_NEAR (image.getPixelAt (11, 10).getAlpha(), c.alpha, 1) // 1: premultiplied rounding
            << "adaptive " << c.adaptive << " openness " << c.openness;
        EXPECT_EQ (image.getPixelAt (17, 10).getAlpha(), 0) << "the gap after the first dash";
    }
}
