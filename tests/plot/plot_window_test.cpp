#include "support/gui_testing.h"

#include "app/command_ids.h"
#include "plot/layers.h"
#include "plot/plot_events.h"
#include "plot/plot_window.h"
#include "plot/scales.h"

#include <wx/dcmemory.h>
#include <wx/frame.h>
#include <wx/image.h>

#include <gtk/gtk.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <random>
#include <string>
#include <vector>

namespace {

std::string S(const wxString& s) {
    return s.utf8_string();
}

// The popup menu blocks while it is open; the test window counts instead.
class TestPlotWindow : public mpWindow {
public:
    using mpWindow::mpWindow;
    std::vector<wxPoint> popups;

protected:
    void ShowPopup(int x, int y) override { popups.emplace_back(x, y); }
};

struct MeasureEvent {
    std::string text;
    int which;
    wxObject* series;
};

// The frame receives the layers' events as the main window does, through its event table.
class PlotFrame : public wxFrame {
public:
    PlotFrame() : wxFrame(nullptr, wxID_ANY, U8("Plot"), wxDefaultPosition, wxSize(700, 400)) {}
    std::vector<MeasureEvent> measures;
    std::vector<wxObject*> textBoxes;

private:
    void OnMeasure(wxCommandEvent& e) {
        measures.push_back({S(e.GetString()), e.GetInt(), e.GetEventObject()});
    }
    void OnTextBox(wxCommandEvent& e) { textBoxes.push_back(e.GetEventObject()); }
    wxDECLARE_EVENT_TABLE();
};

// clang-format off
wxBEGIN_EVENT_TABLE(PlotFrame, wxFrame)
    EVT_PLOT_MEASURE(PlotFrame::OnMeasure)
    EVT_PLOT_TEXTBOX(PlotFrame::OnTextBox)
wxEND_EVENT_TABLE()
    // clang-format on

    // A layer with a fixed extent that notes when it draws.
    class NoteLayer : public mpLayer {
public:
    NoteLayer(std::string tag, std::vector<std::string>* log, bool bounds = false, double minX = 0,
              double maxX = 0, double minY = 0, double maxY = 0)
        : mpLayer(LayerKind::PrimarySeries),
          tag(std::move(tag)),
          log(log),
          bounds(bounds),
          minX(minX),
          maxX(maxX),
          minY(minY),
          maxY(maxY) {}
    bool HasBounds() const override { return bounds; }
    double MinX() const override { return minX; }
    double MaxX() const override { return maxX; }
    double MinY() const override { return minY; }
    double MaxY() const override { return maxY; }
    void Draw(wxDC&, mpWindow&) override {
        if (log)
            log->push_back(tag);
    }

private:
    std::string tag;
    std::vector<std::string>* log;
    bool bounds;
    double minX, maxX, minY, maxY;
};

class PlotWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        frame = new PlotFrame;
        plot = new TestPlotWindow(frame, wxID_ANY, wxDefaultPosition, wxSize(600, 300), wxSUNKEN_BORDER);
        frame->SetClientSize(600, 300);
        frame->Show();
        PumpUntil([this] { return plot->GetClientSize().x > 500; });
    }
    void TearDown() override { DestroyNow(frame); }

    void Paint() {
        const long before = plot->GetPaintCount();
        plot->Refresh(false);
        plot->Update();
        ASSERT_TRUE(PumpUntil([&] { return plot->GetPaintCount() > before; }));
    }

    void Mouse(wxEventType type, int x, int y, bool left = false, bool right = false) {
        wxMouseEvent e(type);
        e.m_x = x;
        e.m_y = y;
        e.m_leftDown = left;
        e.m_rightDown = right;
        e.SetEventObject(plot);
        plot->GetEventHandler()->ProcessEvent(e);
    }

    void Wheel(int rotation, bool ctrl, bool shift = false) {
        wxMouseEvent e(wxEVT_MOUSEWHEEL);
        e.m_wheelRotation = rotation;
        e.m_wheelDelta = 120;
        e.m_controlDown = ctrl;
        e.m_shiftDown = shift;
        e.SetEventObject(plot);
        plot->GetEventHandler()->ProcessEvent(e);
    }

    void Command(int id) {
        wxCommandEvent e(wxEVT_MENU, id);
        e.SetEventObject(plot);
        plot->GetEventHandler()->ProcessEvent(e);
    }

    // Where the chart as drawn has ink of a colour (blue or red), from a row down: its bounding
    // box, empty when there is none. What the view does is read from the picture, not from its
    // formulas.
    wxRect Ink(const wxColour& colour, int fromRow = 0) {
        const wxImage image = plot->SnapshotBitmap().ConvertToImage();
        int x0 = INT_MAX, y0 = INT_MAX, x1 = -1, y1 = -1;
        for (int y = fromRow; y < image.GetHeight(); ++y)
            for (int x = 0; x < image.GetWidth(); ++x) {
                const bool inked = std::abs(image.GetRed(x, y) - colour.Red()) < 60 &&
                                   std::abs(image.GetGreen(x, y) - colour.Green()) < 60 &&
                                   std::abs(image.GetBlue(x, y) - colour.Blue()) < 60;
                if (inked) {
                    x0 = std::min(x0, x), y0 = std::min(y0, y), x1 = std::max(x1, x), y1 = std::max(y1, y);
                }
            }
        return x1 < 0 ? wxRect() : wxRect(wxPoint(x0, y0), wxPoint(x1, y1));
    }
    // A dot of a colour at a data point: a mark whose ink shows where the view puts it.
    template <typename Series>
    void Mark(Series& series, double x, double y, const wxColour& colour) {
        series.SetData({static_cast<float>(x)}, {static_cast<float>(y)});
        series.SetPen(wxPen(colour, 1, wxPENSTYLE_SOLID));
        series.SetContinuity(false);
        plot->AttachLayer(&series);
    }

    PlotFrame* frame = nullptr;
    TestPlotWindow* plot = nullptr;
};

}  // namespace

TEST_F(PlotWindowTest, ConstructionAndPopupMenu) {
    EXPECT_EQ(S(plot->GetName()), "mathplot");
    EXPECT_EQ(plot->GetBackgroundColour(), *wxWHITE);
    EXPECT_EQ(plot->GetMinSize(), wxSize(64, 64));
    wxMenu* menu = plot->GetPopupMenu();
    ASSERT_EQ(menu->GetMenuItemCount(), 4u);
    const struct {
        int id;
        const char *label, *help;
    } entries[] = {{ID_PLOT_CENTRE, "Zentrieren", "Diagramm zu dieser Position zentrieren"},
                   {ID_PLOT_FIT, "Passend ", "Alles anzeigen"},
                   {ID_PLOT_ZOOM_IN, "Vergrößern", "Diagramm vergrößern"},
                   {ID_PLOT_ZOOM_OUT, "Verkleinern", "Diagramm verkleinern"}};
    for (size_t i = 0; i < 4; ++i) {
        const wxMenuItem* item = menu->FindItemByPosition(i);
        EXPECT_EQ(item->GetId(), entries[i].id);
        EXPECT_EQ(S(item->GetItemLabel()), entries[i].label);
        EXPECT_EQ(S(item->GetHelp()), entries[i].help);
    }
    // The help box and the aspect lock only answer their commands.
    wxTEST_DIALOG(Command(ID_PLOT_HELP),
                  ExpectMessage(wxID_OK, U8("Unterstützte Mausbefehle"), U8("Diagramm Hilfe")));
    Command(ID_PLOT_LOCK_ASPECT);
    EXPECT_TRUE(plot->GetAspectLock());
    Command(ID_PLOT_LOCK_ASPECT);
    EXPECT_FALSE(plot->GetAspectLock());
}

