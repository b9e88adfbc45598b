// The main panel: every control of the program, its pictures, tooltips, sizes and places.
#include "app/app_settings.h"
#include "app/command_ids.h"
#include "data/translate.h"
#include "data/units.h"
#include "mainframe/look.h"
#include "mainframe/main_frame.h"
#include "plot/plot_window.h"
#include "resources/pictures.h"
#include "widgets/gauge_style.h"
#include "widgets/lcd_display.h"
#include "widgets/vext_button.h"

#include <wx/bmpbuttn.h>
#include <wx/button.h>
#include <wx/gauge.h>
#include <wx/listctrl.h>
#include <wx/panel.h>
#include <wx/sizer.h>
#include <wx/stattext.h>

#include <algorithm>

namespace {

const wxString ButtonName = wxString::FromAscii("button");

}  // namespace

namespace {

using pictures::Motif;
using pictures::State;

// A hover image button with the normal picture of the motif and the state pictures named.
// disabled: the pressed picture, or the normal one when disabledIsNormal.
wxVextButton* MakeVextButton(wxWindow* parent, int id, Motif motif, const char* label, wxSize size,
                             const char* tooltip, bool withDisabled, bool disabledIsNormal = false) {
    auto* b = new wxVextButton(parent, id, pictures::Bundle(motif), Tr(label), wxDefaultPosition, size,
                               wxNO_BORDER, wxDefaultValidator, ButtonName);
    b->SetBitmapCurrent(pictures::Bundle(motif, State::Hover));
    b->SetBitmapPressed(pictures::Bundle(motif, State::Pressed));
    if (withDisabled)
        b->SetBitmapDisabled(pictures::Bundle(motif, disabledIsNormal ? State::Normal : State::Pressed));
    if (tooltip)
        b->SetToolTip(Tr(tooltip));
    return b;
}

// A round logger button: the 70 x 70 face centred in a smaller button, pressed = disabled.
wxBitmapButton* MakeLoggerButton(wxWindow* parent, int id, Motif motif, wxSize size, const char* tooltip) {
    auto* b = new wxBitmapButton(parent, id, pictures::Bundle(motif), wxPoint(0, 0), size, wxNO_BORDER,
                                 wxDefaultValidator, ButtonName);
    b->SetBitmapPressed(pictures::Bundle(motif, State::Pressed));
    b->SetBitmapDisabled(pictures::Bundle(motif, State::Pressed));
    b->SetBitmapCurrent(pictures::Bundle(motif, State::Hover));
    b->SetToolTip(Tr(tooltip));
    return b;
}

wxButton* MakeRecordButton(wxWindow* parent, int id, const char* label, const char* tooltip) {
    auto* b =
        new wxButton(parent, id, Tr(label), wxPoint(0, 0), wxSize(10, 30), 0, wxDefaultValidator, ButtonName);
    if (tooltip)
        b->SetToolTip(Tr(tooltip));
    // The sizer stretches the button, but never below what its label needs: the toolkit would
    // draw it wider than its place anyway, over the edge of the window.
    const wxSize best = b->GetBestSize();
    b->SetMinSize(wxSize(std::max(10, best.x), std::max(30, best.y)));
    return b;
}

}  // namespace

