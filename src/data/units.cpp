#include "data/units.h"

namespace units {

bool IsKnownFlowUnit(int flowUnit) {
    return flowUnit >= 0 && flowUnit <= 3;
}

bool IsKnownPressureUnit(int p) {
    return p == PressurePsi || p == PressureBar || p == PressureMetresOfWater || p == PressureKiloPascal;
}

double ConvertFlow(double rawFlow, int flowUnit) {
    switch (flowUnit) {
        case FlowLitresPerMinute:
            return rawFlow;
        case FlowLitresPerSecond:
            return rawFlow / 60.0;
        case FlowCubicMetresPerHour:
            return rawFlow * 0.06;
        case FlowGallonsPerMinute:
            return rawFlow * GallonsPerLitre;
        default:
            return 0.0;
    }
}

double VolumeIncrement(double rawFlow, int intervalMs, int flowUnit) {
    switch (flowUnit) {
        case FlowLitresPerMinute:
        case FlowLitresPerSecond:
            return rawFlow * intervalMs / 60000.0;
        case FlowCubicMetresPerHour:
            return rawFlow * intervalMs / 60000000.0;
        // Volumes follow the flow into US gallons, so values and the "Gallone" labels agree.
        case FlowGallonsPerMinute:
            return rawFlow * intervalMs / 60000.0 * GallonsPerLitre;
        default:
            return 0.0;
    }
}

double ConvertPressureFromPsi(double psi, int pressureUnit) {
    switch (pressureUnit) {
        case PressureBar:
            return psi / 14.504;
        case PressureMetresOfWater:
            return psi / 1.42197;
        case PressureKiloPascal:
            return psi / 0.145038;
        default:
            return psi;
    }
}

wxString FlowLongLabel(int unitSystem, int flowUnit) {
    if (unitSystem != UnitSystemMetric)
        return wxString::FromUTF8("Durchfluss (Gallone/min)");
    switch (flowUnit) {
        case 0:
            return wxString::FromUTF8("Durchfluss (Liter/min)");
        case 1:
            return wxString::FromUTF8("Durchfluss (Litre/sec)");
        case 2:
            return wxString::FromUTF8("Durchfluss (M³/h)");
        case 3:
            return wxString::FromUTF8("Durchfluss (Gallone/min)");
        default:
            return wxString();
    }
}

wxString FlowShortLabel(int unitSystem, int flowUnit) {
    if (unitSystem != UnitSystemMetric)
        return wxString::FromUTF8("g/min");
    switch (flowUnit) {
        case 0:
            return wxString::FromUTF8("l/min");
        case 1:
            return wxString::FromUTF8("l/s ");
        case 2:
            return wxString::FromUTF8("M³/h ");
        case 3:
            return wxString::FromUTF8("GPM ");
        default:
            return wxString();
    }
}

wxString VolumeName(int unitSystem, int flowUnit) {
    if (unitSystem != UnitSystemMetric)
        return wxString::FromUTF8("Gallone");
    switch (flowUnit) {
        case 0:
        case 1:
            return wxString::FromUTF8("Liter");
        case 2:
            return wxString::FromUTF8("Meters³");
        case 3:
            return wxString::FromUTF8("Gallone");
        default:
            return wxString();
    }
}

wxString VolumeSeriesFlowSuffix(int flowUnit) {
    if (flowUnit == 2)
        return wxString::FromUTF8("M³/h ");
    if (flowUnit == 3)
        return wxString::FromUTF8("GPM ");
    return wxString::FromUTF8("l/min");
}

wxString PressureLongLabel(int pressureUnit) {
    switch (pressureUnit) {
        case PressurePsi:
            return wxString::FromUTF8("Druck (psi)");
        case PressureBar:
            return wxString::FromUTF8("Druck (bar)");
        case PressureMetresOfWater:
            return wxString::FromUTF8("Druckeinheit (MtrH)");
        case PressureKiloPascal:
            return wxString::FromUTF8("Druckeinheit (KPa)");
        default:
            return wxString();
    }
}

wxString PressureShortLabel(int pressureUnit) {
    switch (pressureUnit) {
        case PressurePsi:
            return wxString::FromUTF8("psi");
        case PressureBar:
            return wxString::FromUTF8("Bar");
        case PressureMetresOfWater:
            return wxString::FromUTF8("MtrH");
        case PressureKiloPascal:
            return wxString::FromUTF8("KPa");
        default:
            return wxString();
    }
}

wxString VolumeColumnTitle(int unitSystem, int flowUnit) {
    if (unitSystem != UnitSystemMetric)
        return wxString::FromUTF8("Volumen (G)");
    switch (flowUnit) {
        case 0:
        case 1:
            return wxString::FromUTF8("Volumen (L)");
        case 2:
            return wxString::FromUTF8("Volumen (M³)");
        case 3:
            return wxString::FromUTF8("Volumen (G)");
        // An unknown code converts every volume to 0; the column names no unit then.
        default:
            return wxString::FromUTF8("Volumen");
    }
}

wxString FlowDisplayFormat(int flowUnit) {
    return flowUnit == 0 ? wxString::FromUTF8("%.0f") : wxString::FromUTF8("%.2f");
}

}  // namespace units
