// Fuzz target: the quick save restored as start-up restores it, then 40 frames played as the
// main loop plays them, with the stylus on the hand, the board and the pile.
#include "cards/card_database.h"
#include "cards/opponents.h"
#include "club/club.h"
#include "engine/picture_loader.h"
#include "engine/utilities.h"
#include "fuzz/fuzz_support.h"
#include "match/match.h"
#include "shell/game.h"

namespace {

using namespace qv;

constexpr int kFrames = 40;

fuzz::Bytes gCharacterFiles[3];
PlayerProfile gOpponentsAsLoaded[kOpponentCount];

void SetUpOnce() {
    fuzz::StartHeadless();
    fuzz::LinkInstallation();
    if (!OpenCardDatabase()) {
        std::fprintf(stderr, "fuzz_quick_save: no card database below %s\n",
                     fuzz::GeneratedInstallation().c_str());
        ::abort();
    }
    LoadBoardPictures();
    LoadOpponents();
    gMatch.LoadBoardUi();
    for (int i = 0; i < kOpponentCount; ++i) gOpponentsAsLoaded[i] = gOpponents[i];
    for (int slot = 1; slot <= 3; ++slot) {
        fuzz::MakeSeedCharacter(slot);
        SavePlayer();
        gCharacterFiles[slot - 1] = fuzz::ReadBytes(fuzz::TempDir() / "install" / "SAVE" /
                                                    ("Player" + std::to_string(slot) + ".QCP"));
    }
}

// Where the stylus goes on frame n: a hand slot, a board cell or the pile, in turn.
void StylusFor(int frame) {
    const int spot = frame % 7;
    int x = 0, y = 0;
    if (spot < 5) {
        x = 62 + 35 * spot + 10;
        y = 275;
    } else if (spot == 5) {
        x = 40 * (frame % 6) + 20;
        y = 58 * (frame % 4) + 25;
    } else {
        x = 25;
        y = 280;
    }
    gMatch.StylusDown(static_cast<int16_t>(x), static_cast<uint16_t>(y));
    if (frame % 3 == 0) {
        // A drag onto the board before the release.
        x = 40 * (frame % 6) + 9;
        y = 58 * ((frame / 6) % 4) + 10;
        gMatch.StylusMove(static_cast<int16_t>(x), static_cast<uint16_t>(y));
    }
    gMatch.StylusUp(static_cast<int16_t>(x), static_cast<uint16_t>(y));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static bool ready = false;
    if (!ready) {
        SetUpOnce();
        ready = true;
    }
    // The state every run starts from: the same characters on disk, the
    // opponents as loaded, no match running, the same random numbers.
    const std::filesystem::path save = fuzz::TempDir() / "install" / "SAVE";
    for (int slot = 1; slot <= 3; ++slot) {
        const fuzz::Bytes& bytes = gCharacterFiles[slot - 1];
        fuzz::WriteBytes(save / ("Player" + std::to_string(slot) + ".QCP"), bytes.data(), bytes.size());
    }
    for (int i = 0; i < kOpponentCount; ++i) gOpponents[i] = gOpponentsAsLoaded[i];
    gProfile.Reset();
    gOtherProfile.Reset();
    ClearStatistics();
    gClubActive = 1;
    gMatchResult = 0;
    SeedRandom(1);
    fuzz::DrainMessages();

    fuzz::WriteBytes(save / "QuickSave.QCP", data, size);
    LoadQuickSave();
    for (int frame = 0; frame < kFrames; ++frame) {
        if (gClubActive) {
            gClub.Update();
        } else {
            // The starting wheel spins until a tap arrives.
            if (gMatch.GetState() == kStateWheel) {
                platform::PostMessage(nullptr, platform::WM_LBUTTONDOWN, 0, platform::MakeLParam(120, 160));
            }
            gMatch.Update();
            if (!gClubActive) StylusFor(frame);
        }
        PresentScreen();
        fuzz::DrainMessages();
    }
    gClubActive = 1;
    return 0;
}
