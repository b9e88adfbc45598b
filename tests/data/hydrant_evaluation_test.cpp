#include "data/hydrant_evaluation.h"
#include "data/storage.h"
#include "support/test_helpers.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <random>

namespace {

// A synthetic hydrant test at 1 sample per second: rest, opening ramp, plateau, closing ramp,
// rest. Shapers change flow or pressure at a given second.
struct Curve {
    double restSeconds = 30, rampSeconds = 8, plateauSeconds = 60, tailSeconds = 20;
    double staticP = 5.0, flowingP = 3.0, flow = 800;
    double flowNoise = 0, pressureNoise = 0;
    std::function<void(int, double&, double&)> shape;  // second, flow, pressure

    void Fill(std::vector<float>& t, std::vector<float>& q, std::vector<float>& p) const {
        std::mt19937 rng(11);
        std::normal_distribution<double> nq(0, flowNoise > 0 ? flowNoise : 1e-9),
            np(0, pressureNoise > 0 ? pressureNoise : 1e-9);
        const int total = static_cast<int>(restSeconds + 2 * rampSeconds + plateauSeconds + tailSeconds);
        for (int i = 0; i < total; ++i) {
            double share;
            if (i < restSeconds)
                share = 0;
            else if (i < restSeconds + rampSeconds)
                share = (i - restSeconds) / rampSeconds;
            else if (i < restSeconds + rampSeconds + plateauSeconds)
                share = 1;
            else if (i < restSeconds + 2 * rampSeconds + plateauSeconds)
                share = 1 - (i - restSeconds - rampSeconds - plateauSeconds) / rampSeconds;
            else
                share = 0;
            double flowNow = share * flow + (share > 0 && flowNoise > 0 ? nq(rng) : 0.0);
            double pressureNow = staticP - share * (staticP - flowingP) + (pressureNoise > 0 ? np(rng) : 0.0);
            if (shape)
                shape(i, flowNow, pressureNow);
            t.push_back(static_cast<float>(i));
            q.push_back(static_cast<float>(flowNow));
            p.push_back(static_cast<float>(pressureNow));
        }
    }
    hydrant::Evaluation Evaluate(double pReq = 1.5) const {
        std::vector<float> t, q, p;
        Fill(t, q, p);
        return hydrant::Evaluate(t, q, p, pReq);
    }
};

TEST(HydrantEvaluation, KnownAnswerOfTheHydrantTestRelation) {
    // 70 psi static, 50 psi flowing, 1000 gpm flowing: 1640 gpm available at 20 psi.
    EXPECT_NEAR(hydrant::AvailableFlow(1000, 70, 50, 20), 1640.0, 1.0);
    // At the flowing pressure the available flow is the measured one.
    EXPECT_NEAR(hydrant::AvailableFlow(1000, 70, 50, 50), 1000.0, 1e-9);
    EXPECT_LT(hydrant::AvailableFlow(1000, 70, 70, 20), 0);  // no drop
    EXPECT_LT(hydrant::AvailableFlow(1000, 70, 50, 70), 0);  // p_req at static
    EXPECT_LT(hydrant::AvailableFlow(1000, 70, 50, NAN), 0);

    EXPECT_DOUBLE_EQ(hydrant::DefaultRequiredPressure(112), 20.0);
    EXPECT_NEAR(hydrant::DefaultRequiredPressure(98), 1.5, 1e-9);
    EXPECT_NEAR(hydrant::DefaultRequiredPressure(16), 150.0, 0.1);
    EXPECT_NEAR(hydrant::DefaultRequiredPressure(8), 15.3, 0.05);
}

TEST(HydrantEvaluation, SyntheticCurvesGiveTheirPhasesAndValues) {
    struct Case {
        const char* name;
        Curve curve;
        double flowingFirst, flowingLast;  // seconds, within 3 s
        double staticP, flowingP, flow;    // within 1 %
    };
    Curve clean;
    Curve noisy;
    noisy.flowNoise = 16;  // 2 %
    noisy.pressureNoise = 0.03;
    Curve slowRamps;
    slowRamps.rampSeconds = 40;
    Curve pressureSpike;  // a water hammer when the hydrant opens, and one at rest
    pressureSpike.shape = [](int i, double&, double& p) {
        if (i == 38 || i == 39)
            p += 4.0;
        if (i == 25)
            p += 3.0;
    };
    Curve flowDip;  // the hose kinked for 4 s after 20 s of flow: the longer part counts
    flowDip.shape = [](int i, double& q, double& p) {
        if (i >= 58 && i < 62) {
            q *= 0.6;
            p += 1.0;
        }
    };
    const Case cases[] = {
        {"clean", clean, 38, 97, 5.0, 3.0, 800},
        {"noisy", noisy, 38, 97, 5.0, 3.0, 800},
        {"slow ramps", slowRamps, 67, 133, 5.0, 3.0, 800},
        {"pressure spike", pressureSpike, 38, 97, 5.0, 3.0, 800},
        {"flow dip", flowDip, 62, 97, 5.0, 3.0, 800},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        hydrant::Evaluation e = c.curve.Evaluate(1.5);
        ASSERT_TRUE(e.ok) << e.reason.utf8_string();
        EXPECT_EQ(e.restPhase.first, 0);
        EXPECT_NEAR(e.restPhase.endTime, c.curve.restSeconds, 3.0);
        EXPECT_NEAR(e.flowingPhase.startTime, c.flowingFirst, 3.0);
        EXPECT_NEAR(e.flowingPhase.endTime, c.flowingLast, 3.0);
        EXPECT_NEAR(e.staticPressure, c.staticP, 0.01 * c.staticP);
        EXPECT_NEAR(e.flowingPressure, c.flowingP, 0.01 * c.flowingP);
        EXPECT_NEAR(e.flow, c.flow, 0.01 * c.flow);
        const double expected =
            e.flow * std::pow((e.staticPressure - 1.5) / (e.staticPressure - e.flowingPressure), 0.54);
        EXPECT_NEAR(e.availableFlow, expected, 1e-6 * expected);
        EXPECT_GT(e.availableFlow, e.flow);  // 1.5 bar lies below the flowing 3 bar
    }
}

TEST(HydrantEvaluation, RecordsItCannotEvaluateGetAGermanReason) {
    struct Case {
        const char* name;
        std::function<void(Curve&)> make;
        double pReq;
        const char* reason;
    };
    const Case cases[] = {
        {"no flow", [](Curve& c) { c.flow = 0; }, 1.5,
         "Kein Fließabschnitt: der Durchfluss steigt nicht an."},
        {"flow from the start",
         [](Curve& c) {
             c.restSeconds = 0;
             c.shape = [](int i, double& q, double&) {
                 if (i == 0)
                     q = 300;
             };
         },
         1.5, "Kein Ruheabschnitt: der Durchfluss ist schon zu Beginn der Messung hoch."},
        {"no pressure drop", [](Curve& c) { c.flowingP = 5.0; }, 1.5,
         "Kein Druckabfall: der Fließdruck liegt nicht unter dem Ruhedruck."},
        {"pressure rises", [](Curve& c) { c.flowingP = 5.5; }, 1.5,
         "Kein Druckabfall: der Fließdruck liegt nicht unter dem Ruhedruck."},
        {"p_req at static", [](Curve&) {}, 5.0,
         "Der geforderte Mindestdruck liegt nicht unter dem Ruhedruck."},
        {"p_req above static", [](Curve&) {}, 9.0,
         "Der geforderte Mindestdruck liegt nicht unter dem Ruhedruck."},
        {"p_req not a number", [](Curve&) {}, NAN, "Der geforderte Mindestdruck ist keine gültige Zahl."},
        {"short plateau",
         [](Curve& c) {
             c.plateauSeconds = 6;
             c.rampSeconds = 2;
         },
         1.5, "Der gleichmäßige Fließabschnitt ist kürzer als 10 s."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Curve curve;
        c.make(curve);
        hydrant::Evaluation e = curve.Evaluate(c.pReq);
        EXPECT_FALSE(e.ok);
        EXPECT_EQ(e.reason, U8(c.reason));
        EXPECT_TRUE(std::isfinite(e.availableFlow));
        EXPECT_EQ(e.availableFlow, 0.0);
    }

    std::vector<float> t{0, 1, 2}, q{0, 5, 5}, none;
    EXPECT_EQ(hydrant::Evaluate(none, none, none, 1.5).reason, U8("Die Messung enthält keine Messwerte."));
    EXPECT_EQ(hydrant::Evaluate(t, q, none, 1.5).reason, U8("Die Messung enthält keine Druckwerte."));
    std::vector<float> p{5, NAN, 3};
    EXPECT_EQ(hydrant::Evaluate(t, q, p, 1.5).reason, U8("Die Messung enthält ungültige Werte."));

    Storage unknownFlowUnit(wxString(), 1000, 1, false, 7, 1);
    unknownFlowUnit.SetPressureUnit(98);
    EXPECT_EQ(hydrant::Evaluate(unknownFlowUnit, 1.5).reason, U8("Die Messung hat eine unbekannte Einheit."));
    Storage unknownPressureUnit(wxString(), 1000, 1, false, 0, 1);
    unknownPressureUnit.SetPressureUnit(3);
    EXPECT_EQ(hydrant::Evaluate(unknownPressureUnit, 1.5).reason,
              U8("Die Messung hat eine unbekannte Einheit."));
}

TEST(HydrantEvaluation, ANewRequiredPressureRecomputesOnlyTheAvailableFlow) {
    Curve curve;
    hydrant::Evaluation e = curve.Evaluate(1.5);
    ASSERT_TRUE(e.ok);
    const hydrant::Phase flowing = e.flowingPhase;
    hydrant::Recompute(e, 3.0);  // at the flowing pressure: what flowed is what is available
    ASSERT_TRUE(e.ok);
    EXPECT_NEAR(e.availableFlow, e.flow, 1e-3 * e.flow);
    EXPECT_EQ(e.flowingPhase.first, flowing.first);
    hydrant::Recompute(e, 6.0);
    EXPECT_FALSE(e.ok);
    EXPECT_EQ(e.availableFlow, 0.0);
    hydrant::Recompute(e, 1.5);
    EXPECT_TRUE(e.ok);
    EXPECT_TRUE(e.reason.empty());
}

}  // namespace
