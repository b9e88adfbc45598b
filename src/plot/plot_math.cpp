#include "plot/plot_math.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <type_traits>

namespace plotmath {

namespace {

// ln 5 as the tick rule has always used it (nine decimals).
constexpr double kLn5 = 1.609437912;

// Beyond this many pixels from the centre a coordinate is clipped before it reaches the drawing
// library. Cairo draws a slanting line wrongly once an end lies about 2^18 pixels out (found
// here: the line turns horizontal), far below what its fixed-point numbers hold; 2^15 leaves room
// for a printer page's scale. A clipped end is rounded to a whole pixel, which turns the line by
// at most 1/46000 of a radian: a few hundredths of a pixel across a wide window.
constexpr double kCoordinateLimit = 1 << 15;

// Anti-aliased dots drawn this many times on one spot leave every pixel at its final colour.

}  // namespace

int PixelInt(double v) {
    // Pixel positions far outside the window only need to stay outside it.
    if (!(v == v))
        return 0;
    if (v > 1e9)
        return 1000000000;
    if (v < -1e9)
        return -1000000000;
    return static_cast<int>(v);
}

namespace {

wxString FixedDigits(double value, int precision) {
    char buf[512];
    auto result = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::fixed, precision);
    if (result.ec != std::errc())
        return wxString::FromAscii("?");
    return wxString::FromAscii(buf, result.ptr - buf);
}

wxString TwoDigits(long v) {
    char buf[8];
    buf[0] = static_cast<char>('0' + (v / 10) % 10);
    buf[1] = static_cast<char>('0' + v % 10);
    return wxString::FromAscii(buf, 2);
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// View

View FitView(const View& current, const Extent& primary, double minY2, double maxY2, int clientWidth,
             int clientHeight, int bottomMargin, bool lockAspect) {
    View v = current;
    // A window smaller than its margins would turn the scale negative (a mirrored chart); keep at
    // least one pixel.
    const double usableWidth = std::max(1, clientWidth - 100);
    const double usableHeight = std::max(1, clientHeight - 2 * bottomMargin);
    if (primary.maxX != primary.minX) {
        const double span = primary.maxX - primary.minX;
        v.scaleX = usableWidth / span;
        v.centreX = primary.minX + span / 2;
    }
    if (primary.maxY != primary.minY) {
        const double span = primary.maxY - primary.minY;
        const double span2 = maxY2 - minY2;
        v.scaleY = usableHeight / span;
        // Without a secondary extent the secondary scale would become infinite; keep it.
        if (span2 != 0)
            v.scaleY2 = usableHeight / span2;
        v.centreY = primary.minY + span / 2;
        v.centreY2 = minY2 + span2 / 2;
    }
    if (lockAspect) {
        const double mean = (v.scaleX + v.scaleY) * 0.5;
        v.scaleX = v.scaleY = mean;
    }
    return v;
}

namespace {

// Smallest and largest finite value; eight independent lanes keep the CPU busy (a live chart
// recomputes this for every series on every tick).
bool FiniteRange(const float* v, std::size_t n, float& lo, float& hi) {
    constexpr float inf = std::numeric_limits<float>::infinity();
    constexpr float most = std::numeric_limits<float>::max();
    constexpr std::size_t lanes = 8;
    float mn[lanes], mx[lanes];
    for (std::size_t k = 0; k < lanes; ++k) {
        mn[k] = inf;
        mx[k] = -inf;
    }
    std::size_t i = 0;
    for (; i + lanes <= n; i += lanes) {
        for (std::size_t k = 0; k < lanes; ++k) {
            const float x = v[i + k];
            const bool finite = std::fabs(x) <= most;  // false for infinities and NaN
            mn[k] = finite && x < mn[k] ? x : mn[k];
            mx[k] = finite && x > mx[k] ? x : mx[k];
        }
    }
    for (; i < n; ++i) {
        const float x = v[i];
        if (std::fabs(x) <= most) {
            mn[0] = std::min(mn[0], x);
            mx[0] = std::max(mx[0], x);
        }
    }
    lo = *std::min_element(mn, mn + lanes);
    hi = *std::max_element(mx, mx + lanes);
    return lo <= hi;
}

}  // namespace

bool FiniteValueRange(const float* v, std::size_t n, float& lo, float& hi) {
    return FiniteRange(v, n, lo, hi);
}

Extent SeriesExtent(const float* xs, const float* ys, std::size_t n) {
    Extent e;
    float lo = 0, hi = 0;
    if (FiniteRange(xs, n, lo, hi)) {
        e.minX = lo - 0.5;
        e.maxX = hi + 0.5;
    }
    if (FiniteRange(ys, n, lo, hi)) {
        e.minY = lo - 0.5;
        e.maxY = hi + 0.5;
    }
    return e;
}

bool IsSortedFinite(const float* xs, std::size_t n) {
    constexpr float most = std::numeric_limits<float>::max();
    // Blocks without early exit vectorise; a failing block ends the scan.
    constexpr std::size_t block = 1024;
    for (std::size_t start = 0; start < n; start += block) {
        const std::size_t end = std::min(n, start + block);
        bool ok = true;
        for (std::size_t i = start; i < end; ++i)
            ok &= std::fabs(xs[i]) <= most;
        for (std::size_t i = std::max<std::size_t>(start, 1); i < end; ++i)
            ok &= !(xs[i] < xs[i - 1]);
        if (!ok)
            return false;
    }
    return true;
}

std::size_t NearestIndex(const float* xs, std::size_t n, double x, bool sorted) {
    if (n == 0 || std::isnan(x))
        return n;
    if (!sorted) {
        std::size_t best = n;
        double bestDistance = std::numeric_limits<double>::infinity();
        for (std::size_t i = 0; i < n; ++i) {
            const double d = std::fabs(x - static_cast<double>(xs[i]));
            if (d < bestDistance) {
                bestDistance = d;
                best = i;
            }
        }
        if (best == n && std::isinf(x))
            return 0;  // every distance infinite: the first sample, as a scan would take it
        return best;
    }
    const float* end = xs + n;
    const float* right = std::lower_bound(xs, end, x, [](float a, double b) { return a < b; });
    if (right == xs)
        return 0;
    const float* left = right - 1;
    if (right != end &&
        std::fabs(x - static_cast<double>(*right)) < std::fabs(x - static_cast<double>(*left)))
        return static_cast<std::size_t>(right - xs);
    // The lower index wins a tie; equal x values before it are as near.
    const float value = *left;
    return static_cast<std::size_t>(std::lower_bound(xs, right, value) - xs);
}

// ---------------------------------------------------------------------------------------------
// Axis ticks

TickSpacing TickSpacingFor(double scale) {
    TickSpacing t;
    if (!(scale > 0) || !std::isfinite(scale))
        return t;
    const double r = std::floor(std::log(128.0 / scale) / kLn5);
    if (!std::isfinite(r) || std::fabs(r) > 400)
        return t;
    t.n = static_cast<int>(r);
    t.step = std::exp(t.n * kLn5);
    t.valid = t.step > 0 && std::isfinite(t.step);
    return t;
}

std::vector<double> TickValues(double centre, double halfPixels, double scale, double step, double farEnd) {
    std::vector<double> ticks;
    if (!(step > 0) || !(scale > 0) || !std::isfinite(centre) || !std::isfinite(farEnd))
        return ticks;
    double t = std::floor((centre - halfPixels / scale) / step) * step;
    // A window a few thousand pixels wide has a few hundred ticks at most.
    for (int i = 0; t < farEnd && i < 20000; ++i) {
        ticks.push_back(t);
        const double next = t + step;
        if (next <= t)
            break;
        t = next;
    }
    return ticks;
}

wxString ElapsedTimeLabel(double seconds) {
    double s = std::round(seconds);
    if (!std::isfinite(s) || std::fabs(s) > 1e15)
        s = 0;
    // Left of the start the clock runs back through the day before; from the start on, the hours
    // count on past 24 (a recording of 30 hours reads 30:22:55, not 06:22:55).
    if (s < 0) {
        s = std::fmod(s, 86400.0);
        if (s < 0)
            s += 86400.0;
    }
    const long long total = static_cast<long long>(s);
    const long long h = total / 3600, m = total / 60 % 60, sec = total % 60;
    wxString label;
    if (h != 0) {
        if (h >= 100)
            label << wxString::Format(wxString::FromAscii("%lld"), h) << wxS(':');
        else
            label << TwoDigits(static_cast<long>(h)) << wxS(':');
    }
    label << TwoDigits(static_cast<long>(m)) << wxS(':') << TwoDigits(static_cast<long>(sec));
    return label;
}

void ClockTimeLabels(const wxDateTime& startTime, double seconds, wxString& time, wxString& date) {
    double s = std::round(seconds);
    if (!std::isfinite(s) || std::fabs(s) > 1e12)
        s = 0;
    const wxDateTime t = startTime + wxTimeSpan::Seconds(wxLongLong(static_cast<wxLongLong_t>(s)));
    time = t.Format(wxString::FromAscii("%H:%M:%S"));
    // Day, month, two-digit year, with slashes as the record list writes dates.
    date = t.Format(wxString::FromAscii("%d/%m/%y"));
}

int TimeAxisRow(int align, int H, int margin, double centreY, double scaleY) {
    switch (align) {
        case 0:
            return 10 - H / 2;
        case 1:
            return PixelInt(centreY * scaleY);
        case 4:
            return -H / 2 - 1;
        case 5:
            return H / 2;
        default:
            return H / 2 - margin;
    }
}

int ValueAxisColumn(int align, int W, double centreX, double scaleX, bool secondary) {
    switch (align) {
        case 0:
            return W / 2 - 20;
        case 1:
            return PixelInt(-centreX * scaleX);
        case 4:
            return W / 2;
        case 5:
            return secondary ? W / 2 - 50 : -W / 2 - 1;
        default:
            return secondary ? 40 - W / 2 : 50 - W / 2;
    }
}

TimeAxisLayout LayoutTimeAxis(const TimeAxisInput& in, const TextMeasure& measure) {
    TimeAxisLayout out;
    out.margin = in.bottomMargin;
    out.dateRow = in.dateLabels;
    if (!in.startTime.IsValid()) {
        out.dateRow = false;
        out.margin = 35;
    }
    const int right = in.secondarySeries ? in.W / 2 - 50 : in.W / 2;
    out.y = TimeAxisRow(in.align, in.H, out.margin, in.centreY, in.scaleY);
    out.lineLeft = 50 - in.W / 2;
    out.lineRight = right;

    const TickSpacing spacing = TickSpacingFor(in.scaleX);
    if (!spacing.valid)
        return out;
    const std::vector<double> values =
        TickValues(in.centreX, in.W / 2, in.scaleX, spacing.step, in.centreX + right / in.scaleX);
    int lastRight = -65535;
    for (double t : values) {
        const int px = PixelInt((t - in.centreX) * in.scaleX);
        if (!(px > 50 - in.W / 2 && (px < in.W / 2 - 50 || !in.shortenRight)))
            continue;
        TimeAxisTick tick;
        tick.px = px;
        if (out.dateRow)
            ClockTimeLabels(in.startTime, t, tick.label, tick.date);
        else
            tick.label = ElapsedTimeLabel(t);
        int tw = 0, th = 0;
        measure(tick.label, tw, th);
        const int lx = px - tw / 2;
        if (lx - lastRight > 10) {
            tick.labelled = true;
            tick.labelX = lx;
            lastRight = px + tw / 2;
        }
        out.ticks.push_back(tick);
    }
    return out;
}

ValueAxisLayout LayoutValueAxis(const ValueAxisInput& in, const TextMeasure& measure) {
    ValueAxisLayout out;
    out.x = ValueAxisColumn(in.align, in.W, in.centreX, in.scaleX, in.secondary);
    const TickSpacing spacing = TickSpacingFor(in.scale);
    if (!spacing.valid)
        return out;
    const int precision = in.secondary || spacing.n < 1 ? 1 : 0;
    const double half = in.H / 2;
    const std::vector<double> values =
        TickValues(in.centre, half, in.scale, spacing.step, in.centre + half / in.scale);
    int lastTop = 65536;
    for (double t : values) {
        const int py = PixelInt((in.centre - t) * in.scale);
        const bool inside =
            in.secondary ? py < in.H / 2 - 30 : py < in.H / 2 - in.bottomMargin && py > 30 - in.H / 2;
        if (!inside)
            continue;
        ValueAxisTick tick;
        tick.py = py;
        tick.label = FixedDigits(t, precision);
        int tw = 0, th = 0;
        measure(tick.label, tw, th);
        if (th / 2 + lastTop - py > 32) {
            tick.labelled = true;
            lastTop = py - th / 2;
        }
        out.ticks.push_back(tick);
    }
    return out;
}

// ---------------------------------------------------------------------------------------------
// Readouts and boxes

wxString LegendValueText(double value) {
    return wxS(" ") + FixedDigits(value, value < 30 ? 2 : 0) + wxS(" ");
}

wxString FixedText(double value) {
    return FixedDigits(value, 6);
}

wxString PrimaryMeasureText(double x, double y) {
    return FixedText(x) + wxS(" ") + FixedText(y);
}

wxString SecondaryMeasureText(double y) {
    return FixedText(y) + wxS(" ");
}

void LegendSize(const std::vector<int>& rowWidths, const std::vector<int>& rowHeights, int& width,
                int& height) {
    width = 20;
    for (int w : rowWidths) {
        if (w + 20 >= width)
            width = w + 25;
    }
    height = 5;
    for (int h : rowHeights)
        height += h;
    height += 5;
}

std::vector<wxString> SplitLines(const wxString& text) {
    std::vector<wxString> lines;
    size_t start = 0;
    while (true) {
        const size_t end = text.find(wxUniChar('\n'), start);
        if (end == wxString::npos) {
            lines.push_back(text.substr(start));
            break;
        }
        lines.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return lines;
}

void TextBoxSize(const wxString& text, const TextMeasure& measure, int& width, int& height,
                 std::vector<int>* lineHeights) {
    width = 10;
    height = 0;
    if (lineHeights)
        lineHeights->clear();
    bool visible = false;
    for (wxUniChar c : text) {
        if (c != wxUniChar('\n') && c != wxUniChar('\r')) {
            visible = true;
            break;
        }
    }
    if (!visible)
        return;
    int blockWidth = 0, blockHeight = 0;
    for (const wxString& line : SplitLines(text)) {
        int w = 0, h = 0;
        if (line.empty()) {
            // A blank line keeps the height of a line of text.
            measure(wxS(" "), w, h);
            w = 0;
        } else {
            measure(line, w, h);
        }
        blockWidth = std::max(blockWidth, w);
        blockHeight += h;
        if (lineHeights)
            lineHeights->push_back(h);
    }
    width = blockWidth + 10;
    height = blockHeight > 0 ? blockHeight + 10 : 0;
}

bool PlaceBox(BoxState& box, const PointerState& pointer, int W, int H, double& anchorX, double& anchorY) {
    // Drag step: only a pending pointer step moves the box, by exactly that step.
    const int px = pointer.leftX - W / 2, py = pointer.leftY - H / 2;
    const auto inside = [&box](int x, int y) {
        return x >= box.x && x <= box.x + box.width && y >= box.y && y <= box.y + box.height;
    };
    bool dragged = false;
    if ((pointer.dragDX != 0 || pointer.dragDY != 0) &&
        (inside(px, py) || inside(px + pointer.dragDX, py + pointer.dragDY))) {
        box.x -= pointer.dragDX;
        box.y -= pointer.dragDY;
        dragged = true;
    }
    anchorX = box.x;
    anchorY = box.y;
    // Resize step: keep the relative place.
    if (W != box.lastW || H != box.lastH) {
        if (box.lastW != 1 && box.lastW > 0)
            box.x = static_cast<int>(static_cast<long long>(W) * box.x / box.lastW);
        if (box.lastH != 1 && box.lastH > 0) {
            box.y = static_cast<int>(static_cast<long long>(H) * box.y / box.lastH);
            box.refX = box.x;
            box.refY = box.y;
        }
        box.lastW = W;
        box.lastH = H;
    }
    return dragged;
}

// ---------------------------------------------------------------------------------------------
// Series drawing

int ViewMargin(int penWidth) {
    return std::max(penWidth, 1) + 2;
}

StrokeBatcher::StrokeBatcher(int penWidth, Sink sink, std::size_t openBatches, std::size_t batchSize)
    : grow(std::max(penWidth, 1) / 2 + 2), sink(std::move(sink)), batchSize(batchSize), open(openBatches) {
    for (Batch& b : open)
        b.lines.reserve(batchSize);
}

void StrokeBatcher::Hand(Batch& b) {
    if (!b.lines.empty())
        sink(b.lines);
    b.lines.clear();
    b.right = b.left - 1;
}

void StrokeBatcher::Add(const Segment& s) {
    const int left = std::min(s.x1, s.x2) - grow, right = std::max(s.x1, s.x2) + grow;
    const int top = std::min(s.y1, s.y2) - grow, bottom = std::max(s.y1, s.y2) + grow;
    Batch* target = nullptr;
    Batch* fullest = &open.front();
    for (Batch& b : open) {
        if (b.lines.empty() || left > b.right || right < b.left || top > b.bottom || bottom < b.top) {
            target = &b;
            break;
        }
        if (b.lines.size() > fullest->lines.size())
            fullest = &b;
    }
    if (!target) {
        Hand(*fullest);
        target = fullest;
    }
    if (target->lines.empty()) {
        target->left = left;
        target->right = right;
        target->top = top;
        target->bottom = bottom;
    } else {
        target->left = std::min(target->left, left);
        target->right = std::max(target->right, right);
        target->top = std::min(target->top, top);
        target->bottom = std::max(target->bottom, bottom);
    }
    target->lines.push_back(s);
    if (target->lines.size() >= batchSize)
        Hand(*target);
}

void StrokeBatcher::Finish() {
    for (Batch& b : open)
        Hand(b);
}

SegmentBuilder::SegmentBuilder(int W, int H, int penWidth, std::vector<Segment>& out, bool mergeColumns)
    : left(-(W / 2) - ViewMargin(penWidth)),
      right(W - W / 2 + ViewMargin(penWidth)),
      top(-(H / 2) - ViewMargin(penWidth)),
      bottom(H - H / 2 + ViewMargin(penWidth)),
      out(out),
      merge(mergeColumns),
      halfWidth(std::max(penWidth, 1) / 2.0) {}

void SegmentBuilder::Add(double px, double py) {
    if (!std::isfinite(px) || !std::isfinite(py)) {
        Gap();
        return;
    }
    const double x = std::trunc(px), y = std::trunc(py);
    if (!merge) {
        if (hasPrev)
            Emit(prevX, prevY, x, y);
        else
            Emit(x, y, x, y);
        hasPrev = true;
        prevX = x;
        prevY = y;
        return;
    }
    if (open && x == colX) {
        colLow = std::min(colLow, y);
        colHigh = std::max(colHigh, y);
        colLast = y;
        return;
    }
    Flush();
    open = true;
    colX = x;
    colFirst = colLow = colHigh = colLast = y;
}

void SegmentBuilder::AddColumn(double px, double firstPy, double lowPy, double highPy, double lastPy) {
    if (!std::isfinite(px) || !std::isfinite(firstPy) || !std::isfinite(lowPy) || !std::isfinite(highPy) ||
        !std::isfinite(lastPy)) {
        Gap();
        return;
    }
    Flush();
    open = true;
    colX = std::trunc(px);
    colFirst = std::trunc(firstPy);
    colLow = std::trunc(lowPy);
    colHigh = std::trunc(highPy);
    colLast = std::trunc(lastPy);
    Flush();
}

void SegmentBuilder::Gap() {
    Flush();
    hasPrev = false;
}

void SegmentBuilder::Finish() {
    Flush();
}

void SegmentBuilder::Flush() {
    if (!open)
        return;
    if (!hasPrev) {
        Emit(colX, colFirst, colX, colFirst);
    } else {
        // Between neighbouring columns whose vertical lines overlap, a line that stays a pen
        // radius inside both of them covers only pixels those lines fill completely.
        const double lo = std::min(prevY, colFirst) - halfWidth, hi = std::max(prevY, colFirst) + halfWidth;
        const bool covered = std::fabs(colX - prevX) == 1 && lo >= std::max(prevLow, colLow) &&
                             hi <= std::min(prevHigh, colHigh);
        if (!covered)
            Emit(prevX, prevY, colX, colFirst);
    }
    if (colLow != colHigh) {
        // Every sample ends two lines, so the extremes of a column are capped at least twice when
        // each line is drawn; drawing the column line twice gives its anti-aliased ends the same
        // depth.
        Emit(colX, colLow, colX, colHigh);
        Emit(colX, colLow, colX, colHigh);
    }
    hasPrev = true;
    prevX = colX;
    prevY = colLast;
    prevLow = colLow;
    prevHigh = colHigh;
    open = false;
}

void SegmentBuilder::Emit(double x1, double y1, double x2, double y2) {
    if ((x1 < left && x2 < left) || (x1 > right && x2 > right) || (y1 < top && y2 < top) ||
        (y1 > bottom && y2 > bottom))
        return;
    if (!ClipToDrawable(x1, y1, x2, y2))
        return;
    // Ends that were not clipped are whole pixels already; clipped ones go to the nearest.
    out.push_back(Segment{static_cast<int>(std::lround(x1)), static_cast<int>(std::lround(y1)),
                          static_cast<int>(std::lround(x2)), static_cast<int>(std::lround(y2))});
}

namespace {

bool Drawable(double x, double y) {
    return std::fabs(x) <= kCoordinateLimit && std::fabs(y) <= kCoordinateLimit;
}

// Where the line from a (drawable) towards b leaves the square of drawable coordinates. Measured
// from a: the step b - a is as exact as b itself, and a small share of it lands within a fraction
// of a pixel of the true line.
void ExitTowards(double ax, double ay, double& bx, double& by) {
    const double dx = bx - ax, dy = by - ay;
    const double L = kCoordinateLimit;
    double s = 1;
    if (dx > 0)
        s = std::min(s, (L - ax) / dx);
    else if (dx < 0)
        s = std::min(s, (-L - ax) / dx);
    if (dy > 0)
        s = std::min(s, (L - ay) / dy);
    else if (dy < 0)
        s = std::min(s, (-L - ay) / dy);
    bx = std::clamp(ax + s * dx, -L, L);
    by = std::clamp(ay + s * dy, -L, L);
}

}  // namespace

bool ClipToDrawable(double& x1, double& y1, double& x2, double& y2) {
    if (!std::isfinite(x1) || !std::isfinite(y1) || !std::isfinite(x2) || !std::isfinite(y2))
        return false;
    const bool in1 = Drawable(x1, y1), in2 = Drawable(x2, y2);
    if (in1 && in2)
        return true;
    // One end on the drawable side: it stays exactly where it is, the other end moves along the
    // line to the border.
    if (in1) {
        ExitTowards(x1, y1, x2, y2);
        return true;
    }
    if (in2) {
        ExitTowards(x2, y2, x1, y1);
        return true;
    }
    // Both ends beyond: where the line crosses the square's edges, each crossing from the edge's
    // own coordinate and the slope (a line along an edge's direction stays exact; the ends are
    // known only to a millionth of their size, and what is drawn is as exact as they are).
    const double L = kCoordinateLimit;
    const double dx = x2 - x1, dy = y2 - y1;
    struct Crossing {
        double t, x, y;
    };
    std::vector<Crossing> found;
    found.reserve(4);
    for (double edge : {-L, L}) {
        if (dx != 0) {
            const double t = (edge - x1) / dx;
            const double y = y1 + (edge - x1) * (dy / dx);
            if (t >= 0 && t <= 1 && std::fabs(y) <= L)
                found.push_back({t, edge, y});
        }
        if (dy != 0) {
            const double t = (edge - y1) / dy;
            const double x = x1 + (edge - y1) * (dx / dy);
            if (t >= 0 && t <= 1 && std::fabs(x) <= L)
                found.push_back({t, x, edge});
        }
    }
    if (found.empty())
        return false;
    const auto [first, last] = std::minmax_element(
        found.begin(), found.end(), [](const Crossing& a, const Crossing& b) { return a.t < b.t; });
    x1 = first->x;
    y1 = first->y;
    x2 = last->x;
    y2 = last->y;
    return true;
}

bool DrawablePoint(double x, double y) {
    return std::isfinite(x) && std::isfinite(y) && Drawable(x, y);
}

void MinMaxPyramid::Clear() {
    mins.clear();
    maxs.clear();
}

void MinMaxPyramid::Build(const float* values, std::size_t n) {
    Clear();
    Grow(values, 0, n);
}

void MinMaxPyramid::Extend(const float* values, std::size_t oldN, std::size_t n) {
    if (oldN == 0 || n < oldN)
        Build(values, n);
    else
        Grow(values, oldN, n);
}

void MinMaxPyramid::Grow(const float* values, std::size_t oldN, std::size_t n) {
    // Level by level, every block that holds a changed entry of the level below is made again
    // (all of them on a level not there yet); a level is added while the level below has more
    // than two blocks' worth. The first changed entry of a level is the block that held the first
    // changed entry below it: a block that only gained entries may have gained a new extreme, and
    // so has the block above it, even when its own start lies before the old end.
    const float* lowSource = values;
    const float* highSource = values;
    std::size_t size = n, firstChanged = oldN;
    for (std::size_t level = 0; size > 2 * kBlock; ++level) {
        const std::size_t blocks = (size + kBlock - 1) / kBlock;
        const bool known = level < mins.size();
        const std::size_t first = known ? firstChanged / kBlock : 0;
        if (!known) {
            mins.emplace_back();
            maxs.emplace_back();
        }
        std::vector<float>& lo = mins[level];
        std::vector<float>& hi = maxs[level];
        lo.resize(blocks);
        hi.resize(blocks);
        for (std::size_t b = first; b < blocks; ++b) {
            const std::size_t begin = b * kBlock, end = std::min(size, begin + kBlock);
            float l = lowSource[begin], h = highSource[begin];
            for (std::size_t i = begin + 1; i < end; ++i) {
                l = std::min(l, lowSource[i]);
                h = std::max(h, highSource[i]);
            }
            lo[b] = l;
            hi[b] = h;
        }
        lowSource = lo.data();
        highSource = hi.data();
        firstChanged = first;
        size = blocks;
    }
}

void MinMaxPyramid::Query(const float* values, std::size_t i, std::size_t j, float& low, float& high) const {
    low = std::numeric_limits<float>::infinity();
    high = -std::numeric_limits<float>::infinity();
    const float* lowSource = values;
    const float* highSource = values;
    std::size_t level = 0;
    while (i < j) {
        if (j - i <= 2 * kBlock || level >= mins.size()) {
            for (std::size_t k = i; k < j; ++k) {
                low = std::min(low, lowSource[k]);
                high = std::max(high, highSource[k]);
            }
            return;
        }
        for (; i % kBlock != 0; ++i) {
            low = std::min(low, lowSource[i]);
            high = std::max(high, highSource[i]);
        }
        for (; j % kBlock != 0; --j) {
            low = std::min(low, lowSource[j - 1]);
            high = std::max(high, highSource[j - 1]);
        }
        i /= kBlock;
        j /= kBlock;
        lowSource = mins[level].data();
        highSource = maxs[level].data();
        ++level;
    }
}

namespace {

// First index in [begin, end) whose pixel column is above (or, with orEqual false, at least)
// column; xs sorted.
std::size_t FirstColumnPast(const float* xs, std::size_t begin, std::size_t end, const AxisMap& mapX,
                            double column, bool orEqual) {
    const float* found = std::partition_point(xs + begin, xs + end, [&](float x) {
        const double c = std::trunc(mapX(x));
        return orEqual ? c <= column : c < column;
    });
    return static_cast<std::size_t>(found - xs);
}

// The end of the samples from i on that fall into pixel column `column` (the column of xs[i]),
// xs sorted. The search starts where a column as long as the last one (`hint`, updated) would
// end, then gallops towards the true end: a few probes near one place for evenly spaced samples,
// however many a column holds (probes far apart cost the memory's wait each), and a logarithmic
// number for uneven ones.
std::size_t ColumnEnd(const float* xs, std::size_t i, std::size_t end, const AxisMap& mapX, double column,
                      std::size_t& hint) {
    const auto past = [&](std::size_t k) { return std::trunc(mapX(xs[k])) > column; };
    // The end lies in [lo, hi]: the sample before lo is in the column, the one at hi past it (or
    // hi is the end).
    std::size_t lo = i + 1, hi = end;
    const std::size_t guess = std::min(i + std::max<std::size_t>(hint, 1), end);
    if (guess < end && !past(guess)) {
        lo = guess + 1;
        for (std::size_t step = 1; lo < end; step *= 2) {
            const std::size_t probe = lo + step - 1;
            if (probe >= end)
                break;
            if (past(probe)) {
                hi = probe;
                break;
            }
            lo = probe + 1;
        }
    } else {
        hi = guess;
        for (std::size_t step = 1; hi > i + step; step *= 2) {
            const std::size_t probe = hi - step;
            if (!past(probe)) {
                lo = probe + 1;
                break;
            }
            hi = probe;
        }
    }
    const std::size_t j = FirstColumnPast(xs, lo, hi, mapX, column, true);
    hint = j - i;
    return j;
}

}  // namespace

void BuildContinuousSegments(const float* xs, const float* ys, std::size_t n, bool sortedFinite,
                             const MinMaxPyramid* pyramid, const AxisMap& mapX, const AxisMap& mapY, int W,
                             int H, int penWidth, bool mergeColumns, std::vector<Segment>& out) {
    SegmentBuilder builder(W, H, penWidth, out, mergeColumns);
    const int margin = ViewMargin(penWidth);
    const bool sorted = sortedFinite && !mapX.invert && mapX.scale > 0 && std::isfinite(mapX.scale) &&
                        std::isfinite(mapX.centre);
    std::size_t begin = 0, end = n;
    if (sorted) {
        // Visible samples, plus the one before and the one after for the lines leaving the view.
        const double leftColumn = -(W / 2) - margin, rightColumn = W - W / 2 + margin;
        begin = FirstColumnPast(xs, 0, n, mapX, leftColumn, false);
        if (begin > 0)
            --begin;
        end = FirstColumnPast(xs, begin, n, mapX, rightColumn, true);
        if (end < n)
            ++end;
    }
    if (!sorted || !mergeColumns || !pyramid) {
        for (std::size_t i = begin; i < end; ++i)
            builder.Add(mapX(xs[i]), mapY(ys[i]));
        builder.Finish();
        return;
    }

    std::size_t i = begin, hint = 1;
    while (i < end) {
        const double column = std::trunc(mapX(xs[i]));
        const std::size_t j = ColumnEnd(xs, i, end, mapX, column, hint);
        if (j - i == 1) {
            builder.Add(mapX(xs[i]), mapY(ys[i]));
        } else {
            float low = 0, high = 0;
            pyramid->Query(ys, i, j, low, high);
            const double a = mapY(low), b = mapY(high);
            builder.AddColumn(mapX(xs[i]), mapY(ys[i]), std::min(a, b), std::max(a, b), mapY(ys[j - 1]));
        }
        i = j;
    }
    builder.Finish();
}

void DotCounts::Reset(int W, int H, int penWidth) {
    const int margin = ViewMargin(penWidth);
    left = -(W / 2) - margin;
    top = -(H / 2) - margin;
    width = std::max(W - W / 2 + margin - left + 1, 0);
    height = std::max(H - H / 2 + margin - top + 1, 0);
    counts.assign(static_cast<std::size_t>(width) * height, 0);
}

void CountDots(const float* xs, const float* ys, std::size_t n, bool sortedFinite, const AxisMap& mapX,
               const AxisMap& mapY, int W, int H, int penWidth, DotCounts& out) {
    out.Reset(W, H, penWidth);
    const double left = out.left, right = out.left + out.width - 1;
    const double top = out.top, bottom = out.top + out.height - 1;
    std::size_t begin = 0, end = n;
    const bool sorted = sortedFinite && !mapX.invert && mapX.scale > 0 && std::isfinite(mapX.scale);
    if (sorted) {
        begin = FirstColumnPast(xs, 0, n, mapX, left, false);
        end = FirstColumnPast(xs, begin, n, mapX, right, true);
    }
    if (sorted && mapY.invert) {
        // Column by column: the samples of one pixel column found by a search from its first,
        // then only their rows worked out.
        const double cy = mapY.centre, sy = mapY.scale;
        const std::size_t stride = static_cast<std::size_t>(out.width);
        std::size_t hint = 1;
        for (std::size_t i = begin; i < end;) {
            const double column = std::trunc(mapX(xs[i]));
            const std::size_t j = ColumnEnd(xs, i, end, mapX, column, hint);
            std::uint32_t* counts = out.counts.data() + static_cast<std::size_t>(column - out.left);
            for (std::size_t k = i; k < j; ++k) {
                const double py = (cy - ys[k]) * sy;
                if (py > top - 1 && py < bottom + 1)
                    ++counts[static_cast<std::size_t>(static_cast<long>(py) - out.top) * stride];
            }
            i = j;
        }
        return;
    }
    // The axis maps written out: a pixel column c is truncated from (c - 1, c + 1), so the bounds
    // are checked before truncating; a sample that is not a number, or thrown beyond any range by
    // the zoom, fails them.
    const auto count = [&](auto flipX, auto flipY) {
        const double cx = mapX.centre, sx = mapX.scale, cy = mapY.centre, sy = mapY.scale;
        const std::size_t stride = static_cast<std::size_t>(out.width);
        std::uint32_t* counts = out.counts.data();
        for (std::size_t i = begin; i < end; ++i) {
            const double px = flipX ? (cx - xs[i]) * sx : (xs[i] - cx) * sx;
            const double py = flipY ? (cy - ys[i]) * sy : (ys[i] - cy) * sy;
            if (px > left - 1 && px < right + 1 && py > top - 1 && py < bottom + 1)
                ++counts[static_cast<std::size_t>(static_cast<long>(py) - out.top) * stride +
                         static_cast<std::size_t>(static_cast<long>(px) - out.left)];
        }
    };
    if (mapX.invert)
        mapY.invert ? count(std::true_type{}, std::true_type{}) : count(std::true_type{}, std::false_type{});
    else
        mapY.invert ? count(std::false_type{}, std::true_type{})
                    : count(std::false_type{}, std::false_type{});
}

void DotInk::Build(const DotCounts& dots, const DotStamp& stamp) {
    alpha.clear();
    width = height = stride = 0;
    if (dots.width <= 0 || dots.height <= 0 || stamp.width <= 0 || stamp.height <= 0)
        return;
    // Only the part of the view that holds dots.
    int firstX = dots.width, lastX = -1, firstY = dots.height, lastY = -1;
    for (int y = 0; y < dots.height; ++y) {
        const std::uint32_t* row = &dots.counts[static_cast<std::size_t>(y) * dots.width];
        int first = 0;
        while (first < dots.width && row[first] == 0)
            ++first;
        if (first == dots.width)
            continue;
        int last = dots.width - 1;
        while (row[last] == 0)
            --last;
        firstX = std::min(firstX, first);
        lastX = std::max(lastX, last);
        firstY = std::min(firstY, y);
        lastY = y;
    }
    if (lastX < 0)
        return;
    const int minX = dots.left + firstX, minY = dots.top + firstY;
    const int dotsWide = lastX - firstX + 1, dotsHigh = lastY - firstY + 1;
    const auto countAt = [&](int x, int y) {
        return dots
            .counts[static_cast<std::size_t>(y + firstY) * dots.width + static_cast<std::size_t>(x + firstX)];
    };
    // The logarithm of what lets through, summed over the dots.
    left = minX + stamp.left;
    top = minY + stamp.top;
    width = dotsWide + stamp.width - 1;
    height = dotsHigh + stamp.height - 1;
    // What one dot leaves, row by row: the logarithm of 1 - coverage. Rows padded with nothing
    // to whole groups of four, which the processor adds at once.
    using Four = float __attribute__((vector_size(16)));
    const int groups = (stamp.width + 3) / 4;
    std::vector<Four> leaves(static_cast<std::size_t>(groups) * stamp.height);
    for (int r = 0; r < stamp.height; ++r)
        for (int c = 0; c < stamp.width; ++c) {
            const std::uint8_t cover = stamp.coverage[static_cast<std::size_t>(r) * stamp.width + c];
            leaves[static_cast<std::size_t>(r) * groups + c / 4][c % 4] =
                cover >= 255 ? -1e30f : static_cast<float>(std::log1p(-cover / 255.0));
        }
    // Room for the padding beyond the last row's end.
    through.assign(static_cast<std::size_t>(width) * height + 4 * groups, 0.f);
    for (int y = 0; y < dotsHigh; ++y)
        for (int x = 0; x < dotsWide; ++x)
            if (const std::uint32_t n = countAt(x, y)) {
                const float times = static_cast<float>(n);
                const Four many = {times, times, times, times};
                for (int r = 0; r < stamp.height; ++r) {
                    float* at = &through[static_cast<std::size_t>(y + r) * width + x];
                    const Four* leave = &leaves[static_cast<std::size_t>(r) * groups];
                    for (int g = 0; g < groups; ++g) {
                        Four sum;
                        std::memcpy(&sum, at + 4 * g, sizeof sum);
                        sum += many * leave[g];
                        std::memcpy(at + 4 * g, &sum, sizeof sum);
                    }
                }
            }
    // Alpha from what is let through, 255 (1 - e^l), from a table fine enough to stay within a
    // level: the slope is at most 255 per unit of l.
    constexpr float kSteps = 1024.f;   // table entries per unit of l
    constexpr float kOpaque = 6.25f;  // lets through less than half a level: 255 after rounding
    static const std::vector<std::uint8_t> table = [] {
        std::vector<std::uint8_t> t(static_cast<std::size_t>(kOpaque * kSteps) + 2);
        for (std::size_t i = 0; i < t.size(); ++i)
            t[i] = static_cast<std::uint8_t>(std::lround(255.0 * (1.0 - std::exp(-(i + 0.5) / kSteps))));
        t[0] = 0;
        return t;
    }();
    stride = (width + 3) / 4 * 4;
    alpha.assign(static_cast<std::size_t>(stride) * height, 0);
    for (int y = 0; y < height; ++y) {
        const float* in = &through[static_cast<std::size_t>(y) * width];
        std::uint8_t* out = &alpha[static_cast<std::size_t>(y) * stride];
        for (int x = 0; x < width; ++x) {
            const float l = in[x];
            if (l < -kOpaque)
                out[x] = 255;
            else if (l < 0.f)
                out[x] = table[static_cast<std::size_t>(-l * kSteps) + 1];
        }
    }
}

}  // namespace plotmath

namespace plotmath {

namespace {

// a over b for coverages 0 ... 255, rounded as the drawing library rounds.
inline std::uint8_t Over(std::uint8_t below, std::uint8_t ink) {
    const unsigned t = static_cast<unsigned>(255 - below) * ink + 128;
    return static_cast<std::uint8_t>(below + (((t >> 8) + t) >> 8));
}

}  // namespace

VerticalStamp VerticalStamp::From(LineStamp line, int length) {
    VerticalStamp v;
    const int split = length / 2;
    const int row = split - line.top;
    if (line.width <= 0 || row < 1 || row + 1 >= line.height)
        return v;
    for (int r : {row - 1, row + 1})
        for (int x = 0; x < line.width; ++x)
            if (line.At(x, r) != line.At(x, row))
                return v;
    v.known = std::move(line);
    v.length = length;
    v.split = split;
    return v;
}

void LineInk::Reset(int boxLeft, int boxTop, int boxRight, int boxBottom) {
    left = boxLeft;
    top = boxTop;
    width = std::max(0, boxRight - boxLeft + 1);
    height = std::max(0, boxBottom - boxTop + 1);
    stride = (width + 3) / 4 * 4;
    alpha.assign(static_cast<std::size_t>(stride) * height, 0);
}

void LineInk::LayRows(const LineStamp& stamp, int x, int y, int firstRow, int endRow) {
    const int x0 = x + stamp.left - left;
    const int c0 = std::max(0, -x0), c1 = std::min(stamp.width, width - x0);
    if (c0 >= c1)
        return;
    firstRow = std::max(firstRow, top - y - stamp.top);
    endRow = std::min(endRow, top + height - y - stamp.top);
    for (int r = firstRow; r < endRow; ++r) {
        // Column c of the stamp lands on column x0 + c of the row (c0 keeps that inside it).
        std::uint8_t* out = alpha.data() + static_cast<std::size_t>(y + stamp.top + r - top) * stride;
        const std::uint8_t* in = &stamp.coverage[static_cast<std::size_t>(r) * stamp.width];
        for (int c = c0; c < c1; ++c)
            if (in[c])
                out[x0 + c] = Over(out[x0 + c], in[c]);
    }
}

void LineInk::Lay(const LineStamp& stamp, int x, int y) {
    LayRows(stamp, x, y, 0, stamp.height);
}

void LineInk::LayVertical(const VerticalStamp& stamp, int x, int y1, int y2) {
    const LineStamp& known = stamp.known;
    const int extra = (y2 - y1) - stamp.length;
    const int splitRow = stamp.split - known.top;
    // The upper end as the known line has it, the lower end moved down by what this line has
    // more, and the middle row repeated in between.
    LayRows(known, x, y1, 0, splitRow);
    LayRows(known, x, y1 + extra, splitRow, known.height);
    const int x0 = x + known.left - left;
    const int c0 = std::max(0, -x0), c1 = std::min(known.width, width - x0);
    const int first = std::max(y1 + stamp.split, top), last = std::min(y1 + stamp.split + extra, top + height);
    if (c0 >= c1)
        return;
    const std::uint8_t* in = &known.coverage[static_cast<std::size_t>(splitRow) * known.width];
    const bool opaque = std::all_of(in + c0, in + c1, [](std::uint8_t c) { return c == 0 || c == 255; });
    for (int py = first; py < last; ++py) {
        std::uint8_t* out = alpha.data() + static_cast<std::size_t>(py - top) * stride;
        if (opaque) {
            // A line on whole or half pixels covers its middle columns wholly: nothing below
            // shows through there.
            for (int c = c0; c < c1; ++c)
                out[x0 + c] |= in[c];
        } else {
            for (int c = c0; c < c1; ++c)
                if (in[c])
                    out[x0 + c] = Over(out[x0 + c], in[c]);
        }
    }
}

}  // namespace plotmath
