// The moving-average filter of the focused record: the Filter button and its settings.
#include "app/command_ids.h"
#include "dialogs/filter_dialog.h"
#include "mainframe/main_frame.h"

#include <wx/listctrl.h>

void MainFrame::OnFilter(wxCommandEvent&) {
    const long r = recordList->GetFocusedItem();
    if (r < 0 || r >= static_cast<long>(records.size()))
        return;
    filterOn = !filterOn;
    SetButtonActive(filterButton, filterOn);
    records[r].SetFilter(filterOn, filterHalfWidth);
    RefreshRecordRow(static_cast<int>(r));  // the list marks the filtered records
    ChartRecord(static_cast<int>(r));
}

void MainFrame::OnFilterSettings(wxCommandEvent&) {
    FilterDialog dialog(this, filterHalfWidth);
    if (dialog.ShowModal() != wxID_OK)
        return;
    filterHalfWidth = dialog.HalfWidth();
    const long r = recordList->GetFocusedItem();
    if (r < 0 || r >= static_cast<long>(records.size()))
        return;
    // Back to the unfiltered samples, then the filter command applies the new width when the
    // filter was on and leaves it off otherwise.
    records[r].SetFilter(false, filterHalfWidth);
    filterOn = !filterOn;
    wxCommandEvent filter(wxEVT_BUTTON, ID_FILTER);
    ProcessWindowEvent(filter);
}
