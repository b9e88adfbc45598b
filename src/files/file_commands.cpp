// The main window's file commands: job file open, save and save as, CSV and image export, and the
// logger database import.
#include "app/app_settings.h"
#include "data/translate.h"
#include "files/csv_export.h"
#include "files/database_import.h"
#include "files/job_file.h"
#include "files/save_file.h"
#include "mainframe/file_choice.h"
#include "mainframe/main_frame.h"
#include "plot/plot_window.h"

#include <wx/filedlg.h>
#include <wx/filename.h>
#include <wx/image.h>
#include <wx/listctrl.h>
#include <wx/log.h>
#include <wx/msgdlg.h>
#include <wx/mstream.h>

#include <algorithm>
#include <string>

namespace {

// The image file. PNG when that type is chosen, or when the name ends in ".png" and the type was
// left at BMP, the default; BMP otherwise. The name ends in the type's extension: a ".bmp" or
// ".png" ending (any case) becomes it, any other name gets it appended.
struct ImageTarget {
    wxString path;
    wxBitmapType type;
};

ImageTarget ImageTargetFor(const wxString& chosen, int filterIndex) {
    const wxString ext = wxFileName(chosen).GetExt().Lower();
    const bool png = filterIndex == 1 || ext == wxString::FromUTF8("png");
    const wxString wanted = png ? wxString::FromUTF8("png") : wxString::FromUTF8("bmp");
    const wxBitmapType type = png ? wxBITMAP_TYPE_PNG : wxBITMAP_TYPE_BMP;
    if (ext == wanted)
        return {chosen, type};
    if (ext == wxString::FromUTF8("bmp") || ext == wxString::FromUTF8("png"))
        return {chosen.Left(chosen.length() - 3) + wanted, type};
    return {chosen + wxString::FromUTF8(".") + wanted, type};
}

}  // namespace

// The path the user chose. Only GetPath() carries a folder typed into GTK's name field
// ("~/Messungen/demo1"); directory and name give the folder the dialog happened to show. Right
// after a dialog answered by the testing hook GetPath() can be empty, and then they are all there is.
wxString filechoice::ChosenPath(const wxFileDialog& dialog) {
    const wxString path = dialog.GetPath();
    if (!path.empty())
        return path;
    return wxFileName(dialog.GetDirectory(), dialog.GetFilename()).GetFullPath();
}

// The dialog asked before replacing the name the user typed; when an extension was appended to
// it, the file with that extension is another one and is asked about here. True: go on.
bool filechoice::ConfirmReplace(const wxString& chosen, const wxString& path) {
    if (path == chosen || !wxFileName::Exists(path, wxFILE_EXISTS_ANY))
        return true;
    wxMessageDialog ask(
        nullptr,
        wxString::Format(Tr("Die Datei \"%s\" ist bereits vorhanden. Soll sie ersetzt werden?"), path),
        Tr("Message"), wxYES_NO | wxNO_DEFAULT | wxICON_QUESTION);
    return ask.ShowModal() == wxID_YES;
}

void filechoice::ReportSaveFailure(SaveResult result) {
    if (result == SaveResult::CannotOpen)
        wxLogError(Tr("Cannot open File for Writing"));
    else if (result == SaveResult::WriteFailed)
        wxLogError(Tr("Error writing File"));
}

using namespace filechoice;

bool MainFrame::ConfirmDiscardUnsaved() {
    if (savedFlag || records.empty())
        return true;
    wxMessageDialog ask(
        nullptr, Tr("Die aktuellen Messdaten wurden noch nicht gespeichert. Sollen sie verworfen werden?"),
        Tr("Message"), wxYES_NO | wxNO_DEFAULT | wxICON_QUESTION);
    return ask.ShowModal() == wxID_YES;
}

void MainFrame::OnOpenJob(wxCommandEvent&) {
    if (!ConfirmDiscardUnsaved())
        return;
    wxFileDialog dialog(this, Tr("KVR ZPM-Vorgang öffnen"), wxString(), wxString(),
                        Tr("KVR Dateien (*.kvr)|*.kvr"), wxFD_OPEN);
    if (dialog.ShowModal() != wxID_OK)
        return;
    const wxString path = ChosenPath(dialog);
    ReadJobFile(path);
    SetTitle(wxFileName(path).GetFullName());
}

void MainFrame::ReadJobFile(const wxString& path) {
    ClearRecords();
    // What the chart showed belongs to the records that went; the user picks one of the new.
    ChartNoRecord();
    jobFilePath = path;
    std::optional<jobfile::ReadResult> result = jobfile::Load(path);
    if (!result) {
        wxLogError(Tr("Cannot open File for Reading"));
        savedFlag = false;
        // Saving to a name that holds nothing is harmless; what is there but could not be read
        // is replaced only when the user names it again.
        jobFileNeedsName = wxFileName::Exists(path, wxFILE_EXISTS_ANY);
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
        wxLogError(Tr("Die Datei \"%s\" ist beschädigt (%s); nur die vollständig gelesenen Messungen werden "
                      "gezeigt."),
                   path, wxString::FromUTF8(result->problem));
        savedFlag = false;
        jobFileNeedsName = true;
        return;
    }
    savedFlag = true;
    jobFileNeedsName = false;
}

void MainFrame::OnSaveJob(wxCommandEvent&) {
    SaveJob();
}

void MainFrame::OnSaveJobAs(wxCommandEvent&) {
    SaveJobAs();
}

void MainFrame::SaveJob() {
    if (jobFilePath.empty() || jobFileNeedsName) {
        SaveJobAs();
        return;
    }
    WriteJobFile(jobFilePath);
}

