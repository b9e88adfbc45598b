// Gallery pages of the widgets: hover buttons in each of their states with the program's
// pictures and labels, and the seven-segment displays and clock.
#include "gallery.h"

#include "resources/pictures.h"
#include "widgets/lcd_display.h"
#include "widgets/vext_button.h"

#include <wx/bmpbuttn.h>
#include <wx/frame.h>
#include <wx/panel.h>
#include <wx/sizer.h>
#include <wx/stattext.h>

namespace {

using pictures::Motif;
using pictures::State;

const wxColour face(236, 233, 216);

enum class Look { Normal, Hover, Pressed, Disabled };

// A button as the main window makes it (hover, pressed and disabled = pressed pictures), then
// put into a state the way the pointer or the keyboard would.
wxVextButton* MakeButton(wxWindow* parent, Motif motif, const char* label, const wxSize& size, Look look) {
    auto* b = new wxVextButton(parent, wxID_ANY, pictures::Bundle(motif), wxString::FromUTF8(label),
                               wxDefaultPosition, size, wxNO_BORDER);
    if (pictures::HasState(motif, State::Hover)) {
        b->SetBitmapCurrent(pictures::Bundle(motif, State::Hover));
        b->SetBitmapPressed(pictures::Bundle(motif, State::Pressed));
        b->SetBitmapDisabled(pictures::Bundle(motif, State::Pressed));
    }
    switch (look) {
        case Look::Normal:
            break;
        case Look::Hover: {
            wxMouseEvent enter(wxEVT_ENTER_WINDOW);
            b->ProcessWindowEvent(enter);
            break;
        }
        case Look::Pressed: {
            wxKeyEvent space(wxEVT_KEY_DOWN);
            space.m_keyCode = WXK_SPACE;
            b->ProcessWindowEvent(space);
            break;
        }
        case Look::Disabled:
            b->Disable();
            break;
    }
    return b;
}

wxStaticText* Caption(wxWindow* parent, const char* text) {
    return new wxStaticText(parent, wxID_ANY, wxString::FromUTF8(text));
}

wxTopLevelWindow* Buttons() {
    auto* frame = new wxFrame(nullptr, wxID_ANY, wxString::FromUTF8("Hover buttons"), wxPoint(0, 0));
    auto* panel =
        new wxPanel(frame, wxID_ANY, wxDefaultPosition, wxDefaultSize, wxTAB_TRAVERSAL | wxNO_BORDER);
    panel->SetBackgroundColour(face);

    struct Item {
        Motif motif;
        const char* label;
        wxSize size;
    };
    const Item items[] = {
        {Motif::Open, "Öffnen", {55, 60}},           {Motif::Save, "Speichern", {55, 60}},
        {Motif::Print, "Drucken", {55, 60}},         {Motif::Camera, "Ansicht", {55, 60}},
        {Motif::FlowSeries, "Durchfluss", {55, 60}}, {Motif::VolumeSeries, "Volumen", {55, 60}},
        {Motif::PressureSeries, "Druck", {55, 60}},  {Motif::ZoomIn, "Vergrößern", {70, 50}},
        {Motif::ZoomOut, "Verkleinern", {70, 50}},   {Motif::Measure, "Messwerte 1", {70, 50}},
        {Motif::Grid, "Raster", {70, 50}},           {Motif::Points, "Messpunke", {70, 50}},
        {Motif::Filter, "Filter", {70, 50}},         {Motif::Logo, "ZPM Version 4.8", {100, 70}},
    };
    const std::pair<Look, const char*> looks[] = {{Look::Normal, "normal"},
                                                  {Look::Hover, "hover"},
                                                  {Look::Pressed, "pressed"},
                                                  {Look::Disabled, "disabled"}};

    auto* top = new wxBoxSizer(wxHORIZONTAL);
    // Two blocks side by side: file row and series buttons, then the chart tools and the logo.
    for (int block = 0; block < 2; ++block) {
        auto* g = new wxFlexGridSizer(std::size(looks), 2, 12);
        for (const auto& [look, name] : looks)
            g->Add(Caption(panel, name), 0, wxALIGN_CENTER);
        for (size_t i = block == 0 ? 0 : 7; i < (block == 0 ? 7u : std::size(items)); ++i)
            for (const auto& [look, name] : looks)
                g->Add(MakeButton(panel, items[i].motif, items[i].label, items[i].size, look), 0,
                       wxALIGN_CENTER);
        top->Add(g, 0, wxALL, 12);
    }
    panel->SetSizer(top);
    top->SetSizeHints(frame);
    frame->Show();
    return frame;
}

kwxLCDDisplay* Display(wxWindow* parent, int digits, const char* text, const wxSize& size) {
    auto* d = new kwxLCDDisplay(parent, wxDefaultPosition, size);
    d->SetDigitCount(digits);
    d->SetDisplayText(wxString::FromUTF8(text));
    return d;
}

wxTopLevelWindow* Displays() {
    auto* frame = new wxFrame(nullptr, wxID_ANY, wxString::FromUTF8("Seven-segment displays"), wxPoint(0, 0));
    auto* panel = new wxPanel(frame, wxID_ANY);
    panel->SetBackgroundColour(face);
    auto* grid = new wxFlexGridSizer(3, 8, 16);
    const auto row = [&](const char* caption, wxWindow* small, wxWindow* large) {
        grid->Add(Caption(panel, caption), 0, wxALIGN_CENTER_VERTICAL);
        grid->Add(small, 0, wxALIGN_CENTER_VERTICAL);
        grid->Add(large, 0, wxALIGN_CENTER_VERTICAL);
    };
    grid->Add(Caption(panel, ""));
    grid->Add(Caption(panel, "as in the main window"));
    grid->Add(Caption(panel, "larger"));
    for (const char* text : {"12.5", "1..2", "Err", "0.0", "-8.8.8.8.8.8", "AbCdEF"}) {
        row(text, Display(panel, 6, text, {100, 40}), Display(panel, 6, text, {341, 90}));
    }
    auto* clockSmall = new kwxLCDClock(panel, wxDefaultPosition, {150, 40});
    clockSmall->SetDigitCount(7);
    clockSmall->ShowElapsed(3725.9f);
    auto* clockLarge = new kwxLCDClock(panel, wxDefaultPosition, {397, 90});
    clockLarge->SetDigitCount(7);
    clockLarge->ShowElapsed(3725.9f);
    row("clock, 3725.9 s", clockSmall, clockLarge);
    // Proportions kept: a wide and a tall window centre the same digits.
    row("12.5 wide / tall", Display(panel, 6, "12.5", {300, 40}), Display(panel, 6, "12.5", {200, 120}));

    auto* top = new wxBoxSizer(wxVERTICAL);
    top->Add(grid, 0, wxALL, 12);
    panel->SetSizer(top);
    top->SetSizeHints(frame);
    frame->Show();
    return frame;
}

// The logger buttons are the toolkit's own bitmap buttons, smaller than their round 70 x 70
// faces: the middle of the face shows. Top row enabled, bottom row disabled.
wxTopLevelWindow* LoggerButtons() {
    auto* frame = new wxFrame(nullptr, wxID_ANY, wxString::FromUTF8("Logger buttons"), wxPoint(0, 0));
    auto* panel =
        new wxPanel(frame, wxID_ANY, wxDefaultPosition, wxDefaultSize, wxTAB_TRAVERSAL | wxNO_BORDER);
    panel->SetBackgroundColour(face);
    const std::pair<Motif, wxSize> faces[] = {{Motif::RecordFace, {50, 50}},
                                              {Motif::StopFace, {50, 50}},
                                              {Motif::SettingsFace, {70, 50}},
                                              {Motif::ClearFace, {50, 50}},
                                              {Motif::UploadFace, {50, 50}}};
    auto* grid = new wxFlexGridSizer(std::size(faces), 10, 10);
    for (bool enabled : {true, false}) {
        for (const auto& [motif, size] : faces) {
            auto* b = new wxBitmapButton(panel, wxID_ANY, pictures::Bundle(motif), wxPoint(0, 0), size,
                                         wxNO_BORDER);
            b->SetBitmapPressed(pictures::Bundle(motif, State::Pressed));
            b->SetBitmapDisabled(pictures::Bundle(motif, State::Pressed));
            b->SetBitmapCurrent(pictures::Bundle(motif, State::Hover));
            b->Enable(enabled);
            grid->Add(b);
        }
    }
    auto* top = new wxBoxSizer(wxVERTICAL);
    top->Add(grid, 0, wxALL, 12);
    panel->SetSizer(top);
    top->SetSizeHints(frame);
    frame->Show();
    return frame;
}

ZPM_GALLERY_PAGE_BOTH_SCALES("widgets-buttons", Buttons, "");
ZPM_GALLERY_PAGE_BOTH_SCALES("widgets-logger-buttons", LoggerButtons, "");
ZPM_GALLERY_PAGE_BOTH_SCALES("widgets-displays", Displays, "");

}  // namespace
