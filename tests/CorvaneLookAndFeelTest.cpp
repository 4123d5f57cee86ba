#include "editor/CorvaneLookAndFeel.h"

#include <gtest/gtest.h>

#include <cmath>

namespace
{
using LookAndFeel = CorvaneLookAndFeel;
const juce::Colour tickInactive { 0xff3a3d46 };

/** Renders a drawing call into a fresh transparent image of the given size. */
template <typename Draw>
juce::Image render (int width, int height, Draw&& draw)
{
    juce::Image image (juce::Image::ARGB, width, height, true);
    juce::Graphics g (image);
    draw (g);
    return image;
}

bool isCyanLike (juce::Colour c) { return c.getBlue() > 200 && c.getGreen() > 150 && c.getRed() < 150; }
bool isTickInactiveLike (juce::Colour c) { return c.getBlue() < 100 && c.getAlpha() > 100; }

/** Counts the opaque pixels of a column, to measure a drawn shape's height. */
int opaqueRunInColumn (const juce::Image& image, int x)
{
    int count = 0;
    for (int y = 0; y < image.getHeight(); ++y)
        count += image.getPixelAt (x, y).getAlpha() > 127 ? 1 : 0;
    return count;
}

struct LookAndFeelFixture : ::testing::Test
{
    LookAndFeelFixture()
    {
        rotary.setSliderStyle (juce::Slider::RotaryHorizontalVerticalDrag);
        rotary.setLookAndFeel (&lookAndFeel);
    }
    ~LookAndFeelFixture() override { rotary.setLookAndFeel (nullptr); }

    juce::Image drawRotary (float position)
    {
        const auto params = rotary.getRotaryParameters();
        return render (200, 200, [&] (juce::Graphics& g)
                       { lookAndFeel.drawRotarySlider (g, 0, 0, 200, 200, position, params.startAngleRadians,
                                                       params.endAngleRadians, rotary); });
    }

    /** The colour at the middle of tick i of the 200 x 200 rotary: radius 95 of 100. */
    juce::Colour tickColour (const juce::Image& image, int i) const
    {
        const auto params = rotary.getRotaryParameters();
        const auto a = params.startAngleRadians + ((float) i / 20.0f) * (params.endAngleRadians - params.startAngleRadians);
        return image.getPixelAt ((int) std::floor (100.0f + 95.0f * std::sin (a)), (int) std::floor (100.0f - 95.0f * std::cos (a)));
    }

    LookAndFeel lookAndFeel;
    juce::Slider rotary;
};
} // namespace

TEST (CorvaneLookAndFeelTest, PaletteAndColourTable)
{
    EXPECT_EQ (LookAndFeel::background.getARGB(), 0xff050609u);
    EXPECT_EQ (LookAndFeel::panel.getARGB(), 0xff0b0d12u);
    EXPECT_EQ (LookAndFeel::violet.getARGB(), 0xff8a43ffu);
    EXPECT_EQ (LookAndFeel::violetHot.getARGB(), 0xffb277ffu);
    EXPECT_EQ (LookAndFeel::cyan.getARGB(), 0xff42d6ffu);
    EXPECT_EQ (LookAndFeel::cyanHot.getARGB(), 0xff78e5ffu);
    EXPECT_EQ (LookAndFeel::textPrimary.getARGB(), 0xffe8ebf1u);
    EXPECT_EQ (LookAndFeel::textDim.getARGB(), 0xff78808du);
    EXPECT_EQ (LookAndFeel::chromeButtonProperty.toString(), "chromeButton");
    EXPECT_EQ (LookAndFeel::violetAccentProperty.toString(), "violetAccent");

    LookAndFeel lookAndFeel;
    struct Case { int id; juce::uint32 argb; };
    const Case table[] = {
        { juce::ResizableWindow::backgroundColourId, 0xff050609 }, { juce::Slider::backgroundColourId, 0xff0b0d12 },
        { juce::Slider::trackColourId, 0xff42d6ff },               { juce::Slider::thumbColourId, 0xff42d6ff },
        { juce::Slider::textBoxTextColourId, 0xffe8ebf1 },         { juce::Slider::textBoxBackgroundColourId, 0xff07080b },
        { juce::Slider::textBoxOutlineColourId, 0x80000000 },      { juce::ComboBox::backgroundColourId, 0xff0b0d12 },
        { juce::ComboBox::outlineColourId, 0x00000000 },           { juce::ComboBox::textColourId, 0xffe8ebf1 },
        { juce::ComboBox::arrowColourId, 0xff78e5ff },             { juce::PopupMenu::backgroundColourId, 0xff0d0f14 },
        { juce::PopupMenu::textColourId, 0xffe8ebf1 },             { juce::PopupMenu::highlightedBackgroundColourId, 0x4742d6ff },
        { juce::PopupMenu::highlightedTextColourId, 0xffe8ebf1 },  { juce::Label::textColourId, 0xffe8ebf1 },
        { juce::TextButton::buttonColourId, 0xff0b0d12 },          { juce::TextButton::textColourOffId, 0xff78808d },
        { juce::TextButton::textColourOnId, 0xff78e5ff },
    };
    for (const auto& c : table)
        EXPECT_EQ (lookAndFeel.findColour (c.id).getARGB(), c.argb) << "colour id 0x" << std::hex << c.id;
}

