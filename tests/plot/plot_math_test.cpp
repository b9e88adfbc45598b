#include "plot/plot_math.h"
#include "plot/sample_column.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <random>
#include <string>
#include <vector>

using namespace plotmath;

namespace {

std::string S(const wxString& s) {
    return s.utf8_string();
}

// Every text the same size, so label positions depend on the tick rule alone.
TextMeasure FixedMeasure(int width, int height) {
    return [width, height](const wxString&, int& w, int& h) {
        w = width;
        h = height;
    };
}

std::vector<std::string> Labels(const TimeAxisLayout& layout) {
    std::vector<std::string> out;
    for (const TimeAxisTick& t : layout.ticks)
        if (t.labelled)
            out.push_back(S(t.label));
    return out;
}

}  // namespace

TEST(PlotFit, DataFillsTheWindowLessMargins) {
    View start;
    start.scaleX = 3;
    start.centreX = 7;
    start.scaleY = 4;
    start.centreY = 8;
    start.scaleY2 = 5;
    start.centreY2 = 9;

    // 600 x 300 client, bottom margin 45: 500 px for x, 210 px for y.
    const Extent primary{-0.5, 99.5, 9.5, 30.5};
    View v = FitView(start, primary, -1.5, 5.5, 600, 300, 45, false);
    EXPECT_DOUBLE_EQ(v.scaleX, 500.0 / 100.0);
    EXPECT_DOUBLE_EQ(v.centreX, 49.5);
    EXPECT_DOUBLE_EQ(v.scaleY, 210.0 / 21.0);
    EXPECT_DOUBLE_EQ(v.centreY, 20.0);
    EXPECT_DOUBLE_EQ(v.scaleY2, 210.0 / 7.0);
    EXPECT_DOUBLE_EQ(v.centreY2, 2.0);
    // The extent's ends land 50 px from the left and right edges and 45 px from top and bottom.
    EXPECT_NEAR((primary.minX - v.centreX) * v.scaleX + 300, 50, 1e-9);
    EXPECT_NEAR((primary.maxX - v.centreX) * v.scaleX + 300, 550, 1e-9);
    EXPECT_NEAR((v.centreY - primary.maxY) * v.scaleY + 150, 45, 1e-9);
    EXPECT_NEAR((v.centreY - primary.minY) * v.scaleY + 150, 255, 1e-9);

    // A single x value: x scale and centre stay; y still fits.
    v = FitView(start, Extent{4, 4, 0, 10}, 0, 1, 600, 300, 45, false);
    EXPECT_EQ(v.scaleX, 3);
    EXPECT_EQ(v.centreX, 7);
    EXPECT_DOUBLE_EQ(v.scaleY, 21);

    // A flat y extent: the y scales and centres stay.
    v = FitView(start, Extent{0, 10, 2, 2}, 0, 1, 600, 300, 45, false);
    EXPECT_DOUBLE_EQ(v.scaleX, 50);
    EXPECT_EQ(v.scaleY, 4);
    EXPECT_EQ(v.centreY, 8);
    EXPECT_EQ(v.scaleY2, 5);

    // No secondary extent: the secondary scale keeps its value instead of becoming infinite.
    v = FitView(start, primary, 0, 0, 600, 300, 45, false);
    EXPECT_EQ(v.scaleY2, 5);
    EXPECT_EQ(v.centreY2, 0);

    // Aspect lock: both scales become their mean.
    v = FitView(start, Extent{0, 100, 0, 10}, 0, 1, 600, 300, 45, true);
    EXPECT_DOUBLE_EQ(v.scaleX, (5.0 + 21.0) / 2);
    EXPECT_DOUBLE_EQ(v.scaleY, (5.0 + 21.0) / 2);

    // A window narrower than its margins never mirrors the chart.
    v = FitView(start, primary, 0, 1, 60, 50, 45, false);
    EXPECT_GT(v.scaleX, 0);
    EXPECT_GT(v.scaleY, 0);
}

