#include "plot/series_ink.h"

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

namespace {

// The smallest box holding every inked pixel of a width × height picture; maxX < 0 when none is.
struct InkBox {
    int minX, minY, maxX = -1, maxY = -1;
};
template <class Inked>
InkBox InkBoxOf(int width, int height, Inked inked) {
    InkBox box{width, height};
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            if (inked(x, y)) {
                box.minX = std::min(box.minX, x);
                box.maxX = std::max(box.maxX, x);
                box.minY = std::min(box.minY, y);
                box.maxY = std::max(box.maxY, y);
            }
    return box;
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
    const auto [minX, minY, maxX, maxY] =
        InkBoxOf(width, height, [&](int x, int y) { return data[y * stride + x] != 0; });
    plotmath::LineStamp stamp;
    if (maxX >= 0) {
        stamp.left = minX - originX;
        stamp.top = minY - originY;
        stamp.width = maxX - minX + 1;
        stamp.height = maxY - minY + 1;
        stamp.coverage.reserve(static_cast<std::size_t>(stamp.width) * stamp.height);
        for (int y = minY; y <= maxY; ++y)
            stamp.coverage.insert(stamp.coverage.end(), data + y * stride + minX,
                                  data + y * stride + maxX + 1);
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
        const std::uint64_t key =
            (static_cast<std::uint64_t>(dx + 32768) << 16) | static_cast<std::uint64_t>(dy + 32768);
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
    static constexpr std::size_t kMaxBytes = 8u << 20;
    StrokeSetup setup;
    plotmath::VerticalStamp vertical;
    std::unordered_map<std::uint64_t, plotmath::LineStamp> byStep;
    std::size_t bytes = 0;
};

// What the window keeps between paints: the stamps of a few pens, and the buffers the ink of the
// lines and dots is summed in (a fresh one costs its pages on every paint).
constexpr std::size_t kSetups = 8, kDotPens = 16;

}  // namespace

struct SeriesInk::Kept {
    std::map<StrokeSetup, LineStamps> lineStamps;  // at most kSetups, each at most 8 MiB
    plotmath::LineInk lineInk;
    std::map<std::tuple<int, int, bool>, plotmath::DotStamp> dotStamps;  // at most kDotPens
    plotmath::DotInk dotInk;
};

namespace {

using Kept = SeriesInk::Kept;

// Lines of one solid, opaque pen laid onto the picture at once: each line's ink from the stamp of
// its shape, laid over the ink of the lines before it as the drawing library lays a stroke, and
// the sum drawn through one mask in the pen's colour. Lines too long for a stamp (a view zoomed
// in far) are stroked. False, and nothing drawn, where the DC does not draw at whole pixels
// through the drawing library (a printer) or for another pen.
bool InkLines(Kept& kept, wxDC& dc, const wxPen& pen, const std::vector<plotmath::Segment>& segments, int W,
              int H) {
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
    const StrokeSetup setup = SetupOf(cr, offset);
    auto found = kept.lineStamps.find(setup);
    if (found == kept.lineStamps.end()) {
        // A few pens' stamps at a time (the chart has four series pens and the target line's).
        if (kept.lineStamps.size() >= kSetups)
            kept.lineStamps.clear();
        found = kept.lineStamps.emplace(setup, LineStamps(setup)).first;
    }
    LineStamps& stamps = found->second;

    // Only the part of the view the lines can reach.
    const int margin = plotmath::ViewMargin(pen.GetWidth()) + 2;
    int left = std::numeric_limits<int>::max(), top = left, right = std::numeric_limits<int>::min(),
        bottom = right;
    for (const plotmath::Segment& s : segments) {
        left = std::min({left, s.x1, s.x2});
        right = std::max({right, s.x1, s.x2});
        top = std::min({top, s.y1, s.y2});
        bottom = std::max({bottom, s.y1, s.y2});
    }
    plotmath::LineInk& ink = kept.lineInk;
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
        cairo_surface_t* mask = cairo_image_surface_create_for_data(ink.alpha.data(), CAIRO_FORMAT_A8,
                                                                    ink.width, ink.height, ink.stride);
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
const plotmath::DotStamp& DotStampOf(Kept& kept, const wxPen& pen, bool wide) {
    auto& stamps = kept.dotStamps;
    if (stamps.size() >= kDotPens)
        stamps.clear();
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
    const auto [minX, minY, maxX, maxY] =
        InkBoxOf(size, size, [&](int x, int y) { return image.GetRed(x, y) < 255; });
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
bool InkDots(Kept& kept, wxDC& dc, const wxPen& pen, bool wide, const plotmath::DotCounts& dots) {
    cairo_t* cr = WholePixelContext(dc);
    if (!cr || pen.GetStyle() != wxPENSTYLE_SOLID || !pen.IsNonTransparent())
        return false;
    const plotmath::DotStamp& stamp = DotStampOf(kept, pen, wide);
    plotmath::DotInk& ink = kept.dotInk;
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

// Dots of one pen through the drawing library alone: every pixel dotted at least k times gets
// one more dot of the pen's shape in layer k, each layer one fill, as many layers as the most
// dotted pixel needs up to where more change nothing. False where the DC has no such library.
bool FillDots(wxDC& dc, const wxPen& pen, bool wide, const plotmath::DotCounts& dots) {
    wxGraphicsContext* gc = dc.GetGraphicsContext();
    cairo_t* cr = gc ? static_cast<cairo_t*>(gc->GetNativeContext()) : nullptr;
    if (!cr || pen.GetStyle() != wxPENSTYLE_SOLID || !pen.IsNonTransparent())
        return false;
    const wxColour colour = pen.GetColour();
    const double offset = gc->ShouldOffset() ? 0.5 : 0.0;
    const double radius = wide ? pen.GetWidth() / 2.0 : 0.5;
    const bool round = wide && pen.GetCap() == wxCAP_ROUND;
    cairo_save(cr);
    cairo_set_source_rgba(cr, colour.Red() / 255.0, colour.Green() / 255.0, colour.Blue() / 255.0,
                          colour.Alpha() / 255.0);
    std::uint32_t most = 0;
    for (std::uint32_t c : dots.counts)
        most = std::max(most, c);
    most = std::min(most, plotmath::kSaturatingDots);
    for (std::uint32_t layer = 1; layer <= most; ++layer) {
        cairo_new_path(cr);
        for (int y = dots.top; y < dots.top + dots.height; ++y)
            for (int x = dots.left; x < dots.left + dots.width; ++x)
                if (dots.At(x, y) >= layer) {
                    const double cx = x + offset, cy = y + offset;
                    if (round) {
                        cairo_new_sub_path(cr);
                        cairo_arc(cr, cx, cy, radius, 0, 2 * M_PI);
                    } else {
                        cairo_rectangle(cr, cx - radius, cy - radius, 2 * radius, 2 * radius);
                    }
                }
        cairo_fill(cr);
    }
    cairo_restore(cr);
    return true;
}

}  // namespace

SeriesInk::SeriesInk() : kept(std::make_unique<Kept>()) {}
SeriesInk::~SeriesInk() = default;

void SeriesInk::Lines(wxDC& dc, const wxPen& pen, const std::vector<plotmath::Segment>& segments, int W,
                      int H, bool stamps) {
    if (!stamps || !InkLines(*kept, dc, pen, segments, W, H))
        StrokeSegments(dc, segments);
}

bool SeriesInk::Dots(wxDC& dc, const wxPen& pen, bool wide, const plotmath::DotCounts& dots, bool stamps) {
    return stamps ? InkDots(*kept, dc, pen, wide, dots) : FillDots(dc, pen, wide, dots);
}
