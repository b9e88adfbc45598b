#include "dialogs/report_dialog.h"
#include "data/translate.h"

#include <wx/button.h>
#include <wx/sizer.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

namespace {
constexpr int ID_SAVE_PDF = 110;
constexpr int ID_PRINT_REPORT = 111;
}  // namespace

wxBEGIN_EVENT_TABLE(ReportDialog, wxDialog) EVT_BUTTON(ID_SAVE_PDF, ReportDialog::OnSave)
    EVT_BUTTON(ID_PRINT_REPORT, ReportDialog::OnPrint) wxEND_EVENT_TABLE()

        ReportDialog::ReportDialog(wxWindow* parent, const report::Site& site)
    : wxDialog(parent, wxID_ANY, Tr("Prüfbericht"), wxDefaultPosition, wxDefaultSize,
               wxDEFAULT_DIALOG_STYLE | wxRESIZE_BORDER) {
    auto* grid = new wxFlexGridSizer(2, 8, 12);
    grid->AddGrowableCol(1, 1);
    grid->AddGrowableRow(3, 1);
    auto field = [&](const char* label, const wxString& value, long style) {
        grid->Add(new wxStaticText(this, wxID_ANY, Tr(label)), 0,
                  (style & wxTE_MULTILINE) ? wxALIGN_TOP | wxTOP : wxALIGN_CENTRE_VERTICAL, 4);
        auto* text = new wxTextCtrl(this, wxID_ANY, value, wxDefaultPosition,
                                    wxSize(380, (style & wxTE_MULTILINE) ? 110 : -1), style);
        grid->Add(text, 1, wxEXPAND);
        return text;
    };
    place = field(wxTRANSLATE("Hydrant / Ort"), site.place, 0);
    line = field(wxTRANSLATE("Leitung"), site.line, 0);
    tester = field(wxTRANSLATE("Prüfer"), site.tester, 0);
    remark = field(wxTRANSLATE("Bemerkung"), site.remark, wxTE_MULTILINE);

    saveButton = new wxButton(this, ID_SAVE_PDF, Tr("Als PDF speichern …"));
    printButton = new wxButton(this, ID_PRINT_REPORT, Tr("Drucken …"));
    auto* close = new wxButton(this, wxID_CANCEL, Tr("Schließen"));
    auto* buttons = new wxBoxSizer(wxHORIZONTAL);
    buttons->Add(saveButton, 0, wxRIGHT, 10);
    buttons->Add(printButton, 0, wxRIGHT, 10);
    buttons->Add(close, 0);

    auto* top = new wxBoxSizer(wxVERTICAL);
    top->Add(grid, 1, wxALL | wxEXPAND, 16);
    top->Add(buttons, 0, wxLEFT | wxRIGHT | wxBOTTOM | wxALIGN_RIGHT, 16);
    SetSizerAndFit(top);
    // The one field the record cannot fill comes first to the keys when the others are filled.
    (site.tester.empty() && !site.place.empty() ? tester : place)->SetFocus();
}

report::Site ReportDialog::Site() const {
    return {place->GetValue(), line->GetValue(), tester->GetValue(), remark->GetValue()};
}

void ReportDialog::OnSave(wxCommandEvent&) {
    if (saveAction)
        saveAction(*this);
}

void ReportDialog::OnPrint(wxCommandEvent&) {
    if (IsModal())
        EndModal(wxID_PRINT);
}
