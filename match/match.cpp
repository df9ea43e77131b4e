// The match object: construction, set-ups, dealing, redraw, the frame, the stylus and leaving.
#include "match/match.h"

#include "cards/card_database.h"
#include "cards/launchers.h"
#include "engine/banners.h"
#include "engine/blit.h"
#include "engine/colour.h"
#include "engine/display.h"
#include "engine/install_dir.h"
#include "engine/message_box.h"
#include "engine/music.h"
#include "engine/picture_loader.h"
#include "engine/utilities.h"
#include "engine/wstring.h"
#include "infrared/multiplayer_screen.h"
#include "match/match_layout.h"
#include "platform/clock.h"
#include "platform/messages.h"

namespace qv {

uint8_t gMatchResult = kNoMatchResult;
Picture gWheelPictures[kWheelPictureCount];
Match gMatch;

namespace {

// The selection tint as signed 8-bit amounts: the blue channel's 216 is -40.
constexpr int8_t kSelectionTint[3] = {40, 40, static_cast<int8_t>(216)};

void PlayPreMatchMusic() {
    if (gMusicOff) return;
    FreeMusic();
    LoadMusic(gInstallDir + u"SOUNDS\\Avant une partie.QVX");
    PlayMusic(0);
}

}  // namespace

WString InstallPath(const char* relative) { return gInstallDir + Widen(relative); }

void PlayMatchSound(const char* relative) {
    if (gMusicOff) return;
    PlaySoundEffect(InstallPath(relative));
}

// The members are built in their declared order; the board resets itself
// without blocked cells.
Match::Match() = default;

Match::~Match() {
    FreeAnimationPictures();
    FreePicture(savedScreen_);
}

void Match::LoadBoardUi() {
    LoadPicture(InstallPath("GFX\\GENERAL\\BoardUI.QVG"), background_, true);
    FreePicture(saveUnder_);
    FreePicture(dragImage_);
    GrabRect(saveUnder_, 0, 0, kCardWidth, kCardHeight, 0);
    GrabRect(dragImage_, 0, 0, kCardWidth, kCardHeight, 0);
    FreePicture(savedScreen_);
    GrabRect(savedScreen_, 0, 0, kScreenWidth, kScreenHeight, 0);
    Picture pressed;
    LoadPicture(InstallPath("GFX\\GENERAL\\BoardUIZoomON.QVG"), pressed, true);
    Picture normal;
    CutPicture(normal, background_, kZoomX, kZoomY, 32, 16);
    zoomButton_.SetUp(kZoomX, kZoomY, pressed, normal, false);
    SetMessageBounce(1);
    for (int n = 1; n <= kWheelPictureCount; ++n) {
        FreePicture(gWheelPictures[n - 1]);
        WString path = gInstallDir + u"GFX\\GENERAL\\" + FormatInt(n) + u".QVG";
        LoadPicture(path, gWheelPictures[n - 1], true);
    }
}

PlayerKind Match::KindOf(Side side) const {
    if (side < 0 || side > 1 || participants_[side] == nullptr) return 0;
    return participants_[side]->GetKind();
}

WString Match::ParticipantName(Side side) const {
    return participants_[side] != nullptr ? participants_[side]->GetName() : WString();
}

void Match::SetParticipantsForTest(PlayerProfile* red, PlayerProfile* blue) {
    participants_[0] = red;
    participants_[1] = blue;
}

void Match::FinishSetUp() {
    gMatchResult = kNoMatchResult;
    // Cleared before the turn change so that it hands the first move over
    // as in any match.
    tutorial_ = 0;
    EndTurn();
    firstTurnState_ = state_;
    state_ = kStateVersusIntro;
}

// A quick game deals the player a generated deck; a career match plays the
// deck the player built.
void Match::SetUpComputerMatch(PlayerProfile* red, PlayerProfile* blue, int blockedCells, bool quickGame) {
    participants_[0] = red;
    participants_[1] = blue;
    selectedSlot_ = kNoSlot;
    room_ = nullptr;
    PlayPreMatchMusic();
    red->SetStrength(0);
    if (quickGame || red->GetKind() == kComputerPlayer) red->GenerateDeck();
    if (blue->GetKind() == kComputerPlayer) blue->GenerateDeck();
    DealDeck(RED);
    DealDeck(BLUE);
    boss_ = 0;
    sideToMove_ = static_cast<Side>(RandomBelow(2));
    board_.Reset(blockedCells);
    FinishSetUp();
    quickGame_ = quickGame ? 1 : 0;
}

void Match::SetUpQuickMatch(PlayerProfile* red, PlayerProfile* blue, int blockedCells) {
    SetUpComputerMatch(red, blue, blockedCells, true);
}

void Match::SetUpCareerMatch(PlayerProfile* red, PlayerProfile* blue, int blockedCells) {
    SetUpComputerMatch(red, blue, blockedCells, false);
}

void Match::SetUpBossMatch(PlayerProfile* red, PlayerProfile* blue, int blockedCells) {
    participants_[0] = red;
    participants_[1] = blue;
    selectedSlot_ = kNoSlot;
    room_ = nullptr;
    PlayPreMatchMusic();
    red->MakeSpecialDeck();
    DealDeck(BLUE);
    DealDeck(RED);
    boss_ = 1;
    sideToMove_ = static_cast<Side>(RandomBelow(2));
    board_.Reset(blockedCells);
    FinishSetUp();
    quickGame_ = 0;
}

bool Match::SetUpInfraRedMatch(PlayerProfile* red, PlayerProfile* blue, int blockedCells,
                               MultiplayerScreen* room) {
    participants_[0] = red;
    participants_[1] = blue;
    selectedSlot_ = kNoSlot;
    room_ = room;
    gMatchResult = kNoMatchResult;
    boss_ = 0;
    quickGame_ = 0;
    tutorial_ = 0;
    DealDeck(RED);
    board_.Reset(0);
    while (!RunMatchHandshake(blockedCells)) {
        bool cancel = ShowNote(u"Game Initialisation via Infra-Red failed !", u"Cancel Game", u"Retry");
        if (cancel) {
            CancelMatch();
            return false;
        }
        CheckLink();
        if (gClubActive) return false;  // the reconnection was given up
    }
    EndTurn();
    DrawHand(RED, 0);
    DrawPileStack(RED, 0);
    firstTurnState_ = state_;
    state_ = kStateVersusIntro;
    return true;
}

void Match::DealDeck(Side side) {
    uint8_t order[16];
    for (int i = 0; i < 16; ++i) order[i] = static_cast<uint8_t>(i);
    for (int k = 0; k < 32; ++k) {
        // The first index is drawn first.
        int a = RandomBelow(16);
        int b = RandomBelow(16);
        uint8_t t = order[a];
        order[a] = order[b];
        order[b] = t;
    }
    piles_[side].Clear();
    hands_[side].Clear();
    PlayerProfile* participant = participants_[side];
    if (participant == nullptr) return;
    const CardDeck& deck = participant->GetDeck();
    for (int i = 0; i < kDeckSize; ++i) {
        Card card = deck.GetCard(i);
        if (order[i] < kHandSize) {
            hands_[side].PutCardInSlot(card, hands_[side].FirstEmptySlot());
        } else {
            piles_[side].Push(card);
        }
    }
}

void Match::DrawHand(Side side, int8_t buffer) {
    for (int i = 0; i < kHandSize; ++i) {
        if (hands_[side].IsSlotFilled(i)) {
            DrawCardFace(hands_[side].CardAt(i), HandSlotX(i), kHandSlotY, buffer, side);
        } else {
            RestoreRect(HandSlotX(i), kHandSlotY, kCardWidth, kCardHeight, background_, buffer);
        }
    }
}

void Match::DrawPileStack(Side side, int8_t buffer) {
    int c = piles_[side].GetCount();
    // The patch comes back first so that a shrinking stack loses its backs.
    RestoreRect(11, 257, 36, 54, background_, buffer);
    if (c <= 0) return;
    for (int i = 0; i <= c / 4; ++i) BlitPicture(11 + i, 261 - i, gCardIcons[0], buffer);
}

void Match::TintSelectedSlot(int8_t buffer) {
    if (selectedSlot_ >= kHandSize) return;
    TintRect(HandSlotX(selectedSlot_), kHandSlotY, kCardWidth, kCardHeight, kSelectionTint[0],
             kSelectionTint[1], kSelectionTint[2], buffer);
}

void Match::DrawHandSlot(int slot) { BlitPicture(HandSlotX(slot), kHandSlotY, dragImage_, 0); }

void Match::Redraw(int8_t buffer) {
    DrawBoard(board_, buffer);
    Side local = LocalSide();
    DrawHand(local, buffer);
    DrawPileStack(local, buffer);
    // The computer's chosen slot is no selection of the player's hand.
    if (sideToMove_ == local) TintSelectedSlot(buffer);
    DrawMessageLine(buffer);
}

void Match::StepPause() {
    // Signed difference: a deadline from another run cannot hold the pause.
    if (static_cast<int32_t>(platform::GetTickCount() - pauseDeadline_) > 0) state_ = returnState_;
}

void Match::Update() {
    if (state_ == kStateCardZoom) return;
    if (tutorial_ && tutorialStep_ != 25) {
        ShowTutorialPage();
        return;
    }
    switch (message_.mode) {
        case 0: UpdateBlinkingMessage(false); break;
        case 1: UpdateFixedMessage(false); break;
        case 2: UpdateScrollingMessage(false); break;
        default: break;
    }
    if (state_ == kStateDragging && message_.mode != 0 && dragY_ >= 185 && dragY_ <= 248) {
        BlitPicture(dragX_, dragY_, dragImage_, 0);
    }
    RunStateHandler();
    if (gClubActive) return;  // the match has been left
    PlayerKind other = KindOf(OtherSide(sideToMove_));
    // With the board full the other machine may leave at its own pace: only
    // the card that changes hands still travels, and its states wait for it.
    if (IsRemote(other) && !board_.IsFull()) CheckLink();
}

void Match::RunStateHandler() {
    switch (state_) {
        case kStateAttackAnimation: StepAttackAnimation(); break;
        case kStatePlacementBattle: ResolveBattle(); break;
        case kStateCaptureFlip: StepCaptureFlip(); break;
        case kStateEndOfTurn: EndTurn(); break;
        case kStateChainBattle: ResolveMultiHitBattle(); break;
        case kStateChainContinues:
            ShowMultiHitBanner();
            ContinueMultiHit();
            break;
        case kStateWaitRemoteMove: AwaitRemoteMove(); break;
        case kStateWaitRemoteAttack: AwaitRemoteAttack(); break;
        case kStateWaitRemoteChainTarget: AwaitRemoteMultiHit(); break;
        case kStateRemoteCardLands: PlaceRemoteCard(); break;
        case kStateCardFlight: StepCardFlight(); break;
        case kStateComputerCardLands: PlaceComputerCard(); break;
        case kStateComputerChoosesTarget: ChooseComputerAttack(); break;
        case kStateComputerChoosesChainTarget: ChooseComputerMultiHit(); break;
        case kStateResult: ShowResult(); break;
        case kStateComputerTurn: PlayComputerTurn(); break;
        case kStateCardWon: ExchangeWonCard(); break;
        case kStateCardLost: ExchangeLostCard(); break;
        case kStateMatchEnds: Leave(); break;
        case kStatePileDraw: StepPileDraw(); break;
        case kStatePerfect: ApplyPerfect(); break;
        case kStateCardToCollection: ApplyCardToCollection(); break;
        case kStateVersusIntro: ShowVersusIntro(); break;
        case kStateStartBanner: StartMatchMusic(); break;
        case kStateWheel: SpinStartingWheel(); break;
        case kStatePause: StepPause(); break;
        case kStateShowExchangedCard: ShowExchangedCard(); break;
        default: break;  // the stylus drives the others
    }
}

void Match::StylusDown(int16_t x, uint16_t y) {
    if (tutorial_) {
        HandleTutorialTap(x, y);
        return;
    }
    switch (state_) {
        case kStateLocalActs:
            if (TapHand(sideToMove_, x, y)) break;
            if (TapPile(sideToMove_, x, y)) break;
            zoomButton_.Press(static_cast<uint16_t>(x), y);
            break;
        case kStateDragging: DragHandCard(x, y); break;
        case kStateLocalChoosesTarget: PickAttackTarget(x, y); break;
        case kStateLocalChoosesChainTarget: PickMultiHitTarget(x, y); break;
        case kStateWaitForTap:
            Redraw(0);
            state_ = returnState_;
            break;
        default: break;
    }
}

void Match::StylusMove(int16_t x, uint16_t y) {
    if (state_ == kStateDragging) DragHandCard(x, y);
}

void Match::StylusUp(int16_t x, uint16_t y) {
    if (tutorial_) {
        IgnoreTutorialRelease();
        return;
    }
    switch (state_) {
        case kStateLocalActs:
            if (zoomButton_.Release(static_cast<uint16_t>(x), y)) ShowCardZoom();
            break;
        case kStateDragging: DropHandCard(x, y); break;
        case kStateCardZoom: CloseCardZoom(); break;
        default: break;
    }
}

bool Match::TapHand(Side side, int16_t x, uint16_t y) {
    if (y < kHandSlotY || y > kHandSlotY + 50) return false;
    int slot = -1;
    for (int i = 0; i < kHandSize; ++i) {
        if (x >= HandSlotX(i) && x <= HandSlotX(i) + 32) slot = i;
    }
    if (slot < 0) return false;
    if (!hands_[side].IsSlotFilled(slot)) return true;  // consumed all the same
    int slotX = HandSlotX(slot);
    if (selectedSlot_ < kHandSize && selectedSlot_ != slot) DrawHandSlot(selectedSlot_);
    // A re-picked slot is drawn untinted first, so the tint does not build up.
    if (selectedSlot_ == slot) DrawCardFace(hands_[side].CardAt(slot), slotX, kHandSlotY, 0, side);
    GrabRectInto(slotX, kHandSlotY, 0, dragImage_);
    CopyPictureRectInto(slotX, kHandSlotY, background_, saveUnder_);
    state_ = kStateDragging;
    dragX_ = static_cast<int16_t>(slotX);
    dragY_ = kHandSlotY;
    grabX_ = static_cast<int8_t>(x - slotX);
    grabY_ = static_cast<int8_t>(y - kHandSlotY);
    if (slot != selectedSlot_) {
        selectedSlot_ = static_cast<uint8_t>(slot);
        draggedCard_ = hands_[side].GetCard(slot);
    }
    TintSelectedSlot(0);
    return true;
}

void Match::DragHandCard(int16_t x, uint16_t y) {
    BlitPicture(dragX_, dragY_, saveUnder_, 0);
    int left = x - grabX_;
    int top = static_cast<int>(y) - grabY_;
    left = left < 0 ? 0 : (left > 207 ? 207 : left);
    top = top < 0 ? 0 : (top > 269 ? 269 : top);
    GrabRectInto(left, top, 0, saveUnder_);
    BlitPicture(left, top, dragImage_, 0);
    dragX_ = static_cast<int16_t>(left);
    dragY_ = static_cast<int16_t>(top);
}

void Match::ShowCardZoom() {
    if (selectedSlot_ >= kHandSize) return;
    Card big = draggedCard_;
    big.LoadPicture(kCardBig);
    CopyBuffer(0, 1);
    // Our own copy: a prompt between frames may reuse buffer 1.
    GrabRectInto(0, 0, 0, savedScreen_);
    GreyBuffer(0);
    ShowMessageBox(BuildCardInfoText(draggedCard_.GetId()), WString(), WString(), 0, 5, 180, 230,
                   115, 20, 3, 3);
    big.Draw(72, 20, kCardBig, 0, sideToMove_);
    big.FreePicture(kCardBig);
    state_ = kStateCardZoom;
}

void Match::CloseCardZoom() {
    state_ = kStateLocalActs;
    BlitPicture(0, 0, savedScreen_, 0);
    DrawMessageLine(0);
}

void Match::Leave() {
    gClubActive = 1;
    PlayerKind kind = KindOf(BLUE);
    if (!IsRemote(kind)) {
        // To our own window, never whichever window is in front.
        platform::PostMessage(gMainWindow, platform::WM_USER, 1, 1);
    } else if (room_ != nullptr) {
        room_->Draw(0);
        room_->PollIrConnection();
    }
}

}  // namespace qv
