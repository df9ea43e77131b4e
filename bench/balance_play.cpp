// Whole matches for the balance benchmark: the player's turns are the
// computer opponent's choices, made through the match's own stylus input.
#include "bench/balance_play.h"

#include "cards/opponents.h"
#include "club/shop_screen.h"
#include "match/computer_opponent.h"
#include "platform/messages.h"
#include "tests/support/match_driver.h"

namespace qv::bench {
namespace {

// A match takes about 2500 frames; one that runs far longer is stuck.
constexpr int kMaxFrames = 200000;

uint8_t gPlayerLevel = 2;

// The open choice of the player's side, as the computer would make it.
void PlayLocalAsComputer() {
    const Board& board = gMatch.GetBoard();
    const Side side = gMatch.GetSideToMove();
    SetAiLevel(gPlayerLevel);
    switch (gMatch.GetState()) {
        case kStateLocalActs: {
            const CardHand& hand = gMatch.GetHand(side);
            uint8_t slot = kNoSlot;
            int8_t column = 0, row = 0;
            ChooseAiPlacement(board, hand, side, slot, column, row);
            if (slot == kNoSlot && gMatch.GetPile(side).GetCount() <= 0) {
                ChooseAiPlacement(board, hand, side, slot, column, row, false);
            }
            if (slot == kNoSlot) {
                test::TapDown(20, 280);  // the pile
                test::TapUp(20, 280);
            } else {
                test::DropOnCell(slot, column, row);
            }
            return;
        }
        case kStateLocalChoosesTarget: {
            int8_t column = 0, row = 0;
            ChooseAiAttack(board, side, gMatch.GetAttackerColumn(), gMatch.GetAttackerRow(), column, row);
            test::TapCell(column, row);
            return;
        }
        case kStateLocalChoosesChainTarget: {
            const int x = gMatch.GetAttackerColumn(), y = gMatch.GetAttackerRow();
            int8_t column = 0, row = 0;
            ScoreAiAttackChain(board, board.GetOwner(x, y), x, y, column, row);
            test::TapCell(column, row);
            return;
        }
        case kStateWaitForTap: test::TapDown(120, 160); return;
        default: return;
    }
}

// What the main loop would have taken from the queue: the taps for the
// wheel and the match's own message that it has left.
void DrainMessages() {
    platform::Msg msg{};
    while (platform::PeekMessage(&msg, 0, 0, true)) {
    }
}

// The result of a match the player's side played in the first seat.
void Count(Tally& tally, bool ended) {
    if (!ended) {
        ++tally.stuck;
    } else if (gMatchResult == 2) {
        ++tally.tied;
    } else if (gMatchResult == 0) {
        ++tally.won;
    } else {
        ++tally.lost;
    }
}

}  // namespace

void SetPlayerLevel(uint8_t level) { gPlayerLevel = level < 3 ? level : 2; }

bool PlayStartedMatch() {
    const bool left = test::RunMatch([] { return false; }, kMaxFrames, PlayLocalAsComputer);
    DrainMessages();
    if (!left) {
        // Given up without a result, which no room counts.
        gClubActive = 1;
        gMatchResult = kNoMatchResult;
    }
    return left && gMatchResult <= 2;
}

void MakeStarterCharacter() {
    test::MakeLocalPlayer({}, "STARTER");
    gProfile.SetSlot(kNoCharacterSlot);
    {
        ShopScreen shop;
        for (int i = 0; i < 3; ++i) shop.BuyBoosters(0);
    }
    gProfile.BuildBestDeck();  // the shop's Quick Deck
}

Tally StarterAgainst(int index, int level, int matches) {
    Tally tally;
    for (int m = 0; m < matches; ++m) {
        MakeStarterCharacter();
        StartOpponentMatch(index, level);
        Count(tally, PlayStartedMatch());
    }
    return tally;
}

Tally OpponentsAgainst(int redLevel, int blueIndex, int blueLevel, int matches) {
    Tally tally;
    for (int m = 0; m < matches; ++m) {
        const int redIndex = RandomBelow(kOpponentsPerLevel);
        const PlayerProfile& red = gOpponents[StatisticsIndex(redIndex, redLevel)];
        // The opponent in the player's seat: its own deck, owned so that the
        // card exchange after the match has something to take.
        test::MakeLocalPlayer({}, "RED");
        gProfile.SetSlot(kNoCharacterSlot);
        gProfile.SetName(red.GetName());
        CardDeck deck;
        GenerateOpponentDeck(deck, redLevel, red.GetStrength() % 10);
        for (int p = 0; p < kDeckSize; ++p) {
            const int16_t id = deck.GetCard(p).GetId();
            gProfile.AddCard(id);
            gProfile.AddToDeck(id, false);
        }
        const uint8_t playerLevel = gPlayerLevel;
        gPlayerLevel = static_cast<uint8_t>(redLevel);
        StartOpponentMatch(blueIndex, blueLevel);
        Count(tally, PlayStartedMatch());
        gPlayerLevel = playerLevel;
    }
    return tally;
}

}  // namespace qv::bench
