// The match launchers: hand the participants to the match's set-up and draw it.
#include "cards/launchers.h"

#include "cards/opponents.h"
#include "cards/profile.h"
#include "engine/utilities.h"
#include "match/match.h"

namespace qv {

uint8_t gClubActive = 0;

namespace {

int DrawBlockedCellCount() { return RandomBelow(5) + 2; }

}  // namespace

void StartOpponentMatch(int index, int level) {
    if (index < 0 || index >= kOpponentsPerLevel || level < 0 || level >= kLevelCount) return;
    gClubActive = 0;
    const int blocked = DrawBlockedCellCount();
    gMatch.SetUpCareerMatch(&gProfile, &gOpponents[StatisticsIndex(index, level)], blocked);
    gMatch.Redraw(0);
}

void StartQuickGame() {
    gClubActive = 0;
    gProfile.SetName(u"Player 1");
    // The draw order is fixed: blocked cells, then the opponent's index and level.
    const int blocked = DrawBlockedCellCount();
    const int index = RandomBelow(kOpponentsPerLevel);
    const int level = RandomBelow(kLevelCount);
    gMatch.SetUpQuickMatch(&gProfile, &gOpponents[StatisticsIndex(index, level)], blocked);
    gMatch.Redraw(0);
}

void StartBossMatch() {
    gClubActive = 0;
    const int blocked = DrawBlockedCellCount();
    gOtherProfile.SetName(u"SAINT ARMAN");
    gOtherProfile.SetKind(kComputerPlayer);
    gMatch.SetUpBossMatch(&gOtherProfile, &gProfile, blocked);
    gMatch.Redraw(0);
}

void StartRemoteMatch(int role, MultiplayerScreen* room) {
    gClubActive = 0;
    const int blocked = DrawBlockedCellCount();
    gOtherProfile.SetKind(role == 1 ? kRemoteServer : kRemoteClient);
    if (gMatch.SetUpInfraRedMatch(&gProfile, &gOtherProfile, blocked, room)) gMatch.Redraw(0);
}

}  // namespace qv
