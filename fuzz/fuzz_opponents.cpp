// Fuzz target: the opponents file loaded at start-up, every opponent's description and
// generated deck, next to the generated card database.
#include "cards/card_database.h"
#include "cards/opponents.h"
#include "engine/utilities.h"
#include "fuzz/fuzz_support.h"

using namespace qv;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static std::filesystem::path file;
    if (file.empty()) {
        fuzz::StartHeadless();
        // An installation of its own whose DATA holds the generated cards.
        const std::filesystem::path root = fuzz::TempDir() / "install";
        std::filesystem::create_directories(root / "DATA");
        std::filesystem::create_symlink(fuzz::GeneratedInstallation() / "DATA" / "CARDS", root / "DATA" / "CARDS");
        gInstallDir = fuzz::Handheld(root) + u"\\";
        if (!OpenCardDatabase()) ::abort();
        file = root / "DATA" / "OPPONENTS.DAT";
    }
    fuzz::WriteBytes(file, data, size);
    for (PlayerProfile& opponent : gOpponents) opponent = PlayerProfile();
    SeedRandom(1);
    LoadOpponents();
    // The file is read whole on each call: the corners, and a few inside.
    for (int level : {-1, 0, 2, 3}) {
        for (int index : {-1, 0, 7, 14, 15}) (void)ReadOpponentText(index, level).size();
    }
    for (PlayerProfile& opponent : gOpponents) {
        opponent.GenerateDeck();
        (void)opponent.GetName().size();
    }
    return 0;
}
