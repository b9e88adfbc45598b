#include "app/application.h"

#include "mainframe/main_frame.h"
#include "resources/pictures.h"

wxIMPLEMENT_APP(Application);

bool Application::OnInit() {
    InstallUsbBus();
    auto* frame = new MainFrame(wxString::FromUTF8("Unbennant"), wxDefaultPosition, wxSize(440, 440));
    frame->SetIcons(pictures::AppIcons());
    frame->Show(true);
    SetTopWindow(frame);
    return true;
}
