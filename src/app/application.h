#pragma once

#include <wx/app.h>

class Application : public wxApp {
public:
    bool OnInit() override;
};

// Provided by each executable: binds the program's USB link to Debian's libusb (zpm) or to the
// emulated logger (zpm-demo). Runs before the main window is built.
void InstallUsbBus();
