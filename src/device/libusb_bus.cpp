#include "device/libusb_bus.h"

#include "app/application.h"

#include <usb.h>

#include <cstring>

namespace {

class LibUsb01Bus : public UsbBus {
public:
    void Init() override { usb_init(); }
    int FindBusses() override { return usb_find_busses(); }
    int FindDevices() override { return usb_find_devices(); }

    std::vector<UsbDeviceEntry> GetBusses() override {
        std::vector<UsbDeviceEntry> list;
        for (usb_bus* bus = usb_get_busses(); bus; bus = bus->next) {
            for (struct usb_device* dev = bus->devices; dev; dev = dev->next) {
                list.push_back(
                    {bus->dirname, dev->filename, dev->descriptor.idVendor, dev->descriptor.idProduct});
            }
        }
        return list;
    }

    // The record is looked up in the library's current list right now: a record remembered from
    // an earlier search may have been freed by another search since.
    UsbHandle Open(const std::string& busName, const std::string& deviceName) override {
        for (usb_bus* bus = usb_get_busses(); bus; bus = bus->next) {
            if (busName != bus->dirname)
                continue;
            for (struct usb_device* dev = bus->devices; dev; dev = dev->next) {
                if (deviceName == dev->filename)
                    return reinterpret_cast<UsbHandle>(usb_open(dev));
            }
        }
        return nullptr;
    }

    int Close(UsbHandle handle) override { return usb_close(reinterpret_cast<usb_dev_handle*>(handle)); }

    int ControlMsg(UsbHandle handle, int requestType, int request, int value, int index, std::uint8_t* bytes,
                   int size, int timeoutMs) override {
        return usb_control_msg(reinterpret_cast<usb_dev_handle*>(handle), requestType, request, value, index,
                               reinterpret_cast<char*>(bytes), size, timeoutMs);
    }
};

}  // namespace

UsbBus& LibUsbBus() {
    static LibUsb01Bus bus;
    return bus;
}

void InstallUsbBus() {
    SetCurrentUsbBus(&LibUsbBus());
}
