// Little-endian fields on an open save file, with short reads detected.
#pragma once

#include <cstdint>

#include "platform/files.h"
#include "platform/types.h"

namespace qv {

// No text of a save file is longer than this.
inline constexpr int kMaxSaveTextLength = 255;

// Writers: all true when every byte reached the file.
bool WriteU8(platform::FileHandle file, uint8_t value);
bool WriteI16(platform::FileHandle file, int16_t value);
bool WriteI32(platform::FileHandle file, int32_t value);
// Scrambled texts (engine/utilities.h); longer ones keep their first
// kMaxSaveTextLength characters.
bool WriteSaveText(platform::FileHandle file, const WString& text);

// Readers: false on a short read, which leaves the value unchanged.
bool ReadU8(platform::FileHandle file, uint8_t& value);
bool ReadI8(platform::FileHandle file, int8_t& value);
bool ReadI16(platform::FileHandle file, int16_t& value);
bool ReadI32(platform::FileHandle file, int32_t& value);
// False for a short text or a count outside 0..kMaxSaveTextLength.
bool ReadSaveText(platform::FileHandle file, WString& text);

}  // namespace qv
