#include "harness.h"

#include "device/protocol.h"

#include <cerrno>
#include <cstring>

namespace {

using Status = VextUSB::Status;

TEST_F(TransportTest, WithoutLoggerReadsGiveNothingAndWritesFailSilently) {
    harness->AddOtherDevice(0x046D, 0xC077);  // a mouse is not the logger
    harness->AddOtherDevice(0x04D8, 0x000A);  // same vendor, other product
    VextUSB usb;
    std::uint8_t data[16];
    EXPECT_EQ(usb.ReadRequest(logger::ReqStatus, 0, 0, 7, 500), Status::StatusNoDevice);
    EXPECT_EQ(usb.WriteRequest(logger::ReqClearMemory, 0, 0, 1, 500), Status::StatusNoDevice);
    EXPECT_EQ(usb.ReadStatus(), nullptr);
    EXPECT_EQ(usb.ReadFirmwareVersion(), nullptr);
    EXPECT_EQ(usb.ReadClock(), nullptr);
    EXPECT_EQ(usb.ReadLiveValues(), nullptr);
    EXPECT_EQ(usb.ReadErrorCode(), 0);
    EXPECT_FALSE(usb.ReadMemory(0, 16, data));
    EXPECT_FALSE(usb.SetLiveMode(true));
    EXPECT_FALSE(usb.SetRateAndPressureUnit(0xF000, 98));
    EXPECT_FALSE(usb.SetClockTime(1, 2, 3, 4));
    EXPECT_FALSE(usb.SetClockDate(1, 2, 3));
    EXPECT_FALSE(usb.ClearMemory());
    EXPECT_TRUE(Searched([&] { usb.ReadStatus(); }));
    EXPECT_TRUE(log.errors.empty());
    EXPECT_TRUE(log.others.empty());
}

TEST_F(TransportTest, FirstLoggerOfTheBusListStaysInUseUntilOpeningFails) {
    std::vector<emu::EmulatedLogger*> loggers = {
        &harness->AddLogger(0x0401, 2), &harness->AddLogger(0x0402, 1), &harness->AddLogger(0x0403, 1)};
    VextUSB usb;
    const std::uint8_t* firmware = usb.ReadFirmwareVersion();
    ASSERT_NE(firmware, nullptr);
    // The first logger in the order the library lists busses and devices.
    std::vector<emu::EmulatedLogger*> order;
    for (const UsbDeviceEntry& e : CurrentUsbBus().GetBusses()) {
        for (emu::EmulatedLogger* l : loggers) {
            if (std::stoi(e.busName) == l->BusNumber() && std::stoi(e.deviceName) == l->DeviceNumber())
                order.push_back(l);
        }
    }
    ASSERT_EQ(order.size(), 3u);
    emu::EmulatedLogger& first = *order[0];
    EXPECT_EQ(FirmwareWord(firmware), first.FirmwareWord());
    // The search selected configuration 1 on the logger it found, and only there.
    ASSERT_FALSE(first.Transfers().empty());
    EXPECT_EQ(first.Transfers().front().request, logger::RequestSetConfiguration);
    EXPECT_TRUE(order[1]->Transfers().empty());
    EXPECT_TRUE(order[2]->Transfers().empty());

    // It stays in use ...
    first.ClearTransfers();
    for (int i = 0; i < 3; ++i)
        EXPECT_NE(usb.ReadStatus(), nullptr);
    EXPECT_EQ(first.TransfersOf(logger::ReqStatus).size(), 3u);
    EXPECT_TRUE(order[1]->Transfers().empty());

    // ... until opening it fails (with Debian's libusb: its first transfer finds it gone); then
    // it is forgotten and the next search takes the next logger.
    harness->Unplug(first);
    EXPECT_EQ(usb.ReadRequest(logger::ReqStatus, 0, 0, 7, 500), Status::StatusOpenFailed);
    EXPECT_TRUE(Searched([&] { firmware = usb.ReadFirmwareVersion(); }));
    ASSERT_NE(firmware, nullptr);
    EXPECT_EQ(FirmwareWord(firmware), order[1]->FirmwareWord());
    EXPECT_TRUE(order[2]->Transfers().empty());
}

TEST_F(TransportTest, UnplugSeenByEveryOperationKind) {
    // Each kind of operation reports the vanished logger once and searches again next time.
    struct Case {
        const char* name;
        std::function<bool(VextUSB&)> op;
    };
    std::uint8_t data[8];
    const Case cases[] = {
        {"memory", [&](VextUSB& u) { return u.ReadMemory(0, 8, data); }},
        {"live", [](VextUSB& u) { return u.ReadLiveValues() != nullptr; }},
        {"clock time", [](VextUSB& u) { return u.SetClockTime(0, 0, 0, 0); }},
        {"clock date", [](VextUSB& u) { return u.SetClockDate(1, 1, 0x23); }},
        {"generic", [](VextUSB& u) { return u.ReadStatus() != nullptr; }},
    };
    emu::EmulatedLogger& logger = harness->AddLogger();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        VextUSB usb;
        EXPECT_TRUE(c.op(usb));
        harness->Unplug(logger);
        EXPECT_FALSE(c.op(usb));
        EXPECT_TRUE(Searched([&] { EXPECT_FALSE(c.op(usb)); }));
        harness->Replug(logger);
        EXPECT_TRUE(c.op(usb));
    }
}

