#include "support/gui_testing.h"

#include "app/command_ids.h"
#include "dialogs/filter_dialog.h"
#include "dialogs/pen_dialog.h"
#include "mainframe/main_frame.h"
#include "plot/layers.h"
#include "test_records.h"

#include <wx/choice.h>
#include <wx/listctrl.h>
#include <wx/slider.h>
#include <wx/stattext.h>

#include <cmath>

namespace {

// Moves the filter dialog's slider to a half width (as a user drag would) and answers with id.
class ExpectFilterDialog : public wxExpectModalBase<FilterDialog, ExpectFilterDialog> {
public:
    ExpectFilterDialog(int halfWidth, int id, int* offered = nullptr, wxString* label = nullptr)
        : halfWidth(halfWidth), id(id), offered(offered), label(label) {}

protected:
    int OnInvoked(FilterDialog* dlg) const override {
        if (offered)
            *offered = dlg->Slider()->GetValue();
        dlg->Slider()->SetValue(halfWidth);
        wxScrollEvent scroll(wxEVT_SCROLL_THUMBTRACK, dlg->Slider()->GetId(), halfWidth);
        scroll.SetEventObject(dlg->Slider());
        dlg->Slider()->GetEventHandler()->ProcessEvent(scroll);
        if (label)
            *label = dlg->Label()->GetLabel();
        return id;
    }

private:
    int halfWidth, id;
    int* offered;
    wxString* label;
};

// Picks entry `width` of the line width dialog and answers with id, reporting the preselection.
class ExpectPenDialog : public wxExpectModalBase<PenDialog, ExpectPenDialog> {
public:
    ExpectPenDialog(int width, int id, int* preselected) : width(width), id(id), preselected(preselected) {}

protected:
    int OnInvoked(PenDialog* dlg) const override {
        *preselected = dlg->WidthChoice()->GetSelection() + 1;
        dlg->WidthChoice()->SetSelection(width - 1);
        if (id == wxID_OK)
            dlg->TransferDataFromWindow();  // what "OK" does before the dialog ends
        return id;
    }

private:
    int width, id;
    int* preselected;
};

class FilterTest : public MainFrameTest {
protected:
    void SetUp() override {
        MainFrameTest::SetUp();
        frame->AppendRecord(MakeRecord("Zacken", "24/03/2023 14:05:09", {0, 30, 0, 30, 0, 30, 0, 30, 0}));
        frame->RefreshRecordList();
    }
    void Select(long row) {
        frame->RecordList()->Focus(row);
        frame->RecordList()->Select(row);
        PumpEvents(2);
    }
    const std::vector<float>& Flows() { return frame->Records()[0].Flows(); }
};

}  // namespace

TEST(FilterDialogLabel, NamesTheFilterSize) {
    FilterDialog two(nullptr, 2);
    EXPECT_EQ(two.Label()->GetLabel(), U8("5 Punkt-Filter für gleitenden Mittelwert"));
    EXPECT_EQ(two.GetTitle(), U8("Filtereinstellungen"));
    EXPECT_EQ(two.Slider()->GetMin(), 1);
    EXPECT_EQ(two.Slider()->GetMax(), 10);
    FilterDialog ten(nullptr, 10);
    EXPECT_EQ(ten.Label()->GetLabel(), U8("21 Punkt-Filter für gleitenden Mittelwert"));
    PenDialog pen(nullptr, 5);
    EXPECT_EQ(pen.WidthChoice()->GetSelection(), 4);
    EXPECT_EQ(pen.WidthChoice()->GetString(0), U8("Linienstärke 1"));
    EXPECT_EQ(pen.WidthChoice()->GetCount(), 7u);
    EXPECT_EQ(pen.GetTitle(), U8("Diagrammlinienart"));
}

TEST_F(FilterTest, ButtonNeedsAFocusedRecordAndToggles) {
    Command(ID_FILTER, wxEVT_BUTTON);  // nothing focused: nothing happens
    EXPECT_FALSE(frame->FilterOn());
    EXPECT_FALSE(frame->Records()[0].IsFiltered());

    Select(0);
    Command(ID_FILTER, wxEVT_BUTTON);
    EXPECT_TRUE(frame->FilterOn());
    EXPECT_TRUE(frame->Records()[0].IsFiltered());
    EXPECT_NE(Flows()[2], 0.0f);  // averaged over 5 points
    EXPECT_EQ(frame->FlowSeries()->PointCount(), 9);
    Command(ID_FILTER, wxEVT_BUTTON);
    EXPECT_FALSE(frame->FilterOn());
    EXPECT_EQ(Flows(), (std::vector<float>{0, 30, 0, 30, 0, 30, 0, 30, 0}));
}

