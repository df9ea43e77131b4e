// Fuzz target: the font picture cut into glyphs, every code measured, and a line drawn.
// The first byte picks transparency, the red key and the pixel format.
#include "engine/blit.h"
#include "engine/font.h"
#include "fuzz/fuzz_support.h"

using namespace qv;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static WString path;
    if (path.empty()) {
        fuzz::StartHeadless();
        path = fuzz::Handheld(fuzz::TempDir() / "font.bin");
    }
    if (size < 1) return 0;
    static const int32_t kFormats[3] = {128, 64, 512};
    gPixelFormat = kFormats[((data[0] >> 2) & 3) % 3];
    fuzz::WriteBytes(fuzz::TempDir() / "font.bin", data + 1, size - 1);

    gFont.Load(path, (data[0] & 1) != 0, (data[0] & 2) != 0);
    WString every;
    for (int code = 0; code < 256; ++code) every.push_back(static_cast<char16_t>(code));
    every += u"\u0141\uFFFF";
    for (int code = -1; code <= 256; ++code) (void)gFont.GetGlyph(code).width;
    (void)gFont.TextWidth(every);
    (void)gFont.GetHeight();
    DrawText(every, -30, 150, gFont, 0);
    DrawColouredText(every, 200, 310, gFont, 11, 0);
    // A loaded font would answer the next picture failure with a game box
    // that waits for a tap: none stays loaded between runs.
    gFont.Free();
    gPixelFormat = 128;
    fuzz::DrainMessages();
    return 0;
}
