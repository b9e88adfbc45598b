#pragma once

// The chart's view and axes, apart from any window: the fit of the data into the window, the
// tick spacing and labels, and where each axis draws its line, ticks and labels.

#include <wx/datetime.h>
#include <wx/string.h>

#include <functional>
#include <vector>

namespace plotmath {

// ---------------------------------------------------------------------------------------------
// View

// Data extent of a layer or a set of layers.
struct Extent {
    double minX = -1, maxX = 1, minY = -1, maxY = 1;
};

// The view: pixels per data unit and the data shown at the window centre.
struct View {
    double scaleX = 1.0, scaleY = 1.0, scaleY2 = 1.0;
    double centreX = 150.0, centreY = 100.0, centreY2 = 0.0;
};

// Fits the primary extent into the client area less 50 pixels left and right and bottomMargin
// above and below; the secondary y extent fills the same height. A zero span keeps that
// direction's scale and centre.
View FitView(const View& current, const Extent& primary, double minY2, double maxY2, int clientWidth,
             int clientHeight, int bottomMargin, bool lockAspect);


// ---------------------------------------------------------------------------------------------
// Axis ticks

struct TickSpacing {
    bool valid = false;  // false for a scale that is 0, negative or not finite
    int n = 0;           // power of five
    double step = 0;     // 5^n data units: 128/5 to 128 pixels apart
};
TickSpacing TickSpacingFor(double scale);

// Tick values from the tick at or below the near end (centre - halfPixels / scale) while below
// farEnd. Bounded, so a step lost in the rounding of huge values cannot loop forever.
std::vector<double> TickValues(double centre, double halfPixels, double scale, double step, double farEnd);

// Elapsed-time label of a tick: whole seconds as a time of day, "%H:%M:%S" when the hour is not
// 0, else "%M:%S"; negative values wrap to the day before (-5 s reads "23:59:55").
wxString ElapsedTimeLabel(double seconds);

// Clock-time label and date text ("05/03/24") of a tick: startTime + seconds in local time.
void ClockTimeLabels(const wxDateTime& startTime, double seconds, wxString& time, wxString& date);

// Measures a text in pixels with the font in use.
using TextMeasure = std::function<void(const wxString& text, int& width, int& height)>;

// The time axis as drawn: its line, and each tick with the label it shows (if any).
struct TimeAxisInput {
    int W = 0, H = 0;
    double centreX = 0, scaleX = 1;
    double centreY = 0, scaleY = 1;  // for align 1 (the row of y = 0)
    int bottomMargin = 30;
    bool dateLabels = false;
    wxDateTime startTime;
    bool secondarySeries = false;
    bool shortenRight = false;
    int align = 2;
};
struct TimeAxisTick {
    int px = 0;
    bool labelled = false;
    wxString label, date;
    int labelX = 0;  // left edge of the label
};
struct TimeAxisLayout {
    int y = 0;             // axis line row
    int margin = 30;       // bottom margin in force (35 without a valid start time)
    bool dateRow = false;  // clock times with a date row
    int lineLeft = 0, lineRight = 0;
    std::vector<TimeAxisTick> ticks;
};
TimeAxisLayout LayoutTimeAxis(const TimeAxisInput& in, const TextMeasure& measure);

// A value axis as drawn: left (primary) or right (secondary).
struct ValueAxisInput {
    int W = 0, H = 0;
    double centre = 0, scale = 1;
    double centreX = 0, scaleX = 1;  // for align 1 (the column of x = 0)
    int bottomMargin = 30;
    int align = 2;
    bool secondary = false;  // right-hand axis: always one decimal, ticks down to H/2 - 30
};
struct ValueAxisTick {
    int py = 0;
    bool labelled = false;
    wxString label;
};
struct ValueAxisLayout {
    int x = 0;  // axis line column
    std::vector<ValueAxisTick> ticks;
};
ValueAxisLayout LayoutValueAxis(const ValueAxisInput& in, const TextMeasure& measure);

// A pixel coordinate as an int: truncated toward zero, NaN as 0, far values held far outside
// any window instead of overflowing.
int PixelInt(double v);

// Axis line position by placement code.
int TimeAxisRow(int align, int H, int margin, double centreY, double scaleY);
int ValueAxisColumn(int align, int W, double centreX, double scaleX, bool secondary);

// A number with `precision` decimals and "." whatever the locale.
wxString FixedDigits(double value, int precision);

}  // namespace plotmath
