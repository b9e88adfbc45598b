#include "data/storage.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

Storage Metric(int flowUnit, int intervalMs = 1000) {
    return Storage(wxString::FromUTF8("24/03/2023 14:05:09"), intervalMs, 1, false, flowUnit, 7);
}

}  // namespace

TEST(Storage, ConstructionSetsTitleTextsAndADayFirstStartTime) {
    // The program's date text and the logger's own (day without leading zero, then month).
    const struct {
        const char* text;
        wxDateTime start;
    } cases[] = {{"24/03/2023 14:05:09", wxDateTime(24, wxDateTime::Mar, 2023, 14, 5, 9)},
                 {"5/03/2023 9:07:02", wxDateTime(5, wxDateTime::Mar, 2023, 9, 7, 2)},
                 {"kein Datum", wxDateTime()}};
    for (const auto& c : cases) {
        Storage r(wxString::FromUTF8(c.text), 100, 1, false, 0, 7);
        EXPECT_EQ(r.DateText(), wxString::FromUTF8(c.text));
        EXPECT_TRUE(c.start.IsValid() ? r.StartTime() == c.start : !r.StartTime().IsValid()) << c.text;
    }
    const Storage r = Metric(0);
    EXPECT_EQ(r.Title(), wxString::FromUTF8("7"));
    EXPECT_EQ(r.SampleCount(), 0);
    EXPECT_EQ(r.LastVolume(), 0.0f);
    EXPECT_FALSE(r.HasTargetFlow());
    EXPECT_TRUE(r.TargetLineTimes().empty());
    EXPECT_TRUE(r.TargetLineValues().empty());
}

TEST(Storage, RawSampleTimesStartOneIntervalAfterTheStart) {
    Storage r = Metric(0, 100);
    for (int i = 0; i < 1000; ++i)
        r.AddRawSample(10, 0);
    EXPECT_FLOAT_EQ(r.GetSample(0).time, 0.1f);
    EXPECT_FLOAT_EQ(r.GetSample(9).time, 1.0f);
    EXPECT_FLOAT_EQ(r.GetLastSample().time, 100.0f);
    EXPECT_EQ(r.SampleCount(), 1000);
    EXPECT_EQ(r.Flows().size(), 1000u);
    EXPECT_EQ(r.Pressures().size(), 1000u);
    EXPECT_EQ(r.Volumes().size(), 1000u);
}

TEST(Storage, FlowAndVolumeFollowTheFlowUnit) {
    struct Case {
        int unitSystem, flowUnit, rawFlow, intervalMs;
        float flow, volume;
    };
    const Case cases[] = {
        {1, 0, 100, 60000, 100.0f, 100.0f},      // litres
        {1, 1, 120, 1000, 2.0f, 2.0f},           // l/s, volume still litres
        {1, 2, 100, 60000, 6.0f, 0.1f},          // m³/h and cubic metres
        {1, 3, 100, 60000, 26.4172f, 26.4172f},  // US gallons for both
        {1, 9, 100, 60000, 0.0f, 0.0f},          // unknown code
        // A US logger delivers gallons per minute: whatever the code, nothing is converted.
        {0, 0, 100, 60000, 100.0f, 100.0f},
        {0, 1, 120, 1000, 120.0f, 2.0f},
        {0, 2, 100, 60000, 100.0f, 100.0f},
        {0, 3, 100, 60000, 100.0f, 100.0f},
    };
    for (const auto& c : cases) {
        Storage r(wxString::FromUTF8("24/03/2023 14:05:09"), c.intervalMs, c.unitSystem, false, c.flowUnit,
                  7);
        r.AddRawSample(c.rawFlow, 0);
        EXPECT_NEAR(r.GetLastSample().flow, c.flow, 1e-4)
            << "system " << c.unitSystem << " unit " << c.flowUnit;
        EXPECT_NEAR(r.GetLastSample().volume, c.volume, 1e-5)
            << "system " << c.unitSystem << " unit " << c.flowUnit;
    }
}

TEST(Storage, VolumeAccumulatesOverSamples) {
    Storage r = Metric(0, 1000);
    r.AddRawSample(60, 0);
    r.AddRawSample(120, 0);
    r.AddRawSample(0, 0);
    EXPECT_FLOAT_EQ(r.GetSample(0).volume, 1.0f);
    EXPECT_FLOAT_EQ(r.GetSample(1).volume, 3.0f);
    EXPECT_FLOAT_EQ(r.GetSample(2).volume, 3.0f);
    EXPECT_FLOAT_EQ(r.LastVolume(), 3.0f);
}

