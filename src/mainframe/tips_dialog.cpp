#include "mainframe/tips_dialog.h"
#include "data/translate.h"

#include "app/app_settings.h"
#include "app/command_ids.h"
#include "mainframe/look.h"
#include "mainframe/main_frame.h"
#include "mainframe/tips_text.h"
#include "resources/pictures.h"

#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/dcclient.h>
#include <wx/sizer.h>
#include <wx/statbox.h>

#include <cstdlib>
#include <ctime>

wxDEFINE_EVENT(zpmEVT_TIPS_SETTING, wxCommandEvent);

namespace {
constexpr int ID_NEXT_TIP = 0;
constexpr int ID_SHOW_AT_STARTUP = 1;
}  // namespace

wxBEGIN_EVENT_TABLE(TipsDialog, wxDialog) EVT_PAINT(TipsDialog::OnPaint)
    EVT_BUTTON(ID_NEXT_TIP, TipsDialog::OnNextTip) EVT_CHECKBOX(ID_SHOW_AT_STARTUP, TipsDialog::OnCheckBox)
        wxEND_EVENT_TABLE()

            TipsDialog::TipsDialog(wxWindow* parent_, bool showAtStartup)
    : wxDialog(parent_, wxID_ANY, Tr("Help Tips"), wxDefaultPosition, wxDefaultSize,
               wxCAPTION | wxSYSTEM_MENU | wxCLOSE_BOX, wxString::FromAscii("dialog")),
      parent(parent_) {
    SetBackgroundColour(FaceColour());
    using pictures::Motif;
    tips = {
        {Tr("Reads and records live measurements from the Vantor while connected via the USB"),
         pictures::Bundle(Motif::RecordFace)},
        {Tr("Change settings on the Vantor to control how data is recorded"),
         pictures::Bundle(Motif::SettingsFace)},
        {Tr("Download all recorded Flow and Pressure events from the Vantor via the USB"),
         pictures::Bundle(Motif::UploadFace)},
        {Tr("Delete all recordings on the Vantor. This clears the memory, requires the USB to be connected"),
         pictures::Bundle(Motif::ClearFace)},
        {Tr("Open previously saved work to view data and make additional edits"),
         pictures::Bundle(Motif::Open)},
        {Tr("Move cursor over an icon and help note will automatically appear"),
         pictures::Bundle(Motif::HelpTip)},
        {Tr("Save an image of current plot. The saved image can be imported into an MS Word or Excel report"),
         pictures::Bundle(Motif::Camera)},
    };
    std::srand(static_cast<unsigned>(std::time(nullptr)));
    current = std::rand() % static_cast<int>(tips.size());

    auto* ok = new wxButton(this, wxID_OK, Tr("OK"), wxPoint(0, 0), wxSize(100, 30), 0, wxDefaultValidator,
                            wxString::FromAscii("button"));
    checkBox = new wxCheckBox(this, ID_SHOW_AT_STARTUP, Tr("Show Tips at Startup"), wxDefaultPosition,
                              wxDefaultSize, 0, wxDefaultValidator, wxString::FromAscii("check"));
    checkBox->SetValue(showAtStartup);
    auto* next = new wxButton(this, ID_NEXT_TIP, Tr("Next Tip"), wxPoint(0, 0), wxSize(100, 30), 0,
                              wxDefaultValidator, wxString::FromAscii("button"));

    auto* box = new wxStaticBoxSizer(wxHORIZONTAL, this, wxString());
    box->Add(checkBox, 0, wxLEFT, 10);
    box->Add(next, 0, wxLEFT, 40);
    box->Add(ok, 0, wxLEFT, 10);
    auto* top = new wxBoxSizer(wxVERTICAL);
    top->Add(box, 0, wxTOP, 100);  // the free band above is where the tip is painted
    SetSizer(top);
    top->SetSizeHints(this);
}

void TipsDialog::OnPaint(wxPaintEvent&) {
    wxPaintDC dc(this);
    const Tip& tip = tips[current];
    dc.DrawBitmap(tip.picture.GetBitmapFor(this), 10, 10, false);
    int y = 15;
    for (const wxString& line : BreakTipText(tip.text)) {
        dc.DrawText(line, 100, y);
        y += 20;
    }
}

void TipsDialog::OnNextTip(wxCommandEvent&) {
    current = (current + 1) % static_cast<int>(tips.size());
    Refresh(true);
}

void TipsDialog::OnCheckBox(wxCommandEvent&) {
    wxCommandEvent setting(zpmEVT_TIPS_SETTING, checkBox->GetValue() ? 1 : 0);
    setting.SetEventObject(this);
    parent->GetEventHandler()->ProcessEvent(setting);
}

// Main window side: the setting event and the "Show Startup Tips" command.

void MainFrame::OnTipsSetting(wxCommandEvent& event) {
    AppSettings.showTips = event.GetId() == 1;
}

void MainFrame::OnShowTips(wxCommandEvent&) {
    (new TipsDialog(this, AppSettings.showTips))->Show(true);
}
