#include "dialogs/settings_dialog.h"
#include "data/translate.h"

#include "app/app_settings.h"
#include "device/protocol.h"
#include "dialogs/dialog_rules.h"
#include "resources/pictures.h"

#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/datectrl.h>
#include <wx/dateevt.h>
#include <wx/font.h>
#include <wx/log.h>
#include <wx/msgdlg.h>
#include <wx/sizer.h>
#include <wx/slider.h>
#include <wx/spinbutt.h>
#include <wx/statbmp.h>
#include <wx/statbox.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

#include <algorithm>
#include <cstring>

namespace {

// The dialog's own control ids.
enum : int {
    ID_INTERVAL_SLIDER = 3,
    ID_INTERVAL_SPIN = 4,
    ID_DOWNLOAD = 5,
    ID_PSI = 6,
    ID_BAR = 7,
    ID_MINUTES_SPIN = 8,
    ID_HOURS_SPIN = 9,
    ID_DATE = 10,
    ID_SECONDS_SPIN = 11,
    ID_AUTO_LOG = 12,
    ID_THRESHOLD_TEXT = 13,
};

enum ClockRegister : int {
    RegSeconds = 0,
    RegMinutes = 1,
    RegHours = 2,
    RegWeekday = 3,
    RegDay = 4,
    RegMonth = 5,
    RegYear = 6
};

constexpr std::uint8_t PsiCode = 112;
constexpr std::uint8_t BarCode = 98;

// The spin buttons are only arrows: the values live in the fields beside them. Each step is
// vetoed so the native button never runs into the end of its own range.
constexpr int SpinRest = 0;

wxSpinButton* NewArrows(wxWindow* parent, int id, const wxSize& size) {
    auto* spin = new wxSpinButton(parent, id, wxDefaultPosition, size, wxSP_VERTICAL | wxSP_ARROW_KEYS,
                                  wxString::FromAscii("spinButton"));
    spin->SetRange(-1000, 1000);
    spin->SetValue(SpinRest);
    return spin;
}

void Rest(wxSpinEvent& event) {
    event.Veto();
}

// A read-only field wide enough for its longest text in the field's own font, at the toolkit's
// natural height: the entries of current toolkits carry more padding than 30 x 25 pixels allow.
wxSize FieldSize(wxTextCtrl* field, const wxString& longest) {
    int width = field->GetTextExtent(longest).x;
    return wxSize(std::max(width + 24, 30), -1);
}

}  // namespace

wxBEGIN_EVENT_TABLE(SettingsDialog, wxDialog) EVT_COMMAND_SCROLL(ID_INTERVAL_SLIDER,
                                                                 SettingsDialog::OnIntervalSlider)
    EVT_SPIN_UP(ID_INTERVAL_SPIN, SettingsDialog::OnIntervalUp)
        EVT_SPIN_DOWN(ID_INTERVAL_SPIN, SettingsDialog::OnIntervalDown)
            EVT_BUTTON(ID_DOWNLOAD, SettingsDialog::OnDownload) EVT_CHECKBOX(ID_PSI, SettingsDialog::OnPsi)
                EVT_CHECKBOX(ID_BAR, SettingsDialog::OnBar) EVT_SPIN_UP(ID_MINUTES_SPIN,
                                                                        SettingsDialog::OnMinutesUp)
                    EVT_SPIN_DOWN(ID_MINUTES_SPIN, SettingsDialog::OnMinutesDown)
                        EVT_SPIN_UP(ID_HOURS_SPIN, SettingsDialog::OnHoursUp)
                            EVT_SPIN_DOWN(ID_HOURS_SPIN, SettingsDialog::OnHoursDown)
                                EVT_DATE_CHANGED(ID_DATE, SettingsDialog::OnDateChanged)
                                    EVT_SPIN_UP(ID_SECONDS_SPIN, SettingsDialog::OnSecondsUp)
                                        EVT_SPIN_DOWN(ID_SECONDS_SPIN, SettingsDialog::OnSecondsDown)
                                            EVT_CHECKBOX(ID_AUTO_LOG, SettingsDialog::OnAutoLog)
                                                EVT_TEXT(ID_THRESHOLD_TEXT, SettingsDialog::OnThresholdText)
                                                    wxEND_EVENT_TABLE()

                                                        SettingsDialog::SettingsDialog(wxWindow* parent)
    : wxDialog(parent, wxID_ANY, Tr("Geräteeinstellungen"), wxDefaultPosition, wxDefaultSize,
               wxCAPTION | wxSYSTEM_MENU | wxCLOSE_BOX, wxString::FromAscii("dialog")) {
    CreateControls();
    LayOut();
    ReadLogger();
}

