#pragma once

#include <wx/string.h>

// Unit codes of the whole program and their conversion factors and labels.
namespace units {

// Flow unit codes (AppSettings.flowUnit, Storage::flowUnit).
enum FlowUnit : int {
    FlowLitresPerMinute = 0,
    FlowLitresPerSecond = 1,
    FlowCubicMetresPerHour = 2,
    FlowGallonsPerMinute = 3
};
// Unit system of a logger.
enum UnitSystem : int { UnitSystemUS = 0, UnitSystemMetric = 1 };
// Pressure unit codes.
enum PressureUnit : int {
    PressurePsi = 112,
    PressureBar = 98,
    PressureMetresOfWater = 8,
    PressureKiloPascal = 16
};

inline constexpr double GallonsPerLitre = 0.264172;

bool IsKnownFlowUnit(int flowUnit);
bool IsKnownPressureUnit(int pressureUnit);

// Flow in the logger's own unit (l/min on a metric logger) converted by the flow unit code;
// 0 for an unknown code.
double ConvertFlow(double rawFlow, int flowUnit);
// Volume increment of one sample of rawFlow lasting intervalMs, in the record's volume unit:
// litres (codes 0, 1), cubic metres (2), US gallons (3); 0 for an unknown code.
double VolumeIncrement(double rawFlow, int intervalMs, int flowUnit);
// Pressure in psi converted by the pressure unit code (unknown codes stay psi).
double ConvertPressureFromPsi(double psi, int pressureUnit);

// Labels; an empty string where the code has no label.
wxString FlowLongLabel(int unitSystem, int flowUnit);   // "Durchfluss (Liter/min)"
wxString FlowShortLabel(int unitSystem, int flowUnit);  // "l/min", "l/s ", ...
wxString VolumeName(int unitSystem, int flowUnit);      // "Liter", "Meters³", "Gallone"
wxString VolumeSeriesFlowSuffix(int flowUnit);          // second readout of a volume series
wxString PressureLongLabel(int pressureUnit);           // "Druck (bar)"
wxString PressureShortLabel(int pressureUnit);          // "Bar"
// Title of the record list's volume column, chosen once at start-up.
wxString VolumeColumnTitle(int unitSystem, int flowUnit);
// The live and measured flow display format ("%.0f" or "%.2f").
wxString FlowDisplayFormat(int flowUnit);

}  // namespace units
