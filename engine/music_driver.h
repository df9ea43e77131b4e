// Our libmikmod output driver: mixes on the program's thread inside
// MikMod_Update into the platform's audio output, never blocking.
#pragma once

namespace qv {

// Registers the driver with libmikmod once; call before
// MikMod_RegisterAllDrivers so that autodetection picks it first. Its
// initialisation fails (and so MikMod_Init) when the platform has no audio
// output to open.
void RegisterMusicDriver();

}  // namespace qv
