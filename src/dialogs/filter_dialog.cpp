#include "dialogs/filter_dialog.h"
#include "data/translate.h"
#include "dialogs/ok_close_row.h"

#include <wx/button.h>
#include <wx/sizer.h>
#include <wx/slider.h>
#include <wx/stattext.h>

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
    auto* top = new wxBoxSizer(wxVERTICAL);
    top->Add(filterLabel, 0, wxALL, 20);
    top->Add(halfWidthSlider, 0);
    okButton = AddOkCloseRow(this, top);
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
