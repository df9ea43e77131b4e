// A Cairo RGB picture with the helpers the asset builder needs (pixels, keys, PNG output).
#include "tools/canvas.h"

#include <spng.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <vector>

namespace qv::tools {

Colour Rgb(int r, int g, int b) { return Colour{r / 255.0, g / 255.0, b / 255.0}; }

Colour RgbHex(uint32_t rgb) {
    return Rgb(static_cast<int>((rgb >> 16) & 0xFF), static_cast<int>((rgb >> 8) & 0xFF), static_cast<int>(rgb & 0xFF));
}

Colour Mix(Colour a, Colour b, double t) {
    return Colour{a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}

void Ellipse(cairo_t* cr, double cx, double cy, double rx, double ry) {
    cairo_save(cr);
    cairo_translate(cr, cx, cy);
    cairo_scale(cr, rx, ry);
    cairo_new_sub_path(cr);
    cairo_arc(cr, 0, 0, 1, 0, 2 * M_PI);
    cairo_restore(cr);
}

Canvas::Canvas(int width, int height)
    : width_(width),
      height_(height),
      surface_(cairo_image_surface_create(CAIRO_FORMAT_RGB24, width, height)),
      cr_(cairo_create(surface_)) {
    Clear(Rgb(0, 0, 0));
}

Canvas::~Canvas() {
    cairo_destroy(cr_);
    cairo_surface_destroy(surface_);
}

void Canvas::Clear(Colour c) { FillRect(0, 0, width_, height_, c); }

void Canvas::FillRect(double x, double y, double w, double h, Colour c) {
    SetSource(c);
    cairo_rectangle(cr_, x, y, w, h);
    cairo_fill(cr_);
}

void Canvas::FillCircle(double x, double y, double radius, Colour c) {
    SetSource(c);
    cairo_new_path(cr_);
    cairo_arc(cr_, x, y, radius, 0, 2 * M_PI);
    cairo_fill(cr_);
}

void Canvas::RoundedRect(double x, double y, double w, double h, double radius) {
    const double r = std::min({radius, w / 2, h / 2});
    cairo_new_sub_path(cr_);
    cairo_arc(cr_, x + w - r, y + r, r, -M_PI / 2, 0);
    cairo_arc(cr_, x + w - r, y + h - r, r, 0, M_PI / 2);
    cairo_arc(cr_, x + r, y + h - r, r, M_PI / 2, M_PI);
    cairo_arc(cr_, x + r, y + r, r, M_PI, 3 * M_PI / 2);
    cairo_close_path(cr_);
}

void Canvas::VerticalGradient(double x, double y, double w, double h, Colour top, Colour bottom) {
    cairo_pattern_t* pattern = cairo_pattern_create_linear(0, y, 0, y + h);
    cairo_pattern_add_color_stop_rgb(pattern, 0, top.r, top.g, top.b);
    cairo_pattern_add_color_stop_rgb(pattern, 1, bottom.r, bottom.g, bottom.b);
    cairo_set_source(cr_, pattern);
    cairo_rectangle(cr_, x, y, w, h);
    cairo_fill(cr_);
    cairo_pattern_destroy(pattern);
}

void Canvas::SetPixel(int x, int y, int r, int g, int b) {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return;
    cairo_surface_flush(surface_);
    uint8_t* data = cairo_image_surface_get_data(surface_);
    const int stride = cairo_image_surface_get_stride(surface_);
    auto* pixel = reinterpret_cast<uint32_t*>(data + y * stride) + x;
    *pixel = 0xFF000000u | (static_cast<uint32_t>(r) << 16) | (static_cast<uint32_t>(g) << 8) |
             static_cast<uint32_t>(b);
    cairo_surface_mark_dirty(surface_);
}

void Canvas::GetPixel(int x, int y, int& r, int& g, int& b) {
    r = g = b = 0;
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return;
    cairo_surface_flush(surface_);
    const uint8_t* data = cairo_image_surface_get_data(surface_);
    const int stride = cairo_image_surface_get_stride(surface_);
    const uint32_t p = reinterpret_cast<const uint32_t*>(data + y * stride)[x];
    r = (p >> 16) & 0xFF;
    g = (p >> 8) & 0xFF;
    b = p & 0xFF;
}

namespace {

template <typename F>
void ForEachPixel(cairo_surface_t* surface, int x0, int y0, int w, int h, F f) {
    cairo_surface_flush(surface);
    uint8_t* data = cairo_image_surface_get_data(surface);
    const int stride = cairo_image_surface_get_stride(surface);
    const int width = cairo_image_surface_get_width(surface);
    const int height = cairo_image_surface_get_height(surface);
    for (int y = std::max(0, y0); y < std::min(height, y0 + h); ++y) {
        auto* row = reinterpret_cast<uint32_t*>(data + y * stride);
        for (int x = std::max(0, x0); x < std::min(width, x0 + w); ++x) {
            int r = (row[x] >> 16) & 0xFF, g = (row[x] >> 8) & 0xFF, b = row[x] & 0xFF;
            f(r, g, b);
            row[x] = 0xFF000000u | (static_cast<uint32_t>(r) << 16) |
                     (static_cast<uint32_t>(g) << 8) | static_cast<uint32_t>(b);
        }
    }
    cairo_surface_mark_dirty(surface);
}

}  // namespace

void Canvas::KeepAwayFromBlack(int x, int y, int w, int h) {
    ForEachPixel(surface_, x, y, w, h, [](int& r, int& g, int& b) {
        if (r < 16 && g < 16 && b < 16) {
            r = std::max(r, 12);
            g = std::max(g, 10);
            b = 20;
        }
    });
}

void Canvas::SnapNearBlackToKey() {
    ForEachPixel(surface_, 0, 0, width_, height_, [](int& r, int& g, int& b) {
        if (r < 16 && g < 16 && b < 16) r = g = b = 0;
    });
}

void Canvas::AvoidSpecialColours() {
    ForEachPixel(surface_, 0, 0, width_, height_, [](int& r, int& g, int& b) {
        if (r == 255 && g == 0 && (b == 0 || b == 255)) g = 8;
    });
}

void Canvas::Paste(Canvas& source, int x, int y) {
    cairo_surface_flush(source.surface_);
    cairo_save(cr_);
    cairo_set_source_surface(cr_, source.surface_, x, y);
    cairo_rectangle(cr_, x, y, source.width_, source.height_);
    cairo_fill(cr_);
    cairo_restore(cr_);
}

void Canvas::CopyFrom(Canvas& source, int sx, int sy) {
    cairo_surface_flush(source.surface_);
    cairo_save(cr_);
    cairo_set_source_surface(cr_, source.surface_, -sx, -sy);
    cairo_rectangle(cr_, 0, 0, width_, height_);
    cairo_fill(cr_);
    cairo_restore(cr_);
}

// Every row filtered with "up" alone: the pictures come out about as small as
// with every filter tried, and the game decodes them in half the time. The
// game's decoder inflates one row at a time, and rows shorter than 258 bytes
// never reach zlib's fast path: such narrow pictures (the small cards, the
// icons) are stored unfiltered and uncompressed, which decodes three times
// faster and costs 2 MB in all.
bool Canvas::SavePng(const std::string& path) {
    std::error_code error;
    std::filesystem::create_directories(std::filesystem::path(path).parent_path(), error);
    cairo_surface_flush(surface_);
    const uint8_t* data = cairo_image_surface_get_data(surface_);
    const int stride = cairo_image_surface_get_stride(surface_);
    std::vector<uint8_t> rgb(static_cast<size_t>(width_) * height_ * 3);
    for (int y = 0; y < height_; ++y) {
        const auto* row = reinterpret_cast<const uint32_t*>(data + static_cast<size_t>(y) * stride);
        uint8_t* out = &rgb[static_cast<size_t>(y) * width_ * 3];
        for (int x = 0; x < width_; ++x) {
            out[3 * x] = static_cast<uint8_t>(row[x] >> 16);
            out[3 * x + 1] = static_cast<uint8_t>(row[x] >> 8);
            out[3 * x + 2] = static_cast<uint8_t>(row[x]);
        }
    }
    std::unique_ptr<spng_ctx, decltype(&spng_ctx_free)> context(spng_ctx_new(SPNG_CTX_ENCODER), spng_ctx_free);
    spng_ctx* ctx = context.get();
    spng_ihdr header{};
    header.width = static_cast<uint32_t>(width_);
    header.height = static_cast<uint32_t>(height_);
    header.bit_depth = 8;
    header.color_type = SPNG_COLOR_TYPE_TRUECOLOR;
    FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) return false;
    const bool narrow = width_ * 3 < 258;
    const bool encoded =
        ctx != nullptr && spng_set_png_file(ctx, file) == 0 &&
        spng_set_option(ctx, SPNG_FILTER_CHOICE, narrow ? SPNG_DISABLE_FILTERING : SPNG_FILTER_CHOICE_UP) == 0 &&
        spng_set_option(ctx, SPNG_IMG_COMPRESSION_LEVEL, narrow ? 0 : 9) == 0 && spng_set_ihdr(ctx, &header) == 0 &&
        spng_encode_image(ctx, rgb.data(), rgb.size(), SPNG_FMT_PNG, SPNG_ENCODE_FINALIZE) == 0;
    context.reset();
    return std::fclose(file) == 0 && encoded;
}

}  // namespace qv::tools
