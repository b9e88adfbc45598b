#include "plot/layers.h"

#include "plot/plot_events.h"
#include "plot/plot_window.h"

#include <wx/bitmap.h>
#include <wx/dc.h>
#include <wx/dcmemory.h>
#include <wx/graphics.h>
#include <wx/image.h>

#include <cairo.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <map>
#include <tuple>
#include <unordered_map>

using plotmath::AxisMap;
using plotmath::PixelInt;

namespace {

plotmath::TextMeasure MeasureWith(wxDC& dc) {
    return [&dc](const wxString& text, int& width, int& height) {
        wxCoord w = 0, h = 0;
        dc.GetTextExtent(text, &w, &h);
        width = w;
        height = h;
    };
}

// A line in pixels relative to the chart centre, as far as the drawing library can hold it.
void DrawClippedLine(wxDC& dc, double x1, double y1, double x2, double y2) {
    if (plotmath::ClipToDrawable(x1, y1, x2, y2))
        dc.DrawLine(static_cast<int>(std::lround(x1)), static_cast<int>(std::lround(y1)),
                    static_cast<int>(std::lround(x2)), static_cast<int>(std::lround(y2)));
}

// Lines in the pen the DC holds, straight through the drawing library's context. One stroke per
// line costs the library its whole set-up each time, one stroke for thousands of crossing lines
// costs it more in finding the crossings, and lines that overlap within one stroke are inked once
// where separate strokes ink their anti-aliased edges twice. So the lines go out in small batches
// of lines that keep apart (their boxes, grown by the pen and a pixel, do not meet): such a batch
// inks exactly what its lines drawn one by one ink. A line drawn twice on purpose lands in two
// batches. The context must hold the pen already (the DC sets it up with its first line).
void StrokeBatched(cairo_t* cr, double offset, int penWidth, const plotmath::Segment* lines, std::size_t n) {
    if (n == 0)
        return;
    cairo_save(cr);
    cairo_translate(cr, offset, offset);
    plotmath::StrokeBatcher batches(penWidth, [&](const std::vector<plotmath::Segment>& batch) {
        cairo_new_path(cr);
        for (const plotmath::Segment& s : batch) {
            cairo_move_to(cr, s.x1, s.y1);
            cairo_line_to(cr, s.x2, s.y2);
        }
        cairo_stroke(cr);
    });
    for (std::size_t i = 0; i < n; ++i)
        batches.Add(lines[i]);
    batches.Finish();
    cairo_restore(cr);
}

// The first line goes through the DC, which sets the pen up on the library's context (colour,
// width, caps, joins, dashes); the others go straight to that context in the same pen, shifted by
// the half pixel the DC shifts its lines by.
void StrokeSegments(wxDC& dc, const std::vector<plotmath::Segment>& segments) {
    if (segments.empty())
        return;
    const plotmath::Segment& first = segments.front();
    dc.DrawLine(first.x1, first.y1, first.x2, first.y2);
    wxGraphicsContext* gc = dc.GetGraphicsContext();
    cairo_t* cr = gc ? static_cast<cairo_t*>(gc->GetNativeContext()) : nullptr;
    if (!cr || !dc.GetPen().IsNonTransparent()) {
        for (std::size_t i = 1; i < segments.size(); ++i)
            dc.DrawLine(segments[i].x1, segments[i].y1, segments[i].x2, segments[i].y2);
        return;
    }
    StrokeBatched(cr, gc->ShouldOffset() ? 0.5 : 0.0, dc.GetPen().GetWidth(), segments.data() + 1,
                  segments.size() - 1);
}

// Whether the DC draws through the drawing library at whole pixels (the window's buffer, a
// snapshot, an exported image): there what a line or dot inks can be laid on from a stamp.
cairo_t* WholePixelContext(wxDC& dc) {
    wxGraphicsContext* gc = dc.GetGraphicsContext();
    cairo_t* cr = gc ? static_cast<cairo_t*>(gc->GetNativeContext()) : nullptr;
    if (!cr)
        return nullptr;
    cairo_matrix_t m;
    cairo_get_matrix(cr, &m);
    if (m.xx != 1 || m.yy != 1 || m.xy != 0 || m.yx != 0 || m.x0 != std::floor(m.x0) ||
        m.y0 != std::floor(m.y0))
        return nullptr;
    return cr;
}

// How the context strokes a line: what a stamp of a line must be drawn with.
struct StrokeSetup {
    double width = 1, miter = 10, tolerance = 0.1, offset = 0;
    int cap = 0, join = 0, antialias = 0;
    auto Key() const { return std::tie(width, miter, tolerance, offset, cap, join, antialias); }
    bool operator<(const StrokeSetup& o) const { return Key() < o.Key(); }
};

StrokeSetup SetupOf(cairo_t* cr, double offset) {
    StrokeSetup s;
    s.width = cairo_get_line_width(cr);
    s.miter = cairo_get_miter_limit(cr);
    s.tolerance = cairo_get_tolerance(cr);
    s.offset = offset;
    s.cap = cairo_get_line_cap(cr);
    s.join = cairo_get_line_join(cr);
    s.antialias = cairo_get_antialias(cr);
    return s;
}

// One line from (0, 0) to (dx, dy) drawn alone in this setup and read back.
plotmath::LineStamp DrawLineStamp(const StrokeSetup& setup, int dx, int dy) {
    // A square cap's corner reaches out half the width times the square root of two; a pixel more
    // for the anti-aliasing.
    const int margin = static_cast<int>(std::ceil(setup.width * 0.75)) + 2;
    const int width = std::abs(dx) + 2 * margin + 1, height = std::abs(dy) + 2 * margin + 1;
    const int originX = margin + std::max(0, -dx), originY = margin + std::max(0, -dy);
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_A8, width, height);
    cairo_t* cr = cairo_create(surface);
    cairo_set_line_width(cr, setup.width);
    cairo_set_miter_limit(cr, setup.miter);
    cairo_set_tolerance(cr, setup.tolerance);
    cairo_set_line_cap(cr, static_cast<cairo_line_cap_t>(setup.cap));
    cairo_set_line_join(cr, static_cast<cairo_line_join_t>(setup.join));
    cairo_set_antialias(cr, static_cast<cairo_antialias_t>(setup.antialias));
    cairo_translate(cr, originX + setup.offset, originY + setup.offset);
    cairo_move_to(cr, 0, 0);
    cairo_line_to(cr, dx, dy);
    cairo_stroke(cr);
    cairo_destroy(cr);
    cairo_surface_flush(surface);
    const unsigned char* data = cairo_image_surface_get_data(surface);
    const int stride = cairo_image_surface_get_stride(surface);
    int minX = width, minY = height, maxX = -1, maxY = -1;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            if (data[y * stride + x]) {
                minX = std::min(minX, x);
                maxX = std::max(maxX, x);
                minY = std::min(minY, y);
                maxY = std::max(maxY, y);
            }
    plotmath::LineStamp stamp;
    if (maxX >= 0) {
        stamp.left = minX - originX;
        stamp.top = minY - originY;
        stamp.width = maxX - minX + 1;
        stamp.height = maxY - minY + 1;
        stamp.coverage.reserve(static_cast<std::size_t>(stamp.width) * stamp.height);
        for (int y = minY; y <= maxY; ++y)
            stamp.coverage.insert(stamp.coverage.end(), data + y * stride + minX, data + y * stride + maxX + 1);
    }
    cairo_surface_destroy(surface);
    return stamp;
}

