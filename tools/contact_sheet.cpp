// The contact sheet: every generated picture with its path, in one PNG for review.
#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "tools/asset_steps.h"
#include "tools/canvas.h"
#include "tools/pixel_font.h"

namespace qv::tools {
namespace {

constexpr int kSheetWidth = 1600;
constexpr int kGap = 6;
constexpr int kLabelHeight = 11;

bool IsPicture(const std::filesystem::path& path) {
    const std::string ext = path.extension().string();
    return ext == ".QVG" || ext == ".QVJ" || ext == ".QVB";
}

struct Entry {
    std::string label;
    cairo_surface_t* surface;
    int scale;
    int x = 0, y = 0, w = 0, h = 0;
};

}  // namespace

bool WriteContactSheet(const std::string& installDir, const std::string& outPath) {
    namespace fs = std::filesystem;
    // QV_SHEET_FILTER keeps only paths that contain its text.
    const char* filterText = std::getenv("QV_SHEET_FILTER");
    const std::string filter = filterText != nullptr ? filterText : "";
    // QV_SHEET_SCALE enlarges every picture by a whole factor.
    const char* scaleText = std::getenv("QV_SHEET_SCALE");
    const int forcedScale = scaleText != nullptr ? std::clamp(std::atoi(scaleText), 1, 8) : 0;
    std::vector<std::string> paths;
    std::error_code error;
    for (auto it = fs::recursive_directory_iterator(installDir, error);
         !error && it != fs::recursive_directory_iterator(); it.increment(error)) {
        if (it->is_regular_file() && IsPicture(it->path())) {
            const std::string relative = fs::relative(it->path(), installDir).string();
            if (relative.find(filter) != std::string::npos) paths.push_back(relative);
        }
    }
    if (error) return false;
    std::sort(paths.begin(), paths.end());

    std::vector<Entry> entries;
    for (const std::string& relative : paths) {
        const std::string full = installDir + "/" + relative;
        cairo_surface_t* surface = cairo_image_surface_create_from_png(full.c_str());
        if (cairo_surface_status(surface) != CAIRO_STATUS_SUCCESS) {
            cairo_surface_destroy(surface);
            continue;
        }
        const int w = cairo_image_surface_get_width(surface);
        const int h = cairo_image_surface_get_height(surface);
        const int scale = forcedScale > 0 ? forcedScale : ((w <= 16 && h <= 16) ? 4 : 1);
        std::string label = fs::path(relative).filename().string();
        Entry entry{label, surface, scale};
        entry.w = std::max(w * scale, PixelTextWidth(label));
        entry.h = h * scale;
        entries.push_back(entry);
    }

    // Shelf packing, left to right.
    int x = kGap, y = kGap, shelf = 0;
    for (Entry& e : entries) {
        if (x + e.w + kGap > kSheetWidth && x > kGap) {
            x = kGap;
            y += shelf + kLabelHeight + kGap;
            shelf = 0;
        }
        e.x = x;
        e.y = y;
        x += e.w + kGap;
        shelf = std::max(shelf, e.h);
    }
    const int height = std::max(1, y + shelf + kLabelHeight + kGap);

    Canvas sheet(kSheetWidth, std::min(height, 32000));
    sheet.Clear(Rgb(60, 60, 70));
    for (Entry& e : entries) {
        cairo_t* cr = sheet.Cr();
        cairo_save(cr);
        cairo_translate(cr, e.x, e.y);
        cairo_scale(cr, e.scale, e.scale);
        cairo_set_source_surface(cr, e.surface, 0, 0);
        cairo_pattern_set_filter(cairo_get_source(cr), CAIRO_FILTER_NEAREST);
        cairo_paint(cr);
        cairo_restore(cr);
        DrawPixelText(sheet, e.label, e.x, e.y + e.h + 1, 1, 240, 240, 200);
        cairo_surface_destroy(e.surface);
    }
    return sheet.SavePng(outPath);
}

}  // namespace qv::tools
