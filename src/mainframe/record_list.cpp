// The record list and the five record functions.
#include "app/app_settings.h"
#include "app/command_ids.h"
#include "data/translate.h"
#include "data/units.h"
#include "mainframe/look.h"
#include "mainframe/main_frame.h"
#include "mainframe/record_list_format.h"

#include <wx/button.h>
#include <wx/listctrl.h>
#include <wx/menu.h>
#include <wx/sizer.h>
#include <wx/textctrl.h>
#include <wx/textdlg.h>

#include <cmath>
#include <limits>

namespace {

enum EditKind { EditTitle, EditSubtitleText, EditNote, EditTarget };

}  // namespace

void MainFrame::SetUpRecordList() {
    recordList->InsertColumn(0, Tr("Titel"), wxLIST_FORMAT_LEFT, 80);
    recordList->InsertColumn(1, Tr("Datum"), wxLIST_FORMAT_LEFT, 80);
    recordList->InsertColumn(2, Tr("Zeit"), wxLIST_FORMAT_LEFT, 80);
    recordList->InsertColumn(3, Tr("Dauer"), wxLIST_FORMAT_LEFT, 80);
    // The volume column's title follows the units in force at start-up.
    recordList->InsertColumn(4, units::VolumeColumnTitle(AppSettings.unitSystem, AppSettings.flowUnit),
                             wxLIST_FORMAT_LEFT, 150);
    recordList->SetFont(BoldSwissFont(9));
}

void MainFrame::RefreshRecordList() {
    recordList->DeleteAllItems();
    for (std::size_t i = 0; i < records.size(); ++i) {
        const Storage& r = records[i];
        long row = recordList->InsertItem(static_cast<long>(i), r.Title());
        recordList->SetItem(row, 1, recordlist::DatePart(r.DateText()));
        recordList->SetItem(row, 2, recordlist::TimePart(r.DateText()));
        recordList->SetItem(row, 3, recordlist::FormatDuration(r.SampleCount(), r.IntervalMs()));
        recordList->SetItem(row, 4, recordlist::FormatVolume(r.LastVolume()));
        MarkFiltered(row, r.IsFiltered());
    }
    // No row is selected now, and the list sends no deselection for rows it deletes.
    EnableRecordButtons(false);
}

void MainFrame::MarkFiltered(long row, bool filtered) {
    recordList->SetItemTextColour(row, filtered ? FilteredRowColour() : recordList->GetTextColour());
}

void MainFrame::RefreshRecordRow(int index) {
    // A list that does not show the record set as it is (records came or went) is made anew.
    if (index < 0 || index >= static_cast<int>(records.size()) ||
        recordList->GetItemCount() != static_cast<int>(records.size())) {
        RefreshRecordList();
        return;
    }
    const Storage& r = records[index];
    recordList->SetItem(index, 0, r.Title());
    recordList->SetItem(index, 1, recordlist::DatePart(r.DateText()));
    recordList->SetItem(index, 2, recordlist::TimePart(r.DateText()));
    recordList->SetItem(index, 3, recordlist::FormatDuration(r.SampleCount(), r.IntervalMs()));
    recordList->SetItem(index, 4, recordlist::FormatVolume(r.LastVolume()));
    MarkFiltered(index, r.IsFiltered());
}

int MainFrame::SingleSelectedFocusedRow() const {
    if (recordList->GetSelectedItemCount() != 1)
        return -1;
    long r = recordList->GetFocusedItem();
    if (r < 0 || r >= static_cast<long>(records.size()))
        return -1;
    return static_cast<int>(r);
}

void MainFrame::EnableRecordButtons(bool enable) {
    deleteButton->Enable(enable);
    renameButton->Enable(enable);
    subtitleButton->Enable(enable);
    textBoxButton->Enable(enable);
    targetFlowButton->Enable(enable);
    if (wxMenuBar* bar = GetMenuBar())
        bar->Enable(ID_EXPORT_CSV, enable);
}