// The stamps of one setup, drawn when first needed and kept between paints.
class LineStamps {
public:
    // Lines up to this long in each direction come from a stamp of their own.
    static constexpr int kShortSide = 24, kLongSide = 1024;

    explicit LineStamps(const StrokeSetup& setup) : setup(setup) {
        const int length = 2 * kShortSide;
        vertical = plotmath::VerticalStamp::From(DrawLineStamp(setup, 0, length), length);
    }
    // The stamp of a line that far from its first end to its second, or null for one too long.
    const plotmath::LineStamp* Of(int dx, int dy) {
        const int along = std::max(std::abs(dx), std::abs(dy)), across = std::min(std::abs(dx), std::abs(dy));
        if (along > kLongSide || across > kShortSide)
            return nullptr;
        const std::uint64_t key = (static_cast<std::uint64_t>(dx + 32768) << 16) | static_cast<std::uint64_t>(dy + 32768);
        if (auto found = byStep.find(key); found != byStep.end())
            return &found->second;
        if (bytes > kMaxBytes) {
            byStep.clear();
            bytes = 0;
        }
        plotmath::LineStamp& stamp = byStep.emplace(key, DrawLineStamp(setup, dx, dy)).first->second;
        bytes += stamp.coverage.size() + 64;
        return &stamp;
    }
    // Vertical lines longer than the short ones, or invalid.
    const plotmath::VerticalStamp& Vertical() const { return vertical; }

private:
    static constexpr std::size_t kMaxBytes = 32u << 20;
    StrokeSetup setup;
    plotmath::VerticalStamp vertical;
    std::unordered_map<std::uint64_t, plotmath::LineStamp> byStep;
    std::size_t bytes = 0;
};

