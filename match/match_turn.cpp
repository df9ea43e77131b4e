// One turn of the match: laying or taking a card, attacks, battles, chains and the change of mover.
#include "cards/launchers.h"
#include "cards/profile.h"
#include "engine/banners.h"
#include "engine/blit.h"
#include "engine/colour.h"
#include "engine/display.h"
#include "engine/utilities.h"
#include "match/computer_opponent.h"
#include "match/match.h"
#include "match/match_layout.h"
#include "platform/system.h"

namespace qv {

namespace {

constexpr int8_t kAttackerTint[3] = {static_cast<int8_t>(216), 40, 40};
constexpr int8_t kTargetTint[3] = {40, 40, static_cast<int8_t>(216)};

}  // namespace

bool Match::Cancelled() const { return gClubActive != 0; }

void Match::DropHandCard(int16_t x, uint16_t y) {
    int column = (x - grabX_ + 12) / 40;
    int row = (static_cast<int>(y) - grabY_ + 21) / 58;
    Side m = sideToMove_;
    if (selectedSlot_ < kHandSize && board_.CanPlace(draggedCard_, column, row)) {
        PlayMatchSound("SOUNDS\\carte.QVW");
        SnapDraggedCard(column, row);
        PresentScreen();
        if (IsRemote(KindOf(OtherSide(m)))) {
            // "Cancel Game" has left the match and drawn the room: stop here.
            if (!SendCardMove(hands_[m].CardAt(selectedSlot_), column, row) || Cancelled()) return;
        }
        SnapDraggedCard(column, row);
        PlaceCardAndResolve(selectedSlot_, column, row);
        return;
    }
    BlitPicture(dragX_, dragY_, saveUnder_, 0);
    if (selectedSlot_ < kHandSize) BlitPicture(HandSlotX(selectedSlot_), kHandSlotY, dragImage_, 0);
    TintSelectedSlot(0);
    state_ = kStateLocalActs;
}

void Match::SnapDraggedCard(int column, int row) {
    BlitPicture(dragX_, dragY_, saveUnder_, 0);
    BlitPicture(CellX(column), CellY(row), dragImage_, 0);
}

bool Match::TapPile(Side side, int16_t x, uint16_t y) {
    if (x < 12 || x > 46 || y < 258 || y > 310) return false;
    int slot = hands_[side].FirstEmptySlot();
    // An empty pile gives nothing: the tap is only consumed.
    if (cardTaken_ != 0 || slot >= kHandSize || piles_[side].GetCount() <= 0) return true;
    cardTaken_ = 1;
    Card card = piles_[side].Pop();
    hands_[side].PutCardInSlot(card, slot);
    StartPileDraw(card, side, slot, kStateEndOfTurn);
    if (IsRemote(KindOf(OtherSide(side)))) SendCardTaken();
    return true;
}

void Match::PlaceCardAndResolve(int slot, int column, int row) {
    Side m = sideToMove_;
    if (slot < 0 || slot >= kHandSize || !board_.CanPlace(hands_[m].CardAt(slot), column, row)) {
        EndTurn();
        return;
    }
    Card card = hands_[m].GetCard(slot);
    board_.PlaceCard(card, column, row, m);
    hands_[m].RemoveCardAt(slot);
    battleCount_ = 0;
    ResolveCountedTargets(column, row, board_.CountTargets(card, column, row, m));
}

void Match::ResolveCountedTargets(int column, int row, int targets) {
    Side m = sideToMove_;
    attackerColumn_ = static_cast<int8_t>(column);
    attackerRow_ = static_cast<int8_t>(row);
    if (targets == 0) {
        EndTurn();
        return;
    }
    if (targets == 1) {
        int tc = 0, tr = 0;
        if (!board_.FindFirstAttack(column, row, tc, tr)) {
            EndTurn();
            return;
        }
        targetColumn_ = static_cast<int8_t>(tc);
        targetRow_ = static_cast<int8_t>(tr);
        CopyBuffer(0, 1);
        StartAttack();
        return;
    }
    PlayerKind kind = KindOf(m);
    if (tutorial_ && kind == kComputerPlayer) {
        ShowAttackChoice(column, row);
        state_ = kStateLocalChoosesTarget;
        tutorialStep_ = 26;
    } else if (kind == kComputerPlayer) {
        state_ = kStateComputerChoosesTarget;
    } else if (kind == kLocalPlayer) {
        ShowAttackChoice(column, row);
        state_ = kStateLocalChoosesTarget;
    } else {
        state_ = kStateWaitRemoteAttack;
    }
}

void Match::ShowAttackChoice(int column, int row) {
    ClearMessageLine(0);
    CopyBuffer(0, 1);
    // Kept by the match: buffer 1 does not survive a prompt or a scaled blit.
    GrabRectInto(0, 0, 0, savedScreen_);
    SetMessageLine(2, u"Choose a card to attack", WString(), WString(), 0, 1, 0);
    DrawMessageLine(0);
    TintRect(CellX(column), CellY(row), kCardWidth, kCardHeight, kAttackerTint[0],
             kAttackerTint[1], kAttackerTint[2], 0);
    for (int c = column - 1; c <= column + 1; ++c) {
        for (int r = row - 1; r <= row + 1; ++r) {
            if (!board_.CanAttack(column, row, c, r)) continue;
            TintRect(CellX(c), CellY(r), kCardWidth, kCardHeight, kTargetTint[0], kTargetTint[1],
                     kTargetTint[2], 0);
        }
    }
}

void Match::ClearAttackChoice() {
    BlitPicture(0, 0, savedScreen_, 0);
    DrawMessageLine(0);
}

void Match::PickAttackTarget(int16_t x, uint16_t y) {
    int tc = (x - 4) / 40;
    int tr = (static_cast<int>(y) - 4) / 58;
    targetColumn_ = static_cast<int8_t>(tc);
    targetRow_ = static_cast<int8_t>(tr);
    if (!board_.CanAttack(attackerColumn_, attackerRow_, tc, tr)) return;
    if (IsRemote(KindOf(OtherSide(sideToMove_)))) {
        if (!SendAttack(attackerColumn_, attackerRow_, tc, tr) || Cancelled()) return;
    }
    if (tutorial_) tutorialStep_ = 25;
    ClearAttackChoice();
    StartAttack();
}

void Match::PickMultiHitTarget(int16_t x, uint16_t y) {
    int tc = (x - 4) / 40;
    int tr = (static_cast<int>(y) - 4) / 58;
    targetColumn_ = static_cast<int8_t>(tc);
    targetRow_ = static_cast<int8_t>(tr);
    if (!board_.CanAttack(attackerColumn_, attackerRow_, tc, tr)) return;
    if (IsRemote(KindOf(OtherSide(multiHitSide_)))) {
        if (!SendMultiHit(attackerColumn_, attackerRow_, tc, tr) || Cancelled()) return;
    }
    if (tutorial_) tutorialStep_ = 25;
    ClearAttackChoice();
    StartMultiHitAttack();
}

bool Match::RecordBattle() {
    Side owner = board_.GetOwner(attackerColumn_, attackerRow_);
    for (int i = 0; i < battleCount_; ++i) {
        const BattleRecord& b = battles_[i];
        if (b.attackerColumn == attackerColumn_ && b.attackerRow == attackerRow_ &&
            b.targetColumn == targetColumn_ && b.targetRow == targetRow_ && b.owner == owner) {
            return false;
        }
    }
    if (battleCount_ >= kMaxBattlesPerTurn) return false;
    battles_[battleCount_++] = {attackerColumn_, attackerRow_, targetColumn_, targetRow_, owner};
    return true;
}

void Match::StartAttack() {
    // A battle that already happened this turn would only repeat itself:
    // the chain ends and the turn with it.
    if (!RecordBattle()) {
        EndTurn();
        return;
    }
    StartAttackAnimation(attackerColumn_, attackerRow_, targetColumn_, targetRow_,
                         kStatePlacementBattle);
}

void Match::StartMultiHitAttack() {
    if (!RecordBattle()) {
        EndTurn();
        return;
    }
    StartAttackAnimation(attackerColumn_, attackerRow_, targetColumn_, targetRow_,
                         kStateChainBattle);
}

void Match::ResolveBattle() { Battle(sideToMove_); }

void Match::ResolveMultiHitBattle() { Battle(multiHitSide_); }

void Match::Battle(Side side) {
    int ac = attackerColumn_, ar = attackerRow_, tc = targetColumn_, tr = targetRow_;
    Side winner = board_.ResolveAttack(ac, ar, tc, tr);
    if (winner == side) {
        Card captured = board_.CellAt(tc, tr).card;
        bool chains = board_.CountAttacks(tc, tr) > 0 && board_.HaveMutualPowers(ac, ar, tc, tr);
        if (chains) {
            attackerColumn_ = static_cast<int8_t>(tc);
            attackerRow_ = static_cast<int8_t>(tr);
        }
        StartCaptureFlip(captured, tc, tr, OtherSide(side), side,
                         chains ? kStateChainContinues : kStateEndOfTurn);
    } else if (winner == OtherSide(side)) {
        Card captured = board_.CellAt(ac, ar).card;
        bool chains = board_.CountAttacks(ac, ar) > 0;
        StartCaptureFlip(captured, ac, ar, side, OtherSide(side),
                         chains ? kStateChainContinues : kStateEndOfTurn);
    } else {
        EndTurn();
    }
}

void Match::ContinueMultiHit() {
    SetMessageLine(2, u"MULTI HITS !!!", WString(), WString(), 0, 1, 0);
    multiHitRunning_ = 1;
    multiHitSide_ = board_.GetOwner(attackerColumn_, attackerRow_);
    int targets = board_.CountAttacks(attackerColumn_, attackerRow_);
    PlayerKind kind = KindOf(multiHitSide_);
    if (kind == kLocalPlayer || (kind == kComputerPlayer && tutorial_)) {
        if (targets > 1) {
            ShowAttackChoice(attackerColumn_, attackerRow_);
            state_ = kStateLocalChoosesChainTarget;
            // In the tutorial every open choice is the player's tap.
            if (tutorial_) tutorialStep_ = 26;
            return;
        }
    } else if (IsRemote(kind)) {
        if (targets > 1) {
            state_ = kStateWaitRemoteChainTarget;
            return;
        }
    } else if (kind == kComputerPlayer) {
        state_ = kStateComputerChoosesChainTarget;
        return;
    }
    int tc = 0, tr = 0;
    if (!board_.FindFirstAttack(attackerColumn_, attackerRow_, tc, tr)) {
        EndTurn();
        return;
    }
    targetColumn_ = static_cast<int8_t>(tc);
    targetRow_ = static_cast<int8_t>(tr);
    CopyBuffer(0, 1);
    StartMultiHitAttack();
}

void Match::EndTurn() {
    if (tutorial_) {
        tutorialStep_ = nextTutorialStep_;
        return;
    }
    int red = 0, blue = 0;
    board_.CountBySide(red, blue);
    SetMessageLine(2, u"RED : " + FormatSChar(static_cast<int8_t>(red)) + u"  BLUE : " +
                          FormatSChar(static_cast<int8_t>(blue)),
                   WString(), WString(), 0, 1, 0);
    if (board_.IsFull()) {
        state_ = kStateResult;
        ComputeMatchResult(red, blue);
        return;
    }
    cardTaken_ = 0;
    sideToMove_ = OtherSide(sideToMove_);
    multiHitRunning_ = 0;
    multiHitSide_ = sideToMove_;
    selectedSlot_ = kNoSlot;
    battleCount_ = 0;
    PlayerKind kind = KindOf(sideToMove_);
    if (kind == kComputerPlayer) {
        SetAiLevel(static_cast<uint8_t>(participants_[sideToMove_]->GetStrength() / 10));
        state_ = kStateComputerTurn;
    } else if (kind == kLocalPlayer) {
        state_ = kStateLocalActs;
        platform::Trace("match", "your turn");
        DrawHand(sideToMove_, 0);
        DrawPileStack(sideToMove_, 0);
    } else if (IsRemote(kind)) {
        state_ = kStateWaitRemoteMove;
    }
}

void Match::PlayComputerTurn() {
    Side m = sideToMove_;
    if (participants_[m] == nullptr) return;
    SetAiLevel(static_cast<uint8_t>(participants_[m]->GetStrength() / 10));
    uint8_t slot = kNoSlot;
    int8_t column = 0, row = 0;
    ChooseAiPlacement(board_, hands_[m], m, slot, column, row);
    if (slot == kNoSlot && piles_[m].GetCount() <= 0) {
        // Nothing to take: lay a card instead, or pass with an empty hand.
        if (hands_[m].CountCards() == 0) {
            state_ = kStateEndOfTurn;
            return;
        }
        ChooseAiPlacement(board_, hands_[m], m, slot, column, row, false);
    }
    if (slot == kNoSlot) {
        hands_[m].AddCard(piles_[m].Pop());
        AnnounceCardTaken(m);
        return;
    }
    selectedSlot_ = slot;
    attackerColumn_ = column;
    attackerRow_ = row;
    StartCardFlight(hands_[m].GetCard(slot), m, column, row, kComputerFlightX, kComputerFlightY,
                    kBigCardWidth, kBigCardHeight, kStateComputerCardLands);
}

void Match::AnnounceCardTaken(Side side) {
    SetMessageLine(0, ParticipantName(side) + u" have taken a card.", WString(), WString(), 0, 1, 0);
    ShowCardTakenBanner();
    state_ = kStateEndOfTurn;
}

void Match::PlaceComputerCard() { PlaceCardAndResolve(selectedSlot_, attackerColumn_, attackerRow_); }

void Match::ChooseComputerAttack() {
    Side m = sideToMove_;
    if (participants_[m] != nullptr) {
        SetAiLevel(static_cast<uint8_t>(participants_[m]->GetStrength() / 10));
    }
    int8_t tc = targetColumn_, tr = targetRow_;
    ChooseAiAttack(board_, m, attackerColumn_, attackerRow_, tc, tr);
    targetColumn_ = tc;
    targetRow_ = tr;
    StartAttack();
}

void Match::ChooseComputerMultiHit() {
    Side m = multiHitSide_;
    if (participants_[m] != nullptr) {
        SetAiLevel(static_cast<uint8_t>(participants_[m]->GetStrength() / 10));
    }
    int8_t tc = targetColumn_, tr = targetRow_;
    if (board_.CountAttacks(attackerColumn_, attackerRow_) < 1) {
        EndTurn();
        return;
    }
    ScoreAiAttackChain(board_, m, attackerColumn_, attackerRow_, tc, tr);
    targetColumn_ = tc;
    targetRow_ = tr;
    StartMultiHitAttack();
}

}  // namespace qv
