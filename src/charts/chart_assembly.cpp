// The chart: its layers, how each chart mode attaches them, and how a record is loaded.
#include "app/app_settings.h"
#include "app/command_ids.h"
#include "data/translate.h"
#include "mainframe/look.h"
#include "mainframe/main_frame.h"
#include "plot/layers.h"
#include "plot/plot_window.h"
#include "plot/sample_column.h"
#include "plot/scales.h"
#include "plot/span_layer.h"
#include "plot/span_stats.h"

#include <wx/menu.h>

#include <algorithm>

void MainFrame::SetUpChart() {
    const wxFont bold9 = BoldSwissFont(9);
    const wxFont bold12 = BoldSwissFont(12);
    timeAxis = std::make_unique<mpScaleX>(Tr("Zeit (h:m:s)"), 2, true, false);
    flowAxis = std::make_unique<mpScaleY>(Tr("Durchfluss"), 2, true, false);
    volumeAxis = std::make_unique<mpScaleY>(Tr("Volumen"), 2, true, false);
    secondaryPressureAxis = std::make_unique<mpScaleYVext>(Tr("Druck"), 5, true);
    pressureAxis = std::make_unique<mpScaleY>(Tr("Druck"), 2, true, false);
    for (mpLayer* axis : std::initializer_list<mpLayer*>{timeAxis.get(), flowAxis.get(), volumeAxis.get(),
                                                         secondaryPressureAxis.get(), pressureAxis.get()}) {
        axis->SetPen(*wxGREY_PEN);
        axis->SetFont(bold9);
    }

    flowSeries = std::make_unique<mpFXYVector>(wxString(), 0);
    volumeSeries = std::make_unique<mpFXYVector>(wxString(), 0);
    pressureSeries = std::make_unique<mpFXYVector>(wxString(), 0);
    secondaryPressureSeries = std::make_unique<mpFXYVectorVext>(wxString());
    flowSeries->SetPen(wxPen(*wxBLUE, 2, wxPENSTYLE_SOLID));
    volumeSeries->SetPen(wxPen(*wxBLUE, 2, wxPENSTYLE_SOLID));
    pressureSeries->SetPen(wxPen(*wxRED, 2, wxPENSTYLE_SOLID));
    secondaryPressureSeries->SetPen(wxPen(*wxRED, 2, wxPENSTYLE_SOLID));
    for (mpLayer* series : std::initializer_list<mpLayer*>{
             flowSeries.get(), volumeSeries.get(), pressureSeries.get(), secondaryPressureSeries.get()}) {
        series->SetFont(bold9);
        series->SetContinuity(true);
        series->SetVisible(true);
    }

    legend = std::make_unique<mpInfoLegend>(200, 20, 40, 40, *wxTRANSPARENT_BRUSH);
    textBox = std::make_unique<mpInfoTextBox>(200, 20, 40, 40, *wxTRANSPARENT_BRUSH);
    legend->SetPen(*wxBLACK_PEN);
    legend->SetFont(bold12);
    textBox->SetPen(*wxBLACK_PEN);
    textBox->SetFont(bold12);

    chartTimes = std::make_shared<SampleColumn>(false);
    chartFlows = std::make_shared<SampleColumn>();
    chartVolumes = std::make_shared<SampleColumn>();
    chartPressures = std::make_shared<SampleColumn>();

    spanShading = std::make_unique<mpSpanShading>();
    spanReadout = std::make_unique<mpSpanReadout>();
    spanReadout->SetFont(wxFont(9, wxFONTFAMILY_SWISS, wxFONTSTYLE_NORMAL, wxFONTWEIGHT_NORMAL));

    targetLine = std::make_unique<mpFXYVector>(wxString(), 0);
    targetLine->SetAuxiliaryLine(true);
    targetLine->SetHideSample(true);
    targetLine->SetPen(wxPen(*wxGREEN, 3, wxPENSTYLE_LONG_DASH));
    targetLine->SetFont(bold9);

    // The span's commands in the chart's own menu too, after its four.
    wxMenu* popup = plotWindow->GetPopupMenu();
    popup->AppendSeparator();
    spanModePopupItem = popup->AppendCheckItem(ID_SPAN_MODE, Tr("Bereich auswerten"),
                                               Tr("Einen Zeitbereich im Diagramm aufziehen und auswerten"));
    popup->Append(ID_SPAN_EXPORT, Tr("Bereich exportieren …"),
                  Tr("Die Messwerte des Bereichs nach MS Excel exportieren"));
    popup->Append(ID_SPAN_TO_TEXT_BOX, Tr("In Textfeld übernehmen"),
                  Tr("Die Werte des Bereichs in das Textfeld der Messung übernehmen"));

    plotWindow->SetDateLabels(true);
    plotWindow->SetBottomMargin(45);
    plotWindow->AttachLayer(timeAxis.get());

    flowShown = volumeShown = pressureShown = false;
    gridOn = pointsMode = measure1On = measure2On = false;
    RefreshChart();
}

