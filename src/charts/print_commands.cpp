// Printing and the print preview of the chart.
#include "charts/printout.h"
#include "data/translate.h"
#include "mainframe/main_frame.h"
#include "plot/plot_window.h"

#include <wx/msgdlg.h>
#include <wx/printdlg.h>
#include <wx/prntbase.h>

namespace {
const char* PrintFailed = wxTRANSLATE("Vorschau fehlgeschlagen. \n Druckereinstellung überprüfen");
}  // namespace

void MainFrame::OnPrintPreview(wxCommandEvent&) {
    PrintSettings settings;
    auto* preview = new wxPrintPreview(new MyPrintout(Tr("Erste ( r)"), plotWindow, settings.pageSetup),
                                       new MyPrintout(Tr("Zweite ( r)"), plotWindow, settings.pageSetup),
                                       &settings.dialogData);
    if (!preview->IsOk()) {
        delete preview;
        wxMessageBox(Tr(PrintFailed), Tr("Vorschau"), wxOK | wxICON_INFORMATION);
        return;
    }
    auto* previewFrame =
        new wxPreviewFrame(preview, this, Tr("Vorschau drucken"), wxPoint(100, 100), wxSize(600, 650),
                           wxDEFAULT_FRAME_STYLE | wxFRAME_FLOAT_ON_PARENT, wxString::FromAscii("frame"));
    previewFrame->Initialize();
    previewFrame->Show(true);
}

void MainFrame::OnPrint(wxCommandEvent&) {
    PrintSettings settings;
    wxPrinter printer(&settings.dialogData);
    MyPrintout printout(Tr("Ausdrucken"), plotWindow, settings.pageSetup);
    if (printer.Print(this, &printout, true)) {
        settings.printData = printer.GetPrintDialogData().GetPrintData();
        return;
    }
    if (wxPrinter::GetLastError() == wxPRINTER_ERROR)
        wxMessageBox(Tr(PrintFailed), Tr("Drucken"), wxOK | wxICON_INFORMATION);
}
