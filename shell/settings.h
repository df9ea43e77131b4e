// The start-up reading of the registry: the settings' globals and the
// installation directory.
#pragma once

namespace qv {

// Creates the four empty subkeys "Gamma", "Volume", "Effects" and "Character".
void CreateRegistryKeys();
// Fills gGamma, gGammaSetting, gVolume and gEffectsOn from the registry.
void LoadSettings();
// Ends the program with code 1 when the directory cannot be read.
void LoadInstallDir();

}  // namespace qv
