// The player profile: collection, deck, boosters, trade box and the profile body.
#include "cards/profile.h"

#include <algorithm>
#include <limits>

#include "cards/save_io.h"

namespace qv {

void PlayerProfile::AddCredits(int32_t n) {
    const int64_t sum = static_cast<int64_t>(summary_.credits) + n;
    summary_.credits = static_cast<int32_t>(
        std::clamp<int64_t>(sum, std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max()));
}

PlayerProfile::PlayerProfile() {
    Reset();
    // Nothing has been bought or boxed yet.
    for (int16_t& id : newCards_) id = kEmptyCardId;
    for (int16_t& id : tradeBox_) id = kEmptyCardId;
}

void PlayerProfile::Reset() {
    total_ = 0;
    deck_.Clear();
    summary_.credits = kStartingCredits;
    summary_.slot = kNoCharacterSlot;
    for (uint8_t& count : counts_) count = 0;
}

void PlayerProfile::AddCard(int16_t id) {
    if (id <= 0 || id > kCardSetSize) return;
    // Reading masks the 64 bit of a count, so a 64th copy would hide them all.
    if (counts_[id - 1] >= kMaxCopies) return;
    ++counts_[id - 1];
    ++total_;
}

void PlayerProfile::RemoveCard(int16_t id) {
    if (id <= 0 || id > kCardSetSize || counts_[id - 1] == 0) return;
    --counts_[id - 1];
    --total_;
    if (counts_[id - 1] == 0) {
        RemoveFromTradeBox(id);
        deck_.RemoveCardById(id);
    }
}

int PlayerProfile::GetCardCount(int16_t id) const {
    if (id <= 0 || id > kCardSetSize) return 0;
    return counts_[id - 1] & ~64;
}

int PlayerProfile::CountDistinct() const {
    int distinct = 0;
    for (uint8_t count : counts_) distinct += static_cast<int8_t>(count) > 0 ? 1 : 0;
    return distinct;
}

void PlayerProfile::OpenBoosters(int n) {
    if (n > kNewCardsSize / kBoosterSize) n = kNewCardsSize / kBoosterSize;
    int next = 0;
    for (int booster = 0; booster < n; ++booster) {
        Booster pack;
        pack.Fill();
        for (int i = 0; i < kBoosterSize; ++i) {
            const Card card = pack.GetCard(i);
            AddCardFrom(card);
            newCards_[next++] = card.GetId();
        }
    }
    while (next < kNewCardsSize) newCards_[next++] = kEmptyCardId;
}

bool PlayerProfile::AddToDeck(int16_t id, bool loadPicture) {
    if (deck_.GetCount() >= kDeckSize) return false;
    Card card = LoadCard(id);
    if (loadPicture) card.LoadPicture(kCardSmall);
    deck_.AddCard(card);
    return true;
}

void PlayerProfile::ClearDeck() {
    for (int position = 0; position < kDeckSize; ++position) deck_.RemoveCardAt(position);
}

int PlayerProfile::TradeBoxCount() const {
    int count = 0;
    while (count < kTradeBoxSize && tradeBox_[count] != kEmptyCardId) ++count;
    return count;
}

bool PlayerProfile::AddToTradeBox(int16_t id) {
    const int count = TradeBoxCount();
    if (count >= kTradeBoxSize) return false;
    tradeBox_[count] = id;
    if (count + 1 < kTradeBoxSize) tradeBox_[count + 1] = kEmptyCardId;
    return true;
}

bool PlayerProfile::TradeBoxContains(int16_t id) const {
    const int count = TradeBoxCount();
    for (int i = 0; i < count; ++i) {
        if (tradeBox_[i] == id) return true;
    }
    return false;
}

bool PlayerProfile::RemoveFromTradeBox(int16_t id) {
    const int count = TradeBoxCount();
    for (int i = 0; i < count; ++i) {
        if (tradeBox_[i] == id) {
            RemoveTradeBoxAt(i);
            return true;
        }
    }
    return false;
}

void PlayerProfile::RemoveTradeBoxAt(int i) {
    const int count = TradeBoxCount();
    if (i < 0 || i >= count) return;
    for (int j = i; j + 1 < count; ++j) tradeBox_[j] = tradeBox_[j + 1];
    tradeBox_[count - 1] = kEmptyCardId;
}

void PlayerProfile::GiveAwayTradeBox() {
    // Removing a last copy edits the box, so walk what it held at the start.
    int16_t given[kTradeBoxSize];
    const int count = TradeBoxCount();
    for (int i = 0; i < count; ++i) given[i] = tradeBox_[i];
    for (int i = 0; i < count; ++i) RemoveCard(given[i]);
}

int32_t PlayerProfile::ComputeChecksum() const {
    uint32_t sum = summary_.name.empty() ? 0u : static_cast<uint32_t>(static_cast<int16_t>(summary_.name[0]));
    sum += static_cast<uint32_t>(summary_.credits);
    for (int i = 0; i < kCardSetSize; ++i) {
        sum -= static_cast<uint32_t>(static_cast<int32_t>(static_cast<int8_t>(counts_[i])) * i);
    }
    return static_cast<int32_t>(sum);
}

bool PlayerProfile::Write(platform::FileHandle file) const {
    bool ok = true;
    if (summary_.kind == kLocalPlayer) {
        ok = WriteSaveText(file, summary_.name) && ok;
        ok = WriteI16(file, summary_.number) && ok;
        ok = WriteSaveText(file, summary_.textA) && ok;
        ok = WriteSaveText(file, summary_.textB) && ok;
        ok = WriteI32(file, static_cast<int32_t>(static_cast<uint32_t>(summary_.credits) ^ kSaveMask)) && ok;
        ok = WriteU8(file, static_cast<uint8_t>(summary_.kind)) && ok;
        ok = WriteU8(file, summary_.slot) && ok;
    }
    for (uint8_t count : counts_) ok = WriteU8(file, count) && ok;
    ok = deck_.Write(file) && ok;
    return WriteI32(file, static_cast<int32_t>(static_cast<uint32_t>(ComputeChecksum()) ^ kSaveMask)) && ok;
}

bool PlayerProfile::Read(platform::FileHandle file) {
    if (summary_.kind == kLocalPlayer) {
        int32_t credits = 0;
        uint8_t kind = 0;
        if (!ReadSaveText(file, summary_.name) || !ReadI16(file, summary_.number) ||
            !ReadSaveText(file, summary_.textA) || !ReadSaveText(file, summary_.textB) ||
            !ReadI32(file, credits)) {
            return false;
        }
        summary_.credits = static_cast<int32_t>(static_cast<uint32_t>(credits) ^ kSaveMask);
        if (!ReadU8(file, kind) || !ReadU8(file, summary_.slot)) return false;
        summary_.kind = static_cast<PlayerKind>(kind);
    }

    bool sound = true;
    total_ = 0;
    for (uint8_t& count : counts_) {
        if (!ReadU8(file, count)) return false;
        // A negative count would make the total and the checksum meaningless.
        if (static_cast<int8_t>(count) < 0) sound = false;
        total_ = static_cast<int16_t>(total_ + static_cast<int8_t>(count));
    }
    if (!deck_.ReadChecked(file)) return false;
    for (int position = 0; position < kDeckSize; ++position) {
        const int16_t id = deck_.CardAt(position).GetId();
        if (id != kEmptyCardId && GetCardCount(id) == 0) sound = false;
    }
    int32_t stored = 0;
    if (!ReadI32(file, stored)) return false;
    return sound && (static_cast<uint32_t>(stored) ^ kSaveMask) == static_cast<uint32_t>(ComputeChecksum());
}

CharacterSummary CopyCharacter(const PlayerProfile& profile) { return profile.GetCharacter(); }

}  // namespace qv
