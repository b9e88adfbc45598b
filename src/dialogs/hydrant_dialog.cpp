#include "dialogs/hydrant_dialog.h"
#include "data/translate.h"

#include <wx/button.h>
#include <wx/sizer.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

#include <cmath>
#include <cstdlib>

namespace {
constexpr int ID_REQUIRED_PRESSURE = 100;
constexpr int ID_TRANSFER = 101;
constexpr int ID_REPORT = 102;

// The typed pressure; NaN for anything that is not a plain number ("," is taken as ".").
double ParsePressure(wxString text) {
    text.Trim().Trim(false);
    text.Replace(wxString::FromAscii(","), wxString::FromAscii("."));
    const std::string s = text.utf8_string();
    if (s.empty())
        return NAN;
    char* end = nullptr;
    const double v = std::strtod(s.c_str(), &end);
    return (end && *end == '\0' && std::isfinite(v)) ? v : NAN;
}
}  // namespace

wxBEGIN_EVENT_TABLE(HydrantDialog, wxDialog) EVT_TEXT(ID_REQUIRED_PRESSURE, HydrantDialog::OnRequiredPressure)
    EVT_BUTTON(ID_TRANSFER, HydrantDialog::OnTransfer) EVT_BUTTON(ID_REPORT, HydrantDialog::OnReport)
        wxEND_EVENT_TABLE()

            HydrantDialog::HydrantDialog(wxWindow* parent, const hydrant::Evaluation& evaluation_,
                                         const hydrant::UnitTexts& units)
    : wxDialog(parent, wxID_ANY, Tr("Hydrantenprüfung"), wxDefaultPosition, wxDefaultSize,
               wxDEFAULT_DIALOG_STYLE),
      evaluation(evaluation_),
      unitTexts(units) {
    const hydrant::Evaluation& e = evaluation;
    const wxString p = wxString::FromAscii(" ") + units.pressure, q = wxString::FromAscii(" ") + units.flow;
    auto* grid = new wxFlexGridSizer(2, 6, 16);
    auto row = [&](const char* name, const wxString& value) {
        grid->Add(new wxStaticText(this, wxID_ANY, Tr(name)), 0, wxALIGN_CENTRE_VERTICAL);
        auto* label = new wxStaticText(this, wxID_ANY, value);
        values.push_back(label);
        grid->Add(label, 0, wxALIGN_CENTRE_VERTICAL);
    };
    row(wxTRANSLATE("Ruhedruck:"), hydrant::FormatNumber(e.staticPressure, units.pressureDecimals) + p);
    row(wxTRANSLATE("Fließdruck:"), hydrant::FormatNumber(e.flowingPressure, units.pressureDecimals) + p);
    row(wxTRANSLATE("Durchfluss:"), hydrant::FormatNumber(e.flow, units.flowDecimals) + q);
    row(wxTRANSLATE("Ruhephase:"), hydrant::FormatSeconds(e.restPhase.startTime) + wxString::FromUTF8(" – ") +
                                       hydrant::FormatSeconds(e.restPhase.endTime));
    row(wxTRANSLATE("Fließphase:"), hydrant::FormatSeconds(e.flowingPhase.startTime) +
                                        wxString::FromUTF8(" – ") +
                                        hydrant::FormatSeconds(e.flowingPhase.endTime));

    grid->Add(new wxStaticText(this, wxID_ANY, Tr("Mindestdruck:")), 0, wxALIGN_CENTRE_VERTICAL);
    auto* field = new wxBoxSizer(wxHORIZONTAL);
    requiredField = new wxTextCtrl(this, ID_REQUIRED_PRESSURE,
                                   hydrant::FormatNumber(e.requiredPressure, units.pressureDecimals),
                                   wxDefaultPosition, wxSize(90, -1));
    field->Add(requiredField, 0, wxALIGN_CENTRE_VERTICAL);
    field->Add(new wxStaticText(this, wxID_ANY, units.pressure), 0, wxALIGN_CENTRE_VERTICAL | wxLEFT, 6);
    grid->Add(field);

    grid->Add(new wxStaticText(this, wxID_ANY, Tr("Verfügbarer Durchfluss:")), 0, wxALIGN_CENTRE_VERTICAL);
    availableLabel = new wxStaticText(this, wxID_ANY, wxString());
    wxFont bold = availableLabel->GetFont();
    bold.MakeBold();
    availableLabel->SetFont(bold);
    grid->Add(availableLabel, 0, wxALIGN_CENTRE_VERTICAL);

    reasonLabel = new wxStaticText(this, wxID_ANY, wxString());
    reasonLabel->SetForegroundColour(wxColour(180, 0, 0));

    transferButton = new wxButton(this, ID_TRANSFER, Tr("In Textfeld übernehmen"));
    reportButton = new wxButton(this, ID_REPORT, Tr("Prüfbericht …"));
    auto* close = new wxButton(this, wxID_CANCEL, Tr("Schließen"));
    auto* buttons = new wxBoxSizer(wxHORIZONTAL);
    buttons->Add(reportButton, 0, wxRIGHT, 10);
    buttons->Add(transferButton, 0, wxRIGHT, 10);
    buttons->Add(close, 0);

    auto* top = new wxBoxSizer(wxVERTICAL);
    top->Add(grid, 0, wxALL, 16);
    top->Add(reasonLabel, 0, wxLEFT | wxRIGHT | wxEXPAND, 16);
    top->Add(buttons, 0, wxALL | wxALIGN_RIGHT, 16);
    SetSizer(top);
    ShowAvailableFlow();
    // Room for the longest reason, so the dialog does not grow while the user types.
    reasonLabel->SetMinSize(
        wxSize(reasonLabel->GetTextExtent(Tr("Der geforderte Mindestdruck liegt nicht unter dem Ruhedruck."))
                   .GetWidth(),
               -1));
    top->Fit(this);
    top->SetSizeHints(this);
}

wxString HydrantDialog::ValueText(int row) const {
    return row >= 0 && row < static_cast<int>(values.size()) ? values[row]->GetLabel() : wxString();
}

void HydrantDialog::ShowAvailableFlow() {
    if (evaluation.ok) {
        availableLabel->SetLabel(hydrant::FormatNumber(evaluation.availableFlow, unitTexts.flowDecimals) +
                                 wxString::FromAscii(" ") + unitTexts.flow);
        reasonLabel->SetLabel(wxString());
    } else {
        availableLabel->SetLabel(wxString::FromUTF8("–"));
        reasonLabel->SetLabel(evaluation.reason);
    }
    transferButton->Enable(evaluation.ok);
    if (reportButton)
        reportButton->Enable(evaluation.ok);
}

void HydrantDialog::OnRequiredPressure(wxCommandEvent&) {
    if (!requiredField)
        return;  // the field's first text arrives while it is being made
    hydrant::Recompute(evaluation, ParsePressure(requiredField->GetValue()));
    ShowAvailableFlow();
}

void HydrantDialog::OnTransfer(wxCommandEvent&) {
    if (evaluation.ok && IsModal())
        EndModal(wxID_APPLY);
}

void HydrantDialog::OnReport(wxCommandEvent&) {
    if (evaluation.ok && reportAction)
        reportAction(evaluation);
}