TEST(PlotSeries, ColumnRangeAndOrder) {
    // The finite range and the order of a column, taken whole and grown or rewritten at its end.
    ColumnRef xs = CopiedColumn({3, 1, 2}), ys = CopiedColumn({-4, 8, NAN});
    float lo = 0, hi = 0;
    ASSERT_TRUE(xs->Range(lo, hi));
    EXPECT_EQ(lo, 1);
    EXPECT_EQ(hi, 3);
    ASSERT_TRUE(ys->Range(lo, hi));
    EXPECT_EQ(lo, -4);
    EXPECT_EQ(hi, 8);
    EXPECT_FALSE(xs->Sorted());
    EXPECT_FALSE(ys->AllFinite());
    EXPECT_EQ(ys->Extremes(), nullptr);
    EXPECT_FALSE(CopiedColumn({})->Range(lo, hi));

    auto values = std::make_shared<std::vector<float>>(std::vector<float>{0, 1, 1, 2});
    SampleColumn grown;
    grown.Take(values);
    EXPECT_TRUE(grown.Sorted());
    values->push_back(1.5f);  // out of order across the seam
    grown.Take(values, 4);
    EXPECT_FALSE(grown.Sorted());
    (*values)[4] = 7;  // rewritten: in order again, and the new largest value
    grown.Take(values, 4);
    EXPECT_TRUE(grown.Sorted());
    ASSERT_TRUE(grown.Range(lo, hi));
    EXPECT_EQ(hi, 7);
    (*values)[1] = NAN;  // claimed unchanged from 2 on, so taken whole only when said
    grown.Take(values, 0);
    EXPECT_FALSE(grown.AllFinite());
    EXPECT_FALSE(grown.Sorted());

    const std::vector<float> sorted{0, 1, 1, 2}, unsorted{0, 2, 1}, withNan{0, NAN, 2};
    EXPECT_TRUE(IsSortedFinite(sorted.data(), sorted.size()));
    EXPECT_FALSE(IsSortedFinite(unsorted.data(), unsorted.size()));
    EXPECT_FALSE(IsSortedFinite(withNan.data(), withNan.size()));
}

TEST(PlotSeries, NearestSampleTakesTheLowerIndexOnTies) {
    struct Case {
        std::vector<float> xs;
        double x;
        std::size_t expected;
    };
    const Case cases[] = {
        {{0, 2, 4}, 1.0, 0},                                   // 0 and 2 equally near
        {{0, 2, 4}, 3.0, 1},                                   // 2 and 4 equally near
        {{0, 2, 4}, 3.1, 2},       {{0, 2, 2, 2, 4}, 2.2, 1},  // the first of equal x values
        {{0, 2, 2, 2, 4}, 3.0, 1},                             // tie between the run of 2 and 4
        {{5, 6}, -100.0, 0},       {{5, 6}, 100.0, 1},        {{7}, 0.0, 0}, {{}, 1.0, 0},  // no sample: n
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "x " << c.x);
        EXPECT_EQ(NearestIndex(c.xs.data(), c.xs.size(), c.x, true), c.expected);
        EXPECT_EQ(NearestIndex(c.xs.data(), c.xs.size(), c.x, false), c.expected);
    }
    // Unsorted samples are scanned: the nearest wins wherever it is.
    const std::vector<float> jumbled{9, 1, 5, 1};
    EXPECT_EQ(NearestIndex(jumbled.data(), jumbled.size(), 1.4, false), 1u);
    EXPECT_EQ(NearestIndex(jumbled.data(), jumbled.size(), 6.0, false), 2u);

    // Binary search and full scan agree on random sorted series with repeated values.
    std::mt19937 rng(7);
    for (int round = 0; round < 200; ++round) {
        std::vector<float> xs(1 + rng() % 50);
        float x = 0;
        for (float& v : xs) {
            x += static_cast<float>(rng() % 4) * 0.25f;
            v = x;
        }
        const double probe = std::uniform_real_distribution<double>(-1, x + 1)(rng);
        ASSERT_EQ(NearestIndex(xs.data(), xs.size(), probe, true),
                  NearestIndex(xs.data(), xs.size(), probe, false))
            << "probe " << probe;
    }
}