void SettingsDialog::CreateControls() {
    const wxString textName = wxString::FromAscii("text");
    const wxString labelName = wxString::FromAscii("staticText");

    connectionPicture =
        new wxStaticBitmap(this, wxID_ANY, pictures::Bundle(pictures::Motif::ConnectionNotAnswered),
                           wxDefaultPosition, wxSize(280, 70));

    clockGroup = new wxStaticBoxSizer(wxHORIZONTAL, this, Tr("Echtzeituhr"));
    wxStaticBox* clockBox = clockGroup->GetStaticBox();
    auto timeGroup = [&](const char* title, wxTextCtrl*& text, wxSpinButton*& spin, int spinId) {
        auto* group = new wxStaticBoxSizer(wxHORIZONTAL, clockBox, Tr(title));
        text = new wxTextCtrl(group->GetStaticBox(), wxID_ANY, wxString(), wxDefaultPosition, wxDefaultSize,
                              wxTE_READONLY | wxTE_RIGHT, wxDefaultValidator, textName);
        text->SetMinSize(FieldSize(text, wxString::FromAscii("00")));
        spin = NewArrows(group->GetStaticBox(), spinId, wxDefaultSize);
        group->Add(text, 0, wxALIGN_CENTER_VERTICAL | wxALL, 2);
        group->Add(spin, 0, wxALIGN_CENTER_VERTICAL | wxALL, 2);
        clockGroup->Add(group, 0, wxEXPAND | wxALL, 3);
    };
    timeGroup(wxTRANSLATE("Stunden"), hoursText, hoursSpin, ID_HOURS_SPIN);
    timeGroup(wxTRANSLATE("Minuten"), minutesText, minutesSpin, ID_MINUTES_SPIN);
    timeGroup(wxTRANSLATE("Sekunden"), secondsText, secondsSpin, ID_SECONDS_SPIN);
    auto* dateGroup = new wxStaticBoxSizer(wxHORIZONTAL, clockBox, Tr("Datum"));
    datePicker = new wxDatePickerCtrl(
        dateGroup->GetStaticBox(), ID_DATE, wxDateTime(1, wxDateTime::Jan, 2011), wxDefaultPosition,
        wxSize(110, -1), wxDP_DROPDOWN, wxDefaultValidator, wxString::FromAscii("datectrl"));
    // The logger keeps two-digit years of 20yy: nothing outside them can be written.
    datePicker->SetRange(wxDateTime(1, wxDateTime::Jan, 2000), wxDateTime(31, wxDateTime::Dec, 2099));
    dateGroup->Add(datePicker, 1, wxALIGN_CENTER_VERTICAL | wxALL, 2);
    clockGroup->Add(dateGroup, 1, wxEXPAND | wxALL, 3);

    intervalGroup = new wxStaticBoxSizer(wxHORIZONTAL, this, Tr("Abtastrate (Sekunden)"));
    wxStaticBox* intervalBox = intervalGroup->GetStaticBox();
    intervalSlider =
        new wxSlider(intervalBox, ID_INTERVAL_SLIDER, 100, dialogrules::MinIntervalTenths,
                     dialogrules::MaxIntervalTenths, wxDefaultPosition, wxSize(180, -1),
                     wxSL_HORIZONTAL | wxSL_AUTOTICKS, wxDefaultValidator, wxString::FromAscii("slider"));
    intervalSlider->SetTickFreq(10);
    intervalText = new wxTextCtrl(intervalBox, wxID_ANY, wxString(), wxDefaultPosition, wxDefaultSize,
                                  wxTE_READONLY | wxTE_RIGHT, wxDefaultValidator, textName);
    intervalText->SetFont(wxFont(wxFontInfo(11).Bold()));
    intervalText->SetMinSize(FieldSize(intervalText, wxString::FromAscii("00.0")));
    intervalSpin = NewArrows(intervalBox, ID_INTERVAL_SPIN, wxDefaultSize);

    pressureGroup = new wxStaticBoxSizer(wxHORIZONTAL, this, Tr("Druckeinheit"));
    psiCheck = new wxCheckBox(pressureGroup->GetStaticBox(), ID_PSI, Tr("PSI"), wxDefaultPosition,
                              wxDefaultSize, 0, wxDefaultValidator, wxString::FromAscii("checkBox"));
    barCheck = new wxCheckBox(pressureGroup->GetStaticBox(), ID_BAR, Tr("Bar"), wxDefaultPosition,
                              wxDefaultSize, 0, wxDefaultValidator, wxString::FromAscii("checkBox"));

    autoLogGroup = new wxStaticBoxSizer(wxVERTICAL, this, Tr("Automatische Datenlogfunktion"));
    wxStaticBox* autoBox = autoLogGroup->GetStaticBox();
    autoLogCheck = new wxCheckBox(autoBox, ID_AUTO_LOG, Tr("Automatische Datenlogfunktion einschalten"),
                                  wxDefaultPosition, wxDefaultSize, 0, wxDefaultValidator,
                                  wxString::FromAscii("checkBox"));
    autoLogGroup->Add(autoLogCheck, 0, wxALL, 5);

    auto thresholdGroup = [&](const char* title, const char* condition, const char* forMore,
                              wxTextCtrl*& flowText, wxStaticText*& unitLabel, wxTextCtrl*& delayText) {
        auto* group = new wxStaticBoxSizer(wxVERTICAL, autoBox, Tr(title));
        wxStaticBox* box = group->GetStaticBox();
        flowText = new wxTextCtrl(box, ID_THRESHOLD_TEXT, wxString(), wxDefaultPosition, wxSize(60, -1),
                                  wxTE_RIGHT, wxDefaultValidator, textName);
        unitLabel =
            new wxStaticText(box, wxID_ANY, Tr("L/min"), wxDefaultPosition, wxSize(50, -1), 0, labelName);
        delayText = new wxTextCtrl(box, ID_THRESHOLD_TEXT, wxString(), wxDefaultPosition, wxSize(60, -1),
                                   wxTE_RIGHT, wxDefaultValidator, textName);
        auto* grid = new wxFlexGridSizer(2, 3, 4, 6);
        grid->Add(
            new wxStaticText(box, wxID_ANY, Tr(condition), wxDefaultPosition, wxDefaultSize, 0, labelName), 0,
            wxALIGN_CENTER_VERTICAL);
        grid->Add(flowText, 0, wxALIGN_CENTER_VERTICAL);
        grid->Add(unitLabel, 0, wxALIGN_CENTER_VERTICAL);
        grid->Add(
            new wxStaticText(box, wxID_ANY, Tr(forMore), wxDefaultPosition, wxDefaultSize, 0, labelName), 0,
            wxALIGN_CENTER_VERTICAL);
        grid->Add(delayText, 0, wxALIGN_CENTER_VERTICAL);
        grid->Add(new wxStaticText(box, wxID_ANY, Tr("Sekunden ist"), wxDefaultPosition, wxDefaultSize, 0,
                                   labelName),
                  0, wxALIGN_CENTER_VERTICAL);
        group->Add(grid, 0, wxALL, 5);
        autoLogGroup->Add(group, 0, wxEXPAND | wxALL, 5);
    };
    thresholdGroup(wxTRANSLATE("Schalte Datenlogger ein, wenn:"),
                   wxTRANSLATE("die Durchflussmenge größer als:"), wxTRANSLATE("für mehr als"), flowOnText,
                   flowOnUnitLabel, delayOnText);
    thresholdGroup(wxTRANSLATE("Schalte Datenlogger aus, wenn:"),
                   wxTRANSLATE("die Durchflussmenge kleiner als:"), wxTRANSLATE("für mehr als."), flowOffText,
                   flowOffUnitLabel, delayOffText);

    downloadButton = new wxButton(this, ID_DOWNLOAD, Tr("Download"), wxDefaultPosition, wxDefaultSize, 0,
                                  wxDefaultValidator, wxString::FromAscii("button"));
    closeButton = new wxButton(this, wxID_CANCEL, Tr("Schließen"), wxDefaultPosition, wxDefaultSize, 0,
                               wxDefaultValidator, wxString::FromAscii("button"));
    deviceInfoLabel =
        new wxStaticText(this, wxID_ANY, wxString(), wxDefaultPosition, wxSize(300, 30), 0, labelName);

    ShowTime();
}

