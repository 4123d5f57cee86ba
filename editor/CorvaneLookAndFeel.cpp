#include "editor/CorvaneLookAndFeel.h"

#include "BinaryData.h"
#include "editor/CorvaneFonts.h"

const juce::Colour CorvaneLookAndFeel::background { 0xff050609 };
const juce::Colour CorvaneLookAndFeel::panel { 0xff0b0d12 };
const juce::Colour CorvaneLookAndFeel::violet { 0xff8a43ff };
const juce::Colour CorvaneLookAndFeel::violetHot { 0xffb277ff };
const juce::Colour CorvaneLookAndFeel::cyan { 0xff42d6ff };
const juce::Colour CorvaneLookAndFeel::cyanHot { 0xff78e5ff };
const juce::Colour CorvaneLookAndFeel::textPrimary { 0xffe8ebf1 };
const juce::Colour CorvaneLookAndFeel::textDim { 0xff78808d };

const juce::Identifier CorvaneLookAndFeel::chromeButtonProperty { "chromeButton" };
const juce::Identifier CorvaneLookAndFeel::violetAccentProperty { "violetAccent" };

namespace
{
const juce::Colour tickInactive { 0xff3a3d46 };
const juce::Colour flatChromeBody { 0xff08090c };
const juce::Rectangle<int> rectFlatRect { 40, 45, 520, 130 }; // the face of both chrome sprites

/** The colour with its alpha byte scaled by factor, rounded and capped at 255. */
juce::Colour withAlphaScaled (juce::Colour colour, float factor)
{
    return colour.withAlpha ((juce::uint8) juce::jmin (255, juce::roundToInt (colour.getAlpha() * factor)));
}

juce::Path ellipsePath (juce::Rectangle<float> area)
{
    juce::Path path;
    path.addEllipse (area);
    return path;
}

juce::Path roundedRectanglePath (juce::Rectangle<float> area, float cornerSize)
{
    juce::Path path;
    path.addRoundedRectangle (area, cornerSize);
    return path;
}

/** Stretches the source region of a sprite over dest, clipped to a rounded rectangle. */
void drawFlatChrome (juce::Graphics& g, const juce::Image& sprite, juce::Rectangle<int> source,
                     juce::Rectangle<float> dest, float cornerSize)
{
    if (dest.getWidth() <= 0.0f || dest.getHeight() <= 0.0f || ! sprite.isValid())
        return;

    juce::Graphics::ScopedSaveState saved (g);
    g.reduceClipRegion (roundedRectanglePath (dest, cornerSize));

    const juce::Rectangle<int> d ((int) dest.getX(), (int) dest.getY(), (int) dest.getWidth(), (int) dest.getHeight());
    if (! g.clipRegionIntersects (d))
        return;

    const auto face = sprite.getClippedImage (source);
    g.drawImageTransformed (face, juce::AffineTransform::scale ((float) d.getWidth() / (float) source.getWidth(),
                                                                (float) d.getHeight() / (float) source.getHeight())
                                      .translated ((float) d.getX(), (float) d.getY()));
}

/** The body rectangle shared by buttons and combo boxes: inset by one pixel, never negative. */
juce::Rectangle<float> bodyArea (int width, int height)
{
    return { 1.0f, 1.0f, (float) juce::jmax (width - 2, 0), (float) juce::jmax (height - 2, 0) };
}

void drawPressOverlay (juce::Graphics& g, juce::Rectangle<float> r, float corner, bool highlighted, bool down)
{
    if (! (highlighted || down))
        return;
    g.setColour (juce::Colours::white.withAlpha ((juce::uint8) (down ? 0x1a : 0x0f)));
    g.fillRoundedRectangle (r, corner);
}

void drawFlatKnob (juce::Graphics& g, juce::Rectangle<float> knob, bool enabled)
{
    const juce::Colour top (0.6041667f, 0.121212125f, enabled ? 0.25882354f : 0.15529414f, (juce::uint8) 255);
    g.setGradientFill (juce::ColourGradient (top, knob.getCentreX(), knob.getY(), juce::Colour (0xff101113),
                                             knob.getCentreX(), knob.getBottom(), false));
    g.fillEllipse (knob);
    g.setColour (juce::Colour (0xb2000000));
    g.drawEllipse (knob, 1.2f);
}
} // namespace

