#include "data/hydrant_report.h"
#include "support/test_helpers.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

// An evaluated test with the phases known: 100 s at rest, then 200 s flowing.
hydrant::Evaluation Evaluated(double staticP, double flowingP, double flow, double required) {
    hydrant::Evaluation e;
    e.phasesFound = true;
    e.restPhase = {0, 99, 0, 99};
    e.flowingPhase = {120, 319, 120, 319};
    e.staticPressure = staticP;
    e.flowingPressure = flowingP;
    e.flow = flow;
    hydrant::Recompute(e, required);
    return e;
}

hydrant::UnitTexts Units(const char* flow, const char* pressure, int flowDecimals, int pressureDecimals) {
    return {U8(flow), U8(pressure), flowDecimals, pressureDecimals};
}

}  // namespace

TEST(HydrantReport, KnownAnswersOfTheChecksClassesAndLevels) {
    struct Case {
        const char* name;
        int unitSystem, flowUnit, pressureUnit;
        hydrant::UnitTexts units;
        double staticP, flowingP, flow, required;
        // Expected, worked out by hand from Q = Qf × ((Ps − Pr) / (Ps − Pf))^0.54.
        bool projected;
        double available, availableM3h;
        bool dropEnough, aboveMinimum;
        bool classGiven;
        const char* hydrantClass;
        double classGpm;
        bool levelsGiven;
        double levelM3h;
        int levelsReached;
    };
    // clang-format off
    const Case cases[] = {
        // The textbook case: 70 psi static, 50 psi flowing, 1000 gpm: 1640 gpm at 20 psi, AA;
        // at 1.5 bar (21.76 psi) 1609 gpm = 365 m³/h, all four levels.
        {"NFPA example", 0, 3, 112, Units("g/min", "psi", 0, 1), 70, 50, 1000, 20,
         true, 1640, 372.5, true, true, true, "AA", 1640, true, 365.4, 4},
        // Metric: 5.52 bar, 2.72 bar, 729 l/min: 886 l/min = 53.2 m³/h at 1.5 bar, 48 but not 96;
        // at 20 psi (1.379 bar) 900.6 l/min = 237.9 gpm, class C.
        {"metric", 1, 0, 98, Units("l/min", "Bar", 0, 2), 5.52, 2.72, 729, 1.5,
         true, 886.2, 53.17, true, true, true, "C", 237.9, true, 53.17, 2},
        // The same hydrant in l/s: the same m³/h.
        {"metric l/s", 1, 1, 98, Units("l/s", "Bar", 2, 2), 5.52, 2.72, 12.15, 1.5,
         true, 14.770, 53.17, true, true, true, "C", 237.9, true, 53.17, 2},
        // Flowing pressure below the minimum: no projection and no levels, the class at 20 psi
        // (1.379 bar < 2.0 bar) still: 2.0 ↔ (5 − 1.379)/3 = 1.2070^0.54 = 1.1068 × 2400 l/min
        // = 2656 l/min = 701.8 gpm, B.
        {"below minimum", 1, 0, 98, Units("l/min", "Bar", 0, 2), 5.0, 2.0, 2400, 2.5,
         false, 0, 0, true, false, true, "B", 701.8, false, 0, 0},
        // A drop of 5 %: the check fails, the figures stand. 60 psi, 57 psi, 400 gpm:
        // at 20 psi (40/3)^0.54 = 4.0501 → 1620 gpm, AA (a projection not worth much); at
        // 21.76 psi 1581 gpm = 359.1 m³/h.
        {"small drop", 0, 3, 112, Units("g/min", "psi", 0, 1), 60, 57, 400, 20,
         true, 1620.0, 367.95, false, true, true, "AA", 1620.0, true, 359.1, 4},
        // Flowing at 18 psi, the minimum 15 psi: (35/32)^0.54 = 1.0496 → 944.6 gpm = 214.5 m³/h;
        // no class at 20 psi, and no levels at 1.5 bar either.
        {"no class", 0, 3, 112, Units("g/min", "psi", 0, 1), 50, 18, 900, 15,
         true, 944.6, 214.5, true, true, false, "", 0, false, 0, 0},
    };
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const hydrant::ReportFigures r =
            hydrant::MakeReport(Evaluated(c.staticP, c.flowingP, c.flow, c.required), c.unitSystem,
                                c.flowUnit, c.pressureUnit, c.units);
        EXPECT_EQ(r.projected, c.projected);
        if (c.projected) {
            EXPECT_NEAR(r.evaluation.availableFlow, c.available, c.available * 0.002);
            EXPECT_NEAR(r.availableCubicMetres, c.availableM3h, c.availableM3h * 0.002);
        } else {
            EXPECT_FALSE(r.noProjection.empty());
        }
        EXPECT_EQ(r.checks[0].met, c.dropEnough);
        EXPECT_TRUE(r.checks[1].met);  // 199 s of steady flow
        EXPECT_EQ(r.checks[2].met, c.aboveMinimum);
        EXPECT_EQ(r.classGiven, c.classGiven);
        if (c.classGiven) {
            EXPECT_EQ(hydrant::ClassName(r.hydrantClass), U8(c.hydrantClass));
            EXPECT_NEAR(r.classFlow, c.classGpm, c.classGpm * 0.003);
        }
        EXPECT_EQ(r.levelsGiven, c.levelsGiven);
        if (c.levelsGiven) {
            EXPECT_NEAR(r.levelFlow, c.levelM3h, c.levelM3h * 0.003);
            EXPECT_EQ(r.levelsReached, c.levelsReached);
        }
    }
}

