// The read-only card database: index and data files kept open, info texts on demand.
#pragma once

#include <cstdint>
#include <vector>

#include "cards/card.h"
#include "platform/files.h"
#include "platform/types.h"

namespace qv {

// The fixed tables (collections, character files) hold exactly this many cards.
inline constexpr int16_t kCardSetSize = 344;
// Every byte of the data files is stored XORed with this key.
inline constexpr uint8_t kDataFileKey = 0x3D;

extern platform::FileHandle gCardIndexFile;
extern platform::FileHandle gCardDataFile;
extern int16_t gCardCount;

// True for an id of the open database: 1..gCardCount.
inline bool IsDatabaseId(int id) { return id >= 1 && id <= gCardCount; }

// Opens "DATA\CARDS\SET 1\CARDS.IND" and "CARDS.DAT" below gInstallDir and
// keeps them open. False, with gCardCount 0 and nothing left open, when
// either is missing, the index does not hold exactly kCardSetSize cards, or
// its offsets do not describe records inside the data file.
bool OpenCardDatabase();
// Closes both files; harmless when they are not open.
void CloseCardDatabase();
int16_t GetCardCount();
// The offset stored at entry id of the index (id taken as unsigned 16-bit);
// 0 when it cannot be read.
int32_t GetCardOffset(int16_t id);
// The card of that id read from the database; for an id outside
// 1..gCardCount a new card (id 0, empty name) with nothing read.
Card LoadCard(int16_t id);
// A uniformly drawn card of level 1..4 (one quarter of the ids each).
Card RandomCardOfLevel(int level);
// A whole data file read into memory and unscrambled (every byte XOR
// kDataFileKey); empty when it cannot be opened.
std::vector<uint8_t> ReadWholeDataFile(const WString& path);
// Heading, "Level", "No" and the level's description lines from CARDS.INF;
// the empty text for an id outside the database; missing parts stay empty.
WString BuildCardInfoText(int16_t id);

}  // namespace qv
