#include "plot/stamp_ink.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace plotmath {

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
