// The opponents' portraits, drawn from the look that stands beside their texts.
#pragma once

#include "tools/canvas.h"
#include "tools/portrait_look.h"

namespace qv::tools {

inline constexpr int kPortraitWidth = 62, kPortraitHeight = 62;

// The person alone, head and shoulders on the 62-unit grid of a portrait (the
// crown near y 10, the shoulders cut at y 62), at the canvas's current transform.
void DrawPortraitBust(Canvas& canvas, const PortraitLook& look);

// A head-and-shoulders portrait filling the canvas, on the level's colour.
void DrawPortrait(Canvas& canvas, const PortraitLook& look, int level);

}  // namespace qv::tools
