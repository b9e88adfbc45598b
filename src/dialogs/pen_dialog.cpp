#include "dialogs/pen_dialog.h"
#include "data/translate.h"
#include "dialogs/ok_close_row.h"

#include <wx/button.h>
#include <wx/choice.h>
#include <wx/sizer.h>

PenDialog::PenDialog(wxWindow* parent, int currentWidth)
    : wxDialog(parent, wxID_ANY, Tr("Diagrammlinienart"), wxDefaultPosition, wxDefaultSize,
               wxDEFAULT_DIALOG_STYLE, wxString::FromAscii("dialog")) {
    wxArrayString entries;
    for (int k = 1; k <= 7; ++k)
        entries.Add(wxString::Format(Tr("Linienstärke %d"), k));
    widthChoice = new wxChoice(this, 0, wxPoint(0, 0), wxSize(150, 50), entries, 0, wxDefaultValidator,
                               wxString::FromAscii("choice"));
    // A width outside 1..7 (a colour change gives 5, a job could hold more) preselects nothing.
    if (currentWidth >= 1 && currentWidth <= 7)
        widthChoice->SetSelection(currentWidth - 1);
    chosenIndex = currentWidth - 1;
    auto* top = new wxBoxSizer(wxVERTICAL);
    top->Add(widthChoice, 0, wxALL, 10);
    okButton = AddOkCloseRow(this, top);
    SetSizer(top);
    top->Fit(this);
    top->SetSizeHints(this);
}

bool PenDialog::TransferDataFromWindow() {
    const int selection = widthChoice->GetSelection();
    // Nothing chosen keeps the width the dialog was opened with.
    if (selection != wxNOT_FOUND)
        chosenIndex = selection;
    return true;
}