void SettingsDialog::LayOut() {
    auto* left = new wxBoxSizer(wxVERTICAL);
    left->Add(connectionPicture, 0, wxALIGN_CENTER_HORIZONTAL | wxBOTTOM, 5);
    left->Add(clockGroup, 0, wxEXPAND | wxBOTTOM, 5);
    intervalGroup->Add(intervalSlider, 1, wxEXPAND | wxALL, 5);
    intervalGroup->Add(intervalText, 0, wxEXPAND | wxALL, 5);
    intervalGroup->Add(intervalSpin, 0, wxEXPAND | wxALL, 5);
    left->Add(intervalGroup, 0, wxEXPAND);

    auto* columns = new wxBoxSizer(wxHORIZONTAL);
    columns->Add(left, 0, wxEXPAND | wxRIGHT, 10);
    columns->Add(autoLogGroup, 1, wxEXPAND);

    pressureGroup->Add(psiCheck, 0, wxALIGN_CENTER_VERTICAL | wxALL, 5);
    pressureGroup->Add(barCheck, 0, wxALIGN_CENTER_VERTICAL | wxALL, 5);
    auto* buttons = new wxBoxSizer(wxHORIZONTAL);
    buttons->Add(pressureGroup, 0, wxALL, 10);
    buttons->AddStretchSpacer();
    buttons->Add(downloadButton, 0, wxALIGN_CENTER_VERTICAL | wxALL, 10);
    buttons->Add(closeButton, 0, wxALIGN_CENTER_VERTICAL | wxALL, 10);

    auto* top = new wxBoxSizer(wxVERTICAL);
    top->Add(columns, 0, wxEXPAND | wxALL, 10);
    top->Add(buttons, 0, wxEXPAND);
    top->Add(deviceInfoLabel, 0, wxEXPAND | wxLEFT | wxRIGHT | wxBOTTOM, 10);
    SetSizerAndFit(top);
}

