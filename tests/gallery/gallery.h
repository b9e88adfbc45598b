#pragma once

// The gallery shows the program's pictures, widgets and windows page by page, so reviewers can
// look at them in screenshots (scripts/gallery.sh). Each page_*.cpp registers its pages with
// ZPM_GALLERY_PAGE; a page builds and shows its top-level windows and returns the main one.

#include <wx/toplevel.h>

#include <functional>
#include <string>
#include <vector>

struct GalleryPage {
    std::string name;
    std::function<wxTopLevelWindow*()> show;
    double settleSeconds = 1.5;  // how long the screenshot waits after the window appears
    std::string keys;            // pressed (xdotool key names) once the window shows, if any
};

std::vector<GalleryPage>& GalleryPages();

// Pages whose name starts with "x2-" are screenshot on a desktop that scales by 2 (GDK_SCALE=2).
constexpr const char* doubleScalePrefix = "x2-";

struct GalleryPageRegistrar {
    GalleryPageRegistrar(const char* name, std::function<wxTopLevelWindow*()> show,
                         double settleSeconds = 1.5, const char* keys = "", bool alsoAtScale2 = false) {
        GalleryPages().push_back({name, show, settleSeconds, keys});
        if (alsoAtScale2)
            GalleryPages().push_back({doubleScalePrefix + std::string(name), show, settleSeconds, keys});
    }
};

#define ZPM_GALLERY_CONCAT2(a, b) a##b
#define ZPM_GALLERY_CONCAT(a, b) ZPM_GALLERY_CONCAT2(a, b)
#define ZPM_GALLERY_PAGE(name, fn) \
    static GalleryPageRegistrar ZPM_GALLERY_CONCAT(galleryPage, __LINE__)(name, fn)
// A page that needs time before it shows what it is about (live samples, a download).
#define ZPM_GALLERY_PAGE_SETTLE(name, seconds, fn) \
    static GalleryPageRegistrar ZPM_GALLERY_CONCAT(galleryPage, __LINE__)(name, fn, seconds)
// A page shown at desktop scales 1 and 2 (the second named "x2-NAME"), keys pressed after showing.
#define ZPM_GALLERY_PAGE_BOTH_SCALES(name, fn, keys) \
    static GalleryPageRegistrar ZPM_GALLERY_CONCAT(galleryPage, __LINE__)(name, fn, 1.5, keys, true)
