// The pace of a fixed-rate output against a clock in ms.
#include "platform/audio_pace.h"

namespace qv::platform {

void AudioPace::Start(int rate, int channels, int bits, uint64_t now) {
    frameBytes_ = static_cast<uint64_t>(channels) * static_cast<uint64_t>(bits / 8);
    bytesPerSecond_ = static_cast<uint64_t>(rate) * frameBytes_;
    inQueue_ = 0;
    remainder_ = 0;
    last_ = now;
}

uint32_t AudioPace::Wanted(uint64_t now) {
    if (bytesPerSecond_ == 0) {
        return 0;
    }
    Consume(now);
    uint64_t target = bytesPerSecond_ / 10 / frameBytes_ * frameBytes_;
    return inQueue_ >= target ? 0 : static_cast<uint32_t>((target - inQueue_) / frameBytes_ * frameBytes_);
}

void AudioPace::Add(uint32_t bytes, uint64_t now) {
    if (bytesPerSecond_ == 0) {
        return;
    }
    Consume(now);
    inQueue_ += bytes;
}

// What played since the last look leaves the queue; the fraction of a byte
// that a millisecond does not make whole is carried to the next look.
void AudioPace::Consume(uint64_t now) {
    uint64_t amount = (now - last_) * bytesPerSecond_ + remainder_;
    last_ = now;
    uint64_t played = amount / 1000;
    remainder_ = amount % 1000;
    inQueue_ = played >= inQueue_ ? 0 : inQueue_ - played;
}

}  // namespace qv::platform
