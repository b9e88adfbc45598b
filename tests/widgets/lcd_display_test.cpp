#include "colour_print.h"
#include "support/gui_testing.h"

#include "app/command_ids.h"
#include "widgets/lcd_display.h"

#include <wx/dcmemory.h>
#include <wx/frame.h>
#include <wx/regex.h>

namespace {

const wxColour lit(60, 80, 200);
const wxColour face(236, 233, 216);

class LcdTest : public ::testing::Test {
protected:
    void SetUp() override {
        frame = new wxFrame(nullptr, wxID_ANY, U8("Anzeige"), wxPoint(20, 20), wxSize(500, 300));
        display = new kwxLCDDisplay(frame, wxPoint(0, 0), wxSize(100, 40));
        clock = new kwxLCDClock(frame, wxPoint(0, 50), wxSize(150, 40));
        frame->Show();
        PumpEvents();
    }
    void TearDown() override {
        if (frame)
            DestroyNow(frame);
    }

    wxImage Render(const kwxLCDDisplay& d, const wxSize& size) {
        wxBitmap bmp(size, 24);
        {
            wxMemoryDC dc(bmp);
            d.Render(dc, size);
        }
        return bmp.ConvertToImage();
    }
    static wxColour At(const wxImage& img, double x, double y) {
        const int ix = static_cast<int>(x), iy = static_cast<int>(y);
        return wxColour(img.GetRed(ix, iy), img.GetGreen(ix, iy), img.GetBlue(ix, iy));
    }

    // Pixel of the middle of each segment (bits 0 to 6) and the point of cell i, with scale s
    // and origin o, for the default geometry.
    static std::vector<wxRealPoint> PartCentres(int i, int cells, double s, wxPoint o) {
        const double X = 56 * (cells - 1 - i) + 5, Y = 5;
        const std::vector<wxRealPoint> units = {
            {X + 20, Y + 3},  {X + 3, Y + 20},  {X + 37, Y + 20}, {X + 3, Y + 60},
            {X + 37, Y + 60}, {X + 20, Y + 77}, {X + 20, Y + 40}, {X + 46.5, Y + 74.5},
        };
        std::vector<wxRealPoint> px;
        for (const auto& u : units)
            px.push_back({o.x + u.x * s, o.y + u.y * s});
        return px;
    }
    // Which parts of cell i are lit, as bits 0-6 and bit 7 for the point.
    static int LitParts(const wxImage& img, int i, int cells, double s, wxPoint o) {
        int bits = 0;
        const auto centres = PartCentres(i, cells, s, o);
        for (size_t k = 0; k < centres.size(); ++k) {
            const wxColour c = At(img, centres[k].x, centres[k].y);
            if (c == lit)
                bits |= 1 << k;
            else
                EXPECT_EQ(c, face) << "cell " << i << " part " << k;
        }
        return bits;
    }

    wxFrame* frame = nullptr;
    kwxLCDDisplay* display = nullptr;
    kwxLCDClock* clock = nullptr;
};

}  // namespace

TEST_F(LcdTest, ConstructionDefaults) {
    EXPECT_EQ(display->GetId() < 0, true);
    EXPECT_EQ(display->GetName(), U8("panel"));
    EXPECT_EQ(display->GetBackgroundColour(), face);
    EXPECT_EQ(display->GetDigitCount(), 5);
    EXPECT_EQ(display->GetDisplayText(), wxString());
    EXPECT_EQ(display->LitColour(), lit);
    EXPECT_EQ(display->UnlitColour(), face);
    EXPECT_FALSE(display->HasFlag(wxBORDER_SIMPLE) || display->HasFlag(wxBORDER_SUNKEN));
    display->SetDigitCount(6);
    display->SetDisplayText(U8("0.0"));
    EXPECT_EQ(display->GetDigitCount(), 6);
    EXPECT_EQ(display->GetDisplayText(), U8("0.0"));
}