TEST(PlotAxes, TickSpacingIsAPowerOfFive) {
    struct Case {
        double pixelsPer128;  // data units in 128 pixels
        int n;
        double step;
    };
    const Case cases[] = {{30, 2, 25}, {200, 3, 125}, {1, 0, 1}, {4.99, 0, 1}, {5.01, 1, 5}, {0.5, -1, 0.2}};
    for (const Case& c : cases) {
        const TickSpacing t = TickSpacingFor(128.0 / c.pixelsPer128);
        ASSERT_TRUE(t.valid);
        EXPECT_EQ(t.n, c.n) << c.pixelsPer128;
        EXPECT_NEAR(t.step, c.step, c.step * 1e-8) << c.pixelsPer128;
    }
    for (double bad : {0.0, -1.0, double(INFINITY), double(NAN)})
        EXPECT_FALSE(TickSpacingFor(bad).valid) << bad;
}

TEST(PlotAxes, ElapsedTimeLabels) {
    struct Case {
        double seconds;
        const char* text;
    };
    // clang-format off
    const Case cases[] = {
        {0, "00:00"}, {25, "00:25"}, {75, "01:15"}, {3599, "59:59"}, {3600, "01:00:00"}, {-5, "23:59:55"},
        {-86400 - 5, "23:59:55"}, {24.999999978, "00:25"}, {45296, "12:34:56"},
        // Past a day the hours count on: the ticks of a 27.8-hour recording.
        {15625, "04:20:25"}, {46875, "13:01:15"}, {78125, "21:42:05"}, {109375, "30:22:55"},
        {86400 + 61, "24:01:01"}, {360000, "100:00:00"},
    };
    // clang-format on
    for (const Case& c : cases)
        EXPECT_EQ(S(ElapsedTimeLabel(c.seconds)), c.text) << c.seconds;
}

TEST(PlotAxes, TimeAxisLabelsAndPlace) {
    TimeAxisInput in;
    in.W = 600;
    in.H = 300;
    in.bottomMargin = 45;
    in.dateLabels = true;  // no start time: no date row all the same

    // 30 s per 128 px: a tick every 25 s.
    in.scaleX = 128.0 / 30.0;
    in.centreX = 249 / in.scaleX;  // x = 0 a pixel right of the axis start
    TimeAxisLayout layout = LayoutTimeAxis(in, FixedMeasure(30, 12));
    std::vector<std::string> labels = Labels(layout);
    ASSERT_GE(labels.size(), 4u);
    EXPECT_EQ(std::vector<std::string>(labels.begin(), labels.begin() + 4),
              (std::vector<std::string>{"00:00", "00:25", "00:50", "01:15"}));
    EXPECT_FALSE(layout.dateRow);
    EXPECT_EQ(layout.margin, 35);
    EXPECT_EQ(layout.y, 150 - 35);
    EXPECT_EQ(layout.lineLeft, -250);
    EXPECT_EQ(layout.lineRight, 300);

    // 200 s per 128 px: every 125 s.
    in.scaleX = 128.0 / 200.0;
    in.centreX = 249 / in.scaleX;
    labels = Labels(LayoutTimeAxis(in, FixedMeasure(30, 12)));
    ASSERT_GE(labels.size(), 3u);
    EXPECT_EQ(std::vector<std::string>(labels.begin(), labels.begin() + 3),
              (std::vector<std::string>{"00:00", "02:05", "04:10"}));

    // A secondary series shortens the axis line by 50 px; shortenRight drops the ticks there.
    in.secondarySeries = true;
    in.shortenRight = true;
    layout = LayoutTimeAxis(in, FixedMeasure(30, 12));
    EXPECT_EQ(layout.lineRight, 250);
    for (const TimeAxisTick& t : layout.ticks) {
        EXPECT_GT(t.px, -250);
        EXPECT_LT(t.px, 250);
    }

    // With a start time: clock times and a date row, the margin as set.
    in.startTime = wxDateTime(5, wxDateTime::Mar, 2024, 10, 0, 0);
    in.scaleX = 128.0 / 30.0;
    in.centreX = 249 / in.scaleX;
    layout = LayoutTimeAxis(in, FixedMeasure(30, 12));
    EXPECT_TRUE(layout.dateRow);
    EXPECT_EQ(layout.margin, 45);
    ASSERT_FALSE(layout.ticks.empty());
    EXPECT_EQ(S(layout.ticks[0].label), "10:00:00");
    EXPECT_EQ(S(layout.ticks[0].date), "05/03/24");
    EXPECT_EQ(S(layout.ticks[1].label), "10:00:25");
}

