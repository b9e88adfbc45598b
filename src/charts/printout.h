#pragma once

#include <wx/cmndata.h>
#include <wx/print.h>

class mpWindow;

// One page with the chart as it is on screen, magnified to the width between the page setup's
// margins and centred, and the product line in the top-left corner inside the margins. Draws
// through the same layer code as the screen.
class MyPrintout : public wxPrintout {
public:
    MyPrintout(const wxString& title, mpWindow* plot, const wxPageSetupDialogData& pageSetup);

    bool OnBeginDocument(int startPage, int endPage) override;
    bool HasPage(int page) override;
    bool OnPrintPage(int page) override;
    void GetPageInfo(int* minPage, int* maxPage, int* pageFrom, int* pageTo) override;

private:
    mpWindow* plot;
    wxPageSetupDialogData pageSetup;
};

// The print settings every print command starts from: A4, 15 mm margins.
struct PrintSettings {
    PrintSettings();
    wxPrintData printData;
    wxPageSetupDialogData pageSetup;
    wxPrintDialogData dialogData;
};
