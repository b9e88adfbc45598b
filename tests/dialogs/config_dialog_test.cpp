#include "support/gui_testing.h"

#include "app/app_settings.h"
#include "dialogs/config_dialog.h"
#include "emulator/emulated_usb_bus.h"

#include <wx/button.h>
#include <wx/datetime.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

#include <cstdlib>

namespace {

const char* const ConfirmText =
    "Configuring the logger clears its memory: all recordings on the logger will be erased.\nContinue?";

class ConfigTest : public ::testing::Test {
protected:
    void SetUp() override {
        AppSettings = SettingsRecord{};
        SettingsBlock b = logger.Settings();
        b.sampleRateRegister = 0xE000;
        b.stateFlags = 3;
        b.pressureUnit = 112;
        b.serialNumber = 2417;
        b.manufactureDate[0] = 0x12;
        b.manufactureDate[1] = 0x09;
        b.manufactureDate[2] = 0x22;
        b.flowOnThreshold = 80;
        b.flowOnDelay = 3;
        b.flowOffThreshold = 20;
        b.flowOffDelay = 4;
        b.pressureScale = 2;
        b.pressureZero = 104;
        b.pressureScaleFine = 26;
        b.filterMedian = 3;
        b.flowClamp = 30;
        logger.SetSettings(b);
        logger.AddEvent({2023, 3, 20, 9, 0, 0}, {{100, 300}, {110, 301}});
        logger.SetClock({2023, 3, 24, 13, 5, 9});
        SetCurrentUsbBus(&bus);
    }
    void TearDown() override {
        SetCurrentUsbBus(nullptr);
        EXPECT_EQ(bus.OpenHandles(), 0);
        AppSettings = SettingsRecord{};
    }

