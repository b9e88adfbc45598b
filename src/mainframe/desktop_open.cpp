// Job files that come from the desktop rather than from the open dialog: a file named on the
// command line and files dropped onto the main window. Both open as "Vorgang Öffnen" does.
#include "mainframe/main_frame.h"

#include <wx/dnd.h>
#include <wx/filename.h>

#include <algorithm>

namespace {

class JobFileDropTarget : public wxFileDropTarget {
public:
    explicit JobFileDropTarget(MainFrame* frame) : frame(frame) {}

    bool OnDropFiles(wxCoord, wxCoord, const wxArrayString& files) override {
        // The drop finishes first: a question asked inside it would hold the other program's
        // drag until answered.
        std::vector<wxString> names(files.begin(), files.end());
        frame->CallAfter([frame = frame, names] { frame->OpenDroppedFiles(names); });
        return std::any_of(names.begin(), names.end(), IsJobFileName);
    }

private:
    MainFrame* frame;
};

}  // namespace

bool IsJobFileName(const wxString& path) {
    return wxFileName(path).GetExt().Lower() == wxString::FromAscii("kvr");
}

void MainFrame::OpenJobFile(const wxString& path) {
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
