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
#include <gtk/gtk.h>

#include <algorithm>
#include <array>
#include <cmath>

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
        // These tests choose the chart's modes themselves: "Durchfluss" on and off again, so the
        // first chart switches nothing on.
        Command(ID_SHOW_FLOW, wxEVT_BUTTON);
        Command(ID_SHOW_FLOW, wxEVT_BUTTON);
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

namespace {

// Checks what the colour dialog offers (the full chooser; as its palette the sixteen greys from
// black up, as the toolkit's chooser shows them) and picks a colour as the user would.
class ExpectColourChoice : public wxExpectModalBase<wxColourDialog, ExpectColourChoice> {
public:
    ExpectColourChoice(const wxColour& pick, int id) : pick(pick), id(id) {}

protected:
    int OnInvoked(wxColourDialog* dlg) const override {
        EXPECT_TRUE(dlg->GetColourData().GetChooseFull());
        // The toolkit's colour selection (this wx uses it on GTK 3) and its palette setting.
        G_GNUC_BEGIN_IGNORE_DEPRECATIONS
        GtkColorSelection* selection = GTK_COLOR_SELECTION(
            gtk_color_selection_dialog_get_color_selection(GTK_COLOR_SELECTION_DIALOG(dlg->GetHandle())));
        gchar* palette = nullptr;
        g_object_get(gtk_widget_get_settings(GTK_WIDGET(selection)), "gtk-color-palette", &palette, nullptr);
        GdkColor* colours = nullptr;
        gint count = 0;
        EXPECT_TRUE(gtk_color_selection_palette_from_string(palette, &colours, &count)) << palette;
        std::vector<wxColour> shown;
        for (gint i = 0; i < count; ++i)
            shown.emplace_back(colours[i].red >> 8, colours[i].green >> 8, colours[i].blue >> 8);
        g_free(colours);
        g_free(palette);
        std::vector<wxColour> greys;
        for (int i = 0; i < 16; ++i)
            greys.emplace_back(16 * i, 16 * i, 16 * i);
        EXPECT_EQ(shown, greys);
        // The user's pick, where the dialog takes it from when it closes.
        const GdkRGBA rgba{pick.Red() / 255.0, pick.Green() / 255.0, pick.Blue() / 255.0, 1.0};
        gtk_color_selection_set_current_rgba(selection, &rgba);
        G_GNUC_END_IGNORE_DEPRECATIONS
        return id;
    }

private:
    wxColour pick;
    int id;
};

}  // namespace

TEST_F(ChartTest, ColourChangeGivesAFivePixelPen) {
    frame->ChartRecord(0);
    const struct {
        int command;
        std::vector<mpLayer*> changed;
        wxColour colour;
    } cases[] = {
        {ID_COLOUR_PRESSURE,
         {frame->PressureSeries(), frame->SecondaryPressureSeries()},
         wxColour(12, 130, 40)},
        {ID_COLOUR_FLOW, {frame->FlowSeries()}, wxColour(200, 0, 170)},
        {ID_COLOUR_VOLUME, {frame->VolumeSeries()}, wxColour(90, 60, 30)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.command);
        const std::vector<mpLayer*> all = {frame->FlowSeries(), frame->VolumeSeries(),
                                           frame->PressureSeries(), frame->SecondaryPressureSeries()};
        std::vector<wxPen> pens;
        for (mpLayer* series : all)
            pens.push_back(series->GetPen());
        // Cancel changes nothing.
        wxTEST_DIALOG(Command(c.command), ExpectColourChoice(wxColour(1, 2, 3), wxID_CANCEL));
        for (std::size_t i = 0; i < all.size(); ++i) {
            EXPECT_EQ(all[i]->GetPen().GetColour(), pens[i].GetColour()) << i;
            EXPECT_EQ(all[i]->GetPen().GetWidth(), pens[i].GetWidth()) << i;
        }
        wxTEST_DIALOG(Command(c.command), ExpectColourChoice(c.colour, wxID_OK));
        for (std::size_t i = 0; i < all.size(); ++i) {
            const wxPen expected =
                std::count(c.changed.begin(), c.changed.end(), all[i]) == 1 ? wxPen(c.colour, 5) : pens[i];
            EXPECT_EQ(all[i]->GetPen().GetColour(), expected.GetColour()) << i;
            EXPECT_EQ(all[i]->GetPen().GetWidth(), expected.GetWidth()) << i;
            EXPECT_EQ(all[i]->GetPen().GetStyle(), wxPENSTYLE_SOLID) << i;
        }
    }
    // The flow line is drawn in its colour.
    Command(ID_SHOW_FLOW, wxEVT_BUTTON);
    const wxImage chart = frame->PlotWindow()->SnapshotBitmap().ConvertToImage();
    int magenta = 0;
    for (int y = 0; y < chart.GetHeight(); ++y)
        for (int x = 0; x < chart.GetWidth(); ++x)
            magenta += chart.GetRed(x, y) == 200 && chart.GetGreen(x, y) == 0 && chart.GetBlue(x, y) == 170;
    EXPECT_GT(magenta, 500);
}