void MainFrame::RefreshChart() {
    // The span's layers may sit beyond the keys of the chart's own.
    DetachLayerObject(spanShading.get());
    DetachLayerObject(spanReadout.get());
    for (int key = 0; key <= 8; ++key)
        plotWindow->DetachLayer(key);
    timeAxis->SetTicks(!gridOn);
    flowAxis->SetTicks(!gridOn);
    volumeAxis->SetTicks(!gridOn);
    pressureAxis->SetTicks(!gridOn);

    if (flowShown || volumeShown) {
        mpScaleY* valueAxis = nullptr;
        if (flowShown) {
            targetLine->SetValuePrefix1(wxString());
            targetLine->SetContinuity(true);
            plotWindow->AttachLayer(timeAxis.get());
            plotWindow->AttachLayer(flowAxis.get());
            plotWindow->AttachLayer(flowSeries.get());
            plotWindow->AttachLayer(targetLine.get());
            timeAxis->SetShortenRight(false);
            flowAxis->SetShortenRight(false);
            flowSeries->SetValuePrefix1(Tr("Durchfluss"));
            flowSeries->SetValuePrefix2(Tr("Volumen"));
            valueAxis = flowAxis.get();
        } else {
            plotWindow->AttachLayer(timeAxis.get());
            plotWindow->AttachLayer(volumeAxis.get());
            plotWindow->AttachLayer(volumeSeries.get());
            timeAxis->SetShortenRight(false);
            volumeAxis->SetShortenRight(false);
            volumeSeries->SetValuePrefix1(Tr("Volumen"));
            volumeSeries->SetValuePrefix2(Tr("Durchfluss"));
            valueAxis = volumeAxis.get();
        }
        if (pressureShown) {
            timeAxis->SetShortenRight(true);
            valueAxis->SetShortenRight(true);
            plotWindow->AttachLayer(secondaryPressureAxis.get());
            plotWindow->AttachLayer(secondaryPressureSeries.get());
            secondaryPressureSeries->SetValuePrefix1(Tr("Druck"));
        }
        plotWindow->AttachLayer(legend.get());
        plotWindow->AttachLayer(textBox.get());
    } else if (pressureShown) {
        plotWindow->AttachLayer(timeAxis.get());
        timeAxis->SetShortenRight(false);
        pressureAxis->SetVisible(true);
        plotWindow->AttachLayer(pressureAxis.get());
        plotWindow->AttachLayer(pressureSeries.get());
        pressureAxis->SetCaption(Tr("Druck"));
        plotWindow->AttachLayer(legend.get());
        pressureSeries->SetValuePrefix1(Tr("Druck"));
        plotWindow->AttachLayer(textBox.get());
    }
    // The span over the chart, its readout last: it keeps clear of the boxes drawn before it.
    if (spanOn && (flowShown || volumeShown || pressureShown)) {
        plotWindow->AttachLayer(spanShading.get());
        plotWindow->AttachLayer(spanReadout.get());
    }
}

