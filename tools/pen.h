// Short path helpers over a canvas's cairo context, for the drawn pictures.
#pragma once

#include <cmath>

#include "tools/canvas.h"

namespace qv::tools {

// Short path helpers over one cairo context.
class Pen {
public:
    explicit Pen(Canvas& canvas) : canvas_(canvas), cr_(canvas.Cr()) {}
    Pen& Move(double x, double y) {
        cairo_move_to(cr_, x, y);
        return *this;
    }
    Pen& Line(double x, double y) {
        cairo_line_to(cr_, x, y);
        return *this;
    }
    Pen& Curve(double x1, double y1, double x2, double y2, double x, double y) {
        cairo_curve_to(cr_, x1, y1, x2, y2, x, y);
        return *this;
    }
    // A five-pointed star, one point up.
    Pen& Star(double cx, double cy, double outer, double inner) {
        for (int k = 0; k < 10; ++k) {
            const double a = -M_PI / 2 + k * M_PI / 5, r = k % 2 == 0 ? outer : inner;
            if (k == 0) {
                cairo_move_to(cr_, cx + std::cos(a) * r, cy + std::sin(a) * r);
            } else {
                cairo_line_to(cr_, cx + std::cos(a) * r, cy + std::sin(a) * r);
            }
        }
        cairo_close_path(cr_);
        return *this;
    }
    Pen& Oval(double cx, double cy, double rx, double ry) {
        Ellipse(cr_, cx, cy, rx, ry);
        return *this;
    }
    void Fill(Colour c) {
        cairo_close_path(cr_);
        canvas_.SetSource(c);
        cairo_fill(cr_);
    }
    void FillOutlined(Colour c, Colour edge, double width) {
        cairo_close_path(cr_);
        canvas_.SetSource(c);
        cairo_fill_preserve(cr_);
        canvas_.SetSource(edge);
        cairo_set_line_width(cr_, width);
        cairo_set_line_join(cr_, CAIRO_LINE_JOIN_ROUND);
        cairo_stroke(cr_);
    }
    void FillAlpha(Colour c, double alpha) {
        cairo_close_path(cr_);
        cairo_set_source_rgba(cr_, c.r, c.g, c.b, alpha);
        cairo_fill(cr_);
    }
    void Stroke(Colour c, double width) {
        canvas_.SetSource(c);
        cairo_set_line_width(cr_, width);
        cairo_set_line_cap(cr_, CAIRO_LINE_CAP_ROUND);
        cairo_set_line_join(cr_, CAIRO_LINE_JOIN_ROUND);
        cairo_stroke(cr_);
    }
    void StrokeAlpha(Colour c, double width, double alpha) {
        cairo_set_source_rgba(cr_, c.r, c.g, c.b, alpha);
        cairo_set_line_width(cr_, width);
        cairo_set_line_cap(cr_, CAIRO_LINE_CAP_ROUND);
        cairo_stroke(cr_);
    }
    // Fills the path with a linear blend from c0 at (x0, y0) to c1 at (x1, y1).
    void FillLinear(double x0, double y0, Colour c0, double x1, double y1, Colour c1) {
        cairo_pattern_t* pattern = cairo_pattern_create_linear(x0, y0, x1, y1);
        cairo_pattern_add_color_stop_rgb(pattern, 0, c0.r, c0.g, c0.b);
        cairo_pattern_add_color_stop_rgb(pattern, 1, c1.r, c1.g, c1.b);
        FillPattern(pattern);
    }
    // Fills the path with c0 at (cx, cy) fading to c1 at radius r.
    void FillRadial(double cx, double cy, double r, Colour c0, Colour c1) {
        cairo_pattern_t* pattern = cairo_pattern_create_radial(cx, cy, 0, cx, cy, r);
        cairo_pattern_add_color_stop_rgb(pattern, 0, c0.r, c0.g, c0.b);
        cairo_pattern_add_color_stop_rgb(pattern, 1, c1.r, c1.g, c1.b);
        FillPattern(pattern);
    }
    // A glow: c at (cx, cy) with the alpha, fading out at radius r, over the whole canvas.
    void Glow(double cx, double cy, double r, Colour c, double alpha) {
        cairo_pattern_t* pattern = cairo_pattern_create_radial(cx, cy, 0, cx, cy, r);
        cairo_pattern_add_color_stop_rgba(pattern, 0, c.r, c.g, c.b, alpha);
        cairo_pattern_add_color_stop_rgba(pattern, 1, c.r, c.g, c.b, 0);
        cairo_new_path(cr_);
        cairo_arc(cr_, cx, cy, r, 0, 2 * M_PI);
        FillPattern(pattern);
    }
    void Dot(double x, double y, double r, Colour c) {
        cairo_new_path(cr_);
        cairo_arc(cr_, x, y, r, 0, 2 * M_PI);
        Fill(c);
    }

    cairo_t* Cr() { return cr_; }

private:
    void FillPattern(cairo_pattern_t* pattern) {
        cairo_close_path(cr_);
        cairo_set_source(cr_, pattern);
        cairo_fill(cr_);
        cairo_pattern_destroy(pattern);
    }

    Canvas& canvas_;
    cairo_t* cr_;
};

}  // namespace qv::tools