TEST (CorvaneLookAndFeelTest, FontsFollowTheWidgetHeights)
{
    LookAndFeel lookAndFeel;
    juce::TextButton button;
    juce::ComboBox box;
    box.setSize (100, 30);
    juce::Label label;
    label.setFont (juce::Font (17.0f));

    EXPECT_FLOAT_EQ (lookAndFeel.getTextButtonFont (button, 50).getHeight(), 22.0f);
    EXPECT_FLOAT_EQ (lookAndFeel.getComboBoxFont (box).getHeight(), 13.8f);
    EXPECT_FLOAT_EQ (lookAndFeel.getPopupMenuFont().getHeight(), 15.0f);
    EXPECT_EQ (lookAndFeel.getLabelFont (label), label.getFont());
    EXPECT_EQ (lookAndFeel.getTextButtonFont (button, 50).getTypefaceName(), "Barlow Condensed");
}

TEST_F (LookAndFeelFixture, TicksLightUpToTheValue)
{
    const auto atStart = drawRotary (0.0f);
    EXPECT_TRUE (isCyanLike (tickColour (atStart, 0)));
    for (int i = 1; i <= 20; ++i)
        EXPECT_TRUE (isTickInactiveLike (tickColour (atStart, i))) << "tick " << i;

    const auto atMiddle = drawRotary (0.5f);
    for (int i = 0; i <= 20; ++i)
        EXPECT_EQ (isCyanLike (tickColour (atMiddle, i)), i <= 10) << "tick " << i;

    const auto atEnd = drawRotary (1.0f);
    for (int i = 0; i <= 20; ++i)
        EXPECT_TRUE (isCyanLike (tickColour (atEnd, i))) << "tick " << i;
}

TEST_F (LookAndFeelFixture, DisabledRotaryDimsTicksAndKnob)
{
    const auto enabled = drawRotary (1.0f);
    rotary.setEnabled (false);
    const auto disabled = drawRotary (1.0f);
    for (int i = 0; i <= 20; ++i)
        EXPECT_TRUE (isTickInactiveLike (tickColour (disabled, i))) << "tick " << i;
    EXPECT_EQ (enabled.getPixelAt (100, 100).getAlpha(), 255);
    EXPECT_NEAR (disabled.getPixelAt (100, 100).getAlpha(), 128, 2); // half opacity, rounding only
}

// Property: the knob sprite turns with the value and stands upright in the middle of the range.
TEST_F (LookAndFeelFixture, KnobPointerStandsUpAtTheMiddle)
{
    const auto brightness = [] (juce::Colour c) { return c.getBlue() + c.getGreen(); };
    const auto middle = drawRotary (0.5f);
    const auto start = drawRotary (0.0f);
    // The sprite's glowing pointer sits on the vertical axis, upper half.
    EXPECT_GT (brightness (middle.getPixelAt (100, 50)), brightness (start.getPixelAt (100, 50)) + 100);
}

