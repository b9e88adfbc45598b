// Finds one of the program's compiled-in pictures on a screenshot, so that a journey can click a
// button where it is drawn instead of at a screen position fixed in advance.
//   zpm_find_picture SCREENSHOT.png MOTIF   prints "x y", the centre of the first place the
//                                           middle of the motif's picture shows; exit 1 if none.
#include "resources/pictures.h"

#include <wx/image.h>
#include <wx/init.h>

#include <cstdio>
#include <cstring>

namespace {

struct Named {
    const char* name;
    pictures::Motif motif;
};
const Named Motifs[] = {
    {"record", pictures::Motif::RecordFace},     {"stop", pictures::Motif::StopFace},
    {"settings", pictures::Motif::SettingsFace}, {"clear", pictures::Motif::ClearFace},
    {"upload", pictures::Motif::UploadFace},
};

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s SCREENSHOT.png MOTIF\n", argv[0]);
        return 2;
    }
    const pictures::Motif* motif = nullptr;
    for (const Named& n : Motifs)
        if (std::strcmp(n.name, argv[2]) == 0)
            motif = &n.motif;
    wxInitializer init;
    if (!init.IsOk() || !motif)
        return 2;
    wxInitAllImageHandlers();
    wxImage screen;
    if (!screen.LoadFile(wxString::FromUTF8(argv[1]), wxBITMAP_TYPE_PNG))
        return 2;
    const wxImage picture(pictures::XpmData(*motif));
    // The middle of the picture: a button may show its picture cut at the edges.
    const int side = 24;
    const int px = (picture.GetWidth() - side) / 2, py = (picture.GetHeight() - side) / 2;
    const int w = screen.GetWidth(), h = screen.GetHeight();
    const unsigned char* s = screen.GetData();
    const unsigned char* p = picture.GetData();
    for (int y = 0; y + side <= h; ++y) {
        for (int x = 0; x + side <= w; ++x) {
            bool same = true;
            for (int dy = 0; dy < side && same; ++dy)
                same = std::memcmp(s + 3 * ((y + dy) * w + x), p + 3 * ((py + dy) * picture.GetWidth() + px),
                                   3 * side) == 0;
            if (same) {
                std::printf("%d %d\n", x + side / 2, y + side / 2);
                return 0;
            }
        }
    }
    return 1;
}
