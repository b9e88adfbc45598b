#pragma once

#include "widgets/lcd_layout.h"

#include <wx/colour.h>
#include <wx/datetime.h>
#include <wx/timer.h>
#include <wx/window.h>

class wxDC;

// A row of seven-segment digit cells showing a short text, drawn with polygons and circles and
// scaled to fill the window while keeping its proportions.
class kwxLCDDisplay : public wxWindow {
public:
    kwxLCDDisplay(wxWindow* parent, const wxPoint& pos = wxDefaultPosition,
                  const wxSize& size = wxDefaultSize);
    ~kwxLCDDisplay() override;

    void SetDigitCount(int count);
    int GetDigitCount() const { return digitCount; }
    void SetDisplayText(const wxString& text);
    wxString GetDisplayText() const { return displayText; }

    // Draws the display as it looks now into a device context of the given size; the paint
    // handler uses it too.
    void Render(wxDC& dc, const wxSize& size) const;
    LcdGeometry Geometry() const { return {segmentLength, segmentThickness, cellGap}; }

    const wxColour& LitColour() const { return litColour; }
    const wxColour& UnlitColour() const { return unlitColour; }

private:
    void OnPaint(wxPaintEvent& event);
    void OnSize(wxSizeEvent& event);
    void DrawCell(wxDC& dc, const LcdCell& cell, int x, int y) const;

    int segmentLength = 40;
    int segmentThickness = 11;
    int cellGap = 5;
    int digitCount = 5;
    wxString displayText;
    wxColour litColour{60, 80, 200};
    wxColour unlitColour{236, 233, 216};

    wxDECLARE_EVENT_TABLE();
};

// The display as a clock: a time of day as "HH:MM:SS". The program shows the elapsed time of a
// live recording with ShowElapsed; its own timer (not started by the program) shows the local
// time when started.
class kwxLCDClock : public kwxLCDDisplay {
public:
    kwxLCDClock(wxWindow* parent, const wxPoint& pos = wxDefaultPosition, const wxSize& size = wxDefaultSize);
    ~kwxLCDClock() override;

    // Whole seconds since the start, shown as a time of day (hours modulo 24).
    void ShowElapsed(float seconds);
    // Shows the time of day of the given moment if it differs from the last one shown.
    void ShowTimeOfDay(const wxDateTime& now);

    wxTimer& Timer() { return timer; }

private:
    void OnClockTimer(wxTimerEvent& event);

    wxTimer timer;
    wxDateTime lastShown;

    wxDECLARE_EVENT_TABLE();
};
