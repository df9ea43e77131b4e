// What the headless backend shows to tests: the presented frames and the
// virtual clock. Empty results when another backend runs.
#pragma once

#include <cstdint>
#include <vector>

namespace qv::platform::headless {

bool Active();
// The last presented 240x320 upright frame, and its format flags.
const std::vector<uint16_t>& LastFrame();
uint32_t LastFrameFormat();
int PresentCount();
uint64_t VirtualNow();
// Lets virtual time pass without any call of the game (timers, audio).
void AdvanceTime(uint64_t ms);
// Music output so far: bytes queued and their FNV-1a hash.
uint64_t AudioBytesQueued();
uint64_t AudioHash();

}  // namespace qv::platform::headless
