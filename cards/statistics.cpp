// Career counters, their 286-byte block in the character file, and level access.
#include "cards/statistics.h"

#include "cards/save_io.h"

namespace qv {

int16_t gGamesWon[48] = {};
int16_t gGamesLost[48] = {};
int16_t gGamesTied[48] = {};
int16_t gTourneysWon[3] = {};
int16_t gTourneysPlayed[3] = {};
int16_t gPerfectsRealised = 0;
int16_t gPerfectsReceived = 0;

void ClearStatistics() {
    for (int i = 0; i < 48; ++i) gGamesWon[i] = gGamesLost[i] = gGamesTied[i] = 0;
    for (int level = 0; level < kLevelCount; ++level) gTourneysWon[level] = gTourneysPlayed[level] = 0;
    gPerfectsRealised = 0;
    gPerfectsReceived = 0;
}

bool WriteStatistics(platform::FileHandle file) {
    bool ok = true;
    for (int level = 0; level < kLevelCount; ++level) {
        for (int index = 0; index < kOpponentsPerLevel; ++index) {
            const int entry = StatisticsIndex(index, level);
            ok = WriteI16(file, gGamesTied[entry]) && ok;
            ok = WriteI16(file, gGamesLost[entry]) && ok;
            ok = WriteI16(file, gGamesWon[entry]) && ok;
        }
        ok = WriteI16(file, gTourneysWon[level]) && ok;
        ok = WriteI16(file, gTourneysPlayed[level]) && ok;
    }
    ok = WriteI16(file, gPerfectsRealised) && ok;
    return WriteI16(file, gPerfectsReceived) && ok;
}

bool ReadStatistics(platform::FileHandle file) {
    // Read into copies first so that a short block changes nothing.
    int16_t won[48], lost[48], tied[48], tourneysWon[3], tourneysPlayed[3];
    for (int i = 0; i < 48; ++i) {
        won[i] = gGamesWon[i];
        lost[i] = gGamesLost[i];
        tied[i] = gGamesTied[i];
    }
    int16_t realised = 0, received = 0;
    bool whole = true;
    for (int level = 0; level < kLevelCount && whole; ++level) {
        for (int index = 0; index < kOpponentsPerLevel && whole; ++index) {
            const int entry = StatisticsIndex(index, level);
            whole = ReadI16(file, tied[entry]) && ReadI16(file, lost[entry]) && ReadI16(file, won[entry]);
        }
        whole = whole && ReadI16(file, tourneysWon[level]) && ReadI16(file, tourneysPlayed[level]);
    }
    whole = whole && ReadI16(file, realised) && ReadI16(file, received);
    if (!whole) return false;
    for (int i = 0; i < 48; ++i) {
        gGamesWon[i] = won[i];
        gGamesLost[i] = lost[i];
        gGamesTied[i] = tied[i];
    }
    for (int level = 0; level < kLevelCount; ++level) {
        gTourneysWon[level] = tourneysWon[level];
        gTourneysPlayed[level] = tourneysPlayed[level];
    }
    gPerfectsRealised = realised;
    gPerfectsReceived = received;
    return true;
}

bool IsLevelOpen(int level) {
    if (level == 0) return true;
    if (level != 1 && level != 2) return false;
    const int below = level - 1;
    if (gTourneysWon[below] == 0) return false;
    for (int index = 0; index < kOpponentsPerLevel; ++index) {
        if (gGamesWon[StatisticsIndex(index, below)] == 0) return false;
    }
    return true;
}

}  // namespace qv
