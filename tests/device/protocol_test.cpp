#include "device/protocol.h"
#include "emulator/memory_layout.h"

#include <gtest/gtest.h>

namespace {

TEST(Protocol, FirmwareWordSelectsTheBlockLength) {
    const std::uint8_t current[2] = {0x03, 0x04};
    const std::uint8_t older[2] = {0x02, 0x04};
    const std::uint8_t swapped[2] = {0x04, 0x03};
    EXPECT_EQ(FirmwareWord(current), 0x0403);
    EXPECT_EQ(SettingsBlockLength(FirmwareWord(current)), 41);
    EXPECT_EQ(SettingsBlockLength(FirmwareWord(older)), 21);
    EXPECT_EQ(SettingsBlockLength(FirmwareWord(swapped)), 21);
    EXPECT_EQ(FirmwareWord(nullptr), 0);  // a failed read
    EXPECT_EQ(SettingsBlockLength(0), 21);
}

TEST(Protocol, SettingsBlockFieldsAtTheirOffsets) {
    std::uint8_t raw[41];
    for (int i = 0; i < 41; ++i)
        raw[i] = static_cast<std::uint8_t>(0x10 + i);
    SettingsBlock b = DecodeSettingsBlock(raw, 41);
    EXPECT_TRUE(b.isLong);
    EXPECT_EQ(b.sampleRateRegister, 0x1110);
    EXPECT_EQ(b.eventCount, 0x1312);
    EXPECT_EQ(b.stateFlags, 0x14);
    EXPECT_EQ(b.flowOnThreshold, 0x1615);
    EXPECT_EQ(b.flowOnDelay, 0x1817);
    EXPECT_EQ(b.flowOffThreshold, 0x1A19);
    EXPECT_EQ(b.flowOffDelay, 0x1C1B);
    EXPECT_EQ(b.pressureScale, 0x1D);
    EXPECT_EQ(b.pressureZero, 0x1E);
    EXPECT_EQ(b.pressureScaleFine, 0x1F);
    EXPECT_EQ(b.filterMedian, 0x20);
    EXPECT_EQ(b.flowClamp, 0x21);
    EXPECT_EQ(b.displayAlternation, 0x22);
    EXPECT_EQ(b.pressureUnit, 0x23);
    EXPECT_EQ(b.volumeRange, 0x24);
    EXPECT_EQ(b.serialNumber, 0x2625);
    EXPECT_EQ(b.manufactureDate[0], 0x27);
    EXPECT_EQ(b.manufactureDate[2], 0x29);
    EXPECT_EQ(b.flowUnitMarker, 0x31);
    EXPECT_EQ(b.flowUnitCode, 0x32);
    // The logger's own layout gives the same bytes back where fields are.
    std::vector<std::uint8_t> again = emu::layout::SettingsBlockBytes(b, 41);
    for (int i : {0, 4, 12, 20, 21, 25, 33, 34})
        EXPECT_EQ(again[i], raw[i]) << i;

    // The short block knows nothing from offset 21 on, whatever the bytes there hold.
    SettingsBlock s = DecodeSettingsBlock(raw, 21);
    EXPECT_FALSE(s.isLong);
    EXPECT_EQ(s.volumeRange, 0x24);
    EXPECT_EQ(s.serialNumber, 0);
    EXPECT_EQ(s.flowUnitMarker, 0);
}

TEST(Protocol, PrescribedFlowUnit) {
    struct Case {
        bool isLong;
        int marker, code;
        int flowUnit;
        bool fixed;
    };
    const Case cases[] = {
        {true, 5, 1, 0, true},  {true, 5, 2, 1, true},   {true, 5, 4, 2, true},
        {true, 5, 8, 3, true},  {true, 5, 3, 1, true},  // unknown code: unit kept, still prescribed
        {true, 4, 4, 1, false}, {false, 5, 4, 1, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.isLong << " " << c.marker << " " << c.code);
        std::uint8_t raw[41] = {};
        raw[33] = static_cast<std::uint8_t>(c.marker);
        raw[34] = static_cast<std::uint8_t>(c.code);
        SettingsBlock b = DecodeSettingsBlock(raw, c.isLong ? 41 : 21);
        SettingsRecord in;
        in.flowUnit = 1;
        in.flowUnitFixed = !c.fixed;
        in.pressureUnit = 16;
        SettingsRecord out = ApplyFlowUnitOption(in, b);
        EXPECT_EQ(out.flowUnit, c.flowUnit);
        EXPECT_EQ(out.flowUnitFixed, c.fixed);
        EXPECT_EQ(out.pressureUnit, 16);
    }
}

TEST(Protocol, RefreshSettingsFromBlock) {
    SettingsBlock b;
    b.isLong = true;
    b.stateFlags = 0x02;  // US gallons, automatic logging
    b.pressureUnit = 112;
    b.serialNumber = 4711;
    b.flowUnitMarker = 5;
    b.flowUnitCode = 8;
    SettingsRecord s;
    s.serialNumber = 99;
    RefreshSettingsFromBlock(s, b, 0x0403);
    EXPECT_EQ(s.unitSystem, 0);
    EXPECT_EQ(s.pressureUnit, 112);
    EXPECT_EQ(s.firmwareVersion, 0x0403);
    EXPECT_EQ(s.serialNumber, 4711);
    EXPECT_EQ(s.flowUnit, 3);
    EXPECT_TRUE(s.flowUnitFixed);

    b.isLong = false;
    b.stateFlags = 0x01;
    s.serialNumber = 99;
    RefreshSettingsFromBlock(s, b, 0x0402);
    EXPECT_EQ(s.unitSystem, 1);
    EXPECT_EQ(s.serialNumber, 99);  // a short block has none
    EXPECT_EQ(s.firmwareVersion, 0x0402);
    EXPECT_FALSE(s.flowUnitFixed);
}

TEST(Protocol, SampleRateRegister) {
    struct Case {
        int tenths;
        std::uint16_t reg;
        int ms;
    };
    const Case cases[] = {
        {1, 0xFE67, 100}, {3, 0xFB34, 300}, {10, 0xF000, 1000}, {50, 0xB000, 5000}, {160, 0x0000, 16000},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.tenths);
        EXPECT_EQ(RegisterFromTenths(c.tenths), c.reg);
        EXPECT_EQ(IntervalMsFromRegister(c.reg), c.ms);
        EXPECT_EQ(IntervalTenthsFromRegister(c.reg), c.tenths);
    }
    EXPECT_EQ(RegisterFromTenths(159), 0x019A);
    EXPECT_EQ(IntervalMsFromRegister(0xFFFF), 1);
}

