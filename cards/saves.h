// Character files "SAVE\Player<n>.QCP" and the quick save "SAVE\QuickSave.QCP".
#pragma once

#include <cstdint>

#include "platform/types.h"

namespace qv {

inline constexpr uint8_t kGameVersionMajor = 1;
inline constexpr uint8_t kGameVersionMinor = 15;
inline constexpr int16_t gGameVersion = kGameVersionMajor * 256 + kGameVersionMinor;  // 271

// gInstallDir + "SAVE\Player" + slot + ".QCP".
WString CharacterFilePath(int slot);
WString QuickSavePath();

// How a character file that cannot be written is told besides a line on
// standard error with its path and the host's reason.
enum class SaveFailureNote : uint8_t {
    kNoteBox,     // the note box, once until a character file is written again
    kErrorOutput  // nothing more: the window is closing, no box can be answered
};
// kNoteBox from the start; the ways out by closing set kErrorOutput.
void SetSaveFailureNote(SaveFailureNote note);

// Writes gProfile and the statistics to its slot's file (beside it first,
// flushed to the storage device, then renamed into place) and stores the
// slot in the registry. True once the new file is in place; false for slot
// 255 (nothing written, nothing told) or a failed write, which keeps the old
// file whole and is told (SetSaveFailureNote).
bool SavePlayer();
// Reads slot n into gProfile and the statistics. True only for a whole file
// with a matching checksum; otherwise gProfile and the statistics are left
// as they were (so nothing of a rejected file is written back).
bool LoadPlayerSave(int slot);
// The slot byte, the club's block, gClubActive and, during a match, the
// match's block, written as SavePlayer writes. True once the new file is in
// place; false for slot 255 (nothing written) or a failed write, which keeps
// the old file whole and is told on standard error.
bool WriteQuickSave();
// Leaving with the game kept: the quick save and the character file, in
// step. The quick save is written beside its place, an older one removed,
// the character file put in place and the quick save last, so that a
// failure or a kill at any moment never leaves a quick save beside a
// character older than it. A character file that cannot be written drops
// the new quick save and is told as SavePlayer tells it. True when both
// files are in place; false, nothing written, for slot 255.
bool SaveGameAndCharacter();
// Restores the quick save and deletes it; false when there is none, or when
// its character file cannot be loaded (the quick save is then deleted too).
// A damaged club block brings the character back on the club view; a match
// that cannot be resumed has no result (gMatchResult kNoMatchResult) and the
// club takes over.
bool LoadQuickSave();

}  // namespace qv
