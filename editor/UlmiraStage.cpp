#include "editor/PluginEditor.h"

#include "processor/ParameterIds.h"

#include <algorithm>

namespace
{
using Stage = CorvaneAudioProcessorEditor::UlmiraStage;
using LookAndFeel = CorvaneLookAndFeel;

constexpr float designWidth = 800.0f;
constexpr float designHeight = 360.0f;
constexpr float fullActivityReductionDb = 18.0f;
constexpr float activityStepPerTick = 0.25f;
constexpr float lifeLostPerTick = 0.1f;

/** The colour at a float alpha, clamped to 0..1 first. */
juce::Colour withAlphaClamped (juce::Colour colour, float alpha) { return colour.withAlpha (juce::jlimit (0.0f, 1.0f, alpha)); }

void addPolyline (juce::Path& path, std::initializer_list<juce::Point<float>> points)
{
    auto point = points.begin();
    path.startNewSubPath (*point);
    for (++point; point != points.end(); ++point)
        path.lineTo (*point);
}

juce::AffineTransform wingTransform (juce::Point<float> pivot, float horizontalScale, float angleDegrees,
                                     const juce::AffineTransform& fit)
{
    return juce::AffineTransform::translation (-pivot.x, -pivot.y)
        .scaled (horizontalScale, 1.0f)
        .rotated (juce::degreesToRadians (angleDegrees))
        .translated (pivot.x, pivot.y)
        .followedBy (fit);
}

juce::Path transformedCopy (const juce::Path& path, const juce::AffineTransform& transform)
{
    auto copy = path;
    copy.applyTransform (transform);
    return copy;
}

void fillCircle (juce::Graphics& g, juce::Point<float> centre, float diameter, juce::Colour colour)
{
    g.setColour (colour);
    g.fillEllipse (juce::Rectangle<float> (diameter, diameter).withCentre (centre));
}
} // namespace

Stage::UlmiraStage()
    : leftWing (CorvaneUlmiraArt::buildWing (false)),
      rightWing (CorvaneUlmiraArt::buildWing (true))
{
    addPolyline (bodyDetail, { { 389, 121 }, { 376, 99 } }); // antennae
    addPolyline (bodyDetail, { { 411, 121 }, { 424, 99 } });
    addPolyline (bodyDetail, { { 376, 99 }, { 367, 92 } });
    addPolyline (bodyDetail, { { 424, 99 }, { 433, 92 } });
    addPolyline (bodyDetail, { { 400, 123 }, { 390, 154 }, { 400, 175 }, { 410, 154 }, { 400, 123 }, { 400, 305 } });
    addPolyline (bodyDetail, { { 389, 282 }, { 411, 282 } }); // cross bars
    addPolyline (bodyDetail, { { 388, 226 }, { 412, 226 } });

    addPolyline (bodyOutline, { { 400, 123 }, { 383, 147 }, { 389, 282 }, { 400, 305 }, { 411, 282 }, { 417, 147 } });
    bodyOutline.closeSubPath();

    random.setSeedRandomly();
    setInterceptsMouseClicks (true, false);
    startTimer (33);
}

Stage::~UlmiraStage() = default;

Stage::Frame Stage::frameFor (float stageWidth, float stageHeight, float widthValue)
{
    Frame frame;
    frame.scale = 0.9f * juce::jmin (stageHeight / designHeight, stageWidth / designWidth);
    frame.fit = juce::AffineTransform::scale (frame.scale)
                    .translated (stageWidth / 2.0f - 400.0f * frame.scale, stageHeight / 2.0f - 180.0f * frame.scale);
    frame.openness = 0.18f + 0.82f * widthValue;
    const auto horizontalScale = 0.22f + 0.83f * widthValue;
    const auto angleDegrees = 16.0f * widthValue - 13.0f;
    frame.leftWing = wingTransform ({ 394.0f, 185.0f }, horizontalScale, angleDegrees, frame.fit);
    frame.rightWing = wingTransform ({ 406.0f, 185.0f }, horizontalScale, -angleDegrees, frame.fit);
    return frame;
}

double Stage::widthForMouseX (int x, float stageWidth)
{
    const auto margin = 0.08f * stageWidth;
    const auto span = juce::jmax (stageWidth - 2.0f * margin, 1.0f);
    return (double) (juce::jlimit (0.0f, span, (float) x - margin) / span);
}

void Stage::setRandomSeed (juce::int64 seed) { random.setSeed (seed); }

float Stage::currentWidth() const { return widthSlider != nullptr ? (float) widthSlider->getValue() : 0.5f; }

void Stage::paint (juce::Graphics& g)
{
    const auto frame = frameFor ((float) getWidth(), (float) getHeight(), currentWidth());
    paintWing (g, leftWing, frame.leftWing, frame.openness);
    paintWing (g, rightWing, frame.rightWing, frame.openness);
    paintBody (g, frame);
    paintSparks (g, frame);
}