CorvaneLookAndFeel::CorvaneLookAndFeel()
    : knobImage (juce::ImageFileFormat::loadFrom (BinaryData::Forgelknob_png, BinaryData::Forgelknob_pngSize)),
      chromeOffImage (juce::ImageFileFormat::loadFrom (BinaryData::Forgelrectoff_png, BinaryData::Forgelrectoff_pngSize)),
      chromeOnImage (juce::ImageFileFormat::loadFrom (BinaryData::Forgelrecton_png, BinaryData::Forgelrecton_pngSize)),
      sliderThumbImage (juce::ImageFileFormat::loadFrom (BinaryData::Tessorslider_thumb_png,
                                                         BinaryData::Tessorslider_thumb_pngSize))
{
    setColour (juce::ResizableWindow::backgroundColourId, background);
    setColour (juce::Slider::backgroundColourId, panel);
    setColour (juce::Slider::trackColourId, cyan);
    setColour (juce::Slider::thumbColourId, cyan);
    setColour (juce::Slider::textBoxTextColourId, textPrimary);
    setColour (juce::Slider::textBoxBackgroundColourId, juce::Colour (0xff07080b));
    setColour (juce::Slider::textBoxOutlineColourId, juce::Colour (0x80000000));
    setColour (juce::ComboBox::backgroundColourId, panel);
    setColour (juce::ComboBox::outlineColourId, juce::Colours::transparentBlack);
    setColour (juce::ComboBox::textColourId, textPrimary);
    setColour (juce::ComboBox::arrowColourId, cyanHot);
    setColour (juce::PopupMenu::backgroundColourId, juce::Colour (0xff0d0f14));
    setColour (juce::PopupMenu::textColourId, textPrimary);
    setColour (juce::PopupMenu::highlightedBackgroundColourId, cyan.withAlpha ((juce::uint8) 0x47));
    setColour (juce::PopupMenu::highlightedTextColourId, textPrimary);
    setColour (juce::Label::textColourId, textPrimary);
    setColour (juce::TextButton::buttonColourId, panel);
    setColour (juce::TextButton::textColourOffId, textDim);
    setColour (juce::TextButton::textColourOnId, cyanHot);
}

void CorvaneLookAndFeel::drawButtonBackground (juce::Graphics& g, juce::Button& button, const juce::Colour&,
                                               bool shouldDrawButtonAsHighlighted, bool shouldDrawButtonAsDown)
{
    const auto r = bodyArea (button.getWidth(), button.getHeight());
    const auto corner = 0.22f * r.getHeight();
    const auto on = button.getToggleState();
    const auto enabled = button.isEnabled();

    if (! static_cast<bool> (button.getProperties()[chromeButtonProperty]))
    {
        g.setColour (panel);
        g.fillRoundedRectangle (r, corner);
        g.setColour (cyan.withAlpha ((juce::uint8) 0x59));
        g.drawRoundedRectangle (r, corner, 1.0f);
        drawPressOverlay (g, r, corner, shouldDrawButtonAsHighlighted, shouldDrawButtonAsDown);
        return;
    }

    if (on)
        juce::DropShadow (cyan.withAlpha ((juce::uint8) 0x4c), juce::roundToInt (0.35f * r.getHeight()), {})
            .drawForPath (g, roundedRectanglePath (r, corner));

    const auto& sprite = on ? chromeOnImage : chromeOffImage;
    if (sprite.isValid())
    {
        g.setOpacity (enabled ? 1.0f : 0.5f);
        drawFlatChrome (g, sprite, rectFlatRect, r, corner);
        g.setOpacity (1.0f);
    }
    else
    {
        g.setColour (flatChromeBody);
        g.fillRoundedRectangle (r, corner);
    }

    drawPressOverlay (g, r, corner, shouldDrawButtonAsHighlighted, shouldDrawButtonAsDown);

    const auto outline = on ? cyanHot : cyan.withAlpha ((juce::uint8) 0x73);
    g.setColour (withAlphaScaled (outline, enabled ? 1.0f : 0.5f));
    g.drawRoundedRectangle (r, corner, on ? 1.6f : 1.1f);
}

