// The match screen: one global state machine with its board, hands, piles, message line and animations.
#pragma once

#include <cstdint>

#include "cards/card.h"
#include "cards/containers.h"
#include "cards/profile.h"
#include "engine/button.h"
#include "engine/picture.h"
#include "match/board.h"
#include "platform/files.h"
#include "platform/types.h"

namespace qv {

class MultiplayerScreen;
struct SavedMatchBlock;
struct LinkMessage;
enum class LinkMessageKind : uint8_t;

// The stored state numbers; no other value is ever stored.
enum MatchState : int8_t {
    kStateLocalActs = 0,
    kStateDragging = 1,
    kStateLocalChoosesTarget = 2,
    kStateLocalChoosesChainTarget = 3,
    kStateAttackAnimation = 4,
    kStatePlacementBattle = 5,
    kStateCaptureFlip = 6,
    kStateEndOfTurn = 7,
    kStateChainBattle = 8,
    kStateChainContinues = 9,
    kStateWaitRemoteMove = 10,
    kStateWaitRemoteAttack = 11,
    kStateWaitRemoteChainTarget = 12,
    kStateRemoteCardLands = 13,
    kStateCardFlight = 15,
    kStateComputerCardLands = 20,
    kStateComputerChoosesTarget = 21,
    kStateComputerChoosesChainTarget = 22,
    kStateResult = 23,
    kStateComputerTurn = 24,
    kStateCardWon = 25,
    kStateCardLost = 26,
    kStateMatchEnds = 27,
    kStatePileDraw = 30,
    kStatePerfect = 31,
    kStateCardToCollection = 32,
    kStateVersusIntro = 33,
    kStateStartBanner = 34,
    kStateWheel = 35,
    kStateCardZoom = 40,
    kStatePause = 68,
    kStateWaitForTap = 71,
    kStateShowExchangedCard = 72,
};

inline constexpr uint8_t kNoSlot = 255;
inline constexpr int kWheelPictureCount = 24;
// A turn's chain never runs more battles than this, whatever the cards.
inline constexpr int kMaxBattlesPerTurn = 64;

// 0 RED owned more cells, 1 BLUE, 2 equal; written when the board fills.
// kNoMatchResult from the start of a match until then (and at start-up), so
// that a room never counts a match whose board did not fill.
extern uint8_t gMatchResult;
inline constexpr uint8_t kNoMatchResult = 255;
// Entry n - 1 holds "GFX\GENERAL\n.QVG"; 0 shows RED, 12 BLUE.
extern Picture gWheelPictures[kWheelPictureCount];

// The message line at (35, 235), 198 x 13: three texts, a mode and its timers.
struct MessageLine {
    WString textA;
    WString textB;
    WString textC;
    uint8_t showingA = 1;     // 1: A is the shown text, 0: B
    int32_t mode = 0;         // 0 blink, 1 fixed, 2 scroll
    int16_t scrollCount = 0;
    int8_t scrollDirection = 1;
    uint8_t bounce = 0;
    uint32_t scrollLastCall = 0;
    uint32_t scrollLastStep = 0;
    int32_t alignment = 0;    // 0 centre, 1 left, 2 right
    uint8_t blink = 0;
    uint32_t blinkLastCall = 0;
    uint32_t blinkLastToggle = 0;
    uint8_t visible = 1;
    int8_t blinkLimit = 0;
    uint8_t toggleCount = 0;
};

// Positions, phases and pictures of the four animations (one runs at a time).
struct AnimationState {
    int16_t startX = 0, startY = 0, endX = 0, endY = 0;
    int16_t previousX = 0, previousY = 0, currentX = 0, currentY = 0;
    int32_t attackPhase = 0;   // 0 out, 1 back, 2 done
    int8_t column = 0, row = 0;
    int32_t flipPhase = 0;     // 0 narrowing, 1 widening, 2 to centre, 3 to hand, 4 done
    int16_t baseX = 0, baseY = 0;
    int8_t narrowing = 0;
    Side newSide = 0;
    Side oldSide = 0;
    int16_t targetX = 0, targetY = 0;
    uint8_t speed = 0;
    uint8_t slot = 0;
    int16_t width = 0, height = 0;
    uint8_t flipSpeed = 6;
    uint8_t shrink = 2;
    Card card;
    // Not stored: allocated by a start, freed by the last step.
    Picture sprite;
    Picture background;
    bool spriteOwned = false;
    bool backgroundOwned = false;
    bool cardPictureLoaded = false;
};

class Match {
public:
    Match();
    ~Match();
    Match(const Match&) = delete;
    Match& operator=(const Match&) = delete;