void SettingsDialog::ShowConnection(Connection state) {
    connectionShown = state;
    pictures::Motif motif = state == Connection::Answered      ? pictures::Motif::ConnectionAnswered
                            : state == Connection::NotAnswered ? pictures::Motif::ConnectionNotAnswered
                                                               : pictures::Motif::ConnectionWritten;
    connectionPicture->SetBitmap(pictures::Bundle(motif));
}

void SettingsDialog::ReadLogger() {
    AppSettings.firmwareVersion = FirmwareWord(usb.ReadFirmwareVersion());
    int length = SettingsBlockLength(AppSettings.firmwareVersion);
    std::uint8_t raw[logger::LongBlockLength] = {};
    if (!usb.ReadMemory(0, static_cast<std::uint32_t>(length), raw)) {
        ShowConnection(Connection::NotAnswered);
        for (wxWindow* w : std::initializer_list<wxWindow*>{
                 downloadButton, psiCheck, barCheck, intervalSlider, intervalSpin, intervalText, hoursText,
                 minutesText, secondsText, hoursSpin, minutesSpin, secondsSpin, datePicker, autoLogCheck,
                 flowOnText, flowOffText, delayOnText, delayOffText})
            w->Disable();
        intervalTenths = 100;
        ApplyInterval();
        thresholdsChanged = false;
        return;
    }
    SettingsBlock block = DecodeSettingsBlock(raw, static_cast<std::size_t>(length));

    ShowConnection(Connection::Answered);
    rateRegister = block.sampleRateRegister;
    intervalTenths = IntervalTenthsFromRegister(rateRegister);
    // Units, firmware, serial number and the prescribed flow unit, as every reading of the block.
    RefreshSettingsFromBlock(AppSettings, block, AppSettings.firmwareVersion);
    ApplyInterval();

    pressureUnitCode = block.pressureUnit;
    if (pressureUnitCode == PsiCode) {
        psiCheck->SetValue(true);
        barCheck->SetValue(false);
    } else if (pressureUnitCode == BarCode) {
        psiCheck->SetValue(false);
        barCheck->SetValue(true);
    }
    autoLogCheck->SetValue(block.AutoLogging());

    if (const std::uint8_t* clock = usb.ReadClock()) {
        // Only the registers the reply brought: the time when its three registers came, the date
        // when all came.
        const std::size_t came =
            std::min<std::size_t>(static_cast<std::size_t>(usb.LastTransferLength()), clockRegisters.size());
        std::memcpy(clockRegisters.data(), clock, came);
        if (came > RegHours)
            ShowTime();
        // A clock that holds no real date leaves the picker as it is.
        if (auto date = came > RegYear
                            ? dialogrules::DateFromClock(clockRegisters[RegDay], clockRegisters[RegMonth],
                                                         clockRegisters[RegYear])
                            : std::nullopt) {
            wxDateTime shown = wxDateTime::Today();
            shown.Set(static_cast<wxDateTime::wxDateTime_t>(date->day),
                      static_cast<wxDateTime::Month>(date->month - 1), date->year);
            datePicker->SetValue(shown);
        }
    }
    usb.ConfigureClock(0, 171);

    flowOn = block.flowOnThreshold;
    delayOnSamples = block.flowOnDelay;
    flowOff = block.flowOffThreshold;
    delayOffSamples = block.flowOffDelay;
    flowOnText->ChangeValue(wxString::Format(wxString::FromUTF8("%d"), static_cast<int>(flowOn)));
    flowOffText->ChangeValue(wxString::Format(wxString::FromUTF8("%d"), static_cast<int>(flowOff)));
    delayOnText->ChangeValue(wxString::Format(wxString::FromUTF8("%d"),
                                              dialogrules::DelaySeconds(intervalTenths, delayOnSamples)));
    delayOffText->ChangeValue(wxString::Format(wxString::FromUTF8("%d"),
                                               dialogrules::DelaySeconds(intervalTenths, delayOffSamples)));

    const wxString unit = AppSettings.unitSystem == 1 ? Tr(" L/min") : Tr("G/min");
    flowOnUnitLabel->SetLabel(unit);
    flowOffUnitLabel->SetLabel(unit);

    EnableThresholdFields();

    if (block.isLong)
        deviceInfoLabel->SetLabel(
            dialogrules::DeviceInfoText(AppSettings.serialNumber, AppSettings.firmwareVersion));

    if (AppSettings.flowUnitFixed) {
        // A logger with a prescribed flow unit keeps its clock and pressure unit as delivered.
        for (wxWindow* w :
             std::initializer_list<wxWindow*>{datePicker, psiCheck, barCheck, hoursText, minutesText,
                                              secondsText, hoursSpin, minutesSpin, secondsSpin})
            w->Disable();
        psiCheck->Hide();
        barCheck->Hide();
        Layout();
    }
    thresholdsChanged = false;
}