juce::Font CorvaneLookAndFeel::getTextButtonFont (juce::TextButton&, int buttonHeight)
{
    return CorvaneFonts::font (CorvaneFonts::Face::barlowCondensedMedium, 0.44f * (float) buttonHeight);
}

void CorvaneLookAndFeel::drawButtonText (juce::Graphics& g, juce::TextButton& button, bool, bool)
{
    const auto colour = button.getToggleState() ? cyanHot : textDim;
    g.setColour (withAlphaScaled (colour, button.isEnabled() ? 1.0f : 0.5f));
    g.setFont (getTextButtonFont (button, button.getHeight()));
    g.drawText (button.getButtonText(), button.getLocalBounds(), juce::Justification::centred, true);
}

juce::Font CorvaneLookAndFeel::getPopupMenuFont()
{
    return CorvaneFonts::font (CorvaneFonts::Face::barlowCondensedLight, 15.0f);
}

void CorvaneLookAndFeel::drawComboBox (juce::Graphics& g, int width, int height, bool isButtonDown, int, int, int,
                                       int, juce::ComboBox& box)
{
    const auto r = bodyArea (width, height);
    const auto corner = 0.22f * r.getHeight();
    const auto enabled = box.isEnabled();

    if (chromeOffImage.isValid())
    {
        g.setOpacity (enabled ? 1.0f : 0.6f);
        drawFlatChrome (g, chromeOffImage, rectFlatRect, r, corner);
        g.setOpacity (1.0f);
    }
    else
    {
        g.setColour (enabled ? flatChromeBody : juce::Colour (0x9908090c));
        g.fillRoundedRectangle (r, corner);
    }

    g.setColour (cyanHot.withAlpha (! enabled ? 0.35f : (isButtonDown ? 1.0f : 0.75f)));
    g.drawRoundedRectangle (r, corner, 1.3f);

    const auto s = 0.26f * (float) height;
    const auto cx = (float) width - 1.1f * s;
    const auto cy = 0.5f * (float) height;
    juce::Path chevron;
    chevron.startNewSubPath (cx - 0.42f * s, cy - 0.2f * s);
    chevron.lineTo (cx, cy + 0.28f * s);
    chevron.lineTo (cx + 0.42f * s, cy - 0.2f * s);
    g.setColour (cyanHot);
    g.strokePath (chevron, juce::PathStrokeType (juce::jmax (0.16f * s, 1.3f), juce::PathStrokeType::curved,
                                                 juce::PathStrokeType::rounded));
}

juce::Font CorvaneLookAndFeel::getComboBoxFont (juce::ComboBox& box)
{
    return CorvaneFonts::font (CorvaneFonts::Face::barlowCondensedMedium, 0.46f * (float) box.getHeight());
}

juce::Font CorvaneLookAndFeel::getLabelFont (juce::Label& label) { return label.getFont(); }

