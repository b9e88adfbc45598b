// The plot window by keyboard and its span mode, through the events a user's keys and pointer
// send.
#include "support/gui_testing.h"

#include "app/command_ids.h"
#include "plot/layers.h"
#include "plot/plot_events.h"
#include "plot/plot_window.h"

#include <wx/button.h>
#include <wx/frame.h>
#include <wx/panel.h>

#include <vector>

namespace {

// A layer with bounds only, so the view has an extent to fit.
class Extent : public mpLayer {
public:
    Extent() : mpLayer(LayerKind::PrimarySeries) {}
    double MinX() const override { return 0; }
    double MaxX() const override { return 100; }
    double MinY() const override { return 0; }
    double MaxY() const override { return 50; }
    void Draw(wxDC&, mpWindow&) override {}
};

class KeysSpanTest : public ::testing::Test {
protected:
    void SetUp() override {
        frame = new wxFrame(nullptr, wxID_ANY, U8("Plot"), wxDefaultPosition, wxSize(700, 400));
        // On a panel, as in the main window: the panel leads the Tab key through its children.
        auto* panel = new wxPanel(frame);
        before = new wxButton(panel, wxID_ANY, U8("Davor"), wxPoint(0, 0), wxSize(80, 30));
        plot = new mpWindow(panel, wxID_ANY, wxPoint(0, 40), wxSize(600, 300), wxSUNKEN_BORDER);
        frame->Bind(zpmEVT_PLOT_SPAN, [this](wxCommandEvent& e) { spanEvents.push_back(e.GetInt()); });
        frame->Bind(wxEVT_MENU, [this](wxCommandEvent& e) { menuCommands.push_back(e.GetId()); });
        frame->Show();
        PumpUntil([this] { return plot->GetClientSize().x > 500; });
        plot->AttachLayer(&extent);
        plot->Fit();
    }
    void TearDown() override { DestroyNow(frame); }

    void Key(int code, bool shift = false) {
        wxKeyEvent e(wxEVT_KEY_DOWN);
        e.m_keyCode = code;
        e.m_shiftDown = shift;
        e.SetEventObject(plot);
        plot->GetEventHandler()->ProcessEvent(e);
    }
    void Char(wchar_t c) {
        wxKeyEvent e(wxEVT_CHAR);
        e.m_keyCode = c;
        e.m_uniChar = c;
        e.SetEventObject(plot);
        plot->GetEventHandler()->ProcessEvent(e);
    }
    void Mouse(wxEventType type, int x, int y, bool left) {
        wxMouseEvent e(type);
        e.m_x = x;
        e.m_y = y;
        e.m_leftDown = left;
        e.SetEventObject(plot);
        plot->GetEventHandler()->ProcessEvent(e);
    }
    void Drag(int fromX, int toX, int y = 150) {
        Mouse(wxEVT_LEFT_DOWN, fromX, y, true);
        Mouse(wxEVT_MOTION, (fromX + toX) / 2, y, true);
        Mouse(wxEVT_MOTION, toX, y, true);
        Mouse(wxEVT_LEFT_UP, toX, y, false);
    }
    // Data x under a window column.
    double DataX(int x) const {
        return plot->GetCentreX() + (x - plot->GetClientSize().x / 2) / plot->GetScaleX();
    }

    wxFrame* frame = nullptr;
    wxButton* before = nullptr;
    mpWindow* plot = nullptr;
    Extent extent;
    std::vector<int> spanEvents, menuCommands;
};

}  // namespace

