// The multiplayer room's message layer: the link, the receive queue and the
// exchanges of confirmed messages. The room derives from it, so the match
// and the trade screen reach these operations through the room.
//
// An exchange: one side sends a request, the other returns it as an echo
// (kind 9), the first compares the echo with what it sent and answers with
// an acknowledge (10) or a reject (255). Only after the acknowledge does
// either side act on the request. Every receive blocks until the other
// side sends, the link breaks or the other side is found gone.
#pragma once

#include <cstdint>
#include <vector>

#include "infrared/ir_link.h"
#include "infrared/link_message.h"

namespace qv {

class Card;

class LinkSession {
public:
    static constexpr int kQueueSlots = 5;
    static constexpr uint32_t kLivenessMs = 500;

    LinkSession() = default;
    // Closes the connection, so that the other side sees this one gone.
    virtual ~LinkSession();
    LinkSession(const LinkSession&) = delete;
    LinkSession& operator=(const LinkSession&) = delete;

    // Empty the queue, close any connection and take the role (1 server,
    // 0 client) before waiting for a client for seconds, or joining.
    bool HostLink(uint16_t seconds);
    bool JoinLink();
    void CloseLink();
    int GetLinkRole() const { return role_; }

    // Sends the message's bytes in one send; false when not all went.
    bool SendLinkMessage(const LinkMessage& message);
    // Adds received bytes and queues every whole message they complete, as
    // far as the queue has room; the rest waits for the next receive. A
    // stream that cannot be messages is dropped up to its end.
    void QueueReceivedMessages(const uint8_t* bytes, int count);
    // Hands out the oldest queued message; reads the link (blocking) only
    // when none is queued. False when the link broke or closed, or sent
    // bytes that are no message. Input that came meanwhile is discarded.
    bool ReceiveLinkMessage(LinkMessage& out);
    // The receiving half of an exchange: out := the request, echoed; true
    // when the other side acknowledged the echo.
    bool ReceiveLinkRequest(LinkMessage& out);

    // The sending halves, one for each message sent; true when the other
    // side echoed the request exactly and was sent the acknowledge.
    bool SendCardMoveMessage(const Card& card, int column, int row);
    bool SendAttackMessage(int column, int row, int targetColumn, int targetRow);
    bool SendMultiHitMessage(int column, int row, int targetColumn, int targetRow);
    bool SendCardTakenMessage();
    bool SendGiveCardMessage(int16_t cardId);
    bool SendTradeCardMessage(int16_t cardId);
    bool SendNameMessage(const WString& text);
    bool SendFirstSideMessage(int side);
    bool SendBlockedCellMessage(int column, int row);
    bool SendStartGameMessage();
    bool SendStartTradeMessage();
    bool SendCreditsOfferMessage(int32_t credits);
    bool SendTradeLeaveMessage();
    bool SendReadyMessage(int flag);
    bool SendTradeClearMessage();
    bool SendTradeRemoveMessage(int index);
    bool SendStartSignalMessage();
    bool SendRejectMessage();

    // The liveness test (at most kLivenessMs): false once the other side
    // closed, reset or vanished. It does not wait for data.
    bool IsLinkAlive();
    // Whether a receive has something to hand out or read at once: a queued
    // message, or bytes waiting on the link.
    bool IsLinkDataWaiting();
    // Messages queued and not handed out yet.
    int QueuedLinkMessages() const { return queueCount_; }

private:
    // The sending half shared by every Send...Message.
    bool ExchangeLinkRequest(LinkMessage request);
    bool SendBareMessage(LinkMessageKind kind);
    // An attack or multi-hit request: attacker cell, then target cell.
    bool SendBattleMessage(LinkMessageKind kind, int column, int row, int targetColumn, int targetRow);
    // Moves whole messages from the pending bytes into the queue; false when
    // the bytes were no message and were dropped.
    bool SplitPendingBytes();
    // Reads and drops the bytes that wait on the link after a malformed message.
    void DropWaitingBytes();
    void EmptyLinkQueue();

    IrLink link_;
    int32_t role_ = 0;
    uint8_t rawBuffer_[kLinkMessageMaxBytes] = {};
    LinkMessage queue_[kQueueSlots];
    int8_t queueCount_ = 0;
    // Received bytes not yet queued: the start of a message split across two
    // reads, or whole messages waiting for a free slot.
    std::vector<uint8_t> pending_;
};

}  // namespace qv
