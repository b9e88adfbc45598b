// What only the emulated bus can show: how often the link opens, closes and searches.
#include "bus_fixture.h"

#include "device/protocol.h"

namespace {

TEST_F(BusTest, NothingIsOpenedWithoutALogger) {
    bus.AddOtherDevice(0x046D, 0xC077);
    VextUSB usb;
    std::uint8_t data[4];
    EXPECT_EQ(usb.ReadStatus(), nullptr);
    EXPECT_FALSE(usb.ReadMemory(0, 4, data));
    EXPECT_FALSE(usb.SetClockDate(1, 1, 1));
    EXPECT_EQ(bus.Opens(), 0);
    EXPECT_EQ(bus.Searches(), 3);  // each operation searched once
}

TEST_F(BusTest, SearchOnlyWhenNothingIsRemembered) {
    bus.AddLogger(clock);
    VextUSB a, b, c;
    EXPECT_EQ(bus.Searches(), 0);  // construction touches nothing
    for (int i = 0; i < 3; ++i)
        EXPECT_NE(a.ReadStatus(), nullptr);
    EXPECT_EQ(bus.Searches(), 1);
    EXPECT_EQ(bus.Opens(), 4);  // the search's, then one per operation
    std::vector<std::uint8_t> data(1000);
    EXPECT_TRUE(a.ReadMemory(0, 1000, data.data()));
    EXPECT_EQ(bus.Opens(), 5);  // one open around all eight chunks
}

TEST_F(BusTest, BusOrderThenDeviceOrder) {
    bus.AddLogger(clock, 0x0401, 2);
    bus.AddLogger(clock, 0x0402, 1);
    bus.AddLogger(clock, 0x0403, 1);
    VextUSB usb;
    const std::uint8_t* firmware = usb.ReadFirmwareVersion();
    ASSERT_NE(firmware, nullptr);
    EXPECT_EQ(FirmwareWord(firmware), 0x0402);  // bus 1 comes first, and its first logger
}

TEST_F(BusTest, RefusedOpenForgetsTheLoggerAndReportsStatus0) {
    emu::EmulatedLogger& first = bus.AddLogger(clock, 0x0401);
    bus.AddLogger(clock, 0x0402);
    VextUSB usb;
    ASSERT_TRUE(usb.FindDevice());
    first.FailNextOpen();
    EXPECT_EQ(usb.ReadRequest(logger::ReqStatus, 0, 0, 7, 500), VextUSB::StatusOpenFailed);
    EXPECT_TRUE(first.TransfersOf(logger::ReqStatus).empty());
    // Still on the bus and first in order: the next search finds it again.
    const std::uint8_t* firmware = usb.ReadFirmwareVersion();
    ASSERT_NE(firmware, nullptr);
    EXPECT_EQ(FirmwareWord(firmware), 0x0401);
    EXPECT_EQ(bus.Searches(), 2);
    // FindDevice is true even when the logger it found cannot be opened.
    first.FailNextOpen();
    EXPECT_TRUE(usb.FindDevice());
}

}  // namespace
