// A participant: character summary, collection, deck, last boosters and trade box.
#pragma once

#include <cstdint>

#include "cards/card_database.h"
#include "cards/containers.h"
#include "platform/files.h"
#include "platform/types.h"

namespace qv {

// PlayerKind values.
using PlayerKind = int8_t;
inline constexpr PlayerKind kComputerPlayer = 1;  // also the boss
inline constexpr PlayerKind kLocalPlayer = 2;
inline constexpr PlayerKind kRemoteClient = 3;  // the other handheld, this one joined
inline constexpr PlayerKind kRemoteServer = 4;  // the other handheld, this one hosts

// True for the other handheld over the link, whichever machine hosts.
inline constexpr bool IsRemote(PlayerKind kind) { return kind == kRemoteClient || kind == kRemoteServer; }

// Slot values.
inline constexpr uint8_t kOpponentSlot = 0;
inline constexpr uint8_t kNoCharacterSlot = 255;

inline constexpr int32_t kStartingCredits = 700;
inline constexpr int kNewCardsSize = 80;
inline constexpr int kTradeBoxSize = 9;
// A count never grows beyond this, so the reader's 64 bit never bites.
inline constexpr uint8_t kMaxCopies = 63;
// Credits and checksum are stored XORed with this mask.
inline constexpr uint32_t kSaveMask = 0x2F6B91D4u;

struct CharacterSummary {
    WString name;
    int16_t number = 0;
    WString textA;
    WString textB;
    uint8_t slot = 0;
    PlayerKind kind = 0;
    int32_t credits = 0;
    int8_t strength = 0;
};

class PlayerProfile {
public:
    PlayerProfile();
    // Total 0, empty deck, 700 credits, slot 255, nothing owned; kind, texts,
    // new cards and trade box stay.
    void Reset();

    const CharacterSummary& GetCharacter() const { return summary_; }
    void SetCharacter(const CharacterSummary& summary) { summary_ = summary; }
    WString GetName() const { return summary_.name; }
    void SetName(const WString& name) { summary_.name = name; }
    int16_t GetNumber() const { return summary_.number; }
    uint8_t GetSlot() const { return summary_.slot; }
    void SetSlot(uint8_t slot) { summary_.slot = slot; }
    PlayerKind GetKind() const { return summary_.kind; }
    void SetKind(PlayerKind kind) { summary_.kind = kind; }
    int8_t GetStrength() const { return summary_.strength; }
    void SetStrength(int8_t strength) { summary_.strength = strength; }
    int32_t GetCredits() const { return summary_.credits; }
    // Every gain of credits (sales, prizes, bets, trades, cheats) goes
    // through here: the sum stops at the largest amount instead of wrapping.
    void AddCredits(int32_t n);
    // Callers test the balance first.
    void SubtractCredits(int32_t n) { summary_.credits -= n; }

    // One more copy of a database card (never beyond kMaxCopies).
    void AddCard(int16_t id);
    void AddCardFrom(const Card& card) { AddCard(card.GetId()); }
    // One copy less; the last copy also leaves the trade box and the deck.
    void RemoveCard(int16_t id);
    // Copies owned (0 for an id outside the set).
    int GetCardCount(int16_t id) const;
    int16_t GetTotalCards() const { return total_; }
    bool HasSixteenCards() const { return total_ > 15; }
    int CountDistinct() const;
    // Buys n boosters (1 to 10) into the collection and lists their cards in
    // the new cards; the rest of the list becomes -1.
    void OpenBoosters(int n);
    const int16_t* GetNewCards() const { return newCards_; }

    CardDeck& GetDeck() { return deck_; }
    const CardDeck& GetDeck() const { return deck_; }
    bool AddToDeck(int16_t id, bool loadPicture);
    void RemoveFromDeckAt(int position) { deck_.RemoveCardAt(position); }
    void ClearDeck();
    bool RemoveFromDeck(int16_t id) { return deck_.RemoveCardById(id); }
    bool DeckContains(int16_t id) const { return deck_.Contains(id); }

    // Generated and automatic decks (cards/opponents.cpp).
    void GenerateDeck();
    void MakeSpecialDeck();
    bool AddBestCardToDeck();
    bool BuildBestDeck();

    // Trade box: ids in order, -1 after the last when fewer than 9.
    void ClearTradeBox() { tradeBox_[0] = kEmptyCardId; }
    int TradeBoxCount() const;
    bool AddToTradeBox(int16_t id);
    bool TradeBoxContains(int16_t id) const;
    bool RemoveFromTradeBox(int16_t id);
    void RemoveTradeBoxAt(int i);
    int16_t GetTradeBoxCard(int i) const { return tradeBox_[i]; }
    void GiveAwayTradeBox();

    // The profile body of a character file (header fields only for kind 2);
    // true when every byte was written.
    bool Write(platform::FileHandle file) const;
    // Reads the body back and keeps what it read; true when the stored
    // checksum matches. False also for a short or damaged body (bad text
    // length, count byte or deck).
    bool Read(platform::FileHandle file);
    // The checksum of the body as it stands.
    int32_t ComputeChecksum() const;

private:
    CharacterSummary summary_;
    uint8_t counts_[kCardSetSize] = {};
    int16_t total_ = 0;
    CardDeck deck_;
    int16_t newCards_[kNewCardsSize];
    int16_t tradeBox_[kTradeBoxSize];
};

CharacterSummary CopyCharacter(const PlayerProfile& profile);

extern PlayerProfile gProfile;       // the current player
extern PlayerProfile gOtherProfile;  // the boss or the player on the other handheld

}  // namespace qv