void CorvaneLookAndFeel::drawLinearSlider (juce::Graphics& g, int x, int y, int width, int height, float sliderPos,
                                           float, float, juce::Slider::SliderStyle style, juce::Slider& slider)
{
    const auto vertical = style == juce::Slider::LinearVertical;
    const auto violetAccent = static_cast<bool> (slider.getProperties()[violetAccentProperty]);
    const auto fill = violetAccent ? violet : cyan;
    const auto glow = violetAccent ? violetHot : cyanHot;
    const auto enabled = slider.isEnabled();

    const auto fx = (float) x, fy = (float) y, fw = (float) width, fh = (float) height;
    const auto t = juce::jmin (0.5f * (vertical ? fw : fh), 9.0f);
    const auto track = vertical ? juce::Rectangle<float> (fx + (fw - t) / 2.0f, fy, t, fh)
                                : juce::Rectangle<float> (fx, fy + (fh - t) / 2.0f, fw, t);
    const auto corner = t / 2.0f;

    g.setColour (juce::Colour (0xff15171d));
    g.fillRoundedRectangle (track, corner);

    auto value = track;
    if (vertical)
    {
        const auto p = juce::jlimit (track.getY(), track.getBottom(), sliderPos);
        value = value.withTop (p); // height max(bottom - p, 0), as p is clamped to the track
    }
    else
    {
        const auto p = juce::jlimit (track.getX(), track.getRight(), sliderPos);
        value = value.withWidth (juce::jmax (p - track.getX(), 0.0f));
    }
    g.setColour (enabled ? fill.withAlpha ((juce::uint8) 0xe6) : textDim.withAlpha ((juce::uint8) 0x80));
    g.fillRoundedRectangle (value, corner);

    g.setColour (juce::Colour (0x99000000));
    g.drawRoundedRectangle (track, corner, 1.0f);

    const auto size = vertical ? juce::jmin (0.6f * fw, 26.0f) : juce::jmin (0.62f * fh, 22.0f);
    const auto centre = vertical ? juce::Point<float> (fx + fw / 2.0f, sliderPos)
                                 : juce::Point<float> (sliderPos, fy + fh / 2.0f);
    const auto thumb = juce::Rectangle<float> (size, size).withCentre (centre);

    if (sliderThumbImage.isValid())
    {
        g.setOpacity (enabled ? 1.0f : 0.5f);
        g.drawImage (sliderThumbImage, thumb, juce::RectanglePlacement::stretchToFit);
        g.setOpacity (1.0f);
        if (enabled)
            juce::DropShadow (glow.withAlpha ((juce::uint8) 0x66), juce::roundToInt (0.16f * size), {})
                .drawForPath (g, ellipsePath (thumb));
    }
    else
    {
        g.setColour (enabled ? fill : tickInactive);
        g.fillEllipse (thumb);
    }
}

void CorvaneLookAndFeel::drawRotarySlider (juce::Graphics& g, int x, int y, int width, int height, float sliderPos,
                                           float rotaryStartAngle, float rotaryEndAngle, juce::Slider& slider)
{
    const auto angle = rotaryStartAngle + sliderPos * (rotaryEndAngle - rotaryStartAngle);
    const auto radius = (float) juce::jmin (width, height) / 2.0f;
    const auto cx = (float) x + (float) width / 2.0f;
    const auto cy = (float) y + (float) height / 2.0f;
    const auto diameter = 2.0f * 0.82f * radius;
    const auto knob = juce::Rectangle<float> (cx - diameter / 2.0f, cy - diameter / 2.0f, diameter, diameter);
    const auto enabled = slider.isEnabled();

    for (int i = 0; i <= 20; ++i)
    {
        const auto a = rotaryStartAngle + ((float) i / 20.0f) * (rotaryEndAngle - rotaryStartAngle);
        const auto lit = enabled && a <= angle + 0.001f;
        g.setColour (lit ? cyan : tickInactive);
        g.drawLine (cx + 0.9f * radius * std::sin (a), cy - 0.9f * radius * std::cos (a), cx + radius * std::sin (a),
                    cy - radius * std::cos (a), 1.6f);
    }

    if (! knobImage.isValid())
    {
        drawFlatKnob (g, knob, enabled);
        return;
    }

    {
        juce::Graphics::ScopedSaveState saved (g);
        const auto inset = 0.02f * diameter;
        const auto clipSize = juce::jmax (diameter - 2.0f * inset, 0.0f);
        g.reduceClipRegion (ellipsePath ({ knob.getX() + inset, knob.getY() + inset, clipSize, clipSize }));
        // The sprite's pointer stands straight up, which is the middle of the rotary range.
        g.addTransform (juce::AffineTransform::rotation (angle - (rotaryStartAngle + rotaryEndAngle) / 2.0f, cx, cy));
        g.setOpacity (enabled ? 1.0f : 0.5f);
        g.drawImage (knobImage, knob, juce::RectanglePlacement::stretchToFit);
        g.setOpacity (1.0f);
    }

    const auto rimSize = juce::jmax (diameter - 1.0f, 0.0f);
    g.setColour (juce::Colour (0x80000000));
    g.drawEllipse ({ knob.getX() + 0.5f, knob.getY() + 0.5f, rimSize, rimSize }, 1.0f);
}