TEST(PlotAxes, TimeLabelsCloserThanElevenPixelsAreSkipped) {
    // 100 px per second gives ticks exactly 100 px apart (step 1 s); 101 px per second 101 px.
    TimeAxisInput in;
    in.W = 1000;
    in.H = 300;
    in.centreX = 0;
    // Labels 90 px wide: 10 px from the previous label at 100 px spacing, 11 px at 101.
    in.scaleX = 100;
    TimeAxisLayout layout = LayoutTimeAxis(in, FixedMeasure(90, 12));
    ASSERT_GT(layout.ticks.size(), 6u);
    for (std::size_t i = 1; i < layout.ticks.size(); ++i) {
        EXPECT_EQ(layout.ticks[i].px - layout.ticks[i - 1].px, 100);
        EXPECT_NE(layout.ticks[i].labelled, layout.ticks[i - 1].labelled) << "tick " << i;
    }
    in.scaleX = 101;
    layout = LayoutTimeAxis(in, FixedMeasure(90, 12));
    for (const TimeAxisTick& t : layout.ticks)
        EXPECT_TRUE(t.labelled) << t.px;
}

TEST(PlotAxes, ValueAxisFormatsAndPlaces) {
    ValueAxisInput in;
    in.W = 600;
    in.H = 300;
    in.bottomMargin = 45;
    in.centre = 20;

    // n = 1 (a tick every 5): whole numbers.
    in.scale = 10;
    ValueAxisLayout layout = LayoutValueAxis(in, FixedMeasure(20, 12));
    EXPECT_EQ(layout.x, 50 - 300);
    std::vector<std::string> labels;
    for (const ValueAxisTick& t : layout.ticks) {
        EXPECT_LT(t.py, 150 - 45);
        EXPECT_GT(t.py, 30 - 150);
        if (t.labelled)
            labels.push_back(S(t.label));
    }
    EXPECT_EQ(labels, (std::vector<std::string>{"10", "15", "20", "25", "30"}));

    // n = 0 (a tick every 1): one decimal; labels at least 33 px apart.
    in.scale = 30;
    layout = LayoutValueAxis(in, FixedMeasure(20, 12));
    labels.clear();
    int lastLabel = 100000;
    for (const ValueAxisTick& t : layout.ticks) {
        if (!t.labelled)
            continue;
        labels.push_back(S(t.label));
        EXPECT_GT(lastLabel - t.py, 32);
        lastLabel = t.py;
    }
    EXPECT_EQ(labels, (std::vector<std::string>{"17.0", "19.0", "21.0", "23.0"}));

    // The secondary axis: one decimal always, 40 px from the right with align 5.
    in.secondary = true;
    in.align = 5;
    in.scale = 10;
    layout = LayoutValueAxis(in, FixedMeasure(20, 12));
    EXPECT_EQ(layout.x, 300 - 50);
    ASSERT_FALSE(layout.ticks.empty());
    EXPECT_EQ(S(layout.ticks.front().label).find('.'), S(layout.ticks.front().label).size() - 2);
}

TEST(PlotReadouts, LegendTextsAndSizes) {
    EXPECT_EQ(S(LegendValueText(29.99)), " 29.99 ");
    EXPECT_EQ(S(LegendValueText(30)), " 30 ");
    EXPECT_EQ(S(LegendValueText(29.999)), " 30.00 ");
    EXPECT_EQ(S(LegendValueText(1234.5)), " 1234 ");  // printf rounds half to even
    EXPECT_EQ(S(LegendValueText(-2)), " -2.00 ");

    EXPECT_EQ(S(PrimaryMeasureText(12.5, -3)), "12.500000 -3.000000");
    EXPECT_EQ(S(SecondaryMeasureText(2.25)), "2.250000 ");

    struct Case {
        std::vector<int> widths, heights;
        int width, height;
    };
    const Case cases[] = {
        {{}, {}, 20, 10},
        {{100}, {15}, 125, 25},
        {{100, 120}, {15, 15}, 145, 40},
        {{120, 100}, {15, 15}, 145, 40},  // 100 + 20 < 145: stays
        {{120, 125}, {15, 15}, 150, 40},  // 125 + 20 reaches 145
        {{0}, {15}, 25, 25},              // 0 + 20 reaches 20
    };
    for (const Case& c : cases) {
        int w = 0, h = 0;
        LegendSize(c.widths, c.heights, w, h);
        EXPECT_EQ(w, c.width);
        EXPECT_EQ(h, c.height);
    }
}

