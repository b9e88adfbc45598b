#include "device/protocol.h"
#include "device/vext_usb.h"
#include "emulator/demo_content.h"
#include "emulator/emulated_usb_bus.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <set>

namespace {

class EmulatorTest : public ::testing::Test {
protected:
    void SetUp() override { SetCurrentUsbBus(&bus); }
    void TearDown() override { SetCurrentUsbBus(nullptr); }

    emu::ManualClock clock;
    emu::EmulatedUsbBus bus;
};

std::vector<RawSample> Ramp(int n, int flow0) {
    std::vector<RawSample> v;
    for (int i = 0; i < n; ++i)
        v.push_back({static_cast<std::uint16_t>(flow0 + i), static_cast<std::uint16_t>(1000 - i)});
    return v;
}

// Reads the whole memory as a download does and takes it apart by the memory map.
struct Download {
    SettingsBlock block;
    std::vector<EventEntry> directory;
    std::vector<std::vector<RawSample>> events;  // directory order, newest first
};

Download ReadLikeADownload(VextUSB& usb) {
    Download d;
    int q = SettingsBlockLength(FirmwareWord(usb.ReadFirmwareVersion()));
    std::vector<std::uint8_t> memory(logger::MemorySize);
    EXPECT_TRUE(usb.ReadMemory(0, logger::MemorySize, memory.data()));
    d.block = DecodeSettingsBlock(memory.data(), q);
    int g = d.block.eventCount;
    for (int i = 0; i < g; ++i)
        d.directory.push_back(DecodeEventEntry(&memory[logger::MemoryTop - 9 * g + 9 * i]));
    d.events.resize(g);
    std::uint32_t start = q;
    for (int i = g - 1; i >= 0; --i) {
        for (std::uint32_t a = start; a + 3 <= d.directory[i].endAddress; a += 3)
            d.events[i].push_back(DecodeRawSample(&memory[a]));
        start = d.directory[i].endAddress;
    }
    return d;
}

TEST_F(EmulatorTest, WholeMemoryReadsBackAsBlockDirectoryAndSamples) {
    for (int firmware : {0x0403, 0x0402}) {
        SCOPED_TRACE(firmware);
        emu::ManualClock c;
        emu::EmulatedUsbBus b;
        SetCurrentUsbBus(&b);
        emu::EmulatedLogger& logger = b.AddLogger(c, firmware);
        SettingsBlock s = logger.Settings();
        s.serialNumber = 4242;
        s.pressureUnit = 112;
        logger.SetSettings(s);
        ASSERT_TRUE(logger.AddEvent({2023, 3, 5, 9, 7, 2}, Ramp(50, 100)));
        ASSERT_TRUE(logger.AddEvent({2023, 3, 6, 13, 5, 9}, {}));
        ASSERT_TRUE(logger.AddEvent({2023, 12, 24, 23, 59, 59}, Ramp(700, 2000)));

        VextUSB usb;
        Download d = ReadLikeADownload(usb);
        EXPECT_EQ(d.block.isLong, firmware == 0x0403);
        EXPECT_EQ(d.block.serialNumber, firmware == 0x0403 ? 4242 : 0);
        EXPECT_EQ(d.block.pressureUnit, 112);
        ASSERT_EQ(d.block.eventCount, 3);
        EXPECT_EQ(FormatEventDate(d.directory[0]).utf8_string(), "24/12/2023 23:59:59");
        EXPECT_EQ(FormatEventDate(d.directory[2]).utf8_string(), "5/03/2023 9:07:02");
        EXPECT_EQ(d.events[2], Ramp(50, 100));  // the oldest starts right after the block
        EXPECT_TRUE(d.events[1].empty());
        EXPECT_EQ(d.events[0], Ramp(700, 2000));
        std::uint32_t q = SettingsBlockLength(firmware);
        EXPECT_EQ(d.directory[2].endAddress, q + 150);
        EXPECT_EQ(d.directory[0].endAddress, q + 150 + 2100);
        EXPECT_EQ(logger.FreeBytes(), logger::MemoryTop - 27 - (q + 2250));
        // Status agrees with the memory.
        DeviceStatus st = DecodeStatus(usb.ReadStatus());
        EXPECT_EQ(st.freeBytes, logger.FreeBytes());
        SetCurrentUsbBus(&bus);
    }
}

TEST_F(EmulatorTest, EventsStopWhereMemoryEnds) {
    emu::EmulatedLogger& logger = bus.AddLogger(clock);
    std::uint32_t room = logger::MemoryTop - 9 - 41;  // one entry, the long block
    EXPECT_FALSE(logger.AddEvent({}, std::vector<RawSample>(room / 3 + 1)));
    EXPECT_EQ(logger.EventCount(), 0);
    EXPECT_TRUE(logger.AddEvent({}, std::vector<RawSample>(room / 3)));
    EXPECT_LT(logger.FreeBytes(), 3u);
}

TEST_F(EmulatorTest, AutomaticLoggingOpensAndClosesEvents) {
    emu::EmulatedLogger& logger = bus.AddLogger(clock);
    // flow per second: 10 s quiet, 2 s above 50 that do not last, quiet, then 20 s at 300, quiet
    std::vector<int> flows(10, 0);
    for (int f : {80, 80, 0, 0})
        flows.push_back(f);
    for (int i = 0; i < 20; ++i)
        flows.push_back(300);
    for (int i = 0; i < 30; ++i)
        flows.push_back(10);
    logger.SetSignal([&](double t) {
        int i = static_cast<int>(t + 0.5) - 1;
        return RawSample{static_cast<std::uint16_t>(i >= 0 && i < (int)flows.size() ? flows[i] : 0), 400};
    });
    logger.SetClock({2023, 3, 24, 13, 5, 0});
    VextUSB usb;
    ASSERT_TRUE(usb.SetRateAndPressureUnit(RegisterFromTenths(10), 98));
    ASSERT_TRUE(usb.SetFlowOnThreshold(50, 3));   // 3 samples above 50
    ASSERT_TRUE(usb.SetFlowOffThreshold(30, 5));  // 5 samples below 30
    ASSERT_TRUE(usb.SetAutoLogging(true));
    EXPECT_TRUE(logger.Settings().AutoLogging());

    for (int s = 0; s < 30; ++s) {
        clock.Advance(1.0);
        logger.Update();
        EXPECT_EQ(logger.Recording(), s + 1 >= 17) << s + 1;  // open after the third sample above 50
    }
    clock.Advance(40.0);
    logger.Update();
    EXPECT_FALSE(logger.Recording());

    ASSERT_EQ(logger.EventCount(), 1);
    EventEntry e = logger.Directory()[0];
    // The run above 50 started with sample 15 (second 15): 13:05:15.
    EXPECT_EQ(FormatEventDate(e).utf8_string(), "24/03/2023 13:05:15");
    // 20 samples at 300 and the 5 below 30 that closed it.
    EXPECT_EQ(e.endAddress, 41u + 25 * 3);
    std::vector<RawSample> samples = logger.EventSamples(0);
    ASSERT_EQ(samples.size(), 25u);
    EXPECT_EQ(samples.front().flow, 300);
    EXPECT_EQ(samples.back().flow, 10);

    // Switching automatic logging off stops it from recording further.
    ASSERT_TRUE(usb.SetAutoLogging(false));
    flows.assign(300, 500);
    clock.Advance(100);
    logger.Update();
    EXPECT_EQ(logger.EventCount(), 1);
}

TEST_F(EmulatorTest, LiveModeQueuesSamplesAtTheSampleInterval) {
    emu::EmulatedLogger& logger = bus.AddLogger(clock);
    int produced = 0;
    logger.SetSignal([&](double) { return RawSample{static_cast<std::uint16_t>(++produced), 500}; });
    VextUSB usb;
    ASSERT_TRUE(usb.SetRateAndPressureUnit(RegisterFromTenths(1), 98));  // 100 ms
    ASSERT_TRUE(usb.SetLiveMode(true));
    clock.Advance(1.0);
    const std::uint8_t* reply = usb.ReadLiveValues();
    ASSERT_NE(reply, nullptr);
    std::vector<RawSample> got = DecodeLiveReply(reply, usb.LastTransferLength());
    ASSERT_EQ(got.size(), 10u);
    EXPECT_EQ(got.front().flow, 1);
    EXPECT_EQ(got.back().flow, 10);
    // More than one reply holds: 74 now, the rest next time, oldest first.
    clock.Advance(10.0);
    reply = usb.ReadLiveValues();
    EXPECT_EQ(DecodeLiveReply(reply, usb.LastTransferLength()).size(), 74u);
    reply = usb.ReadLiveValues();
    got = DecodeLiveReply(reply, usb.LastTransferLength());
    ASSERT_EQ(got.size(), 26u);
    EXPECT_EQ(got.back().flow, 110);
    ASSERT_TRUE(usb.SetLiveMode(false));
    clock.Advance(5.0);
    reply = usb.ReadLiveValues();
    EXPECT_TRUE(DecodeLiveReply(reply, usb.LastTransferLength()).empty());
}

TEST_F(EmulatorTest, EveryWriteChangesTheLoggersState) {
    emu::EmulatedLogger& logger = bus.AddLogger(clock);
    logger.AddEvent({}, Ramp(10, 1));
    logger.SetClock({2023, 3, 24, 13, 5, 9}, 0x21);
    VextUSB usb;
    ASSERT_TRUE(usb.SetRateAndPressureUnit(0xFB34, 112));
    ASSERT_TRUE(usb.SetFlowOnThreshold(120, 7));
    ASSERT_TRUE(usb.SetFlowOffThreshold(60, 9));
    ASSERT_TRUE(usb.SetMedianAndClamp(5, 40));
    ASSERT_TRUE(usb.WritePressureCalibration(100, 30, 3));
    ASSERT_TRUE(usb.ConfigureClock(0, 171));
    ASSERT_TRUE(usb.SetAutoLogging(true));
    SettingsBlock b = logger.Settings();
    EXPECT_EQ(b.sampleRateRegister, 0xFB34);
    EXPECT_EQ(b.pressureUnit, 112);
    EXPECT_EQ(b.flowOnThreshold, 120);
    EXPECT_EQ(b.flowOnDelay, 7);
    EXPECT_EQ(b.flowOffThreshold, 60);
    EXPECT_EQ(b.flowOffDelay, 9);
    EXPECT_EQ(b.filterMedian, 5);
    EXPECT_EQ(b.flowClamp, 40);
    EXPECT_EQ(b.pressureZero, 100);
    EXPECT_EQ(b.pressureScaleFine, 30);
    EXPECT_EQ(b.pressureScale, 3);
    EXPECT_EQ(b.stateFlags, 3);
    EXPECT_EQ(b.eventCount, 1);
    const std::uint8_t* cfg = usb.ReadClockConfig();
    ASSERT_NE(cfg, nullptr);
    EXPECT_EQ(cfg[0], 0);
    EXPECT_EQ(cfg[1], 171);

    // The clock runs from the clock source and takes writes of time and date separately.
    clock.Advance(61.0);
    const std::uint8_t* regs = usb.ReadClock();
    ASSERT_NE(regs, nullptr);
    ClockRegisters r = DecodeClockRegisters(regs);
    EXPECT_EQ(r.hours, 0x13);
    EXPECT_EQ(r.minutes, 0x06);
    EXPECT_EQ(r.seconds, 0x10);
    EXPECT_EQ(r.weekday, 0x21);
    ASSERT_TRUE(usb.SetClockTime(0x59, 0x59, 0x23, 0x25));
    ASSERT_TRUE(usb.SetClockDate(0x31, 0x12, 0x24));
    clock.Advance(1.0);
    r = DecodeClockRegisters(usb.ReadClock());
    EXPECT_EQ(r.day, 0x01);  // past midnight into the new year
    EXPECT_EQ(r.month, 0x01);
    EXPECT_EQ(r.year, 0x25);
    EXPECT_EQ(r.hours, 0x00);
    EXPECT_EQ(r.weekday, 0x25);

    ASSERT_TRUE(usb.ClearMemory());
    EXPECT_EQ(logger.EventCount(), 0);
    EXPECT_EQ(logger.WriteAddress(), 41u);
    EXPECT_EQ(logger.FreeBytes(), logger::MemoryTop - 41);

    logger.SetPressureAdc(612);
    const std::uint8_t* adc = usb.ReadPressureAdc();
    ASSERT_NE(adc, nullptr);
    EXPECT_EQ(adc[0] | (adc[1] << 8), 612);
    logger.SetBatteryReading(117);
    EXPECT_EQ(DecodeStatus(usb.ReadStatus()).batteryReading, 117);
    EXPECT_EQ(DecodeStatus(usb.ReadStatus()).sampleRateRegister, 0xFB34);
}

TEST_F(EmulatorTest, FaultPlanHitsExactlyWhereAsked) {
    emu::EmulatedLogger& logger = bus.AddLogger(clock);
    VextUSB usb;
    usb.FindDevice();
    std::vector<std::uint8_t> data(1024);

    // The third memory chunk stalls: chunks 1 and 2 pass, 3 fails, nothing after it.
    logger.ClearTransfers();
    logger.Plan({emu::Fault::Stall, logger::ReqReadMemory, 2, 1, 0});
    EXPECT_FALSE(usb.ReadMemory(0, 1024, data.data()));
    auto chunks = logger.TransfersOf(logger::ReqReadMemory);
    ASSERT_EQ(chunks.size(), 3u);
    EXPECT_EQ(chunks[1].result, 128);
    EXPECT_EQ(chunks[2].result, -EPIPE);
    EXPECT_FALSE(logger.FaultsPending());

    // Time-outs only on the request named; others pass.
    logger.ClearTransfers();
    logger.TimeOutNext(2, logger::ReqReadClock);
    EXPECT_NE(usb.ReadStatus(), nullptr);
    EXPECT_EQ(usb.ReadClock(), nullptr);
    EXPECT_EQ(logger.TransfersOf(logger::ReqReadClock).back().result, -ETIMEDOUT);

    // Unplugged at the fifth chunk of a download: the logger has left the bus.
    logger.Plan({emu::Fault::Unplug, logger::ReqReadMemory, 4, 1, 0});
    EXPECT_FALSE(usb.ReadMemory(0, 1024, data.data()));
    EXPECT_FALSE(logger.Plugged());
    const int searches = bus.Searches();
    EXPECT_EQ(usb.ReadStatus(), nullptr);
    EXPECT_EQ(bus.Searches(), searches + 1);  // the link forgot it and looked for it again
    logger.Replug();
    EXPECT_NE(usb.ReadStatus(), nullptr);

    // Short replies, to a length or by a number of bytes, and an inflated live count, each once.
    logger.ClearTransfers();
    logger.ShortReplyNext(2, 1, logger::ReqStatus);
    logger.ShortReplyNext(-1, 1, logger::ReqReadClock);
    EXPECT_NE(usb.ReadStatus(), nullptr);
    EXPECT_NE(usb.ReadClock(), nullptr);
    std::vector<int> lengths;
    for (const auto& t : logger.Transfers())
        lengths.push_back(t.requestType == 0 ? -1 : t.result);
    EXPECT_EQ(lengths, (std::vector<int>{2, 7}));
    logger.OverstateLiveCount(222);
    const std::uint8_t* live = usb.ReadLiveValues();
    ASSERT_NE(live, nullptr);
    EXPECT_EQ(live[0], 222);
    EXPECT_EQ(usb.LastTransferLength(), 1);

    // Reconfiguration refused once; open refused once.
    logger.StallNext(1, logger::ReqStatus);
    logger.FailReconfiguration();
    EXPECT_EQ(usb.ReadRequest(logger::ReqStatus, 0, 0, 7, 500), VextUSB::StatusReconfigureFailed);
    logger.FailNextOpen();
    EXPECT_EQ(usb.ReadRequest(logger::ReqStatus, 0, 0, 7, 500), VextUSB::StatusOpenFailed);
    EXPECT_EQ(usb.ReadRequest(logger::ReqStatus, 0, 0, 7, 500), VextUSB::StatusDone);
    EXPECT_FALSE(logger.FaultsPending());

    // By position: the third transfer from now, whatever it is. A kind that has nothing to change
    // there (a short reply to a write) is spent all the same.
    logger.ClearTransfers();
    logger.FaultAtTransfer(emu::Fault::Timeout, 3);
    EXPECT_TRUE(usb.SetLiveMode(true));
    EXPECT_NE(usb.ReadStatus(), nullptr);
    EXPECT_NE(usb.ReadClock(), nullptr);  // its first attempt times out; the retry answers
    std::vector<int> results;
    for (const auto& t : logger.Transfers())
        results.push_back(t.result);
    EXPECT_EQ(results, (std::vector<int>{1, 7, -ETIMEDOUT, 0, 8}));
    logger.FaultAtTransfer(emu::Fault::ShortReply, 1, -1);
    EXPECT_TRUE(usb.SetLiveMode(false));
    EXPECT_FALSE(logger.FaultsPending());
    logger.ClearTransfers();
    EXPECT_NE(usb.ReadStatus(), nullptr);
    EXPECT_EQ(logger.Transfers().back().result, 7);

    // Pulled and plugged straight back: that transfer fails, the logger is back under a new number.
    const int number = logger.DeviceNumber();
    logger.FaultAtTransfer(emu::Fault::Replug, 1);
    EXPECT_EQ(usb.ReadStatus(), nullptr);
    EXPECT_TRUE(logger.Plugged());
    EXPECT_NE(logger.DeviceNumber(), number);
    EXPECT_NE(usb.ReadStatus(), nullptr);
}

TEST_F(EmulatorTest, CorruptDirectories) {
    emu::EmulatedLogger& logger = bus.AddLogger(clock);
    logger.AddEvent({2023, 1, 1, 0, 0, 0}, Ramp(10, 1));
    logger.AddEvent({2023, 1, 2, 0, 0, 0}, Ramp(10, 1));
    VextUSB usb;

    logger.CorruptEndAddress(0, 0x1FFF0);  // beyond the sample area, into the directory
    logger.CorruptEndAddress(1, 20);       // below the block's end
    std::uint8_t entry[9];
    ASSERT_TRUE(usb.ReadMemory(logger::MemoryTop - 18, 9, entry));
    EXPECT_EQ(DecodeEventEntry(entry).endAddress, 0x1FFF0u);
    ASSERT_TRUE(usb.ReadMemory(logger::MemoryTop - 9, 9, entry));
    EXPECT_EQ(DecodeEventEntry(entry).endAddress, 20u);

    logger.CorruptEventCount(20000);  // 180000 bytes of directory: more than the memory
    std::uint8_t block[41];
    ASSERT_TRUE(usb.ReadMemory(0, 41, block));
    EXPECT_EQ(DecodeSettingsBlock(block, 41).eventCount, 20000);
    EXPECT_EQ(DecodeStatus(usb.ReadStatus()).freeBytes, 0u);
}

TEST_F(EmulatorTest, RefusedRequestsSetTheErrorCode) {
    emu::EmulatedLogger& logger = bus.AddLogger(clock);
    VextUSB usb;
    EXPECT_EQ(usb.ReadRequest(99, 0, 0, 1, 500), VextUSB::StatusRetryFailed);
    EXPECT_EQ(usb.ReadErrorCode(), emu::EmulatedLogger::ErrorUnknownRequest);
    // A chunk past the end of memory, sent by hand.
    usb.FindDevice();
    EXPECT_EQ(usb.ReadRequest(logger::ReqReadMemory, 0xFFF0, (128 << 8) | 1, 128, 1000),
              VextUSB::StatusRetryFailed);
    EXPECT_EQ(usb.ReadErrorCode(), emu::EmulatedLogger::ErrorBadAddress);
    (void)logger;
}

TEST_F(EmulatorTest, DemoContentIsAPlausibleMorningOfHydrantTests) {
    emu::EmulatedLogger& logger = bus.AddLogger(clock);
    emu::FillDemoContent(logger);
    VextUSB usb;
    Download d = ReadLikeADownload(usb);
    EXPECT_TRUE(d.block.isLong);
    EXPECT_NE(d.block.serialNumber, 0);
    ASSERT_GE(d.block.eventCount, 3);
    std::set<std::size_t> lengths;
    for (const auto& ev : d.events) {
        lengths.insert(ev.size());
        ASSERT_GT(ev.size(), 20u);
        int peak = 0;
        int minPressure = 1023;
        for (const RawSample& s : ev) {
            peak = std::max<int>(peak, s.flow);
            minPressure = std::min<int>(minPressure, s.pressure);
        }
        EXPECT_GE(peak, 300);  // a plateau of several hundred l/min
        EXPECT_LT(ev.front().flow, 50);
        EXPECT_LT(ev.back().flow, 50);
        EXPECT_LT(minPressure, ev.front().pressure - 20);  // residual below static
    }
    EXPECT_EQ(lengths.size(), d.events.size());  // lengths differ
    // The live signal moves.
    std::set<int> flows;
    for (int t = 0; t < 120; t += 5)
        flows.insert(emu::DemoSignal(t).flow);
    EXPECT_GT(flows.size(), 10u);
}

}  // namespace
