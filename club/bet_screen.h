// The bet screen: one opponent's portrait and description, the stake, the
// match, and the payout and statistics once the match is over.
#pragma once

#include <cstdint>

#include "engine/button.h"
#include "engine/picture.h"
#include "platform/files.h"

namespace qv {

class BetScreen {
public:
    // Index, level, match-started flag, tutorial flag, spare.
    static constexpr int kStateSize = 5;

    // opponentNumber 1..45 (another number shows opponent 1). Comes up in
    // buffer 0 by itself (its own Enter).
    explicit BetScreen(int opponentNumber);
    virtual ~BetScreen();
    BetScreen(const BetScreen&) = delete;
    BetScreen& operator=(const BetScreen&) = delete;

    // Dissolves from the Instant Play background to this screen.
    void Enter();
    // After a match started here: pays and counts the result; otherwise the
    // left and right keys browse the level's opponents.
    void Update();
    bool StylusDown(uint16_t x, uint16_t y);  // always false
    bool StylusUp(uint16_t x, uint16_t y);    // true closes the screen
    void Draw(int8_t buffer);
    void DrawCredits(int8_t buffer);
    void DrawDescription(int8_t buffer);
    void SetTutorial(uint8_t flag) { tutorial_ = flag; }
    void TutorialUpdate() { Update(); }
    bool TutorialStylusDown(uint16_t x, uint16_t y) { return StylusDown(x, y); }
    // True once Ok has started the tutorial match.
    bool TutorialStylusUp(uint16_t x, uint16_t y) { return StylusUp(x, y); }
    // kStateSize bytes. A match that has ended but is not yet counted is
    // counted before the bytes are written, so leaving the game then loses
    // nothing. The reader takes the bytes only when all are in range (false
    // otherwise, the screen staying as built) and loads the portrait read.
    bool WriteState(platform::FileHandle file);
    bool ReadState(platform::FileHandle file);
    // Counts and pays a match started here whose board has filled; true when
    // it did. Nothing is drawn.
    bool SettleMatch();

    int8_t Index() const { return index_; }
    int8_t Level() const { return level_; }
    // The opponent's number, 1..45.
    int Number() const;
    bool MatchStarted() const { return matchStarted_ != 0; }
    // Stake and payouts of a level (guest, member, elite).
    static int StakeOf(int level);
    static int WinPaymentOf(int level);

private:
    enum { kOkButton = 0, kBackButton = 1, kDeckButton = 2 };
    void LoadPortrait();
    void TryStartMatch();
    void ShowOpponent(int index);

    Button buttons_[3];  // Ok, Back, deck
    Picture background_;
    Picture instantBackground_;
    Picture portrait_;
    int8_t index_ = 0;
    int8_t level_ = 0;
    uint8_t matchStarted_ = 0;
    uint8_t tutorial_ = 0;
};

}  // namespace qv