TEST(PlotReadouts, TextBoxSize) {
    // Width 7 px a character, 12 px a line.
    const TextMeasure measure = [](const wxString& text, int& w, int& h) {
        w = 7 * static_cast<int>(text.length());
        h = 12;
    };
    struct Case {
        const char* text;
        int width, height;
    };
    const Case cases[] = {
        {"", 10, 0}, {"\n\n", 10, 0}, {"ab", 24, 22}, {"ab\nlonger", 52, 34}, {"a\n\nb", 17, 46},
    };
    for (const Case& c : cases) {
        int w = 0, h = 0;
        TextBoxSize(wxString::FromUTF8(c.text), measure, w, h);
        EXPECT_EQ(w, c.width) << c.text;
        EXPECT_EQ(h, c.height) << c.text;
    }
}

TEST(PlotBoxes, DragResizeAndStaleAnchors) {
    const int W = 600, H = 300;
    double ax = 0, ay = 0;
    BoxState box;
    box.x = 10;
    box.y = 20;
    box.width = 100;
    box.height = 40;
    box.lastW = W;
    box.lastH = H;

    // The pointer (window pixels) is over the box and moved by (+15, +7): the box follows once.
    PointerState p{W / 2 + 60, H / 2 + 30, -15, -7};
    PlaceBox(box, p, W, H, ax, ay);
    EXPECT_EQ(box.x, 25);
    EXPECT_EQ(box.y, 27);
    EXPECT_EQ(ax, 25);
    EXPECT_EQ(ay, 27);
    // The next paint has no step: the box stays.
    p.dragDX = p.dragDY = 0;
    PlaceBox(box, p, W, H, ax, ay);
    EXPECT_EQ(box.x, 25);
    EXPECT_EQ(box.y, 27);

    // A step far from the box moves nothing.
    PointerState away{0, 0, -15, -7};
    PlaceBox(box, away, W, H, ax, ay);
    EXPECT_EQ(box.x, 25);

    // A step that began on the box but ends beyond it (a fast pointer) still carries it.
    PointerState fast{W / 2 + 25 + 100 + 30, H / 2 + 27 + 5, -40, 0};  // was 10 px inside
    PlaceBox(box, fast, W, H, ax, ay);
    EXPECT_EQ(box.x, 65);

    // Resizing by a factor moves the box by the same factor.
    PlaceBox(box, PointerState{}, 2 * W, 2 * H, ax, ay);
    EXPECT_EQ(box.x, 130);
    EXPECT_EQ(box.y, 54);
    EXPECT_EQ(box.refX, 130);
    EXPECT_EQ(box.refY, 54);
    // A paint with the pointer resting on the box after the resize leaves it there (the anchor of
    // the previous paint is older than the resize).
    PointerState resting{W + 140, H + 60, 0, 0};
    PlaceBox(box, resting, 2 * W, 2 * H, ax, ay);
    EXPECT_EQ(box.x, 130);
    EXPECT_EQ(box.y, 54);

    // A window size of 0 (drawn before it was ever shown) never divides by zero later.
    PlaceBox(box, PointerState{}, 0, 0, ax, ay);
    PlaceBox(box, PointerState{}, W, H, ax, ay);
    EXPECT_EQ(box.x, 0);  // scaled to the 0-wide window, then left alone
    // The first draw (size 1 x 1 remembered) never scales.
    BoxState fresh;
    fresh.x = 33;
    fresh.y = 44;
    PlaceBox(fresh, PointerState{}, W, H, ax, ay);
    EXPECT_EQ(fresh.x, 33);
    EXPECT_EQ(fresh.y, 44);
}

