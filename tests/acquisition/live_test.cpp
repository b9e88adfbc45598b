#include "acquisition_fixture.h"

#include "app/app_settings.h"
#include "device/protocol.h"
#include "plot/plot_window.h"
#include "plot/scales.h"
#include "widgets/lcd_display.h"

#include <wx/gauge.h>
#include <wx/panel.h>
#include <wx/stattext.h>

#include <array>
#include <cstring>

namespace {

// Flow 120 l/min and a converter reading of 330 (6.89 bar with the calibration below).
RawSample Steady(double) {
    return RawSample{120, 330};
}

class LiveTest : public AcquisitionTest {
protected:
    void SetUp() override {
        AcquisitionTest::SetUp();
        SetRate(0xFE67);  // 100 ms
        logger->SetSignal(Steady);
    }
    void SetRate(std::uint16_t reg) { SetLoggerRate(reg, 2417); }
};

// Pixels of a picture that have exactly this colour.
int PixelsOf(const wxImage& picture, const wxColour& colour) {
    int n = 0;
    for (int y = 0; y < picture.GetHeight(); ++y)
        for (int x = 0; x < picture.GetWidth(); ++x)
            n += picture.GetRed(x, y) == colour.Red() && picture.GetGreen(x, y) == colour.Green() &&
                 picture.GetBlue(x, y) == colour.Blue();
    return n;
}

}  // namespace

TEST_F(LiveTest, StatusTickShowsRemainingTimeBatteryAndMemory) {
    // The logger's free memory (what its events leave between the settings block and the
    // directory) at its sample rate, as text and as the used share on the memory gauge.
    struct Memory {
        std::vector<int> events;  // samples of each event
        std::uint16_t rate;
        const char* text;
        int gauge;  // of 700
    } const memory[] = {
        {{}, 0xF000, "12:08 Stunden Speicherplatz vorhanden", 0},                 // 131030 bytes free
        {{20000, 10000}, 0xF000, "03:48 Stunden Speicherplatz vorhanden", 480},   // 41012
        {{20000}, 0x0000, "4 Days, 09:13 Minuten Speicherplatz vorhanden", 320},  // 71021, 16 s a sample
        {{43000}, 0xF000, "00:11 Minuten Speicherplatz vorhanden", 689},          // 2021
    };
    frame->Move(620, 530);  // where no other test's window appears
    for (const Memory& m : memory) {
        SCOPED_TRACE(m.text);
        logger->ClearEvents();
        SetRate(m.rate);
        for (int n : m.events)
            ASSERT_TRUE(
                logger->AddEvent({2023, 3, 5, 9, 7, 2}, std::vector<RawSample>(n, RawSample{12, 300})));
        StatusTick();
        EXPECT_EQ(frame->StatusText()->GetLabel(), U8(m.text));
        EXPECT_EQ(frame->MemoryGauge()->GetValue(), m.gauge);
        // On screen, in the theme's colours: a bar 12 pixels high as long as the used share, on
        // a trough of another colour.
        const wxImage shown = ScreenImage(frame->MemoryGauge());
        ASSERT_TRUE(shown.IsOk());
        const int middle = shown.GetHeight() - 6, width = shown.GetWidth();
        const wxColour trough(shown.GetRed(width - 3, middle), shown.GetGreen(width - 3, middle),
                              shown.GetBlue(width - 3, middle));
        int bar = 0, high = 0;
        for (int x = 0; x < width; ++x)
            bar += wxColour(shown.GetRed(x, middle), shown.GetGreen(x, middle), shown.GetBlue(x, middle)) !=
                   trough;
        for (int y = 0; y < shown.GetHeight(); ++y)
            high += wxColour(shown.GetRed(width - 3, y), shown.GetGreen(width - 3, y),
                             shown.GetBlue(width - 3, y)) == trough;
        EXPECT_NEAR(bar, width * m.gauge / 700.0, 3);
        EXPECT_EQ(high, 12);
    }

    // The battery gauge at three times the reading, drawn in the colour of its level on the
    // window's face colour.
    const wxColour green(0, 255, 0), orange(240, 160, 0), red(255, 0, 0), face(236, 233, 216);
    struct Battery {
        int reading, value;
        wxColour colour;
    } const battery[] = {
        {117, 351, green}, {300, 700, green}, {116, 348, orange},
        {59, 177, orange}, {58, 174, red},    {10, 30, red},
    };
    for (const Battery& b : battery) {
        SCOPED_TRACE(b.reading);
        logger->SetBatteryReading(b.reading);
        StatusTick();
        EXPECT_EQ(frame->BatteryGauge()->GetValue(), b.value);
        const wxImage shown = ScreenImage(frame->BatteryGauge());
        const int width = shown.GetWidth();
        // The bar is 12 pixels high and as long as the value's share of the gauge; everything else
        // is the face colour, but for a few pixels of its rounded corners.
        EXPECT_NEAR(PixelsOf(shown, b.colour), 12.0 * width * b.value / 700, 24);
        EXPECT_GE(PixelsOf(shown, b.colour) + PixelsOf(shown, face), width * shown.GetHeight() - 16);
        for (const wxColour& other : {green, orange, red})
            EXPECT_TRUE(other == b.colour || PixelsOf(shown, other) == 0);
    }

    // Unplugged: blank and zeros, silently; back after the replug.
    logger->Unplug();
    StatusTick();
    EXPECT_EQ(frame->StatusText()->GetLabel(), U8(" "));
    EXPECT_EQ(frame->BatteryGauge()->GetValue(), 0);
    EXPECT_EQ(frame->MemoryGauge()->GetValue(), 0);
    StatusTick();
    EXPECT_EQ(frame->StatusText()->GetLabel(), U8(" "));
    logger->Replug();
    StatusTick();
    EXPECT_EQ(frame->StatusText()->GetLabel(), U8("00:11 Minuten Speicherplatz vorhanden"));
    EXPECT_EQ(frame->MemoryGauge()->GetValue(), 689);
    EXPECT_TRUE(log->Errors().empty());
}

