#include "dialogs/pen_dialog.h"
#include "data/translate.h"

#include <wx/button.h>
#include <wx/choice.h>
#include <wx/sizer.h>

#include <algorithm>

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
    okButton = new wxButton(this, wxID_OK, Tr("OK"), wxDefaultPosition, wxSize(60, 30), wxBU_EXACTFIT,
                            wxDefaultValidator, wxString::FromAscii("button"));
    auto* close = new wxButton(this, wxID_CANCEL, Tr("Schließen"), wxDefaultPosition, wxSize(60, 30),
                               wxBU_EXACTFIT, wxDefaultValidator, wxString::FromAscii("button"));
    // 60 x 30, wider where the label needs it ("Schließen" does not fit into 60).
    for (wxButton* b : {okButton, close})
        b->SetMinSize(wxSize(std::max(60, b->GetBestSize().x), 30));
    auto* top = new wxBoxSizer(wxVERTICAL);
    top->Add(widthChoice, 0, wxALL, 10);
    auto* buttons = new wxBoxSizer(wxHORIZONTAL);
    buttons->Add(okButton, 1, wxALL, 10);
    buttons->Add(close, 1, wxTOP | wxRIGHT, 10);
    top->Add(buttons, 1, wxEXPAND);
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