    emu::ManualClock clock;
    emu::EmulatedUsbBus bus;
    emu::EmulatedLogger& logger = bus.AddLogger(clock, logger::FirmwareLongBlock);
    LogCapture log;
};

TEST_F(ConfigTest, BuiltWithItsTextsAndSendsNothing) {
    logger.ClearTransfers();
    Config d(nullptr);
    EXPECT_EQ(d.GetTitle().utf8_string(), "Device Settings");
    EXPECT_EQ(d.SetupButton()->GetLabel().utf8_string(), "Configure TOC and RTC");
    EXPECT_EQ(d.MedianText()->GetValue().utf8_string(), "3");
    EXPECT_EQ(d.ClampText()->GetValue().utf8_string(), "30");
    EXPECT_EQ(d.ZeroText()->GetValue().utf8_string(), "104");
    EXPECT_EQ(d.RoughText()->GetValue().utf8_string(), "2");
    EXPECT_EQ(d.FineText()->GetValue().utf8_string(), "26");
    EXPECT_EQ(d.AdcLabel()->GetLabel().utf8_string(), "ADC value");
    EXPECT_EQ(d.CloseButton()->GetId(), wxID_CANCEL);
    EXPECT_TRUE(logger.Transfers().empty());
}

TEST_F(ConfigTest, MedianAndClamp) {
    Config d(nullptr);
    d.MedianText()->SetValue(U8("20"));
    d.ClampText()->SetValue(U8("250"));
    Press(d.FilterButton());
    EXPECT_EQ(Utf8(log.Messages()),
              (std::vector<std::string>{"Setting median crop to 20", "Setting clamp  to 250"}));
    EXPECT_EQ(logger.Settings().filterMedian, 20);
    EXPECT_EQ(logger.Settings().flowClamp, 250);

    logger.ClearTransfers();
    log.Clear();
    d.MedianText()->SetValue(U8("21"));
    Press(d.FilterButton());
    d.MedianText()->SetValue(U8("5"));
    d.ClampText()->SetValue(U8("251"));
    Press(d.FilterButton());
    EXPECT_EQ(Utf8(log.Messages()), (std::vector<std::string>{"Too big!", "Clamp very big. Not setting it"}));
    EXPECT_TRUE(logger.Transfers().empty());
    EXPECT_TRUE(log.Errors().empty());
}

TEST_F(ConfigTest, PressureCalibrationAndConverter) {
    Config d(nullptr);
    d.ZeroText()->SetValue(U8("200"));
    d.FineText()->SetValue(U8("255"));
    d.RoughText()->SetValue(U8("255"));
    Press(d.CalibrationButton());
    EXPECT_EQ(Utf8(log.Messages()), (std::vector<std::string>{"Setting Zero pressure pt to 200",
                                                              "Setting fine adjustment scale to 255",
                                                              "Setting rough adjustment scale to 255"}));
    SettingsBlock b = logger.Settings();
    EXPECT_EQ(b.pressureZero, 200);
    EXPECT_EQ(b.pressureScaleFine, 255);
    EXPECT_EQ(b.pressureScale, 255);

    logger.ClearTransfers();
    log.Clear();
    d.FineText()->SetValue(U8("0"));
    Press(d.CalibrationButton());
    d.FineText()->SetValue(U8("fein"));
    Press(d.CalibrationButton());
    EXPECT_EQ(Utf8(log.Messages()), (std::vector<std::string>{"Fine adjustment values outside range",
                                                              "Fine adjustment values outside range"}));
    EXPECT_TRUE(logger.Transfers().empty());

    logger.SetPressureAdc(0x0312);
    Press(d.ConverterButton());
    EXPECT_EQ(d.AdcLabel()->GetLabel().utf8_string(), "786");
}

TEST_F(ConfigTest, DumpOfLongAndShortBlocks) {
    AppSettings.firmwareVersion = 0x0403;
    Config d(nullptr);
    Press(d.DumpButton());
    EXPECT_EQ(d.ContentsText()->GetValue().utf8_string(),
              "Firmware Version: \t 403\n"
              "Sample Rate \t e000 -> 20\n"
              "File Count \t 1\n"
              "State   \t \t 3\n"
              "Flow On    \t 80 \n"
              "Delay On    \t 3 \n"
              "Flow Off   \t 20 \n"
              "Delay Off \t 4 \n"
              "Pressure Unit \t 112 PSI\n"
              "Pressure Scale \t 2 \n"
              "Pressure Zero \t 104 \n"
              "Filter Median \t 3 \n"
              "Flow Clamp \t 30 \n"
              "Display Alternation \t 0 \n"
              "Volume Range \t 0 \n"
              "Serial no. \t 2417 \n"
              "Manufacture \t 12:9:22 \n"
              "\nRTC Current Time: \t 13:5:9  24:3:23 \n"
              "Clock Configure \t 0 0 \n");
    EXPECT_TRUE(log.All().empty());

    // A logger with the short block: no serial number or manufacture lines, and a second dump
    // replaces the first.
    logger.SetFirmwareWord(0x0402);
    Press(d.DumpButton());
    std::string dump = d.ContentsText()->GetValue().utf8_string();
    EXPECT_TRUE(dump.starts_with("Firmware Version: \t 402\nSample Rate"));
    EXPECT_EQ(dump.find("Serial no."), std::string::npos);
    EXPECT_EQ(dump.find("Manufacture"), std::string::npos);
    EXPECT_NE(dump.find("Volume Range \t 0 \n\nRTC Current Time: \t 13:5:9  24:3:23 \n"), std::string::npos);
}

// The set-up's and the dump's failures, step by step, are the fault sweep's.
TEST_F(ConfigTest, WithoutLoggerEveryButtonReportsItsFailure) {
    SetCurrentUsbBus(nullptr);
    Config d(nullptr);
    Press(d.FilterButton());
    Press(d.CalibrationButton());
    EXPECT_EQ(Utf8(log.Messages()),
              (std::vector<std::string>{
                  "Setting median crop to 3", "Setting clamp  to 30", "Failed to set Median and Clamp",
                  "Setting Zero pressure pt to 104", "Setting fine adjustment scale to 26",
                  "Setting rough adjustment scale to 2", "Failed to set Pressure Calibration!"}));

    log.Clear();
    Press(d.ConverterButton());
    EXPECT_EQ(d.AdcLabel()->GetLabel().utf8_string(), "ADC value");
    EXPECT_TRUE(log.All().empty());
}

TEST_F(ConfigTest, SetupAsksBeforeItErasesTheLogger) {
    Config d(nullptr);
    logger.ClearTransfers();
    wxTEST_DIALOG(Press(d.SetupButton()),
                  ExpectMessage(wxID_CANCEL, U8(ConfirmText), U8("Configure TOC and RTC")));
    EXPECT_TRUE(logger.Transfers().empty()) << "Cancel sends nothing";
    EXPECT_EQ(logger.EventCount(), 1);

    wxTEST_DIALOG(Press(d.SetupButton()),
                  ExpectMessage(wxID_OK, U8(ConfirmText), U8("Configure TOC and RTC")));
    EXPECT_TRUE(log.Errors().empty());
    EXPECT_EQ(Utf8(log.Messages()), (std::vector<std::string>{"Clock Configure: 0"}));
    SettingsBlock b = logger.Settings();
    EXPECT_EQ(logger.EventCount(), 0);
    EXPECT_EQ(b.sampleRateRegister, 0xF000);
    EXPECT_EQ(b.pressureUnit, 98);
    EXPECT_FALSE(b.AutoLogging());
    EXPECT_EQ(b.flowOnThreshold, 50);
    EXPECT_EQ(b.flowOnDelay, 2);
    EXPECT_EQ(b.flowOffThreshold, 30);
    EXPECT_EQ(b.flowOffDelay, 10);
    EXPECT_EQ(logger.ClockConfigHigh(), 171);
    // The clock now runs on the computer's time.
    emu::CivilTime t = logger.ClockNow();
    wxDateTime logged(
        static_cast<wxDateTime::wxDateTime_t>(t.day), static_cast<wxDateTime::Month>(t.month - 1), t.year,
        static_cast<wxDateTime::wxDateTime_t>(t.hour), static_cast<wxDateTime::wxDateTime_t>(t.minute),
        static_cast<wxDateTime::wxDateTime_t>(t.second));
    EXPECT_LT(std::llabs((wxDateTime::Now() - logged).GetSeconds().GetValue()), 120);
    int weekday = wxDateTime::Now().GetWeekDay() == wxDateTime::Sun ? 7 : wxDateTime::Now().GetWeekDay();
    EXPECT_EQ(logger.ClockRegistersNow().weekday, weekday);
}

}  // namespace

