// zpm-demo: the program's USB link bound to one emulated logger with realistic content.
#include "app/application.h"
#include "emulator/demo_content.h"
#include "emulator/emulated_usb_bus.h"

void InstallUsbBus() {
    static emu::SteadyClock clock;
    static emu::EmulatedUsbBus bus;
    if (bus.LoggerCount() == 0) {
        emu::EmulatedLogger& logger = bus.AddLogger(clock, logger::FirmwareLongBlock);
        emu::FillDemoContent(logger);
        // A real logger takes about a quarter of a millisecond per control transfer.
        logger.SetTransferLatency(std::chrono::microseconds(250));
        logger.KeepTransferLog(false);
    }
    SetCurrentUsbBus(&bus);
}
