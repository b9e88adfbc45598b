// zpm_gallery --list | --page NAME
#include "gallery.h"

#include "app/language.h"
#include "mainframe/main_frame.h"

#include <wx/app.h>
#include <wx/cmdline.h>
#include <wx/filename.h>
#include <wx/image.h>
#include <wx/stdpaths.h>

#include <cstdio>

std::vector<GalleryPage>& GalleryPages() {
    static std::vector<GalleryPage> pages;
    return pages;
}

namespace {

class GalleryApp : public wxApp {
public:
    bool OnInit() override {
        wxInitAllImageHandlers();
        MainFrame::splashEnabled = false;
        // The desktop's language (LANGUAGE=en scripts/gallery.sh): the catalogs lie beside the
        // programs of the same build.
        const wxFileName self(wxStandardPaths::Get().GetExecutablePath());
        language::Install(self.GetPath() + wxS("/../../src/app/exe/zpm"));
        wxString page;
        for (int i = 1; i < argc; ++i) {
            wxString arg = argv[i];
            if (arg == wxString::FromAscii("--list")) {
                for (const auto& p : GalleryPages())
                    std::printf("%s:%.1f:%s\n", p.name.c_str(), p.settleSeconds, p.keys.c_str());
                return false;
            }
            if (arg == wxString::FromAscii("--page") && i + 1 < argc)
                page = argv[++i];
        }
        for (const auto& p : GalleryPages()) {
            if (wxString::FromUTF8(p.name) == page) {
                wxTopLevelWindow* w = p.show();
                if (!w)
                    return false;
                SetTopWindow(w);
                return true;
            }
        }
        std::fprintf(stderr, "usage: zpm_gallery --list | --page NAME\n");  // --list: NAME:SETTLE:KEYS
        return false;
    }
};

}  // namespace

wxIMPLEMENT_APP(GalleryApp);
