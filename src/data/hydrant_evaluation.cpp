#include "data/hydrant_evaluation.h"
#include "data/translate.h"

#include "data/storage.h"
#include "data/units.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <deque>

namespace hydrant {

namespace {

double Median(std::vector<float> values) {
    if (values.empty())
        return 0.0;
    const std::size_t mid = values.size() / 2;
    std::nth_element(values.begin(), values.begin() + mid, values.end());
    double upper = values[mid];
    if (values.size() % 2 == 1)
        return upper;
    double lower = *std::max_element(values.begin(), values.begin() + mid);
    return (lower + upper) / 2.0;
}

double MedianOf(const std::vector<float>& values, int first, int last) {
    return Median(std::vector<float>(values.begin() + first, values.begin() + last + 1));
}

// Running median over SmoothingSamples samples, centred; the ends use what is there.
std::vector<float> Smoothed(const std::vector<float>& flows, int first, int last) {
    std::vector<float> out;
    out.reserve(last - first + 1);
    const int half = SmoothingSamples / 2;
    std::vector<float> window;
    for (int i = first; i <= last; ++i) {
        const int a = std::max(first, i - half), b = std::min(last, i + half);
        window.assign(flows.begin() + a, flows.begin() + b + 1);
        out.push_back(static_cast<float>(Median(window)));
    }
    return out;
}

Evaluation Refused(const char* reason) {
    Evaluation e;
    e.reason = Tr(reason);
    return e;
}

}  // namespace

double DefaultRequiredPressure(int pressureUnit) {
    if (pressureUnit == units::PressurePsi)
        return 20.0;
    return units::ConvertPressureFromPsi(1.5 * 14.504, pressureUnit);
}

double AvailableFlow(double flow, double staticPressure, double flowingPressure, double requiredPressure) {
    const double drop = staticPressure - flowingPressure;
    const double allowed = staticPressure - requiredPressure;
    if (!std::isfinite(flow) || !std::isfinite(drop) || !std::isfinite(allowed) || drop <= 0 || allowed <= 0)
        return -1.0;
    const double q = flow * std::pow(allowed / drop, FlowExponent);
    return std::isfinite(q) ? q : -1.0;
}

void Recompute(Evaluation& e, double requiredPressure) {
    e.requiredPressure = requiredPressure;
    e.availableFlow = 0;
    if (!e.phasesFound)
        return;
    e.ok = false;
    if (!std::isfinite(requiredPressure) || requiredPressure < 0) {
        e.reason = Tr("Der geforderte Mindestdruck ist keine gültige Zahl.");
        return;
    }
    if (requiredPressure >= e.staticPressure) {
        e.reason = Tr("Der geforderte Mindestdruck liegt nicht unter dem Ruhedruck.");
        return;
    }
    const double q = AvailableFlow(e.flow, e.staticPressure, e.flowingPressure, requiredPressure);
    if (q < 0) {
        e.reason = Tr("Kein Druckabfall: der Fließdruck liegt nicht unter dem Ruhedruck.");
        return;
    }
    e.availableFlow = q;
    e.reason.clear();
    e.ok = true;
}

Evaluation Evaluate(const std::vector<float>& times, const std::vector<float>& flows,
                    const std::vector<float>& pressures, double requiredPressure) {
    const int n = static_cast<int>(std::min(times.size(), flows.size()));
    if (n == 0)
        return Refused(wxTRANSLATE("Die Messung enthält keine Messwerte."));
    if (pressures.size() < static_cast<std::size_t>(n))
        return Refused(wxTRANSLATE("Die Messung enthält keine Druckwerte."));
    for (int i = 0; i < n; ++i) {
        if (!std::isfinite(times[i]) || !std::isfinite(flows[i]) || !std::isfinite(pressures[i]))
            return Refused(wxTRANSLATE("Die Messung enthält ungültige Werte."));
    }

    const float peak = *std::max_element(flows.begin(), flows.begin() + n);
    if (peak <= 0)
        return Refused(wxTRANSLATE("Kein Fließabschnitt: der Durchfluss steigt nicht an."));
    const double closed = ClosedShareOfPeak * peak;

    // Rest phase: everything before the flow first rises above "closed".
    int opened = 0;
    while (opened < n && flows[opened] <= closed)
        ++opened;
    if (opened == 0)
        return Refused(
            wxTRANSLATE("Kein Ruheabschnitt: der Durchfluss ist schon zu Beginn der Messung hoch."));

    Evaluation e;
    e.restPhase.first = 0;
    e.restPhase.last = opened - 1;
    e.restPhase.startTime = times[0];
    e.restPhase.endTime = times[opened - 1];
    int staticFirst = e.restPhase.last;
    while (staticFirst > 0 && times[staticFirst - 1] >= times[e.restPhase.last] - StaticWindowSeconds)
        --staticFirst;
    e.staticPressure = MedianOf(pressures, staticFirst, e.restPhase.last);

    // Flowing phase: the longest run of open-hydrant samples whose smoothed flow stays within
    // SteadySpread, found with a sliding window and monotonic queues of its minimum and maximum.
    // A sub-stretch of a steady stretch is steady, so the window is exact.
    const std::vector<float> smooth = Smoothed(flows, opened, n - 1);
    int bestFirst = -1, bestLast = -1;
    double bestSpan = -1;
    std::deque<int> minQ, maxQ;
    int left = opened;
    for (int right = opened; right < n; ++right) {
        if (flows[right] <= closed) {  // closed again: the run ends here
            minQ.clear();
            maxQ.clear();
            left = right + 1;
            continue;
        }
        const float v = smooth[right - opened];
        while (!minQ.empty() && smooth[minQ.back() - opened] >= v)
            minQ.pop_back();
        minQ.push_back(right);
        while (!maxQ.empty() && smooth[maxQ.back() - opened] <= v)
            maxQ.pop_back();
        maxQ.push_back(right);
        while (smooth[maxQ.front() - opened] > SteadySpread * smooth[minQ.front() - opened]) {
            ++left;
            if (minQ.front() < left)
                minQ.pop_front();
            if (maxQ.front() < left)
                maxQ.pop_front();
        }
        const double span = static_cast<double>(times[right]) - times[left];
        if (span > bestSpan) {
            bestSpan = span;
            bestFirst = left;
            bestLast = right;
        }
    }
    if (bestFirst < 0)
        return Refused(wxTRANSLATE("Kein Fließabschnitt: der Durchfluss steigt nicht an."));
    if (bestSpan < MinimumFlowingSeconds)
        return Refused(wxTRANSLATE("Der gleichmäßige Fließabschnitt ist kürzer als 10 s."));

    e.flowingPhase.first = bestFirst;
    e.flowingPhase.last = bestLast;
    e.flowingPhase.startTime = times[bestFirst];
    e.flowingPhase.endTime = times[bestLast];
    e.flow = MedianOf(flows, bestFirst, bestLast);
    e.flowingPressure = MedianOf(pressures, bestFirst, bestLast);
    if (!(e.flowingPressure < e.staticPressure)) {
        Evaluation refused =
            Refused(wxTRANSLATE("Kein Druckabfall: der Fließdruck liegt nicht unter dem Ruhedruck."));
        refused.restPhase = e.restPhase;
        refused.flowingPhase = e.flowingPhase;
        refused.staticPressure = e.staticPressure;
        refused.flowingPressure = e.flowingPressure;
        refused.flow = e.flow;
        return refused;
    }
    e.phasesFound = true;
    Recompute(e, requiredPressure);
    return e;
}

Evaluation Evaluate(const Storage& record, double requiredPressure) {
    const bool usLogger = record.UnitSystem() != units::UnitSystemMetric;
    if ((!usLogger && !units::IsKnownFlowUnit(record.FlowUnit())) ||
        !units::IsKnownPressureUnit(record.PressureUnit()))
        return Refused(wxTRANSLATE("Die Messung hat eine unbekannte Einheit."));
    return Evaluate(record.Times(), record.Flows(), record.Pressures(), requiredPressure);
}

UnitTexts UnitsOf(const Storage& record) {
    UnitTexts u;
    u.flow = units::FlowShortLabel(record.UnitSystem(), record.FlowUnit());
    u.flow.Trim();
    u.pressure = units::PressureShortLabel(record.PressureUnit());
    // Litres and gallons per minute are read in whole units, the larger units with decimals.
    const bool perMinute =
        record.UnitSystem() != units::UnitSystemMetric || record.FlowUnit() == 0 || record.FlowUnit() == 3;
    u.flowDecimals = perMinute ? 0 : 2;
    u.pressureDecimals = record.PressureUnit() == units::PressureKiloPascal
                             ? 0
                             : (record.PressureUnit() == units::PressurePsi ? 1 : 2);
    return u;
}

wxString FormatNumber(double value, int decimals) {
    // Decimal point whatever the locale, as everywhere in the program's figures.
    char text[64];
    std::snprintf(text, sizeof text, "%.*f", decimals, value);
    return wxString::FromAscii(text);
}

wxString FormatSeconds(double seconds) {
    const long whole = std::lround(seconds);
    char text[32];
    std::snprintf(text, sizeof text, "%02ld:%02ld:%02ld", whole / 3600, whole / 60 % 60, whole % 60);
    return wxString::FromAscii(text);
}

wxString ReportText(const Evaluation& e, const UnitTexts& u) {
    if (!e.ok)
        return wxString();
    const wxString p = wxString::FromAscii(" ") + u.pressure;
    const wxString q = wxString::FromAscii(" ") + u.flow;
    wxString out = Tr("Hydrantenprüfung\n");
    out << Tr("Ruhedruck: ") << FormatNumber(e.staticPressure, u.pressureDecimals) << p
        << wxString::FromUTF8("\n");
    out << Tr("Fließdruck: ") << FormatNumber(e.flowingPressure, u.pressureDecimals) << p
        << wxString::FromUTF8("\n");
    out << Tr("Durchfluss: ") << FormatNumber(e.flow, u.flowDecimals) << q << wxString::FromUTF8("\n");
    out << Tr("Ruhephase: ") << FormatSeconds(e.restPhase.startTime) << wxString::FromUTF8(" – ")
        << FormatSeconds(e.restPhase.endTime) << wxString::FromUTF8("\n");
    out << Tr("Fließphase: ") << FormatSeconds(e.flowingPhase.startTime) << wxString::FromUTF8(" – ")
        << FormatSeconds(e.flowingPhase.endTime) << wxString::FromUTF8("\n");
    out << Tr("Mindestdruck: ") << FormatNumber(e.requiredPressure, u.pressureDecimals) << p
        << wxString::FromUTF8("\n");
    out << Tr("Verfügbarer Durchfluss: ") << FormatNumber(e.availableFlow, u.flowDecimals) << q;
    return out;
}

}  // namespace hydrant
