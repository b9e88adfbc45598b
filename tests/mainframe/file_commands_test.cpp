#include "support/gui_testing.h"

#include "app/app_settings.h"
#include "app/command_ids.h"
#include "files/job_file.h"
#include "mainframe/main_frame.h"
#include "plot/plot_window.h"
#include "test_records.h"

#include <wx/filedlg.h>
#include <wx/image.h>
#include <wx/listctrl.h>

#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <sstream>

namespace fs = std::filesystem;

namespace {

// Answers a file dialog with a path (and a type choice), checking the message, wildcard and
// proposed name.
class ExpectFile : public wxExpectModalBase<wxFileDialog, ExpectFile> {
public:
    ExpectFile(const wxString& path, const char* message, const char* wildcard, const char* proposed = "",
               int id = wxID_OK, int filter = -1)
        : path(path), message(message), wildcard(wildcard), proposed(proposed), id(id), filter(filter) {}

protected:
    int OnInvoked(wxFileDialog* dlg) const override {
        EXPECT_EQ(dlg->GetMessage().utf8_string(), message);
        EXPECT_EQ(dlg->GetWildcard().utf8_string(), wildcard);
        EXPECT_EQ(dlg->GetFilename().utf8_string(), proposed);
        dlg->SetPath(path);
        if (filter >= 0)
            dlg->SetFilterIndex(filter);
        return id;
    }

private:
    wxString path;
    std::string message, wildcard, proposed;
    int id, filter;
};

const char* SaveMessage = "Vorgang abspeichern";
const char* ImageMessage = "Bild speichern als…";
const char* ImageTypes = "Bilddateien (*.bmp)|*.bmp|Bilddateien (*.png)|*.png";
const char* OpenMessage = "KVR ZPM-Vorgang öffnen";
const char* DiscardText =
    "Die aktuellen Messdaten wurden noch nicht gespeichert. Sollen sie verworfen werden?";

class FileCommandsTest : public MainFrameTest {
protected:
    void SetUp() override {
        MainFrameTest::SetUp();
        frame->AppendRecord(MakeRecord("Eins", "24/03/2023 14:05:09", {100, 200, 300}, {1, 2, 3}));
        frame->AppendRecord(MakeRecord("Zwei", "25/03/2023 10:00:00", {5, 6}, {0.5f, 0.25f}));
        frame->RefreshRecordList();
    }
    wxString P(const char* name) { return scratch.Path(name); }
    ScratchDir scratch;
    const fs::path& dir = scratch.path;
};

}  // namespace

TEST_F(FileCommandsTest, SaveWithoutPathAsksForANameAndAppendsKvr) {
    wxTEST_DIALOG(Command(ID_SAVE_JOB), ExpectFile(P("messung"), SaveMessage, "ZPM Dateien"));
    EXPECT_TRUE(fs::exists(dir / "messung.kvr"));
    EXPECT_TRUE(frame->IsSaved());
    EXPECT_EQ(frame->GetTitle(), U8("messung"));
    EXPECT_EQ(frame->JobFilePath(), P("messung.kvr"));
    // The next save writes to the same file without asking.
    frame->Records()[0].SetTitle(U8("Geändert"));
    frame->SetSaved(false);
    Command(ID_SAVE_JOB, wxEVT_BUTTON);
    EXPECT_TRUE(frame->IsSaved());
    EXPECT_NE(ReadTextFile((dir / "messung.kvr").string()).find("Ge\xe4ndert\n"), std::string::npos);

    // ".kvr" anywhere in the name: nothing appended.
    wxTEST_DIALOG(Command(ID_SAVE_JOB_AS), ExpectFile(P("messung.kvr.bak"), SaveMessage, "ZPM Dateien"));
    EXPECT_TRUE(fs::exists(dir / "messung.kvr.bak"));
    EXPECT_EQ(frame->GetTitle(), U8("messung.kvr.bak"));
}

TEST_F(FileCommandsTest, CancelIsNotASave) {
    EXPECT_FALSE(frame->IsSaved());
    wxTEST_DIALOG(Command(ID_SAVE_JOB), ExpectFile(P("x"), SaveMessage, "ZPM Dateien", "", wxID_CANCEL));
    EXPECT_FALSE(frame->IsSaved());
    EXPECT_TRUE(frame->JobFilePath().empty());
    EXPECT_EQ(frame->GetTitle(), U8("Unbennant"));
}

