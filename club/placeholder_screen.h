// What the club screens that are not built yet share: a dark screen naming
// the room, and their quick-save bytes kept as they were read.
#pragma once

#include <cstdint>

#include "platform/files.h"

namespace qv {

// Placeholder until every club screen is built: black, the room's name and
// "Closed for now. Tap to go back." in the middle of the buffer.
void DrawPlaceholderScreen(const char16_t* name, int8_t buffer);

// Placeholder until every club screen is built: the screen's state bytes,
// written and read back unchanged, so the quick save keeps its layout.
bool WritePlaceholderState(platform::FileHandle file, const uint8_t* bytes, int count);
bool ReadPlaceholderState(platform::FileHandle file, uint8_t* bytes, int count);

}  // namespace qv
