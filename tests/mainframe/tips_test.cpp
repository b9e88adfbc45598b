#include "support/gui_testing.h"

#include "app/app_settings.h"
#include "app/command_ids.h"
#include "mainframe/main_frame.h"
#include "mainframe/tips_dialog.h"

#include <wx/checkbox.h>

namespace {

class TipsTest : public MainFrameTest {
protected:
    std::vector<TipsDialog*> OpenTips() {
        std::vector<TipsDialog*> out;
        for (wxWindow* child : frame->GetChildren())
            if (auto* d = dynamic_cast<TipsDialog*>(child))
                out.push_back(d);
        return out;
    }
};

}  // namespace

TEST_F(TipsTest, NotShownWhenSwitchedOffAndOpenedByTheHelpMenu) {
    EXPECT_TRUE(OpenTips().empty());
    Command(ID_SHOW_TIPS);
    auto tips = OpenTips();
    ASSERT_EQ(tips.size(), 1u);
    EXPECT_FALSE(tips[0]->IsModal());
    EXPECT_TRUE(tips[0]->IsShown());
    EXPECT_EQ(tips[0]->GetTitle(), U8("Help Tips"));
    EXPECT_FALSE(tips[0]->CheckBox()->GetValue());
    EXPECT_EQ(tips[0]->CheckBox()->GetLabel(), U8("Show Tips at Startup"));
    ASSERT_EQ(tips[0]->Tips().size(), 7u);
    EXPECT_EQ(
        tips[0]->Tips()[6].text,
        U8("Save an image of current plot. The saved image can be imported into an MS Word or Excel report"));
    EXPECT_EQ(tips[0]->Tips()[5].picture.GetDefaultSize(), wxSize(70, 70));
    EXPECT_EQ(tips[0]->Tips()[4].picture.GetDefaultSize(), wxSize(50, 50));
    Command(ID_SHOW_TIPS);
    EXPECT_EQ(OpenTips().size(), 2u);  // every command opens a further dialog
}

TEST_F(TipsTest, NextTipCyclesThroughAllSeven) {
    Command(ID_SHOW_TIPS);
    TipsDialog* tips = OpenTips().at(0);
    const int first = tips->Current();
    std::vector<int> seen;
    for (int i = 0; i < 7; ++i) {
        wxCommandEvent next(wxEVT_BUTTON, 0);
        next.SetEventObject(tips);
        tips->GetEventHandler()->ProcessEvent(next);
        seen.push_back(tips->Current());
    }
    EXPECT_EQ(tips->Current(), first);
    std::sort(seen.begin(), seen.end());
    EXPECT_EQ(seen, (std::vector<int>{0, 1, 2, 3, 4, 5, 6}));
}

TEST_F(TipsTest, CheckBoxSetsShowTipsAtOnceAndItIsWrittenAtExit) {
    TearDown();
    settingsContent = "1\n98\n0\n1\n0\n0\n0\n";  // tips on: shown at start-up, box ticked
    MainFrameTest::SetUp();
    auto tips = OpenTips();
    ASSERT_EQ(tips.size(), 1u);
    EXPECT_TRUE(tips[0]->CheckBox()->GetValue());
    tips[0]->CheckBox()->SetValue(false);
    wxCommandEvent click(wxEVT_CHECKBOX, 1);
    click.SetEventObject(tips[0]->CheckBox());
    tips[0]->CheckBox()->GetEventHandler()->ProcessEvent(click);
    EXPECT_FALSE(AppSettings.showTips);
    DestroyNow(frame);
    frame = nullptr;
    EXPECT_EQ(ReadTextFile(SettingsFilePath()), "1\n98\n0\n0\n0\n0\n0\n");
    // Next start: no tips; the Help menu opens them with the box unticked.
    settingsContent = ReadTextFile(SettingsFilePath());
    CreateFrame();
    EXPECT_TRUE(OpenTips().empty());
}
