#include "mainframe/main_frame.h"

#include "app/app_settings.h"
#include "app/command_ids.h"
#include "resources/pictures.h"

#include <wx/image.h>
#include <wx/msgdlg.h>
#include <wx/splash.h>
#include <wx/statusbr.h>

bool MainFrame::splashEnabled = true;

wxBEGIN_EVENT_TABLE(MainFrame, wxFrame)
    EVT_MENU(ID_QUIT, MainFrame::OnQuit)
wxEND_EVENT_TABLE()

MainFrame::MainFrame(const wxString& title, const wxPoint& pos, const wxSize& size)
    // 1. The frame window.
    : wxFrame(nullptr, wxID_ANY, title, pos, size, wxDEFAULT_FRAME_STYLE, wxString::FromAscii("frame")),
      // 2. Members: empty record set, timers not started, savedFlag false.
      statusTimer(this, ID_STATUS_TIMER),
      liveTimer(this, ID_LIVE_TIMER) {
    Bind(wxEVT_CLOSE_WINDOW, &MainFrame::OnClose, this);

    // 3. Settings file.
    AppSettings = settingsfile::Load(settingsfile::DefaultPath());

    // 4. Menu bar.
    // 5. Main panel, controls and sizers.
    // 6. Record list columns, chart, button states; then the status timer and the USB link.
    statusTimer.Start(5000);

    // 7. Status bar.
    CreateStatusBar(2);
    SetStatusText(wxString::FromUTF8("ZPM Version 4.8"), 0);

    // 8. Image handlers and the splash screen.
    wxInitAllImageHandlers();
    if (splashEnabled) {
        new wxSplashScreen(pictures::Get(pictures::Motif::Splash),
                           wxSPLASH_CENTRE_ON_SCREEN | wxSPLASH_TIMEOUT, 2000, nullptr, wxID_ANY,
                           wxDefaultPosition, wxDefaultSize,
                           wxSIMPLE_BORDER | wxSTAY_ON_TOP);
        wxYield();
    }

    // 9. Startup tips.
}

MainFrame::~MainFrame() {
    settingsfile::Save(settingsfile::DefaultPath(), AppSettings);
    statusTimer.Stop();
    liveTimer.Stop();
}

void MainFrame::AppendRecord(const Storage& record) { records.push_back(record); }

void MainFrame::InsertRecordAtFront(const Storage& record) { records.insert(records.begin(), record); }

void MainFrame::EraseRecord(int index) {
    if (index >= 0 && index < static_cast<int>(records.size()))
        records.erase(records.begin() + index);
}

void MainFrame::ClearRecords() { records.clear(); }

void MainFrame::OnClose(wxCloseEvent& event) {
    if (savedFlag || records.empty()) {
        event.Skip();
        return;
    }
    wxMessageDialog ask(nullptr, wxString::FromUTF8("Do you wish to save data before closing?"),
                        wxString::FromUTF8("Before you close"), wxYES_NO | wxICON_INFORMATION);
    if (ask.ShowModal() == wxID_YES)
        return;  // consumed: the window stays open with every record, nothing saved
    event.Skip();
}

void MainFrame::OnQuit(wxCommandEvent&) { Close(true); }