TEST_F(PlotWindowTest, ExtentAndFit) {
    // No layer: nothing changes.
    plot->Fit();
    EXPECT_EQ(plot->GetScaleX(), 1.0);
    EXPECT_EQ(plot->GetScaleY(), 1.0);
    EXPECT_EQ(plot->GetCentreX(), 150.0);
    EXPECT_EQ(plot->GetCentreY(), 100.0);
    Paint();

    // The first layer with bounds sets the extent, the last further one the secondary y extent;
    // layers without bounds do not count.
    NoteLayer axis("axis", nullptr, false);
    // Series so long that their half-sample padding is no pixel: a diagonal from (0, 0) to
    // (10000, 10000), on the secondary axis a rise from 0 to 10000 over x 5 to 6.
    mpFXYVector primary;
    primary.SetData({0, 10000}, {0, 10000});
    primary.SetPen(wxPen(*wxBLUE, 1, wxPENSTYLE_SOLID));
    primary.SetContinuity(true);
    NoteLayer middle("m", nullptr, true, -1000, 1000, -50, 50);
    mpFXYVectorVext secondary;
    secondary.SetData({5, 6}, {0, 10000});
    secondary.SetPen(wxPen(*wxRED, 1, wxPENSTYLE_SOLID));
    secondary.SetContinuity(true);
    plot->AttachLayer(&axis);
    plot->AttachLayer(&primary);
    plot->AttachLayer(&middle);
    plot->AttachLayer(&secondary);
    plot->SetBottomMargin(45);
    plot->Fit();
    EXPECT_EQ(plot->GetBoundMinX(), -0.5);
    EXPECT_EQ(plot->GetBoundMaxX(), 10000.5);
    EXPECT_EQ(plot->GetBoundMinY2(), -0.5);
    EXPECT_EQ(plot->GetBoundMaxY2(), 10000.5);
    // The data fills the window less 50 px left and right and the margin above and below; the
    // secondary series fills the same height on its own axis. (The legend strokes of the two
    // lines lie above the margin; the clip at the margin takes a pixel or two from the end of a
    // slanting line.)
    const wxSize client = plot->GetClientSize();
    const wxRect blue = Ink(*wxBLUE, 40), red = Ink(*wxRED, 40);
    EXPECT_NEAR(blue.GetLeft(), 50, 3);
    EXPECT_NEAR(blue.GetRight(), client.x - 50, 3);
    EXPECT_NEAR(blue.GetTop(), 45, 3);
    EXPECT_NEAR(blue.GetBottom(), client.y - 45, 3);
    EXPECT_NEAR(red.GetTop(), 45, 3);
    EXPECT_NEAR(red.GetBottom(), client.y - 45, 3);

    // A single x value: x scale and centre keep their values.
    for (int key = 0; key < 4; ++key)
        plot->DetachLayer(key);
    NoteLayer point("pt", nullptr, true, 7, 7, 0, 10);
    plot->AttachLayer(&point);
    const double scaleX = plot->GetScaleX(), centreX = plot->GetCentreX();
    plot->Fit();
    EXPECT_EQ(plot->GetScaleX(), scaleX);
    EXPECT_EQ(plot->GetCentreX(), centreX);
    EXPECT_DOUBLE_EQ(plot->GetCentreY(), 5);
}

TEST_F(PlotWindowTest, KeysRestartAfterDetachingAll) {
    std::vector<std::string> log;
    std::vector<std::unique_ptr<NoteLayer>> first, second;
    EXPECT_FALSE(plot->AttachLayer(nullptr));
    for (int i = 0; i < 9; ++i) {
        first.push_back(std::make_unique<NoteLayer>("a" + std::to_string(i), &log));
        ASSERT_TRUE(plot->AttachLayer(first.back().get()));
    }
    EXPECT_EQ(plot->LayerCount(), 9);
    for (int key = 0; key <= 8; ++key)
        EXPECT_TRUE(plot->DetachLayer(key));
    EXPECT_EQ(plot->LayerCount(), 0);
    EXPECT_TRUE(plot->DetachLayer(3));  // absent: nothing changes
    for (const char* tag : {"c", "a", "b"}) {
        second.push_back(std::make_unique<NoteLayer>(tag, &log));
        plot->AttachLayer(second.back().get());
    }
    EXPECT_EQ(plot->LayerAt(0), second[0].get());
    EXPECT_EQ(plot->LayerAt(2), second[2].get());
    EXPECT_EQ(plot->LayerAt(3), nullptr);
    EXPECT_EQ(plot->LayerAt(-1), nullptr);
    Paint();
    EXPECT_EQ(log, (std::vector<std::string>{"c", "a", "b"}));

    // With a gap in the keys a new layer never takes the key of one still attached.
    plot->DetachLayer(0);
    NoteLayer late("d", &log);
    plot->AttachLayer(&late);
    EXPECT_EQ(plot->LayerCount(), 3);
    log.clear();
    Paint();
    EXPECT_EQ(log, (std::vector<std::string>{"a", "b", "d"}));
}

TEST_F(PlotWindowTest, RightClickMenuAndRightDragPan) {
    plot->SetScaleX(2);
    plot->SetScaleY(4);
    plot->SetScaleY2(8);
    mpFXYVector mark;
    mpFXYVectorVext secondaryMark;
    Mark(mark, 160, 90, *wxBLUE);
    Mark(secondaryMark, 160, plot->GetCentreY2() + 5, *wxRED);

    // A click without movement opens the menu where it happened.
    Mouse(wxEVT_RIGHT_DOWN, 100, 80, false, true);
    Mouse(wxEVT_RIGHT_UP, 100, 80);
    ASSERT_EQ(plot->popups.size(), 1u);
    EXPECT_EQ(plot->popups[0], wxPoint(100, 80));

    // A drag pans with the pointer and opens no menu.
    const wxRect before = Ink(*wxBLUE), before2 = Ink(*wxRED);
    ASSERT_FALSE(before.IsEmpty());
    ASSERT_FALSE(before2.IsEmpty());
    Mouse(wxEVT_RIGHT_DOWN, 100, 80, false, true);
    Mouse(wxEVT_MOTION, 110, 75, false, true);
    Mouse(wxEVT_MOTION, 130, 70, false, true);
    Mouse(wxEVT_RIGHT_UP, 130, 70);
    EXPECT_EQ(plot->popups.size(), 1u);
    // The content of both axes followed the pointer.
    EXPECT_EQ(Ink(*wxBLUE).GetTopLeft(), before.GetTopLeft() + wxPoint(30, -10));
    EXPECT_EQ(Ink(*wxRED).GetTopLeft(), before2.GetTopLeft() + wxPoint(30, -10));

    // The middle button opens the menu unless the last right press was dragged.
    Mouse(wxEVT_MIDDLE_UP, 50, 50);
    EXPECT_EQ(plot->popups.size(), 1u);
    Mouse(wxEVT_RIGHT_DOWN, 60, 60, false, true);
    Mouse(wxEVT_RIGHT_UP, 60, 60);
    Mouse(wxEVT_MIDDLE_UP, 250, 120);
    ASSERT_EQ(plot->popups.size(), 3u);
    EXPECT_EQ(plot->popups[2], wxPoint(250, 120));

    // "Zentrieren" moves the clicked point to the centre: the content moves with it.
    const wxSize client = plot->GetClientSize();
    const wxRect uncentred = Ink(*wxBLUE);
    Command(ID_PLOT_CENTRE);
    EXPECT_EQ(Ink(*wxBLUE).GetTopLeft(),
              uncentred.GetTopLeft() + wxPoint(client.x / 2 - 250, client.y / 2 - 120));
    // "Vergrößern" and "Verkleinern" zoom by a tenth.
    Command(ID_PLOT_ZOOM_IN);
    EXPECT_DOUBLE_EQ(plot->GetScaleX(), 2 * 1.1);
    Command(ID_PLOT_ZOOM_OUT);
    EXPECT_DOUBLE_EQ(plot->GetScaleX(), 2 * 1.1 / 1.1);
}

