// The guest, member and elite tournaments: a knock-out bracket of 16, the
// player's matches, the computer players' matches, the prizes.
#pragma once

#include <cstdint>

#include "engine/button.h"
#include "engine/picture.h"
#include "platform/files.h"
#include "platform/types.h"

namespace qv {

class TournamentScreen {
public:
    // Level, round, 16 slots, state, pair, opponent, joined twice, place,
    // two prizes.
    static constexpr int kStateSize = 44;
    static constexpr int kSlotCount = 16;
    // The participant byte of the player; opponents are 0..14.
    static constexpr uint8_t kPlayer = 16;
    static constexpr uint8_t kNoPair = 255;
    // The stored state values.
    enum : uint8_t {
        kStateDrawBracket = 1,   // joined or next round: the bracket is to be drawn
        kStateDrawResults = 2,   // round decided: the results are to be drawn
        kStateBracketShown = 3,  // waiting for Next
        kStatePlayerMatch = 4,   // the player's match runs or has just ended
        kStateResultsShown = 5,  // waiting for Next
        kStateWinnerShown = 6,   // after the final, waiting for Next
        kStateIdle = 7,          // a new draw shown, fee not paid
    };
    struct Slot {
        uint8_t participant = 0;
        uint8_t out = 1;
    };
    // The fields the quick save stores.
    struct StoredFields {
        int8_t level = 0;
        int8_t round = 0;
        Slot slots[kSlotCount];
        uint8_t state = kStateIdle;
        uint8_t pairIndex = kNoPair;
        int8_t opponent = 0;
        uint8_t joined = 0;
        uint8_t place = 0;
        uint16_t firstPrize = 0;
        uint16_t secondPrize = 0;
    };

    // level 0 guest, 1 member, 2 elite (another value gives 0). Draws the
    // level's entry picture into back buffer 1 and seeds a new bracket.
    explicit TournamentScreen(int level);
    virtual ~TournamentScreen();
    TournamentScreen(const TournamentScreen&) = delete;
    TournamentScreen& operator=(const TournamentScreen&) = delete;

    void Enter();
    // Every frame while current, whether or not the club takes input.
    void Update();
    // Both ignore the stylus while the player's match runs or waits to be counted.
    bool StylusDown(uint16_t x, uint16_t y);  // always false
    bool StylusUp(uint16_t x, uint16_t y);    // true closes the screen
    void Draw(int8_t buffer);
    // kStateSize bytes. A match that has ended but is not yet counted is
    // counted before the bytes are written. The reader takes the bytes only
    // when they make a sound tournament; otherwise (false) the screen holds
    // a fresh draw of the level read, or of the guests.
    bool WriteState(platform::FileHandle file);
    bool ReadState(platform::FileHandle file);
    uint8_t GetState() const { return state_; }
    // Starts the player's match of the current pair again without counting
    // anything (a restored tournament whose match did not come back).
    void ReplayMatch();
    // Counts a match of the player's whose board has filled, without
    // starting a replay after a tie and without drawing; true when it did.
    bool SettleMatch();

    // The bracket (tournament_bracket.cpp).
    void SeedBracket();
    // 16 when either is the player; else the stronger of two draws.
    uint8_t SimulateMatch(uint8_t a, uint8_t b) const;
    void PlayRound();
    void AdvanceRound();
    void DrawBracket(int8_t buffer);
    void DrawRoundResults(int8_t buffer);
    WString GetSlotName(uint8_t participant, int level) const;
    // Whether the fields make a tournament this screen can go on with: every
    // value in range, the live participants distinct, each pair of the
    // round as its state says, the player's pair named in state 4, and the
    // place the player's wins in the rounds played so far.
    static bool IsSound(const StoredFields& f);
    bool IsSound() const { return IsSound(Stored()); }
    StoredFields Stored() const;

    int8_t Level() const { return level_; }
    int8_t Round() const { return round_; }
    const Slot& SlotAt(int i) const { return slots_[i]; }
    uint8_t PairIndex() const { return pairIndex_; }
    int8_t Opponent() const { return opponent_; }
    uint8_t Joined() const { return joined_; }
    uint8_t Place() const { return place_; }
    static int FeeOf(int level);
    static int FirstPrizeOf(int level);
    static int SecondPrizeOf(int level);

private:
    enum { kStart = 0, kSurrender = 1, kNext = 2, kBack = 3, kDeck = 4 };

    void LoadLevelPictures();
    void SetButtonsForState();
    bool TryJoin();
    void RecordPlayerResult();
    bool CountPlayerResult(uint8_t result);
    void Finish();
    void StartPlayerMatch();
    bool DeckIsFull() const;
    void DrawColumn(int firstSlot, int count, int rightEdge, int top, bool results, int8_t buffer);
    // The columns of rounds 0 to 3 (winners in colour for results); false,
    // nothing drawn, for any other round.
    bool DrawRoundColumns(bool results, int8_t buffer);
    void SetState(uint8_t state);

    Picture entryPicture_;
    Picture background_;
    Picture versus_;
    Button buttons_[5];  // Start, Surrender, Next, Back, deck
    int8_t level_ = 0;
    int8_t round_ = 0;
    Slot slots_[kSlotCount];
    uint8_t state_ = kStateIdle;
    uint8_t pairIndex_ = kNoPair;
    int8_t opponent_ = 0;
    uint8_t joined_ = 0;
    uint8_t place_ = 0;
    uint16_t firstPrize_ = 0;
    uint16_t secondPrize_ = 0;
};

}  // namespace qv
