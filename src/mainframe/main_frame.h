#pragma once

#include "data/storage.h"

#include <wx/colour.h>
#include <wx/frame.h>
#include <wx/timer.h>
#include <wx/weakref.h>

#include <array>
#include <functional>
#include <map>
#include <memory>
#include <vector>

class VextUSB;
struct RawSample;
class wxVextButton;
class kwxLCDDisplay;
class kwxLCDClock;
class mpWindow;
class mpScaleX;
class mpScaleY;
class mpScaleYVext;
class mpFXYVector;
class mpFXYVectorVext;
class mpInfoLegend;
class mpInfoTextBox;
class mpLayer;
class mpPhaseShading;
class mpSpanShading;
class mpSpanReadout;
namespace spanstats {
class SpanIndex;
}
class SampleColumn;
class wxBitmapButton;
class wxButton;
class wxGauge;
class wxListEvent;
class wxListView;
class wxMenu;
class wxMenuItem;
class wxPanel;
class wxUpdateUIEvent;
class wxStaticText;
class ProgressIndicator;
namespace hydrant {
struct Evaluation;
}
namespace report {
struct Page;
}
namespace recovery {
class JournalSet;
}

// A job file by its name: ".kvr", in any case.
bool IsJobFileName(const wxString& path);

// The program's one main window. It owns the record set, the timers, the USB link and the chart
// layers, and routes every command of its static event table to the handler that owns it.
// Its operations are spread over the folders of the subsystems they belong to (mainframe/,
// charts/, acquisition/, files/).
class MainFrame : public wxFrame {
public:
    MainFrame(const wxString& title, const wxPoint& pos, const wxSize& size);
    ~MainFrame() override;

    // Tests switch the 2-second splash off; the program always shows it.
    static bool splashEnabled;

    // ---- record set ----
    const std::vector<Storage>& Records() const { return records; }
    std::vector<Storage>& Records() { return records; }
    void AppendRecord(Storage record);
    void InsertRecordAtFront(Storage record);
    void EraseRecord(int index);
    void ClearRecords();

    // Opens a job file named outside the open dialog (command line, drop), as the open command
    // does with the file chosen in its dialog.
    void OpenJobFile(const wxString& path);
    // A drop of files onto the window: the first job file among them opens, after the question
    // about unsaved records. False when nothing was opened.
    bool OpenDroppedFiles(const std::vector<wxString>& files);
    // Files a later start of the program handed over: the window comes to the front, and they
    // open as dropped files do, once no dialog of a running command is open.
    void OpenHandedOverFiles(const std::vector<wxString>& files);

    // At start: offers back every live recording that a crash or a kill left unsaved, one question
    // each.
    void OfferRecovery();
    // Closes the start-up splash if it still shows (it stays on top and would cover a message).
    void CloseSplash();

    bool IsSaved() const { return savedFlag; }
    void SetSaved(bool saved) { savedFlag = saved; }

    // ---- operations other parts call after changing records or settings ----
    void RefreshRecordList();
    // One row of the list made anew from its record (a live record that grew).
    void RefreshRecordRow(int index);
    // `held`: the chart shows this record already and its first `held` samples are unchanged
    // since; only the samples from there on are taken in (0: loaded whole).
    void ChartRecord(int index, std::size_t held = 0);
    // Figures go into a record's text box below what the user wrote there; the record is charted
    // again with them and stays the selected one.
    void AppendToTextBox(int index, const wxString& figures);
    // The chart without any record: its series empty, no title, text box or target line.
    void ChartNoRecord();
    void SyncFlowUnitItems();
    void UpdateUnitLabels(int index);
    void RefreshChart();
    // Flow with pressure switched on, as the two buttons switch them.
    void ShowFlowWithPressure();

