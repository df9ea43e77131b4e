// Pixel channels in the display's format and the colour operations on back buffers.
#pragma once

#include <cstdint>

#include "engine/picture.h"

namespace qv {

// Channel values of one pixel in the current format's units
// (5-6-5: 0-31, 0-63, 0-31; 5-5-5: 0-31 each; 4-4-4: 0-15 each).
struct Channels {
    int red = 0;
    int green = 0;
    int blue = 0;
};

Channels SplitRgb565(uint16_t pixel);
Channels SplitRgb555(uint16_t pixel);
Channels SplitRgb444(uint16_t pixel);
// Joins channels, each masked to its field; the bits outside the fields are 0.
uint16_t ComposeRgb565(Channels c);
uint16_t ComposeRgb555(Channels c);
uint16_t ComposeRgb444(Channels c);
// From 8-bit channels: keeps the top bits of each.
uint16_t PackRgb565(uint8_t red, uint8_t green, uint8_t blue);
uint16_t PackRgb555(uint8_t red, uint8_t green, uint8_t blue);
uint16_t PackRgb444(uint8_t red, uint8_t green, uint8_t blue);

// The same by gPixelFormat; an unknown format splits to zeroes and composes to 0.
Channels SplitPixel(uint16_t pixel);
uint16_t ComposePixel(Channels c);
// The largest value of each channel in the current format (all 0 when unknown).
Channels ChannelMaxima();

// The 12 text colours (red, green, blue, yellow, magenta, cyan, light red,
// light blue, light green, orange, gold, white) in the current format.
inline constexpr int kTextColourCount = 12;
// The colour of index 0..11; 0xFFFF (keeps every bit) for any other index.
uint16_t TextColour(int index);

// Every operation below works on a back buffer 0..2 (another index does
// nothing) and touches only the part of the rectangle inside 240 x 320.

// Adds signed 8-bit-unit amounts to every channel (divided toward zero to
// channel units), clamped to 0 and each channel's maximum.
void TintRect(int x, int y, int width, int height, int8_t red, int8_t green, int8_t blue,
              int8_t buffer);
// One pixel with amounts in channel units added, each channel clamped.
uint16_t TintColour(uint16_t pixel, int red, int green, int blue);
// Subtracts the amount (channel units, twice for green in 5-6-5), floor 0.
void DarkenRect(int x, int y, int width, int height, int amount, int8_t buffer);
// Each channel of the modified buffer becomes min(target, channel + amount)
// (twice the amount for green in 5-6-5).
void BlendRectToward(int x, int y, int width, int height, int amount, int8_t modified,
                     int8_t target);
// Every pixel becomes the mean of its channels in every channel.
void GreyBuffer(int8_t buffer);
// The colour brightened by the amount shifted to each channel's width
// (a Gamma setting), each channel kept within 0 and its maximum.
uint16_t BrightenColour(uint16_t colour, int amount);
// Every pixel of the target buffer := the source's pixel brightened so.
void BrightenBuffer(int8_t source, int8_t target, int amount);
// The message box's frame: rings brightened from buffer 1 and the inside
// darkened from buffer 1, into the target. No rings: only the inside.
void DrawGlowFrame(int x, int y, int width, int height, int shade, int rings, int8_t buffer);
// Whether the picture's pixel is the font sheet's magenta as the loader
// delivers it; false outside the picture.
bool IsSeparatorPixel(int column, int row, const Picture& picture);
// Replaces every pixel that is the loader's pure red with gTransparentKey in
// the first height rows of width pixels of the picture (bounded by its size).
void KeyRedPixels(const Picture& picture, int width, int height);

}  // namespace qv
