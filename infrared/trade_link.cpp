// The trade screen's traffic: the messages of the other side, the own box,
// offer and ready flag sent, the trade carried out, and the link watched.
//
// Both machines must complete the same trade or none. A local change counts
// for the trade only once the other side has acknowledged it: the trade pays
// the offer and cards that the other side holds of us, and the ready flags
// change only with a successful exchange. A change that did not go through is
// sent again later.
#include <string>

#include "cards/card_database.h"
#include "cards/saves.h"
#include "club/club.h"
#include "club/room_kit.h"
#include "engine/display.h"
#include "engine/message_box.h"
#include "infrared/link_message.h"
#include "infrared/multiplayer_screen.h"
#include "infrared/trade_screen.h"
#include "platform/clock.h"

namespace qv {

namespace {

// Messages handled in one go, and handlers nested in handlers: a peer that
// floods the link cannot hold the screen or run the stack out.
constexpr int kMostMessagesAtOnce = 16;
constexpr int kDeepestHandling = 4;
// Messages the client takes while it waits for the server's offer after a
// reconnection.
constexpr int kMostResyncMessages = 64;

void TraceTrade(const std::string& text) { TraceRoom("trade " + text); }

}  // namespace

void TradeScreen::Update() {
    if (closed_) return;
    HandleWaitingMessages();
    if (closed_) return;
    StepOffer();
    CheckLink();
    if (closed_) return;
    const uint32_t now = platform::GetTickCount();
    if (pending_ && now - lastSend_ > kOfferHoldMs) {
        pending_ = 0;
        HandleWaitingMessages();
        if (closed_) return;
        SendOffer();
        if (closed_) return;
    }
    // What did not reach the other side goes again, paced like the offers.
    if (readyOffPending_ && now - lastBoxSend_ > kOfferHoldMs) {
        lastBoxSend_ = now;
        SetReady(0);
        if (closed_) return;
    }
    if (visible_ && !OwnBoxAsSent() && now - lastBoxSend_ > kOfferHoldMs) SendBox();
}

bool TradeScreen::OwnBoxAsSent() const {
    if (gProfile.TradeBoxCount() != sentCount_) return false;
    for (int i = 0; i < sentCount_; ++i) {
        if (gProfile.GetTradeBoxCard(i) != sentBox_[i]) return false;
    }
    return true;
}

void TradeScreen::HandleWaitingMessages() {
    if (closed_ || room_ == nullptr || handlerDepth_ >= kDeepestHandling) return;
    ++handlerDepth_;
    for (int n = 0; n < kMostMessagesAtOnce && !closed_ && room_->IsLinkDataWaiting(); ++n) HandleLinkMessage();
    --handlerDepth_;
}

void TradeScreen::HandleLinkMessage() {
    if (!ReceiveAndHandle()) CheckLink();
}

bool TradeScreen::ReceiveAndHandle() {
    LinkMessage message;
    if (room_ == nullptr || !room_->ReceiveLinkRequest(message)) return false;
    switch (message.kind) {
        case LinkMessageKind::kCard: {
            int16_t id = 0;
            if (!ReadLinkCardId(message, &id) || !gOtherProfile.AddToTradeBox(id)) break;
            if (visible_) DrawOtherCard(gOtherProfile.TradeBoxCount() - 1, 0);
            TraceTrade("other card " + std::to_string(id));
            break;
        }
        case LinkMessageKind::kCreditsOffer: {
            int32_t offer = 0;
            if (!ReadLinkCredits(message, &offer)) break;
            // Taken before our own flag goes off: a ready of the other side
            // that waits behind this message completes with this offer.
            otherOffer_ = offer;
            TraceTrade("other offer " + std::to_string(offer));
            if (visible_) DrawCredits(0);
            SetReady(0);
            if (!closed_ && visible_) DrawLights(0);
            break;
        }
        case LinkMessageKind::kTradeLeave:
            TraceTrade("other left");
            Close();
            break;
        case LinkMessageKind::kReady:
            otherReady_ = message.p1 == 1 ? 1 : 0;
            TraceTrade("other ready " + std::to_string(otherReady_));
            if (visible_) DrawLights(0);
            if (ownReady_ && otherReady_) CompleteTrade();
            break;
        case LinkMessageKind::kTradeClear:
            gOtherProfile.ClearTradeBox();
            KeepOtherSelectionInBox();
            if (visible_) {
                for (int i = 0; i < kTradeBoxSize; ++i) DrawOtherCard(i, 0);
            }
            break;
        case LinkMessageKind::kTradeRemove: {
            const int index = message.p1;
            const int count = gOtherProfile.TradeBoxCount();
            if (index >= count) break;
            gOtherProfile.RemoveTradeBoxAt(index);
            KeepOtherSelectionInBox();
            if (visible_) {
                for (int i = index; i < count; ++i) DrawOtherCard(i, 0);
            }
            SetReady(0);
            break;
        }
        default: break;
    }
    return true;
}

bool TradeScreen::SendBox() {
    lastBoxSend_ = platform::GetTickCount();
    HandleWaitingMessages();
    if (closed_ || room_ == nullptr) return false;
    if (!room_->SendTradeClearMessage()) {
        CheckLink();
        return false;
    }
    sentCount_ = 0;
    // The box is read afresh each round: a trade completed by a message
    // handled meanwhile has emptied it.
    for (int i = 0; i < gProfile.TradeBoxCount(); ++i) {
        HandleWaitingMessages();
        if (closed_) return false;
        if (i >= gProfile.TradeBoxCount()) break;
        const int16_t id = gProfile.GetTradeBoxCard(i);
        if (!room_->SendTradeCardMessage(id)) {
            CheckLink();
            return false;
        }
        sentBox_[sentCount_++] = id;
    }
    return true;
}

void TradeScreen::SendOwnOffer() {
    visible_ = 1;
    SendBox();
}

void TradeScreen::SendOffer() {
    lastSend_ = platform::GetTickCount();
    if (room_ == nullptr) return;
    if (room_->SendCreditsOfferMessage(ownOffer_)) {
        sentOffer_ = ownOffer_;
        TraceTrade("offer " + std::to_string(sentOffer_));
        return;
    }
    pending_ = 1;
    CheckLink();
}

void TradeScreen::SetReady(uint8_t flag) {
    if (closed_ || room_ == nullptr) return;
    const uint32_t before = completions_;
    HandleWaitingMessages();
    if (closed_) return;
    // A trade completed meanwhile: the press was for the trade now done.
    if (flag && completions_ != before) return;
    if (room_->SendReadyMessage(flag)) {
        ownReady_ = flag;
        readyOffPending_ = 0;
        TraceTrade("ready " + std::to_string(flag));
        if (visible_) DrawLights(0);
        return;
    }
    // The other side still holds the old flag: ours stays as it knows it.
    if (flag == 0 && ownReady_) readyOffPending_ = 1;
    CheckLink();
}

void TradeScreen::CompleteTrade() {
    PresentScreen();
    gProfile.SubtractCredits(sentOffer_);
    for (int i = 0; i < sentCount_; ++i) gProfile.RemoveCard(sentBox_[i]);
    gProfile.AddCredits(otherOffer_);
    for (int i = 0; i < gOtherProfile.TradeBoxCount(); ++i) {
        const int16_t id = gOtherProfile.GetTradeBoxCard(i);
        if (IsDatabaseId(id)) gProfile.AddCard(id);
    }
    gProfile.ClearTradeBox();
    gOtherProfile.ClearTradeBox();
    sentCount_ = 0;
    ownOffer_ = 0;
    sentOffer_ = 0;
    otherOffer_ = 0;
    ownSelected_ = -1;
    otherSelected_ = -1;
    ownReady_ = 0;
    otherReady_ = 0;
    readyOffPending_ = 0;
    pending_ = 0;
    ++completions_;
    SavePlayer();
    TraceTrade("finished credits " + std::to_string(gProfile.GetCredits()) + " cards " +
               std::to_string(gProfile.GetTotalCards()));
    ShowNote(u"Trade Finished");
    if (visible_) Draw(0);
}

void TradeScreen::Close() {
    if (closed_) return;
    closed_ = 1;
    TraceTrade("closed");
    gClub.CloseCollectionScreen();
}

void TradeScreen::CheckLink() {
    if (closed_) return;
    if (room_ != nullptr && room_->IsLinkAlive()) return;
    // "Cancel", or a retry that found nobody, ends the trade.
    if (room_ == nullptr || !room_->CheckLinkSync()) {
        Close();
        return;
    }
    visible_ = 0;
    Resync();
    if (closed_) return;
    if (gClub.CurrentType() == kScreenTrade) {
        zoom_ = 0;
        Draw(0);
        visible_ = 1;
    } else {
        // The collection manager edits the box: it comes back over the room.
        gClub.RedrawCurrentScreen(0);
    }
}

void TradeScreen::Resync() {
    // A new connection: neither side counts as ready, and the other side
    // holds nothing of ours until we send it again.
    ownReady_ = 0;
    otherReady_ = 0;
    readyOffPending_ = 0;
    sentCount_ = 0;
    sentOffer_ = 0;
    TraceTrade("resync");
    if (room_->GetLinkRole() == 0) {
        otherOffer_ = -1;
        for (int n = 0; n < kMostResyncMessages && otherOffer_ < 0 && !closed_; ++n) {
            if (!ReceiveAndHandle()) break;
        }
        if (closed_) return;
        if (otherOffer_ < 0) {
            otherOffer_ = 0;
            // Nothing more can come: the trade ends as after "Cancel".
            if (!room_->IsLinkAlive()) {
                Close();
                return;
            }
        }
    }
    if (!SendBox() || closed_) return;
    SendOffer();
}

}  // namespace qv
