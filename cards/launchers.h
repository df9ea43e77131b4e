// The four ways a match starts from the club or the multiplayer room.
#pragma once

#include <cstdint>

namespace qv {

class MultiplayerScreen;

extern uint8_t gClubActive;  // 1 while the club runs, 0 while a match runs

// Each clears gClubActive, sets up the match with 2 to 6 blocked cells and
// draws it; the screen that started it stays current.
void StartOpponentMatch(int index, int level);
void StartQuickGame();
void StartBossMatch();
// role 1: this handheld hosts the link.
void StartRemoteMatch(int role, MultiplayerScreen* room);

}  // namespace qv
