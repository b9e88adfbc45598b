// The program in English and in German: the files it writes are the same bytes, and every
// window has room for its translated labels.
#include "support/gui_testing.h"

#include "app/command_ids.h"
#include "app/language.h"
#include "data/hydrant_evaluation.h"
#include "data/translate.h"
#include "dialogs/config_dialog.h"
#include "dialogs/filter_dialog.h"
#include "dialogs/hydrant_dialog.h"
#include "dialogs/pen_dialog.h"
#include "dialogs/report_dialog.h"
#include "dialogs/settings_dialog.h"
#include "mainframe/main_frame.h"
#include "mainframe/tips_dialog.h"
#include "test_records.h"

#include <wx/bmpbuttn.h>
#include <wx/filedlg.h>
#include <wx/listctrl.h>
#include <wx/translation.h>

#include <gtk/gtk.h>

#include <cstdlib>
#include <filesystem>
#include <functional>

namespace fs = std::filesystem;

namespace {

// The build's catalogs lie beside the programs; "" is German, the program's own texts.
void UseLanguage(const std::string& lang) {
    const char* bin = std::getenv("ZPM_BINARY_DIR");
    ASSERT_NE(bin, nullptr);
    const std::vector<std::string> wanted = {lang.empty() ? std::string("de") : lang};
    ASSERT_EQ(language::Install(wxString::FromUTF8(bin) + wxS("/src/app/exe/zpm"), wanted), lang);
}

// German again whatever a test did, for the tests that follow in this binary.
struct GermanAfterwards {
    ~GermanAfterwards() { wxTranslations::Set(nullptr); }
};

class LanguageTest : public MainFrameTest {
protected:
    void SetUp() override {
        createInSetUp = false;
        MainFrameTest::SetUp();
        dir = fs::temp_directory_path() / ("zpm-language-" + std::to_string(::getpid()));
        fs::create_directories(dir);
    }
    void TearDown() override {
        MainFrameTest::TearDown();
        fs::remove_all(dir);
    }
    void CloseFrame() {
        frame->SetSaved(true);
        DestroyNow(frame);
        frame = nullptr;
    }
    wxString P(const std::string& name) const { return wxString::FromUTF8((dir / name).string()); }
    fs::path dir;
    GermanAfterwards german;
};

// Counts what GTK complains about while it lives (sizes below a widget's minimum and the like).
class GtkComplaints {
public:
    GtkComplaints() {
        count = 0;
        handler = g_log_set_handler(
            "Gtk", GLogLevelFlags(G_LOG_LEVEL_CRITICAL | G_LOG_LEVEL_WARNING),
            [](const gchar*, GLogLevelFlags, const gchar* message, gpointer) {
                ++count;
                ADD_FAILURE() << "GTK: " << message;
            },
            nullptr);
    }
    ~GtkComplaints() { g_log_remove_handler("Gtk", handler); }
    static int count;

private:
    guint handler;
};
int GtkComplaints::count = 0;

// Every control inside a shown window is at least as wide as GTK needs to show it whole: a
// button's label, a frame's caption, a check box's text. (Heights do not change with the
// language; several fields and buttons keep the design's 27 and 30 pixels.) The logger's round
// buttons show only the middle of their larger pictures, by design.
void ExpectRoomForEveryControl(wxWindow* window, const std::string& where) {
    for (wxWindow* child : window->GetChildren()) {
        if (child->IsTopLevel() || !child->IsShown())
            continue;
        ExpectRoomForEveryControl(child, where);
        if (dynamic_cast<wxBitmapButton*>(child))
            continue;
        auto* widget = static_cast<GtkWidget*>(child->GetHandle());
        GtkAllocation a;
        gtk_widget_get_allocation(widget, &a);
        int minWidth = 0, natural = 0;
        gtk_widget_get_preferred_width(widget, &minWidth, &natural);
        EXPECT_GE(a.width, minWidth) << where << ": \"" << child->GetLabel().utf8_string() << "\" "
                                     << child->GetName().utf8_string();
    }
}

std::vector<Storage> SomeRecords() {
    std::vector<Storage> records;
    records.push_back(MakeRecord("Übung Süd", "24/03/2023 14:05:09", {100, 250.5f, 300}, {1, 2.25f, 3}));
    records.back().SetSubtitle(U8("Hydrant 12, Straße"));
    records.back().SetNoteText(U8("Ruhedruck 4,5 bar\nNotiz"));
    records.back().SetTargetFlow(800);
    records.push_back(MakeRecord("Zwei", "25/03/2023 10:00:00", {5, 6}, {0.5f, 0.25f}, 500, 0, 112));
    return records;
}

}  // namespace

