// Interim pictures: plain coloured tiles of the right sizes until the artwork lands.
#include "resources/pictures.h"

#include <wx/dcmemory.h>
#include <wx/icon.h>

namespace pictures {

wxSize SizeOf(Motif m) {
    switch (m) {
    case Motif::Open: case Motif::Save: case Motif::Print: case Motif::Camera:
    case Motif::FlowSeries: case Motif::VolumeSeries: case Motif::PressureSeries:
        return {50, 50};
    case Motif::Logo: return {98, 60};
    case Motif::ZoomIn: case Motif::ZoomOut: case Motif::Measure: case Motif::Grid:
    case Motif::Points: case Motif::Filter:
        return {35, 30};
    case Motif::RecordFace: case Motif::StopFace: case Motif::SettingsFace: case Motif::ClearFace:
    case Motif::UploadFace: case Motif::HelpTip:
        return {70, 70};
    case Motif::MenuOpen: case Motif::MenuSave: case Motif::MenuPrint: return {16, 15};
    case Motif::ConnectionAnswered: case Motif::ConnectionNotAnswered: case Motif::ConnectionWritten:
        return {280, 70};
    case Motif::Splash: return {640, 540};
    }
    return {1, 1};
}

bool HasState(Motif m, State s) {
    if (s == State::Normal) return true;
    switch (m) {
    case Motif::Logo: case Motif::HelpTip: case Motif::MenuOpen: case Motif::MenuSave:
    case Motif::MenuPrint: case Motif::ConnectionAnswered: case Motif::ConnectionNotAnswered:
    case Motif::ConnectionWritten: case Motif::Splash:
        return false;
    default: return true;
    }
}

wxBitmap Get(Motif m, State s) {
    wxSize size = SizeOf(m);
    wxBitmap bmp(size);
    wxMemoryDC dc(bmp);
    unsigned char shade = s == State::Normal ? 200 : s == State::Hover ? 230 : 150;
    dc.SetBackground(wxBrush(wxColour(shade, shade, 220)));
    dc.Clear();
    dc.SetPen(*wxBLACK_PEN);
    dc.SetBrush(*wxTRANSPARENT_BRUSH);
    dc.DrawRectangle(0, 0, size.x, size.y);
    dc.SelectObject(wxNullBitmap);
    return bmp;
}

wxIconBundle AppIcons() {
    wxIconBundle bundle;
    for (int px : {16, 24, 32, 48, 64, 128}) {
        wxBitmap bmp(px, px);
        {
            wxMemoryDC dc(bmp);
            dc.SetBackground(*wxRED_BRUSH);
            dc.Clear();
        }
        wxIcon icon;
        icon.CopyFromBitmap(bmp);
        bundle.AddIcon(icon);
    }
    return bundle;
}

}  // namespace pictures