void MainFrame::OnRecordSelected(wxListEvent&) {
    if (recordList->GetSelectedItemCount() == 1) {
        long r = recordList->GetFocusedItem();
        if (r >= 0 && r < static_cast<long>(records.size())) {
            // A newly selected record is always shown unfiltered: the filter command turns the
            // flag back off and restores the record's series.
            filterOn = true;
            wxCommandEvent filter(wxEVT_BUTTON, ID_FILTER);
            ProcessWindowEvent(filter);
            ChartRecord(static_cast<int>(r));
        }
    }
    EnableRecordButtons(true);
}

void MainFrame::OnRecordDeselected(wxListEvent&) {
    EnableRecordButtons(false);
}

void MainFrame::OnRecordActivated(wxListEvent&) {
    EditRecordText(EditTitle);
}

void MainFrame::OnRenameRecord(wxCommandEvent&) {
    EditRecordText(EditTitle);
}

void MainFrame::OnEditSubtitle(wxCommandEvent&) {
    EditRecordText(EditSubtitleText);
}

void MainFrame::OnEditNoteText(wxCommandEvent&) {
    EditRecordText(EditNote);
}

void MainFrame::OnEditTargetFlow(wxCommandEvent&) {
    EditRecordText(EditTarget);
}

void MainFrame::EditRecordText(int kind) {
    const int r = SingleSelectedFocusedRow();
    if (r < 0)
        return;
    Storage& record = records[r];
    wxString caption, current;
    long style = wxOK | wxCANCEL | wxCENTRE;
    switch (kind) {
        case EditTitle:
            caption = Tr("Titel ändern");
            current = record.Title();
            break;
        case EditSubtitleText:
            caption = Tr("Weitere Informationen ..");
            current = record.Subtitle();
            break;
        case EditNote:
            caption = Tr("Weitere Informationen ..");
            current = record.NoteText();
            style |= wxTE_MULTILINE;
            break;
        default:
            caption = Tr("Zielfluss");
            current = wxString::Format(wxString::FromAscii("%f"), record.TargetFlow());
            break;
    }
    wxTextEntryDialog dialog(this, current, caption, current, style);
    if (kind == EditNote) {
        // A text of several lines gets a box of several lines.
        for (wxWindow* child : dialog.GetChildren())
            if (auto* text = dynamic_cast<wxTextCtrl*>(child))
                text->SetMinSize(wxSize(40 * text->GetCharWidth(), 6 * text->GetCharHeight()));
        if (wxSizer* sizer = dialog.GetSizer())
            sizer->SetSizeHints(&dialog);
        dialog.Centre();
    }
    if (dialog.ShowModal() == wxID_OK) {
        const wxString value = dialog.GetValue();
        bool applied = true;
        switch (kind) {
            case EditTitle:
                record.SetTitle(value.empty() ? wxString::FromUTF8("-") : value);
                break;
            case EditSubtitleText:
                record.SetSubtitle(value);
                break;
            case EditNote:
                record.SetNoteText(value);
                break;
            default: {
                // "nan", "inf" and numbers a float cannot hold parse, but are no target flow.
                double target = 0;
                applied = value.ToDouble(&target) && std::isfinite(target) &&
                          std::fabs(target) <= std::numeric_limits<float>::max();
                if (applied)
                    record.SetTargetFlow(static_cast<float>(target));
                break;
            }
        }
        if (applied) {
            RefreshRecordList();
            ChartRecord(r);
            savedFlag = false;
        }
    }
    ReselectRow(r, false);
}

void MainFrame::OnDeleteRecord(wxCommandEvent&) {
    const int r = SingleSelectedFocusedRow();
    if (r < 0)
        return;
    EraseRecord(r);
    RefreshRecordList();
    savedFlag = false;
    // The neighbour above takes both the highlight and the focus mark, so the next command acts
    // on the row the user sees highlighted.
    ReselectRow(r == 0 ? 0 : r - 1, true);
}

void MainFrame::ReselectRow(int row, bool newRecord) {
    recordList->SetFocus();
    const int rows = recordList->GetItemCount();
    if (row < 0 || row >= rows)
        return;
    // Highlight and focus mark go to the same row. With the focus set first, the selection's
    // handler takes the row as a newly selected record (charted, unfiltered); selected first, it
    // finds no focused row yet and the record stays as it is shown.
    if (newRecord)
        recordList->Focus(row);
    recordList->Select(row);
    recordList->Focus(row);
    recordList->EnsureVisible(row);
}
