// The match's four animations, one step a frame: attack lunge, capture flip, pile draw, card flight.
#include "engine/blit.h"
#include "engine/picture_loader.h"
#include "match/match.h"
#include "match/match_layout.h"

namespace qv {

namespace {

constexpr int kPileCentreX = 130;
constexpr int kPileCentreY = 145;

// One coordinate moved by step toward goal, never past it.
int16_t MoveToward(int16_t current, int16_t goal, int step) {
    if (current < goal) return static_cast<int16_t>(current + step > goal ? goal : current + step);
    if (current > goal) return static_cast<int16_t>(current - step < goal ? goal : current - step);
    return current;
}

int Distance(int a, int b) { return a > b ? a - b : b - a; }

// One step of a card turning over on its place: the card narrows towards its
// centre line (narrowing) or widens from it. False once the step has passed
// the card's whole width, drawing nothing.
bool FlipStep(AnimationState& a, bool narrowing) {
    a.narrowing = static_cast<int8_t>(a.narrowing + a.flipSpeed);
    if (a.narrowing > kCardWidth) return false;
    BlitPicture(a.baseX, a.baseY, a.background, 0);
    if (narrowing) {
        BlitScaled(0, 0, kCardWidth, kCardHeight, a.sprite, a.baseX + a.narrowing / 2, a.baseY,
                   kCardWidth - a.narrowing, kCardHeight, false);
    } else {
        BlitScaled(0, 0, kCardWidth, kCardHeight, a.sprite, a.baseX + (kCardWidth - a.narrowing) / 2,
                   a.baseY, a.narrowing, kCardHeight, false);
    }
    return true;
}

}  // namespace

void Match::FreeAnimationPictures() {
    if (animation_.spriteOwned) FreePicture(animation_.sprite);
    if (animation_.backgroundOwned) FreePicture(animation_.background);
    animation_.spriteOwned = false;
    animation_.backgroundOwned = false;
    if (animation_.cardPictureLoaded) animation_.card.FreePicture(kCardSmall);
    animation_.cardPictureLoaded = false;
}

void Match::StartAttackAnimation(int ac, int ar, int tc, int tr, MatchState returnState) {
    FreeAnimationPictures();
    AnimationState& a = animation_;
    a.startX = static_cast<int16_t>(CellX(ac));
    a.startY = static_cast<int16_t>(CellY(ar));
    a.endX = tc == ac ? a.startX : static_cast<int16_t>(a.startX + (tc > ac ? 24 : -24));
    a.endY = tr == ar ? a.startY : static_cast<int16_t>(a.startY + (tr > ar ? 33 : -33));
    GrabRect(a.sprite, a.startX, a.startY, kCardWidth, kCardHeight, 0);
    a.spriteOwned = true;
    // The cell looks empty while its card is away.
    CutPicture(a.background, background_, a.startX, a.startY, kCardWidth, kCardHeight);
    a.backgroundOwned = true;
    a.previousX = a.currentX = a.startX;
    a.previousY = a.currentY = a.startY;
    a.speed = 3;
    a.attackPhase = 0;
    returnState_ = returnState;
    state_ = kStateAttackAnimation;
}

void Match::StepAttackAnimation() {
    AnimationState& a = animation_;
    if (a.attackPhase >= 2 || !a.spriteOwned) {
        state_ = returnState_;
        FreeAnimationPictures();
        return;
    }
    BlitPicture(a.previousX, a.previousY, a.background, 0);
    int16_t goalX = a.attackPhase == 0 ? a.endX : a.startX;
    int16_t goalY = a.attackPhase == 0 ? a.endY : a.startY;
    a.currentX = MoveToward(a.currentX, goalX, a.speed);
    bool lunges = a.endX != a.startX || a.endY != a.startY;
    int extra = lunges && Distance(a.currentX, a.startX) % 3 == 0 ? 1 : 0;
    a.currentY = MoveToward(a.currentY, goalY, a.speed + extra);
    GrabRectInto(a.currentX, a.currentY, 0, a.background);
    a.previousX = a.currentX;
    a.previousY = a.currentY;
    BlitPicture(a.currentX, a.currentY, a.sprite, 0);
    if (a.currentX == goalX && a.currentY == goalY) ++a.attackPhase;
}

void Match::MakeFlipImage(Side side) {
    AnimationState& a = animation_;
    if (a.card.GetName().empty()) {
        BlitPicture(a.baseX, a.baseY, gCardIcons[0], 1);
    } else {
        a.card.Draw(a.baseX, a.baseY, kCardSmall, 1, side);
    }
    if (a.spriteOwned) FreePicture(a.sprite);
    GrabRect(a.sprite, a.baseX, a.baseY, kCardWidth, kCardHeight, 1);
    a.spriteOwned = true;
}

void Match::StartCaptureFlip(const Card& card, int column, int row, Side first, Side second,
                             MatchState returnState) {
    FreeAnimationPictures();
    AnimationState& a = animation_;
    a.column = static_cast<int8_t>(column);
    a.row = static_cast<int8_t>(row);
    a.baseX = static_cast<int16_t>(CellX(column));
    a.baseY = static_cast<int16_t>(CellY(row));
    CutPicture(a.background, background_, a.baseX, a.baseY, kCardWidth, kCardHeight);
    a.backgroundOwned = true;
    a.card = card;
    if (!a.card.GetName().empty()) {
        a.card.LoadPicture(kCardSmall);
        a.cardPictureLoaded = true;
    }
    a.oldSide = first;
    a.newSide = second;
    MakeFlipImage(first);
    a.narrowing = 0;
    a.flipSpeed = 6;
    a.flipPhase = 0;
    returnState_ = returnState;
    state_ = kStateCaptureFlip;
}

void Match::StepCaptureFlip() {
    AnimationState& a = animation_;
    if (!a.spriteOwned) a.flipPhase = 4;  // restored without its pictures
    switch (a.flipPhase) {
        case 0:
            if (!FlipStep(a, true)) {
                a.narrowing = 0;
                a.flipPhase = 1;
                MakeFlipImage(a.newSide);
            }
            break;
        case 1:
            if (!FlipStep(a, false)) {
                a.flipPhase = 4;
            }
            break;
        default: {
            state_ = returnState_;
            Card card = a.card;
            FreeAnimationPictures();
            DrawCardFace(card, CellX(a.column), CellY(a.row), 0, a.newSide);
            break;
        }
    }
}

void Match::StartPileDraw(const Card& card, Side side, int slot, MatchState returnState) {
    FreeAnimationPictures();
    AnimationState& a = animation_;
    int c = piles_[side].GetCount();
    a.baseX = a.currentX = a.previousX = static_cast<int16_t>(c / 4 + 11);
    a.baseY = a.currentY = a.previousY = static_cast<int16_t>(261 - c / 4);
    a.endX = kPileCentreX;
    a.endY = kPileCentreY;
    a.speed = 8;
    a.flipSpeed = 6;
    CutPicture(a.background, gCardIcons[0], 0, 0, kCardWidth, kCardHeight);
    a.backgroundOwned = true;
    CutPicture(a.sprite, gCardIcons[0], 0, 0, kCardWidth, kCardHeight);
    a.spriteOwned = true;
    a.card = card;
    if (!a.card.GetName().empty()) {
        a.card.LoadPicture(kCardSmall);
        a.cardPictureLoaded = true;
    }
    a.slot = static_cast<uint8_t>(slot);
    a.oldSide = side;
    a.narrowing = 0;
    a.flipPhase = 2;
    returnState_ = returnState;
    state_ = kStatePileDraw;
}

void Match::StepPileDraw() {
    AnimationState& a = animation_;
    if (!a.spriteOwned) a.flipPhase = 4;
    switch (a.flipPhase) {
        case 2:
        case 3: {
            BlitPicture(a.previousX, a.previousY, a.background, 0);
            a.currentX = MoveToward(a.currentX, a.endX, a.speed);
            int extra = 0;
            if (a.flipPhase == 3) {
                int divisor = Distance(a.slot, 2) + 1;
                if (Distance(a.currentX, a.baseX) % divisor == 0) extra = 8;
            }
            a.currentY = MoveToward(a.currentY, a.endY, a.speed + extra);
            GrabRectInto(a.currentX, a.currentY, 0, a.background);
            BlitPicture(a.currentX, a.currentY, a.sprite, 0);
            a.previousX = a.currentX;
            a.previousY = a.currentY;
            if (a.currentX == a.endX && a.currentY == a.endY) {
                if (a.flipPhase == 2) {
                    a.baseX = kPileCentreX;
                    a.baseY = kPileCentreY;
                    a.narrowing = 0;
                    a.flipPhase = 0;
                } else {
                    a.flipPhase = 4;
                }
            }
            break;
        }
        case 0:
            if (!FlipStep(a, true)) {
                a.narrowing = 0;
                a.flipPhase = 1;
                MakeFlipImage(a.oldSide);
            }
            break;
        case 1:
            if (!FlipStep(a, false)) {
                a.targetX = static_cast<int16_t>(HandSlotX(a.slot));
                a.targetY = kHandSlotY;
                a.endX = a.targetX;
                a.endY = a.targetY;
                a.flipPhase = 3;
            }
            break;
        default:
            state_ = returnState_;
            FreeAnimationPictures();
            break;
    }
}

void Match::StartCardFlight(const Card& card, Side side, int column, int row, int startX,
                            int startY, int startWidth, int startHeight,
                            MatchState returnState) {
    FreeAnimationPictures();
    AnimationState& a = animation_;
    GrabRect(a.background, 0, 0, 240, 320, 0);
    a.backgroundOwned = true;
    a.card = card;
    a.baseX = 0;
    a.baseY = 0;
    if (!a.card.GetName().empty()) {
        a.card.LoadPicture(kCardSmall);
        a.cardPictureLoaded = true;
    }
    MakeFlipImage(side);
    a.column = static_cast<int8_t>(column);
    a.row = static_cast<int8_t>(row);
    a.startX = a.currentX = static_cast<int16_t>(startX);
    a.startY = a.currentY = static_cast<int16_t>(startY);
    a.width = static_cast<int16_t>(startWidth);
    a.height = static_cast<int16_t>(startHeight);
    a.endX = static_cast<int16_t>(CellX(column));
    a.endY = static_cast<int16_t>(CellY(row));
    a.speed = 8;
    a.shrink = 2;
    a.newSide = side;
    returnState_ = returnState;
    state_ = kStateCardFlight;
}

void Match::StepCardFlight() {
    AnimationState& a = animation_;
    if (!a.spriteOwned || !a.backgroundOwned) {
        state_ = returnState_;
        FreeAnimationPictures();
        return;
    }
    BlitPicture(0, 0, a.background, 0);
    a.width = static_cast<int16_t>(a.width - 2 * a.shrink < kCardWidth ? kCardWidth : a.width - 2 * a.shrink);
    a.height = static_cast<int16_t>(a.height - 3 * a.shrink < kCardHeight ? kCardHeight : a.height - 3 * a.shrink);
    a.currentX = MoveToward(a.currentX, a.endX, a.speed);
    a.currentY = MoveToward(a.currentY, a.endY, a.speed);
    BlitScaled(0, 0, kCardWidth, kCardHeight, a.sprite, a.currentX, a.currentY, a.width, a.height,
               false);
    if (a.width == kCardWidth && a.height == kCardHeight && a.currentX == a.endX &&
        a.currentY == a.endY) {
        state_ = returnState_;
        FreeAnimationPictures();
        PlayMatchSound("SOUNDS\\carte.QVW");
    }
}

}  // namespace qv
