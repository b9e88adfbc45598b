#include "widgets/lcd_layout.h"
#include "widgets/picture_choice.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

wxString W(const char* text) {
    return wxString::FromUTF8(text);
}

// A cell written compactly: segment bits, point, colon.
LcdCell C(std::uint8_t bits, bool point = false, bool colon = false) {
    return LcdCell{bits, point, colon};
}

std::string Describe(const std::vector<LcdCell>& cells) {
    std::string s;
    for (const LcdCell& c : cells) {
        char buf[32];
        std::snprintf(buf, sizeof buf, "[%02X%s%s]", c.segments, c.point ? "." : "", c.colon ? ":" : "");
        s += buf;
    }
    return s;
}

}  // namespace

TEST(LcdLayout, TextsLaidOutFromTheRight) {
    struct Case {
        const char* text;
        int cells;
        std::vector<LcdCell> expected;  // element 0 is the rightmost cell
    };
    const Case cases[] = {
        // 5, then 2 with its point, then 1, then two blanks.
        {"12.5", 5, {C(0x73), C(0x6D, true), C(0x14), C(0), C(0)}},
        // Two points: the blank between them carries the second point.
        {"1..2", 4, {C(0x6D), C(0, true), C(0x14, true), C(0)}},
        // Three points become three pointed blanks.
        {"7...", 4, {C(0, true), C(0, true), C(0x15, true), C(0)}},
        // A leading point lights nothing.
        {".5", 3, {C(0x73), C(0), C(0)}},
        // A trailing point belongs to the last digit.
        {"3.", 2, {C(0x75, true), C(0)}},
        // Too long: only the rightmost characters show.
        {"123456", 3, {C(0x7B), C(0x73), C(0x56)}},
        {"98.76", 2, {C(0x7B), C(0x15)}},
        // E = top, upper left, lower left, bottom, middle; r = lower left, middle.
        {"Err", 3, {C(0x48), C(0x48), C(0x6B)}},
        {"-0.0", 6, {C(0x3F), C(0x3F, true), C(0x40), C(0), C(0), C(0)}},
        {"AbCdEF", 6, {C(0x4B), C(0x6B), C(0), C(0x2B), C(0), C(0x5F)}},
        {"Ho^", 3, {C(0x47), C(0x78), C(0x5E)}},
        {"", 2, {C(0), C(0)}},
        {"8", 0, {}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Describe(LayoutLcdText(W(c.text), c.cells)), Describe(c.expected))
            << "text \"" << c.text << "\" on " << c.cells << " cells";
    }
}

TEST(LcdLayout, UnknownAndLowerCaseCharactersAreEmptyCells) {
    for (const char* text :
         {"a", "b", "c", "d", "e", "f", "x", "Z", "?", "/", "\xC3\xA4", "\xE2\x82\xAC", "\xC4\xB0"}) {
        const std::vector<LcdCell> cells = LayoutLcdText(W(text), 1);
        ASSERT_EQ(cells.size(), 1u);
        EXPECT_EQ(Describe(cells), Describe({C(0)})) << text;
    }
    // U+0130 and U+0138 end in the byte of a digit; they must not show as one.
    EXPECT_EQ(LcdSegmentsOf(wxUniChar(0x0130)), 0);
    EXPECT_EQ(LcdSegmentsOf(wxUniChar(0x0138)), 0);
    EXPECT_EQ(LcdSegmentsOf(wxUniChar('8')), 0x7F);
}

TEST(LcdLayout, ClockTextOnSevenCellsLosesItsFirstHourDigit) {
    EXPECT_EQ(FormatElapsed(3725.9), W("01:02:05"));
    // 1:02:05 from the right: 5, 0, colon, 2, 0, colon, 1.
    const std::vector<LcdCell> expected = {C(0x73),           C(0x3F), C(0, false, true), C(0x6D), C(0x3F),
                                           C(0, false, true), C(0x14)};
    EXPECT_EQ(Describe(LayoutLcdText(FormatElapsed(3725.9), 7)), Describe(expected));
    // A point after a colon does not light anything on the colon cell.
    EXPECT_EQ(Describe(LayoutLcdText(W("1:."), 2)), Describe({C(0, false, true), C(0x14)}));
}

