#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

/** The editor's dark, neon-accented look: the palette, the stock widgets' colours, and sprite-based
    knobs, faders, chrome buttons and combo boxes with flat fallbacks. Message thread only. */
class CorvaneLookAndFeel : public juce::LookAndFeel_V4
{
public:
    /** Decodes the four sprites and sets the colour table. Allocates. */
    CorvaneLookAndFeel();

    /** Window background. */
    static const juce::Colour background;
    /** Plain button, slider and combo box bodies. */
    static const juce::Colour panel;
    /** Accent fill of "violetAccent" sliders. */
    static const juce::Colour violet;
    /** Glow of "violetAccent" slider thumbs. */
    static const juce::Colour violetHot;
    /** Main accent: lit ticks, slider fill, outlines. */
    static const juce::Colour cyan;
    /** Bright accent: on-state text and outlines, combo arrow, slider thumb glow. */
    static const juce::Colour cyanHot;
    /** Main text. */
    static const juce::Colour textPrimary;
    /** Secondary text, off-state button text, disabled slider fill. */
    static const juce::Colour textDim;

    /** A text button whose properties hold this key as true is drawn on the chrome sprite. */
    static const juce::Identifier chromeButtonProperty;
    /** A linear slider whose properties hold this key as true uses the violet accents. */
    static const juce::Identifier violetAccentProperty;

    /** Chrome or flat button body with its outline and hover overlay; the colour argument is unused. */
    void drawButtonBackground (juce::Graphics&, juce::Button&, const juce::Colour& backgroundColour,
                               bool shouldDrawButtonAsHighlighted, bool shouldDrawButtonAsDown) override;
    /** Barlow Condensed Medium at 0.44 x the button height. Allocates. */
    juce::Font getTextButtonFont (juce::TextButton&, int buttonHeight) override;
    /** The button text, centred, cyan when on and dim when off. */
    void drawButtonText (juce::Graphics&, juce::TextButton&, bool shouldDrawButtonAsHighlighted,
                         bool shouldDrawButtonAsDown) override;
    /** Barlow Condensed Light at 15. Allocates. */
    juce::Font getPopupMenuFont() override;
    /** Chrome body, cyan outline and chevron; the button rectangle is unused. */
    void drawComboBox (juce::Graphics&, int width, int height, bool isButtonDown, int buttonX, int buttonY,
                       int buttonW, int buttonH, juce::ComboBox&) override;
    /** Barlow Condensed Medium at 0.46 x the box height. Allocates. */
    juce::Font getComboBoxFont (juce::ComboBox&) override;
    /** The label's own font, unchanged. */
    juce::Font getLabelFont (juce::Label&) override;
    /** Rounded track, accent value part and sprite thumb with glow. */
    void drawLinearSlider (juce::Graphics&, int x, int y, int width, int height, float sliderPos, float minSliderPos,
                           float maxSliderPos, juce::Slider::SliderStyle, juce::Slider&) override;
    /** A ring of 21 ticks lit up to the value around a rotating knob sprite. */
    void drawRotarySlider (juce::Graphics&, int x, int y, int width, int height, float sliderPos,
                           float rotaryStartAngle, float rotaryEndAngle, juce::Slider&) override;

    /** Rotary knob sprite with its pointer at twelve o'clock; invalid if it failed to decode. */
    juce::Image knobImage;
    /** Chrome plate, off state. */
    juce::Image chromeOffImage;
    /** Chrome plate with its glowing outline, on state. */
    juce::Image chromeOnImage;
    /** Round fader thumb. */
    juce::Image sliderThumbImage;

private:
    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (CorvaneLookAndFeel)
};
