#pragma once

#include <wx/app.h>

#include <memory>

class SingleInstance;

class Application : public wxApp {
public:
    Application();
    ~Application() override;
    bool OnInit() override;
    // This start handed its files to the program already running: it ends without a window.
    static bool handedOver;

private:
    std::unique_ptr<SingleInstance> instance;
};

// Provided by each executable: binds the program's USB link to Debian's libusb (zpm) or to the
// emulated logger (zpm-demo). Runs before the main window is built.
void InstallUsbBus();
