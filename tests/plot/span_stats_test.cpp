#include "plot/span_stats.h"
#include "data/storage.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <random>
#include <string>
#include <vector>

using spanstats::Figures;

namespace {

struct Rec {
    std::vector<float> t, f, p, v;
    plotmath::MinMaxPyramid flowBlocks, pressureBlocks;
    bool blocks = false;
    void Index() {
        flowBlocks.Build(f.data(), f.size());
        pressureBlocks.Build(p.data(), p.size());
        blocks = true;
    }
    spanstats::Columns Columns() const {
        spanstats::Columns c;
        c.times = t.data();
        c.flows = f.data();
        c.pressures = p.data();
        c.volumes = v.data();
        c.n = t.size();
        c.flowExtremes = blocks ? &flowBlocks : nullptr;
        c.pressureExtremes = blocks ? &pressureBlocks : nullptr;
        return c;
    }
};

// A hydrant-like record at 0.1 s: flows in whole l/min and pressures in hundredths, so extremes
// repeat and the first sample holding one must be found.
Rec Recording(std::size_t n, unsigned seed) {
    Rec r;
    std::mt19937 rng(seed);
    std::normal_distribution<double> noise(0, 1);
    r.t.resize(n);
    r.f.resize(n);
    r.p.resize(n);
    r.v.resize(n);
    float volume = 0;
    for (std::size_t i = 0; i < n; ++i) {
        r.t[i] = static_cast<float>((i + 1) * 0.1);
        r.f[i] = static_cast<float>(std::round(400 + 300 * std::sin(i / 5000.0) + 8 * noise(rng)));
        r.p[i] = static_cast<float>(std::round((3.0 + 1.6 * std::cos(i / 7000.0) + 0.05 * noise(rng)) * 100) /
                                    100);
        volume += r.f[i] * 0.1f / 60.0f;
        r.v[i] = volume;
    }
    return r;
}

// The figures straight from their definitions, one pass over every sample.
Figures Direct(const Rec& r, double from, double to, double minimum) {
    if (from > to)
        std::swap(from, to);
    Figures f;
    f.minimumPressure = minimum;
    for (std::size_t i = 0; i < r.t.size(); ++i) {
        if (r.t[i] >= from && r.t[i] <= to) {
            if (!f.any)
                f.first = i;
            f.last = i;
            f.any = true;
        }
    }
    if (!f.any)
        return f;
    f.start = r.t[f.first];
    f.end = r.t[f.last];
    f.duration = f.end - f.start;
    const auto series = [&](const std::vector<float>& v, spanstats::SeriesFigures& s) {
        double sum = 0;
        std::size_t count = 0;
        for (std::size_t i = f.first; i <= f.last; ++i) {
            if (!std::isfinite(v[i]))
                continue;
            if (count == 0 || v[i] < s.min.value)
                s.min = {v[i], r.t[i], i};
            if (count == 0 || v[i] > s.max.value)
                s.max = {v[i], r.t[i], i};
            sum += v[i];
            ++count;
        }
        s.any = count > 0;
        s.mean = count ? sum / count : 0;
    };
    series(r.f, f.flow);
    series(r.p, f.pressure);
    f.volume = static_cast<double>(r.v[f.last]) - r.v[f.first];
    for (std::size_t i = f.first; i < f.last; ++i)
        if (r.p[i] < minimum)
            f.timeBelow += static_cast<double>(r.t[i + 1]) - r.t[i];
    return f;
}

void ExpectSame(const Figures& got, const Figures& want) {
    ASSERT_EQ(got.any, want.any);
    if (!want.any)
        return;
    EXPECT_EQ(got.first, want.first);
    EXPECT_EQ(got.last, want.last);
    EXPECT_EQ(got.start, want.start);
    EXPECT_EQ(got.end, want.end);
    EXPECT_EQ(got.duration, want.duration);
    const auto same = [](const spanstats::SeriesFigures& g, const spanstats::SeriesFigures& w,
                         const char* name) {
        SCOPED_TRACE(name);
        ASSERT_EQ(g.any, w.any);
        if (!w.any)
            return;
        EXPECT_EQ(g.min.value, w.min.value);
        EXPECT_EQ(g.min.index, w.min.index);
        EXPECT_EQ(g.min.time, w.min.time);
        EXPECT_EQ(g.max.value, w.max.value);
        EXPECT_EQ(g.max.index, w.max.index);
        EXPECT_EQ(g.max.time, w.max.time);
        EXPECT_NEAR(g.mean, w.mean, 1e-9 * std::max(1.0, std::fabs(w.mean)));
    };
    same(got.flow, want.flow, "flow");
    same(got.pressure, want.pressure, "pressure");
    EXPECT_EQ(got.volume, want.volume);
    EXPECT_NEAR(got.timeBelow, want.timeBelow, 1e-6 * std::max(1.0, want.timeBelow));
    EXPECT_EQ(got.minimumPressure, want.minimumPressure);
}

struct Span {
    const char* name;
    double from, to;
};

// Spans at the record's ends, across block borders, of one sample, between two samples, beyond
// the record, given right to left.
std::vector<Span> SpansOf(const Rec& r) {
    const double first = r.t.front(), last = r.t.back();
    const std::size_t n = r.t.size();
    return {
        {"whole record and more", first - 5, last + 5},
        {"from the first sample", first, first + 40},
        {"up to the last sample", last - 40, last},
        {"across block borders", r.t[1023], r.t[std::min<std::size_t>(n - 1, 5 * 1024 + 1)]},
        {"one sample", r.t[n / 3], r.t[n / 3]},
        {"the last sample alone", last, last + 1},
        {"between two samples", r.t[n / 2] + 0.02, r.t[n / 2] + 0.03},
        {"beyond the record", last + 1, last + 9},
        {"right to left", r.t[n - 7], r.t[n / 5]},
    };
}

}  // namespace