void SettingsDialog::ApplyInterval() {
    intervalSlider->SetValue(intervalTenths);
    intervalText->ChangeValue(dialogrules::FormatInterval(intervalTenths));
    rateRegister = RegisterFromTenths(intervalTenths);
    thresholdsChanged = true;
}

void SettingsDialog::ShowTime() {
    hoursText->ChangeValue(dialogrules::FormatClockField(clockRegisters[RegHours], false));
    minutesText->ChangeValue(dialogrules::FormatClockField(clockRegisters[RegMinutes], true));
    secondsText->ChangeValue(dialogrules::FormatClockField(clockRegisters[RegSeconds], false));
}

void SettingsDialog::StepClock(int reg, int step, int maxValue) {
    std::optional<std::uint8_t> next = dialogrules::StepClockRegister(clockRegisters[reg], step, maxValue);
    if (!next)
        return;
    clockRegisters[reg] = *next;
    ShowTime();
    timeChanged = true;
}

void SettingsDialog::EnableThresholdFields() {
    bool on = autoLogCheck->GetValue();
    for (wxTextCtrl* t : {flowOnText, flowOffText, delayOnText, delayOffText})
        t->Enable(on);
}

void SettingsDialog::OnIntervalSlider(wxScrollEvent&) {
    intervalTenths = intervalSlider->GetValue();
    ApplyInterval();
}

void SettingsDialog::OnIntervalUp(wxSpinEvent& event) {
    Rest(event);
    intervalTenths = dialogrules::StepInterval(intervalTenths, +1);
    ApplyInterval();
}

void SettingsDialog::OnIntervalDown(wxSpinEvent& event) {
    Rest(event);
    intervalTenths = dialogrules::StepInterval(intervalTenths, -1);
    ApplyInterval();
}

void SettingsDialog::OnPsi(wxCommandEvent&) {
    barCheck->SetValue(false);
    pressureUnitCode = PsiCode;
    AppSettings.pressureUnit = PsiCode;
}

