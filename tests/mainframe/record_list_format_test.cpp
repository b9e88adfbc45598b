#include "mainframe/record_list_format.h"

#include <gtest/gtest.h>

using namespace recordlist;

TEST(RecordListFormat, DurationAsAClock) {
    struct Case {
        std::int64_t samples, intervalMs;
        const char* expected;
    };
    const Case cases[] = {
        {3725, 1000, "01:02:05"},
        {90, 1000, "01:30"},
        {90000, 1000, "25:00:00"},  // past a day the hours count on
        {86400, 1000, "24:00:00"},
        {1000000, 100, "27:46:40"},
        {0, 1000, "00:00"},
        {7, 300, "00:02"},               // 2.1 s truncated
        {1000000, 16000, "4444:26:40"},  // 16,000,000 s (185 days): no 32-bit overflow
    };
    for (const auto& c : cases)
        EXPECT_EQ(FormatDuration(c.samples, c.intervalMs).utf8_string(), c.expected)
            << c.samples << " x " << c.intervalMs;
}

TEST(RecordListFormat, DateTextSplitsAtTheFirstBlank) {
    EXPECT_EQ(DatePart(wxString::FromUTF8("24/03/2023 14:05:09")), wxString::FromUTF8("24/03/2023"));
    EXPECT_EQ(TimePart(wxString::FromUTF8("24/03/2023 14:05:09")), wxString::FromUTF8("14:05:09"));
    EXPECT_EQ(DatePart(wxString::FromUTF8("24/03/2023")), wxString::FromUTF8("24/03/2023"));
    EXPECT_EQ(TimePart(wxString::FromUTF8("24/03/2023")), wxString());
    EXPECT_EQ(TimePart(wxString::FromUTF8("a b c")), wxString::FromUTF8("b c"));
    EXPECT_EQ(FormatVolume(12.345f), wxString::FromUTF8("12.35"));
    EXPECT_EQ(FormatVolume(0.0f), wxString::FromUTF8("0.00"));
}