TEST(PlotReduction, PyramidGrownPieceByPieceEqualsOneBuiltWhole) {
    // A live record grows by pieces of any size; its block extremes must be those a fresh build
    // makes, at every level. Quiet data with rare isolated spikes and dips: a stale block shows
    // only where its extreme sits in the part that changed, which uniform noise almost never
    // arranges.
    std::mt19937 rng(25);
    const std::size_t total = 3000000;
    std::vector<float> v(total);
    std::uniform_real_distribution<float> quiet(-1, 1), far(100, 1000);
    std::uniform_int_distribution<int> oneIn(0, 399);
    for (float& f : v) {
        const int r = oneIn(rng);
        f = r == 0 ? far(rng) : r == 1 ? -far(rng) : quiet(rng);
    }
    const auto scanCheck = [&](const MinMaxPyramid& pyramid, std::size_t n, int rounds) {
        for (int round = 0; round < rounds; ++round) {
            // Lengths spread over every scale, from a few samples to the whole record.
            const double logLength = std::uniform_real_distribution<double>(0, std::log(double(n)))(rng);
            const std::size_t length = std::clamp<std::size_t>(std::size_t(std::exp(logLength)), 1, n);
            const std::size_t i = std::uniform_int_distribution<std::size_t>(0, n - length)(rng);
            const std::size_t j = i + length;
            float lo = 0, hi = 0;
            pyramid.Query(v.data(), i, j, lo, hi);
            ASSERT_EQ(lo, *std::min_element(v.begin() + i, v.begin() + j)) << n << ": " << i << " " << j;
            ASSERT_EQ(hi, *std::max_element(v.begin() + i, v.begin() + j)) << n << ": " << i << " " << j;
        }
    };
    MinMaxPyramid grown, fresh;
    // Piece sizes from 1 to 5,000, spread evenly over their logarithm so that short ticks and
    // long catch-ups both come often.
    std::uniform_real_distribution<double> logPiece(0, std::log(5000.0));
    std::size_t n = 0;
    for (int append = 0; n < total; ++append) {
        const std::size_t piece = std::clamp<std::size_t>(std::size_t(std::exp(logPiece(rng))), 1, 5000);
        const std::size_t next = std::min(total, n + piece);
        grown.Extend(v.data(), n, next);
        n = next;
        // Every append while the record is short, then every 40th and the last one.
        if (n < 200000 || append % 40 == 0 || n == total) {
            fresh.Build(v.data(), n);
            ASSERT_TRUE(grown == fresh) << "after " << append << " appends, " << n << " samples";
            scanCheck(grown, n, 20);
        }
    }
}

namespace {

// Pixels a set of segments covers when each is drawn one pixel wide (Bresenham-free: segments
// here are vertical, horizontal-free or sampled densely enough for the comparison).
std::vector<std::pair<int, int>> Covered(const std::vector<Segment>& segments) {
    std::vector<std::pair<int, int>> px;
    for (const Segment& s : segments) {
        const int steps = std::max(std::abs(s.x2 - s.x1), std::abs(s.y2 - s.y1)) * 4 + 1;
        for (int k = 0; k <= steps; ++k) {
            const double t = static_cast<double>(k) / steps;
            px.emplace_back(static_cast<int>(std::lround(s.x1 + t * (s.x2 - s.x1))),
                            static_cast<int>(std::lround(s.y1 + t * (s.y2 - s.y1))));
        }
    }
    std::sort(px.begin(), px.end());
    px.erase(std::unique(px.begin(), px.end()), px.end());
    return px;
}

}  // namespace

