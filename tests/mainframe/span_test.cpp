// "Bereich auswerten" through the main window: the figures of a dragged span in the record's
// units, with the filter and with clock times, its export, its figures into the text box, its
// readout clear of the text box, and Escape.
#include "support/gui_testing.h"

#include "app/command_ids.h"
#include "mainframe/main_frame.h"
#include "plot/layers.h"
#include "plot/plot_window.h"
#include "plot/span_layer.h"
#include "test_records.h"

#include <wx/filedlg.h>
#include <wx/listctrl.h>

#include <unistd.h>
#include <cmath>
#include <filesystem>
#include <sstream>
#include <tuple>

namespace fs = std::filesystem;

namespace {

class AnswerFile : public wxExpectModalBase<wxFileDialog, AnswerFile> {
public:
    explicit AnswerFile(const wxString& path) : path(path) {}

protected:
    int OnInvoked(wxFileDialog* dlg) const override {
        EXPECT_EQ(dlg->GetMessage().utf8_string(), "Exportieren nach Excel");
        EXPECT_EQ(dlg->GetWildcard().utf8_string(), "Exceldateien (*.csv)|*.csv||");
        dlg->SetPath(path);
        return wxID_OK;
    }

private:
    wxString path;
};

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> out;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        out.push_back(line);
    return out;
}

class SpanTest : public MainFrameTest {
protected:
    void SetUp() override {
        MainFrameTest::SetUp();
        // Samples at 1 s; the span from 4.5 s to 9.5 s holds those at 5 to 9 s.
        frame->AppendRecord(
            MakeRecord("Hydrant", "24/03/2023 14:05:09", {10, 20, 30, 40, 55, 80, 80, 20, 65, 70, 75, 90},
                       {5.0f, 4.8f, 4.6f, 4.4f, 1.2f, 1.0f, 3.0f, 1.4f, 2.0f, 4.0f, 4.2f, 4.4f}));
        frame->RefreshRecordList();
        frame->RecordList()->Focus(0);
        frame->RecordList()->Select(0);
        PumpEvents();
    }
    // A left drag across the chart between two times.
    void DragBetween(double from, double to) {
        mpWindow* plot = frame->PlotWindow();
        const int half = plot->GetClientSize().x / 2;
        const auto column = [&](double t) {
            return half + static_cast<int>(std::lround((t - plot->GetCentreX()) * plot->GetScaleX()));
        };
        for (auto [type, x, left] :
             {std::tuple{wxEVT_LEFT_DOWN, column(from), true}, std::tuple{wxEVT_MOTION, column(to), true},
              std::tuple{wxEVT_LEFT_UP, column(to), false}}) {
            wxMouseEvent e(type);
            e.m_x = x;
            e.m_y = 150;
            e.m_leftDown = left;
            e.SetEventObject(plot);
            plot->GetEventHandler()->ProcessEvent(e);
        }
    }
    std::string Readout() { return frame->SpanReadout()->GetText().utf8_string(); }
    ScratchDir scratch;
    const fs::path& dir = scratch.path;
};

}  // namespace