TEST(Protocol, RemainingRecordingTime) {
    EXPECT_EQ(RemainingSeconds(0, 0xF000), 0);
    // 3000 bytes = 1000 samples of 1 s
    EXPECT_EQ(RemainingSeconds(3000, 0xF000), 1000);
    // floating point without rounding between: 1 sample of 16001 ms
    EXPECT_EQ(RemainingSeconds(3, 0x0000), 16);
    EXPECT_EQ(RemainingSeconds(0xFFFFFF, 0x0000), 89482707);  // 5592405 samples of 16000.76 ms
}

TEST(Protocol, RawSamplesAndLiveReply) {
    const std::uint8_t bytes[3] = {0x34, 0xC2, 0x05};
    RawSample s = DecodeRawSample(bytes);
    EXPECT_EQ(s.flow, 564);
    EXPECT_EQ(s.pressure, 773);
    for (RawSample r :
         {RawSample{0, 0}, RawSample{16383, 1023}, RawSample{564, 773}, RawSample{0x2AAA, 0x155}}) {
        EXPECT_EQ(DecodeRawSample(emu::layout::SampleBytes(r).data()), r);
    }

    std::uint8_t reply[223] = {};
    reply[0] = 7;
    reply[1] = 0x34;
    reply[2] = 0xC2;
    reply[3] = 0x05;
    reply[4] = 0x01;
    EXPECT_EQ(DecodeLiveReply(reply, 223).size(), 2u);  // the stray byte is ignored
    EXPECT_EQ(DecodeLiveReply(reply, 223)[0], (RawSample{564, 773}));
    reply[0] = 0;
    EXPECT_TRUE(DecodeLiveReply(reply, 223).empty());
    reply[0] = 255;  // more than a reply can hold
    EXPECT_EQ(DecodeLiveReply(reply, 223).size(), 74u);
    EXPECT_EQ(DecodeLiveReply(reply, 10).size(), 3u);  // only what arrived
    EXPECT_TRUE(DecodeLiveReply(reply, 0).empty());
    EXPECT_TRUE(DecodeLiveReply(reply, -32).empty());
}

TEST(Protocol, BcdAndEventDates) {
    // Each decimal digit in its own nibble; a nibble above 9 is no number.
    for (int n = 0; n < 100; ++n) {
        EXPECT_EQ(ToBcd(n), n / 10 * 16 + n % 10);
        EXPECT_EQ(BcdValue(static_cast<std::uint8_t>(n / 10 * 16 + n % 10)), n);
    }
    EXPECT_EQ(BcdValue(0x5A), std::nullopt);
    EXPECT_EQ(BcdValue(0xA5), std::nullopt);

    const std::uint8_t entry[9] = {0x02, 0x07, 0x09, 0x05, 0x03, 0x23, 0x15, 0x01, 0x01};
    EventEntry e = DecodeEventEntry(entry);
    EXPECT_EQ(e.endAddress, 0x010115u);
    EXPECT_EQ(FormatEventDate(e).utf8_string(), "5/03/2023 9:07:02");
    e.day = 0x24;
    e.hours = 0x13;
    e.minutes = 0x59;
    e.month = 0x12;
    EXPECT_EQ(FormatEventDate(e).utf8_string(), "24/12/2023 13:59:02");
    const auto out = emu::layout::EventEntryBytes(DecodeEventEntry(entry));
    EXPECT_TRUE(std::equal(out.begin(), out.end(), entry));
}

TEST(Protocol, StatusAndClockRecords) {
    const std::uint8_t status[7] = {0x56, 0x34, 0x01, 0x75, 0x00, 0x00, 0xF0};
    DeviceStatus s = DecodeStatus(status);
    EXPECT_EQ(s.freeBytes, 0x013456u);
    EXPECT_EQ(s.batteryReading, 117);
    EXPECT_EQ(s.sampleRateRegister, 0xF000);
    const std::uint8_t clock[8] = {0x09, 0x05, 0x13, 0x21, 0x24, 0x03, 0x23, 0x80};
    ClockRegisters c = DecodeClockRegisters(clock);
    EXPECT_EQ(c.hours, 0x13);
    EXPECT_EQ(c.weekday, 0x21);
    EXPECT_EQ(c.year, 0x23);
    EXPECT_EQ(c.control, 0x80);
}

}  // namespace
