#include "harness.h"

namespace {

class EmulatedHarness : public Harness {
public:
    void Install() override { SetCurrentUsbBus(&watching); }
    void Uninstall() override { SetCurrentUsbBus(nullptr); }
    emu::EmulatedLogger& AddLogger(int firmwareWord, int busNumber) override {
        return bus.AddLogger(clock, firmwareWord, busNumber);
    }
    void AddOtherDevice(std::uint16_t vendorId, std::uint16_t productId) override {
        bus.AddOtherDevice(vendorId, productId);
    }
    void Unplug(emu::EmulatedLogger& logger) override { logger.Unplug(); }
    void Replug(emu::EmulatedLogger& logger) override { logger.Replug(); }
    int OpenHandles() override { return bus.OpenHandles(); }
    emu::LoggerClock& Clock() override { return clock; }
    WatchingBus& Bus() override { return watching; }

private:
    emu::ManualClock clock;
    emu::EmulatedUsbBus bus;
    WatchingBus watching{bus};
};

}  // namespace

std::unique_ptr<Harness> MakeHarness() {
    return std::make_unique<EmulatedHarness>();
}
