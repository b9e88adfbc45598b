#include "mainframe/tips_text.h"

#include <gtest/gtest.h>

namespace {
std::vector<std::string> Lines(const char* text) {
    std::vector<std::string> out;
    for (const auto& l : BreakTipText(wxString::FromUTF8(text)))
        out.push_back(l.utf8_string());
    return out;
}
}  // namespace

TEST(TipText, BreaksAtTheLastBlankAmongTheFirstForty) {
    EXPECT_EQ(
        Lines(
            "Save an image of current plot. The saved image can be imported into an MS Word or Excel report"),
        (std::vector<std::string>{"Save an image of current plot. The",
                                  "saved image can be imported into an MS", "Word or Excel report"}));
    EXPECT_EQ(
        Lines("Open previously saved work to view data and make additional edits"),
        (std::vector<std::string>{"Open previously saved work to view data", "and make additional edits"}));
}

TEST(TipText, LimitsAndTextsWithoutBlanks) {
    const std::string forty(40, 'x');
    EXPECT_EQ(Lines(forty.c_str()), std::vector<std::string>{forty});
    // 41 characters: broken at the last blank within the first 40.
    const std::string fortyOne = "aaaa bbbb " + std::string(31, 'c');
    EXPECT_EQ(Lines(fortyOne.c_str()), (std::vector<std::string>{"aaaa bbbb", std::string(31, 'c')}));
    // No blank among the first 40: the whole rest on one line.
    const std::string long1 = std::string(45, 'z') + " tail";
    EXPECT_EQ(Lines(long1.c_str()), std::vector<std::string>{long1});
    // A blank only at position 1 counts as none.
    const std::string early = "a " + std::string(45, 'q');
    EXPECT_EQ(Lines(early.c_str()), std::vector<std::string>{early});
    EXPECT_TRUE(Lines("").empty());
}
