#pragma once

// The figures of a span of a record chosen on the chart, apart from any window: the samples whose
// times lie in the span, their duration, the extremes of flow and pressure with their times, the
// means, the volume delivered and the time the pressure spent below a minimum. Answered from the
// block extremes the chart keeps anyway and from sums over blocks of samples, so a span across
// millions of samples costs a few hundred sample reads, not millions.

#include "plot/series_raster.h"

#include <wx/datetime.h>
#include <wx/string.h>

#include <cstddef>
#include <functional>
#include <vector>

namespace spanstats {

// The record's parallel sample vectors (times never decreasing, in seconds).
struct Columns {
    const float* times = nullptr;
    const float* flows = nullptr;
    const float* pressures = nullptr;
    const float* volumes = nullptr;
    std::size_t n = 0;
    // The caller knows the times never decrease and are all finite (the chart knows it of its
    // columns, sample_column.h); otherwise the index finds out.
    bool timesSorted = false;
    // Block extremes of flows and pressures over all n samples, all of them finite (as the chart
    // keeps them, sample_column.h), or null: then the span's values are scanned.
    const plotmath::MinMaxPyramid* flowExtremes = nullptr;
    const plotmath::MinMaxPyramid* pressureExtremes = nullptr;
};

struct Extreme {
    double value = 0;
    double time = 0;        // of the first sample holding it
    std::size_t index = 0;  // that sample
};

struct SeriesFigures {
    bool any = false;  // some value in the span is finite
    Extreme min, max;
    double mean = 0;  // over the finite values
};

struct Figures {
    bool any = false;                         // a sample lies in the span
    std::size_t first = 0, last = 0;          // its first and last sample, both inclusive
    double start = 0, end = 0, duration = 0;  // times of those samples, end - start
    SeriesFigures flow, pressure;
    // What the record's accumulated volume grew by from the first sample to the last.
    double volume = 0;
    // Each sample stands for the time until the next one; the sum of those times of the samples
    // from first to last - 1 whose pressure is below the minimum.
    double timeBelow = 0;
    double minimumPressure = 0;
};

// Sums over blocks of samples of one record, made once per chart load (or grown with a live
// record), so the means and the time below the minimum of any span take a handful of reads.
class SpanIndex {
public:
    // Over the columns' n samples. `unchanged`: the index was built over these vectors before and
    // their first `unchanged` samples are as they were then; only the blocks from there on are
    // made again. A new minimum pressure makes everything again.
    void Build(const Columns& columns, double minimumPressure, std::size_t unchanged = 0);
    void Clear();
    std::size_t Size() const { return n; }
    double MinimumPressure() const { return threshold; }

    // The figures of the samples whose times lie in [from, to] (the ends in either order).
    // The columns must be those the index was built over.
    Figures Evaluate(const Columns& columns, double from, double to) const;

private:
    static constexpr std::size_t kBlock = 1024;
    double RangeSum(const std::vector<double>& prefix, const std::function<double(std::size_t)>& value,
                    std::size_t i, std::size_t j) const;
    std::size_t n = 0;
    double threshold = 0;
    bool built = false;
    bool sorted = true;  // times never decrease and are all finite
    // [k]: the sum over the samples before block k; one entry more than there are whole blocks.
    std::vector<double> flowSums, pressureSums, belowSums;
};

// The units the figures are written in ("l/min", "Bar", "l") and their decimals.
struct ReadoutUnits {
    wxString flow, pressure, volume;
    int flowDecimals = 0, pressureDecimals = 2, volumeDecimals = 1;
};

// Times as the chart's time axis shows them: elapsed ("05:12", "1:02:03" as the axis labels) or,
// with clock times, the time of day from the record's start (the span's ends with their date).
struct TimeStyle {
    bool clock = false;
    wxDateTime startTime;
};
wxString TimeText(double seconds, const TimeStyle& style, bool withDate = false);

// The readout's lines: "Beginn: …", "Ende: …", "Dauer: …", flow and pressure minimum (with its
// time), maximum (with its time) and mean, "Volumen: …", "Unter Mindestdruck (…): …". For a span
// without samples one line saying so.
wxString ReadoutText(const Figures& figures, const ReadoutUnits& units, const TimeStyle& style);

// Where a box of width x height first goes in a W x H chart (pixels relative to the centre):
// the first of a few places along the chart's edges that keeps clear of every obstacle (the text
// box, the measuring readout); the one overlapping them least when none does.
struct Box {
    int x = 0, y = 0, width = 0, height = 0;
};
Box FreePlace(int width, int height, int W, int H, const std::vector<Box>& obstacles);

}  // namespace spanstats
