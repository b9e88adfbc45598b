#pragma once

// A series reduced to what draws its picture, apart from any window: the lines of a continuous
// series (one vertical line per pixel column however many samples it holds, from block extremes),
// the dots of a point series counted per pixel, the nearest sample, and coordinates clipped to
// what the drawing library holds.

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <vector>

namespace plotmath {

// True when xs holds no NaN and never decreases.
bool IsSortedFinite(const float* xs, std::size_t n);
// Smallest and largest finite value of v[0, n); false when there is none.
bool FiniteValueRange(const float* v, std::size_t n, float& lo, float& hi);

// Index of the sample nearest to x, the lower index on ties; n when n is 0. NaN samples never
// win. With sorted (IsSortedFinite) xs a binary search gives the same answer as a full scan.
std::size_t NearestIndex(const float* xs, std::size_t n, double x, bool sorted);

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

// Pixels beyond the view that a pen of this width can still reach.
int ViewMargin(int penWidth);

// Clips a pixel segment (relative to the chart centre) to the coordinates the drawing library
// holds. An end inside stays exactly where it is and the line keeps its direction to within a
// fraction of a pixel; false when nothing of it is left or an end is not finite.
bool ClipToDrawable(double& x1, double& y1, double& x2, double& y2);
// Whether a pixel point can be handed to the drawing library as it is.
bool DrawablePoint(double x, double y);

}  // namespace plotmath
