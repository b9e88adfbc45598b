// The chart's view and boxes through the main window: what the first chart shows, a fitted view
// that follows resizes and a live recording, a view the user zoomed that stays, the text box's
// place through resizes and loads, the readout apart from the text box.
#include "acquisition/acquisition_fixture.h"

#include "app/command_ids.h"
#include "device/protocol.h"
#include "mainframe/test_records.h"
#include "plot/layers.h"
#include "plot/plot_window.h"

#include <wx/frame.h>
#include <wx/listctrl.h>

#include <cmath>

namespace {

class ChartViewTest : public AcquisitionTest {
protected:
    void SetUp() override {
        AcquisitionTest::SetUp();
        SetLoggerRate(0xFE67);  // 100 ms: ten samples a tick
        logger->SetSignal([](double t) {
            return RawSample{static_cast<std::uint16_t>(300 + 200 * std::sin(t / 7)),
                             static_cast<std::uint16_t>(250 + 100 * std::cos(t / 5))};
        });
    }
    mpWindow* Plot() { return frame->PlotWindow(); }
    void Paint() {
        const long before = Plot()->GetPaintCount();
        Plot()->Refresh(false);
        Plot()->Update();
        ASSERT_TRUE(PumpUntil([&] { return Plot()->GetPaintCount() > before; }));
    }
    // The window made larger than its minimum by (dx, dy), and the chart with it.
    void Resize(int dx, int dy) {
        const wxSize frameBefore = frame->GetSize(), plotBefore = Plot()->GetClientSize();
        const wxSize target = frame->GetMinSize() + wxSize(dx, dy);
        if (frameBefore == target)
            return;
        frame->SetSize(target);
        frame->Layout();
        // The chart grows or shrinks by most of what the frame does.
        const int change = target.x - frameBefore.x;
        ASSERT_TRUE(PumpUntil([&] {
            const int grown = Plot()->GetClientSize().x - plotBefore.x;
            return change > 0 ? grown > change / 2 : grown < change / 2;
        }));
        PumpEvents(5);
    }
    // The data's x extent fills the window less 50 pixels on either side.
    void ExpectFilled(const char* what) {
        SCOPED_TRACE(what);
        const int W = Plot()->GetClientSize().x;
        const double left = (Plot()->GetBoundMinX() - Plot()->GetCentreX()) * Plot()->GetScaleX() + W / 2.0;
        const double right = (Plot()->GetBoundMaxX() - Plot()->GetCentreX()) * Plot()->GetScaleX() + W / 2.0;
        EXPECT_NEAR(left, 50, 1.5);
        EXPECT_NEAR(right, W - 50, 1.5);
    }
};

}  // namespace

TEST_F(ChartViewTest, TheFirstChartShowsFlowWithPressureUntilTheUserChooses) {
    frame->AppendRecord(
        MakeRecord("Hydrant", "24/03/2023 14:05:09", {100, 300, 500, 480, 200}, {6, 4.5f, 3, 3, 5}));
    frame->AppendRecord(MakeRecord("Zweiter", "25/03/2023 09:00:00", {10, 20, 30}, {1, 2, 3}));
    frame->RefreshRecordList();
    frame->ChartRecord(0);
    EXPECT_TRUE(frame->FlowShown());
    EXPECT_TRUE(frame->PressureShown());
    EXPECT_FALSE(frame->VolumeShown());
    EXPECT_TRUE(Plot()->HasSecondarySeries());
    // The user switches both off: the next record keeps the empty chart the user chose.
    Command(ID_SHOW_FLOW, wxEVT_BUTTON);
    Command(ID_SHOW_PRESSURE, wxEVT_BUTTON);
    frame->ChartRecord(1);
    EXPECT_FALSE(frame->FlowShown());
    EXPECT_FALSE(frame->PressureShown());
    EXPECT_EQ(Plot()->LayerCount(), 0);
}

TEST_F(ChartViewTest, TheReadoutAndTheTextBoxStartApart) {
    Resize(100, 100);
    Storage r = MakeRecord("Hydrant", "24/03/2023 14:05:09", {962, 950, 940, 955}, {6.1f, 6.0f, 6.2f, 6.1f});
    r.SetNoteText(wxString::FromUTF8("Ruhedruck 6,1 bar"));
    frame->AppendRecord(r);
    frame->RefreshRecordList();
    frame->ChartRecord(0);
    Command(ID_MEASURE_1, wxEVT_BUTTON);
    wxMouseEvent click(wxEVT_LEFT_DOWN);
    click.m_x = Plot()->GetClientSize().x / 2;
    click.m_y = Plot()->GetClientSize().y / 2;
    click.m_leftDown = true;
    Plot()->GetEventHandler()->ProcessEvent(click);
    Paint();
    const wxRect readout = frame->Legend()->GetRect(), note = frame->TextBox()->GetRect();
    ASSERT_GT(readout.height, 20);  // a row of readout
    ASSERT_GT(note.height, 10);
    EXPECT_FALSE(readout.Intersects(note))
        << readout.x << "," << readout.y << " " << readout.width << "x" << readout.height << " and " << note.x
        << "," << note.y << " " << note.width << "x" << note.height;
}

