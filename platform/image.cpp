// Picture decoding with stb_image: the whole file is pulled through the
// caller's callback, then decoded from memory to 24-bit RGB.
#include "platform/image.h"

#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wall"
#pragma GCC diagnostic ignored "-Wextra"
#pragma GCC diagnostic ignored "-Wpedantic"
#pragma GCC diagnostic ignored "-Wshadow"
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"
#pragma GCC diagnostic ignored "-Wsign-compare"
#define STB_IMAGE_IMPLEMENTATION
#define STBI_ONLY_PNG
#define STBI_ONLY_JPEG
#define STBI_ONLY_BMP
#define STBI_NO_STDIO
#include <stb_image.h>
#pragma GCC diagnostic pop

#include <algorithm>
#include <cstring>

namespace qv::platform {
namespace {

// No picture file of the game comes near this; a larger one is refused
// rather than read into memory without end.
constexpr size_t kMaxFileBytes = 32u * 1024u * 1024u;

uint32_t BigEndian32(const uint8_t* p) {
    return (static_cast<uint32_t>(p[0]) << 24) | (static_cast<uint32_t>(p[1]) << 16) |
           (static_cast<uint32_t>(p[2]) << 8) | p[3];
}

// Two things stb_image does with PNG chunks that the file can turn against
// it, screened before it decodes:
// - an empty first IDAT is copied to a null pointer (undefined, and fatal
//   under the sanitizers): empty IDAT chunks carry nothing and are taken
//   out, which changes no picture;
// - an IDAT's buffer grows to its declared length before the data is read,
//   so a few bytes claiming gigabytes cost gigabytes: a chunk before IEND
//   whose data runs past the end of the file makes the file refused, as the
//   decoder would refuse it once the data ran out.
// False when the file is refused; anything that is not a PNG passes.
bool ScreenPngChunks(std::vector<uint8_t>& file) {
    static const uint8_t kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    if (file.size() < sizeof kSignature || std::memcmp(file.data(), kSignature, sizeof kSignature) != 0) {
        return true;
    }
    size_t at = sizeof kSignature;
    // Each chunk: length, type, data, CRC (the CRC of the last may be cut off).
    while (at + 8 <= file.size()) {
        const uint32_t length = BigEndian32(&file[at]);
        const bool data = std::memcmp(&file[at + 4], "IDAT", 4) == 0;
        if (length == 0 && data) {
            const size_t end = std::min(file.size(), at + 12);
            file.erase(file.begin() + static_cast<long>(at), file.begin() + static_cast<long>(end));
            continue;
        }
        if (static_cast<uint64_t>(at) + 8u + length > file.size()) {
            return false;
        }
        if (std::memcmp(&file[at + 4], "IEND", 4) == 0) {
            return true;
        }
        at += 12u + length;
    }
    return true;
}

}  // namespace

bool DecompressImage(ImageReadCallback read, void* context, Bitmap24* out) {
    if (read == nullptr || out == nullptr) {
        return false;
    }
    *out = Bitmap24{};
    std::vector<uint8_t> file;
    uint8_t block[kImageBlockSize];
    for (;;) {
        int32_t got = read(context, block, kImageBlockSize);
        if (got < 0) {
            return false;
        }
        if (got == 0) {
            break;
        }
        if (static_cast<uint32_t>(got) > kImageBlockSize || file.size() + static_cast<size_t>(got) > kMaxFileBytes) {
            return false;
        }
        file.insert(file.end(), block, block + got);
    }
    if (!ScreenPngChunks(file)) {
        return false;
    }
    if (file.empty() || file.size() > static_cast<size_t>(INT32_MAX)) {
        return false;
    }
    int length = static_cast<int>(file.size());
    int width = 0;
    int height = 0;
    int channels = 0;
    // Check the size before decoding, so a huge header costs nothing.
    if (stbi_info_from_memory(file.data(), length, &width, &height, &channels) == 0 || width <= 0 ||
        height <= 0 || width > kImageMaxWidth || height > kImageMaxHeight) {
        return false;
    }
    stbi_uc* pixels = stbi_load_from_memory(file.data(), length, &width, &height, &channels, 3);
    if (pixels == nullptr) {
        return false;
    }
    if (width <= 0 || height <= 0 || width > kImageMaxWidth || height > kImageMaxHeight) {
        stbi_image_free(pixels);
        return false;
    }
    out->width = width;
    out->height = height;
    out->rgb.assign(pixels, pixels + static_cast<size_t>(width) * static_cast<size_t>(height) * 3);
    stbi_image_free(pixels);
    return true;
}

}  // namespace qv::platform