    // ---- accessors for tests and the gallery ----
    wxTimer& StatusTimer() { return statusTimer; }
    wxTimer& LiveTimer() { return liveTimer; }
    wxPanel* Panel() const { return panel; }
    mpWindow* PlotWindow() const { return plotWindow; }
    wxListView* RecordList() const { return recordList; }
    kwxLCDDisplay* FlowDisplay() const { return flowDisplay; }
    kwxLCDDisplay* PressureDisplay() const { return pressureDisplay; }
    kwxLCDClock* Clock() const { return clock; }
    wxStaticText* FlowUnitLabel() const { return flowUnitLabel; }
    wxStaticText* PressureUnitLabel() const { return pressureUnitLabel; }
    wxStaticText* StatusText() const { return statusText; }
    wxGauge* MemoryGauge() const { return memoryGauge; }
    wxGauge* BatteryGauge() const { return batteryGauge; }
    mpFXYVector* FlowSeries() const { return flowSeries.get(); }
    mpFXYVector* VolumeSeries() const { return volumeSeries.get(); }
    mpFXYVector* PressureSeries() const { return pressureSeries.get(); }
    mpFXYVectorVext* SecondaryPressureSeries() const { return secondaryPressureSeries.get(); }
    mpFXYVector* TargetLine() const { return targetLine.get(); }
    mpScaleX* TimeAxis() const { return timeAxis.get(); }
    mpScaleY* FlowAxis() const { return flowAxis.get(); }
    mpScaleY* VolumeAxis() const { return volumeAxis.get(); }
    mpScaleY* PressureAxis() const { return pressureAxis.get(); }
    mpScaleYVext* SecondaryPressureAxis() const { return secondaryPressureAxis.get(); }
    mpInfoLegend* Legend() const { return legend.get(); }
    mpInfoTextBox* TextBox() const { return textBox.get(); }
    bool FlowShown() const { return flowShown; }
    bool VolumeShown() const { return volumeShown; }
    bool PressureShown() const { return pressureShown; }
    bool Measure1On() const { return measure1On; }
    bool Measure2On() const { return measure2On; }
    bool GridOn() const { return gridOn; }
    bool PointsMode() const { return pointsMode; }
    bool SpanOn() const { return spanOn; }
    mpSpanReadout* SpanReadout() const { return spanReadout.get(); }
    mpSpanShading* SpanShading() const { return spanShading.get(); }
    bool FilterOn() const { return filterOn; }
    int FilterHalfWidth() const { return filterHalfWidth; }
    const wxString& JobFilePath() const { return jobFilePath; }
    int LiveRecordIndex() const { return liveRecordIndex; }
    float ElapsedTime() const { return elapsedTime; }
    int LivePollingInterval() const { return livePollingMs; }
    VextUSB& UsbLink() { return *usbLink; }
    // The download's progress window; tests put their own in its place.
    void SetProgressFactory(std::function<std::unique_ptr<ProgressIndicator>()> factory);

private:
    // Construction steps.
    void BuildMenuBar();
    void BuildPanel();
    void SetUpRecordList();
    void SetUpChart();
    void SetInitialButtonStates();
    void AcceptDroppedFiles();

    // Application shell.
    void OnClose(wxCloseEvent& event);
    void OnQuit(wxCommandEvent& event);
    void OnFlowUnit(wxCommandEvent& event);
    void OnShowTips(wxCommandEvent& event);
    void OnTipsSetting(wxCommandEvent& event);

    // Record list.
    int SingleSelectedFocusedRow() const;
    void OnRecordSelected(wxListEvent& event);
    void OnRecordDeselected(wxListEvent& event);
    void OnRecordActivated(wxListEvent& event);
    void OnRenameRecord(wxCommandEvent& event);
    void OnEditSubtitle(wxCommandEvent& event);
    void OnEditNoteText(wxCommandEvent& event);
    void OnEditTargetFlow(wxCommandEvent& event);
    void OnDeleteRecord(wxCommandEvent& event);
    void EnableRecordButtons(bool enable);
    // A filtered record's row is written in its own colour: its values on screen are smoothed.
    void MarkFiltered(long row, bool filtered);
    void EditRecordText(int kind);
    void ReselectRow(int row, bool newRecord);

    // Chart and plot commands.
    void OnZoomIn(wxCommandEvent& event);
    void OnZoomOut(wxCommandEvent& event);
    void OnShowFlow(wxCommandEvent& event);
    void OnShowVolume(wxCommandEvent& event);
    void OnShowPressure(wxCommandEvent& event);
    void OnMeasure1(wxCommandEvent& event);
    void OnMeasure2(wxCommandEvent& event);
    void OnGrid(wxCommandEvent& event);
    void OnPoints(wxCommandEvent& event);
    void OnLineColour(wxCommandEvent& event);
    void OnLineWidth(wxCommandEvent& event);
    void OnAbsoluteTime(wxCommandEvent& event);
    void OnPlotMeasure(wxCommandEvent& event);
    void OnPlotTextBox(wxCommandEvent& event);
    void SetButtonActive(wxVextButton* button, bool active);
    void SetMeasure1(bool on);
    void SetMeasure2(bool on);
    void ShowFlowReadout(double value);

