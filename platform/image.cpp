// Picture decoding: the whole file is pulled through the caller's callback,
// then decoded from memory to 24-bit RGB, PNG by libspng and JPEG by
// libjpeg-turbo. Both are made to read files nobody vouches for; any other
// format, and any file either refuses, is refused.
#include "platform/image.h"

#include <spng.h>
#include <turbojpeg.h>

#include <cstring>
#include <memory>

namespace qv::platform {
namespace {

// No picture file of the game comes near this; a larger one is refused
// rather than read into memory without end.
constexpr size_t kMaxFileBytes = 32u * 1024u * 1024u;

bool FitsTheLimits(long width, long height) {
    return width > 0 && height > 0 && width <= kImageMaxWidth && height <= kImageMaxHeight;
}

bool IsPng(const std::vector<uint8_t>& file) {
    static const uint8_t kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    return file.size() >= sizeof kSignature && std::memcmp(file.data(), kSignature, sizeof kSignature) == 0;
}

bool IsJpeg(const std::vector<uint8_t>& file) {
    return file.size() >= 3 && file[0] == 0xFF && file[1] == 0xD8 && file[2] == 0xFF;
}

bool DecodePng(const std::vector<uint8_t>& file, Bitmap24* out) {
    // The chunks' CRCs already cover every byte of the compressed stream: its
    // own checksum would only add work.
    std::unique_ptr<spng_ctx, decltype(&spng_ctx_free)> context(spng_ctx_new(SPNG_CTX_IGNORE_ADLER32), spng_ctx_free);
    spng_ctx* ctx = context.get();
    // The size is checked before anything is decoded, so a huge header costs
    // nothing; no ancillary chunk may hold more than the file could.
    if (ctx == nullptr || spng_set_image_limits(ctx, kImageMaxWidth, kImageMaxHeight) != 0 ||
        spng_set_chunk_limits(ctx, kMaxFileBytes, kMaxFileBytes) != 0 ||
        spng_set_png_buffer(ctx, file.data(), file.size()) != 0) {
        return false;
    }
    spng_ihdr header{};
    size_t bytes = 0;
    if (spng_get_ihdr(ctx, &header) != 0 || !FitsTheLimits(header.width, header.height) ||
        spng_decoded_image_size(ctx, SPNG_FMT_RGB8, &bytes) != 0 ||
        bytes != static_cast<size_t>(header.width) * header.height * 3) {
        return false;
    }
    // Alpha and transparency are dropped and no gamma is applied: the
    // pixels are the file's own colour values.
    out->rgb.resize(bytes);
    // The chunks after the image data are read too, to the end chunk: a
    // file cut short or damaged there is refused like one damaged earlier.
    if (spng_decode_image(ctx, out->rgb.data(), bytes, SPNG_FMT_RGB8, 0) != 0 || spng_decode_chunks(ctx) != 0) {
        return false;
    }
    out->width = static_cast<int>(header.width);
    out->height = static_cast<int>(header.height);
    return true;
}

bool DecodeJpeg(const std::vector<uint8_t>& file, Bitmap24* out) {
    std::unique_ptr<void, decltype(&tjDestroy)> decoder(tjInitDecompress(), tjDestroy);
    if (decoder == nullptr) {
        return false;
    }
    int width = 0;
    int height = 0;
    int subsampling = 0;
    int colourSpace = 0;
    if (tjDecompressHeader3(decoder.get(), file.data(), file.size(), &width, &height, &subsampling, &colourSpace) !=
            0 ||
        !FitsTheLimits(width, height)) {
        return false;
    }
    out->rgb.resize(static_cast<size_t>(width) * static_cast<size_t>(height) * 3);
    // A damaged stream is refused rather than shown half grey, and a
    // progressive file may not make the decoder loop over endless scans.
    const int flags = TJFLAG_ACCURATEDCT | TJFLAG_STOPONWARNING | TJFLAG_LIMITSCANS;
    if (tjDecompress2(decoder.get(), file.data(), file.size(), out->rgb.data(), width, width * 3, height, TJPF_RGB,
                      flags) != 0) {
        return false;
    }
    out->width = width;
    out->height = height;
    return true;
}

}  // namespace

bool ReadImageFile(ImageReadCallback read, void* context, std::vector<uint8_t>* file) {
    file->clear();
    if (read == nullptr) {
        return false;
    }
    uint8_t block[kImageBlockSize];
    for (;;) {
        int32_t got = read(context, block, kImageBlockSize);
        if (got < 0) {
            return false;
        }
        if (got == 0) {
            return true;
        }
        if (static_cast<uint32_t>(got) > kImageBlockSize || file->size() + static_cast<size_t>(got) > kMaxFileBytes) {
            return false;
        }
        file->insert(file->end(), block, block + got);
    }
}

bool DecodeImage(const std::vector<uint8_t>& file, Bitmap24* out) {
    if (out == nullptr) {
        return false;
    }
    *out = Bitmap24{};
    bool decoded = false;
    if (IsPng(file)) {
        decoded = DecodePng(file, out);
    } else if (IsJpeg(file)) {
        decoded = DecodeJpeg(file, out);
    }
    if (!decoded) {
        *out = Bitmap24{};
    }
    return decoded;
}

bool DecompressImage(ImageReadCallback read, void* context, Bitmap24* out) {
    if (out == nullptr) {
        return false;
    }
    *out = Bitmap24{};
    std::vector<uint8_t> file;
    return ReadImageFile(read, context, &file) && DecodeImage(file, out);
}

}  // namespace qv::platform
