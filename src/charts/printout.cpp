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
    int w = 0, h = 0;
    dc->GetSize(&w, &h);
    const bool sizeKnown = w > 0 && h > 0;
    if (!sizeKnown)  // a context that does not know its size (a vector surface): the page's
        GetPageSizePixels(&w, &h);
    // A chart that never painted has no size yet; the page then carries the product line only.
    if (plot->GetPlotWidth() > 0) {
        const float scale = static_cast<float>(w) / static_cast<float>(plot->GetPlotWidth());
        dc->SetUserScale(scale, scale);
        dc->SetDeviceOrigin(w / 2, h / 2);
        plot->DrawLayersOn(*dc);
        dc->SetDeviceOrigin(0, 0);
    }
    if (sizeKnown) {
        MapScreenSizeToPage();
    } else {
        // What MapScreenSizeToPage gives when the device is as large as the page.
        int screenX = 0, screenY = 0, printerX = 0, printerY = 0;
        GetPPIScreen(&screenX, &screenY);
        GetPPIPrinter(&printerX, &printerY);
        dc->SetUserScale(double(printerX) / screenX, double(printerY) / screenY);
    }
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
