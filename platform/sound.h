// Sound: wave effects played asynchronously, and the raw output stream the
// music library's driver feeds.
#pragma once

#include <cstdint>

#include "platform/types.h"

namespace qv::platform {

// Plays a wave file without waiting, stopping any effect still playing.
// False when the file cannot be read or no device is available. Traced.
bool PlaySoundAsync(const WString& path);

// Raw output for the music driver: unsigned 8-bit or signed 16-bit samples.
// Opening twice reopens. False when no device can be opened. With
// QUORVANE_AUDIO=none it always opens, on no device: the samples are taken
// at the clock's pace and dropped.
bool OpenAudioOutput(int rate, int channels, int bits);
void CloseAudioOutput();
// Bytes the output wants now to keep about 100 ms queued; never blocks.
// Headless: paced by the virtual clock.
uint32_t AudioBytesWanted();
// Queues samples; returns at once.
void QueueAudio(const void* data, uint32_t bytes);

}  // namespace qv::platform
