// Character files and the quick save: frames, atomic writes and checked reads.
#include "cards/saves.h"

#include <functional>

#include "cards/launchers.h"
#include "cards/profile.h"
#include "cards/save_io.h"
#include "cards/statistics.h"
#include "club/club.h"
#include "engine/install_dir.h"
#include "engine/registry_settings.h"
#include "engine/utilities.h"
#include "match/match.h"
#include "platform/files.h"

namespace qv {

PlayerProfile gProfile;
PlayerProfile gOtherProfile;

namespace {

const char16_t kSaveDirectory[] = u"SAVE";
const char16_t kPartSuffix[] = u".tmp";

bool IsCharacterSlot(int slot) { return slot >= 1 && slot <= 3; }

// Writes a save beside its file and renames it into place only once it is
// whole and on the storage device; otherwise the old file stays as it was.
bool WriteBeside(const WString& path, const std::function<bool(platform::FileHandle)>& write) {
    platform::CreateDirectory(gInstallDir + kSaveDirectory);
    const WString part = path + kPartSuffix;
    platform::FileHandle file = platform::CreateFile(part, platform::GENERIC_WRITE, platform::CREATE_ALWAYS);
    if (file == platform::INVALID_HANDLE_VALUE) return false;
    bool ok = write(file);
    ok = ok && platform::FlushFileBuffers(file);
    ok = platform::CloseHandle(file) && ok;
    if (!ok) {
        platform::DeleteFile(part);
        return false;
    }
    if (!platform::MoveFileReplacing(part, path)) {
        if (platform::FileExists(part)) platform::DeleteFile(part);
        return false;
    }
    return true;
}

}  // namespace

WString CharacterFilePath(int slot) {
    return gInstallDir + u"SAVE\\Player" + FormatInt(slot) + u".QCP";
}

WString QuickSavePath() { return gInstallDir + u"SAVE\\QuickSave.QCP"; }

bool SavePlayer() {
    const uint8_t slot = gProfile.GetSlot();
    if (!IsCharacterSlot(slot)) return false;
    const bool saved = WriteBeside(CharacterFilePath(slot), [](platform::FileHandle file) {
        bool ok = WriteI16(file, gGameVersion);
        ok = ok && gProfile.Write(file);
        return ok && WriteStatistics(file);
    });
    if (saved) SaveCurrentSlot(static_cast<int8_t>(slot));
    return saved;
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
    // A match over the link cannot go on without the other machine: the
    // room comes back instead, not connected.
    const uint8_t clubActive = gClubActive == 0 && !gMatch.IsInfraRed() ? 0 : 1;
    // The block has no room for the cards still due at the end of a match:
    // they change hands now, as the next frames would hand them over.
    if (gClubActive == 0) gMatch.SettleExchange(clubActive == 0);
    return WriteBeside(QuickSavePath(), [slot, clubActive](platform::FileHandle file) {
        bool ok = WriteU8(file, slot);
        ok = ok && gClub.WriteState(file);
        ok = ok && WriteU8(file, clubActive);
        return ok && (clubActive != 0 || gMatch.WriteState(file));
    });
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
