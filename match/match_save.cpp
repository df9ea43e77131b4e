// The match's block of the quick save, and resuming a restored match from a state that can go on.
#include "cards/card_database.h"
#include "cards/opponents.h"
#include "cards/profile.h"
#include "cards/save_io.h"
#include "cards/statistics.h"
#include "match/match.h"
#include "platform/clock.h"
#include "shell/game.h"

namespace qv {

namespace {

constexpr uint32_t kRestoredPauseLimit = 300;

void WriteU32(platform::FileHandle file, uint32_t value) {
    WriteI32(file, static_cast<int32_t>(value));
}

void ReadU32(platform::FileHandle file, uint32_t& value) {
    int32_t v = static_cast<int32_t>(value);
    if (ReadI32(file, v)) value = static_cast<uint32_t>(v);
}

void WriteS8(platform::FileHandle file, int8_t value) { WriteU8(file, static_cast<uint8_t>(value)); }

void ReadState8(platform::FileHandle file, MatchState& state) {
    int8_t v = state;
    if (ReadI8(file, v)) state = static_cast<MatchState>(v);
}

// Every value that a running match may hold.
bool IsKnownState(int state) {
    switch (state) {
        case 0: case 1: case 2: case 3: case 4: case 5: case 6: case 7: case 8: case 9:
        case 10: case 11: case 12: case 13: case 15: case 20: case 21: case 22: case 23:
        case 24: case 25: case 26: case 27: case 30: case 31: case 32: case 33: case 34:
        case 35: case 40: case 68: case 71: case 72:
            return true;
        default:
            return false;
    }
}

}  // namespace

void Match::WriteState(platform::FileHandle file) {
    selectedSlot_ = kNoSlot;
    WriteS8(file, sideToMove_);
    WriteS8(file, multiHitSide_);
    WriteU8(file, multiHitRunning_);
    board_.Write(file);
    hands_[0].Write(file);
    hands_[1].Write(file);
    piles_[0].Write(file);
    piles_[1].Write(file);
    WriteU8(file, cardTaken_);
    WriteU8(file, 0);
    WriteU8(file, selectedSlot_);
    WriteS8(file, attackerColumn_);
    WriteS8(file, attackerRow_);
    WriteS8(file, targetColumn_);
    WriteS8(file, targetRow_);
    WriteS8(file, grabX_);
    WriteS8(file, grabY_);
    WriteI16(file, dragX_);
    WriteI16(file, dragY_);
    WriteS8(file, state_);
    WriteS8(file, returnState_);
    WriteS8(file, firstTurnState_);
    WriteSaveText(file, message_.textA);
    WriteSaveText(file, message_.textB);
    WriteSaveText(file, message_.textC);
    WriteU8(file, message_.showingA);
    WriteI32(file, 2);
    WriteI32(file, message_.mode);
    WriteI16(file, message_.scrollCount);
    WriteS8(file, message_.scrollDirection);
    WriteU8(file, message_.bounce);
    WriteI16(file, 0);
    WriteU8(file, 0);
    WriteU32(file, message_.scrollLastCall);
    WriteU32(file, message_.scrollLastStep);
    WriteI32(file, message_.alignment);
    WriteU8(file, message_.blink);
    WriteU32(file, message_.blinkLastCall);
    WriteU32(file, message_.blinkLastToggle);
    WriteU8(file, message_.visible);
    WriteS8(file, message_.blinkLimit);
    WriteU8(file, message_.toggleCount);
    const AnimationState& a = animation_;
    for (int16_t v : {a.startX, a.startY, a.endX, a.endY, a.previousX, a.previousY, a.currentX,
                      a.currentY}) {
        WriteI16(file, v);
    }
    WriteI32(file, a.attackPhase);
    WriteS8(file, a.column);
    WriteS8(file, a.row);
    WriteI32(file, a.flipPhase);
    WriteI16(file, a.baseX);
    WriteI16(file, a.baseY);
    WriteS8(file, a.narrowing);
    WriteS8(file, a.newSide);
    WriteS8(file, a.oldSide);
    WriteI16(file, a.targetX);
    WriteI16(file, a.targetY);
    WriteU8(file, a.speed);
    WriteU8(file, a.slot);
    WriteI16(file, a.width);
    WriteI16(file, a.height);
    WriteU8(file, a.flipSpeed);
    WriteU8(file, a.shrink);
    WriteU32(file, pauseDeadline_);
    WriteU8(file, boss_);
    WriteU8(file, quickGame_);
    WriteU8(file, tutorial_);
    WriteU8(file, tutorialStep_);
    WriteU8(file, nextTutorialStep_);
    WriteI16(file, a.card.GetId());
    for (int16_t id : exchangeIds_) WriteI16(file, id);
    WriteI16(file, draggedCard_.GetId());
    WriteSaveText(file, participants_[0] != nullptr ? participants_[0]->GetName() : WString());
    WriteSaveText(file, participants_[1] != nullptr ? participants_[1]->GetName() : WString());
}

void Match::ReadState(platform::FileHandle file) {
    FreeAnimationPictures();
    ReadI8(file, sideToMove_);
    ReadI8(file, multiHitSide_);
    ReadU8(file, multiHitRunning_);
    board_.Read(file);
    hands_[0].Read(file);
    hands_[1].Read(file);
    piles_[0].Read(file);
    piles_[1].Read(file);
    ReadU8(file, cardTaken_);
    uint8_t reserved8 = 0;
    ReadU8(file, reserved8);
    ReadU8(file, selectedSlot_);
    ReadI8(file, attackerColumn_);
    ReadI8(file, attackerRow_);
    ReadI8(file, targetColumn_);
    ReadI8(file, targetRow_);
    ReadI8(file, grabX_);
    ReadI8(file, grabY_);
    ReadI16(file, dragX_);
    ReadI16(file, dragY_);
    ReadState8(file, state_);
    ReadState8(file, returnState_);
    ReadState8(file, firstTurnState_);
    ReadSaveText(file, message_.textA);
    ReadSaveText(file, message_.textB);
    ReadSaveText(file, message_.textC);
    ReadU8(file, message_.showingA);
    int32_t reserved32 = 0;
    ReadI32(file, reserved32);
    ReadI32(file, message_.mode);
    ReadI16(file, message_.scrollCount);
    ReadI8(file, message_.scrollDirection);
    ReadU8(file, message_.bounce);
    int16_t reserved16 = 0;
    ReadI16(file, reserved16);
    ReadU8(file, reserved8);
    ReadU32(file, message_.scrollLastCall);
    ReadU32(file, message_.scrollLastStep);
    ReadI32(file, message_.alignment);
    ReadU8(file, message_.blink);
    ReadU32(file, message_.blinkLastCall);
    ReadU32(file, message_.blinkLastToggle);
    ReadU8(file, message_.visible);
    ReadI8(file, message_.blinkLimit);
    ReadU8(file, message_.toggleCount);
    AnimationState& a = animation_;
    for (int16_t* v : {&a.startX, &a.startY, &a.endX, &a.endY, &a.previousX, &a.previousY,
                       &a.currentX, &a.currentY}) {
        ReadI16(file, *v);
    }
    ReadI32(file, a.attackPhase);
    ReadI8(file, a.column);
    ReadI8(file, a.row);
    ReadI32(file, a.flipPhase);
    ReadI16(file, a.baseX);
    ReadI16(file, a.baseY);
    ReadI8(file, a.narrowing);
    ReadI8(file, a.newSide);
    ReadI8(file, a.oldSide);
    ReadI16(file, a.targetX);
    ReadI16(file, a.targetY);
    ReadU8(file, a.speed);
    ReadU8(file, a.slot);
    ReadI16(file, a.width);
    ReadI16(file, a.height);
    ReadU8(file, a.flipSpeed);
    ReadU8(file, a.shrink);
    ReadU32(file, pauseDeadline_);
    ReadU8(file, boss_);
    ReadU8(file, quickGame_);
    ReadU8(file, tutorial_);
    ReadU8(file, tutorialStep_);
    ReadU8(file, nextTutorialStep_);
    int16_t id = a.card.GetId();
    if (ReadI16(file, id)) a.card = LoadCard(id);
    for (int16_t& exchangeId : exchangeIds_) ReadI16(file, exchangeId);
    id = draggedCard_.GetId();
    if (ReadI16(file, id)) draggedCard_ = LoadCard(id);
    WString names[2];
    ReadSaveText(file, names[0]);
    ReadSaveText(file, names[1]);

    // The side of the player on this handheld is known by its role; only
    // the other side is looked up, so a name shared with an opponent binds right.
    Side local = boss_ ? BLUE : RED;
    participants_[local] = &gProfile;
    participants_[OtherSide(local)] = nullptr;
    if (boss_) {
        gOtherProfile.SetName(u"SAINT ARMAN");
        gOtherProfile.SetKind(kComputerPlayer);
        participants_[RED] = &gOtherProfile;
    } else {
        participants_[BLUE] = BindParticipant(names[1], false);
    }
    room_ = nullptr;
    battleCount_ = 0;
    if (sideToMove_ != RED && sideToMove_ != BLUE) sideToMove_ = RED;
    if (multiHitSide_ != RED && multiHitSide_ != BLUE) multiHitSide_ = sideToMove_;
    if (participants_[BLUE] == nullptr || participants_[RED] == nullptr) {
        // The other handheld's player (or a missing opponent) cannot come
        // back: the match is given up as a tie and the club takes over.
        gMatchResult = 2;
        state_ = kStateMatchEnds;
        Leave();
        return;
    }
    NormaliseRestoredState();
    // The result is not stored: a match restored after its board filled
    // gives the room that started it the result the board shows.
    if (board_.IsFull()) {
        int red = 0, blue = 0;
        board_.CountBySide(red, blue);
        gMatchResult = red > blue ? 0 : (red == blue ? 2 : 1);
    }
    Redraw(0);
    if (state_ == kStateLocalChoosesTarget || state_ == kStateLocalChoosesChainTarget) {
        ShowAttackChoice(attackerColumn_, attackerRow_);
    }
}

PlayerProfile* Match::BindParticipant(const WString& name, bool local) const {
    if (local) return &gProfile;
    PlayerProfile* found = nullptr;
    for (int level = 0; level < kLevelCount; ++level) {
        for (int index = 0; index < kOpponentsPerLevel; ++index) {
            PlayerProfile& opponent = gOpponents[index * kLevelCount + level];
            if (opponent.GetName() == name) found = &opponent;  // the last one wins
        }
    }
    return found;
}

void Match::NormaliseRestoredState() {
    Side m = sideToMove_;
    PlayerKind mover = KindOf(m);
    MatchState turnState = mover == kComputerPlayer ? kStateComputerTurn : kStateLocalActs;
    if (!IsKnownState(state_)) state_ = turnState;
    if (!IsKnownState(returnState_)) returnState_ = kStateEndOfTurn;
    if (!IsKnownState(firstTurnState_)) firstTurnState_ = turnState;
    switch (state_) {
        case kStateDragging:
        case kStateCardZoom:
            state_ = kStateLocalActs;
            break;
        case kStateAttackAnimation:
        case kStateCaptureFlip:
        case kStatePileDraw:
            // Their pictures are not stored; what they show is already on the board.
            state_ = returnState_;
            break;
        case kStateCardFlight:
        case kStateComputerCardLands: {
            // The mover's slot is not stored: find the flying card in its hand.
            selectedSlot_ = kNoSlot;
            for (int s = 0; s < kHandSize; ++s) {
                if (hands_[m].IsSlotFilled(s) && hands_[m].CardAt(s).GetId() == animation_.card.GetId()) {
                    selectedSlot_ = static_cast<uint8_t>(s);
                    break;
                }
            }
            if (selectedSlot_ == kNoSlot) {
                state_ = turnState;
            } else {
                state_ = kStateComputerCardLands;
            }
            break;
        }
        case kStateResult: {
            int red = 0, blue = 0;
            board_.CountBySide(red, blue);
            exchangeCount_ = 0;
            if (red != blue) {
                int n = ExchangeCountFor(red, blue);
                Side loser = red > blue ? BLUE : RED;
                int eligible = 0;
                int16_t seen[kBoardCells];
                for (int x = 0; x < kBoardColumns; ++x) {
                    for (int y = 0; y < kBoardRows; ++y) {
                        const BoardCell& cell = board_.CellAt(x, y);
                        int16_t cid = cell.card.GetId();
                        if (cell.placedBy != loser || cid < 1 || cid > gCardCount) continue;
                        bool dup = false;
                        for (int i = 0; i < eligible; ++i) dup = dup || seen[i] == cid;
                        if (!dup) seen[eligible++] = cid;
                    }
                }
                exchangeCount_ = static_cast<int8_t>(n < eligible ? n : eligible);
                gMatchResult = red > blue ? 0 : 1;
            } else {
                gMatchResult = 2;
            }
            break;
        }
        case kStateCardWon:
        case kStateCardLost:
        case kStateShowExchangedCard:
        case kStateCardToCollection:
            state_ = kStateMatchEnds;
            break;
        case kStatePause: {
            uint32_t now = platform::GetTickCount();
            int32_t left = static_cast<int32_t>(pauseDeadline_ - now);
            if (left > static_cast<int32_t>(kRestoredPauseLimit)) {
                pauseDeadline_ = now + kRestoredPauseLimit;
            }
            break;
        }
        default:
            break;
    }
    // A selection never comes back, except the computer's flying card found above.
    if (state_ != kStateComputerCardLands) selectedSlot_ = kNoSlot;
}

}  // namespace qv
