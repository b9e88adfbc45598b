// What only the real libusb 0.1 path can show: the library's own search and device list.
#include "device/libusb_bus.h"
#include "device/protocol.h"
#include "harness.h"

namespace {

TEST_F(TransportTest, LibUsbListsTheLoggerByItsNodeAndIds) {
    emu::EmulatedLogger& logger = harness->AddLogger(0x0403);
    harness->AddOtherDevice(0x046D, 0xC077);
    UsbBus& bus = LibUsbBus();
    bus.Init();
    bus.FindBusses();
    bus.FindDevices();
    bool seen = false;
    for (const UsbDeviceEntry& e : bus.GetBusses()) {
        if (e.vendorId == 0x04D8 && e.productId == 0xFFFD) {
            EXPECT_EQ(e.busName, "001");
            EXPECT_EQ(std::stoi(e.deviceName), logger.DeviceNumber());
            seen = true;
        }
    }
    EXPECT_TRUE(seen);
    VextUSB usb;
    const std::uint8_t* firmware = usb.ReadFirmwareVersion();
    ASSERT_NE(firmware, nullptr);
    EXPECT_EQ(FirmwareWord(firmware), 0x0403);
}

TEST_F(TransportTest, ReplugUnderANewNumberIsFoundWithoutRestart) {
    emu::EmulatedLogger& logger = harness->AddLogger();
    VextUSB usb;
    ASSERT_NE(usb.ReadStatus(), nullptr);
    std::string before = harness->Bus().lastOpened;
    for (int round = 0; round < 3; ++round) {
        SCOPED_TRACE(round);
        harness->Unplug(logger);
        harness->Replug(logger);
        // The old node is gone: usb_open still hands out a handle, the transfer finds nothing.
        EXPECT_EQ(usb.ReadRequest(logger::ReqStatus, 0, 0, 7, 500), VextUSB::StatusOpenFailed);
        EXPECT_EQ(usb.ReadRequest(logger::ReqStatus, 0, 0, 7, 500), VextUSB::StatusDone);
        EXPECT_NE(harness->Bus().lastOpened, before);
        before = harness->Bus().lastOpened;
        VextUSB fresh;  // a link made now finds it at once
        EXPECT_NE(fresh.ReadStatus(), nullptr);
        EXPECT_EQ(harness->Bus().lastOpened, before);
    }
}

TEST_F(TransportTest, SearchByOneLinkWhileOthersRememberTheLogger) {
    // libusb frees the record of a device that went away at the next search; the links must not
    // hold on to it. Under AddressSanitizer a kept record shows as a use after free.
    emu::EmulatedLogger& logger = harness->AddLogger();
    VextUSB main, dialog, service;
    ASSERT_NE(main.ReadStatus(), nullptr);
    ASSERT_NE(dialog.ReadStatus(), nullptr);
    harness->Unplug(logger);
    harness->Replug(logger);
    ASSERT_NE(service.ReadStatus(), nullptr);  // its search drops the old record
    const std::string found = harness->Bus().lastOpened;
    std::vector<std::uint8_t> data(300);
    EXPECT_FALSE(main.ReadMemory(0, 300, data.data()));
    EXPECT_TRUE(main.ReadMemory(0, 300, data.data()));
    EXPECT_EQ(harness->Bus().lastOpened, found);
    EXPECT_EQ(dialog.ReadLiveValues(), nullptr);
    EXPECT_NE(dialog.ReadLiveValues(), nullptr);
    EXPECT_EQ(harness->Bus().lastOpened, found);

    // Gone for good: each link reports it once, then finds nothing.
    harness->Unplug(logger);
    EXPECT_EQ(service.ReadStatus(), nullptr);
    EXPECT_TRUE(Searched([&] { EXPECT_EQ(service.ReadStatus(), nullptr); }));
    EXPECT_FALSE(main.SetLiveMode(false));
    EXPECT_FALSE(dialog.SetClockDate(1, 1, 0x24));
    EXPECT_EQ(main.ReadRequest(logger::ReqStatus, 0, 0, 7, 500), VextUSB::StatusNoDevice);
}

}  // namespace