namespace {

// The points of a series as (x, y, extra) rows.
template <class Series>
std::vector<std::array<double, 3>> Points(const Series* series) {
    std::vector<std::array<double, 3>> out;
    for (int i = 0; i < series->PointCount(); ++i) {
        double x = 0, y = 0, extra = 0;
        series->PointAt(i, x, y, extra);
        out.push_back({x, y, extra});
    }
    return out;
}

std::vector<std::array<double, 3>> Rows(const std::vector<float>& xs, const std::vector<float>& ys,
                                        const std::vector<float>& extras = {}) {
    std::vector<std::array<double, 3>> out;
    for (std::size_t i = 0; i < xs.size(); ++i)
        out.push_back({xs[i], ys[i], extras.empty() ? -1.0 : extras[i]});  // -1: no second value
    return out;
}

}  // namespace

// Whatever the chart shows (flow, volume, pressure alone or on the second axis, filtered or not)
// are the record's samples in the units its axes name: times, flows with their volumes as the
// second readout, volumes with their flows, pressures.
TEST_F(ChartTest, EverySeriesHoldsTheChartedRecordInTheUnitsShown) {
    // A metric logger's record in l/s and bar: raw flows in l/min, pressures in converter counts.
    Storage logger(U8("26/03/2023 08:00:00"), 1000, 1, false, 1, 1);
    logger.SetPressureCalibration(100, 2, 50, 98);  // (counts - 100) / 2.5 psi, in bar
    for (const auto& [flow, counts] :
         std::vector<std::pair<int, int>>{{600, 390}, {1800, 680}, {600, 245}, {1200, 390}})
        logger.AddRawSample(flow, counts);
    frame->AppendRecord(logger);
    frame->RefreshRecordList();
    struct Expected {
        int record, flowUnit;
        const char* flowAxis;
        std::vector<float> times, flows, volumes, pressures;
    } const expected[] = {
        {0,
         0,
         "Durchfluss (Liter/min)",
         {1, 2, 3, 4, 5, 6},
         {100, 300, 500, 480, 200, 50},
         // litres: the flows' minutes summed, one second each
         {100 / 60.0f, 400 / 60.0f, 900 / 60.0f, 1380 / 60.0f, 1580 / 60.0f, 1630 / 60.0f},
         {6.0f, 4.5f, 3.2f, 3.1f, 4.0f, 5.8f}},
        {2,
         1,
         "Durchfluss (Litre/sec)",
         {1, 2, 3, 4},
         {10, 30, 10, 20},
         {10, 40, 50, 70},
         {116 / 14.504f, 232 / 14.504f, 58 / 14.504f, 116 / 14.504f}},
    };
    // One step a button press, with the series it leaves on the chart.
    struct Step {
        int button;
        bool flow, volume, pressure, secondary;
    } const steps[] = {
        {ID_SHOW_FLOW, true, false, false, false},  {ID_SHOW_PRESSURE, true, false, false, true},
        {ID_SHOW_VOLUME, false, true, false, true}, {ID_SHOW_PRESSURE, false, true, false, false},
        {ID_SHOW_FLOW, true, false, false, false},  {ID_SHOW_PRESSURE, true, false, false, true},
        {ID_SHOW_FLOW, false, false, true, false},
    };
    for (const Expected& e : expected) {
        for (bool filtered : {false, true}) {
            SCOPED_TRACE(testing::Message() << "record " << e.record << (filtered ? " filtered" : ""));
            Storage& record = frame->Records()[e.record];
            record.SetFilter(filtered, 1);
            // Filtered: each inner value the mean of itself and its neighbours, the left one
            // already averaged (the filter works in place from the left); the ends stay.
            const auto shown = [filtered](std::vector<float> v) {
                for (std::size_t i = 1; filtered && i + 1 < v.size(); ++i)
                    v[i] = (v[i - 1] + v[i] + v[i + 1]) / 3;
                return v;
            };
            const std::vector<float> flows = shown(e.flows), volumes = shown(e.volumes),
                                     pressures = shown(e.pressures);
            // The flow unit setting follows the logger a record came from.
            AppSettings.flowUnit = e.flowUnit;
            frame->ChartRecord(e.record);
            EXPECT_EQ(frame->FlowAxis()->GetName(), U8(e.flowAxis));
            for (const Step& step : steps) {
                SCOPED_TRACE(step.button);
                Command(step.button, wxEVT_BUTTON);
                const std::vector<mpLayer*> shown = Attached();
                const auto on = [&](const mpLayer* l) {
                    return std::count(shown.begin(), shown.end(), l) == 1;
                };
                ASSERT_EQ(on(frame->FlowSeries()), step.flow);
                ASSERT_EQ(on(frame->VolumeSeries()), step.volume);
                ASSERT_EQ(on(frame->PressureSeries()), step.pressure);
                ASSERT_EQ(on(frame->SecondaryPressureSeries()), step.secondary);
                const auto near = [](const std::vector<std::array<double, 3>>& got,
                                     const std::vector<std::array<double, 3>>& want) {
                    if (got.size() != want.size())
                        return false;
                    for (std::size_t i = 0; i < got.size(); ++i)
                        for (int k = 0; k < 3; ++k)
                            if (std::abs(got[i][k] - want[i][k]) > 1e-4 * std::max(1.0, std::abs(want[i][k])))
                                return false;
                    return true;
                };
                EXPECT_TRUE(!step.flow || near(Points(frame->FlowSeries()), Rows(e.times, flows, volumes)));
                EXPECT_TRUE(!step.volume ||
                            near(Points(frame->VolumeSeries()), Rows(e.times, volumes, flows)));
                EXPECT_TRUE(!step.pressure ||
                            near(Points(frame->PressureSeries()), Rows(e.times, pressures)));
                EXPECT_TRUE(!step.secondary ||
                            near(Points(frame->SecondaryPressureSeries()), Rows(e.times, pressures)));
                // The view spans the primary series' samples and half a unit more, from 0 up at least.
                const std::vector<float>& primary = step.flow ? flows : step.volume ? volumes : pressures;
                const auto [low, high] = std::minmax_element(primary.begin(), primary.end());
                EXPECT_DOUBLE_EQ(frame->PlotWindow()->GetBoundMinX(), e.times.front() - 0.5);
                EXPECT_DOUBLE_EQ(frame->PlotWindow()->GetBoundMaxX(), e.times.back() + 0.5);
                EXPECT_NEAR(frame->PlotWindow()->GetBoundMinY(), *low - 0.5, 1e-3);
                EXPECT_NEAR(frame->PlotWindow()->GetBoundMaxY(), std::max(*high, 0.0f) + 0.5, 1e-3);
            }
            Command(ID_SHOW_PRESSURE, wxEVT_BUTTON);  // nothing shown again
            ASSERT_TRUE(Attached().empty());
        }
    }
    AppSettings.flowUnit = 0;
}

