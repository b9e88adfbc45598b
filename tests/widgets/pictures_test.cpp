#include "support/gui_testing.h"

#include "colour_print.h"
#include "resources/pictures.h"

#include <wx/icon.h>
#include <wx/image.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>

using pictures::Motif;
using pictures::State;

namespace {

struct Stated {
    Motif motif;
    const char* name;
    int width, height;
    bool states;  // has hover and pressed pictures
    bool transparent;
};

// Every picture of the program with its size.
const Stated all[] = {
    {Motif::Open, "open", 50, 50, true, false},
    {Motif::Save, "save", 50, 50, true, false},
    {Motif::Print, "print", 50, 50, true, false},
    {Motif::Camera, "camera", 50, 50, true, false},
    {Motif::Logo, "logo", 98, 60, false, false},
    {Motif::ZoomIn, "zoom in", 35, 30, true, false},
    {Motif::ZoomOut, "zoom out", 35, 30, true, false},
    {Motif::Measure, "measure", 35, 30, true, false},
    {Motif::Grid, "grid", 35, 30, true, false},
    {Motif::Points, "points", 35, 30, true, false},
    {Motif::Filter, "filter", 35, 30, true, false},
    {Motif::FlowSeries, "flow series", 50, 50, true, false},
    {Motif::VolumeSeries, "volume series", 50, 50, true, false},
    {Motif::PressureSeries, "pressure series", 50, 50, true, false},
    {Motif::RecordFace, "record face", 70, 70, true, false},
    {Motif::StopFace, "stop face", 70, 70, true, false},
    {Motif::SettingsFace, "settings face", 70, 70, true, false},
    {Motif::ClearFace, "clear face", 70, 70, true, false},
    {Motif::UploadFace, "upload face", 70, 70, true, false},
    {Motif::HelpTip, "help tip", 70, 70, false, false},
    {Motif::MenuOpen, "menu open", 16, 15, false, true},
    {Motif::MenuSave, "menu save", 16, 15, false, true},
    {Motif::MenuPrint, "menu print", 16, 15, false, true},
    {Motif::ConnectionAnswered, "connection answered", 280, 70, false, false},
    {Motif::ConnectionNotAnswered, "connection not answered", 280, 70, false, false},
    {Motif::ConnectionWritten, "connection written", 280, 70, false, false},
    {Motif::Splash, "splash", 640, 540, false, false},
};

// Width and height from the XPM's own header line.
wxSize XpmHeaderSize(const char* const* xpm) {
    int w = 0, h = 0, colours = 0, chars = 0;
    if (std::sscanf(xpm[0], "%d %d %d %d", &w, &h, &colours, &chars) != 4)
        return {-1, -1};
    return {w, h};
}

// Pixels in which two pictures of the same size differ.
int DifferingPixels(const wxBitmap& a, const wxBitmap& b) {
    const wxImage ia = a.ConvertToImage(), ib = b.ConvertToImage();
    int n = 0;
    for (int y = 0; y < ia.GetHeight(); ++y)
        for (int x = 0; x < ia.GetWidth(); ++x)
            n += ia.GetRed(x, y) != ib.GetRed(x, y) || ia.GetGreen(x, y) != ib.GetGreen(x, y) ||
                 ia.GetBlue(x, y) != ib.GetBlue(x, y);
    return n;
}

// A picture as it looks on the face colour (transparent parts show the ground).
wxImage OnFace(const wxBitmap& picture, const wxSize& size) {
    wxImage image = picture.ConvertToImage();
    if (image.HasMask())
        image.InitAlpha();
    if (image.GetSize() != size)
        image = image.Scale(size.x, size.y, wxIMAGE_QUALITY_BOX_AVERAGE);
    if (!image.HasAlpha())
        return image;
    for (int y = 0; y < size.y; ++y)
        for (int x = 0; x < size.x; ++x) {
            const int a = image.GetAlpha(x, y);
            auto mix = [a](int c, int ground) {
                return static_cast<unsigned char>((c * a + ground * (255 - a)) / 255);
            };
            image.SetRGB(x, y, mix(image.GetRed(x, y), 236), mix(image.GetGreen(x, y), 233),
                         mix(image.GetBlue(x, y), 216));
        }
    image.ClearAlpha();
    return image;
}

// Mean difference of the colour channels, 0 to 255, with a double-size drawing shrunk first.
double MeanDifference(const wxBitmap& picture, const wxBitmap& doubleSize) {
    const wxSize size = picture.GetSize();
    const wxImage a = OnFace(picture, size);
    const wxImage b = OnFace(doubleSize, size);
    double sum = 0;
    for (int y = 0; y < size.y; ++y)
        for (int x = 0; x < size.x; ++x)
            sum += std::abs(a.GetRed(x, y) - b.GetRed(x, y)) + std::abs(a.GetGreen(x, y) - b.GetGreen(x, y)) +
                   std::abs(a.GetBlue(x, y) - b.GetBlue(x, y));
    return sum / (3.0 * size.x * size.y);
}

wxColour Corner(const wxBitmap& bmp) {
    const wxImage img = bmp.ConvertToImage();
    return wxColour(img.GetRed(0, 0), img.GetGreen(0, 0), img.GetBlue(0, 0));
}

}  // namespace

