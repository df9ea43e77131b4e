// Shared helpers of the match rooms: pictures, buttons, texts, entry and results.
#include "club/room_kit.h"

#include "cards/profile.h"
#include "club/bet_screen.h"
#include "club/club.h"
#include "club/tournament_screen.h"
#include "engine/blit.h"
#include "engine/effects.h"
#include "engine/font.h"
#include "engine/install_dir.h"
#include "engine/message_box.h"
#include "engine/picture_loader.h"
#include "engine/utilities.h"
#include "match/match.h"
#include "platform/system.h"

namespace qv {

namespace {
constexpr int kEntryTapWaitMs = 500;
constexpr int kCreditsColour = 3;
}  // namespace

Picture LoadRoomPicture(const WString& relativePath) {
    Picture picture;
    LoadPicture(gInstallDir + relativePath, picture, true);
    return picture;
}

void SetUpCutButton(Button& button, int16_t x, int16_t y, const WString& pressedPath, const Picture& background,
                    int16_t width, int16_t height) {
    Picture pressed = LoadRoomPicture(pressedPath);
    if (width == 0) {
        width = pressed.width;
        height = pressed.height;
    }
    Picture normal;
    CutPicture(normal, background, x, y, width, height);
    button.SetUp(x, y, pressed, normal, false);
}

void SetUpFileButton(Button& button, int16_t x, int16_t y, const WString& pressedPath,
                     const WString& normalPath) {
    Picture pressed = LoadRoomPicture(pressedPath);
    Picture normal = LoadRoomPicture(normalPath);
    button.SetUp(x, y, pressed, normal, false);
}

void DrawTextRight(const WString& text, int rightEdge, int y, int colour, int8_t buffer) {
    const int x = rightEdge - gFont.TextWidth(text);
    if (colour < 0) {
        DrawText(text, x, y, gFont, buffer);
    } else {
        DrawColouredText(text, x, y, gFont, colour, buffer);
    }
}

void DrawCreditsRight(int rightEdge, int y, int8_t buffer) {
    const WString text = FormatUInt(static_cast<uint32_t>(gProfile.GetCredits())) + u" Credits";
    DrawTextRight(text, rightEdge, y, kCreditsColour, buffer);
}

bool WaitForEntryTap() { return WaitForTapOrTimeout(kEntryTapWaitMs); }

void DissolveToBuffer1() { CrossDissolve(0, 0, 240, 320, 0, 1); }

uint8_t TakeMatchResult() {
    const uint8_t result = gMatchResult;
    gMatchResult = kNoMatchResult;
    return result;
}

bool MatchResultPending() { return gMatchResult != kNoMatchResult; }

void SettlePendingMatchResults() {
    if (BetScreen* bet = gClub.GetBetScreen()) bet->SettleMatch();
    if (TournamentScreen* tournament = gClub.GetTournamentScreen()) tournament->SettleMatch();
}

void TraceRoom(const std::string& text) { platform::Trace("room", text); }

}  // namespace qv