TEST(Storage, PressureCalibrationThresholdAndUnits) {
    // psi = (p - 104) / 2.26
    struct Case {
        int raw, unit;
        double expected;
    };
    const double psi = (330 - 104) / 2.26;  // 100 psi
    const Case cases[] = {
        {108, 112, 0.0},       // less than offset + 5: exactly zero
        {109, 112, 5 / 2.26},  // offset + 5 counts
        {50, 112, 0.0},        // below the offset
        {330, 112, psi},      {330, 98, psi / 14.504}, {330, 8, psi / 1.42197}, {330, 16, psi / 0.145038},
        {330, 77, psi},  // unknown code stays psi
    };
    for (const auto& c : cases) {
        Storage r = Metric(0);
        r.SetPressureCalibration(104, 2, 26, static_cast<std::uint8_t>(c.unit));
        r.AddRawSample(0, c.raw);
        EXPECT_NEAR(r.GetLastSample().pressure, c.expected, 1e-4 * (1 + c.expected))
            << "raw " << c.raw << " unit " << c.unit;
    }
    Storage exact = Metric(0);
    exact.SetPressureCalibration(104, 2, 26, 112);
    exact.AddRawSample(0, 108);
    EXPECT_EQ(exact.GetLastSample().pressure, 0.0f);
}

TEST(Storage, ZeroGainNeverStoresNonFiniteValues) {
    Storage r = Metric(0);
    r.SetPressureCalibration(0, 0, 0, 98);
    r.AddRawSample(10, 500);
    EXPECT_TRUE(std::isfinite(r.GetLastSample().pressure));
    EXPECT_EQ(r.GetLastSample().pressure, 0.0f);
}

TEST(Storage, AddSampleStoresEngineeringValues) {
    Storage plain = Metric(0);
    plain.AddSample(0.5f, 12.25f, 3.5f, 99.75f);
    auto s = plain.GetLastSample();
    EXPECT_EQ(s.time, 0.5f);
    EXPECT_EQ(s.flow, 12.25f);
    EXPECT_EQ(s.pressure, 3.5f);
    EXPECT_EQ(s.volume, 99.75f);

    Storage cubic = Metric(2);
    cubic.AddSample(1.0f, 100.0f, 2.0f, 500.0f);
    EXPECT_FLOAT_EQ(cubic.GetLastSample().flow, 6.0f);
    EXPECT_FLOAT_EQ(cubic.GetLastSample().volume, 0.5f);
}

TEST(Storage, FilterAveragesInPlaceReadingRewrittenValues) {
    Storage r = Metric(0);
    for (float f : {0.0f, 3.0f, 0.0f, 3.0f, 0.0f})
        r.AddSample(0, f, f, f);
    r.SetFilter(true, 1);
    ASSERT_TRUE(r.IsFiltered());
    const float expected[] = {0.0f, 1.0f, 4.0f / 3.0f, (4.0f / 3.0f + 3.0f) / 3.0f, 0.0f};
    for (int i = 0; i < 5; ++i) {
        EXPECT_NEAR(r.Flows()[i], expected[i], 1e-6) << i;
        EXPECT_NEAR(r.Pressures()[i], expected[i], 1e-6) << i;
        EXPECT_NEAR(r.Volumes()[i], expected[i], 1e-6) << i;
        EXPECT_EQ(r.Times()[i], 0.0f);  // times are never filtered
    }
    // On while on: no second pass, even with another width.
    r.SetFilter(true, 2);
    EXPECT_NEAR(r.Flows()[1], 1.0f, 1e-6);
    r.SetFilter(false, 1);
    EXPECT_FALSE(r.IsFiltered());
    EXPECT_EQ(r.Flows()[1], 3.0f);
    EXPECT_EQ(r.Flows()[2], 0.0f);
}