TEST(Pictures, EveryPictureIsAnXpmOfItsStatedSize) {
    const int motifCount = static_cast<int>(Motif::Splash) + 1;
    ASSERT_EQ(std::size(all), static_cast<size_t>(motifCount));
    for (const Stated& p : all) {
        SCOPED_TRACE(p.name);
        const wxSize size(p.width, p.height);
        EXPECT_EQ(pictures::SizeOf(p.motif), size);
        for (State s : {State::Normal, State::Hover, State::Pressed}) {
            const char* const* xpm = pictures::XpmData(p.motif, s);
            ASSERT_NE(xpm, nullptr);
            EXPECT_EQ(XpmHeaderSize(xpm), size);
            const wxBitmap bmp = pictures::Get(p.motif, s);
            ASSERT_TRUE(bmp.IsOk());
            EXPECT_EQ(bmp.GetSize(), size);

            // For a desktop scale of 2: the same picture drawn at twice the size, and at scale 1
            // the bundle gives the XPM itself, pixel for pixel.
            const wxBitmap doubled = pictures::GetDoubleSize(p.motif, s);
            ASSERT_TRUE(doubled.IsOk());
            EXPECT_EQ(doubled.GetSize(), size * 2);
            // Same drawing: 0.4 to 3.2 apart (the XPM keeps 255 colours and hard edges); the
            // nearest other state picture (a logger face with its lighter ring) is 4 apart.
            EXPECT_LT(MeanDifference(bmp, doubled), 3.6);
            const wxBitmapBundle bundle = pictures::Bundle(p.motif, s);
            EXPECT_EQ(bundle.GetDefaultSize(), size);
            EXPECT_EQ(bundle.GetPreferredBitmapSizeAtScale(1.0), size);
            EXPECT_EQ(bundle.GetPreferredBitmapSizeAtScale(2.0), size * 2);
            EXPECT_EQ(DifferingPixels(bundle.GetBitmap(size), bmp), 0);
            const wxBitmap atTwo = bundle.GetBitmap(size * 2);
            EXPECT_EQ(atTwo.GetLogicalSize(), size);  // same place on the screen, twice the pixels
            EXPECT_EQ(DifferingPixels(atTwo, doubled), 0);
        }
    }
}