// Lines of one solid, opaque pen laid onto the picture at once: each line's ink from the stamp of
// its shape, laid over the ink of the lines before it as the drawing library lays a stroke, and
// the sum drawn through one mask in the pen's colour. Lines too long for a stamp (a view zoomed
// in far) are stroked. False, and nothing drawn, where the DC does not draw at whole pixels
// through the drawing library (a printer) or for another pen.
bool InkLines(wxDC& dc, const wxPen& pen, const std::vector<plotmath::Segment>& segments, int W, int H) {
    cairo_t* cr = WholePixelContext(dc);
    const wxColour colour = pen.GetColour();
    if (!cr || segments.empty() || pen.GetStyle() != wxPENSTYLE_SOLID || !pen.IsNonTransparent() ||
        colour.Alpha() != wxALPHA_OPAQUE)
        return false;
    const plotmath::Segment& first = segments.front();
    dc.DrawLine(first.x1, first.y1, first.x2, first.y2);
    wxGraphicsContext* gc = dc.GetGraphicsContext();
    if (cairo_get_dash_count(cr) != 0) {
        for (std::size_t i = 1; i < segments.size(); ++i)
            dc.DrawLine(segments[i].x1, segments[i].y1, segments[i].x2, segments[i].y2);
        return true;
    }
    const double offset = gc->ShouldOffset() ? 0.5 : 0.0;
    static std::map<StrokeSetup, LineStamps> stampsBySetup;
    const StrokeSetup setup = SetupOf(cr, offset);
    auto found = stampsBySetup.find(setup);
    if (found == stampsBySetup.end())
        found = stampsBySetup.emplace(setup, LineStamps(setup)).first;
    LineStamps& stamps = found->second;

    // Only the part of the view the lines can reach.
    const int margin = plotmath::ViewMargin(pen.GetWidth()) + 2;
    int left = std::numeric_limits<int>::max(), top = left, right = std::numeric_limits<int>::min(), bottom = right;
    for (const plotmath::Segment& s : segments) {
        left = std::min({left, s.x1, s.x2});
        right = std::max({right, s.x1, s.x2});
        top = std::min({top, s.y1, s.y2});
        bottom = std::max({bottom, s.y1, s.y2});
    }
    static plotmath::LineInk ink;
    ink.Reset(std::max(left - margin, -(W / 2) - margin), std::max(top - margin, -(H / 2) - margin),
              std::min(right + margin, W - W / 2 + margin), std::min(bottom + margin, H - H / 2 + margin));
    std::vector<plotmath::Segment> stroked;
    bool laid = false;
    for (std::size_t i = 1; i < segments.size(); ++i) {
        plotmath::Segment s = segments[i];
        if (s.x2 < s.x1 || (s.x2 == s.x1 && s.y2 < s.y1)) {
            std::swap(s.x1, s.x2);
            std::swap(s.y1, s.y2);
        }
        const int dx = s.x2 - s.x1, dy = s.y2 - s.y1;
        if (dx == 0 && dy > stamps.Vertical().length && stamps.Vertical().Valid()) {
            ink.LayVertical(stamps.Vertical(), s.x1, s.y1, s.y2);
            laid = true;
        } else if (const plotmath::LineStamp* stamp = stamps.Of(dx, dy)) {
            ink.Lay(*stamp, s.x1, s.y1);
            laid = true;
        } else {
            stroked.push_back(s);
        }
    }
    if (laid && ink.width > 0 && ink.height > 0) {
        cairo_surface_t* mask = cairo_image_surface_create_for_data(ink.alpha.data(), CAIRO_FORMAT_A8, ink.width,
                                                                    ink.height, ink.stride);
        cairo_save(cr);
        cairo_set_operator(cr, CAIRO_OPERATOR_OVER);
        cairo_set_source_rgb(cr, colour.Red() / 255.0, colour.Green() / 255.0, colour.Blue() / 255.0);
        cairo_mask_surface(cr, mask, ink.left, ink.top);
        cairo_restore(cr);
        cairo_surface_destroy(mask);
    }
    StrokeBatched(cr, offset, pen.GetWidth(), stroked.data(), stroked.size());
    return true;
}

// What one dot of this pen inks, as the drawing library draws it: drawn once in black on white
// and read back.
const plotmath::DotStamp& DotStampOf(const wxPen& pen, bool wide) {
    static std::map<std::tuple<int, int, bool>, plotmath::DotStamp> stamps;
    const auto key = std::make_tuple(pen.GetWidth(), static_cast<int>(pen.GetCap()), wide);
    if (auto found = stamps.find(key); found != stamps.end())
        return found->second;
    const int size = 2 * pen.GetWidth() + 9, centre = size / 2;
    wxBitmap bitmap(size, size, 24);
    {
        wxMemoryDC dc(bitmap);
        dc.SetBackground(*wxWHITE_BRUSH);
        dc.Clear();
        wxPen black(pen);
        black.SetColour(*wxBLACK);
        dc.SetPen(black);
        if (wide)
            dc.DrawLine(centre, centre, centre, centre);
        else
            dc.DrawPoint(centre, centre);
    }
    const wxImage image = bitmap.ConvertToImage();
    int minX = size, minY = size, maxX = -1, maxY = -1;
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x)
            if (image.GetRed(x, y) < 255) {
                minX = std::min(minX, x);
                maxX = std::max(maxX, x);
                minY = std::min(minY, y);
                maxY = std::max(maxY, y);
            }
    plotmath::DotStamp stamp;
    if (maxX >= 0) {
        stamp.left = minX - centre;
        stamp.top = minY - centre;
        stamp.width = maxX - minX + 1;
        stamp.height = maxY - minY + 1;
        for (int y = minY; y <= maxY; ++y)
            for (int x = minX; x <= maxX; ++x)
                stamp.coverage.push_back(static_cast<std::uint8_t>(255 - image.GetRed(x, y)));
    }
    return stamps.emplace(key, std::move(stamp)).first->second;
}

