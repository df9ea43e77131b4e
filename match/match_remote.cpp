// The match's side of infra-red play. Placeholder until infra-red play is
// built: the handshake always fails, so no remote match starts; the waits
// and the start signal do nothing and the sends report success.
#include "infrared/multiplayer_screen.h"
#include "cards/card_database.h"
#include "match/match.h"

namespace qv {

bool Match::RunMatchHandshake(int) { return false; }

// Placeholder: no move arrives; the match keeps waiting.
void Match::AwaitRemoteMove() {}
void Match::AwaitRemoteAttack() {}
void Match::AwaitRemoteMultiHit() {}

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

// Placeholder sends: they report success so the local move goes on.
bool Match::SendCardMove(const Card&, int, int) { return true; }
bool Match::SendAttack(int, int, int, int) { return true; }
bool Match::SendMultiHit(int, int, int, int) { return true; }
void Match::SendStartSignal() {}
void Match::ReceiveStartSignal() {}
void Match::SendCardGift(int16_t) {}
void Match::ReceiveCardGift() {}

void Match::CheckLink() {
    if (room_ != nullptr) room_->CheckLinkSync();
}

void Match::CancelMatch() { Leave(); }

}  // namespace qv
