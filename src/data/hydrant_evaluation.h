#pragma once

#include <wx/string.h>

#include <vector>

class Storage;

// Evaluation of a hydrant flow test from one record's curve: pressure at rest, the hydrant
// opened to a steady flow (the pressure drops to the flowing, residual pressure), then closed.
// Everything is in the record's own units.
namespace hydrant {

// Flows at or below this share of the record's peak count as "hydrant closed".
inline constexpr double ClosedShareOfPeak = 0.05;
// The static pressure is the median over the last seconds of the rest phase.
inline constexpr double StaticWindowSeconds = 10.0;
// A stretch is steady while its largest smoothed flow is at most this much above its smallest
// (all flows then lie within about ±5 % of the stretch's middle).
inline constexpr double SteadySpread = 1.10;
// Samples of the running median that smooths the flow before the steadiness check: it takes
// out single-sample spikes and noise, not a real dip of several samples.
inline constexpr int SmoothingSamples = 5;
// The shortest flowing phase worth evaluating.
inline constexpr double MinimumFlowingSeconds = 10.0;
// Exponent of the hydrant-test relation between flow and pressure drop.
inline constexpr double FlowExponent = 0.54;

struct Phase {
    int first = -1, last = -1;          // sample indexes, both inclusive
    double startTime = 0, endTime = 0;  // seconds from the record's start
};

struct Evaluation {
    bool ok = false;
    bool phasesFound = false;  // rest and flowing phase found, pressures known
    wxString reason;           // German, why the record cannot be evaluated (when !ok)
    Phase restPhase, flowingPhase;
    double staticPressure = 0, flowingPressure = 0, flow = 0;
    double requiredPressure = 0, availableFlow = 0;
};

// 1.5 bar, the usual minimum for fire-fighting water, in the given pressure unit; 20 psi for psi.
double DefaultRequiredPressure(int pressureUnit);

// Q_flow × ((P_static − p_req) / (P_static − P_flow)) ^ 0.54; negative when the relation does
// not apply (no pressure drop, p_req at or above the static pressure, values not finite).
double AvailableFlow(double flow, double staticPressure, double flowingPressure, double requiredPressure);

// Finds the phases and the pressures and flow of one record. The required pressure only
// enters the available flow; Recompute() applies a new one without searching the phases again.
Evaluation Evaluate(const std::vector<float>& times, const std::vector<float>& flows,
                    const std::vector<float>& pressures, double requiredPressure);
Evaluation Evaluate(const Storage& record, double requiredPressure);
void Recompute(Evaluation& evaluation, double requiredPressure);

// The record's units as the evaluation shows them ("l/min", "Bar", ...), without padding.
struct UnitTexts {
    wxString flow, pressure;
    int flowDecimals = 0, pressureDecimals = 2;
};
UnitTexts UnitsOf(const Storage& record);

// One line per figure, as the dialog shows them and the text box takes them over:
// "Hydrantenprüfung", "Ruhedruck: 5.20 Bar", "Fließdruck: …", "Durchfluss: …", "Ruhephase: …",
// "Fließphase: …", "Mindestdruck: …", "Verfügbarer Durchfluss: …". Empty when !evaluation.ok.
wxString ReportText(const Evaluation& evaluation, const UnitTexts& unitTexts);
wxString FormatNumber(double value, int decimals);
wxString FormatSeconds(double seconds);

}  // namespace hydrant
