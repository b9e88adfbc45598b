// Unit-dependent labels: axis names, readout suffixes, the labels beside the live displays.
#include "app/app_settings.h"
#include "data/translate.h"
#include "data/units.h"
#include "mainframe/main_frame.h"
#include "plot/layers.h"
#include "plot/scales.h"

#include <wx/stattext.h>

void MainFrame::UpdateUnitLabels(int index) {
    int unitSystem = AppSettings.unitSystem;
    int pressureCode = AppSettings.pressureUnit;
    int u = AppSettings.flowUnit;
    if (index >= 0) {
        if (index >= static_cast<int>(records.size()))
            return;
        unitSystem = records[index].UnitSystem();
        pressureCode = records[index].PressureUnit();
        // A shown record's values are in its own flow unit, whatever the setting says now.
        if (units::IsKnownFlowUnit(records[index].FlowUnit()))
            u = records[index].FlowUnit();
    }

    if (unitSystem == units::UnitSystemMetric) {
        if (units::IsKnownFlowUnit(u)) {
            flowAxis->SetName(units::FlowLongLabel(unitSystem, u));
            volumeAxis->SetName(units::VolumeName(unitSystem, u));
            if (flowShown)
                flowUnitLabel->SetLabel(units::FlowShortLabel(unitSystem, u));
            if (volumeShown) {
                flowUnitLabel->SetLabel(units::VolumeName(unitSystem, u));
                volumeSeries->SetValueSuffix1(units::VolumeName(unitSystem, u));
                volumeSeries->SetValueSuffix2(units::VolumeSeriesFlowSuffix(u));
            }
            flowSeries->SetValueSuffix1(units::FlowShortLabel(unitSystem, u));
            flowSeries->SetValueSuffix2(units::VolumeName(unitSystem, u));
        }
    } else {
        flowAxis->SetName(Tr("Durchfluss (Gallone/min)"));
        volumeAxis->SetName(Tr("Gallone"));
        if (flowShown)
            flowUnitLabel->SetLabel(Tr("g/min"));
        if (volumeShown)
            flowUnitLabel->SetLabel(Tr("Gallone"));
        flowSeries->SetValueSuffix1(Tr("g/min"));
        volumeSeries->SetValueSuffix1(Tr("Gallone"));
    }

    if (units::IsKnownPressureUnit(pressureCode)) {
        const wxString longLabel = units::PressureLongLabel(pressureCode);
        const wxString shortLabel = units::PressureShortLabel(pressureCode);
        pressureAxis->SetName(longLabel);
        secondaryPressureAxis->SetName(longLabel);
        pressureUnitLabel->SetLabel(shortLabel);
        pressureSeries->SetValueSuffix1(shortLabel);
        secondaryPressureSeries->SetValueSuffix1(shortLabel);
    }
}
