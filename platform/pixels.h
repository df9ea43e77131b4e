// Conversion of the display's 16-bit pixels to 8-bit RGB, and the frame hash.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace qv::platform {

// The layout the game uses for format flags: 5-5-5 when kfDirect555 is set,
// else 5-6-5 when kfDirect565, else 4-4-4 when kfDirect444, else 5-6-5.
enum class PixelLayout { k565, k555, k444 };
PixelLayout LayoutForFormat(uint32_t format);

// Expands one pixel to 8-bit channels (full range: 31 -> 255).
void PixelToRgb(uint16_t pixel, PixelLayout layout, uint8_t* red, uint8_t* green, uint8_t* blue);

// count pixels to 3 bytes each (red, green, blue).
std::vector<uint8_t> FrameToRgb(const uint16_t* frame, int count, uint32_t format);

// The rows where two width x height frames differ: false when they are
// equal, else true with the first and last differing rows.
bool ChangedRows(const uint16_t* before, const uint16_t* after, int width, int height, int* first, int* last);

// XXH3 64 (seed 0) over the pixels, each as two bytes low byte first.
uint64_t HashFrame(const uint16_t* frame, int count);

// PNG file of an RGB image; false when it cannot be written.
bool WritePng(const std::string& hostPath, int width, int height, const uint8_t* rgb);
// PNG bytes of an RGB image (empty on failure).
std::vector<uint8_t> EncodePng(int width, int height, const uint8_t* rgb);

}  // namespace qv::platform
