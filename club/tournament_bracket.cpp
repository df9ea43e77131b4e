// The tournament's bracket: the draw, the computer players' matches, the
// rounds, how the bracket and the results are drawn, and its soundness.
#include <string>

#include "cards/launchers.h"
#include "cards/opponents.h"
#include "cards/profile.h"
#include "cards/statistics.h"
#include "club/room_kit.h"
#include "club/tournament_screen.h"
#include "engine/blit.h"
#include "engine/font.h"
#include "engine/utilities.h"

namespace qv {

namespace {

constexpr int kWinnerColour = 3;
constexpr int kFinalRound = 4;

// Slots taking part in a round: 16, 8, 4, 2, then the winner.
int ActiveSlots(int round) { return TournamentScreen::kSlotCount >> round; }

bool IsParticipant(uint8_t p) { return p < kOpponentsPerLevel || p == TournamentScreen::kPlayer; }

}  // namespace

void TournamentScreen::SeedBracket() {
    round_ = 0;
    for (Slot& slot : slots_) slot.out = 1;
    Slot& mine = slots_[RandomBelow(kSlotCount)];
    mine.participant = kPlayer;
    mine.out = 0;
    for (uint8_t opponent = 0; opponent < kOpponentsPerLevel; ++opponent) {
        int slot = RandomBelow(kSlotCount);
        while (slots_[slot].out == 0) slot = RandomBelow(kSlotCount);
        slots_[slot].participant = opponent;
        slots_[slot].out = 0;
    }
}

uint8_t TournamentScreen::SimulateMatch(uint8_t a, uint8_t b) const {
    if (a == kPlayer || b == kPlayer) return kPlayer;
    const int strengthA = gOpponents[StatisticsIndex(a, level_)].GetStrength();
    const int strengthB = gOpponents[StatisticsIndex(b, level_)].GetStrength();
    int scoreA = 0;
    int scoreB = 0;
    do {
        scoreA = strengthA + RandomBelow(6);
        scoreB = strengthB + RandomBelow(6);
    } while (scoreA == scoreB);
    return scoreA > scoreB ? a : b;
}

// Every pair of the round still undecided is played: the player's pair
// waits for the player's match, the others are simulated. A fresh round
// has every pair undecided; a round played again after a refused match
// keeps its decided pairs.
void TournamentScreen::PlayRound() {
    pairIndex_ = kNoPair;
    const int active = ActiveSlots(round_);
    for (int first = 0; first + 1 < active; first += 2) {
        Slot& a = slots_[first];
        Slot& b = slots_[first + 1];
        if (a.out || b.out) continue;
        if (a.participant == kPlayer || b.participant == kPlayer) {
            pairIndex_ = static_cast<uint8_t>(first);
            opponent_ = static_cast<int8_t>(a.participant == kPlayer ? b.participant : a.participant);
            continue;
        }
        const uint8_t winner = SimulateMatch(a.participant, b.participant);
        (winner == a.participant ? b : a).out = 1;
    }
    if (pairIndex_ == kNoPair) {
        SetState(kStateDrawResults);
        return;
    }
    SetState(kStatePlayerMatch);
    StartPlayerMatch();
}

void TournamentScreen::AdvanceRound() {
    int next = 0;
    for (int i = 0; i < kSlotCount; ++i) {
        if (slots_[i].out == 0) {
            slots_[next].participant = slots_[i].participant;
            slots_[next].out = 0;
            ++next;
        }
    }
    for (int i = next; i < kSlotCount; ++i) slots_[i].out = 1;
    ++round_;
}

WString TournamentScreen::GetSlotName(uint8_t participant, int level) const {
    if (participant == kPlayer) return gProfile.GetName();
    if (participant >= kOpponentsPerLevel || level < 0 || level >= kLevelCount) return WString();
    return gOpponents[StatisticsIndex(participant, level)].GetName();
}

// Pair k of a column: its names one line apart, pairs 15 pixels further
// apart, the versus marker between them.
void TournamentScreen::DrawColumn(int firstSlot, int count, int rightEdge, int top, bool results,
                                  int8_t buffer) {
    const int h = gFont.GetHeight() + 5;
    for (int k = 0; 2 * k < count; ++k) {
        for (int member = 0; member < 2; ++member) {
            const Slot& slot = slots_[firstSlot + 2 * k + member];
            const int y = top + 15 * k + (2 * k + member) * h;
            const int colour = results && slot.out == 0 ? kWinnerColour : -1;
            DrawTextRight(GetSlotName(slot.participant, level_), rightEdge, y, colour, buffer);
            if (member == 1) BlitPictureKeyed(rightEdge + 2, y - 12, versus_, buffer);
        }
    }
}

bool TournamentScreen::DrawRoundColumns(bool results, int8_t buffer) {
    switch (round_) {
        case 0:
            DrawColumn(0, 8, 104, 80, results, buffer);
            DrawColumn(8, 8, 215, 80, results, buffer);
            return true;
        case 1: DrawColumn(0, 8, 165, 80, results, buffer); return true;
        case 2: DrawColumn(0, 4, 165, 120, results, buffer); return true;
        case 3: DrawColumn(0, 2, 165, 120, results, buffer); return true;
        default: return false;
    }
}

void TournamentScreen::DrawBracket(int8_t buffer) {
    if (round_ != kFinalRound) {
        DrawText(u"ROUND " + FormatInt(round_ + 1), 70, 55, gFont, buffer);
    }
    if (!DrawRoundColumns(false, buffer)) {
        const WString name = GetSlotName(slots_[0].participant, level_);
        const int x = 165 - gFont.TextWidth(u"WINNER : " + name);
        DrawText(u"WINNER " + name, x, 150, gFont, buffer);
    }
}

void TournamentScreen::DrawRoundResults(int8_t buffer) {
    DrawText(u"RESULT ROUND " + FormatInt(round_ + 1), 70, 55, gFont, buffer);
    DrawRoundColumns(true, buffer);
}

TournamentScreen::StoredFields TournamentScreen::Stored() const {
    StoredFields f;
    f.level = level_;
    f.round = round_;
    for (int i = 0; i < kSlotCount; ++i) f.slots[i] = slots_[i];
    f.state = state_;
    f.pairIndex = pairIndex_;
    f.opponent = opponent_;
    f.joined = joined_;
    f.place = place_;
    f.firstPrize = firstPrize_;
    f.secondPrize = secondPrize_;
    return f;
}

bool TournamentScreen::IsSound(const StoredFields& f) {
    if (f.level < 0 || f.level >= kLevelCount || f.round < 0 || f.round > kFinalRound) return false;
    if (f.state < kStateDrawBracket || f.state > kStateIdle) return false;
    if (f.joined > 1 || f.place > kFinalRound || f.opponent < 0 || f.opponent >= kOpponentsPerLevel) {
        return false;
    }
    if (f.state != kStateIdle && !f.joined) return false;
    if (f.firstPrize != 0 && f.firstPrize != FirstPrizeOf(f.level)) return false;
    if (f.secondPrize != 0 && f.secondPrize != SecondPrizeOf(f.level)) return false;
    // Rounds by state: a new draw at round 0, the winner only after the final.
    const bool decided = f.state == kStateDrawResults || f.state == kStateResultsShown;
    if (f.state == kStateIdle && f.round != 0) return false;
    if (f.state == kStateWinnerShown && f.round != kFinalRound) return false;
    if ((decided || f.state == kStateBracketShown || f.state == kStatePlayerMatch) &&
        f.round == kFinalRound) {
        return false;
    }

    const int active = ActiveSlots(f.round);
    bool seen[kPlayer + 1] = {};
    bool lostThisRound = false;
    for (int i = 0; i < kSlotCount; ++i) {
        const Slot& slot = f.slots[i];
        if (!IsParticipant(slot.participant) || slot.out > 1) return false;
        if (slot.out) {
            lostThisRound = lostThisRound || (i < active && slot.participant == kPlayer);
            continue;
        }
        if (i >= active || seen[slot.participant]) return false;
        seen[slot.participant] = true;
    }
    if (f.state == kStateIdle && !seen[kPlayer]) return false;
    // The place counts the player's wins, so that a damaged one pays no
    // prize: a round each while still in, that round's number for a player
    // just knocked out, fewer for one out of the bracket already.
    const int played = f.round + (decided ? 1 : 0);
    if (seen[kPlayer] ? f.place != played : lostThisRound ? f.place != f.round : f.place >= f.round) {
        return false;
    }
    if (f.round == kFinalRound) return f.slots[0].out == 0;

    // The pair index matters only while the player's match runs.
    if (f.state == kStatePlayerMatch && (f.pairIndex % 2 != 0 || f.pairIndex + 1 >= active)) {
        return false;
    }
    for (int first = 0; first < active; first += 2) {
        const Slot& a = f.slots[first];
        const Slot& b = f.slots[first + 1];
        const int live = (a.out ? 0 : 1) + (b.out ? 0 : 1);
        if (live == 0 || (decided && live != 1) || (f.state == kStateIdle && live != 2)) return false;
        if (f.state == kStatePlayerMatch && first == f.pairIndex) {
            const bool mineA = a.participant == kPlayer;
            const Slot& other = mineA ? b : a;
            if (live != 2 || (!mineA && b.participant != kPlayer) ||
                other.participant != static_cast<uint8_t>(f.opponent)) {
                return false;
            }
        }
    }
    return true;
}

}  // namespace qv
