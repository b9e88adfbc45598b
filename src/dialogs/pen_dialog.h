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

    // "OK" (the toolkit's own OK handling): takes the selection before the dialog ends.
    bool TransferDataFromWindow() override;

private:
    wxChoice* widthChoice = nullptr;
    wxButton* okButton = nullptr;
    int chosenIndex = 0;
};
