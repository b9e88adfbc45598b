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
};

std::vector<GalleryPage>& GalleryPages();

struct GalleryPageRegistrar {
    GalleryPageRegistrar(const char* name, std::function<wxTopLevelWindow*()> show) {
        GalleryPages().push_back({name, std::move(show)});
    }
};

#define ZPM_GALLERY_CONCAT2(a, b) a##b
#define ZPM_GALLERY_CONCAT(a, b) ZPM_GALLERY_CONCAT2(a, b)
#define ZPM_GALLERY_PAGE(name, fn) \
    static GalleryPageRegistrar ZPM_GALLERY_CONCAT(galleryPage, __LINE__)(name, fn)
