// The six cheat key sequences typed on the direction pad, and what each one does.
#include "shell/cheats.h"

#include <string>

#include "cards/card_database.h"
#include "cards/launchers.h"
#include "cards/profile.h"
#include "cards/statistics.h"
#include "club/club.h"
#include "engine/message_box.h"
#include "platform/clock.h"
#include "platform/system.h"

namespace qv {

KeySequence gCheatSequences[kCheatSequenceCount];
uint8_t gCheatMode = 0;

namespace {

// Consecutive keys of a sequence must come less than this apart.
constexpr uint32_t kKeyGapMs = 1000;

constexpr int8_t U = kDirectionUp, D = kDirectionDown, L = kDirectionLeft, R = kDirectionRight;
// Sequence 0 switches the cheat mode; the others act only while it is on.
// None is a run of left and right alone, the keys that walk the club.
const int8_t kSequence0[] = {U, D, U, D, L, R, L};
const int8_t kSequence1[] = {R, U, R, U};
const int8_t kSequence2[] = {D, R, D, R};
const int8_t kSequence3[] = {L, D, L, D};
const int8_t kSequence4[] = {U, L, U, L};
const int8_t kSequence5[] = {R, D, L, U};

// Back buffer 1 is kept around the box: a transition of the club may be
// dissolving toward it.
void ShowCheatBox(const WString& text) {
    const BackBufferKeeper keeper;
    ShowNote(text);
}

void WinEveryMatchOnceMore() {
    ShowCheatBox(u"Stats changed, you have defeated all players once more.");
    for (int level = 0; level < kLevelCount; ++level) {
        for (int index = 0; index < kOpponentsPerLevel; ++index) ++gGamesWon[StatisticsIndex(index, level)];
    }
}

void WinEveryTourneyOnceMore() {
    ShowCheatBox(u"Stats changed, you have won all tourneys once more.");
    for (int level = 0; level < kLevelCount; ++level) {
        ++gTourneysWon[level];
        ++gTourneysPlayed[level];
    }
}

void GiveEveryCard() {
    ShowCheatBox(u"You have found a complete collection of cards!");
    for (int16_t id = 1; id <= kCardSetSize; ++id) gProfile.AddCard(id);
}

}  // namespace

void KeySequence::Append(int8_t key) {
    if (length_ < kMaxKeys) keys_[length_++] = key;
}

bool KeySequence::Feed(int8_t key) {
    const uint32_t now = platform::GetTickCount();
    if (length_ > 0 && key == keys_[position_]) {
        if (position_ == 0) lastTick_ = now;
        if (now - lastTick_ < kKeyGapMs) {
            lastTick_ = now;
            ++position_;
            if (position_ == length_) {
                position_ = 0;
                return true;
            }
            return false;
        }
    }
    // A wrong key, or a right one too late: a key that begins the sequence
    // starts a new attempt at once.
    position_ = 0;
    if (length_ > 0 && key == keys_[0]) {
        lastTick_ = now;
        position_ = 1;
    }
    return false;
}

void SetUpCheatSequences() {
    gCheatMode = 0;
    const auto fill = [](KeySequence& sequence, const auto& keys) {
        sequence = KeySequence();
        for (int8_t key : keys) sequence.Append(key);
    };
    fill(gCheatSequences[0], kSequence0);
    fill(gCheatSequences[1], kSequence1);
    fill(gCheatSequences[2], kSequence2);
    fill(gCheatSequences[3], kSequence3);
    fill(gCheatSequences[4], kSequence4);
    fill(gCheatSequences[5], kSequence5);
}

void ApplyCheat(int index) {
    if (gClubActive != 1 || !gClub.IsClubViewActive()) return;
    if (index == 0) {
        ShowCheatBox(gCheatMode ? u"Cheat Code OFF !" : u"Cheat Code ON !");
        gCheatMode = gCheatMode ? 0 : 1;
        return;
    }
    if (!gCheatMode) return;
    platform::Trace("cheat", std::to_string(index));
    switch (index) {
        case 1:
            gProfile.AddCredits(10000);
            gClub.DrawCreditsCounter(0);
            break;
        case 2: WinEveryMatchOnceMore(); break;
        case 3: WinEveryTourneyOnceMore(); break;
        case 4: GiveEveryCard(); break;
        case 5:
            gProfile.AddCredits(50000);
            GiveEveryCard();
            WinEveryTourneyOnceMore();
            WinEveryMatchOnceMore();
            gClub.DrawCreditsCounter(0);
            break;
        default: break;
    }
}

}  // namespace qv
