#pragma once

// The chart's numeric rules, apart from any window: view fit, tick spacing and labels, readout
// texts and box sizes, the draggable boxes' placement, the nearest sample, and the reduction of
// a series to the segments that draw the same picture. The plot window and its layers only
// draw what these compute, so everything here is testable without a display.

#include <wx/datetime.h>
#include <wx/string.h>

#include <cmath>
#include <cstddef>
#include <cstdint>
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

// Extent of a vector series over its first n samples: the finite values widened by 0.5 on every
// side; (-1, 1, -1, 1) when there is no finite sample.
Extent SeriesExtent(const float* xs, const float* ys, std::size_t n);

// True when xs holds no NaN and never decreases.
bool IsSortedFinite(const float* xs, std::size_t n);
// Smallest and largest finite value of v[0, n); false when there is none.
bool FiniteValueRange(const float* v, std::size_t n, float& lo, float& hi);

// Index of the sample nearest to x, the lower index on ties; n when n is 0. NaN samples never
// win. With sorted (IsSortedFinite) xs a binary search gives the same answer as a full scan.
std::size_t NearestIndex(const float* xs, std::size_t n, double x, bool sorted);

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

// ---------------------------------------------------------------------------------------------
// Readouts and boxes

// " %.2f " below 30, " %.0f " from 30 on.
wxString LegendValueText(double value);

// "%f" with "." whatever the locale (the readout events carry numbers that are parsed back).
wxString FixedText(double value);
// The measure events' texts: "x y" of a primary sample, "y " of a secondary one.
wxString PrimaryMeasureText(double x, double y);
wxString SecondaryMeasureText(double y);

// Legend size for rows of the given text sizes: width from 20, text width + 25 whenever a row's
// width + 20 reaches it; height 5 + the row heights + 5.
void LegendSize(const std::vector<int>& rowWidths, const std::vector<int>& rowHeights, int& width,
                int& height);

// The lines of a text, split at line breaks (a trailing break gives an empty last line).
std::vector<wxString> SplitLines(const wxString& text);

// Text box size from its lines' sizes; height 0 (nothing to draw) when the text has no visible
// character.
void TextBoxSize(const wxString& text, const TextMeasure& measure, int& width, int& height,
                 std::vector<int>* lineHeights = nullptr);

// A draggable box and the pointer, in pixels relative to the chart centre.
struct BoxState {
    int x = 0, y = 0, width = 1, height = 1;
    int refX = 0, refY = 0;    // where Move offsets from
    int lastW = 1, lastH = 1;  // window size at the last draw
};
struct PointerState {
    int leftX = 0, leftY = 0;    // last left press or drag step, window pixels
    int dragDX = 0, dragDY = 0;  // last drag step: previous minus new pointer position
};
// Drag step (a pending pointer step that starts or ends on the box moves it by that step),
// anchor update and resize step (the box keeps its relative place when the window is resized).
// True when the drag step moved the box: only then did the user place it.
bool PlaceBox(BoxState& box, const PointerState& pointer, int W, int H, double& anchorX, double& anchorY);

// ---------------------------------------------------------------------------------------------
// Series drawing

// Integer pixel segment; a zero-length one draws a dot.
struct Segment {
    int x1, y1, x2, y2;
};

// Turns a series' pixel points into the segments to draw. The plain series draws a line from
// each point to the next (the first as a dot). Points that fall into one pixel column lie on
// one vertical line, so the lines between them are covered by the line from the column's
// lowest to its highest point: each column needs only the line coming in to its first point and
// that vertical line, whatever the number of samples in it. The incoming line is left out when
// it lies wholly inside the vertical lines of its two columns (their pixels are fully covered
// already). Segments wholly outside the view are dropped; coordinates too large for the drawing
// library are clipped.
// Groups lines into batches whose lines keep apart: their boxes, grown by the pen and a pixel of
// anti-aliasing, never meet within one batch. A few batches stay open at a time; a line goes into
// the first it keeps apart from, and a batch is handed on when it is full or its place is needed.
class StrokeBatcher {
public:
    using Sink = std::function<void(const std::vector<Segment>&)>;
    StrokeBatcher(int penWidth, Sink sink, std::size_t openBatches = 12, std::size_t batchSize = 24);
    void Add(const Segment& s);
    // Hands on every open batch.
    void Finish();

private:
    struct Batch {
        std::vector<Segment> lines;
        int left = 0, top = 0, right = -1, bottom = -1;  // the grown boxes' union
    };
    void Hand(Batch& b);
    int grow;
    Sink sink;
    std::size_t batchSize;
    std::vector<Batch> open;
};

