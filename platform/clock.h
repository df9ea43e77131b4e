// Time: the millisecond tick, sleeping and the calendar time for seeding.
#pragma once

#include <cstdint>

namespace qv::platform {

// Milliseconds since the program started. Wraps after about 49 days.
// Headless: virtual; each call advances the clock by a small step.
uint32_t GetTickCount();
// Blocks for ms milliseconds (headless: advances the virtual clock).
void Sleep(uint32_t ms);
// Seconds since 1970, as the C library's time(); headless: fixed or from
// QUORVANE_TIME so that runs are reproducible.
int64_t CurrentTime();

}  // namespace qv::platform
