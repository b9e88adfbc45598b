#pragma once

#include <wx/dialog.h>

class wxChoice;
class wxButton;

// Picks the line width of a chart series: entry k is a pen k pixels wide (1 to 7).
class PenDialog : public wxDialog {
public:
    PenDialog(wxWindow* parent, int currentWidth);
    int ChosenWidth() const { return chosenIndex + 1; }
    wxChoice* WidthChoice() const { return widthChoice; }

private:
    void OnOk(wxCommandEvent& event);

    wxChoice* widthChoice = nullptr;
    wxButton* okButton = nullptr;
    int chosenIndex = 0;

    wxDECLARE_EVENT_TABLE();
};