    // The span of the chart: its figures, its export, its figures into the text box.
    void OnSpanMode(wxCommandEvent& event);
    void OnPlotSpan(wxCommandEvent& event);
    void OnPlotLeaveMode(wxCommandEvent& event);
    void OnSpanExport(wxCommandEvent& event);
    void OnSpanToTextBox(wxCommandEvent& event);
    void OnUpdateSpanCommand(wxUpdateUIEvent& event);
    void SetSpanMode(bool on);
    // The readout of the span for the charted record as it is now (after a load, a filter, a
    // change of the time labels); empty without a span.
    void UpdateSpanReadout();
    // Attached or detached by pointer, wherever the key went.
    void DetachLayerObject(const mpLayer* layer);

    // Filter.
    void OnFilter(wxCommandEvent& event);
    void OnFilterSettings(wxCommandEvent& event);

    // Files.
    void OnOpenJob(wxCommandEvent& event);
    void OnSaveJob(wxCommandEvent& event);
    void OnSaveJobAs(wxCommandEvent& event);
    void OnExportCsv(wxCommandEvent& event);
    // The export's dialog, replace question and safe save for samples [first, end) of a record.
    void ExportCsvFile(const Storage& record, std::size_t first, std::size_t end);
    void OnExportImage(wxCommandEvent& event);
    void OnImportDatabase(wxCommandEvent& event);
    void SaveJob();
    void SaveJobAs();
    bool ConfirmDiscardUnsaved();
    void ReadJobFile(const wxString& path);
    bool WriteJobFile(const wxString& path);

    // Hydrant test evaluation.
    void OnHydrantTest(wxCommandEvent& event);
    void OnUpdateHydrantTest(wxUpdateUIEvent& event);
    // The hydrant test report: the dialog over parent; the page to preview when the user asked
    // to print it (null otherwise).
    void OnHydrantReport(wxCommandEvent& event);
    std::unique_ptr<report::Page> ShowHydrantReport(wxWindow* parent, long record,
                                                    const hydrant::Evaluation& evaluation);
    void PreviewHydrantReport(const report::Page& page);

    // Printing.
    void OnPrint(wxCommandEvent& event);
    void OnPrintPreview(wxCommandEvent& event);

    // Acquisition.
    void OnStatusTimer(wxTimerEvent& event);
    void OnLiveTimer(wxTimerEvent& event);
    void OnRecord(wxCommandEvent& event);
    void OnStop(wxCommandEvent& event);
    void OnUpload(wxCommandEvent& event);
    void OnClearDevice(wxCommandEvent& event);
    void StopRecording();
    // Appends samples the logger sent to the live record, as each live tick does: displays,
    // recovery journal, the record's row and its chart.
    void TakeLiveSamples(const std::vector<RawSample>& samples);
    void ForgetSavedJournals();
    void ClearDeviceMemory();

    // Dialogs.
    void OnDeviceSettings(wxCommandEvent& event);
    void OnServiceDialog(wxCommandEvent& event);

    // ---- state ----
    std::vector<Storage> records;
    bool savedFlag = false;
    wxTimer statusTimer;
    wxTimer liveTimer;
    std::unique_ptr<VextUSB> usbLink;
    wxString jobFilePath;
    // The last open found damage, or could not read a file that is there: saving asks for the
    // name instead of replacing that file unasked.
    bool jobFileNeedsName = false;

    // Live recording: the record the record command created (-1 when none); kept in step with
    // every change of the record set so live samples never land in another record.
    int liveRecordIndex = -1;
    float elapsedTime = 0.0f;
    int livePollingMs = 1000;
    // The recovery journals of the live records, kept until each record is saved, leaves the set,
    // or the program ends normally.
    std::unique_ptr<recovery::JournalSet> journals;
    // The start-up splash while it shows; it stays on top, so a question at start closes it first.
    wxWeakRef<wxWindow> splashScreen;
    std::function<std::unique_ptr<ProgressIndicator>()> progressFactory;

