// Word-wrapped text in gFont.
#include "engine/blit.h"
#include "engine/font.h"
#include "engine/message_box.h"

namespace qv {

int RunWidth(std::u16string_view text, size_t index) {
    int width = 0;
    for (size_t i = index; i < text.size() && !IsWordSeparator(text[i]); ++i) width += gFont.GlyphWidth(text[i]);
    return width;
}

namespace {

// Lays the text out and draws it unless draw is false; gives the y of the
// last line.
int LayOutWrapped(const WString& text, int left, int top, int rightLimit, int lineStep,
                  bool newlines, bool coloured, int colourIndex, int8_t buffer, bool draw = true) {
    int penX = left;
    int penY = top;
    bool wordStart = true;
    for (size_t i = 0; i < text.size(); ++i) {
        char16_t c = text[i];
        if (newlines && c == u'\n') {
            penX = left;
            penY += lineStep;
            wordStart = true;
            continue;
        }
        int glyphWidth = gFont.GlyphWidth(c);
        // A word that does not fit the rest of the line starts the next one; a
        // word wider than a whole line is broken before the first character
        // that no longer fits, so it never runs on past the limit.
        bool breakLine;
        if (IsWordSeparator(c)) {
            breakLine = penX > rightLimit;
        } else if (wordStart) {
            breakLine = penX + RunWidth(text, i) > rightLimit && penX > left;
        } else {
            breakLine = penX + glyphWidth > rightLimit && penX > left;
        }
        if (breakLine) {
            penX = left;
            penY += lineStep;
        }
        if (draw && coloured) {
            DrawColouredText(WString(1, c), penX, penY, gFont, colourIndex, buffer);
        } else if (draw) {
            DrawText(WString(1, c), penX, penY, gFont, buffer);
        }
        penX += glyphWidth;
        wordStart = IsWordSeparator(c);
    }
    return penY;
}

}  // namespace

bool IsWordSeparator(char16_t c) {
    return c == u' ' || c == u',' || c == u';' || c == u'.' || c == u'!' || c == u'?' || c == 0;
}

void DrawWrappedText(const WString& text, int16_t left, int16_t top, int16_t rightLimit,
                     int8_t buffer) {
    LayOutWrapped(text, left, top, rightLimit, gFont.GetHeight(), true, false, 0, buffer);
}

int WrappedTextHeight(const WString& text, int16_t left, int16_t rightLimit) {
    if (text.empty()) return 0;
    return LayOutWrapped(text, left, 0, rightLimit, gFont.GetHeight(), true, false, 0, 0, false) +
           gFont.GetHeight();
}

void DrawWrappedTextColoured(const WString& text, int16_t left, int16_t top, int16_t width,
                             int colourIndex, int8_t buffer) {
    LayOutWrapped(text, left, top, left + width, gFont.GetHeight() + 1, false, true, colourIndex,
                buffer);
}

}  // namespace qv
