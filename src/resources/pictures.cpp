// The program's pictures, compiled in. The XPM files and the double-size PNG files are made
// from the SVG sources in artwork/ by scripts/render-artwork.sh.
#include "resources/pictures.h"

#include "resources/embedded_pictures.h"

#include <wx/bmpbndl.h>
#include <wx/icon.h>
#include <wx/imagpng.h>
#include <wx/mstream.h>

#include <algorithm>
#include <array>
#include <string>

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
    const char* name;            // file name of the normal picture; "_hover", "_pressed" follow
};

constexpr int motifCount = static_cast<int>(Motif::Splash) + 1;

// In the order of the Motif enumeration.
const std::array<MotifPictures, motifCount> table = {{
    {open_xpm, open_hover_xpm, open_pressed_xpm, "open"},                                      // Open
    {save_xpm, save_hover_xpm, save_pressed_xpm, "save"},                                      // Save
    {print_xpm, print_hover_xpm, print_pressed_xpm, "print"},                                  // Print
    {camera_xpm, camera_hover_xpm, camera_pressed_xpm, "camera"},                              // Camera
    {logo_xpm, nullptr, nullptr, "logo"},                                                      // Logo
    {zoom_in_xpm, zoom_in_hover_xpm, zoom_in_pressed_xpm, "zoom_in"},                          // ZoomIn
    {zoom_out_xpm, zoom_out_hover_xpm, zoom_out_pressed_xpm, "zoom_out"},                      // ZoomOut
    {measure_xpm, measure_hover_xpm, measure_pressed_xpm, "measure"},                          // Measure
    {grid_xpm, grid_hover_xpm, grid_pressed_xpm, "grid"},                                      // Grid
    {points_xpm, points_hover_xpm, points_pressed_xpm, "points"},                              // Points
    {filter_xpm, filter_hover_xpm, filter_pressed_xpm, "filter"},                              // Filter
    {flow_series_xpm, flow_series_hover_xpm, flow_series_pressed_xpm, "flow_series"},          // FlowSeries
    {volume_series_xpm, volume_series_hover_xpm, volume_series_pressed_xpm, "volume_series"},  // VolumeSeries
    {pressure_series_xpm, pressure_series_hover_xpm, pressure_series_pressed_xpm,
     "pressure_series"},                                                               // PressureSeries
    {record_face_xpm, record_face_hover_xpm, record_face_pressed_xpm, "record_face"},  // RecordFace
    {stop_face_xpm, stop_face_hover_xpm, stop_face_pressed_xpm, "stop_face"},          // StopFace
    {settings_face_xpm, settings_face_hover_xpm, settings_face_pressed_xpm, "settings_face"},  // SettingsFace
    {clear_face_xpm, clear_face_hover_xpm, clear_face_pressed_xpm, "clear_face"},              // ClearFace
    {upload_face_xpm, upload_face_hover_xpm, upload_face_pressed_xpm, "upload_face"},          // UploadFace
    {help_tip_xpm, nullptr, nullptr, "help_tip"},                                              // HelpTip
    {menu_open_xpm, nullptr, nullptr, "menu_open"},                                            // MenuOpen
    {menu_save_xpm, nullptr, nullptr, "menu_save"},                                            // MenuSave
    {menu_print_xpm, nullptr, nullptr, "menu_print"},                                          // MenuPrint
    {connection_answered_xpm, nullptr, nullptr, "connection_answered"},          // ConnectionAnswered
    {connection_not_answered_xpm, nullptr, nullptr, "connection_not_answered"},  // ConnectionNotAnswered
    {connection_written_xpm, nullptr, nullptr, "connection_written"},            // ConnectionWritten
    {splash_xpm, nullptr, nullptr, "splash"},                                    // Splash
}};

const MotifPictures& Entry(Motif m) {
    return table[static_cast<size_t>(m)];
}

std::string FileName(Motif m, State s) {
    const MotifPictures& e = Entry(m);
    std::string name = e.name;
    if (s == State::Hover && e.hover)
        name += "_hover";
    else if (s == State::Pressed && e.pressed)
        name += "_pressed";
    return name;
}

const EmbeddedPicture* FindDoubleSize(const std::string& name) {
    const EmbeddedPicture* end = embeddedPictures + embeddedPictureCount;
    const EmbeddedPicture* found = std::lower_bound(
        embeddedPictures, end, name,
        [](const EmbeddedPicture& p, const std::string& n) { return n.compare(p.name) > 0; });
    return found != end && name == found->name ? found : nullptr;
}

wxImage DecodePng(const EmbeddedPicture& picture) {
    // A handler of its own: the program registers the toolkit's handlers later, and only once.
    wxPNGHandler handler;
    wxMemoryInputStream in(picture.data, picture.size);
    wxImage image;
    handler.LoadFile(&image, in, false);
    return image;
}

// One picture at the stated size (the XPM, pixel for pixel as on a screen of scale 1) and at
// twice the size (drawn from the same source, for a scale of 2). The double size is decoded when
// a window first asks for it; other sizes are resized from the nearer drawing.
class PictureBundle : public wxBitmapBundleImpl {
public:
    PictureBundle(Xpm xpm, const EmbeddedPicture* doubleSize)
        : normal(xpm), doublePicture(doubleSize), size(normal.GetSize()) {}

    wxSize GetDefaultSize() const override { return size; }

    wxSize GetPreferredBitmapSizeAtScale(double scale) const override { return DoGetPreferredSize(scale); }

    wxBitmap GetBitmap(const wxSize& wanted) override {
        if (wanted == size)
            return normal;
        if (doublePicture && !doubled.IsOk())
            doubled = wxBitmap(DecodePng(*doublePicture));
        if (wanted == size * 2 && doubled.IsOk())
            return doubled;
        // In between or beyond: shrinking the larger drawing looks better than enlarging pixels.
        const bool fromDouble = doubled.IsOk() && wanted.x > size.x;
        return Resized((fromDouble ? doubled : normal).ConvertToImage(), wanted);
    }

protected:
    double GetNextAvailableScale(size_t& i) const override {
        switch (i++) {
            case 0:
                return 1.0;
            case 1:
                if (doublePicture)
                    return 2.0;
                break;
        }
        return 0.0;
    }

private:
    static wxBitmap Resized(wxImage image, const wxSize& wanted) {
        if (wanted.x <= 0 || wanted.y <= 0)
            return wxBitmap();
        return wxBitmap(image.Rescale(wanted.x, wanted.y, wxIMAGE_QUALITY_HIGH));
    }

    wxBitmap normal;
    wxBitmap doubled;
    const EmbeddedPicture* doublePicture;
    wxSize size;
};

}  // namespace

wxBitmapBundle Bundle(Motif m, State s) {
    return wxBitmapBundle::FromImpl(new PictureBundle(XpmData(m, s), FindDoubleSize(FileName(m, s))));
}

bool HasDoubleSize(Motif m, State s) {
    return FindDoubleSize(FileName(m, s)) != nullptr;
}

wxBitmap GetDoubleSize(Motif m, State s) {
    const EmbeddedPicture* picture = FindDoubleSize(FileName(m, s));
    return picture ? wxBitmap(DecodePng(*picture)) : wxBitmap();
}

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
