#pragma once

#include "device/usb_bus.h"

#include <cstdint>
#include <optional>
#include <string>

// The program's only path to the logger: vendor control transfers on the default control
// endpoint. No connection is held open: every operation finds the logger if none is remembered,
// opens it, transfers and closes it again before returning, so a re-plugged cable needs no
// reconnect logic.
//
// The logger is remembered by its bus and device names, never by a record of the library's bus
// list: another link's search frees the records of devices that went away.
class VextUSB {
public:
    enum Status : int {
        StatusOpenFailed = 0,         // opening the remembered logger failed; it is forgotten
        StatusNoDevice = 3,           // nothing remembered and no logger on the bus
        StatusDone = 4,               // the request completed
        StatusReconfigureFailed = 5,  // the transfer failed and so did re-selecting configuration 1
        StatusRetryFailed = 6,        // the transfer failed again after configuration 1
    };

    static constexpr int BufferSize = 223;
    static constexpr int MemoryChunk = 128;

    // Uses the process-wide bus (CurrentUsbBus) at each operation; touches nothing until then.
    VextUSB();
    virtual ~VextUSB();
    VextUSB(const VextUSB&) = delete;
    VextUSB& operator=(const VextUSB&) = delete;

    // --- transport
    bool FindDevice();
    int SetConfiguration();
    int ControlIn(int request, int value, int index, int length, int timeoutMs);
    int ControlOut(int request, int value, int index, int length, int timeoutMs);
    int ReadRequest(int request, int value, int index, int length, int timeoutMs);
    int WriteRequest(int request, int value, int index, int length, int timeoutMs);
    // Reads logger memory in chunks of at most 128 bytes. Never outside 0x00000 to 0x1FFFF.
    bool ReadMemory(std::uint32_t address, std::uint32_t length, std::uint8_t* destination);

    // --- the logger's commands; read results point into the transfer buffer, valid until the
    // next operation on this object. The logger may answer a read short: a reply of one value
    // (firmware word, error code, converter reading) is then not known (none, 0); a reply of
    // several values is given as far as it came, LastTransferLength() bytes, the rest reading 0,
    // and a value in bytes that did not come is not known.
    const std::uint8_t* ReadFirmwareVersion();  // 2 bytes, zeroed before the request
    std::uint8_t ReadErrorCode();               // 0 on failure
    const std::uint8_t* ReadClockConfig();      // as far as it came
    const std::uint8_t* ReadClock();            // as far as it came
    const std::uint8_t* ReadStatus();           // as far as it came
    const std::uint8_t* ReadPressureAdc();
    const std::uint8_t* ReadLiveValues();                    // no retry; as far as it came
    int LastTransferLength() const { return lastInLength; }  // bytes of the last IN transfer
    bool SetAutoLogging(bool on);
    bool SetRateAndPressureUnit(std::uint16_t reg, std::uint8_t unit);
    bool SetLiveMode(bool on);
    bool ClearMemory();
    bool SetClockTime(std::uint8_t sec, std::uint8_t min, std::uint8_t hours, std::uint8_t weekday);
    bool SetClockDate(std::uint8_t day, std::uint8_t month, std::uint8_t year);
    bool ConfigureClock(std::uint8_t low, std::uint8_t high);
    bool SetFlowOnThreshold(std::uint16_t flow, std::uint16_t delaySamples);
    bool SetFlowOffThreshold(std::uint16_t flow, std::uint16_t delaySamples);
    bool SetMedianAndClamp(std::uint8_t median, std::uint8_t clamp);
    bool WritePressureCalibration(std::uint8_t zero, std::uint8_t fine, std::uint8_t rough);

private:
    struct DeviceId {
        std::string bus;
        std::string device;
    };

    bool EnsureDevice();
    bool Open();
    void Close();
    void Forget();
    int Request(bool in, int request, int value, int index, int length, int timeoutMs);
    bool SingleShotOut(int request, int value, int index, int length, int timeoutMs);
    const std::uint8_t* ReadWhole(int request, int length, int timeoutMs);
    const std::uint8_t* ReadAsFarAsItCame(int request, int length, int timeoutMs);

    UsbHandle handle = nullptr;
    std::optional<DeviceId> device;
    std::uint8_t buffer[BufferSize] = {};
    int lastInLength = 0;
};

// After a failed device read: asks the logger why and reports it as an error log message.
void ReportUsbFailure(VextUSB& usb);
