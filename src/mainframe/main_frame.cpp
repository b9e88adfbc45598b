#include "mainframe/main_frame.h"
#include "data/translate.h"

#include "acquisition/progress.h"
#include "acquisition/recovery_journal.h"
#include "app/app_settings.h"
#include "app/command_ids.h"
#include "device/vext_usb.h"
#include "mainframe/tips_dialog.h"
#include "plot/layers.h"
#include "plot/phase_shading.h"
#include "plot/plot_events.h"
#include "plot/plot_window.h"
#include "plot/scales.h"
#include "plot/span_layer.h"
#include "plot/span_stats.h"
#include "resources/pictures.h"

#include <wx/image.h>
#include <wx/listctrl.h>
#include <wx/msgdlg.h>
#include <wx/panel.h>
#include <wx/sizer.h>
#include <wx/splash.h>
#include <wx/statusbr.h>
#include <wx/weakref.h>

#include <type_traits>

bool MainFrame::splashEnabled = true;

void MainFrame::CloseSplash() {
    if (!splashScreen)
        return;
    splashScreen->Hide();
    splashScreen->Destroy();
}

// The command table: every button, menu, list, timer and custom event of the main window.
// clang-format off
wxBEGIN_EVENT_TABLE(MainFrame, wxFrame)
    EVT_MENU(ID_QUIT, MainFrame::OnQuit)
    EVT_MENU(ID_OPEN_JOB, MainFrame::OnOpenJob)
    EVT_BUTTON(ID_OPEN_BUTTON, MainFrame::OnOpenJob)
    EVT_MENU(ID_SAVE_JOB, MainFrame::OnSaveJob)
    EVT_BUTTON(ID_SAVE_JOB, MainFrame::OnSaveJob)
    EVT_MENU(ID_SAVE_JOB_AS, MainFrame::OnSaveJobAs)
    EVT_MENU(ID_PRINT, MainFrame::OnPrint)
    EVT_MENU(ID_PRINT_PREVIEW, MainFrame::OnPrintPreview)
    EVT_BUTTON(ID_PRINT_BUTTON, MainFrame::OnPrintPreview)
    EVT_BUTTON(ID_IMAGE_EXPORT, MainFrame::OnExportImage)
    EVT_MENU(ID_EXPORT_CSV, MainFrame::OnExportCsv)
    EVT_MENU(ID_COLOUR_FLOW, MainFrame::OnLineColour)
    EVT_MENU(ID_COLOUR_VOLUME, MainFrame::OnLineColour)
    EVT_MENU(ID_COLOUR_PRESSURE, MainFrame::OnLineColour)
    EVT_MENU(ID_WIDTH_FLOW, MainFrame::OnLineWidth)
    EVT_MENU(ID_WIDTH_VOLUME, MainFrame::OnLineWidth)
    EVT_MENU(ID_WIDTH_PRESSURE, MainFrame::OnLineWidth)
    EVT_MENU(ID_FLOW_UNIT_LMIN, MainFrame::OnFlowUnit)
    EVT_MENU(ID_FLOW_UNIT_M3H, MainFrame::OnFlowUnit)
    EVT_MENU(ID_FLOW_UNIT_LS, MainFrame::OnFlowUnit)
    EVT_MENU(ID_FLOW_UNIT_GPM, MainFrame::OnFlowUnit)
    EVT_MENU(ID_ABSOLUTE_TIME, MainFrame::OnAbsoluteTime)
    EVT_MENU(ID_FILTER_SETTINGS, MainFrame::OnFilterSettings)
    EVT_MENU(ID_HYDRANT_TEST, MainFrame::OnHydrantTest)
    EVT_UPDATE_UI(ID_HYDRANT_TEST, MainFrame::OnUpdateHydrantTest)
    EVT_MENU(ID_HYDRANT_REPORT, MainFrame::OnHydrantReport)
    EVT_UPDATE_UI(ID_HYDRANT_REPORT, MainFrame::OnUpdateHydrantTest)
    EVT_MENU(ID_SHOW_TIPS, MainFrame::OnShowTips)
    EVT_MENU(ID_IMPORT_DATABASE, MainFrame::OnImportDatabase)
    EVT_MENU(ID_SERVICE_DIALOG, MainFrame::OnServiceDialog)
    EVT_BUTTON(ID_ZOOM_IN, MainFrame::OnZoomIn)
    EVT_BUTTON(ID_ZOOM_OUT, MainFrame::OnZoomOut)
    EVT_BUTTON(ID_SHOW_FLOW, MainFrame::OnShowFlow)
    EVT_BUTTON(ID_SHOW_VOLUME, MainFrame::OnShowVolume)
    EVT_BUTTON(ID_SHOW_PRESSURE, MainFrame::OnShowPressure)
    EVT_BUTTON(ID_MEASURE_1, MainFrame::OnMeasure1)
    EVT_BUTTON(ID_MEASURE_2, MainFrame::OnMeasure2)
    EVT_BUTTON(ID_GRID, MainFrame::OnGrid)
    EVT_BUTTON(ID_POINTS, MainFrame::OnPoints)
    EVT_BUTTON(ID_FILTER, MainFrame::OnFilter)
    EVT_BUTTON(ID_RECORD, MainFrame::OnRecord)
    EVT_BUTTON(ID_STOP, MainFrame::OnStop)
    EVT_BUTTON(ID_DEVICE_SETTINGS, MainFrame::OnDeviceSettings)
    EVT_BUTTON(ID_CLEAR_DEVICE, MainFrame::OnClearDevice)
    EVT_BUTTON(ID_UPLOAD, MainFrame::OnUpload)
    EVT_BUTTON(ID_DELETE_RECORD, MainFrame::OnDeleteRecord)
    EVT_BUTTON(ID_RENAME_RECORD, MainFrame::OnRenameRecord)
    EVT_BUTTON(ID_SUBTITLE, MainFrame::OnEditSubtitle)
    EVT_BUTTON(ID_TEXT_BOX, MainFrame::OnEditNoteText)
    EVT_BUTTON(ID_TARGET_FLOW, MainFrame::OnEditTargetFlow)
    EVT_LIST_ITEM_SELECTED(ID_RECORD_LIST, MainFrame::OnRecordSelected)
    EVT_LIST_ITEM_DESELECTED(ID_RECORD_LIST, MainFrame::OnRecordDeselected)
    EVT_LIST_ITEM_ACTIVATED(ID_RECORD_LIST, MainFrame::OnRecordActivated)
    EVT_TIMER(ID_STATUS_TIMER, MainFrame::OnStatusTimer)
    EVT_TIMER(ID_LIVE_TIMER, MainFrame::OnLiveTimer)
    EVT_COMMAND(wxID_ANY, zpmEVT_PLOT_MEASURE, MainFrame::OnPlotMeasure)
    EVT_COMMAND(wxID_ANY, zpmEVT_PLOT_TEXTBOX, MainFrame::OnPlotTextBox)
    EVT_COMMAND(wxID_ANY, zpmEVT_PLOT_SPAN, MainFrame::OnPlotSpan)
    EVT_MENU(ID_PLOT_LEAVE_MODE, MainFrame::OnPlotLeaveMode)
    EVT_MENU(ID_SPAN_MODE, MainFrame::OnSpanMode)
    EVT_MENU(ID_SPAN_EXPORT, MainFrame::OnSpanExport)
    EVT_MENU(ID_SPAN_TO_TEXT_BOX, MainFrame::OnSpanToTextBox)
    EVT_UPDATE_UI(ID_SPAN_MODE, MainFrame::OnUpdateSpanCommand)
    EVT_UPDATE_UI(ID_SPAN_EXPORT, MainFrame::OnUpdateSpanCommand)
    EVT_UPDATE_UI(ID_SPAN_TO_TEXT_BOX, MainFrame::OnUpdateSpanCommand)
    EVT_COMMAND(wxID_ANY, zpmEVT_TIPS_SETTING, MainFrame::OnTipsSetting)