void MainFrame::BuildPanel() {
    // 1. The panel.
    panel = new wxPanel(this, wxID_ANY, wxDefaultPosition, wxDefaultSize, wxTAB_TRAVERSAL | wxNO_BORDER,
                        wxString::FromAscii("panel"));
    panel->SetBackgroundColour(FaceColour());

    // 2. The top-level sizers.
    auto* topSizer = new wxBoxSizer(wxHORIZONTAL);
    auto* leftColumn = new wxBoxSizer(wxVERTICAL);
    auto* rightColumn = new wxBoxSizer(wxVERTICAL);

    // 3. The file row.
    const wxSize fileSize(55, 60);
    openButton = MakeVextButton(panel, ID_OPEN_BUTTON, Motif::Open, wxTRANSLATE("Öffnen"), fileSize,
                                wxTRANSLATE("Open previously saved work"), false);
    saveButton = MakeVextButton(panel, ID_SAVE_JOB, Motif::Save, wxTRANSLATE("Speichern"), fileSize,
                                wxTRANSLATE("Save the current data"), false);
    printButton = MakeVextButton(panel, ID_PRINT_BUTTON, Motif::Print, wxTRANSLATE("Drucken"), fileSize,
                                 wxTRANSLATE("Print the current plot"), false);
    imageButton = MakeVextButton(panel, ID_IMAGE_EXPORT, Motif::Camera, wxTRANSLATE("Ansicht"), fileSize,
                                 wxTRANSLATE("Save an image with the current plot"), false);
    logoButton = new wxVextButton(panel, ID_LOGO_BUTTON, pictures::Bundle(Motif::Logo),
                                  wxString::Format(Tr("ZPM Version %.1f"), 4.8), wxDefaultPosition,
                                  wxSize(100, 70), wxNO_BORDER, wxDefaultValidator, ButtonName);
    auto* fileRow = new wxBoxSizer(wxHORIZONTAL);
    fileRow->Add(openButton, 0);
    fileRow->Add(saveButton, 1);
    fileRow->Add(printButton, 1);
    fileRow->Add(imageButton, 0);
    fileRow->Add(logoButton, 2, wxLEFT, 20);

    // 4. The chart tools and the series buttons.
    auto* toolColumn = new wxBoxSizer(wxVERTICAL);
    const wxSize toolSize(70, 50);
    zoomInButton = MakeVextButton(panel, ID_ZOOM_IN, Motif::ZoomIn, wxTRANSLATE("Vergrößern"), toolSize,
                                  wxTRANSLATE("Zoom in on the current plot"), true);
    zoomOutButton = MakeVextButton(panel, ID_ZOOM_OUT, Motif::ZoomOut, wxTRANSLATE("Verkleinern"), toolSize,
                                   wxTRANSLATE("Zoom out from the current plot"), true);
    measure1Button = MakeVextButton(panel, ID_MEASURE_1, Motif::Measure, wxTRANSLATE("Messwerte 1"), toolSize,
                                    wxTRANSLATE("Select to measure flow point on plot"), true);
    measure2Button = MakeVextButton(panel, ID_MEASURE_2, Motif::Measure, wxTRANSLATE("Messwerte 2"), toolSize,
                                    wxTRANSLATE("Select to measure pressure point on plot"), true, true);
    gridButton = MakeVextButton(panel, ID_GRID, Motif::Grid, wxTRANSLATE("Raster"), toolSize,
                                wxTRANSLATE("Display grid on plot"), true);
    pointsButton = MakeVextButton(panel, ID_POINTS, Motif::Points, wxTRANSLATE("Messpunke"), toolSize,
                                  wxTRANSLATE("Show or hide data points"), true);
    filterButton = MakeVextButton(panel, ID_FILTER, Motif::Filter, wxTRANSLATE("Filter"), toolSize,
                                  wxTRANSLATE("Apply averaging filter to data plot"), true);
    const wxSize seriesSize(55, 60);
    flowButton = MakeVextButton(panel, ID_SHOW_FLOW, Motif::FlowSeries, wxTRANSLATE("Durchfluss"), seriesSize,
                                wxTRANSLATE("Display or hide the flow data"), true);
    volumeButton = MakeVextButton(panel, ID_SHOW_VOLUME, Motif::VolumeSeries, wxTRANSLATE("Volumen"),
                                  seriesSize, wxTRANSLATE("Display or hide the volume data"), true);
    pressureButton = MakeVextButton(panel, ID_SHOW_PRESSURE, Motif::PressureSeries, wxTRANSLATE("Druck"),
                                    seriesSize, wxTRANSLATE("Display or hide the pressure data"), true);
    toolColumn->Add(zoomInButton, 0, wxTOP, 10);
    toolColumn->Add(zoomOutButton, 0);
    toolColumn->Add(measure1Button, 0, wxTOP, 10);
    toolColumn->Add(measure2Button, 0);
    toolColumn->Add(gridButton, 0);
    toolColumn->Add(pointsButton, 0);
    toolColumn->Add(filterButton, 0);
    fileRow->Add(flowButton, 1, wxLEFT, 0);
    fileRow->Add(volumeButton, 1, wxRIGHT, 10);
    fileRow->Add(pressureButton, 1, wxRIGHT, 10);

    // 5. The plot window and the chart row.
    plotWindow = new mpWindow(panel, wxID_ANY, wxDefaultPosition, wxSize(600, 300), wxSUNKEN_BORDER);
    auto* chartRow = new wxBoxSizer(wxHORIZONTAL);
    chartRow->Add(toolColumn, 0);
    chartRow->Add(plotWindow, 3, wxEXPAND | wxRIGHT, 20);
    leftColumn->Add(fileRow, 0, wxEXPAND | wxBOTTOM, 5);
    leftColumn->Add(chartRow, 1, wxEXPAND);

    // 6. The logger buttons in their static boxes.
    recordButton = MakeLoggerButton(panel, ID_RECORD, Motif::RecordFace, wxSize(50, 50),
                                    wxTRANSLATE("Record live data"));
    stopButton = MakeLoggerButton(panel, ID_STOP, Motif::StopFace, wxSize(50, 50),
                                  wxTRANSLATE("Stop live data capture"));
    settingsButton = MakeLoggerButton(panel, ID_DEVICE_SETTINGS, Motif::SettingsFace, wxSize(70, 50),
                                      wxTRANSLATE("Change device settings"));
    clearButton = MakeLoggerButton(panel, ID_CLEAR_DEVICE, Motif::ClearFace, wxSize(50, 50),
                                   wxTRANSLATE("Clear device memory"));
    uploadButton = MakeLoggerButton(panel, ID_UPLOAD, Motif::UploadFace, wxSize(50, 50),
                                    wxTRANSLATE("Upload all data from device"));
    auto* usbBox = new wxStaticBoxSizer(wxHORIZONTAL, panel, Tr("USB Verbindung"));
    usbBox->Add(recordButton, 0, wxALL, 5);
    usbBox->Add(stopButton, 0, wxEXPAND | wxRIGHT | wxTOP | wxBOTTOM, 5);
    auto* settingsBox = new wxStaticBoxSizer(wxHORIZONTAL, panel, Tr("Einstellungen"));
    settingsBox->Add(settingsButton, 1, wxEXPAND | wxALL, 5);
    auto* memoryBox = new wxStaticBoxSizer(wxHORIZONTAL, panel, Tr("Gerätespeicher"));
    memoryBox->Add(clearButton, 1, wxEXPAND | wxALL, 5);
    memoryBox->Add(uploadButton, 1, wxEXPAND | wxRIGHT | wxTOP | wxBOTTOM, 5);

    // 7. Clock and displays.
    clock = new kwxLCDClock(panel, wxDefaultPosition, wxSize(150, 40));
    clock->SetDigitCount(7);
    clock->ShowElapsed(0);
    flowDisplay = new kwxLCDDisplay(panel, wxDefaultPosition, wxSize(100, 40));
    flowDisplay->SetDigitCount(6);
    flowDisplay->SetDisplayText(wxString::FromUTF8("0.0"));
    pressureDisplay = new kwxLCDDisplay(panel, wxDefaultPosition, wxSize(60, 35));
    pressureDisplay->SetDigitCount(6);
    pressureDisplay->SetDisplayText(wxString::FromUTF8("0.0"));

    // 8. The unit labels beside the displays, chosen from the settings.
    wxString flowText = units::FlowShortLabel(units::UnitSystemMetric, AppSettings.flowUnit);
    flowUnitLabel = new wxStaticText(panel, wxID_ANY, flowText.empty() ? Tr("l/min") : flowText);
    pressureUnitLabel = new wxStaticText(panel, wxID_ANY, Tr("psi"));
    wxString pressureText = units::PressureShortLabel(AppSettings.pressureUnit);
    if (!pressureText.empty())
        pressureUnitLabel->SetLabel(pressureText);
    const wxFont unitFont(11, wxFONTFAMILY_SWISS, wxFONTSTYLE_NORMAL, wxFONTWEIGHT_BOLD, false);
    flowUnitLabel->SetFont(unitFont);
    pressureUnitLabel->SetFont(unitFont);

    // 9. The display block and the device row.
    auto* displayBlock = new wxBoxSizer(wxVERTICAL);
    auto* flowRow = new wxBoxSizer(wxHORIZONTAL);
    flowRow->Add(flowDisplay, 4, wxEXPAND | wxLEFT | wxRIGHT, 2);
    flowRow->Add(flowUnitLabel, 1, wxALIGN_CENTER | wxRIGHT, 5);
    auto* pressureRow = new wxBoxSizer(wxHORIZONTAL);
    pressureRow->Add(pressureDisplay, 4, wxEXPAND | wxLEFT | wxRIGHT, 2);
    pressureRow->Add(pressureUnitLabel, 1, wxALIGN_CENTER | wxRIGHT, 5);
    displayBlock->Add(flowRow, 1, wxEXPAND);
    displayBlock->Add(pressureRow, 1, wxEXPAND);
    auto* deviceRow = new wxBoxSizer(wxHORIZONTAL);
    deviceRow->Add(clock, 0, wxEXPAND | wxALL, 5);
    deviceRow->Add(usbBox, 0, wxALL, 5);
    deviceRow->Add(settingsBox, 0, wxALL, 5);
    deviceRow->Add(memoryBox, 0, wxALL, 5);
    leftColumn->Add(deviceRow, 0);

    // 10. The record list and the record functions.
    recordList = new wxListView(panel, ID_RECORD_LIST, wxDefaultPosition, wxSize(50, 100), wxLC_REPORT,
                                wxDefaultValidator, wxString::FromAscii("listCtrl"));
    deleteButton = MakeRecordButton(panel, ID_DELETE_RECORD, wxTRANSLATE("Löschen"),
                                    wxTRANSLATE("Remove data record from work"));
    renameButton = MakeRecordButton(panel, ID_RENAME_RECORD, wxTRANSLATE("Namen"),
                                    wxTRANSLATE("Add or change data record title"));
    auto* functionsBox = new wxStaticBoxSizer(wxHORIZONTAL, panel, Tr("Messwertfunktionen"));
    auto* grid = new wxGridSizer(2, 3, 5, 5);
    subtitleButton = MakeRecordButton(panel, ID_SUBTITLE, wxTRANSLATE("Untertitel"),
                                      wxTRANSLATE("Add additional info graph"));
    textBoxButton = MakeRecordButton(panel, ID_TEXT_BOX, wxTRANSLATE("Textfeld"), nullptr);
    targetFlowButton = MakeRecordButton(panel, ID_TARGET_FLOW, wxTRANSLATE("Zielfluss"), nullptr);
    grid->Add(deleteButton, 1, wxEXPAND);
    grid->Add(renameButton, 1, wxEXPAND);
    grid->Add(subtitleButton, 1, wxEXPAND);
    grid->Add(textBoxButton, 0, wxEXPAND, 5);
    grid->Add(targetFlowButton, 0, wxEXPAND, 5);
    functionsBox->Add(grid, 1, wxEXPAND);

    // 11. The logger status.
    memoryGauge = new wxGauge(panel, ID_GAUGES, 700, wxDefaultPosition, wxSize(20, 20),
                              long(wxGA_HORIZONTAL) | long(wxNO_BORDER));
    batteryGauge = new wxGauge(panel, ID_GAUGES, 700, wxDefaultPosition, wxSize(20, 20),
                               long(wxGA_HORIZONTAL) | long(wxNO_BORDER));
    auto* batteryCaption = new wxStaticText(panel, wxID_ANY, Tr("Batterie"));
    auto* memoryCaption = new wxStaticText(panel, wxID_ANY, Tr("Speicher"));
    auto* statusBox = new wxStaticBoxSizer(wxVERTICAL, panel, Tr("Gerätestatus"));
    auto* batteryRow = new wxBoxSizer(wxHORIZONTAL);
    batteryRow->Add(batteryGauge, 5);
    batteryRow->Add(batteryCaption, 0, wxLEFT, 5);
    auto* memoryRow = new wxBoxSizer(wxHORIZONTAL);
    memoryRow->Add(memoryGauge, 5);
    memoryRow->Add(memoryCaption, 0, wxLEFT, 5);
    statusText = new wxStaticText(panel, wxID_ANY, wxString::FromUTF8(" "));
    statusBox->Add(batteryRow, 1, wxEXPAND | wxALL, 2);
    statusBox->Add(memoryRow, 1, wxEXPAND | wxALL, 2);
    statusBox->Add(statusText, 1, wxALL, 2);

    // 12. Fill the right column, join both columns, fit the frame to the minimum size.
    rightColumn->Add(displayBlock, 1, wxEXPAND);
    rightColumn->Add(functionsBox, 0, wxEXPAND | wxALL, 10);
    rightColumn->Add(recordList, 4, wxEXPAND | wxLEFT | wxRIGHT, 10);
    rightColumn->Add(statusBox, 0, wxEXPAND | wxLEFT | wxRIGHT, 10);
    topSizer->Add(leftColumn, 2, wxEXPAND);
    topSizer->Add(rightColumn, 1, wxEXPAND);
    panel->SetSizer(topSizer);
    topSizer->SetSizeHints(this);
}

void MainFrame::SetInitialButtonStates() {
    recordButton->Enable(true);
    stopButton->Enable(false);
    EnableRecordButtons(false);
    batteryGauge->SetValue(0);
    batteryGauge->SetForegroundColour(wxColour(255, 0, 0));
    batteryGauge->SetBackgroundColour(wxColour(50, 50, 50));
    ApplyGaugeStyle(batteryGauge);
    memoryGauge->SetValue(0);
    ApplyGaugeStyle(memoryGauge, true);
}