TEST_F(LiveTest, RecordingAt100msTakesAboutTenSamplesATick) {
    Button(ID_RECORD);
    ASSERT_TRUE(log->Errors().empty());
    EXPECT_FALSE(Enabled(ID_RECORD));
    EXPECT_TRUE(Enabled(ID_STOP));
    EXPECT_TRUE(frame->LiveTimer().IsRunning());
    EXPECT_EQ(frame->LiveTimer().GetInterval(), 1000);
    ASSERT_EQ(frame->Records().size(), 1u);
    const Storage& live = frame->Records()[0];
    EXPECT_EQ(live.Title(), U8("Verbunden 1"));
    EXPECT_EQ(live.IntervalMs(), 100);
    EXPECT_EQ(live.SerialNumber(), 2417);
    EXPECT_EQ(frame->PressureUnitLabel()->GetLabel(), U8("Bar"));
    // The start text is the user's local time, day first, as the logger's events have it.
    wxDateTime start = ParseRecordDate(live.DateText());
    ASSERT_TRUE(start.IsValid());
    EXPECT_LT(std::abs((wxDateTime::Now() - start).GetSeconds().ToLong()), 5);

    clock.Advance(1.0);
    frame->SetSaved(true);
    LiveTick();
    const int n = live.SampleCount();
    EXPECT_GE(n, 9);
    EXPECT_LE(n, 11);
    EXPECT_FLOAT_EQ(live.GetSample(0).time, 0.1f);
    EXPECT_FLOAT_EQ(live.GetSample(0).flow, 120.0f);
    EXPECT_NEAR(live.GetSample(0).pressure, (330 - 104) / 2.26 / 14.504, 1e-4);
    EXPECT_EQ(frame->FlowDisplay()->GetDisplayText(), U8("120"));
    EXPECT_EQ(frame->PressureDisplay()->GetDisplayText(), U8("6.9"));
    EXPECT_FLOAT_EQ(frame->ElapsedTime(), live.GetLastSample().time);
    EXPECT_EQ(frame->Clock()->GetDisplayText(), U8("00:00:01"));
    EXPECT_FALSE(frame->IsSaved());

    // A tick that brings nothing still refreshes and clears savedFlag.
    frame->SetSaved(true);
    LiveTick();
    EXPECT_EQ(live.SampleCount(), n);
    EXPECT_FALSE(frame->IsSaved());

    // Stop 0.6 s after the last tick: the samples the logger measured meanwhile join the record.
    clock.Advance(0.6);
    const float lastTime = live.GetLastSample().time;
    Button(ID_STOP);
    EXPECT_TRUE(Enabled(ID_RECORD));
    EXPECT_FALSE(Enabled(ID_STOP));
    EXPECT_FALSE(frame->LiveTimer().IsRunning());
    EXPECT_FALSE(logger->LiveMode());
    EXPECT_EQ(logger->LiveQueueSize(), 0u);
    ASSERT_EQ(frame->Records()[0].SampleCount(), n + 6);
    EXPECT_NEAR(frame->Records()[0].GetLastSample().time, lastTime + 0.6f, 1e-4);
    EXPECT_EQ(frame->Clock()->GetDisplayText(), U8("00:00:01"));
}

