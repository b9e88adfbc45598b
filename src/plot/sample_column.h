#pragma once

// One sample vector of a record (its times, flows, pressures or volumes) and what the chart's
// drawing needs to know about it: whether it never decreases, whether every value is finite, its
// finite range and its block extremes. Worked out once per chart load however many series read
// the vector (the times are every series' x, the flows one series' y and another's readout), and
// for a live record only for the samples that are new or changed since the last load.

#include "plot/plot_math.h"

#include <algorithm>
#include <cstddef>
#include <memory>
#include <vector>

// The samples themselves are shared, not copied: a chart reads a record's series where they lie.
using SampleRef = std::shared_ptr<const std::vector<float>>;

class SampleColumn {
public:
    // `extremes`: keep block extremes (a column drawn as y); times need none.
    explicit SampleColumn(bool extremes = true) : extremes(extremes) {}

    // Takes the vector in. `unchanged`: it is the vector taken last and its first `unchanged`
    // values are as they were then (a live record that grew, or whose last few values a filter
    // rewrote): only the values from there on are looked at. Anything else is taken whole.
    void Take(SampleRef values, std::size_t unchanged = 0);

    const float* Data() const { return values->data(); }
    // Values taken in (no more than the vector holds now: a record that shrank under the chart
    // is read no further than it reaches until it is taken in again).
    std::size_t Size() const { return std::min(count, values->size()); }
    // Never decreases and holds no value that is not finite.
    bool Sorted() const { return sorted; }
    bool AllFinite() const { return finite; }
    // Smallest and largest finite value; false when there is none.
    bool Range(float& low, float& high) const {
        low = lo;
        high = hi;
        return any;
    }
    // Block extremes when every value is finite and they are kept, else null.
    const plotmath::MinMaxPyramid* Extremes() const { return extremes && finite ? &pyramid : nullptr; }
    float At(std::size_t i) const { return (*values)[i]; }

private:
    bool extremes;
    SampleRef values = std::make_shared<const std::vector<float>>();
    std::size_t count = 0;
    bool sorted = true, finite = true, any = false;
    std::size_t notFiniteAt = 0, outOfOrderAt = 0;  // first such value; the size when there is none
    float lo = 0, hi = 0;
    plotmath::MinMaxPyramid pyramid;
};

using ColumnRef = std::shared_ptr<const SampleColumn>;

// A column of a copy of the caller's values.
ColumnRef CopiedColumn(const std::vector<float>& values, bool extremes = true);