namespace {

// The set-up copies the computer's clock: it keeps the logger's own bits of register 3, refuses
// a computer year the logger cannot hold, and reports a failed clock read, time or date write.
TEST_F(ConfigTest, SetupClockKeepsTheLoggersBitsAndReportsEveryFailure) {
    struct Case {
        const char* name;
        wxDateTime computer;
        std::uint8_t registerBefore, registerAfter;
        std::function<void(emu::EmulatedLogger&)> fault;
        std::vector<std::string> errors;
        bool timeWritten, dateWritten;
    };
    const wxDateTime wednesday(14, wxDateTime::Feb, 2024, 10, 20, 30);
    const wxDateTime sunday(27, wxDateTime::Dec, 2099, 23, 59, 58);
    const auto none = [](emu::EmulatedLogger&) {};
    const std::vector<std::string> failed = {"Clock Time Change failed"};
    const Case cases[] = {
        {"weekday bits only", wednesday, 0x28, 0x2B, none, {}, true, true},
        {"all bits set", sunday, 0xFF, 0xFF, none, {}, true, true},
        {"no bits set", wednesday, 0x00, 0x03, none, {}, true, true},
        {"year 1999", wxDateTime(31, wxDateTime::Dec, 1999, 12, 0, 0), 0x21, 0x21, none, failed, false,
         false},
        {"year 2100", wxDateTime(1, wxDateTime::Jan, 2100, 12, 0, 0), 0x21, 0x21, none, failed, false, false},
        {"date stalls", wednesday, 0x21, 0x23, [](auto& l) { l.StallNext(1, logger::ReqSetClockDate); },
         failed, true, false},
        {"date times out", wednesday, 0x21, 0x23, [](auto& l) { l.TimeOutNext(1, logger::ReqSetClockDate); },
         failed, true, false},
        {"time stalls", wednesday, 0x21, 0x21, [](auto& l) { l.StallNext(1, logger::ReqSetClockTime); },
         failed, false, true},
        {"clock unreadable", wednesday, 0x21, 0x21, [](auto& l) { l.StallNext(2, logger::ReqReadClock); },
         failed, false, true},
    };
    Config d(nullptr);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const emu::CivilTime before{2023, 3, 24, 13, 5, 9};
        logger.SetClock(before, c.registerBefore);
        d.SetComputerClock([&] { return c.computer; });
        logger.ClearTransfers();
        log.Clear();
        c.fault(logger);
        wxTEST_DIALOG(Press(d.SetupButton()),
                      ExpectMessage(wxID_OK, U8(ConfirmText), U8("Configure TOC and RTC")));
        EXPECT_EQ(Utf8(log.Errors()), c.errors);
        EXPECT_FALSE(logger.FaultsPending());
        EXPECT_EQ(logger.ClockRegistersNow().weekday, c.registerAfter);
        const emu::CivilTime now = logger.ClockNow();
        const emu::CivilTime computer{c.computer.GetYear(),   c.computer.GetMonth() + 1,
                                      c.computer.GetDay(),    c.computer.GetHour(),
                                      c.computer.GetMinute(), c.computer.GetSecond()};
        EXPECT_EQ(now.hour == computer.hour && now.minute == computer.minute && now.second == computer.second,
                  c.timeWritten);
        EXPECT_EQ(now.year == computer.year && now.month == computer.month && now.day == computer.day,
                  c.dateWritten);
        if (!c.timeWritten && !c.dateWritten) {
            EXPECT_EQ(now, before);
        }
    }
}

}  // namespace