TEST_F (LookAndFeelFixture, InvalidSpritesFallBackToFlatDrawing)
{
    lookAndFeel.knobImage = {};
    lookAndFeel.chromeOffImage = {};
    lookAndFeel.chromeOnImage = {};
    lookAndFeel.sliderThumbImage = {};

    const auto knob = drawRotary (0.5f);
    const auto knobCentre = knob.getPixelAt (100, 100);
    EXPECT_EQ (knobCentre.getAlpha(), 255); // the flat gradient knob
    EXPECT_LT (knobCentre.getBrightness(), 0.3f);

    juce::TextButton chrome ("X");
    chrome.getProperties().set (LookAndFeel::chromeButtonProperty, true);
    chrome.setSize (80, 30);
    for (const auto on : { false, true })
    {
        chrome.setToggleState (on, juce::dontSendNotification);
        const auto image = render (80, 30, [&] (juce::Graphics& g)
                                   { lookAndFeel.drawButtonBackground (g, chrome, {}, false, false); });
        EXPECT_EQ (image.getPixelAt (40, 15), juce::Colour (0xff08090c)) << "on " << on;
    }

    juce::ComboBox box;
    box.setSize (120, 28);
    const auto combo = render (120, 28, [&] (juce::Graphics& g)
                               { lookAndFeel.drawComboBox (g, 120, 28, false, 0, 0, 0, 0, box); });
    EXPECT_EQ (combo.getPixelAt (30, 14), juce::Colour (0xff08090c));

    juce::Slider fader (juce::Slider::LinearHorizontal, juce::Slider::NoTextBox);
    const auto linear = render (200, 40, [&] (juce::Graphics& g)
                                { lookAndFeel.drawLinearSlider (g, 0, 0, 200, 40, 100.0f, 0.0f, 200.0f,
                                                                juce::Slider::LinearHorizontal, fader); });
    EXPECT_EQ (linear.getPixelAt (100, 12), LookAndFeel::cyan); // the flat thumb, above the 9-pixel track
}

TEST_F (LookAndFeelFixture, SpritesDrawWhereTheFallbacksWould)
{
    juce::TextButton chrome ("X");
    chrome.getProperties().set (LookAndFeel::chromeButtonProperty, true);
    chrome.setSize (80, 30);
    const auto off = render (80, 30, [&] (juce::Graphics& g) { lookAndFeel.drawButtonBackground (g, chrome, {}, false, false); });
    chrome.setToggleState (true, juce::dontSendNotification);
    const auto on = render (80, 30, [&] (juce::Graphics& g) { lookAndFeel.drawButtonBackground (g, chrome, {}, false, false); });
    EXPECT_NE (off.getPixelAt (40, 15), juce::Colour (0xff08090c));
    EXPECT_NE (off.getPixelAt (40, 3), on.getPixelAt (40, 3)); // the lit plate's cyan outline

    chrome.setSize (80, 2); // too low for a body: nothing of the sprite, no crash
    render (80, 2, [&] (juce::Graphics& g) { lookAndFeel.drawButtonBackground (g, chrome, {}, true, true); });
}

TEST_F (LookAndFeelFixture, PlainButtonsIgnoreTheirToggleState)
{
    juce::TextButton plain ("X");
    plain.setSize (80, 30);
    const auto off = render (80, 30, [&] (juce::Graphics& g) { lookAndFeel.drawButtonBackground (g, plain, {}, false, false); });
    plain.setToggleState (true, juce::dontSendNotification);
    const auto on = render (80, 30, [&] (juce::Graphics& g) { lookAndFeel.drawButtonBackground (g, plain, {}, false, false); });
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 80; ++x)
            ASSERT_EQ (off.getPixelAt (x, y), on.getPixelAt (x, y)) << x << ", " << y;
    EXPECT_EQ (off.getPixelAt (40, 15), LookAndFeel::panel);
}