class SegmentBuilder {
public:
    // View box in pixels relative to the centre, widened by the pen width + 2 on every side.
    // Without mergeColumns every line between two points is kept (a dashed pen restarts its
    // pattern on each line, so merging would move the dashes).
    SegmentBuilder(int W, int H, int penWidth, std::vector<Segment>& out, bool mergeColumns = true);

    // A point (pixel coordinates before truncation); NaN or infinite ends the line (a gap).
    void Add(double px, double py);
    // A whole column at once: its pixel column and the first, extreme and last rows. Columns must
    // come in series order, each after the previous one's points.
    void AddColumn(double px, double firstPy, double lowPy, double highPy, double lastPy);
    void Gap();
    // Emits the open column; call once at the end.
    void Finish();

private:
    void Flush();
    void Emit(double x1, double y1, double x2, double y2);

    double left, right, top, bottom;
    std::vector<Segment>& out;
    bool merge;
    double halfWidth;
    bool open = false;
    double colX = 0, colFirst = 0, colLow = 0, colHigh = 0, colLast = 0;
    bool hasPrev = false;
    double prevX = 0, prevY = 0;
    double prevLow = 0, prevHigh = 0;  // the previous column's vertical line
};

// Pixel-to-data transform of one axis: p = trunc((v - centre) * scale), or for a y axis
// trunc((centre - v) * scale).
struct AxisMap {
    double centre = 0, scale = 1;
    bool invert = false;
    double operator()(double v) const {
        const double p = invert ? (centre - v) * scale : (v - centre) * scale;
        // A finite sample stays a point however far the zoom throws it (an overflow to infinity
        // would read as a gap in the line); what is not a number stays a gap.
        return std::isfinite(p) || !std::isfinite(v) ? p : std::copysign(1e300, p);
    }
};

// Block minima and maxima of a series, for the extremes of any sample range in time that grows
// with the logarithm of the range, not its length.
class MinMaxPyramid {
public:
    void Build(const float* values, std::size_t n);
    // After the values Build or Extend saw last changed from oldN on (samples appended, or the
    // last few rewritten): the same blocks Build would make, at the cost of those samples only.
    void Extend(const float* values, std::size_t oldN, std::size_t n);
    void Clear();
    // Minimum and maximum of values[i, j); i < j.
    void Query(const float* values, std::size_t i, std::size_t j, float& low, float& high) const;
    // The same blocks at every level.
    bool operator==(const MinMaxPyramid&) const = default;

private:
    // The blocks for samples from oldN on, on top of those made for the ones before.
    void Grow(const float* values, std::size_t oldN, std::size_t n);
    static constexpr std::size_t kBlock = 32;
    std::vector<std::vector<float>> mins, maxs;  // level 1 and up
};

// Segments of a continuous series over samples [0, n). Fast path when xs is sorted and every
// sample finite (pass the pyramid built over ys): only the visible samples and one neighbour on
// each side are visited, and each pixel column costs a search and a pyramid query. Otherwise
// every sample is visited, columns of consecutive samples still drawn as one line. Without
// mergeColumns every line is kept (only those outside the view are dropped).
void BuildContinuousSegments(const float* xs, const float* ys, std::size_t n, bool sortedFinite,
                             const MinMaxPyramid* pyramid, const AxisMap& mapX, const AxisMap& mapY, int W,
                             int H, int penWidth, bool mergeColumns, std::vector<Segment>& out);

