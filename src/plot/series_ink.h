#pragma once

// How a series' reduced lines and dots reach the picture. Where the window's buffer (or an image)
// is drawn through the drawing library at whole pixels, the ink of each line and dot comes from a
// stamp of what the library inks for that pen, and all of a pen's ink is laid on through one
// mask: several times quicker than the library stroking every line or dot itself (the paint
// benchmark weighs the two in one run). Elsewhere (a printer, a PDF, a pen with a pattern) the
// library draws them: lines stroked in batches that keep apart, dots filled in layers.

#include "plot/plot_math.h"

#include <memory>
#include <vector>

class wxDC;
class wxPen;

// The stamps and buffers a window keeps between paints, within a bound; they go with the window.
class SeriesInk {
public:
    SeriesInk();
    ~SeriesInk();
    SeriesInk(const SeriesInk&) = delete;
    SeriesInk& operator=(const SeriesInk&) = delete;

    // Lines of one pen; `stamps` off draws through the library alone.
    void Lines(wxDC& dc, const wxPen& pen, const std::vector<plotmath::Segment>& segments, int W, int H,
               bool stamps = true);
    // Dots of one pen as often as counted; false, and nothing drawn, where neither way can draw them
    // (the caller then draws each dot itself).
    bool Dots(wxDC& dc, const wxPen& pen, bool wide, const plotmath::DotCounts& dots, bool stamps = true);
    // The dot counts of the view, kept between paints.
    plotmath::DotCounts& Counts() { return counts; }

    struct Kept;

private:
    std::unique_ptr<Kept> kept;
    plotmath::DotCounts counts;
};