// Dots of one pen, laid onto the picture at once through their summed ink. Only where the DC
// draws through the drawing library at whole pixels (the screen and its buffer); elsewhere, and
// for a pen with a pattern, false and nothing drawn.
bool InkDots(wxDC& dc, const wxPen& pen, bool wide, const plotmath::DotCounts& dots) {
    cairo_t* cr = WholePixelContext(dc);
    if (!cr || pen.GetStyle() != wxPENSTYLE_SOLID || !pen.IsNonTransparent())
        return false;
    const plotmath::DotStamp& stamp = DotStampOf(pen, wide);
    static plotmath::DotInk ink;
    ink.Build(dots, stamp);
    if (ink.alpha.empty())
        return true;
    cairo_surface_t* mask = cairo_image_surface_create_for_data(ink.alpha.data(), CAIRO_FORMAT_A8, ink.width,
                                                                ink.height, ink.stride);
    const wxColour colour = pen.GetColour();
    cairo_save(cr);
    cairo_set_operator(cr, CAIRO_OPERATOR_OVER);
    cairo_set_source_rgba(cr, colour.Red() / 255.0, colour.Green() / 255.0, colour.Blue() / 255.0,
                          colour.Alpha() / 255.0);
    cairo_mask_surface(cr, mask, ink.left, ink.top);
    cairo_restore(cr);
    cairo_surface_destroy(mask);
    return true;
}

// The measuring cross-hair: a vertical line at the click column, a horizontal one at the sample.
void DrawCrossHair(wxDC& dc, int W, int H, int column, double row) {
    dc.SetPen(*wxGREY_PEN);
    DrawClippedLine(dc, column, -W / 2, column, W / 2);
    DrawClippedLine(dc, -H, std::trunc(row), H, std::trunc(row));
}

// The marker square; one far outside the view is not drawn at all.
void DrawMarker(wxDC& dc, int x, int y) {
    if (plotmath::DrawablePoint(x - 5, y - 5) && plotmath::DrawablePoint(x + 5, y + 5))
        dc.DrawRectangle(x - 5, y - 5, 10, 10);
}

void SendMeasure(mpWindow& window, wxObject* series, const wxString& text, int which) {
    wxCommandEvent event(zpmEVT_PLOT_MEASURE, wxID_ANY);
    event.SetEventObject(series);
    event.SetString(text);
    event.SetInt(which);
    window.ProcessWindowEvent(event);
}

}  // namespace

mpLayer::mpLayer(LayerKind kind) : font(*wxNORMAL_FONT), pen(*wxBLACK_PEN), kind(kind) {}

// ---------------------------------------------------------------------------------------------
// Samples

void SeriesSamples::Set(ColumnRef newXs, ColumnRef newYs, ColumnRef newExtras) {
    xs = newXs ? std::move(newXs) : CopiedColumn({});
    ys = newYs ? std::move(newYs) : CopiedColumn({});
    extras = std::move(newExtras);
    extent = plotmath::Extent{};
    // A sample needs both values; a longer vector's tail is not drawn and not measured.
    const std::size_t n = Count();
    float lo = 0, hi = 0;
    const bool anyX = n == xs->Size() ? xs->Range(lo, hi) : plotmath::FiniteValueRange(xs->Data(), n, lo, hi);
    if (anyX) {
        extent.minX = lo - 0.5;
        extent.maxX = hi + 0.5;
    }
    const bool anyY = n == ys->Size() ? ys->Range(lo, hi) : plotmath::FiniteValueRange(ys->Data(), n, lo, hi);
    if (anyY) {
        extent.minY = lo - 0.5;
        extent.maxY = hi + 0.5;
    }
}

std::size_t SeriesSamples::Count() const {
    return std::min(xs->Size(), ys->Size());
}

bool SeriesSamples::At(int index, double& x, double& y, double& extra) const {
    if (index < 0 || static_cast<std::size_t>(index) >= Count())
        return false;
    x = xs->At(index);
    y = ys->At(index);
    extra = extras && static_cast<std::size_t>(index) < extras->Size() ? extras->At(index) : -1.0;
    return true;
}