TEST_F(SpanTest, TheFiguresOfADraggedSpan) {
    Command(ID_SPAN_MODE);
    ASSERT_TRUE(frame->SpanOn());
    DragBetween(4.5, 9.5);
    // Flows 55 80 80 20 65, pressures 1.2 1.0 3.0 1.4 2.0; the volume grows by (80+80+20+65)/60 l;
    // below 1.5 bar from 5 to 7 s and from 8 to 9 s.
    EXPECT_EQ(Readout(),
              "Beginn: 00:05\nEnde: 00:09\nDauer: 00:00:04.0\n"
              "Durchfluss min: 20 l/min (00:08)\nDurchfluss max: 80 l/min (00:06)\n"
              "Durchfluss Mittel: 60 l/min\n"
              "Druck min: 1.00 Bar (00:06)\nDruck max: 3.00 Bar (00:07)\nDruck Mittel: 1.72 Bar\n"
              "Volumen: 4.1 l\nUnter Mindestdruck (1.50 Bar): 00:00:03.0");

    // Clock times from the record's start, as the axis shows them.
    Command(ID_ABSOLUTE_TIME);
    EXPECT_EQ(Readout().substr(0, Readout().find("\nDauer")),
              "Beginn: 24/03/23 14:05:14\nEnde: 24/03/23 14:05:18");
    EXPECT_NE(Readout().find("Durchfluss min: 20 l/min (14:05:17)"), std::string::npos);
    Command(ID_ABSOLUTE_TIME);

    // The filter on, the figures of the smoothed values: averaged over five samples in place from
    // the left, the span's flows are 58.24, 56.688, 55.9856, 53.53472 and 63.904064, their mean 57.67.
    Command(ID_FILTER, wxEVT_BUTTON);
    EXPECT_NE(Readout().find("Durchfluss Mittel: 58 l/min\n"), std::string::npos) << Readout();
    Command(ID_FILTER, wxEVT_BUTTON);
    EXPECT_NE(Readout().find("Durchfluss Mittel: 60 l/min\n"), std::string::npos);

    // Escape on the chart leaves the mode: span and readout go.
    wxKeyEvent escape(wxEVT_KEY_DOWN);
    escape.m_keyCode = WXK_ESCAPE;
    frame->PlotWindow()->GetEventHandler()->ProcessEvent(escape);
    EXPECT_FALSE(frame->SpanOn());
    EXPECT_FALSE(frame->PlotWindow()->HasSpan());
    EXPECT_TRUE(Readout().empty());
}

TEST_F(SpanTest, TheSpanExportsTheWholeExportsLinesAndGoesIntoTheTextBox) {
    const wxString whole = wxString::FromUTF8((dir / "ganz.csv").string());
    const wxString part = wxString::FromUTF8((dir / "bereich.csv").string());
    wxTEST_DIALOG(Command(ID_EXPORT_CSV), AnswerFile(whole));
    Command(ID_SPAN_MODE);
    DragBetween(4.5, 9.5);
    wxTEST_DIALOG(Command(ID_SPAN_EXPORT), AnswerFile(part));
    const std::vector<std::string> all = Lines(ReadTextFile(whole.utf8_string()));
    const std::vector<std::string> span = Lines(ReadTextFile(part.utf8_string()));
    ASSERT_EQ(all.size(), 6u + 12u);
    ASSERT_EQ(span.size(), 6u + 5u);
    EXPECT_EQ(span[0], "File Name," + part.utf8_string());
    // The same five lines after the name, then the lines of the samples at 5 to 9 s.
    std::vector<std::string> expected(all.begin() + 1, all.begin() + 6);
    expected.insert(expected.end(), all.begin() + 6 + 4, all.begin() + 6 + 9);
    EXPECT_EQ(std::vector<std::string>(span.begin() + 1, span.end()), expected);

    // "In Textfeld übernehmen": below what the text box held.
    frame->Records()[0].SetNoteText(U8("Notiz"));
    const std::string readout = Readout();
    Command(ID_SPAN_TO_TEXT_BOX);
    EXPECT_EQ(frame->Records()[0].NoteText().utf8_string(), "Notiz\nBereich\n" + readout);
    EXPECT_FALSE(frame->IsSaved());
}

TEST_F(SpanTest, TheReadoutStartsClearOfTheTextBox) {
    // The text box where the readout would go first, at the top right.
    frame->Records()[0].SetNoteText(U8("Eine Notiz\nmit zwei Zeilen"));
    const wxSize client = frame->PlotWindow()->GetClientSize();
    frame->Records()[0].SetNotePosition(client.x / 2 - 200, -client.y / 2 + 40);
    frame->ChartRecord(0);
    Command(ID_SPAN_MODE);
    DragBetween(4.5, 9.5);
    frame->PlotWindow()->SnapshotBitmap();
    ASSERT_TRUE(frame->SpanReadout()->IsPlaced());
    const wxRect readout = frame->SpanReadout()->GetRect(), note = frame->TextBox()->GetRect();
    ASSERT_GT(note.height, 10);
    EXPECT_FALSE(readout.Intersects(note)) << readout.x << "," << readout.y << " " << note.x << "," << note.y;
}
