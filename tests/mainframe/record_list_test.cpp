#include "support/gui_testing.h"

#include "app/command_ids.h"
#include "mainframe/main_frame.h"
#include "plot/layers.h"
#include "plot/plot_window.h"
#include "test_records.h"

#include <wx/button.h>
#include <wx/listctrl.h>
#include <wx/menu.h>
#include <wx/panel.h>
#include <wx/textdlg.h>

#include <cmath>

namespace {

// Answers a text entry dialog with a value, checking its caption and the value it offered.
class ExpectTextEntry : public wxExpectModalBase<wxTextEntryDialog, ExpectTextEntry> {
public:
    ExpectTextEntry(const wxString& answer, const wxString& caption, const wxString& offered,
                    int id = wxID_OK)
        : answer(answer), caption(caption), offered(offered), id(id) {}

protected:
    int OnInvoked(wxTextEntryDialog* dlg) const override {
        EXPECT_EQ(dlg->GetTitle().utf8_string(), caption.utf8_string());
        EXPECT_EQ(dlg->GetValue().utf8_string(), offered.utf8_string());
        dlg->SetValue(answer);
        return id;
    }

private:
    wxString answer, caption, offered;
    int id;
};

class RecordListTest : public MainFrameTest {
protected:
    void SetUp() override {
        MainFrameTest::SetUp();
        frame->AppendRecord(MakeRecord("Eins", "24/03/2023 14:05:09", std::vector<float>(3725, 100.0f)));
        frame->AppendRecord(MakeRecord("Zwei", "25/03/2023", std::vector<float>(90, 60.0f)));
        frame->AppendRecord(MakeRecord("Drei", "26/03/2023 08:00:00", std::vector<float>(90000, 1.0f)));
        frame->RefreshRecordList();
        frame->SetSaved(true);
    }
    wxListView* List() { return frame->RecordList(); }
    wxString Cell(long row, int column) { return List()->GetItemText(row, column); }
    void SelectOnly(long row) {
        for (long i = 0; i < List()->GetItemCount(); ++i)
            List()->Select(i, false);
        List()->Focus(row);
        List()->Select(row);
        PumpEvents(2);
    }
    bool ButtonEnabled(int id) { return frame->Panel()->FindWindow(id)->IsEnabled(); }
};

}  // namespace

TEST_F(RecordListTest, ColumnsAndRows) {
    ASSERT_EQ(List()->GetColumnCount(), 5);
    const char* titles[] = {"Titel", "Datum", "Zeit", "Dauer", "Volumen (L)"};
    const int widths[] = {80, 80, 80, 80, 150};
    for (int c = 0; c < 5; ++c) {
        wxListItem col;
        col.SetMask(wxLIST_MASK_TEXT);
        List()->GetColumn(c, col);
        EXPECT_EQ(col.GetText().utf8_string(), titles[c]);
        EXPECT_EQ(List()->GetColumnWidth(c), widths[c]);
    }
    ASSERT_EQ(List()->GetItemCount(), 3);
    EXPECT_EQ(Cell(0, 0), U8("Eins"));
    EXPECT_EQ(Cell(0, 1), U8("24/03/2023"));
    EXPECT_EQ(Cell(0, 2), U8("14:05:09"));
    EXPECT_EQ(Cell(0, 3), U8("01:02:05"));
    EXPECT_EQ(Cell(0, 4), U8("6208.33"));     // 3725 s at 100 l/min
    EXPECT_EQ(Cell(1, 1), U8("25/03/2023"));  // no blank: all of it is the date
    EXPECT_EQ(Cell(1, 2), U8(""));
    EXPECT_EQ(Cell(1, 3), U8("01:30"));
    EXPECT_EQ(Cell(2, 3), U8("25:00:00"));  // 25 hours, as they are
    EXPECT_EQ(List()->GetFont().GetPointSize(), 9);
}

TEST_F(RecordListTest, VolumeColumnTitleFollowsTheUnitsAtStartUp) {
    TearDown();
    settingsContent = "1\n98\n0\n0\n3\n0\n0\n";
    MainFrameTest::SetUp();
    wxListItem col;
    col.SetMask(wxLIST_MASK_TEXT);
    List()->GetColumn(4, col);
    EXPECT_EQ(col.GetText(), U8("Volumen (G)"));
}