TEST(PlotReduction, ColumnsDrawWhatEverySegmentDraws) {
    // Dense noise, 20,000 samples over 400 columns: the reduced segments cover the same pixels as
    // the segment between every pair of neighbours, with a fraction of the segments.
    std::mt19937 rng(11);
    const std::size_t n = 20000;
    std::vector<float> xs(n), ys(n);
    for (std::size_t i = 0; i < n; ++i) {
        xs[i] = static_cast<float>(i) * 0.1f;
        ys[i] = std::uniform_real_distribution<float>(0, 50)(rng) + (i == 9000 ? 400.f : 0.f);
    }
    MinMaxPyramid pyramid;
    pyramid.Build(ys.data(), n);
    const AxisMap mapX{1000, 0.2, false}, mapY{100, 2, true};  // the samples span 400 columns
    std::vector<Segment> reduced, generic, every;
    BuildContinuousSegments(xs.data(), ys.data(), n, true, &pyramid, mapX, mapY, 600, 400, 2, true, reduced);
    BuildContinuousSegments(xs.data(), ys.data(), n, false, nullptr, mapX, mapY, 600, 400, 2, true, generic);
    BuildContinuousSegments(xs.data(), ys.data(), n, false, nullptr, mapX, mapY, 600, 400, 2, false, every);

    EXPECT_LE(reduced.size(), 3u * 401u);
    EXPECT_GE(every.size(), n);
    // The fast path and the sample-by-sample grouping agree exactly.
    ASSERT_EQ(reduced.size(), generic.size());
    for (std::size_t i = 0; i < reduced.size(); ++i) {
        ASSERT_EQ(reduced[i].x1, generic[i].x1) << i;
        ASSERT_EQ(reduced[i].y1, generic[i].y1) << i;
        ASSERT_EQ(reduced[i].x2, generic[i].x2) << i;
        ASSERT_EQ(reduced[i].y2, generic[i].y2) << i;
    }
    EXPECT_EQ(Covered(reduced), Covered(every));
}

TEST(PlotReduction, FarEndsAreClippedFromTheEndOnScreen) {
    // A line from a point in the view to a point d pixels away in a fixed direction: the point in
    // the view stays exactly, the clipped end stays on the line to within a pixel, whatever d.
    struct Direction {
        double dx, dy;
    };
    const Direction directions[] = {{1, 0}, {1, 0.5}, {-1, -3}, {0.001, -1}, {-1, 1e-9}};
    const std::pair<double, double> starts[] = {{0, 0}, {-287, 133}, {299, -149}};
    for (double d : {1e6, 1e9, 1e12, 1e15, 1e17, 1e19, 1e22}) {
        for (const Direction& dir : directions) {
            for (const auto& [sx, sy] : starts) {
                SCOPED_TRACE(testing::Message() << "d " << d << " dir " << dir.dx << "," << dir.dy << " from "
                                                << sx << "," << sy);
                const double len = std::hypot(dir.dx, dir.dy);
                const double fx = std::trunc(sx + d * dir.dx / len), fy = std::trunc(sy + d * dir.dy / len);
                for (bool reversed : {false, true}) {
                    double x1 = sx, y1 = sy, x2 = fx, y2 = fy;
                    if (reversed) {
                        std::swap(x1, x2);
                        std::swap(y1, y2);
                    }
                    ASSERT_TRUE(ClipToDrawable(x1, y1, x2, y2));
                    const double nx = reversed ? x2 : x1, ny = reversed ? y2 : y1;
                    const double cx = reversed ? x1 : x2, cy = reversed ? y1 : y2;
                    EXPECT_EQ(nx, sx);
                    EXPECT_EQ(ny, sy);
                    // The far end: at the border of what cairo holds, on the line, that way.
                    EXPECT_LE(std::max(std::fabs(cx), std::fabs(cy)), 1 << 15);
                    const double ux = (fx - sx), uy = (fy - sy);
                    const double off = std::fabs((cx - sx) * uy - (cy - sy) * ux) / std::hypot(ux, uy);
                    EXPECT_LT(off, 0.5);
                    EXPECT_GT((cx - sx) * ux + (cy - sy) * uy, 0);
                    // As drawn (whole pixels), too.
                    std::vector<Segment> out;
                    SegmentBuilder b(600, 300, 2, out, false);
                    b.Add(reversed ? fx : sx, reversed ? fy : sy);
                    b.Add(reversed ? sx : fx, reversed ? sy : fy);
                    b.Finish();
                    ASSERT_EQ(out.size(), reversed ? 1u : 2u);  // a dot starts the line where it is seen
                    const Segment& s = out.back();
                    EXPECT_EQ(reversed ? s.x2 : s.x1, sx);
                    EXPECT_EQ(reversed ? s.y2 : s.y1, sy);
                }
            }
        }
    }
    // Both ends far beyond: the part crossing the view is kept, within drawable coordinates.
    double x1 = -1e22, y1 = 10, x2 = 1e22, y2 = 10;
    ASSERT_TRUE(ClipToDrawable(x1, y1, x2, y2));
    EXPECT_EQ(y1, 10);
    EXPECT_EQ(y2, 10);
    EXPECT_LE(x1, -300);
    EXPECT_GE(x2, 300);
    EXPECT_LE(std::fabs(x1), 1 << 15);
    x1 = 1e11, y1 = -1e12, x2 = -1e11, y2 = 1e12;  // steep, through the middle of the view
    ASSERT_TRUE(ClipToDrawable(x1, y1, x2, y2));
    EXPECT_EQ(y1, -(1 << 15));
    EXPECT_EQ(y2, 1 << 15);
    EXPECT_NEAR(x1, 0.1 * (1 << 15), 0.01);
    EXPECT_NEAR(x2, -0.1 * (1 << 15), 0.01);
    // Nothing left when the line passes beside the square, or is not a number.
    x1 = 3e6, y1 = 0, x2 = 0, y2 = 3e6;
    EXPECT_FALSE(ClipToDrawable(x1, y1, x2, y2));
    x1 = NAN, y1 = 0, x2 = 0, y2 = 0;
    EXPECT_FALSE(ClipToDrawable(x1, y1, x2, y2));
}

