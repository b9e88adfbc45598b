#include "widgets/lcd_display.h"

#include "app/command_ids.h"

#include <wx/dcbuffer.h>

namespace {
const wxColour faceColour(236, 233, 216);
}

// clang-format off
wxBEGIN_EVENT_TABLE(kwxLCDDisplay, wxWindow)
    EVT_PAINT(kwxLCDDisplay::OnPaint)
    EVT_SIZE(kwxLCDDisplay::OnSize)
wxEND_EVENT_TABLE()

wxBEGIN_EVENT_TABLE(kwxLCDClock, kwxLCDDisplay)
    EVT_TIMER(ID_CLOCK_TIMER, kwxLCDClock::OnClockTimer)
wxEND_EVENT_TABLE()
    // clang-format on

    kwxLCDDisplay::kwxLCDDisplay(wxWindow* parent, const wxPoint& pos, const wxSize& size) {
    // Painted whole in OnPaint (double-buffered): live values change every second.
    SetBackgroundStyle(wxBG_STYLE_PAINT);
    Create(parent, wxID_ANY, pos, size, wxNO_BORDER, wxString::FromAscii("panel"));
    SetBackgroundColour(faceColour);
}

kwxLCDDisplay::~kwxLCDDisplay() = default;

void kwxLCDDisplay::SetDigitCount(int count) {
    digitCount = count;
    Refresh();
}

void kwxLCDDisplay::SetDisplayText(const wxString& text) {
    displayText = text;
    Refresh();
}

void kwxLCDDisplay::Render(wxDC& dc, const wxSize& size) const {
    dc.SetBackground(wxBrush(GetBackgroundColour()));
    dc.Clear();
    if (digitCount <= 0)
        return;

    const LcdGeometry g = Geometry();
    const LcdTransform t = ComputeLcdTransform(size, g, digitCount);
    if (t.scale <= 0)
        return;

    dc.SetDeviceOrigin(t.origin.x, t.origin.y);
    dc.SetUserScale(t.scale, t.scale);
    dc.SetPen(wxPen(GetBackgroundColour(), 1, wxPENSTYLE_SOLID));
    const std::vector<LcdCell> cells = LayoutLcdText(displayText, digitCount);
    for (int i = 0; i < digitCount; ++i)
        DrawCell(dc, cells[i], g.CellLeft(i, digitCount), g.CellTop());
    dc.SetUserScale(1, 1);
    dc.SetDeviceOrigin(0, 0);
}

void kwxLCDDisplay::DrawCell(wxDC& dc, const LcdCell& cell, int X, int Y) const {
    const int L = segmentLength;
    const int W = segmentThickness;
    const int h = W / 2;
    const wxBrush lit(litColour);
    const wxBrush unlit(unlitColour);

    if (cell.colon) {
        dc.SetBrush(lit);
        const int half = L / 2;
        dc.DrawEllipse(X + half - W, Y + half - W, 2 * W, 2 * W);
        dc.DrawEllipse(X + half - W, Y + 3 * L / 2 - W, 2 * W, 2 * W);
        return;
    }

    const wxPoint shapes[7][6] = {
        // top
        {{X, Y}, {X + L, Y}, {X + L - W, Y + W}, {X + W, Y + W}},
        // upper left
        {{X, Y}, {X, Y + L}, {X + W, Y + L - h}, {X + W, Y + W}},
        // upper right
        {{X + L - W, Y + W}, {X + L, Y}, {X + L, Y + L}, {X + L - W, Y + L - h}},
        // lower left
        {{X, Y + L}, {X, Y + 2 * L}, {X + W, Y + 2 * L - W}, {X + W, Y + L + W - h}},
        // lower right
        {{X + L - W, Y + L + h}, {X + L, Y + L}, {X + L, Y + 2 * L}, {X + L - W, Y + 2 * L - W}},
        // bottom
        {{X + W, Y + 2 * L - W}, {X + L - W, Y + 2 * L - W}, {X + L, Y + 2 * L}, {X, Y + 2 * L}},
        // middle
        {{X, Y + L},
         {X + W, Y + L - h},
         {X + L - W, Y + L - h},
         {X + L, Y + L},
         {X + L - W, Y + L - h + W},
         {X + W, Y + L - h + W}},
    };
    for (int bit = 0; bit < 7; ++bit) {
        dc.SetBrush(cell.segments & (1 << bit) ? lit : unlit);
        dc.DrawPolygon(bit == 6 ? 6 : 4, shapes[bit], 0, 0, wxODDEVEN_RULE);
    }
    dc.SetBrush(cell.point ? lit : unlit);
    dc.DrawEllipse(X + L + 1, Y + 2 * L - W, W, W);
}

void kwxLCDDisplay::OnPaint(wxPaintEvent&) {
    wxAutoBufferedPaintDC dc(this);
    Render(dc, GetClientSize());
}

void kwxLCDDisplay::OnSize(wxSizeEvent& event) {
    Refresh();
    event.Skip();
}

kwxLCDClock::kwxLCDClock(wxWindow* parent, const wxPoint& pos, const wxSize& size)
    : kwxLCDDisplay(parent, pos, size), timer(this, ID_CLOCK_TIMER), lastShown(time_t(0)) {}

kwxLCDClock::~kwxLCDClock() {
    if (timer.IsRunning())
        timer.Stop();
}

void kwxLCDClock::ShowElapsed(float seconds) {
    SetDisplayText(FormatElapsed(seconds));
}

void kwxLCDClock::ShowTimeOfDay(const wxDateTime& now) {
    const wxString format = wxString::FromAscii("%H:%M:%S");
    const wxString text = now.Format(format);
    if (lastShown.IsValid() && lastShown.Format(format) == text && GetDisplayText() == text)
        return;
    lastShown = now;
    SetDisplayText(text);
}

void kwxLCDClock::OnClockTimer(wxTimerEvent&) {
    ShowTimeOfDay(wxDateTime::Now());
}
