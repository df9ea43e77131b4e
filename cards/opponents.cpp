// The computer opponents: OPPONENTS.DAT, generated decks, the boss's deck, best decks.
#include "cards/opponents.h"

#include <span>
#include <vector>

#include "engine/install_dir.h"
#include "engine/utilities.h"
#include "engine/wstring.h"

namespace qv {

PlayerProfile gOpponents[kOpponentCount];

const uint8_t OpponentDeckTable[12][4] = {
    {7, 7, 2, 0}, {6, 7, 2, 1}, {5, 6, 3, 2}, {4, 6, 4, 2},
    {3, 4, 4, 5}, {2, 3, 6, 5}, {2, 2, 6, 6}, {1, 2, 6, 7},
    {1, 3, 5, 7}, {1, 2, 5, 8}, {0, 1, 5, 10}, {0, 1, 3, 12},
};

namespace {

constexpr int8_t kPowerWeight[8] = {0, -2, -1, 1, 3, 4, 0, 0};
constexpr int kFieldsPerOpponent = 5;

std::vector<uint8_t> ReadOpponentFile() { return ReadWholeDataFile(gInstallDir + u"DATA\\OPPONENTS.DAT"); }

Card DrawCardNotInDeck(const CardDeck& deck, int cardLevel) {
    Card card = RandomCardOfLevel(cardLevel);
    while (deck.Contains(card.GetId())) card = RandomCardOfLevel(cardLevel);
    return card;
}

}  // namespace

void LoadOpponents() {
    const std::vector<uint8_t> buffer = ReadOpponentFile();
    const std::span<const uint8_t> fields(buffer);
    size_t cursor = 0;
    for (int level = 0; level < kLevelCount; ++level) {
        for (int index = 0; index < kOpponentsPerLevel; ++index) {
            // A missing or short file leaves empty fields, never a profile
            // without its kind and strength.
            CharacterSummary summary;
            summary.name = ReadHashField(fields, cursor);
            UpperCaseInPlace(summary.name);
            summary.number = static_cast<int16_t>(ReadHashNumber(fields, cursor));
            summary.textA = ReadHashField(fields, cursor);
            ReadHashField(fields, cursor);  // the description, read on demand
            summary.textB = ReadHashField(fields, cursor);
            summary.slot = kOpponentSlot;
            summary.kind = kComputerPlayer;
            summary.strength = static_cast<int8_t>(level * 10 + index / 4);

            PlayerProfile& opponent = gOpponents[StatisticsIndex(index, level)];
            opponent.Reset();
            summary.credits = opponent.GetCredits();
            opponent.SetCharacter(summary);
        }
    }
}

WString ReadOpponentText(int index, int level) {
    if (index < 0 || index >= kOpponentsPerLevel || level < 0 || level >= kLevelCount) return WString();
    const std::vector<uint8_t> buffer = ReadOpponentFile();
    const std::span<const uint8_t> fields(buffer);
    size_t cursor = 0;
    const int record = level * kOpponentsPerLevel + index;
    for (int field = 0; field < record * kFieldsPerOpponent + 3; ++field) ReadHashField(fields, cursor);
    return ReadHashField(fields, cursor);
}

void GenerateOpponentDeck(CardDeck& deck, int level, int tier) {
    deck.Clear();
    // Each draw repeats until its id is new, which needs the full quarters.
    if (level < 0 || level > 2 || tier < 0 || tier > 3 || GetCardCount() != kCardSetSize) return;
    const int row = level * 4 + tier;
    for (int cardLevel = 1; cardLevel <= 4; ++cardLevel) {
        for (int n = 0; n < OpponentDeckTable[row][cardLevel - 1]; ++n) {
            Card candidate = DrawCardNotInDeck(deck, cardLevel);
            for (int draw = 0; draw < level + tier; ++draw) {
                Card other = DrawCardNotInDeck(deck, cardLevel);
                if (other.GetValue() > candidate.GetValue()) candidate = other;
            }
            deck.AddCard(candidate);
        }
    }
}

int8_t CardScore(const Card& card) {
    int score = 0;
    for (int d = 0; d < kDirectionCount; ++d) score += kPowerWeight[card.GetPower(d)];
    return static_cast<int8_t>(score + RandomBelow(3));
}

void PlayerProfile::GenerateDeck() {
    deck_.Clear();
    GenerateOpponentDeck(deck_, summary_.strength / 10, summary_.strength % 10);
}

void PlayerProfile::MakeSpecialDeck() {
    deck_.Clear();
    GenerateOpponentDeck(deck_, 2, 3);
    for (int power = 5; power >= 3; --power) {
        Card special;
        special.MakeSpecial(power);
        const int position = RandomBelow(kDeckSize);
        deck_.RemoveCardAt(position);
        deck_.PutCardInSlot(special, position);
    }
}

bool PlayerProfile::AddBestCardToDeck() {
    int best = kNoCardScore;
    int16_t bestId = kEmptyCardId;
    for (int16_t id = 1; id <= ::qv::GetCardCount() && id <= kCardSetSize; ++id) {
        if (GetCardCount(id) == 0 || deck_.Contains(id)) continue;
        const int score = CardScore(LoadCard(id));
        if (score > best) {
            best = score;
            bestId = id;
        }
    }
    if (bestId != kEmptyCardId) AddToDeck(bestId, false);
    return deck_.GetCount() == kDeckSize;
}

bool PlayerProfile::BuildBestDeck() {
    ClearDeck();
    int8_t scores[kDeckSize];
    int16_t ids[kDeckSize];
    for (int i = 0; i < kDeckSize; ++i) {
        scores[i] = kNoCardScore;
        ids[i] = kEmptyCardId;
    }
    // Ascending by score, entry 0 the lowest; ties keep the earlier id.
    for (int16_t id = 1; id <= ::qv::GetCardCount() && id <= kCardSetSize; ++id) {
        if (static_cast<int8_t>(counts_[id - 1]) <= 0) continue;
        const int8_t score = CardScore(LoadCard(id));
        if (score <= scores[0]) continue;
        int l = 0;
        while (l < kDeckSize && scores[l] < score) ++l;
        for (int j = 1; j < l; ++j) {
            scores[j - 1] = scores[j];
            ids[j - 1] = ids[j];
        }
        scores[l - 1] = score;
        ids[l - 1] = id;
    }
    for (int i = 0; i < kDeckSize; ++i) {
        if (scores[i] != kNoCardScore) AddToDeck(ids[i], false);
    }
    return deck_.GetCount() == kDeckSize;
}

}  // namespace qv