// A tick appends only its new samples to the chart; what the chart then holds and shows is what
// loading the whole record gives, on both axes, through the lengths where the series' block
// extremes grow a level, and as points too.
TEST_F(LiveTest, LiveTicksChartWhatLoadingTheWholeRecordCharts) {
    logger->SetSignal([](double t) {
        return RawSample{static_cast<std::uint16_t>(300 + 200 * std::sin(t / 7) + 40 * std::sin(t * 3)),
                         static_cast<std::uint16_t>(330 + 60 * std::cos(t / 5))};
    });
    Command(ID_SHOW_FLOW, wxEVT_BUTTON);
    Command(ID_SHOW_PRESSURE, wxEVT_BUTTON);
    Button(ID_RECORD);
    ASSERT_TRUE(log->Errors().empty());
    const Storage& live = frame->Records()[0];
    using Rows = std::vector<std::array<double, 3>>;
    const auto rows = [](const auto* series) {
        Rows out;
        for (int i = 0; i < series->PointCount(); ++i) {
            double x = 0, y = 0, extra = 0;
            series->PointAt(i, x, y, extra);
            out.push_back({x, y, extra});
        }
        return out;
    };
    struct Chart {
        std::vector<Rows> series;
        std::vector<double> extents;
        wxImage picture;
    };
    const auto chart = [&] {
        Chart c;
        c.series = {rows(frame->FlowSeries()), rows(frame->VolumeSeries()), rows(frame->PressureSeries()),
                    rows(frame->SecondaryPressureSeries())};
        for (mpLayer* s :
             std::initializer_list<mpLayer*>{frame->FlowSeries(), frame->VolumeSeries(),
                                             frame->PressureSeries(), frame->SecondaryPressureSeries()})
            c.extents.insert(c.extents.end(), {s->MinX(), s->MaxX(), s->MinY(), s->MaxY()});
        c.picture = frame->PlotWindow()->SnapshotBitmap().ConvertToImage();
        return c;
    };
    for (int tick = 1; tick <= 260; ++tick) {
        clock.Advance(1.0);
        LiveTick();
        if (tick % 65 != 0)
            continue;
        SCOPED_TRACE(testing::Message() << "tick " << tick << ", " << live.SampleCount() << " samples");
        for (bool points : {false, true}) {
            if (points)
                Command(ID_POINTS, wxEVT_BUTTON);
            const Chart appended = chart();
            frame->ChartRecord(0);  // the whole record, loaded afresh
            const Chart loaded = chart();
            ASSERT_EQ(appended.series[0].size(), static_cast<std::size_t>(live.SampleCount()));
            for (std::size_t k = 0; k < loaded.series.size(); ++k)
                EXPECT_EQ(appended.series[k], loaded.series[k]) << "series " << k;
            EXPECT_EQ(appended.extents, loaded.extents);
            ASSERT_TRUE(appended.picture.IsOk());
            EXPECT_EQ(0, memcmp(appended.picture.GetData(), loaded.picture.GetData(),
                                static_cast<std::size_t>(loaded.picture.GetWidth()) *
                                    loaded.picture.GetHeight() * 3))
                << (points ? "points" : "lines");
            if (points)
                Command(ID_POINTS, wxEVT_BUTTON);
            LiveTick();  // the next tick appends to the reloaded chart
        }
    }
    Button(ID_STOP);
}

