// Timed screen effects: cross-dissolve, zoom of a picture, slide of a picture.
#pragma once

#include <cstdint>

#include "engine/picture.h"

namespace qv {

extern uint8_t gEffectsOn;  // 0: every effect is one plain copy

// Polls the tick until ms have passed since start, keeping the music going;
// the processor is given away for up to 1 ms a turn.
void WaitSince(uint32_t start, uint32_t ms);

// Moves the shown buffer toward the target buffer inside the rectangle
// (x0, y0)-(x1, y1), presenting each of up to 32 steps 20 ms apart; ends
// with the shown buffer equal to the target. A stylus release ends it early
// (the rest is one copy, not presented). With the Effects setting off it is
// one copy of the target, not presented.
void CrossDissolve(int16_t x0, int16_t y0, int16_t x1, int16_t y1, int8_t shownBuffer,
                   int8_t targetBuffer);
// Zooms the picture from firstScale to secondScale times its size, centred on
// its own rectangle at (x, y), the longer side changing by step pixels a frame,
// frames at least 45 ms apart. Buffer 2 keeps the background of buffer 0,
// buffer 1 is scratch; buffer 0 ends with the background and the picture at
// its final size. Equal scales draw nothing. A step of 0 or less jumps to
// the final size at once.
void ZoomPicture(int16_t x, int16_t y, int8_t firstScale, int8_t secondScale, int8_t step,
                 const Picture& picture);
// Slides the picture in, accelerating, until its left edge is at x on row y:
// from beyond the left edge for a positive speed, else from beyond the right
// edge. Buffer 1 keeps the background; buffer 0 ends with the picture drawn
// keyed at (x, y).
void SlidePictureIn(int16_t x, int16_t y, int8_t speed, const Picture& picture);

}  // namespace qv
