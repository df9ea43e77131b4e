// SDL audio for the window backend: the music stream on one device and
// the wave effects on another, both opened on demand.
#pragma once

#include <SDL.h>

#include <cstdint>
#include <string>

namespace qv::platform {

class SdlAudio {
public:
    ~SdlAudio() { Close(); }

    // False when SDL audio cannot start or no device opens.
    bool OpenStream(int rate, int channels, int bits);
    void CloseStream();
    // Bytes that keep about 100 ms queued.
    uint32_t BytesWanted() const;
    void Queue(const void* data, uint32_t bytes);

    // Replaces any effect still playing with the wave file's sound.
    bool PlayWave(const std::string& hostPath);

    // Closes both devices and the audio subsystem; safe twice.
    void Close();

private:
    bool Start();

    bool started_ = false;
    bool failed_ = false;
    SDL_AudioDeviceID stream_ = 0;
    uint32_t bytesPerSecond_ = 0;
    uint32_t frameBytes_ = 1;
    SDL_AudioDeviceID wave_ = 0;
    SDL_AudioSpec waveSpec_{};
};

}  // namespace qv::platform
