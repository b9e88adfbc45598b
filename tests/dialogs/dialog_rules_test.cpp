#include "dialogs/dialog_rules.h"
#include "support/test_helpers.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>

using namespace dialogrules;

namespace {

std::string S(const wxString& text) {
    return text.utf8_string();
}

}  // namespace

TEST(IntervalRules, SpinStepsStayInsideOneTo159) {
    struct Case {
        int tenths, step, expected;
    } cases[] = {
        {10, +1, 11}, {10, -1, 9}, {158, +1, 159}, {159, +1, 159}, {2, -1, 1},
        {1, -1, 1},   {1, +1, 2},  {159, -1, 158}, {160, -1, 160},  // a register of 0 reads 160: stuck
    };
    for (const Case& c : cases)
        EXPECT_EQ(StepInterval(c.tenths, c.step), c.expected) << c.tenths << " step " << c.step;
    EXPECT_EQ(S(FormatInterval(10)), "1.0");
    EXPECT_EQ(S(FormatInterval(159)), "15.9");
    EXPECT_EQ(S(FormatInterval(3)), "0.3");
}

TEST(ClockRules, BcdStepsWrapAndLeaveImpossibleReadingsAlone) {
    struct Case {
        std::uint8_t reg;
        int step, max;
        std::optional<std::uint8_t> expected;
    } cases[] = {
        {0x00, -1, 59, 0x59},         {0x59, +1, 59, 0x00},         {0x09, +1, 59, 0x10},
        {0x10, -1, 59, 0x09},         {0x23, +1, 23, 0x00},         {0x00, -1, 23, 0x23},
        {0x19, +1, 23, 0x20},         {0x60, +1, 59, std::nullopt}, {0x24, -1, 23, std::nullopt},
        {0x5A, +1, 59, std::nullopt}, {0xA0, -1, 59, std::nullopt},
    };
    for (const Case& c : cases)
        EXPECT_EQ(StepClockRegister(c.reg, c.step, c.max), c.expected)
            << std::hex << int(c.reg) << " " << c.step;

    EXPECT_EQ(S(FormatClockField(0x05, true)), "05");
    EXPECT_EQ(S(FormatClockField(0x00, true)), "00");
    EXPECT_EQ(S(FormatClockField(0x10, true)), "10");
    EXPECT_EQ(S(FormatClockField(0x05, false)), "5");
    EXPECT_EQ(S(FormatClockField(0x23, false)), "23");
}

TEST(ClockRules, DatesOfTheClockAndBack) {
    EXPECT_EQ(DateFromClock(0x24, 0x03, 0x23), (CivilDate{24, 3, 2023}));
    EXPECT_EQ(DateFromClock(0x29, 0x02, 0x24), (CivilDate{29, 2, 2024}));
    EXPECT_EQ(DateFromClock(0x31, 0x12, 0x99), (CivilDate{31, 12, 2099}));
    // Registers that hold no calendar date must not reach the date picker.
    for (auto [d, m, y] : {std::tuple{0x29, 0x02, 0x23},
                           {0x00, 0x03, 0x23},
                           {0x31, 0x04, 0x23},
                           {0x01, 0x00, 0x23},
                           {0x01, 0x13, 0x23},
                           {0x1A, 0x03, 0x23},
                           {0x01, 0x03, 0xFF}})
        EXPECT_EQ(DateFromClock(d, m, y), std::nullopt) << std::hex << d << "." << m << "." << y;

    auto regs = ClockDateRegisters({5, 6, 2024});
    ASSERT_TRUE(regs);
    EXPECT_EQ((*regs)[0], 0x05);
    EXPECT_EQ((*regs)[1], 0x06);
    EXPECT_EQ((*regs)[2], 0x24);
    EXPECT_TRUE(ClockDateRegisters({31, 12, 2099}));
    EXPECT_FALSE(ClockDateRegisters({31, 12, 1999}));
    EXPECT_FALSE(ClockDateRegisters({1, 1, 2100}));
}