TEST_F(PlotWindowTest, WheelZoomsAndScrolls) {
    plot->SetScaleX(3);
    plot->SetScaleY(5);
    plot->SetScaleY2(7);
    Wheel(120, true);
    EXPECT_EQ(plot->GetScaleX(), 3 * 1.1);
    EXPECT_EQ(plot->GetScaleY(), 5 * 1.1);
    EXPECT_EQ(plot->GetScaleY2(), 7);
    Wheel(-120, true);
    EXPECT_EQ(plot->GetScaleX(), 3 * 1.1 / 1.1);
    EXPECT_EQ(plot->GetScaleY2(), 7);

    // The wheel scrolls the content by its turn in pixels: with Shift sideways, without up and down.
    plot->SetScaleX(3);
    plot->SetScaleY(5);
    mpFXYVector mark;
    Mark(mark, plot->GetCentreX() - 30, plot->GetCentreY() - 20, *wxBLUE);
    const wxRect before = Ink(*wxBLUE);
    ASSERT_FALSE(before.IsEmpty());
    Wheel(120, false, true);
    EXPECT_EQ(Ink(*wxBLUE).GetTopLeft(), before.GetTopLeft() + wxPoint(120, 0));
    Wheel(-120, false);
    EXPECT_EQ(Ink(*wxBLUE).GetTopLeft(), before.GetTopLeft() + wxPoint(120, -120));
}

namespace {

// Whether the toolkit shows the window's scrollbar of that orientation.
bool BarShown(wxWindow* window, int orient) {
    GtkScrolledWindow* sw = GTK_SCROLLED_WINDOW(window->GetHandle());
    GtkWidget* bar = orient == wxHORIZONTAL ? gtk_scrolled_window_get_hscrollbar(sw)
                                            : gtk_scrolled_window_get_vscrollbar(sw);
    return bar && gtk_widget_get_mapped(bar) && gtk_widget_get_child_visible(bar) &&
           gtk_widget_get_allocated_width(bar) > 1 && gtk_widget_get_allocated_height(bar) > 1;
}

}  // namespace

TEST_F(PlotWindowTest, ScrollbarsWhileZoomedIn) {
    NoteLayer data("data", nullptr, true, 0, 100, 0, 50);
    plot->AttachLayer(&data);
    plot->Fit();
    PumpEvents();
    EXPECT_FALSE(BarShown(plot, wxHORIZONTAL));
    EXPECT_FALSE(BarShown(plot, wxVERTICAL));

    // Zoomed in, both bars show: one unit a pixel over the extent, the thumb where the view is.
    for (int i = 0; i < 8; ++i)
        plot->ZoomIn();
    ASSERT_TRUE(PumpUntil([&] { return BarShown(plot, wxHORIZONTAL) && BarShown(plot, wxVERTICAL); }));
    plot->RefreshView();
    PumpEvents();
    wxSize client = plot->GetClientSize();
    EXPECT_EQ(plot->GetScrollRange(wxHORIZONTAL), static_cast<int>(100 * plot->GetScaleX()));
    EXPECT_EQ(plot->GetScrollRange(wxVERTICAL), static_cast<int>(50 * plot->GetScaleY()));
    EXPECT_EQ(plot->GetScrollPos(wxHORIZONTAL),
              static_cast<int>(plot->GetCentreX() * plot->GetScaleX() - client.x / 2));
    EXPECT_EQ(plot->GetScrollPos(wxVERTICAL),
              static_cast<int>((50 - plot->GetCentreY()) * plot->GetScaleY() - client.y / 2));

    // Dragging a thumb pans to where it is; a step on a bar pans by one pixel.
    const auto scroll = [this](wxEventType type, int position, int orient) {
        wxScrollWinEvent e(type, position, orient);
        e.SetEventObject(plot);
        plot->GetEventHandler()->ProcessEvent(e);
    };
    scroll(wxEVT_SCROLLWIN_THUMBTRACK, 40, wxHORIZONTAL);
    EXPECT_DOUBLE_EQ(plot->GetCentreX(), (client.x / 2 + 40) / plot->GetScaleX());
    scroll(wxEVT_SCROLLWIN_THUMBRELEASE, 25, wxVERTICAL);
    EXPECT_DOUBLE_EQ(plot->GetCentreY(), 50 - (client.y / 2 + 25) / plot->GetScaleY());
    const int before = plot->GetScrollPos(wxVERTICAL);
    scroll(wxEVT_SCROLLWIN_LINEDOWN, 0, wxVERTICAL);
    EXPECT_EQ(plot->GetScrollPos(wxVERTICAL), before + 1);
    EXPECT_DOUBLE_EQ(plot->GetCentreY(), 50 - (client.y / 2 + before + 1) / plot->GetScaleY());
    const double x = plot->GetCentreX();
    scroll(wxEVT_SCROLLWIN_LINEUP, 0, wxHORIZONTAL);
    EXPECT_DOUBLE_EQ(plot->GetCentreX(), x - 1 / plot->GetScaleX());

    // A fit shows everything again, and the bars go; the margins are those of the window without
    // them: 50 pixels left and right, the bottom margin above and below.
    plot->Fit();
    EXPECT_TRUE(PumpUntil([&] { return !BarShown(plot, wxHORIZONTAL) && !BarShown(plot, wxVERTICAL); }));
    client = plot->GetClientSize();
    EXPECT_NEAR((0 - plot->GetCentreX()) * plot->GetScaleX() + client.x / 2.0, 50, 0.5);
    EXPECT_NEAR((100 - plot->GetCentreX()) * plot->GetScaleX() + client.x / 2.0, client.x - 50, 0.5);
    EXPECT_NEAR((plot->GetCentreY() - 50) * plot->GetScaleY() + client.y / 2.0, plot->GetBottomMargin(), 0.5);
    plot->DetachLayer(0);
    // Nothing attached: no bars left from the zoom.
    for (int i = 0; i < 8; ++i)
        plot->ZoomIn();
    plot->AttachLayer(&data);
    ASSERT_TRUE(PumpUntil([&] { return BarShown(plot, wxHORIZONTAL); }));
    plot->DetachLayer(0);
    EXPECT_TRUE(PumpUntil([&] { return !BarShown(plot, wxHORIZONTAL) && !BarShown(plot, wxVERTICAL); }));
}

