#include "support/gui_testing.h"

#include "app/app_settings.h"
#include "app/command_ids.h"
#include "mainframe/main_frame.h"
#include "plot/layers.h"
#include "plot/plot_events.h"
#include "plot/plot_window.h"
#include "plot/scales.h"
#include "test_records.h"
#include "widgets/lcd_display.h"
#include "widgets/vext_button.h"

#include <wx/colordlg.h>
#include <wx/image.h>
#include <wx/listctrl.h>
#include <wx/panel.h>
#include <wx/stattext.h>

#include <gdk/gdk.h>

namespace {

// Whether the plot window shows the measuring cross as its pointer.
bool CrossPointer(wxWindow* w) {
    GdkCursor* cursor = w->GetCursor().GetCursor();
    return cursor && gdk_cursor_get_cursor_type(cursor) == GDK_CROSSHAIR;
}

bool SamePixels(const wxBitmap& a, const wxBitmap& b) {
    const wxImage ia = a.ConvertToImage(), ib = b.ConvertToImage();
    return ia.GetSize() == ib.GetSize() &&
           std::equal(ia.GetData(), ia.GetData() + 3 * ia.GetWidth() * ia.GetHeight(), ib.GetData());
}

class ChartTest : public MainFrameTest {
protected:
    void SetUp() override {
        MainFrameTest::SetUp();
        frame->AppendRecord(MakeRecord("Hydrant", "24/03/2023 14:05:09", {100, 300, 500, 480, 200, 50},
                                       {6.0f, 4.5f, 3.2f, 3.1f, 4.0f, 5.8f}));
        frame->AppendRecord(MakeRecord("Zweiter", "25/03/2023 09:00:00", {10, 20, 30}, {1, 2, 3}));
        frame->RefreshRecordList();
    }
    std::vector<mpLayer*> Attached() {
        std::vector<mpLayer*> out;
        for (int key = 0; key < 16; ++key)
            if (mpLayer* l = frame->PlotWindow()->LayerAt(key))
                out.push_back(l);
        return out;
    }
    wxVextButton* Button(int id) { return dynamic_cast<wxVextButton*>(frame->Panel()->FindWindow(id)); }
    void Measure(int kind, const char* text) {
        wxCommandEvent ev(zpmEVT_PLOT_MEASURE, wxID_ANY);
        ev.SetString(U8(text));
        ev.SetInt(kind);
        frame->PlotWindow()->GetEventHandler()->ProcessEvent(ev);
    }
};

}  // namespace

TEST_F(ChartTest, StartsEmptyAndAttachesLayersByMode) {
    EXPECT_TRUE(Attached().empty());
    frame->ChartRecord(0);
    Command(ID_SHOW_FLOW, wxEVT_BUTTON);
    EXPECT_TRUE(frame->FlowShown());
    EXPECT_EQ(Attached(), (std::vector<mpLayer*>{frame->TimeAxis(), frame->FlowAxis(), frame->FlowSeries(),
                                                 frame->TargetLine(), frame->Legend(), frame->TextBox()}));
    Command(ID_SHOW_PRESSURE, wxEVT_BUTTON);
    EXPECT_EQ(Attached(),
              (std::vector<mpLayer*>{frame->TimeAxis(), frame->FlowAxis(), frame->FlowSeries(),
                                     frame->TargetLine(), frame->SecondaryPressureAxis(),
                                     frame->SecondaryPressureSeries(), frame->Legend(), frame->TextBox()}));
    // Volume while flow is on switches to volume and keeps pressure.
    Command(ID_SHOW_VOLUME, wxEVT_BUTTON);
    EXPECT_FALSE(frame->FlowShown());
    EXPECT_TRUE(frame->VolumeShown());
    EXPECT_EQ(Button(ID_MEASURE_1)->GetLabel(), U8("Messwerte V"));
    EXPECT_EQ(Attached()[2], frame->VolumeSeries());
    // "Durchfluss" while volume is shown switches to flow; pressed again it leaves pressure alone.
    Command(ID_SHOW_FLOW, wxEVT_BUTTON);
    EXPECT_TRUE(frame->FlowShown());
    EXPECT_FALSE(frame->VolumeShown());
    EXPECT_EQ(Button(ID_MEASURE_1)->GetLabel(), U8("Messwerte 1"));
    Command(ID_SHOW_FLOW, wxEVT_BUTTON);
    EXPECT_FALSE(frame->FlowShown());
    EXPECT_FALSE(frame->VolumeShown());
    EXPECT_TRUE(frame->PressureShown());
    EXPECT_EQ(Attached(),
              (std::vector<mpLayer*>{frame->TimeAxis(), frame->PressureAxis(), frame->PressureSeries(),
                                     frame->Legend(), frame->TextBox()}));
    Command(ID_SHOW_PRESSURE, wxEVT_BUTTON);
    EXPECT_TRUE(Attached().empty());
}