TEST_F(ChartViewTest, TheTextBoxKeepsItsRelativePlaceThroughResizesAndLoads) {
    Resize(100, 100);
    Storage r = MakeRecord("Hydrant", "24/03/2023 14:05:09", {100, 300, 500, 480}, {6, 4.5f, 3, 3});
    r.SetNoteText(wxString::FromUTF8("Ruhedruck 6,1 bar"));
    r.SetNotePosition(-120, 60);
    frame->AppendRecord(r);
    frame->RefreshRecordList();
    frame->ChartRecord(0);
    Paint();
    frame->SetSaved(true);
    const int W = Plot()->GetPlotWidth(), H = Plot()->GetPlotHeight();
    EXPECT_EQ(frame->TextBox()->GetRect().GetPosition(), wxPoint(-120, 60));
    Resize(400, 300);
    Paint();
    ASSERT_TRUE(PumpUntil([&] {
        Paint();
        return Plot()->GetPlotWidth() == Plot()->GetClientSize().x;
    }));
    const int W2 = Plot()->GetPlotWidth(), H2 = Plot()->GetPlotHeight();
    ASSERT_GT(W2, W);
    const wxPoint moved(W2 * -120 / W, H2 * 60 / H);
    EXPECT_EQ(frame->TextBox()->GetRect().GetPosition(), moved);
    // Loaded again (an edit, a live tick): it stays where the resize put it.
    frame->ChartRecord(0);
    Paint();
    EXPECT_EQ(frame->TextBox()->GetRect().GetPosition(), moved);
    // A resize is no change of the job; the record keeps the user's place.
    EXPECT_TRUE(frame->IsSaved());
    EXPECT_EQ(frame->Records()[0].NoteX(), -120);
    EXPECT_EQ(frame->Records()[0].NoteY(), 60);
}

TEST_F(ChartViewTest, AFittedViewFollowsAZoomedOneStays) {
    Resize(0, 0);
    Button(ID_RECORD);
    ASSERT_TRUE(log->Errors().empty());
    for (int tick = 0; tick < 5; ++tick) {
        clock.Advance(1.0);
        LiveTick();
    }
    // Fitted: every tick fits the longer record.
    EXPECT_TRUE(Plot()->IsFitted());
    ExpectFilled("fitted live recording");
    // Maximized (here: made larger) while fitted, the record fills the larger chart.
    Resize(400, 300);
    ExpectFilled("after the resize");

    // The user zooms in: ticks and a resize keep the scale and the centre.
    Command(ID_ZOOM_IN, wxEVT_BUTTON);
    Command(ID_ZOOM_IN, wxEVT_BUTTON);
    const double scaleX = Plot()->GetScaleX(), scaleY = Plot()->GetScaleY(), centreX = Plot()->GetCentreX(),
                 centreY = Plot()->GetCentreY();
    for (int tick = 0; tick < 3; ++tick) {
        clock.Advance(1.0);
        LiveTick();
    }
    Resize(150, 100);
    EXPECT_FALSE(Plot()->IsFitted());
    EXPECT_DOUBLE_EQ(Plot()->GetScaleX(), scaleX);
    EXPECT_DOUBLE_EQ(Plot()->GetScaleY(), scaleY);
    EXPECT_DOUBLE_EQ(Plot()->GetCentreX(), centreX);
    EXPECT_DOUBLE_EQ(Plot()->GetCentreY(), centreY);
    EXPECT_EQ(frame->FlowSeries()->PointCount(), frame->Records()[0].SampleCount());

    // "Passend" fits and follows again.
    wxCommandEvent fit(wxEVT_MENU, ID_PLOT_FIT);
    Plot()->GetEventHandler()->ProcessEvent(fit);
    PumpEvents(5);
    ExpectFilled("fitted again");
    clock.Advance(1.0);
    LiveTick();
    ExpectFilled("following again");

    // Another record shown: the ticks leave the chart to it; the recording goes on.
    frame->AppendRecord(MakeRecord("Zweiter", "25/03/2023 09:00:00", {10, 20, 30}, {1, 2, 3}));
    frame->RefreshRecordList();
    frame->ChartRecord(1);
    const int recorded = frame->Records()[0].SampleCount();
    clock.Advance(1.0);
    LiveTick();
    EXPECT_GT(frame->Records()[0].SampleCount(), recorded);
    EXPECT_EQ(frame->FlowSeries()->PointCount(), 3);
    Button(ID_STOP);
}
