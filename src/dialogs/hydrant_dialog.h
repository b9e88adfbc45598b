#pragma once

#include "data/hydrant_evaluation.h"

#include <wx/dialog.h>

#include <functional>

class wxButton;
class wxCommandEvent;
class wxStaticText;
class wxTextCtrl;

// Shows the evaluation of a hydrant flow test: static and flowing pressure, flow, the phases'
// times, the required residual pressure (editable, recomputed at once) and the flow available
// down to it. "In Textfeld übernehmen" ends the dialog with wxID_APPLY; Text() then holds the
// lines for the record's text box.
class HydrantDialog : public wxDialog {
public:
    HydrantDialog(wxWindow* parent, const hydrant::Evaluation& evaluation, const hydrant::UnitTexts& units);

    const hydrant::Evaluation& Result() const { return evaluation; }
    wxString Text() const { return hydrant::ReportText(evaluation, unitTexts); }

    // Controls, for tests.
    wxTextCtrl* RequiredPressureField() const { return requiredField; }
    wxStaticText* AvailableFlowLabel() const { return availableLabel; }
    wxStaticText* ReasonLabel() const { return reasonLabel; }
    wxButton* TransferButton() const { return transferButton; }
    wxButton* ReportButton() const { return reportButton; }
    // "Prüfbericht …" hands the evaluation as it stands (with the typed minimum pressure) on.
    void SetReportAction(std::function<void(const hydrant::Evaluation&)> action) { reportAction = std::move(action); }
    wxString ValueText(int row) const;  // rows in the order shown, 0 = static pressure

private:
    void OnRequiredPressure(wxCommandEvent& event);
    void OnTransfer(wxCommandEvent& event);
    void OnReport(wxCommandEvent& event);
    void ShowAvailableFlow();

    hydrant::Evaluation evaluation;
    hydrant::UnitTexts unitTexts;
    std::vector<wxStaticText*> values;
    wxTextCtrl* requiredField = nullptr;
    wxStaticText* availableLabel = nullptr;
    wxStaticText* reasonLabel = nullptr;
    wxButton* transferButton = nullptr;
    wxButton* reportButton = nullptr;
    std::function<void(const hydrant::Evaluation&)> reportAction;

    wxDECLARE_EVENT_TABLE();
};
