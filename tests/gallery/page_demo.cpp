// The demo build's main window on its emulated logger: the status after start-up, a live
// recording, and the downloaded events.
#include "gallery.h"

#include "app/application.h"
#include "app/command_ids.h"
#include "mainframe/main_frame.h"

#include <wx/dialog.h>
#include <wx/listctrl.h>
#include <wx/modalhook.h>

namespace {

MainFrame* DemoWindow() {
    InstallUsbBus();
    auto* frame = new MainFrame(wxString::FromUTF8("Unbennant"), wxDefaultPosition, wxSize(440, 440));
    frame->SetSize(frame->GetMinSize() + wxSize(160, 80));
    frame->Show();
    return frame;
}

void Send(MainFrame* frame, int id) {
    wxCommandEvent ev(wxEVT_BUTTON, id);
    frame->ProcessWindowEvent(ev);
}

// The download's questions ("Save new data?") answered "No", as a user looking first would.
class AnswerNo : public wxModalDialogHook {
protected:
    int Enter(wxDialog*) override { return wxID_NO; }
    void Exit(wxDialog*) override {}
};

wxTopLevelWindow* DemoStatus() {
    return DemoWindow();
}  // the first status poll comes after 5 s

wxTopLevelWindow* DemoLive() {
    MainFrame* frame = DemoWindow();
    Send(frame, ID_SHOW_FLOW);
    Send(frame, ID_SHOW_PRESSURE);
    Send(frame, ID_RECORD);
    return frame;
}

wxTopLevelWindow* DemoDownload() {
    MainFrame* frame = DemoWindow();
    frame->CallAfter([frame] {
        static AnswerNo answers;
        answers.Register();
        Send(frame, ID_UPLOAD);
        answers.Unregister();
        frame->RecordList()->Focus(1);
        frame->RecordList()->Select(1);
        Send(frame, ID_SHOW_FLOW);
        Send(frame, ID_SHOW_PRESSURE);
    });
    return frame;
}

// A downloaded hydrant test evaluated: the dialog over the chart, whose phases are marked.
wxTopLevelWindow* DemoHydrant() {
    MainFrame* frame = DemoWindow();
    frame->SetSize(frame->GetMinSize() + wxSize(360, 200));
    frame->CallAfter([frame] {
        static AnswerNo answers;
        answers.Register();
        Send(frame, ID_UPLOAD);
        answers.Unregister();
        frame->RecordList()->Focus(2);
        frame->RecordList()->Select(2);
        Send(frame, ID_SHOW_FLOW);
        Send(frame, ID_SHOW_PRESSURE);
        wxCommandEvent evaluate(wxEVT_MENU, ID_HYDRANT_TEST);
        frame->ProcessWindowEvent(evaluate);  // modal: the page is shot while it is open
    });
    return frame;
}

ZPM_GALLERY_PAGE_SETTLE("demo-hydrant", 3.0, DemoHydrant);
ZPM_GALLERY_PAGE_SETTLE("demo-status", 6.5, DemoStatus);
ZPM_GALLERY_PAGE_SETTLE("demo-live", 5.5, DemoLive);
ZPM_GALLERY_PAGE_SETTLE("demo-download", 3.0, DemoDownload);

}  // namespace
