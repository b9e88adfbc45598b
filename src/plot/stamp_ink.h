#pragma once

// The arithmetic of the series' ink stamps (series_ink.h): what many dots or lines of one pen ink
// together, summed from what one of them inks, as the drawing library composes them.

#include "plot/series_raster.h"

#include <cstdint>
#include <vector>

namespace plotmath {

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

}  // namespace plotmath
