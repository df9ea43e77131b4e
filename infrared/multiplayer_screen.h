// The multiplayer room: owner of the infra-red link and its exchanges.
// Placeholder until infra-red play is built: every operation does nothing
// and the link always answers "alive".
#pragma once

#include <cstdint>

#include "platform/files.h"
#include "platform/types.h"

namespace qv {

class MultiplayerScreen {
public:
    // False while the room's screen is a placeholder that cannot be used:
    // the club view then answers the room with its closed note.
    static constexpr bool kOpen = false;
    static constexpr int kStateSize = 0;

    // Draws the room into back buffer 1, the club's transition target.
    MultiplayerScreen();
    virtual ~MultiplayerScreen();
    MultiplayerScreen(const MultiplayerScreen&) = delete;
    MultiplayerScreen& operator=(const MultiplayerScreen&) = delete;

    // The operations the club calls.
    void Enter();
    void Update();
    void StylusDown(uint16_t x, uint16_t y);
    bool StylusUp(uint16_t x, uint16_t y);  // true closes the room
    // Nothing is stored: true.
    bool WriteState(platform::FileHandle file);
    bool ReadState(platform::FileHandle file);

    // The operations of the link that the match and the trade screen use.
    // One exchange of a message (kind, four parameters, value, text) with
    // echo and acknowledge; false when it failed. Placeholder: false.
    bool ExchangeMessage(uint8_t kind, uint8_t p1, uint8_t p2, uint8_t p3, uint8_t p4,
                         int16_t value, const WString& text);
    // Waits for a message of the other handheld; false when none came.
    // Placeholder: false, the outputs untouched.
    bool ReceiveMessage(uint8_t& kind, uint8_t& p1, uint8_t& p2, uint8_t& p3, uint8_t& p4,
                        int16_t& value, WString& text);
    // Whether a message is waiting. Placeholder: false.
    bool IsMessageWaiting();
    // Tells the other handheld that the local side took its pile card.
    bool SendCardTakenMessage();
    // Whether the link still answers. Placeholder: true.
    bool IsLinkAlive();
    // Puts the two handhelds back in step after a hiccup. Placeholder: true.
    bool CheckLinkSync();
    // Draws the room into the buffer.
    void Draw(int8_t buffer);
    // Redraws the connection state and checks the link.
    void PollIrConnection();
};

}  // namespace qv