TEST(HydrantReport, TheTextsNameTheFiguresChecksAndClasses) {
    const hydrant::ReportFigures metric =
        hydrant::MakeReport(Evaluated(5.52, 2.72, 729, 1.5), 1, 0, 98, Units("l/min", "Bar", 0, 2));
    const wxString lines = hydrant::ReportLines(metric);
    for (const char* expected : {
             "Ruhedruck: 5.52 Bar\n",
             "Fließdruck: 2.72 Bar\n",
             "Druckabfall: 2.80 Bar (50.7 % des Ruhedrucks)\n",
             "Durchfluss: 729 l/min\n",
             "Fließphase: 00:02:00 – 00:05:19\n",
             "Mindestdruck: 1.50 Bar\n",
             "Verfügbarer Durchfluss: 886 l/min (53.2 m³/h)\n",
             "erfüllt: Druckabfall mindestens 10 % des Ruhedrucks (50.7 %)\n",
             "erfüllt: Fließphase gleichmäßig und mindestens 10 s lang (199 s)\n",
             "erfüllt: Fließdruck über dem Mindestdruck (2.72 Bar > 1.50 Bar)\n",
             "Löschwasser-Grundschutz (DVGW W 405): 53.2 m³/h bei 1.50 Bar, erreicht: 24, 48 m³/h; "
             "nicht erreicht: 96, 192 m³/h\n",
             "Hydrantenklasse (NFPA 291): C, 238 gpm bei 20 psi\n",
         })
        EXPECT_NE(lines.Find(U8(expected)), wxNOT_FOUND) << expected << "\nin\n" << lines.utf8_string();
    // The leading class is the metric one.
    EXPECT_TRUE(hydrant::LeadingClassText(metric).StartsWith(U8("Löschwasser-Grundschutz")));

    const hydrant::ReportFigures us =
        hydrant::MakeReport(Evaluated(70, 50, 1000, 20), 0, 3, 112, Units("g/min", "psi", 0, 1));
    EXPECT_EQ(hydrant::LeadingClassText(us), U8("Hydrantenklasse (NFPA 291): AA, 1640 gpm bei 20 psi"));

    const hydrant::ReportFigures below =
        hydrant::MakeReport(Evaluated(5.0, 2.0, 2400, 2.5), 1, 0, 98, Units("l/min", "Bar", 0, 2));
    const wxString belowLines = hydrant::ReportLines(below);
    EXPECT_NE(belowLines.Find(U8("nicht erfüllt: Fließdruck über dem Mindestdruck (2.00 Bar ≤ 2.50 Bar)\n")),
              wxNOT_FOUND)
        << belowLines.utf8_string();
    EXPECT_NE(belowLines.Find(U8("Verfügbarer Durchfluss: –\n")), wxNOT_FOUND);
    EXPECT_NE(belowLines.Find(U8("Keine Hochrechnung: der Fließdruck liegt nicht über dem Mindestdruck.\n")),
              wxNOT_FOUND);
}

