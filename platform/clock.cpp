// Time: the tick, sleeping and the calendar time, through the backend.
#include "platform/clock.h"

#include "platform/backend.h"
#include "platform/config.h"

namespace qv::platform {

uint32_t GetTickCount() { return CurrentBackend().Ticks(); }

void Sleep(uint32_t ms) { CurrentBackend().Sleep(ms); }

int64_t CurrentTime() {
    const Config& config = GetConfig();
    return config.timeSet ? config.time : CurrentBackend().DefaultTime();
}

}  // namespace qv::platform