    // Loads the board background, the zoom button and the wheel pictures (once).
    void LoadBoardUi();

    // Each stores the participants and leaves the match in the Versus intro
    // (state 33) with the first mover's state kept for after the opening.
    void SetUpQuickMatch(PlayerProfile* red, PlayerProfile* blue, int blockedCells);
    void SetUpCareerMatch(PlayerProfile* red, PlayerProfile* blue, int blockedCells);
    // red is the boss, blue the player.
    void SetUpBossMatch(PlayerProfile* red, PlayerProfile* blue, int blockedCells);
    // False when the player cancelled the start handshake (the match has left).
    bool SetUpInfraRedMatch(PlayerProfile* red, PlayerProfile* blue, int blockedCells,
                            MultiplayerScreen* room);
    void DealDeck(Side side);

    // The whole match screen: board, the local hand and pile, selection, message line.
    void Redraw(int8_t buffer);
    // One frame of the main loop.
    void Update();
    // Stylus messages while the match runs (x is taken as signed).
    void StylusDown(int16_t x, uint16_t y);
    void StylusMove(int16_t x, uint16_t y);
    void StylusUp(int16_t x, uint16_t y);
    // Hands control back to the club (or the multiplayer room).
    void Leave();

    // The quick-save block, at the open file's position. True when every
    // byte reached the file.
    bool WriteState(platform::FileHandle file);
    // Leaving the game at the end of the match: what the exchange still owes
    // changes hands at once, as the next frames would hand it over but
    // without their notes, the character is saved and the match only has to
    // leave. withBlock: the quick save stores the match, which brings the
    // result (and with it the exchange) and the Perfect back by itself. Over
    // the link only what both machines agree on changes hands: a card once
    // its id has travelled, and a Perfect, which the board decides.
    void SettleExchange(bool withBlock);
    // Reads the whole block, then resumes the match from it: every stored
    // coordinate, state, flag and count is held to what the match can run
    // from. False, with the match untouched, when the block is short or
    // damaged beyond that, or a participant cannot be found again.
    bool ReadState(platform::FileHandle file);

    // The rules tutorial.
    void SetTutorialMode(uint8_t flag) { tutorial_ = flag; }
    void SetTutorialStep(uint8_t step) { tutorialStep_ = step; }

    // Infra-red hooks the room's protocol drives.
    // Nothing while the link lives; else the room's reconnection question,
    // and the match goes on after a reconnection or is given up.
    void CheckLink();
    // Leaves at once; nothing is sent to the other machine.
    void CancelMatch();
    // Whether the other participant plays on the other machine.
    bool IsInfraRed() const;

    // Read access for the screens that started the match and for tests.
    MatchState GetState() const { return state_; }
    Side GetSideToMove() const { return sideToMove_; }
    const Board& GetBoard() const { return board_; }
    const CardHand& GetHand(Side side) const { return hands_[side]; }
    const DrawPile& GetPile(Side side) const { return piles_[side]; }
    PlayerProfile* GetParticipant(Side side) const { return participants_[side]; }
    const MessageLine& GetMessageLine() const { return message_; }
    uint8_t GetSelectedSlot() const { return selectedSlot_; }
    int8_t GetAttackerColumn() const { return attackerColumn_; }
    int8_t GetAttackerRow() const { return attackerRow_; }
    uint32_t GetPauseDeadline() const { return pauseDeadline_; }
    int8_t GetExchangeCount() const { return exchangeCount_; }
    int16_t GetExchangeId(int i) const { return exchangeIds_[i]; }
    uint8_t IsBossMatch() const { return boss_; }
    uint8_t IsQuickGame() const { return quickGame_; }
    uint8_t GetTutorialStep() const { return tutorialStep_; }
    uint8_t GetTutorialMode() const { return tutorial_; }

    // Test set-up: replaces the board, a hand or a pile as it stands.
    void SetBoardForTest(const Board& board) { board_ = board; }
    void SetHandForTest(Side side, const CardHand& hand) { hands_[side] = hand; }
    void SetPileForTest(Side side, const DrawPile& pile) { piles_[side] = pile; }
    void SetTurnForTest(Side side, MatchState state) { sideToMove_ = side; state_ = state; }
    void SetParticipantsForTest(PlayerProfile* red, PlayerProfile* blue);

