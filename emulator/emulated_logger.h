#pragma once

// The emulated logger: a plain model of the instrument that answers the vendor requests of the
// USB link with the logger's reply layouts. 128 KiB of memory laid out as the logger keeps it
// (settings block at 0, samples upward, event directory downward from 0x1FFFF), a firmware word,
// BCD clock registers running from a LoggerClock, a status record, live mode, automatic logging on
// flow thresholds, the error-code register, a fault plan and a per-transfer latency.

#include "device/protocol.h"
#include "emulator/logger_clock.h"

#include <array>
#include <chrono>
#include <cstdint>
#include <deque>
#include <functional>
#include <optional>
#include <vector>

namespace emu {

// A calendar time of the logger's clock (full year, 24-hour).
struct CivilTime {
    int year = 2023;
    int month = 1;
    int day = 1;
    int hour = 0;
    int minute = 0;
    int second = 0;
    bool operator==(const CivilTime&) const = default;
};

// One control transfer as the logger saw it.
struct TransferRecord {
    int requestType = 0;
    int request = 0;
    int value = 0;
    int index = 0;
    int length = 0;                  // wLength asked for
    int timeoutMs = 0;               // the host's time-out for this transfer
    int result = 0;                  // bytes moved, or the negative errno the host got
    std::vector<std::uint8_t> data;  // the reply (IN) or the data stage (OUT)
};

inline constexpr int AnyRequest = -1;
inline constexpr int SetConfigurationRequest = -2;  // the standard SET_CONFIGURATION request
// Counts every control transfer, whatever it is, and hits the one at the position reached; a kind
// that cannot apply there (a short reply to an OUT transfer, a count byte outside a live reply)
// is spent without effect.
inline constexpr int AnyTransfer = -3;

enum class Fault {
    Stall,              // the transfer fails with -EPIPE
    Timeout,            // the transfer fails with -ETIMEDOUT
    Unplug,             // the cable is pulled at this transfer: -ENODEV, the logger leaves the bus
    Replug,             // pulled at this transfer and plugged straight back under a new device number
    ShortReply,         // an IN reply is cut to `bytes` bytes; `bytes` < 0: that many bytes short
    LiveCountTooLarge,  // a live reply's count byte says `bytes` while the data stays as it is
    ReconfigureFails,   // SET_CONFIGURATION fails with -EPIPE
    OpenFails,          // usb_open gives no handle (counts opens, not transfers)
};

// A fault that hits `count` transfers matching `request`, after letting `skip` of them pass.
struct PlannedFault {
    Fault kind = Fault::Stall;
    int request = AnyRequest;
    int skip = 0;
    int count = 1;
    int bytes = 0;
};

using SignalSource = std::function<RawSample(double seconds)>;

class EmulatedLogger {
public:
    explicit EmulatedLogger(LoggerClock& clock, int firmwareWord = logger::FirmwareLongBlock);

    // --- firmware and settings block
    int FirmwareWord() const { return firmwareWord; }
    // Changes the block length (41 for 0x0403, else 21) and so erases the recorded events.
    void SetFirmwareWord(int word);
    int BlockLength() const { return SettingsBlockLength(firmwareWord); }
    SettingsBlock Settings() const;
    // Writes every field of the block except eventCount, which the recorded events own.
    void SetSettings(const SettingsBlock& block);

    // --- memory and events
    const std::array<std::uint8_t, logger::MemorySize>& Memory() const { return memory; }
    void Poke(std::uint32_t address, const std::vector<std::uint8_t>& bytes);
    // Records a finished event as the newest one. False (and nothing recorded) without room.
    bool AddEvent(const CivilTime& start, const std::vector<RawSample>& samples);
    void ClearEvents();  // what request 13 does
    int EventCount() const { return Settings().eventCount; }
    std::vector<EventEntry> Directory() const;  // newest first, as stored
    std::vector<RawSample> EventSamples(int directoryIndex) const;
    std::uint32_t WriteAddress() const { return writeAddress; }
    std::uint32_t FreeBytes() const;
    // Corrupt directories for the download's failure paths.
    void CorruptEventCount(std::uint16_t count);
    void CorruptEndAddress(int directoryIndex, std::uint32_t endAddress);

    // --- clock
    void SetClock(const CivilTime& time, std::uint8_t weekdayRegister = 0x01);
    CivilTime ClockNow() const;
    ClockRegisters ClockRegistersNow() const;
    std::uint8_t ClockConfigLow() const { return clockConfig[0]; }
    std::uint8_t ClockConfigHigh() const { return clockConfig[1]; }

    // --- status, measurement, live mode
    void SetBatteryReading(std::uint16_t reading) { batteryReading = reading; }
    std::uint16_t BatteryReading() const { return batteryReading; }
    void SetSignal(SignalSource source) { signal = std::move(source); }
    // A fixed converter reading for request 37; without one it is the signal's pressure now.
    void SetPressureAdc(std::optional<std::uint16_t> reading) { pressureAdc = reading; }
    bool LiveMode() const { return liveMode; }
    void QueueLiveSamples(const std::vector<RawSample>& samples);
    std::size_t LiveQueueSize() const { return liveQueue.size(); }
    bool Recording() const { return recording; }  // automatic logging has an event open

