#pragma once

#include "device/vext_usb.h"

#include <wx/datetime.h>
#include <wx/dialog.h>

#include <functional>

class wxButton;
class wxCheckBox;
class wxStaticText;
class wxTextCtrl;

// The service dialog for preparing a logger: its starting state, the flow filter constants, the
// pressure calibration against the raw converter reading, and a readable dump of its settings
// block and clock. Modal, with its own link to the logger; nothing is sent before a button.
class Config : public wxDialog {
public:
    explicit Config(wxWindow* parent);

    wxButton* SetupButton() const { return setupButton; }
    wxButton* FilterButton() const { return filterButton; }
    wxButton* CalibrationButton() const { return calibrationButton; }
    wxButton* ConverterButton() const { return converterButton; }
    wxButton* DumpButton() const { return dumpButton; }
    wxButton* CloseButton() const { return closeButton; }
    wxTextCtrl* MedianText() const { return medianText; }
    wxTextCtrl* ClampText() const { return clampText; }
    wxCheckBox* VolumeRangeCheck() const { return volumeRangeCheck; }
    wxTextCtrl* ZeroText() const { return zeroText; }
    wxTextCtrl* RoughText() const { return roughText; }
    wxTextCtrl* FineText() const { return fineText; }
    wxStaticText* AdcLabel() const { return adcLabel; }
    wxTextCtrl* ContentsText() const { return contentsText; }
    // The computer's clock that the set-up copies to the logger; tests put their own in its place.
    void SetComputerClock(std::function<wxDateTime()> clock) { computerClock = std::move(clock); }

private:
    void OnSetup(wxCommandEvent& event);
    void OnFilter(wxCommandEvent& event);
    void OnCalibration(wxCommandEvent& event);
    void OnConverter(wxCommandEvent& event);
    void OnDump(wxCommandEvent& event);
    void OnVolumeRange(wxCommandEvent& event);
    void SetClockToComputerTime();

    VextUSB usb;
    std::function<wxDateTime()> computerClock;

    wxButton* setupButton = nullptr;
    wxButton* filterButton = nullptr;
    wxButton* calibrationButton = nullptr;
    wxButton* converterButton = nullptr;
    wxButton* dumpButton = nullptr;
    wxButton* closeButton = nullptr;
    wxTextCtrl* medianText = nullptr;
    wxTextCtrl* clampText = nullptr;
    wxCheckBox* volumeRangeCheck = nullptr;
    wxTextCtrl* zeroText = nullptr;
    wxTextCtrl* roughText = nullptr;
    wxTextCtrl* fineText = nullptr;
    wxStaticText* adcLabel = nullptr;
    wxTextCtrl* contentsText = nullptr;

    wxDECLARE_EVENT_TABLE();
};
