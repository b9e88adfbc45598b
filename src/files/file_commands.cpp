// The main window's file commands: job file open/save, CSV and image export, database import.
#include "mainframe/main_frame.h"

void MainFrame::OnOpenJob(wxCommandEvent&) {}
void MainFrame::OnSaveJob(wxCommandEvent&) {}
void MainFrame::OnSaveJobAs(wxCommandEvent&) {}
void MainFrame::OnExportCsv(wxCommandEvent&) {}
void MainFrame::OnExportImage(wxCommandEvent&) {}
void MainFrame::OnImportDatabase(wxCommandEvent&) {}
