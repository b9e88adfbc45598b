// The hydrant test evaluation of the "Daten" menu: evaluates the one selected record, marks its
// phases on the chart while the dialog is open, and on request writes the figures into the
// record's text box.
#include "app/command_ids.h"
#include "app/tester_file.h"
#include "charts/printout.h"
#include "charts/report_command_line.h"
#include "charts/report_page.h"
#include "data/hydrant_evaluation.h"
#include "data/translate.h"
#include "dialogs/hydrant_dialog.h"
#include "dialogs/report_dialog.h"
#include "files/csv_export.h"
#include "mainframe/file_choice.h"
#include "mainframe/main_frame.h"
#include "plot/phase_shading.h"
#include "plot/plot_window.h"

#include <wx/filedlg.h>
#include <wx/filename.h>
#include <wx/listctrl.h>
#include <wx/msgdlg.h>
#include <wx/printdlg.h>

void MainFrame::OnUpdateHydrantTest(wxUpdateUIEvent& event) {
    event.Enable(recordList->GetSelectedItemCount() == 1);
}

void MainFrame::OnHydrantTest(wxCommandEvent&) {
    if (recordList->GetSelectedItemCount() != 1)
        return;
    const long r = recordList->GetFirstSelected();
    if (r < 0 || r >= static_cast<long>(records.size()))
        return;
    hydrant::Evaluation evaluation =
        hydrant::Evaluate(records[r], hydrant::DefaultRequiredPressure(records[r].PressureUnit()));
    if (!evaluation.phasesFound) {
        wxMessageDialog refused(this, evaluation.reason, Tr("Hydrantenprüfung"), wxOK | wxICON_INFORMATION);
        refused.ShowModal();
        return;
    }

    if (chartedRecord != r)
        ChartRecord(r);
    if (!phaseShading)
        phaseShading = std::make_unique<mpPhaseShading>();
    phaseShading->SetBands({
        {evaluation.restPhase.startTime, evaluation.restPhase.endTime, wxColour(40, 110, 200), Tr("Ruhe")},
        {evaluation.flowingPhase.startTime, evaluation.flowingPhase.endTime, wxColour(30, 150, 60),
         Tr("Fließen")},
    });
    plotWindow->AttachLayer(phaseShading.get());
    plotWindow->Refresh(false);

    HydrantDialog dialog(this, evaluation, hydrant::UnitsOf(records[r]));
    std::unique_ptr<report::Page> toPrint;
    dialog.SetReportAction([&](const hydrant::Evaluation& shown) {
        toPrint = ShowHydrantReport(&dialog, r, shown);
        // The preview is a window of its own: it opens once the dialogs are gone.
        if (toPrint)
            dialog.EndModal(wxID_CANCEL);
    });
    const int answer = dialog.ShowModal();
    // The minimum pressure given here is the one the span's readout counts the time below.
    if (r < static_cast<long>(records.size()) && dialog.Result().requiredPressure > 0) {
        hydrantMinimum[records[r].PressureUnit()] = dialog.Result().requiredPressure;
        UpdateSpanReadout();
    }

    // The marks go with the dialog.
    for (int key = 0; key < plotWindow->LayerCount() + 64; ++key) {
        if (plotWindow->LayerAt(key) == phaseShading.get()) {
            plotWindow->DetachLayer(key);
            break;
        }
    }
    plotWindow->Refresh(false);
    if (toPrint)
        PreviewHydrantReport(*toPrint);

    if (answer != wxID_APPLY || r >= static_cast<long>(records.size()))
        return;
    AppendToTextBox(static_cast<int>(r), dialog.Text());
}

void MainFrame::AppendToTextBox(int r, const wxString& figures) {
    Storage& record = records[r];
    wxString text = figures;
    // What the user wrote into the text box before stays above the figures.
    if (!record.NoteText().empty())
        text = record.NoteText() + wxString::FromUTF8("\n") + text;
    record.SetNoteText(text);
    savedFlag = false;
    RefreshRecordList();
    ChartRecord(r);
    recordList->Select(r);
    recordList->Focus(r);
}

void MainFrame::OnHydrantReport(wxCommandEvent&) {
    if (recordList->GetSelectedItemCount() != 1)
        return;
    const long r = recordList->GetFirstSelected();
    if (r < 0 || r >= static_cast<long>(records.size()))
        return;
    const hydrant::Evaluation evaluation =
        hydrant::Evaluate(records[r], hydrant::DefaultRequiredPressure(records[r].PressureUnit()));
    if (!evaluation.ok) {
        wxMessageDialog refused(this, evaluation.reason, Tr("Prüfbericht"), wxOK | wxICON_INFORMATION);
        refused.ShowModal();
        return;
    }
    if (std::unique_ptr<report::Page> page = ShowHydrantReport(this, r, evaluation))
        PreviewHydrantReport(*page);
}

std::unique_ptr<report::Page> MainFrame::ShowHydrantReport(wxWindow* parent, long r,
                                                           const hydrant::Evaluation& evaluation) {
    const Storage& record = records[r];
    const std::string testerPath = testerfile::DefaultPath();
    report::Site site{record.Title(), record.Subtitle(), testerfile::Load(testerPath), wxString()};
    auto remember = [&](const wxString& tester) {
        if (tester != testerfile::Load(testerPath))
            testerfile::Save(testerPath, tester);
    };
    ReportDialog dialog(parent, site);
    dialog.SetSaveAction([&](ReportDialog& d) {
        const report::Page page = report::MakePage(record, evaluation, d.Site());
        wxFileDialog files(
            &d, Tr("Prüfbericht speichern"), wxString(),
            Tr("Prüfbericht ") + csvexport::DefaultFileName(record.DateText()) + wxString::FromUTF8(".pdf"),
            Tr("PDF-Dateien (*.pdf)|*.pdf"), wxFD_SAVE | wxFD_OVERWRITE_PROMPT);
        if (files.ShowModal() != wxID_OK)
            return;
        const wxString chosen = filechoice::ChosenPath(files);
        const wxString path = wxFileName(chosen).GetExt().Lower() == wxString::FromUTF8("pdf")
                                  ? chosen
                                  : chosen + wxString::FromUTF8(".pdf");
        if (!filechoice::ConfirmReplace(chosen, path))
            return;
        const SaveResult result = report::SavePdf(path, page);
        filechoice::ReportSaveFailure(result);
        if (result == SaveResult::Ok)
            remember(page.site.tester);
    });
    if (dialog.ShowModal() != wxID_PRINT)
        return nullptr;
    remember(dialog.Site().tester);
    return std::make_unique<report::Page>(report::MakePage(record, evaluation, dialog.Site()));
}

void MainFrame::PreviewHydrantReport(const report::Page& page) {
    PrintSettings settings;
    auto* preview = new wxPrintPreview(new report::Printout(Tr("Prüfbericht"), page),
                                       new report::Printout(Tr("Prüfbericht"), page), &settings.dialogData);
    if (!preview->IsOk()) {
        delete preview;
        wxMessageBox(Tr("Vorschau fehlgeschlagen. \n Druckereinstellung überprüfen"), Tr("Vorschau"),
                     wxOK | wxICON_INFORMATION);
        return;
    }
    auto* frame =
        new wxPreviewFrame(preview, this, Tr("Vorschau drucken"), wxPoint(100, 100), wxSize(600, 650),
                           wxDEFAULT_FRAME_STYLE | wxFRAME_FLOAT_ON_PARENT, wxString::FromAscii("frame"));
    frame->Initialize();
    frame->Show(true);
}