void Stage::paintWing (juce::Graphics& g, const CorvaneUlmiraArt::WingPaths& wing, const juce::AffineTransform& transform,
                       float openness) const
{
    const auto bounds = wing.membrane.getBounds().transformedBy (transform);
    juce::ColourGradient membraneFill (juce::Colour (0x8c372353), bounds.getRight(), bounds.getCentreY(),
                                       juce::Colour (0xe608090d), bounds.getX(), bounds.getCentreY(), false);
    membraneFill.addColour (0.42, juce::Colour (0xd615121e));
    g.setGradientFill (membraneFill);
    g.fillPath (wing.membrane, transform);

    // The rim is stroked in pixels, so it stays crisp however far the wing is squeezed.
    const auto edge = transformedCopy (wing.edge, transform);
    g.setColour (withAlphaClamped (LookAndFeel::violet, 0.5f * openness));
    g.strokePath (edge, juce::PathStrokeType (5.0f, juce::PathStrokeType::curved, juce::PathStrokeType::rounded));
    g.setColour (withAlphaClamped (LookAndFeel::violetHot, openness));
    g.strokePath (edge, juce::PathStrokeType (1.6f, juce::PathStrokeType::curved, juce::PathStrokeType::rounded));

    g.setColour (juce::Colour (0x8fccc6da));
    g.strokePath (wing.veins, juce::PathStrokeType (1.0f), transform);
    g.setColour (juce::Colour (0x40ccc6da));
    g.strokePath (wing.fineVeins, juce::PathStrokeType (1.0f), transform);

    if (openness > 0.01f || adaptiveMode)
    {
        const float dashLengths[] { 3.0f, 10.0f };
        juce::Path dashed;
        juce::PathStrokeType (1.25f).createDashedStroke (dashed, transformedCopy (wing.trace, transform), dashLengths, 2,
                                                         {}, 1.0f);
        g.setColour (adaptiveMode ? withAlphaClamped (LookAndFeel::cyanHot, 0.52f * openness)
                                  : LookAndFeel::cyanHot.withAlpha (0.1f));
        g.fillPath (dashed);
    }
}

void Stage::paintBody (juce::Graphics& g, const Frame& frame) const
{
    const auto ox = frame.fit.getTranslationX();
    g.setGradientFill (juce::ColourGradient (juce::Colour (0xff08090c), ox + 383.0f * frame.scale, 0.0f,
                                             juce::Colour (0xff2a2d35), ox + 417.0f * frame.scale, 0.0f, false));
    g.fillPath (bodyOutline, frame.fit);

    g.setColour (juce::Colour (0xccaeb4bf));
    g.strokePath (bodyDetail, juce::PathStrokeType (1.1f), frame.fit);
    g.setColour (juce::Colour (0xffd6d9df));
    g.strokePath (bodyOutline, juce::PathStrokeType (1.4f), frame.fit);

    const auto head = headCentre.transformedBy (frame.fit);
    const auto r = frame.scale * headRadius;
    fillCircle (g, head, 3.4f * r, LookAndFeel::violet.withAlpha (0.35f));
    fillCircle (g, head, 2.0f * r, juce::Colour (0xffeeeeee));
}

void Stage::paintSparks (juce::Graphics& g, const Frame& frame) const
{
    for (const auto& spark : sparks)
    {
        const auto p = spark.position.transformedBy (spark.onRightWing ? frame.rightWing : frame.leftWing);
        const auto colour = spark.fromHarshness ? LookAndFeel::violetHot : LookAndFeel::cyanHot;
        const auto radius = frame.scale * (2.0f + 3.5f * spark.life) * 0.5f;
        fillCircle (g, p, 2.0f * radius, withAlphaClamped (colour, spark.life));
        fillCircle (g, p, 4.0f * radius, withAlphaClamped (colour, 0.35f * spark.life)); // softer halo over the core
    }
}

void Stage::timerCallback()
{
    if (processor != nullptr)
    {
        const auto target = activityTarget (processor->isSuppressorActive(), processor->latestReductionDb (0),
                                            processor->latestReductionDb (1));
        advance (target, processor->parameters.getRawParameterValue (ParameterIds::resonanceAmount)->load(),
                 processor->parameters.getRawParameterValue (ParameterIds::harshnessAmount)->load());
    }
    repaint();
}

float Stage::activityTarget (bool suppressorActive, float reductionDbLeft, float reductionDbRight)
{
    const auto reductionDb = suppressorActive ? juce::jmax (reductionDbLeft, reductionDbRight) : 0.0f;
    return juce::jlimit (0.0f, 1.0f, reductionDb / fullActivityReductionDb);
}

void Stage::advance (float targetActivity, float resonanceAmount, float harshnessAmount)
{
    activity += (targetActivity - activity) * activityStepPerTick;

    if (activity > 0.02f)
    {
        if (resonanceAmount > 0.001f && random.nextFloat() < activity * 0.5f)
            spawnSpark (false);
        if (harshnessAmount > 0.001f && random.nextFloat() < activity * 0.5f)
            spawnSpark (true);
    }
    ageSparks();
}

void Stage::spawnSpark (bool fromHarshness)
{
    const auto onRightWing = random.nextBool();
    const auto& anchors = (onRightWing ? rightWing : leftWing).anchors;
    if (anchors.empty())
        return;

    const auto anchor = anchors[(size_t) random.nextInt ((int) anchors.size())];
    const auto jitterX = 16.0f * random.nextFloat() - 8.0f;
    const auto jitterY = 16.0f * random.nextFloat() - 8.0f;
    sparks.push_back ({ anchor + juce::Point<float> (jitterX, jitterY), 1.0f, onRightWing, fromHarshness });
}

void Stage::ageSparks()
{
    for (auto& spark : sparks)
        spark.life -= lifeLostPerTick;
    sparks.erase (std::remove_if (sparks.begin(), sparks.end(), [] (const Spark& s) { return s.life <= 0.0f; }),
                  sparks.end());
}

void Stage::mouseDown (const juce::MouseEvent& event) { setWidthFromMouse (event); }

void Stage::mouseDrag (const juce::MouseEvent& event) { setWidthFromMouse (event); }

void Stage::mouseDoubleClick (const juce::MouseEvent&)
{
    if (widthSlider != nullptr)
        widthSlider->setValue (0.5, juce::sendNotificationSync);
}

void Stage::setWidthFromMouse (const juce::MouseEvent& event)
{
    if (widthSlider != nullptr)
        widthSlider->setValue (widthForMouseX (event.x, (float) getWidth()), juce::sendNotificationSync);
}
