// Full-screen menu pictures: backgrounds with unpressed buttons, pressed pictures, entry pictures.
#include "tools/screen_kit.h"

#include "tools/art_style.h"
#include "tools/pixel_font.h"

namespace qv::tools {

void DrawTextWell(Canvas& canvas, int x, int y, int w, int h) {
    DrawPanel(canvas, x, y, w, h, Rgb(18, 14, 32), Rgb(84, 60, 130));
}

void DrawCaption(Canvas& canvas, const std::string& text, int x, int y) {
    DrawPixelText(canvas, text, x, y, 1, 200, 180, 236);
}

void DrawCardPlace(Canvas& canvas, int x, int y) {
    canvas.FillRect(x, y, 32, 50, Rgb(36, 30, 62));
    cairo_t* cr = canvas.Cr();
    canvas.SetSource(Rgb(80, 64, 120));
    cairo_set_line_width(cr, 1);
    cairo_rectangle(cr, x + 0.5, y + 0.5, 31, 49);
    cairo_stroke(cr);
}

void DrawScreenBackdrop(Canvas& canvas, unsigned seed) {
    DrawNightBackdrop(canvas, 0, 0, canvas.Width(), canvas.Height(), seed);
}

void DrawBadge(Canvas& canvas, int x, int y, int w, int h, const std::string& text, Colour neon) {
    DrawPanel(canvas, x, y, w, h, Rgb(22, 14, 36), neon);
    DrawPixelTextCentred(canvas, text, x + w / 2, y + (h - 7) / 2, 1, 250, 244, 230);
}

bool WriteScreen(const std::string& root, const ScreenSpec& screen) {
    const std::string folder = root + "/" + screen.folder;
    Canvas background(240, 320);
    DrawScreenBackdrop(background, static_cast<unsigned>(screen.background.size() * 31));
    if (screen.decorate) screen.decorate(background);
    for (const ButtonSpec& b : screen.buttons) {
        if (b.inBackground) DrawButton(background, b.x, b.y, b.w, b.h, b.label, false);
    }
    if (!SaveOpaque(background, folder + screen.background)) return false;
    if (!screen.entry.empty()) {
        // The entry picture: the room dimmed, its name in neon across it.
        Canvas entry(240, 320);
        entry.Paste(background, 0, 0);
        cairo_t* cr = entry.Cr();
        cairo_set_source_rgba(cr, 0.05, 0.03, 0.1, 0.6);
        cairo_paint(cr);
        DrawNeonText(entry, screen.title, 120, 140, 3, Rgb(250, 244, 230), Rgb(238, 72, 164));
        if (!SaveOpaque(entry, folder + screen.entry)) return false;
    }
    // A name starting with '/' is below the root (pictures shared by screens).
    const auto place = [&](const std::string& file) {
        return file[0] == '/' ? root + file : folder + file;
    };
    for (const ButtonSpec& b : screen.buttons) {
        if (!b.pressedFile.empty() &&
            !WriteButtonPicture(place(b.pressedFile), b.w, b.h, b.label, true)) {
            return false;
        }
        if (!b.normalFile.empty() &&
            !WriteButtonPicture(place(b.normalFile), b.w, b.h, b.label, false)) {
            return false;
        }
    }
    return true;
}

}  // namespace qv::tools