TEST_F(PlotWindowTest, ScrollbarsOfADeepZoomIntoALongRecord) {
    // 10^7 samples at 100 ms, zoomed to two samples across the window: billions of pixels wide.
    NoteLayer data("data", nullptr, true, 0, 1e6, 0, 50);
    plot->AttachLayer(&data);
    plot->Fit();
    PumpEvents();
    const double scale = plot->GetClientSize().x / 0.2;
    plot->SetScaleX(scale);
    for (double centre : {0.1, 250000.05, 999999.9}) {
        SCOPED_TRACE(centre);
        plot->SetCentreX(centre);
        plot->RefreshView();
        ASSERT_TRUE(PumpUntil([&] { return BarShown(plot, wxHORIZONTAL); }));
        plot->RefreshView();
        const int client = plot->GetClientSize().x;
        const int range = plot->GetScrollRange(wxHORIZONTAL), last = range - client;
        ASSERT_GT(range, client);
        // The thumb sits where the view lies in the record, to within a unit.
        const double share = (centre * scale - client / 2.0) / (1e6 * scale - client);
        EXPECT_NEAR(plot->GetScrollPos(wxHORIZONTAL), std::clamp(share, 0.0, 1.0) * last, 1.0);
    }
    const auto scroll = [this](wxEventType type, int position = 0) {
        wxScrollWinEvent e(type, position, wxHORIZONTAL);
        e.SetEventObject(plot);
        plot->GetEventHandler()->ProcessEvent(e);
    };
    const int client = plot->GetClientSize().x;
    const double unit = 1e6 * scale / (plot->GetScrollRange(wxHORIZONTAL) - client);
    ASSERT_GT(unit, 1.5);  // more than a pixel a unit
    // A step is a unit, a page the window's width: the view moves by that, not elsewhere.
    plot->SetCentreX(250000.05);
    plot->RefreshView();
    double before = plot->GetCentreX();
    scroll(wxEVT_SCROLLWIN_LINEDOWN);
    EXPECT_NEAR((plot->GetCentreX() - before) * scale, unit, 2.0);
    before = plot->GetCentreX();
    scroll(wxEVT_SCROLLWIN_PAGEUP);
    EXPECT_NEAR((before - plot->GetCentreX()) * scale, client, unit + 1);
    // The thumb dragged to the end shows the record's end at the window's right edge, and to the
    // start its start at the left edge.
    scroll(wxEVT_SCROLLWIN_THUMBRELEASE, plot->GetScrollRange(wxHORIZONTAL) - client);
    EXPECT_NEAR((1e6 - plot->GetCentreX()) * scale, client / 2.0, unit + 1);
    scroll(wxEVT_SCROLLWIN_TOP);
    EXPECT_NEAR(plot->GetCentreX() * scale, client / 2.0, 1.0);
    EXPECT_EQ(plot->GetScrollPos(wxHORIZONTAL), 0);
    plot->DetachLayer(0);
    // An empty chart has nothing to scroll through.
    EXPECT_TRUE(PumpUntil([&] { return !BarShown(plot, wxHORIZONTAL) && !BarShown(plot, wxVERTICAL); }));
}

namespace {

// A flow series with volumes as extra values, on a 10 px per unit view.
struct MeasureFixture {
    mpFXYVector flow;
    mpFXYVectorVext pressure;
    mpInfoLegend legend{200, 20, 40, 40, *wxTRANSPARENT_BRUSH};

    MeasureFixture() {
        flow.SetDataWithExtra({0, 10, 20, 30}, {29.99f, 30, 12, 3}, {0, 5, 0, 7.5f}, 0);
        flow.SetValuePrefix1(U8("Durchfluss"));
        flow.SetValueSuffix1(U8("l/min"));
        flow.SetValuePrefix2(U8("Volumen"));
        flow.SetValueSuffix2(U8("l"));
        flow.SetContinuity(true);
        pressure.SetData({0, 10, 20, 30}, {1.5f, 2.5f, 3.5f, 4.5f});
        pressure.SetValuePrefix1(U8("Druck"));
        pressure.SetValueSuffix1(U8("bar"));
    }
};

std::vector<std::string> RowTexts(const mpWindow& window) {
    std::vector<std::string> texts;
    for (const mpInfoLegend::Row& row : mpInfoLegend::Rows(window))
        texts.push_back(S(row.text));
    return texts;
}

}  // namespace

TEST_F(PlotWindowTest, MeasuringCursors) {
    MeasureFixture m;
    plot->AttachLayer(&m.flow);
    plot->AttachLayer(&m.pressure);
    plot->AttachLayer(&m.legend);
    plot->SetScaleX(10);
    plot->SetCentreX(15);
    plot->SetScaleY(5);
    plot->SetCentreY(15);
    plot->SetScaleY2(20);
    plot->SetCentreY2(3);
    Paint();
    EXPECT_TRUE(frame->measures.empty());
    EXPECT_FALSE(m.flow.HasMarker());

    // Mode 1: a click half-way between the samples at 0 and 10 measures the one at 0.
    plot->SetMeasureMode1(true);
    const int W = plot->GetPlotWidth();
    Mouse(wxEVT_LEFT_DOWN, W / 2 - 100, 40, true);
    Paint();
    ASSERT_EQ(frame->measures.size(), 1u);
    EXPECT_EQ(frame->measures[0].text, "0.000000 29.990000");
    EXPECT_EQ(frame->measures[0].which, 1);
    EXPECT_EQ(frame->measures[0].series, &m.flow);
    EXPECT_TRUE(m.flow.HasMarker());
    EXPECT_FALSE(m.pressure.HasMarker());  // the secondary series only in mode 2
    EXPECT_EQ(RowTexts(*plot), (std::vector<std::string>{"Durchfluss 29.99 l/min"}));  // extra 0: one row

    // A sample with a positive extra value: two rows; 30 without decimals.
    Mouse(wxEVT_LEFT_DOWN, W / 2 - 50 + 1, 40, true);
    frame->measures.clear();
    Paint();
    ASSERT_EQ(frame->measures.size(), 1u);
    EXPECT_EQ(frame->measures[0].text, "10.000000 30.000000");
    EXPECT_EQ(RowTexts(*plot), (std::vector<std::string>{"Durchfluss 30 l/min", "Volumen 5.00 l"}));

    // Mode 2 measures the secondary series only, "y " with int 2.
    plot->SetMeasureMode1(false);
    plot->SetMeasureMode2(true);
    frame->measures.clear();
    Mouse(wxEVT_LEFT_DOWN, W / 2 + 149, 40, true);
    Paint();
    ASSERT_EQ(frame->measures.size(), 1u);
    EXPECT_EQ(frame->measures[0].text, "4.500000 ");  // the sample at 30, nearest to x = 29.9
    EXPECT_EQ(frame->measures[0].which, 2);
    EXPECT_EQ(frame->measures[0].series, &m.pressure);
    EXPECT_DOUBLE_EQ(m.pressure.GetMarkerValue1(), 4.5);

    // Markers stay, unmeasured, until cleared; an invisible series has no legend row.
    plot->SetMeasureMode2(false);
    frame->measures.clear();
    Paint();
    EXPECT_TRUE(frame->measures.empty());
    EXPECT_TRUE(m.flow.HasMarker());
    EXPECT_TRUE(m.pressure.HasMarker());
    EXPECT_EQ(RowTexts(*plot),
              (std::vector<std::string>{"Durchfluss 30 l/min", "Volumen 5.00 l", "Druck 4.50 bar"}));
    m.pressure.SetVisible(false);
    EXPECT_EQ(RowTexts(*plot), (std::vector<std::string>{"Durchfluss 30 l/min", "Volumen 5.00 l"}));
    m.flow.ClearMarker();
    EXPECT_TRUE(RowTexts(*plot).empty());
}