TEST(HydrantReport, TheLimitsOfTheDropCheckTheClassesAndTheLevels) {
    // The drop check on both sides of its tenth.
    EXPECT_TRUE(hydrant::DropIsEnough(70, 63));
    EXPECT_FALSE(hydrant::DropIsEnough(70, 63.1));
    EXPECT_TRUE(hydrant::DropIsEnough(5.0, 4.5));
    EXPECT_FALSE(hydrant::DropIsEnough(5.0, 4.51));
    EXPECT_TRUE(hydrant::DropIsEnough(6.1, 3.2));
    EXPECT_FALSE(hydrant::DropIsEnough(0, -1));
    EXPECT_FALSE(hydrant::DropIsEnough(5, NAN));

    const struct {
        double gpm;
        const char* name;
    } classes[] = {{1500, "AA"}, {1499.9, "A"}, {1000, "A"}, {999.9, "B"},
                   {500, "B"},   {499.9, "C"},  {0, "C"}};
    for (const auto& c : classes)
        EXPECT_EQ(hydrant::ClassName(hydrant::ClassOf(c.gpm)), U8(c.name)) << c.gpm;
    // AA light blue, A green, B orange, C red.
    const hydrant::Rgb aa = hydrant::ClassColour(hydrant::HydrantClass::AA),
                       a = hydrant::ClassColour(hydrant::HydrantClass::A),
                       b = hydrant::ClassColour(hydrant::HydrantClass::B),
                       c = hydrant::ClassColour(hydrant::HydrantClass::C);
    EXPECT_TRUE(aa.b > aa.r && aa.b > aa.g && aa.r > 80) << "light blue";
    EXPECT_TRUE(a.g > a.r && a.g > a.b) << "green";
    EXPECT_TRUE(b.r > b.g && b.g > b.b && b.g > 100) << "orange";
    EXPECT_TRUE(c.r > 2 * c.g && c.r > 2 * c.b) << "red";

    const struct {
        double m3h;
        int reached;
    } levels[] = {{0, 0}, {23.9, 0}, {24, 1}, {47.99, 1}, {48, 2}, {95.9, 2}, {96, 3}, {191, 3}, {192, 4}};
    for (const auto& l : levels)
        EXPECT_EQ(hydrant::SupplyLevelsReached(l.m3h), l.reached) << l.m3h;

    // Conversions: 60 l/min = 1 l/s / 60 ... = 3.6 m³/h; 100 gpm = 22.71 m³/h; 1 bar = 14.504 psi.
    EXPECT_NEAR(hydrant::ToCubicMetresPerHour(60, 1, 0), 3.6, 1e-9);
    EXPECT_NEAR(hydrant::ToCubicMetresPerHour(1, 1, 1), 3.6, 1e-9);
    EXPECT_NEAR(hydrant::ToCubicMetresPerHour(100, 0, 0), 22.712, 0.001);
    EXPECT_NEAR(hydrant::ToGallonsPerMinute(3785.41, 1, 0), 1000, 0.01);
    EXPECT_NEAR(hydrant::PressureToPsi(1, 98), 14.504, 1e-9);
    EXPECT_NEAR(hydrant::PressureToPsi(100, 16), 14.5038, 1e-4);
}

TEST(HydrantReport, SupplyScaleIsRoundAndHoldsTheFigures) {
    const hydrant::ReportFigures r =
        hydrant::MakeReport(Evaluated(5.52, 2.72, 729, 1.5), 1, 0, 98, Units("l/min", "Bar", 0, 2));
    const hydrant::SupplyScale s = hydrant::SupplyScaleFor(r);
    EXPECT_GT(s.maxFlow, 886.2);
    EXPECT_GT(s.maxPressure, 5.52);
    EXPECT_DOUBLE_EQ(s.maxFlow, 1000);  // 975 rounded up to the step of 200
    EXPECT_DOUBLE_EQ(s.maxPressure, 6);
    // Half the flow sits at 0.5^1.85 = 0.2774 of the axis.
    EXPECT_NEAR(s.X(500), 0.2774, 1e-4);
    EXPECT_DOUBLE_EQ(s.Y(3), 0.5);
    for (double range : {0.7, 3.0, 7.5, 975.0, 12000.0}) {
        const double step = hydrant::RoundStep(range, 5);
        EXPECT_LE(range / step, 5.0 + 1e-9) << range;
        EXPECT_GT(range / step, 1.0) << range;
    }
}
