#pragma once

#include "bus_fixture.h"
#include "support/cannot_run.h"

#include <memory>

// Passes every call on to the bus under test and watches them: the handles it hands out and takes
// back, the searches, the device last opened. The tests learn what a link remembers from this.
class WatchingBus : public UsbBus {
public:
    explicit WatchingBus(UsbBus& inner) : inner(inner) {}
    void Init() override { inner.Init(); }
    int FindBusses() override { return inner.FindBusses(); }
    int FindDevices() override {
        ++searches;
        return inner.FindDevices();
    }
    std::vector<UsbDeviceEntry> GetBusses() override { return inner.GetBusses(); }
    UsbHandle Open(const std::string& busName, const std::string& deviceName) override {
        UsbHandle h = inner.Open(busName, deviceName);
        open += h ? 1 : 0;
        lastOpened = busName + "/" + deviceName;
        return h;
    }
    int Close(UsbHandle handle) override {
        --open;
        return inner.Close(handle);
    }
    int ControlMsg(UsbHandle handle, int requestType, int request, int value, int index, std::uint8_t* bytes,
                   int size, int timeoutMs) override {
        return inner.ControlMsg(handle, requestType, request, value, index, bytes, size, timeoutMs);
    }
    int open = 0;
    int searches = 0;
    std::string lastOpened;  // "bus/device"

private:
    UsbBus& inner;
};

// The bus a transport test runs on: the emulated bus directly, or libusb 0.1 talking to the
// same emulated loggers through umockdev. Each test binary provides MakeHarness().
class Harness {
public:
    virtual ~Harness() = default;
    // False when this harness cannot run here (the test is skipped).
    virtual bool Available() { return true; }
    virtual void Install() = 0;
    virtual void Uninstall() = 0;
    virtual emu::EmulatedLogger& AddLogger(int firmwareWord = 0x0403, int busNumber = 1) = 0;
    virtual void AddOtherDevice(std::uint16_t vendorId, std::uint16_t productId) = 0;
    // The cable is pulled / plugged back in (under a new device number).
    virtual void Unplug(emu::EmulatedLogger& logger) = 0;
    virtual void Replug(emu::EmulatedLogger& logger) = 0;
    // Handles (or file descriptors) open now beyond those open at installation.
    virtual int OpenHandles() = 0;
    virtual emu::LoggerClock& Clock() = 0;
    // The installed bus, watched.
    virtual WatchingBus& Bus() = 0;
};

std::unique_ptr<Harness> MakeHarness();

class TransportTest : public ::testing::Test {
protected:
    void SetUp() override {
        harness = MakeHarness();
        if (!harness->Available())
            ZPM_CANNOT_RUN("this bus is not available here (libusb over umockdev needs umockdev-wrapper)");
        harness->Install();
    }
    void TearDown() override {
        if (!harness->Available())
            return;
        EXPECT_EQ(harness->OpenHandles(), 0) << "a handle was left open";
        harness->Uninstall();
    }

    // Whether `op` made the link search the bus: it does when it has forgotten its logger (or
    // never found one), and goes straight to the logger it remembers otherwise.
    template <class Op>
    bool Searched(Op&& op) {
        const int before = harness->Bus().searches;
        op();
        return harness->Bus().searches > before;
    }

    std::unique_ptr<Harness> harness;
    CapturedLog log;
};
