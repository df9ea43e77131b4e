// The multiplayer room: owner of the infra-red link and its message layer.
// Placeholder until the room's screen is built: a dark screen that closes
// on a tap; the link, the messages and the liveness checks are real.
#pragma once

#include <cstdint>

#include "infrared/link_session.h"
#include "platform/files.h"
#include "platform/types.h"

namespace qv {

class MultiplayerScreen : public LinkSession {
public:
    // False while the room's screen is a placeholder that cannot be used:
    // the club view then answers the room with its closed note.
    static constexpr bool kOpen = false;
    static constexpr int kStateSize = 0;

    // Draws the room into back buffer 1, the club's transition target.
    MultiplayerScreen();
    ~MultiplayerScreen() override;
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

    // Create: waits 20 seconds as the server. Placeholder: no status texts.
    bool HostIrConnection();
    // Join: searches for a server as the client. Placeholder: no status texts.
    bool JoinIrConnection();
    // When the link is found dead: not connected, and the room redrawn.
    void PollIrConnection();
    // True while the link lives; else asks "Error of Synchronization:" with
    // Cancel (false) or Retry (create or join again in the same role).
    bool CheckLinkSync();
    // Draws the room into the buffer.
    void Draw(int8_t buffer);
    bool IsConnected() const { return connected_ != 0; }

private:
    uint8_t connected_ = 0;
};

}  // namespace qv
