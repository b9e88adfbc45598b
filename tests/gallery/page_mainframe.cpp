#include "gallery.h"

#include "mainframe/main_frame.h"

namespace {

wxTopLevelWindow* EmptyMainWindow() {
    auto* frame = new MainFrame(wxString::FromUTF8("Unbennant"), wxDefaultPosition, wxSize(440, 440));
    frame->Show();
    return frame;
}

ZPM_GALLERY_PAGE("mainwindow-empty", EmptyMainWindow);

}  // namespace
