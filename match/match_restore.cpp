// Resuming a match from its quick-save block: binding the participants, holding every restored
// value to its range and going on from the nearest state that can run.
#include <algorithm>

#include "cards/card_database.h"
#include "cards/opponents.h"
#include "cards/profile.h"
#include "cards/statistics.h"
#include "engine/display.h"
#include "match/match.h"
#include "match/match_block.h"
#include "match/match_layout.h"
#include "platform/clock.h"

namespace qv {

namespace {

constexpr uint32_t kRestoredPauseLimit = 300;
// How far a ticker may stand past its text's end (trailing spaces).
constexpr int kMaxScrollOverrun = 240;

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

// The states an animation, a pause or a tap wait hands over to.
bool IsReturnState(MatchState state) {
    switch (state) {
        case kStatePlacementBattle: case kStateEndOfTurn: case kStateChainBattle:
        case kStateChainContinues: case kStateComputerCardLands: case kStateMatchEnds:
        case kStateWheel:
            return true;
        default:
            return false;
    }
}

// The pages, waits and demonstrations of the rules tutorial.
bool IsTutorialStep(uint8_t step) { return (step >= 13 && step <= 18) || (step >= 20 && step <= 26); }

uint8_t Flag(uint8_t value) { return value != 0 ? 1 : 0; }

int8_t Clamp8(int value, int low, int high) { return static_cast<int8_t>(std::clamp(value, low, high)); }

int16_t Clamp16(int value, int low, int high) { return static_cast<int16_t>(std::clamp(value, low, high)); }

// The opponent of that name; the last of several, level by level.
PlayerProfile* FindOpponent(const WString& name) {
    PlayerProfile* found = nullptr;
    for (int level = 0; level < kLevelCount; ++level) {
        for (int index = 0; index < kOpponentsPerLevel; ++index) {
            PlayerProfile& opponent = gOpponents[StatisticsIndex(index, level)];
            if (opponent.GetName() == name) found = &opponent;
        }
    }
    return found;
}

}  // namespace

// The side of the player on this handheld is known by its role; only the
// other side is looked up, so a name shared with an opponent binds right. The
// other handheld's player (or an opponent no longer in the data) cannot come back.
bool Match::BindParticipants(const SavedMatchBlock& block, PlayerProfile* participants[2]) const {
    if (block.boss != 0) {
        participants[RED] = &gOtherProfile;
        participants[BLUE] = &gProfile;
        return true;
    }
    participants[RED] = &gProfile;
    participants[BLUE] = FindOpponent(block.names[1]);
    return participants[BLUE] != nullptr;
}

void Match::ApplyRestoredBlock(const SavedMatchBlock& b, PlayerProfile* const participants[2]) {
    FreeAnimationPictures();
    sideToMove_ = b.sideToMove;
    multiHitSide_ = b.multiHitSide;
    multiHitRunning_ = b.multiHitRunning;
    board_ = b.board;
    hands_[0] = b.hands[0];
    hands_[1] = b.hands[1];
    piles_[0] = b.piles[0];
    piles_[1] = b.piles[1];
    cardTaken_ = b.cardTaken;
    selectedSlot_ = b.selectedSlot;
    attackerColumn_ = b.attackerColumn;
    attackerRow_ = b.attackerRow;
    targetColumn_ = b.targetColumn;
    targetRow_ = b.targetRow;
    grabX_ = b.grabX;
    grabY_ = b.grabY;
    dragX_ = b.dragX;
    dragY_ = b.dragY;
    state_ = static_cast<MatchState>(b.state);
    returnState_ = static_cast<MatchState>(b.returnState);
    firstTurnState_ = static_cast<MatchState>(b.firstTurnState);
    message_ = b.message;
    animation_ = b.animation;  // no pictures: they are not stored
    pauseDeadline_ = b.pauseDeadline;
    boss_ = b.boss;
    quickGame_ = b.quickGame;
    tutorial_ = b.tutorial;
    tutorialStep_ = b.tutorialStep;
    nextTutorialStep_ = b.nextTutorialStep;
    for (int i = 0; i < 4; ++i) exchangeIds_[i] = b.exchangeIds[i];
    draggedCard_ = b.draggedCard;
    participants_[RED] = participants[RED];
    participants_[BLUE] = participants[BLUE];
    if (boss_) {
        gOtherProfile.SetName(u"SAINT ARMAN");
        gOtherProfile.SetKind(kComputerPlayer);
    }
    room_ = nullptr;
    battleCount_ = 0;
    exchangeCount_ = 0;

    NormaliseRestoredFields();
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

// Flags, sides and the message line's numbers to the values they can take.
void Match::NormaliseRestoredFields() {
    if (sideToMove_ != RED && sideToMove_ != BLUE) sideToMove_ = RED;
    if (multiHitSide_ != RED && multiHitSide_ != BLUE) multiHitSide_ = sideToMove_;
    multiHitRunning_ = Flag(multiHitRunning_);
    cardTaken_ = Flag(cardTaken_);
    boss_ = Flag(boss_);
    quickGame_ = Flag(quickGame_);
    tutorial_ = Flag(tutorial_);
    // An unknown step would leave the tutorial showing nothing and taking no tap.
    if (!IsTutorialStep(tutorialStep_)) tutorialStep_ = 13;
    if (!IsTutorialStep(nextTutorialStep_)) nextTutorialStep_ = 13;

    MessageLine& m = message_;
    m.showingA = Flag(m.showingA);
    m.bounce = Flag(m.bounce);
    m.blink = Flag(m.blink);
    m.visible = Flag(m.visible);
    if (m.mode < 0 || m.mode > 2) m.mode = 1;
    if (m.alignment < 0 || m.alignment > 2) m.alignment = 0;
    if (m.scrollDirection != 1 && m.scrollDirection != -1) m.scrollDirection = 1;
    // The ticker builds its text from the position: keep it near the text.
    const int reach = static_cast<int>(m.textA.size()) + kMaxScrollOverrun;
    m.scrollCount = Clamp16(m.scrollCount, -reach, reach);

    AnimationState& a = animation_;
    if (a.newSide < RED || a.newSide > kNoSide) a.newSide = kNoSide;
    if (a.oldSide < RED || a.oldSide > kNoSide) a.oldSide = kNoSide;
    if (a.slot >= kHandSize) a.slot = 0;
}

MatchState Match::TurnState() const {
    return KindOf(sideToMove_) == kComputerPlayer ? kStateComputerTurn : kStateLocalActs;
}

// Whether the match can go on in this state with what was restored: the
// mover of the right kind, and the cells a battle or a choice works on.
bool Match::CanResumeIn(MatchState state) const {
    const int ac = attackerColumn_, ar = attackerRow_;
    const bool attacker = Board::IsInside(ac, ar);
    const PlayerKind mover = KindOf(sideToMove_);
    const PlayerKind chainer = KindOf(multiHitSide_);
    switch (state) {
        case kStateLocalActs:
            return mover == kLocalPlayer;
        case kStateComputerTurn:
            return mover == kComputerPlayer;
        case kStateLocalChoosesTarget:
            return attacker && (tutorial_ || mover == kLocalPlayer) && board_.CountAttacks(ac, ar) > 0;
        case kStateLocalChoosesChainTarget:
            return attacker && (tutorial_ || chainer == kLocalPlayer) && board_.CountAttacks(ac, ar) > 0;
        case kStateComputerChoosesTarget:
            return attacker && mover == kComputerPlayer && board_.CountAttacks(ac, ar) > 0;
        case kStateComputerChoosesChainTarget:
            return attacker && chainer == kComputerPlayer;
        case kStatePlacementBattle:
        case kStateChainBattle:
            // The battle was legal when it began, and the board has not moved since.
            return board_.CanAttack(ac, ar, targetColumn_, targetRow_);
        case kStateChainContinues:
            return attacker && board_.GetOwner(ac, ar) != kNoSide;
        case kStateComputerCardLands:
            return attacker && selectedSlot_ < kHandSize && hands_[sideToMove_].IsSlotFilled(selectedSlot_);
        case kStateEndOfTurn:
        case kStateResult:
        case kStateMatchEnds:
        case kStatePerfect:
        case kStateVersusIntro:
        case kStateStartBanner:
        case kStateWheel:
        case kStatePause:
        case kStateWaitForTap:
            return true;
        default:
            return false;
    }
}

void Match::NormaliseRestoredState() {
    const Side m = sideToMove_;
    const MatchState turnState = TurnState();
    if (!IsReturnState(returnState_) || !CanResumeIn(returnState_)) returnState_ = kStateEndOfTurn;
    if ((firstTurnState_ != kStateLocalActs && firstTurnState_ != kStateComputerTurn) ||
        !CanResumeIn(firstTurnState_)) {
        firstTurnState_ = turnState;
    }
    if (!IsKnownState(state_)) state_ = turnState;
    switch (state_) {
        case kStateDragging:
        case kStateCardZoom:
            state_ = turnState;
            break;
        case kStateAttackAnimation:
        case kStateCaptureFlip:
        case kStatePileDraw:
            // Their pictures are not stored; what they show is already on the board.
            state_ = returnState_;
            break;
        case kStateWaitRemoteMove:
        case kStateWaitRemoteAttack:
        case kStateWaitRemoteChainTarget:
        case kStateRemoteCardLands:
            // No link survives a restart: the player on this handheld moves on.
            state_ = turnState;
            break;
        case kStateCardFlight:
        case kStateComputerCardLands:
            // The mover's slot is not stored: find the flying card in its hand.
            selectedSlot_ = kNoSlot;
            for (int s = 0; s < kHandSize; ++s) {
                if (hands_[m].IsSlotFilled(s) && hands_[m].CardAt(s).GetId() == animation_.card.GetId()) {
                    selectedSlot_ = static_cast<uint8_t>(s);
                    break;
                }
            }
            state_ = selectedSlot_ == kNoSlot ? turnState : kStateComputerCardLands;
            break;
        case kStateResult: {
            int red = 0, blue = 0;
            board_.CountBySide(red, blue);
            if (red != blue) {
                int n = ExchangeCountFor(red, blue);
                Side loser = red > blue ? BLUE : RED;
                // A restored match is never one over the link: nothing is passed over.
                int eligible = CountExchangeable(loser, false);
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
            // The exchange count is not stored. The game settles the exchange
            // before it writes the quick save; only a file from elsewhere
            // holds these states.
            state_ = kStateMatchEnds;
            break;
        case kStatePause: {
            uint32_t now = platform::GetTickCount();
            int32_t left = static_cast<int32_t>(pauseDeadline_ - now);
            if (left > static_cast<int32_t>(kRestoredPauseLimit)) pauseDeadline_ = now + kRestoredPauseLimit;
            break;
        }
        default:
            break;
    }
    if (!CanResumeIn(state_)) {
        // A battle or a choice without its cells is over: the turn ends.
        bool turnStart = state_ == kStateLocalActs || state_ == kStateComputerTurn;
        state_ = turnStart ? turnState : kStateEndOfTurn;
    }
    // A selection never comes back, except the computer's flying card found above.
    if (state_ != kStateComputerCardLands) selectedSlot_ = kNoSlot;

    // Every cell coordinate lies on the board from here on, whatever is used next.
    attackerColumn_ = Clamp8(attackerColumn_, 0, kBoardColumns - 1);
    attackerRow_ = Clamp8(attackerRow_, 0, kBoardRows - 1);
    targetColumn_ = Clamp8(targetColumn_, 0, kBoardColumns - 1);
    targetRow_ = Clamp8(targetRow_, 0, kBoardRows - 1);
    animation_.column = Clamp8(animation_.column, 0, kBoardColumns - 1);
    animation_.row = Clamp8(animation_.row, 0, kBoardRows - 1);
    grabX_ = Clamp8(grabX_, 0, kCardWidth);
    grabY_ = Clamp8(grabY_, 0, kCardHeight);
    dragX_ = Clamp16(dragX_, 0, kScreenWidth - kCardWidth);
    dragY_ = Clamp16(dragY_, 0, kScreenHeight - kCardHeight);
}

}  // namespace qv