TEST_F(PlotWindowTest, MeasuringReadsTheSampleNotTheClick) {
    // Nearest samples with ties to the lower index, on an uneven series; a reference line is
    // never measured.
    mpFXYVector series, target;
    series.SetData({0, 1, 3, 3, 7}, {10, 11, 13, 14, 17});
    target.SetData({0, 7}, {5, 5});
    target.SetAuxiliaryLine(true);
    plot->AttachLayer(&series);
    plot->AttachLayer(&target);
    plot->SetScaleX(20);
    plot->SetCentreX(0);
    plot->SetMeasureMode1(true);
    Paint();
    const int W = plot->GetPlotWidth();
    const struct {
        int dx;  // pixels right of the centre: x = dx / 20
        const char* text;
    } cases[] = {{10, "0.000000 10.000000"}, {40, "1.000000 11.000000"},  {41, "3.000000 13.000000"},
                 {60, "3.000000 13.000000"}, {100, "3.000000 13.000000"}, {101, "7.000000 17.000000"}};
    for (const auto& c : cases) {
        frame->measures.clear();
        Mouse(wxEVT_LEFT_DOWN, W / 2 + c.dx, 10, true);
        Paint();
        ASSERT_EQ(frame->measures.size(), 1u) << c.dx;
        EXPECT_EQ(frame->measures[0].text, c.text) << c.dx;
    }
    EXPECT_FALSE(target.HasMarker());
}

TEST_F(PlotWindowTest, BoxesFollowDragsAndResizing) {
    mpInfoTextBox box(200, 20, 40, 40, *wxTRANSPARENT_BRUSH);
    box.SetText(U8("Hallo\nWelt"));
    frame->textBoxes.clear();
    const long paintsBefore = plot->GetPaintCount();
    plot->AttachLayer(&box);
    Paint();
    // One report of the box per paint (the window system may add a paint of its own).
    EXPECT_GE(frame->textBoxes.size(), 1u);
    EXPECT_EQ(frame->textBoxes.size(), static_cast<std::size_t>(plot->GetPaintCount() - paintsBefore));
    const wxRect start = box.GetRect();
    EXPECT_EQ(start.GetPosition(), wxPoint(-50, -50));
    EXPECT_GT(start.height, 20);

    // Press on the box, move by (+15, +7) in two steps before one paint: the box follows once.
    const int W = plot->GetPlotWidth(), H = plot->GetPlotHeight();
    const wxPoint grab(W / 2 + start.x + 5, H / 2 + start.y + 5);
    Mouse(wxEVT_LEFT_DOWN, grab.x, grab.y, true);
    Mouse(wxEVT_MOTION, grab.x + 10, grab.y + 3, true);
    Mouse(wxEVT_MOTION, grab.x + 15, grab.y + 7, true);
    Paint();
    EXPECT_EQ(box.GetRect().GetPosition(), start.GetPosition() + wxPoint(15, 7));
    EXPECT_EQ(plot->GetLeftDragDX(), 0);
    EXPECT_EQ(plot->GetTextBoxAnchorX(), start.x + 15);
    Paint();  // no movement, pointer still on the box
    EXPECT_EQ(box.GetRect().GetPosition(), start.GetPosition() + wxPoint(15, 7));

    // A drag elsewhere leaves it.
    Mouse(wxEVT_LEFT_DOWN, 5, 5, true);
    Mouse(wxEVT_MOTION, 25, 25, true);
    Paint();
    EXPECT_EQ(box.GetRect().GetPosition(), start.GetPosition() + wxPoint(15, 7));

    // Resizing the window moves the box by the same factor.
    const wxPoint at = box.GetRect().GetPosition();
    frame->SetClientSize(1200, 600);
    ASSERT_TRUE(PumpUntil([&] { return plot->GetClientSize().x > 1100; }));
    Paint();
    const int W2 = plot->GetPlotWidth(), H2 = plot->GetPlotHeight();
    EXPECT_EQ(box.GetRect().GetPosition(), wxPoint(W2 * at.x / W, H2 * at.y / H));

    // SetTextBoxPosition clamps to the window.
    box.SetTextBoxPosition(*plot, 5000, -5000);
    EXPECT_EQ(box.GetRect().GetPosition(), wxPoint(W2 / 2, -(H2 / 2)));
}

TEST_F(PlotWindowTest, EmptyTextBoxDrawsAndSendsNothing) {
    mpInfoTextBox box(200, 20, 40, 40, *wxTRANSPARENT_BRUSH);
    mpFXYVector series;
    series.SetData({0, 100}, {0, 10});
    series.SetContinuity(true);
    plot->AttachLayer(&series);
    plot->Fit();
    const wxImage without = plot->SnapshotBitmap().ConvertToImage();
    plot->AttachLayer(&box);
    const wxImage with = plot->SnapshotBitmap().ConvertToImage();
    Paint();
    EXPECT_TRUE(frame->textBoxes.empty());
    ASSERT_EQ(with.GetSize(), plot->GetClientSize());
    EXPECT_EQ(0, memcmp(with.GetData(), without.GetData(), with.GetWidth() * with.GetHeight() * 3));

    box.SetText(U8("x"));
    const wxImage shown = plot->SnapshotBitmap().ConvertToImage();
    EXPECT_EQ(frame->textBoxes.size(), 1u);
    EXPECT_NE(0, memcmp(shown.GetData(), without.GetData(), with.GetWidth() * with.GetHeight() * 3));
}

TEST_F(PlotWindowTest, InvisibleSecondarySeriesIsStillDrawn) {
    mpFXYVector flow;
    mpFXYVectorVext pressure;
    flow.SetData({0, 100}, {0, 10});
    pressure.SetData({0, 50, 100}, {4, 1, 3});
    pressure.SetPen(wxPen(*wxRED, 2, wxPENSTYLE_SOLID));
    pressure.SetContinuity(true);
    plot->AttachLayer(&flow);
    plot->Fit();
    const wxImage alone = plot->SnapshotBitmap().ConvertToImage();
    plot->AttachLayer(&pressure);
    plot->Fit();
    pressure.SetVisible(false);
    const wxImage invisible = plot->SnapshotBitmap().ConvertToImage();
    ASSERT_EQ(alone.GetSize(), invisible.GetSize());
    EXPECT_NE(0, memcmp(alone.GetData(), invisible.GetData(), alone.GetWidth() * alone.GetHeight() * 3));
    // The primary series hides when invisible.
    flow.SetVisible(false);
    plot->DetachLayer(1);
    const wxImage none = plot->SnapshotBitmap().ConvertToImage();
    const unsigned char* p = none.GetData();
    EXPECT_TRUE(
        std::all_of(p, p + none.GetWidth() * none.GetHeight() * 3, [](unsigned char v) { return v == 255; }));
}