bool SeriesSamples::Next(double& x, double& y) {
    if (cursor >= Count())
        return false;
    x = xs->At(cursor);
    y = ys->At(cursor);
    ++cursor;
    return true;
}

bool SeriesSamples::FindNearest(double x, double& outX, double& outY, double& outExtra) {
    if (Count() == 0)
        return false;
    const std::size_t index = plotmath::NearestIndex(xs->Data(), Count(), x, xs->Sorted());
    cursor =
        static_cast<unsigned int>(std::min<std::size_t>(Count(), std::numeric_limits<unsigned int>::max()));
    return At(static_cast<int>(index), outX, outY, outExtra);
}

void SeriesSamples::Segments(const AxisMap& mapX, const AxisMap& mapY, int W, int H, int penWidth,
                             bool mergeColumns, std::vector<plotmath::Segment>& out) const {
    // The quick path needs x in order and every y finite, as the extremes of y are then kept.
    const plotmath::MinMaxPyramid* extremes = ys->Extremes();
    plotmath::BuildContinuousSegments(xs->Data(), ys->Data(), Count(), xs->Sorted() && extremes, extremes, mapX,
                                      mapY, W, H, penWidth, mergeColumns, out);
}

void SeriesSamples::Dots(const AxisMap& mapX, const AxisMap& mapY, int W, int H, int penWidth,
                         plotmath::DotCounts& out) const {
    plotmath::CountDots(xs->Data(), ys->Data(), Count(), xs->Sorted(), mapX, mapY, W, H, penWidth, out);
}

// ---------------------------------------------------------------------------------------------
// Series shape

bool mpSeriesShape::FindNearest(double x, double& outX, double& outY, double& outExtra) {
    Rewind();
    double px = 0, py = 0;
    bool found = false;
    double best = std::numeric_limits<double>::infinity();
    while (NextPoint(px, py)) {
        const double d = std::fabs(x - px);
        if (d < best) {  // the first of equally near samples stays
            found = true;
            best = d;
            outX = px;
            outY = py;
        }
    }
    outExtra = -1;
    return found;
}

void mpSeriesShape::CollectSegments(const AxisMap& mapX, const AxisMap& mapY, int W, int H, int penWidth,
                                    bool mergeColumns, std::vector<plotmath::Segment>& out) {
    plotmath::SegmentBuilder builder(W, H, penWidth, out, mergeColumns);
    Rewind();
    double x = 0, y = 0;
    while (NextPoint(x, y))
        builder.Add(mapX(x), mapY(y));
    builder.Finish();
}

void mpSeriesShape::CollectDots(const AxisMap& mapX, const AxisMap& mapY, int W, int H, int penWidth,
                                plotmath::DotCounts& out) {
    Rewind();
    double x = 0, y = 0;
    out.Reset(W, H, penWidth);
    const double left = out.left, right = out.left + out.width - 1;
    const double top = out.top, bottom = out.top + out.height - 1;
    while (NextPoint(x, y)) {
        const double px = std::trunc(mapX(x)), py = std::trunc(mapY(y));
        if (px >= left && px <= right && py >= top && py <= bottom)
            ++out.counts[static_cast<std::size_t>(py - top) * out.width +
                         static_cast<std::size_t>(px - left)];
    }
}

void mpSeriesShape::DrawShape(wxDC& dc, const wxPen& pen, bool continuous, const AxisMap& mapX,
                              const AxisMap& mapY, int W, int H) {
    const bool wide = pen.GetWidth() > 1;
    if (!reduced) {
        // Every sample as it comes, each line on its own and clipped only to what the drawing
        // library holds: the reference the reduced drawing must match. A sample that is not a
        // number breaks the line.
        Rewind();
        double x = 0, y = 0;
        bool open = false;
        double lastX = 0, lastY = 0;
        while (NextPoint(x, y)) {
            const double px = std::trunc(mapX(x)), py = std::trunc(mapY(y));
            if (!std::isfinite(px) || !std::isfinite(py)) {
                open = false;
                continue;
            }
            if (continuous)
                DrawClippedLine(dc, open ? lastX : px, open ? lastY : py, px, py);
            else if (plotmath::DrawablePoint(px, py)) {
                if (wide)
                    dc.DrawLine(static_cast<int>(px), static_cast<int>(py), static_cast<int>(px),
                                static_cast<int>(py));
                else
                    dc.DrawPoint(static_cast<int>(px), static_cast<int>(py));
            }
            lastX = px;
            lastY = py;
            open = true;
        }
        return;
    }
    const int penWidth = pen.GetWidth();
    if (continuous) {
        std::vector<plotmath::Segment> segments;
        CollectSegments(mapX, mapY, W, H, penWidth, pen.GetStyle() == wxPENSTYLE_SOLID, segments);
        if (!InkLines(dc, pen, segments, W, H))
            StrokeSegments(dc, segments);
    } else {
        // Kept between paints: the counts cover the whole view.
        static plotmath::DotCounts dots;
        CollectDots(mapX, mapY, W, H, penWidth, dots);
        if (InkDots(dc, pen, wide, dots))
            return;
        // Elsewhere (a printer) each dotted pixel as often as it is dotted, up to where more
        // change nothing.
        for (int y = dots.top; y < dots.top + dots.height; ++y)
            for (int x = dots.left; x < dots.left + dots.width; ++x)
                for (std::uint32_t k = std::min(dots.At(x, y), plotmath::kSaturatingDots); k > 0; --k) {
                    if (wide)
                        dc.DrawLine(x, y, x, y);
                    else
                        dc.DrawPoint(x, y);
                }
    }
}

