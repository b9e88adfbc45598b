#include "device/vext_usb.h"
#include "data/translate.h"

#include "device/protocol.h"

#include <wx/log.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace {

constexpr int ConfigurationValue = 1;
constexpr int ConfigurationTimeoutMs = 100;

// Debian's libusb 0.1 hands out a handle even when the device node cannot be opened; the failure
// shows only at the first transfer. These results mean the logger is gone, not that it stalled.
bool DeviceGone(int result) {
    return result == -EBADF || result == -ENODEV || result == -ENOENT;
}

}  // namespace

VextUSB::VextUSB() = default;

VextUSB::~VextUSB() = default;

bool VextUSB::FindDevice() {
    handle = nullptr;
    UsbBus& bus = CurrentUsbBus();
    bus.Init();
    bus.FindBusses();
    bus.FindDevices();
    for (const UsbDeviceEntry& entry : bus.GetBusses()) {
        if (entry.vendorId != logger::VendorId || entry.productId != logger::ProductId)
            continue;
        device = DeviceId{entry.busName, entry.deviceName};
        handle = bus.Open(entry.busName, entry.deviceName);
        if (handle) {
            SetConfiguration();
            Close();
        }
        return true;
    }
    return false;
}

bool VextUSB::EnsureDevice() {
    return device.has_value() || FindDevice();
}

bool VextUSB::Open() {
    handle = device ? CurrentUsbBus().Open(device->bus, device->device) : nullptr;
    if (!handle)
        Forget();
    return handle != nullptr;
}

void VextUSB::Close() {
    if (handle)
        CurrentUsbBus().Close(handle);
    handle = nullptr;
}

void VextUSB::Forget() {
    device.reset();
}

int VextUSB::SetConfiguration() {
    if (!handle)
        return -EBADF;
    return CurrentUsbBus().ControlMsg(handle, logger::RequestTypeStandardOut, logger::RequestSetConfiguration,
                                      ConfigurationValue, 0, nullptr, 0, ConfigurationTimeoutMs);
}

int VextUSB::ControlIn(int request, int value, int index, int length, int timeoutMs) {
    lastInLength = 0;
    if (!handle)
        return -EBADF;
    if (length > BufferSize)
        length = BufferSize;
    int result = CurrentUsbBus().ControlMsg(handle, logger::RequestTypeVendorIn, request, value & 0xFFFF,
                                            index & 0xFFFF, buffer, length, timeoutMs);
    lastInLength = result > 0 ? std::min(result, length) : 0;
    // A reply shorter than asked is a reply all the same; what did not come reads as nothing, never
    // as the bytes an earlier reply left in the buffer.
    if (length > lastInLength)
        std::memset(buffer + lastInLength, 0, static_cast<std::size_t>(length - lastInLength));
    return result;
}

int VextUSB::ControlOut(int request, int value, int index, int length, int timeoutMs) {
    if (!handle)
        return -EBADF;
    if (length > BufferSize)
        length = BufferSize;
    return CurrentUsbBus().ControlMsg(handle, logger::RequestTypeVendorOut, request, value & 0xFFFF,
                                      index & 0xFFFF, buffer, length, timeoutMs);
}

int VextUSB::Request(bool in, int request, int value, int index, int length, int timeoutMs) {
    if (!EnsureDevice())
        return StatusNoDevice;
    if (!Open())
        return StatusOpenFailed;
    // A transfer fails only when the library says so; a short reply is done (its callers see how
    // much came through LastTransferLength).
    auto transfer = [&] {
        return in ? ControlIn(request, value, index, length, timeoutMs)
                  : ControlOut(request, value, index, length, timeoutMs);
    };
    // A logger that vanished under an open handle counts as a failed open: forget it, so the next
    // operation searches the bus again.
    auto gone = [&] {
        Forget();
        Close();
        return StatusOpenFailed;
    };
    int result = transfer();
    if (result < 0) {
        if (DeviceGone(result))
            return gone();
        int reconfigured = SetConfiguration();
        if (reconfigured < 0) {
            if (DeviceGone(reconfigured))
                return gone();
            Close();
            return StatusReconfigureFailed;
        }
        result = transfer();
        if (result < 0) {
            if (DeviceGone(result))
                return gone();
            Close();
            return StatusRetryFailed;
        }
    }
    Close();
    return StatusDone;
}

int VextUSB::ReadRequest(int request, int value, int index, int length, int timeoutMs) {
    return Request(true, request, value, index, length, timeoutMs);
}

int VextUSB::WriteRequest(int request, int value, int index, int length, int timeoutMs) {
    return Request(false, request, value, index, length, timeoutMs);
}

bool VextUSB::ReadMemory(std::uint32_t address, std::uint32_t length, std::uint8_t* destination) {
    // The logger's memory ends at 0x1FFFF; a read across the end would wrap into the 24-bit
    // address space and return whatever the logger makes of it.
    if (address > logger::MemorySize || length > logger::MemorySize - address)
        return false;
    if (!EnsureDevice())
        return false;
    if (!Open())
        return false;
    while (length > 0) {
        int chunk = static_cast<int>(length < MemoryChunk ? length : MemoryChunk);
        int index = (chunk << 8) | ((address >> 16) & 0xFF);
        int result = ControlIn(logger::ReqReadMemory, static_cast<int>(address & 0xFFFF), index, chunk, 1000);
        // Samples are never made up: a chunk that came short is asked for once more, and one still
        // short fails the read.
        if (result >= 0 && result < chunk)
            result = ControlIn(logger::ReqReadMemory, static_cast<int>(address & 0xFFFF), index, chunk, 1000);
        if (result < chunk) {
            if (DeviceGone(result))
                Forget();
            Close();
            return false;
        }
        std::memcpy(destination, buffer, chunk);
        destination += chunk;
        address += chunk;
        length -= chunk;
    }
    Close();
    return true;
}

