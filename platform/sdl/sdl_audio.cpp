// SDL audio devices for the music stream and the wave effects.
#include "platform/sdl/sdl_audio.h"

#include <cstdio>

namespace qv::platform {

bool SdlAudio::Start() {
    if (started_) {
        return true;
    }
    if (failed_) {
        return false;
    }
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
        std::fprintf(stderr, "Quorvane: no audio (%s)\n", SDL_GetError());
        failed_ = true;
        return false;
    }
    started_ = true;
    return true;
}

bool SdlAudio::OpenStream(int rate, int channels, int bits) {
    CloseStream();
    if (!Start()) {
        return false;
    }
    SDL_AudioSpec want{};
    want.freq = rate;
    want.format = bits == 8 ? AUDIO_U8 : AUDIO_S16SYS;
    want.channels = static_cast<Uint8>(channels);
    want.samples = 1024;
    // No allowed changes: SDL converts our format to the device's itself.
    SDL_AudioSpec have{};
    stream_ = SDL_OpenAudioDevice(nullptr, 0, &want, &have, 0);
    if (stream_ == 0) {
        std::fprintf(stderr, "Quorvane: cannot open the audio device (%s)\n", SDL_GetError());
        return false;
    }
    frameBytes_ = static_cast<uint32_t>(channels * (bits / 8));
    bytesPerSecond_ = static_cast<uint32_t>(rate) * frameBytes_;
    SDL_PauseAudioDevice(stream_, 0);
    return true;
}

void SdlAudio::CloseStream() {
    if (stream_ != 0) {
        SDL_CloseAudioDevice(stream_);
        stream_ = 0;
    }
}

uint32_t SdlAudio::BytesWanted() const {
    if (stream_ == 0) {
        return 0;
    }
    uint32_t target = bytesPerSecond_ / 10;
    uint32_t queued = SDL_GetQueuedAudioSize(stream_);
    return queued >= target ? 0 : (target - queued) / frameBytes_ * frameBytes_;
}

void SdlAudio::Queue(const void* data, uint32_t bytes) {
    if (stream_ != 0) {
        SDL_QueueAudio(stream_, data, bytes);
    }
}

bool SdlAudio::PlayWave(const std::string& hostPath) {
    if (!Start()) {
        return false;
    }
    SDL_AudioSpec spec{};
    Uint8* buffer = nullptr;
    Uint32 length = 0;
    if (SDL_LoadWAV(hostPath.c_str(), &spec, &buffer, &length) == nullptr) {
        return false;
    }
    bool sameFormat = wave_ != 0 && spec.freq == waveSpec_.freq && spec.format == waveSpec_.format &&
                      spec.channels == waveSpec_.channels;
    if (!sameFormat) {
        if (wave_ != 0) {
            SDL_CloseAudioDevice(wave_);
        }
        spec.callback = nullptr;
        spec.userdata = nullptr;
        SDL_AudioSpec have{};
        wave_ = SDL_OpenAudioDevice(nullptr, 0, &spec, &have, 0);
        waveSpec_ = spec;
    }
    bool ok = wave_ != 0;
    if (ok) {
        SDL_ClearQueuedAudio(wave_);
        ok = SDL_QueueAudio(wave_, buffer, length) == 0;
        SDL_PauseAudioDevice(wave_, 0);
    }
    SDL_FreeWAV(buffer);
    return ok;
}

void SdlAudio::Close() {
    CloseStream();
    if (wave_ != 0) {
        SDL_CloseAudioDevice(wave_);
        wave_ = 0;
    }
    if (started_) {
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        started_ = false;
    }
}

}  // namespace qv::platform