TEST_F(ChartTest, VolumeWhileOnOnlyRefits) {
    frame->ChartRecord(0);
    Command(ID_SHOW_VOLUME, wxEVT_BUTTON);
    const double scale = frame->PlotWindow()->GetScaleX();
    Command(ID_ZOOM_IN, wxEVT_BUTTON);
    EXPECT_DOUBLE_EQ(frame->PlotWindow()->GetScaleX(), scale * 1.1);
    Command(ID_SHOW_VOLUME, wxEVT_BUTTON);
    EXPECT_TRUE(frame->VolumeShown());
    EXPECT_DOUBLE_EQ(frame->PlotWindow()->GetScaleX(), scale);
    Command(ID_ZOOM_OUT, wxEVT_BUTTON);
    EXPECT_DOUBLE_EQ(frame->PlotWindow()->GetScaleX(), scale / 1.1);
}

TEST_F(ChartTest, SecondaryAxisShortensTheTimeAndValueAxes) {
    frame->ChartRecord(0);
    Command(ID_SHOW_FLOW, wxEVT_BUTTON);
    EXPECT_FALSE(frame->TimeAxis()->GetShortenRight());
    EXPECT_FALSE(frame->FlowAxis()->GetShortenRight());
    Command(ID_SHOW_PRESSURE, wxEVT_BUTTON);
    EXPECT_TRUE(frame->TimeAxis()->GetShortenRight());
    EXPECT_TRUE(frame->FlowAxis()->GetShortenRight());
    EXPECT_TRUE(frame->PlotWindow()->HasSecondarySeries());
    Command(ID_SHOW_PRESSURE, wxEVT_BUTTON);
    EXPECT_FALSE(frame->TimeAxis()->GetShortenRight());
    EXPECT_FALSE(frame->PlotWindow()->HasSecondarySeries());
}

TEST_F(ChartTest, MeasuringModesExcludeEachOther) {
    Command(ID_MEASURE_2, wxEVT_BUTTON);
    EXPECT_TRUE(frame->Measure2On());
    EXPECT_TRUE(frame->PlotWindow()->GetMeasureMode2());
    EXPECT_TRUE(CrossPointer(frame->PlotWindow()));
    Command(ID_MEASURE_1, wxEVT_BUTTON);
    EXPECT_TRUE(frame->Measure1On());
    EXPECT_FALSE(frame->Measure2On());
    EXPECT_FALSE(frame->PlotWindow()->GetMeasureMode2());
    EXPECT_TRUE(CrossPointer(frame->PlotWindow()));  // measuring goes on with the cross
    // Measure 2's button is back to its normal picture, measure 1 shows its pressed one.
    EXPECT_TRUE(
        SamePixels(Button(ID_MEASURE_2)->GetBitmapLabel(), Button(ID_MEASURE_2)->GetBitmapDisabled()));
    EXPECT_TRUE(SamePixels(Button(ID_MEASURE_1)->GetBitmapLabel(), Button(ID_MEASURE_1)->GetBitmapPressed()));
    EXPECT_FALSE(
        SamePixels(Button(ID_MEASURE_2)->GetBitmapLabel(), Button(ID_MEASURE_2)->GetBitmapPressed()));
    Command(ID_MEASURE_2, wxEVT_BUTTON);
    EXPECT_FALSE(frame->Measure1On());
    EXPECT_TRUE(frame->Measure2On());
    EXPECT_TRUE(CrossPointer(frame->PlotWindow()));
    Command(ID_MEASURE_2, wxEVT_BUTTON);
    EXPECT_FALSE(frame->Measure2On());
    EXPECT_FALSE(frame->PlotWindow()->GetMeasureMode2());
    EXPECT_FALSE(CrossPointer(frame->PlotWindow()));
}

