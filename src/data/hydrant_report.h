#pragma once

#include "data/hydrant_evaluation.h"

#include <wx/string.h>

#include <vector>

class Storage;

// What the test report of a hydrant flow test states beyond the evaluation: the checks a test
// has to pass, the supply classes of the fire-water rules, and the scale of the water supply
// graph. Window-free.
namespace hydrant {

// A projection is worth trusting when the flowing pressure lies at least this share below the
// static pressure.
inline constexpr double MinimumDropShare = 0.10;
// The water supply graph puts flow on a scale of flow^1.85, where the hydrant's relation between
// flow and pressure is a straight line.
inline constexpr double SupplyGraphExponent = 1.85;
// The basic fire-water supply levels, m³/h, smallest first.
inline constexpr double SupplyLevels[] = {24, 48, 96, 192};
// Hydrant classes are given at this residual pressure, psi.
inline constexpr double ClassPressurePsi = 20.0;

// True when the drop from static to flowing pressure is at least MinimumDropShare of the static
// pressure (a static pressure of 0 or less never passes).
bool DropIsEnough(double staticPressure, double flowingPressure);

// Unit conversions of the record's own units.
bool FlowIsGallons(int unitSystem, int flowUnit);
double ToCubicMetresPerHour(double flow, int unitSystem, int flowUnit);
double ToGallonsPerMinute(double flow, int unitSystem, int flowUnit);
double PressureToPsi(double pressure, int pressureUnit);
double PressureFromPsi(double psi, int pressureUnit);

enum class HydrantClass { AA, A, B, C };
// AA at 1500 gpm and more, A 1000–1499, B 500–999, C below 500.
HydrantClass ClassOf(double gallonsPerMinute);
wxString ClassName(HydrantClass c);  // "AA", "A", "B", "C"
struct Rgb {
    unsigned char r, g, b;
};
// The class's colour: AA light blue, A green, B orange, C red.
Rgb ClassColour(HydrantClass c);
// How many of SupplyLevels the flow reaches (0 to 4).
int SupplyLevelsReached(double cubicMetresPerHour);

struct CheckResult {
    bool met = false;
    wxString text;  // what was checked, with the figures
};

// Everything the report states about one evaluated record.
struct ReportFigures {
    Evaluation evaluation;
    UnitTexts units;
    int unitSystem = 1, flowUnit = 0, pressureUnit = 98;
    double dropShare = 0;             // (static − flowing) / static
    bool projected = false;           // the available flow is given
    wxString noProjection;            // why not, when !projected
    bool gallons = false;             // flow in gpm: the hydrant class leads, else the supply levels
    CheckResult checks[3];            // drop ≥ 10 %, steady flowing phase, flowing above minimum
    double availableCubicMetres = 0;  // at the minimum pressure
    // Supply levels at the minimum pressure (metric records) or at 1.5 bar (gpm records).
    bool levelsGiven = false;
    double levelFlow = 0, levelPressure = 0;  // m³/h, and the pressure in the record's unit
    int levelsReached = 0;
    // The hydrant class at 20 psi.
    bool classGiven = false;
    double classFlow = 0;  // gpm
    HydrantClass hydrantClass = HydrantClass::C;
};

// Requires evaluation.phasesFound; an evaluation that is not ok (minimum pressure not usable)
// gives no projection.
ReportFigures MakeReport(const Evaluation& evaluation, int unitSystem, int flowUnit, int pressureUnit,
                         const UnitTexts& units);
ReportFigures MakeReport(const Evaluation& evaluation, const Storage& record);

// Label and value of each figure, in the report's order.
struct FigureRow {
    wxString label, value;
};
std::vector<FigureRow> MeasuredRows(const ReportFigures& r);
std::vector<FigureRow> ResultRows(const ReportFigures& r);
// The classes as one line each: the leading one first, the other system's figure after it.
wxString LeadingClassText(const ReportFigures& r);
wxString OtherClassText(const ReportFigures& r);
// All of it as plain text lines, for the command line.
wxString ReportLines(const ReportFigures& r);

// The water supply graph's axes: flow from 0 to maxFlow on the flow^1.85 scale, pressure from 0
// to maxPressure, both round numbers with room above the figures.
struct SupplyScale {
    double maxFlow = 1, maxPressure = 1;
    double flowStep = 1, pressureStep = 1;
    // Share of the axis length, 0 to 1.
    double X(double flow) const;
    double Y(double pressure) const;
};
SupplyScale SupplyScaleFor(const ReportFigures& r);
// A round step (1, 2 or 5 times a power of ten) that cuts range into at most `count` parts.
double RoundStep(double range, int count);

}  // namespace hydrant