TEST_F(KeysSpanTest, ArrowsPanATenthPlusAndMinusZoomHomeFitsEscapeLeaves) {
    const wxSize client = plot->GetClientSize();
    const double cx = plot->GetCentreX(), cy = plot->GetCentreY(), sx = plot->GetScaleX(),
                 sy = plot->GetScaleY();
    Key(WXK_RIGHT);
    EXPECT_NEAR(plot->GetCentreX(), cx + (client.x / 10) / sx, 1e-9);
    EXPECT_FALSE(plot->IsFitted());
    Key(WXK_LEFT);
    Key(WXK_LEFT);
    EXPECT_NEAR(plot->GetCentreX(), cx - (client.x / 10) / sx, 1e-9);
    Key(WXK_UP);
    EXPECT_NEAR(plot->GetCentreY(), cy + (client.y / 10) / sy, 1e-9);
    Key(WXK_DOWN);
    EXPECT_NEAR(plot->GetCentreY(), cy, 1e-9);
    // Zoom keeps the centre.
    const double centre = plot->GetCentreX();
    Char('+');
    EXPECT_NEAR(plot->GetScaleX(), sx * 1.1, 1e-9);
    EXPECT_NEAR(plot->GetScaleY(), sy * 1.1, 1e-9);
    EXPECT_EQ(plot->GetCentreX(), centre);
    Char('-');
    Char('-');
    EXPECT_NEAR(plot->GetScaleX(), sx / 1.1, 1e-9);
    Key(WXK_HOME);
    EXPECT_TRUE(plot->IsFitted());
    EXPECT_NEAR(plot->GetCentreX(), cx, 1e-9);
    EXPECT_NEAR(plot->GetScaleX(), sx, 1e-9);
    EXPECT_TRUE(menuCommands.empty());
    Key(WXK_ESCAPE);
    EXPECT_EQ(menuCommands, std::vector<int>{ID_PLOT_LEAVE_MODE});
}

TEST_F(KeysSpanTest, TheChartTakesTheFocusFromTheKeyboard) {
    // The main window's Tab key reaches it (GTK's own traversal; the journey presses the key).
    EXPECT_TRUE(plot->AcceptsFocusFromKeyboard());
}

TEST_F(KeysSpanTest, ADragChoosesASpanAClickOutsideRemovesIt) {
    // Without the mode a drag chooses nothing.
    Drag(100, 300);
    EXPECT_FALSE(plot->HasSpan());
    EXPECT_TRUE(spanEvents.empty());

    plot->SetSpanMode(true);
    const double left = DataX(100), right = DataX(300);
    Drag(300, 100);  // right to left
    ASSERT_TRUE(plot->HasSpan());
    EXPECT_NEAR(plot->GetSpanFrom(), left, 1e-9);
    EXPECT_NEAR(plot->GetSpanTo(), right, 1e-9);
    ASSERT_FALSE(spanEvents.empty());
    EXPECT_EQ(spanEvents.back(), 1);
    // A drag step moves no box while a span is chosen.
    EXPECT_EQ(plot->GetLeftDragDX(), 0);

    // A click inside keeps it, one outside removes it; a press that hardly moves is a click.
    spanEvents.clear();
    Drag(200, 201);
    EXPECT_TRUE(plot->HasSpan());
    EXPECT_TRUE(spanEvents.empty());
    Drag(400, 400);
    EXPECT_FALSE(plot->HasSpan());
    EXPECT_EQ(spanEvents, std::vector<int>{0});

    // Leaving the mode removes the span.
    Drag(150, 250);
    ASSERT_TRUE(plot->HasSpan());
    plot->SetSpanMode(false);
    EXPECT_FALSE(plot->HasSpan());
    EXPECT_EQ(spanEvents.back(), 0);
}

TEST_F(KeysSpanTest, ADragStartingOnTheTextBoxMovesItInsteadOfChoosingASpan) {
    mpInfoTextBox box(200, 20, 40, 40, *wxTRANSPARENT_BRUSH);
    box.SetText(U8("Notiz"));
    plot->AttachLayer(&box);
    plot->SetSpanMode(true);
    plot->SnapshotBitmap();  // drawn once: the box has its size
    const wxRect before = box.GetRect();
    const wxSize client = plot->GetClientSize();
    const int x = client.x / 2 + before.x + 5, y = client.y / 2 + before.y + 5;
    Mouse(wxEVT_LEFT_DOWN, x, y, true);
    Mouse(wxEVT_MOTION, x + 40, y + 10, true);
    plot->SnapshotBitmap();  // the paint that moves it
    Mouse(wxEVT_LEFT_UP, x + 40, y + 10, false);
    EXPECT_FALSE(plot->HasSpan());
    EXPECT_EQ(box.GetRect().x, before.x + 40);
    EXPECT_EQ(box.GetRect().y, before.y + 10);
    plot->DetachLayer(1);
}
