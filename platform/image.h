// Image decoding: a picture file's content to a 24-bit bitmap.
#pragma once

#include <cstdint>
#include <vector>

namespace qv::platform {

// Supplies the next block of the file: fills at most size bytes of buffer
// and returns how many it gave (0 at the end, negative on error).
using ImageReadCallback = int32_t (*)(void* context, uint8_t* buffer, uint32_t size);

inline constexpr uint32_t kImageBlockSize = 4096;
inline constexpr int kImageMaxWidth = 800;
inline constexpr int kImageMaxHeight = 600;

// Decoded picture: rows top to bottom, 3 bytes a pixel in the order
// red, green, blue.
struct Bitmap24 {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> rgb;
};

// Reads the whole file through the callback in blocks of kImageBlockSize;
// false on a read error or a file too large for any picture of the game.
bool ReadImageFile(ImageReadCallback read, void* context, std::vector<uint8_t>* file);
// Decodes a whole file as PNG or JPEG (recognised from the content). False
// for any other format, an undecodable file or one larger than
// kImageMaxWidth x kImageMaxHeight; out is then empty.
bool DecodeImage(const std::vector<uint8_t>& file, Bitmap24* out);
// Both of them.
bool DecompressImage(ImageReadCallback read, void* context, Bitmap24* out);

}  // namespace qv::platform