    // Controls.
    wxPanel* panel = nullptr;
    wxVextButton *openButton = nullptr, *saveButton = nullptr, *printButton = nullptr, *imageButton = nullptr,
                 *logoButton = nullptr;
    wxVextButton *zoomInButton = nullptr, *zoomOutButton = nullptr, *measure1Button = nullptr,
                 *measure2Button = nullptr, *gridButton = nullptr, *pointsButton = nullptr,
                 *filterButton = nullptr;
    wxVextButton *flowButton = nullptr, *volumeButton = nullptr, *pressureButton = nullptr;
    mpWindow* plotWindow = nullptr;
    wxBitmapButton *recordButton = nullptr, *stopButton = nullptr, *settingsButton = nullptr,
                   *clearButton = nullptr, *uploadButton = nullptr;
    kwxLCDClock* clock = nullptr;
    kwxLCDDisplay *flowDisplay = nullptr, *pressureDisplay = nullptr;
    wxStaticText *flowUnitLabel = nullptr, *pressureUnitLabel = nullptr;
    wxListView* recordList = nullptr;
    wxButton *deleteButton = nullptr, *renameButton = nullptr, *subtitleButton = nullptr,
             *textBoxButton = nullptr, *targetFlowButton = nullptr;
    wxGauge *memoryGauge = nullptr, *batteryGauge = nullptr;
    wxStaticText* statusText = nullptr;

    // Menus.
    wxMenu* dataMenu = nullptr;
    std::array<wxMenuItem*, 4> flowUnitItems{};  // ids 61, 63, 62, 64 in menu order
    wxMenuItem* absoluteTimeItem = nullptr;

    // Chart objects, built once, attached by mode.
    std::unique_ptr<mpScaleX> timeAxis;
    std::unique_ptr<mpScaleY> flowAxis, volumeAxis, pressureAxis;
    std::unique_ptr<mpScaleYVext> secondaryPressureAxis;
    std::unique_ptr<mpFXYVector> flowSeries, volumeSeries, pressureSeries, targetLine;
    std::unique_ptr<mpFXYVectorVext> secondaryPressureSeries;
    std::unique_ptr<mpInfoLegend> legend;
    std::unique_ptr<mpInfoTextBox> textBox;
    std::unique_ptr<mpPhaseShading> phaseShading;  // marks of the hydrant test evaluation
    std::unique_ptr<mpSpanShading> spanShading;
    std::unique_ptr<mpSpanReadout> spanReadout;
    // Block sums of the charted record for the span's figures, made when a span is first asked
    // about after a load; its first spanIndexHeld samples are known unchanged since.
    std::unique_ptr<spanstats::SpanIndex> spanIndex;
    std::size_t spanIndexHeld = 0;
    // The samples the span covers (both inclusive) when it covers any.
    bool spanHasSamples = false;
    std::size_t spanFirst = 0, spanLast = 0;
    // The minimum pressure given last in the hydrant test evaluation, by pressure unit code.
    std::map<int, double> hydrantMinimum;
    // The charted record's times, flows, volumes and pressures, each taken in once per load and
    // read by every series that shows it.
    std::shared_ptr<SampleColumn> chartTimes, chartFlows, chartVolumes, chartPressures;

    // Chart state.
    bool flowShown = false, volumeShown = false, pressureShown = false;
    // The user switched a chart mode, or the first chart switched flow with pressure on: from
    // then on the modes are the user's.
    bool chartModesChosen = false;
    bool gridOn = false, pointsMode = false;
    bool measure1On = false, measure2On = false;
    bool spanOn = false;
    wxMenuItem *spanModeItem = nullptr, *spanModePopupItem = nullptr;
    int pointWidth = 6, lineWidth = 2;
    wxColour chosenColour;
    int chartedRecord = -1;
    // Samples of the live record the chart holds, as the live tick left them (0: none known).
    std::size_t liveCharted = 0;

    // Filter commands.
    bool filterOn = false;
    int filterHalfWidth = 2;

    wxDECLARE_EVENT_TABLE();
};