TEST(Pictures, StatePicturesDifferFromTheNormalOne) {
    for (const Stated& p : all) {
        SCOPED_TRACE(p.name);
        EXPECT_EQ(pictures::HasState(p.motif, State::Normal), true);
        EXPECT_EQ(pictures::HasState(p.motif, State::Hover), p.states);
        EXPECT_EQ(pictures::HasState(p.motif, State::Pressed), p.states);
        const wxBitmap normal = pictures::Get(p.motif);
        const wxBitmap hover = pictures::Get(p.motif, State::Hover);
        const wxBitmap pressed = pictures::Get(p.motif, State::Pressed);
        const int area = p.width * p.height;
        if (p.states) {
            // A frame or a ring changes a good part of the picture, not a stray pixel.
            EXPECT_GT(DifferingPixels(normal, hover), area / 10);
            EXPECT_GT(DifferingPixels(normal, pressed), area / 10);
            EXPECT_GT(DifferingPixels(hover, pressed), area / 10);
        } else {
            EXPECT_EQ(DifferingPixels(normal, hover), 0);
            EXPECT_EQ(DifferingPixels(normal, pressed), 0);
        }
    }
    // Motifs are not mixed up: each differs from the others of its size.
    for (const Stated& a : all) {
        for (const Stated& b : all) {
            if (&a < &b && a.width == b.width && a.height == b.height) {
                EXPECT_GT(DifferingPixels(pictures::Get(a.motif), pictures::Get(b.motif)), 20)
                    << a.name << " / " << b.name;
            }
        }
    }
}

TEST(Pictures, ButtonPicturesOpaqueOnTheFaceColourMenuIconsTransparent) {
    const wxColour face(236, 233, 216);
    for (const Stated& p : all) {
        SCOPED_TRACE(p.name);
        const wxBitmap normal = pictures::Get(p.motif);
        const wxImage img = normal.ConvertToImage();
        if (p.transparent) {
            ASSERT_TRUE(img.HasMask() || img.HasAlpha());
            EXPECT_TRUE(img.IsTransparent(0, 0));
            EXPECT_FALSE(img.IsTransparent(p.width / 2, p.height / 2));
        } else {
            EXPECT_FALSE(img.HasMask());
            EXPECT_FALSE(img.HasAlpha());
        }
    }
    // Button pictures stand on the face colour, so they blend with the button around them.
    for (Motif m : {Motif::Open, Motif::Save, Motif::Print, Motif::Camera, Motif::Logo, Motif::ZoomIn,
                    Motif::Grid, Motif::FlowSeries, Motif::RecordFace, Motif::UploadFace, Motif::HelpTip})
        EXPECT_EQ(Corner(pictures::Get(m)), face) << static_cast<int>(m);
    EXPECT_EQ(Corner(pictures::Get(Motif::RecordFace, State::Pressed)), face);
}

TEST(Pictures, ApplicationIconInSixSizes) {
    const wxIconBundle bundle = pictures::AppIcons();
    ASSERT_EQ(bundle.GetIconCount(), 6u);
    for (int px : {16, 24, 32, 48, 64, 128}) {
        SCOPED_TRACE(px);
        const char* const* xpm = pictures::AppIconXpm(px);
        ASSERT_NE(xpm, nullptr);
        EXPECT_EQ(XpmHeaderSize(xpm), wxSize(px, px));
        const wxIcon icon = bundle.GetIcon(wxSize(px, px), wxIconBundle::FALLBACK_NONE);
        ASSERT_TRUE(icon.IsOk());
        EXPECT_EQ(icon.GetWidth(), px);
        EXPECT_EQ(icon.GetHeight(), px);
        const wxImage img = wxBitmap(xpm).ConvertToImage();
        EXPECT_TRUE(img.IsTransparent(0, 0));
        // A red fire engine: the row through the middle is mostly red paint.
        int red = 0;
        for (int x = 0; x < px; ++x) {
            const int y = px / 2;
            red += !img.IsTransparent(x, y) && img.GetRed(x, y) > 150 && img.GetGreen(x, y) < 90 &&
                   img.GetBlue(x, y) < 90;
        }
        EXPECT_GT(red, px / 4);
    }
    EXPECT_EQ(pictures::AppIconXpm(20), nullptr);
}
