#include "plot/series_ink.h"

#include <wx/dc.h>
#include <wx/graphics.h>

#include <cairo.h>

#include <algorithm>
#include <cmath>
#include <numeric>

namespace {

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
// snapshot, an exported image): there a column's line and a dot's pixels meet the pixel grid.
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

// The same pen's lines through the drawing library as rectangles, one fill for all of them: a
// vertical line (and a dot) is the rectangle its stroke covers, square at its ends where the pen
// rounds them; a line to the next column is split at its middle into the two columns' rectangles.
// At whole pixels the rectangles meet the pixel grid, so no edge needs anti-aliasing and the
// library fills them at the speed of a copy. Longer lines (a view zoomed in) are stroked. False,
// and nothing drawn, where the DC does not draw at whole pixels (a printer) or for a pen with a
// pattern.
bool FillColumns(wxDC& dc, const wxPen& pen, const std::vector<plotmath::Segment>& segments) {
    cairo_t* cr = WholePixelContext(dc);
    if (!cr || pen.GetStyle() != wxPENSTYLE_SOLID || !pen.IsNonTransparent())
        return false;
    const double offset = dc.GetGraphicsContext()->ShouldOffset() ? 0.5 : 0.0;
    const double width = std::max(pen.GetWidth(), 1), half = width / 2;
    std::vector<plotmath::Segment> stroked;
    cairo_save(cr);
    cairo_new_path(cr);
    const auto column = [&](int x, int y1, int y2) {
        cairo_rectangle(cr, x + offset - half, std::min(y1, y2) + offset - half, width,
                        std::abs(y2 - y1) + width);
    };
    for (const plotmath::Segment& s : segments) {
        const int dx = s.x2 - s.x1;
        if (dx == 0) {
            column(s.x1, s.y1, s.y2);
        } else if (dx == 1 || dx == -1) {
            const int middle = std::midpoint(s.y1, s.y2);
            column(s.x1, s.y1, middle);
            column(s.x2, middle, s.y2);
        } else {
            stroked.push_back(s);
        }
    }
    const wxColour colour = pen.GetColour();
    cairo_set_source_rgba(cr, colour.Red() / 255.0, colour.Green() / 255.0, colour.Blue() / 255.0,
                          colour.Alpha() / 255.0);
    cairo_set_fill_rule(cr, CAIRO_FILL_RULE_WINDING);  // overlapping rectangles ink once
    cairo_fill(cr);
    cairo_restore(cr);
    StrokeSegments(dc, stroked);
    return true;
}

// The rows of pixels one dot of this pen covers, relative to its pixel: a pixel belongs to the
// dot when its centre lies inside the pen's round end (a thin pen's dot is its pixel).
struct DotRow {
    int row, left, right;
};
std::vector<DotRow> DotShape(int penWidth, bool wide, double offset) {
    if (!wide)
        return {{0, 0, 0}};
    const double radius = penWidth / 2.0;
    std::vector<DotRow> rows;
    for (int j = static_cast<int>(std::floor(offset - radius)); j <= std::ceil(offset + radius); ++j) {
        const double dy = j + 0.5 - offset;
        if (dy * dy > radius * radius)
            continue;
        const double reach = std::sqrt(radius * radius - dy * dy);
        const int left = static_cast<int>(std::ceil(offset - reach - 0.5));
        const int right = static_cast<int>(std::floor(offset + reach - 0.5));
        if (left <= right)
            rows.push_back({j, left, right});
    }
    return rows;
}

// Dots of one pen: every dotted pixel once (a pixel covered by one dot is covered as well by a
// hundred). The dots' pixels are marked in a byte per pixel, each picture row's marks handed to
// the drawing library as runs, each run one rectangle, all of them one fill. False, and nothing
// drawn, where the DC does not draw at whole pixels.
bool FillDotRuns(wxDC& dc, const wxPen& pen, bool wide, const plotmath::DotCounts& dots,
                 std::vector<std::uint8_t>& marks) {
    cairo_t* cr = WholePixelContext(dc);
    if (!cr || pen.GetStyle() != wxPENSTYLE_SOLID || !pen.IsNonTransparent())
        return false;
    const double offset = dc.GetGraphicsContext()->ShouldOffset() ? 0.5 : 0.0;
    const std::vector<DotRow> shape = DotShape(pen.GetWidth(), wide, offset);
    int top = 0, bottom = 0, left = 0, right = 0;
    for (const DotRow& r : shape) {
        top = std::min(top, r.row);
        bottom = std::max(bottom, r.row);
        left = std::min(left, r.left);
        right = std::max(right, r.right);
    }
    const int width = dots.width + right - left, height = dots.height + bottom - top;
    const auto markWidth = static_cast<std::size_t>(width);
    marks.assign(markWidth * static_cast<std::size_t>(std::max(height, 0)), 0);
    for (int y = 0; y < dots.height; ++y) {
        const std::uint32_t* counts = dots.counts.data() + static_cast<std::size_t>(y) * dots.width;
        for (int x = 0; x < dots.width;) {
            if (counts[x] == 0) {
                ++x;
                continue;
            }
            const int start = x;
            while (x < dots.width && counts[x] != 0)
                ++x;
            for (const DotRow& r : shape)
                std::fill_n(marks.data() + static_cast<std::size_t>(y + r.row - top) * markWidth +
                                static_cast<std::size_t>(start + r.left - left),
                            x - start + r.right - r.left, std::uint8_t{1});
        }
    }
    cairo_save(cr);
    cairo_new_path(cr);
    for (int y = 0; y < height; ++y) {
        const std::uint8_t* row = marks.data() + static_cast<std::size_t>(y) * markWidth;
        for (int x = 0; x < width;) {
            if (row[x] == 0) {
                ++x;
                continue;
            }
            const int start = x;
            while (x < width && row[x] != 0)
                ++x;
            cairo_rectangle(cr, dots.left + left + start, dots.top + top + y, x - start, 1);
        }
    }
    const wxColour colour = pen.GetColour();
    cairo_set_source_rgba(cr, colour.Red() / 255.0, colour.Green() / 255.0, colour.Blue() / 255.0,
                          colour.Alpha() / 255.0);
    cairo_fill(cr);
    cairo_restore(cr);
    return true;
}

}  // namespace

void SeriesInk::Lines(wxDC& dc, const wxPen& pen, const std::vector<plotmath::Segment>& segments,
                      bool raster) {
    if (!raster || !FillColumns(dc, pen, segments))
        StrokeSegments(dc, segments);
}

void SeriesInk::Dots(wxDC& dc, const wxPen& pen, bool wide, bool raster) {
    if (raster && FillDotRuns(dc, pen, wide, counts, marks))
        return;
    // Elsewhere (a printer, a PDF) each dotted pixel once, as the DC draws a dot.
    for (int y = counts.top; y < counts.top + counts.height; ++y)
        for (int x = counts.left; x < counts.left + counts.width; ++x)
            if (counts.At(x, y) != 0) {
                if (wide)
                    dc.DrawLine(x, y, x, y);
                else
                    dc.DrawPoint(x, y);
            }
}
