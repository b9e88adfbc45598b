#pragma once

#include "charts/report_page.h"

#include <wx/dialog.h>

#include <functional>

class wxButton;
class wxCommandEvent;
class wxTextCtrl;

// "Prüfbericht": what the record does not hold ("Hydrant / Ort", "Leitung", "Prüfer",
// "Bemerkung"), then "Als PDF speichern …" (the save action runs while the dialog stays open) or
// "Drucken …" (the dialog ends with wxID_PRINT, so the preview opens once it is gone).
class ReportDialog : public wxDialog {
public:
    ReportDialog(wxWindow* parent, const report::Site& site);

    report::Site Site() const;
    void SetSaveAction(std::function<void(ReportDialog&)> action) { saveAction = std::move(action); }

    // Controls, for tests.
    wxTextCtrl* PlaceField() const { return place; }
    wxTextCtrl* LineField() const { return line; }
    wxTextCtrl* TesterField() const { return tester; }
    wxTextCtrl* RemarkField() const { return remark; }
    wxButton* SaveButton() const { return saveButton; }
    wxButton* PrintButton() const { return printButton; }

private:
    void OnSave(wxCommandEvent& event);
    void OnPrint(wxCommandEvent& event);

    wxTextCtrl *place = nullptr, *line = nullptr, *tester = nullptr, *remark = nullptr;
    wxButton *saveButton = nullptr, *printButton = nullptr;
    std::function<void(ReportDialog&)> saveAction;

    wxDECLARE_EVENT_TABLE();
};