void MainFrame::ChartRecord(int index, std::size_t held) {
    liveCharted = 0;
    if (index < 0 || index >= static_cast<int>(records.size()))
        return;
    const Storage& r = records[index];
    const bool anotherRecord = index != chartedRecord;
    if (anotherRecord)
        held = 0;
    // The first record charted shows something: flow with pressure, as the two buttons would
    // switch them on, unless the user has chosen the chart's modes already.
    if (!chartModesChosen && !flowShown && !volumeShown && !pressureShown)
        ShowFlowWithPressure();

    // The series read the record's own vectors; none is copied, and each is looked at once
    // however many series show it.
    chartTimes->Take(r.SharedTimes(), held);
    chartFlows->Take(r.SharedFlows(), held);
    chartVolumes->Take(r.SharedVolumes(), held);
    chartPressures->Take(r.SharedPressures(), held);
    flowSeries->ShareDataWithExtra(chartTimes, chartFlows, chartVolumes, r.TargetFlow());
    volumeSeries->ShareDataWithExtra(chartTimes, chartVolumes, chartFlows, 0);
    pressureSeries->ShareDataWithFloor(chartTimes, chartPressures, 0);
    secondaryPressureSeries->ShareData(chartTimes, chartPressures);

    const wxString name = r.Title() + wxString::FromUTF8(" ") + r.DateText();
    for (mpLayer* s : std::initializer_list<mpLayer*>{flowSeries.get(), volumeSeries.get(),
                                                      pressureSeries.get(), secondaryPressureSeries.get()}) {
        s->SetName(name);
        s->SetSubtitleLabel(r.Subtitle());
    }

    targetLine->SetDataWithFloor(r.TargetLineTimes(), r.TargetLineValues(), 0);
    targetLine->SetName(wxString());
    const bool hasTarget = r.HasTargetFlow();
    targetLine->SetVisible(hasTarget);
    targetLine->SetHideSample(!hasTarget);
    flowAxis->SetCaption2(hasTarget ? Tr("Zielfluss") : wxString());

    if (index != chartedRecord) {
        flowSeries->ClearMarker();
        volumeSeries->ClearMarker();
        pressureSeries->ClearMarker();
        secondaryPressureSeries->ClearMarker();
        chartedRecord = index;
    }

    const wxString footer =
        r.SerialNumber() != 0 ? wxString::Format(Tr("Vantor Serial No. %d"), r.SerialNumber()) : wxString();
    for (mpLayer* s : std::initializer_list<mpLayer*>{flowSeries.get(), volumeSeries.get(),
                                                      pressureSeries.get(), secondaryPressureSeries.get()})
        s->SetFooterLabel(footer);

    UpdateUnitLabels(index);

    textBox->SetText(r.NoteText());
    textBox->SetTextBoxPosition(*plotWindow, r.NoteX(), r.NoteY());

    plotWindow->SetStartTime(r.StartTime());
    plotWindow->SetDateLabels(AppSettings.absoluteTime);
    plotWindow->SetBottomMargin(AppSettings.absoluteTime ? 45 : 35);
    plotWindow->RefreshView();
    // Another record is shown whole; the same one again (a live tick, an edit) keeps the view the
    // user zoomed or panned to, and stays fitted (following a live recording) while it was.
    if (anotherRecord || plotWindow->IsFitted())
        plotWindow->Fit();
    // The span's figures are those of the samples as they are now.
    spanIndexHeld = std::min(spanIndexHeld, held);
    UpdateSpanReadout();
}

void MainFrame::ChartNoRecord() {
    liveCharted = 0;
    chartedRecord = -1;
    const std::vector<float> none;
    // The last record's samples are let go.
    for (SampleColumn* column :
         {chartTimes.get(), chartFlows.get(), chartVolumes.get(), chartPressures.get()})
        column->Take(nullptr);
    flowSeries->SetDataWithExtra(none, none, none, 0);
    volumeSeries->SetDataWithExtra(none, none, none, 0);
    pressureSeries->SetDataWithFloor(none, none, 0);
    secondaryPressureSeries->SetData(none, none);
    targetLine->SetDataWithFloor(none, none, 0);
    targetLine->SetVisible(false);
    targetLine->SetHideSample(true);
    flowAxis->SetCaption2(wxString());
    for (mpLayer* s : std::initializer_list<mpLayer*>{flowSeries.get(), volumeSeries.get(),
                                                      pressureSeries.get(), secondaryPressureSeries.get()}) {
        s->SetName(wxString());
        s->SetSubtitleLabel(wxString());
        s->SetFooterLabel(wxString());
        s->ClearMarker();
    }
    textBox->SetText(wxString());
    spanIndexHeld = 0;
    UpdateSpanReadout();
    // Nothing to zoom into: the view of the empty series, without scrollbars.
    plotWindow->Fit();
}