TEST_F(ChartTest, TargetFlowLineAndCaption) {
    frame->ChartRecord(0);
    Command(ID_SHOW_FLOW, wxEVT_BUTTON);
    EXPECT_FALSE(frame->TargetLine()->IsVisible());
    EXPECT_TRUE(frame->FlowAxis()->GetCaption2().empty());

    // A target above every sample: the flow axis reaches half a unit beyond it, the line runs at
    // the target from the first sample to the last.
    frame->Records()[1].SetTargetFlow(42.25f);  // flows 10..30
    frame->ChartRecord(1);
    EXPECT_TRUE(frame->TargetLine()->IsVisible());
    EXPECT_EQ(frame->FlowAxis()->GetCaption2(), U8("Zielfluss"));
    EXPECT_DOUBLE_EQ(frame->FlowSeries()->MaxY(), 42.75);
    EXPECT_DOUBLE_EQ(frame->PlotWindow()->GetBoundMaxY(), 42.75);
    EXPECT_EQ(Points(frame->TargetLine()), Rows({1, 3, 3}, {42.25f, 42.25f, 42.25f}));
    // A target below the samples leaves the axis to them.
    frame->Records()[1].SetTargetFlow(12.5f);
    frame->ChartRecord(1);
    EXPECT_DOUBLE_EQ(frame->PlotWindow()->GetBoundMaxY(), 30.5);
    EXPECT_EQ(Points(frame->TargetLine()), Rows({1, 3, 3}, {12.5f, 12.5f, 12.5f}));
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
