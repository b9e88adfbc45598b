// The plot commands of the main window and what it does with the chart's events.
#include "app/app_settings.h"
#include "app/command_ids.h"
#include "data/translate.h"
#include "data/units.h"
#include "dialogs/pen_dialog.h"
#include "mainframe/main_frame.h"
#include "plot/layers.h"
#include "plot/plot_window.h"
#include "plot/scales.h"
#include "resources/pictures.h"
#include "widgets/lcd_display.h"
#include "widgets/vext_button.h"

#include <wx/colordlg.h>
#include <wx/menu.h>

// A switched-on button shows its pressed picture as its normal and hover picture.
void MainFrame::SetButtonActive(wxVextButton* button, bool active) {
    if (active) {
        const wxBitmapBundle pressed = button->GetBitmapBundlePressed();
        button->SetBitmapLabel(pressed);
        button->SetBitmapCurrent(pressed);
        return;
    }
    using pictures::Motif;
    Motif motif = Motif::Grid;
    if (button == flowButton)
        motif = Motif::FlowSeries;
    else if (button == volumeButton)
        motif = Motif::VolumeSeries;
    else if (button == pressureButton)
        motif = Motif::PressureSeries;
    else if (button == measure1Button || button == measure2Button)
        motif = Motif::Measure;
    else if (button == gridButton)
        motif = Motif::Grid;
    else if (button == pointsButton)
        motif = Motif::Points;
    else if (button == filterButton)
        motif = Motif::Filter;
    button->SetBitmapLabel(pictures::Bundle(motif));
    button->SetBitmapCurrent(pictures::Bundle(motif, pictures::State::Hover));
}

void MainFrame::OnZoomIn(wxCommandEvent&) {
    plotWindow->ZoomIn();
}

void MainFrame::OnZoomOut(wxCommandEvent&) {
    plotWindow->ZoomOut();
}

void MainFrame::ShowFlowWithPressure() {
    chartModesChosen = true;
    flowShown = true;
    volumeShown = false;
    pressureShown = true;
    SetButtonActive(flowButton, true);
    SetButtonActive(volumeButton, false);
    SetButtonActive(pressureButton, true);
    measure1Button->SetLabel(Tr("Messwerte 1"));
    UpdateUnitLabels(-1);
    RefreshChart();
}

void MainFrame::OnShowFlow(wxCommandEvent&) {
    chartModesChosen = true;
    if (flowShown) {
        flowShown = volumeShown = false;
        SetButtonActive(flowButton, false);
    } else {
        flowShown = true;
        volumeShown = false;
        SetButtonActive(flowButton, true);
        SetButtonActive(volumeButton, false);
        measure1Button->SetLabel(Tr("Messwerte 1"));
    }
    UpdateUnitLabels(-1);
    RefreshChart();
    plotWindow->Fit();
}

void MainFrame::OnShowVolume(wxCommandEvent&) {
    chartModesChosen = true;
    if (!volumeShown) {
        volumeShown = true;
        flowShown = false;
        SetButtonActive(volumeButton, true);
        SetButtonActive(flowButton, false);
        measure1Button->SetLabel(Tr("Messwerte V"));
    }
    UpdateUnitLabels(-1);
    RefreshChart();
    plotWindow->Fit();
}

void MainFrame::OnShowPressure(wxCommandEvent&) {
    chartModesChosen = true;
    pressureShown = !pressureShown;
    SetButtonActive(pressureButton, pressureShown);
    UpdateUnitLabels(-1);
    RefreshChart();
    plotWindow->Fit();
}

void MainFrame::SetMeasure1(bool on) {
    measure1On = on;
    plotWindow->SetMeasureMode1(on);
    SetButtonActive(measure1Button, on);
}

void MainFrame::SetMeasure2(bool on) {
    measure2On = on;
    plotWindow->SetMeasureMode2(on);
    SetButtonActive(measure2Button, on);
}

// The other mode goes off before this one goes on: both set the pointer, and the cross must be
// what stays while measuring.
void MainFrame::OnMeasure1(wxCommandEvent&) {
    const bool on = !measure1On;
    if (on && spanOn)
        SetSpanMode(false);
    if (on && measure2On)
        SetMeasure2(false);
    SetMeasure1(on);
    RefreshChart();
}

void MainFrame::OnMeasure2(wxCommandEvent&) {
    const bool on = !measure2On;
    if (on && spanOn)
        SetSpanMode(false);
    if (on && measure1On)
        SetMeasure1(false);
    SetMeasure2(on);
    RefreshChart();
}

void MainFrame::OnGrid(wxCommandEvent&) {
    gridOn = !gridOn;
    SetButtonActive(gridButton, gridOn);
    RefreshChart();
}

void MainFrame::OnPoints(wxCommandEvent&) {
    pointsMode = !pointsMode;
    SetButtonActive(pointsButton, pointsMode);
    const int width = pointsMode ? pointWidth : lineWidth;
    for (mpLayer* s : std::initializer_list<mpLayer*>{flowSeries.get(), volumeSeries.get(),
                                                      pressureSeries.get(), secondaryPressureSeries.get()}) {
        wxPen pen = s->GetPen();
        pen.SetWidth(width);
        s->SetPen(pen);
        s->SetContinuity(!pointsMode);
    }
    RefreshChart();
}