void SettingsDialog::OnBar(wxCommandEvent&) {
    psiCheck->SetValue(false);
    pressureUnitCode = BarCode;
    AppSettings.pressureUnit = BarCode;
}

void SettingsDialog::OnMinutesUp(wxSpinEvent& event) {
    Rest(event);
    StepClock(RegMinutes, +1, 59);
}

void SettingsDialog::OnMinutesDown(wxSpinEvent& event) {
    Rest(event);
    StepClock(RegMinutes, -1, 59);
}

void SettingsDialog::OnHoursUp(wxSpinEvent& event) {
    Rest(event);
    StepClock(RegHours, +1, 23);
}

void SettingsDialog::OnHoursDown(wxSpinEvent& event) {
    Rest(event);
    StepClock(RegHours, -1, 23);
}

void SettingsDialog::OnSecondsUp(wxSpinEvent& event) {
    Rest(event);
    StepClock(RegSeconds, +1, 59);
}

void SettingsDialog::OnSecondsDown(wxSpinEvent& event) {
    Rest(event);
    StepClock(RegSeconds, -1, 59);
}

void SettingsDialog::OnDateChanged(wxDateEvent&) {
    wxDateTime date = datePicker->GetValue();
    if (!date.IsValid())
        return;
    dialogrules::CivilDate civil{date.GetDay(), static_cast<int>(date.GetMonth()) + 1, date.GetYear()};
    std::optional<std::array<std::uint8_t, 3>> regs = dialogrules::ClockDateRegisters(civil);
    if (!regs)
        return;
    clockRegisters[RegDay] = (*regs)[0];
    clockRegisters[RegMonth] = (*regs)[1];
    clockRegisters[RegYear] = (*regs)[2];
    dateChanged = true;
}

void SettingsDialog::OnAutoLog(wxCommandEvent&) {
    EnableThresholdFields();
    thresholdsChanged = true;
}

void SettingsDialog::OnThresholdText(wxCommandEvent&) {
    thresholdsChanged = true;
}

void SettingsDialog::OnDownload(wxCommandEvent&) {
    if (usb.SetRateAndPressureUnit(rateRegister, pressureUnitCode))
        ShowConnection(Connection::Written);
    else
        wxLogError(Tr("Herunterladen der Einstellungen fehlgeschlagen: USB-Kabelverbindung überprüfen"));

    if (timeChanged) {
        if (!usb.SetClockTime(clockRegisters[RegSeconds], clockRegisters[RegMinutes],
                              clockRegisters[RegHours], clockRegisters[RegWeekday]))
            wxLogError(Tr("Uhrzeiteinstellung fehlgeschlagen"));
        timeChanged = false;
    }
    if (dateChanged) {
        if (!usb.SetClockDate(clockRegisters[RegDay], clockRegisters[RegMonth], clockRegisters[RegYear]))
            wxLogError(Tr("Uhrzeiteinstellung fehlgeschlagen"));
        dateChanged = false;
    }
    if (!thresholdsChanged)
        return;

    dialogrules::ThresholdPlan plan = dialogrules::PlanThresholds(
        {flowOnText->GetValue(), flowOffText->GetValue(), delayOnText->GetValue(), delayOffText->GetValue()},
        intervalTenths);
    for (const dialogrules::MessageBoxText& box : plan.boxes)
        wxMessageBox(box.message, box.caption, wxOK | wxCENTRE, nullptr);
    if (!plan.write)
        return;

    flowOn = plan.flowOn;
    flowOff = plan.flowOff;
    delayOnSamples = plan.delayOnSamples;
    delayOffSamples = plan.delayOffSamples;
    delayOnText->ChangeValue(wxString::Format(wxString::FromUTF8("%d"), plan.delayOnSeconds));
    delayOffText->ChangeValue(wxString::Format(wxString::FromUTF8("%d"), plan.delayOffSeconds));

    if (!usb.SetFlowOnThreshold(flowOn, delayOnSamples))
        wxLogError(Tr("Änderung des Druchflussgrenzwertes fehlgeschlagen"));
    if (!usb.SetFlowOffThreshold(flowOff, delayOffSamples))
        wxLogError(Tr("Änderung des Druchflussgrenzwertes fehlgeschlagen"));
    if (!usb.SetAutoLogging(autoLogCheck->GetValue()))
        wxLogError(Tr("Automatische Datenlogfunktion fehlgeschlagen"));
    thresholdsChanged = false;
}