TEST(DelayRules, SecondsAndSamples) {
    EXPECT_EQ(DelaySamples(10, 3), 33);
    EXPECT_EQ(DelaySeconds(3, 33), 9);
    EXPECT_EQ(DelaySamples(2, 10), 2);
    EXPECT_EQ(DelaySeconds(10, 2), 2);
    EXPECT_EQ(DelaySamples(0, 5), 0);
    EXPECT_EQ(DelaySeconds(159, 65535), 1042006);
    // 7000 s at 0.1 s are 70000 samples: held at the most the logger counts, not wrapped to 4464.
    EXPECT_EQ(DelaySamples(7000, 1), 65535);
    EXPECT_EQ(DelaySamples(6553, 1), 65530);
}

TEST(ThresholdRules, FieldsReadAsSixteenBitDecimals) {
    const std::pair<const char*, int> numbers[] = {{"100", 100}, {" 42 ", 42}, {"0", 0}, {"65535", 65535}};
    for (const auto& [text, value] : numbers)
        EXPECT_EQ(ReadThresholdField(U8(text)), std::optional<std::uint16_t>(value)) << "'" << text << "'";
    for (const char* text : {"65536", "", "   ", "zehn", "12a", "-1", "1.5", "99999999999999999999"})
        EXPECT_EQ(ReadThresholdField(U8(text)), std::nullopt) << "'" << text << "'";
}

// The cases a user meets first (0.5 s with no delay, 2.0 s with 1 s, equal and crossed flows, 2500,
// a word in a field, 70000) run through the dialog itself against the emulated logger.
TEST(ThresholdRules, ChecksOfDownloadInOrder) {
    const MessageBoxText tooHigh{U8("Achtung zu hohe Grenzwerte!"), U8("Message")};
    const MessageBoxText startBelowEnd{U8("Startwert für den Datenlogger muss größer sein als der Endwert"),
                                       U8("Message")};
    const MessageBoxText delayTooShort{
        U8("Abtastrate muss verringert werden und diese Verzögerungseinstellung zu erreichen"),
        U8("Message")};
    const MessageBoxText delayTooLong{U8("Achtung zu hohe Verzögerungsgrenzwerte"), U8("Message")};
    auto retype = [](const char* text) { return MessageBoxText{U8("Wert neu eintippen"), U8(text)}; };

    struct Case {
        const char* name;
        ThresholdFields fields;
        int tenths;
        bool write;
        std::vector<MessageBoxText> boxes;
    } cases[] = {
        {"off delay too short", {U8("100"), U8("50"), U8("5"), U8("1")}, 20, false, {delayTooShort}},
        {"both high, then refused",
         {U8("2100"), U8("2200"), U8("2"), U8("2")},
         10,
         false,
         {tooHigh, tooHigh, startBelowEnd}},
        {"first bad field wins", {U8("x"), U8("y"), U8("2"), U8("2")}, 10, false, {retype("x")}},
        {"delay beyond 16 bits", {U8("100"), U8("10"), U8("65536"), U8("2")}, 10, false, {retype("65536")}},
        {"empty delay", {U8("100"), U8("10"), U8("2"), U8("")}, 10, false, {retype("")}},
        {"long delays warn",
         {U8("100"), U8("10"), U8("500"), U8("401")},
         1,
         true,
         {delayTooLong, delayTooLong}},
    };
    for (const Case& c : cases) {
        ThresholdPlan plan = PlanThresholds(c.fields, c.tenths);
        EXPECT_EQ(plan.write, c.write) << c.name;
        ASSERT_EQ(plan.boxes.size(), c.boxes.size()) << c.name;
        for (size_t i = 0; i < c.boxes.size(); ++i) {
            EXPECT_EQ(S(plan.boxes[i].message), S(c.boxes[i].message)) << c.name;
            EXPECT_EQ(S(plan.boxes[i].caption), S(c.boxes[i].caption)) << c.name;
        }
    }

    ThresholdPlan plan = PlanThresholds({U8("120"), U8("30"), U8("10"), U8("4")}, 3);
    ASSERT_TRUE(plan.write);
    EXPECT_EQ(plan.flowOn, 120);
    EXPECT_EQ(plan.flowOff, 30);
    EXPECT_EQ(plan.delayOnSamples, 33);
    EXPECT_EQ(plan.delayOnSeconds, 9);
    EXPECT_EQ(plan.delayOffSamples, 13);
    EXPECT_EQ(plan.delayOffSeconds, 3);
}