wxEND_EVENT_TABLE()
    // clang-format on

    MainFrame::MainFrame(const wxString& title, const wxPoint& pos, const wxSize& size)
    // 1. The frame window.
    : wxFrame(nullptr, wxID_ANY, title, pos, size, wxDEFAULT_FRAME_STYLE, wxString::FromAscii("frame")),
      // 2. Members: empty record set, timers constructed but not started, savedFlag false.
      statusTimer(this, ID_STATUS_TIMER),
      liveTimer(this, ID_LIVE_TIMER),
      journals(std::make_unique<recovery::JournalSet>()),
      progressFactory(DefaultProgressFactory()) {
    Bind(wxEVT_CLOSE_WINDOW, &MainFrame::OnClose, this);

    // 3. The settings file.
    AppSettings = settingsfile::Load(settingsfile::DefaultPath(), settingsfile::LegacyPath());

    // 4. The menu bar; its check marks come from the settings.
    BuildMenuBar();

    // 5. The main panel with every control and sizer; the frame takes the sizer's minimum size.
    BuildPanel();

    // 6. Record list, chart, button states; then the status timer and the USB link. The bus is
    //    not touched here: the first contact with a logger is the first status tick.
    SetUpRecordList();
    SetUpChart();
    SetInitialButtonStates();
    AcceptDroppedFiles();
    statusTimer.Start(5000);
    usbLink = std::make_unique<VextUSB>();

    // 7. The status bar.
    CreateStatusBar(2);
    SetStatusText(Tr("ZPM Version 4.8"), 0);
    // The minimum size once more, now with the status bar below the panel: without it the
    // window would be a status bar's height too small for its controls.
    panel->GetSizer()->SetSizeHints(this);

    // 8. Image handlers and the splash screen, painted before construction goes on.
    if (!wxImage::FindHandler(wxBITMAP_TYPE_PNG))  // once per process, however many frames
        wxInitAllImageHandlers();
    if (splashEnabled) {
        // The picture for this screen's scale: twice the pixels in the same place on a desktop
        // that scales by 2.
        splashScreen =
            new wxSplashScreen(pictures::Bundle(pictures::Motif::Splash).GetBitmapFor(this),
                               wxSPLASH_CENTRE_ON_SCREEN | wxSPLASH_TIMEOUT, 2000, nullptr, wxID_ANY,
                               wxDefaultPosition, wxDefaultSize, wxSIMPLE_BORDER | wxSTAY_ON_TOP);
        wxYield();
    }

    // 9. The startup tips, modeless, shown before the main window.
    if (AppSettings.showTips) {
        auto* tips = new TipsDialog(this, true);
        tips->Show(true);
        // Shown before the main window, the dialog would end up behind it: bring it to the front
        // once the main window is up.
        wxWeakRef<TipsDialog> weak(tips);
        CallAfter([weak] {
            if (weak) {
                weak->CentreOnParent();
                weak->Raise();
            }
        });
    }
}

