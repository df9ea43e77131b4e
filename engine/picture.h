// A picture in the display's pixel format.
#pragma once

#include <cstdint>

namespace qv {

// height rows of width pixels, row by row. Plain value: copies share the
// pixels; whoever loaded or allocated them frees them with FreePicture.
// A missing picture is 0 x 0 with no pixels and draws nothing.
struct Picture {
    uint16_t height = 0;
    uint16_t width = 0;
    uint16_t* pixels = nullptr;
};

// Frees the pixels and leaves the picture 0 x 0.
void FreePicture(Picture& picture);

}  // namespace qv
