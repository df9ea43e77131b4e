// Test support for the asset tests: the built installation and the game's picture decoder.
#pragma once

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "platform/image.h"

namespace qv::test {

inline const std::filesystem::path kInstall = QV_INSTALL_DIR;

inline std::vector<uint8_t> ReadAll(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

struct Decoded {
    bool ok = false;
    platform::Bitmap24 bitmap;
    // The pixel at (x, y): red, green, blue.
    const uint8_t* At(int x, int y) const {
        return &bitmap.rgb[(static_cast<size_t>(y) * bitmap.width + x) * 3];
    }
};

// Decodes a file below the installation through the game's own decoder.
inline Decoded Decode(const std::filesystem::path& path) {
    struct Source {
        std::vector<uint8_t> bytes;
        size_t at = 0;
    } source{ReadAll(path.is_absolute() ? path : kInstall / path)};
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
