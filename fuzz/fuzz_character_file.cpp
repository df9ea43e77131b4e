// Fuzz target: a character file loaded as the character screen loads it; a file that loads
// must save and load again to the same bytes, and a refused one must change nothing.
#include <cstring>

#include "cards/card_database.h"
#include "fuzz/fuzz_support.h"

namespace {

using namespace qv;

void SetUpOnce() {
    fuzz::StartHeadless();
    fuzz::LinkInstallation();
    if (!OpenCardDatabase()) {
        std::fprintf(stderr, "fuzz_character_file: no card database below %s\n",
                     fuzz::GeneratedInstallation().c_str());
        ::abort();
    }
}

std::filesystem::path SlotFile(int slot) {
    return fuzz::TempDir() / "install" / "SAVE" / ("Player" + std::to_string(slot) + ".QCP");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static bool ready = false;
    if (!ready) {
        SetUpOnce();
        ready = true;
    }
    // Another character is current, as when the character screen loads one.
    fuzz::MakeSeedCharacter(3);
    gPerfectsReceived = 42;
    const PlayerProfile before = gProfile;

    fuzz::WriteBytes(SlotFile(2), data, size);
    if (!LoadPlayerSave(2)) {
        if (gProfile.GetName() != before.GetName() || gProfile.GetSlot() != 3 || gPerfectsReceived != 42 ||
            gProfile.GetTotalCards() != before.GetTotalCards()) {
            std::fprintf(stderr, "a refused character file changed the current character\n");
            ::abort();
        }
        return 0;
    }
    // What was accepted is written back whole and reads back the same.
    if (gProfile.GetSlot() != 2 || !SavePlayer()) ::abort();
    const fuzz::Bytes first = fuzz::ReadBytes(SlotFile(2));
    if (!LoadPlayerSave(2) || !SavePlayer()) {
        std::fprintf(stderr, "a character file the game wrote did not load again\n");
        ::abort();
    }
    if (fuzz::ReadBytes(SlotFile(2)) != first) {
        std::fprintf(stderr, "a character file changed on its way through load and save\n");
        ::abort();
    }
    return 0;
}