    // Message line.
    void SetMessageLine(int32_t mode, const WString& a, const WString& b, const WString& c,
                        int8_t blinkLimit, uint8_t blink, int32_t alignment);
    void ClearMessageLine(int8_t buffer);
    void DrawMessageLine(int8_t buffer);
    void SetMessageBounce(uint8_t bounce) { message_.bounce = bounce; }
    void UpdateBlinkingMessage(bool start);
    void UpdateFixedMessage(bool start);
    void UpdateScrollingMessage(bool start);

private:
    // Hand, pile and zoom (match.cpp).
    bool TapHand(Side side, int16_t x, uint16_t y);
    void DragHandCard(int16_t x, uint16_t y);
    void DrawHandSlot(int slot);
    void DrawHand(Side side, int8_t buffer);
    void DrawPileStack(Side side, int8_t buffer);
    void TintSelectedSlot(int8_t buffer);
    void ShowCardZoom();
    void CloseCardZoom();
    Side LocalSide() const { return boss_ ? BLUE : RED; }
    PlayerKind KindOf(Side side) const;
    // The participant's name; empty when the side has none.
    WString ParticipantName(Side side) const;
    void RunStateHandler();
    void StepPause();
    void SetUpComputerMatch(PlayerProfile* red, PlayerProfile* blue, int blockedCells, bool quickGame);
    void FinishSetUp();

    // A turn (match_turn.cpp).
    void DropHandCard(int16_t x, uint16_t y);
    void SnapDraggedCard(int column, int row);
    bool TapPile(Side side, int16_t x, uint16_t y);
    void PlaceCardAndResolve(int slot, int column, int row);
    void ResolveCountedTargets(int column, int row, int targets);
    void ShowAttackChoice(int column, int row);
    void ClearAttackChoice();
    void PickAttackTarget(int16_t x, uint16_t y);
    void PickMultiHitTarget(int16_t x, uint16_t y);
    void StartAttack();
    void StartMultiHitAttack();
    void ResolveBattle();
    void ResolveMultiHitBattle();
    void Battle(Side side);
    bool RecordBattle();
    void ContinueMultiHit();
    void EndTurn();
    void PlayComputerTurn();
    // "<name> have taken a card." on the message line, the banner, and the turn ends.
    void AnnounceCardTaken(Side side);
    void PlaceComputerCard();
    void ChooseComputerAttack();
    void ChooseComputerMultiHit();
    bool Cancelled() const;

    // The end of the match (match_result.cpp).
    void ComputeMatchResult(int red, int blue);
    int ExchangeCountFor(int red, int blue) const;
    // The distinct card ids the loser laid that can change hands (see
    // PickCardsToExchange for avoidFull).
    int CountExchangeable(Side loser, bool avoidFull) const;
    void PickCardsToExchange(int n, Side loser);
    bool IsLocalWin() const;
    Side NonLocalSide() const { return boss_ ? RED : BLUE; }
    void ShowResult();
    void ExchangeWonCard();
    void ExchangeLostCard();
    void ShowExchangedCard();
    void ApplyCardToCollection();
    void ApplyPerfect();
    // The card due next into (a win) or out of (a loss: the only one) the
    // local collection, unsaved; false when none is due.
    bool HandOverNextCard(int16_t& id);
    // The Perfect's cards into or out of the local collection and its
    // counter, unsaved; the note that tells it.
    WString HandOverPerfect();

    // Resuming from the quick-save block (match_restore.cpp).
    bool BindParticipants(const SavedMatchBlock& block, PlayerProfile* participants[2]) const;
    void ApplyRestoredBlock(const SavedMatchBlock& block, PlayerProfile* const participants[2]);
    void NormaliseRestoredState();
    void NormaliseRestoredFields();
    MatchState TurnState() const;
    bool CanResumeIn(MatchState state) const;

    // The opening (match_opening.cpp).
    void ShowVersusIntro();
    void SpinStartingWheel();
    void StartMatchMusic();

    // Drawing (match_drawing.cpp).
    void DrawBoard(const Board& board, int8_t buffer);
    void DrawBoardCell(const BoardCell& cell, int column, int row, int8_t buffer);

