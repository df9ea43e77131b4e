// The guest, member and elite tournaments: a bracket of 16, the player's
// matches and the prizes. Placeholder until the tournaments are built.
#pragma once

#include <cstdint>

#include "platform/files.h"

namespace qv {

class TournamentScreen {
public:
    // False while the room's screen is a placeholder that cannot be used:
    // the club view then answers the room with its closed note.
    static constexpr bool kOpen = false;
    // Level, round, 16 slots, state, pair, opponent, joined twice, place,
    // two prizes.
    static constexpr int kStateSize = 44;
    // The states the club looks at after a restore.
    enum : uint8_t {
        kStateDrawBracket = 1,
        kStateDrawResults = 2,
        kStatePlayerMatch = 4,  // the player's match runs or has just ended
        kStateIdle = 7,
    };

    // level 0 guest, 1 member, 2 elite. Draws the screen's transition
    // picture into back buffer 1.
    explicit TournamentScreen(int level);
    virtual ~TournamentScreen();
    TournamentScreen(const TournamentScreen&) = delete;
    TournamentScreen& operator=(const TournamentScreen&) = delete;

    void Enter();
    // Every frame while current, whether or not the club takes input.
    void Update();
    bool StylusDown(uint16_t x, uint16_t y);  // always false
    bool StylusUp(uint16_t x, uint16_t y);    // true closes the screen
    void Draw(int8_t buffer);
    // kStateSize bytes; true when all were written / read.
    bool WriteState(platform::FileHandle file);
    bool ReadState(platform::FileHandle file);
    uint8_t GetState() const;
    // Starts the player's match of the current pair again (a restored
    // tournament whose match result was never saved).
    void ReplayMatch();

private:
    uint8_t state_[kStateSize] = {};  // placeholder's copy of the stored bytes
};

}  // namespace qv
