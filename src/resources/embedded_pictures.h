#pragma once

#include <cstddef>

// The double-size pictures (src/resources/x2/*.png), compiled in by the build, sorted by name.
struct EmbeddedPicture {
    const char* name;  // the file name without ".png"
    const unsigned char* data;
    std::size_t size;
};

extern const EmbeddedPicture embeddedPictures[];
extern const std::size_t embeddedPictureCount;
