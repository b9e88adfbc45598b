#pragma once

#include <wx/bmpbndl.h>
#include <wx/dialog.h>
#include <wx/event.h>

#include <vector>

class wxCheckBox;

// Sent by the tips dialog's check box to the main window; the event's id is 1 when ticked.
wxDECLARE_EVENT(zpmEVT_TIPS_SETTING, wxCommandEvent);

class Tip {
public:
    Tip(const wxString& text, const wxBitmapBundle& picture) : text(text), picture(picture) {}
    virtual ~Tip() = default;
    wxString text;
    wxBitmapBundle picture;
};

// A modeless dialog showing one of seven usage tips.
class TipsDialog : public wxDialog {
public:
    TipsDialog(wxWindow* parent, bool showAtStartup);
    ~TipsDialog() override = default;

    int Current() const { return current; }
    const std::vector<Tip>& Tips() const { return tips; }
    wxCheckBox* CheckBox() const { return checkBox; }

private:
    void OnPaint(wxPaintEvent& event);
    void OnNextTip(wxCommandEvent& event);
    void OnCheckBox(wxCommandEvent& event);

    wxWindow* parent;
    std::vector<Tip> tips;
    int current = 0;
    wxCheckBox* checkBox = nullptr;

    wxDECLARE_EVENT_TABLE();
};
