// The settings kept as 4-byte values of the registry key "SOFTWARE\Quorvane":
// the start-up reads them, the options and character screens write them.
#pragma once

#include <cstdint>

namespace qv {

inline constexpr char16_t kSettingsKey[] = u"SOFTWARE\\Quorvane";

// Each reader gives the value's low byte, or its default when the value
// cannot be read. Each writer stores a 4-byte value whose upper bytes are 0,
// and writes nothing when the key cannot be opened.
int8_t LoadGammaSetting();  // 0
void SaveGammaSetting(int8_t value);
uint8_t LoadVolumeSetting();  // 50
void SaveVolumeSetting();     // from gVolume
bool LoadEffectsSetting();    // true unless the low byte is 0
void SaveEffectsSetting();    // from gEffectsOn
int8_t LoadCurrentSlot();     // 1
void SaveCurrentSlot(int8_t slot);

}  // namespace qv