TEST_F(TransportTest, AnotherLinksSearchLeavesNoStaleRecord) {
    emu::EmulatedLogger& logger = harness->AddLogger();
    VextUSB main, dialog, service;
    ASSERT_NE(main.ReadStatus(), nullptr);
    harness->Unplug(logger);
    harness->Replug(logger);
    // The dialog searches: the bus list no longer holds the device main remembers.
    ASSERT_NE(dialog.ReadStatus(), nullptr);
    const std::string found = harness->Bus().lastOpened;
    EXPECT_EQ(main.ReadRequest(logger::ReqStatus, 0, 0, 7, 500), Status::StatusOpenFailed);
    EXPECT_NE(main.ReadStatus(), nullptr);
    EXPECT_EQ(harness->Bus().lastOpened, found);
    EXPECT_NE(service.ReadStatus(), nullptr);
}

TEST_F(TransportTest, MemoryReadIsChunkedWithAddressInValueAndIndex) {
    emu::EmulatedLogger& logger = harness->AddLogger();
    std::vector<std::uint8_t> pattern(300);
    for (std::size_t i = 0; i < pattern.size(); ++i)
        pattern[i] = static_cast<std::uint8_t>(i * 7 + 1);
    logger.Poke(0xFF00, pattern);
    VextUSB usb;
    usb.FindDevice();
    logger.ClearTransfers();
    std::vector<std::uint8_t> got(300);
    ASSERT_TRUE(usb.ReadMemory(0xFF00, 300, got.data()));
    EXPECT_EQ(got, pattern);
    auto chunks = logger.TransfersOf(logger::ReqReadMemory);
    ASSERT_EQ(chunks.size(), 3u);
    const int expected[3][3] = {{0xFF00, 0x8000, 128}, {0xFF80, 0x8000, 128}, {0x0000, 0x2C01, 44}};
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(chunks[i].requestType, 0xC0);
        EXPECT_EQ(chunks[i].value, expected[i][0]);
        EXPECT_EQ(chunks[i].index, expected[i][1]);
        EXPECT_EQ(chunks[i].length, expected[i][2]);
    }
    EXPECT_EQ(logger.Transfers().size(), 3u);  // no configuration, no retry

    // Zero bytes: opened and closed, nothing transferred.
    logger.ClearTransfers();
    EXPECT_TRUE(usb.ReadMemory(0x100, 0, got.data()));
    EXPECT_TRUE(logger.Transfers().empty());
}

TEST_F(TransportTest, MemoryReadStaysInsideTheLoggersMemory) {
    emu::EmulatedLogger& logger = harness->AddLogger();
    VextUSB usb;
    std::vector<std::uint8_t> got(256, 0xAA);
    EXPECT_TRUE(usb.ReadMemory(0x1FF80, 128, got.data()));  // up to the last byte
    logger.ClearTransfers();
    struct Case {
        std::uint32_t address, length;
    };
    for (Case c : {Case{0x1FF80, 129}, Case{0x1FFFF, 2}, Case{0x20000, 1}, Case{0xFFFFFF00, 0x200},
                   Case{0x10, 0xFFFFFFF8}}) {
        SCOPED_TRACE(c.address);
        EXPECT_FALSE(usb.ReadMemory(c.address, c.length, got.data()));
    }
    EXPECT_TRUE(logger.Transfers().empty());
}

