// The trade screen: two trade boxes and credit offers exchanged with the other
// handheld over the multiplayer room's link. Placeholder until it is built.
#pragma once

#include <cstdint>

#include "platform/files.h"

namespace qv {

class MultiplayerScreen;

class TradeScreen {
public:
    // False while the room's screen is a placeholder that cannot be used.
    static constexpr bool kOpen = false;
    static constexpr int kStateSize = 0;

    // The room owns the link; the trade screen only uses it.
    explicit TradeScreen(MultiplayerScreen* room);
    virtual ~TradeScreen();
    TradeScreen(const TradeScreen&) = delete;
    TradeScreen& operator=(const TradeScreen&) = delete;

    void Enter();
    // Handles waiting link messages and watches the link.
    void Update();
    void StylusDown(uint16_t x, uint16_t y);
    bool StylusUp(uint16_t x, uint16_t y);  // true closes the screen
    void Draw(int8_t buffer);
    // Sends the whole own trade box to the other handheld again.
    void SendOwnOffer();
    // Nothing is stored: true.
    bool WriteState(platform::FileHandle file);
    bool ReadState(platform::FileHandle file);
    // The room whose link the trade works through.
    MultiplayerScreen* GetRoom() const { return room_; }

private:
    MultiplayerScreen* room_ = nullptr;
};

}  // namespace qv
