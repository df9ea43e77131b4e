// The match in a test process: a private installation, the headless
// platform, hand-made cards and boards, and a driver that plays the match
// frame by frame.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>

#include "cards/card.h"
#include "cards/card_database.h"
#include "cards/launchers.h"
#include "cards/opponents.h"
#include "cards/profile.h"
#include "cards/saves.h"
#include "engine/font.h"
#include "engine/install_dir.h"
#include "engine/picture_loader.h"
#include "engine/utilities.h"
#include "engine/wstring.h"
#include "match/board.h"
#include "match/match.h"
#include "platform/messages.h"
#include "tests/support/headless_start.h"
#include "tests/support/installation.h"
#include "tests/support/screen.h"
#include "tests/support/temp_dir.h"

namespace qv::test {

// A card that exists only in the test: no name (so nothing is loaded to
// draw it), the id given and powers [up, ur, right, dr, down, dl, left, ul].
inline Card MakeCard(int16_t id, const char* powers) {
    Card card;
    card.SetId(id);
    card.SetLevel(1);
    for (int d = 0; d < 8 && powers[d] != '\0'; ++d) card.SetPower(powers[d] - '0', d);
    return card;
}

inline CardHand HandOf(std::initializer_list<Card> cards) {
    CardHand hand;
    for (const Card& card : cards) hand.AddCard(card);
    return hand;
}

// The directory of this process's installation: the built asset set linked
// in and a SAVE folder of its own; gInstallDir points there.
inline std::filesystem::path PrepareInstallation() {
    static bool prepared = false;
    const std::filesystem::path& dir = ProcessTempDir("match");
    if (!prepared) {
        prepared = true;
        UseInstallDir(LinkInstallation(dir));
    }
    return dir;
}

inline std::filesystem::path SavePath(const char* name) { return PrepareInstallation() / "install" / "SAVE" / name; }

// The headless platform, the screen buffers, the card database, the
// opponents and the match's pictures, once per process. The font is not
// loaded, so every question box is answered at once by the system box with
// its accepting (right) label and no test waits for a tap. extra settings
// are made before the platform starts (see StartHeadlessIn).
inline void StartMatchEnvironment(std::vector<EnvSetting> extra = {}) {
    static bool started = false;
    if (started) return;
    started = true;
    extra.emplace_back("QUORVANE_AUDIO", "none");
    StartHeadless(PrepareInstallation(), extra);
    OpenScreen();
    OpenCardDatabase();
    LoadBoardPictures();
    LoadOpponents();
    gMatch.LoadBoardUi();
}

// The game's font from the installation in use, as start-up loads it
// (without its red key when redKey is false).
inline void LoadGameFont(bool redKey = true) { gFont.Load(gInstallDir + u"GFX\\GENERAL\\NEW FONT.QVB", true, redKey); }

// gProfile's credits set to the amount.
inline void SetCredits(int32_t credits) { gProfile.AddCredits(credits - gProfile.GetCredits()); }

// gProfile as a character in slot 1 owning and playing the deck of ids.
inline void MakeLocalPlayer(const std::vector<int16_t>& deckIds, const char* name = "TESTER") {
    gProfile.Reset();
    gProfile.SetName(Widen(name));
    gProfile.SetKind(kLocalPlayer);
    gProfile.SetSlot(1);
    gProfile.ClearDeck();
    for (int16_t id : deckIds) {
        gProfile.AddCard(id);
        gProfile.AddToDeck(id, false);
    }
}

// 16 distinct database ids from first on.
inline std::vector<int16_t> DeckFrom(int16_t first) {
    std::vector<int16_t> ids;
    for (int16_t i = 0; i < 16; ++i) ids.push_back(static_cast<int16_t>(first + i));
    return ids;
}

// The stylus as the window procedure hands it over.
inline void TapDown(int x, int y) { gMatch.StylusDown(static_cast<int16_t>(x), static_cast<uint16_t>(y)); }
inline void TapUp(int x, int y) { gMatch.StylusUp(static_cast<int16_t>(x), static_cast<uint16_t>(y)); }

// A tap on a screen of the club as the club hands it over: pressed, then
// released; what the release gives back.
template <class Screen>
auto Tap(Screen& screen, int x, int y) {
    screen.StylusDown(static_cast<uint16_t>(x), static_cast<uint16_t>(y));
    return screen.StylusUp(static_cast<uint16_t>(x), static_cast<uint16_t>(y));
}

// Picks hand slot `slot` and drops it on cell (column, row): down on the
// slot, a move, and up where the card's corner lands on the cell.
inline void DropOnCell(int slot, int column, int row) {
    int x = 62 + 35 * slot + 5;
    int y = 270;
    TapDown(x, y);
    int cx = column * 40 + 4 + 5;
    int cy = row * 58 + 4 + 6;
    gMatch.StylusMove(static_cast<int16_t>(cx), static_cast<uint16_t>(cy));
    TapUp(cx, cy);
}

inline void TapCell(int column, int row) {
    TapDown(column * 40 + 20, row * 58 + 25);
    TapUp(column * 40 + 20, row * 58 + 25);
}

// Taps the first cell next to the attacker that it can attack.
inline void TapFirstTarget() {
    const Board& board = gMatch.GetBoard();
    const int ac = gMatch.GetAttackerColumn();
    const int ar = gMatch.GetAttackerRow();
    for (int c = ac - 1; c <= ac + 1; ++c) {
        for (int r = ar - 1; r <= ar + 1; ++r) {
            if (board.CanAttack(ac, ar, c, r)) {
                TapCell(c, r);
                return;
            }
        }
    }
}

// The local player's simple strategy: the first filled slot on the first
// free cell, and the first target offered.
inline void PlayLocalTurn() {
    Side side = gMatch.GetSideToMove();
    const CardHand& hand = gMatch.GetHand(side);
    const Board& board = gMatch.GetBoard();
    switch (gMatch.GetState()) {
        case kStateLocalActs: {
            int slot = 0;
            while (slot < 5 && !hand.IsSlotFilled(slot)) ++slot;
            if (slot == 5) {
                TapDown(20, 280);  // the pile
                TapUp(20, 280);
                return;
            }
            for (int c = 0; c < 6; ++c) {
                for (int r = 0; r < 4; ++r) {
                    if (board.CellAt(c, r).free) {
                        DropOnCell(slot, c, r);
                        return;
                    }
                }
            }
            return;
        }
        case kStateLocalChoosesTarget:
        case kStateLocalChoosesChainTarget: TapFirstTarget(); return;
        case kStateWaitForTap: TapDown(120, 160); return;
        default: return;
    }
}

// Runs frames as the main loop does (the local turns played by playLocal,
// a tap queued for the wheel) until done() or the match is left; false when
// maxFrames ran out first.
inline bool RunMatch(const std::function<bool()>& done, int maxFrames = 20000,
                     const std::function<void()>& playLocal = PlayLocalTurn) {
    for (int frame = 0; frame < maxFrames; ++frame) {
        if (done()) return true;
        if (gClubActive) return true;
        MatchState state = gMatch.GetState();
        if (state == kStateWheel) {
            platform::PostMessage(nullptr, platform::WM_LBUTTONDOWN, 0, platform::MakeLParam(120, 160));
        }
        gMatch.Update();
        if (done()) return true;
        playLocal();
    }
    return done() || gClubActive;
}

// A computer match against the opponent at the level, played from its start
// by RunMatch until the local side's turn comes with at most freeCells free
// cells, then quick-saved as the prompts save it; false when it never got
// there or the save failed. gProfile is the local side.
inline bool SaveMatchInProgress(int opponent, int level, int freeCells) {
    StartOpponentMatch(opponent, level);
    const bool reached = RunMatch(
        [freeCells] { return gMatch.GetState() == kStateLocalActs && gMatch.GetBoard().CountFree() <= freeCells; });
    return reached && gClubActive == 0 && WriteQuickSave();
}

}  // namespace qv::test
