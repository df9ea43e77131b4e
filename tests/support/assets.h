// The built asset set read through the game's own picture decoder.
#pragma once

#include <algorithm>
#include <cstdint>
#include <filesystem>

#include "platform/image.h"
#include "tests/support/files.h"
#include "tests/support/installation.h"

namespace qv::test {

struct Decoded {
    bool ok = false;
    platform::Bitmap24 bitmap;
    // The pixel at (x, y): red, green, blue.
    const uint8_t* At(int x, int y) const { return &bitmap.rgb[(static_cast<size_t>(y) * bitmap.width + x) * 3]; }
};

// Decodes a file below the installation through the game's own decoder.
inline Decoded Decode(const std::filesystem::path& path) {
    struct Source {
        std::vector<uint8_t> bytes;
        size_t at = 0;
    } source{ReadBytes(path.is_absolute() ? path : kBuiltInstall / path)};
    Decoded out;
    out.ok = platform::DecompressImage(
        [](void* context, uint8_t* buffer, uint32_t size) -> int32_t {
            auto* s = static_cast<Source*>(context);
            const size_t n = std::min<size_t>(size, s->bytes.size() - s->at);
            std::copy_n(s->bytes.begin() + static_cast<long>(s->at), n, buffer);
            s->at += n;
            return static_cast<int32_t>(n);
        },
        &source, &out.bitmap);
    return out;
}

// 0.299 R + 0.587 G + 0.114 B of a pixel, 0..255.
inline double Luma(const uint8_t* p) { return 0.299 * p[0] + 0.587 * p[1] + 0.114 * p[2]; }

}  // namespace qv::test