TEST_F(LiveTest, SlowIntervalsPollAtTheirOwnPaceAndFirstSampleIsOneIntervalIn) {
    SetRate(0xB000);  // 5000 ms
    Button(ID_RECORD);
    EXPECT_EQ(frame->LiveTimer().GetInterval(), 5000);
    clock.Advance(5.0);
    LiveTick();
    ASSERT_EQ(frame->Records()[0].SampleCount(), 1);
    EXPECT_FLOAT_EQ(frame->Records()[0].GetSample(0).time, 5.0f);
    EXPECT_EQ(frame->Clock()->GetDisplayText(), U8("00:00:05"));
}

TEST_F(LiveTest, EachRecordingMakesANewRecordAtTheFront) {
    Button(ID_RECORD);
    clock.Advance(0.5);
    LiveTick();
    Button(ID_STOP);
    Button(ID_RECORD);
    ASSERT_EQ(frame->Records().size(), 2u);
    EXPECT_EQ(frame->Records()[0].Title(), U8("Verbunden 2"));
    EXPECT_EQ(frame->Records()[1].Title(), U8("Verbunden 1"));
    EXPECT_EQ(frame->Records()[0].SampleCount(), 0);
    EXPECT_GT(frame->Records()[1].SampleCount(), 0);
}

TEST_F(LiveTest, NoLoggerOrRefusedLiveMode) {
    logger->Unplug();
    Button(ID_RECORD);
    EXPECT_EQ(log->Errors(),
              std::vector<wxString>{U8("Keine USB-Verbindung erkannt: USB Kabel erneut einstecken")});
    EXPECT_TRUE(Enabled(ID_RECORD));
    EXPECT_FALSE(Enabled(ID_STOP));
    EXPECT_TRUE(frame->Records().empty());

    logger->Replug();
    log->Clear();
    logger->StallNext(2, logger::ReqLiveMode);  // the request and its one retry
    Button(ID_RECORD);
    EXPECT_EQ(log->Errors(), std::vector<wxString>{U8("USB-Kommunikation ausgefallen")});
    EXPECT_TRUE(frame->Records().empty());
    EXPECT_FALSE(frame->LiveTimer().IsRunning());
    EXPECT_FALSE(Enabled(ID_RECORD));  // the stop button ends this state
    EXPECT_TRUE(Enabled(ID_STOP));
    Button(ID_STOP);
    EXPECT_TRUE(Enabled(ID_RECORD));
}