TEST(SpanFigures, HandComputed) {
    Rec r;
    r.t = {0, 1, 2, 3, 4};
    r.f = {10, 30, 20, 30, 5};
    r.p = {5, 1, 1, 4, 0.5f};
    r.v = {0, 1, 3, 4, 6};
    r.Index();
    spanstats::SpanIndex index;
    index.Build(r.Columns(), 1.5);
    const Figures f = index.Evaluate(r.Columns(), 0.5, 3.5);
    ASSERT_TRUE(f.any);
    EXPECT_EQ(f.first, 1u);
    EXPECT_EQ(f.last, 3u);
    EXPECT_EQ(f.duration, 2.0);
    // 30 at t = 1 and t = 3: the first holds the maximum.
    EXPECT_EQ(f.flow.max.time, 1.0);
    EXPECT_EQ(f.flow.min.value, 20.0);
    EXPECT_NEAR(f.flow.mean, 80.0 / 3, 1e-12);
    EXPECT_EQ(f.pressure.min.time, 1.0);
    EXPECT_EQ(f.pressure.max.value, 4.0);
    EXPECT_NEAR(f.pressure.mean, 2.0, 1e-12);
    EXPECT_EQ(f.volume, 3.0);
    // Below 1.5 bar from t = 1 until the sample at t = 3 (4 bar).
    EXPECT_EQ(f.timeBelow, 2.0);

    spanstats::ReadoutUnits u{
        wxString::FromUTF8("l/min"), wxString::FromUTF8("Bar"), wxString::FromUTF8("l"), 0, 2, 1};
    EXPECT_EQ(spanstats::ReadoutText(f, u, {}).utf8_string(),
              "Beginn: 00:01\nEnde: 00:03\nDauer: 00:00:02.0\n"
              "Durchfluss min: 20 l/min (00:02)\nDurchfluss max: 30 l/min (00:01)\n"
              "Durchfluss Mittel: 27 l/min\n"
              "Druck min: 1.00 Bar (00:01)\nDruck max: 4.00 Bar (00:03)\nDruck Mittel: 2.00 Bar\n"
              "Volumen: 3.0 l\nUnter Mindestdruck (1.50 Bar): 00:00:02.0");
    EXPECT_EQ(spanstats::ReadoutText(index.Evaluate(r.Columns(), 1.2, 1.8), u, {}).utf8_string(),
              "Keine Messwerte im Bereich");
    // Clock times from the record's start, the span's ends with their date.
    spanstats::TimeStyle clock{true, wxDateTime(24, wxDateTime::Mar, 2023, 14, 5, 9)};
    EXPECT_EQ(spanstats::TimeText(3725, clock, true).utf8_string(), "24/03/23 15:07:14");
    EXPECT_EQ(spanstats::TimeText(3725, clock).utf8_string(), "15:07:14");
    EXPECT_EQ(spanstats::TimeText(3725, {}).utf8_string(), "01:02:05");
}

