// The pace of an output that plays at a fixed rate, counted on a clock in
// ms: how much of the queue it has played, and what keeps it about 100 ms
// ahead.
#pragma once

#include <cstdint>

namespace qv::platform {

class AudioPace {
public:
    // Starts with an empty queue at now.
    void Start(int rate, int channels, int bits, uint64_t now);
    void Stop() { bytesPerSecond_ = 0; }
    bool Running() const { return bytesPerSecond_ != 0; }

    // Whole sample frames that bring the queue up to about 100 ms at now;
    // 0 when stopped. An underrun gives no credit.
    uint32_t Wanted(uint64_t now);
    // Bytes put into the queue at now; nothing when stopped.
    void Add(uint32_t bytes, uint64_t now);

private:
    void Consume(uint64_t now);

    uint64_t bytesPerSecond_ = 0;
    uint64_t frameBytes_ = 1;
    uint64_t inQueue_ = 0;
    uint64_t remainder_ = 0;
    uint64_t last_ = 0;
};

}  // namespace qv::platform
