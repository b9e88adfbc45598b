#include "data/units.h"
#include "data/translate.h"

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
        return Tr("Durchfluss (Gallone/min)");
    switch (flowUnit) {
        case 0:
            return Tr("Durchfluss (Liter/min)");
        case 1:
            return Tr("Durchfluss (Litre/sec)");
        case 2:
            return Tr("Durchfluss (M³/h)");
        case 3:
            return Tr("Durchfluss (Gallone/min)");
        default:
            return wxString();
    }
}

wxString FlowShortLabel(int unitSystem, int flowUnit) {
    if (unitSystem != UnitSystemMetric)
        return Tr("g/min");
    switch (flowUnit) {
        case 0:
            return Tr("l/min");
        case 1:
            return wxString::FromUTF8("l/s ");
        case 2:
            return wxString::FromUTF8("M³/h ");
        case 3:
            return Tr("GPM ");
        default:
            return wxString();
    }
}

wxString VolumeName(int unitSystem, int flowUnit) {
    if (unitSystem != UnitSystemMetric)
        return Tr("Gallone");
    switch (flowUnit) {
        case 0:
        case 1:
            return Tr("Liter");
        case 2:
            return Tr("Meters³");
        case 3:
            return Tr("Gallone");
        default:
            return wxString();
    }
}

wxString VolumeSeriesFlowSuffix(int flowUnit) {
    if (flowUnit == 2)
        return wxString::FromUTF8("M³/h ");
    if (flowUnit == 3)
        return Tr("GPM ");
    return Tr("l/min");
}

wxString PressureLongLabel(int pressureUnit) {
    switch (pressureUnit) {
        case PressurePsi:
            return Tr("Druck (psi)");
        case PressureBar:
            return Tr("Druck (bar)");
        case PressureMetresOfWater:
            return Tr("Druckeinheit (MtrH)");
        case PressureKiloPascal:
            return Tr("Druckeinheit (KPa)");
        default:
            return wxString();
    }
}

wxString PressureShortLabel(int pressureUnit) {
    switch (pressureUnit) {
        case PressurePsi:
            return Tr("psi");
        case PressureBar:
            return Tr("Bar");
        case PressureMetresOfWater:
            return Tr("MtrH");
        case PressureKiloPascal:
            return Tr("KPa");
        default:
            return wxString();
    }
}

wxString VolumeColumnTitle(int unitSystem, int flowUnit) {
    if (unitSystem != UnitSystemMetric)
        return Tr("Volumen (G)");
    switch (flowUnit) {
        case 0:
        case 1:
            return Tr("Volumen (L)");
        case 2:
            return Tr("Volumen (M³)");
        case 3:
            return Tr("Volumen (G)");
        // An unknown code converts every volume to 0; the column names no unit then.
        default:
            return Tr("Volumen");
    }
}

wxString FlowDisplayFormat(int flowUnit) {
    return flowUnit == 0 ? wxString::FromUTF8("%.0f") : wxString::FromUTF8("%.2f");
}

}  // namespace units
