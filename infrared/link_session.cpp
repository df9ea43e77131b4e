// The message layer: sending, the receive queue and both halves of an
// exchange.
#include "infrared/link_session.h"

#include <string>

#include "cards/card.h"
#include "engine/input.h"
#include "platform/system.h"

namespace qv {
namespace {

// "09 0A FF ...": the bytes of a message for the trace.
std::string HexBytes(const uint8_t* bytes, size_t count) {
    static const char kDigits[] = "0123456789ABCDEF";
    std::string text;
    for (size_t i = 0; i < count; ++i) {
        if (i > 0) {
            text.push_back(' ');
        }
        text.push_back(kDigits[bytes[i] >> 4]);
        text.push_back(kDigits[bytes[i] & 15]);
    }
    return text;
}

LinkMessage Request(LinkMessageKind kind) {
    LinkMessage message;
    message.kind = kind;
    return message;
}

uint8_t Byte(int number) { return static_cast<uint8_t>(number); }

}  // namespace

LinkSession::~LinkSession() { link_.Close(); }

void LinkSession::EmptyLinkQueue() {
    for (LinkMessage& slot : queue_) {
        slot = LinkMessage();
    }
    queueCount_ = 0;
    pending_.clear();
}

bool LinkSession::HostLink(uint16_t seconds) {
    EmptyLinkQueue();
    role_ = 1;
    return link_.Host(seconds);
}

bool LinkSession::JoinLink() {
    EmptyLinkQueue();
    role_ = 0;
    return link_.Join();
}

void LinkSession::CloseLink() { link_.Close(); }

bool LinkSession::SendLinkMessage(const LinkMessage& message) {
    int length = PackLinkMessage(message, rawBuffer_);
    platform::Trace("link", "send " + HexBytes(rawBuffer_, static_cast<size_t>(length)));
    return link_.Send(rawBuffer_, length);
}

bool LinkSession::SplitPendingBytes() {
    size_t used = 0;
    bool wellFormed = true;
    while (queueCount_ < kQueueSlots && used < pending_.size()) {
        LinkMessage message;
        int length = 0;
        LinkRead read = ReadLinkMessage(pending_.data() + used, pending_.size() - used, &message, &length);
        if (read == LinkRead::kIncomplete) {
            break;
        }
        if (read == LinkRead::kMalformed) {
            // Nothing tells where the next message would start: drop it all.
            platform::Trace("link", "dropped " + HexBytes(pending_.data() + used, pending_.size() - used));
            used = pending_.size();
            wellFormed = false;
            break;
        }
        platform::Trace("link", "receive " + HexBytes(pending_.data() + used, static_cast<size_t>(length)));
        queue_[queueCount_] = message;
        ++queueCount_;
        used += static_cast<size_t>(length);
    }
    pending_.erase(pending_.begin(), pending_.begin() + static_cast<std::ptrdiff_t>(used));
    return wellFormed;
}

void LinkSession::DropWaitingBytes() {
    // The rest of a malformed burst that has already come: what follows it
    // can then be read as messages again. Only what waits now, so that a
    // peer that keeps sending cannot hold the receive here.
    int32_t waiting = link_.BytesAvailable();
    while (waiting > 0) {
        int count = 0;
        int size = waiting < kLinkMessageMaxBytes ? waiting : kLinkMessageMaxBytes;
        if (!link_.Receive(rawBuffer_, size, count) || count == 0) {
            break;
        }
        platform::Trace("link", "dropped " + HexBytes(rawBuffer_, static_cast<size_t>(count)));
        waiting -= count;
    }
}

void LinkSession::QueueReceivedMessages(const uint8_t* bytes, int count) {
    if (bytes == nullptr || count <= 0) {
        return;
    }
    pending_.insert(pending_.end(), bytes, bytes + count);
    SplitPendingBytes();
}

bool LinkSession::ReceiveLinkMessage(LinkMessage& out) {
    // Messages already queued come first: the other side may be waiting for
    // the answer to one of them, so reading the link first could wait for ever.
    bool wellFormed = SplitPendingBytes();
    while (queueCount_ == 0 && wellFormed) {
        int count = 0;
        if (!link_.Receive(rawBuffer_, kLinkMessageMaxBytes, count) || count == 0) {
            break;
        }
        pending_.insert(pending_.end(), rawBuffer_, rawBuffer_ + count);
        // A message split across two reads: read on for its rest.
        wellFormed = SplitPendingBytes();
    }
    if (!wellFormed) {
        DropWaitingBytes();
    }
    FlushInputQueue();
    if (queueCount_ == 0) {
        return false;
    }
    out = queue_[0];
    for (int i = 1; i < queueCount_; ++i) {
        queue_[i - 1] = queue_[i];
    }
    --queueCount_;
    queue_[queueCount_] = LinkMessage();
    return true;
}

bool LinkSession::ReceiveLinkRequest(LinkMessage& out) {
    if (!ReceiveLinkMessage(out)) {
        return false;
    }
    LinkMessage echo = out;
    echo.kind = LinkMessageKind::kEcho;
    // Without the echo sent, no acknowledge can come: do not wait for one.
    bool acknowledged = SendLinkMessage(echo);
    if (acknowledged) {
        LinkMessage answer;
        acknowledged = ReceiveLinkMessage(answer) && answer.kind == LinkMessageKind::kAcknowledge;
    }
    FlushInputQueue();
    return acknowledged;
}

bool LinkSession::SendBareMessage(LinkMessageKind kind) { return SendLinkMessage(Request(kind)); }

bool LinkSession::ExchangeLinkRequest(LinkMessage request) {
    // Compare the echo with what the wire carried, so that a long name or
    // one with wide characters comes back equal.
    request.text = LinkWireText(request.text);
    if (!SendLinkMessage(request)) {
        return false;
    }
    LinkMessage answer;
    if (!ReceiveLinkMessage(answer)) {
        return false;
    }
    LinkMessage expected = request;
    expected.kind = LinkMessageKind::kEcho;
    if (SameLinkMessage(answer, expected)) {
        SendBareMessage(LinkMessageKind::kAcknowledge);
        return true;
    }
    SendBareMessage(LinkMessageKind::kReject);
    return false;
}

bool LinkSession::SendCardMoveMessage(const Card& card, int column, int row) {
    LinkMessage message = Request(LinkMessageKind::kCardPlayed);
    message.value = card.GetId();
    message.p1 = Byte(column);
    message.p2 = Byte(row);
    return ExchangeLinkRequest(message);
}

bool LinkSession::SendBattleMessage(LinkMessageKind kind, int column, int row, int targetColumn, int targetRow) {
    LinkMessage message = Request(kind);
    message.p1 = Byte(column);
    message.p2 = Byte(row);
    message.p3 = Byte(targetColumn);
    message.p4 = Byte(targetRow);
    return ExchangeLinkRequest(message);
}

bool LinkSession::SendAttackMessage(int column, int row, int targetColumn, int targetRow) {
    return SendBattleMessage(LinkMessageKind::kAttack, column, row, targetColumn, targetRow);
}

bool LinkSession::SendMultiHitMessage(int column, int row, int targetColumn, int targetRow) {
    return SendBattleMessage(LinkMessageKind::kMultiHit, column, row, targetColumn, targetRow);
}

bool LinkSession::SendCardTakenMessage() { return ExchangeLinkRequest(Request(LinkMessageKind::kCardTaken)); }

bool LinkSession::SendGiveCardMessage(int16_t cardId) {
    LinkMessage message = Request(LinkMessageKind::kCard);
    message.value = cardId;
    return ExchangeLinkRequest(message);
}

bool LinkSession::SendTradeCardMessage(int16_t cardId) { return SendGiveCardMessage(cardId); }

bool LinkSession::SendNameMessage(const WString& text) {
    LinkMessage message = Request(LinkMessageKind::kName);
    message.text = text;
    return ExchangeLinkRequest(message);
}

bool LinkSession::SendFirstSideMessage(int side) {
    LinkMessage message = Request(LinkMessageKind::kFirstSide);
    message.p1 = Byte(side);
    return ExchangeLinkRequest(message);
}

bool LinkSession::SendBlockedCellMessage(int column, int row) {
    LinkMessage message = Request(LinkMessageKind::kBlockedCell);
    message.p1 = Byte(column);
    message.p2 = Byte(row);
    return ExchangeLinkRequest(message);
}

bool LinkSession::SendStartGameMessage() { return ExchangeLinkRequest(Request(LinkMessageKind::kStartGame)); }

bool LinkSession::SendStartTradeMessage() { return ExchangeLinkRequest(Request(LinkMessageKind::kStartTrade)); }

bool LinkSession::SendCreditsOfferMessage(int32_t credits) {
    LinkMessage message = Request(LinkMessageKind::kCreditsOffer);
    SetLinkCredits(message, credits);
    return ExchangeLinkRequest(message);
}

bool LinkSession::SendTradeLeaveMessage() { return ExchangeLinkRequest(Request(LinkMessageKind::kTradeLeave)); }

bool LinkSession::SendReadyMessage(int flag) {
    LinkMessage message = Request(LinkMessageKind::kReady);
    message.p1 = Byte(flag);
    return ExchangeLinkRequest(message);
}

bool LinkSession::SendTradeClearMessage() { return ExchangeLinkRequest(Request(LinkMessageKind::kTradeClear)); }

bool LinkSession::SendTradeRemoveMessage(int index) {
    LinkMessage message = Request(LinkMessageKind::kTradeRemove);
    message.p1 = Byte(index);
    return ExchangeLinkRequest(message);
}

bool LinkSession::SendStartSignalMessage() { return ExchangeLinkRequest(Request(LinkMessageKind::kStartSignal)); }

bool LinkSession::SendRejectMessage() { return ExchangeLinkRequest(Request(LinkMessageKind::kReject)); }

bool LinkSession::IsLinkAlive() { return link_.WaitReady(kLivenessMs); }

bool LinkSession::IsLinkDataWaiting() {
    SplitPendingBytes();
    return queueCount_ > 0 || link_.BytesAvailable() > 0;
}

}  // namespace qv