TEST(LcdLayout, ElapsedSecondsAsTimeOfDay) {
    const struct {
        double seconds;
        const char* text;
    } cases[] = {
        {0, "00:00:00"},         {0.99, "00:00:00"},
        {59.999, "00:00:59"},    {86399.5, "23:59:59"},
        {86400, "00:00:00"},     {90061, "01:01:01"},
        {-1, "23:59:59"},        {86400.0 * 1000 + 3725, "01:02:05"},
        {1.0 / 0.0, "00:00:00"}, {0.0 / 0.0, "00:00:00"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FormatElapsed(c.seconds), W(c.text)) << c.seconds;
}

TEST(LcdTransformTest, ScaleKeepsProportionsAndCentres) {
    const LcdGeometry g;
    EXPECT_EQ(g.TotalWidth(6), 341);
    EXPECT_EQ(g.TotalHeight(), 90);
    EXPECT_EQ(g.CellLeft(0, 6), 5 * 56 + 5);
    EXPECT_EQ(g.CellLeft(5, 6), 5);

    // Wide window: the height sets the scale, the digits are centred horizontally.
    LcdTransform wide = ComputeLcdTransform({682 + 100, 180}, g, 6);
    EXPECT_DOUBLE_EQ(wide.scale, 2.0);
    EXPECT_EQ(wide.origin, wxPoint(50, 0));

    // Narrow window: the width sets it, centred vertically.
    LcdTransform narrow = ComputeLcdTransform({341, 190}, g, 6);
    EXPECT_DOUBLE_EQ(narrow.scale, 1.0);
    EXPECT_EQ(narrow.origin, wxPoint(0, 50));

    // The main window's flow display: 100 x 40 with six cells.
    LcdTransform flow = ComputeLcdTransform({100, 40}, g, 6);
    EXPECT_DOUBLE_EQ(flow.scale, 100.0 / 341);
    EXPECT_EQ(flow.origin, wxPoint(0, static_cast<int>((40 - 90 * 100.0 / 341) / 2)));

    // The clock: 150 x 40 with seven cells (tw = 397): the width decides, 0.3778 < 0.4444.
    LcdTransform clock = ComputeLcdTransform({150, 40}, g, 7);
    EXPECT_DOUBLE_EQ(clock.scale, 150.0 / 397);
    EXPECT_EQ(clock.origin.x, 0);
    EXPECT_EQ(clock.origin.y, 2);  // 2.997 cut to 2

    // Odd leftover pixels are cut off, not rounded.
    LcdTransform odd = ComputeLcdTransform({346, 90}, g, 6);
    EXPECT_DOUBLE_EQ(odd.scale, 1.0);
    EXPECT_EQ(odd.origin, wxPoint(2, 0));

    // A window without area draws nothing.
    EXPECT_EQ(ComputeLcdTransform({0, 0}, g, 6).scale, 0.0);
    EXPECT_EQ(ComputeLcdTransform({-5, 10}, g, 6).scale, 0.0);
}

TEST(PictureChoice, FirstMatchingStateWins) {
    const ButtonPicturesSet all{true, true, true, true};
    const ButtonPicturesSet none{};
    const ButtonPicturesSet onlyDisabled{false, false, false, true};
    const ButtonPicturesSet noPressed{false, true, true, true};
    const struct {
        ButtonCondition condition;  // pressed, pointer inside, focused, enabled
        ButtonPicturesSet set;
        ButtonPicture expected;
    } cases[] = {
        {{false, false, false, true}, all, ButtonPicture::Normal},
        {{true, true, true, true}, all, ButtonPicture::Pressed},
        {{true, true, false, true}, noPressed, ButtonPicture::Hover},
        {{false, true, true, true}, all, ButtonPicture::Hover},
        {{false, false, true, true}, all, ButtonPicture::Focus},
        // Disabled while still holding the focus: the disabled look.
        {{false, false, true, false}, all, ButtonPicture::Disabled},
        {{false, false, false, false}, all, ButtonPicture::Disabled},
        {{false, false, false, false}, onlyDisabled, ButtonPicture::Disabled},
        // A disabled button under the pointer keeps its disabled look.
        {{false, true, false, false}, all, ButtonPicture::Disabled},
        {{true, true, false, false}, all, ButtonPicture::Disabled},
        // Nothing but the normal picture: the same in every state.
        {{true, true, true, true}, none, ButtonPicture::Normal},
        {{false, true, false, true}, none, ButtonPicture::Normal},
        {{false, false, false, false}, none, ButtonPicture::Normal},
    };
    int row = 0;
    for (const auto& c : cases) {
        EXPECT_EQ(static_cast<int>(ChooseButtonPicture(c.condition, c.set)), static_cast<int>(c.expected))
            << "row " << row;
        ++row;
    }
}

TEST(PictureChoice, CentredWithIntegerDivision) {
    EXPECT_EQ(CentredOrigin({55, 60}, {50, 50}), wxPoint(2, 5));
    EXPECT_EQ(CentredOrigin({70, 50}, {35, 30}), wxPoint(17, 10));
    // Larger than the button: cut evenly on all sides.
    EXPECT_EQ(CentredOrigin({50, 50}, {70, 70}), wxPoint(-10, -10));
    EXPECT_EQ(CentredOrigin({70, 50}, {70, 70}), wxPoint(0, -10));
    EXPECT_EQ(CentredOrigin({100, 70}, {98, 60}), wxPoint(1, 5));
}