// Property: the text shows the toggle state: bright cyan when on, dim when off, half alpha when disabled.
TEST_F (LookAndFeelFixture, ButtonTextColourFollowsToggleAndEnablement)
{
    juce::TextButton button ("MMMM");
    button.setSize (100, 40);
    const auto strongestInk = [&]
    {
        const auto image = render (100, 40, [&] (juce::Graphics& g) { lookAndFeel.drawButtonText (g, button, false, false); });
        juce::Colour strongest;
        for (int y = 0; y < 40; ++y)
            for (int x = 0; x < 100; ++x)
                if (image.getPixelAt (x, y).getAlpha() > strongest.getAlpha())
                    strongest = image.getPixelAt (x, y);
        return strongest;
    };

    struct Case { bool on, enabled; juce::Colour colour; int alpha; };
    for (const auto& c : { Case { false, true, LookAndFeel::textDim, 255 }, Case { true, true, LookAndFeel::cyanHot, 255 },
                           Case { true, false, LookAndFeel::cyanHot, 128 } })
    {
        button.setToggleState (c.on, juce::dontSendNotification);
        button.setEnabled (c.enabled);
        const auto ink = strongestInk();
        EXPECT_NEAR (ink.getAlpha(), c.alpha, 1) << "on " << c.on << " enabled " << c.enabled; // full stems; rounding
        EXPECT_NEAR (ink.getRed(), c.colour.getRed(), 2) << "on " << c.on << " enabled " << c.enabled;
        EXPECT_NEAR (ink.getBlue(), c.colour.getBlue(), 2) << "on " << c.on << " enabled " << c.enabled;
    }
}

TEST_F (LookAndFeelFixture, LinearTrackAndThumbSizesAreCapped)
{
    lookAndFeel.sliderThumbImage = {}; // the flat thumb has hard edges to measure
    struct Case { int height; int track; float thumb; };
    for (const auto& c : { Case { 40, 9, 22.0f }, Case { 20, 9, 12.4f }, Case { 10, 5, 6.2f } })
    {
        juce::Slider fader (juce::Slider::LinearHorizontal, juce::Slider::NoTextBox);
        const auto image = render (200, c.height, [&] (juce::Graphics& g)
                                   { lookAndFeel.drawLinearSlider (g, 0, 0, 200, c.height, 100.0f, 0.0f, 200.0f,
                                                                   juce::Slider::LinearHorizontal, fader); });
        // One pixel of tolerance: anti-aliased edges at half-pixel positions.
        EXPECT_NEAR (opaqueRunInColumn (image, 180), c.track, 1) << "height " << c.height;
        EXPECT_NEAR ((float) opaqueRunInColumn (image, 100), c.thumb, 1.0f) << "height " << c.height;
    }
}

TEST_F (LookAndFeelFixture, VioletAccentColoursTheValueAndThumb)
{
    lookAndFeel.sliderThumbImage = {};
    juce::Slider fader (juce::Slider::LinearVertical, juce::Slider::NoTextBox);
    fader.getProperties().set (LookAndFeel::violetAccentProperty, true);
    const auto image = render (40, 200, [&] (juce::Graphics& g)
                               { lookAndFeel.drawLinearSlider (g, 0, 0, 40, 200, 100.0f, 200.0f, 0.0f,
                                                               juce::Slider::LinearVertical, fader); });
    EXPECT_EQ (image.getPixelAt (20, 100), LookAndFeel::violet);   // the thumb
    const auto value = juce::Colour (0xff15171d).overlaidWith (LookAndFeel::violet.withAlpha ((juce::uint8) 0xe6));
    EXPECT_NEAR (image.getPixelAt (20, 180).getRed(), value.getRed(), 2); // the value part below it; 2 covers blending rounding
    EXPECT_NEAR (image.getPixelAt (20, 180).getBlue(), value.getBlue(), 2);
    EXPECT_EQ (image.getPixelAt (20, 20).getRed(), 0x15);         // the empty track above
}

TEST (CorvaneLookAndFeelTest, SpritesDecodeAtTheirDesignedSizes)
{
    const LookAndFeel lookAndFeel;
    EXPECT_EQ (lookAndFeel.knobImage.getBounds(), juce::Rectangle<int> (630, 630));
    EXPECT_EQ (lookAndFeel.chromeOffImage.getBounds(), juce::Rectangle<int> (612, 225));
    EXPECT_EQ (lookAndFeel.chromeOnImage.getBounds(), juce::Rectangle<int> (631, 225));
    EXPECT_EQ (lookAndFeel.sliderThumbImage.getBounds(), juce::Rectangle<int> (599, 603));
    // The chrome face region the drawing reads lies inside both plates.
    for (const auto* plate : { &lookAndFeel.chromeOffImage, &lookAndFeel.chromeOnImage })
        EXPECT_TRUE (plate->getBounds().contains (juce::Rectangle<int> (40, 45, 520, 130)));
}