TEST_F(ChartTest, GridAndPointsModes) {
    Command(ID_GRID, wxEVT_BUTTON);
    EXPECT_TRUE(frame->GridOn());
    Command(ID_POINTS, wxEVT_BUTTON);
    EXPECT_TRUE(frame->PointsMode());
    EXPECT_EQ(frame->FlowSeries()->GetPen().GetWidth(), 6);
    EXPECT_FALSE(frame->FlowSeries()->GetContinuity());
    EXPECT_EQ(frame->SecondaryPressureSeries()->GetPen().GetWidth(), 6);
    Command(ID_POINTS, wxEVT_BUTTON);
    EXPECT_EQ(frame->FlowSeries()->GetPen().GetWidth(), 2);
    EXPECT_TRUE(frame->FlowSeries()->GetContinuity());
    EXPECT_EQ(frame->FlowSeries()->GetPen().GetColour(), *wxBLUE);
}

TEST_F(ChartTest, ColourChangeGivesAFivePixelPen) {
    wxTEST_DIALOG(Command(ID_COLOUR_PRESSURE), wxExpectDismissableModal<wxColourDialog>(wxID_OK));
    EXPECT_EQ(frame->PressureSeries()->GetPen().GetWidth(), 5);
    EXPECT_EQ(frame->SecondaryPressureSeries()->GetPen().GetWidth(), 5);
    EXPECT_EQ(frame->FlowSeries()->GetPen().GetWidth(), 2);
    // Cancel changes nothing.
    wxTEST_DIALOG(Command(ID_COLOUR_FLOW), wxExpectDismissableModal<wxColourDialog>(wxID_CANCEL));
    EXPECT_EQ(frame->FlowSeries()->GetPen().GetWidth(), 2);
}

TEST_F(ChartTest, TargetFlowLineAndCaption) {
    frame->ChartRecord(0);
    Command(ID_SHOW_FLOW, wxEVT_BUTTON);
    EXPECT_FALSE(frame->TargetLine()->IsVisible());
    EXPECT_TRUE(frame->FlowAxis()->GetCaption2().empty());

    frame->Records()[1].SetTargetFlow(12.5f);  // flows 10..30 stay below the target
    frame->ChartRecord(1);
    EXPECT_TRUE(frame->TargetLine()->IsVisible());
    EXPECT_EQ(frame->FlowAxis()->GetCaption2(), U8("Zielfluss"));
    EXPECT_GE(frame->FlowSeries()->MaxY(), 13.0);
    EXPECT_EQ(frame->TargetLine()->PointCount(), 3);
    // Footer only with a serial number, series named "title date".
    EXPECT_TRUE(frame->FlowSeries()->GetFooterLabel().empty());
    EXPECT_EQ(frame->FlowSeries()->GetName(), U8("Zweiter 25/03/2023 09:00:00"));
    frame->Records()[1].SetSerialNumber(4711);
    frame->ChartRecord(1);
    EXPECT_EQ(frame->FlowSeries()->GetFooterLabel(), U8("Vantor Serial No. 4711"));
}

TEST_F(ChartTest, ReadoutsGoToTheDisplaysAndTheClock) {
    Command(ID_SHOW_FLOW, wxEVT_BUTTON);
    Measure(1, "3725.000000 345.678000");
    EXPECT_EQ(frame->FlowDisplay()->GetDisplayText(), U8("346"));
    EXPECT_EQ(frame->Clock()->GetDisplayText(), U8("01:02:05"));
    AppSettings.flowUnit = 1;
    Measure(1, "12.000000 5.678000");
    EXPECT_EQ(frame->FlowDisplay()->GetDisplayText(), U8("5.68"));
    AppSettings.flowUnit = 2;
    Measure(1, "12.000000 5.671000");
    EXPECT_EQ(frame->FlowDisplay()->GetDisplayText(), U8("5.67"));
    Measure(2, "3.456000 ");
    EXPECT_EQ(frame->PressureDisplay()->GetDisplayText(), U8("3.46"));
    // Pressure alone: the primary readout goes to the pressure display.
    Command(ID_SHOW_FLOW, wxEVT_BUTTON);
    Command(ID_SHOW_PRESSURE, wxEVT_BUTTON);
    Measure(1, "60.000000 2.5");
    EXPECT_EQ(frame->PressureDisplay()->GetDisplayText(), U8("2.50"));
    EXPECT_EQ(frame->Clock()->GetDisplayText(), U8("00:01:00"));
    AppSettings.flowUnit = 0;
}

