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
};

std::vector<GalleryPage>& GalleryPages();

struct GalleryPageRegistrar {
    GalleryPageRegistrar(const char* name, std::function<wxTopLevelWindow*()> show, double settleSeconds = 1.5) {
        GalleryPages().push_back({name, std::move(show), settleSeconds});
    }
};

#define ZPM_GALLERY_CONCAT2(a, b) a##b
#define ZPM_GALLERY_CONCAT(a, b) ZPM_GALLERY_CONCAT2(a, b)
#define ZPM_GALLERY_PAGE(name, fn) \
    static GalleryPageRegistrar ZPM_GALLERY_CONCAT(galleryPage, __LINE__)(name, fn)
// A page that needs time before it shows what it is about (live samples, a download).
#define ZPM_GALLERY_PAGE_SETTLE(name, seconds, fn) \
    static GalleryPageRegistrar ZPM_GALLERY_CONCAT(galleryPage, __LINE__)(name, fn, seconds)
