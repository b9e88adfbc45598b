#include "emulator/emulated_logger.h"

#include "emulator/memory_layout.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstring>
#include <thread>

namespace emu {

namespace {

constexpr std::size_t LiveQueueCapacity = 4096;
// After a long pause the logger does not replay more samples than this at once.
constexpr std::int64_t MaxCatchUpTicks = 200000;

// Days since 1970-01-01 of a date of the proleptic Gregorian calendar, and back.
std::int64_t DaysFromCivil(std::int64_t y, int m, int d) {
    y -= m <= 2;
    std::int64_t era = (y >= 0 ? y : y - 399) / 400;
    std::int64_t yoe = y - era * 400;
    std::int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    std::int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

void CivilFromDays(std::int64_t z, int& y, int& m, int& d) {
    z += 719468;
    std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    std::int64_t doe = z - era * 146097;
    std::int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    std::int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    std::int64_t mp = (5 * doy + 2) / 153;
    d = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    m = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    y = static_cast<int>(yoe + era * 400 + (m <= 2));
}

int DaysInMonth(int y, int m) {
    static const int days[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    bool leap = (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
    return m == 2 && leap ? 29 : days[m - 1];
}

std::int64_t ToEpochSeconds(const CivilTime& t) {
    return DaysFromCivil(t.year, t.month, t.day) * 86400 + t.hour * 3600LL + t.minute * 60LL + t.second;
}

CivilTime FromEpochSeconds(std::int64_t s) {
    std::int64_t days = s >= 0 ? s / 86400 : -((-s + 86399) / 86400);
    std::int64_t rest = s - days * 86400;
    CivilTime t;
    CivilFromDays(days, t.year, t.month, t.day);
    t.hour = static_cast<int>(rest / 3600);
    t.minute = static_cast<int>(rest / 60 % 60);
    t.second = static_cast<int>(rest % 60);
    return t;
}

// Register values beyond their range are taken to the nearest valid one.
CivilTime Clamped(CivilTime t) {
    t.year = std::clamp(t.year, 2000, 2099);
    t.month = std::clamp(t.month, 1, 12);
    t.day = std::clamp(t.day, 1, DaysInMonth(t.year, t.month));
    t.hour = std::clamp(t.hour, 0, 23);
    t.minute = std::clamp(t.minute, 0, 59);
    t.second = std::clamp(t.second, 0, 59);
    return t;
}

bool Matches(const PlannedFault& f, int requestType, int request) {
    bool isConfig =
        requestType == logger::RequestTypeStandardOut && request == logger::RequestSetConfiguration;
    if (f.kind == Fault::ReconfigureFails)
        return isConfig;
    if (f.request == AnyRequest || f.request == AnyTransfer)
        return true;
    if (f.request == SetConfigurationRequest)
        return isConfig;
    return !isConfig && f.request == request;
}

}  // namespace

EmulatedLogger::EmulatedLogger(LoggerClock& clock, int firmwareWord)
    : clock(clock), firmwareWord(firmwareWord) {
    memory.fill(0xFF);
    SettingsBlock b;
    b.sampleRateRegister = RegisterFromTenths(10);
    b.stateFlags = 1;
    b.flowOnThreshold = 50;
    b.flowOnDelay = 2;
    b.flowOffThreshold = 30;
    b.flowOffDelay = 10;
    b.pressureScale = 2;
    b.pressureZero = 104;
    b.pressureScaleFine = 26;
    b.filterMedian = 3;
    b.flowClamp = 30;
    b.pressureUnit = 98;
    b.serialNumber = 1001;
    b.manufactureDate[0] = 0x15;
    b.manufactureDate[1] = 0x06;
    b.manufactureDate[2] = 0x22;
    WriteBlock(b);
    writeAddress = BlockLength();
    SetClock(CivilTime{});
    RephaseTicks();
}

// --- settings block

SettingsBlock EmulatedLogger::Settings() const {
    return DecodeSettingsBlock(memory.data(), BlockLength());
}

void EmulatedLogger::WriteBlock(const SettingsBlock& block) {
    std::vector<std::uint8_t> bytes = layout::SettingsBlockBytes(block, BlockLength());
    std::copy(bytes.begin(), bytes.end(), memory.begin());
}

void EmulatedLogger::SetSettings(const SettingsBlock& block) {
    SettingsBlock b = block;
    b.eventCount = Settings().eventCount;
    bool rateChanged = b.sampleRateRegister != Settings().sampleRateRegister;
    WriteBlock(b);
    if (rateChanged)
        RephaseTicks();
    if (!b.AutoLogging())
        recording = false;
}

void EmulatedLogger::SetFirmwareWord(int word) {
    SettingsBlock b = Settings();
    firmwareWord = word;
    memory.fill(0xFF);
    WriteBlock(b);
    ClearEvents();
}

// --- memory and events

void EmulatedLogger::Poke(std::uint32_t address, const std::vector<std::uint8_t>& bytes) {
    for (std::size_t i = 0; i < bytes.size() && address + i < memory.size(); ++i)
        memory[address + i] = bytes[i];
}

std::uint32_t EmulatedLogger::DirectoryLow(int count) const {
    return logger::MemoryTop - static_cast<std::uint32_t>(logger::EventEntryLength * count);
}

std::uint32_t EmulatedLogger::FreeBytes() const {
    std::int64_t low = static_cast<std::int64_t>(logger::MemoryTop) - logger::EventEntryLength * EventCount();
    return low > writeAddress ? static_cast<std::uint32_t>(low - writeAddress) : 0;
}

void EmulatedLogger::OpenEvent(const CivilTime& start) {
    SettingsBlock b = Settings();
    b.eventCount++;
    WriteBlock(b);
    EventEntry e;
    e.seconds = ToBcd(start.second);
    e.minutes = ToBcd(start.minute);
    e.hours = ToBcd(start.hour);
    e.day = ToBcd(start.day);
    e.month = ToBcd(start.month);
    e.year = ToBcd(start.year - 2000);
    e.endAddress = writeAddress;
    const auto entry = layout::EventEntryBytes(e);
    std::copy(entry.begin(), entry.end(), memory.begin() + DirectoryLow(b.eventCount));
}

bool EmulatedLogger::AppendSample(const RawSample& sample) {
    int count = EventCount();
    if (count == 0 || writeAddress + logger::SampleLength > DirectoryLow(count))
        return false;
    const auto bytes = layout::SampleBytes(sample);
    std::copy(bytes.begin(), bytes.end(), memory.begin() + writeAddress);
    writeAddress += logger::SampleLength;
    std::uint8_t* entry = &memory[DirectoryLow(count)];
    entry[6] = static_cast<std::uint8_t>(writeAddress & 0xFF);
    entry[7] = static_cast<std::uint8_t>((writeAddress >> 8) & 0xFF);
    entry[8] = static_cast<std::uint8_t>((writeAddress >> 16) & 0xFF);
    return true;
}

bool EmulatedLogger::AddEvent(const CivilTime& start, const std::vector<RawSample>& samples) {
    int count = EventCount();
    std::uint64_t need = static_cast<std::uint64_t>(samples.size()) * logger::SampleLength;
    if (writeAddress + need > DirectoryLow(count + 1))
        return false;
    recording = false;
    OpenEvent(Clamped(start));
    for (const RawSample& s : samples)
        AppendSample(s);
    return true;
}

void EmulatedLogger::ClearEvents() {
    SettingsBlock b = Settings();
    std::fill(memory.begin() + BlockLength(), memory.end(), 0xFF);
    b.eventCount = 0;
    WriteBlock(b);
    writeAddress = BlockLength();
    recording = false;
    pendingRun.clear();
}

std::vector<EventEntry> EmulatedLogger::Directory() const {
    std::vector<EventEntry> list;
    int count = EventCount();
    for (int i = 0; i < count; ++i) {
        std::uint32_t address = DirectoryLow(count) + logger::EventEntryLength * i;
        if (address + logger::EventEntryLength > memory.size())
            break;
        list.push_back(DecodeEventEntry(&memory[address]));
    }
    return list;
}

std::vector<RawSample> EmulatedLogger::EventSamples(int directoryIndex) const {
    std::vector<EventEntry> dir = Directory();
    std::vector<RawSample> samples;
    if (directoryIndex < 0 || directoryIndex >= static_cast<int>(dir.size()))
        return samples;
    std::uint32_t start = directoryIndex + 1 < static_cast<int>(dir.size())
                              ? dir[directoryIndex + 1].endAddress
                              : static_cast<std::uint32_t>(BlockLength());
    std::uint32_t end = std::min<std::uint32_t>(dir[directoryIndex].endAddress, logger::MemorySize);
    for (std::uint32_t a = start; a + logger::SampleLength <= end; a += logger::SampleLength)
        samples.push_back(DecodeRawSample(&memory[a]));
    return samples;
}

void EmulatedLogger::CorruptEventCount(std::uint16_t count) {
    SettingsBlock b = Settings();
    b.eventCount = count;
    WriteBlock(b);
}

void EmulatedLogger::CorruptEndAddress(int directoryIndex, std::uint32_t endAddress) {
    std::uint32_t address = DirectoryLow(EventCount()) + logger::EventEntryLength * directoryIndex;
    if (address + logger::EventEntryLength > memory.size())
        return;
    memory[address + 6] = static_cast<std::uint8_t>(endAddress & 0xFF);
    memory[address + 7] = static_cast<std::uint8_t>((endAddress >> 8) & 0xFF);
    memory[address + 8] = static_cast<std::uint8_t>((endAddress >> 16) & 0xFF);
}

// --- clock

void EmulatedLogger::SetClockAt(const CivilTime& time, double seconds) {
    clockBase = ToEpochSeconds(Clamped(time));
    clockBaseAt = seconds;
}

void EmulatedLogger::SetClock(const CivilTime& time, std::uint8_t weekday) {
    SetClockAt(time, clock.Seconds());
    weekdayRegister = weekday;
}

CivilTime EmulatedLogger::ClockAt(double seconds) const {
    return FromEpochSeconds(clockBase + static_cast<std::int64_t>(std::floor(seconds - clockBaseAt)));
}

CivilTime EmulatedLogger::ClockNow() const {
    return ClockAt(clock.Seconds());
}

ClockRegisters EmulatedLogger::ClockRegistersNow() const {
    CivilTime t = ClockNow();
    ClockRegisters r;
    r.seconds = ToBcd(t.second);
    r.minutes = ToBcd(t.minute);
    r.hours = ToBcd(t.hour);
    r.weekday = weekdayRegister;
    r.day = ToBcd(t.day);
    r.month = ToBcd(t.month);
    r.year = ToBcd(t.year - 2000);
    r.control = 0;
    return r;
}

// --- live mode and automatic logging

void EmulatedLogger::QueueLiveSamples(const std::vector<RawSample>& samples) {
    for (const RawSample& s : samples) {
        if (liveQueue.size() >= LiveQueueCapacity)
            liveQueue.pop_front();
        liveQueue.push_back(s);
    }
}

void EmulatedLogger::RephaseTicks() {
    tickOrigin = clock.Seconds();
    ticksDone = 0;
}

void EmulatedLogger::Update() {
    double interval = IntervalMsFromRegister(Settings().sampleRateRegister) / 1000.0;
    double now = clock.Seconds();
    std::int64_t due = static_cast<std::int64_t>(std::floor((now - tickOrigin) / interval + 1e-9));
    if (!liveMode && !Settings().AutoLogging()) {
        ticksDone = std::max(ticksDone, due);
        return;
    }
    if (due - ticksDone > MaxCatchUpTicks)
        ticksDone = due - MaxCatchUpTicks;
    while (ticksDone < due) {
        ++ticksDone;
        ProduceSample(tickOrigin + ticksDone * interval);
    }
}

void EmulatedLogger::ProduceSample(double time) {
    RawSample s = signal ? signal(time) : RawSample{0, 300};
    s.flow &= 0x3FFF;
    s.pressure &= 0x3FF;
    if (liveMode)
        QueueLiveSamples({s});
    if (Settings().AutoLogging())
        AutoLogStep(s, time);
}

void EmulatedLogger::AutoLogStep(const RawSample& s, double time) {
    SettingsBlock b = Settings();
    if (!recording) {
        if (s.flow <= b.flowOnThreshold) {
            pendingRun.clear();
            return;
        }
        pendingRun.emplace_back(s, time);
        if (static_cast<int>(pendingRun.size()) < std::max<int>(b.flowOnDelay, 1))
            return;
        // The event starts with the first sample of the run above the threshold.
        std::uint32_t need = static_cast<std::uint32_t>(pendingRun.size()) * logger::SampleLength;
        if (writeAddress + need > DirectoryLow(b.eventCount + 1)) {
            pendingRun.clear();
            return;  // memory full: nothing more is recorded
        }
        OpenEvent(ClockAt(pendingRun.front().second));
        for (const auto& p : pendingRun)
            AppendSample(p.first);
        pendingRun.clear();
        recording = true;
        belowCount = 0;
        return;
    }
    if (!AppendSample(s)) {
        recording = false;
        return;
    }
    if (s.flow < b.flowOffThreshold) {
        if (++belowCount >= std::max<int>(b.flowOffDelay, 1))
            recording = false;
    } else {
        belowCount = 0;
    }
}

// --- plugging

void EmulatedLogger::Replug() {
    plugged = true;
    deviceNumber = nextDeviceNumber ? nextDeviceNumber() : deviceNumber + 1;
}

// --- the USB side

std::vector<TransferRecord> EmulatedLogger::TransfersOf(int request) const {
    std::vector<TransferRecord> list;
    for (const TransferRecord& t : transfers) {
        if (t.request == request && t.requestType != logger::RequestTypeStandardOut)
            list.push_back(t);
    }
    return list;
}

bool EmulatedLogger::RefuseOpen() {
    for (auto it = faults.begin(); it != faults.end(); ++it) {
        if (it->kind != Fault::OpenFails)
            continue;
        if (it->skip > 0) {
            --it->skip;
            return false;
        }
        if (--it->count <= 0)
            faults.erase(it);
        return true;
    }
    return false;
}

std::optional<Fault> EmulatedLogger::TakeFault(int requestType, int request, bool in, int& bytes) {
    std::optional<Fault> hit;
    for (auto it = faults.begin(); it != faults.end();) {
        PlannedFault& f = *it;
        bool fits = !((f.kind == Fault::ShortReply || f.kind == Fault::LiveCountTooLarge) && !in) &&
                    !(f.kind == Fault::LiveCountTooLarge && request != logger::ReqLiveValues);
        bool positional = f.request == AnyTransfer;
        bool applicable =
            f.kind != Fault::OpenFails && Matches(f, requestType, request) && (fits || positional);
        if (!applicable) {
            ++it;
            continue;
        }
        if (f.skip > 0) {
            --f.skip;
            ++it;
            continue;
        }
        if (hit) {
            ++it;
            continue;
        }
        // A positional fault is spent at its transfer even where its kind has nothing to change.
        if (fits) {
            hit = f.kind;
            bytes = f.bytes;
        }
        if (--f.count <= 0)
            it = faults.erase(it);
        else
            ++it;
    }
    return hit;
}

void EmulatedLogger::SpendLatency() const {
    if (transferLatency.count() <= 0)
        return;
    // Sleeping alone overshoots by tens of microseconds; sleep most of it and wait out the rest.
    auto until = std::chrono::steady_clock::now() + transferLatency;
    if (transferLatency > std::chrono::microseconds(300))
        std::this_thread::sleep_for(transferLatency - std::chrono::microseconds(200));
    while (std::chrono::steady_clock::now() < until) {
    }
}

int EmulatedLogger::HandleControl(int requestType, int request, int value, int index, std::uint8_t* bytes,
                                  int size, int timeoutMs) {
    SpendLatency();
    Update();
    bool in = (requestType & 0x80) != 0;
    TransferRecord rec{requestType, request, value, index, size, timeoutMs, 0, {}};
    int faultBytes = 0;
    std::optional<Fault> fault = TakeFault(requestType, request, in, faultBytes);
    auto finish = [&](int result) {
        rec.result = result;
        if (keepLog)
            transfers.push_back(std::move(rec));
        return result;
    };
    if (!in && bytes && size > 0)
        rec.data.assign(bytes, bytes + size);
    if (fault == Fault::Stall || fault == Fault::ReconfigureFails)
        return finish(-EPIPE);
    if (fault == Fault::Timeout)
        return finish(-ETIMEDOUT);
    if (fault == Fault::Unplug) {
        plugged = false;
        return finish(-ENODEV);
    }
    if (fault == Fault::Replug) {
        Replug();
        return finish(-ENODEV);
    }

    if (requestType == logger::RequestTypeStandardOut && request == logger::RequestSetConfiguration)
        return finish(value == 1 ? 0 : -EINVAL);

    if (requestType == logger::RequestTypeVendorIn) {
        bool refused = false;
        std::vector<std::uint8_t> reply = Reply(request, value, index, refused);
        if (refused)
            return finish(-EPIPE);
        if (fault == Fault::LiveCountTooLarge && !reply.empty())
            reply[0] = static_cast<std::uint8_t>(faultBytes);
        if (fault == Fault::ShortReply) {
            int keep = faultBytes >= 0 ? faultBytes : static_cast<int>(reply.size()) + faultBytes;
            if (static_cast<int>(reply.size()) > keep)
                reply.resize(std::max(keep, 0));
        }
        int n = std::min<int>(size, static_cast<int>(reply.size()));
        if (n > 0 && bytes)
            std::memcpy(bytes, reply.data(), n);
        rec.data.assign(reply.begin(), reply.begin() + n);
        return finish(n);
    }
    if (requestType == logger::RequestTypeVendorOut) {
        if (!Apply(request, value, index))
            return finish(-EPIPE);
        return finish(size);
    }
    return finish(-EPIPE);
}

std::vector<std::uint8_t> EmulatedLogger::Reply(int request, int value, int index, bool& refused) {
    std::vector<std::uint8_t> r;
    switch (request) {
        case logger::ReqErrorCode:
            r = {errorCode};
            break;
        case logger::ReqClockConfig:
            r = {clockConfig[0], clockConfig[1]};
            break;
        case logger::ReqLiveValues: {
            int n = static_cast<int>(std::min<std::size_t>(liveQueue.size(), LiveReply::MaxSamples));
            r.resize(1 + 3 * n);
            r[0] = static_cast<std::uint8_t>(3 * n);
            for (int i = 0; i < n; ++i) {
                const auto bytes = layout::SampleBytes(liveQueue.front());
                std::copy(bytes.begin(), bytes.end(), r.begin() + 1 + 3 * i);
                liveQueue.pop_front();
            }
            break;
        }
        case logger::ReqReadMemory: {
            std::uint32_t address =
                static_cast<std::uint32_t>(value) | ((static_cast<std::uint32_t>(index) & 0xFF) << 16);
            std::uint32_t length = (static_cast<std::uint32_t>(index) >> 8) & 0xFF;
            if (length > 128 || address + length > logger::MemorySize) {
                errorCode = ErrorBadAddress;
                refused = true;
                break;
            }
            r.assign(memory.begin() + address, memory.begin() + address + length);
            break;
        }
        case logger::ReqReadClock: {
            ClockRegisters c = ClockRegistersNow();
            r = {c.seconds, c.minutes, c.hours, c.weekday, c.day, c.month, c.year, c.control};
            break;
        }
        case logger::ReqStatus: {
            std::uint32_t free = FreeBytes();
            std::uint16_t rate = Settings().sampleRateRegister;
            r = {static_cast<std::uint8_t>(free & 0xFF),
                 static_cast<std::uint8_t>((free >> 8) & 0xFF),
                 static_cast<std::uint8_t>((free >> 16) & 0xFF),
                 static_cast<std::uint8_t>(batteryReading & 0xFF),
                 static_cast<std::uint8_t>(batteryReading >> 8),
                 static_cast<std::uint8_t>(rate & 0xFF),
                 static_cast<std::uint8_t>(rate >> 8)};
            break;
        }
        case logger::ReqPressureAdc: {
            std::uint16_t p =
                pressureAdc ? *pressureAdc : (signal ? signal(clock.Seconds()).pressure : std::uint16_t{300});
            r = {static_cast<std::uint8_t>(p & 0xFF), static_cast<std::uint8_t>(p >> 8)};
            break;
        }
        case logger::ReqFirmwareVersion:
            r = {static_cast<std::uint8_t>(firmwareWord & 0xFF),
                 static_cast<std::uint8_t>((firmwareWord >> 8) & 0xFF)};
            break;
        default:
            errorCode = ErrorUnknownRequest;
            refused = true;
            break;
    }
    return r;
}

bool EmulatedLogger::Apply(int request, int value, int index) {
    SettingsBlock b = Settings();
    std::uint8_t low = static_cast<std::uint8_t>(value & 0xFF);
    std::uint8_t high = static_cast<std::uint8_t>((value >> 8) & 0xFF);
    switch (request) {
        case logger::ReqAutoLogging:
            b.stateFlags = static_cast<std::uint8_t>(value ? (b.stateFlags | 2) : (b.stateFlags & ~2));
            SetSettings(b);
            pendingRun.clear();
            return true;
        case logger::ReqSampleRate:
            b.sampleRateRegister = static_cast<std::uint16_t>(value);
            SetSettings(b);
            return true;
        case logger::ReqPressureUnit:
            b.pressureUnit = low;
            SetSettings(b);
            return true;
        case logger::ReqLiveMode:
            liveMode = value != 0;
            if (liveMode) {
                liveQueue.clear();
                RephaseTicks();
            }
            return true;
        case logger::ReqClearMemory:
            ClearEvents();
            return true;
        case logger::ReqSetClockTime: {
            CivilTime t = ClockNow();
            t.second = BcdValue(low & 0x7F).value_or(0);
            t.minute = BcdValue(high & 0x7F).value_or(0);
            t.hour = BcdValue(static_cast<std::uint8_t>(index & 0x3F)).value_or(0);
            weekdayRegister = static_cast<std::uint8_t>((index >> 8) & 0xFF);
            SetClockAt(t, clock.Seconds());
            return true;
        }
        case logger::ReqSetClockDate: {
            CivilTime t = ClockNow();
            t.day = BcdValue(low).value_or(0);
            t.month = BcdValue(high).value_or(0);
            t.year = 2000 + BcdValue(static_cast<std::uint8_t>(index & 0xFF)).value_or(0);
            SetClockAt(t, clock.Seconds());
            return true;
        }
        case logger::ReqConfigureClock:
            clockConfig[0] = low;
            clockConfig[1] = high;
            return true;
        case logger::ReqFlowOnThreshold:
            b.flowOnThreshold = static_cast<std::uint16_t>(value);
            b.flowOnDelay = static_cast<std::uint16_t>(index);
            SetSettings(b);
            return true;
        case logger::ReqFlowOffThreshold:
            b.flowOffThreshold = static_cast<std::uint16_t>(value);
            b.flowOffDelay = static_cast<std::uint16_t>(index);
            SetSettings(b);
            return true;
        case logger::ReqMedianAndClamp:
            b.filterMedian = low;
            b.flowClamp = high;
            SetSettings(b);
            return true;
        case logger::ReqPressureCalibration:
            b.pressureZero = low;
            b.pressureScaleFine = high;
            b.pressureScale = static_cast<std::uint8_t>(index & 0xFF);
            SetSettings(b);
            return true;
        default:
            errorCode = ErrorUnknownRequest;
            return false;
    }
}

}  // namespace emu
