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
        // The screen chart scaled to the width between the margins (a printer cannot print the
        // paper's edges), its centre on the centre of the area inside them. The toolkit's fit
        // takes the preview's own scaling into account as well as the printer's resolution.
        FitThisSizeToPageMargins(wxSize(plot->GetPlotWidth(), 1), pageSetup);
        // The chart's centre goes to the centre of the area inside the margins, by the device
        // origin (in page pixels): some pages (the vector file) take a logical origin unscaled.
        dc->SetDeviceOrigin(0, 0);
        const wxRect area = GetLogicalPageMarginsRect(pageSetup);
        double scaleX = 1, scaleY = 1;
        dc->GetUserScale(&scaleX, &scaleY);
        const wxPoint centre(wxRound((area.x + area.width / 2.0) * scaleX),
                             wxRound((area.y + area.height / 2.0) * scaleY));
        // What the window's edges cut off on screen stays off the page (a zoomed series runs on
        // far beyond them, into the margins). The clip is set in page pixels, where every kind
        // of page keeps it.
        const wxSize size(wxRound(plot->GetPlotWidth() * scaleX), wxRound(plot->GetPlotHeight() * scaleY));
        dc->SetUserScale(1, 1);
        dc->SetClippingRegion(centre.x - size.x / 2, centre.y - size.y / 2, size.x, size.y);
        dc->SetUserScale(scaleX, scaleY);
        dc->SetDeviceOrigin(centre.x, centre.y);
        plot->DrawLayersOn(*dc);
        dc->DestroyClippingRegion();
        dc->SetDeviceOrigin(0, 0);
    }
    // The product line at screen size, in the top-left corner inside the margins.
    MapScreenSizeToPageMargins(pageSetup);
    dc->SetFont(*wxNORMAL_FONT);  // a page starts without one on some devices
    dc->SetTextForeground(*wxBLACK);
    dc->DrawText(wxString::FromUTF8("Zepmonic, ZPM 2"), 0, 0);
    return true;
}

PrintSettings::PrintSettings() {
    printData.SetPaperId(wxPAPER_A4);
    pageSetup = wxPageSetupDialogData(printData);
    pageSetup.SetMarginTopLeft(wxPoint(15, 15));
    pageSetup.SetMarginBottomRight(wxPoint(15, 15));
    dialogData = wxPrintDialogData(printData);
}
