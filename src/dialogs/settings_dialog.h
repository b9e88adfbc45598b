#pragma once

#include "device/vext_usb.h"

#include <wx/dialog.h>

#include <array>
#include <cstdint>

class wxButton;
class wxCheckBox;
class wxDateEvent;
class wxDatePickerCtrl;
class wxScrollEvent;
class wxSlider;
class wxSpinButton;
class wxSpinEvent;
class wxStaticBitmap;
class wxStaticBoxSizer;
class wxStaticText;
class wxTextCtrl;

// The logger's recording settings: sample interval, pressure unit, real-time clock and automatic
// logging on flow thresholds. Reads the logger when it is built; "Download" writes what changed.
// Modal, with its own link to the logger.
class SettingsDialog : public wxDialog {
public:
    explicit SettingsDialog(wxWindow* parent);

    // The controls, for the main window's tests and the gallery.
    wxStaticBitmap* ConnectionPicture() const { return connectionPicture; }
    wxTextCtrl* HoursText() const { return hoursText; }
    wxTextCtrl* MinutesText() const { return minutesText; }
    wxTextCtrl* SecondsText() const { return secondsText; }
    wxSpinButton* HoursSpin() const { return hoursSpin; }
    wxSpinButton* MinutesSpin() const { return minutesSpin; }
    wxSpinButton* SecondsSpin() const { return secondsSpin; }
    wxDatePickerCtrl* DatePicker() const { return datePicker; }
    wxSlider* IntervalSlider() const { return intervalSlider; }
    wxTextCtrl* IntervalText() const { return intervalText; }
    wxSpinButton* IntervalSpin() const { return intervalSpin; }
    wxCheckBox* PsiCheck() const { return psiCheck; }
    wxCheckBox* BarCheck() const { return barCheck; }
    wxCheckBox* AutoLogCheck() const { return autoLogCheck; }
    wxTextCtrl* FlowOnText() const { return flowOnText; }
    wxTextCtrl* FlowOffText() const { return flowOffText; }
    wxTextCtrl* DelayOnText() const { return delayOnText; }
    wxTextCtrl* DelayOffText() const { return delayOffText; }
    wxStaticText* FlowOnUnitLabel() const { return flowOnUnitLabel; }
    wxStaticText* FlowOffUnitLabel() const { return flowOffUnitLabel; }
    wxButton* DownloadButton() const { return downloadButton; }
    wxButton* CloseButton() const { return closeButton; }
    wxStaticText* DeviceInfoLabel() const { return deviceInfoLabel; }

    // The working state.
    int IntervalTenths() const { return intervalTenths; }
    std::uint16_t RateRegister() const { return rateRegister; }
    std::uint8_t PressureUnitCode() const { return pressureUnitCode; }
    const std::array<std::uint8_t, 7>& ClockRegisterValues() const { return clockRegisters; }
    bool TimeChanged() const { return timeChanged; }
    bool DateChanged() const { return dateChanged; }
    bool ThresholdsChanged() const { return thresholdsChanged; }
    // Which of the three connection pictures shows.
    enum class Connection { Answered, NotAnswered, Written };
    Connection ConnectionShown() const { return connectionShown; }

private:
    void CreateControls();
    void LayOut();
    void ReadLogger();
    void ShowConnection(Connection state);
    void ApplyInterval();
    void ShowTime();
    void StepClock(int reg, int step, int maxValue);
    void EnableThresholdFields();

    void OnIntervalSlider(wxScrollEvent& event);
    void OnIntervalUp(wxSpinEvent& event);
    void OnIntervalDown(wxSpinEvent& event);
    void OnDownload(wxCommandEvent& event);
    void OnPsi(wxCommandEvent& event);
    void OnBar(wxCommandEvent& event);
    void OnMinutesUp(wxSpinEvent& event);
    void OnMinutesDown(wxSpinEvent& event);
    void OnHoursUp(wxSpinEvent& event);
    void OnHoursDown(wxSpinEvent& event);
    void OnDateChanged(wxDateEvent& event);
    void OnSecondsUp(wxSpinEvent& event);
    void OnSecondsDown(wxSpinEvent& event);
    void OnAutoLog(wxCommandEvent& event);
    void OnThresholdText(wxCommandEvent& event);

    VextUSB usb;
    int intervalTenths = 100;
    std::uint16_t rateRegister = 0xF000;
    std::uint8_t pressureUnitCode = 98;
    std::array<std::uint8_t, 7> clockRegisters{};
    bool timeChanged = false;
    bool dateChanged = false;
    bool thresholdsChanged = false;
    std::uint16_t flowOn = 0, flowOff = 0;
    std::uint16_t delayOnSamples = 0, delayOffSamples = 0;
    Connection connectionShown = Connection::NotAnswered;

    wxStaticBitmap* connectionPicture = nullptr;
    wxTextCtrl* hoursText = nullptr;
    wxTextCtrl* minutesText = nullptr;
    wxTextCtrl* secondsText = nullptr;
    wxSpinButton* hoursSpin = nullptr;
    wxSpinButton* minutesSpin = nullptr;
    wxSpinButton* secondsSpin = nullptr;
    wxDatePickerCtrl* datePicker = nullptr;
    wxSlider* intervalSlider = nullptr;
    wxTextCtrl* intervalText = nullptr;
    wxSpinButton* intervalSpin = nullptr;
    wxCheckBox* psiCheck = nullptr;
    wxCheckBox* barCheck = nullptr;
    wxCheckBox* autoLogCheck = nullptr;
    wxTextCtrl* flowOnText = nullptr;
    wxTextCtrl* flowOffText = nullptr;
    wxTextCtrl* delayOnText = nullptr;
    wxTextCtrl* delayOffText = nullptr;
    wxStaticText* flowOnUnitLabel = nullptr;
    wxStaticText* flowOffUnitLabel = nullptr;
    wxButton* downloadButton = nullptr;
    wxButton* closeButton = nullptr;
    wxStaticText* deviceInfoLabel = nullptr;
    wxStaticBoxSizer* clockGroup = nullptr;
    wxStaticBoxSizer* intervalGroup = nullptr;
    wxStaticBoxSizer* pressureGroup = nullptr;
    wxStaticBoxSizer* autoLogGroup = nullptr;

    wxDECLARE_EVENT_TABLE();
};
