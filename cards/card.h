// One card as a value: id, level, eight directional powers, worth, name, pictures.
#pragma once

#include <cstdint>

#include "engine/picture.h"
#include "platform/types.h"

namespace qv {

// Directions: 0 up, then clockwise to 7 up-left.
inline constexpr int kDirectionCount = 8;
inline constexpr int16_t kEmptyCardId = -1;
inline constexpr int8_t kSpecialCardLevel = 5;
enum : int { kCardSmall = 0, kCardBig = 1 };

// Copies share the pixel blocks of the pictures; whoever loaded a picture
// frees it once with FreePicture on that card (or a copy) and draws no other
// copy afterwards. Destroying a card frees only its name.
class Card {
public:
    int16_t GetId() const { return id_; }
    void SetId(int16_t id) { id_ = id; }
    int8_t GetLevel() const { return level_; }
    void SetLevel(int8_t level) { level_ = level; }
    uint32_t GetPowers() const { return powers_; }
    // Replaces the whole power word (0 before the directions are set one by one).
    void SetPowers(uint32_t powers) { powers_ = powers; }
    // ORs power (0..7) into the 3-bit field of direction d (0..7); the field must be clear.
    void SetPower(int power, int direction);
    // The power towards direction d; 0 for any d outside 0..7 (such as -1, the own cell).
    int GetPower(int direction) const;
    int16_t GetValue() const { return value_; }
    void SetValue(int16_t value) { value_ = value; }
    WString GetName() const { return name_; }
    void SetName(const WString& name) { name_ = name; }

    // Loads the small (kCardSmall) or big (kCardBig) picture by the card's
    // name; a card without a name keeps an empty picture and shows no message.
    void LoadPicture(int size);
    // Frees that picture's pixels and leaves it 0 x 0.
    void FreePicture(int size);
    const Picture& GetPicture(int size) const { return size == kCardBig ? big_ : small_; }

    // Draws the picture of that size at (x, y) of back buffer `buffer`, the
    // owner band tinted for side 0 or 1 (none for 2), and a power icon for
    // every direction with a power.
    void Draw(int x, int y, int size, int buffer, int side) const;

    // The boss's card: power p in all eight directions, level 5, the name of
    // a random level-1 card and an id from the card count + 1 to + 10.
    void MakeSpecial(int power);

private:
    int16_t id_ = 0;
    int8_t level_ = 0;
    uint32_t powers_ = 0;
    int16_t value_ = 0;
    WString name_;
    Picture small_;
    Picture big_;
};

// Greys the board and zooms the card's big picture onto it (side 2: no owner
// band); the card stays in buffer 0.
void ShowCardAnnounce(const Card& card, uint8_t side);

}  // namespace qv
