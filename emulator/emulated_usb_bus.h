#pragma once

#include "device/usb_bus.h"
#include "emulator/emulated_logger.h"

#include <memory>
#include <string>
#include <vector>

namespace emu {

// A USB bus with one or more emulated loggers (and, if wanted, other devices), behaving as
// Debian's libusb 0.1.12 does: the bus list changes only at FindDevices(); Open() hands out a
// handle for any device of the list even when it has gone since (its transfers then fail with
// -EBADF), and a transfer on a handle whose device went away fails with -ENODEV.
class EmulatedUsbBus : public UsbBus {
public:
    EmulatedUsbBus() = default;
    ~EmulatedUsbBus() override;
    EmulatedUsbBus(const EmulatedUsbBus&) = delete;
    EmulatedUsbBus& operator=(const EmulatedUsbBus&) = delete;

    // A logger plugged into bus `busNumber`; it gets the next free device number.
    EmulatedLogger& AddLogger(LoggerClock& clock, int firmwareWord = logger::FirmwareLongBlock,
                              int busNumber = 1);
    // Some other device (a mouse, a hub) that the search must pass over.
    void AddOtherDevice(std::uint16_t vendorId, std::uint16_t productId, int busNumber = 1);
    EmulatedLogger& Logger(int i = 0) { return *loggers.at(i); }
    int LoggerCount() const { return static_cast<int>(loggers.size()); }

    // Device numbers handed out from here on (the system counts up to 127 and wraps).
    void SetNextDeviceNumber(int number) { nextNumber = number; }
    int NextDeviceNumberToGive() const { return nextNumber; }

    // Bookkeeping for the tests: every open must be matched by a close.
    int OpenHandles() const { return static_cast<int>(handles.size()); }
    int Opens() const { return opens; }
    int Closes() const { return closes; }
    int Searches() const { return searches; }  // FindDevices calls

    // --- UsbBus
    void Init() override {}
    int FindBusses() override { return 0; }
    int FindDevices() override;
    std::vector<UsbDeviceEntry> GetBusses() override { return list; }
    UsbHandle Open(const std::string& busName, const std::string& deviceName) override;
    int Close(UsbHandle handle) override;
    int ControlMsg(UsbHandle handle, int requestType, int request, int value, int index, std::uint8_t* bytes,
                   int size, int timeoutMs) override;

private:
    struct Other {
        int bus;
        int number;
        std::uint16_t vendorId, productId;
    };
    struct Handle {
        EmulatedLogger* logger;  // none for other devices
        int number;
        bool present;  // the device node could be opened
    };

    int NextDeviceNumber() { return nextNumber++; }

    std::vector<std::unique_ptr<EmulatedLogger>> loggers;
    std::vector<Other> others;
    std::vector<UsbDeviceEntry> list;
    std::vector<std::unique_ptr<Handle>> handles;
    int nextNumber = 2;  // 1 is the root hub
    int opens = 0, closes = 0, searches = 0;
};

}  // namespace emu