// What the display shows after each paint is the chart as drawn off screen (which the image
// export and the printout use), also after the view changed, and after the window grew.
TEST_F(PlotWindowTest, TheScreenShowsTheChartAfterEveryPaint) {
    mpScaleX timeAxis(U8("Zeit (h:m:s)"), 2, true, false);
    mpScaleY flowAxis(U8("Durchfluss (l/min)"), 2, true, false);
    mpFXYVector series;
    series.SetData({0, 20, 40, 60, 80, 100}, {0, 25, 5, 30, 12, 18});
    series.SetPen(wxPen(*wxBLUE, 2, wxPENSTYLE_SOLID));
    series.SetContinuity(true);
    for (mpLayer* layer : std::initializer_list<mpLayer*>{&timeAxis, &flowAxis, &series})
        plot->AttachLayer(layer);
    frame->Move(700, 650);  // off the places where other windows of the suite appear
    const auto shownAsDrawn = [&](const char* step) {
        SCOPED_TRACE(step);
        Paint();
        const wxImage drawn = plot->SnapshotBitmap().ConvertToImage();
        Paint();
        const wxImage screen = ScreenImageAfterPaint(plot, drawn);
        ASSERT_EQ(screen.GetSize(), plot->GetClientSize());
        // The screen alone frames the chart while it has the focus.
        const wxRect inside = wxRect(screen.GetSize()).Deflate(2);
        EXPECT_EQ(DifferingPixels(screen.GetSubImage(inside), drawn.GetSubImage(inside)), 0);
        int blue = 0;
        for (int y = 0; y < screen.GetHeight(); ++y)
            for (int x = 0; x < screen.GetWidth(); ++x)
                blue += screen.GetBlue(x, y) > 200 && screen.GetRed(x, y) < 80 && screen.GetGreen(x, y) < 80;
        EXPECT_GT(blue, 300) << "the series on screen";
    };
    plot->Fit();
    shownAsDrawn("fitted");
    plot->ZoomIn();
    plot->ZoomIn();
    shownAsDrawn("zoomed in");
    plot->Fit();
    frame->SetClientSize(800, 420);
    ASSERT_TRUE(PumpUntil([&] { return plot->GetClientSize().x > 700; }));
    plot->Fit();
    shownAsDrawn("larger");
}

TEST_F(PlotWindowTest, TimeAxisWithoutStartTimeUsesMargin35) {
    mpScaleX timeAxis(U8("Zeit (h:m:s)"), 2, true, false);
    mpScaleY flowAxis(U8("Durchfluss (l/min)"), 2, true, false);
    EXPECT_EQ(S(flowAxis.GetCaption()), "Durchfluss");
    plot->AttachLayer(&timeAxis);
    plot->AttachLayer(&flowAxis);
    plot->SetDateLabels(true);
    plot->SetBottomMargin(45);
    Paint();
    EXPECT_EQ(plot->GetBottomMargin(), 35);
    plot->SetBottomMargin(45);
    plot->SetStartTime(wxDateTime(1, wxDateTime::Jan, 2024, 8, 0, 0));
    Paint();
    EXPECT_EQ(plot->GetBottomMargin(), 45);
}

namespace {

int InkedPixels(const wxImage& a) {
    int count = 0;
    const unsigned char* p = a.GetData();
    for (int i = 0; i < a.GetWidth() * a.GetHeight(); ++i, p += 3)
        count += p[0] != 255 || p[1] != 255 || p[2] != 255;
    return count;
}

// How far each pixel of the picture lies from the same pixel of the picture without the series
// (the largest difference of a channel), row by row.
std::vector<int> InkOf(const wxImage& picture, const wxImage& without) {
    std::vector<int> ink(static_cast<std::size_t>(picture.GetWidth()) * picture.GetHeight());
    const unsigned char* p = picture.GetData();
    const unsigned char* q = without.GetData();
    for (std::size_t i = 0; i < ink.size(); ++i, p += 3, q += 3)
        ink[i] = std::max({std::abs(p[0] - q[0]), std::abs(p[1] - q[1]), std::abs(p[2] - q[2])});
    return ink;
}

// Pixels that one picture inks solidly (by half the scale or more) with no ink of the other (an
// eighth of the scale or more) on them or, with `reach` 1, on any of their eight neighbours.
int StrayInk(const std::vector<int>& inkA, const std::vector<int>& inkB, int w, int h, int reach) {
    int stray = 0;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            if (inkA[static_cast<std::size_t>(y) * w + x] < 128)
                continue;
            bool near = false;
            for (int ny = std::max(y - reach, 0); ny <= std::min(y + reach, h - 1) && !near; ++ny)
                for (int nx = std::max(x - reach, 0); nx <= std::min(x + reach, w - 1) && !near; ++nx)
                    near = inkB[static_cast<std::size_t>(ny) * w + nx] >= 32;
            stray += !near;
        }
    return stray;
}

// Every sample as it comes, each line (or dot) on its own through the DC, clipped only to what the
// drawing library holds; a sample that is not a number breaks the line.
class EverySample : public mpLayer {
public:
    EverySample(std::vector<float> xs, std::vector<float> ys, bool secondary, bool continuous, wxPen pen)
        : mpLayer(LayerKind::PrimarySeries),
          xs(std::move(xs)),
          ys(std::move(ys)),
          secondary(secondary),
          continuous(continuous),
          pen(pen) {}
    bool HasBounds() const override { return false; }  // the series drawn beside it keeps the view's
    void Draw(wxDC& dc, mpWindow& w) override {
        dc.SetPen(pen);
        const double cx = w.GetCentreX(), sx = w.GetScaleX();
        const double cy = secondary ? w.GetCentreY2() : w.GetCentreY(),
                     sy = secondary ? w.GetScaleY2() : w.GetScaleY();
        bool open = false;
        double lastX = 0, lastY = 0;
        for (std::size_t i = 0; i < xs.size(); ++i) {
            double px = std::trunc((xs[i] - cx) * sx), py = std::trunc((cy - ys[i]) * sy);
            if (std::isinf(px) && std::isfinite(xs[i]))
                px = std::copysign(1e300, px);
            if (std::isinf(py) && std::isfinite(ys[i]))
                py = std::copysign(1e300, py);
            if (!std::isfinite(px) || !std::isfinite(py)) {
                open = false;
                continue;
            }
            if (continuous) {
                double x1 = open ? lastX : px, y1 = open ? lastY : py, x2 = px, y2 = py;
                if (plotmath::ClipToDrawable(x1, y1, x2, y2))
                    dc.DrawLine(static_cast<int>(std::lround(x1)), static_cast<int>(std::lround(y1)),
                                static_cast<int>(std::lround(x2)), static_cast<int>(std::lround(y2)));
            } else if (plotmath::DrawablePoint(px, py)) {
                if (pen.GetWidth() > 1)
                    dc.DrawLine(static_cast<int>(px), static_cast<int>(py), static_cast<int>(px),
                                static_cast<int>(py));
                else
                    dc.DrawPoint(static_cast<int>(px), static_cast<int>(py));
            }
            lastX = px;
            lastY = py;
            open = true;
        }
    }

private:
    std::vector<float> xs, ys;
    bool secondary, continuous;
    wxPen pen;
};

}  // namespace

TEST_F(PlotWindowTest, LinesToFarPointsKeepTheirVisiblePart) {
    // A line from a sample in the view to one 10^6 to 10^22 pixels away looks the same (to a few
    // levels of anti-aliasing) as the line to a point just outside the window: the visible end and
    // the direction hold, on either axis, drawn the raster or the vector way.
    plot->SetScaleX(1);
    plot->SetScaleY(1);
    plot->SetCentreX(0);
    plot->SetCentreY(0);
    plot->SetScaleY2(1);
    plot->SetCentreY2(0);
    struct Direction {
        float dx, dy;
    };
    const Direction directions[] = {{1, 0}, {2, 1}, {-1, -3}, {-7, 1}};
    for (const Direction& dir : directions) {
        const float sx = -100, sy = 50;
        const float nearX = sx + 1000 * dir.dx, nearY = sy + 1000 * dir.dy;  // well outside
        for (double d : {1e6, 1e9, 1e12, 1e17, 1e22}) {
            SCOPED_TRACE(testing::Message() << "direction " << dir.dx << "," << dir.dy << " at " << d);
            const float k = static_cast<float>(d / std::hypot(dir.dx, dir.dy));
            for (bool secondary : {false, true}) {
                mpFXYVector primary;
                mpFXYVectorVext other;
                mpLayer& layer = secondary ? static_cast<mpLayer&>(other) : primary;
                layer.SetPen(wxPen(*wxBLUE, 2, wxPENSTYLE_SOLID));
                layer.SetContinuity(true);
                const auto setData = [&](float x, float y) {
                    if (secondary)
                        other.SetData({sx, x}, {sy, y});
                    else
                        primary.SetData({sx, x}, {sy, y});
                };
                plot->AttachLayer(&layer);
                for (bool raster : {true, false}) {
                    primary.SetRasterDrawing(raster);
                    other.SetRasterDrawing(raster);
                    setData(nearX, nearY);
                    const wxImage reference = plot->SnapshotBitmap().ConvertToImage();
                    ASSERT_GT(InkedPixels(reference), 200);
                    setData(sx + k * dir.dx, sy + k * dir.dy);
                    const wxImage far = plot->SnapshotBitmap().ConvertToImage();
                    EXPECT_EQ(DifferingPixels(far, reference, 8), 0)
                        << (secondary ? "secondary" : "primary") << (raster ? " raster" : " vector");
                }
                plot->DetachLayer(0);
            }
        }
    }
}

