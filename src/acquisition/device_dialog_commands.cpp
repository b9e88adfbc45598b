// The logger's settings dialog and the service dialog, opened from the main window. Each has its
// own link to the logger; the main window's timers go on using theirs meanwhile.
#include "dialogs/config_dialog.h"
#include "dialogs/settings_dialog.h"
#include "mainframe/main_frame.h"

void MainFrame::OnDeviceSettings(wxCommandEvent&) {
    SettingsDialog dialog(this);
    dialog.ShowModal();
}

void MainFrame::OnServiceDialog(wxCommandEvent&) {
    Config dialog(this);
    dialog.ShowModal();
}
