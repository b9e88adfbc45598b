#pragma once

// The frame, buttons and helpers the hover button tests share.

#include "support/gui_testing.h"

#include "colour_print.h"
#include "widgets/vext_button.h"

#include <wx/dcmemory.h>
#include <wx/frame.h>
#include <wx/panel.h>
#include <wx/uiaction.h>

#include <vector>

inline const wxColour face(236, 233, 216);

inline wxBitmap Solid(const wxSize& size, const wxColour& colour) {
    wxBitmap bmp(size, 24);
    wxMemoryDC dc(bmp);
    dc.SetBackground(wxBrush(colour));
    dc.Clear();
    return bmp;
}

inline wxColour PixelAt(const wxBitmap& bmp, int x, int y) {
    wxImage img = bmp.ConvertToImage();
    return wxColour(img.GetRed(x, y), img.GetGreen(x, y), img.GetBlue(x, y));
}

// Renders the button as it would paint itself now.
inline wxBitmap RenderButton(const wxVextButton& button, const wxSize& size) {
    wxBitmap bmp(size, 24);
    wxMemoryDC dc(bmp);
    button.Render(dc, size);
    dc.SelectObject(wxNullBitmap);
    return bmp;
}

// A frame with a panel holding the buttons under test; it counts the button commands per id.
class ButtonTest : public ::testing::Test {
protected:
    void SetUp() override {
        frame = new wxFrame(nullptr, wxID_ANY, U8("Knöpfe"), wxPoint(20, 20), wxSize(400, 300));
        panel = new wxPanel(frame, wxID_ANY);
        panel->SetBackgroundColour(face);
        frame->Bind(wxEVT_BUTTON, [this](wxCommandEvent& e) {
            clicks.push_back(e.GetId());
            clickSources.push_back(e.GetEventObject());
        });
        button = new wxVextButton(panel, 38, Solid({35, 30}, *wxRED), U8("Filter"), wxPoint(10, 10),
                                  wxSize(70, 50), wxNO_BORDER);
        other = new wxVextButton(panel, 9, Solid({35, 30}, *wxRED), U8("Vergrößern"), wxPoint(100, 10),
                                 wxSize(70, 50), wxNO_BORDER);
        frame->Show();
        PumpEvents();
    }
    void TearDown() override { DestroyNow(frame); }

    void SetAllPictures(wxVextButton* b, bool withFocus = true) {
        b->SetBitmapPressed(Solid({35, 30}, *wxBLUE));
        b->SetBitmapCurrent(Solid({35, 30}, *wxGREEN));
        if (withFocus)
            b->SetBitmapFocus(Solid({35, 30}, wxColour(255, 255, 0)));
        b->SetBitmapDisabled(Solid({35, 30}, wxColour(128, 128, 128)));
    }

    void Mouse(wxEventType type, int x = 30, int y = 20) {
        wxMouseEvent e(type);
        e.SetPosition({x, y});
        e.SetEventObject(button);
        e.SetId(button->GetId());
        button->ProcessWindowEvent(e);
    }

    void Key(wxEventType type, int code) {
        wxKeyEvent e(type);
        e.m_keyCode = code;
        e.SetEventObject(button);
        button->ProcessWindowEvent(e);
    }

    // Moves the real pointer onto a point of a window; false when another program's window
    // (a test running beside this one on the same display) lies on top there.
    bool PointerOnto(wxUIActionSimulator& sim, wxWindow* target, const wxPoint& at) {
        frame->Raise();
        PumpEvents();
        if (!sim.MouseMove(target->ClientToScreen(at)))
            return false;
        wxPoint where;
        return PumpUntil([&] { return wxFindWindowAtPointer(where) == target; }, 2000);
    }

    // Colour at the picture's centre as the button paints itself (picture 35 x 30 in 70 x 50).
    wxColour Shown() { return PixelAt(RenderButton(*button, {70, 50}), 34, 12); }

    wxFrame* frame = nullptr;
    wxPanel* panel = nullptr;
    wxVextButton* button = nullptr;
    wxVextButton* other = nullptr;
    std::vector<int> clicks;
    std::vector<wxObject*> clickSources;
};
