#include "support/gui_testing.h"

#include "app/command_ids.h"
#include "mainframe/main_frame.h"
#include "plot/plot_window.h"
#include "widgets/lcd_display.h"
#include "widgets/vext_button.h"

#include <wx/bmpbuttn.h>
#include <wx/button.h>
#include <wx/gauge.h>
#include <wx/listctrl.h>
#include <wx/panel.h>
#include <wx/sizer.h>
#include <wx/statbox.h>
#include <wx/stattext.h>
#include <wx/statusbr.h>
#include <wx/tooltip.h>

#include <gtk/gtk.h>

namespace {

wxString TooltipOf(wxWindow* w) {
    wxToolTip* tip = w->GetToolTip();
    return tip ? tip->GetTip() : wxString();
}

class LayoutTest : public MainFrameTest {};

}  // namespace

TEST_F(LayoutTest, EveryControlWithItsIdLabelTooltipAndStartState) {
    struct Control {
        int id;
        const char* label;  // nullptr: a picture-only button
        const char* tooltip;
        bool enabled;
        wxSize size;
    };
    const Control controls[] = {
        {ID_OPEN_BUTTON, "Öffnen", "Open previously saved work", true, {55, 60}},
        {ID_SAVE_JOB, "Speichern", "Save the current data", true, {55, 60}},
        {ID_PRINT_BUTTON, "Drucken", "Print the current plot", true, {55, 60}},
        {ID_IMAGE_EXPORT, "Ansicht", "Save an image with the current plot", true, {55, 60}},
        {ID_LOGO_BUTTON, "ZPM Version 4.8", "", true, {100, 70}},
        {ID_ZOOM_IN, "Vergrößern", "Zoom in on the current plot", true, {70, 50}},
        {ID_ZOOM_OUT, "Verkleinern", "Zoom out from the current plot", true, {70, 50}},
        {ID_MEASURE_1, "Messwerte 1", "Select to measure flow point on plot", true, {70, 50}},
        {ID_MEASURE_2, "Messwerte 2", "Select to measure pressure point on plot", true, {70, 50}},
        {ID_GRID, "Raster", "Display grid on plot", true, {70, 50}},
        {ID_POINTS, "Messpunke", "Show or hide data points", true, {70, 50}},
        {ID_FILTER, "Filter", "Apply averaging filter to data plot", true, {70, 50}},
        {ID_SHOW_FLOW, "Durchfluss", "Display or hide the flow data", true, {55, 60}},
        {ID_SHOW_VOLUME, "Volumen", "Display or hide the volume data", true, {55, 60}},
        {ID_SHOW_PRESSURE, "Druck", "Display or hide the pressure data", true, {55, 60}},
        {ID_RECORD, nullptr, "Record live data", true, {50, 50}},
        {ID_STOP, nullptr, "Stop live data capture", false, {50, 50}},
        {ID_DEVICE_SETTINGS, nullptr, "Change device settings", true, {70, 50}},
        {ID_CLEAR_DEVICE, nullptr, "Clear device memory", true, {50, 50}},
        {ID_UPLOAD, nullptr, "Upload all data from device", true, {50, 50}},
        {ID_DELETE_RECORD, "Löschen", "Remove data record from work", false, {-1, -1}},
        {ID_RENAME_RECORD, "Namen", "Add or change data record title", false, {-1, -1}},
        {ID_SUBTITLE, "Untertitel", "Add additional info graph", false, {-1, -1}},
        {ID_TEXT_BOX, "Textfeld", "", false, {-1, -1}},
        {ID_TARGET_FLOW, "Zielfluss", "", false, {-1, -1}},
    };
    for (const auto& c : controls) {
        SCOPED_TRACE(c.id);
        wxWindow* w = frame->Panel()->FindWindow(c.id);
        ASSERT_NE(w, nullptr);
        EXPECT_EQ(w->GetParent(), frame->Panel());
        if (c.label) {
            EXPECT_EQ(w->GetLabel().utf8_string(), c.label);
        } else {
            EXPECT_NE(dynamic_cast<wxBitmapButton*>(w), nullptr);
        }
        EXPECT_EQ(TooltipOf(w).utf8_string(), c.tooltip);
        EXPECT_EQ(w->IsEnabled(), c.enabled);
        if (c.size.x > 0) {
            EXPECT_EQ(w->GetMinSize(), c.size);
        }
    }
    // The five logger buttons and the record buttons are of their classes.
    EXPECT_NE(dynamic_cast<wxVextButton*>(frame->Panel()->FindWindow(ID_MEASURE_2)), nullptr);
    EXPECT_NE(dynamic_cast<wxButton*>(frame->Panel()->FindWindow(ID_DELETE_RECORD)), nullptr);
    EXPECT_EQ(frame->Panel()->FindWindow(ID_RECORD_LIST), frame->RecordList());
    EXPECT_EQ(frame->RecordList()->GetName(), U8("listCtrl"));
    EXPECT_EQ(frame->PlotWindow()->GetName(), U8("mathplot"));
    EXPECT_EQ(frame->Panel()->GetBackgroundColour(), wxColour(236, 233, 216));
    EXPECT_EQ(frame->BatteryGauge()->GetRange(), 700);
    EXPECT_EQ(frame->MemoryGauge()->GetRange(), 700);
    EXPECT_EQ(frame->BatteryGauge()->GetValue(), 0);
    EXPECT_EQ(frame->BatteryGauge()->GetId(), ID_GAUGES);
    EXPECT_EQ(frame->StatusText()->GetLabel(), U8(" "));
    EXPECT_EQ(frame->Clock()->GetDigitCount(), 7);
    EXPECT_EQ(frame->Clock()->GetDisplayText(), U8("00:00:00"));
    EXPECT_EQ(frame->FlowDisplay()->GetDigitCount(), 6);
    EXPECT_EQ(frame->FlowDisplay()->GetDisplayText(), U8("0.0"));
    EXPECT_EQ(frame->PressureDisplay()->GetDisplayText(), U8("0.0"));
    // The static box captions, umlauts intact.
    std::vector<std::string> boxes;
    for (wxWindow* child : frame->Panel()->GetChildren())
        if (child->IsKindOf(wxCLASSINFO(wxStaticBox)))
            boxes.push_back(child->GetLabel().utf8_string());
    EXPECT_EQ(boxes, (std::vector<std::string>{"USB Verbindung", "Einstellungen", "Gerätespeicher",
                                               "Messwertfunktionen", "Gerätestatus"}));
}

