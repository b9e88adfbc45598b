#include "support/gui_testing.h"

#include "app/command_ids.h"
#include "charts/printout.h"
#include "mainframe/main_frame.h"
#include "plot/layers.h"
#include "plot/plot_window.h"

#include <wx/dcmemory.h>
#include <wx/dcsvg.h>
#include <wx/frame.h>
#include <wx/image.h>
#include <wx/listctrl.h>
#include <wx/utils.h>

#include <cstdlib>
#include <filesystem>

namespace {

// Marks the whole chart area in black: the frame of -W/2..W/2 x -H/2..H/2, and a line running on
// far beyond it both ways, as a zoomed series does (the window's edges cut it off).
class FrameLayer : public mpLayer {
public:
    FrameLayer() : mpLayer(LayerKind::InfoBox) {}
    bool HasBounds() const override { return false; }
    void Draw(wxDC& dc, mpWindow& w) override {
        dc.SetPen(*wxBLACK_PEN);
        dc.SetBrush(*wxBLACK_BRUSH);
        dc.DrawRectangle(-w.GetPlotWidth() / 2, -w.GetPlotHeight() / 2, w.GetPlotWidth(), w.GetPlotHeight());
        dc.SetPen(wxPen(*wxBLACK, 3));
        dc.DrawLine(-10 * w.GetPlotWidth(), -10 * w.GetPlotHeight(), 10 * w.GetPlotWidth(),
                    10 * w.GetPlotHeight());
    }
};

struct Box {
    int left = 1 << 30, top = 1 << 30, right = -1, bottom = -1;
    bool Empty() const { return right < 0; }
};

// Bounding box of the pixels darker than mid grey.
Box DarkBox(const wxImage& img, int fromY = 0) {
    Box b;
    for (int y = fromY; y < img.GetHeight(); ++y)
        for (int x = 0; x < img.GetWidth(); ++x)
            if (img.GetRed(x, y) < 128 && img.GetGreen(x, y) < 128 && img.GetBlue(x, y) < 128) {
                b.left = std::min(b.left, x);
                b.right = std::max(b.right, x);
                b.top = std::min(b.top, y);
                b.bottom = std::max(b.bottom, y);
            }
    return b;
}

// Prints a printout onto a white bitmap page of the given size, as a printer would.
wxImage PrintOnBitmap(MyPrintout& printout, int w, int h) {
    wxBitmap page(w, h);
    wxMemoryDC dc(page);
    dc.SetBackground(*wxWHITE_BRUSH);
    dc.Clear();
    printout.SetDC(&dc);
    printout.SetPageSizePixels(w, h);
    printout.SetPageSizeMM(210, 297);
    printout.SetPaperRectPixels(wxRect(0, 0, w, h));
    printout.SetPPIScreen(96, 96);
    printout.SetPPIPrinter(96, 96);
    EXPECT_TRUE(printout.OnPrintPage(1));
    printout.SetDC(nullptr);
    dc.SelectObject(wxNullBitmap);
    return page.ConvertToImage();
}

class PrintoutTest : public ::testing::Test {
protected:
    void SetUp() override {
        frame = new wxFrame(nullptr, wxID_ANY, U8("Diagramm"));
        plot = new mpWindow(frame, wxID_ANY, wxDefaultPosition, wxSize(600, 300), 0);
        frame->SetClientSize(600, 300);
        frame->Show();
        plot->SetSize(600, 300);
        PumpUntil([&] { return plot->GetPaintCount() > 0 && plot->GetPlotWidth() == 600; });
    }
    void TearDown() override {
        for (int key = 0; key < 4; ++key)
            plot->DetachLayer(key);
        DestroyNow(frame);
    }
    wxFrame* frame = nullptr;
    mpWindow* plot = nullptr;
    PrintSettings settings;
};

}  // namespace

TEST_F(PrintoutTest, OnePageDocument) {
    MyPrintout printout(U8("Ausdrucken"), plot, settings.pageSetup);
    int minPage = 0, maxPage = 0, from = 0, to = 0;
    printout.GetPageInfo(&minPage, &maxPage, &from, &to);
    EXPECT_EQ(minPage, 1);
    EXPECT_EQ(maxPage, 1);
    EXPECT_EQ(from, 1);
    EXPECT_EQ(to, 1);
    EXPECT_TRUE(printout.HasPage(1));
    EXPECT_FALSE(printout.HasPage(3));
    EXPECT_EQ(printout.GetTitle(), U8("Ausdrucken"));
    EXPECT_EQ(settings.printData.GetPaperId(), wxPAPER_A4);
    EXPECT_EQ(settings.pageSetup.GetMarginTopLeft(), wxPoint(15, 15));
    EXPECT_EQ(settings.pageSetup.GetMarginBottomRight(), wxPoint(15, 15));
    // Without a device context there is nothing to print on.
    EXPECT_FALSE(printout.OnPrintPage(1));
}