TEST_F(PlotWindowTest, CrossHairAndMarkerOfAFarSampleStayOutOfTheView) {
    // The measured sample lies 10^6 to 10^22 pixels above the view: the cross-hair's vertical line
    // is all that measuring adds to the picture (2^24 and 2^32 pixels wrap round to the middle of
    // the view in cairo's fixed-point numbers, if they get there).
    for (double far : {1e6, 16777216.0, 4294967296.0 + 3, 1e9, 1e15, 1e22}) {
        SCOPED_TRACE(far);
        mpFXYVector series;
        series.SetData({0, 10}, {0, static_cast<float>(far)});
        series.SetPen(wxPen(*wxBLUE, 2, wxPENSTYLE_SOLID));
        series.SetContinuity(true);
        plot->AttachLayer(&series);
        plot->SetScaleX(10);
        plot->SetCentreX(5);
        plot->SetScaleY(1);
        plot->SetCentreY(0);
        plot->RefreshView();
        PumpEvents();  // the scrollbars this view brings take their room first
        const wxImage before = plot->SnapshotBitmap().ConvertToImage();
        plot->SetMeasureMode1(true);
        const int W = plot->GetPlotWidth(), column = W / 2 + 60;  // nearest to x = 10
        Mouse(wxEVT_LEFT_DOWN, column, 40, true);
        const wxImage measured = plot->SnapshotBitmap().ConvertToImage();
        ASSERT_EQ(measured.GetSize(), before.GetSize());
        EXPECT_TRUE(series.HasMarker());
        EXPECT_DOUBLE_EQ(series.GetMarkerValue1(), static_cast<float>(far));
        int outside = 0, onLine = 0;
        for (int y = 0; y < measured.GetHeight(); ++y)
            for (int x = 0; x < measured.GetWidth(); ++x) {
                const bool differs = measured.GetRed(x, y) != before.GetRed(x, y) ||
                                     measured.GetGreen(x, y) != before.GetGreen(x, y) ||
                                     measured.GetBlue(x, y) != before.GetBlue(x, y);
                if (differs && std::abs(x - column) > 1)
                    ++outside;
                onLine += differs && std::abs(x - column) <= 1;
            }
        EXPECT_EQ(outside, 0);
        EXPECT_GT(onLine, measured.GetHeight() / 2);
        plot->SetMeasureMode1(false);
        plot->DetachLayer(0);
    }
}