TEST_F(LayoutTest, UnitLabelsFollowTheSettings) {
    EXPECT_EQ(frame->FlowUnitLabel()->GetLabel(), U8("l/min"));
    EXPECT_EQ(frame->PressureUnitLabel()->GetLabel(), U8("Bar"));
    EXPECT_EQ(frame->FlowUnitLabel()->GetFont().GetPointSize(), 11);
    EXPECT_EQ(frame->FlowUnitLabel()->GetFont().GetWeight(), wxFONTWEIGHT_BOLD);
    TearDown();

    struct Case {
        const char* settings;
        const char* flow;
        const char* pressure;
    };
    const Case cases[] = {
        {"1\n16\n0\n0\n2\n0\n0\n", "M³/h ", "KPa"},
        {"1\n112\n0\n0\n1\n0\n0\n", "l/s ", "psi"},
        {"1\n8\n0\n0\n3\n0\n0\n", "GPM ", "MtrH"},
        {"1\n77\n0\n0\n9\n0\n0\n", "l/min", "psi"},  // unknown codes
    };
    for (const auto& c : cases) {
        settingsContent = c.settings;
        SetUp();
        EXPECT_EQ(frame->FlowUnitLabel()->GetLabel().utf8_string(), c.flow);
        EXPECT_EQ(frame->PressureUnitLabel()->GetLabel().utf8_string(), c.pressure);
        TearDown();
    }
    SetUp();
}

