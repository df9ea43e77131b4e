// The match's side of two-machine play: the start handshake, the waits for
// the other machine's decisions, the sends of our own, the who-starts signal,
// the card that changes hands and the link checks with their questions.
#include "cards/card_database.h"
#include "cards/launchers.h"
#include "engine/banners.h"
#include "engine/blit.h"
#include "engine/display.h"
#include "engine/message_box.h"
#include "engine/utilities.h"
#include "infrared/multiplayer_screen.h"
#include "match/match.h"
#include "match/match_layout.h"
#include "platform/system.h"

namespace qv {

namespace {

constexpr uint8_t kEndOfList = 255;
// An honest server blocks 2 to 6 cells; more would leave no match to play.
constexpr int kMostBlockedCells = 6;

const char16_t kInterrupted[] = u"The connection is interrupted !";
const char16_t kSyncError[] = u"Error of Synchronization:\n";
const char16_t kUnknownCame[] = u"An unknow message is received.";

// The dialog of every failure: true when the player gives the match up.
bool AskCancelGame(const WString& text) { return ShowNote(text, u"Cancel Game", u"Retry"); }

// What the synchronisation question says of the kind that came instead.
const char16_t* CameText(LinkMessageKind kind) {
    switch (kind) {
        case LinkMessageKind::kCardPlayed: return u"A play card message is received.";
        case LinkMessageKind::kAttack: return u"An Attack message is received.";
        case LinkMessageKind::kMultiHit: return u"An Multi-hit message is received.";
        case LinkMessageKind::kCardTaken: return u"Card taken message is received.";
        case LinkMessageKind::kCard: return u"A Card gift message is received.";
        default: return kUnknownCame;
    }
}

// Repeats the exchange until it succeeds; after each failure the player
// chooses between giving up (false, the match has left) and a retry, which
// first checks the link.
template <typename Send>
bool RepeatUntilSent(Match& match, MultiplayerScreen* room, const char16_t* what, Send send) {
    // Without a room no other machine listens: there is nobody to tell.
    if (room == nullptr) return true;
    while (!send()) {
        if (AskCancelGame(WString(kInterrupted) + what)) {
            match.CancelMatch();
            return false;
        }
        match.CheckLink();
        if (gClubActive) return false;  // the reconnection was given up
    }
    return true;
}

}  // namespace

bool Match::IsInfraRed() const { return IsRemote(KindOf(BLUE)); }

// --- The start handshake ---

bool Match::RunMatchHandshake(int blockedCells) {
    if (room_ == nullptr || participants_[RED] == nullptr || participants_[BLUE] == nullptr) return false;
    MultiplayerScreen& room = *room_;
    LinkMessage message;
    if (KindOf(BLUE) == kRemoteServer) {
        sideToMove_ = static_cast<Side>(RandomBelow(2));
        board_.Reset(blockedCells);
        if (!room.SendNameMessage(participants_[RED]->GetName())) return false;
        // The other machine numbers the sides the other way round.
        if (!room.SendFirstSideMessage(OtherSide(sideToMove_))) return false;
        for (int column = 0; column < kBoardColumns; ++column) {
            for (int row = 0; row < kBoardRows; ++row) {
                if (board_.CellAt(column, row).free) continue;
                if (!room.SendBlockedCellMessage(column, row)) return false;
            }
        }
        if (!room.SendBlockedCellMessage(kEndOfList, kEndOfList)) return false;
        if (!room.ReceiveLinkRequest(message) || message.kind != LinkMessageKind::kName) return false;
        participants_[BLUE]->SetName(message.text);
        return true;
    }
    board_.Reset(0);
    if (!room.ReceiveLinkRequest(message) || message.kind != LinkMessageKind::kName) return false;
    participants_[BLUE]->SetName(message.text);
    if (!room.ReceiveLinkRequest(message) || message.kind != LinkMessageKind::kFirstSide) return false;
    if (message.p1 != RED && message.p1 != BLUE) return false;
    sideToMove_ = static_cast<Side>(message.p1);
    int blocked = 0;
    for (;;) {
        if (!room.ReceiveLinkRequest(message) || message.kind != LinkMessageKind::kBlockedCell) return false;
        if (message.p1 == kEndOfList || message.p2 == kEndOfList) break;
        int column = 0, row = 0;
        if (!ReadLinkCell(message.p1, message.p2, &column, &row) || !board_.CellAt(column, row).free ||
            ++blocked > kMostBlockedCells) {
            return false;
        }
        board_.BlockCell(column, row);
    }
    return room.SendNameMessage(participants_[RED]->GetName());
}

// --- Waiting for the other machine ---

void Match::ShowWaitingText(Side side, const char16_t* what) {
    WString text = u"Waiting for " + ParticipantName(side) + what;
    // Set once: the line blinks on while the wait goes on over several frames.
    if (message_.mode != 0 || message_.textA != text) SetMessageLine(0, text, WString(), WString(), 0, 1, 0);
    PresentScreen();
}

bool Match::ReceiveRemoteRequest(LinkMessage& request) {
    if (room_ == nullptr) {
        CancelMatch();
        return false;
    }
    if (room_->ReceiveLinkRequest(request)) return true;
    // Nothing came: a live link is tried again on the next frame.
    if (room_->IsLinkAlive()) return false;
    if (AskCancelGame(kInterrupted)) {
        CancelMatch();
    } else {
        CheckLink();
    }
    return false;
}

void Match::ShowSyncError(const WString& expected, const WString& came) {
    platform::Trace("match", "out of step");
    if (AskCancelGame(kSyncError + expected + came)) {
        CancelMatch();
    } else {
        CheckLink();
    }
}

void Match::AwaitRemoteMove() {
    ShowWaitingText(sideToMove_, u" move.");
    LinkMessage message;
    if (!ReceiveRemoteRequest(message)) return;
    const WString expected = u"A move is expected when\n";
    if (message.kind == LinkMessageKind::kCardTaken) {
        AnnounceCardTaken(sideToMove_);
        return;
    }
    if (message.kind != LinkMessageKind::kCardPlayed) {
        ShowSyncError(expected, CameText(message.kind));
        return;
    }
    // The card and its cell must make a move on this board: anything else
    // means the two machines no longer agree.
    int16_t cardId = 0;
    int column = 0, row = 0;
    if (!ReadLinkCardId(message, &cardId) || !ReadLinkCell(message.p1, message.p2, &column, &row) ||
        !board_.CanPlace(Card(), column, row)) {
        ShowSyncError(expected, kUnknownCame);
        return;
    }
    StartRemoteCardFlight(cardId, column, row);
}

void Match::StartRemoteCardFlight(int16_t cardId, int column, int row) {
    remoteCardId_ = cardId;
    remoteColumn_ = static_cast<int8_t>(column);
    remoteRow_ = static_cast<int8_t>(row);
    // Only the id travels: this machine holds no copy of the other's hand.
    Card card = LoadCard(cardId);
    StartCardFlight(card, sideToMove_, column, row, kComputerFlightX, kComputerFlightY, kBigCardWidth, kBigCardHeight,
                    kStateRemoteCardLands);
    PlayMatchSound("SOUNDS\\carte.QVW");
}

// The remembered card laid for the side to move, resolved as any placement.
void Match::PlaceRemoteCard() {
    Card card = LoadCard(remoteCardId_);
    if (!board_.CanPlace(card, remoteColumn_, remoteRow_)) {
        EndTurn();
        return;
    }
    board_.PlaceCard(card, remoteColumn_, remoteRow_, sideToMove_);
    battleCount_ = 0;
    ResolveCountedTargets(remoteColumn_, remoteRow_, board_.CountAttacks(remoteColumn_, remoteRow_));
}

void Match::AwaitRemoteAttack() {
    ShowWaitingText(sideToMove_, u" choose attack.");
    if (ReceiveRemoteTarget(LinkMessageKind::kAttack, u"An attack is expected when\n")) StartAttack();
}

void Match::AwaitRemoteMultiHit() {
    // The chain is the other machine's to lead, whoever's turn it is.
    ShowWaitingText(multiHitSide_, u" choose attack.");
    if (ReceiveRemoteTarget(LinkMessageKind::kMultiHit, u"A multihit is expected when\n")) StartMultiHitAttack();
}

// The other machine's choice of target for the attacker in place: true with
// the target set; otherwise the synchronization question has been asked.
bool Match::ReceiveRemoteTarget(LinkMessageKind kind, const WString& expected) {
    LinkMessage message;
    if (!ReceiveRemoteRequest(message)) return false;
    if (message.kind != kind) {
        ShowSyncError(expected, CameText(message.kind));
        return false;
    }
    int ac = 0, ar = 0, tc = 0, tr = 0;
    if (!ReadLinkCell(message.p1, message.p2, &ac, &ar) || !ReadLinkCell(message.p3, message.p4, &tc, &tr) ||
        ac != attackerColumn_ || ar != attackerRow_ || !board_.CanAttack(ac, ar, tc, tr)) {
        ShowSyncError(expected, kUnknownCame);
        return false;
    }
    targetColumn_ = static_cast<int8_t>(tc);
    targetRow_ = static_cast<int8_t>(tr);
    return true;
}

// --- Our own decisions ---

bool Match::SendCardMove(const Card& card, int column, int row) {
    return RepeatUntilSent(*this, room_, u"While sending message Card move.",
                           [&] { return room_->SendCardMoveMessage(card, column, row); });
}

bool Match::SendAttack(int column, int row, int targetColumn, int targetRow) {
    return RepeatUntilSent(*this, room_, u"While sending message Attack move.",
                           [&] { return room_->SendAttackMessage(column, row, targetColumn, targetRow); });
}

bool Match::SendMultiHit(int column, int row, int targetColumn, int targetRow) {
    return RepeatUntilSent(*this, room_, u"While sending message MultiHit move.",
                           [&] { return room_->SendMultiHitMessage(column, row, targetColumn, targetRow); });
}

// A lost card-taken message would leave both machines waiting for the
// other's move: it is repeated like every other decision.
bool Match::SendCardTaken() {
    return RepeatUntilSent(*this, room_, u"While sending message Card taken move.",
                           [&] { return room_->SendCardTakenMessage(); });
}

void Match::SendStartSignal() {
    RepeatUntilSent(*this, room_, u"While sending message Card taken move.",
                    [&] { return room_->SendStartSignalMessage(); });
}

void Match::SendCardGift(int16_t id) {
    RepeatUntilSent(*this, room_, u"While sending message Give Card", [&] { return room_->SendGiveCardMessage(id); });
}

bool Match::ReceiveStartSignal() {
    LinkMessage message;
    if (!ReceiveRemoteRequest(message)) return false;
    if (message.kind != LinkMessageKind::kStartSignal) {
        ShowSyncError(WString(), WString());
        return false;
    }
    return true;
}

// The server's pick is the card that changes hands. It must be one the
// loser laid, as both boards show; only then does it reach a collection.
bool Match::ReceiveCardGift() {
    LinkMessage message;
    if (!ReceiveRemoteRequest(message)) return false;
    if (message.kind != LinkMessageKind::kCard) {
        ShowSyncError(WString(), WString());
        return false;
    }
    int16_t id = 0;
    const Side loser = gMatchResult == 0 ? BLUE : RED;
    bool laid = false;
    if (ReadLinkCardId(message, &id)) {
        for (int x = 0; x < kBoardColumns; ++x) {
            for (int y = 0; y < kBoardRows; ++y) {
                const BoardCell& cell = board_.CellAt(x, y);
                laid = laid || (cell.placedBy == loser && cell.card.GetId() == id);
            }
        }
    }
    if (!laid) {
        ShowSyncError(WString(), WString());
        return false;
    }
    exchangeIds_[0] = id;
    return true;
}

// --- The link ---

void Match::CheckLink() {
    if (room_ == nullptr || room_->IsLinkAlive()) return;
    // The room draws itself while it reconnects: the match screen waits in buffer 2.
    CopyBuffer(0, 2);
    if (room_->CheckLinkSync()) {
        CopyBuffer(2, 0);
        return;
    }
    CancelMatch();
}

void Match::CancelMatch() {
    platform::Trace("match", "cancelled");
    Leave();
}

}  // namespace qv
