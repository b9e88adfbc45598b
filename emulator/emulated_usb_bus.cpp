#include "emulator/emulated_usb_bus.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <tuple>

namespace emu {

namespace {

std::string Name(int number) {
    char text[8];
    std::snprintf(text, sizeof text, "%03d", number);
    return text;
}

}  // namespace

EmulatedUsbBus::~EmulatedUsbBus() = default;

EmulatedLogger& EmulatedUsbBus::AddLogger(LoggerClock& clock, int firmwareWord, int busNumber) {
    loggers.push_back(std::make_unique<EmulatedLogger>(clock, firmwareWord));
    EmulatedLogger& logger = *loggers.back();
    logger.busNumber = busNumber;
    logger.deviceNumber = NextDeviceNumber();
    logger.nextDeviceNumber = [this] { return NextDeviceNumber(); };
    return logger;
}

void EmulatedUsbBus::AddOtherDevice(std::uint16_t vendorId, std::uint16_t productId, int busNumber) {
    others.push_back({busNumber, NextDeviceNumber(), vendorId, productId});
}

int EmulatedUsbBus::FindDevices() {
    ++searches;
    struct Row {
        int bus, number;
        std::uint16_t vid, pid;
    };
    std::vector<Row> rows;
    for (const auto& l : loggers) {
        if (l->Plugged())
            rows.push_back({l->BusNumber(), l->DeviceNumber(), logger::VendorId, logger::ProductId});
    }
    for (const Other& o : others)
        rows.push_back({o.bus, o.number, o.vendorId, o.productId});
    std::sort(rows.begin(), rows.end(), [](const Row& a, const Row& b) {
        return std::tie(a.bus, a.number) < std::tie(b.bus, b.number);
    });
    std::vector<UsbDeviceEntry> fresh;
    for (const Row& r : rows)
        fresh.push_back({Name(r.bus), Name(r.number), r.vid, r.pid});
    int changes = 0;
    for (const UsbDeviceEntry& e : fresh) {
        bool known = std::any_of(list.begin(), list.end(), [&](const UsbDeviceEntry& k) {
            return k.busName == e.busName && k.deviceName == e.deviceName;
        });
        changes += known ? 0 : 1;
    }
    changes += static_cast<int>(list.size()) - (static_cast<int>(fresh.size()) - changes);
    list = std::move(fresh);
    return changes;
}

UsbHandle EmulatedUsbBus::Open(const std::string& busName, const std::string& deviceName) {
    auto inList = std::find_if(list.begin(), list.end(), [&](const UsbDeviceEntry& e) {
        return e.busName == busName && e.deviceName == deviceName;
    });
    if (inList == list.end())
        return nullptr;
    auto handle = std::make_unique<Handle>();
    handle->logger = nullptr;
    handle->number = std::stoi(deviceName);
    int bus = std::stoi(busName);
    handle->present = false;
    for (const auto& l : loggers) {
        if (l->BusNumber() == bus && l->DeviceNumber() == handle->number) {
            if (l->RefuseOpen())
                return nullptr;
            handle->logger = l.get();
            handle->present = l->Plugged();
        }
    }
    for (const Other& o : others) {
        if (o.bus == bus && o.number == handle->number)
            handle->present = true;
    }
    ++opens;
    handles.push_back(std::move(handle));
    return reinterpret_cast<UsbHandle>(handles.back().get());
}

int EmulatedUsbBus::Close(UsbHandle handle) {
    auto it = std::find_if(handles.begin(), handles.end(),
                           [&](const auto& h) { return reinterpret_cast<UsbHandle>(h.get()) == handle; });
    if (it == handles.end())
        return -EBADF;
    handles.erase(it);
    ++closes;
    return 0;
}

int EmulatedUsbBus::ControlMsg(UsbHandle handle, int requestType, int request, int value, int index,
                               std::uint8_t* bytes, int size, int timeoutMs) {
    auto it = std::find_if(handles.begin(), handles.end(),
                           [&](const auto& h) { return reinterpret_cast<UsbHandle>(h.get()) == handle; });
    if (it == handles.end())
        return -EBADF;
    Handle& h = **it;
    if (!h.present)
        return -EBADF;
    if (!h.logger)
        return -EPIPE;  // other devices know none of the logger's requests
    if (!h.logger->Plugged() || h.logger->DeviceNumber() != h.number)
        return -ENODEV;
    return h.logger->HandleControl(requestType, request, value, index, bytes, size, timeoutMs);
}

}  // namespace emu
