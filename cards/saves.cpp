// Character files and the quick save: frames, atomic writes and checked reads.
#include "cards/saves.h"

#include "cards/profile.h"
#include "cards/save_io.h"
#include "cards/statistics.h"
#include "club/club.h"
#include "engine/utilities.h"
#include "match/match.h"
#include "platform/files.h"
#include "shell/game.h"
#include "shell/settings.h"

namespace qv {

PlayerProfile gProfile;
PlayerProfile gOtherProfile;

namespace {

const char16_t kSaveDirectory[] = u"SAVE";
const char16_t kPartSuffix[] = u".tmp";

bool IsCharacterSlot(int slot) { return slot >= 1 && slot <= 3; }

}  // namespace

WString CharacterFilePath(int slot) {
    return gInstallDir + u"SAVE\\Player" + FormatInt(slot) + u".QCP";
}

WString QuickSavePath() { return gInstallDir + u"SAVE\\QuickSave.QCP"; }

void SavePlayer() {
    const uint8_t slot = gProfile.GetSlot();
    if (!IsCharacterSlot(slot)) return;
    platform::CreateDirectory(gInstallDir + kSaveDirectory);

    // The old file stays whole until the new one is complete beside it.
    const WString path = CharacterFilePath(slot);
    const WString part = path + kPartSuffix;
    platform::FileHandle file = platform::CreateFile(part, platform::GENERIC_WRITE, platform::CREATE_ALWAYS);
    if (file == platform::INVALID_HANDLE_VALUE) return;
    bool ok = WriteI16(file, gGameVersion);
    ok = gProfile.Write(file) && ok;
    ok = WriteStatistics(file) && ok;
    platform::CloseHandle(file);
    if (!ok || !platform::MoveFileReplacing(part, path)) {
        platform::DeleteFile(part);
        return;
    }
    SaveCurrentSlot(static_cast<int8_t>(slot));
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

void WriteQuickSave() {
    const uint8_t slot = gProfile.GetSlot();
    if (!IsCharacterSlot(slot)) return;
    platform::CreateDirectory(gInstallDir + kSaveDirectory);

    const WString path = QuickSavePath();
    const WString part = path + kPartSuffix;
    platform::FileHandle file = platform::CreateFile(part, platform::GENERIC_WRITE, platform::CREATE_ALWAYS);
    if (file == platform::INVALID_HANDLE_VALUE) return;
    bool ok = WriteU8(file, slot);
    ok = gClub.WriteState(file) && ok;
    ok = WriteU8(file, gClubActive) && ok;
    if (gClubActive == 0) gMatch.WriteState(file);
    platform::CloseHandle(file);
    if (!ok || !platform::MoveFileReplacing(part, path)) platform::DeleteFile(part);
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
    if (gClubActive == 0) gMatch.ReadState(file);
    platform::CloseHandle(file);
    return true;
}

}  // namespace qv
