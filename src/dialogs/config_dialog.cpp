#include "dialogs/config_dialog.h"
#include "data/translate.h"

#include "app/app_settings.h"
#include "device/protocol.h"
#include "dialogs/dialog_rules.h"

#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/datetime.h>
#include <wx/log.h>
#include <wx/msgdlg.h>
#include <wx/sizer.h>
#include <wx/statbox.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

#include <algorithm>
#include <array>
#include <optional>

namespace {

// The dialog's own control ids.
enum : int {
    ID_SETUP = 0,
    ID_FILTER = 1,
    ID_CALIBRATION = 6,
    ID_CONVERTER = 7,
    ID_VOLUME_RANGE = 9,
    ID_FIELD = 13,
    ID_DUMP = 16,
};

constexpr std::uint8_t WeekdayBits = 0x07;

void Inform(const wxString& text) {
    wxLogMessage(wxString::FromUTF8("%s"), text);
}
void Fail(const wxString& text) {
    wxLogError(wxString::FromUTF8("%s"), text);
}

}  // namespace

wxBEGIN_EVENT_TABLE(Config, wxDialog) EVT_BUTTON(ID_SETUP, Config::OnSetup)
    EVT_BUTTON(ID_FILTER, Config::OnFilter) EVT_BUTTON(ID_CALIBRATION, Config::OnCalibration)
        EVT_BUTTON(ID_CONVERTER, Config::OnConverter) EVT_BUTTON(ID_DUMP, Config::OnDump)
            EVT_CHECKBOX(ID_VOLUME_RANGE, Config::OnVolumeRange) wxEND_EVENT_TABLE()

                Config::Config(wxWindow* parent)
    : wxDialog(parent, wxID_ANY, Tr("Device Settings"), wxDefaultPosition, wxDefaultSize,
               wxCAPTION | wxSYSTEM_MENU | wxCLOSE_BOX, wxString::FromAscii("dialog")) {
    const wxString buttonName = wxString::FromAscii("button");
    const wxString textName = wxString::FromAscii("text");
    auto button = [&](wxWindow* parent, int id, const char* label) {
        return new wxButton(parent, id, Tr(label), wxDefaultPosition, wxDefaultSize, 0, wxDefaultValidator,
                            buttonName);
    };
    auto field = [&](wxWindow* parent, const char* text) {
        return new wxTextCtrl(parent, ID_FIELD, Tr(text), wxDefaultPosition, wxSize(50, -1), wxTE_RIGHT,
                              wxDefaultValidator, textName);
    };

    auto* setupGroup = new wxStaticBoxSizer(wxVERTICAL, this, Tr("ZPM2 and BRIX Device"));
    setupButton = button(setupGroup->GetStaticBox(), ID_SETUP, wxTRANSLATE("Configure TOC and RTC"));
    setupGroup->Add(setupButton, 0, wxEXPAND | wxALL, 5);

    auto* filterGroup = new wxStaticBoxSizer(wxVERTICAL, this, Tr("BRIX and ZPM Device"));
    wxStaticBox* filterBox = filterGroup->GetStaticBox();
    filterButton = button(filterBox, ID_FILTER, wxTRANSLATE("Set Median and Cutoff"));
    medianText = field(filterBox, "3");
    clampText = field(filterBox, "30");
    volumeRangeCheck = new wxCheckBox(filterBox, ID_VOLUME_RANGE,
                                      Tr("Volume Range (checked for 1000) (Pulvo)"), wxDefaultPosition,
                                      wxDefaultSize, 0, wxDefaultValidator, wxString::FromAscii("checkBox"));
    auto* filterRow = new wxBoxSizer(wxHORIZONTAL);
    filterRow->Add(filterButton, 1, wxALIGN_CENTER_VERTICAL | wxRIGHT, 5);
    filterRow->Add(medianText, 0, wxALIGN_CENTER_VERTICAL | wxRIGHT, 5);
    filterRow->Add(clampText, 0, wxALIGN_CENTER_VERTICAL);
    filterGroup->Add(filterRow, 0, wxEXPAND | wxALL, 5);
    filterGroup->Add(volumeRangeCheck, 0, wxALL, 5);

    auto* calibrationGroup =
        new wxStaticBoxSizer(wxVERTICAL, this, Tr("ZPM Pressure Calibration (cal to PSI)"));
    wxStaticBox* calibrationBox = calibrationGroup->GetStaticBox();
    calibrationButton = button(calibrationBox, ID_CALIBRATION, wxTRANSLATE("Set Zero and Fine Tune Scale"));
    zeroText = field(calibrationBox, "104");
    roughText = field(calibrationBox, "2");
    fineText = field(calibrationBox, "26");
    converterButton = button(calibrationBox, ID_CONVERTER, wxTRANSLATE("Read RAW ADC pressure value"));
    adcLabel = new wxStaticText(calibrationBox, wxID_ANY, Tr("ADC value"), wxDefaultPosition, wxDefaultSize,
                                0, wxString::FromAscii("staticText"));
    auto* calibrationRow = new wxBoxSizer(wxHORIZONTAL);
    calibrationRow->Add(calibrationButton, 1, wxALIGN_CENTER_VERTICAL | wxRIGHT, 5);
    calibrationRow->Add(zeroText, 0, wxALIGN_CENTER_VERTICAL | wxRIGHT, 5);
    calibrationRow->Add(roughText, 0, wxALIGN_CENTER_VERTICAL | wxRIGHT, 5);
    calibrationRow->Add(fineText, 0, wxALIGN_CENTER_VERTICAL);
    auto* converterRow = new wxBoxSizer(wxHORIZONTAL);
    converterRow->Add(converterButton, 1, wxALIGN_CENTER_VERTICAL | wxRIGHT, 10);
    converterRow->Add(adcLabel, 0, wxALIGN_CENTER_VERTICAL);
    calibrationGroup->Add(calibrationRow, 0, wxEXPAND | wxALL, 5);
    calibrationGroup->Add(converterRow, 0, wxEXPAND | wxLEFT | wxRIGHT | wxBOTTOM, 5);

    auto* dumpGroup = new wxStaticBoxSizer(wxVERTICAL, this, Tr("Read All Settings"));
    dumpButton = button(dumpGroup->GetStaticBox(), ID_DUMP, wxTRANSLATE("Read all Settings"));
    dumpGroup->Add(dumpButton, 0, wxEXPAND | wxALL, 5);

    closeButton = button(this, wxID_CANCEL, wxTRANSLATE("&Close"));

    auto* contentsGroup = new wxStaticBoxSizer(wxVERTICAL, this, Tr("Configuration Contents"));
    contentsText = new wxTextCtrl(contentsGroup->GetStaticBox(), wxID_ANY, wxString(), wxDefaultPosition,
                                  wxSize(340, 420), wxTE_MULTILINE | wxTE_RICH | wxTE_NOHIDESEL,
                                  wxDefaultValidator, textName);
    contentsGroup->Add(contentsText, 1, wxEXPAND | wxALL, 5);

    auto* left = new wxBoxSizer(wxVERTICAL);
    for (wxSizer* group :
         std::initializer_list<wxSizer*>{setupGroup, filterGroup, calibrationGroup, dumpGroup})
        left->Add(group, 0, wxEXPAND | wxALL, 5);
    left->Add(closeButton, 0, wxALIGN_RIGHT | wxALL, 5);

    auto* columns = new wxBoxSizer(wxHORIZONTAL);
    columns->Add(left, 0, wxEXPAND | wxALL, 5);
    columns->Add(contentsGroup, 1, wxEXPAND | wxALL, 10);
    SetSizerAndFit(columns);
}

