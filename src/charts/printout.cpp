#include "charts/printout.h"

#include "plot/plot_window.h"

#include <wx/dc.h>

MyPrintout::MyPrintout(const wxString& title, mpWindow* plot_, const wxPageSetupDialogData& pageSetup_)
    : wxPrintout(title), plot(plot_), pageSetup(pageSetup_) {}

bool MyPrintout::OnBeginDocument(int startPage, int endPage) {
    return wxPrintout::OnBeginDocument(startPage, endPage);
}

bool MyPrintout::HasPage(int page) {
    return page == 1 || page == 2;
}

void MyPrintout::GetPageInfo(int* minPage, int* maxPage, int* pageFrom, int* pageTo) {
    *minPage = *maxPage = *pageFrom = *pageTo = 1;
}

bool MyPrintout::OnPrintPage(int) {
    wxDC* dc = GetDC();
    if (!dc)
        return false;
    // A chart that never painted has no size yet; the page then carries the product line only.
    if (plot->GetPlotWidth() > 0) {
        // The screen chart scaled to the page width, its centre on the page's centre. The toolkit's
        // fit takes the preview's own scaling into account as well as the printer's resolution.
        FitThisSizeToPage(wxSize(plot->GetPlotWidth(), 1));
        const wxRect page = GetLogicalPageRect();
        dc->SetLogicalOrigin(-(page.x + page.width / 2), -(page.y + page.height / 2));
        plot->DrawLayersOn(*dc);
        dc->SetLogicalOrigin(0, 0);
    }
    MapScreenSizeToPage();
    dc->SetFont(*wxNORMAL_FONT);  // a page starts without one on some devices
    dc->SetTextForeground(*wxBLACK);
    dc->DrawText(wxString::FromUTF8("Zepmonic, ZPM 2"), 10, 10);
    return true;
}

PrintSettings::PrintSettings() {
    printData.SetPaperId(wxPAPER_A4);
    pageSetup = wxPageSetupDialogData(printData);
    pageSetup.SetMarginTopLeft(wxPoint(15, 15));
    pageSetup.SetMarginBottomRight(wxPoint(15, 15));
    dialogData = wxPrintDialogData(printData);
}