TEST_F(TransportTest, FailedMemoryChunkFailsTheReadAndAShortOneIsAskedOnceMore) {
    emu::EmulatedLogger& logger = harness->AddLogger();
    logger.Poke(0x100, std::vector<std::uint8_t>(400, 0x5A));
    VextUSB usb;
    std::vector<std::uint8_t> got(400);
    logger.Plan({emu::Fault::Stall, logger::ReqReadMemory, 1, 1, 0});
    EXPECT_FALSE(usb.ReadMemory(0x100, 400, got.data()));
    EXPECT_EQ(logger.TransfersOf(logger::ReqReadMemory).size(), 2u);  // no retry
    // A chunk that came short is asked for once more, at the same place; the samples are whole.
    logger.ClearTransfers();
    logger.Plan({emu::Fault::ShortReply, logger::ReqReadMemory, 2, 1, 100});
    std::fill(got.begin(), got.end(), 0);
    EXPECT_TRUE(usb.ReadMemory(0x100, 400, got.data()));
    EXPECT_EQ(got, std::vector<std::uint8_t>(400, 0x5A));
    const std::vector<emu::TransferRecord> chunks = logger.TransfersOf(logger::ReqReadMemory);
    ASSERT_EQ(chunks.size(), 5u);
    EXPECT_EQ(chunks[2].result, 100);
    EXPECT_EQ(chunks[3].value, chunks[2].value);
    EXPECT_EQ(chunks[3].result, 128);
    // Still short the second time: the read fails rather than make samples up.
    logger.Plan({emu::Fault::ShortReply, logger::ReqReadMemory, 2, 2, -1});
    EXPECT_FALSE(usb.ReadMemory(0x100, 400, got.data()));
    EXPECT_TRUE(usb.ReadMemory(0x100, 400, got.data()));
}

TEST_F(TransportTest, ZeroLengthOutCompletes) {
    emu::EmulatedLogger& logger = harness->AddLogger();
    VextUSB usb;
    EXPECT_EQ(usb.WriteRequest(logger::ReqLiveMode, 1, 0, 0, 500), Status::StatusDone);
    auto sent = logger.TransfersOf(logger::ReqLiveMode);
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(sent[0].length, 0);
    EXPECT_EQ(sent[0].requestType, 0x40);
    EXPECT_TRUE(logger.LiveMode());
}

TEST_F(TransportTest, AShortReplyIsDoneWithWhatCameAndNothingOfAnEarlierOne) {
    // A reply shorter than asked is not a failed transfer: no configuration request, no retry.
    // The bytes that did not come read 0, never what an earlier reply left in the buffer; a reply
    // of one value that did not come whole is not known.
    struct Case {
        const char* name;
        int request;
        bool oneValue;
        std::function<const std::uint8_t*(VextUSB&)> read;
    };
    std::uint8_t code = 0;
    const Case cases[] = {
        {"error code", logger::ReqErrorCode, true,
         [&](VextUSB& u) { return (code = u.ReadErrorCode()) != 0 ? &code : nullptr; }},
        {"clock config", logger::ReqClockConfig, false, [](VextUSB& u) { return u.ReadClockConfig(); }},
        {"clock", logger::ReqReadClock, false, [](VextUSB& u) { return u.ReadClock(); }},
        {"status", logger::ReqStatus, false, [](VextUSB& u) { return u.ReadStatus(); }},
        {"converter", logger::ReqPressureAdc, true, [](VextUSB& u) { return u.ReadPressureAdc(); }},
        {"firmware", logger::ReqFirmwareVersion, true, [](VextUSB& u) { return u.ReadFirmwareVersion(); }},
    };
    emu::EmulatedLogger& logger = harness->AddLogger();
    logger.SetErrorCode(9);
    logger.SetClock({2023, 3, 24, 13, 5, 9}, 0x21);
    logger.SetPressureAdc(0x0305);
    logger.ClearFaults();
    VextUSB usb;
    usb.FindDevice();
    for (const Case& c : cases) {
        for (int shortBy : {1, 2}) {
            SCOPED_TRACE(testing::Message() << c.name << ", " << shortBy << " byte(s) short");
            // A whole reply first, of bytes that are not 0 (the live read fills the buffer).
            logger.QueueLiveSamples(std::vector<RawSample>(74, RawSample{0x3FFF, 0x3FF}));
            ASSERT_NE(usb.ReadLiveValues(), nullptr);
            logger.ClearTransfers();
            logger.ShortReplyNext(-shortBy, 1, c.request);
            const std::uint8_t* reply = c.read(usb);
            ASSERT_EQ(logger.Transfers().size(), 1u) << "retried or reconfigured";
            const int full = logger.Transfers()[0].length;
            const int came = std::max(full - shortBy, 0);
            EXPECT_EQ(logger.Transfers()[0].result, came);
            if (c.oneValue) {
                EXPECT_EQ(reply, nullptr);
                continue;
            }
            ASSERT_NE(reply, nullptr);
            EXPECT_EQ(usb.LastTransferLength(), came);
            for (int i = came; i < full; ++i)
                EXPECT_EQ(reply[i], 0) << "byte " << i;
        }
    }
    EXPECT_TRUE(log.errors.empty());
}

