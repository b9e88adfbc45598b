#pragma once

// Presents emulated loggers as USB devices to the unmodified libusb 0.1 library through
// umockdev: a device node under /dev/bus/usb per logger whose reads serve the descriptors and
// whose ioctls (USBDEVFS_CONTROL, CONNECTINFO, claim/release/setconfig) reach the emulator.
// The process must run under umockdev-wrapper.

#include "emulator/emulated_logger.h"

#include <cstdint>
#include <map>
#include <memory>
#include <string>

typedef struct _UMockdevTestbed UMockdevTestbed;
typedef struct _UMockdevIoctlBase UMockdevIoctlBase;
typedef struct _UMockdevIoctlClient UMockdevIoctlClient;

class UsbTestbed {
public:
    // One testbed per process, created before libusb first looks at /dev/bus/usb.
    static UsbTestbed& Instance();
    static bool InMockEnvironment();

    // A node for the logger at its current bus and device number.
    // With other ids the node is some other device whose vendor requests all stall.
    void Plug(emu::EmulatedLogger& logger, std::uint16_t vendorId = 0x04D8, std::uint16_t productId = 0xFFFD);
    // The logger leaves the bus: node removed, handles still open see -ENODEV.
    void Unplug(emu::EmulatedLogger& logger);
    // Back again under the new device number the logger is given.
    void Replug(emu::EmulatedLogger& logger);
    void RemoveAll();

    struct Node;

private:
    UsbTestbed();
    ~UsbTestbed();
    void Remove(Node& node);

    UMockdevTestbed* testbed = nullptr;
    std::map<std::string, std::unique_ptr<Node>> nodes;  // by device node path
};
