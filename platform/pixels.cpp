// Pixel conversion, the frame hash and PNG writing (libspng).
#include "platform/pixels.h"

#include <fcntl.h>
#include <unistd.h>

#include <spng.h>
#include <xxhash.h>

#include <bit>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "platform/display.h"

namespace qv::platform {
namespace {

uint8_t Expand5(uint32_t v) { return static_cast<uint8_t>((v << 3) | (v >> 2)); }
uint8_t Expand6(uint32_t v) { return static_cast<uint8_t>((v << 2) | (v >> 4)); }
uint8_t Expand4(uint32_t v) { return static_cast<uint8_t>((v << 4) | v); }

}  // namespace

PixelLayout LayoutForFormat(uint32_t format) {
    if (format & kfDirect555) {
        return PixelLayout::k555;
    }
    if (format & kfDirect565) {
        return PixelLayout::k565;
    }
    if (format & kfDirect444) {
        return PixelLayout::k444;
    }
    return PixelLayout::k565;
}

void PixelToRgb(uint16_t pixel, PixelLayout layout, uint8_t* red, uint8_t* green, uint8_t* blue) {
    switch (layout) {
    case PixelLayout::k565:
        *red = Expand5((pixel >> 11) & 0x1F);
        *green = Expand6((pixel >> 5) & 0x3F);
        *blue = Expand5(pixel & 0x1F);
        break;
    case PixelLayout::k555:
        *red = Expand5((pixel >> 10) & 0x1F);
        *green = Expand5((pixel >> 5) & 0x1F);
        *blue = Expand5(pixel & 0x1F);
        break;
    case PixelLayout::k444:
        *red = Expand4((pixel >> 8) & 0xF);
        *green = Expand4((pixel >> 4) & 0xF);
        *blue = Expand4(pixel & 0xF);
        break;
    }
}

std::vector<uint8_t> FrameToRgb(const uint16_t* frame, int count, uint32_t format) {
    PixelLayout layout = LayoutForFormat(format);
    std::vector<uint8_t> rgb(static_cast<size_t>(count) * 3);
    for (int i = 0; i < count; ++i) {
        PixelToRgb(frame[i], layout, &rgb[i * 3], &rgb[i * 3 + 1], &rgb[i * 3 + 2]);
    }
    return rgb;
}

bool ChangedRows(const uint16_t* before, const uint16_t* after, int width, int height, int* first, int* last) {
    const size_t rowBytes = static_cast<size_t>(width) * sizeof(uint16_t);
    auto differs = [&](int y) {
        return std::memcmp(before + static_cast<size_t>(y) * width, after + static_cast<size_t>(y) * width,
                           rowBytes) != 0;
    };
    int top = 0;
    while (top < height && !differs(top)) {
        ++top;
    }
    if (top == height) {
        return false;
    }
    int bottom = height - 1;
    while (bottom > top && !differs(bottom)) {
        --bottom;
    }
    *first = top;
    *last = bottom;
    return true;
}

uint64_t HashFrame(const uint16_t* frame, int count) {
    if (count <= 0) {
        return XXH3_64bits(nullptr, 0);
    }
    if constexpr (std::endian::native == std::endian::little) {
        return XXH3_64bits(frame, static_cast<size_t>(count) * sizeof(uint16_t));
    } else {
        std::vector<uint8_t> bytes(static_cast<size_t>(count) * 2);
        for (int i = 0; i < count; ++i) {
            bytes[i * 2] = static_cast<uint8_t>(frame[i] & 0xFF);
            bytes[i * 2 + 1] = static_cast<uint8_t>(frame[i] >> 8);
        }
        return XXH3_64bits(bytes.data(), bytes.size());
    }
}

std::vector<uint8_t> EncodePng(int width, int height, const uint8_t* rgb) {
    std::vector<uint8_t> out;
    if (width <= 0 || height <= 0) {
        return out;
    }
    std::unique_ptr<spng_ctx, decltype(&spng_ctx_free)> context(spng_ctx_new(SPNG_CTX_ENCODER), spng_ctx_free);
    spng_ctx* ctx = context.get();
    spng_ihdr header{};
    header.width = static_cast<uint32_t>(width);
    header.height = static_cast<uint32_t>(height);
    header.bit_depth = 8;
    header.color_type = SPNG_COLOR_TYPE_TRUECOLOR;
    const size_t bytes = static_cast<size_t>(width) * static_cast<size_t>(height) * 3;
    if (ctx == nullptr || spng_set_option(ctx, SPNG_ENCODE_TO_BUFFER, 1) != 0 || spng_set_ihdr(ctx, &header) != 0 ||
        spng_encode_image(ctx, rgb, bytes, SPNG_FMT_PNG, SPNG_ENCODE_FINALIZE) != 0) {
        return out;
    }
    size_t length = 0;
    int error = 0;
    // The buffer is ours to free once taken.
    std::unique_ptr<void, decltype(&std::free)> png(spng_get_png_buffer(ctx, &length, &error), std::free);
    if (png != nullptr && error == 0) {
        const auto* first = static_cast<const uint8_t*>(png.get());
        out.assign(first, first + length);
    }
    return out;
}

bool WritePng(const std::string& hostPath, int width, int height, const uint8_t* rgb) {
    std::vector<uint8_t> bytes = EncodePng(width, height, rgb);
    if (bytes.empty()) {
        return false;
    }
    int fd = ::open(hostPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0) {
        return false;
    }
    size_t done = 0;
    while (done < bytes.size()) {
        ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n <= 0) {
            ::close(fd);
            return false;
        }
        done += static_cast<size_t>(n);
    }
    return ::close(fd) == 0;
}

}  // namespace qv::platform
