// Booster, deck, hand and draw pile, with their file forms.
#include "cards/containers.h"

#include "cards/card_database.h"
#include "cards/save_io.h"
#include "engine/utilities.h"

namespace qv {

void Booster::Fill() {
    for (int i = 0; i < 4; ++i) cards_[i] = RandomCardOfLevel(1);
    for (int i = 4; i < 7; ++i) cards_[i] = RandomCardOfLevel(2);
    cards_[7] = RandomCardOfLevel(RandomBelow(3) == 0 ? 4 : 3);
}

void CardDeck::AddCard(const Card& card) {
    if (count_ >= kDeckSize) return;
    for (Card& slot : slots_) {
        if (slot.GetId() == kEmptyCardId) {
            slot = card;
            ++count_;
            return;
        }
    }
}

void CardDeck::PutCardInSlot(const Card& card, int position) {
    if (slots_[position].GetId() != kEmptyCardId) return;
    slots_[position] = card;
    ++count_;
}

void CardDeck::RemoveCardAt(int position) {
    if (slots_[position].GetId() == kEmptyCardId) return;
    slots_[position].SetId(kEmptyCardId);
    --count_;
}

bool CardDeck::RemoveCardById(int16_t id) {
    for (int i = 0; i < kDeckSize; ++i) {
        if (slots_[i].GetId() == id) {
            RemoveCardAt(i);
            return true;
        }
    }
    return false;
}

bool CardDeck::Contains(int16_t id) const {
    for (const Card& slot : slots_) {
        if (slot.GetId() == id) return true;
    }
    return false;
}

void CardDeck::Clear() {
    count_ = 0;
    for (Card& slot : slots_) slot.SetId(kEmptyCardId);
}

void CardDeck::LoadCardPictures() {
    for (Card& slot : slots_) {
        if (slot.GetId() != kEmptyCardId) slot.LoadPicture(kCardSmall);
    }
}

void CardDeck::FreeCardPictures() {
    for (Card& slot : slots_) {
        if (slot.GetId() != kEmptyCardId) slot.FreePicture(kCardSmall);
    }
}

void CardDeck::FreeCardPicture(int position, int size) {
    if (slots_[position].GetId() != kEmptyCardId) slots_[position].FreePicture(size);
}

bool CardDeck::Write(platform::FileHandle file) const {
    bool ok = WriteU8(file, static_cast<uint8_t>(count_));
    for (const Card& slot : slots_) ok = WriteI16(file, slot.GetId()) && ok;
    return ok;
}

bool CardDeck::Read(platform::FileHandle file) {
    uint8_t storedCount = 0;
    bool whole = ReadU8(file, storedCount);
    int8_t count = 0;
    for (Card& slot : slots_) {
        int16_t id = slot.GetId();
        whole = ReadI16(file, id) && whole;
        if (id == kEmptyCardId) {
            slot.SetId(kEmptyCardId);
        } else {
            // An id the database does not hold comes back as a card with id 0,
            // which still fills its position.
            slot = LoadCard(id);
            ++count;
        }
    }
    // The count follows the ids, so a damaged count byte cannot leave the
    // deck claiming room it does not have.
    count_ = count;
    return whole;
}

bool CardDeck::ReadChecked(platform::FileHandle file) {
    uint8_t storedCount = 0;
    bool sound = ReadU8(file, storedCount) && storedCount <= kDeckSize;
    int16_t ids[kDeckSize];
    int filled = 0;
    for (int16_t& id : ids) {
        id = kEmptyCardId;
        sound = ReadI16(file, id) && sound;
        if (id != kEmptyCardId) {
            ++filled;
            if (!IsDatabaseId(id)) sound = false;
        }
    }
    Clear();
    if (!sound || filled != storedCount) return false;
    for (int i = 0; i < kDeckSize; ++i) {
        if (ids[i] != kEmptyCardId) PutCardInSlot(LoadCard(ids[i]), i);
    }
    return true;
}

int CardHand::CountCards() const {
    int count = 0;
    for (uint8_t flag : empty_) count += flag == 0 ? 1 : 0;
    return count;
}

bool CardHand::PutCardInSlot(const Card& card, int slot) {
    if (empty_[slot] == 0) return false;
    slots_[slot] = card;
    empty_[slot] = 0;
    return true;
}

bool CardHand::AddCard(const Card& card) {
    const int slot = FirstEmptySlot();
    return slot < kHandSize && PutCardInSlot(card, slot);
}

bool CardHand::RemoveCardAt(int slot) {
    if (empty_[slot] != 0) return false;
    empty_[slot] = 1;
    return true;
}

int CardHand::FirstEmptySlot() const {
    for (int i = 0; i < kHandSize; ++i) {
        if (empty_[i] != 0) return i;
    }
    return kHandSize;
}

void CardHand::Clear() {
    for (uint8_t& flag : empty_) flag = 1;
}

bool CardHand::Write(platform::FileHandle file) const {
    bool ok = true;
    for (int i = 0; i < kHandSize; ++i) {
        ok = WriteU8(file, empty_[i]) && ok;
        ok = WriteI16(file, slots_[i].GetId()) && ok;
    }
    return ok;
}

bool CardHand::Read(platform::FileHandle file) {
    bool whole = true;
    for (int i = 0; i < kHandSize; ++i) {
        uint8_t flag = empty_[i];
        int16_t id = slots_[i].GetId();
        whole = ReadU8(file, flag) && whole;
        whole = ReadI16(file, id) && whole;
        empty_[i] = flag != 0 ? 1 : 0;
        slots_[i] = LoadCard(id);
    }
    return whole;
}

void DrawPile::Push(const Card& card) {
    if (count_ >= kPileSize) return;
    cards_[count_] = card;
    ++count_;
}

Card DrawPile::Pop() {
    if (count_ <= 0) return Card();
    --count_;
    return cards_[count_];
}

bool DrawPile::Write(platform::FileHandle file) const {
    bool ok = WriteU8(file, static_cast<uint8_t>(count_));
    for (const Card& card : cards_) ok = WriteI16(file, card.GetId()) && ok;
    return ok;
}

bool DrawPile::Read(platform::FileHandle file) {
    uint8_t count = static_cast<uint8_t>(count_);
    bool whole = ReadU8(file, count);
    count_ = static_cast<int8_t>(count > kPileSize ? kPileSize : count);
    for (Card& card : cards_) {
        int16_t id = card.GetId();
        whole = ReadI16(file, id) && whole;
        card = LoadCard(id);
    }
    return whole;
}

}  // namespace qv
