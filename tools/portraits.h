// The opponents' portraits, drawn from the look that stands beside their texts.
#pragma once

#include "tools/canvas.h"
#include "tools/portrait_look.h"

namespace qv::tools {

inline constexpr int kPortraitWidth = 62, kPortraitHeight = 62;

// A head-and-shoulders portrait filling the canvas, on the level's colour.
void DrawPortrait(Canvas& canvas, const PortraitLook& look, int level);

}  // namespace qv::tools
