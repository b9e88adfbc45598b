#pragma once

// How a series' reduced lines and dots reach the picture, through the drawing library alone. Where
// the window's buffer (or an image) is drawn at whole pixels, the raster way: each pixel column's
// line is the rectangle its stroke covers and every dotted pixel a run of one picture row, all of a
// pen's rectangles one fill (they meet the pixel grid, so nothing needs anti-aliasing). Elsewhere
// (a printer, a PDF, a pen with a pattern), and for lines longer than to the next column, the
// library strokes them: lines in batches that keep apart, dots as the DC draws a dot.

#include "plot/plot_math.h"

#include <cstdint>
#include <vector>

class wxDC;
class wxPen;

// The buffers a window keeps between paints (a fresh one costs its pages on every paint).
class SeriesInk {
public:
    // Lines of one pen; `raster` off strokes every line (the vector way, wherever it draws).
    void Lines(wxDC& dc, const wxPen& pen, const std::vector<plotmath::Segment>& segments,
               bool raster = true);
    // The dots counted in Counts(), in one pen; `raster` off as the DC draws each dot.
    void Dots(wxDC& dc, const wxPen& pen, bool wide, bool raster = true);
    // The dot counts of the view, kept between paints.
    plotmath::DotCounts& Counts() { return counts; }

private:
    plotmath::DotCounts counts;
    std::vector<std::uint8_t> marks;  // the dots' pixels, a byte each
};