TEST_F(TransportTest, FailedTransferReselectsConfigurationAndRetriesOnce) {
    struct Case {
        const char* name;
        std::function<void(emu::EmulatedLogger&)> plan;
        int status;
        std::vector<int> requests;  // what the logger saw; -1 is SET_CONFIGURATION
    };
    const int S = logger::ReqStatus;
    const Case cases[] = {
        {"stall once", [](auto& l) { l.StallNext(1, logger::ReqStatus); }, Status::StatusDone, {S, -1, S}},
        {"time-out once",
         [](auto& l) { l.TimeOutNext(1, logger::ReqStatus); },
         Status::StatusDone,
         {S, -1, S}},
        {"reconfiguration fails",
         [](auto& l) {
             l.StallNext(1, logger::ReqStatus);
             l.FailReconfiguration();
         },
         Status::StatusReconfigureFailed,
         {S, -1}},
        {"retry fails",
         [](auto& l) { l.StallNext(2, logger::ReqStatus); },
         Status::StatusRetryFailed,
         {S, -1, S}},
        {"retry times out",
         [](auto& l) { l.TimeOutNext(2, logger::ReqStatus); },
         Status::StatusRetryFailed,
         {S, -1, S}},
        {"no fault", [](auto&) {}, Status::StatusDone, {S}},
    };
    emu::EmulatedLogger& logger = harness->AddLogger();
    VextUSB usb;
    usb.FindDevice();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        logger.ClearTransfers();
        c.plan(logger);
        EXPECT_EQ(usb.ReadRequest(S, 0, 0, 7, 500), c.status);
        std::vector<int> seen;
        for (const auto& t : logger.Transfers())
            seen.push_back(t.requestType == 0 ? -1 : t.request);
        EXPECT_EQ(seen, c.requests);
        EXPECT_EQ(harness->OpenHandles(), 0);
        EXPECT_FALSE(logger.FaultsPending());
        EXPECT_FALSE(Searched([&] { usb.ReadStatus(); }));  // a transfer failure keeps the logger
    }
}

TEST_F(TransportTest, ClockWritesAndLiveReadAreNotRetriedAndFailWithTheirTransfer) {
    struct Case {
        const char* name;
        std::function<bool(VextUSB&)> op;
    };
    const Case cases[] = {
        {"live read", [](VextUSB& u) { return u.ReadLiveValues() != nullptr; }},
        {"clock time", [](VextUSB& u) { return u.SetClockTime(9, 5, 0x13, 0x21); }},
        {"clock date", [](VextUSB& u) { return u.SetClockDate(0x24, 0x03, 0x23); }},
    };
    emu::EmulatedLogger& logger = harness->AddLogger();
    VextUSB usb;
    usb.FindDevice();
    for (const Case& c : cases) {
        for (emu::Fault fault : {emu::Fault::Stall, emu::Fault::Timeout}) {
            SCOPED_TRACE(testing::Message()
                         << c.name << (fault == emu::Fault::Stall ? ", stall" : ", time-out"));
            logger.ClearTransfers();
            logger.Plan({fault, emu::AnyRequest, 0, 1, 0});
            EXPECT_FALSE(c.op(usb));
            ASSERT_EQ(logger.Transfers().size(), 1u);  // no configuration, no retry
            EXPECT_EQ(logger.Transfers()[0].result, fault == emu::Fault::Stall ? -EPIPE : -ETIMEDOUT);
            EXPECT_FALSE(Searched([&] { EXPECT_TRUE(c.op(usb)); }));
        }
    }
}

