#pragma once

#include <cstdint>
#include <string>
#include <vector>

// The seven calls of the libusb 0.1 interface that the USB link needs, behind one small
// interface: zpm binds it to the system's libusb, zpm-demo and the tests to the emulated logger.
// VextUSB talks only to this interface and never learns which bus it has.

// One device of the bus list as usb_get_busses() shows it after the last usb_find_devices().
// A device is named by its bus and device names (the directory and file of its device node);
// no pointer into the library's list outlives a call.
struct UsbDeviceEntry {
    std::string busName;
    std::string deviceName;
    std::uint16_t vendorId = 0;
    std::uint16_t productId = 0;
};

// An open device, as usb_open() hands it out. Opaque: only the bus that opened it knows what it is.
struct UsbHandleTag;
using UsbHandle = UsbHandleTag*;

class UsbBus {
public:
    virtual ~UsbBus() = default;

    virtual void Init() = 0;        // usb_init
    virtual int FindBusses() = 0;   // usb_find_busses
    virtual int FindDevices() = 0;  // usb_find_devices
    // usb_get_busses, walked: every device of every bus, in bus order and device order.
    virtual std::vector<UsbDeviceEntry> GetBusses() = 0;
    // usb_open on the device of that name in the current bus list; none when the list does not
    // hold it or the library gave no handle.
    virtual UsbHandle Open(const std::string& busName, const std::string& deviceName) = 0;
    virtual int Close(UsbHandle handle) = 0;  // usb_close
    // usb_control_msg: bytes transferred, or a negative errno.
    virtual int ControlMsg(UsbHandle handle, int requestType, int request, int value, int index,
                           std::uint8_t* bytes, int size, int timeoutMs) = 0;
};

// The process-wide bus. Until one is installed it is a bus without devices.
UsbBus& CurrentUsbBus();
// Installs a bus (not owned); nullptr restores the empty bus.
void SetCurrentUsbBus(UsbBus* bus);