MainFrame::~MainFrame() {
    settingsfile::Save(settingsfile::DefaultPath(), AppSettings);
    // A normal end: whatever was not saved, the user chose to leave.
    journals->RemoveAllBut(-1);
    statusTimer.Stop();
    liveTimer.Stop();
    // The plot window (a child) is destroyed after this body; it must not paint layers that are
    // about to go, so take them off first.
    for (int key = 0; key < 9; ++key)
        plotWindow->DetachLayer(key);
    DetachLayerObject(spanShading.get());
    DetachLayerObject(spanReadout.get());
}

// The record set grows by moving its records, never by copying their samples.
static_assert(std::is_nothrow_move_constructible_v<Storage> && std::is_nothrow_move_assignable_v<Storage>);

void MainFrame::AppendRecord(Storage record) {
    records.push_back(std::move(record));
}

void MainFrame::InsertRecordAtFront(Storage record) {
    records.insert(records.begin(), std::move(record));
    journals->RecordInsertedAtFront();
    if (liveRecordIndex >= 0)
        ++liveRecordIndex;
    // The charted record moved one row down; the chart still shows it.
    if (chartedRecord >= 0)
        ++chartedRecord;
}

void MainFrame::EraseRecord(int index) {
    if (index < 0 || index >= static_cast<int>(records.size()))
        return;
    records.erase(records.begin() + index);
    journals->RecordErased(index);
    if (index == liveRecordIndex)
        liveRecordIndex = -1;
    else if (index < liveRecordIndex)
        --liveRecordIndex;
    // The chart keeps showing what it showed; what belongs to the charted record (its text box
    // position) must follow it to its new row, or go nowhere when it was the one erased.
    if (index == chartedRecord)
        chartedRecord = -1;
    else if (index < chartedRecord)
        --chartedRecord;
}

void MainFrame::ClearRecords() {
    records.clear();
    journals->RemoveAllBut(-1);
    liveRecordIndex = -1;
    chartedRecord = -1;
}

void MainFrame::OnClose(wxCloseEvent& event) {
    if (savedFlag || records.empty()) {
        event.Skip();
        return;
    }
    wxMessageDialog ask(nullptr, Tr("Do you wish to save data before closing?"), Tr("Before you close"),
                        wxYES_NO | wxICON_INFORMATION);
    if (ask.ShowModal() == wxID_YES)
        return;  // consumed: the window stays open with every record, nothing is saved
    event.Skip();
}

void MainFrame::OnQuit(wxCommandEvent&) {
    Close(true);
}

void MainFrame::SetProgressFactory(std::function<std::unique_ptr<ProgressIndicator>()> factory) {
    progressFactory = std::move(factory);
}