TEST(PlotReduction, OnlyTheVisiblePartIsVisited) {
    // A million samples, a view of 100 of them: a handful of segments, the lines leaving the view
    // included, and far-off points clipped into drawable coordinates.
    const std::size_t n = 1000000;
    std::vector<float> xs(n), ys(n);
    for (std::size_t i = 0; i < n; ++i) {
        xs[i] = static_cast<float>(i);
        ys[i] = static_cast<float>(i % 7);
    }
    MinMaxPyramid pyramid;
    pyramid.Build(ys.data(), n);
    std::vector<Segment> out;
    const AxisMap mapX{500000, 6, false}, mapY{3, 40, true};
    BuildContinuousSegments(xs.data(), ys.data(), n, true, &pyramid, mapX, mapY, 600, 300, 2, true, out);
    ASSERT_FALSE(out.empty());
    EXPECT_LE(out.size(), 110u);
    EXPECT_LE(out.front().x1, -300);  // comes in from the left
    EXPECT_GE(out.back().x2, 300);    // leaves to the right

    // Zoomed in a billion times: the lines next to the view stay within int range.
    out.clear();
    const AxisMap deep{500000.5, 1e9, false};
    BuildContinuousSegments(xs.data(), ys.data(), n, true, &pyramid, deep, mapY, 600, 300, 2, true, out);
    ASSERT_EQ(out.size(), 1u);
    EXPECT_LE(std::abs(out[0].x1), 1 << 15);
    EXPECT_LE(std::abs(out[0].x2), 1 << 15);

    // Dots: every visible sample counted on its pixel.
    const auto tally = [](const DotCounts& dots) {
        std::pair<std::size_t, std::uint64_t> pixelsAndDots{0, 0};
        for (std::uint32_t c : dots.counts) {
            pixelsAndDots.first += c > 0;
            pixelsAndDots.second += c;
        }
        return pixelsAndDots;
    };
    DotCounts dots;
    const AxisMap squeeze{500000, 0.0001, false};  // 10,000 samples a column, about 1,400 a pixel
    CountDots(xs.data(), ys.data(), n, true, squeeze, mapY, 600, 300, 2, dots);
    EXPECT_EQ(tally(dots).first, 99u * 7u + 1u);  // 99 full columns of 7 rows, x = 0 alone in one
    const AxisMap loose{500000, 0.01, false};     // 100 samples a column
    CountDots(xs.data(), ys.data(), n, true, loose, mapY, 600, 300, 2, dots);
    EXPECT_EQ(tally(dots).second, 608u * 100u + 199u);  // view and margin; column 0 is two wide
}
