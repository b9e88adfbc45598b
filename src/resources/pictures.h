#pragma once

#include <wx/bitmap.h>
#include <wx/bmpbndl.h>
#include <wx/iconbndl.h>

#include <vector>

// Every picture compiled into the program. They are one icon set: one palette, one outline
// weight, light from the top left.
namespace pictures {

enum class Motif {
    // 50 x 50, file row
    Open,
    Save,
    Print,
    Camera,
    // 98 x 60
    Logo,
    // 35 x 30, chart tools
    ZoomIn,
    ZoomOut,
    Measure,  // shared by both measuring buttons
    Grid,
    Points,
    Filter,
    // 50 x 50, series buttons
    FlowSeries,
    VolumeSeries,
    PressureSeries,
    // 70 x 70, round logger faces
    RecordFace,
    StopFace,
    SettingsFace,
    ClearFace,
    UploadFace,
    // 70 x 70, tip picture: pointer beside a question mark
    HelpTip,
    // 16 x 15 menu icons
    MenuOpen,
    MenuSave,
    MenuPrint,
    // 280 x 70 connection state of the settings dialog
    ConnectionAnswered,
    ConnectionNotAnswered,
    ConnectionWritten,
    // 640 x 540
    Splash,
};

enum class State {
    Normal,
    Hover,    // in a light raised frame (logger faces: a lighter ring)
    Pressed,  // in a sunken frame (logger faces: pressed in; also their disabled picture)
};

// The picture of a motif in a state. Motifs without hover or pressed versions return the normal
// picture for those states. The button pictures are opaque on the face colour (236, 233, 216),
// so they look the same drawn with or without mask; the menu icons and the application icon are
// transparent around their motif.
wxBitmap Get(Motif motif, State state = State::Normal);
wxSize SizeOf(Motif motif);

// The picture for every screen: exactly Get() where one device pixel is one point, and a drawing
// at twice the size from the same source where the desktop scales by 2 (GDK_SCALE=2). Windows
// choose with GetBitmapFor(window); buttons, menus and static pictures do it themselves.
wxBitmapBundle Bundle(Motif motif, State state = State::Normal);
// The double-size drawing alone (empty if the picture has none).
bool HasDoubleSize(Motif motif, State state = State::Normal);
wxBitmap GetDoubleSize(Motif motif, State state = State::Normal);
bool HasState(Motif motif, State state);

// The compiled-in XPM data of a picture (what Get decodes).
const char* const* XpmData(Motif motif, State state = State::Normal);

// The application icon, a red fire engine, in 16, 24, 32, 48, 64 and 128 pixels.
wxIconBundle AppIcons();
const std::vector<int>& AppIconSizes();
const char* const* AppIconXpm(int pixels);  // null for a size that is not there

}  // namespace pictures
