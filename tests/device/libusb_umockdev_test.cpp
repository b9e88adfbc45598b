// The transport over the real libusb 0.1 library, talking to emulated loggers that umockdev
// presents as USB devices. Runs under umockdev-wrapper.
#include "bus_fixture.h"
#include "device/libusb_bus.h"
#include "device/protocol.h"
#include "usb_testbed.h"

#include <cerrno>

namespace {

using Status = VextUSB::Status;

class LibUsbTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!UsbTestbed::InMockEnvironment())
            GTEST_SKIP() << "not running under umockdev-wrapper";
        SetCurrentUsbBus(&LibUsbBus());
    }
    void TearDown() override {
        if (!UsbTestbed::InMockEnvironment())
            return;
        UsbTestbed::Instance().RemoveAll();
        LibUsbBus().FindDevices();  // libusb forgets them before the next test
        SetCurrentUsbBus(nullptr);
    }
    emu::EmulatedLogger& AddLogger(int firmware = 0x0403, int busNumber = 1) {
        emu::EmulatedLogger& l = factory.AddLogger(clock, firmware, busNumber);
        UsbTestbed::Instance().Plug(l);
        return l;
    }

    emu::ManualClock clock;
    emu::EmulatedUsbBus factory;  // owns the loggers and numbers the devices
    CapturedLog log;
};

TEST_F(LibUsbTest, FindsTheLoggerAndReadsItsFirmware) {
    emu::EmulatedLogger& logger = AddLogger(0x0403);
    VextUSB usb;
    ASSERT_TRUE(usb.FindDevice());
    EXPECT_EQ(usb.DeviceName(), "001/002");
    const std::uint8_t* fw = usb.ReadFirmwareVersion();
    ASSERT_NE(fw, nullptr);
    EXPECT_EQ(FirmwareWord(fw), 0x0403);
    EXPECT_FALSE(logger.Transfers().empty());
}

}  // namespace
