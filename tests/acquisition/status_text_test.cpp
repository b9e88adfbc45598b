#include "acquisition/status_text.h"
#include "device/protocol.h"

#include <gtest/gtest.h>

using namespace status;

TEST(StatusText, ThreeFormsOfTheRemainingTime) {
    struct Case {
        long seconds;
        const char* text;
    };
    const Case cases[] = {
        {2 * 86400 + 5 * 3600 + 7 * 60 + 59, "2 Days, 05:07 Minuten Speicherplatz vorhanden"},
        {5 * 3600 + 7 * 60, "05:07 Stunden Speicherplatz vorhanden"},
        {42 * 60 + 30, "00:42 Minuten Speicherplatz vorhanden"},
        {0, "00:00 Minuten Speicherplatz vorhanden"},
        {86400, "1 Days, 00:00 Minuten Speicherplatz vorhanden"},
        {3600, "01:00 Stunden Speicherplatz vorhanden"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(RemainingTimeText(c.seconds).utf8_string(), c.text) << c.seconds;
}

TEST(StatusText, RemainingTimeFromFreeBytesAndRate) {
    // 0 free bytes: nothing left; a full gauge.
    EXPECT_EQ(RemainingTimeText(static_cast<long>(RemainingSeconds(0, 0xF000))).utf8_string(),
              "00:00 Minuten Speicherplatz vorhanden");
    EXPECT_EQ(MemoryGaugeValue(0, 700), 700);
    EXPECT_EQ(MemoryGaugeValue(0x1FFFF, 700), 0);
    EXPECT_EQ(MemoryGaugeValue(0x1FFFF / 2, 700), 350);
    EXPECT_EQ(MemoryGaugeValue(0xFFFFFF, 700), 0);  // more than the logger holds
    // 3000 samples' worth of bytes at 1 s (register 0xF000, 1000.76 ms a sample): 50 minutes.
    EXPECT_EQ(RemainingTimeText(static_cast<long>(RemainingSeconds(9000, 0xF000))).utf8_string(),
              "00:50 Minuten Speicherplatz vorhanden");
}

TEST(StatusText, BatteryColoursByLevel) {
    EXPECT_EQ(BatteryLevelOf(3 * 117), BatteryLevel::Good);
    EXPECT_EQ(BatteryLevelOf(3 * 116), BatteryLevel::Low);
    EXPECT_EQ(BatteryLevelOf(176), BatteryLevel::Low);
    EXPECT_EQ(BatteryLevelOf(175), BatteryLevel::Critical);
    EXPECT_EQ(BatteryLevelOf(3 * 58), BatteryLevel::Critical);
}
