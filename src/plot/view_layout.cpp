#include "plot/view_layout.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace plotmath {

namespace {

// ln 5 as the tick rule has always used it (nine decimals).
constexpr double kLn5 = 1.609437912;

}  // namespace

int PixelInt(double v) {
    // Pixel positions far outside the window only need to stay outside it.
    if (!(v == v))
        return 0;
    if (v > 1e9)
        return 1000000000;
    if (v < -1e9)
        return -1000000000;
    return static_cast<int>(v);
}

wxString FixedDigits(double value, int precision) {
    char buf[512];
    auto result = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::fixed, precision);
    if (result.ec != std::errc())
        return wxString::FromAscii("?");
    return wxString::FromAscii(buf, result.ptr - buf);
}

namespace {

wxString TwoDigits(long v) {
    char buf[8];
    buf[0] = static_cast<char>('0' + (v / 10) % 10);
    buf[1] = static_cast<char>('0' + v % 10);
    return wxString::FromAscii(buf, 2);
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// View

View FitView(const View& current, const Extent& primary, double minY2, double maxY2, int clientWidth,
             int clientHeight, int bottomMargin, bool lockAspect) {
    View v = current;
    // A window smaller than its margins would turn the scale negative (a mirrored chart); keep at
    // least one pixel.
    const double usableWidth = std::max(1, clientWidth - 100);
    const double usableHeight = std::max(1, clientHeight - 2 * bottomMargin);
    if (primary.maxX != primary.minX) {
        const double span = primary.maxX - primary.minX;
        v.scaleX = usableWidth / span;
        v.centreX = primary.minX + span / 2;
    }
    if (primary.maxY != primary.minY) {
        const double span = primary.maxY - primary.minY;
        const double span2 = maxY2 - minY2;
        v.scaleY = usableHeight / span;
        // Without a secondary extent the secondary scale would become infinite; keep it.
        if (span2 != 0)
            v.scaleY2 = usableHeight / span2;
        v.centreY = primary.minY + span / 2;
        v.centreY2 = minY2 + span2 / 2;
    }
    if (lockAspect) {
        const double mean = (v.scaleX + v.scaleY) * 0.5;
        v.scaleX = v.scaleY = mean;
    }
    return v;
}

// ---------------------------------------------------------------------------------------------
// Axis ticks

TickSpacing TickSpacingFor(double scale) {
    TickSpacing t;
    if (!(scale > 0) || !std::isfinite(scale))
        return t;
    const double r = std::floor(std::log(128.0 / scale) / kLn5);
    if (!std::isfinite(r) || std::fabs(r) > 400)
        return t;
    t.n = static_cast<int>(r);
    t.step = std::exp(t.n * kLn5);
    t.valid = t.step > 0 && std::isfinite(t.step);
    return t;
}

std::vector<double> TickValues(double centre, double halfPixels, double scale, double step, double farEnd) {
    std::vector<double> ticks;
    if (!(step > 0) || !(scale > 0) || !std::isfinite(centre) || !std::isfinite(farEnd))
        return ticks;
    double t = std::floor((centre - halfPixels / scale) / step) * step;
    // A window a few thousand pixels wide has a few hundred ticks at most.
    for (int i = 0; t < farEnd && i < 20000; ++i) {
        ticks.push_back(t);
        const double next = t + step;
        if (next <= t)
            break;
        t = next;
    }
    return ticks;
}

wxString ElapsedTimeLabel(double seconds) {
    double s = std::round(seconds);
    if (!std::isfinite(s) || std::fabs(s) > 1e15)
        s = 0;
    // Left of the start the clock runs back through the day before; from the start on, the hours
    // count on past 24 (a recording of 30 hours reads 30:22:55, not 06:22:55).
    if (s < 0) {
        s = std::fmod(s, 86400.0);
        if (s < 0)
            s += 86400.0;
    }
    const long long total = static_cast<long long>(s);
    const long long h = total / 3600, m = total / 60 % 60, sec = total % 60;
    wxString label;
    if (h != 0) {
        if (h >= 100)
            label << wxString::Format(wxString::FromAscii("%lld"), h) << wxS(':');
        else
            label << TwoDigits(static_cast<long>(h)) << wxS(':');
    }
    label << TwoDigits(static_cast<long>(m)) << wxS(':') << TwoDigits(static_cast<long>(sec));
    return label;
}

void ClockTimeLabels(const wxDateTime& startTime, double seconds, wxString& time, wxString& date) {
    double s = std::round(seconds);
    if (!std::isfinite(s) || std::fabs(s) > 1e12)
        s = 0;
    const wxDateTime t = startTime + wxTimeSpan::Seconds(wxLongLong(static_cast<wxLongLong_t>(s)));
    time = t.Format(wxString::FromAscii("%H:%M:%S"));
    // Day, month, two-digit year, with slashes as the record list writes dates.
    date = t.Format(wxString::FromAscii("%d/%m/%y"));
}

int TimeAxisRow(int align, int H, int margin, double centreY, double scaleY) {
    switch (align) {
        case 0:
            return 10 - H / 2;
        case 1:
            return PixelInt(centreY * scaleY);
        case 4:
            return -H / 2 - 1;
        case 5:
            return H / 2;
        default:
            return H / 2 - margin;
    }
}

int ValueAxisColumn(int align, int W, double centreX, double scaleX, bool secondary) {
    switch (align) {
        case 0:
            return W / 2 - 20;
        case 1:
            return PixelInt(-centreX * scaleX);
        case 4:
            return W / 2;
        case 5:
            return secondary ? W / 2 - 50 : -W / 2 - 1;
        default:
            return secondary ? 40 - W / 2 : 50 - W / 2;
    }
}

TimeAxisLayout LayoutTimeAxis(const TimeAxisInput& in, const TextMeasure& measure) {
    TimeAxisLayout out;
    out.margin = in.bottomMargin;
    out.dateRow = in.dateLabels;
    if (!in.startTime.IsValid()) {
        out.dateRow = false;
        out.margin = 35;
    }
    const int right = in.secondarySeries ? in.W / 2 - 50 : in.W / 2;
    out.y = TimeAxisRow(in.align, in.H, out.margin, in.centreY, in.scaleY);
    out.lineLeft = 50 - in.W / 2;
    out.lineRight = right;

    const TickSpacing spacing = TickSpacingFor(in.scaleX);
    if (!spacing.valid)
        return out;
    const std::vector<double> values =
        TickValues(in.centreX, in.W / 2, in.scaleX, spacing.step, in.centreX + right / in.scaleX);
    int lastRight = -65535;
    for (double t : values) {
        const int px = PixelInt((t - in.centreX) * in.scaleX);
        if (!(px > 50 - in.W / 2 && (px < in.W / 2 - 50 || !in.shortenRight)))
            continue;
        TimeAxisTick tick;
        tick.px = px;
        if (out.dateRow)
            ClockTimeLabels(in.startTime, t, tick.label, tick.date);
        else
            tick.label = ElapsedTimeLabel(t);
        int tw = 0, th = 0;
        measure(tick.label, tw, th);
        const int lx = px - tw / 2;
        if (lx - lastRight > 10) {
            tick.labelled = true;
            tick.labelX = lx;
            lastRight = px + tw / 2;
        }
        out.ticks.push_back(tick);
    }
    return out;
}

ValueAxisLayout LayoutValueAxis(const ValueAxisInput& in, const TextMeasure& measure) {
    ValueAxisLayout out;
    out.x = ValueAxisColumn(in.align, in.W, in.centreX, in.scaleX, in.secondary);
    const TickSpacing spacing = TickSpacingFor(in.scale);
    if (!spacing.valid)
        return out;
    const int precision = in.secondary || spacing.n < 1 ? 1 : 0;
    const double half = in.H / 2;
    const std::vector<double> values =
        TickValues(in.centre, half, in.scale, spacing.step, in.centre + half / in.scale);
    int lastTop = 65536;
    for (double t : values) {
        const int py = PixelInt((in.centre - t) * in.scale);
        const bool inside =
            in.secondary ? py < in.H / 2 - 30 : py < in.H / 2 - in.bottomMargin && py > 30 - in.H / 2;
        if (!inside)
            continue;
        ValueAxisTick tick;
        tick.py = py;
        tick.label = FixedDigits(t, precision);
        int tw = 0, th = 0;
        measure(tick.label, tw, th);
        if (th / 2 + lastTop - py > 32) {
            tick.labelled = true;
            lastTop = py - th / 2;
        }
        out.ticks.push_back(tick);
    }
    return out;
}

}  // namespace plotmath
