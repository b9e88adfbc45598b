// Job files that come from the desktop rather than from the open dialog: a file named on the
// command line and files dropped onto the main window. Both open as "Vorgang Öffnen" does.
#include "mainframe/main_frame.h"

#include <wx/app.h>
#include <wx/dnd.h>
#include <wx/filename.h>
#include <wx/modalhook.h>
#include <wx/timer.h>
#include <wx/weakref.h>

#include <algorithm>

namespace {

// The dialogs open modally right now. While one is open (a question, a file dialog, the device
// settings, the print dialog) the command that opened it is still running: a drop then would
// change the records under it, so a drop is refused then.
class ModalDialogs : public wxModalDialogHook {
public:
    ModalDialogs() { Register(); }
    bool AnyOpen() const { return !open.empty(); }

protected:
    int Enter(wxDialog* dialog) override {
        open.push_back(dialog);
        return wxID_NONE;
    }
    void Exit(wxDialog* dialog) override {
        const auto it = std::find(open.begin(), open.end(), dialog);
        if (it != open.end())
            open.erase(it);
    }

private:
    std::vector<wxDialog*> open;
};

ModalDialogs& OpenDialogs() {
    static ModalDialogs dialogs;
    return dialogs;
}

// Files a later start handed over while a dialog was open: tried again until none is, then the
// timer goes.
class HandOverTimer : public wxTimer {
public:
    HandOverTimer(MainFrame* to, const std::vector<wxString>& names) : frame(to), files(names) {
        wxTimer::Start(250);
    }

protected:
    void Notify() override {
        if (OpenDialogs().AnyOpen())
            return;
        Stop();
        if (frame)
            frame->OpenDroppedFiles(files);
        wxTheApp->CallAfter([this] { delete this; });
    }

private:
    wxWeakRef<MainFrame> frame;
    std::vector<wxString> files;
};

class JobFileDropTarget : public wxFileDropTarget {
public:
    explicit JobFileDropTarget(MainFrame* frame) : frame(frame) {}

    bool OnDropFiles(wxCoord, wxCoord, const wxArrayString& files) override {
        std::vector<wxString> names(files.begin(), files.end());
        if (OpenDialogs().AnyOpen() || std::none_of(names.begin(), names.end(), IsJobFileName))
            return false;
        // The drop finishes first: a question asked inside it would hold the other program's
        // drag until answered.
        frame->CallAfter([this, names] {
            if (!OpenDialogs().AnyOpen())
                frame->OpenDroppedFiles(names);
        });
        return true;
    }

private:
    MainFrame* frame;
};

}  // namespace

bool IsJobFileName(const wxString& path) {
    return wxFileName(path).GetExt().Lower() == wxString::FromAscii("kvr");
}

void MainFrame::OpenJobFile(const wxString& path) {
    CloseSplash();  // a damage or cannot-open message must not come up under it
    wxFileName name(path);
    name.MakeAbsolute();
    ReadJobFile(name.GetFullPath());
    SetTitle(name.GetFullName());
}

bool MainFrame::OpenDroppedFiles(const std::vector<wxString>& files) {
    const auto job = std::find_if(files.begin(), files.end(), IsJobFileName);
    if (job == files.end())
        return false;  // nothing of ours: pictures, CSV files and the like are left alone
    if (!ConfirmDiscardUnsaved())
        return false;
    OpenJobFile(*job);
    return true;
}

void MainFrame::OpenHandedOverFiles(const std::vector<wxString>& files) {
    Iconize(false);
    Raise();
    if (files.empty())
        return;
    if (!OpenDialogs().AnyOpen()) {
        OpenDroppedFiles(files);
        return;
    }
    new HandOverTimer(this, files);
}

void MainFrame::AcceptDroppedFiles() {
    OpenDialogs();  // watched from now on: a drop or a hand-over waits for the dialogs open then
    SetDropTarget(new JobFileDropTarget(this));
}