// ---------------------------------------------------------------------------------------------
// Primary series

mpFXY::mpFXY(const wxString& name, int labelCorner)
    : mpLayer(LayerKind::PrimarySeries), labelCorner(labelCorner) {
    SetName(name);
}

void mpFXY::Draw(wxDC& dc, mpWindow& window) {
    dc.SetPen(pen);
    Rewind();
    if (!visible)
        return;
    const int W = window.GetPlotWidth(), H = window.GetPlotHeight();
    const AxisMap mapX{window.GetCentreX(), window.GetScaleX(), false};
    const AxisMap mapY{window.GetCentreY(), window.GetScaleY(), true};
    DrawShape(dc, pen, continuous, mapX, mapY, W, H);

    if (continuous) {
        if (!auxiliaryLine)
            dc.DrawLine(55 - W / 2, 22 - H / 2, 75 - W / 2, 22 - H / 2);
        else if (!hideSample)
            dc.DrawLine(55 - W / 2, 10 - H / 2, 75 - W / 2, 10 - H / 2);
    }

    if (!name.empty()) {
        wxFont textFont(font);
        textFont.SetPointSize(11);
        dc.SetFont(textFont);
        wxCoord tw = 0, th = 0;
        dc.GetTextExtent(name, &tw, &th);
        switch (labelCorner & 3) {
            case 0:
                dc.DrawText(name, 10 - tw / 2, 6 - H / 2);
                break;
            case 1:
                dc.DrawText(name, 8 - W / 2, 6 - H / 2);
                break;
            case 2:
                dc.DrawText(name, 8 - W / 2, H / 2 - th - 6);
                break;
            default:
                dc.DrawText(name, W / 2 - tw - 8, H / 2 - th - 6);
                break;
        }
        if (!subtitleLabel.empty()) {
            textFont.SetPointSize(10);
            dc.SetFont(textFont);
            dc.GetTextExtent(subtitleLabel, &tw, &th);
            dc.DrawText(subtitleLabel, 10 - tw / 2, 20 - H / 2);
        }
        if (!footerLabel.empty()) {
            textFont.SetPointSize(8);
            dc.SetFont(textFont);
            dc.GetTextExtent(footerLabel, &tw, &th);
            dc.DrawText(footerLabel, 60 - W / 2, H / 2 - th);
        }
    }

    if (!auxiliaryLine && window.GetMeasureMode1()) {
        Rewind();
        const int d = window.GetLeftX() - W / 2;
        const double x = window.GetCentreX() + d / window.GetScaleX();
        double sx = 0, sy = 0, se = 0;
        if (FindNearest(x, sx, sy, se)) {
            const double row = (window.GetCentreY() - sy) * window.GetScaleY();
            const int py = PixelInt(row);
            DrawCrossHair(dc, W, H, d, row);
            markerValue1 = sy;
            markerValue2 = se;
            markerX = d;
            markerY = py;
            hasMarker = true;
            SendMeasure(window, this, plotmath::PrimaryMeasureText(sx, sy), 1);
        }
    }
    if (hasMarker)
        DrawMarker(dc, markerX, markerY);
}

// ---------------------------------------------------------------------------------------------
// Secondary series

mpFXYVext::mpFXYVext(const wxString& name, void* owner) : mpLayer(LayerKind::SecondarySeries), owner(owner) {
    SetName(name);
}

