#include "device/libusb_bus.h"
#include "harness.h"
#include "usb_testbed.h"

#include <umockdev.h>

namespace {

// libusb 0.1 over umockdev.
class LibUsbHarness : public Harness {
public:
    // umockdev cannot serve a node path twice in one process: every test gets fresh numbers.
    LibUsbHarness() { factory.SetNextDeviceNumber(nextNumber); }
    ~LibUsbHarness() override { nextNumber = factory.NextDeviceNumberToGive(); }

    bool Available() override { return UsbTestbed::InMockEnvironment(); }
    void Install() override { SetCurrentUsbBus(&counting); }
    void Uninstall() override {
        UsbTestbed::Instance().RemoveAll();
        LibUsbBus().FindDevices();  // libusb forgets them before the next test
        SetCurrentUsbBus(nullptr);
    }
    emu::EmulatedLogger& AddLogger(int firmwareWord, int busNumber) override {
        emu::EmulatedLogger& l = factory.AddLogger(clock, firmwareWord, busNumber);
        UsbTestbed::Instance().Plug(l);
        return l;
    }
    void AddOtherDevice(std::uint16_t vendorId, std::uint16_t productId) override {
        emu::EmulatedLogger& l = factory.AddLogger(clock);
        others.push_back(&l);
        UsbTestbed::Instance().Plug(l, vendorId, productId);
    }
    void Unplug(emu::EmulatedLogger& logger) override { UsbTestbed::Instance().Unplug(logger); }
    void Replug(emu::EmulatedLogger& logger) override { UsbTestbed::Instance().Replug(logger); }
    int OpenHandles() override { return counting.open; }
    WatchingBus& Bus() override { return counting; }
    emu::LoggerClock& Clock() override { return clock; }

private:
    emu::ManualClock clock;
    emu::EmulatedUsbBus factory;  // owns the loggers and numbers the devices
    WatchingBus counting{LibUsbBus()};
    std::vector<emu::EmulatedLogger*> others;
    static int nextNumber;
};

int LibUsbHarness::nextNumber = 2;

}  // namespace

std::unique_ptr<Harness> MakeHarness() {
    return std::make_unique<LibUsbHarness>();
}
