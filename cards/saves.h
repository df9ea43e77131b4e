// Character files "SAVE\Player<n>.QCP" and the quick save "SAVE\QuickSave.QCP".
#pragma once

#include <cstdint>

#include "platform/types.h"

namespace qv {

inline constexpr uint8_t kGameVersionMajor = 1;
inline constexpr uint8_t kGameVersionMinor = 15;
inline constexpr int16_t gGameVersion = kGameVersionMajor * 256 + kGameVersionMinor;  // 271

// gInstallDir + "SAVE\Player" + slot + ".QCP".
WString CharacterFilePath(int slot);
WString QuickSavePath();

// Writes gProfile and the statistics to its slot's file (beside it first,
// then renamed into place) and stores the slot in the registry; nothing for
// slot 255 or when the file cannot be written completely.
void SavePlayer();
// Reads slot n into gProfile and the statistics. True only for a whole file
// with a matching checksum; otherwise gProfile and the statistics are left
// as they were (so nothing of a rejected file is written back).
bool LoadPlayerSave(int slot);
// The slot byte, the club's block, gClubActive and, during a match, the
// match's block; nothing for slot 255. Closes the file itself.
void WriteQuickSave();
// Restores the quick save and deletes it; false when there is none, or when
// its character file cannot be loaded (the quick save is then deleted too).
bool LoadQuickSave();

}  // namespace qv