TEST_F(FileCommandsTest, FailedSaveReportsAndChangesNothing) {
    // Saved once: a later save that fails leaves the path, the title and the flag as they were,
    // saved or not, and the next Ctrl+S still goes to the file that was written.
    wxTEST_DIALOG(Command(ID_SAVE_JOB_AS), ExpectFile(P("gut"), SaveMessage, "ZPM Dateien"));
    ASSERT_TRUE(frame->IsSaved());
    const auto unchanged = [&](bool saved) {
        EXPECT_EQ(frame->GetTitle(), U8("gut"));
        EXPECT_EQ(frame->JobFilePath(), P("gut.kvr"));
        EXPECT_EQ(frame->IsSaved(), saved);
    };

    fs::create_directories(dir / "ordner.kvr");  // a directory where the file should go
    log->Clear();
    wxTEST_DIALOG(Command(ID_SAVE_JOB_AS), ExpectFile(P("ordner.kvr"), SaveMessage, "ZPM Dateien"));
    EXPECT_EQ(log->Errors(), std::vector<wxString>{U8("Cannot open File for Writing")});
    unchanged(true);

    // A write-protected file is refused, also for root, and stays as it was.
    std::ofstream(dir / "fest.kvr") << "480000\n0\n";
    fs::permissions(dir / "fest.kvr", fs::perms::owner_read);
    frame->SetSaved(false);
    log->Clear();
    wxTEST_DIALOG(Command(ID_SAVE_JOB_AS), ExpectFile(P("fest.kvr"), SaveMessage, "ZPM Dateien"));
    EXPECT_EQ(log->Errors(), std::vector<wxString>{U8("Cannot open File for Writing")});
    EXPECT_EQ(ReadTextFile((dir / "fest.kvr").string()), "480000\n0\n");
    unchanged(false);

    // The disk fills up while the file is written (a file size limit, which holds for root too),
    // by save as and by save: the earlier files stay as they were and nothing is left beside them.
    std::ofstream(dir / "voll.kvr") << "480000\n0\n";
    const std::string good = ReadTextFile((dir / "gut.kvr").string());
    for (bool saved : {false, true}) {
        frame->SetSaved(saved);
        log->Clear();
        {
            const FileSizeLimit full(64);
            wxTEST_DIALOG(Command(ID_SAVE_JOB_AS), ExpectFile(P("voll.kvr"), SaveMessage, "ZPM Dateien"));
            Command(ID_SAVE_JOB);
        }
        EXPECT_EQ(log->Errors(), (std::vector<wxString>{U8("Error writing File"), U8("Error writing File")}));
        EXPECT_EQ(ReadTextFile((dir / "voll.kvr").string()), "480000\n0\n");
        EXPECT_EQ(ReadTextFile((dir / "gut.kvr").string()), good);
        unchanged(saved);
    }
    EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 4);

    frame->Records()[0].SetTitle(U8("Geändert"));
    Command(ID_SAVE_JOB);
    EXPECT_NE(ReadTextFile((dir / "gut.kvr").string()).find("Ge\xe4ndert\n"), std::string::npos);
}