TEST_F(LayoutTest, FrameCannotBeSmallerThanItsSizer) {
    // GTK's complaints about sizes are counted from the start of a new window on.
    TearDown();
    static int complaints = 0;
    complaints = 0;
    const guint handler = g_log_set_handler(
        "Gtk", GLogLevelFlags(G_LOG_LEVEL_CRITICAL | G_LOG_LEVEL_WARNING),
        [](const gchar*, GLogLevelFlags, const gchar* message, gpointer) {
            ++complaints;
            ADD_FAILURE() << "GTK: " << message;
        },
        nullptr);
    SetUp();
    frame->Show();
    PumpEvents();

    const wxSize min = frame->GetMinSize();
    EXPECT_GT(min.x, 440);  // the panel needs more than the initial 440 x 440
    EXPECT_GT(min.y, 300);
    EXPECT_EQ(frame->GetSize(), min);  // fitted to the minimum at construction
    frame->SetSize(200, 200);
    PumpEvents();
    EXPECT_GE(frame->GetSize().x, min.x);
    EXPECT_GE(frame->GetSize().y, min.y);
    // At the minimum every control of the panel has all the room GTK gives it inside the panel,
    // and the panel lies above the status bar.
    GtkAllocation panelArea, barArea;
    gtk_widget_get_allocation(static_cast<GtkWidget*>(frame->Panel()->GetHandle()), &panelArea);
    gtk_widget_get_allocation(static_cast<GtkWidget*>(frame->GetStatusBar()->GetHandle()), &barArea);
    EXPECT_LE(panelArea.width, frame->GetClientSize().x);
    EXPECT_LE(panelArea.y + panelArea.height, barArea.y);
    EXPECT_GE(panelArea.width, frame->Panel()->GetSizer()->GetMinSize().x);
    EXPECT_GE(panelArea.height, frame->Panel()->GetSizer()->GetMinSize().y);
    for (wxWindow* child : frame->Panel()->GetChildren()) {
        GtkAllocation a;
        gtk_widget_get_allocation(static_cast<GtkWidget*>(child->GetHandle()), &a);
        SCOPED_TRACE(child->GetLabel().utf8_string() + " " + child->GetName().utf8_string());
        EXPECT_GE(a.x, 0);
        EXPECT_GE(a.y, 0);
        EXPECT_LE(a.x + a.width, panelArea.width);
        EXPECT_LE(a.y + a.height, panelArea.height);
        // At least the room GTK needs to show it whole (a button's label, a frame's caption);
        // the logger buttons alone show only the middle of their larger pictures, by design.
        if (dynamic_cast<wxBitmapButton*>(child))
            continue;
        int minWidth = 0, minHeight = 0, natural = 0;
        gtk_widget_get_preferred_width(static_cast<GtkWidget*>(child->GetHandle()), &minWidth, &natural);
        gtk_widget_get_preferred_height(static_cast<GtkWidget*>(child->GetHandle()), &minHeight, &natural);
        EXPECT_GE(a.width, minWidth);
        EXPECT_GE(a.height, minHeight);
    }
    for (const wxSize& near : {min + wxSize(37, 23), min + wxSize(151, 88), min}) {
        frame->SetSize(near);
        PumpEvents();
    }
    EXPECT_EQ(complaints, 0);
    g_log_remove_handler("Gtk", handler);
    // The chart takes the space a larger frame gives.
    const wxSize plotBefore = frame->PlotWindow()->GetSize();
    frame->SetSize(min.x + 300, min.y + 200);
    frame->Layout();
    PumpEvents();
    EXPECT_GT(frame->PlotWindow()->GetSize().x, plotBefore.x);
    EXPECT_GT(frame->PlotWindow()->GetSize().y, plotBefore.y);
}
