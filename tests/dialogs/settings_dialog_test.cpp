#include "support/gui_testing.h"

#include "app/app_settings.h"
#include "dialogs/settings_dialog.h"
#include "emulator/emulated_usb_bus.h"

#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/datectrl.h>
#include <wx/dateevt.h>
#include <wx/slider.h>
#include <wx/spinbutt.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>
#include <wx/uiaction.h>

namespace {

using Connection = SettingsDialog::Connection;

void Slide(SettingsDialog& d, int tenths) {
    d.IntervalSlider()->SetValue(tenths);
    wxScrollEvent e(wxEVT_SCROLL_THUMBTRACK, d.IntervalSlider()->GetId(), tenths);
    Send(d.IntervalSlider(), e);
}

void Spin(wxSpinButton* spin, bool up) {
    wxSpinEvent e(up ? wxEVT_SPIN_UP : wxEVT_SPIN_DOWN, spin->GetId());
    Send(spin, e);
}

void Tick(wxCheckBox* box, bool value) {
    box->SetValue(value);
    wxCommandEvent e(wxEVT_CHECKBOX, box->GetId());
    e.SetInt(value ? 1 : 0);
    Send(box, e);
}

void Download(SettingsDialog& d) {
    Press(d.DownloadButton());
}

void PickDate(SettingsDialog& d, const wxDateTime& date) {
    d.DatePicker()->SetValue(date);
    wxDateEvent e(d.DatePicker(), date, wxEVT_DATE_CHANGED);
    Send(d.DatePicker(), e);
}

// Typing into a threshold field: SetValue raises the text event as the keyboard would.
void Type(wxTextCtrl* field, const char* text) {
    field->SetValue(U8(text));
}

// Runs code that must not open any modal dialog: one would fail the test instead of waiting.
template <class Code>
void NoDialog(Code code) {
    ZpmTestingModalHook hook(__FILE__, __LINE__, "no dialog expected");
    code();
    hook.CheckUnmetExpectations();
}

std::string Text(wxTextCtrl* field) {
    return field->GetValue().utf8_string();
}

class SettingsDialogTest : public ::testing::Test {
protected:
    void SetUp() override {
        AppSettings = SettingsRecord{};
        SettingsBlock b = logger.Settings();
        b.sampleRateRegister = 0xF000;  // 1.0 s
        b.stateFlags = 3;               // metric, automatic logging on
        b.flowOnThreshold = 100;
        b.flowOnDelay = 5;
        b.flowOffThreshold = 50;
        b.flowOffDelay = 10;
        b.pressureUnit = 112;
        b.serialNumber = 2417;
        logger.SetSettings(b);
        logger.SetClock({2023, 3, 24, 13, 5, 9}, 0x05);
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

TEST_F(SettingsDialogTest, OpeningShowsWhatTheLoggerHolds) {
    SettingsDialog d(nullptr);
    EXPECT_EQ(d.GetTitle().utf8_string(), "Geräteeinstellungen");
    EXPECT_EQ(d.ConnectionShown(), Connection::Answered);
    EXPECT_EQ(d.IntervalTenths(), 10);
    EXPECT_EQ(d.IntervalSlider()->GetValue(), 10);
    EXPECT_EQ(Text(d.IntervalText()), "1.0");
    EXPECT_TRUE(d.PsiCheck()->GetValue());
    EXPECT_FALSE(d.BarCheck()->GetValue());
    EXPECT_TRUE(d.AutoLogCheck()->GetValue());
    EXPECT_TRUE(d.FlowOnText()->IsEnabled());
    EXPECT_EQ(Text(d.FlowOnText()), "100");
    EXPECT_EQ(Text(d.DelayOnText()), "5");
    EXPECT_EQ(Text(d.FlowOffText()), "50");
    EXPECT_EQ(Text(d.DelayOffText()), "10");
    EXPECT_EQ(d.FlowOnUnitLabel()->GetLabel().utf8_string(), " L/min");
    EXPECT_EQ(d.FlowOffUnitLabel()->GetLabel().utf8_string(), " L/min");
    EXPECT_EQ(Text(d.HoursText()), "13");
    EXPECT_EQ(Text(d.MinutesText()), "05");
    EXPECT_EQ(Text(d.SecondsText()), "9");
    wxDateTime date = d.DatePicker()->GetValue();
    EXPECT_EQ(date.GetDay(), 24);
    EXPECT_EQ(date.GetMonth(), wxDateTime::Mar);
    EXPECT_EQ(date.GetYear(), 2023);
    EXPECT_EQ(d.DeviceInfoLabel()->GetLabel().utf8_string(),
              "Geräteeinstellungen     Serial No: 2417Firmware Version: 4.3");
    // Opening writes nothing but the clock configuration, and changes nothing to be written.
    EXPECT_FALSE(d.ThresholdsChanged());
    EXPECT_FALSE(d.TimeChanged());
    EXPECT_FALSE(d.DateChanged());
    EXPECT_EQ(logger.ClockConfigLow(), 0);
    EXPECT_EQ(logger.ClockConfigHigh(), 171);
    // What every reading of the block teaches the program.
    EXPECT_EQ(AppSettings.firmwareVersion, 0x0403);
    EXPECT_EQ(AppSettings.pressureUnit, 112);
    EXPECT_EQ(AppSettings.unitSystem, 1);
    EXPECT_EQ(AppSettings.serialNumber, 2417);
    EXPECT_FALSE(AppSettings.flowUnitFixed);
    EXPECT_TRUE(log.All().empty());
}

TEST_F(SettingsDialogTest, UsLoggerWithoutAutomaticLoggingOnShortBlock) {
    logger.SetFirmwareWord(0x0402);
    SettingsBlock b = logger.Settings();
    b.stateFlags = 0;
    b.pressureUnit = 98;
    logger.SetSettings(b);
    SettingsDialog d(nullptr);
    EXPECT_EQ(d.FlowOnUnitLabel()->GetLabel().utf8_string(), "G/min");
    EXPECT_EQ(d.FlowOffUnitLabel()->GetLabel().utf8_string(), "G/min");
    EXPECT_FALSE(d.AutoLogCheck()->GetValue());
    for (wxTextCtrl* t : {d.FlowOnText(), d.FlowOffText(), d.DelayOnText(), d.DelayOffText()})
        EXPECT_FALSE(t->IsEnabled());
    EXPECT_FALSE(d.PsiCheck()->GetValue());
    EXPECT_TRUE(d.BarCheck()->GetValue());
    EXPECT_EQ(d.DeviceInfoLabel()->GetLabel().utf8_string(), "");
    EXPECT_EQ(AppSettings.unitSystem, 0);
    EXPECT_EQ(AppSettings.firmwareVersion, 0x0402);
    Tick(d.AutoLogCheck(), true);
    EXPECT_TRUE(d.FlowOnText()->IsEnabled());
    EXPECT_TRUE(d.ThresholdsChanged());
}

TEST_F(SettingsDialogTest, IntervalSliderAndSpinWriteTheRegister) {
    SettingsDialog d(nullptr);
    struct Case {
        int tenths;
        std::uint16_t reg;
        const char* shown;
    } cases[] = {{10, 0xF000, "1.0"}, {1, 0xFE67, "0.1"}, {159, 0x019A, "15.9"}, {50, 0xB000, "5.0"}};
    for (const Case& c : cases) {
        Slide(d, c.tenths);
        EXPECT_EQ(Text(d.IntervalText()), c.shown);
        EXPECT_TRUE(d.ThresholdsChanged());
        // Delays long enough for every interval, so the thresholds pass as well.
        Type(d.DelayOnText(), "20");
        Type(d.DelayOffText(), "20");
        NoDialog([&] { Download(d); });
        EXPECT_EQ(logger.Settings().sampleRateRegister, c.reg) << c.tenths;
        EXPECT_EQ(d.ConnectionShown(), Connection::Written);
    }

    Slide(d, 159);
    Spin(d.IntervalSpin(), true);
    EXPECT_EQ(d.IntervalTenths(), 159);
    EXPECT_EQ(d.RateRegister(), 0x019A);
    Spin(d.IntervalSpin(), false);
    EXPECT_EQ(d.IntervalTenths(), 158);
    EXPECT_EQ(Text(d.IntervalText()), "15.8");
    EXPECT_EQ(d.IntervalSlider()->GetValue(), 158);

    Slide(d, 1);
    Spin(d.IntervalSpin(), false);
    EXPECT_EQ(d.IntervalTenths(), 1);
    EXPECT_EQ(d.RateRegister(), 0xFE67);
    Spin(d.IntervalSpin(), true);
    EXPECT_EQ(d.IntervalTenths(), 2);
    EXPECT_EQ(Text(d.IntervalText()), "0.2");
    EXPECT_TRUE(log.Errors().empty());
}

TEST_F(SettingsDialogTest, ThresholdChecksOfDownload) {
    SettingsDialog d(nullptr);
    // 0.5 s and no delay pass.
    Slide(d, 5);
    Type(d.DelayOnText(), "0");
    Type(d.DelayOffText(), "0");
    NoDialog([&] { Download(d); });
    EXPECT_EQ(logger.Settings().flowOnDelay, 0);
    EXPECT_EQ(logger.Settings().flowOffDelay, 0);
    EXPECT_FALSE(d.ThresholdsChanged());

    // 2.0 s with a delay of 1 s is refused; the rate has been written all the same.
    logger.ClearTransfers();
    Slide(d, 20);
    Type(d.DelayOnText(), "1");
    Type(d.DelayOffText(), "5");
    wxTEST_DIALOG(
        Download(d),
        ExpectMessage(wxID_OK,
                      U8("Abtastrate muss verringert werden und diese Verzögerungseinstellung zu erreichen"),
                      U8("Message")));
    EXPECT_EQ(logger.Settings().sampleRateRegister, 0xE000);
    EXPECT_TRUE(logger.TransfersOf(logger::ReqFlowOnThreshold).empty());
    EXPECT_TRUE(d.ThresholdsChanged());

    // 0.3 s and 10 s: 33 samples, shown back as the 9 s the logger will wait.
    Slide(d, 3);
    Type(d.DelayOnText(), "10");
    Type(d.DelayOffText(), "10");
    NoDialog([&] { Download(d); });
    EXPECT_EQ(logger.Settings().flowOnDelay, 33);
    EXPECT_EQ(logger.Settings().flowOffDelay, 33);
    EXPECT_EQ(Text(d.DelayOnText()), "9");
    EXPECT_EQ(Text(d.DelayOffText()), "9");

    // Equal flows pass; off above on is refused.
    Slide(d, 10);
    Type(d.FlowOnText(), "100");
    Type(d.FlowOffText(), "100");
    NoDialog([&] { Download(d); });
    EXPECT_EQ(logger.Settings().flowOffThreshold, 100);
    Type(d.FlowOnText(), "50");
    Type(d.FlowOffText(), "60");
    wxTEST_DIALOG(Download(d),
                  ExpectMessage(wxID_OK, U8("Startwert für den Datenlogger muss größer sein als der Endwert"),
                                U8("Message")));
    EXPECT_EQ(logger.Settings().flowOnThreshold, 100);
    EXPECT_EQ(logger.Settings().flowOffThreshold, 100);

    // 2500 warns and is written.
    Type(d.FlowOnText(), "2500");
    Type(d.FlowOffText(), "60");
    wxTEST_DIALOG(Download(d), ExpectMessage(wxID_OK, U8("Achtung zu hohe Grenzwerte!"), U8("Message")));
    EXPECT_EQ(logger.Settings().flowOnThreshold, 2500);
    EXPECT_EQ(logger.Settings().flowOffThreshold, 60);

    // A non-numeric entry and one beyond 16 bits: typed again, nothing of the thresholds written.
    logger.ClearTransfers();
    Type(d.FlowOffText(), "zehn");
    wxTEST_DIALOG(Download(d), ExpectMessage(wxID_OK, U8("Wert neu eintippen"), U8("zehn")));
    Type(d.FlowOffText(), "30");
    Type(d.DelayOnText(), "70000");
    wxTEST_DIALOG(Download(d), ExpectMessage(wxID_OK, U8("Wert neu eintippen"), U8("70000")));
    EXPECT_TRUE(logger.TransfersOf(logger::ReqFlowOnThreshold).empty());
    EXPECT_TRUE(logger.TransfersOf(logger::ReqFlowOffThreshold).empty());
    EXPECT_TRUE(logger.TransfersOf(logger::ReqAutoLogging).empty());
    EXPECT_EQ(logger.Settings().flowOnThreshold, 2500);
    EXPECT_TRUE(log.Errors().empty());
}

TEST_F(SettingsDialogTest, WhatTheDialogWroteIsWhatTheLoggerHolds) {
    logger.SetClock({2023, 3, 24, 23, 0, 30}, 0x05);
    SettingsDialog d(nullptr);
    Slide(d, 25);
    Tick(d.BarCheck(), true);
    EXPECT_FALSE(d.PsiCheck()->GetValue());
    EXPECT_EQ(AppSettings.pressureUnit, 98);
    Spin(d.MinutesSpin(), false);  // 0x00 down: 0x59
    EXPECT_EQ(Text(d.MinutesText()), "59");
    Spin(d.HoursSpin(), true);  // 0x23 up: 0x00
    EXPECT_EQ(Text(d.HoursText()), "0");
    Spin(d.SecondsSpin(), true);
    EXPECT_EQ(Text(d.SecondsText()), "31");
    EXPECT_TRUE(d.TimeChanged());
    PickDate(d, wxDateTime(5, wxDateTime::Jun, 2024));
    EXPECT_TRUE(d.DateChanged());
    Type(d.FlowOnText(), "120");
    Type(d.FlowOffText(), "40");
    Type(d.DelayOnText(), "10");
    Type(d.DelayOffText(), "25");
    Tick(d.AutoLogCheck(), false);
    EXPECT_FALSE(d.FlowOnText()->IsEnabled());

    NoDialog([&] { Download(d); });
    EXPECT_TRUE(log.Errors().empty());
    EXPECT_FALSE(d.TimeChanged());
    EXPECT_FALSE(d.DateChanged());
    EXPECT_FALSE(d.ThresholdsChanged());

    SettingsBlock b = logger.Settings();
    EXPECT_EQ(b.sampleRateRegister, 0xD800);
    EXPECT_EQ(IntervalTenthsFromRegister(b.sampleRateRegister), 25);
    EXPECT_EQ(b.pressureUnit, 98);
    EXPECT_EQ(b.flowOnThreshold, 120);
    EXPECT_EQ(b.flowOnDelay, 4);
    EXPECT_EQ(b.flowOffThreshold, 40);
    EXPECT_EQ(b.flowOffDelay, 10);
    EXPECT_FALSE(b.AutoLogging());
    EXPECT_EQ(Text(d.DelayOnText()), "10");
    EXPECT_EQ(Text(d.DelayOffText()), "25");
    ClockRegisters c = logger.ClockRegistersNow();
    EXPECT_EQ(c.hours, 0x00);
    EXPECT_EQ(c.minutes, 0x59);
    EXPECT_EQ(c.seconds, 0x31);
    EXPECT_EQ(c.weekday, 0x05) << "the weekday register goes back as it was read";
    EXPECT_EQ(c.day, 0x05);
    EXPECT_EQ(c.month, 0x06);
    EXPECT_EQ(c.year, 0x24);

    // A second Download writes the rate and unit again and nothing else.
    logger.ClearTransfers();
    NoDialog([&] { Download(d); });
    EXPECT_EQ(logger.TransfersOf(logger::ReqSampleRate).size(), 1u);
    EXPECT_EQ(logger.TransfersOf(logger::ReqPressureUnit).size(), 1u);
    EXPECT_TRUE(logger.TransfersOf(logger::ReqSetClockTime).empty());
    EXPECT_TRUE(logger.TransfersOf(logger::ReqSetClockDate).empty());
    EXPECT_TRUE(logger.TransfersOf(logger::ReqFlowOnThreshold).empty());

    // Clicking the ticked psi box unticks it and still chooses psi.
    Tick(d.PsiCheck(), true);
    Tick(d.PsiCheck(), false);
    EXPECT_FALSE(d.BarCheck()->GetValue());
    EXPECT_EQ(d.PressureUnitCode(), 112);
    EXPECT_EQ(AppSettings.pressureUnit, 112);
}

TEST_F(SettingsDialogTest, WithoutLoggerOnlyCloseIsUseful) {
    SetCurrentUsbBus(nullptr);
    SettingsDialog d(nullptr);
    EXPECT_EQ(d.ConnectionShown(), Connection::NotAnswered);
    EXPECT_EQ(Text(d.IntervalText()), "10.0");
    EXPECT_EQ(d.IntervalTenths(), 100);
    EXPECT_FALSE(d.ThresholdsChanged());
    for (wxWindow* w : std::initializer_list<wxWindow*>{
             d.DownloadButton(), d.PsiCheck(), d.BarCheck(), d.IntervalSlider(), d.IntervalSpin(),
             d.IntervalText(), d.HoursText(), d.MinutesText(), d.SecondsText(), d.HoursSpin(),
             d.MinutesSpin(), d.SecondsSpin(), d.DatePicker(), d.AutoLogCheck(), d.FlowOnText(),
             d.FlowOffText(), d.DelayOnText(), d.DelayOffText()})
        EXPECT_FALSE(w->IsEnabled()) << w->GetName().utf8_string();
    EXPECT_TRUE(d.CloseButton()->IsEnabled());
    EXPECT_EQ(d.CloseButton()->GetId(), wxID_CANCEL);
    EXPECT_EQ(d.CloseButton()->GetLabel().utf8_string(), "Schließen");
    EXPECT_EQ(AppSettings.firmwareVersion, 0);
    EXPECT_TRUE(log.All().empty()) << "opening without a logger raises no message";
}

TEST_F(SettingsDialogTest, PrescribedFlowUnitLocksClockAndPressureUnit) {
    SettingsBlock b = logger.Settings();
    b.flowUnitMarker = 5;
    b.flowUnitCode = 4;
    logger.SetSettings(b);
    SettingsDialog d(nullptr);
    EXPECT_TRUE(AppSettings.flowUnitFixed);
    EXPECT_EQ(AppSettings.flowUnit, 2);
    for (wxWindow* w : std::initializer_list<wxWindow*>{d.DatePicker(), d.PsiCheck(), d.BarCheck(),
                                                        d.HoursText(), d.MinutesText(), d.SecondsText()})
        EXPECT_FALSE(w->IsEnabled()) << w->GetName().utf8_string();
    EXPECT_FALSE(d.PsiCheck()->IsShown());
    EXPECT_FALSE(d.BarCheck()->IsShown());
    EXPECT_TRUE(d.DownloadButton()->IsEnabled());
    EXPECT_TRUE(d.IntervalSlider()->IsEnabled());
    EXPECT_TRUE(d.FlowOnText()->IsEnabled());
}

// The arrows of a spin button through the window system: every click steps the field, also
// after many clicks one way (the native button must never run into the end of its own range).
TEST_F(SettingsDialogTest, RealClicksOnTheHourArrows) {
    logger.SetClock({2023, 3, 24, 22, 0, 0}, 0x05);
    SettingsDialog d(nullptr);
    d.Show();
    ASSERT_TRUE(PumpUntil([&] { return d.IsShownOnScreen(); }, 3000));
    PumpEvents(10);
    wxSpinButton* spin = d.HoursSpin();
    wxSize size = spin->GetSize();
    // A vertical arrow pair has "up" on top; the toolkit may lay the pair out side by side with
    // "up" on the right.
    wxPoint up = size.y > size.x ? wxPoint(size.x / 2, size.y / 4) : wxPoint(size.x * 3 / 4, size.y / 2);
    wxUIActionSimulator sim;
    ASSERT_TRUE(sim.MouseMove(spin->ClientToScreen(up)));
    PumpEvents();
    const char* expected[] = {"23", "0", "1"};
    for (const char* hours : expected) {
        ASSERT_TRUE(sim.MouseClick());
        EXPECT_TRUE(PumpUntil([&] { return Text(d.HoursText()) == hours; }, 3000)) << "waiting for " << hours;
    }
    EXPECT_TRUE(d.TimeChanged());
    d.Hide();
}

}  // namespace
