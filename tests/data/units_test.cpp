#include "data/units.h"

#include <gtest/gtest.h>

using namespace units;

TEST(Units, LabelsOfMetricAndUsLoggers) {
    EXPECT_EQ(FlowShortLabel(1, 0), wxString::FromUTF8("l/min"));
    EXPECT_EQ(FlowShortLabel(1, 1), wxString::FromUTF8("l/s "));
    EXPECT_EQ(FlowShortLabel(1, 2), wxString::FromUTF8("M³/h "));
    EXPECT_EQ(FlowShortLabel(1, 3), wxString::FromUTF8("GPM "));
    EXPECT_EQ(FlowShortLabel(1, 4), wxString());
    EXPECT_EQ(FlowShortLabel(0, 2), wxString::FromUTF8("g/min"));
    EXPECT_EQ(FlowLongLabel(1, 1), wxString::FromUTF8("Durchfluss (Litre/sec)"));
    EXPECT_EQ(FlowLongLabel(1, 2), wxString::FromUTF8("Durchfluss (M³/h)"));
    EXPECT_EQ(FlowLongLabel(0, 0), wxString::FromUTF8("Durchfluss (Gallone/min)"));
    EXPECT_EQ(VolumeName(1, 2), wxString::FromUTF8("Meters³"));
    EXPECT_EQ(VolumeName(1, 3), wxString::FromUTF8("Gallone"));
    EXPECT_EQ(VolumeName(0, 0), wxString::FromUTF8("Gallone"));
    EXPECT_EQ(PressureShortLabel(98), wxString::FromUTF8("Bar"));
    EXPECT_EQ(PressureShortLabel(16), wxString::FromUTF8("KPa"));
    EXPECT_EQ(PressureShortLabel(5), wxString());
    EXPECT_EQ(PressureLongLabel(8), wxString::FromUTF8("Druckeinheit (MtrH)"));
    EXPECT_EQ(VolumeColumnTitle(1, 1), wxString::FromUTF8("Volumen (L)"));
    EXPECT_EQ(VolumeColumnTitle(1, 2), wxString::FromUTF8("Volumen (M³)"));
    EXPECT_EQ(VolumeColumnTitle(1, 3), wxString::FromUTF8("Volumen (G)"));
    EXPECT_EQ(VolumeColumnTitle(0, 2), wxString::FromUTF8("Volumen (G)"));
}

TEST(Units, ConversionFactors) {
    EXPECT_DOUBLE_EQ(ConvertFlow(120, 1), 2.0);
    EXPECT_DOUBLE_EQ(ConvertFlow(100, 2), 6.0);
    EXPECT_DOUBLE_EQ(ConvertFlow(100, 3), 26.4172);
    EXPECT_DOUBLE_EQ(ConvertPressureFromPsi(14.504, 98), 1.0);
    EXPECT_DOUBLE_EQ(ConvertPressureFromPsi(14.504, 112), 14.504);
    EXPECT_DOUBLE_EQ(VolumeIncrement(100, 60000, 2), 0.1);
    EXPECT_DOUBLE_EQ(VolumeIncrement(100, 60000, 0), 100.0);
}
