// Loading picture files into Pictures in the display's format, and the board pictures.
#pragma once

#include <cstdint>

#include "engine/picture.h"
#include "platform/image.h"
#include "platform/types.h"

namespace qv {

// [0] the card back, [1]..[5] the power icons of strength 1 to 5.
extern Picture gCardIcons[6];
extern Picture gBlockedCellPicture;

// Loads the file at the full path (gInstallDir + a relative path) into the
// picture, converted to gPixelFormat with the Gamma offset; the dither flag
// matters only in 4-4-4. A missing or undecodable file shows the "Not found"
// box and leaves a 0 x 0 picture (with a one-pixel block); false then.
bool LoadPicture(const WString& path, Picture& picture, bool dither);
// Opens the file read-only and decodes it; false when either fails.
bool DecodeImageFile(const WString& path, platform::Bitmap24* out);
// The decoder's read callback: context is a platform::FileHandle.
int32_t ReadImageData(void* context, uint8_t* buffer, uint32_t size);
// Called while a picture decodes: keeps the music going.
void ImageDecodeProgress();

// The conversions of a 24-bit bitmap whose rows lie bottom-up, stride bytes
// apart, each pixel blue, green, red: every channel gets gGamma added and
// is clamped to 0..255 before packing. The 4-4-4 dither diffuses each
// channel's dropped bits into the source (which it changes).
void ConvertRgb24To565(int stride, uint8_t* bits, uint16_t* pixels, int height, int width);
void ConvertRgb24To555(int stride, uint8_t* bits, uint16_t* pixels, int height, int width);
void ConvertRgb24To444(int stride, uint8_t* bits, uint16_t* pixels, int height, int width,
                       bool dither);
// What the loader makes of one 8-bit colour (Gamma, clamp, pack; no dither).
// Black gives gTransparentKey, (255, 0, 255) the font's separator and
// (255, 0, 0) the font's red key.
uint16_t ConvertRgbPixel(uint8_t red, uint8_t green, uint8_t blue);

// Loads gCardIcons 1..5, then 0, then gBlockedCellPicture (dither on).
void LoadBoardPictures();

}  // namespace qv