// Saving filtered records asks once which values go into the file; the list marks them.
TEST_F(FileCommandsTest, FilteredRecordsAskWhichValuesToSave) {
    auto& records = frame->Records();
    records.clear();
    records.push_back(
        MakeRecord("Eins", "24/03/2023 14:05:09", {100, 400, 150, 380, 120}, {1, 3, 1.5f, 2.5f, 1}));
    records.push_back(MakeRecord("Zwei", "25/03/2023 10:00:00", {5, 60, 7, 55}, {0.5f, 4, 0.25f, 3}));
    std::ostringstream plain;
    ASSERT_TRUE(jobfile::Write(plain, records));  // before any filter: the measured values
    const std::string measured = plain.str();
    const wxColour filteredColour(176, 88, 0);

    struct Case {
        std::vector<bool> filtered;
        int answer;  // to the question; 0: no question comes
        bool written, smoothed;
    };
    const Case cases[] = {
        {{false, false}, 0, true, false},           {{true, false}, wxID_YES, true, false},
        {{true, false}, wxID_NO, true, true},       {{true, false}, wxID_CANCEL, false, false},
        {{true, true}, wxID_YES, true, false},      {{true, true}, wxID_NO, true, true},
        {{false, true}, wxID_CANCEL, false, false},
    };
    int k = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(k);
        const wxString path = P(("job" + std::to_string(k++)).c_str());
        int count = 0;
        for (std::size_t i = 0; i < records.size(); ++i) {
            records[i].SetFilter(c.filtered[i], 1);
            count += c.filtered[i] ? 1 : 0;
        }
        frame->RefreshRecordList();
        for (long row = 0; row < 2; ++row)
            EXPECT_EQ(frame->RecordList()->GetItemTextColour(row) == filteredColour, c.filtered[row]) << row;
        std::ostringstream shown;
        ASSERT_TRUE(jobfile::Write(shown, records));
        EXPECT_EQ(shown.str() != measured, count > 0) << "the filter smooths these records";
        frame->SetSaved(false);
        const wxString title = frame->GetTitle();
        const wxString question =
            U8((std::to_string(count) + " Messungen sind gefiltert. Gemessene Werte speichern?").c_str());
        if (c.answer) {
            wxTEST_DIALOG(Command(ID_SAVE_JOB_AS), ExpectFile(path, SaveMessage, "ZPM Dateien"),
                          ExpectMessage(c.answer, question, U8("Speichern")));
        } else {
            wxTEST_DIALOG(Command(ID_SAVE_JOB_AS), ExpectFile(path, SaveMessage, "ZPM Dateien"));
        }
        const fs::path file = dir / (path.utf8_string().substr(dir.string().size() + 1) + ".kvr");
        ASSERT_EQ(fs::exists(file), c.written);
        EXPECT_EQ(frame->IsSaved(), c.written);
        if (c.written) {
            EXPECT_EQ(ReadTextFile(file.string()), c.smoothed ? shown.str() : measured);
            EXPECT_EQ(frame->GetTitle(), path.AfterLast('/'));
        } else {
            EXPECT_EQ(frame->GetTitle(), title);
        }
        for (std::size_t i = 0; i < records.size(); ++i)
            EXPECT_EQ(records[i].IsFiltered(), c.filtered[i]) << "the filter stays on screen";
    }
}

