// Character files and the quick save: frames, atomic writes and checked reads.
#include "cards/saves.h"

#include <functional>
#include <string>

#include "cards/launchers.h"
#include "cards/profile.h"
#include "cards/save_io.h"
#include "cards/statistics.h"
#include "club/club.h"
#include "engine/install_dir.h"
#include "engine/message_box.h"
#include "engine/registry_settings.h"
#include "engine/utilities.h"
#include "match/match.h"
#include "platform/files.h"
#include "platform/system.h"

namespace qv {

PlayerProfile gProfile;
PlayerProfile gOtherProfile;

namespace {

const char16_t kSaveDirectory[] = u"SAVE";
const char16_t kPartSuffix[] = u".tmp";
const char16_t kUnsavedNote[] = u"The game could not be saved.";

SaveFailureNote gFailureNote = SaveFailureNote::kNoteBox;
// Whether the note box has told of a character file that could not be
// written; a character file written again clears it.
bool gUnsavedNoted = false;

bool IsCharacterSlot(int slot) { return slot >= 1 && slot <= 3; }

using SaveWriter = std::function<bool(platform::FileHandle)>;

void ReportUnsaved(const WString& path, const std::string& reason) {
    platform::ReportProblem("could not save " + platform::MapPath(path) + ": " +
                            (reason.empty() ? std::string("unknown error") : reason));
}

// Writes a save beside its file, whole and on the storage device; false,
// with nothing left beside it, when any of it failed.
bool WritePart(const WString& path, const SaveWriter& write) {
    platform::CreateDirectory(gInstallDir + kSaveDirectory);
    const WString part = path + kPartSuffix;
    platform::FileHandle file = platform::CreateFile(part, platform::GENERIC_WRITE, platform::CREATE_ALWAYS);
    bool ok = file != platform::INVALID_HANDLE_VALUE && write(file) && platform::FlushFileBuffers(file);
    // The first failure's reason: the clean-up below may fail too.
    std::string reason = ok ? std::string() : platform::LastFileError();
    if (file != platform::INVALID_HANDLE_VALUE && !platform::CloseHandle(file) && ok) {
        ok = false;
        reason = platform::LastFileError();
    }
    if (!ok) {
        ReportUnsaved(path, reason);
        if (platform::FileExists(part)) platform::DeleteFile(part);
    }
    return ok;
}

// Renames the part WritePart wrote over the file; false when that failed,
// with the old file as it was.
bool PutInPlace(const WString& path) {
    const WString part = path + kPartSuffix;
    if (platform::MoveFileReplacing(part, path)) return true;
    ReportUnsaved(path, platform::LastFileError());
    if (platform::FileExists(part)) platform::DeleteFile(part);
    return false;
}

bool WriteCharacterFile(platform::FileHandle file) {
    bool ok = WriteI16(file, gGameVersion);
    ok = ok && gProfile.Write(file);
    return ok && WriteStatistics(file);
}

// The quick save written beside its place (see WritePart).
bool WriteQuickSavePart(uint8_t slot) {
    // A match over the link cannot go on without the other machine: the
    // room comes back instead, not connected.
    const uint8_t clubActive = gClubActive == 0 && !gMatch.IsInfraRed() ? 0 : 1;
    // The block has no room for the cards still due at the end of a match:
    // they change hands now, as the next frames would hand them over.
    if (gClubActive == 0) gMatch.SettleExchange(clubActive == 0);
    return WritePart(QuickSavePath(), [slot, clubActive](platform::FileHandle file) {
        bool ok = WriteU8(file, slot);
        ok = ok && gClub.WriteState(file);
        ok = ok && WriteU8(file, clubActive);
        return ok && (clubActive != 0 || gMatch.WriteState(file));
    });
}

// The character file of the slot put in place and the slot stored; false,
// told on standard error only, when it could not be written.
bool PutCharacterInPlace(uint8_t slot) {
    const WString path = CharacterFilePath(slot);
    if (!WritePart(path, WriteCharacterFile) || !PutInPlace(path)) return false;
    gUnsavedNoted = false;
    SaveCurrentSlot(static_cast<int8_t>(slot));
    return true;
}

// Once a spell of failed character saves: a purchase or a won card that
// is not on disk is said once, not at every later save that fails too.
void TellUnsaved() {
    if (gFailureNote != SaveFailureNote::kNoteBox || gUnsavedNoted) return;
    gUnsavedNoted = true;
    // The box takes back buffer 1, where a screen may keep its picture.
    const BackBufferKeeper keeper;
    ShowNote(kUnsavedNote);
}

}  // namespace

WString CharacterFilePath(int slot) {
    return gInstallDir + u"SAVE\\Player" + FormatInt(slot) + u".QCP";
}

WString QuickSavePath() { return gInstallDir + u"SAVE\\QuickSave.QCP"; }

void SetSaveFailureNote(SaveFailureNote note) { gFailureNote = note; }

bool SavePlayer() {
    const uint8_t slot = gProfile.GetSlot();
    if (!IsCharacterSlot(slot)) return false;
    if (PutCharacterInPlace(slot)) return true;
    TellUnsaved();
    return false;
}

bool LoadPlayerSave(int slot) {
    if (!IsCharacterSlot(slot)) return false;
    platform::FileHandle file =
        platform::CreateFile(CharacterFilePath(slot), platform::GENERIC_READ, platform::OPEN_EXISTING);
    if (file == platform::INVALID_HANDLE_VALUE) return false;

    // Read beside gProfile so that a rejected file leaves nothing behind
    // that a later save could write back under this slot.
    PlayerProfile loaded = gProfile;
    loaded.SetKind(kLocalPlayer);
    int16_t version = 0;  // any version loads
    const bool valid = ReadI16(file, version) && loaded.Read(file) && ReadStatistics(file);
    platform::CloseHandle(file);
    if (!valid) return false;

    // The file's own kind and slot bytes are not covered by the checksum:
    // the character is the local player of the slot it was loaded from.
    loaded.SetKind(kLocalPlayer);
    loaded.SetSlot(static_cast<uint8_t>(slot));
    gProfile = loaded;
    return true;
}

bool WriteQuickSave() {
    const uint8_t slot = gProfile.GetSlot();
    if (!IsCharacterSlot(slot)) return false;
    return WriteQuickSavePart(slot) && PutInPlace(QuickSavePath());
}

bool SaveGameAndCharacter() {
    const uint8_t slot = gProfile.GetSlot();
    if (!IsCharacterSlot(slot)) return false;
    // Written first, since writing it counts a match that has ended; put in
    // place last, once its character is.
    const WString path = QuickSavePath();
    const bool gameWritten = WriteQuickSavePart(slot);
    // The start removes the quick save it restores, so there is none while
    // the game runs; one left over must not stand beside the new character.
    if (platform::FileExists(path)) platform::DeleteFile(path);
    if (!PutCharacterInPlace(slot)) {
        if (gameWritten) platform::DeleteFile(path + kPartSuffix);
        TellUnsaved();
        return false;
    }
    return gameWritten && PutInPlace(path);
}

bool LoadQuickSave() {
    const WString path = QuickSavePath();
    platform::FileHandle file = platform::CreateFile(path, platform::GENERIC_READ, platform::OPEN_EXISTING);
    if (file == platform::INVALID_HANDLE_VALUE) return false;
    // Gone before anything is restored: a save that cannot be restored is
    // not met again at the next start.
    platform::DeleteFile(path);

    uint8_t slot = 0;
    // Without its character the blocks would restore screens and a match
    // around an empty profile: start at the character screen instead.
    if (!ReadU8(file, slot) || !LoadPlayerSave(slot)) {
        platform::CloseHandle(file);
        return false;
    }
    if (!gClub.ReadState(file)) {
        // Nothing after a damaged club block can be placed: the character
        // comes back on the club view.
        platform::CloseHandle(file);
        gClubActive = 1;
        return true;
    }
    uint8_t clubActive = 1;
    ReadU8(file, clubActive);
    gClubActive = clubActive != 0 ? 1 : 0;
    if (gClubActive == 0 && !gMatch.ReadState(file)) {
        // The match cannot come back: the club's screen that started it
        // takes over and counts nothing for it.
        gMatchResult = kNoMatchResult;
        gClubActive = 1;
    }
    platform::CloseHandle(file);
    return true;
}

}  // namespace qv
