// The collection manager: the collection, the deck of 16 and, for a trade,
// the trade box. Placeholder until the collection manager is built.
#pragma once

#include <cstdint>

#include "platform/files.h"

namespace qv {

class TradeScreen;

class CollectionScreen {
public:
    // False while the room's screen is a placeholder that cannot be used:
    // the club view then answers the room with its closed note.
    static constexpr bool kOpen = false;
    // Tutorial flag, one unused byte.
    static constexpr int kStateSize = 2;
    enum : uint8_t { kModeDeck = 0, kModeTradeBox = 1 };

    // highlightNew: the cards of the last boosters stand out. In trade-box
    // mode the trade screen's per-frame update runs inside this screen's.
    CollectionScreen(uint8_t highlightNew, uint8_t mode, TradeScreen* trade);
    virtual ~CollectionScreen();
    CollectionScreen(const CollectionScreen&) = delete;
    CollectionScreen& operator=(const CollectionScreen&) = delete;

    // Keeps the background in back buffer 2 and draws into buffer 0.
    void Enter();
    void Update();
    bool StylusDown(uint16_t x, uint16_t y);  // always false
    void StylusMove(uint16_t x, uint16_t y);
    bool StylusUp(uint16_t x, uint16_t y);  // true closes the screen
    void Draw(int8_t buffer);
    void SetTutorial(uint8_t flag);
    bool TutorialStylusDown(uint16_t x, uint16_t y);
    bool TutorialStylusUp(uint16_t x, uint16_t y);
    // kStateSize bytes; true when all were written / read.
    bool WriteState(platform::FileHandle file);
    bool ReadState(platform::FileHandle file);

private:
    uint8_t state_[kStateSize] = {};  // placeholder's copy of the stored bytes
};

}  // namespace qv
