// The music layer: one libmikmod module at a time, looped by a 100 ms timer,
// and the global sound switch.
#pragma once

#include <cstdint>
#include <memory>

#include "platform/messages.h"
#include "platform/types.h"

struct MODULE;  // libmikmod's loaded module

namespace qv {

extern uint8_t gVolume;          // the Volume setting, 0..100
extern MODULE* gMusicModule;     // the loaded tune, or nullptr
extern uint8_t gMusicPlaying;    // 1 from PlayMusic until FreeMusic
extern uint8_t gMusicEnabled;    // 0: the timer does not restart an ended tune
extern uint8_t gMusicOff;        // 1: no update, no tune loaded or started, no effect
extern uintptr_t gMusicTimer;    // the 100 ms timer's id, 0 before StartMusicTimer

inline constexpr uintptr_t kMusicTimerId = 102;
inline constexpr uint32_t kMusicTimerPeriod = 100;  // ms

// Sets the library up (our own output drivers first, 8-bit mono software
// mixing, 20 music and 4 effect voices) and starts the timer. A failure
// shows its system box ("Error initsound") and the game goes on silently;
// false when the library could not be initialised.
bool InitSound();
// Loads the module at the full path into gMusicModule (a module already
// loaded is not freed). A missing or unreadable file shows its path in a
// "Load sound error" box; false then. Traced as "tune".
bool LoadMusic(const WString& path);
// The low byte of each character and a terminating 0.
std::unique_ptr<char[]> NarrowPath(const WString& path);
// Starts the loaded tune from the order position; nothing without a module.
void PlayMusic(int position);
// Stops and frees the loaded tune.
void FreeMusic();
// Whether the library's player is running a tune.
bool IsMusicPlaying();
// md_volume = volume (0..100); gMusicOff = 1 for 0, else 0.
void SetMusicVolume(int volume);
void SetMusicEnabled(uint8_t flag);
// The window-less 100 ms timer that loops the tune; starting it again keeps
// the one timer.
void StartMusicTimer();
// The looping rule: an ended tune restarts from position 0 while it is
// meant to play and music is enabled.
void MusicTimerProc(platform::WindowHandle window, uint32_t message, uintptr_t id, uint32_t time);

// Keeps the music going: one MikMod_Update unless gMusicOff. Every wait and
// the main loop call this on each turn.
void UpdateMusic();

// Plays a wave file (full path) without waiting, unless gMusicOff.
void PlaySoundEffect(const WString& path);

}  // namespace qv