void Config::OnSetup(wxCommandEvent&) {
    // Configuring erases the logger's memory: nothing goes out before the user agrees.
    wxMessageDialog confirm(
        this,
        Tr("Configuring the logger clears its memory: all recordings on the logger will be "
           "erased.\nContinue?"),
        Tr("Configure TOC and RTC"), wxOK | wxCANCEL | wxICON_WARNING | wxCENTRE);
    if (confirm.ShowModal() != wxID_OK)
        return;

    if (!usb.SetRateAndPressureUnit(0xF000, 98))
        Fail(Tr("Download Settings failed: Unplug USB and Re-insert"));
    usb.SetAutoLogging(false);
    usb.ClearMemory();

    SetClockToComputerTime();

    usb.ConfigureClock(0, 171);
    if (const std::uint8_t* config = usb.ReadClockConfig(); config && usb.LastTransferLength() >= 1)
        Inform(wxString::Format(Tr("Clock Configure: %x"), static_cast<unsigned>(config[0])));

    if (!usb.SetFlowOnThreshold(50, 2))
        Fail(Tr("Failed to set Flow On thresh"));
    if (!usb.SetFlowOffThreshold(30, 10))
        Fail(Tr("Failed to set Flow Off thresh"));
}

void Config::SetClockToComputerTime() {
    const wxDateTime now = computerClock ? computerClock() : wxDateTime::Now();
    // The logger keeps two-digit years of 20yy: a computer clock outside them is not copied.
    const std::optional<std::array<std::uint8_t, 3>> date =
        dialogrules::ClockDateRegisters({now.GetDay(), static_cast<int>(now.GetMonth()) + 1, now.GetYear()});
    if (!date) {
        Fail(Tr("Clock Time Change failed"));
        return;
    }
    // Register 3 holds more than the weekday (bits 0 to 2, Monday 1 to Sunday 7): its other bits
    // belong to the logger's clock and go back as they were read.
    // The weekday register's other bits go back as they were: without them no time is written.
    if (const std::uint8_t* clock = usb.ReadClock(); clock && usb.LastTransferLength() > 3) {
        const int weekday = now.GetWeekDay() == wxDateTime::Sun ? 7 : static_cast<int>(now.GetWeekDay());
        const auto weekdayRegister = static_cast<std::uint8_t>((clock[3] & ~WeekdayBits) | weekday);
        if (!usb.SetClockTime(ToBcd(now.GetSecond()), ToBcd(now.GetMinute()), ToBcd(now.GetHour()),
                              weekdayRegister))
            Fail(Tr("Clock Time Change failed"));
    } else {
        Fail(Tr("Clock Time Change failed"));
    }
    if (!usb.SetClockDate((*date)[0], (*date)[1], (*date)[2]))
        Fail(Tr("Clock Time Change failed"));
}

