#include "support/gui_testing.h"

#include "app/app_settings.h"
#include "app/command_ids.h"
#include "mainframe/main_frame.h"

#include <wx/statusbr.h>

#include <filesystem>
#include <fstream>

namespace {

Storage SomeRecord() {
    Storage r(U8("24/03/2023 14:05:09"), 1000, 1, false, 0, 1);
    r.AddRawSample(100, 0);
    return r;
}

class StartupTest : public MainFrameTest {
protected:
    void SetUp() override {
        createInSetUp = false;
        MainFrameTest::SetUp();
    }
    bool FrameIsClosing() const { return wxPendingDelete.Member(frame) || frame->IsBeingDeleted(); }
    // Lets a frame whose close was approved go away, as the main loop would.
    void FinishClose() {
        for (int i = 0; i < 20 && wxPendingDelete.Member(frame); ++i)
            wxTheApp->ProcessIdle();
        frame = nullptr;
    }
};

}  // namespace

TEST_F(StartupTest, FirstStartWithoutSettingsFileUsesDefaultsAndWritesThemAtExit) {
    std::filesystem::remove(SettingsFilePath());
    MainFrame::splashEnabled = false;
    frame = new MainFrame(U8("Unbennant"), wxDefaultPosition, wxSize(440, 440));
    frame->Show();
    EXPECT_EQ(AppSettings, SettingsRecord{});
    EXPECT_EQ(frame->GetTitle(), U8("Unbennant"));
    ASSERT_NE(frame->GetStatusBar(), nullptr);
    EXPECT_EQ(frame->GetStatusBar()->GetFieldsCount(), 2);
    EXPECT_EQ(frame->GetStatusBar()->GetStatusText(0), U8("ZPM Version 4.8"));
    EXPECT_TRUE(frame->StatusTimer().IsRunning());
    EXPECT_EQ(frame->StatusTimer().GetInterval(), 5000);
    EXPECT_FALSE(frame->StatusTimer().IsOneShot());
    EXPECT_FALSE(frame->LiveTimer().IsRunning());
    EXPECT_FALSE(frame->IsSaved());
    EXPECT_TRUE(frame->Records().empty());
    frame->Close();
    EXPECT_TRUE(FrameIsClosing());  // empty record set: no question
    FinishClose();
    EXPECT_EQ(ReadTextFile(SettingsFilePath()), "1\n98\n0\n1\n0\n0\n0\n");
}

TEST_F(StartupTest, SettingsOfThePreviousRunAreInForce) {
    settingsContent = "0\n353\n1027\n2\n3\n1\n1\n";
    CreateFrame();
    // In force from the start: the file written at exit holds them (how each line reads is the
    // settings file test's).
    EXPECT_TRUE(AppSettings.showTips);
    AppSettings.showTips = false;  // a tips dialog may be open; it goes with the frame
    frame->Close();
    FinishClose();
    EXPECT_EQ(ReadTextFile(SettingsFilePath()), "0\n97\n1027\n0\n3\n1\n1\n");
}

// Earlier versions kept the file in the home folder. It is read while the file in the
// configuration folder does not exist yet, and left as it is; from then on the new file counts.
TEST_F(StartupTest, SettingsOfAnEarlierVersionAreTakenOverOnce) {
    std::filesystem::remove(SettingsFilePath());
    const std::string legacy = "0\n112\n1027\n0\n1\n1\n1\n";
    std::ofstream(LegacySettingsFilePath()) << legacy;
    struct Step {
        const char* what;
        std::uint8_t pressureUnit;  // in force after the start
    };
    const Step steps[] = {
        {"first start: the old file is read", 112},
        {"second start: the new file counts", 16},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.what);
        frame = new MainFrame(U8("Unbennant"), wxDefaultPosition, wxSize(440, 440));
        EXPECT_EQ(AppSettings.pressureUnit, step.pressureUnit);
        EXPECT_EQ(AppSettings.unitSystem, 0);
        EXPECT_FALSE(AppSettings.showTips);
        AppSettings.pressureUnit = 16;  // changed during the run
        frame->Close();
        FinishClose();
        EXPECT_EQ(ReadTextFile(SettingsFilePath()), "0\n16\n1027\n0\n1\n1\n1\n");
        EXPECT_EQ(ReadTextFile(LegacySettingsFilePath()), legacy);
    }
    std::filesystem::remove(LegacySettingsFilePath());
}

TEST_F(StartupTest, ClosePromptOnlyForUnsavedRecords) {
    // Saved: no question.
    CreateFrame();
    frame->AppendRecord(SomeRecord());
    frame->SetSaved(true);
    frame->Close();
    EXPECT_TRUE(FrameIsClosing());
    FinishClose();

    // Unsaved, "Yes": the window stays with every record, nothing is written.
    for (bool throughMenu : {false, true}) {
        CreateFrame();
        frame->AppendRecord(SomeRecord());
        frame->AppendRecord(SomeRecord());
        auto close = [&] {
            if (throughMenu)
                Command(ID_QUIT);
            else
                frame->Close();
        };
        wxTEST_DIALOG(close(), ExpectMessage(wxID_YES, U8("Do you wish to save data before closing?"),
                                             U8("Before you close")));
        EXPECT_FALSE(FrameIsClosing()) << "menu: " << throughMenu;
        EXPECT_EQ(frame->Records().size(), 2u);
        EXPECT_FALSE(frame->IsSaved());

        // "No": it closes, and the settings file is written all the same.
        std::filesystem::remove(SettingsFilePath());
        wxTEST_DIALOG(close(), ExpectMessage(wxID_NO, U8("Do you wish to save data before closing?"),
                                             U8("Before you close")));
        EXPECT_TRUE(FrameIsClosing()) << "menu: " << throughMenu;
        FinishClose();
        EXPECT_EQ(ReadTextFile(SettingsFilePath()), "1\n98\n0\n0\n0\n0\n0\n");
    }
}

TEST_F(StartupTest, RecordSetOperations) {
    CreateFrame();
    Storage a = SomeRecord(), b = SomeRecord(), c = SomeRecord();
    a.SetTitle(U8("a"));
    b.SetTitle(U8("b"));
    c.SetTitle(U8("c"));
    frame->AppendRecord(a);
    frame->AppendRecord(b);
    frame->InsertRecordAtFront(c);
    ASSERT_EQ(frame->Records().size(), 3u);
    EXPECT_EQ(frame->Records()[0].Title(), U8("c"));
    EXPECT_EQ(frame->Records()[2].Title(), U8("b"));
    frame->EraseRecord(1);
    EXPECT_EQ(frame->Records()[1].Title(), U8("b"));
    frame->EraseRecord(5);  // outside: nothing happens
    EXPECT_EQ(frame->Records().size(), 2u);
    frame->ClearRecords();
    EXPECT_TRUE(frame->Records().empty());
}
