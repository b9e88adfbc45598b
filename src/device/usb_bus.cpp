#include "device/usb_bus.h"

#include <cerrno>

namespace {

// Stands in while no bus is installed: no busses, no devices.
class EmptyUsbBus : public UsbBus {
public:
    void Init() override {}
    int FindBusses() override { return 0; }
    int FindDevices() override { return 0; }
    std::vector<UsbDeviceEntry> GetBusses() override { return {}; }
    UsbHandle Open(const std::string&, const std::string&) override { return nullptr; }
    int Close(UsbHandle) override { return 0; }
    int ControlMsg(UsbHandle, int, int, int, int, std::uint8_t*, int, int) override { return -ENODEV; }
};

EmptyUsbBus emptyBus;
UsbBus* currentBus = nullptr;

}  // namespace

UsbBus& CurrentUsbBus() {
    return currentBus ? *currentBus : emptyBus;
}

void SetCurrentUsbBus(UsbBus* bus) {
    currentBus = bus;
}
