// Renders the editor's six images into a folder (default: resources/). Deterministic: every image
// draws from its own fixed random seed, so a rerun gives the same pixels.

#include "editor/CorvaneUlmiraArt.h"
#include "tools/artwork/ArtworkTextures.h"

#include <cmath>
#include <iostream>

namespace
{
using namespace ArtworkTextures;
using juce::AffineTransform;
using juce::Colour;
using juce::Path;
using juce::Point;
using Area = juce::Rectangle<float>;

const Colour cyan { 0xff42d6ff };
const Colour violet { 0xff8a43ff };

Path circle (Point<float> centre, float radius)
{
    Path path;
    path.addEllipse (Area (2.0f * radius, 2.0f * radius).withCentre (centre));
    return path;
}

Path roundedRectangle (Area area, float corner)
{
    Path path;
    path.addRoundedRectangle (area, corner);
    return path;
}

/** Fills an area with a vertical gradient through three colours: top, at the given middle position, bottom. */
void fillVerticalShade (juce::Graphics& g, const Path& shape, Area area, Colour top, double middle, Colour mid, Colour bottom)
{
    juce::ColourGradient shade (top, 0.0f, area.getY(), bottom, 0.0f, area.getBottom(), false);
    shade.addColour (middle, mid);
    g.setGradientFill (shade);
    g.fillPath (shape);
}

/** A bevel: the outline lit from above and shaded below. */
void strokeBevel (juce::Graphics& g, const Path& shape, Area area, float width, float lightAlpha, float shadeAlpha)
{
    juce::ColourGradient bevel (juce::Colours::white.withAlpha (lightAlpha), 0.0f, area.getY(),
                                juce::Colours::black.withAlpha (shadeAlpha), 0.0f, area.getBottom(), false);
    bevel.addColour (0.5, juce::Colours::white.withAlpha (0.0f));
    g.setGradientFill (bevel);
    g.strokePath (shape, juce::PathStrokeType (width));
}

/** A horizontal neon rule that fades out towards both ends. */
void neonRule (juce::Graphics& g, float y, float left, float right, Colour colour, float strength)
{
    for (int layer = 6; layer >= 0; --layer)
    {
        const auto halfHeight = 0.35f + 0.9f * (float) layer;
        const auto alpha = strength * (layer == 0 ? 1.0f : 0.16f / (float) layer);
        juce::ColourGradient fade (colour.withAlpha (0.0f), left, y, colour.withAlpha (0.0f), right, y, false);
        fade.addColour (0.5, colour.withAlpha (alpha));
        fade.addColour (0.2, colour.withAlpha (0.6f * alpha));
        fade.addColour (0.8, colour.withAlpha (0.6f * alpha));
        g.setGradientFill (fade);
        g.fillRect (Area (left, y - halfHeight, right - left, 2.0f * halfHeight));
    }
}

/** A groove cut into the face: a dark line over a faint light lip. */
void groove (juce::Graphics& g, float y, float left, float right)
{
    g.setColour (juce::Colours::black.withAlpha (0.75f));
    g.fillRect (Area (left, y - 0.5f, right - left, 1.0f));
    g.setColour (juce::Colours::white.withAlpha (0.07f));
    g.fillRect (Area (left, y + 0.5f, right - left, 0.5f));
}

void cornerBrackets (juce::Graphics& g, Area area, Colour accent)
{
    constexpr float inset = 7.0f, arm = 20.0f;
    const auto r = area.reduced (inset);
    Path brackets;
    for (const auto corner : { r.getTopLeft(), r.getTopRight(), r.getBottomLeft(), r.getBottomRight() })
    {
        const auto dx = corner.x < r.getCentreX() ? arm : -arm;
        const auto dy = corner.y < r.getCentreY() ? arm : -arm;
        brackets.startNewSubPath (corner.x + dx, corner.y);
        brackets.lineTo (corner);
        brackets.lineTo (corner.x, corner.y + dy);
    }
    strokeNeon (g, brackets, accent.withAlpha (0.85f), 1.1f, 7.0f);
}

/** A faint grid of points on the panel floor, like a printed measuring screen. */
void dotGrid (juce::Graphics& g, Area area, Colour accent)
{
    constexpr float pitch = 12.0f;
    g.setColour (accent.interpolatedWith (juce::Colours::white, 0.5f).withAlpha (0.055f));
    for (auto y = area.getY() + pitch; y < area.getBottom() - 4.0f; y += pitch)
        for (auto x = area.getX() + pitch; x < area.getRight() - 4.0f; x += pitch)
            g.fillRect (Area (x - 0.5f, y - 0.5f, 1.0f, 1.0f));
}

void recessedPanel (juce::Graphics& g, Area area, Colour accent)
{
    const auto shape = roundedRectangle (area, 9.0f);
    g.setColour (Colour (0xff050608).withAlpha (0.84f)); // a ghost of the brushing shows through the floor
    g.fillPath (shape);
    {
        juce::Graphics::ScopedSaveState saved (g);
        g.reduceClipRegion (shape);
        fillVerticalShade (g, shape, area.withHeight (26.0f), juce::Colours::black.withAlpha (0.7f), 0.5,
                           juce::Colours::black.withAlpha (0.25f), juce::Colours::transparentBlack);
        juce::ColourGradient floorLight (accent.withAlpha (0.05f), area.getCentreX(), area.getBottom(),
                                         juce::Colours::transparentBlack, area.getCentreX(), area.getCentreY(), false);
        g.setGradientFill (floorLight);
        g.fillRect (area);
        dotGrid (g, area, accent);
    }
    g.setColour (Colour (0xff1f232b));
    g.strokePath (shape, juce::PathStrokeType (1.0f));
    g.setColour (juce::Colours::white.withAlpha (0.06f)); // the lip catches light below the recess
    g.fillRect (Area (area.getX() + 9.0f, area.getBottom() + 0.6f, area.getWidth() - 18.0f, 0.6f));
    cornerBrackets (g, area, accent);
}

void screw (juce::Graphics& g, Point<float> centre, juce::Random& random)
{
    constexpr float radius = 7.5f;
    g.setColour (juce::Colours::black.withAlpha (0.65f));
    g.fillPath (circle (centre.translated (0.0f, 0.8f), radius + 1.6f));
    const auto head = spunMetal (32, 32, Colour (0xff3a3f49), 0.35f, -0.8f, random);
    drawClipped (g, head, circle (centre, radius), AffineTransform::scale (0.5f).translated (centre.x - 8.0f, centre.y - 8.0f));
    strokeBevel (g, circle (centre, radius - 0.4f), Area (2.0f * radius, 2.0f * radius).withCentre (centre), 0.8f, 0.35f, 0.6f);

    Path socket; // a hex socket at a random turn, as a real screw would sit
    const auto turn = random.nextFloat() * juce::MathConstants<float>::pi / 3.0f;
    for (int i = 0; i < 6; ++i)
    {
        const auto a = turn + (float) i * juce::MathConstants<float>::pi / 3.0f;
        const Point<float> p (centre.x + 3.0f * std::sin (a), centre.y - 3.0f * std::cos (a));
        i == 0 ? socket.startNewSubPath (p) : socket.lineTo (p);
    }
    socket.closeSubPath();
    g.setColour (Colour (0xff050608));
    g.fillPath (socket);
    g.setColour (juce::Colours::white.withAlpha (0.18f));
    g.strokePath (socket, juce::PathStrokeType (0.35f), AffineTransform::translation (0.0f, 0.35f));
}

void ventSlots (juce::Graphics& g, float centreX, float top)
{
    constexpr int count = 23;
    constexpr float slotWidth = 5.0f, slotHeight = 26.0f, pitch = 13.0f;
    const auto firstX = centreX - 0.5f * pitch * (float) (count - 1);
    for (int i = 0; i < count; ++i)
    {
        const auto slot = Area (slotWidth, slotHeight).withCentre ({ firstX + pitch * (float) i, top + 0.5f * slotHeight });
        const auto shape = roundedRectangle (slot, 2.5f);
        g.setColour (Colour (0xff020203));
        g.fillPath (shape);
        // Backlit from inside, brightest in the middle of the row.
        const auto fromMiddle = std::abs ((float) i - 0.5f * (float) (count - 1)) / (0.5f * (float) count);
        fillVerticalShade (g, shape, slot, juce::Colours::transparentBlack, 0.6,
                           cyan.withAlpha (0.08f * (1.0f - fromMiddle)), cyan.withAlpha (0.5f * (1.0f - fromMiddle)));
        strokeBevel (g, shape, slot, 0.7f, 0.0f, 0.0f);
        g.setColour (juce::Colours::white.withAlpha (0.09f));
        g.fillRect (Area (slot.getX() + 1.0f, slot.getBottom() + 0.4f, slotWidth - 2.0f, 0.6f));
    }
}

juce::Image makeBackground()
{
    juce::Random random (0x5eed0001);
    juce::Image image (juce::Image::RGB, 1920, 1392, true);
    juce::Graphics g (image);
    g.drawImageAt (brushedMetal (1920, 1392, Colour (0xff1a1d24), 0.34f, random), 0, 0);
    g.addTransform (AffineTransform::scale (2.0f)); // everything below is laid out in the editor's 960 x 696 pixels

    juce::ColourGradient vignette (juce::Colours::transparentBlack, 480.0f, 330.0f, juce::Colours::black.withAlpha (0.6f),
                                   0.0f, 0.0f, true);
    g.setGradientFill (vignette);
    g.fillRect (Area (960.0f, 696.0f));

    const Area header (0.0f, 0.0f, 960.0f, 78.0f), footer (0.0f, 616.0f, 960.0f, 80.0f);
    for (const auto& band : { header, footer })
    {
        fillVerticalShade (g, roundedRectangle (band, 0.0f), band, juce::Colours::white.withAlpha (0.05f), 0.5,
                           juce::Colours::white.withAlpha (0.015f), juce::Colours::black.withAlpha (0.12f));
    }
    groove (g, 78.5f, 0.0f, 960.0f);
    neonRule (g, 77.0f, 120.0f, 840.0f, cyan, 0.55f);
    groove (g, 615.5f, 0.0f, 960.0f);
    neonRule (g, 617.0f, 300.0f, 660.0f, violet, 0.35f);

    fillRadialGlow (g, { 341.0f, 318.0f }, 300.0f, violet.withAlpha (0.10f));
    recessedPanel (g, { 16.0f, 83.0f, 651.0f, 521.0f }, violet);
    fillRadialGlow (g, { 341.0f, 318.0f }, 220.0f, violet.withAlpha (0.07f)); // the emblem's own halo
    recessedPanel (g, { 679.0f, 83.0f, 265.0f, 529.0f }, cyan);
    groove (g, 174.0f, 695.0f, 928.0f);
    groove (g, 477.0f, 695.0f, 928.0f);
    groove (g, 553.0f, 60.0f, 622.0f);

    // A shallow well that seats the output knob.
    g.setColour (juce::Colours::black.withAlpha (0.45f));
    g.fillPath (circle ({ 811.0f, 544.0f }, 44.0f));
    strokeBevel (g, circle ({ 811.0f, 544.0f }, 44.0f), Area (88.0f, 88.0f).withCentre ({ 811.0f, 544.0f }), 0.8f, 0.0f, 0.0f);
    g.setColour (juce::Colours::white.withAlpha (0.05f));
    g.strokePath (circle ({ 811.0f, 544.5f }, 44.0f), juce::PathStrokeType (0.6f));

    ventSlots (g, 480.0f, 643.0f);
    for (const auto corner : { Point<float> (22.0f, 22.0f), { 938.0f, 22.0f }, { 22.0f, 674.0f }, { 938.0f, 674.0f } })
        screw (g, corner, random);
    return image;
}

/** Removes the mask's coverage from the target's alpha: cuts gaps into the logo. */
void punchOut (juce::Image& target, const juce::Image& mask)
{
    juce::Image::BitmapData out (target, juce::Image::BitmapData::readWrite);
    juce::Image::BitmapData cut (mask, juce::Image::BitmapData::readOnly);
    for (int y = 0; y < target.getHeight(); ++y)
        for (int x = 0; x < target.getWidth(); ++x)
        {
            const auto kept = 1.0f - cut.getPixelColour (x, y).getFloatAlpha();
            out.setPixelColour (x, y, out.getPixelColour (x, y).withMultipliedAlpha (kept));
        }
}

juce::Image makeLogo()
{
    juce::Image logo (juce::Image::ARGB, 592, 380, true);
    const auto mark = AffineTransform::translation (-400.0f, -172.0f).scaled (1.2f).translated (296.0f, 190.0f);
    const auto wingTransform = [&mark] (float pivotX, float angle)
    {
        return AffineTransform::translation (-pivotX, -185.0f)
            .scaled (0.68f, 1.0f)
            .rotated (angle)
            .translated (pivotX, 185.0f)
            .followedBy (mark);
    };
    const auto left = CorvaneUlmiraArt::buildWing (false), right = CorvaneUlmiraArt::buildWing (true);
    const auto leftPlace = wingTransform (394.0f, -0.07f), rightPlace = wingTransform (406.0f, 0.07f);

    Path body;
    body.startNewSubPath (400.0f, 118.0f);
    for (const auto p : { Point<float> (385.0f, 148.0f), { 390.0f, 285.0f }, { 400.0f, 312.0f }, { 410.0f, 285.0f },
                          { 415.0f, 148.0f } })
        body.lineTo (p);
    body.closeSubPath();
    body.addEllipse (393.0f, 98.0f, 14.0f, 14.0f);
    body.applyTransform (mark);

    Path silhouette;
    silhouette.addPath (left.membrane, leftPlace);
    silhouette.addPath (right.membrane, rightPlace);
    silhouette.addPath (body);
    {
        juce::Graphics g (logo);
        strokeNeon (g, silhouette, cyan.withAlpha (0.7f), 2.0f, 30.0f);
        const auto bounds = silhouette.getBounds();
        fillVerticalShade (g, silhouette, bounds, Colour (0xfff7f9fc), 0.55, Colour (0xffe3e7ee), Colour (0xffb9c1cf));
        // Veins as a soft grey, not cut out: at header size a cut would break up into speckle.
        g.setColour (Colour (0xff8e97a8));
        const juce::PathStrokeType vein (7.0f, juce::PathStrokeType::mitered, juce::PathStrokeType::rounded);
        for (const auto& [wing, place] : { std::pair (&left, leftPlace), std::pair (&right, rightPlace) })
            g.strokePath (wing->veins, vein, place);
    }

    juce::Image gap (juce::Image::ARGB, 592, 380, true);
    {
        juce::Graphics g (gap); // a clear gap between the body and the wings
        g.setColour (juce::Colours::black);
        g.strokePath (body, juce::PathStrokeType (9.0f));
    }
    punchOut (logo, gap);
    return logo;
}

juce::Image makeKnob()
{
    juce::Random random (0x5eed0002);
    juce::Image knob (juce::Image::ARGB, 630, 630, true);
    juce::Graphics g (knob);
    const Point<float> centre (315.0f, 315.0f);

    drawClipped (g, spunMetal (630, 630, Colour (0xff12151a), 0.25f, -0.7f, random), circle (centre, 314.5f), {});
    for (int i = 0; i < 90; ++i) // knurled grip around the skirt
    {
        const auto a = (float) i * juce::MathConstants<float>::twoPi / 90.0f;
        const Point<float> inner (centre.x + 282.0f * std::sin (a), centre.y - 282.0f * std::cos (a));
        const Point<float> outer (centre.x + 314.0f * std::sin (a), centre.y - 314.0f * std::cos (a));
        g.setColour (juce::Colours::black.withAlpha (0.55f));
        g.drawLine ({ inner, outer }, 6.0f);
        g.setColour (juce::Colours::white.withAlpha (0.05f));
        g.drawLine ({ inner.translated (4.0f, 0.0f), outer.translated (4.0f, 0.0f) }, 2.0f);
    }
    g.setColour (juce::Colours::black.withAlpha (0.6f));
    g.strokePath (circle (centre, 313.0f), juce::PathStrokeType (3.0f));

    const auto faceArea = Area (552.0f, 552.0f).withCentre (centre);
    const auto face = circle (centre, 276.0f);
    g.setColour (juce::Colours::black.withAlpha (0.7f));
    g.fillPath (circle (centre.translated (0.0f, 8.0f), 282.0f)); // the cap's shadow on the skirt
    drawClipped (g, spunMetal (630, 630, Colour (0xff1c2029), 0.32f, -0.55f, random), face, {});
    fillVerticalShade (g, face, faceArea, juce::Colours::white.withAlpha (0.07f), 0.5, juce::Colours::transparentWhite,
                       juce::Colours::black.withAlpha (0.35f));
    strokeBevel (g, circle (centre, 273.0f), faceArea, 6.0f, 0.30f, 0.7f);
    g.setColour (juce::Colours::black.withAlpha (0.8f));
    g.strokePath (face, juce::PathStrokeType (2.0f));

    Path pointer;
    pointer.startNewSubPath (centre.x, centre.y - 248.0f);
    pointer.lineTo (centre.x, centre.y - 118.0f);
    g.setColour (juce::Colours::black.withAlpha (0.7f)); // the engraved slot the light sits in
    g.strokePath (pointer, juce::PathStrokeType (26.0f, juce::PathStrokeType::curved, juce::PathStrokeType::rounded));
    strokeNeon (g, pointer, cyan, 13.0f, 46.0f);

    const auto dimple = circle (centre, 40.0f);
    const auto dimpleArea = Area (80.0f, 80.0f).withCentre (centre);
    fillVerticalShade (g, dimple, dimpleArea, juce::Colours::black.withAlpha (0.45f), 0.5, juce::Colours::black.withAlpha (0.2f),
                       juce::Colours::white.withAlpha (0.06f));
    strokeBevel (g, dimple, dimpleArea, 2.0f, 0.0f, 0.0f);
    g.setColour (juce::Colours::white.withAlpha (0.10f));
    g.strokePath (dimple, juce::PathStrokeType (1.5f), AffineTransform::translation (0.0f, 2.0f));
    return knob;
}

juce::Image makeChromePlate (int width, bool lit, juce::int64 seed)
{
    juce::Random random (seed);
    juce::Image plate (juce::Image::ARGB, width, 225, true);
    juce::Graphics g (plate);
    const Area faceArea (40.0f, 45.0f, 520.0f, 130.0f); // the only region the editor draws
    const auto face = roundedRectangle (faceArea, 28.0f);

    if (lit)
        strokeNeon (g, face, cyan.withAlpha (0.6f), 3.0f, 60.0f);
    else
        juce::DropShadow (juce::Colours::black.withAlpha (0.8f), 30, { 0, 8 }).drawForPath (g, face);

    drawClipped (g, brushedMetal (520, 130, Colour (lit ? 0xff1b2029 : 0xff1c1f26), 0.28f, random), face,
                 AffineTransform::translation (faceArea.getPosition()));
    fillVerticalShade (g, face, faceArea, juce::Colours::white.withAlpha (0.12f), 0.45, juce::Colours::transparentWhite,
                       juce::Colours::black.withAlpha (0.4f));
    if (lit)
    {
        juce::Graphics::ScopedSaveState saved (g);
        g.reduceClipRegion (face);
        g.setColour (cyan.withAlpha (0.06f));
        g.fillPath (face);
        strokeNeon (g, roundedRectangle (faceArea.reduced (7.0f), 22.0f), cyan, 4.0f, 26.0f);
    }
    strokeBevel (g, roundedRectangle (faceArea.reduced (2.0f), 26.0f), faceArea, 3.0f, 0.35f, 0.6f);
    g.setColour (Colour (0xff6a707c).withAlpha (lit ? 0.5f : 0.9f)); // the thin grey bevel round the plate
    g.strokePath (face, juce::PathStrokeType (2.0f));
    return plate;
}

juce::Image makeSliderThumb()
{
    juce::Random random (0x5eed0005);
    juce::Image thumb (juce::Image::ARGB, 599, 603, true);
    juce::Graphics g (thumb);
    const Area outerArea (3.0f, 3.0f, 593.0f, 597.0f);
    const auto outer = [&] { Path p; p.addEllipse (outerArea); return p; }();
    const auto innerArea = outerArea.reduced (40.0f);
    const auto inner = [&] { Path p; p.addEllipse (innerArea); return p; }();

    fillVerticalShade (g, outer, outerArea, Colour (0xff23262d), 0.5, Colour (0xff0b0c0f), Colour (0xff040506));
    strokeBevel (g, [&] { Path p; p.addEllipse (outerArea.reduced (3.0f)); return p; }(), outerArea, 5.0f, 0.22f, 0.5f);
    g.setColour (juce::Colours::black.withAlpha (0.8f));
    g.fillPath (inner, AffineTransform::translation (0.0f, 7.0f)); // the disc stands proud of the rim
    drawClipped (g, spunMetal (599, 603, Colour (0xff3a404b), 0.3f, -0.6f, random), inner, {});
    fillVerticalShade (g, inner, innerArea, juce::Colours::white.withAlpha (0.10f), 0.5, juce::Colours::transparentWhite,
                       juce::Colours::black.withAlpha (0.3f));
    strokeBevel (g, inner, innerArea, 6.0f, 0.45f, 0.6f);

    const auto dimpleArea = Area (120.0f, 120.0f).withCentre (innerArea.getCentre());
    const auto dimple = [&] { Path p; p.addEllipse (dimpleArea); return p; }();
    fillVerticalShade (g, dimple, dimpleArea, juce::Colours::black.withAlpha (0.35f), 0.5, juce::Colours::black.withAlpha (0.12f),
                       juce::Colours::white.withAlpha (0.08f));
    strokeBevel (g, dimple, dimpleArea, 2.0f, 0.0f, 0.0f);
    return thumb;
}

bool writePng (const juce::Image& image, const juce::File& file)
{
    file.deleteFile(); // a FileOutputStream appends to an existing file
    juce::FileOutputStream out (file);
    return out.openedOk() && juce::PNGImageFormat().writeImageToStream (image, out);
}
} // namespace

int main (int argc, char** argv)
{
    const auto folder = juce::File::getCurrentWorkingDirectory().getChildFile (argc > 1 ? argv[1] : "resources");
    folder.createDirectory();

    const std::pair<const char*, juce::Image> images[] {
        { "background.png", makeBackground() },
        { "ulmira_logo.png", makeLogo() },
        { "Forgelknob.png", makeKnob() },
        { "Forgelrectoff.png", makeChromePlate (612, false, 0x5eed0003) },
        { "Forgelrecton.png", makeChromePlate (631, true, 0x5eed0004) },
        { "Tessorslider_thumb.png", makeSliderThumb() },
    };

    for (const auto& [name, image] : images)
    {
        if (! writePng (image, folder.getChildFile (name)))
        {
            std::cerr << "could not write " << name << '\n';
            return 1;
        }
        std::cout << name << ' ' << image.getWidth() << 'x' << image.getHeight() << '\n';
    }
    return 0;
}