// The dialog asks about the name typed; a file that only the appended extension names is asked
// about by the program. No writes nothing and changes nothing.
TEST_F(FileCommandsTest, AppendedExtensionAsksBeforeReplacing) {
    frame->RecordList()->Focus(0);
    frame->RecordList()->Select(0);
    Command(ID_SHOW_FLOW, wxEVT_BUTTON);
    PumpEvents();
    struct Case {
        int command;
        const char *typed, *file, *message, *wildcard, *proposed;
        int filter;
        const char* head;  // how the new content begins
    } cases[] = {
        {ID_EXPORT_CSV, "tabelle", "tabelle.csv", "Exportieren nach Excel", "Exceldateien (*.csv)|*.csv||",
         "24_03_2023 14_05_09", -1, "File Name,"},
        {ID_IMAGE_EXPORT, "bild", "bild.bmp", ImageMessage, ImageTypes, "", 0, "BM"},
        // The chosen type decides the extension, also over the other type's one typed.
        {ID_IMAGE_EXPORT, "Bild.BMP", "Bild.png", ImageMessage, ImageTypes, "", 1, "\x89PNG\r\n"},
        {ID_SAVE_JOB_AS, "messung", "messung.kvr", SaveMessage, "ZPM Dateien", "", -1, "480000\n2\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        std::ofstream(dir / c.file) << "alt";
        const wxString question =
            U8("Die Datei \"") + P(c.file) + U8("\" ist bereits vorhanden. Soll sie ersetzt werden?");
        frame->SetSaved(false);
        wxTEST_DIALOG(Command(c.command, c.command == ID_IMAGE_EXPORT ? wxEVT_BUTTON : wxEVT_MENU),
                      ExpectFile(P(c.typed), c.message, c.wildcard, c.proposed, wxID_OK, c.filter),
                      ExpectMessage(wxID_NO, question, U8("Message")));
        EXPECT_EQ(ReadTextFile((dir / c.file).string()), "alt");
        EXPECT_FALSE(frame->IsSaved());
        EXPECT_EQ(frame->GetTitle(), U8("Unbennant"));
        EXPECT_TRUE(frame->JobFilePath().empty());

        wxTEST_DIALOG(Command(c.command, c.command == ID_IMAGE_EXPORT ? wxEVT_BUTTON : wxEVT_MENU),
                      ExpectFile(P(c.typed), c.message, c.wildcard, c.proposed, wxID_OK, c.filter),
                      ExpectMessage(wxID_YES, question, U8("Message")));
        EXPECT_EQ(ReadTextFile((dir / c.file).string()).rfind(c.head, 0), 0u);
        EXPECT_EQ(frame->IsSaved(), c.command == ID_SAVE_JOB_AS);
        EXPECT_FALSE(fs::exists(dir / c.typed));
    }
    EXPECT_EQ(frame->GetTitle(), U8("messung"));
    EXPECT_EQ(frame->JobFilePath(), P("messung.kvr"));
    for (const auto& e : log->All())
        ADD_FAILURE() << "logged: " << e.text.utf8_string();
}

TEST_F(FileCommandsTest, OpenReplacesTheRecordsAfterAskingAboutUnsavedOnes) {
    wxTEST_DIALOG(Command(ID_SAVE_JOB_AS), ExpectFile(P("auftrag"), SaveMessage, "ZPM Dateien"));
    ASSERT_TRUE(frame->IsSaved());
    frame->AppendRecord(MakeRecord("Drei", "26/03/2023 10:00:00", {1}));
    frame->SetSaved(false);

    // No: everything stays as it was.
    wxTEST_DIALOG(Command(ID_OPEN_BUTTON, wxEVT_BUTTON),
                  ExpectMessage(wxID_NO, U8(DiscardText), U8("Message")));
    EXPECT_EQ(frame->Records().size(), 3u);

    wxTEST_DIALOG(Command(ID_OPEN_JOB), ExpectMessage(wxID_YES, U8(DiscardText), U8("Message")),
                  ExpectFile(P("auftrag.kvr"), OpenMessage, "KVR Dateien (*.kvr)|*.kvr"));
    ASSERT_EQ(frame->Records().size(), 2u);
    EXPECT_EQ(frame->Records()[0].Title(), U8("Eins"));
    EXPECT_FLOAT_EQ(frame->Records()[0].GetSample(2).flow, 300.0f);
    EXPECT_EQ(frame->RecordList()->GetItemCount(), 2);
    EXPECT_TRUE(frame->IsSaved());
    EXPECT_EQ(frame->GetTitle(), U8("auftrag.kvr"));
}

TEST_F(FileCommandsTest, UnreadableOrDamagedFiles) {
    frame->SetSaved(true);
    wxTEST_DIALOG(Command(ID_OPEN_JOB), ExpectFile(P("fehlt.kvr"), OpenMessage, "KVR Dateien (*.kvr)|*.kvr"));
    EXPECT_EQ(log->Errors(), std::vector<wxString>{U8("Cannot open File for Reading")});
    EXPECT_TRUE(frame->Records().empty());
    EXPECT_EQ(frame->RecordList()->GetItemCount(), 0);
    EXPECT_EQ(frame->JobFilePath(), P("fehlt.kvr"));

    // A file that breaks off in its second record: the first is kept, the damage reported.
    std::ofstream(dir / "kaputt.kvr")
        << "480000\n2\nGanz\n24/03/2023 14:05:09\n\n0\n0 \n0 0\n0.000000\n1000\n98\n1 0\n"
           "0\n1\n1.000000 10.000000 1.000000 0.166667\nHalb\n24/03/2023\n";
    log->Clear();
    wxTEST_DIALOG(Command(ID_OPEN_JOB),
                  ExpectFile(P("kaputt.kvr"), OpenMessage, "KVR Dateien (*.kvr)|*.kvr"));
    ASSERT_EQ(frame->Records().size(), 1u);
    EXPECT_EQ(frame->Records()[0].Title(), U8("Ganz"));
    EXPECT_EQ(log->Errors(),
              std::vector<wxString>{U8("Die Datei \"") + P("kaputt.kvr") +
                                    U8("\" ist beschädigt (Zeile 18: Messung 2 von 2: der Untertitel "
                                       "fehlt, die Datei endet); nur die vollständig gelesenen "
                                       "Messungen werden gezeigt.")});
    EXPECT_FALSE(frame->IsSaved());

    // Only the user replaces the damaged file: saving asks for the name, proposing the same one.
    const std::string damaged = ReadTextFile((dir / "kaputt.kvr").string());
    wxTEST_DIALOG(Command(ID_SAVE_JOB, wxEVT_BUTTON),
                  ExpectFile(P("kaputt.kvr"), SaveMessage, "ZPM Dateien", "kaputt.kvr", wxID_CANCEL));
    EXPECT_EQ(ReadTextFile((dir / "kaputt.kvr").string()), damaged);
    EXPECT_FALSE(frame->IsSaved());
    wxTEST_DIALOG(Command(ID_SAVE_JOB),
                  ExpectFile(P("kaputt.kvr"), SaveMessage, "ZPM Dateien", "kaputt.kvr"));
    EXPECT_TRUE(frame->IsSaved());
    EXPECT_EQ(jobfile::Load(P("kaputt.kvr"))->records.size(), 1u);
    EXPECT_FALSE(jobfile::Load(P("kaputt.kvr"))->damaged);
    // From now on it is the user's file again: the next save writes without asking.
    frame->SetSaved(false);
    Command(ID_SAVE_JOB);
    EXPECT_TRUE(frame->IsSaved());

    // A file that is there but cannot be read is not replaced unasked either; a missing one is.
    ASSERT_EQ(::mkfifo((dir / "rohr.kvr").c_str(), 0600), 0);
    wxTEST_DIALOG(Command(ID_OPEN_JOB), ExpectFile(P("rohr.kvr"), OpenMessage, "KVR Dateien (*.kvr)|*.kvr"));
    frame->AppendRecord(MakeRecord("Neu", "26/03/2023 10:00:00", {1}));
    wxTEST_DIALOG(Command(ID_SAVE_JOB),
                  ExpectFile(P("x"), SaveMessage, "ZPM Dateien", "rohr.kvr", wxID_CANCEL));
    EXPECT_TRUE(fs::is_fifo(dir / "rohr.kvr"));
    wxTEST_DIALOG(Command(ID_OPEN_JOB), ExpectMessage(wxID_YES, U8(DiscardText), U8("Message")),
                  ExpectFile(P("fehlt.kvr"), OpenMessage, "KVR Dateien (*.kvr)|*.kvr"));
    frame->AppendRecord(MakeRecord("Neu", "26/03/2023 10:00:00", {1}));
    Command(ID_SAVE_JOB);
    EXPECT_TRUE(frame->IsSaved());
    EXPECT_EQ(jobfile::Load(P("fehlt.kvr"))->records.size(), 1u);
}

// A FIFO, a directory or a device chosen for open or import is refused at once with the
// cannot-open message: nothing hangs, nothing is read.
TEST_F(FileCommandsTest, OnlyRegularFilesAreOpened) {
    ASSERT_EQ(::mkfifo((dir / "rohr").c_str(), 0600), 0);
    fs::create_directories(dir / "ordner");
    frame->SetSaved(true);
    for (const wxString& path : {P("rohr"), P("ordner"), U8("/dev/zero")}) {
        SCOPED_TRACE(path.utf8_string());
        log->Clear();
        wxTEST_DIALOG(Command(ID_OPEN_JOB), ExpectFile(path, OpenMessage, "KVR Dateien (*.kvr)|*.kvr"));
        EXPECT_EQ(log->Errors(), std::vector<wxString>{U8("Cannot open File for Reading")});
        EXPECT_TRUE(frame->Records().empty());
        log->Clear();
        wxTEST_DIALOG(Command(ID_IMPORT_DATABASE),
                      ExpectFile(path, "Open KVR Database File", "KVR Database files (*.hex)|*.hex"));
        EXPECT_EQ(log->Errors(), std::vector<wxString>{U8("Cannot open File for Reading")});
        EXPECT_TRUE(log->Messages().empty());
    }
}

TEST_F(FileCommandsTest, CsvExportOfTheFocusedRecord) {
    frame->RecordList()->Focus(0);
    frame->RecordList()->Select(0);
    PumpEvents(2);
    wxTEST_DIALOG(Command(ID_EXPORT_CSV), ExpectFile(P("daten.csv.old"), "Exportieren nach Excel",
                                                     "Exceldateien (*.csv)|*.csv||", "24_03_2023 14_05_09"));
    const std::string csv = ReadTextFile((dir / "daten.csv.old").string());
    EXPECT_EQ(csv.substr(0, csv.find('\n')), "File Name," + (dir / "daten.csv.old").string());
    EXPECT_NE(csv.find("Zeit (s), Durchfluss (L/min), Volumen (L), Druck (Bar)\n1.00,100.00,1.67,1.00\n"),
              std::string::npos);

    wxTEST_DIALOG(Command(ID_EXPORT_CSV), ExpectFile(P("tabelle"), "Exportieren nach Excel",
                                                     "Exceldateien (*.csv)|*.csv||", "24_03_2023 14_05_09"));
    EXPECT_TRUE(fs::exists(dir / "tabelle.csv"));

    fs::create_directories(dir / "belegt.csv");
    wxTEST_DIALOG(
        Command(ID_EXPORT_CSV),
        ExpectFile(P("belegt.csv"), "Exportieren nach Excel", "Exceldateien (*.csv)|*.csv||",
                   "24_03_2023 14_05_09"),
        ExpectMessage(wxID_OK,
                      U8("Öffnen der Exceldatei fehlgeschlagen, möglicherweise wird sie bereits durch ein "
                         "anderes Programm benutzt?"),
                      U8("Message")));
}

TEST_F(FileCommandsTest, ImageExportSavesWhatTheChartShows) {
    frame->RecordList()->Focus(0);
    frame->RecordList()->Select(0);
    // The first chart shows flow (with pressure).
    ASSERT_TRUE(frame->FlowShown());
    PumpEvents();
    wxTEST_DIALOG(Command(ID_IMAGE_EXPORT, wxEVT_BUTTON),
                  ExpectFile(P("bild.bmp"), ImageMessage, ImageTypes));
    wxImage saved;
    ASSERT_TRUE(saved.LoadFile(P("bild.bmp"), wxBITMAP_TYPE_BMP));
    EXPECT_EQ(saved.GetSize(), frame->PlotWindow()->GetClientSize());
    // The file holds what the display shows of the chart, pixel for pixel. The window goes where
    // no other test's window appears.
    frame->Move(620, 530);
    const wxImage shown = ScreenImageAfterPaint(frame->PlotWindow(), saved);
    ASSERT_EQ(shown.GetSize(), saved.GetSize());
    EXPECT_EQ(DifferingPixels(shown, saved), 0);
    // The blue flow line is in the picture.
    int blue = 0;
    for (int y = 0; y < saved.GetHeight(); ++y)
        for (int x = 0; x < saved.GetWidth(); ++x)
            blue += saved.GetBlue(x, y) > 200 && saved.GetRed(x, y) < 80 && saved.GetGreen(x, y) < 80;
    EXPECT_GT(blue, 20);
}

TEST_F(FileCommandsTest, DatabaseImportChecksBlocks) {
    std::ofstream(dir / "leer.hex", std::ios::binary) << std::string(15, '\0');
    std::ofstream(dir / "kurz.hex", std::ios::binary) << std::string(15, '\0') << std::string(5, 'x');
    wxTEST_DIALOG(Command(ID_IMPORT_DATABASE),
                  ExpectFile(P("leer.hex"), "Open KVR Database File", "KVR Database files (*.hex)|*.hex"));
    for (const auto& e : log->All())
        ADD_FAILURE() << "logged: " << e.text.utf8_string();
    EXPECT_EQ(frame->GetTitle(), U8("leer.hex"));
    wxTEST_DIALOG(Command(ID_IMPORT_DATABASE),
                  ExpectFile(P("kurz.hex"), "Open KVR Database File", "KVR Database files (*.hex)|*.hex"));
    EXPECT_EQ(log->Messages(), std::vector<wxString>{U8("Error reading lenghts from import file")});
    wxTEST_DIALOG(Command(ID_IMPORT_DATABASE),
                  ExpectFile(P("nichts.hex"), "Open KVR Database File", "KVR Database files (*.hex)|*.hex"));
    EXPECT_EQ(log->Errors(), std::vector<wxString>{U8("Cannot open File for Reading")});
    EXPECT_EQ(frame->Records().size(), 2u);  // the import never touches the records
}
