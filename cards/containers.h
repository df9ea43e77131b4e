// Card containers: the booster, the 16-card deck, the 5-slot hand and the draw pile.
#pragma once

#include <cstdint>

#include "cards/card.h"
#include "platform/files.h"

namespace qv {

inline constexpr int kBoosterSize = 8;
inline constexpr int kDeckSize = 16;
inline constexpr int kHandSize = 5;
inline constexpr int kPileSize = 11;
// Bytes of the file forms.
inline constexpr int kDeckFormBytes = 33;
inline constexpr int kHandFormBytes = 15;
inline constexpr int kPileFormBytes = 23;

// Eight random cards: four of level 1, three of level 2, then one of level 4
// one time in three, else of level 3.
class Booster {
public:
    void Fill();
    Card GetCard(int i) const { return cards_[i]; }

private:
    Card cards_[kBoosterSize];
};

// 16 positions; a position is empty when its card's id is -1 (emptying sets
// only the id). The count always equals the number of filled positions.
class CardDeck {
public:
    CardDeck() { Clear(); }
    int8_t GetCount() const { return count_; }
    // Into the first empty position; nothing when the deck is full.
    void AddCard(const Card& card);
    // Only into an empty position.
    void PutCardInSlot(const Card& card, int position);
    void RemoveCardAt(int position);
    bool RemoveCardById(int16_t id);
    Card GetCard(int position) const { return slots_[position]; }
    const Card& CardAt(int position) const { return slots_[position]; }
    // Whether any of the 16 positions has that id (-1: any empty position).
    bool Contains(int16_t id) const;
    void Clear();
    void LoadCardPictures();
    void FreeCardPictures();
    void FreeCardPicture(int position, int size);
    // uint8 count, then 16 int16 ids; true when every byte was written.
    bool Write(platform::FileHandle file) const;
    // Reads the form back; each id other than -1 is loaded from the database.
    // The count is recomputed from the ids. False when the form is short.
    bool Read(platform::FileHandle file);
    // As Read, but only ids of the database are accepted and the stored count
    // must agree with them: false for a damaged deck, which is then empty.
    bool ReadChecked(platform::FileHandle file);

private:
    int8_t count_ = 0;
    Card slots_[kDeckSize];
};

// Five slots, each with an empty flag; an emptied slot keeps its old card.
class CardHand {
public:
    CardHand() { Clear(); }
    int CountCards() const;
    bool PutCardInSlot(const Card& card, int slot);
    bool AddCard(const Card& card);
    Card GetCard(int slot) const { return slots_[slot]; }
    const Card& CardAt(int slot) const { return slots_[slot]; }
    bool IsSlotFilled(int slot) const { return empty_[slot] == 0; }
    bool RemoveCardAt(int slot);
    // 5 when every slot is filled.
    int FirstEmptySlot() const;
    void Clear();
    // Per slot: uint8 empty flag, int16 id (also for an empty slot). True
    // when every byte reached the file.
    bool Write(platform::FileHandle file) const;
    // Every slot is replaced with the card of its stored id. False when short.
    bool Read(platform::FileHandle file);

private:
    uint8_t empty_[kHandSize] = {1, 1, 1, 1, 1};
    Card slots_[kHandSize];
};

// A stack of up to 11 cards; the top is the card at count - 1.
class DrawPile {
public:
    int8_t GetCount() const { return count_; }
    // Nothing when the pile is full.
    void Push(const Card& card);
    // The top card; a new card (id 0) when the pile is empty.
    Card Pop();
    void Clear() { count_ = 0; }
    const Card& CardAt(int position) const { return cards_[position]; }
    // uint8 count, then all eleven int16 ids. True when every byte reached the file.
    bool Write(platform::FileHandle file) const;
    // All eleven positions are replaced; the count is kept within 0..11.
    bool Read(platform::FileHandle file);

private:
    int8_t count_ = 0;
    Card cards_[kPileSize];
};

}  // namespace qv