    // --- error code register (request 1); requests the logger refuses set it too
    void SetErrorCode(std::uint8_t code) { errorCode = code; }
    std::uint8_t ErrorCode() const { return errorCode; }
    static constexpr std::uint8_t ErrorUnknownRequest = 1;
    static constexpr std::uint8_t ErrorBadAddress = 2;

    // --- fault plan
    void Plan(const PlannedFault& fault) { faults.push_back(fault); }
    void StallNext(int n = 1, int request = AnyRequest) { Plan({Fault::Stall, request, 0, n, 0}); }
    void TimeOutNext(int n = 1, int request = AnyRequest) { Plan({Fault::Timeout, request, 0, n, 0}); }
    void FailReconfiguration(int n = 1) { Plan({Fault::ReconfigureFails, SetConfigurationRequest, 0, n, 0}); }
    void ShortReplyNext(int bytes, int n = 1, int request = AnyRequest) {
        Plan({Fault::ShortReply, request, 0, n, bytes});
    }
    void OverstateLiveCount(int countByte, int n = 1) {
        Plan({Fault::LiveCountTooLarge, logger::ReqLiveValues, 0, n, countByte});
    }
    void UnplugAt(int request = AnyRequest, int skip = 0) { Plan({Fault::Unplug, request, skip, 1, 0}); }
    // The fault hits the control transfer at `position` (1 = the next one), whatever it is.
    void FaultAtTransfer(Fault kind, int position, int bytes = 0) {
        Plan({kind, AnyTransfer, position - 1, 1, bytes});
    }
    void FailNextOpen(int n = 1) { Plan({Fault::OpenFails, AnyRequest, 0, n, 0}); }
    bool FaultsPending() const { return !faults.empty(); }
    void ClearFaults() { faults.clear(); }

    // Time the logger takes per control transfer (0 by default; a real one takes about 0.25 ms).
    void SetTransferLatency(std::chrono::nanoseconds latency) { transferLatency = latency; }

    // Everything the host sent, in order.
    const std::vector<TransferRecord>& Transfers() const { return transfers; }
    void ClearTransfers() { transfers.clear(); }
    // Transfers of one request only.
    std::vector<TransferRecord> TransfersOf(int request) const;
    void KeepTransferLog(bool keep) { keepLog = keep; }

    // --- plugging; the bus assigns a new device number at each replug
    bool Plugged() const { return plugged; }
    int DeviceNumber() const { return deviceNumber; }
    int BusNumber() const { return busNumber; }
    void Unplug() { plugged = false; }
    void Replug();

    // --- the USB side
    // One control transfer. `bytes` receives the reply of an IN request (at most `size`) or holds
    // the data stage of an OUT request. Returns the bytes moved or a negative errno.
    int HandleControl(int requestType, int request, int value, int index, std::uint8_t* bytes, int size,
                      int timeoutMs);
    // Whether an open is refused by the fault plan (consumes the fault).
    bool RefuseOpen();
    // Brings live mode and automatic logging up to the clock's present.
    void Update();

private:
    friend class EmulatedUsbBus;

    void WriteBlock(const SettingsBlock& block);
    std::uint32_t DirectoryLow(int count) const;
    void ProduceSample(double time);
    void AutoLogStep(const RawSample& sample, double time);
    bool AppendSample(const RawSample& sample);
    void OpenEvent(const CivilTime& start);
    void RephaseTicks();
    CivilTime ClockAt(double seconds) const;
    void SetClockAt(const CivilTime& time, double seconds);
    std::optional<Fault> TakeFault(int requestType, int request, bool in, int& bytes);
    std::vector<std::uint8_t> Reply(int request, int value, int index, bool& refused);
    bool Apply(int request, int value, int index);
    void SpendLatency() const;

    LoggerClock& clock;
    int firmwareWord;
    std::array<std::uint8_t, logger::MemorySize> memory{};
    std::uint32_t writeAddress = 0;

    // clock registers: a calendar time at a clock reading
    std::int64_t clockBase = 0;  // seconds since 1970 of the civil time, as if UTC
    double clockBaseAt = 0.0;
    std::uint8_t weekdayRegister = 0x01;
    std::uint8_t clockConfig[2] = {0, 0};

    std::uint16_t batteryReading = 200;
    std::optional<std::uint16_t> pressureAdc;
    std::uint8_t errorCode = 0;
    SignalSource signal;

    bool liveMode = false;
    std::deque<RawSample> liveQueue;
    double tickOrigin = 0.0;
    std::int64_t ticksDone = 0;

    bool recording = false;
    std::vector<std::pair<RawSample, double>> pendingRun;
    int belowCount = 0;

    std::vector<PlannedFault> faults;
    std::chrono::nanoseconds transferLatency{0};
    std::vector<TransferRecord> transfers;
    bool keepLog = true;

    bool plugged = true;
    int deviceNumber = 2;
    int busNumber = 1;
    std::function<int()> nextDeviceNumber;
};

}  // namespace emu