TEST_F(LcdTest, RenderedDigitsLightTheirSegmentsOnly) {
    display->SetDigitCount(6);
    display->SetDisplayText(U8("12.5"));
    // Exactly the drawing size: scale 1, no offset.
    wxImage img = Render(*display, {341, 90});
    EXPECT_EQ(LitParts(img, 0, 6, 1, {0, 0}), 0x73);
    EXPECT_EQ(LitParts(img, 1, 6, 1, {0, 0}), 0x6D | 0x80);
    EXPECT_EQ(LitParts(img, 2, 6, 1, {0, 0}), 0x14);
    EXPECT_EQ(LitParts(img, 3, 6, 1, {0, 0}), 0);
    // Segments are separated by the background-coloured outline: the corner where top and upper
    // left meet in a lit "8" is not lit at its very tip.
    display->SetDisplayText(U8("8"));
    img = Render(*display, {341, 90});
    EXPECT_EQ(LitParts(img, 0, 6, 1, {0, 0}), 0x7F);
    EXPECT_EQ(At(img, 0, 0), face);
}

TEST_F(LcdTest, WideWindowScaledByHeightNarrowByWidth) {
    display->SetDigitCount(6);
    display->SetDisplayText(U8("1"));
    // Wide: 782 x 180 gives scale 2, the drawing 682 wide, 50 pixels free on each side.
    wxImage wide = Render(*display, {782, 180});
    EXPECT_EQ(LitParts(wide, 0, 6, 2, {50, 0}), 0x14);
    EXPECT_EQ(LitParts(wide, 5, 6, 2, {50, 0}), 0);
    // The rightmost cell's upper right segment ends before the free band.
    EXPECT_EQ(At(wide, 50 + 2 * 322, 2 * 25), lit);
    for (int x : {0, 40, 740, 781})
        EXPECT_EQ(At(wide, x, 50), face) << x;

    // Narrow: 341 x 190 gives scale 1 and 50 pixels free above and below.
    wxImage narrow = Render(*display, {341, 190});
    EXPECT_EQ(LitParts(narrow, 0, 6, 1, {0, 50}), 0x14);
    EXPECT_EQ(At(narrow, 322, 20), face);
    EXPECT_EQ(At(narrow, 322, 50 + 25), lit);
    EXPECT_EQ(At(narrow, 322, 170), face);
}

TEST_F(LcdTest, ClockShowsElapsedTimeOnSevenCells) {
    clock->SetDigitCount(7);
    clock->ShowElapsed(0);
    EXPECT_EQ(clock->GetDisplayText(), U8("00:00:00"));
    clock->ShowElapsed(3725.9f);
    EXPECT_EQ(clock->GetDisplayText(), U8("01:02:05"));

    wxImage img = Render(*clock, {397, 90});
    const int expected[7] = {0x73, 0x3F, -1, 0x6D, 0x3F, -1, 0x14};
    for (int i = 0; i < 7; ++i) {
        if (expected[i] >= 0) {
            EXPECT_EQ(LitParts(img, i, 7, 1, {0, 0}), expected[i]) << "cell " << i;
        } else {
            // Colon: two dots 22 units wide around (X + 20, Y + 20) and (X + 20, Y + 60).
            const double X = 56 * (6 - i) + 5;
            EXPECT_EQ(At(img, X + 20, 25), lit);
            EXPECT_EQ(At(img, X + 20, 65), lit);
            EXPECT_EQ(At(img, X + 20, 45), face);
            EXPECT_EQ(At(img, X + 37, 25), face);
        }
    }
}

TEST_F(LcdTest, ClockTimerShowsLocalTime) {
    clock->ShowTimeOfDay(wxDateTime(13, 4, 5));
    EXPECT_EQ(clock->GetDisplayText(), U8("13:04:05"));
    clock->SetDisplayText(U8("Err"));
    clock->ShowTimeOfDay(wxDateTime(13, 4, 5));
    EXPECT_EQ(clock->GetDisplayText(), U8("13:04:05"));

    // Its own timer's event, by id 3001.
    EXPECT_EQ(clock->Timer().GetId(), ID_CLOCK_TIMER);
    const wxString before = wxDateTime::Now().Format(U8("%H:%M:%S"));
    wxTimerEvent tick(clock->Timer());
    clock->ProcessWindowEvent(tick);
    const wxString after = wxDateTime::Now().Format(U8("%H:%M:%S"));
    EXPECT_TRUE(clock->GetDisplayText() == before || clock->GetDisplayText() == after)
        << clock->GetDisplayText().utf8_string();

    // Started for real it ticks by itself, and the destructor stops it.
    clock->SetDisplayText(wxString());
    clock->Timer().Start(10);
    EXPECT_TRUE(PumpUntil([&] { return !clock->GetDisplayText().empty(); }, 3000));
    DestroyNow(frame);
    frame = nullptr;
    PumpEvents();
}
