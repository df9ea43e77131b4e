// The multiplayer room (club screen 0): creates or joins the link to the
// other machine, shows whether it holds, and starts a match or a trade over
// it. The room owns the link and its message layer as long as it exists.
#pragma once

#include <cstdint>

#include "engine/button.h"
#include "engine/picture.h"
#include "infrared/link_session.h"
#include "platform/files.h"
#include "platform/types.h"

namespace qv {

class MultiplayerScreen : public LinkSession {
public:
    static constexpr int kStateSize = 0;
    static constexpr uint16_t kHostSeconds = 20;
    enum ButtonId : uint8_t { kCreate, kJoin, kBack, kDeck, kGame, kTrade, kButtonCount };

    // Loads the room, draws its entry picture into back buffer 1 (the club's
    // transition target) and turns the music off for as long as it lives.
    MultiplayerScreen();
    // Puts the music setting back; the link is closed by Back or by the
    // message layer, never left open to a machine that would wait on it.
    ~MultiplayerScreen() override;
    MultiplayerScreen(const MultiplayerScreen&) = delete;
    MultiplayerScreen& operator=(const MultiplayerScreen&) = delete;

    // A tap within 500 ms draws the room at once; otherwise it dissolves in.
    void Enter();
    // Background, the button set of the state and "Connection OK" or "Not Connected".
    void Draw(int8_t buffer);
    // While connected, watches the link.
    void Update();
    void StylusDown(uint16_t x, uint16_t y);
    // True when the room is to close (Back).
    bool StylusUp(uint16_t x, uint16_t y);
    // Nothing of the room or its connection is stored: true.
    bool WriteState(platform::FileHandle file);
    bool ReadState(platform::FileHandle file);

    // The text in the font at (x, y) of back buffer 0, over the wiped status
    // area when clear is set, presented at once.
    void ShowStatus(int16_t x, int16_t y, const WString& text, bool clear);
    // Create: waits kHostSeconds for a client, as the server. Join: searches
    // for a server, as the client. Both show their status texts and leave
    // the room drawn in its new state; true when connected.
    bool HostIrConnection();
    bool JoinIrConnection();
    // The game and trade handshakes; true when the match or the trade
    // screen has started. The server always speaks first.
    bool StartIrGame();
    bool StartIrTrade();

    // When the link is found dead: not connected, and the room redrawn.
    void PollIrConnection();
    // True while the link lives; else asks "Error of Synchronization:" with
    // Cancel (false) or Retry (create or join again in the same role: its
    // result).
    bool CheckLinkSync();
    bool IsConnected() const { return connected_ != 0; }

private:
    // The buttons answered in the current state, in their table order.
    int ActiveButtons(ButtonId* ids) const;
    // One handshake: both sides exchange the start request of the kind;
    // false (with its status text) when either side is not ready.
    bool StartHandshake(LinkMessageKind kind, const char16_t* const texts[6]);
    // The names of the trade handshake: the server sends first.
    bool ExchangeTradeNames();
    // Create (host) or Join, with the status texts of each.
    bool ConnectIr(bool host);
    // Not connected, the room redrawn, and the loss traced.
    void MarkLinkLost();

    Button buttons_[kButtonCount];
    Picture background_;
    Picture statusArea_;  // cut at (10, 75): wipes the status texts
    Picture entryPicture_;
    uint8_t connected_ = 0;
    uint8_t savedMusicOff_ = 0;
};

}  // namespace qv