TEST_F(RecordListTest, SelectionEnablesTheRecordFunctionsAndCharts) {
    EXPECT_FALSE(ButtonEnabled(ID_RENAME_RECORD));
    SelectOnly(1);
    for (int id : {ID_DELETE_RECORD, ID_RENAME_RECORD, ID_SUBTITLE, ID_TEXT_BOX, ID_TARGET_FLOW})
        EXPECT_TRUE(ButtonEnabled(id)) << id;
    EXPECT_TRUE(frame->GetMenuBar()->IsEnabled(ID_EXPORT_CSV));
    EXPECT_EQ(frame->FlowSeries()->PointCount(), 90);
    List()->Select(1, false);
    PumpEvents(2);
    EXPECT_FALSE(ButtonEnabled(ID_RENAME_RECORD));
    EXPECT_FALSE(frame->GetMenuBar()->IsEnabled(ID_EXPORT_CSV));
}

TEST_F(RecordListTest, SelectingAFilteredRecordShowsItUnfiltered) {
    frame->Records()[1].SetFilter(true, 2);
    SelectOnly(1);
    EXPECT_FALSE(frame->Records()[1].IsFiltered());
    EXPECT_FALSE(frame->FilterOn());
}

TEST_F(RecordListTest, EditsThroughTextEntryDialogs) {
    SelectOnly(0);
    wxTEST_DIALOG(Command(ID_RENAME_RECORD, wxEVT_BUTTON),
                  ExpectTextEntry(U8(""), U8("Titel ändern"), U8("Eins")));
    EXPECT_EQ(frame->Records()[0].Title(), U8("-"));
    EXPECT_EQ(Cell(0, 0), U8("-"));
    EXPECT_FALSE(frame->IsSaved());
    EXPECT_TRUE(List()->IsSelected(0));
    EXPECT_EQ(List()->GetFocusedItem(), 0);

    frame->SetSaved(true);
    wxTEST_DIALOG(Command(ID_SUBTITLE, wxEVT_BUTTON),
                  ExpectTextEntry(U8("Hydrant 12, Nordstraße"), U8("Weitere Informationen .."), U8("")));
    EXPECT_EQ(frame->Records()[0].Subtitle(), U8("Hydrant 12, Nordstraße"));
    EXPECT_FALSE(frame->IsSaved());

    // An edit leaves the record as it is shown: filtered stays filtered.
    Command(ID_FILTER, wxEVT_BUTTON);
    ASSERT_TRUE(frame->Records()[0].IsFiltered());
    wxTEST_DIALOG(Command(ID_TEXT_BOX, wxEVT_BUTTON),
                  ExpectTextEntry(U8("Zeile 1\nZeile 2"), U8("Weitere Informationen .."), U8("")));
    EXPECT_EQ(frame->Records()[0].NoteText(), U8("Zeile 1\nZeile 2"));
    EXPECT_TRUE(frame->Records()[0].IsFiltered());
    EXPECT_TRUE(frame->FilterOn());
    Command(ID_FILTER, wxEVT_BUTTON);

    frame->SetSaved(true);
    wxTEST_DIALOG(Command(ID_TARGET_FLOW, wxEVT_BUTTON),
                  ExpectTextEntry(U8("12.5"), U8("Zielfluss"), U8("0.000000")));
    EXPECT_FLOAT_EQ(frame->Records()[0].TargetFlow(), 12.5f);
    EXPECT_FALSE(frame->IsSaved());

    // Cancel changes nothing.
    frame->SetSaved(true);
    wxTEST_DIALOG(Command(ID_RENAME_RECORD, wxEVT_BUTTON),
                  ExpectTextEntry(U8("Neu"), U8("Titel ändern"), U8("-"), wxID_CANCEL));
    EXPECT_EQ(frame->Records()[0].Title(), U8("-"));
    EXPECT_TRUE(frame->IsSaved());
}

