#pragma once

#include <wx/dialog.h>

class wxButton;
class wxScrollEvent;
class wxSlider;
class wxStaticText;

// Sets the half width N of the moving-average filter (a 2N + 1 point filter, N from 1 to 10).
class FilterDialog : public wxDialog {
public:
    FilterDialog(wxWindow* parent, int halfWidth);
    int HalfWidth() const { return halfWidth; }
    wxSlider* Slider() const { return halfWidthSlider; }
    wxStaticText* Label() const { return filterLabel; }

private:
    void UpdateLabel();
    void OnSlider(wxScrollEvent& event);

    wxStaticText* filterLabel = nullptr;
    wxSlider* halfWidthSlider = nullptr;
    wxButton* okButton = nullptr;
    int halfWidth;

    wxDECLARE_EVENT_TABLE();
};