TEST(DeviceInfo, SerialNumberThenFirmware) {
    EXPECT_EQ(S(DeviceInfoText(2417, 0x0403)),
              "Geräteeinstellungen     Serial No: 2417Firmware Version: 4.3");
    EXPECT_EQ(S(DeviceInfoText(0, 0x0500)), "Geräteeinstellungen     Serial No: 0Firmware Version: 5.0");
}

TEST(ServiceRules, FieldsCountByTheirLeadingDigits) {
    EXPECT_EQ(LeadingNumber(U8("20")), 20u);
    EXPECT_EQ(LeadingNumber(U8("12abc")), 12u);
    EXPECT_EQ(LeadingNumber(U8(" 7")), 7u);
    EXPECT_EQ(LeadingNumber(U8("+9")), 9u);
    EXPECT_EQ(LeadingNumber(U8("abc")), 0u);
    EXPECT_EQ(LeadingNumber(U8("")), 0u);
    EXPECT_EQ(LeadingNumber(U8("-0")), 0u);
    EXPECT_EQ(LeadingNumber(U8("-3")), ULONG_MAX);
    EXPECT_EQ(LeadingNumber(U8("999999999999999999999999")), ULONG_MAX);
}

TEST(ServiceRules, MedianAndClampLimits) {
    struct Case {
        const char *median, *clamp;
        bool send;
        std::vector<std::string> messages;
    } cases[] = {
        {"20", "250", true, {"Setting median crop to 20", "Setting clamp  to 250"}},
        {"3", "30", true, {"Setting median crop to 3", "Setting clamp  to 30"}},
        {"21", "30", false, {"Too big!"}},
        {"-1", "30", false, {"Too big!"}},
        {"20", "251", false, {"Clamp very big. Not setting it"}},
        {"x", "", true, {"Setting median crop to 0", "Setting clamp  to 0"}},
    };
    for (const Case& c : cases) {
        ServicePlan plan = PlanMedianAndClamp(U8(c.median), U8(c.clamp));
        EXPECT_EQ(plan.send, c.send) << c.median << "/" << c.clamp;
        std::vector<std::string> got;
        for (const wxString& m : plan.messages)
            got.push_back(S(m));
        EXPECT_EQ(got, c.messages);
    }
}

TEST(ServiceRules, PressureCalibrationLimits) {
    struct Case {
        const char *zero, *fine, *rough;
        bool send;
        std::vector<std::string> messages;
    } cases[] = {
        {"200",
         "255",
         "255",
         true,
         {"Setting Zero pressure pt to 200", "Setting fine adjustment scale to 255",
          "Setting rough adjustment scale to 255"}},
        {"201", "26", "2", false, {"Zero pt too big!"}},
        {"104", "0", "2", false, {"Fine adjustment values outside range"}},
        {"104", "abc", "2", false, {"Fine adjustment values outside range"}},
        {"104", "256", "2", false, {"Fine adjustment values outside range"}},
        {"104", "26", "256", false, {"Rough adjustment values outside range"}},
    };
    for (const Case& c : cases) {
        ServicePlan plan = PlanPressureCalibration(U8(c.zero), U8(c.fine), U8(c.rough));
        EXPECT_EQ(plan.send, c.send) << c.zero << "/" << c.fine << "/" << c.rough;
        std::vector<std::string> got;
        for (const wxString& m : plan.messages)
            got.push_back(S(m));
        EXPECT_EQ(got, c.messages);
    }
    ServicePlan plan = PlanPressureCalibration(U8("104"), U8("26"), U8("2"));
    EXPECT_EQ(plan.first, 104u);
    EXPECT_EQ(plan.second, 26u);
    EXPECT_EQ(plan.third, 2u);
}