TEST_F(TransportTest, RequestTableAsTheLoggerSeesIt) {
    // Every request with its literal request type, request, value, index, length and time-out.
    emu::EmulatedLogger& logger = harness->AddLogger();
    std::uint8_t chunk[130];
    struct Case {
        const char* name;
        std::function<bool(VextUSB&)> op;
        std::vector<std::array<int, 6>> sent;  // type, request, value, index, length, time-out
    };
    const Case cases[] = {
        {"search selects configuration 1",
         [](VextUSB& u) { return u.FindDevice(); },
         {{0x00, 9, 1, 0, 0, 100}}},
        {"error code", [](VextUSB& u) { return u.ReadErrorCode() == 0; }, {{0xC0, 1, 0, 0, 1, 500}}},
        {"clock config",
         [](VextUSB& u) { return u.ReadClockConfig() != nullptr; },
         {{0xC0, 2, 0, 0, 2, 100}}},
        {"auto on", [](VextUSB& u) { return u.SetAutoLogging(true); }, {{0x40, 3, 2, 0, 1, 500}}},
        {"auto off", [](VextUSB& u) { return u.SetAutoLogging(false); }, {{0x40, 3, 0, 0, 1, 500}}},
        {"rate and unit",
         [](VextUSB& u) { return u.SetRateAndPressureUnit(0xFB34, 112); },
         {{0x40, 4, 0xFB34, 0, 1, 500}, {0x40, 12, 112, 0, 1, 500}}},
        {"live on", [](VextUSB& u) { return u.SetLiveMode(true); }, {{0x40, 5, 1, 0, 1, 500}}},
        {"live off", [](VextUSB& u) { return u.SetLiveMode(false); }, {{0x40, 5, 0, 0, 1, 500}}},
        {"clear", [](VextUSB& u) { return u.ClearMemory(); }, {{0x40, 13, 0, 0, 1, 500}}},
        {"live read", [](VextUSB& u) { return u.ReadLiveValues() != nullptr; }, {{0xC0, 21, 0, 0, 223, 100}}},
        {"memory 130 bytes at 0x1FF00",
         [&](VextUSB& u) { return u.ReadMemory(0x1FF00, 130, chunk); },
         {{0xC0, 23, 0xFF00, 0x8001, 128, 1000}, {0xC0, 23, 0xFF80, 0x0201, 2, 1000}}},
        {"clock", [](VextUSB& u) { return u.ReadClock() != nullptr; }, {{0xC0, 26, 0, 0, 8, 500}}},
        {"time 13:05:09",
         [](VextUSB& u) { return u.SetClockTime(0x09, 0x05, 0x13, 0x21); },
         {{0x40, 27, 0x0509, 0x2113, 4, 500}}},
        {"date 24.03.23",
         [](VextUSB& u) { return u.SetClockDate(0x24, 0x03, 0x23); },
         {{0x40, 28, 0x0324, 0x23, 4, 500}}},
        {"clock configuration",
         [](VextUSB& u) { return u.ConfigureClock(0, 171); },
         {{0x40, 29, 0xAB00, 0, 2, 100}}},
        {"flow on", [](VextUSB& u) { return u.SetFlowOnThreshold(50, 2); }, {{0x40, 30, 50, 2, 4, 500}}},
        {"flow off", [](VextUSB& u) { return u.SetFlowOffThreshold(30, 10); }, {{0x40, 31, 30, 10, 4, 500}}},
        {"median clamp",
         [](VextUSB& u) { return u.SetMedianAndClamp(3, 30); },
         {{0x40, 33, 0x1E03, 0, 2, 500}}},
        {"status", [](VextUSB& u) { return u.ReadStatus() != nullptr; }, {{0xC0, 34, 0, 0, 7, 500}}},
        {"calibration",
         [](VextUSB& u) { return u.WritePressureCalibration(104, 26, 2); },
         {{0x40, 35, 0x1A68, 2, 3, 500}}},
        {"adc", [](VextUSB& u) { return u.ReadPressureAdc() != nullptr; }, {{0xC0, 37, 0, 0, 2, 500}}},
        {"firmware",
         [](VextUSB& u) { return u.ReadFirmwareVersion() != nullptr; },
         {{0xC0, 41, 0, 0, 2, 500}}},
        // A stalled request: configuration 1 again, then the retry.
        {"status after a stall",
         [&](VextUSB& u) {
             logger.StallNext(1, logger::ReqStatus);
             return u.ReadStatus() != nullptr;
         },
         {{0xC0, 34, 0, 0, 7, 500}, {0x00, 9, 1, 0, 0, 100}, {0xC0, 34, 0, 0, 7, 500}}},
    };
    VextUSB usb;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        logger.ClearTransfers();
        EXPECT_TRUE(c.op(usb));
        std::vector<std::array<int, 6>> sent;
        for (const auto& t : logger.Transfers())
            sent.push_back({t.requestType, t.request, t.value, t.index, t.length, t.timeoutMs});
        EXPECT_EQ(sent, c.sent);
    }
}

