#pragma once

#include "data/hydrant_report.h"

#include <wx/gdicmn.h>
#include <wx/print.h>
#include <wx/string.h>

#include <ostream>
#include <vector>

class Storage;
class wxDC;
typedef struct _cairo cairo_t;

// The hydrant test report: one A4 page, drawn by one routine for the PDF file, the printer and
// the preview. Needs no window.
namespace report {

// What the record does not hold, typed by the user.
struct Site {
    wxString place;   // "Hydrant / Ort"
    wxString line;    // "Leitung"
    wxString tester;  // "Prüfer"
    wxString remark;  // "Bemerkung"
};

struct Page {
    hydrant::ReportFigures figures;
    Site site;
    wxString testTime;  // the record's start, "27.03.2023 08:52:30"
    int serialNumber = 0;
    std::vector<float> times, flows, pressures;  // the curve
};

Page MakePage(const Storage& record, const hydrant::Evaluation& evaluation, const Site& site);

// The page's logical units are tenths of a millimetre, (0, 0) the paper's top left corner; all
// of it lies inside the 15 mm margins.
inline constexpr int PageWidth = 2100, PageHeight = 2970, Margin = 150;
// Where the water supply graph puts zero flow and pressure (bottom left) and the axes' ends.
wxRect SupplyPlotArea();
// The line through the static and the test point.
inline constexpr unsigned char SupplyLineColour[3] = {200, 0, 120};

void Draw(wxDC& dc, const Page& page);
// The same on a cairo context whose user units are points (as on a PDF page).
void DrawOnCairo(cairo_t* cr, const Page& page);
// A PDF file of the page. False when the stream failed.
bool WritePdf(std::ostream& out, const Page& page);

// The page for the printer and the preview.
class Printout : public wxPrintout {
public:
    Printout(const wxString& title, const Page& page);
    bool HasPage(int page) override { return page == 1; }
    bool OnPrintPage(int page) override;
    void GetPageInfo(int* minPage, int* maxPage, int* pageFrom, int* pageTo) override;

private:
    Page page;
};

}  // namespace report