TEST_F(RecordListTest, DoubleClickRenames) {
    SelectOnly(2);
    wxListEvent activate(wxEVT_LIST_ITEM_ACTIVATED, ID_RECORD_LIST);
    activate.SetEventObject(List());
    wxTEST_DIALOG(List()->GetEventHandler()->ProcessEvent(activate),
                  ExpectTextEntry(U8("Letzter"), U8("Titel ändern"), U8("Drei")));
    EXPECT_EQ(frame->Records()[2].Title(), U8("Letzter"));
}

TEST_F(RecordListTest, AfterADeleteTheHighlightedRowIsTheOneTheCommandsActOn) {
    // Deleting row r leaves row r - 1 (row 0 for the first) highlighted and focused; the next
    // command and the chart take that record.
    const char* titles[] = {"A", "B", "C", "D"};
    for (int deleted : {0, 2, 3}) {
        SCOPED_TRACE(deleted);
        frame->ClearRecords();
        for (const char* t : titles)
            frame->AppendRecord(MakeRecord(t, "24/03/2023 14:05:09", std::vector<float>(10, 1.0f)));
        frame->RefreshRecordList();
        SelectOnly(deleted);
        frame->SetSaved(true);
        Command(ID_DELETE_RECORD, wxEVT_BUTTON);
        ASSERT_EQ(frame->Records().size(), 3u);
        EXPECT_FALSE(frame->IsSaved());
        const long expected = deleted == 0 ? 0 : deleted - 1;
        const wxString title = frame->Records()[expected].Title();
        EXPECT_EQ(title, U8(titles[deleted == 0 ? 1 : deleted - 1]));
        EXPECT_EQ(List()->GetSelectedItemCount(), 1);
        EXPECT_TRUE(List()->IsSelected(expected));
        EXPECT_EQ(List()->GetFocusedItem(), expected);
        EXPECT_EQ(frame->FlowSeries()->GetName(), title + U8(" 24/03/2023 14:05:09"));
        wxTEST_DIALOG(Command(ID_RENAME_RECORD, wxEVT_BUTTON),
                      ExpectTextEntry(U8("Neu"), U8("Titel ändern"), title));
        EXPECT_EQ(frame->Records()[expected].Title(), U8("Neu"));
        EXPECT_EQ(List()->GetFocusedItem(), expected);
        EXPECT_TRUE(List()->IsSelected(expected));
    }
}

TEST_F(RecordListTest, TargetFlowRefusesWhatIsNoNumberOfAFloat) {
    SelectOnly(0);
    wxTEST_DIALOG(Command(ID_TARGET_FLOW, wxEVT_BUTTON),
                  ExpectTextEntry(U8("12.5"), U8("Zielfluss"), U8("0.000000")));
    for (const char* text :
         {"viel", "nan", "NaN", "-nan", "inf", "-inf", "Infinity", "1e39", "-3.5e38", "1e400"}) {
        SCOPED_TRACE(text);
        frame->SetSaved(true);
        wxTEST_DIALOG(Command(ID_TARGET_FLOW, wxEVT_BUTTON),
                      ExpectTextEntry(U8(text), U8("Zielfluss"), U8("12.500000")));
        EXPECT_EQ(frame->Records()[0].TargetFlow(), 12.5f);
        EXPECT_TRUE(frame->IsSaved());
        EXPECT_TRUE(std::isfinite(frame->TargetLine()->MaxY()));
    }
    // The largest float still is one.
    wxTEST_DIALOG(Command(ID_TARGET_FLOW, wxEVT_BUTTON),
                  ExpectTextEntry(U8("-3.4e38"), U8("Zielfluss"), U8("12.500000")));
    EXPECT_EQ(frame->Records()[0].TargetFlow(), -3.4e38f);
    EXPECT_FALSE(frame->IsSaved());
}