namespace {

SettingsBlock SampleBlock(bool isLong, std::uint8_t unit) {
    SettingsBlock b;
    b.isLong = isLong;
    b.sampleRateRegister = 0xF000;
    b.eventCount = 0x1C;
    b.stateFlags = 3;
    b.flowOnThreshold = 50;
    b.flowOnDelay = 2;
    b.flowOffThreshold = 30;
    b.flowOffDelay = 10;
    b.pressureScale = 2;
    b.pressureZero = 104;
    b.pressureScaleFine = 26;
    b.filterMedian = 3;
    b.flowClamp = 30;
    b.displayAlternation = 1;
    b.pressureUnit = unit;
    b.volumeRange = 0;
    if (isLong) {
        b.serialNumber = 2417;
        b.manufactureDate[0] = 0x12;
        b.manufactureDate[1] = 0x09;
        b.manufactureDate[2] = 0x22;
    }
    return b;
}

}  // namespace

TEST(SettingsDumpText, LinesExactlyAsTheServiceToolsPrintThem) {
    ClockRegisters clock;
    clock.hours = 0x13;
    clock.minutes = 0x05;
    clock.seconds = 0x09;
    clock.day = 0x24;
    clock.month = 0x03;
    clock.year = 0x23;
    std::array<std::uint8_t, 2> config{0x00, 0xAB};

    EXPECT_EQ(S(SettingsDump(0x0403, SampleBlock(true, 112), clock, config)),
              "Firmware Version: \t 403\n"
              "Sample Rate \t f000 -> 10\n"
              "File Count \t 1c\n"
              "State   \t \t 3\n"
              "Flow On    \t 50 \n"
              "Delay On    \t 2 \n"
              "Flow Off   \t 30 \n"
              "Delay Off \t 10 \n"
              "Pressure Unit \t 112 PSI\n"
              "Pressure Scale \t 2 \n"
              "Pressure Zero \t 104 \n"
              "Filter Median \t 3 \n"
              "Flow Clamp \t 30 \n"
              "Display Alternation \t 1 \n"
              "Volume Range \t 0 \n"
              "Serial no. \t 2417 \n"
              "Manufacture \t 12:9:22 \n"
              "\nRTC Current Time: \t 13:5:9  24:3:23 \n"
              "Clock Configure \t 0 ab \n");

    // Short block, bar, no clock answer: no serial, manufacture, clock or configuration lines.
    std::string shortDump = S(SettingsDump(0x0402, SampleBlock(false, 98), std::nullopt, std::nullopt));
    EXPECT_NE(shortDump.find("Pressure Unit \t 98 BAR\n"), std::string::npos);
    EXPECT_EQ(shortDump.find("Serial no."), std::string::npos);
    EXPECT_EQ(shortDump.find("Manufacture"), std::string::npos);
    EXPECT_EQ(shortDump.find("RTC"), std::string::npos);
    EXPECT_TRUE(shortDump.ends_with("Volume Range \t 0 \n"));

    // An unknown unit code leaves the line open: the next text continues it.
    std::string metres = S(SettingsDump(0x0402, SampleBlock(false, 8), std::nullopt, std::nullopt));
    EXPECT_NE(metres.find("Pressure Unit \t 8 Pressure Scale \t 2 \n"), std::string::npos);

    // Without the block only the firmware line stands.
    EXPECT_EQ(S(SettingsDump(0, std::nullopt, clock, config)), "Firmware Version: \t 0\n");
}