void Config::OnFilter(wxCommandEvent&) {
    dialogrules::ServicePlan plan =
        dialogrules::PlanMedianAndClamp(medianText->GetValue(), clampText->GetValue());
    for (const wxString& message : plan.messages)
        Inform(message);
    if (!plan.send)
        return;
    if (!usb.SetMedianAndClamp(static_cast<std::uint8_t>(plan.first), static_cast<std::uint8_t>(plan.second)))
        Inform(Tr("Failed to set Median and Clamp"));
}

void Config::OnCalibration(wxCommandEvent&) {
    dialogrules::ServicePlan plan = dialogrules::PlanPressureCalibration(
        zeroText->GetValue(), fineText->GetValue(), roughText->GetValue());
    for (const wxString& message : plan.messages)
        Inform(message);
    if (!plan.send)
        return;
    if (!usb.WritePressureCalibration(static_cast<std::uint8_t>(plan.first),
                                      static_cast<std::uint8_t>(plan.second),
                                      static_cast<std::uint8_t>(plan.third)))
        Inform(Tr("Failed to set Pressure Calibration!"));
}

void Config::OnConverter(wxCommandEvent&) {
    if (const std::uint8_t* reply = usb.ReadPressureAdc())
        adcLabel->SetLabel(wxString::Format(wxString::FromUTF8("%d"), reply[0] | (reply[1] << 8)));
}

void Config::OnDump(wxCommandEvent&) {
    contentsText->Clear();
    const std::uint8_t* reply = usb.ReadFirmwareVersion();
    int word = FirmwareWord(reply);
    // The block length follows the firmware of the logger that is answering now; only without an
    // answer does the word of the last connection decide.
    int length = SettingsBlockLength(reply ? word : AppSettings.firmwareVersion);

    std::optional<SettingsBlock> block;
    std::optional<ClockRegisters> clock;
    std::optional<std::array<std::uint8_t, 2>> clockConfig;
    std::uint8_t raw[logger::LongBlockLength] = {};
    if (usb.ReadMemory(0, static_cast<std::uint32_t>(length), raw)) {
        block = DecodeSettingsBlock(raw, static_cast<std::size_t>(length));
        // Shown only when the registers the dump prints all came (the eighth is not printed).
        if (const std::uint8_t* c = usb.ReadClock(); c && usb.LastTransferLength() >= 7)
            clock = DecodeClockRegisters(c);
        if (const std::uint8_t* c = usb.ReadClockConfig(); c && usb.LastTransferLength() >= 2)
            clockConfig = std::array<std::uint8_t, 2>{c[0], c[1]};
    }
    contentsText->AppendText(dialogrules::SettingsDump(word, block, clock, clockConfig));
}

void Config::OnVolumeRange(wxCommandEvent&) {
    // The logger's volume range is only shown by the dump; the box changes nothing.
}