// A job saved in English is the same file as in German; either opens in the other and saves
// back to the same bytes. The CSV export too: its header lines stay as they are.
TEST_F(LanguageTest, FilesAreTheSameBytesInEnglishAndGerman) {
    struct Saved {
        std::string lang, job, csv;
    };
    std::vector<Saved> saved;
    for (const std::string lang : {"", "en"}) {
        SCOPED_TRACE(lang);
        UseLanguage(lang);
        CreateFrame();
        for (Storage& r : SomeRecords())
            frame->AppendRecord(r);
        frame->RefreshRecordList();
        const std::string name = lang.empty() ? "de" : lang;
        wxTEST_DIALOG(Command(ID_SAVE_JOB_AS), wxExpectModal<wxFileDialog>(P(name + ".kvr")));
        frame->RecordList()->Select(0);
        frame->RecordList()->Focus(0);
        wxTEST_DIALOG(Command(ID_EXPORT_CSV), wxExpectModal<wxFileDialog>(P(name + ".csv")));
        EXPECT_TRUE(log->Errors().empty());
        saved.push_back({lang, ReadTextFile((dir / (name + ".kvr")).string()),
                         ReadTextFile((dir / (name + ".csv")).string())});
        CloseFrame();
    }
    ASSERT_EQ(saved.size(), 2u);
    ASSERT_FALSE(saved[0].job.empty());
    EXPECT_EQ(saved[1].job, saved[0].job);
    EXPECT_NE(saved[0].csv.find("Zeit (s), Durchfluss ("), std::string::npos);
    // The exported file names differ, and so does the header line that names the file.
    const auto withoutName = [](std::string csv) { return csv.substr(csv.find('\n')); };
    EXPECT_EQ(withoutName(saved[1].csv), withoutName(saved[0].csv));

    // The English job opened in German and saved, the German job opened in English and saved.
    for (const auto& [lang, from] : {std::pair{"", "en.kvr"}, std::pair{"en", "de.kvr"}}) {
        SCOPED_TRACE(lang);
        UseLanguage(lang);
        CreateFrame();
        frame->OpenJobFile(P(from));
        wxTEST_DIALOG(Command(ID_SAVE_JOB_AS), wxExpectModal<wxFileDialog>(P(std::string("back-") + from)));
        EXPECT_EQ(ReadTextFile((dir / (std::string("back-") + from)).string()), saved[0].job);
        CloseFrame();
    }
}

// The main window at its minimum size and every dialog, in German and in English: no control
// gets less room than its label needs, and GTK has nothing to complain about.
TEST_F(LanguageTest, EveryWindowHasRoomForItsLabelsInBothLanguages) {
    for (const std::string lang : {"", "en"}) {
        SCOPED_TRACE(lang);
        UseLanguage(lang);
        // The catalog is in use (or not): the window shows its texts in that language.
        EXPECT_EQ(Tr("Öffnen").utf8_string(), lang.empty() ? "Öffnen" : "Open");
        GtkComplaints complaints;
        CreateFrame();
        EXPECT_EQ(frame->Panel()->FindWindow(ID_OPEN_BUTTON)->GetLabel().utf8_string(),
                  lang.empty() ? "Öffnen" : "Open");
        const wxSize min = frame->GetMinSize();
        frame->SetSize(200, 200);
        PumpEvents();
        EXPECT_EQ(frame->GetSize(), min);
        ExpectRoomForEveryControl(frame, "main window");

        Storage record = MakeRecord("Hydrant", "24/03/2023 14:05:09", std::vector<float>(40, 0.0f),
                                    std::vector<float>(40, 5.0f));
        const hydrant::Evaluation evaluation = hydrant::Evaluate(record, 1.5);
        const std::vector<std::pair<std::string, std::function<wxDialog*()>>> dialogs = {
            {"settings", [&] { return new SettingsDialog(frame); }},
            {"service", [&] { return new Config(frame); }},
            {"filter", [&] { return new FilterDialog(frame, 5); }},
            {"line width", [&] { return new PenDialog(frame, 2); }},
            {"hydrant", [&] { return new HydrantDialog(frame, evaluation, hydrant::UnitsOf(record)); }},
            {"report", [&] { return new ReportDialog(frame, report::Site{}); }},
            {"tips", [&] { return new TipsDialog(frame, true); }},
        };
        for (const auto& [name, make] : dialogs) {
            wxDialog* d = make();
            d->Show();
            PumpEvents();
            // The dialog cannot be made smaller than what its labels need.
            d->SetSize(50, 50);
            PumpEvents();
            ExpectRoomForEveryControl(d, name);
            DestroyNow(d);
        }
        CloseFrame();
        EXPECT_EQ(complaints.count, 0);
    }
}
