// Our libmikmod output driver. On each update it mixes exactly what the
// platform's output asks for (paced by the device, or by the virtual clock
// headless), so the tune never races ahead and an update never waits.
#include "engine/music_driver.h"

#include <mikmod.h>

#include <algorithm>
#include <cstdint>

#include "platform/sound.h"

namespace qv {

namespace {

// About five 120 ms buffers of 8-bit mono at 44100 Hz: the most one update
// mixes, so that a long pause without updates does not turn into a burst.
constexpr uint32_t kMaxBytesPerUpdate = 5 * 5292;
constexpr uint32_t kChunkBytes = 4096;

SBYTE gMixBuffer[kChunkBytes];

BOOL DriverIsPresent() { return 1; }

void DriverCommandLine(const CHAR*) {}

int DriverInit() {
    // Float output is not something the platform takes.
    md_mode &= static_cast<UWORD>(~DMODE_FLOAT);
    const int channels = (md_mode & DMODE_STEREO) ? 2 : 1;
    const int bits = (md_mode & DMODE_16BITS) ? 16 : 8;
    if (!platform::OpenAudioOutput(md_mixfreq, channels, bits)) {
        MikMod_errno = MMERR_OPENING_AUDIO;
        return 1;
    }
    if (VC_Init() != 0) {
        platform::CloseAudioOutput();
        return 1;
    }
    return 0;
}

void DriverExit() {
    VC_Exit();
    platform::CloseAudioOutput();
}

int DriverReset() {
    VC_Exit();
    return VC_Init();
}

// Mixes (or, paused, writes silence for) what the output wants now.
void Feed(bool silent) {
    uint32_t wanted = std::min(platform::AudioBytesWanted(), kMaxBytesPerUpdate);
    while (wanted > 0) {
        const uint32_t chunk = std::min(wanted, kChunkBytes);
        const ULONG made = silent ? VC_SilenceBytes(gMixBuffer, chunk)
                                  : VC_WriteBytes(gMixBuffer, chunk);
        if (made == 0) break;
        platform::QueueAudio(gMixBuffer, static_cast<uint32_t>(made));
        wanted -= std::min<uint32_t>(wanted, static_cast<uint32_t>(made));
    }
}

void DriverUpdate() { Feed(false); }
void DriverPause() { Feed(true); }

MDRIVER gQuorvaneDriver = {
    nullptr,
    "Quorvane output",
    "Quorvane output driver v1.0",
    0,
    255,
    "quorvane",
    "",
    DriverCommandLine,
    DriverIsPresent,
    VC_SampleLoad,
    VC_SampleUnload,
    VC_SampleSpace,
    VC_SampleLength,
    DriverInit,
    DriverExit,
    DriverReset,
    VC_SetNumVoices,
    VC_PlayStart,
    VC_PlayStop,
    DriverUpdate,
    DriverPause,
    VC_VoiceSetVolume,
    VC_VoiceGetVolume,
    VC_VoiceSetFrequency,
    VC_VoiceGetFrequency,
    VC_VoiceSetPanning,
    VC_VoiceGetPanning,
    VC_VoicePlay,
    VC_VoiceStop,
    VC_VoiceStopped,
    VC_VoiceGetPosition,
    VC_VoiceRealVolume,
};

bool gRegistered = false;

}  // namespace

void RegisterMusicDriver() {
    if (gRegistered) return;
    gRegistered = true;
    MikMod_RegisterDriver(&gQuorvaneDriver);
}

}  // namespace qv
