#include "dialogs/filter_dialog.h"
#include "data/translate.h"

#include <wx/button.h>
#include <wx/sizer.h>
#include <wx/slider.h>
#include <wx/stattext.h>

#include <algorithm>

namespace {
constexpr int ID_HALF_WIDTH_SLIDER = 0;
}  // namespace

wxBEGIN_EVENT_TABLE(FilterDialog, wxDialog) EVT_COMMAND_SCROLL(ID_HALF_WIDTH_SLIDER, FilterDialog::OnSlider)
    wxEND_EVENT_TABLE()

        FilterDialog::FilterDialog(wxWindow* parent, int halfWidth_)
    : wxDialog(parent, wxID_ANY, Tr("Filtereinstellungen"), wxDefaultPosition, wxDefaultSize,
               wxDEFAULT_DIALOG_STYLE, wxString::FromAscii("dialog")),
      halfWidth(halfWidth_) {
    filterLabel = new wxStaticText(this, 0, wxString(), wxDefaultPosition, wxDefaultSize, 0,
                                   wxString::FromAscii("staticText"));
    UpdateLabel();
    halfWidthSlider =
        new wxSlider(this, ID_HALF_WIDTH_SLIDER, halfWidth, 1, 10, wxPoint(0, 0), wxSize(180, -1),
                     wxSL_HORIZONTAL, wxDefaultValidator, wxString::FromAscii("slider"));
    halfWidthSlider->SetTickFreq(1);
    okButton = new wxButton(this, wxID_OK, Tr("OK"), wxDefaultPosition, wxSize(60, 30), wxBU_EXACTFIT,
                            wxDefaultValidator, wxString::FromAscii("button"));
    auto* close = new wxButton(this, wxID_CANCEL, Tr("Schließen"), wxDefaultPosition, wxSize(60, 30),
                               wxBU_EXACTFIT, wxDefaultValidator, wxString::FromAscii("button"));
    // 60 x 30, wider where the label needs it ("Schließen" does not fit into 60).
    for (wxButton* b : {okButton, close})
        b->SetMinSize(wxSize(std::max(60, b->GetBestSize().x), 30));
    auto* top = new wxBoxSizer(wxVERTICAL);
    top->Add(filterLabel, 0, wxALL, 20);
    top->Add(halfWidthSlider, 0);
    auto* buttons = new wxBoxSizer(wxHORIZONTAL);
    buttons->Add(okButton, 1, wxALL, 10);
    buttons->Add(close, 1, wxTOP | wxRIGHT, 10);
    top->Add(buttons, 1, wxEXPAND);
    SetSizer(top);
    top->Fit(this);
    top->SetSizeHints(this);
}

void FilterDialog::UpdateLabel() {
    filterLabel->SetLabel(
        wxString::Format(Tr("%d Punkt-Filter für gleitenden Mittelwert"), 2 * halfWidth + 1));
}

void FilterDialog::OnSlider(wxScrollEvent&) {
    halfWidth = halfWidthSlider->GetValue();
    UpdateLabel();
}