TEST_F(PrintoutTest, EmptyChartPrintsOnlyTheProductLine) {
    MyPrintout printout(U8("Ausdrucken"), plot, settings.pageSetup);
    const wxImage page = PrintOnBitmap(printout, 800, 1130);
    const Box ink = DarkBox(page);
    ASSERT_FALSE(ink.Empty());
    // "Zepmonic, ZPM 2" and nothing else, at the corner inside the 15 mm margins.
    EXPECT_NEAR(ink.left, 800 * 15 / 210.0, 3);
    EXPECT_NEAR(ink.top, 1130 * 15 / 297.0, 4);
    EXPECT_LT(ink.right, 400);
    EXPECT_LT(ink.bottom, 120);
}

TEST_F(PrintoutTest, ChartScaledToThePageWidthAndCentred) {
    FrameLayer chartArea;
    plot->AttachLayer(&chartArea);
    MyPrintout printout(U8("Ausdrucken"), plot, settings.pageSetup);
    const int w = 800, h = 1130;
    const wxImage page = PrintOnBitmap(printout, w, h);
    const Box chart = DarkBox(page, 120);  // below the product line
    ASSERT_FALSE(chart.Empty());
    // The width between the 15 mm margins of the A4 page, 600 x 300 keeping its proportions,
    // centred.
    const double margin = w * 15 / 210.0, width = w - 2 * margin;
    EXPECT_NEAR(chart.left, margin, 2);
    EXPECT_NEAR(chart.right, w - 1 - margin, 3);
    EXPECT_NEAR(chart.bottom - chart.top + 1, width / 2, 3);
    EXPECT_NEAR((chart.top + chart.bottom) / 2, h / 2, 3);
}

TEST_F(PrintoutTest, PrintsAnA4PageIntoAFile) {
    const std::string dir =
        (std::filesystem::temp_directory_path() / ("zpm-print-" + std::to_string(getpid()))).string();
    std::filesystem::create_directories(dir);
    const std::string svg = dir + "/seite.svg";
    FrameLayer chartArea;
    plot->AttachLayer(&chartArea);

    // An A4 page at 72 dpi in a vector file, drawn through the same printout as paper.
    const int a4w = 595, a4h = 842;
    {
        wxSVGFileDC dc(wxString::FromUTF8(svg), a4w, a4h, 72);
        MyPrintout printout(U8("Ausdrucken"), plot, settings.pageSetup);
        printout.SetDC(&dc);
        printout.SetPageSizePixels(a4w, a4h);
        printout.SetPageSizeMM(210, 297);
        printout.SetPaperRectPixels(wxRect(0, 0, a4w, a4h));
        printout.SetPPIScreen(96, 96);
        printout.SetPPIPrinter(72, 72);
        EXPECT_TRUE(printout.OnPrintPage(1));
        printout.SetDC(nullptr);
    }
    const std::string png = dir + "/seite.png";
    const std::string cmd = "rsvg-convert -b white -w 600 '" + svg + "' -o '" + png + "'";
    ASSERT_EQ(std::system(cmd.c_str()), 0);
    wxImage img;
    ASSERT_TRUE(img.LoadFile(wxString::FromUTF8(png), wxBITMAP_TYPE_PNG));
    EXPECT_NEAR(static_cast<double>(img.GetHeight()) / img.GetWidth(), 297.0 / 210.0, 0.02);
    // The chart fills the width between the margins (180 of 210 mm), half as high, centred.
    const Box chart = DarkBox(img, img.GetHeight() / 8);
    ASSERT_FALSE(chart.Empty());
    const double chartWidth = chart.right - chart.left + 1;
    const double chartHeight = chart.bottom - chart.top + 1;
    EXPECT_NEAR(chartWidth, img.GetWidth() * 180 / 210.0, 3);
    EXPECT_NEAR(chart.left, img.GetWidth() * 15 / 210.0, 2);
    EXPECT_NEAR(chartHeight / chartWidth, 0.5, 0.03);
    EXPECT_NEAR((chart.top + chart.bottom) / 2.0, img.GetHeight() / 2.0, img.GetHeight() * 0.02);
    // The product line at the top left.
    const Box top = DarkBox(img.GetSubImage(wxRect(0, 0, img.GetWidth(), img.GetHeight() / 8)));
    ASSERT_FALSE(top.Empty());
    EXPECT_LT(top.right, img.GetWidth() / 2);
    if (!HasFailure())
        std::filesystem::remove_all(dir);
}

class PrintCommandsTest : public MainFrameTest {};

TEST_F(PrintCommandsTest, PreviewFrameClosesOnItsOwn) {
    Command(ID_PRINT_PREVIEW);
    wxFrame* preview = nullptr;
    for (wxWindow* w : wxTopLevelWindows)
        if (w->GetLabel() == U8("Vorschau drucken"))
            preview = dynamic_cast<wxFrame*>(w);
    ASSERT_NE(preview, nullptr);
    EXPECT_EQ(preview->GetParent(), frame);
    EXPECT_EQ(preview->GetPosition(), wxPoint(100, 100));
    EXPECT_TRUE(preview->HasFlag(wxFRAME_FLOAT_ON_PARENT));
    preview->Close();
    PumpEvents(5);
    bool stillThere = false;
    for (wxWindow* w : wxTopLevelWindows)
        stillThere |= w == preview;
    EXPECT_FALSE(stillThere);
    // The main window goes on working.
    Command(ID_SHOW_FLOW, wxEVT_BUTTON);
    EXPECT_TRUE(frame->FlowShown());
    EXPECT_FALSE(frame->IsBeingDeleted());
}
