#include "dialogs/ok_close_row.h"

#include "data/translate.h"

#include <wx/button.h>
#include <wx/dialog.h>
#include <wx/sizer.h>

#include <algorithm>

wxButton* AddOkCloseRow(wxDialog* dialog, wxSizer* top) {
    auto* ok = new wxButton(dialog, wxID_OK, Tr("OK"), wxDefaultPosition, wxSize(60, 30), wxBU_EXACTFIT,
                            wxDefaultValidator, wxString::FromAscii("button"));
    auto* close = new wxButton(dialog, wxID_CANCEL, Tr("Schließen"), wxDefaultPosition, wxSize(60, 30),
                               wxBU_EXACTFIT, wxDefaultValidator, wxString::FromAscii("button"));
    for (wxButton* b : {ok, close})
        b->SetMinSize(wxSize(std::max(60, b->GetBestSize().x), 30));
    auto* buttons = new wxBoxSizer(wxHORIZONTAL);
    buttons->Add(ok, 1, wxALL, 10);
    buttons->Add(close, 1, wxTOP | wxRIGHT, 10);
    top->Add(buttons, 1, wxEXPAND);
    return ok;
}
