// Fuzz targets for the save files: a character file loaded as the character screen loads it,
// and the quick save restored as start-up restores it and then played for 40 frames.
#include "cards/card_database.h"
#include "cards/launchers.h"
#include "cards/opponents.h"
#include "club/club.h"
#include "engine/picture_loader.h"
#include "engine/utilities.h"
#include "fuzz/fuzz_support.h"
#include "match/match.h"
#include "platform/files.h"
#include "platform/trace.h"

namespace qv::fuzz {

namespace {

constexpr int kFrames = 40;

void OpenGeneratedCards(const char* target) {
    if (!OpenCardDatabase()) {
        std::fprintf(stderr, "%s: no card database below %s\n", target, GeneratedInstallation().c_str());
        ::abort();
    }
}

std::filesystem::path SlotFile(int slot) {
    return TempDir() / "install" / "SAVE" / ("Player" + std::to_string(slot) + ".QCP");
}

// The quick save's world: the characters of the three slots as files, the
// opponents as loaded and the club on its view, to start every run from.
Bytes gCharacterFiles[3];
PlayerProfile gOpponentsAsLoaded[kOpponentCount];
WString gClubAtStart;

// Set while a restored quick save plays: the screens entered then are noted.
bool gRestored = false;

// The player taps as a screen comes up, which draws it at once instead of
// dissolving it in over many frames.
void NoteScreens(const std::string& kind, const std::string& text) {
    if (kind != "screen" || text.rfind("enter ", 0) != 0) return;
    if (gRestored) Mark("screen " + text);
    platform::PostMessage(nullptr, platform::WM_LBUTTONDOWN, 0, platform::MakeLParam(120, 160));
}

void SetUpQuickSaveWorld() {
    StartHeadless();
    platform::SetTraceListener(NoteScreens);
    LinkInstallation();
    OpenGeneratedCards("fuzz_quick_save");
    LoadBoardPictures();
    LoadOpponents();
    gMatch.LoadBoardUi();
    // As start-up has it, but for the panorama: its frames cost time, and a
    // missing picture draws nothing.
    gClub.LoadButtons();
    gClubAtStart = HandheldPath(TempDir() / "club.bin");
    platform::FileHandle club = platform::CreateFile(gClubAtStart, platform::GENERIC_WRITE, platform::CREATE_ALWAYS);
    if (!gClub.WriteState(club)) ::abort();
    platform::CloseHandle(club);
    for (int i = 0; i < kOpponentCount; ++i) gOpponentsAsLoaded[i] = gOpponents[i];
    for (int slot = 1; slot <= 3; ++slot) {
        MakeSeedCharacter(slot);
        SavePlayer();
        gCharacterFiles[slot - 1] = ReadBytes(SlotFile(slot));
    }
}

// The club back on its view with no screen open.
void ResetClub() {
    platform::FileHandle club = platform::CreateFile(gClubAtStart, platform::GENERIC_READ, platform::OPEN_EXISTING);
    if (!gClub.ReadState(club)) ::abort();
    platform::CloseHandle(club);
}

// Where the stylus goes on frame n: a hand slot, a board cell or the pile
// of the match, in turn, and the same places on a club screen.
void StylusFor(int frame) {
    const bool match = gClubActive == 0;
    auto down = [match](int x, int y) {
        if (match) {
            gMatch.StylusDown(static_cast<int16_t>(x), static_cast<uint16_t>(y));
        } else {
            gClub.StylusDown(static_cast<uint16_t>(x), static_cast<uint16_t>(y));
        }
    };
    auto move = [match](int x, int y) {
        if (match) {
            gMatch.StylusMove(static_cast<int16_t>(x), static_cast<uint16_t>(y));
        } else {
            gClub.StylusMove(static_cast<uint16_t>(x), static_cast<uint16_t>(y));
        }
    };
    auto up = [match](int x, int y) {
        if (match) {
            gMatch.StylusUp(static_cast<int16_t>(x), static_cast<uint16_t>(y));
        } else {
            gClub.StylusUp(static_cast<uint16_t>(x), static_cast<uint16_t>(y));
        }
    };
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
    down(x, y);
    if (frame % 3 == 0) {
        // A drag onto the board before the release.
        x = 40 * (frame % 6) + 9;
        y = 58 * ((frame / 6) % 4) + 10;
        move(x, y);
    }
    up(x, y);
}

}  // namespace

// A file that loads must save and load again to the same bytes; a refused
// one must change nothing.
int FuzzCharacterFile(const uint8_t* data, size_t size) {
    static bool ready = false;
    if (!ready) {
        StartHeadless();
        LinkInstallation();
        OpenGeneratedCards("fuzz_character_file");
        ready = true;
    }
    // Another character is current, as when the character screen loads one.
    MakeSeedCharacter(3);
    gPerfectsReceived = 42;
    const PlayerProfile before = gProfile;

    WriteBytes(SlotFile(2), Bytes(data, data + size));
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
    const Bytes first = ReadBytes(SlotFile(2));
    if (!LoadPlayerSave(2) || !SavePlayer()) {
        std::fprintf(stderr, "a character file the game wrote did not load again\n");
        ::abort();
    }
    if (ReadBytes(SlotFile(2)) != first) {
        std::fprintf(stderr, "a character file changed on its way through load and save\n");
        ::abort();
    }
    return 0;
}

int FuzzQuickSave(const uint8_t* data, size_t size) {
    static bool ready = false;
    if (!ready) {
        SetUpQuickSaveWorld();
        ready = true;
    }
    // The state every run starts from: the same characters on disk, the
    // opponents as loaded, the club on its view, no match running, the same
    // random numbers.
    for (int slot = 1; slot <= 3; ++slot) {
        const Bytes& bytes = gCharacterFiles[slot - 1];
        WriteBytes(SlotFile(slot), bytes);
    }
    for (int i = 0; i < kOpponentCount; ++i) gOpponents[i] = gOpponentsAsLoaded[i];
    gProfile.Reset();
    gOtherProfile.Reset();
    ClearStatistics();
    gClubActive = 1;
    gMatchResult = 0;
    ResetClub();
    SeedRandom(1);
    DrainMessages();

    // As start-up restores it.
    RunMarks().clear();
    WriteBytes(TempDir() / "install" / "SAVE" / "QuickSave.QCP", Bytes(data, data + size));
    if (LoadQuickSave()) {
        gRestored = true;
        gClub.ResumeFromQuickSave();
    } else {
        gClub.OpenCharacterScreen();
    }
    for (int frame = 0; frame < kFrames; ++frame) {
        if (gClubActive) {
            gClub.Update();
        } else {
            // The starting wheel spins until a tap arrives.
            if (gMatch.GetState() == kStateWheel) {
                platform::PostMessage(nullptr, platform::WM_LBUTTONDOWN, 0, platform::MakeLParam(120, 160));
            }
            gMatch.Update();
        }
        StylusFor(frame);
        PresentScreen();
        DrainMessages();
    }
    gRestored = false;
    gClubActive = 1;
    return 0;
}

}  // namespace qv::fuzz
