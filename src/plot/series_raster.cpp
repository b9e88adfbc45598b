#include "plot/series_raster.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <type_traits>

namespace plotmath {

namespace {

// Beyond this many pixels from the centre a coordinate is clipped before it reaches the drawing
// library. Cairo draws a slanting line wrongly once an end lies about 2^18 pixels out (found
// here: the line turns horizontal), far below what its fixed-point numbers hold; 2^15 leaves room
// for a printer page's scale. A clipped end is rounded to a whole pixel, which turns the line by
// at most 1/46000 of a radian: a few hundredths of a pixel across a wide window.
constexpr double kCoordinateLimit = 1 << 15;

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

}  // namespace plotmath
