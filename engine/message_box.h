// The program's message box, word-wrapped text and the modal tap waits.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "platform/types.h"

namespace qv {

// Draws a box into back buffer 0 and, when it has a label, waits until one
// is pressed and released: true for the left label, false for the right.
// Without labels it only draws (not presented) and gives false. While it
// waits back buffer 1 holds the screen under the box, which goes back into
// buffer 0 (not presented) when it answers. Before gFont is loaded the
// system message box takes its place.
bool ShowMessageBox(const WString& message, const WString& leftLabel, const WString& rightLabel,
                    uint8_t grey, int16_t x, int16_t y, int16_t width, int16_t height,
                    int8_t frameShade, int8_t pressedColour, int8_t border);
// The one-line note box: (40, 120), 160 x 80, grey, shade 20, colour 3,
// border 3; by default a single "Ok" on the right. Answers as ShowMessageBox.
bool ShowNote(const WString& message, const WString& leftLabel = WString(), const WString& rightLabel = u"Ok");

// Keeps back buffer 1 from its making to its end, around a message box: the
// box keeps its own copy of the screen there, and a screen (or a transition
// of the club dissolving toward it) may be keeping something in it across
// frames. Each keeper holds its own copy, so keepers may nest.
class BackBufferKeeper {
public:
    BackBufferKeeper();
    ~BackBufferKeeper();
    BackBufferKeeper(const BackBufferKeeper&) = delete;
    BackBufferKeeper& operator=(const BackBufferKeeper&) = delete;

private:
    std::vector<uint16_t> kept_;  // empty without the buffer
};

// ' ', ',', ';', '.', '!', '?' and the zero character.
bool IsWordSeparator(char16_t c);
// The width in gFont of the run from index up to the next separator or the end.
int RunWidth(std::u16string_view text, size_t index);
// Draws the text in gFont from (left, top), wrapping words before the
// right limit; '\n' breaks the line. A word wider than a line breaks where
// it stops fitting.
void DrawWrappedText(const WString& text, int16_t left, int16_t top, int16_t rightLimit,
                     int8_t buffer);
// The rows that DrawWrappedText fills for the text from left up to the
// right limit: its lines times the font's height (0 for no text).
int WrappedTextHeight(const WString& text, int16_t left, int16_t rightLimit);
// The same in a text colour with the limit left + width, lines one pixel
// further apart and no meaning for '\n'.
void DrawWrappedTextColoured(const WString& text, int16_t left, int16_t top, int16_t width,
                             int colourIndex, int8_t buffer);

// These read only stylus messages and keep the music going; they never dispatch.
// True when the stylus goes down within ms (at most 32767) milliseconds.
bool WaitForTapOrTimeout(int ms);
// The position of the next stylus-down / stylus-up.
void WaitForTapDown(uint16_t& x, uint16_t& y);
void WaitForTapUp(uint16_t& x, uint16_t& y);

}  // namespace qv
