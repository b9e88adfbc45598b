#include "gallery.h"

#include "app/command_ids.h"
#include "mainframe/main_frame.h"
#include "mainframe/tips_dialog.h"
#include "plot/plot_window.h"

#include <wx/listctrl.h>
#include <wx/timer.h>

#include <cmath>

namespace {

MainFrame* NewMainWindow() {
    auto* frame = new MainFrame(wxString::FromUTF8("Unbennant"), wxDefaultPosition, wxSize(440, 440));
    frame->Show();
    return frame;
}

void Send(MainFrame* frame, int id) {
    wxCommandEvent ev(wxEVT_BUTTON, id);
    frame->ProcessWindowEvent(ev);
}

// A hydrant flow test: flow ramps to a plateau, pressure falls to a residual value and recovers.
Storage HydrantTest() {
    Storage r(wxString::FromUTF8("24/03/2023 14:05:09"), 1000, 1, false, 0, 1);
    r.SetTitle(wxString::FromUTF8("Hydrant 12"));
    r.SetSubtitle(wxString::FromUTF8("Nordstraße, Nennweite 100"));
    r.SetNoteText(wxString::FromUTF8("Ruhedruck 6,1 bar\nFließdruck 3,4 bar"));
    r.SetNotePosition(-40, 30);
    r.SetTargetFlow(800.0f);
    r.SetPressureUnit(98);
    float volume = 0;
    for (int i = 1; i <= 600; ++i) {
        double t = i;
        double ramp =
            std::min(1.0, std::max(0.0, (t - 60) / 60)) * std::min(1.0, std::max(0.0, (540 - t) / 60));
        double flow = 950 * ramp + 12 * std::sin(t * 0.7) + 6 * std::sin(t * 2.3);
        if (flow < 0)
            flow = 0;
        double pressure = 6.1 - 2.7 * ramp + 0.05 * std::sin(t * 1.3);
        volume += static_cast<float>(flow / 60.0);
        r.AddSample(static_cast<float>(t), static_cast<float>(flow), static_cast<float>(pressure), volume);
    }
    return r;
}

wxTopLevelWindow* ChartedMainWindow() {
    MainFrame* frame = NewMainWindow();
    frame->AppendRecord(HydrantTest());
    Storage second = HydrantTest();
    second.SetTitle(wxString::FromUTF8("Hydrant 14"));
    frame->AppendRecord(second);
    frame->RefreshRecordList();
    frame->RecordList()->Focus(0);
    frame->RecordList()->Select(0);
    Send(frame, ID_SHOW_FLOW);
    Send(frame, ID_SHOW_PRESSURE);
    Send(frame, ID_GRID);
    Send(frame, ID_MEASURE_1);
    frame->SetSize(frame->GetMinSize() + wxSize(200, 120));
    frame->Layout();
    // A measuring click at 40 % of the chart's width, once the window has its size.
    mpWindow* plot = frame->PlotWindow();
    auto* timer = new wxTimer();
    timer->Bind(wxEVT_TIMER, [plot, timer](wxTimerEvent&) {
        wxMouseEvent click(wxEVT_LEFT_DOWN);
        click.SetPosition(wxPoint(plot->GetClientSize().x * 2 / 5, plot->GetClientSize().y / 2));
        plot->GetEventHandler()->ProcessEvent(click);
        plot->Refresh();
        delete timer;
    });
    timer->StartOnce(300);
    return frame;
}

wxTopLevelWindow* TipsOverMainWindow() {
    MainFrame* frame = NewMainWindow();
    auto* tips = new TipsDialog(frame, true);
    tips->Show();
    return frame;
}

ZPM_GALLERY_PAGE("mainwindow-empty", [] { return static_cast<wxTopLevelWindow*>(NewMainWindow()); });
ZPM_GALLERY_PAGE_BOTH_SCALES("mainwindow-chart", ChartedMainWindow, "");
ZPM_GALLERY_PAGE_BOTH_SCALES("tips-dialog", TipsOverMainWindow, "");
// The "Datei" menu opened with its mnemonic: shortcuts and pictures of the items.
ZPM_GALLERY_PAGE_BOTH_SCALES("mainwindow-menu", ChartedMainWindow, "alt+d");

// The print preview of the charted record: the page as it will be printed.
wxTopLevelWindow* PrintPreview() {
    auto* frame = static_cast<MainFrame*>(ChartedMainWindow());
    frame->CallAfter([frame] {
        wxCommandEvent preview(wxEVT_MENU, ID_PRINT_PREVIEW);
        frame->ProcessWindowEvent(preview);
    });
    return frame;
}

ZPM_GALLERY_PAGE_SETTLE("print-preview", 3.0, PrintPreview);

}  // namespace
