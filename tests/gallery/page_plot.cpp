// The plot window on its own: flow with pressure on the second axis, a measured value in the
// legend, a text box and grid lines, as the chart of a recording shows them.
#include "gallery.h"

#include "plot/layers.h"
#include "plot/plot_window.h"
#include "plot/scales.h"

#include <wx/app.h>
#include <wx/frame.h>
#include <wx/utils.h>

#include <cmath>
#include <memory>
#include <vector>

namespace {

wxString U(const char* text) {
    return wxString::FromUTF8(text);
}

// The layers outlive the window's paints; the window never owns them.
struct FlowPressureChart {
    mpScaleX timeAxis{U("Zeit (h:m:s)"), 2, false, true};
    mpScaleY flowAxis{U("Durchfluss (l/min)"), 2, false, true};
    mpScaleYVext pressureAxis{U("Druck (bar)"), 5, true};
    mpFXYVector flow;
    mpFXYVectorVext pressure;
    mpInfoLegend legend{200, 20, 40, 40, *wxTRANSPARENT_BRUSH};
    mpInfoTextBox textBox{200, 20, 40, 40, *wxTRANSPARENT_BRUSH};
};

// A 40-minute hydrant test at 1 s: the valve opened in steps, pressure falling as flow rises.
void FillRecording(std::vector<float>& t, std::vector<float>& flow, std::vector<float>& pressure,
                   std::vector<float>& volume) {
    double v = 0;
    for (int i = 0; i <= 2400; ++i) {
        const double s = i;
        const double target = s < 300 ? 0 : s < 900 ? 12 : s < 1500 ? 24 : s < 2100 ? 31 : 8;
        const double wobble = 0.6 * std::sin(s / 7.0) + 0.35 * std::sin(s / 2.3 + 1);
        const double f = std::max(0.0, target + (target > 0 ? wobble : 0));
        t.push_back(static_cast<float>(s));
        flow.push_back(static_cast<float>(f));
        pressure.push_back(static_cast<float>(4.2 - 0.045 * f + 0.03 * std::sin(s / 5.0)));
        v += f / 60.0;
        volume.push_back(static_cast<float>(v));
    }
}

wxTopLevelWindow* FlowWithPressure() {
    auto* frame = new wxFrame(nullptr, wxID_ANY, U("Diagramm"), wxDefaultPosition, wxDefaultSize);
    auto* plot = new mpWindow(frame, wxID_ANY, wxDefaultPosition, wxSize(900, 450), wxSUNKEN_BORDER);
    frame->SetClientSize(900, 450);

    static auto chart = std::make_unique<FlowPressureChart>();
    const wxFont bold9(9, wxFONTFAMILY_SWISS, wxFONTSTYLE_NORMAL, wxFONTWEIGHT_BOLD);
    const wxFont bold12(12, wxFONTFAMILY_SWISS, wxFONTSTYLE_NORMAL, wxFONTWEIGHT_BOLD);
    for (mpLayer* axis :
         std::initializer_list<mpLayer*>{&chart->timeAxis, &chart->flowAxis, &chart->pressureAxis}) {
        axis->SetPen(*wxGREY_PEN);
        axis->SetFont(bold9);
    }
    std::vector<float> t, flow, pressure, volume;
    FillRecording(t, flow, pressure, volume);
    chart->flow.SetDataWithExtra(t, flow, volume, 0);
    chart->pressure.SetData(t, pressure);
    chart->flow.SetPen(wxPen(*wxBLUE, 2, wxPENSTYLE_SOLID));
    chart->pressure.SetPen(wxPen(*wxRED, 2, wxPENSTYLE_SOLID));
    for (mpLayer* series : std::initializer_list<mpLayer*>{&chart->flow, &chart->pressure}) {
        series->SetFont(bold9);
        series->SetContinuity(true);
        series->SetName(U("Hydrantenprüfung 05.03.2024"));
        series->SetSubtitleLabel(U("Ringleitung Nord, Abzweig 3"));
        series->SetFooterLabel(U("Vantor Serial No. 4711"));
    }
    chart->flow.SetValuePrefix1(U("Durchfluss"));
    chart->flow.SetValueSuffix1(U("l/min"));
    chart->flow.SetValuePrefix2(U("Volumen"));
    chart->flow.SetValueSuffix2(U("l"));
    chart->pressure.SetValuePrefix1(U("Druck"));
    chart->pressure.SetValueSuffix1(U("bar"));
    chart->legend.SetPen(*wxBLACK_PEN);
    chart->legend.SetFont(bold12);
    chart->textBox.SetPen(*wxBLACK_PEN);
    chart->textBox.SetFont(bold12);
    chart->textBox.SetText(U("Schieber 2 offen\nNennweite DN 80"));

    plot->SetDateLabels(true);
    plot->SetBottomMargin(45);
    plot->SetStartTime(wxDateTime(5, wxDateTime::Mar, 2024, 9, 30, 0));
    for (mpLayer* layer : std::initializer_list<mpLayer*>{&chart->timeAxis, &chart->flowAxis, &chart->flow,
                                                          &chart->pressureAxis, &chart->pressure,
                                                          &chart->legend, &chart->textBox})
        plot->AttachLayer(layer);
    frame->Show();
    plot->Fit();
    // The box is placed within the size of the last paint.
    for (int i = 0; i < 200 && plot->GetPaintCount() == 0; ++i) {
        wxTheApp->Yield(true);
        wxMilliSleep(10);
    }
    chart->textBox.SetTextBoxPosition(*plot, 215, 40);
    plot->RefreshView();

    // A measuring click on the third step of the valve.
    plot->SetMeasureMode1(true);
    wxMouseEvent click(wxEVT_LEFT_DOWN);
    click.m_x =
        plot->GetClientSize().x / 2 + static_cast<int>((1800 - plot->GetCentreX()) * plot->GetScaleX());
    click.m_y = 200;
    click.m_leftDown = true;
    plot->GetEventHandler()->ProcessEvent(click);
    return frame;
}

ZPM_GALLERY_PAGE("plot-flow-pressure", FlowWithPressure);

}  // namespace
