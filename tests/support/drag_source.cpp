// zpm_drag_source FILE...: a window titled "drag source" that drags the files onto whatever
// window the pointer releases them over, through the desktop's own drag and drop. A journey
// presses the mouse button in it, moves the pointer and lets go. Prints the drop's outcome.
#include <wx/app.h>
#include <wx/dnd.h>
#include <wx/frame.h>
#include <wx/panel.h>

#include <cstdio>

namespace {

class SourcePanel : public wxPanel {
public:
    SourcePanel(wxWindow* parent, const wxArrayString& files) : wxPanel(parent), files(files) {
        SetBackgroundColour(wxColour(200, 220, 255));
        Bind(wxEVT_LEFT_DOWN, &SourcePanel::OnLeftDown, this);
    }

private:
    void OnLeftDown(wxMouseEvent&) {
        wxFileDataObject data;
        for (const wxString& f : files)
            data.AddFile(f);
        wxDropSource source(data, this);
        const wxDragResult result = source.DoDragDrop(wxDrag_CopyOnly);
        std::printf("%s\n", result == wxDragCopy ? "copied" : result == wxDragNone ? "refused" : "other");
        std::fflush(stdout);
        GetParent()->Close(true);
    }

    wxArrayString files;
};

class DragSourceApp : public wxApp {
public:
    bool OnInit() override {
        wxArrayString files;
        for (int i = 1; i < argc; ++i)
            files.Add(argv[i]);
        auto* frame = new wxFrame(nullptr, wxID_ANY, wxString::FromAscii("drag source"), wxPoint(0, 0),
                                  wxSize(160, 120));
        new SourcePanel(frame, files);
        frame->Show();
        return true;
    }
};

}  // namespace

wxIMPLEMENT_APP(DragSourceApp);