bool MainFrame::WriteJobFile(const wxString& path) {
    // A filtered record shows smoothed values; which ones go into the file is asked, once.
    jobfile::Values values = jobfile::Values::AsShown;
    const auto filtered =
        std::count_if(records.begin(), records.end(), [](const Storage& r) { return r.IsFiltered(); });
    if (filtered > 0) {
        wxMessageDialog ask(this,
                            wxString::Format(Tr("%d Messungen sind gefiltert. Gemessene Werte speichern?"),
                                             static_cast<int>(filtered)),
                            Tr("Speichern"), wxYES_NO | wxCANCEL | wxICON_QUESTION);
        ask.SetYesNoCancelLabels(Tr("Ja"), Tr("Nein"), Tr("Abbrechen"));
        const int answer = ask.ShowModal();
        if (answer == wxID_CANCEL)
            return false;  // nothing written, nothing changed
        if (answer == wxID_YES)
            values = jobfile::Values::Measured;  // the filter stays on screen
    }
    const SaveResult result = jobfile::Save(path, records, values);
    ReportSaveFailure(result);
    // A failed save changes nothing: the records are as saved (or unsaved) as they were.
    if (result != SaveResult::Ok)
        return false;
    savedFlag = true;
    ForgetSavedJournals();
    return true;
}

void MainFrame::SaveJobAs() {
    // After a damaged open the damaged file's name is proposed: replacing it is the user's choice.
    wxString dir, name;
    if (jobFileNeedsName) {
        const wxFileName damaged(jobFilePath);
        dir = damaged.GetPath();
        name = damaged.GetFullName();
    }
    wxFileDialog dialog(this, Tr("Vorgang abspeichern"), dir, name, Tr("ZPM Dateien"),
                        wxFD_SAVE | wxFD_OVERWRITE_PROMPT);
    if (dialog.ShowModal() != wxID_OK)
        return;  // cancel is not a save: savedFlag stays as it was
    const wxString chosen = ChosenPath(dialog);
    const wxString path = jobfile::PathWithExtension(chosen);
    if (!ConfirmReplace(chosen, path))
        return;  // nothing written, nothing changed
    // The window takes the new name only once the file is written: the next Ctrl+S must not
    // target a file that never was.
    if (!WriteJobFile(path))
        return;
    jobFilePath = path;
    jobFileNeedsName = false;
    SetTitle(wxFileName(chosen).GetFullName());
}

void MainFrame::OnExportCsv(wxCommandEvent&) {
    const long r = recordList->GetFocusedItem();
    if (r < 0 || r >= static_cast<long>(records.size()))
        return;
    ExportCsvFile(records[r], 0, records[r].Times().size());
}

void MainFrame::ExportCsvFile(const Storage& record, std::size_t first, std::size_t end) {
    wxFileDialog dialog(this, Tr("Exportieren nach Excel"), wxString(),
                        csvexport::DefaultFileName(record.DateText()), Tr("Exceldateien (*.csv)|*.csv||"),
                        wxFD_SAVE | wxFD_OVERWRITE_PROMPT);
    if (dialog.ShowModal() != wxID_OK)
        return;
    const wxString chosen = ChosenPath(dialog);
    const wxString path = csvexport::PathWithExtension(chosen);
    if (!ConfirmReplace(chosen, path))
        return;
    switch (csvexport::Save(path, record, first, end)) {
        case SaveResult::Ok:
            break;
        case SaveResult::CannotOpen:
            wxMessageBox(
                Tr("Öffnen der Exceldatei fehlgeschlagen, möglicherweise wird sie bereits durch ein anderes "
                   "Programm benutzt?"),
                Tr("Message"), wxOK | wxCENTRE);
            break;
        case SaveResult::WriteFailed:
            wxLogError(Tr("Error writing File"));
            break;
    }
}

void MainFrame::OnExportImage(wxCommandEvent&) {
    // The picture is taken before the dialog opens, so the dialog never covers it.
    plotWindow->RefreshView();
    plotWindow->Update();
    const wxBitmap picture = plotWindow->SnapshotBitmap();
    wxFileDialog dialog(this, Tr("Bild speichern als…"), wxString(), wxString(),
                        Tr("Bilddateien (*.bmp)|*.bmp|Bilddateien (*.png)|*.png"),
                        wxFD_SAVE | wxFD_OVERWRITE_PROMPT);
    if (dialog.ShowModal() != wxID_OK)
        return;
    const wxString chosen = ChosenPath(dialog);
    const ImageTarget target = ImageTargetFor(chosen, dialog.GetFilterIndex());
    if (!ConfirmReplace(chosen, target.path))
        return;
    // Encoded in memory first, then written like every other file: a failure leaves any previous
    // file as it was.
    wxMemoryOutputStream encoded;
    if (!picture.ConvertToImage().SaveFile(encoded, target.type)) {
        wxLogError(Tr("Error writing File"));
        return;
    }
    std::string bytes(encoded.GetSize(), '\0');
    encoded.CopyTo(bytes.data(), bytes.size());
    ReportSaveFailure(SaveFileSafely(target.path, [&](std::ostream& out) {
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        return bool(out);
    }));
}

void MainFrame::OnImportDatabase(wxCommandEvent&) {
    wxFileDialog dialog(this, Tr("Open KVR Database File"), wxString(), wxString(),
                        Tr("KVR Database files (*.hex)|*.hex"), wxFD_OPEN);
    if (dialog.ShowModal() != wxID_OK)
        return;
    const wxString path = ChosenPath(dialog);
    SetTitle(wxFileName(path).GetFullName());
    std::optional<wxString> message = dbimport::ScanFile(path);
    if (!message)
        wxLogError(Tr("Cannot open File for Reading"));
    else if (!message->empty())
        wxLogMessage(wxString::FromUTF8("%s"), *message);
}