TEST_F(PlotWindowTest, TheReducedDrawingShowsWhatDrawingEverySampleShows) {
    // Both ways of drawing the reduced series must show what drawing every sample one line (or
    // dot) at a time through the DC shows. The vector way strokes the same lines: the pixels in
    // which it differs from every sample are counted against the series' own ink (at most one in
    // 200), so a thin line on a large window cannot hide a fault. The raster way fills the lines'
    // pixel columns without anti-aliasing, and both ways dot a pixel once however many samples
    // fall on it, so these are held to the places: no pixel that one of the two inks solidly may
    // lie more than a pixel away from the other's ink. ZPM_PLOT_DUMP=1 prints every case.
    struct Case {
        const char* name;
        std::vector<float> xs, ys;
    };
    std::vector<Case> cases;
    {
        Case spike{"one-sample spike", {}, {}};
        for (int i = 0; i < 20000; ++i) {
            spike.xs.push_back(i * 0.1f);
            spike.ys.push_back(i == 12345 ? 80.f : 10.f + 0.5f * std::sin(i * 0.37f));
        }
        cases.push_back(spike);
        Case flat{"constant", {}, {}};
        for (int i = 0; i < 30000; ++i) {
            flat.xs.push_back(static_cast<float>(i));
            flat.ys.push_back(4.f);
        }
        cases.push_back(flat);
        Case uneven{"uneven time steps", {}, {}};
        float t = 0;
        for (int i = 0; i < 15000; ++i) {
            t += (i % 97 == 0) ? 25.f : 0.01f * static_cast<float>(1 + i % 5);
            uneven.xs.push_back(t);
            uneven.ys.push_back(std::fmod(i * 7.31f, 23.f));
        }
        cases.push_back(uneven);
        Case sparse{"fewer samples than columns", {0, 3, 4, 40, 41, 90}, {1, 9, 2, 7, 7, 3}};
        cases.push_back(sparse);
        cases.push_back(Case{"one sample", {5}, {3}});
        Case noise{"noise", {}, {}};
        unsigned seed = 1;
        for (int i = 0; i < 50000; ++i) {
            seed = seed * 1103515245u + 12345u;
            noise.xs.push_back(i * 0.002f);
            noise.ys.push_back(static_cast<float>((seed >> 16) % 1000) / 10.f);
        }
        cases.push_back(noise);
        Case huge{"huge values", {}, {}};
        for (int i = 0; i < 8000; ++i) {
            huge.xs.push_back(i * 1e25f);
            huge.ys.push_back((i % 13 == 0 ? -3e30f : 1e30f) * std::sin(i * 0.01f));
        }
        cases.push_back(huge);
    }

    struct View {
        const char* name;
        double zoomX, zoomY;  // times the fitted scale, centred near the middle sample
    };
    const View views[] = {{"whole", 1, 1}, {"zoomed", 3.7, 2.3}, {"far zoom", 4e5, 3e3}};
    // Pen widths 1 to 3 on the primary axis, the secondary axis' own drawing with width 2, and the
    // points mode's wide dots.
    const std::pair<bool, int> pens[] = {{false, 1}, {false, 2}, {false, 3}, {true, 2}, {false, 6}};
    for (const Case& c : cases) {
        for (const auto& [secondary, width] : pens) {
            for (bool continuous : {true, false}) {
                if (width == 6 && continuous)
                    continue;
                mpFXYVector primary;
                mpFXYVectorVext other;
                mpLayer& series = secondary ? static_cast<mpLayer&>(other) : primary;
                mpSeriesShape& shape = secondary ? static_cast<mpSeriesShape&>(other) : primary;
                if (secondary)
                    other.SetData(c.xs, c.ys);
                else
                    primary.SetData(c.xs, c.ys);
                series.SetPen(wxPen(*wxBLUE, width, wxPENSTYLE_SOLID));
                series.SetContinuity(continuous);
                plot->AttachLayer(&series);
                plot->Fit();
                // Alone, the secondary series is shown on the scale the primary one would get.
                const double fitX = plot->GetScaleX(), fitY = plot->GetScaleY();
                plot->SetScaleY2(fitY);
                plot->SetCentreY2(plot->GetCentreY());
                for (const View& view : views) {
                    SCOPED_TRACE(testing::Message()
                                 << c.name << (secondary ? ", secondary axis" : ", primary axis") << ", pen "
                                 << width << (continuous ? ", lines" : ", points") << ", " << view.name);
                    const std::size_t mid = c.xs.size() / 2;
                    plot->SetScaleX(fitX * view.zoomX);
                    plot->SetScaleY(fitY * view.zoomY);
                    plot->SetScaleY2(fitY * view.zoomY);
                    if (view.zoomX != 1) {
                        plot->SetCentreX(c.xs[mid] + 13 / plot->GetScaleX());
                        plot->SetCentreY(c.ys[mid]);
                        plot->SetCentreY2(c.ys[mid]);
                    }
                    plot->RefreshView();
                    PumpEvents();  // the scrollbars this view brings take their room first
                    shape.SetRasterDrawing(true);
                    wxImage raster = plot->SnapshotBitmap().ConvertToImage();
                    shape.SetRasterDrawing(false);
                    wxImage vector = plot->SnapshotBitmap().ConvertToImage();
                    shape.SetRasterDrawing(true);
                    // The series stays (its extent keeps the view's scrollbars) but inks in the
                    // background's white; its legend stroke at the top left is left out of every
                    // comparison.
                    series.SetPen(wxPen(*wxWHITE, width, wxPENSTYLE_SOLID));
                    wxImage empty = plot->SnapshotBitmap().ConvertToImage();
                    EverySample every(c.xs, c.ys, secondary, continuous,
                                      wxPen(*wxBLUE, width, wxPENSTYLE_SOLID));
                    plot->AttachLayer(&every);
                    wxImage reference = plot->SnapshotBitmap().ConvertToImage();
                    plot->DetachLayer(1);
                    series.SetPen(wxPen(*wxBLUE, width, wxPENSTYLE_SOLID));
                    for (wxImage* picture : {&raster, &vector, &empty, &reference})
                        picture->SetRGB(wxRect(50, 15, 30, 25), 255, 255, 255);
                    const std::vector<int> referenceInk = InkOf(reference, empty);
                    const int ink = static_cast<int>(std::count_if(referenceInk.begin(), referenceInk.end(),
                                                                   [](int v) { return v != 0; }));
                    EXPECT_GT(ink, 0);
                    const int w = reference.GetWidth(), h = reference.GetHeight();
                    // Every solid pixel within a pixel of the other's ink, and nearly all on it.
                    const auto expectSamePlaces = [&](const wxImage& picture, const char* way) {
                        const std::vector<int> pictureInk = InkOf(picture, empty);
                        EXPECT_EQ(StrayInk(pictureInk, referenceInk, w, h, 1), 0)
                            << way << " inks where every sample does not";
                        EXPECT_EQ(StrayInk(referenceInk, pictureInk, w, h, 1), 0)
                            << way << " misses ink of every sample";
                        const int off = StrayInk(pictureInk, referenceInk, w, h, 0) +
                                        StrayInk(referenceInk, pictureInk, w, h, 0);
                        EXPECT_LE(off, ink / 200)
                            << way << ": " << off << " of " << ink << " inked pixels a pixel off";
                        if (getenv("ZPM_PLOT_DUMP"))
                            printf("%-26s %s w%d %s %-8s ink %6d %s a pixel off %d\n", c.name,
                                   secondary ? "sec" : "pri", width, continuous ? "lines " : "points",
                                   view.name, ink, way, off);
                    };
                    expectSamePlaces(raster, "raster");
                    // Overlapping anti-aliased edges darken a little more where every sample is
                    // drawn; a pixel counts as different when a channel is off by an eighth. Dots
                    // are drawn once per pixel either way, where every sample's overlap.
                    if (continuous) {
                        const int differing = DifferingPixels(vector, reference, 32);
                        EXPECT_LE(differing, ink / 200)
                            << differing << " of " << ink << " inked pixels differ";
                    } else {
                        expectSamePlaces(vector, "vector");
                    }
                }
                plot->DetachLayer(0);
            }
        }
    }
}

TEST_F(PlotWindowTest, AGrowingLiveRecordPaintsWhatAFreshLoadPaints) {
    // A live record grows under the chart by ticks of a few to a few thousand samples; the chart
    // takes in only the new samples (and those a filter rewrote). Its painted columns, thousands of samples
    // each, must show every spike and dip that a chart loading the record afresh shows.
    auto times = std::make_shared<std::vector<float>>();
    auto values = std::make_shared<std::vector<float>>();
    std::mt19937 rng(7);
    std::uniform_real_distribution<float> quiet(9, 11), far(20, 40);
    // A spike and a dip a few samples before every 1,024th sample: where the block extremes of a
    // tick that ended just short of them have to be made again.
    const auto value = [&](std::size_t i) {
        const std::size_t place = i % 1024;
        return place == 1019 ? far(rng) : place == 1021 ? 20 - far(rng) : quiet(rng);
    };
    auto timeColumn = std::make_shared<SampleColumn>(false), valueColumn = std::make_shared<SampleColumn>();
    mpFXYVector live, fresh;
    for (mpFXYVector* s : {&live, &fresh}) {
        s->SetPen(wxPen(*wxBLUE, 1, wxPENSTYLE_SOLID));
        s->SetContinuity(true);
    }
    plot->AttachLayer(&live);
    // Ticks of 1 to 2,000 samples, spread evenly over their logarithm.
    std::uniform_real_distribution<double> logPiece(0, std::log(2000.0));
    std::size_t held = 0;
    int compared = 0;
    for (int tick = 0; times->size() < 300000; ++tick) {
        const auto piece = static_cast<std::size_t>(std::exp(logPiece(rng)));
        // A moving average rewrites the last few samples as new ones arrive; here they turn into
        // the record's highest or lowest values, which the chart must show.
        const std::size_t rewritten = std::min<std::size_t>(held, tick % 3 == 0 ? 3 : 0);
        for (std::size_t k = held - rewritten; k < held; ++k)
            (*values)[k] = tick % 2 ? 45 + far(rng) : -25 - far(rng);
        held -= rewritten;
        for (std::size_t k = 0; k < piece; ++k) {
            values->push_back(value(times->size()));
            times->push_back(static_cast<float>(times->size()) * 0.1f);
        }
        timeColumn->Take(times, held);
        valueColumn->Take(values, held);
        live.ShareData(timeColumn, valueColumn);
        held = times->size();
        if (tick % 100 != 99 && times->size() < 300000)
            continue;
        // The whole record in a hundred columns: about 3,000 samples a column at the end.
        plot->Fit();
        plot->SetScaleX(plot->GetScaleX() / 5);
        const wxImage grown = plot->SnapshotBitmap().ConvertToImage();
        fresh.SetData(*times, *values);
        plot->DetachLayer(0);
        plot->AttachLayer(&fresh);
        const wxImage loaded = plot->SnapshotBitmap().ConvertToImage();
        plot->DetachLayer(0);
        plot->AttachLayer(&live);
        ASSERT_GT(InkedPixels(loaded), 100);
        ASSERT_EQ(DifferingPixels(grown, loaded), 0)
            << "after " << tick + 1 << " ticks, " << times->size() << " samples";
        ++compared;
    }
    EXPECT_GE(compared, 5);
    plot->DetachLayer(0);
}
