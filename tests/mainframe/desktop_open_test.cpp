// Job files named on the command line or dropped onto the main window open as the open command
// opens them; the drop asks about unsaved records first. The real drop and the real command
// line are walked through in tests/app/desktop_journey_test.sh.
#include "support/gui_testing.h"

#include "files/job_file.h"
#include "mainframe/main_frame.h"
#include "test_records.h"

#include <wx/dialog.h>
#include <wx/dnd.h>

#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;

namespace {

const char* DiscardText =
    "Die aktuellen Messdaten wurden noch nicht gespeichert. Sollen sie verworfen werden?";

class DesktopOpenTest : public MainFrameTest {
protected:
    void SetUp() override {
        MainFrameTest::SetUp();
        dir = fs::path(TestHome()) / "desktop-open";
        fs::create_directories(dir);
        jobfile::Save(P("Messung.KVR"), {MakeRecord("Nord", "24/03/2023 14:05:09", {100, 200}),
                                         MakeRecord("Süd", "25/03/2023 10:00:00", {5})});
        std::ofstream(dir / "liste.csv") << "Zeit,Durchfluss\n";
    }
    void TearDown() override {
        MainFrameTest::TearDown();
        fs::remove_all(dir);
    }
    wxString P(const char* name) const { return wxString::FromUTF8((dir / name).string()); }
    std::vector<wxString> Titles() const {
        std::vector<wxString> titles;
        for (const Storage& r : frame->Records())
            titles.push_back(r.Title());
        return titles;
    }
    fs::path dir;
};

}  // namespace

TEST_F(DesktopOpenTest, ADroppedJobFileOpensAfterTheQuestionAboutUnsavedRecords) {
    const std::vector<wxString> opened = {U8("Nord"), U8("Süd")};
    const std::vector<wxString> unsaved = {U8("Live")};
    struct Case {
        const char* what;
        bool unsavedRecords;
        std::vector<const char*> dropped;
        int answer;  // to the question; 0: no question
        bool opens;
    };
    const Case cases[] = {
        {"nothing to lose: no question, the first job file among the files opens",
         false,
         {"liste.csv", "Messung.KVR", "andere.kvr"},
         0,
         true},
        {"unsaved records, answered No: nothing changes", true, {"Messung.KVR"}, wxID_NO, false},
        {"unsaved records, answered Yes: the file replaces them", true, {"Messung.KVR"}, wxID_YES, true},
        {"no job file among the files: no question, nothing changes", true, {"liste.csv"}, 0, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TearDown();
        SetUp();
        frame->SetTitle(U8("Unbennant"));
        if (c.unsavedRecords) {
            frame->AppendRecord(MakeRecord("Live", "01/01/2024 08:00:00", {1}));
            frame->SetSaved(false);
        }
        std::vector<wxString> files;
        for (const char* name : c.dropped)
            files.push_back(P(name));
        bool result = false;
        if (c.answer) {
            wxTEST_DIALOG(result = frame->OpenDroppedFiles(files), ExpectMessage(c.answer, U8(DiscardText)));
        } else {
            result = frame->OpenDroppedFiles(files);
        }
        EXPECT_EQ(result, c.opens);
        EXPECT_EQ(Titles(), c.opens ? opened : c.unsavedRecords ? unsaved : std::vector<wxString>{});
        EXPECT_EQ(frame->GetTitle(), c.opens ? U8("Messung.KVR") : U8("Unbennant"));
        EXPECT_EQ(frame->IsSaved(), c.opens);
        EXPECT_TRUE(log->Errors().empty());
    }
}

TEST_F(DesktopOpenTest, AFileNamedAtStartOpensAsTheOpenCommandOpensIt) {
    // A name relative to the working directory becomes the job's full path, so Ctrl+S later
    // writes where the file was found.
    {
        // The working folder comes back whatever happens in the open.
        struct InFolder {
            fs::path before = fs::current_path();
            explicit InFolder(const fs::path& dir) { fs::current_path(dir); }
            ~InFolder() { fs::current_path(before); }
        } in(dir);
        frame->OpenJobFile(U8("Messung.KVR"));
    }
    EXPECT_EQ(Titles(), (std::vector<wxString>{U8("Nord"), U8("Süd")}));
    EXPECT_EQ(frame->GetTitle(), U8("Messung.KVR"));
    EXPECT_EQ(frame->JobFilePath(), P("Messung.KVR"));
    EXPECT_TRUE(frame->IsSaved());

    // A missing file: the cannot-open message, an empty record set, and the program goes on.
    frame->OpenJobFile(P("fehlt.kvr"));
    EXPECT_EQ(log->Errors(), (std::vector<wxString>{U8("Cannot open File for Reading")}));
    EXPECT_TRUE(frame->Records().empty());
    EXPECT_EQ(frame->GetTitle(), U8("fehlt.kvr"));
    EXPECT_TRUE(frame->IsShown());
}

TEST_F(DesktopOpenTest, ADropWhileADialogIsOpenIsRefused) {
    // The command that opened the dialog is still running: its records stay as they are.
    frame->AppendRecord(MakeRecord("Live", "01/01/2024 08:00:00", {1}));
    auto* target = dynamic_cast<wxFileDropTarget*>(frame->GetDropTarget());
    ASSERT_NE(target, nullptr);
    wxArrayString files;
    files.Add(P("Messung.KVR"));
    bool accepted = true;
    {
        RealModalDialogs real;
        wxDialog dialog(frame, wxID_ANY, U8("Frage"));
        dialog.CallAfter([&] {
            accepted = target->OnDropFiles(0, 0, files);
            dialog.EndModal(wxID_OK);
        });
        dialog.ShowModal();
    }
    PumpEvents();
    EXPECT_FALSE(accepted);
    EXPECT_EQ(Titles(), std::vector<wxString>{U8("Live")});

    // With the dialog gone the same drop opens the file (after the question, at idle time).
    wxTEST_DIALOG(
        {
            EXPECT_TRUE(target->OnDropFiles(0, 0, files));
            PumpUntil([&] { return Titles().size() == 2; });
        },
        ExpectMessage(wxID_YES, U8(DiscardText)));
    EXPECT_EQ(frame->GetTitle(), U8("Messung.KVR"));
}