const std::uint8_t* VextUSB::ReadLiveValues() {
    lastInLength = 0;
    if (!EnsureDevice())
        return nullptr;
    if (!Open())
        return nullptr;
    int result = ControlIn(logger::ReqLiveValues, 0, 0, LiveReply::Length, 100);
    if (DeviceGone(result))
        Forget();
    Close();
    return result < 0 ? nullptr : buffer;
}

bool VextUSB::SingleShotOut(int request, int value, int index, int length, int timeoutMs) {
    if (!EnsureDevice())
        return false;
    if (!Open())
        return false;
    int result = ControlOut(request, value, index, length, timeoutMs);
    if (DeviceGone(result))
        Forget();
    Close();
    return result >= 0;
}

const std::uint8_t* VextUSB::ReadWhole(int request, int length, int timeoutMs) {
    return ReadRequest(request, 0, 0, length, timeoutMs) == StatusDone && lastInLength >= length ? buffer
                                                                                                 : nullptr;
}

const std::uint8_t* VextUSB::ReadAsFarAsItCame(int request, int length, int timeoutMs) {
    return ReadRequest(request, 0, 0, length, timeoutMs) == StatusDone ? buffer : nullptr;
}

const std::uint8_t* VextUSB::ReadFirmwareVersion() {
    buffer[0] = 0;
    buffer[1] = 0;
    return ReadWhole(logger::ReqFirmwareVersion, 2, 500);
}

std::uint8_t VextUSB::ReadErrorCode() {
    const std::uint8_t* reply = ReadWhole(logger::ReqErrorCode, 1, 500);
    return reply ? reply[0] : 0;
}

const std::uint8_t* VextUSB::ReadClockConfig() {
    return ReadAsFarAsItCame(logger::ReqClockConfig, 2, 100);
}

const std::uint8_t* VextUSB::ReadClock() {
    return ReadAsFarAsItCame(logger::ReqReadClock, 8, 500);
}

const std::uint8_t* VextUSB::ReadStatus() {
    return ReadAsFarAsItCame(logger::ReqStatus, 7, 500);
}

const std::uint8_t* VextUSB::ReadPressureAdc() {
    return ReadWhole(logger::ReqPressureAdc, 2, 500);
}

bool VextUSB::SetAutoLogging(bool on) {
    return WriteRequest(logger::ReqAutoLogging, on ? 2 : 0, 0, 1, 500) == StatusDone;
}

bool VextUSB::SetRateAndPressureUnit(std::uint16_t reg, std::uint8_t unit) {
    if (WriteRequest(logger::ReqSampleRate, reg, 0, 1, 500) != StatusDone)
        return false;
    return WriteRequest(logger::ReqPressureUnit, unit, 0, 1, 500) == StatusDone;
}

bool VextUSB::SetLiveMode(bool on) {
    return WriteRequest(logger::ReqLiveMode, on ? 1 : 0, 0, 1, 500) == StatusDone;
}

bool VextUSB::ClearMemory() {
    return WriteRequest(logger::ReqClearMemory, 0, 0, 1, 500) == StatusDone;
}

bool VextUSB::SetClockTime(std::uint8_t sec, std::uint8_t min, std::uint8_t hours, std::uint8_t weekday) {
    return SingleShotOut(logger::ReqSetClockTime, (min << 8) | sec, (weekday << 8) | hours, 4, 500);
}

bool VextUSB::SetClockDate(std::uint8_t day, std::uint8_t month, std::uint8_t year) {
    // A stalled or timed-out date write is a failed write, as every other one.
    return SingleShotOut(logger::ReqSetClockDate, (month << 8) | day, year, 4, 500);
}

bool VextUSB::ConfigureClock(std::uint8_t low, std::uint8_t high) {
    return WriteRequest(logger::ReqConfigureClock, (high << 8) | low, 0, 2, 100) == StatusDone;
}

bool VextUSB::SetFlowOnThreshold(std::uint16_t flow, std::uint16_t delaySamples) {
    return WriteRequest(logger::ReqFlowOnThreshold, flow, delaySamples, 4, 500) == StatusDone;
}

bool VextUSB::SetFlowOffThreshold(std::uint16_t flow, std::uint16_t delaySamples) {
    return WriteRequest(logger::ReqFlowOffThreshold, flow, delaySamples, 4, 500) == StatusDone;
}

bool VextUSB::SetMedianAndClamp(std::uint8_t median, std::uint8_t clamp) {
    return WriteRequest(logger::ReqMedianAndClamp, (clamp << 8) | median, 0, 2, 500) == StatusDone;
}

bool VextUSB::WritePressureCalibration(std::uint8_t zero, std::uint8_t fine, std::uint8_t rough) {
    return WriteRequest(logger::ReqPressureCalibration, (fine << 8) | zero, rough, 3, 500) == StatusDone;
}

void ReportUsbFailure(VextUSB& usb) {
    std::uint8_t code = usb.ReadErrorCode();
    if (code != 0)
        wxLogError(Tr("Lesen fehlgeschlagen Fehlercode: %d"), static_cast<int>(code));
    else
        wxLogError(Tr("USB-Verbindung fehlgeschlagen"));
}
