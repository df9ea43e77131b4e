// A Cairo RGB picture with the helpers the asset builder needs (pixels, keys, PNG output).
#pragma once

#include <cairo.h>

#include <cstdint>
#include <string>

namespace qv::tools {

struct Colour {
    double r = 0, g = 0, b = 0;  // 0..1
};
// From 0..255 channels.
Colour Rgb(int r, int g, int b);
// From 0xRRGGBB.
Colour RgbHex(uint32_t rgb);
// Linear blend of a and b, t in 0..1.
Colour Mix(Colour a, Colour b, double t);

class Canvas {
public:
    Canvas(int width, int height);
    ~Canvas();
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;

    int Width() const { return width_; }
    int Height() const { return height_; }
    cairo_t* Cr() { return cr_; }
    cairo_surface_t* Surface() { return surface_; }

    void SetSource(Colour c) { cairo_set_source_rgb(cr_, c.r, c.g, c.b); }
    void Clear(Colour c);
    void FillRect(double x, double y, double w, double h, Colour c);
    void FillCircle(double x, double y, double radius, Colour c);
    void RoundedRect(double x, double y, double w, double h, double radius);
    // A vertical gradient over the rectangle.
    void VerticalGradient(double x, double y, double w, double h, Colour top, Colour bottom);

    // Direct pixel access (flushes Cairo first / marks dirty after).
    void SetPixel(int x, int y, int r, int g, int b);
    void GetPixel(int x, int y, int& r, int& g, int& b);

    // Lifts every pixel of the rectangle whose channels are all below 16 to a
    // dark grey, so keyed drawing never treats art as transparent.
    void KeepAwayFromBlack(int x, int y, int w, int h);
    // Sets pixels with all channels below 16 to exact black (transparent).
    void SnapNearBlackToKey();
    // Moves pure red and magenta pixels slightly, which the font rules treat specially.
    void AvoidSpecialColours();

    // Copies another canvas to (x, y).
    void Paste(Canvas& source, int x, int y);
    // Copies the rectangle (sx, sy, w, h) of source to (0, 0).
    void CopyFrom(Canvas& source, int sx, int sy);

    // Writes an RGB PNG to path, creating the parent directories.
    bool SavePng(const std::string& path);

private:
    int width_;
    int height_;
    cairo_surface_t* surface_;
    cairo_t* cr_;
};

// Adds an ellipse around (cx, cy) with radii rx, ry to cr's path.
void Ellipse(cairo_t* cr, double cx, double cy, double rx, double ry);

}  // namespace qv::tools
