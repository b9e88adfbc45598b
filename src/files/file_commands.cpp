// The main window's file commands: job file open, save and save as, CSV and image export, and the
// logger database import.
#include "app/app_settings.h"
#include "files/csv_export.h"
#include "files/database_import.h"
#include "files/job_file.h"
#include "mainframe/main_frame.h"
#include "plot/plot_window.h"

#include <wx/filedlg.h>
#include <wx/filename.h>
#include <wx/listctrl.h>
#include <wx/log.h>
#include <wx/msgdlg.h>

namespace {

wxString U(const char* text) {
    return wxString::FromUTF8(text);
}

// The chosen path; built from directory and name, which GTK's dialog fills in every case.
wxString ChosenPath(const wxFileDialog& dialog) {
    return wxFileName(dialog.GetDirectory(), dialog.GetFilename()).GetFullPath();
}

}  // namespace

bool MainFrame::ConfirmDiscardUnsaved() {
    if (savedFlag || records.empty())
        return true;
    wxMessageDialog ask(
        nullptr, U("Die aktuellen Messdaten wurden noch nicht gespeichert. Sollen sie verworfen werden?"),
        U("Message"), wxYES_NO | wxNO_DEFAULT | wxICON_QUESTION);
    return ask.ShowModal() == wxID_YES;
}

void MainFrame::OnOpenJob(wxCommandEvent&) {
    if (!ConfirmDiscardUnsaved())
        return;
    wxFileDialog dialog(this, U("KVR ZPM-Vorgang öffnen"), wxString(), wxString(),
                        U("KVR Dateien (*.kvr)|*.kvr"), wxFD_OPEN);
    if (dialog.ShowModal() != wxID_OK)
        return;
    ReadJobFile(ChosenPath(dialog));
    SetTitle(dialog.GetFilename());
}

void MainFrame::ReadJobFile(const wxString& path) {
    ClearRecords();
    jobFilePath = path;
    std::optional<jobfile::ReadResult> result = jobfile::Load(path);
    if (!result) {
        wxLogError(U("Cannot open File for Reading"));
        savedFlag = false;
        RefreshRecordList();
        return;
    }
    records = std::move(result->records);
    jobfile::ApplySettings(result->settings, AppSettings);
    if (result->settings.syncFlowUnitMarks)
        SyncFlowUnitItems();
    RefreshRecordList();
    if (result->damaged) {
        // Keep what was read, but never let a later save overwrite the damaged file unasked.
        wxLogError(U("Die Datei \"%s\" ist beschädigt (%s); nur die vollständig gelesenen Messungen werden "
                     "gezeigt."),
                   path, wxString::FromUTF8(result->problem));
        savedFlag = false;
        return;
    }
    savedFlag = true;
}

void MainFrame::OnSaveJob(wxCommandEvent&) {
    SaveJob();
}

void MainFrame::OnSaveJobAs(wxCommandEvent&) {
    SaveJobAs();
}

void MainFrame::SaveJob() {
    if (jobFilePath.empty()) {
        SaveJobAs();
        return;
    }
    WriteJobFile();
}

bool MainFrame::WriteJobFile() {
    switch (jobfile::Save(jobFilePath, records, AppSettings.flowUnit)) {
        case SaveResult::Ok:
            savedFlag = true;
            return true;
        case SaveResult::CannotOpen:
            wxLogError(U("Cannot open File for Writing"));
            break;
        case SaveResult::WriteFailed:
            wxLogError(U("Error writing File"));
            break;
    }
    savedFlag = false;
    return false;
}

void MainFrame::SaveJobAs() {
    wxFileDialog dialog(this, U("Vorgang abspeichern"), wxString(), wxString(), U("ZPM Dateien"),
                        wxFD_SAVE | wxFD_OVERWRITE_PROMPT);
    if (dialog.ShowModal() != wxID_OK)
        return;  // cancel is not a save: savedFlag stays as it was
    jobFilePath = jobfile::PathWithExtension(ChosenPath(dialog));
    WriteJobFile();
    SetTitle(dialog.GetFilename());
}

void MainFrame::OnExportCsv(wxCommandEvent&) {
    const long r = recordList->GetFocusedItem();
    if (r < 0 || r >= static_cast<long>(records.size()))
        return;
    const Storage& record = records[r];
    wxFileDialog dialog(this, U("Exportieren nach Excel"), wxString(),
                        csvexport::DefaultFileName(record.DateText()), U("Exceldateien (*.csv)|*.csv||"),
                        wxFD_SAVE | wxFD_OVERWRITE_PROMPT);
    if (dialog.ShowModal() != wxID_OK)
        return;
    const wxString path = csvexport::PathWithExtension(ChosenPath(dialog));
    switch (csvexport::Save(path, record, AppSettings.flowUnit)) {
        case SaveResult::Ok:
            break;
        case SaveResult::CannotOpen:
            wxMessageBox(
                U("Öffnen der Exceldatei fehlgeschlagen, möglicherweise wird sie bereits durch ein anderes "
                  "Programm benutzt?"),
                U("Message"), wxOK | wxCENTRE);
            break;
        case SaveResult::WriteFailed:
            wxLogError(U("Error writing File"));
            break;
    }
}

void MainFrame::OnExportImage(wxCommandEvent&) {
    // The picture is taken before the dialog opens, so the dialog never covers it.
    plotWindow->RefreshView();
    plotWindow->Update();
    const wxBitmap picture = plotWindow->SnapshotBitmap();
    wxFileDialog dialog(this, U("Bild speichern als…"), wxString(), wxString(),
                        U("Bilddateien (*.bmp)|*.bmp"), wxFD_SAVE | wxFD_OVERWRITE_PROMPT);
    if (dialog.ShowModal() != wxID_OK)
        return;
    picture.SaveFile(ChosenPath(dialog), wxBITMAP_TYPE_BMP);  // wx reports a failed write itself
}

void MainFrame::OnImportDatabase(wxCommandEvent&) {
    wxFileDialog dialog(this, U("Open KVR Database File"), wxString(), wxString(),
                        U("KVR Database files (*.hex)|*.hex"), wxFD_OPEN);
    if (dialog.ShowModal() != wxID_OK)
        return;
    SetTitle(dialog.GetFilename());
    std::optional<wxString> message = dbimport::ScanFile(ChosenPath(dialog));
    if (!message)
        wxLogError(U("Cannot open File for Reading"));
    else if (!message->empty())
        wxLogMessage(U("%s"), *message);
}
