// The span of the chart ("Bereich auswerten"): the mode, the figures of the span the user drags
// across the chart, its samples as a CSV file, its figures into the record's text box.
#include "app/app_settings.h"
#include "app/command_ids.h"
#include "data/hydrant_evaluation.h"
#include "data/translate.h"
#include "data/units.h"
#include "mainframe/main_frame.h"
#include "plot/layers.h"
#include "plot/plot_window.h"
#include "plot/sample_column.h"
#include "plot/span_layer.h"
#include "plot/span_stats.h"

#include <wx/listctrl.h>
#include <wx/menu.h>

namespace {

// The record's units as its chart and the hydrant evaluation show them.
spanstats::ReadoutUnits UnitsFor(const Storage& record) {
    const hydrant::UnitTexts h = hydrant::UnitsOf(record);
    spanstats::ReadoutUnits u;
    u.flow = h.flow;
    u.pressure = h.pressure;
    u.flowDecimals = h.flowDecimals;
    u.pressureDecimals = h.pressureDecimals;
    if (record.UnitSystem() != units::UnitSystemMetric || record.FlowUnit() == units::FlowGallonsPerMinute) {
        u.volume = Tr("gal");
    } else if (record.FlowUnit() == units::FlowCubicMetresPerHour) {
        u.volume = wxString::FromUTF8("m³");
        u.volumeDecimals = 3;
    } else {
        u.volume = wxString::FromUTF8("l");
    }
    return u;
}

}  // namespace

void MainFrame::DetachLayerObject(const mpLayer* layer) {
    // Keys are not renumbered: look further than the count reaches.
    for (int key = 0; key < plotWindow->LayerCount() + 64; ++key) {
        if (plotWindow->LayerAt(key) == layer) {
            plotWindow->DetachLayer(key);
            return;
        }
    }
}

void MainFrame::SetSpanMode(bool on) {
    if (on) {
        // One mode of the left button at a time.
        if (measure1On)
            SetMeasure1(false);
        if (measure2On)
            SetMeasure2(false);
        spanReadout->SetText(wxString());
        spanReadout->Unplace();
    }
    spanOn = on;
    // Off, the window removes the span and tells so; the readout goes with it.
    plotWindow->SetSpanMode(on);
    for (wxMenuItem* item : {spanModeItem, spanModePopupItem})
        if (item)
            item->Check(on);
    RefreshChart();
    plotWindow->Refresh(false);
}

void MainFrame::OnSpanMode(wxCommandEvent&) {
    SetSpanMode(!spanOn);
}

void MainFrame::OnPlotLeaveMode(wxCommandEvent&) {
    if (!measure1On && !measure2On && !spanOn)
        return;
    if (measure1On)
        SetMeasure1(false);
    if (measure2On)
        SetMeasure2(false);
    if (spanOn)
        SetSpanMode(false);
    else
        RefreshChart();
}

void MainFrame::OnPlotSpan(wxCommandEvent&) {
    UpdateSpanReadout();
    plotWindow->Refresh(false);
}

void MainFrame::UpdateSpanReadout() {
    spanHasSamples = false;
    const bool charted = chartedRecord >= 0 && chartedRecord < static_cast<int>(records.size());
    if (!spanOn || !plotWindow->HasSpan() || !charted) {
        spanReadout->SetText(wxString());
        return;
    }
    const Storage& record = records[chartedRecord];
    spanstats::Columns columns;
    columns.n =
        std::min({chartTimes->Size(), chartFlows->Size(), chartPressures->Size(), chartVolumes->Size()});
    columns.times = chartTimes->Data();
    columns.flows = chartFlows->Data();
    columns.pressures = chartPressures->Data();
    columns.volumes = chartVolumes->Data();
    columns.timesSorted = chartTimes->Sorted();
    columns.flowExtremes = chartFlows->Extremes();
    columns.pressureExtremes = chartPressures->Extremes();
    const auto given = hydrantMinimum.find(record.PressureUnit());
    const double minimum = given != hydrantMinimum.end()
                               ? given->second
                               : hydrant::DefaultRequiredPressure(record.PressureUnit());
    if (!spanIndex)
        spanIndex = std::make_unique<spanstats::SpanIndex>();
    if (spanIndexHeld != columns.n || spanIndex->Size() != columns.n ||
        spanIndex->MinimumPressure() != minimum) {
        spanIndex->Build(columns, minimum, spanIndexHeld);
        spanIndexHeld = columns.n;
    }
    const spanstats::Figures figures =
        spanIndex->Evaluate(columns, plotWindow->GetSpanFrom(), plotWindow->GetSpanTo());
    spanHasSamples = figures.any;
    spanFirst = figures.first;
    spanLast = figures.last;
    spanstats::TimeStyle style;
    style.clock = plotWindow->GetDateLabels();
    style.startTime = plotWindow->GetStartTime();
    spanReadout->SetText(spanstats::ReadoutText(figures, UnitsFor(record), style));
}

void MainFrame::OnUpdateSpanCommand(wxUpdateUIEvent& event) {
    if (event.GetId() == ID_SPAN_MODE) {
        event.Check(spanOn);
        return;
    }
    event.Enable(spanOn && spanHasSamples && chartedRecord >= 0 &&
                 chartedRecord < static_cast<int>(records.size()));
}

void MainFrame::OnSpanExport(wxCommandEvent&) {
    if (!spanOn || !spanHasSamples || chartedRecord < 0 || chartedRecord >= static_cast<int>(records.size()))
        return;
    ExportCsvFile(records[chartedRecord], spanFirst, spanLast + 1);
}

void MainFrame::OnSpanToTextBox(wxCommandEvent&) {
    if (!spanOn || !spanHasSamples || chartedRecord < 0 || chartedRecord >= static_cast<int>(records.size()))
        return;
    AppendToTextBox(chartedRecord, Tr("Bereich\n") + spanReadout->GetText());
}
