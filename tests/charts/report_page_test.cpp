// The report page as drawn: the water supply graph's line, read back from the picture.
#include "charts/report_page.h"
#include "support/test_helpers.h"

#include <gtest/gtest.h>

#include <cairo.h>

#include <cmath>
#include <cstdlib>

namespace {

constexpr double PixelsPerUnit = 0.5;  // 127 dpi

// The page drawn into a picture.
class Picture {
public:
    explicit Picture(const report::Page& page) {
        surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24,
                                             static_cast<int>(report::PageWidth * PixelsPerUnit),
                                             static_cast<int>(report::PageHeight * PixelsPerUnit));
        cairo_t* cr = cairo_create(surface);
        cairo_set_source_rgb(cr, 1, 1, 1);
        cairo_paint(cr);
        // DrawOnCairo takes the context's units as points.
        cairo_scale(cr, PixelsPerUnit * 254 / 72, PixelsPerUnit * 254 / 72);
        report::DrawOnCairo(cr, page);
        cairo_destroy(cr);
        cairo_surface_flush(surface);
    }
    ~Picture() { cairo_surface_destroy(surface); }

    // Whether a pixel of the line's colour lies within `reach` pixels of a point in page units.
    bool LineNear(double u, double v, int reach = 2) const {
        const int cx = static_cast<int>(std::lround(u * PixelsPerUnit)),
                  cy = static_cast<int>(std::lround(v * PixelsPerUnit));
        for (int y = cy - reach; y <= cy + reach; ++y)
            for (int x = cx - reach; x <= cx + reach; ++x)
                if (IsLineColour(x, y))
                    return true;
        return false;
    }
    bool DarkAt(double u, double v) const {
        const unsigned p = Pixel(static_cast<int>(std::lround(u * PixelsPerUnit)),
                                 static_cast<int>(std::lround(v * PixelsPerUnit)));
        return ((p >> 16) & 255) < 60 && ((p >> 8) & 255) < 60 && (p & 255) < 60;
    }

private:
    unsigned Pixel(int x, int y) const {
        const unsigned char* data = cairo_image_surface_get_data(surface);
        const int stride = cairo_image_surface_get_stride(surface);
        return *reinterpret_cast<const unsigned*>(data + y * stride + x * 4);
    }
    bool IsLineColour(int x, int y) const {
        const unsigned p = Pixel(x, y);
        const int r = (p >> 16) & 255, g = (p >> 8) & 255, b = p & 255;
        // Anti-aliased edges blend with white: the hue is what counts.
        return std::abs(r - report::SupplyLineColour[0]) < 40 && g < 90 &&
               std::abs(b - report::SupplyLineColour[2]) < 60;
    }
    cairo_surface_t* surface = nullptr;
};

report::Page PageOf(double staticP, double flowingP, double flow, double required, int unitSystem,
                    int flowUnit, int pressureUnit, const char* flowText, const char* pressureText) {
    hydrant::Evaluation e;
    e.phasesFound = true;
    e.restPhase = {0, 59, 0, 59};
    e.flowingPhase = {70, 199, 70, 199};
    e.staticPressure = staticP;
    e.flowingPressure = flowingP;
    e.flow = flow;
    hydrant::Recompute(e, required);
    report::Page page;
    page.figures = hydrant::MakeReport(e, unitSystem, flowUnit, pressureUnit,
                                       {U8(flowText), U8(pressureText), 0, pressureUnit == 112 ? 1 : 2});
    for (int i = 0; i < 230; ++i) {
        const bool open = i >= 60 && i < 205;
        page.times.push_back(static_cast<float>(i));
        page.flows.push_back(static_cast<float>(open ? flow : 0));
        page.pressures.push_back(static_cast<float>(open ? flowingP : staticP));
    }
    page.testTime = U8("27.03.2023 08:52:30");
    return page;
}

}  // namespace

TEST(ReportPage, TheSupplyLinePassesThroughTheStaticAndTheTestPointDownToTheMinimum) {
    const struct {
        const char* name;
        report::Page page;
        double axisFlow, axisPressure;  // the graph's round axis ends, as the figures ask for them
    } cases[] = {
        {"metric", PageOf(5.52, 2.72, 729, 1.5, 1, 0, 98, "l/min", "Bar"), 1000, 6},
        {"NFPA example", PageOf(70, 50, 1000, 20, 0, 3, 112, "g/min", "psi"), 2000, 80},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const hydrant::Evaluation& e = c.page.figures.evaluation;
        const hydrant::SupplyScale scale = hydrant::SupplyScaleFor(c.page.figures);
        ASSERT_DOUBLE_EQ(scale.maxFlow, c.axisFlow);
        ASSERT_DOUBLE_EQ(scale.maxPressure, c.axisPressure);
        const Picture picture(c.page);
        const wxRect area = report::SupplyPlotArea();
        // Where the graph paper puts a point: flow on the 1.85 power, pressure linear.
        auto u = [&](double q) { return area.x + area.width * std::pow(q / c.axisFlow, 1.85); };
        auto v = [&](double p) { return area.GetBottom() - area.height * p / c.axisPressure; };
        const double u0 = u(0), v0 = v(e.staticPressure), u1 = u(e.flow), v1 = v(e.flowingPressure);
        // The two points are marked.
        EXPECT_TRUE(picture.DarkAt(u0, v0)) << "static point";
        EXPECT_TRUE(picture.DarkAt(u1, v1)) << "test point";
        // The straight line between them, and on beyond the test point to the minimum pressure.
        const double vEnd = v(e.requiredPressure);
        const double uEnd = u0 + (u1 - u0) * (vEnd - v0) / (v1 - v0);
        for (double share : {0.2, 0.5, 0.8}) {
            EXPECT_TRUE(picture.LineNear(u0 + share * (u1 - u0), v0 + share * (v1 - v0))) << share;
            EXPECT_TRUE(picture.LineNear(u1 + share * (uEnd - u1), v1 + share * (vEnd - v1)))
                << "beyond " << share;
            // Nowhere above it.
            EXPECT_FALSE(picture.LineNear(u0 + share * (u1 - u0), v0 + share * (v1 - v0) - 40, 4)) << share;
        }
        // It stops at the minimum pressure, where the available flow is marked.
        EXPECT_FALSE(picture.LineNear(uEnd + 0.15 * (uEnd - u0), vEnd + 0.15 * (vEnd - v0), 4));
        EXPECT_NEAR(uEnd, u(e.availableFlow), 3.0);
        EXPECT_TRUE(picture.LineNear(u(e.availableFlow), vEnd + 14));  // the marker's ring
    }
}
