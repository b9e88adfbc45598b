// The program's pictures, compiled in. The XPM files are made from the SVG sources in
// artwork/ by scripts/render-artwork.sh.
#include "resources/pictures.h"

#include <wx/icon.h>

#include <array>

// clang-format off
#include "resources/xpm/camera.xpm"
#include "resources/xpm/camera_hover.xpm"
#include "resources/xpm/camera_pressed.xpm"
#include "resources/xpm/clear_face.xpm"
#include "resources/xpm/clear_face_hover.xpm"
#include "resources/xpm/clear_face_pressed.xpm"
#include "resources/xpm/connection_answered.xpm"
#include "resources/xpm/connection_not_answered.xpm"
#include "resources/xpm/connection_written.xpm"
#include "resources/xpm/filter.xpm"
#include "resources/xpm/filter_hover.xpm"
#include "resources/xpm/filter_pressed.xpm"
#include "resources/xpm/flow_series.xpm"
#include "resources/xpm/flow_series_hover.xpm"
#include "resources/xpm/flow_series_pressed.xpm"
#include "resources/xpm/grid.xpm"
#include "resources/xpm/grid_hover.xpm"
#include "resources/xpm/grid_pressed.xpm"
#include "resources/xpm/help_tip.xpm"
#include "resources/xpm/logo.xpm"
#include "resources/xpm/measure.xpm"
#include "resources/xpm/measure_hover.xpm"
#include "resources/xpm/measure_pressed.xpm"
#include "resources/xpm/menu_open.xpm"
#include "resources/xpm/menu_print.xpm"
#include "resources/xpm/menu_save.xpm"
#include "resources/xpm/open.xpm"
#include "resources/xpm/open_hover.xpm"
#include "resources/xpm/open_pressed.xpm"
#include "resources/xpm/points.xpm"
#include "resources/xpm/points_hover.xpm"
#include "resources/xpm/points_pressed.xpm"
#include "resources/xpm/pressure_series.xpm"
#include "resources/xpm/pressure_series_hover.xpm"
#include "resources/xpm/pressure_series_pressed.xpm"
#include "resources/xpm/print.xpm"
#include "resources/xpm/print_hover.xpm"
#include "resources/xpm/print_pressed.xpm"
#include "resources/xpm/record_face.xpm"
#include "resources/xpm/record_face_hover.xpm"
#include "resources/xpm/record_face_pressed.xpm"
#include "resources/xpm/save.xpm"
#include "resources/xpm/save_hover.xpm"
#include "resources/xpm/save_pressed.xpm"
#include "resources/xpm/settings_face.xpm"
#include "resources/xpm/settings_face_hover.xpm"
#include "resources/xpm/settings_face_pressed.xpm"
#include "resources/xpm/splash.xpm"
#include "resources/xpm/stop_face.xpm"
#include "resources/xpm/stop_face_hover.xpm"
#include "resources/xpm/stop_face_pressed.xpm"
#include "resources/xpm/upload_face.xpm"
#include "resources/xpm/upload_face_hover.xpm"
#include "resources/xpm/upload_face_pressed.xpm"
#include "resources/xpm/volume_series.xpm"
#include "resources/xpm/volume_series_hover.xpm"
#include "resources/xpm/volume_series_pressed.xpm"
#include "resources/xpm/zoom_in.xpm"
#include "resources/xpm/zoom_in_hover.xpm"
#include "resources/xpm/zoom_in_pressed.xpm"
#include "resources/xpm/zoom_out.xpm"
#include "resources/xpm/zoom_out_hover.xpm"
#include "resources/xpm/zoom_out_pressed.xpm"
#include "resources/xpm/zpm_128.xpm"
#include "resources/xpm/zpm_16.xpm"
#include "resources/xpm/zpm_24.xpm"
#include "resources/xpm/zpm_32.xpm"
#include "resources/xpm/zpm_48.xpm"
#include "resources/xpm/zpm_64.xpm"
// clang-format on

