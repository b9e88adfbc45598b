// Job files that come from the desktop rather than from the open dialog: a file named on the
// command line and files dropped onto the main window. Both open as "Vorgang Öffnen" does.
#include "mainframe/main_frame.h"

#include <wx/dnd.h>
#include <wx/filename.h>
#include <wx/modalhook.h>

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

class JobFileDropTarget : public wxFileDropTarget {
public:
    explicit JobFileDropTarget(MainFrame* frame) : frame(frame) {}

    bool OnDropFiles(wxCoord, wxCoord, const wxArrayString& files) override {
        std::vector<wxString> names(files.begin(), files.end());
        if (modal.AnyOpen() || std::none_of(names.begin(), names.end(), IsJobFileName))
            return false;
        // The drop finishes first: a question asked inside it would hold the other program's
        // drag until answered.
        frame->CallAfter([this, names] {
            if (!modal.AnyOpen())
                frame->OpenDroppedFiles(names);
        });
        return true;
    }

private:
    MainFrame* frame;
    ModalDialogs modal;
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

void MainFrame::AcceptDroppedFiles() {
    SetDropTarget(new JobFileDropTarget(this));
}
