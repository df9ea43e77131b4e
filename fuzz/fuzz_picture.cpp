// Fuzz target: a picture file through the loader into the display's format, and drawn.
// The first byte picks the pixel format and the dither, the second the Gamma offset.
#include "engine/blit.h"
#include "engine/picture_loader.h"
#include "fuzz/fuzz_support.h"

using namespace qv;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static WString path;
    if (path.empty()) {
        fuzz::StartHeadless();
        path = fuzz::Handheld(fuzz::TempDir() / "picture.bin");
    }
    if (size < 2) return 0;
    static const int32_t kFormats[3] = {128, 64, 512};
    gPixelFormat = kFormats[(data[0] & 3) % 3];
    const bool dither = (data[0] & 4) != 0;
    gGamma = static_cast<int8_t>(data[1]);
    fuzz::WriteBytes(fuzz::TempDir() / "picture.bin", data + 2, size - 2);

    Picture picture;
    if (LoadPicture(path, picture, dither)) {
        BlitPicture(-7, 300, picture, 0);
        BlitPictureKeyed(100, -20, picture, 1);
    }
    FreePicture(picture);
    gPixelFormat = 128;
    gGamma = 0;
    fuzz::DrainMessages();
    return 0;
}
