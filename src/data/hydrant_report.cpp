#include "data/hydrant_report.h"
#include "data/translate.h"

#include "data/storage.h"
#include "data/units.h"

#include <algorithm>
#include <cmath>

namespace hydrant {

namespace {

constexpr double LitresPerGallon = 3.785411784;
constexpr double OneAndAHalfBarInPsi = 1.5 * 14.504;

wxString WithUnit(double value, int decimals, const wxString& unit) {
    return FormatNumber(value, decimals) + wxString::FromUTF8(" ") + unit;
}

// "24, 48 m³/h" from the levels [first, last).
wxString LevelList(int first, int last) {
    wxString out;
    for (int i = first; i < last; ++i) {
        if (i > first)
            out << wxString::FromUTF8(", ");
        out << FormatNumber(SupplyLevels[i], 0);
    }
    return out + wxString::FromUTF8(" m³/h");
}

wxString LevelsText(int reached) {
    const int count = static_cast<int>(std::size(SupplyLevels));
    wxString out = Tr("erreicht: ");
    out << (reached == 0 ? Tr("keine Stufe") : LevelList(0, reached));
    if (reached < count)
        out << Tr("; nicht erreicht: ") << LevelList(reached, count);
    return out;
}

double RoundUp(double value, double step) {
    return std::ceil(value / step - 1e-9) * step;
}

}  // namespace

bool DropIsEnough(double staticPressure, double flowingPressure) {
    if (!(staticPressure > 0) || !std::isfinite(flowingPressure))
        return false;
    // A drop of exactly a tenth counts, whatever the last bit of the division says.
    return staticPressure - flowingPressure >= MinimumDropShare * staticPressure * (1 - 1e-12);
}

bool FlowIsGallons(int unitSystem, int flowUnit) {
    return unitSystem != units::UnitSystemMetric || flowUnit == units::FlowGallonsPerMinute;
}

double ToCubicMetresPerHour(double flow, int unitSystem, int flowUnit) {
    if (FlowIsGallons(unitSystem, flowUnit))
        return flow * LitresPerGallon * 0.06;
    switch (flowUnit) {
        case units::FlowLitresPerSecond:
            return flow * 3.6;
        case units::FlowCubicMetresPerHour:
            return flow;
        default:
            return flow * 0.06;
    }
}

double ToGallonsPerMinute(double flow, int unitSystem, int flowUnit) {
    if (FlowIsGallons(unitSystem, flowUnit))
        return flow;
    return ToCubicMetresPerHour(flow, unitSystem, flowUnit) / 0.06 / LitresPerGallon;
}

double PressureToPsi(double pressure, int pressureUnit) {
    return pressure / units::ConvertPressureFromPsi(1.0, pressureUnit);
}

double PressureFromPsi(double psi, int pressureUnit) {
    return units::ConvertPressureFromPsi(psi, pressureUnit);
}

HydrantClass ClassOf(double gpm) {
    if (gpm >= 1500)
        return HydrantClass::AA;
    if (gpm >= 1000)
        return HydrantClass::A;
    if (gpm >= 500)
        return HydrantClass::B;
    return HydrantClass::C;
}

wxString ClassName(HydrantClass c) {
    switch (c) {
        case HydrantClass::AA:
            return wxString::FromUTF8("AA");
        case HydrantClass::A:
            return wxString::FromUTF8("A");
        case HydrantClass::B:
            return wxString::FromUTF8("B");
        case HydrantClass::C:
            break;
    }
    return wxString::FromUTF8("C");
}

Rgb ClassColour(HydrantClass c) {
    switch (c) {
        case HydrantClass::AA:
            return {110, 190, 235};
        case HydrantClass::A:
            return {40, 160, 60};
        case HydrantClass::B:
            return {240, 140, 20};
        case HydrantClass::C:
            break;
    }
    return {210, 30, 30};
}

int SupplyLevelsReached(double m3h) {
    int n = 0;
    for (double level : SupplyLevels)
        n += m3h >= level ? 1 : 0;
    return n;
}

ReportFigures MakeReport(const Evaluation& e, int unitSystem, int flowUnit, int pressureUnit,
                         const UnitTexts& units) {
    ReportFigures r;
    r.units = units;
    r.evaluation = e;
    r.unitSystem = unitSystem;
    r.flowUnit = flowUnit;
    r.pressureUnit = pressureUnit;
    r.gallons = FlowIsGallons(unitSystem, flowUnit);
    r.dropShare = e.staticPressure > 0 ? (e.staticPressure - e.flowingPressure) / e.staticPressure : 0;

    const double flowingSeconds = e.flowingPhase.endTime - e.flowingPhase.startTime;
    const bool aboveMinimum = e.ok && e.flowingPressure > e.requiredPressure;
    r.checks[0] = {DropIsEnough(e.staticPressure, e.flowingPressure),
                   // xgettext:no-c-format
                   Tr("Druckabfall mindestens 10 % des Ruhedrucks (") + FormatNumber(100 * r.dropShare, 1) +
                       wxString::FromUTF8(" %)")};
    r.checks[1] = {e.phasesFound && flowingSeconds >= MinimumFlowingSeconds,
                   Tr("Fließphase gleichmäßig und mindestens ") + FormatNumber(MinimumFlowingSeconds, 0) +
                       Tr(" s lang (") + FormatNumber(flowingSeconds, 0) + wxString::FromUTF8(" s)")};
    r.checks[2] = {aboveMinimum, Tr("Fließdruck über dem Mindestdruck (") +
                                     WithUnit(e.flowingPressure, units.pressureDecimals, units.pressure) +
                                     (aboveMinimum ? wxString::FromUTF8(" > ") : wxString::FromUTF8(" ≤ ")) +
                                     WithUnit(e.requiredPressure, units.pressureDecimals, units.pressure) +
                                     wxString::FromUTF8(")")};

    r.projected = aboveMinimum && e.availableFlow > 0;
    if (!e.ok)
        r.noProjection = e.reason;
    else if (!aboveMinimum)
        r.noProjection = Tr("Keine Hochrechnung: der Fließdruck liegt nicht über dem Mindestdruck.");
    if (r.projected)
        r.availableCubicMetres = ToCubicMetresPerHour(e.availableFlow, unitSystem, flowUnit);

    // The supply levels hold at the minimum pressure chosen; for a gpm record at 1.5 bar.
    r.levelPressure = r.gallons ? PressureFromPsi(OneAndAHalfBarInPsi, pressureUnit) : e.requiredPressure;
    if (e.phasesFound && r.levelPressure < e.flowingPressure) {
        const double q = AvailableFlow(e.flow, e.staticPressure, e.flowingPressure, r.levelPressure);
        if (q > 0 && (r.gallons || r.projected)) {
            r.levelsGiven = true;
            r.levelFlow = ToCubicMetresPerHour(q, unitSystem, flowUnit);
            r.levelsReached = SupplyLevelsReached(r.levelFlow);
        }
    }
    const double classPressure = PressureFromPsi(ClassPressurePsi, pressureUnit);
    if (e.phasesFound && classPressure < e.flowingPressure) {
        const double q = AvailableFlow(e.flow, e.staticPressure, e.flowingPressure, classPressure);
        if (q > 0) {
            r.classGiven = true;
            r.classFlow = ToGallonsPerMinute(q, unitSystem, flowUnit);
            r.hydrantClass = ClassOf(r.classFlow);
        }
    }
    return r;
}

ReportFigures MakeReport(const Evaluation& e, const Storage& record) {
    return MakeReport(e, record.UnitSystem(), record.FlowUnit(), record.PressureUnit(), UnitsOf(record));
}

std::vector<FigureRow> MeasuredRows(const ReportFigures& r) {
    const Evaluation& e = r.evaluation;
    const UnitTexts& u = r.units;
    return {
        {Tr("Ruhedruck:"), WithUnit(e.staticPressure, u.pressureDecimals, u.pressure)},
        {Tr("Fließdruck:"), WithUnit(e.flowingPressure, u.pressureDecimals, u.pressure)},
        {Tr("Druckabfall:"), WithUnit(e.staticPressure - e.flowingPressure, u.pressureDecimals, u.pressure) +
                                 wxString::FromUTF8(" (") + FormatNumber(100 * r.dropShare, 1) +
                                 // xgettext:no-c-format
                                 Tr(" % des Ruhedrucks)")},
        {Tr("Durchfluss:"), WithUnit(e.flow, u.flowDecimals, u.flow)},
        {Tr("Ruhephase:"), FormatSeconds(e.restPhase.startTime) + wxString::FromUTF8(" – ") +
                               FormatSeconds(e.restPhase.endTime)},
        {Tr("Fließphase:"), FormatSeconds(e.flowingPhase.startTime) + wxString::FromUTF8(" – ") +
                                FormatSeconds(e.flowingPhase.endTime)},
    };
}

std::vector<FigureRow> ResultRows(const ReportFigures& r) {
    const Evaluation& e = r.evaluation;
    const UnitTexts& u = r.units;
    wxString available = wxString::FromUTF8("–");
    if (r.projected) {
        available = WithUnit(e.availableFlow, u.flowDecimals, u.flow);
        if (!r.gallons && r.flowUnit != units::FlowCubicMetresPerHour)
            available << wxString::FromUTF8(" (") << FormatNumber(r.availableCubicMetres, 1)
                      << wxString::FromUTF8(" m³/h)");
    }
    return {
        {Tr("Mindestdruck:"), WithUnit(e.requiredPressure, u.pressureDecimals, u.pressure)},
        {Tr("Verfügbarer Durchfluss:"), available},
    };
}

namespace {

wxString LevelsLine(const ReportFigures& r) {
    wxString out = Tr("Löschwasser-Grundschutz (DVGW W 405): ");
    if (!r.levelsGiven)
        return out + Tr("keine Angabe ohne Hochrechnung");
    out << FormatNumber(r.levelFlow, 1) << Tr(" m³/h bei ")
        << WithUnit(r.levelPressure, r.units.pressureDecimals, r.units.pressure) << wxString::FromUTF8(", ")
        << LevelsText(r.levelsReached);
    return out;
}

wxString ClassLine(const ReportFigures& r) {
    wxString out = Tr("Hydrantenklasse (NFPA 291): ");
    if (!r.classGiven)
        return out + Tr("keine Klasse, der Fließdruck liegt nicht über 20 psi");
    out << ClassName(r.hydrantClass) << wxString::FromUTF8(", ") << FormatNumber(r.classFlow, 0)
        << Tr(" gpm bei 20 psi");
    return out;
}

}  // namespace

wxString LeadingClassText(const ReportFigures& r) {
    return r.gallons ? ClassLine(r) : LevelsLine(r);
}

wxString OtherClassText(const ReportFigures& r) {
    return r.gallons ? LevelsLine(r) : ClassLine(r);
}

wxString ReportLines(const ReportFigures& r) {
    wxString out;
    for (const FigureRow& row : MeasuredRows(r))
        out << row.label << wxString::FromUTF8(" ") << row.value << wxString::FromUTF8("\n");
    for (const FigureRow& row : ResultRows(r))
        out << row.label << wxString::FromUTF8(" ") << row.value << wxString::FromUTF8("\n");
    if (!r.projected)
        out << r.noProjection << wxString::FromUTF8("\n");
    for (const CheckResult& c : r.checks)
        out << (c.met ? Tr("erfüllt: ") : Tr("nicht erfüllt: ")) << c.text << wxString::FromUTF8("\n");
    out << LeadingClassText(r) << wxString::FromUTF8("\n") << OtherClassText(r) << wxString::FromUTF8("\n");
    return out;
}

double RoundStep(double range, int count) {
    if (!(range > 0) || count < 1)
        return 1;
    const double raw = range / count;
    const double power = std::pow(10.0, std::floor(std::log10(raw)));
    for (double m : {1.0, 2.0, 5.0, 10.0}) {
        if (m * power >= raw * (1 - 1e-9))
            return m * power;
    }
    return 10 * power;
}

double SupplyScale::X(double flow) const {
    return std::pow(std::max(0.0, flow) / maxFlow, SupplyGraphExponent);
}

double SupplyScale::Y(double pressure) const {
    return pressure / maxPressure;
}

SupplyScale SupplyScaleFor(const ReportFigures& r) {
    const Evaluation& e = r.evaluation;
    SupplyScale s;
    const double flowNeed = std::max({e.flow, r.projected ? e.availableFlow : 0.0, 1e-6}) * 1.1;
    s.flowStep = RoundStep(flowNeed, 5);
    s.maxFlow = RoundUp(flowNeed, s.flowStep);
    const double pressureNeed = std::max(e.staticPressure, 1e-6) * 1.05;
    s.pressureStep = RoundStep(pressureNeed, 6);
    s.maxPressure = RoundUp(pressureNeed, s.pressureStep);
    return s;
}

}  // namespace hydrant
