// Gallery pages of the compiled-in pictures: every picture in each of its states, the menu and
// application icons on light and dark ground, the connection pictures and the splash screen.
#include "gallery.h"

#include "resources/pictures.h"

#include <wx/dcclient.h>
#include <wx/frame.h>
#include <wx/panel.h>
#include <wx/sizer.h>
#include <wx/statbmp.h>

namespace {

using pictures::Motif;
using pictures::State;

const wxColour face(236, 233, 216);

wxTopLevelWindow* Pictures() {
    auto* frame = new wxFrame(nullptr, wxID_ANY, wxString::FromUTF8("Pictures"), wxPoint(0, 0));
    auto* panel = new wxPanel(frame, wxID_ANY);
    panel->SetBackgroundColour(face);
    auto* top = new wxBoxSizer(wxVERTICAL);

    // Every motif with states: normal, hover, pressed side by side, in rows by size.
    const std::vector<std::vector<Motif>> rows = {
        {Motif::Open, Motif::Save, Motif::Print, Motif::Camera, Motif::FlowSeries, Motif::VolumeSeries,
         Motif::PressureSeries},
        {Motif::ZoomIn, Motif::ZoomOut, Motif::Measure, Motif::Grid, Motif::Points, Motif::Filter},
        {Motif::RecordFace, Motif::StopFace, Motif::SettingsFace, Motif::ClearFace, Motif::UploadFace},
    };
    for (const auto& row : rows) {
        auto* line = new wxBoxSizer(wxHORIZONTAL);
        for (Motif m : row) {
            auto* triple = new wxBoxSizer(wxHORIZONTAL);
            for (State s : {State::Normal, State::Hover, State::Pressed})
                triple->Add(new wxStaticBitmap(panel, wxID_ANY, pictures::Bundle(m, s)), 0, wxRIGHT, 2);
            line->Add(triple, 0, wxRIGHT, 14);
        }
        top->Add(line, 0, wxLEFT | wxTOP, 10);
    }

    // Pictures without states.
    auto* single = new wxBoxSizer(wxHORIZONTAL);
    for (Motif m : {Motif::Logo, Motif::HelpTip})
        single->Add(new wxStaticBitmap(panel, wxID_ANY, pictures::Bundle(m)), 0, wxRIGHT, 14);
    // Menu and application icons on light, face and dark ground.
    for (const wxColour& ground : {*wxWHITE, face, wxColour(60, 60, 60)}) {
        auto* patch = new wxPanel(panel, wxID_ANY);
        patch->SetBackgroundColour(ground);
        auto* s = new wxBoxSizer(wxHORIZONTAL);
        for (Motif m : {Motif::MenuOpen, Motif::MenuSave, Motif::MenuPrint})
            s->Add(new wxStaticBitmap(patch, wxID_ANY, pictures::Bundle(m)), 0,
                   wxALL | wxALIGN_CENTER_VERTICAL, 4);
        for (int px : pictures::AppIconSizes())
            s->Add(new wxStaticBitmap(patch, wxID_ANY, wxBitmap(pictures::AppIconXpm(px))), 0,
                   wxALL | wxALIGN_BOTTOM, 4);
        patch->SetSizer(s);
        single->Add(patch, 0, wxRIGHT, 8);
    }
    top->Add(single, 0, wxLEFT | wxTOP, 10);

    auto* connections = new wxBoxSizer(wxHORIZONTAL);
    for (Motif m : {Motif::ConnectionAnswered, Motif::ConnectionNotAnswered, Motif::ConnectionWritten})
        connections->Add(new wxStaticBitmap(panel, wxID_ANY, pictures::Bundle(m)), 0, wxRIGHT, 10);
    top->Add(connections, 0, wxALL, 10);

    panel->SetSizer(top);
    top->SetSizeHints(frame);
    frame->Show();
    return frame;
}

wxTopLevelWindow* Splash() {
    auto* frame = new wxFrame(nullptr, wxID_ANY, wxString::FromUTF8("Splash"), wxPoint(0, 0));
    auto* panel = new wxPanel(frame, wxID_ANY);
    auto* top = new wxBoxSizer(wxVERTICAL);
    top->Add(new wxStaticBitmap(panel, wxID_ANY, pictures::Bundle(Motif::Splash)));
    panel->SetSizer(top);
    top->SetSizeHints(frame);
    frame->Show();
    return frame;
}

// The pictures as the tips dialog draws them: without mask, at their size, on the face colour.
wxTopLevelWindow* TipPictures() {
    auto* frame =
        new wxFrame(nullptr, wxID_ANY, wxString::FromUTF8("Tip pictures"), wxPoint(0, 0), wxSize(640, 110));
    auto* panel = new wxPanel(frame, wxID_ANY);
    panel->SetBackgroundColour(face);
    panel->Bind(wxEVT_PAINT, [panel](wxPaintEvent&) {
        wxPaintDC dc(panel);
        int x = 10;
        for (Motif m : {Motif::RecordFace, Motif::SettingsFace, Motif::UploadFace, Motif::ClearFace,
                        Motif::Open, Motif::HelpTip, Motif::Camera}) {
            dc.DrawBitmap(pictures::Bundle(m).GetBitmapFor(panel), x, 10, false);
            x += 85;
        }
    });
    frame->Show();
    return frame;
}

ZPM_GALLERY_PAGE_BOTH_SCALES("pictures", Pictures, "");
ZPM_GALLERY_PAGE_BOTH_SCALES("pictures-splash", Splash, "");
ZPM_GALLERY_PAGE("pictures-tips", TipPictures);

}  // namespace
