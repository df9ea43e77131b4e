// The trade screen (club screen 14): both players fill a trade box of up to
// nine cards and offer credits over the multiplayer room's link; when both
// are ready, each machine carries the trade out for its own character.
#pragma once

#include <cstdint>

#include "cards/profile.h"
#include "engine/button.h"
#include "engine/picture.h"
#include "platform/files.h"

namespace qv {

class MultiplayerScreen;

class TradeScreen {
public:
    static constexpr int kStateSize = 0;
    enum ButtonId : uint8_t { kAdd, kDel, kBack, kReady, kCancel, kZoom, kMinus, kPlus, kButtonCount };
    static constexpr uint32_t kRepeatMs = 200;
    static constexpr uint32_t kOfferHoldMs = 1500;

    // The room owns the link; the trade screen only uses it. Both trade
    // boxes start empty.
    explicit TradeScreen(MultiplayerScreen* room);
    virtual ~TradeScreen();
    TradeScreen(const TradeScreen&) = delete;
    TradeScreen& operator=(const TradeScreen&) = delete;

    void Enter();
    // Background, buttons, lights, offers, credits, names, both boxes and
    // the selection tint.
    void Draw(int8_t buffer);
    // Handles waiting messages, steps a held offer, watches the link and
    // sends an offer held back. Also runs while the collection manager edits
    // the own box.
    void Update();
    void StylusDown(uint16_t x, uint16_t y);
    // True when the screen is to close (Back).
    bool StylusUp(uint16_t x, uint16_t y);
    // Sends the whole own box again and shows the screen again.
    void SendOwnOffer();
    // Nothing of the trade is stored: true.
    bool WriteState(platform::FileHandle file);
    bool ReadState(platform::FileHandle file);
    // The room whose link the trade works through.
    MultiplayerScreen* GetRoom() const { return room_; }

    // For tests and traces.
    int32_t OwnOffer() const { return ownOffer_; }
    int32_t OtherOffer() const { return otherOffer_; }
    bool OwnReady() const { return ownReady_ != 0; }
    bool OtherReady() const { return otherReady_ != 0; }
    int8_t OwnSelection() const { return ownSelected_; }
    int8_t OtherSelection() const { return otherSelected_; }
    bool Zoomed() const { return zoom_ != 0; }
    bool OfferPending() const { return pending_ != 0; }
    bool Closed() const { return closed_ != 0; }
    // Top left of own box cell i and of the other side's cell i.
    static int OwnCellX(int i) { return 19 + 34 * (i % 3); }
    static int OtherCellX(int i) { return 129 + 34 * (i % 3); }
    static int CellY(int i) { return 83 + 52 * (i / 3); }

private:
    // Drawing (trade_screen.cpp).
    void DrawNames(int8_t buffer);
    void DrawCredits(int8_t buffer);
    void DrawLights(int8_t buffer);
    // Cell index of the profile's trade box, drawn at x and tinted when it is the
    // selected one; nothing for an index outside the box.
    void DrawBoxCard(const PlayerProfile& profile, int index, int x, int selected, int8_t buffer);
    void DrawOwnCard(int index, int8_t buffer);
    void DrawOtherCard(int index, int8_t buffer);
    void DrawCell(int x, int y, int16_t id, bool selected, int8_t buffer);
    // Removes the old tints and tints the new selections (-1: none).
    void Select(int own, int other);
    void ZoomCard(int16_t id);
    void StepOffer();
    void ActOnButton(int button);
    void RemoveSelectedCard();

    // The link (trade_link.cpp).
    // While messages wait (a bounded number, and not from too deep inside
    // another handler), handles them.
    void HandleWaitingMessages();
    // One request received and acted on; CheckLink when nothing came.
    void HandleLinkMessage();
    // One request received and acted on; false when nothing came.
    bool ReceiveAndHandle();
    // Sends the own box (kind 15, then one kind 4 a card); false when a send
    // failed or the screen closed meanwhile.
    bool SendBox();
    // Sends the own offer (kind 12); a failure keeps it pending.
    void SendOffer();
    // Tells the other side the flag; the own flag changes only when the
    // other side has it too.
    void SetReady(uint8_t flag);
    // Pays the agreed offer and cards, takes the other side's, saves.
    void CompleteTrade();
    // After a reconnection: the server sends its box and offer first.
    void Resync();
    void CheckLink();
    // Has the club close the trade (and the collection manager) once this
    // screen's code has returned; every handler stops after it.
    void Close();
    // Whether the other side's copy of the own box is the box as it stands.
    bool OwnBoxAsSent() const;
    // The other box shrank: a selection past its end goes.
    void KeepOtherSelectionInBox();

    Button buttons_[kButtonCount];
    Picture background_;
    Picture ownLight_;
    Picture otherLight_;
    // Ready flags as both machines know them: they change only with an
    // exchange that succeeded, so both complete the same trade or neither.
    uint8_t ownReady_ = 0;
    uint8_t otherReady_ = 0;
    MultiplayerScreen* room_ = nullptr;
    int32_t repeatStep_ = 0;
    uint32_t repeatTime_ = 0;
    int16_t repeatCount_ = 0;
    int32_t ownOffer_ = 0;
    int32_t otherOffer_ = 0;
    int8_t ownSelected_ = -1;
    int8_t otherSelected_ = -1;
    uint8_t zoom_ = 0;
    uint8_t visible_ = 1;
    uint8_t pending_ = 0;
    uint32_t lastSend_ = 0;

    // What the other side holds of our offer and box: the trade pays these.
    int32_t sentOffer_ = 0;
    int16_t sentBox_[kTradeBoxSize] = {};
    int sentCount_ = 0;
    uint32_t lastBoxSend_ = 0;
    // Our "not ready" has not reached the other side yet.
    uint8_t readyOffPending_ = 0;
    uint8_t closed_ = 0;
    int handlerDepth_ = 0;
    uint32_t completions_ = 0;
};

}  // namespace qv