void mpFXYVext::Draw(wxDC& dc, mpWindow& window) {
    // Drawn whatever its visibility says; only the legend leaves an invisible one out.
    dc.SetPen(pen);
    Rewind();
    const int W = window.GetPlotWidth(), H = window.GetPlotHeight();
    const AxisMap mapX{window.GetCentreX(), window.GetScaleX(), false};
    const AxisMap mapY{window.GetCentreY2(), window.GetScaleY2(), true};
    DrawShape(dc, pen, continuous, mapX, mapY, W, H);

    if (continuous)
        dc.DrawLine(55 - W / 2, 35 - H / 2, 75 - W / 2, 35 - H / 2);

    if (window.GetMeasureMode2()) {
        Rewind();
        const int d = window.GetLeftX() - W / 2;
        const double x = window.GetCentreX() + d / window.GetScaleX();
        double sx = 0, sy = 0, se = 0;
        if (FindNearest(x, sx, sy, se)) {
            const double row = (window.GetCentreY2() - sy) * window.GetScaleY2();
            const int py = PixelInt(row);
            DrawCrossHair(dc, W, H, d, row);
            markerValue1 = sy;
            markerX = d;
            markerY = py;
            hasMarker = true;
            SendMeasure(window, this, plotmath::SecondaryMeasureText(sy), 2);
        }
    }
    if (hasMarker)
        DrawMarker(dc, markerX, markerY);
}

// ---------------------------------------------------------------------------------------------
// Vector series

template <class Axis>
void mpVectorSeries<Axis>::SetData(const std::vector<float>& xs, const std::vector<float>& ys) {
    samples.Set(CopiedColumn(xs, false), CopiedColumn(ys));
}

template <class Axis>
void mpVectorSeries<Axis>::SetDataWithFloor(const std::vector<float>& xs, const std::vector<float>& ys,
                                            double floorY) {
    SetData(xs, ys);
    samples.SetFloor(floorY);
}

template <class Axis>
void mpVectorSeries<Axis>::SetDataWithExtra(const std::vector<float>& xs, const std::vector<float>& ys,
                                            const std::vector<float>& extras, double floorY) {
    samples.Set(CopiedColumn(xs, false), CopiedColumn(ys), CopiedColumn(extras, false));
    samples.SetFloor(floorY);
}

template <class Axis>
void mpVectorSeries<Axis>::ShareData(ColumnRef xs, ColumnRef ys) {
    samples.Set(std::move(xs), std::move(ys));
}

template <class Axis>
void mpVectorSeries<Axis>::ShareDataWithFloor(ColumnRef xs, ColumnRef ys, double floorY) {
    samples.Set(std::move(xs), std::move(ys));
    samples.SetFloor(floorY);
}

template <class Axis>
void mpVectorSeries<Axis>::ShareDataWithExtra(ColumnRef xs, ColumnRef ys, ColumnRef extras, double floorY) {
    samples.Set(std::move(xs), std::move(ys), std::move(extras));
    samples.SetFloor(floorY);
}

template class mpVectorSeries<mpFXY>;
template class mpVectorSeries<mpFXYVext>;

// ---------------------------------------------------------------------------------------------
// Info boxes

mpInfoLayer::mpInfoLayer() : mpLayer(LayerKind::InfoBox), brush(*wxTRANSPARENT_BRUSH) {
    box.x = box.y = 0;
    box.width = box.height = 1;
}

mpInfoLayer::mpInfoLayer(int x, int y, int width, int height, const wxBrush& brush)
    : mpLayer(LayerKind::InfoBox), brush(brush) {
    box.x = box.refX = x;
    box.y = box.refY = y;
    box.width = width;
    box.height = height;
}

bool mpInfoLayer::Contains(const wxPoint& point) const {
    return GetRect().Contains(point);
}

void mpInfoLayer::Move(int dx, int dy) {
    box.x = box.refX + dx;
    box.y = box.refY + dy;
}

void mpInfoLayer::UpdateReference() {
    box.refX = box.x;
    box.refY = box.y;
}

void mpInfoLayer::Place(mpWindow& window, Anchor anchor) {
    const int W = window.GetPlotWidth(), H = window.GetPlotHeight();
    plotmath::PointerState pointer;
    if (anchor != Anchor::None) {
        pointer.leftX = window.GetLeftX();
        pointer.leftY = window.GetLeftY();
        pointer.dragDX = window.GetLeftDragDX();
        pointer.dragDY = window.GetLeftDragDY();
    }
    double ax = 0, ay = 0;
    dragged = plotmath::PlaceBox(box, pointer, W, H, ax, ay);
    if (anchor == Anchor::Legend)
        window.SetLegendAnchor(ax, ay);
    else if (anchor == Anchor::TextBox)
        window.SetTextBoxAnchor(ax, ay);
}

void mpInfoLayer::Draw(wxDC& dc, mpWindow& window) {
    if (!visible)
        return;
    Place(window, Anchor::None);
    dc.SetPen(pen);
    dc.SetBrush(brush);
    dc.DrawRectangle(box.x, box.y, box.width, box.height);
}

mpInfoLegend::mpInfoLegend() = default;

mpInfoLegend::mpInfoLegend(int x, int y, int width, int height, const wxBrush& brush)
    : mpInfoLayer(x, y, width, height, brush) {
    box.x = box.refX = 0;
    box.y = box.refY = 0;
}