TEST_F(RecordListTest, TheTextBoxPositionBelongsToTheChartedRecord) {
    frame->Records()[0].SetNoteText(U8("Notiz A"));
    frame->Records()[0].SetNotePosition(10, 20);
    frame->Records()[1].SetNoteText(U8("Notiz B"));
    frame->Records()[1].SetNotePosition(-30, -40);
    Command(ID_SHOW_FLOW, wxEVT_BUTTON);
    mpWindow* plot = frame->PlotWindow();
    const auto paint = [plot] {
        const long before = plot->GetPaintCount();
        plot->Refresh(false);
        plot->Update();
        ASSERT_TRUE(PumpUntil([&] { return plot->GetPaintCount() > before; }));
    };
    const auto notePosition = [this](int row) {
        return wxPoint(frame->Records()[row].NoteX(), frame->Records()[row].NoteY());
    };
    SelectOnly(0);
    paint();
    frame->SetSaved(true);

    // Ctrl-click on the second row: two rows highlighted, the focus on the second, the chart
    // still shows the first. Paints store nothing anywhere.
    List()->Focus(1);
    List()->Select(1);
    PumpEvents(2);
    paint();
    EXPECT_EQ(notePosition(0), wxPoint(10, 20));
    EXPECT_EQ(notePosition(1), wxPoint(-30, -40));

    // A larger window draws the box further out; the record keeps its position.
    const wxSize before = plot->GetClientSize();
    frame->SetSize(frame->GetSize() + wxSize(300, 200));
    ASSERT_TRUE(PumpUntil([&] {
        plot->Refresh(false);
        return plot->GetPlotWidth() > before.x + 100 && plot->GetPlotWidth() == plot->GetClientSize().x;
    }));
    EXPECT_NE(frame->TextBox()->GetRect().GetPosition(), wxPoint(10, 20));
    EXPECT_EQ(notePosition(0), wxPoint(10, 20));

    // A position beyond the window is drawn wholly inside its edge and stays in the record.
    frame->Records()[1].SetNotePosition(5000, -5000);
    SelectOnly(1);
    paint();
    const int W = plot->GetPlotWidth(), H = plot->GetPlotHeight();
    const wxRect edge = frame->TextBox()->GetRect();
    EXPECT_EQ(edge.GetPosition(), wxPoint(W - W / 2 - edge.width - 1, -(H / 2)));
    EXPECT_GT(edge.width, 20);
    EXPECT_EQ(notePosition(1), wxPoint(5000, -5000));
    EXPECT_TRUE(frame->IsSaved());

    // Only the user's drag places it, in the charted record, whichever row has the focus.
    frame->Records()[1].SetNotePosition(-100, -60);
    frame->ChartRecord(1);
    paint();
    List()->Focus(0);
    const wxRect box = frame->TextBox()->GetRect();
    const wxPoint grab(W / 2 + box.x + 5, H / 2 + box.y + 5);
    const auto mouse = [plot](wxEventType type, wxPoint at) {
        wxMouseEvent e(type);
        e.m_x = at.x;
        e.m_y = at.y;
        e.m_leftDown = true;
        e.SetEventObject(plot);
        plot->GetEventHandler()->ProcessEvent(e);
    };
    mouse(wxEVT_LEFT_DOWN, grab);
    mouse(wxEVT_MOTION, grab + wxPoint(15, 7));
    paint();
    EXPECT_EQ(notePosition(1), wxPoint(-85, -53));
    EXPECT_EQ(notePosition(0), wxPoint(10, 20));
    EXPECT_FALSE(frame->IsSaved());
}

TEST_F(RecordListTest, TwoSelectedRowsLeaveTheButtonsInert) {
    SelectOnly(0);
    List()->Select(1);
    PumpEvents(2);
    EXPECT_EQ(List()->GetSelectedItemCount(), 2);
    EXPECT_TRUE(ButtonEnabled(ID_DELETE_RECORD));
    // No dialog may open (the harness fails on any), nothing is deleted.
    for (int id : {ID_DELETE_RECORD, ID_RENAME_RECORD, ID_SUBTITLE, ID_TEXT_BOX, ID_TARGET_FLOW})
        Command(id, wxEVT_BUTTON);
    EXPECT_EQ(frame->Records().size(), 3u);
    EXPECT_TRUE(frame->IsSaved());
}