TEST(Storage, FilterWiderThanTheRecordOnlySetsTheFlag) {
    Storage r = Metric(0);
    for (float f : {1.0f, 5.0f, 2.0f, 8.0f})
        r.AddSample(0, f, f, f);
    r.SetFilter(true, 2);
    EXPECT_TRUE(r.IsFiltered());
    EXPECT_EQ(r.Flows(), (std::vector<float>{1.0f, 5.0f, 2.0f, 8.0f}));
    r.SetFilter(false, 2);
    EXPECT_FALSE(r.IsFiltered());
    EXPECT_EQ(r.Flows(), (std::vector<float>{1.0f, 5.0f, 2.0f, 8.0f}));
}

TEST(Storage, SamplesAddedWhileFilteredAreKeptAndAveragedAsTheyArrive) {
    // Switched on after `before` of 40 raw samples: the series equal one pass over all 40, and
    // switching off gives back exactly what arrived.
    struct Case {
        int before, halfWidth;
    };
    const Case cases[] = {{0, 2}, {1, 2}, {3, 1}, {10, 2}, {10, 5}, {25, 0}, {39, 3}, {40, 2}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.before << " then filter " << c.halfWidth);
        Storage live = Metric(0, 100), whole = Metric(0, 100), raw = Metric(0, 100);
        for (Storage* r : {&live, &whole, &raw})
            r->SetPressureCalibration(104, 2, 26, 98);
        for (int i = 0; i < 40; ++i) {
            if (i == c.before)
                live.SetFilter(true, c.halfWidth);
            const int flow = (i * 37) % 211, adc = 200 + (i * 53) % 400;
            for (Storage* r : {&live, &whole, &raw})
                r->AddRawSample(flow, adc);
            ASSERT_EQ(live.Flows().size(), live.Times().size());
        }
        if (c.before == 40)
            live.SetFilter(true, c.halfWidth);
        whole.SetFilter(true, c.halfWidth);
        EXPECT_EQ(live.Flows(), whole.Flows());
        EXPECT_EQ(live.Pressures(), whole.Pressures());
        EXPECT_EQ(live.Volumes(), whole.Volumes());
        live.SetFilter(false, c.halfWidth);
        EXPECT_EQ(live.Times(), raw.Times());
        EXPECT_EQ(live.Flows(), raw.Flows());
        EXPECT_EQ(live.Pressures(), raw.Pressures());
        EXPECT_EQ(live.Volumes(), raw.Volumes());
        EXPECT_FLOAT_EQ(live.LastVolume(), raw.LastVolume());
    }
}

TEST(Storage, CopiesAreIndependent) {
    Storage a = Metric(0);
    a.AddRawSample(10, 0);
    Storage b = a;
    b.AddRawSample(20, 0);
    b.SetTitle(wxString::FromUTF8("Kopie"));
    b.SetFilter(true, 1);
    EXPECT_EQ(a.SampleCount(), 1);
    EXPECT_EQ(a.Title(), wxString::FromUTF8("7"));
    EXPECT_FALSE(a.IsFiltered());
    EXPECT_EQ(b.SampleCount(), 2);
    // The copy's running total continues where the source's was.
    EXPECT_FLOAT_EQ(b.GetLastSample().volume, (10 + 20) / 60.0f);

    // What a chart shares of a record stays that record's samples: a record copied over another
    // brings samples of its own, and a record moved elsewhere takes the shared ones along.
    const SampleVector::Ref shared = a.SharedFlows();
    b = a;
    b.AddRawSample(30, 0);
    EXPECT_EQ(shared->size(), 1u);
    EXPECT_EQ(shared.get(), &a.Flows());
    EXPECT_NE(shared.get(), &b.Flows());
    Storage c = std::move(a);
    c.AddRawSample(40, 0);
    EXPECT_EQ(shared.get(), &c.Flows());
    EXPECT_EQ(shared->size(), 2u);
}

TEST(Storage, TargetLineRunsFromFirstToLastTime) {
    Storage r = Metric(0, 500);
    r.SetTargetFlow(12.5f);
    EXPECT_TRUE(r.HasTargetFlow());
    EXPECT_TRUE(r.TargetLineTimes().empty());  // no samples, no line
    for (int i = 0; i < 4; ++i)
        r.AddRawSample(1, 0);
    EXPECT_EQ(r.TargetLineTimes(), (std::vector<float>{0.5f, 2.0f, 2.0f}));
    EXPECT_EQ(r.TargetLineValues(), (std::vector<float>{12.5f, 12.5f, 12.5f}));
}