TEST_F(FilterTest, NewWidthRefiltersFromTheUnfilteredSamplesWhileOn) {
    Select(0);
    Command(ID_FILTER, wxEVT_BUTTON);  // on, half width 2
    const std::vector<float> fivePoint = Flows();

    int offered = 0;
    wxString label;
    wxTEST_DIALOG(Command(ID_FILTER_SETTINGS), ExpectFilterDialog(1, wxID_OK, &offered, &label));
    EXPECT_EQ(offered, 2);
    EXPECT_EQ(label, U8("3 Punkt-Filter für gleitenden Mittelwert"));
    EXPECT_EQ(frame->FilterHalfWidth(), 1);
    EXPECT_TRUE(frame->FilterOn());
    // A three-point filter of the original samples, not of the five-point result. Worked by hand:
    // the ends stay, each inner sample is the mean of the one before as already averaged, itself
    // and the next: 0, (0+30+0)/3 = 10, (10+0+30)/3 = 40/3, (40/3+30+0)/3 = 130/9, ...
    const std::vector<double> threePoint = {0,           10,           40.0 / 3,      130.0 / 9, 400.0 / 27,
                                            1210.0 / 81, 3640.0 / 243, 10930.0 / 729, 0};
    const auto isThreePoint = [&] {
        if (Flows().size() != threePoint.size())
            return testing::AssertionFailure() << Flows().size() << " samples";
        for (std::size_t i = 0; i < threePoint.size(); ++i)
            if (std::abs(Flows()[i] - threePoint[i]) > 1e-4)
                return testing::AssertionFailure() << "sample " << i << ": " << Flows()[i];
        return testing::AssertionSuccess();
    };
    EXPECT_TRUE(isThreePoint());
    EXPECT_NE(Flows(), fivePoint);

    // "Schließen" changes nothing.
    wxTEST_DIALOG(Command(ID_FILTER_SETTINGS), ExpectFilterDialog(7, wxID_CANCEL));
    EXPECT_EQ(frame->FilterHalfWidth(), 1);
    EXPECT_TRUE(isThreePoint());

    // While off, a new width leaves the record unfiltered.
    Command(ID_FILTER, wxEVT_BUTTON);
    wxTEST_DIALOG(Command(ID_FILTER_SETTINGS), ExpectFilterDialog(10, wxID_OK));
    EXPECT_EQ(frame->FilterHalfWidth(), 10);
    EXPECT_FALSE(frame->FilterOn());
    EXPECT_FALSE(frame->Records()[0].IsFiltered());
    EXPECT_EQ(Flows(), (std::vector<float>{0, 30, 0, 30, 0, 30, 0, 30, 0}));
}

TEST_F(FilterTest, LineWidthDialogSetsThePen) {
    int preselected = 0;
    wxTEST_DIALOG(Command(ID_WIDTH_FLOW), ExpectPenDialog(1, wxID_OK, &preselected));
    EXPECT_EQ(preselected, 2);
    EXPECT_EQ(frame->FlowSeries()->GetPen().GetWidth(), 1);
    // After a colour change the pen is 5 wide: the dialog offers 5.
    wxPen five = frame->PressureSeries()->GetPen();
    five.SetWidth(5);
    frame->PressureSeries()->SetPen(five);
    wxTEST_DIALOG(Command(ID_WIDTH_PRESSURE), ExpectPenDialog(7, wxID_OK, &preselected));
    EXPECT_EQ(preselected, 5);
    EXPECT_EQ(frame->PressureSeries()->GetPen().GetWidth(), 7);
    EXPECT_EQ(frame->SecondaryPressureSeries()->GetPen().GetWidth(), 7);
    wxTEST_DIALOG(Command(ID_WIDTH_VOLUME), ExpectPenDialog(4, wxID_CANCEL, &preselected));
    EXPECT_EQ(frame->VolumeSeries()->GetPen().GetWidth(), 2);
    // The width chosen for flow is the line width the points button returns to.
    Command(ID_POINTS, wxEVT_BUTTON);
    Command(ID_POINTS, wxEVT_BUTTON);
    EXPECT_EQ(frame->FlowSeries()->GetPen().GetWidth(), 1);
}
