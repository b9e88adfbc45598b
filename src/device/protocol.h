#pragma once

// The logger's data layouts and encodings: the settings block at the start of its memory, the
// status record, the live reply, the raw sample, the clock registers, the event directory and the
// sample-rate register. Pure functions, no device traffic.

#include "app/app_settings.h"

#include <wx/string.h>

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

namespace logger {

inline constexpr std::uint16_t VendorId = 0x04D8;
inline constexpr std::uint16_t ProductId = 0xFFFD;
inline constexpr int FirmwareLongBlock = 0x0403;  // firmware with the 41-byte settings block
inline constexpr int LongBlockLength = 41;
inline constexpr int ShortBlockLength = 21;
inline constexpr std::uint32_t MemorySize = 0x20000;  // addresses 0x00000 to 0x1FFFF
inline constexpr std::uint32_t MemoryTop = 0x1FFFF;
inline constexpr int EventEntryLength = 9;
inline constexpr int SampleLength = 3;

// Vendor requests of the logger.
enum Request : int {
    ReqErrorCode = 1,
    ReqClockConfig = 2,
    ReqAutoLogging = 3,
    ReqSampleRate = 4,
    ReqLiveMode = 5,
    ReqPressureUnit = 12,
    ReqClearMemory = 13,
    ReqLiveValues = 21,
    ReqReadMemory = 23,
    ReqReadClock = 26,
    ReqSetClockTime = 27,
    ReqSetClockDate = 28,
    ReqConfigureClock = 29,
    ReqFlowOnThreshold = 30,
    ReqFlowOffThreshold = 31,
    ReqMedianAndClamp = 33,
    ReqStatus = 34,
    ReqPressureCalibration = 35,
    ReqPressureAdc = 37,
    ReqFirmwareVersion = 41,
};

inline constexpr int RequestTypeVendorIn = 0xC0;
inline constexpr int RequestTypeVendorOut = 0x40;
inline constexpr int RequestTypeStandardOut = 0x00;
inline constexpr int RequestSetConfiguration = 9;

}  // namespace logger

// The logger's configuration at memory address 0 (41 bytes for firmware 0x0403, else 21).
struct SettingsBlock {
    bool isLong = false;
    std::uint16_t sampleRateRegister = 0;
    std::uint16_t eventCount = 0;
    std::uint8_t stateFlags = 0;  // bit 0 metric, bit 1 automatic logging
    std::uint16_t flowOnThreshold = 0;
    std::uint16_t flowOnDelay = 0;
    std::uint16_t flowOffThreshold = 0;
    std::uint16_t flowOffDelay = 0;
    std::uint8_t pressureScale = 0;
    std::uint8_t pressureZero = 0;
    std::uint8_t pressureScaleFine = 0;
    std::uint8_t filterMedian = 0;
    std::uint8_t flowClamp = 0;
    std::uint8_t displayAlternation = 0;
    std::uint8_t pressureUnit = 0;
    std::uint8_t volumeRange = 0;
    // Long block only; zero for a short one.
    std::uint16_t serialNumber = 0;
    std::uint8_t manufactureDate[3] = {0, 0, 0};
    std::uint8_t flowUnitMarker = 0;
    std::uint8_t flowUnitCode = 0;

    int UnitSystem() const { return stateFlags & 1; }
    bool AutoLogging() const { return (stateFlags & 2) != 0; }
};

// Status record of request 34. A reply that came short knows only the values whose bytes came.
struct DeviceStatus {
    static constexpr int Length = 7;
    std::uint32_t freeBytes = 0;  // 24 bits
    std::uint16_t batteryReading = 0;
    std::uint16_t sampleRateRegister = 0;
    int received = Length;  // bytes of the reply that came
    bool FreeBytesKnown() const { return received >= 3; }
    bool BatteryKnown() const { return received >= 5; }
    bool RateKnown() const { return received >= 7; }
};

// One sample: 14-bit flow in the logger's own flow unit, 10-bit pressure converter reading.
struct RawSample {
    std::uint16_t flow = 0;
    std::uint16_t pressure = 0;
    bool operator==(const RawSample&) const = default;
};

// The reply of the live read (request 21): a count byte, then the samples, oldest first.
struct LiveReply {
    static constexpr int Length = 223;
    static constexpr int MaxSamples = 74;
};

// The eight clock registers of request 26, all BCD.
struct ClockRegisters {
    std::uint8_t seconds = 0;
    std::uint8_t minutes = 0;
    std::uint8_t hours = 0;
    std::uint8_t weekday = 0;  // passed back unchanged when the time is written
    std::uint8_t day = 0;
    std::uint8_t month = 0;
    std::uint8_t year = 0;  // 20yy
    std::uint8_t control = 0;
};

// One entry of the event directory: start time (BCD) and the end address of its samples.
struct EventEntry {
    std::uint8_t seconds = 0;
    std::uint8_t minutes = 0;
    std::uint8_t hours = 0;
    std::uint8_t day = 0;
    std::uint8_t month = 0;
    std::uint8_t year = 0;
    std::uint32_t endAddress = 0;  // exclusive, 24 bits
};

// Fields beyond `length` read as absent (zero); a block of 41 bytes or more is the long block.
SettingsBlock DecodeSettingsBlock(const std::uint8_t* data, std::size_t length);

DeviceStatus DecodeStatus(const std::uint8_t* data, int received = DeviceStatus::Length);
RawSample DecodeRawSample(const std::uint8_t* data);
// The samples of a live reply of which `bytesReceived` bytes arrived: the count byte divided by
// three, at most 74, and never more than the bytes that actually arrived.
std::vector<RawSample> DecodeLiveReply(const std::uint8_t* data, int bytesReceived);
ClockRegisters DecodeClockRegisters(const std::uint8_t* data);
EventEntry DecodeEventEntry(const std::uint8_t* data);

// 41 for firmware 0x0403, 21 for every other word.
int SettingsBlockLength(int firmwareWord);
// The firmware word of request 41, low byte first; 0 without a reply.
int FirmwareWord(const std::uint8_t* reply);

// Takes the prescribed flow unit of a long block (marker 5) into the settings record.
SettingsRecord ApplyFlowUnitOption(SettingsRecord settings, const SettingsBlock& block);
// What the program learns whenever it reads the block: units, firmware, serial, flow unit.
void RefreshSettingsFromBlock(SettingsRecord& settings, const SettingsBlock& block, int firmwareWord);

std::uint8_t ToBcd(int n);  // 0 to 99
// The two BCD digits of a register as a number (0x23 reads 23); none when a nibble is not a
// decimal digit.
std::optional<int> BcdValue(std::uint8_t bcd);

// Sample-rate register R: interval in milliseconds (recording) and in tenths of a second (dialogs).
int IntervalMsFromRegister(std::uint16_t reg);
int IntervalTenthsFromRegister(std::uint16_t reg);
std::uint16_t RegisterFromTenths(int tenths);
// Remaining recording time in whole seconds for the free memory at register R.
std::int64_t RemainingSeconds(std::uint32_t freeBytes, std::uint16_t reg);

// The event's start time as the download titles it, e.g. "5/03/2023 9:07:02".
wxString FormatEventDate(const EventEntry& entry);
