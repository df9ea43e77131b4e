// Drawing primitives: picture blits, buffer copies, grabs, fills and text.
#pragma once

#include <cstdint>

#include "engine/colour.h"
#include "engine/picture.h"
#include "platform/types.h"

namespace qv {

class Font;

// Buffers are the back buffer indices 0..2; any other index draws nothing.
// Every operation reads only inside its source (picture or buffer) and writes
// only inside 240 x 320: the part of a rectangle outside either is skipped,
// so a 0 x 0 picture draws nothing. Keyed operations skip source pixels equal
// to gTransparentKey; masked ones AND every drawn pixel with the colour.

void BlitPicture(int x, int y, const Picture& picture, int8_t buffer);
void BlitPictureKeyed(int x, int y, const Picture& picture, int8_t buffer);
// Columns first .. first + count - 1 of every row, drawn at (x, y).
void BlitPictureColumns(int x, int y, const Picture& picture, int first, int count,
                        int8_t buffer);
void BlitSubRect240(int x, int y, int first, int count, int8_t buffer, const Picture& picture);
void BlitSubRectKeyed240(int x, int y, int first, int count, int8_t buffer,
                         const Picture& picture);
// The picture's rectangle (sourceX, sourceY, width, height) drawn at (x, y).
void BlitRect240(int sourceX, int sourceY, int width, int height, int x, int y,
                 const Picture& picture, int8_t buffer);
// The rectangle of a screen-sized picture to the same place of the buffer.
void RestoreRect(int x, int y, int width, int height, const Picture& picture, int8_t buffer);
void BlitFullScreen(const Picture& picture, int8_t buffer);
// A full-width picture whose first row goes to the given row.
void BlitRows(int row, const Picture& picture, int8_t buffer);
// That row of a full-width picture into the same row of the buffer.
void CopyPictureRow(int row, const Picture& picture, int8_t buffer);
void BlitPictureMasked(int x, int y, const Picture& picture, uint16_t colour, int8_t buffer);
void BlitPictureKeyedMasked(int x, int y, const Picture& picture, uint16_t colour,
                            int8_t buffer);
// The picture scaled into (x, y, width, height) of buffer 0: target column j
// takes source column j * (x1 - x0) / width, row i source row
// i * (y1 - y0) / height. Buffer 1 is used as scratch (the picture is copied
// to its corner). A width or height of 0 or less draws nothing.
void BlitScaled(int x0, int y0, int x1, int y1, const Picture& picture, int x, int y, int width,
                int height, bool keyed);

void CopyBuffer(int8_t source, int8_t destination);
void CopyRows(int8_t source, int8_t destination, int firstRow, int rowCount);
// Note the order: destination before source.
void CopyRect240(int x, int y, int width, int height, int8_t destination, int8_t source);
// Allocates a width x height picture owned by the caller and fills it from
// the buffer; pixels outside the screen become gTransparentKey.
void GrabRect(Picture& out, int x, int y, int width, int height, int8_t buffer);
// Fills the picture's existing pixels from the buffer rectangle at (x, y).
void GrabRectInto(int x, int y, int8_t buffer, const Picture& picture);
// Allocates and copies the source's rectangle into a picture owned by the
// caller; pixels outside the source become gTransparentKey.
void CutPicture(Picture& out, const Picture& source, int x, int y, int width, int height);
// Copies the source's rectangle at (x, y) of the target's size into the target.
void CopyPictureRectInto(int x, int y, const Picture& source, const Picture& target);

void FillRect(int x, int y, int width, int height, uint16_t colour, int8_t buffer);
// Draws each character's glyph (low byte of the character) from (x, y),
// moving right by its width; no wrapping.
void DrawText(const WString& text, int x, int y, const Font& font, int8_t buffer);
// The same in text colour 0..11; another index draws like DrawText.
void DrawColouredText(const WString& text, int x, int y, const Font& font, int colourIndex,
                      int8_t buffer);

}  // namespace qv