TEST_F(LiveTest, LiveSamplesGoOnlyIntoTheLiveRecord) {
    Button(ID_RECORD);
    // Something else arrives at the front while recording runs.
    Storage other(U8("01/01/2023 00:00:00"), 1000, 1, false, 0, 9);
    frame->InsertRecordAtFront(other);
    clock.Advance(1.0);
    LiveTick();
    EXPECT_EQ(frame->Records()[0].SampleCount(), 0);
    EXPECT_GT(frame->Records()[1].SampleCount(), 0);
    EXPECT_EQ(frame->LiveRecordIndex(), 1);

    // The live record deleted: the recording stops at the next tick, nothing else grows.
    frame->EraseRecord(1);
    clock.Advance(1.0);
    LiveTick();
    EXPECT_EQ(frame->Records().size(), 1u);
    EXPECT_EQ(frame->Records()[0].SampleCount(), 0);
    EXPECT_FALSE(frame->LiveTimer().IsRunning());
    EXPECT_TRUE(Enabled(ID_RECORD));
    EXPECT_FALSE(logger->LiveMode());
    EXPECT_TRUE(log->Errors().empty());
}

// A US logger delivers US gallons per minute and its records are labelled in gallons whatever the
// flow unit setting: nothing is converted. A metric logger's litres per minute follow the setting.
TEST_F(LiveTest, UnitsOfUsAndMetricLoggersUnderEveryFlowUnit) {
    struct Case {
        int unitSystem, flowUnit;
        double flowFactor, volumeFactor;  // of the raw flow, and of litres or US gallons
        const char *flowAxis, *volumeAxis;
    };
    const Case cases[] = {
        {1, 0, 1.0, 1.0, "Durchfluss (Liter/min)", "Liter"},
        {1, 1, 1.0 / 60, 1.0, "Durchfluss (Litre/sec)", "Liter"},
        {1, 2, 0.06, 0.001, "Durchfluss (M³/h)", "Meters³"},
        {1, 3, 0.264172, 0.264172, "Durchfluss (Gallone/min)", "Gallone"},
        {0, 0, 1.0, 1.0, "Durchfluss (Gallone/min)", "Gallone"},
        {0, 1, 1.0, 1.0, "Durchfluss (Gallone/min)", "Gallone"},
        {0, 2, 1.0, 1.0, "Durchfluss (Gallone/min)", "Gallone"},
        {0, 3, 1.0, 1.0, "Durchfluss (Gallone/min)", "Gallone"},
    };
    const double perSample = 120 * 100 / 60000.0;  // raw 120 for 100 ms
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "unit system " << c.unitSystem << ", flow unit " << c.flowUnit);
        SettingsBlock b = logger->Settings();
        b.stateFlags = static_cast<std::uint8_t>(c.unitSystem);
        logger->SetSettings(b);
        AppSettings.flowUnit = static_cast<std::uint8_t>(c.flowUnit);
        logger->ClearEvents();
        ASSERT_TRUE(logger->AddEvent({2023, 3, 24, 8, 0, 0}, {{120, 330}, {120, 330}, {120, 330}}));

        frame->SetSaved(true);
        wxTEST_DIALOG(Button(ID_UPLOAD), ExpectMessage(wxID_NO, U8("Save files to computer drive?")));
        ASSERT_EQ(frame->Records().size(), 1u);
        const Storage& downloaded = frame->Records()[0];
        EXPECT_EQ(downloaded.UnitSystem(), c.unitSystem);
        ASSERT_EQ(downloaded.SampleCount(), 3);
        EXPECT_NEAR(downloaded.GetSample(0).flow, 120 * c.flowFactor, 1e-4);
        EXPECT_NEAR(downloaded.LastVolume(), 3 * perSample * c.volumeFactor, 1e-5);

        Button(ID_RECORD);
        clock.Advance(1.0);
        LiveTick();
        Button(ID_STOP);
        const Storage& live = frame->Records()[0];
        ASSERT_EQ(live.SampleCount(), 10);
        EXPECT_NEAR(live.GetSample(9).flow, 120 * c.flowFactor, 1e-4);
        EXPECT_NEAR(live.LastVolume(), 10 * perSample * c.volumeFactor, 1e-5);
        EXPECT_EQ(frame->FlowAxis()->GetName(), U8(c.flowAxis));
        EXPECT_EQ(frame->VolumeAxis()->GetName(), U8(c.volumeAxis));
        EXPECT_TRUE(log->Errors().empty());
    }
}
