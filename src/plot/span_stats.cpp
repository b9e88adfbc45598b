#include "plot/span_stats.h"
#include "data/translate.h"

#include "plot/view_layout.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>

namespace spanstats {

namespace {

bool Finite(double v) {
    return std::isfinite(v);
}

// Sample i's share of the time below the minimum: the time until the next sample (none for the
// last sample, or for a next one that is not later).
inline double BelowShare(const float* t, const float* p, std::size_t i, double threshold) {
    const double d = static_cast<double>(t[i + 1]) - t[i];
    const double later = d > 0 ? d : 0.0;
    return p[i] < threshold ? later : 0.0;
}
double BelowShare(const Columns& c, std::size_t i, double threshold) {
    return i + 1 < c.n ? BelowShare(c.times, c.pressures, i, threshold) : 0.0;
}

// Index of the first sample in [i, j) holding target as its minimum (or maximum): the halves are
// asked for their extremes, each answer a few block reads.
std::size_t FirstHolding(const plotmath::MinMaxPyramid& pyramid, const float* v, std::size_t i, std::size_t j,
                         float target, bool minimum) {
    while (j - i > 64) {
        const std::size_t mid = i + (j - i) / 2;
        float low = 0, high = 0;
        pyramid.Query(v, i, mid, low, high);
        if ((minimum ? low : high) == target)
            j = mid;
        else
            i = mid;
    }
    for (std::size_t k = i; k < j; ++k)
        if (v[k] == target)
            return k;
    return i;
}

// Minimum and maximum of v[i, j] (inclusive) with their first samples.
void Extremes(const float* v, const float* times, const plotmath::MinMaxPyramid* pyramid, std::size_t i,
              std::size_t j, SeriesFigures& out) {
    out.any = false;
    if (pyramid) {
        float low = 0, high = 0;
        pyramid->Query(v, i, j + 1, low, high);
        out.any = true;
        out.min.index = FirstHolding(*pyramid, v, i, j + 1, low, true);
        out.max.index = FirstHolding(*pyramid, v, i, j + 1, high, false);
    } else {
        for (std::size_t k = i; k <= j; ++k) {
            if (!Finite(v[k]))
                continue;
            if (!out.any || v[k] < v[out.min.index])
                out.min.index = k;
            if (!out.any || v[k] > v[out.max.index])
                out.max.index = k;
            out.any = true;
        }
    }
    if (!out.any)
        return;
    out.min.value = v[out.min.index];
    out.min.time = times[out.min.index];
    out.max.value = v[out.max.index];
    out.max.time = times[out.max.index];
}

// Sum of v[i, end) over the finite values; four sums in registers keep the CPU busy.
double FiniteSum(const float* v, std::size_t i, std::size_t end) {
    constexpr float most = std::numeric_limits<float>::max();
    const auto finite = [](float x) { return std::fabs(x) <= most ? static_cast<double>(x) : 0.0; };
    double a = 0, b = 0, c = 0, d = 0;
    for (; i + 4 <= end; i += 4) {
        a += finite(v[i]);
        b += finite(v[i + 1]);
        c += finite(v[i + 2]);
        d += finite(v[i + 3]);
    }
    for (; i < end; ++i)
        a += finite(v[i]);
    return (a + b) + (c + d);
}

// The shares of the time below of samples [i, end), end < n.
double BelowSum(const Columns& c, std::size_t i, std::size_t end, double threshold) {
    const float* t = c.times;
    const float* p = c.pressures;
    const auto share = [&](std::size_t k) { return BelowShare(t, p, k, threshold); };
    double a = 0, b = 0, e = 0, f = 0;
    for (; i + 4 <= end; i += 4) {
        a += share(i);
        b += share(i + 1);
        e += share(i + 2);
        f += share(i + 3);
    }
    for (; i < end; ++i)
        a += share(i);
    return (a + b) + (e + f);
}

}  // namespace

void SpanIndex::Clear() {
    n = 0;
    built = false;
    flowSums.clear();
    pressureSums.clear();
    belowSums.clear();
}

void SpanIndex::Build(const Columns& c, double minimumPressure, std::size_t unchanged) {
    // A sample's share of the time below depends on the next sample's time: the last unchanged
    // sample may have gained a neighbour.
    std::size_t firstChanged = built && minimumPressure == threshold ? std::min({unchanged, n, c.n}) : 0;
    if (firstChanged > 0)
        --firstChanged;
    // Prefix entries up to `keep` sum only unchanged samples.
    const std::size_t keep = flowSums.empty() ? 0 : std::min(firstChanged / kBlock, flowSums.size() - 1);
    if (c.timesSorted)
        sorted = true;
    else if (firstChanged > 0 && sorted)
        sorted = plotmath::IsSortedFinite(c.times + firstChanged, c.n - firstChanged);
    else
        sorted = plotmath::IsSortedFinite(c.times, c.n);
    n = c.n;
    threshold = minimumPressure;
    built = true;
    // One pass over the samples, block by block, for the three sums.
    const std::size_t blocks = n / kBlock;
    for (std::vector<double>* prefix : {&flowSums, &pressureSums, &belowSums}) {
        prefix->resize(blocks + 1);
        (*prefix)[0] = 0;
    }
    for (std::size_t k = keep; k < blocks; ++k) {
        const std::size_t begin = k * kBlock, end = begin + kBlock;
        // The last sample has no time after it.
        const double below = BelowSum(c, begin, std::min(end, n - 1), threshold);
        flowSums[k + 1] = flowSums[k] + FiniteSum(c.flows, begin, end);
        pressureSums[k + 1] = pressureSums[k] + FiniteSum(c.pressures, begin, end);
        belowSums[k + 1] = belowSums[k] + below;
    }
}

double SpanIndex::RangeSum(const std::vector<double>& prefix, const std::function<double(std::size_t)>& value,
                           std::size_t i, std::size_t j) const {
    double sum = 0;
    if (j <= i)
        return 0;
    const std::size_t firstWhole = (i + kBlock - 1) / kBlock, lastWhole = j / kBlock;
    if (firstWhole >= lastWhole || lastWhole >= prefix.size()) {
        for (std::size_t k = i; k < j; ++k)
            sum += value(k);
        return sum;
    }
    for (std::size_t k = i; k < firstWhole * kBlock; ++k)
        sum += value(k);
    sum += prefix[lastWhole] - prefix[firstWhole];
    for (std::size_t k = lastWhole * kBlock; k < j; ++k)
        sum += value(k);
    return sum;
}

Figures SpanIndex::Evaluate(const Columns& c, double from, double to) const {
    Figures f;
    f.minimumPressure = threshold;
    if (from > to)
        std::swap(from, to);
    const std::size_t count = std::min(c.n, n);
    if (count == 0 || !(from <= to))
        return f;
    const float* t = c.times;
    std::size_t first = count, last = count;
    if (sorted) {
        // Times in order (as every record keeps them): two searches.
        const float* begin = std::lower_bound(t, t + count, from, [](float a, double b) { return a < b; });
        const float* end = std::upper_bound(t, t + count, to, [](double a, float b) { return a < b; });
        if (begin >= end)
            return f;
        first = static_cast<std::size_t>(begin - t);
        last = static_cast<std::size_t>(end - t) - 1;
    }
    if (first == count) {
        // Out of order (a damaged file): the first and the last sample inside, and all between.
        for (std::size_t i = 0; i < count; ++i) {
            if (t[i] >= from && t[i] <= to) {
                if (first == count)
                    first = i;
                last = i;
            }
        }
        if (first == count)
            return f;
    }
    f.any = true;
    f.first = first;
    f.last = last;
    f.start = t[first];
    f.end = t[last];
    f.duration = f.end - f.start;

    Extremes(c.flows, t, c.flowExtremes, first, last, f.flow);
    Extremes(c.pressures, t, c.pressureExtremes, first, last, f.pressure);
    const auto mean = [&](const float* v, const plotmath::MinMaxPyramid* extremes,
                          const std::vector<double>& sums, SeriesFigures& out) {
        if (!out.any)
            return;
        std::size_t finite = last - first + 1;
        if (!extremes) {
            // Values that are not numbers have no share in the mean.
            finite = 0;
            for (std::size_t i = first; i <= last; ++i)
                finite += std::isfinite(v[i]) ? 1 : 0;
        }
        const auto value = [v](std::size_t i) {
            return std::isfinite(v[i]) ? static_cast<double>(v[i]) : 0.0;
        };
        out.mean = RangeSum(sums, value, first, last + 1) / static_cast<double>(finite);
    };
    mean(c.flows, c.flowExtremes, flowSums, f.flow);
    mean(c.pressures, c.pressureExtremes, pressureSums, f.pressure);
    f.volume = static_cast<double>(c.volumes[last]) - c.volumes[first];
    f.timeBelow = RangeSum(
        belowSums, [&](std::size_t i) { return BelowShare(c, i, threshold); }, first, last);
    return f;
}

// ---------------------------------------------------------------------------------------------
// Readout

wxString TimeText(double seconds, const TimeStyle& style, bool withDate) {
    if (!style.clock || !style.startTime.IsValid())
        return plotmath::ElapsedTimeLabel(seconds);
    wxString time, date;
    plotmath::ClockTimeLabels(style.startTime, seconds, time, date);
    return withDate ? date + wxString::FromUTF8(" ") + time : time;
}

namespace {

wxString Duration(double seconds) {
    if (!std::isfinite(seconds) || seconds < 0)
        seconds = 0;
    const double tenths = std::round(seconds * 10);
    const long long whole = static_cast<long long>(tenths / 10);
    char text[48];
    std::snprintf(text, sizeof text, "%02lld:%02lld:%02lld.%lld", whole / 3600, whole / 60 % 60, whole % 60,
                  static_cast<long long>(tenths) % 10);
    return wxString::FromAscii(text);
}

void SeriesLines(wxString& out, const wxString& name, const SeriesFigures& s, const wxString& unit,
                 int decimals, const TimeStyle& style) {
    const wxString suffix = unit.empty() ? wxString() : wxString::FromUTF8(" ") + unit;
    if (!s.any) {
        out << name << wxString::FromUTF8(": –\n");
        return;
    }
    out << name << Tr(" min: ") << plotmath::FixedDigits(s.min.value, decimals) << suffix
        << wxString::FromUTF8(" (") << TimeText(s.min.time, style) << wxString::FromUTF8(")\n");
    out << name << Tr(" max: ") << plotmath::FixedDigits(s.max.value, decimals) << suffix
        << wxString::FromUTF8(" (") << TimeText(s.max.time, style) << wxString::FromUTF8(")\n");
    out << name << Tr(" Mittel: ") << plotmath::FixedDigits(s.mean, decimals) << suffix
        << wxString::FromUTF8("\n");
}

}  // namespace

wxString ReadoutText(const Figures& f, const ReadoutUnits& u, const TimeStyle& style) {
    if (!f.any)
        return Tr("Keine Messwerte im Bereich");
    wxString out;
    out << Tr("Beginn: ") << TimeText(f.start, style, true) << wxString::FromUTF8("\n");
    out << Tr("Ende: ") << TimeText(f.end, style, true) << wxString::FromUTF8("\n");
    out << Tr("Dauer: ") << Duration(f.duration) << wxString::FromUTF8("\n");
    SeriesLines(out, Tr("Durchfluss"), f.flow, u.flow, u.flowDecimals, style);
    SeriesLines(out, Tr("Druck"), f.pressure, u.pressure, u.pressureDecimals, style);
    out << Tr("Volumen: ") << plotmath::FixedDigits(f.volume, u.volumeDecimals)
        << (u.volume.empty() ? wxString() : wxString::FromUTF8(" ") + u.volume) << wxString::FromUTF8("\n");
    out << Tr("Unter Mindestdruck (") << plotmath::FixedDigits(f.minimumPressure, u.pressureDecimals)
        << (u.pressure.empty() ? wxString() : wxString::FromUTF8(" ") + u.pressure)
        << wxString::FromUTF8("): ") << Duration(f.timeBelow);
    return out;
}

// ---------------------------------------------------------------------------------------------
// Placement

namespace {

long long Overlap(const Box& a, const Box& b) {
    const long long w = std::min(a.x + a.width, b.x + b.width) - std::max(a.x, b.x);
    const long long h = std::min(a.y + a.height, b.y + b.height) - std::max(a.y, b.y);
    return w > 0 && h > 0 ? w * h : 0;
}

}  // namespace

Box FreePlace(int width, int height, int W, int H, const std::vector<Box>& obstacles) {
    // Clear of the value axes (50 pixels each side), the captions above and the time axis below.
    const int left = 60 - W / 2, right = W - W / 2 - 60 - width;
    const int top = 45 - H / 2, bottom = H - H / 2 - 50 - height;
    const Box places[] = {
        {right, top, width, height},
        {left, top, width, height},
        {right, bottom, width, height},
        {left, bottom, width, height},
        {-width / 2, -height / 2, width, height},
    };
    Box best = places[0];
    long long bestOverlap = std::numeric_limits<long long>::max();
    for (Box place : places) {
        // A window too small for the box: its top left corner stays in view.
        place.x = std::max(std::min(place.x, W - W / 2 - width - 1), -(W / 2));
        place.y = std::max(std::min(place.y, H - H / 2 - height - 1), -(H / 2));
        long long overlap = 0;
        for (const Box& o : obstacles)
            overlap += Overlap(place, o);
        if (overlap < bestOverlap) {
            best = place;
            bestOverlap = overlap;
            if (overlap == 0)
                break;
        }
    }
    return best;
}

}  // namespace spanstats
