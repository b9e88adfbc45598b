// Printing and the print preview of the chart.
#include "charts/printout.h"
#include "mainframe/main_frame.h"
#include "plot/plot_window.h"

#include <wx/msgdlg.h>
#include <wx/printdlg.h>
#include <wx/prntbase.h>

namespace {
wxString U(const char* text) {
    return wxString::FromUTF8(text);
}
const char* PrintFailed = "Vorschau fehlgeschlagen. \n Druckereinstellung überprüfen";
}  // namespace

void MainFrame::OnPrintPreview(wxCommandEvent&) {
    PrintSettings settings;
    auto* preview = new wxPrintPreview(new MyPrintout(U("Erste ( r)"), plotWindow, settings.pageSetup),
                                       new MyPrintout(U("Zweite ( r)"), plotWindow, settings.pageSetup),
                                       &settings.dialogData);
    if (!preview->IsOk()) {
        delete preview;
        wxMessageBox(U(PrintFailed), U("Vorschau"), wxOK | wxICON_INFORMATION);
        return;
    }
    auto* previewFrame =
        new wxPreviewFrame(preview, this, U("Vorschau drucken"), wxPoint(100, 100), wxSize(600, 650),
                           wxDEFAULT_FRAME_STYLE | wxFRAME_FLOAT_ON_PARENT, wxString::FromAscii("frame"));
    previewFrame->Initialize();
    previewFrame->Show(true);
}

void MainFrame::OnPrint(wxCommandEvent&) {
    PrintSettings settings;
    wxPrinter printer(&settings.dialogData);
    MyPrintout printout(U("Ausdrucken"), plotWindow, settings.pageSetup);
    if (printer.Print(this, &printout, true)) {
        settings.printData = printer.GetPrintDialogData().GetPrintData();
        return;
    }
    if (wxPrinter::GetLastError() == wxPRINTER_ERROR)
        wxMessageBox(U(PrintFailed), U("Drucken"), wxOK | wxICON_INFORMATION);
}