    // Animations (match_animations.cpp).
    void StartAttackAnimation(int ac, int ar, int tc, int tr, MatchState returnState);
    void StepAttackAnimation();
    void StartCaptureFlip(const Card& card, int column, int row, Side first, Side second,
                          MatchState returnState);
    void StepCaptureFlip();
    void StartPileDraw(const Card& card, Side side, int slot, MatchState returnState);
    void StepPileDraw();
    void StartCardFlight(const Card& card, Side side, int column, int row, int startX,
                         int startY, int startWidth, int startHeight, MatchState returnState);
    void StepCardFlight();
    void MakeFlipImage(Side side);
    void FreeAnimationPictures();

    // Infra-red play (match_remote.cpp).
    bool RunMatchHandshake(int blockedCells);
    void AwaitRemoteMove();
    void StartRemoteCardFlight(int16_t cardId, int column, int row);
    void PlaceRemoteCard();
    void AwaitRemoteAttack();
    void AwaitRemoteMultiHit();
    // Each send repeats its exchange until it succeeds (true) or the player
    // gives the match up (false: the match has left).
    bool SendCardMove(const Card& card, int column, int row);
    bool SendAttack(int column, int row, int targetColumn, int targetRow);
    bool SendMultiHit(int column, int row, int targetColumn, int targetRow);
    bool SendCardTaken();
    void SendStartSignal();
    void SendCardGift(int16_t id);
    // True once the message came; false leaves the state to wait again.
    bool ReceiveStartSignal();
    bool ReceiveCardGift();
    // One receive of a waiting state: true with an acknowledged request;
    // false after asking the player when the link was found dead.
    bool ReceiveRemoteRequest(LinkMessage& request);
    bool ReceiveRemoteTarget(LinkMessageKind kind, const WString& expected);
    // "Error of Synchronization:\n" + what was expected + what came, with
    // "Cancel Game" and "Retry".
    void ShowSyncError(const WString& expected, const WString& came);
    // The message line's blinking "Waiting for <name><what>", presented.
    void ShowWaitingText(Side side, const char16_t* what);

    // The rules tutorial (match_tutorial.cpp).
    void ShowTutorialPage();
    void HandleTutorialTap(int16_t x, uint16_t y);
    void IgnoreTutorialRelease() {}
    void PlayTutorialDemo(int demo);

    Button zoomButton_;
    Board board_;
    Picture background_;
    Picture saveUnder_;
    Picture dragImage_;
    Side sideToMove_ = 0;
    Side multiHitSide_ = 0;
    uint8_t multiHitRunning_ = 0;
    CardHand hands_[2];
    DrawPile piles_[2];
    uint8_t cardTaken_ = 0;
    PlayerProfile* participants_[2] = {nullptr, nullptr};
    uint8_t selectedSlot_ = kNoSlot;
    Card draggedCard_;
    int8_t attackerColumn_ = 0;
    int8_t attackerRow_ = 0;
    int8_t targetColumn_ = 0;
    int8_t targetRow_ = 0;
    int8_t grabX_ = 0;
    int8_t grabY_ = 0;
    int16_t dragX_ = 0;
    int16_t dragY_ = 0;
    MatchState state_ = kStateLocalActs;
    MatchState returnState_ = kStateLocalActs;
    MatchState firstTurnState_ = kStateLocalActs;
    MessageLine message_;
    AnimationState animation_;
    int16_t exchangeIds_[4] = {0, 0, 0, 0};
    int8_t exchangeCount_ = 0;
    MultiplayerScreen* room_ = nullptr;
    uint32_t pauseDeadline_ = 0;
    uint8_t boss_ = 0;
    uint8_t quickGame_ = 0;
    uint8_t tutorial_ = 0;
    uint8_t tutorialStep_ = 0;
    uint8_t nextTutorialStep_ = 0;

    // The screen under marks and the zoom box, kept by the match itself so
    // that a message box between frames cannot spoil it.
    Picture savedScreen_;
    // Battles of the current turn: attacker cell, target cell, attacker's owner.
    struct BattleRecord {
        int8_t attackerColumn, attackerRow, targetColumn, targetRow;
        Side owner;
    };
    BattleRecord battles_[kMaxBattlesPerTurn] = {};
    int battleCount_ = 0;
    // The remote move being placed (not stored).
    int16_t remoteCardId_ = 0;
    int8_t remoteColumn_ = 0;
    int8_t remoteRow_ = 0;
};

extern Match gMatch;

}  // namespace qv
