// The figures of a span over a record of 10^7 samples: how long the block sums take to make
// (once per chart load, at the first span asked about) and how long a span's figures take from
// them, for a span across the whole record and one across half of it. Prints figures only.
#include "plot/sample_column.h"
#include "plot/span_stats.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <memory>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

double Ms(Clock::time_point a, Clock::time_point b) {
    return std::chrono::duration<double, std::milli>(b - a).count();
}

// Median of several runs, in milliseconds.
template <typename F>
double MedianMs(int runs, F&& f) {
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        const auto start = Clock::now();
        f();
        times.push_back(Ms(start, Clock::now()));
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

}  // namespace

int main() {
    const std::size_t n = 10'000'000;
    auto times = std::make_shared<std::vector<float>>(n), flows = std::make_shared<std::vector<float>>(n),
         pressures = std::make_shared<std::vector<float>>(n),
         volumes = std::make_shared<std::vector<float>>(n);
    float volume = 0;
    for (std::size_t i = 0; i < n; ++i) {
        (*times)[i] = static_cast<float>((i + 1) * 0.1);
        (*flows)[i] = static_cast<float>(std::round(400 + 300 * std::sin(i / 5000.0) + (i * 7919 % 17)));
        (*pressures)[i] = static_cast<float>(3.0 + 1.6 * std::cos(i / 7000.0) + (i * 104729 % 13) * 0.01);
        volume += (*flows)[i] * 0.1f / 60.0f;
        (*volumes)[i] = volume;
    }
    // The chart keeps the block extremes of what it draws anyway.
    SampleColumn timeColumn(false), flowColumn, pressureColumn;
    timeColumn.Take(times);
    flowColumn.Take(flows);
    pressureColumn.Take(pressures);
    spanstats::Columns c;
    c.times = times->data();
    c.flows = flows->data();
    c.pressures = pressures->data();
    c.volumes = volumes->data();
    c.n = n;
    c.timesSorted = timeColumn.Sorted();
    c.flowExtremes = flowColumn.Extremes();
    c.pressureExtremes = pressureColumn.Extremes();

    spanstats::SpanIndex index;
    const double build = MedianMs(5, [&] { index.Build(c, 2.0); });
    double sink = 0;
    const double whole = MedianMs(51, [&] { sink += index.Evaluate(c, 0, 2e6).flow.mean; });
    const double half = MedianMs(51, [&] { sink += index.Evaluate(c, 250000.05, 750000.35).pressure.mean; });
    std::printf("samples %zu, block sums made in %.2f ms\n", n, build);
    std::printf("span over the whole record: %.3f ms, over half of it: %.3f ms (checksum %.1f)\n", whole,
                half, sink);
    std::printf("result: span_stats_1e7_ms %.3f ms\n", whole);
    std::printf("result: span_index_1e7_ms %.2f ms\n", build);
    std::printf("result: span_first_readout_1e7_ms %.2f ms\n", build + whole);
    return 0;
}
