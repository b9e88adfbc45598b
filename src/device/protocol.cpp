#include "device/protocol.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace {

std::uint16_t Word(const std::uint8_t* data, std::size_t length, std::size_t offset) {
    std::uint16_t low = offset < length ? data[offset] : 0;
    std::uint16_t high = offset + 1 < length ? data[offset + 1] : 0;
    return static_cast<std::uint16_t>(low | (high << 8));
}

std::uint8_t Byte(const std::uint8_t* data, std::size_t length, std::size_t offset) {
    return offset < length ? data[offset] : 0;
}

}  // namespace

SettingsBlock DecodeSettingsBlock(const std::uint8_t* data, std::size_t length) {
    SettingsBlock b;
    if (!data)
        return b;
    b.sampleRateRegister = Word(data, length, 0);
    b.eventCount = Word(data, length, 2);
    b.stateFlags = Byte(data, length, 4);
    b.flowOnThreshold = Word(data, length, 5);
    b.flowOnDelay = Word(data, length, 7);
    b.flowOffThreshold = Word(data, length, 9);
    b.flowOffDelay = Word(data, length, 11);
    b.pressureScale = Byte(data, length, 13);
    b.pressureZero = Byte(data, length, 14);
    b.pressureScaleFine = Byte(data, length, 15);
    b.filterMedian = Byte(data, length, 16);
    b.flowClamp = Byte(data, length, 17);
    b.displayAlternation = Byte(data, length, 18);
    b.pressureUnit = Byte(data, length, 19);
    b.volumeRange = Byte(data, length, 20);
    b.isLong = length >= static_cast<std::size_t>(logger::LongBlockLength);
    if (b.isLong) {
        b.serialNumber = Word(data, length, 21);
        for (int i = 0; i < 3; ++i)
            b.manufactureDate[i] = data[23 + i];
        b.flowUnitMarker = data[33];
        b.flowUnitCode = data[34];
    }
    return b;
}

DeviceStatus DecodeStatus(const std::uint8_t* data, int received) {
    DeviceStatus s;
    s.received = received;
    s.freeBytes = data[0] | (data[1] << 8) | (static_cast<std::uint32_t>(data[2]) << 16);
    s.batteryReading = static_cast<std::uint16_t>(data[3] | (data[4] << 8));
    s.sampleRateRegister = static_cast<std::uint16_t>(data[5] | (data[6] << 8));
    return s;
}

RawSample DecodeRawSample(const std::uint8_t* data) {
    RawSample s;
    s.flow = static_cast<std::uint16_t>(data[0] | ((data[1] & 0x3F) << 8));
    s.pressure = static_cast<std::uint16_t>(data[2] | ((data[1] & 0xC0) << 2));
    return s;
}

std::vector<RawSample> DecodeLiveReply(const std::uint8_t* data, int bytesReceived) {
    std::vector<RawSample> samples;
    if (!data || bytesReceived < 1)
        return samples;
    // The count byte is trusted only as far as the bytes that arrived and the reply can hold.
    int arrived = std::min(bytesReceived, LiveReply::Length) - 1;
    int n = std::min({data[0] / 3, arrived / 3, LiveReply::MaxSamples});
    samples.reserve(n);
    for (int i = 0; i < n; ++i)
        samples.push_back(DecodeRawSample(data + 1 + 3 * i));
    return samples;
}

ClockRegisters DecodeClockRegisters(const std::uint8_t* data) {
    ClockRegisters c;
    c.seconds = data[0];
    c.minutes = data[1];
    c.hours = data[2];
    c.weekday = data[3];
    c.day = data[4];
    c.month = data[5];
    c.year = data[6];
    c.control = data[7];
    return c;
}

EventEntry DecodeEventEntry(const std::uint8_t* data) {
    EventEntry e;
    e.seconds = data[0];
    e.minutes = data[1];
    e.hours = data[2];
    e.day = data[3];
    e.month = data[4];
    e.year = data[5];
    e.endAddress = data[6] | (data[7] << 8) | (static_cast<std::uint32_t>(data[8]) << 16);
    return e;
}

int SettingsBlockLength(int firmwareWord) {
    return firmwareWord == logger::FirmwareLongBlock ? logger::LongBlockLength : logger::ShortBlockLength;
}

int FirmwareWord(const std::uint8_t* reply) {
    return reply ? reply[0] | (reply[1] << 8) : 0;
}

SettingsRecord ApplyFlowUnitOption(SettingsRecord settings, const SettingsBlock& block) {
    if (block.isLong && block.flowUnitMarker == 5) {
        settings.flowUnitFixed = true;
        switch (block.flowUnitCode) {
            case 1:
                settings.flowUnit = 0;
                break;
            case 2:
                settings.flowUnit = 1;
                break;
            case 4:
                settings.flowUnit = 2;
                break;
            case 8:
                settings.flowUnit = 3;
                break;
            default:
                break;
        }
    } else {
        settings.flowUnitFixed = false;
    }
    return settings;
}

void RefreshSettingsFromBlock(SettingsRecord& settings, const SettingsBlock& block, int firmwareWord) {
    settings.unitSystem = static_cast<std::uint8_t>(block.UnitSystem());
    settings.pressureUnit = block.pressureUnit;
    settings.firmwareVersion = firmwareWord;
    if (block.isLong)
        settings.serialNumber = block.serialNumber;
    settings = ApplyFlowUnitOption(settings, block);
}

std::uint8_t ToBcd(int n) {
    return static_cast<std::uint8_t>(n + 6 * (n / 10));
}

std::optional<int> BcdValue(std::uint8_t bcd) {
    const int high = bcd >> 4;
    const int low = bcd & 0x0F;
    if (high > 9 || low > 9)
        return std::nullopt;
    return high * 10 + low;
}

int IntervalMsFromRegister(std::uint16_t reg) {
    return 1 + (65535 - reg) * 8000 / 32768;
}

int IntervalTenthsFromRegister(std::uint16_t reg) {
    return 1 + (65535 - reg) * 80 / 32768;
}

std::uint16_t RegisterFromTenths(int tenths) {
    auto v = static_cast<std::int32_t>(std::trunc(-(tenths / 10.0) * 4096.0));
    return static_cast<std::uint16_t>(v & 0xFFFF);
}

std::int64_t RemainingSeconds(std::uint32_t freeBytes, std::uint16_t reg) {
    double t = (freeBytes / 3.0) * ((65535 - reg) * 8000.0 / 32768.0 + 1.0) / 1000.0;
    return static_cast<std::int64_t>(std::trunc(t));
}

wxString FormatEventDate(const EventEntry& e) {
    return wxString::Format(wxString::FromUTF8("%x/%x%x/20%x%x %x:%x%x:%x%x"), e.day, e.month >> 4,
                            e.month & 0xF, e.year >> 4, e.year & 0xF, e.hours, e.minutes >> 4,
                            e.minutes & 0xF, e.seconds >> 4, e.seconds & 0xF);
}
