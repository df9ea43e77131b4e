// The boss's lair: the entry test, the boss's talk and match, the victory with
// the end credits, and the defeat.
#pragma once

#include <cstdint>
#include <vector>

#include "engine/picture.h"
#include "platform/files.h"
#include "platform/types.h"

namespace qv {

inline constexpr int32_t kBossLairPrice = 50000;

// Asked before the club view enters room 2: the entry checks, each failing
// one with its note, then the price question. True (50000 credits taken in
// memory) lets the club open the lair.
bool TryEnterBossLair();

// Types the text into buffer 0 one letter every 50 ms, presenting each,
// breaking lines before a word that does not fit between the pen and
// x + width (a word wider than a whole line fills each line and breaks at
// the letter that no longer fits). Lines are the font's height + 2 apart; nothing is drawn from a
// line that starts below the screen. Pending input is dropped at the end.
void TypeSpeech(const WString& text, int x, int y, int width, int colour);

// The places a credit strip takes on its way from start to target at the
// start speed (6 from the left, -12 from the right): each step moves by the
// speed, stopping exactly at the target, and the speed's size drops by one
// (never below 1) whenever the new place is a multiple of
// k = |distance / speed / 2|. A k of 0 never slows.
std::vector<int> StripSlidePlaces(int start, int target, int speed);

class BossScreen {
public:
    static constexpr int kStateSize = 0;
    enum : int8_t { kStateTalk = 0, kStateMatch = 1, kStateDone = 2 };

    // The boss's first picture and the boss's tune.
    BossScreen();
    virtual ~BossScreen();
    BossScreen(const BossScreen&) = delete;
    BossScreen& operator=(const BossScreen&) = delete;

    // After its match: the victory and the end credits, or the defeat; then
    // Club::LeaveBossScreen, after which the lair is gone.
    void Update();
    // The talk and the boss match, on the first tap.
    void StylusDown(uint16_t x, uint16_t y);
    bool StylusUp(uint16_t x, uint16_t y);  // always false: the lair leaves by itself
    void Draw(int8_t buffer);
    // Nothing is stored: true.
    bool WriteState(platform::FileHandle file);
    bool ReadState(platform::FileHandle file);

    int8_t State() const { return state_; }

private:
    void RunTalk();
    void PlayVictory();
    void PlayDefeat();
    void RunEndCredits();

    Picture picture_;
    int8_t state_ = kStateTalk;
};

}  // namespace qv