TEST(SpanFigures, AgreeWithADirectComputation) {
    struct Source {
        const char* name;
        Rec rec;
    };
    std::vector<Source> sources;
    sources.push_back({"record of 100003 samples", Recording(100003, 1)});
    sources.back().rec.Index();
    {
        // The filter on: the figures are those of the values the chart shows, not the measured.
        Storage s(wxString::FromUTF8("24/03/2023 14:05:09"), 100, 1, false, 0, 1);
        const Rec raw = Recording(30011, 2);
        for (std::size_t i = 0; i < raw.t.size(); ++i)
            s.AddSample(raw.t[i], raw.f[i], raw.p[i], raw.v[i]);
        s.SetFilter(true, 5);
        Rec filtered;
        filtered.t = s.Times();
        filtered.f = s.Flows();
        filtered.p = s.Pressures();
        filtered.v = s.Volumes();
        filtered.Index();
        ASSERT_NE(filtered.f, raw.f);
        sources.push_back({"filtered record", filtered});
    }
    {
        // Pressures that are not numbers: no block extremes, the others still counted.
        Rec gaps = Recording(5000, 3);
        for (std::size_t i = 100; i < gaps.p.size(); i += 97)
            gaps.p[i] = std::numeric_limits<float>::quiet_NaN();
        sources.push_back({"pressures with gaps", gaps});
    }
    for (const Source& source : sources) {
        SCOPED_TRACE(source.name);
        const Rec& r = source.rec;
        for (double minimum : {1.5, 3.0}) {
            spanstats::SpanIndex index;
            index.Build(r.Columns(), minimum);
            for (const Span& span : SpansOf(r)) {
                SCOPED_TRACE(span.name);
                ExpectSame(index.Evaluate(r.Columns(), span.from, span.to),
                           Direct(r, span.from, span.to, minimum));
            }
        }
    }
}

TEST(SpanFigures, AGrowingRecordGivesWhatAFreshIndexGives) {
    // A live record: built over the first samples (whole blocks), then grown: its last sample
    // gains a neighbour and so a share of the time below (every pressure is below 5 bar).
    const Rec whole = Recording(9000, 4);
    Rec part = whole;
    for (auto* v : {&part.t, &part.f, &part.p, &part.v})
        v->resize(4096);
    spanstats::SpanIndex index;
    index.Build(part.Columns(), 5.0);
    index.Build(whole.Columns(), 5.0, 4096);
    for (const Span& span : SpansOf(whole)) {
        SCOPED_TRACE(span.name);
        ExpectSame(index.Evaluate(whole.Columns(), span.from, span.to),
                   Direct(whole, span.from, span.to, 5.0));
    }
}

TEST(SpanFigures, TenMillionSamples) {
    Rec r = Recording(10'000'000, 5);
    r.Index();
    spanstats::SpanIndex index;
    index.Build(r.Columns(), 2.0);
    const double last = r.t.back();
    for (const Span& span :
         {Span{"whole record", 0, last + 1}, Span{"middle", 123456.7, 654321.2},
          Span{"last samples", last - 3, last}, Span{"one sample", r.t[7777777], r.t[7777777]}}) {
        SCOPED_TRACE(span.name);
        ExpectSame(index.Evaluate(r.Columns(), span.from, span.to), Direct(r, span.from, span.to, 2.0));
    }
}

TEST(SpanReadoutPlace, KeepsClearOfTheOtherBoxes) {
    using spanstats::Box;
    const int W = 600, H = 400;
    const Box legend{-240, -155, 150, 40};  // top left, where the legend starts
    const Box topRight{150, -160, 150, 80};
    const Box lowerRight{100, 60, 200, 100};
    struct Case {
        const char* name;
        std::vector<Box> obstacles;
        int x, y;
    } cases[] = {
        {"nothing in the way: top right", {}, 300 - 60 - 200, 45 - 200},
        {"the text box there: top left", {topRight}, 60 - 300, 45 - 200},
        {"both top corners taken: bottom right", {topRight, legend}, 300 - 60 - 200, 200 - 50 - 100},
        {"three corners taken: bottom left", {topRight, legend, lowerRight}, 60 - 300, 200 - 50 - 100},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const Box b = spanstats::FreePlace(200, 100, W, H, c.obstacles);
        EXPECT_EQ(b.x, c.x);
        EXPECT_EQ(b.y, c.y);
    }
    // A window smaller than the box: its top left corner in view.
    const Box small = spanstats::FreePlace(200, 100, 150, 80, {});
    EXPECT_EQ(small.x, -75);
    EXPECT_EQ(small.y, -40);
}
