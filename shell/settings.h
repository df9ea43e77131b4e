// Settings and the installation directory, kept in the registry.
#pragma once

#include <cstdint>

#include "platform/types.h"

namespace qv {

extern int8_t gGamma;         // brightness offset the picture loader adds
extern int8_t gGammaSetting;  // the setting as the options screen shows it
extern uint8_t gVolume;
extern uint8_t gEffectsOn;
extern WString gInstallDir;   // ends with '\'

void CreateRegistryKeys();
int8_t LoadGammaSetting();
void SaveGammaSetting(int8_t value);
uint8_t LoadVolumeSetting();
void SaveVolumeSetting();
bool LoadEffectsSetting();
void SaveEffectsSetting();
int8_t LoadCurrentSlot();
void SaveCurrentSlot(int8_t slot);
// Ends the program with code 1 when the directory cannot be read.
void LoadInstallDir();

}  // namespace qv