namespace pictures {

namespace {

using Xpm = const char* const*;

struct MotifPictures {
    Xpm normal, hover, pressed;  // hover and pressed are null for motifs without states
};

constexpr int motifCount = static_cast<int>(Motif::Splash) + 1;

// In the order of the Motif enumeration.
const std::array<MotifPictures, motifCount> table = {{
    {open_xpm, open_hover_xpm, open_pressed_xpm},                                   // Open
    {save_xpm, save_hover_xpm, save_pressed_xpm},                                   // Save
    {print_xpm, print_hover_xpm, print_pressed_xpm},                                // Print
    {camera_xpm, camera_hover_xpm, camera_pressed_xpm},                             // Camera
    {logo_xpm, nullptr, nullptr},                                                   // Logo
    {zoom_in_xpm, zoom_in_hover_xpm, zoom_in_pressed_xpm},                          // ZoomIn
    {zoom_out_xpm, zoom_out_hover_xpm, zoom_out_pressed_xpm},                       // ZoomOut
    {measure_xpm, measure_hover_xpm, measure_pressed_xpm},                          // Measure
    {grid_xpm, grid_hover_xpm, grid_pressed_xpm},                                   // Grid
    {points_xpm, points_hover_xpm, points_pressed_xpm},                             // Points
    {filter_xpm, filter_hover_xpm, filter_pressed_xpm},                             // Filter
    {flow_series_xpm, flow_series_hover_xpm, flow_series_pressed_xpm},              // FlowSeries
    {volume_series_xpm, volume_series_hover_xpm, volume_series_pressed_xpm},        // VolumeSeries
    {pressure_series_xpm, pressure_series_hover_xpm, pressure_series_pressed_xpm},  // PressureSeries
    {record_face_xpm, record_face_hover_xpm, record_face_pressed_xpm},              // RecordFace
    {stop_face_xpm, stop_face_hover_xpm, stop_face_pressed_xpm},                    // StopFace
    {settings_face_xpm, settings_face_hover_xpm, settings_face_pressed_xpm},        // SettingsFace
    {clear_face_xpm, clear_face_hover_xpm, clear_face_pressed_xpm},                 // ClearFace
    {upload_face_xpm, upload_face_hover_xpm, upload_face_pressed_xpm},              // UploadFace
    {help_tip_xpm, nullptr, nullptr},                                               // HelpTip
    {menu_open_xpm, nullptr, nullptr},                                              // MenuOpen
    {menu_save_xpm, nullptr, nullptr},                                              // MenuSave
    {menu_print_xpm, nullptr, nullptr},                                             // MenuPrint
    {connection_answered_xpm, nullptr, nullptr},                                    // ConnectionAnswered
    {connection_not_answered_xpm, nullptr, nullptr},                                // ConnectionNotAnswered
    {connection_written_xpm, nullptr, nullptr},                                     // ConnectionWritten
    {splash_xpm, nullptr, nullptr},                                                 // Splash
}};

const MotifPictures& Entry(Motif m) {
    return table[static_cast<size_t>(m)];
}

}  // namespace

const char* const* XpmData(Motif m, State s) {
    const MotifPictures& e = Entry(m);
    if (s == State::Hover && e.hover)
        return e.hover;
    if (s == State::Pressed && e.pressed)
        return e.pressed;
    return e.normal;
}

wxBitmap Get(Motif m, State s) {
    return wxBitmap(XpmData(m, s));
}

wxSize SizeOf(Motif m) {
    switch (m) {
        case Motif::Open:
        case Motif::Save:
        case Motif::Print:
        case Motif::Camera:
        case Motif::FlowSeries:
        case Motif::VolumeSeries:
        case Motif::PressureSeries:
            return {50, 50};
        case Motif::Logo:
            return {98, 60};
        case Motif::ZoomIn:
        case Motif::ZoomOut:
        case Motif::Measure:
        case Motif::Grid:
        case Motif::Points:
        case Motif::Filter:
            return {35, 30};
        case Motif::RecordFace:
        case Motif::StopFace:
        case Motif::SettingsFace:
        case Motif::ClearFace:
        case Motif::UploadFace:
        case Motif::HelpTip:
            return {70, 70};
        case Motif::MenuOpen:
        case Motif::MenuSave:
        case Motif::MenuPrint:
            return {16, 15};
        case Motif::ConnectionAnswered:
        case Motif::ConnectionNotAnswered:
        case Motif::ConnectionWritten:
            return {280, 70};
        case Motif::Splash:
            return {640, 540};
    }
    return {0, 0};
}

bool HasState(Motif m, State s) {
    const MotifPictures& e = Entry(m);
    switch (s) {
        case State::Normal:
            return true;
        case State::Hover:
            return e.hover != nullptr;
        case State::Pressed:
            return e.pressed != nullptr;
    }
    return false;
}

const std::vector<int>& AppIconSizes() {
    static const std::vector<int> sizes = {16, 24, 32, 48, 64, 128};
    return sizes;
}

const char* const* AppIconXpm(int px) {
    switch (px) {
        case 16:
            return zpm_16_xpm;
        case 24:
            return zpm_24_xpm;
        case 32:
            return zpm_32_xpm;
        case 48:
            return zpm_48_xpm;
        case 64:
            return zpm_64_xpm;
        case 128:
            return zpm_128_xpm;
    }
    return nullptr;
}

wxIconBundle AppIcons() {
    wxIconBundle bundle;
    for (int px : AppIconSizes())
        bundle.AddIcon(wxIcon(AppIconXpm(px)));
    return bundle;
}

}  // namespace pictures