// Dots of a series drawn as separate points: how often each pixel of the view (and the margin a
// dot can reach in from) is dotted, one count per visible sample.
struct DotCounts {
    int left = 0, top = 0, width = 0, height = 0;
    std::vector<std::uint32_t> counts;  // row by row
    // The view W x H around the centre and the margin of this pen; nothing counted.
    void Reset(int W, int H, int penWidth);
    std::uint32_t At(int x, int y) const {
        return counts[static_cast<std::size_t>(y - top) * width + static_cast<std::size_t>(x - left)];
    }
};
void CountDots(const float* xs, const float* ys, std::size_t n, bool sortedFinite, const AxisMap& mapX,
               const AxisMap& mapY, int W, int H, int penWidth, DotCounts& out);

// Dots on one pixel beyond which more change no colour level of the picture.
inline constexpr std::uint32_t kSaturatingDots = 256;

// What one dot inks around its pixel: coverage 0 ... 255, row by row.
struct DotStamp {
    int left = 0, top = 0;  // first column and row, relative to the dot's pixel
    int width = 0, height = 0;
    std::vector<std::uint8_t> coverage;
};

// The ink of many equal dots, in one piece: every pixel lets through what each dot covering it
// leaves, so a pixel dotted n times by a dot covering a share c of it keeps (1 - c)^n of what
// lies below, whatever the order of the dots. Alpha 0 ... 255 per pixel, rows `stride` bytes
// apart (a multiple of four, as image surfaces want).
struct DotInk {
    int left = 0, top = 0, width = 0, height = 0, stride = 0;
    std::vector<std::uint8_t> alpha;
    void Build(const DotCounts& dots, const DotStamp& stamp);

private:
    std::vector<float> through;  // kept between builds: a fresh one costs its pages every time
};

// What one line of a pen inks: coverage 0 ... 255 row by row, placed relative to the line's
// first end. The drawing library inks a line the same way wherever whole pixels put it.
struct LineStamp {
    int left = 0, top = 0, width = 0, height = 0;
    std::vector<std::uint8_t> coverage;
    std::uint8_t At(int x, int y) const {
        return coverage[static_cast<std::size_t>(y) * width + static_cast<std::size_t>(x)];
    }
};

// A vertical line of any length from one of a known length: the rows above `split` belong to its
// upper end, those from `split` on to its lower end, and a line longer than the known one repeats
// the row at `split` in between. Empty when the known line's rows around `split` differ (a pen
// whose middle rows are not all alike).
struct VerticalStamp {
    LineStamp known;  // the line from (0, 0) to (0, length)
    int length = 0, split = 0;
    bool Valid() const { return !known.coverage.empty(); }
    // From a drawn line of this length, or invalid.
    static VerticalStamp From(LineStamp line, int length);
};

// The ink of many lines of one pen, laid on one after the other as the drawing library lays each
// line over what lies below: alpha 0 ... 255 per pixel, rows `stride` bytes apart (a multiple of
// four). Ink beyond the box is dropped.
struct LineInk {
    int left = 0, top = 0, width = 0, height = 0, stride = 0;
    std::vector<std::uint8_t> alpha;
    // An empty box with these edges (inclusive).
    void Reset(int boxLeft, int boxTop, int boxRight, int boxBottom);
    // A line whose first end is at (x, y).
    void Lay(const LineStamp& stamp, int x, int y);
    // A vertical line from (x, y1) to (x, y2), y1 <= y2, longer than the known one.
    void LayVertical(const VerticalStamp& stamp, int x, int y1, int y2);

private:
    void LayRows(const LineStamp& stamp, int x, int y, int firstRow, int endRow);
};

// Pixels beyond the view that a pen of this width can still reach.
int ViewMargin(int penWidth);

// Clips a pixel segment (relative to the chart centre) to the coordinates the drawing library
// holds. An end inside stays exactly where it is and the line keeps its direction to within a
// fraction of a pixel; false when nothing of it is left or an end is not finite.
bool ClipToDrawable(double& x1, double& y1, double& x2, double& y2);
// Whether a pixel point can be handed to the drawing library as it is.
bool DrawablePoint(double x, double y);

}  // namespace plotmath