void MainFrame::OnLineColour(wxCommandEvent& event) {
    const mpLayer* series = event.GetId() == ID_COLOUR_FLOW     ? static_cast<mpLayer*>(flowSeries.get())
                            : event.GetId() == ID_COLOUR_VOLUME ? static_cast<mpLayer*>(volumeSeries.get())
                                                                : static_cast<mpLayer*>(pressureSeries.get());
    wxColourData data;
    data.SetChooseFull(true);
    // The dialog starts from the line's colour as the chart shows it.
    data.SetColour(series->GetPen().GetColour());
    for (int i = 0; i < 16; ++i)
        data.SetCustomColour(i, wxColour(16 * i, 16 * i, 16 * i));
    wxColourDialog dialog(this, &data);
    if (dialog.ShowModal() != wxID_OK)
        return;
    chosenColour = dialog.GetColourData().GetColour();
    const wxPen pen(chosenColour, 5, wxPENSTYLE_SOLID);
    switch (event.GetId()) {
        case ID_COLOUR_FLOW:
            flowSeries->SetPen(pen);
            break;
        case ID_COLOUR_VOLUME:
            volumeSeries->SetPen(pen);
            break;
        default:
            pressureSeries->SetPen(pen);
            secondaryPressureSeries->SetPen(pen);
            break;
    }
    plotWindow->RefreshView();
}

void MainFrame::OnLineWidth(wxCommandEvent& event) {
    mpLayer* series = event.GetId() == ID_WIDTH_FLOW     ? static_cast<mpLayer*>(flowSeries.get())
                      : event.GetId() == ID_WIDTH_VOLUME ? static_cast<mpLayer*>(volumeSeries.get())
                                                         : static_cast<mpLayer*>(pressureSeries.get());
    PenDialog dialog(this, series->GetPen().GetWidth());
    if (dialog.ShowModal() != wxID_OK)
        return;
    const int width = dialog.ChosenWidth();
    auto widen = [width](mpLayer* layer) {
        wxPen pen = layer->GetPen();
        pen.SetWidth(width);
        layer->SetPen(pen);
    };
    widen(series);
    if (event.GetId() == ID_WIDTH_PRESSURE)
        widen(secondaryPressureSeries.get());
    else if (pointsMode)
        pointWidth = width;
    else
        lineWidth = width;
    plotWindow->RefreshView();
}

void MainFrame::OnAbsoluteTime(wxCommandEvent&) {
    AppSettings.absoluteTime = !AppSettings.absoluteTime;
    absoluteTimeItem->Check(AppSettings.absoluteTime);
    plotWindow->SetDateLabels(AppSettings.absoluteTime);
    plotWindow->SetBottomMargin(AppSettings.absoluteTime ? 45 : 35);
    plotWindow->RefreshView();
    plotWindow->Fit();
    // The span's times as the axis now shows them.
    UpdateSpanReadout();
}

void MainFrame::ShowFlowReadout(double value) {
    // In the charted record's own flow unit, as its axis is labelled.
    int unit = AppSettings.flowUnit;
    if (chartedRecord >= 0 && chartedRecord < static_cast<int>(records.size()) &&
        units::IsKnownFlowUnit(records[chartedRecord].FlowUnit()))
        unit = records[chartedRecord].FlowUnit();
    flowDisplay->SetDisplayText(wxString::Format(units::FlowDisplayFormat(unit), value));
}

void MainFrame::OnPlotMeasure(wxCommandEvent& event) {
    // "x y" from a primary series, "y " from the secondary one.
    const wxString text = event.GetString();
    double first = 0, second = 0;
    text.BeforeFirst(' ').ToCDouble(&first);
    text.AfterFirst(' ').Trim().ToCDouble(&second);
    if (event.GetInt() == 1) {
        const double x = first, y = second;
        if (flowShown || volumeShown)
            ShowFlowReadout(y);
        else
            pressureDisplay->SetDisplayText(wxString::Format(wxString::FromUTF8("%.2f"), y));
        clock->ShowElapsed(static_cast<float>(x));
    } else if (event.GetInt() == 2) {
        pressureDisplay->SetDisplayText(wxString::Format(wxString::FromUTF8("%.2f"), first));
    }
}

void MainFrame::OnPlotTextBox(wxCommandEvent&) {
    // Called while the chart paints: store the position only, never repaint from here. The box
    // belongs to the charted record, whichever row has the focus; where a resize or the window's
    // edge puts it is no new position, only the user's drag is.
    if (!textBox->WasDragged())
        return;
    if (chartedRecord < 0 || chartedRecord >= static_cast<int>(records.size()))
        return;
    const wxRect rect = textBox->GetRect();
    records[chartedRecord].SetNotePosition(rect.x, rect.y);
    savedFlag = false;
}