TEST_F(TransportTest, RateAndUnitSendsTheUnitOnlyAfterTheRate) {
    emu::EmulatedLogger& logger = harness->AddLogger();
    VextUSB usb;
    usb.FindDevice();
    logger.ClearTransfers();
    logger.StallNext(3, logger::ReqSampleRate);  // every attempt at the rate fails
    logger.FailReconfiguration();
    EXPECT_FALSE(usb.SetRateAndPressureUnit(0xF000, 112));
    EXPECT_TRUE(logger.TransfersOf(logger::ReqPressureUnit).empty());
    logger.ClearFaults();
    logger.StallNext(2, logger::ReqPressureUnit);
    EXPECT_FALSE(usb.SetRateAndPressureUnit(0xF000, 112));  // the unit failed: the whole command failed
}

TEST_F(TransportTest, LiveReplyShorterThanItsCountTakesOnlyWhatArrived) {
    emu::EmulatedLogger& logger = harness->AddLogger();
    VextUSB usb;
    std::vector<RawSample> ten;
    for (int i = 0; i < 10; ++i)
        ten.push_back({static_cast<std::uint16_t>(100 + i), static_cast<std::uint16_t>(500 + i)});
    logger.QueueLiveSamples(ten);
    ASSERT_TRUE(usb.SetLiveMode(true));  // live mode starts with an empty queue
    logger.QueueLiveSamples(ten);
    const std::uint8_t* reply = usb.ReadLiveValues();
    ASSERT_NE(reply, nullptr);
    EXPECT_EQ(DecodeLiveReply(reply, usb.LastTransferLength()), ten);

    // Two samples arrive, the count byte claims 30 bytes: the buffer still holds the ten above.
    logger.QueueLiveSamples({{7, 8}, {9, 10}});
    logger.OverstateLiveCount(30);
    reply = usb.ReadLiveValues();
    ASSERT_NE(reply, nullptr);
    EXPECT_EQ(usb.LastTransferLength(), 7);
    EXPECT_EQ(reply[0], 30);
    EXPECT_EQ(DecodeLiveReply(reply, usb.LastTransferLength()), (std::vector<RawSample>{{7, 8}, {9, 10}}));

    // Nothing queued: count byte 0, no samples.
    reply = usb.ReadLiveValues();
    ASSERT_NE(reply, nullptr);
    EXPECT_TRUE(DecodeLiveReply(reply, usb.LastTransferLength()).empty());
}

TEST_F(TransportTest, ReportUsbFailureAsksTheLoggerWhy) {
    emu::EmulatedLogger& logger = harness->AddLogger();
    VextUSB usb;
    logger.SetErrorCode(17);
    ReportUsbFailure(usb);
    logger.SetErrorCode(0);
    ReportUsbFailure(usb);
    harness->Unplug(logger);
    ReportUsbFailure(usb);
    ReportUsbFailure(usb);
    EXPECT_EQ(log.errors, (std::vector<std::string>{
                              "Lesen fehlgeschlagen Fehlercode: 17", "USB-Verbindung fehlgeschlagen",
                              "USB-Verbindung fehlgeschlagen", "USB-Verbindung fehlgeschlagen"}));
}

}  // namespace