void mpInfoLegend::Draw(wxDC& dc, mpWindow& window) {
    if (!visible)
        return;
    const int W = window.GetPlotWidth(), H = window.GetPlotHeight();
    if (!started && W > 0 && H > 0) {
        // The first draw on a shown window: right of the value axis, below the samples' captions.
        started = true;
        box.x = box.refX = 60 - W / 2;
        box.y = box.refY = 45 - H / 2;
    }
    Place(window, Anchor::Legend);
    dc.SetBrush(brush);
    dc.SetFont(font);

    const std::vector<Row> rows = Rows(window);
    std::vector<int> widths, heights;
    for (const Row& row : rows) {
        wxCoord w = 0, h = 0;
        dc.GetTextExtent(row.text, &w, &h);
        widths.push_back(w);
        heights.push_back(h);
    }
    plotmath::LegendSize(widths, heights, box.width, box.height);
    if (rows.empty())
        return;

    dc.SetPen(pen);
    dc.SetBrush(*wxLIGHT_GREY_BRUSH);
    dc.DrawRectangle(box.x, box.y, box.width, box.height);
    for (std::size_t n = 0; n < rows.size(); ++n) {
        const int h = heights[n];
        const int top = box.y + static_cast<int>(n) * h;
        dc.SetPen(rows[n].series->GetPen());
        dc.DrawLine(box.x + 5, top + h / 2 + 5, box.x + 15, top + h / 2 + 5);
        dc.DrawText(rows[n].text, box.x + 20, top + 5);
    }
}

std::vector<mpInfoLegend::Row> mpInfoLegend::Rows(const mpWindow& window) {
    std::vector<Row> rows;
    for (const mpLayer* layer : window.Layers()) {
        const LayerKind k = layer->GetKind();
        if ((k != LayerKind::PrimarySeries && k != LayerKind::SecondarySeries) || !layer->IsVisible() ||
            !layer->HasMarker())
            continue;
        rows.push_back({layer->GetValuePrefix1() + plotmath::LegendValueText(layer->GetMarkerValue1()) +
                            layer->GetValueSuffix1(),
                        layer});
        if (layer->GetMarkerValue2() > 0)
            rows.push_back({layer->GetValuePrefix2() + plotmath::LegendValueText(layer->GetMarkerValue2()) +
                                layer->GetValueSuffix2(),
                            layer});
    }
    return rows;
}

mpInfoTextBox::mpInfoTextBox() = default;

mpInfoTextBox::mpInfoTextBox(int x, int y, int width, int height, const wxBrush& brush)
    : mpInfoLayer(x, y, width, height, brush) {
    box.x = box.refX = -50;
    box.y = box.refY = -50;
}

void mpInfoTextBox::SetTextBoxPosition(mpWindow& window, int x, int y) {
    if (placed && x == placedX && y == placedY)
        return;
    placed = true;
    placedX = x;
    placedY = y;
    const int halfW = window.GetPlotWidth() / 2, halfH = window.GetPlotHeight() / 2;
    box.x = std::clamp(x, -halfW, std::max(halfW, -halfW));
    box.y = std::clamp(y, -halfH, std::max(halfH, -halfH));
}

void mpInfoTextBox::Draw(wxDC& dc, mpWindow& window) {
    if (!visible)
        return;
    Place(window, Anchor::TextBox);
    dc.SetBrush(brush);
    dc.SetFont(font);

    std::vector<int> lineHeights;
    int width = 0, height = 0;
    plotmath::TextBoxSize(text, MeasureWith(dc), width, height, &lineHeights);
    box.width = width;
    if (height == 0)
        return;
    box.height = height;
    // The whole box in view: one that would reach past the right or bottom edge is moved in (its
    // left and top edges stay in view before all). The record's own place for it changes only
    // when the user drags it.
    const int W = window.GetPlotWidth(), H = window.GetPlotHeight();
    box.x = std::max(std::min(box.x, W - W / 2 - box.width - 1), -(W / 2));
    box.y = std::max(std::min(box.y, H - H / 2 - box.height - 1), -(H / 2));
    if (dragged) {
        // The user's place for it, which the record stores and the next load gives back.
        placed = true;
        placedX = box.x;
        placedY = box.y;
    }

    dc.SetPen(pen);
    dc.SetBrush(*wxLIGHT_GREY_BRUSH);
    dc.DrawRectangle(box.x, box.y, box.width, box.height);
    const std::vector<wxString> lines = plotmath::SplitLines(text);
    int above = 0;
    for (std::size_t i = 0; i < lines.size() && i < lineHeights.size(); ++i) {
        dc.DrawText(lines[i], box.x + 5, box.y + 5 + above);
        above += lineHeights[i];
    }

    wxCommandEvent event(zpmEVT_PLOT_TEXTBOX, wxID_ANY);
    event.SetEventObject(this);
    window.ProcessWindowEvent(event);
}
