#include "gallery.h"

#include "dialogs/config_dialog.h"
#include "dialogs/settings_dialog.h"
#include "emulator/demo_content.h"
#include "emulator/emulated_usb_bus.h"

#include <wx/button.h>

namespace {

// The demo logger answers on the process-wide bus for the whole gallery run.
void InstallDemoLogger() {
    static emu::SteadyClock clock;
    static emu::EmulatedUsbBus bus;
    if (bus.LoggerCount() == 0)
        emu::FillDemoContent(bus.AddLogger(clock, logger::FirmwareLongBlock));
    SetCurrentUsbBus(&bus);
}

wxTopLevelWindow* SettingsWithLogger() {
    InstallDemoLogger();
    auto* dialog = new SettingsDialog(nullptr);
    dialog->Show();
    return dialog;
}

wxTopLevelWindow* SettingsWithoutLogger() {
    SetCurrentUsbBus(nullptr);
    auto* dialog = new SettingsDialog(nullptr);
    dialog->Show();
    return dialog;
}

wxTopLevelWindow* ServiceAfterDump() {
    InstallDemoLogger();
    auto* dialog = new Config(nullptr);
    wxCommandEvent dump(wxEVT_BUTTON, dialog->DumpButton()->GetId());
    dump.SetEventObject(dialog->DumpButton());
    dialog->DumpButton()->GetEventHandler()->ProcessEvent(dump);
    dialog->Show();
    return dialog;
}

ZPM_GALLERY_PAGE_BOTH_SCALES("settings-dialog", SettingsWithLogger, "");
ZPM_GALLERY_PAGE("settings-dialog-no-logger", SettingsWithoutLogger);
ZPM_GALLERY_PAGE("service-dialog", ServiceAfterDump);

}  // namespace