TEST_F(ChartTest, MarkersStayForTheSameRecordAndGoWithAnother) {
    frame->ChartRecord(0);
    Command(ID_SHOW_FLOW, wxEVT_BUTTON);
    Command(ID_MEASURE_1, wxEVT_BUTTON);
    mpWindow* plot = frame->PlotWindow();
    // A measuring click in the middle of the chart.
    wxMouseEvent click(wxEVT_LEFT_DOWN);
    click.SetPosition(wxPoint(plot->GetClientSize().x / 2, plot->GetClientSize().y / 2));
    click.SetEventObject(plot);
    plot->GetEventHandler()->ProcessEvent(click);
    plot->Refresh();
    plot->Update();
    ASSERT_TRUE(PumpUntil([&] { return frame->FlowSeries()->HasMarker(); }));
    EXPECT_NE(frame->FlowDisplay()->GetDisplayText(), U8("0.0"));  // the readout arrived
    Command(ID_MEASURE_1, wxEVT_BUTTON);                           // off again: the marker stays
    frame->ChartRecord(0);
    EXPECT_TRUE(frame->FlowSeries()->HasMarker());
    frame->ChartRecord(1);
    EXPECT_FALSE(frame->FlowSeries()->HasMarker());
}

TEST_F(ChartTest, AbsoluteTimeSwitchesDateLabelsAndMargin) {
    frame->ChartRecord(0);
    EXPECT_FALSE(frame->PlotWindow()->GetDateLabels());
    EXPECT_EQ(frame->PlotWindow()->GetBottomMargin(), 35);
    Command(ID_ABSOLUTE_TIME);
    EXPECT_TRUE(AppSettings.absoluteTime);
    EXPECT_TRUE(frame->GetMenuBar()->IsChecked(ID_ABSOLUTE_TIME));
    EXPECT_TRUE(frame->PlotWindow()->GetDateLabels());
    EXPECT_EQ(frame->PlotWindow()->GetBottomMargin(), 45);
    EXPECT_TRUE(frame->PlotWindow()->GetStartTime().IsValid());
    Command(ID_ABSOLUTE_TIME);
    EXPECT_FALSE(AppSettings.absoluteTime);
    EXPECT_EQ(frame->PlotWindow()->GetBottomMargin(), 35);
}

TEST_F(ChartTest, UnitLabelsFollowRecordAndMode) {
    // A US record labels gallons whatever the flow unit.
    frame->AppendRecord(MakeRecord("US", "24/03/2023 14:05:09", {10, 20}, {1, 2}, 1000, 0, 112));
    Command(ID_SHOW_FLOW, wxEVT_BUTTON);
    frame->ChartRecord(2);
    EXPECT_EQ(frame->FlowAxis()->GetName(), U8("Durchfluss (Gallone/min)"));
    EXPECT_EQ(frame->FlowUnitLabel()->GetLabel(), U8("g/min"));
    EXPECT_EQ(frame->PressureUnitLabel()->GetLabel(), U8("psi"));
    EXPECT_EQ(frame->FlowSeries()->GetValueSuffix1(), U8("g/min"));
    // -1 uses the settings even while a record is charted.
    frame->UpdateUnitLabels(-1);
    EXPECT_EQ(frame->FlowAxis()->GetName(), U8("Durchfluss (Liter/min)"));
    EXPECT_EQ(frame->FlowUnitLabel()->GetLabel(), U8("l/min"));
    EXPECT_EQ(frame->PressureUnitLabel()->GetLabel(), U8("Bar"));
    EXPECT_EQ(frame->SecondaryPressureAxis()->GetName(), U8("Druck (bar)"));
    // Volume mode: the display label names the volume, the readouts carry volume and flow.
    Command(ID_SHOW_VOLUME, wxEVT_BUTTON);
    EXPECT_EQ(frame->FlowUnitLabel()->GetLabel(), U8("Liter"));
    EXPECT_EQ(frame->VolumeSeries()->GetValueSuffix1(), U8("Liter"));
    EXPECT_EQ(frame->VolumeSeries()->GetValueSuffix2(), U8("l/min"));
    AppSettings.flowUnit = 3;
    frame->UpdateUnitLabels(-1);
    EXPECT_EQ(frame->FlowUnitLabel()->GetLabel(), U8("Gallone"));
    EXPECT_EQ(frame->VolumeAxis()->GetName(), U8("Gallone"));
    EXPECT_EQ(frame->VolumeSeries()->GetValueSuffix2(), U8("GPM "));
    AppSettings.flowUnit = 0;
}
